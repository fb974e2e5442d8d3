#include "hook/core/help_pages.h"

#include "hook/core/text.h"

#include <cstdio>
#include <cstring>

namespace vn {

void HelpPageName(unsigned context, char* buf, size_t size) {
    if (!buf || size == 0)
        return;
    if (context == kHelpContents)
        snprintf(buf, size, "index.html");
    else
        snprintf(buf, size, "topic-%u.html", context);
}

bool HelpPagePath(const char* programFolder, unsigned context, char* buf, size_t size) {
    if (!buf || size == 0)
        return false;
    char page[32];
    HelpPageName(context, page, sizeof page);
    char folder[600];
    JoinPath(folder, sizeof folder, programFolder, kHelpFolderName);
    size_t need = strlen(folder) + 1 + strlen(page);
    if (need >= size) {
        buf[0] = 0;
        return false;
    }
    JoinPath(buf, size, folder, page);
    return true;
}

} // namespace vn
