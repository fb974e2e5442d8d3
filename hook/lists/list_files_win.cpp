#include "hook/lists/list_files_win.h"

#include "hook/core/file_names.h"
#include "hook/core/ini_batch.h"
#include "hook/core/manager_link_win.h"
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

bool IsFolderAttribute(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

constexpr DWORD kNetworkTestMs = 400;

// One folder test on a thread of its own. The probe is shared by the thread and the waiter; the
// last of the two to let go frees it, so a waiter that gave up leaves the thread nothing dangling.
struct FolderProbe {
    char path[kPathSize];
    volatile LONG answer; // -1 not yet, 0 missing, 1 a folder
    volatile LONG users;
};

void LetGo(FolderProbe* probe) {
    if (InterlockedDecrement(&probe->users) == 0)
        HeapFree(GetProcessHeap(), 0, probe);
}

DWORD WINAPI ProbeFolder(LPVOID param) {
    auto* probe = static_cast<FolderProbe*>(param);
    InterlockedExchange(&probe->answer, IsFolderAttribute(GetFileAttributesA(probe->path)) ? 1 : 0);
    LetGo(probe);
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ProbeFolder), &self);
    FreeLibraryAndExitThread(self, 0);
}

// 1 a folder, 0 not, -1 no answer within ms (or no thread to ask).
int TestFolderWithin(const char* path, DWORD ms) {
    auto* probe = static_cast<FolderProbe*>(HeapAlloc(GetProcessHeap(), 0, sizeof(FolderProbe)));
    if (!probe)
        return -1;
    CopyText(probe->path, sizeof probe->path, path);
    probe->answer = -1;
    probe->users = 2;
    HMODULE self = nullptr;
    HANDLE thread = nullptr;
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                           reinterpret_cast<LPCSTR>(&ProbeFolder), &self)) {
        thread = CreateThread(nullptr, 0, ProbeFolder, probe, 0, nullptr);
        if (!thread)
            FreeLibrary(self);
    }
    if (!thread) {
        HeapFree(GetProcessHeap(), 0, probe);
        return -1;
    }
    WaitForSingleObject(thread, ms);
    CloseHandle(thread);
    int answer = static_cast<int>(probe->answer);
    LetGo(probe);
    return answer;
}

class ProfileListHost final : public ListHost {
  public:
    ProfileListHost()
        : files_{ProfileIniFile(""), ProfileIniFile(""), ProfileIniFile(""), ProfileIniFile("")} {}
    ~ProfileListHost() {
        for (IniBatch& batch : batches_)
            batch.Flush();
    }
    ProfileListHost(const ProfileListHost&) = delete;
    ProfileListHost& operator=(const ProfileListHost&) = delete;

    // Each file's writes are collected and written a section at a time when the operation moves
    // to another file or ends (the session still holds the lock then).
    IniFile& File(FileRole role, const char* path) override {
        int r = role >= 0 && role < kFileRoles ? role : kRoleListFile;
        if (bound_[r] && !CompareNoCase(paths_[r], path ? path : "", sizeof paths_[r]))
            return batches_[r];
        batches_[r].Flush();
        files_[r] = ProfileIniFile(path);
        CopyText(paths_[r], sizeof paths_[r], path);
        bound_[r] = true;
        batches_[r].Bind(&files_[r]);
        return batches_[r];
    }

    unsigned DriveType(char letter) override {
        char root[4] = {letter, ':', '\\', 0};
        return GetDriveTypeA(root);
    }

