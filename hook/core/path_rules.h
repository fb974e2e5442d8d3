// Rules on path texts that the dialog operations share. Pure string functions: buffers are
// bounded by the sizes given, every result is terminated.
#pragma once

#include "hook/core/sizes.h"

namespace vn {

// The folder part of a path, cut at its last backslash. Without a backslash the result is empty.
// The backslash stays when keepBackslash is set or when it is one of the first three characters
// (so "C:\a" gives "C:\" and "C:\d\a" gives "C:\d").
void ParentFolder(char* dst, size_t cap, const char* path, bool keepBackslash);

// The text after the last backslash; without one, after the first ":"; otherwise the whole text.
const char* FileNamePart(const char* path);

// Copies text with every "&" doubled, so that a static control shows it as written; the result is
// cut to cap - 1 characters without splitting a doubled "&".
void DoubleAmpersands(char* dst, size_t cap, const char* text);

// An absolute path the dialog can be sent to: "X:..." or "\\server\...".
bool IsAbsolutePath(const char* path);

// Whether a name is a mask ("*" or "?").
bool HasWildcard(const char* name);

// Cuts name so that folder and name joined stay within a path's length: when the two differ and
// their lengths add up to more than 260, name is cut to 260 minus the folder's length.
void FitNameToFolder(char* name, const char* folder);

} // namespace vn
