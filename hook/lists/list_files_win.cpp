#include "hook/lists/list_files_win.h"

#include "hook/core/file_names.h"
#include "hook/core/object_trust_win.h"
#include "hook/core/settings_win.h"
#include "hook/core/shared_state_win.h"
#include "hook/core/text.h"

#include <cstring>

namespace vn {

namespace {

// The cache table costs 168 bytes in every process that maps the library; a slot's 100 KB are
// committed only when a dialog of that application starts.
AppListCache g_cache;
HANDLE volatile g_listMutex = nullptr;
constexpr DWORD kLockSliceMs = 100;

HANDLE ListMutex() {
    HANDLE mutex = g_listMutex;
    if (mutex)
        return mutex;
    mutex = CreateMutexA(nullptr, FALSE, kListMutexName);
    if (!mutex)
        return nullptr;
    // A mutex that someone this process does not trust made under the name could be held forever
    // or let go at will: the lock is then unavailable, as when the mutex cannot be had at all.
    if (!TrustNamedObject(mutex, GetLastError() != ERROR_ALREADY_EXISTS)) {
        CloseHandle(mutex);
        return nullptr;
    }
    HANDLE prev = static_cast<HANDLE>(InterlockedCompareExchangePointer(
        reinterpret_cast<void* volatile*>(&g_listMutex), mutex, nullptr));
    if (prev) {
        CloseHandle(mutex);
        return prev;
    }
    return mutex;
}

class ProfileListHost final : public ListHost {
  public:
    ProfileListHost()
        : files_{ProfileIniFile(""), ProfileIniFile(""), ProfileIniFile(""), ProfileIniFile("")} {}

    IniFile& File(FileRole role, const char* path) override {
        int r = role >= 0 && role < kFileRoles ? role : kRoleListFile;
        files_[r] = ProfileIniFile(path);
        return files_[r];
    }

    unsigned DriveType(char letter) override {
        char root[4] = {letter, ':', '\\', 0};
        return GetDriveTypeA(root);
    }

