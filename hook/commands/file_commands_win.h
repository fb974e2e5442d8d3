// The five file buttons of an extended dialog: Delete, Rename, Make dir, Copy and Move of the
// file named in the file name box (or, for Make dir, under the dialog's folder). Each asks in a
// small modal box of the library's own, reports failures from the string table and leaves the
// dialog showing the result. The paths they build are file_commands.*.
#pragma once

#include <windows.h>

namespace vn {

void DeleteCommand(HWND dialog);
void RenameCommand(HWND dialog);
void MakeDirCommand(HWND dialog);
void CopyCommand(HWND dialog);
void MoveCommand(HWND dialog);

} // namespace vn
