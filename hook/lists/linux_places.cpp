#include "hook/lists/linux_places.h"

#include "hook/core/text.h"

#include <cstring>

namespace vn {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A byte no folder of ours may hold: control characters, and the backslash, which the Windows
// name of the folder would read as a separator.
bool BadByte(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == '\\';
}

// Well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF): Wine reads Linux
// names as UTF-8, and a name that is not would come out under another folder's name.
bool IsUtf8(const unsigned char* s, size_t n) {
    size_t i = 0;
    while (i < n) {
        unsigned char c = s[i];
        size_t more = c < 0x80             ? 0
                      : (c & 0xE0) == 0xC0 ? 1
                      : (c & 0xF0) == 0xE0 ? 2
                      : (c & 0xF8) == 0xF0 ? 3
                                           : 9;
        if (more == 9 || more >= n - i)
            return false;
        uint32_t value = more == 0 ? c : c & (0x3F >> more);
        for (size_t k = 1; k <= more; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                return false;
            value = value << 6 | (s[i + k] & 0x3F);
        }
        static const uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (value < kLeast[more] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return false;
        i += more + 1;
    }
    return true;
}

// A folder's path as it is kept: absolute, of clean bytes, without a trailing slash (the root
// keeps its one). False when it is none.
bool FinishPath(char* out, size_t length) {
    if (length == 0 || out[0] != '/')
        return false;
    for (size_t i = 0; i < length; ++i)
        if (BadByte(static_cast<unsigned char>(out[i])))
            return false;
    if (!IsUtf8(reinterpret_cast<const unsigned char*>(out), length))
        return false;
    while (length > 1 && out[length - 1] == '/')
        out[--length] = 0;
    return true;
}

bool StartsWith(const char* s, size_t n, const char* prefix, bool ignoreCase) {
    size_t k = strlen(prefix);
    if (n < k)
        return false;
    return ignoreCase ? CompareNoCase(s, prefix, k) == 0 : strncmp(s, prefix, k) == 0;
}

// Calls take(line, length) for each line of text, with its line end taken off, until take
// returns false.
template <typename Take>
void EachLine(const char* text, size_t length, Take take) {
    if (!text)
        return;
    // A file longer than the limit is cut there, and its line cut in two is not read.
    const bool cut = length > kMaxPlacesFileBytes;
    if (cut)
        length = kMaxPlacesFileBytes;
    size_t start = 0;
    while (start < length) {
        size_t end = start;
        while (end < length && text[end] != '\n')
            ++end;
        if (end == length && cut)
            return;
        size_t n = end - start;
        if (n && text[start + n - 1] == '\r')
            --n;
        if (!take(text + start, n))
            return;
        start = end + 1;
    }
}

// Empties out for a parser; whether there is a line to parse and room for its result.
bool BeginParse(const char* line, char* out, size_t cap) {
    if (!out || cap == 0)
        return false;
    out[0] = 0;
    return line != nullptr;
}

} // namespace

bool BookmarkFolder(const char* line, size_t length, char* out, size_t cap) {
    if (!BeginParse(line, out, cap))
        return false;
    size_t uriLength = 0;
    while (uriLength < length && line[uriLength] != ' ' && line[uriLength] != '\t')
        ++uriLength;
    if (!StartsWith(line, uriLength, "file://", true))
        return false;
    size_t i = 7;
    size_t host = i;
    while (i < uriLength && line[i] != '/')
        ++i;
    const size_t hostLength = i - host;
    if (hostLength && !(hostLength == 9 && StartsWith(line + host, hostLength, "localhost", true)))
        return false;
    size_t n = 0;
    for (; i < uriLength; ++i) {
        char c = line[i];
        if (c == '%') {
            int high = i + 2 < uriLength ? HexValue(line[i + 1]) : -1;
            int low = high >= 0 ? HexValue(line[i + 2]) : -1;
            if (low < 0 || (high == 0 && low == 0)) {
                out[0] = 0;
                return false;
            }
            c = static_cast<char>(high * 16 + low);
            i += 2;
        }
        if (n + 1 >= cap) {
            out[0] = 0;
            return false;
        }
        out[n++] = c;
    }
    out[n] = 0;
    if (!FinishPath(out, n)) {
        out[0] = 0;
        return false;
    }
    return true;
}

bool UserDirFolder(const char* line, size_t length, const char* home, char* out, size_t cap) {
    if (!BeginParse(line, out, cap))
        return false;
    size_t i = 0;
    while (i < length && (line[i] == ' ' || line[i] == '\t'))
        ++i;
    if (!StartsWith(line + i, length - i, "XDG_", false))
        return false;
    size_t name = i;
    while (i < length && ((line[i] >= 'A' && line[i] <= 'Z') || line[i] == '_'))
        ++i;
    if (i - name < 9 || strncmp(line + i - 4, "_DIR", 4) != 0 || i + 1 >= length ||
        line[i] != '=' || line[i + 1] != '"')
        return false;
    i += 2;
    char value[kLinuxPathSize];
    size_t n = 0;
    bool closed = false;
    for (; i < length; ++i) {
        char c = line[i];
        if (c == '"') {
            closed = true;
            ++i;
            break;
        }
        if (c == '\\') {
            if (++i >= length)
                return false;
            c = line[i];
        }
        if (n + 1 >= sizeof value)
            return false;
        value[n++] = c;
    }
    value[n] = 0;
    for (; i < length; ++i)
        if (line[i] != ' ' && line[i] != '\t')
            return false;
    if (!closed)
        return false;
    const char* rest = value;
    size_t length2 = 0;
    if (strncmp(value, "$HOME", 5) == 0 && (value[5] == '/' || value[5] == 0)) {
        if (!home || home[0] != '/')
            return false;
        length2 = CopyText(out, cap, home);
        rest = value + 5;
    } else if (value[0] != '/') {
        return false;
    }
    const size_t restLength = strlen(rest);
    if (length2 + restLength + 1 > cap)
        return false;
    memcpy(out + length2, rest, restLength + 1);
    if (!FinishPath(out, length2 + restLength)) {
        out[0] = 0;
        return false;
    }
    // The home folder itself is how the file switches a user folder off.
    char homeCopy[kLinuxPathSize];
    if (home && CopyText(homeCopy, sizeof homeCopy, home) &&
        FinishPath(homeCopy, strlen(homeCopy)) && strcmp(homeCopy, out) == 0) {
        out[0] = 0;
        return false;
    }
    return true;
}

bool ConfigFolder(const char* xdgConfigHome, const char* home, char* out, size_t cap) {
    if (!out || cap == 0)
        return false;
    out[0] = 0;
    if (xdgConfigHome && xdgConfigHome[0] == '/')
        return BoundedLength(xdgConfigHome, cap) < cap && CopyText(out, cap, xdgConfigHome);
    if (!home || home[0] != '/' || strlen(home) + sizeof "/.config" > cap)
        return false;
    CopyText(out, cap, home);
    AppendText(out, cap, "/.config");
    return true;
}

void CollectLinuxPlaces(const char* userDirs, size_t userDirsLength, const char* bookmarks,
                        size_t bookmarksLength, const char* home, PlaceSystem& system,
                        LinuxPlaces& places) {
    places.count = 0;
    char linuxPath[kLinuxPathSize];
    auto offer = [&](bool understood) {
        if (!understood)
            return true;
        char* folder = places.folders[places.count];
        if (!system.WindowsFolder(linuxPath, folder, kPathSize) || !folder[0] ||
            BoundedLength(folder, kPathSize) > kMaxPath)
            return true;
        for (int k = 0; k < places.count; ++k)
            if (CompareNoCase(places.folders[k], folder, kPathSize) == 0)
                return true;
        if (system.FolderExists(folder))
            ++places.count;
        return places.count < kMaxLinuxPlaces;
    };
    EachLine(userDirs, userDirsLength, [&](const char* line, size_t n) {
        return offer(UserDirFolder(line, n, home, linuxPath, sizeof linuxPath));
    });
    if (places.count < kMaxLinuxPlaces)
        EachLine(bookmarks, bookmarksLength, [&](const char* line, size_t n) {
            return offer(BookmarkFolder(line, n, linuxPath, sizeof linuxPath));
        });
}

} // namespace vn
