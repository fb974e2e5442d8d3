// The classifier's connection to Win32: creation records of the CBT hook and the set-up of a
// recognised standard file dialog.
#pragma once

#include <windows.h>

#include "hook/core/shared_state.h"

namespace vn {

// Classifies a window being created (HCBT_CREATEWND of the CBT hook).
void ClassifyCreation(SharedState& s, HWND window, const CBT_CREATEWNDA* creation);

// This process's module name, fetched once.
const char* CurrentModuleName();

} // namespace vn
