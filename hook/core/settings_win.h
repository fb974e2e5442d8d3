// The Win32 side of the settings store: ini files through the profile functions and the
// registry folders through the registry and file-system calls.
#pragma once

#include <windows.h>

#include "hook/core/settings.h"
#include "hook/core/shared_state.h"

namespace vn {

// One ini file. The path is copied, so the object does not depend on the caller's buffer (which
// may be shared memory that changes).
class ProfileIniFile : public IniFile {
  public:
    explicit ProfileIniFile(const char* path);
    int32_t GetInt(const char* section, const char* key, int32_t def) override;
    size_t GetString(const char* section, const char* key, const char* def, char* buf,
                     size_t size) override;
    bool WriteString(const char* section, const char* key, const char* value) override;
    bool HasSections() const override { return true; }
    size_t GetSection(const char* section, char* buf, size_t size) override;
    bool WriteSection(const char* section, const char* lines) override;

  private:
    char path_[kPathSize];
};

// The key of the two folder values under HKEY_CURRENT_USER, opened for reading only.
class RegistryFolderSource : public FolderSource {
  public:
    RegistryFolderSource() = default;
    ~RegistryFolderSource();
    RegistryFolderSource(const RegistryFolderSource&) = delete;
    RegistryFolderSource& operator=(const RegistryFolderSource&) = delete;

    bool OpenKey() override;
    bool QueryValue(const char* name, char* buf, size_t size) override;
    void CloseKey() override;
    bool IsDirectory(const char* path) override;
    void CurrentDirectory(char* buf, size_t size) override;

  private:
    HKEY key_ = nullptr;
};

// The settings file "vantor.ini" whose path the shared state holds, and that path itself copied
// out of the shared state (empty until the paths are built). Every reader of the settings file
// goes through one of these.
ProfileIniFile SettingsFile(const SharedState& s);
void SettingsFilePath(const SharedState& s, char* buf, size_t size);

// The path of the older product's settings file in the Windows folder.
void KestraIniPath(char* buf, size_t size);

} // namespace vn
