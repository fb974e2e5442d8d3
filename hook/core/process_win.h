// State private to each process that maps the library.
#pragma once

#include <windows.h>

#include <cstdint>

#include "hook/core/sizes.h"

namespace vn {

struct ProcessState {
    HINSTANCE moduleInstance; // this library in this process: hooks and resources use it
    int isNT;                 // dialogs may answer path questions in UTF-16
    // Set just before the library opens its own destination chooser; the chooser's record takes
    // it over (no open-to-last-folder, no enlargement).
    uint32_t browseFlag;
    // The library pressed Enter in a dialog's file name box to change its folder or apply a mask:
    // the OK command that Enter produces is the library's, not the user's.
    uint32_t ignoreNextOk;
    // The file named in the file name box when Cancel was last pressed in an extended dialog, and
    // whether one could be read; a standard dialog that stood in for a trained one reads it.
    char cancelPath[kMaxPath + 1];
    uint32_t cancelPathValid;
    // The standard dialog opened in place of a trained one: while set, it does not open in the
    // application's last folder; and (consumed by its set-up) it stands in for a Select Folder
    // dialog, so that its OK button says so.
    uint32_t denyLastFolder;
    uint32_t selectFolderPending;
    // "commdlg_LBSelChangedNotify": the old-style dialogs' word that a list selection changed.
    // Registered when the first dialog is taken over (never in DllMain: it is a user32 call).
    UINT listSelChangeMessage;
};

extern ProcessState g_process;

// Copies the path named when Cancel was last pressed into out; false when none was read.
bool ReadCancelPath(char* out, size_t size);

} // namespace vn
