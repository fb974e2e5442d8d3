// The editors the EDIT rows of the drop-down lists open: Edit Favorites and Edit Recent, each for
// one application's lists (module name) or, with null, for the lists kept for all applications.
// Both are modal on the calling dialog's thread and work on copies; nothing is stored before OK.
#pragma once

#include <windows.h>

namespace vn {

// TRUE when the editor was closed with OK and the edited lists were stored.
BOOL EditFavoritesDialog(HWND owner, const char* moduleOrNull);
BOOL EditRecentDialog(HWND owner, const char* moduleOrNull);

} // namespace vn
