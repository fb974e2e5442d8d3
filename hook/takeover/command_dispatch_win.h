// The commands of an extended dialog: every WM_COMMAND passes through here before the dialog's
// own procedure sees it. The added buttons start their operations, the recent and favourite lists
// go to the chosen file or folder or run their command rows, and the dialog's own controls keep
// the file type, the Cancel and the information line up to date. Nothing is swallowed: the
// dialog's procedure gets every command afterwards, and ignores the ids of the added controls.
// The decisions are list_choice.h's; this carries them out.
#pragma once

#include <windows.h>

#include "hook/core/dialog_record.h"

namespace vn {

// For a dialog that is neither passive nor excluded from file management.
void DispatchCommand(int slot, HWND dialog, WPARAM wParam, LPARAM lParam);

// Fills the recent and favourite lists for the folder in listFolder, once they exist: at the first
// layout, and again after a re-layout that changed the width of their rows.
void FillAddedLists(DialogRecord& record);

} // namespace vn
