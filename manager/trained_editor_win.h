// The trained-application editor's modal dialogs and the import of a training file: what the
// "Trained Applications" page of the configuration window opens. The rules they follow are in
// trained_editor.h.
#pragma once

#include "hook/core/trained_entry.h"
#include "manager/trained_editor.h"

#include <windows.h>

namespace vn {

// "Trained Application Configuration" on entry. OK writes the dialog's values into entry; the
// result is true when OK ended the dialog after something in it was changed, which the page
// reports as a change of its own. programFolder is where the help pages are looked for.
bool EditTrainedEntry(HWND owner, const char* programFolder, TrainedEntry& entry);

// "Add/Edit File Type" showing description and masks (rooms of kTypeDescriptionChars + 1 and
// kTypeMasksChars + 1 characters). True when OK ended it after a change; only then are both
// written back.
bool EditFileType(HWND owner, const char* programFolder, char* description, char* masks);

// Asks for a training file, starting in folder, and appends its records to the count entries of
// entries (room for kMaxTrainedEntries), raising *count. A file in the wrong format is refused
// with a message and changes nothing. True when a file was chosen and not refused, also when it
// added nothing (it could not be read, or the database is full): the page then reports a change.
bool ImportTrainingFile(HWND owner, const char* folder, TrainedEntry* entries, int* count);

} // namespace vn