    // A folder on the network may keep the test waiting for the network's time-out, on the
    // dialog's thread: such a test gets kNetworkTestMs, and after one that ran out no further
    // network folder is tested in this operation (each counts as missing).
    bool IsExistingFolder(const char* path) override {
        char p[kPathSize];
        size_t n = CopyText(p, sizeof p, path);
        if (n && p[n - 1] == '\\')
            p[--n] = 0;
        if (!n)
            return false;
        if (!MayWaitOnNetwork(p, DriveType(DriveLetterOf(p))))
            return IsFolderAttribute(GetFileAttributesA(p));
        if (networkGaveUp_)
            return false;
        int answer = TestFolderWithin(p, kNetworkTestMs);
        networkGaveUp_ = answer < 0;
        return answer > 0;
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
    IniBatch batches_[kFileRoles];
    char paths_[kFileRoles][kPathSize] = {};
    bool bound_[kFileRoles] = {};
    bool networkGaveUp_ = false;
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
    explicit Session(ListAccess access, DWORD stallMs = kListLockStallMs,
                     DWORD maxWaitMs = kListLockMaxWaitMs)
        : locking_(access == ListAccess::kFilesLocked), lock_(locking_ ? stallMs : 0, maxWaitMs),
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

int LoadListsForDialog(const char* module) {
    Session session(ListAccess::kFilesLocked);
    if (!session.Ready())
        return 0;
    session.Store().LoadAppLists(module);
    const SharedState* s = Shared();
    if (s && s->lists.allListsLoaded != 1)
        session.Store().LoadAllAppsLists(false);
    return session.Store().ReadOpenToFirstFavorite(module);
}

namespace {

// A recording that neither this thread nor the manager could write: a thread of this process
// waits for the lists as long as a busy moment takes, holding the module it runs in.
DWORD WINAPI WriteRecordingLater(LPVOID param) {
    auto* recording = static_cast<DialogRecording*>(param);
    for (int attempt = 0; attempt < kLateRecordingAttempts; ++attempt) {
        Session session(ListAccess::kFilesLocked);
        if (session.Ready()) {
            session.Store().ApplyRecording(*recording);
            break;
        }
    }
    HeapFree(GetProcessHeap(), 0, recording);
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&WriteRecordingLater), &self);
    FreeLibraryAndExitThread(self, 0);
}

bool HandToManager(const DialogRecording& recording) {
    const SharedState* s = Shared();
    if (!s || !s->managerWindow)
        return false;
    COPYDATASTRUCT data = {kRecordingCopyId, sizeof recording,
                           const_cast<DialogRecording*>(&recording)};
    DWORD_PTR accepted = 0;
    return SendToManager(*s, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), &accepted) &&
           accepted == kRecordingAccepted;
}

bool WriteInBackground(const DialogRecording& recording) {
    void* copy = HeapAlloc(GetProcessHeap(), 0, sizeof recording);
    if (!copy)
        return false;
    memcpy(copy, &recording, sizeof recording);
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCSTR>(&WriteRecordingLater), &self)) {
        HeapFree(GetProcessHeap(), 0, copy);
        return false;
    }
    HANDLE thread = CreateThread(nullptr, 0, WriteRecordingLater, copy, 0, nullptr);
    if (!thread) {
        FreeLibrary(self);
        HeapFree(GetProcessHeap(), 0, copy);
        return false;
    }
    CloseHandle(thread);
    return true;
}

} // namespace

RecordingResult RecordDialogClose(const DialogRecording& recording) {
    {
        Session session(ListAccess::kFilesLocked, kCloseLockWaitMs, kCloseLockWaitMs);
        if (session.Ready())
            return session.Store().ApplyRecording(recording) ? RecordingResult::kWritten
                                                             : RecordingResult::kFavoriteRefused;
    }
    if (HandToManager(recording))
        return RecordingResult::kHandedToManager;
    return WriteInBackground(recording) ? RecordingResult::kWritingLater : RecordingResult::kLost;
}

namespace {
constexpr int kWriterFirstCapacity = 64;
constexpr int kWriterMaxCapacity = 16384; // 14 MB: far beyond what the lists can lag behind
} // namespace

RecordingWriter::~RecordingWriter() {
    Stop(0);
}

