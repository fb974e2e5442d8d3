#include "hook/core/text.h"

#include <cstdio>
#include <cstring>

namespace vn {

size_t BoundedLength(const char* s, size_t cap) {
    if (!s)
        return 0;
    size_t n = 0;
    while (n < cap && s[n])
        ++n;
    return n;
}

size_t CopyField(char* dst, size_t cap, const char* src, size_t srcCap) {
    if (!dst || cap == 0)
        return 0;
    size_t n = BoundedLength(src, srcCap);
    if (n > cap - 1)
        n = cap - 1;
    if (n)
        memmove(dst, src, n);
    dst[n] = 0;
    return n;
}

size_t CopyText(char* dst, size_t cap, const char* src) {
    return CopyField(dst, cap, src, cap);
}

size_t AppendText(char* dst, size_t cap, const char* src) {
    if (!dst || cap == 0)
        return 0;
    size_t used = BoundedLength(dst, cap - 1);
    dst[used] = 0;
    return used + CopyField(dst + used, cap - used, src, cap - used);
}

char FoldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

int CompareNoCase(const char* a, const char* b, size_t n) {
    a = a ? a : "";
    b = b ? b : "";
    for (size_t i = 0; i < n; ++i) {
        unsigned char ca = static_cast<unsigned char>(FoldCase(a[i]));
        unsigned char cb = static_cast<unsigned char>(FoldCase(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (!ca)
            return 0;
    }
    return 0;
}

int CompareN(const char* a, const char* b, size_t n) {
    return strncmp(a ? a : "", b ? b : "", n);
}

// Folder F and name N give D: D is F with a backslash appended when F does not end in one. A name
// with a backslash that is absolute ("X:\..." or "\\server\...") replaces D, one that starts with a
// single backslash keeps only D's drive; a name like "C:y" on the folder's own drive is relative
// to the folder, one on another drive replaces D; anything else is appended.
void JoinPath(char* dst, size_t cap, const char* folder, const char* name) {
    if (!dst || cap == 0)
        return;
    folder = folder ? folder : "";
    name = name ? name : "";
    size_t fl = CopyText(dst, cap, folder);
    if (fl == 0 || dst[fl - 1] != '\\')
        AppendText(dst, cap, "\\");
    if (strchr(name, '\\')) {
        if ((name[0] && name[1] == ':') || (name[0] == '\\' && name[1] == '\\')) {
            CopyText(dst, cap, name);
        } else if (name[0] == '\\') {
            if (dst[0] && dst[1] == ':')
                dst[2] = 0; // keep only the drive
            AppendText(dst, cap, name);
        } else {
            AppendText(dst, cap, name);
        }
        return;
    }
    if (strchr(name, ':')) {
        if (name[0] == folder[0])
            AppendText(dst, cap, strlen(name) >= 2 ? name + 2 : "");
        else
            CopyText(dst, cap, name);
        return;
    }
    AppendText(dst, cap, name);
}

void ModuleNameFromPath(char* dst, size_t cap, const char* path) {
    if (!dst || cap == 0)
        return;
    path = path ? path : "";
    const char* base = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':')
            base = p + 1;
    const char* dot = strrchr(base, '.');
    size_t n = dot ? static_cast<size_t>(dot - base) : strlen(base);
    if (n > cap - 1)
        n = cap - 1;
    memcpy(dst, base, n);
    dst[n] = 0;
}

void FillMessage(char* dst, size_t cap, const char* format, const unsigned* number,
                 const char* text) {
    if (!dst || cap == 0)
        return;
    dst[0] = 0;
    if (!format)
        return;
    char digits[16];
    if (number)
        snprintf(digits, sizeof digits, "%u", *number);
    bool numberDone = !number, textDone = !text;
    size_t n = 0;
    for (const char* p = format; *p && n + 1 < cap;) {
        const char* insert = nullptr;
        if (p[0] == '%' && p[1] == 'u' && !numberDone) {
            insert = digits;
            numberDone = true;
        } else if (p[0] == '%' && p[1] == 's' && !textDone) {
            insert = text;
            textDone = true;
        }
        if (!insert) {
            dst[n++] = *p++;
            continue;
        }
        dst[n] = 0;
        n = AppendText(dst, cap, insert);
        p += 2;
    }
    dst[n] = 0;
}

} // namespace vn
