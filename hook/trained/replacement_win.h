// The standard Open, Save or Select Folder dialog opened on a trained dialog's behalf (the hook
// extends it like any other), the name it gives typed back into the application's dialog, and the
// note that explains the two dialogs. Runs in the application's process, on the dialog's thread.
#pragma once

#include <windows.h>

#include "hook/trained/trained_rules.h"

namespace vn {

// What the standard dialog is opened with, besides the entry.
struct StandardDialogInputs {
    HWND owner;
    const char* nameBoxText;  // the application's name box ("" when none)
    HWND trainedDialog;       // asked for its folder, which a dialog of the library knows
    const char* recentFolder; // the application's last folder that still exists, else null
    bool allowLastFolder;     // the extended dialog may open in the application's last folder
};

// Opens the standard dialog for entry; true with the chosen name in out (kChosenNameSize).
// A name the dialog rejects is retried once empty for an Add entry, otherwise reported.
bool OpenStandardDialog(const TrainedEntry& entry, const StandardDialogInputs& in, char* out,
                        size_t size);

// Types name into control id of nameParent as if the user had: focus, text, modified, and the
// change notices. For an application without long names the short form is written.
void WriteNameIntoApplication(HWND nameParent, int id, const TrainedEntry& entry, const char* name);

// The text of the application's name box (a quoted text without its quotes); "" when none.
void ReadNameBox(HWND nameParent, int id, char* out, size_t size);

// The usage note, modal, owned by owner; may switch itself off for good.
void ShowUsageNote(HWND owner);

} // namespace vn
