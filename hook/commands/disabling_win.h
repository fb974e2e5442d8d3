// The disabling dialog: shown when the disable key is held while a file dialog opens, it lets the
// user withhold the extensions from this dialog, this time or for good.
#pragma once

#include <windows.h>

#include "hook/core/dialog_setup.h"

namespace vn {

// Runs the modal box for the dialog being set up (owner) of module and returns the answer's whole
// effect: the dialog's exclusion flags and its "this dialog only" choices (a cancelled box leaves
// before as it was and chooses nothing). Permanent choices for all dialogs are written and
// reported to the manager here.
DisablingEffect ShowDisablingDialog(HWND owner, const char* module, const ExcludeFlags& before);

} // namespace vn