bool RecordingWriter::Start() {
    if (thread_)
        return true;
    InitializeCriticalSection(&lock_);
    wake_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    stopping_ = 0;
    thread_ = wake_ ? CreateThread(nullptr, 0, Run, this, 0, nullptr) : nullptr;
    if (!thread_) {
        if (wake_)
            CloseHandle(wake_);
        wake_ = nullptr;
        DeleteCriticalSection(&lock_);
    }
    return thread_ != nullptr;
}

bool RecordingWriter::Accept(const COPYDATASTRUCT* data) {
    if (!thread_ || !data || data->dwData != kRecordingCopyId ||
        !IsValidRecording(data->lpData, data->cbData))
        return false;
    EnterCriticalSection(&lock_);
    bool room = count_ < capacity_;
    if (!room && capacity_ < kWriterMaxCapacity) {
        int grown = capacity_ ? capacity_ * 2 : kWriterFirstCapacity;
        auto* bigger = static_cast<DialogRecording*>(
            HeapAlloc(GetProcessHeap(), 0, sizeof(DialogRecording) * static_cast<size_t>(grown)));
        if (bigger) {
            for (int i = 0; i < count_; ++i)
                bigger[i] = queue_[(first_ + i) % capacity_];
            if (queue_)
                HeapFree(GetProcessHeap(), 0, queue_);
            queue_ = bigger;
            capacity_ = grown;
            first_ = 0;
            room = true;
        }
    }
    if (room) {
        memcpy(&queue_[(first_ + count_) % capacity_], data->lpData, sizeof(DialogRecording));
        ++count_;
    }
    LeaveCriticalSection(&lock_);
    if (room)
        SetEvent(wake_);
    return room;
}

bool RecordingWriter::Take(DialogRecording* out) {
    EnterCriticalSection(&lock_);
    bool any = count_ > 0;
    if (any) {
        *out = queue_[first_];
        first_ = (first_ + 1) % capacity_;
        --count_;
    }
    LeaveCriticalSection(&lock_);
    return any;
}

// Waits for recordings and writes them, a few per hold of the lock so that the dialogs of other
// processes get their turns; a lock that cannot be had is tried again until Stop.
DWORD WINAPI RecordingWriter::Run(LPVOID param) {
    auto* self = static_cast<RecordingWriter*>(param);
    for (;;) {
        WaitForSingleObject(self->wake_, 200);
        while (self->Pending() > 0) {
            Session session(ListAccess::kFilesLocked);
            if (!session.Ready())
                break; // busy for long: wait for the next wake-up and try again
            DialogRecording r;
            for (int n = 0; n < 4 && self->Take(&r); ++n) {
                session.Store().ApplyRecording(r);
                InterlockedIncrement(reinterpret_cast<volatile LONG*>(&self->written_));
            }
        }
        if (self->stopping_ && self->Pending() == 0)
            return 0;
        if (self->stopping_ == 2)
            return 0; // given up: the lists stayed busy longer than the manager could wait
    }
}

void RecordingWriter::Stop(DWORD waitMs) {
    if (!thread_)
        return;
    InterlockedExchange(&stopping_, 1);
    SetEvent(wake_);
    if (WaitForSingleObject(thread_, waitMs) != WAIT_OBJECT_0) {
        InterlockedExchange(&stopping_, 2);
        SetEvent(wake_);
        WaitForSingleObject(thread_, kListLockMaxWaitMs + 1000);
    }
    CloseHandle(thread_);
    CloseHandle(wake_);
    thread_ = wake_ = nullptr;
    DeleteCriticalSection(&lock_);
    if (queue_)
        HeapFree(GetProcessHeap(), 0, queue_);
    queue_ = nullptr;
    capacity_ = first_ = count_ = 0;
}

int RecordingWriter::Pending() {
    if (!thread_)
        return count_;
    EnterCriticalSection(&lock_);
    int n = count_;
    LeaveCriticalSection(&lock_);
    return n;
}

int RecordingWriter::Written() {
    return written_;
}

} // namespace vn
