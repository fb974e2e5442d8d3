#include "hook/commands/find_system_win.h"

#include "hook/core/text.h"

namespace vn {

namespace {

uint64_t Time(const FILETIME& t) {
    return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

void Take(const WIN32_FIND_DATAA& data, FoundFile* out) {
    CopyField(out->name, sizeof out->name, data.cFileName, sizeof data.cFileName);
    out->attributes = data.dwFileAttributes;
    out->size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    out->created = Time(data.ftCreationTime);
    out->accessed = Time(data.ftLastAccessTime);
    out->written = Time(data.ftLastWriteTime);
}

} // namespace

void* Win32FindFiles::FindFirst(const char* pattern, FoundFile* out) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(pattern, &data);
    if (search == INVALID_HANDLE_VALUE)
        return nullptr;
    Take(data, out);
    return search;
}

bool Win32FindFiles::FindNext(void* search, FoundFile* out) {
    WIN32_FIND_DATAA data;
    if (!FindNextFileA(static_cast<HANDLE>(search), &data))
        return false;
    Take(data, out);
    return true;
}

void Win32FindFiles::FindClose(void* search) {
    ::FindClose(static_cast<HANDLE>(search));
}

// A removable drive without a medium has no readable root.
bool Win32FindFiles::DriveReady(const char* folder) {
    if (!folder[0] || folder[1] != ':')
        return true;
    const char root[] = {folder[0], ':', '\\', 0};
    return GetFileAttributesA(root) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FindFiles::PumpDue() {
    ULONGLONG now = GetTickCount64();
    if (pumped_ && now - lastPump_ < kPumpIntervalMs)
        return false;
    pumped_ = true;
    lastPump_ = now;
    return true;
}

} // namespace vn
