// What the five file buttons decide before they touch the file system: the paths they build from
// the dialog's folder and what the user typed, and the prompts of their small dialog boxes. Each
// path built here fits a path's length or is refused: an operation on a cut path would act on a
// file the user never named.
#pragma once

#include "hook/core/sizes.h"

namespace vn {

// Make dir: the new folder from the dialog's folder and the typed name. A name beginning with a
// backslash goes under the folder's drive, any other under the folder. False for an empty name,
// or when folder and name together reach the length the folder box allows (255).
bool NewFolderPath(char* dst, size_t cap, const char* folder, const char* name);

// Whether a typed destination is taken as it is: it begins with a backslash or names a drive.
bool IsRootedName(const char* name);

// Rename and Move: a destination that is not rooted is put under the source's folder. False when
// the result would be longer than a path.
bool UnderSourceFolder(char* dst, size_t cap, const char* source, const char* destination);

// folder joined with name the way every path is joined; false when the result would be longer
// than a path (or than cap - 1).
bool JoinWithin(char* dst, size_t cap, const char* folder, const char* name);

// Copy's destinations. primary is what was typed: as it is when it names a path (contains a
// backslash or ":" and does not begin with "."), otherwise under the dialog's folder. alternate
// takes primary as a folder and the copied file's name in it; it is what the copy falls back to
// when primary is an existing folder.
struct CopyTargets {
    char primary[kPathSize];
    char alternate[kPathSize];
    bool hasAlternate;
};
bool CopyDestinations(const char* typed, const char* dialogFolder, const char* fileName,
                      CopyTargets& out);

// What a copy to those destinations does, given which of them are existing files: the file to ask
// about before replacing it (null: no question), the destination tried first, and the one tried
// when that fails (null: none). An existing primary is the destination; otherwise an existing
// file inside it is; otherwise primary is tried, and the file inside it after it.
struct CopyPlan {
    const char* ask;
    const char* first;
    const char* fallback;
};
CopyPlan PlanCopy(const CopyTargets& targets, bool primaryIsFile, bool alternateIsFile);

// A prompt: format's first "%s" becomes text with every "&" doubled (the prompt is a static
// control's text). When that does not fit cap, the front of text gives way to "..." so that
// the end of a path, its file name, stays in view.
void FillPrompt(char* dst, size_t cap, const char* format, const char* text);

} // namespace vn
