// The disabling dialog: shown when the disable key is held while a file dialog opens, it lets the
// user withhold the extensions from this dialog, this time or for good.
#pragma once

#include <windows.h>

#include "../core/dialog_setup.h"

namespace vn {

// Runs the modal box for the dialog being set up (owner) of module; returns its effect on the
// exclusion flags. Permanent choices for all dialogs are written and reported to the manager here.
ExcludeFlags ShowDisablingDialog(HWND owner, const char* module, const ExcludeFlags& before);

} // namespace vn
