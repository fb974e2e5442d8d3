// The window procedure of the shell's file list inside a taken-over dialog: it keeps the list in
// the user's order each time the shell fills it (until the user sorts by a column), and gives
// and takes the Details view's column widths.
#pragma once

#include <windows.h>

#include "hook/core/dialog_record.h"

extern "C" LRESULT CALLBACK KsListViewProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam);

namespace vn {

// Takes over the file list of the dialog's shell view (view; the dialog's current one when
// null) when "Sort" or "Remember Column Widths" asks for it and it is not ours yet, and asks for
// its first sort. Every folder the dialog shows comes with a new list.
void TakeOverFileList(HWND dialog, DialogRecord& record, HWND view);

// Gives the current list its procedure back (the dialog ends).
void ReleaseFileList(DialogRecord& record);

} // namespace vn
