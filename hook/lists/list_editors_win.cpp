#include "hook/lists/list_editors_win.h"

namespace vn {

// Not built yet: no editor opens, and nothing is stored.
BOOL EditFavoritesDialog(HWND, const char*) {
    return FALSE;
}

BOOL EditRecentDialog(HWND, const char*) {
    return FALSE;
}

} // namespace vn
