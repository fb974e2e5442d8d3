// The information line of an extended dialog: rebuilt from the file named in the file name box,
// or from the dialog's folder, with the free space of the drive. The texts are info_line.*.
#pragma once

#include <windows.h>

#include "hook/core/dialog_record.h"

namespace vn {

// Rebuilds the line of the dialog's information line control, if it has one. Reads the file and
// the drive: called on the user's actions (MSG_REFRESH_INFO_LINE), never while a window is made.
void RebuildInfoLine(HWND dialog, const DialogRecord& record);

} // namespace vn
