#include "hook/core/path_rules.h"

#include "hook/core/text.h"

#include <cstring>

namespace vn {

void ParentFolder(char* dst, size_t cap, const char* path, bool keepBackslash) {
    if (!dst || cap == 0)
        return;
    CopyText(dst, cap, path);
    char* last = strrchr(dst, '\\');
    if (!last) {
        dst[0] = 0;
        return;
    }
    size_t at = static_cast<size_t>(last - dst);
    dst[(keepBackslash || at < 3) ? at + 1 : at] = 0;
}

const char* FileNamePart(const char* path) {
    if (!path)
        return "";
    if (const char* slash = strrchr(path, '\\'))
        return slash + 1;
    if (const char* colon = strchr(path, ':'))
        return colon + 1;
    return path;
}

void DoubleAmpersands(char* dst, size_t cap, const char* text) {
    if (!dst || cap == 0)
        return;
    size_t n = 0;
    for (const char* p = text ? text : ""; *p; ++p) {
        size_t need = *p == '&' ? 2 : 1;
        if (n + need > cap - 1)
            break;
        dst[n++] = *p;
        if (*p == '&')
            dst[n++] = '&';
    }
    dst[n] = 0;
}

bool IsAbsolutePath(const char* path) {
    return path && path[0] && ((path[1] == ':') || (path[0] == '\\' && path[1] == '\\'));
}

bool HasWildcard(const char* name) {
    return name && (strchr(name, '*') || strchr(name, '?'));
}

void FitNameToFolder(char* name, const char* folder) {
    if (!name || !folder || !strcmp(name, folder))
        return;
    size_t nl = strlen(name), fl = strlen(folder);
    if (nl + fl > kMaxPath)
        name[fl < kMaxPath ? kMaxPath - fl : 0] = 0;
}

} // namespace vn