    bool IsExistingFolder(const char* path) override {
        char p[kPathSize];
        size_t n = CopyText(p, sizeof p, path);
        if (n && p[n - 1] == '\\')
            p[--n] = 0;
        if (!n)
            return false;
        DWORD attributes = GetFileAttributesA(p);
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    void WindowsFolder(char* buf, size_t size) override {
        if (!buf || size == 0)
            return;
        UINT n = GetWindowsDirectoryA(buf, static_cast<UINT>(size > 0xFFFF ? 0xFFFF : size));
        if (n == 0 || n >= size)
            buf[0] = 0;
    }

    AppLists* AllocateSlot() override {
        return static_cast<AppLists*>(
            VirtualAlloc(nullptr, sizeof(AppLists), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }

    void FreeSlot(AppLists* slot) override {
        if (slot)
            VirtualFree(slot, 0, MEM_RELEASE);
    }

  private:
    ProfileIniFile files_[kFileRoles];
};

// Where the lists live: the paths built for the session, or, before they are built (a process
// that maps the library without a manager), the registry's data folder.
struct ListPaths {
    SharedState* shared;
    char dataFolder[kPathSize];
    char allAppsPath[kPathSize];

    explicit ListPaths(bool files) : shared(Shared()), dataFolder(), allAppsPath() {
        if (!files)
            return; // the lists in memory are enough
        if (shared && shared->pathsReady) {
            CopyField(dataFolder, sizeof dataFolder, shared->dataFolder, sizeof shared->dataFolder);
            CopyField(allAppsPath, sizeof allAppsPath, shared->allAppsListPath,
                      sizeof shared->allAppsListPath);
        }
        if (!dataFolder[0] || !allAppsPath[0]) {
            RegistryFolderSource registry;
            ReadRegistryFolders(registry, nullptr, dataFolder, sizeof dataFolder);
            JoinPath(allAppsPath, sizeof allAppsPath, dataFolder, kAllAppsListFileName);
        }
    }
};

// What an operation needs: the lists in memory alone, or the files under the lock.
enum class ListAccess { kInMemory, kFilesLocked };

// One operation: the lock (for kFilesLocked), the paths and a store over this process's cache.
// After an abandoned lock the shared lists are read again from their file, since their owner
// may have died half-way through a change; the application lists are read again as they are
// used.
class Session {
  public:
    explicit Session(ListAccess access)
        : locking_(access == ListAccess::kFilesLocked), lock_(locking_ ? kListLockStallMs : 0),
          paths_(locking_),
          store_(host_, g_cache, paths_.shared ? &paths_.shared->lists : nullptr, paths_.dataFolder,
                 paths_.allAppsPath, locking_ && lock_.Abandoned()) {
        if (locking_ && lock_.Abandoned() && paths_.shared && paths_.shared->lists.allListsLoaded)
            store_.LoadAllAppsLists(true);
    }
    bool Ready() const { return !locking_ || lock_.Held(); }
    ListStore& Store() { return store_; }
    RecordOptions Options() const {
        RecordOptions options = {true, false}; // the settings' defaults
        if (paths_.shared) {
            options.dontSaveRemovable = paths_.shared->settings.dontSaveRemovable != 0;
            options.dontSaveRemote = paths_.shared->settings.dontSaveRemote != 0;
        }
        return options;
    }

  private:
    bool locking_;
    ListLock lock_;
    ListPaths paths_;
    ProfileListHost host_;
    ListStore store_;
};

} // namespace

// Waits in slices, watching the release count: while other processes take their turns the wait
// goes on (up to the cap), so a busy moment loses no change; a holder that hangs stops the count
// and the wait ends after the stall time.
ListLock::ListLock(DWORD stallMs, DWORD maxWaitMs) {
    if (stallMs == 0)
        return;
    mutex_ = ListMutex();
    if (!mutex_)
        return;
    const SharedState* s = Shared();
    const volatile uint32_t* releases = s ? &s->lists.listLockReleases : nullptr;
    uint32_t seen = releases ? *releases : 0;
    DWORD start = GetTickCount();
    DWORD lastProgress = start;
    for (;;) {
        DWORD wait = WaitForSingleObject(mutex_, kLockSliceMs);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
            held_ = true;
            abandoned_ = wait == WAIT_ABANDONED;
            return;
        }
        if (wait != WAIT_TIMEOUT)
            return;
        DWORD now = GetTickCount();
        uint32_t count = releases ? *releases : seen;
        if (count != seen) {
            seen = count;
            lastProgress = now;
        }
        if (now - lastProgress >= stallMs || now - start >= maxWaitMs)
            return;
    }
}

ListLock::~ListLock() {
    if (!held_)
        return;
    if (SharedState* s = Shared())
        InterlockedIncrement(reinterpret_cast<volatile LONG*>(&s->lists.listLockReleases));
    ReleaseMutex(mutex_);
}

void LoadAppLists(const char* module) {
    Session session(ListAccess::kFilesLocked);
    if (session.Ready())
        session.Store().LoadAppLists(module);
}

void LoadAllAppsLists() {
    const SharedState* s = Shared();
    if (!s || s->lists.allListsLoaded == 1)
        return;
    Session session(ListAccess::kFilesLocked);
    if (session.Ready())
        session.Store().LoadAllAppsLists(false);
}

// Runs under the loader lock at detach: it only gives back this process's memory and handle.
void ReleaseAppLists(const char* moduleOrNull) {
    ProfileListHost host;
    ListStore(host, g_cache, nullptr, "", "", false).ReleaseAppLists(moduleOrNull);
    if (moduleOrNull)
        return;
    HANDLE mutex = static_cast<HANDLE>(
        InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&g_listMutex), nullptr));
    if (mutex)
        CloseHandle(mutex);
}

ListEntries* ListOf(const char* moduleOrNull, bool favorite, bool paths) {
    Session session(ListAccess::kInMemory);
    return session.Store().ListOf(moduleOrNull, KindOf(favorite, paths));
}

int ListLast(const char* moduleOrNull, bool favorite, bool paths) {
    Session session(ListAccess::kInMemory);
    return session.Store().ListLast(moduleOrNull, KindOf(favorite, paths));
}

void AddRecent(const char* moduleOrNull, const char* path, bool paths) {
    Session session(ListAccess::kFilesLocked);
    if (session.Ready())
        session.Store().AddRecent(moduleOrNull, path, paths);
}

BOOL AddFavorite(const char* moduleOrNull, const char* text, bool paths) {
    Session session(ListAccess::kFilesLocked);
    return session.Ready() && session.Store().AddFavorite(moduleOrNull, text, paths);
}

BOOL AddFavoriteFromDialog(const char* moduleOrNull, const char* text, bool withFolder) {
    Session session(ListAccess::kFilesLocked);
    return session.Ready() && session.Store().AddFavoriteFromDialog(moduleOrNull, text, withFolder);
}

BOOL AddFolderFavorite(const char* moduleOrNull, const char* folder) {
    Session session(ListAccess::kFilesLocked);
    return session.Ready() && session.Store().AddFolderFavorite(moduleOrNull, folder);
}

void RecordChosenFile(const char* module, const char* path) {
    if (!path || !path[0])
        return;
    Session session(ListAccess::kFilesLocked);
    if (session.Ready())
        session.Store().RecordChosenFile(module, path, session.Options());
}

BOOL ReplaceList(const char* moduleOrNull, bool favorite, bool paths, const char* const* rows,
                 int count) {
    Session session(ListAccess::kFilesLocked);
    return session.Ready() &&
           session.Store().ReplaceList(moduleOrNull, KindOf(favorite, paths), rows, count);
}

BOOL FirstFavoriteFolder(const char* moduleOrNull, char* buf, size_t size) {
    Session session(ListAccess::kInMemory);
    return session.Store().FirstFavoriteFolder(moduleOrNull, buf, size);
}

BOOL LastUsedFolder(const char* module, char* buf, size_t size) {
    Session session(ListAccess::kInMemory);
    return session.Store().LastUsedFolder(module, buf, size);
}

// A read of one key: without the lock (it timed out) the value may be a moment old, which is
// better than opening the dialog in the wrong folder for want of it.
int ReadOpenToFirstFavorite(const char* module) {
    Session session(ListAccess::kFilesLocked);
    return session.Store().ReadOpenToFirstFavorite(module);
}

void WriteOpenToFirstFavorite(const char* module, int value) {
    Session session(ListAccess::kFilesLocked);
    if (session.Ready())
        session.Store().WriteOpenToFirstFavorite(module, value);
}

void SaveLastFileType(const char* module, const char* dialogTitle, const char* fileTypeText) {
    Session session(ListAccess::kFilesLocked);
    if (session.Ready())
        session.Store().SaveLastFileType(module, dialogTitle, fileTypeText);
}

BOOL LoadLastFileType(const char* module, const char* dialogTitle, char* fileTypeText,
                      size_t size) {
    Session session(ListAccess::kFilesLocked);
    return session.Store().LoadLastFileType(module, dialogTitle, fileTypeText, size);
}

} // namespace vn
