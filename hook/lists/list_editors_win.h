// The editors the EDIT rows of the drop-down lists open: Edit Favorites and Edit Recent, each for
// one application's lists (module name) or, with null, for the lists kept for all applications.
// Both are modal on the calling dialog's thread and work on copies; nothing is stored before OK.
#pragma once

#include <windows.h>

namespace vn {

// TRUE when the editor was closed with OK and the edited lists were stored.
BOOL EditFavoritesDialog(HWND owner, const char* moduleOrNull);
BOOL EditRecentDialog(HWND owner, const char* moduleOrNull);

// The dialogs Edit Favorites asks for a favourite file (or mask) and a favourite folder with. TRUE
// when closed with OK with a path typed or chosen, which is then in out (size bytes, at most 260
// characters); the path is as typed but for its leading spaces.
BOOL AddFavoriteFileDialog(HWND owner, char* out, size_t size);
BOOL AddFavoriteFolderDialog(HWND owner, char* out, size_t size);

} // namespace vn
