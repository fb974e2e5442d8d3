// State private to each process that maps the library.
#pragma once

#include <windows.h>

#include <cstdint>

namespace vn {

struct ProcessState {
    HINSTANCE moduleInstance; // this library in this process: hooks and resources use it
    int isNT;
    int isXP;
    UINT listSelChangeMessage; // "commdlg_LBSelChangedNotify"
    volatile LONG processReady;
    // Choices made in the disabling dialog for "this dialog only", written into the exclusion
    // lists with the dialog's title when it closes (file management, sizing, last folder).
    uint32_t pendingExcludeChoices[3];
    // Set just before the library opens its own destination chooser; the chooser's record takes
    // it over (no open-to-last-folder, no enlargement).
    uint32_t browseFlag;
    // The next OK of the dialog is the one the library itself caused by pressing Enter in the
    // file name box to change the folder, not the user's.
    uint32_t ignoreNextOk;
};

extern ProcessState g_process;

// The per-process start that may not run under the loader lock: registers the list selection
// message. Cheap after the first call; called from the hook and the exports.
void EnsureProcessReady();

// "Close Delay" in milliseconds, read from the settings file the first time it is asked for, so
// that no window creation pays for file access.
UINT CloseDelay();

} // namespace vn
