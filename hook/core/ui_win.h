// Texts shown to the user come from the library's string table.
#pragma once

#include <windows.h>

namespace vn {

// A message box whose text and caption are string ids; a missing string shows a fixed text
// instead, so that a broken resource is noticed rather than showing an empty box.
int MessageBoxFromIds(HWND owner, UINT textId, UINT titleId, UINT flags);

// As above, with the text used as a format for one string argument.
int MessageBoxFromIdsWithPath(HWND owner, UINT textId, UINT titleId, UINT flags, const char* path);

// Loads a string of the library; returns false (and an empty text) when it is missing.
bool LoadLibraryString(UINT id, char* buf, int size);

} // namespace vn
