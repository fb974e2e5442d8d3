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

    // The profile functions keep a copy of the file in each process and may go on trusting it
    // after another process changed the file (they look at its time, which can stay the same
    // over two quick writes). After this the next read or write starts from the file on disk.
    void ForgetCachedCopy();

  private:
    char path_[kPathSize];
};

// Every write of a profile function rewrites the whole settings file from the writing process's
// copy of it, so two processes writing at once can interleave their copies, and a process whose
// copy predates another's write writes that write away. So every change of the settings file is
// made holding this mutex of the session, from a copy read after taking it. The wait is bounded:
// a dialog must not hang because another process does. Holding it costs a few profile reads
// and writes, so a waiter that gets nothing in kSettingsLockWaitMs is facing a holder that hangs.
constexpr const char* kSettingsMutexName = "Local\\VantorSettingsMutex";
constexpr DWORD kSettingsLockWaitMs = 2500;

// The settings file held for a change: the mutex, when it could be had in waitMs (Held(); also
// after its previous owner died holding it, since every change reads the file anew), and the file
// with this process's cached copy forgotten.
class LockedSettingsFile {
  public:
    explicit LockedSettingsFile(const char* path, DWORD waitMs = kSettingsLockWaitMs);
    ~LockedSettingsFile();
    LockedSettingsFile(const LockedSettingsFile&) = delete;
    LockedSettingsFile& operator=(const LockedSettingsFile&) = delete;
    bool Held() const { return held_; }
    ProfileIniFile& File() { return file_; }

  private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
    ProfileIniFile file_;
};

// What a change of an exclusion list in the settings file came to.
enum class ExcludeWrite {
    kChanged,   // entries were added or taken out
    kUnchanged, // nothing to do: already there, not there, or the list is full
    kBusy       // the settings lock could not be had, or no settings file is known yet:
                // nothing was read or written
};

// Changes list kind of the settings file at path by ChangeExcludeList, holding the settings lock,
// then refreshes sharedOrNull's list (the copy every process matches against) and copyOrNull (a
// copy of the caller's own) with the list as the file now holds it.
ExcludeWrite ChangeExcludeFile(const char* path, ExcludeKind kind, const ExcludeChange& change,
                               SharedState* sharedOrNull, ExcludeList* copyOrNull);

// The library's addition: the entry of the dialog (module, title) to list kind of the settings
// file of s.
ExcludeWrite AddExcludeToFile(SharedState& s, ExcludeKind kind, const char* module,
                              const char* titleOrNull);

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
