// The information line of an extended dialog: rebuilt from the file named in the file name box,
// or from the dialog's folder, with the free space of the drive. The texts are info_line.*.
#pragma once

#include <windows.h>

#include "hook/core/dialog_record.h"

namespace vn {

// Rebuilds the line of the dialog's information line control, if it has one. Reads the file and
// the drive: called on the user's actions (MSG_REFRESH_INFO_LINE), never while a window is made.
// While the user types, a network drive is not asked for its free space (see
// ChooseFreeSpaceSource).
void RebuildInfoLine(HWND dialog, const DialogRecord& record, bool typing = false);

// Asks for a rebuild of the line once the dialog has handled what is already queued (the dialog
// reports its new state only then). While one is on its way, further changes join it: a burst
// of keys costs one rebuild, not one per key.
void PostInfoLineRefresh(HWND dialog, DialogRecord& record, bool typing);

// Handles the posted rebuild.
void OnInfoLineRefresh(HWND dialog, DialogRecord& record);

} // namespace vn
