// State private to each process that maps the library.
#pragma once

#include <windows.h>

#include <cstdint>

namespace vn {

struct ProcessState {
    HINSTANCE moduleInstance; // this library in this process: hooks and resources use it
    int isNT;                 // dialogs may answer path questions in UTF-16
    // Set just before the library opens its own destination chooser; the chooser's record takes
    // it over (no open-to-last-folder, no enlargement).
    uint32_t browseFlag;
};

extern ProcessState g_process;

} // namespace vn
