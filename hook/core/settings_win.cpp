#include "hook/core/settings_win.h"

#include "hook/core/text.h"

namespace vn {

namespace {

// The profile and registry functions take 32-bit sizes; no buffer of ours comes near the limit.
DWORD DwordSize(size_t size) {
    return size > 0xFFFF ? 0xFFFF : static_cast<DWORD>(size);
}

} // namespace

ProfileIniFile::ProfileIniFile(const char* path) {
    CopyText(path_, sizeof path_, path);
}

int32_t ProfileIniFile::GetInt(const char* section, const char* key, int32_t def) {
    return static_cast<int32_t>(GetPrivateProfileIntA(section, key, def, path_));
}

size_t ProfileIniFile::GetString(const char* section, const char* key, const char* def, char* buf,
                                 size_t size) {
    if (!buf || size == 0)
        return 0;
    DWORD n = GetPrivateProfileStringA(section, key, def ? def : "", buf, DwordSize(size), path_);
    size_t cap = DwordSize(size);
    buf[n < cap ? n : cap - 1] = 0;
    return BoundedLength(buf, cap);
}

bool ProfileIniFile::WriteString(const char* section, const char* key, const char* value) {
    return WritePrivateProfileStringA(section, key, value, path_) != 0;
}

size_t ProfileIniFile::GetSection(const char* section, char* buf, size_t size) {
    if (!buf || size < 2)
        return 0;
    DWORD n = GetPrivateProfileSectionA(section, buf, DwordSize(size), path_);
    buf[n < size ? n : size - 1] = 0;
    return n;
}

bool ProfileIniFile::WriteSection(const char* section, const char* lines) {
    return WritePrivateProfileSectionA(section, lines, path_) != 0;
}

void ProfileIniFile::ForgetCachedCopy() {
    // Three nulls ask the profile functions to let go of their copy of the file.
    if (path_[0])
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_);
}

LockedSettingsFile::LockedSettingsFile(const char* path, DWORD waitMs) : file_(path) {
    mutex_ = CreateMutexA(nullptr, FALSE, kSettingsMutexName);
    if (mutex_) {
        DWORD wait = WaitForSingleObject(mutex_, waitMs);
        held_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    }
    file_.ForgetCachedCopy();
}

LockedSettingsFile::~LockedSettingsFile() {
    if (held_)
        ReleaseMutex(mutex_);
    if (mutex_)
        CloseHandle(mutex_);
}

ExcludeWrite ChangeExcludeFile(const char* path, ExcludeKind kind, const ExcludeChange& change,
                               SharedState* sharedOrNull, ExcludeList* copyOrNull) {
    int k = static_cast<int>(kind);
    if (k < 0 || k >= kExcludeKinds)
        return ExcludeWrite::kUnchanged;
    if (!path || !path[0])
        return ExcludeWrite::kBusy;
    ExcludeList list;
    int changed = 0;
    {
        LockedSettingsFile locked(path);
        if (!locked.Held())
            return ExcludeWrite::kBusy;
        changed = ChangeExcludeList(locked.File(), kind, change, list);
    }
    ExcludeList* shared = sharedOrNull ? ExcludeListOf(*sharedOrNull, kind) : nullptr;
    if (shared)
        StoreExcludeList(*shared, list);
    if (copyOrNull)
        StoreExcludeList(*copyOrNull, list);
    return changed ? ExcludeWrite::kChanged : ExcludeWrite::kUnchanged;
}

ExcludeWrite AddExcludeToFile(SharedState& s, ExcludeKind kind, const char* module,
                              const char* titleOrNull) {
    char entry[kExcludeEntrySize];
    if (!MakeExcludeEntry(entry, sizeof entry, module, titleOrNull))
        return ExcludeWrite::kUnchanged;
    const char* entries[1] = {entry};
    char path[kPathSize];
    SettingsFilePath(s, path, sizeof path);
    return ChangeExcludeFile(path, kind, {false, entries, 1}, &s, nullptr);
}

RegistryFolderSource::~RegistryFolderSource() {
    CloseKey();
}

bool RegistryFolderSource::OpenKey() {
    CloseKey();
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRegistryKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    key_ = key;
    return true;
}

bool RegistryFolderSource::QueryValue(const char* name, char* buf, size_t size) {
    if (!buf || size == 0)
        return false;
    buf[0] = 0;
    if (!key_)
        return false;
    // One byte is kept back so that a value stored without its terminator still ends in one.
    DWORD type = 0;
    DWORD bytes = DwordSize(size) - 1;
    LONG rc = RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &bytes);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        buf[0] = 0;
        return false;
    }
    buf[bytes < size ? bytes : size - 1] = 0;
    return true;
}

void RegistryFolderSource::CloseKey() {
    if (key_)
        RegCloseKey(key_);
    key_ = nullptr;
}

bool RegistryFolderSource::IsDirectory(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RegistryFolderSource::CurrentDirectory(char* buf, size_t size) {
    if (!buf || size == 0)
        return;
    DWORD n = GetCurrentDirectoryA(DwordSize(size), buf);
    if (n == 0 || n >= DwordSize(size))
        buf[0] = 0;
}

void KestraIniPath(char* buf, size_t size) {
    char windows[kPathSize];
    UINT n = GetWindowsDirectoryA(windows, sizeof windows);
    if (n == 0 || n >= sizeof windows)
        windows[0] = 0;
    JoinPath(buf, size, windows, kKestraFileName);
}

void SettingsFilePath(const SharedState& s, char* buf, size_t size) {
    CopyField(buf, size, s.iniFilePath, sizeof s.iniFilePath);
}

ProfileIniFile SettingsFile(const SharedState& s) {
    char path[kPathSize];
    SettingsFilePath(s, path, sizeof path);
    return ProfileIniFile(path);
}

} // namespace vn
