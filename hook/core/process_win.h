// State private to each process that maps the library.
#pragma once

#include <windows.h>

namespace vn {

struct ProcessState {
    HINSTANCE moduleInstance; // this library in this process: hooks and resources use it
    int isNT;
    int isXP;
    UINT listSelChangeMessage; // "commdlg_LBSelChangedNotify"
    volatile LONG processReady;
};

extern ProcessState g_process;

// The per-process start that may not run under the loader lock: registers the list selection
// message. Cheap after the first call; called from the hook and the exports.
void EnsureProcessReady();

// "Close Delay" in milliseconds, read from the settings file the first time it is asked for, so
// that no window creation pays for file access.
UINT CloseDelay();

} // namespace vn
