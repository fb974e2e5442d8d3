// The window procedure of a standard file dialog that was taken over: it sees every message of the
// dialog first and hands each to the subsystem that serves it.
#pragma once

#include <windows.h>

#include "hook/core/classify.h"
#include "hook/core/dialog_record.h"
#include "hook/core/dialog_setup.h"

extern "C" LRESULT CALLBACK KsOpenProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

namespace vn {

// Takes a dialog of a kind over: opens its record, replaces its procedure and tells the manager.
// flags are the extensions withheld from it, pending the "this dialog only" choices to be written
// into the exclusion lists when it closes. Returns whether the dialog is now served by KsOpenProc.
bool TakeOverDialog(HWND dialog, DialogKind kind, const char* module, const char* title,
                    const ExcludeFlags& flags, const ExcludeFlags& pending, bool training);

} // namespace vn
