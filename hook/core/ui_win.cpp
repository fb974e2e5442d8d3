#include "ui_win.h"

#include "process_win.h"

#include <cstdio>
#include <cstring>

namespace vn {

bool LoadLibraryString(UINT id, char* buf, int size) {
    if (!buf || size <= 0)
        return false;
    buf[0] = 0;
    return LoadStringA(g_process.moduleInstance, id, buf, size) > 0;
}

int MessageBoxFromIdsWithPath(HWND owner, UINT textId, UINT titleId, UINT flags, const char* path) {
    char format[256], text[256 + 264], title[256];
    if (!LoadLibraryString(textId, format, sizeof format))
        snprintf(format, sizeof format, "%s", "LoadStringMessageBox -- bad ID for Text");
    if (!LoadLibraryString(titleId, title, sizeof title))
        snprintf(title, sizeof title, "%s", "LoadString -- bad ID for Title");
    // The path goes in place of the text's "%s" by hand: a text is never used as a format.
    const char* slot = path ? strstr(format, "%s") : nullptr;
    if (slot)
        snprintf(text, sizeof text, "%.*s%s%s", static_cast<int>(slot - format), format, path,
                 slot + 2);
    else
        snprintf(text, sizeof text, "%s", format);
    return MessageBoxA(owner, text, title, flags);
}

int MessageBoxFromIds(HWND owner, UINT textId, UINT titleId, UINT flags) {
    return MessageBoxFromIdsWithPath(owner, textId, titleId, flags, nullptr);
}

} // namespace vn
