// The Find files button: a box that searches folders or drives for file masks on the dialog's
// own thread and lets the user take a found file into the dialog. The walk is find_walk.*.
#pragma once

#include <windows.h>

namespace vn {

void FindCommand(HWND dialog);

} // namespace vn
