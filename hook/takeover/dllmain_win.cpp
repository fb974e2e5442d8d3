// The library's entry point, its exports for the manager and the CBT hook procedure.
#define VNHOOK_BUILDING
#include "hook/takeover/vnhook_api.h"

#include "hook/takeover/classify_win.h"
#include "hook/takeover/library_hold_win.h"
#include "hook/core/file_names.h"
#include "hook/core/hook_owner_win.h"
#include "hook/core/process_win.h"
#include "hook/core/settings.h"
#include "hook/core/settings_win.h"
#include "hook/core/shared_state_win.h"
#include "hook/core/text.h"
#include "hook/lists/list_files_win.h"
#include "hook/trained/trained_db_win.h"
#include "hook/trained/training_win.h"

#include <cstring>

namespace vn {

namespace {

// Builds the file paths from the registry folders, once per lifetime of the shared state.
void BuildPaths(SharedState& s) {
    for (auto& slot : s.extendedDialogs)
        slot.inUse = 0;
    s.trainedDbPath[0] = 0;
    char program[kPathSize], data[kPathSize];
    RegistryFolderSource registry;
    ReadRegistryFolders(registry, program, data, sizeof program);
    CopyText(s.programFolder, sizeof s.programFolder, program);
    CopyText(s.dataFolder, sizeof s.dataFolder, data);
    JoinPath(s.trainedDbPath, sizeof s.trainedDbPath, data, kTrainedDbFileName);
    JoinPath(s.iniFilePath, sizeof s.iniFilePath, data, kIniFileName);
    JoinPath(s.allAppsListPath, sizeof s.allAppsListPath, data, kAllAppsListFileName);
    JoinPath(s.helpFilePath, sizeof s.helpFilePath, program, kHelpFileName);
    s.showUsageNote =
        static_cast<uint32_t>(SettingsFile(s).GetInt(kSettingsSection, kKeyShowUsageNote, 1));
    s.pathsReady = 1;
}

// Clears the shared database and loads the file into it. The path is copied out first: the
// shared copy could change under us.
int LoadSharedDatabase(SharedState& s) {
    memset(s.trainedEntries, 0, sizeof s.trainedEntries);
    s.trainedCount = 0;
    char path[kPathSize];
    CopyField(path, sizeof path, s.trainedDbPath, sizeof s.trainedDbPath);
    int count = path[0] ? LoadTrainedDatabaseFile(path, s.trainedEntries) : 0;
    s.trainedCount = count;
    return count;
}

BOOL SetSwitch(uint32_t SharedState::*field, BOOL value) {
    SharedState* s = Shared();
    if (!s)
        return FALSE;
    return static_cast<BOOL>(
        InterlockedExchange(reinterpret_cast<volatile LONG*>(&(s->*field)), value ? 1 : 0));
}

// The owner word and the handle of this library's own hook (its bitness's).
volatile LONG64* OwnerWord(SharedState& s) {
    return reinterpret_cast<volatile LONG64*>(&OwnCbtHookOwner(s));
}
volatile LONG* HookWord(SharedState& s) {
    return reinterpret_cast<volatile LONG*>(&OwnCbtHook(s));
}

// The thread that counts the calls of CbtFunc32 for the window it creates, and the count.
volatile LONG g_probeThread = 0;
volatile LONG g_probeCalls = 0;

// How many hooks of this library a window created by this thread passes through.
LONG HooksSeeingThisThread() {
    InterlockedExchange(&g_probeCalls, 0);
    InterlockedExchange(&g_probeThread, static_cast<LONG>(GetCurrentThreadId()));
    HWND probe =
        CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    InterlockedExchange(&g_probeThread, 0);
    if (probe)
        DestroyWindow(probe);
    return g_probeCalls;
}

// A hook recorded for a manager that has gone. Windows removed it when the manager's thread
// ended, and its handle may since name a hook of another program: unhooking it blindly could take
// that program's hook away. Wine keeps a global hook after its thread ends, and then it would run
// beside ours and take every dialog over twice. So the stale hook is removed only when a window of
// this thread is seen passing through two hooks of this library (ours, set just before, and that
// one): then it is still installed and its handle still names it.
void DisposeStaleHook(Handle32 stale) {
    if (stale && HooksSeeingThisThread() > 1)
        UnhookWindowsHookEx(ToHook(stale));
}

// Sets this process's hook in place of the recorded one; the caller has claimed the owner word
// for it. Nonzero when the hook is in place.
int SetOwnHook(SharedState& s, LONG64 mark) {
    Handle32 stale = OwnCbtHook(s);
    HHOOK hook = SetWindowsHookExA(WH_CBT, CbtFunc32, g_process.moduleInstance, 0);
    // The handle changed since it was read (a removal, or a manager that judged this one dead): the
    // other's decision stands, and two managers starting together never leave two hooks.
    if (hook && InterlockedCompareExchange(HookWord(s), static_cast<LONG>(FromHandle(hook)),
                                           static_cast<LONG>(stale)) != static_cast<LONG>(stale)) {
        UnhookWindowsHookEx(hook);
        hook = nullptr;
    }
    if (!hook) {
        InterlockedCompareExchange64(OwnerWord(s), 0, mark);
        return OwnCbtHook(s) != 0;
    }
    DisposeStaleHook(stale);
    return 1;
}

} // namespace

} // namespace vn

using namespace vn;

// Only what is safe under the loader lock happens here: kernel32 calls on this process's own data.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    switch (reason) {
    case DLL_PROCESS_ATTACH: {
        g_process.moduleInstance = instance;
        DisableThreadLibraryCalls(instance);
        OSVERSIONINFOA version = {};
        version.dwOSVersionInfoSize = sizeof version;
        if (GetVersionExA(&version)) {
            g_process.isNT = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
        }
        break;
    }
    case DLL_PROCESS_DETACH:
        // A non-null reserved means the process is ending: its other threads were stopped wherever
        // they were, perhaps half-way through the list cache or the view, and the system takes back
        // the memory and the handles itself. Touching them then gains nothing and may crash the
        // application on its way out, so everything is left as it is.
        if (reserved)
            break;
        // FreeLibrary: the process lives on without the library (the manager removed the hook).
        // The system unloads a hook library only when no call of the hook procedure is running,
        // and each taken-over dialog holds the library until its procedures are idle, so no code
        // of the library runs in another thread now: give back every list slot, not only this
        // executable's, the lists mutex, the view of the shared state and its mapping handle.
        ReleaseAppLists(nullptr);
        ReleaseShared();
        break;
    default:
        break;
    }
    return TRUE;
}

// The owner word decides which manager holds the hook: a manager sets its hook only after it
// has claimed the word from nobody, from a dead process or from itself.
int WINAPI InstallCBTFilter32(void) {
    SharedState* s = Shared();
    if (!s)
        return 0;
    if (!s->pathsReady)
        BuildPaths(*s);
    if (!s->pathsReady)
        return 0;
    const LONG64 me = static_cast<LONG64>(PackMark(OwnMark()));
    for (int attempt = 0; attempt < 8; ++attempt) {
        LONG64 recorded = InterlockedCompareExchange64(OwnerWord(*s), 0, 0); // an atomic read
        if (recorded == me) {
            if (OwnCbtHook(*s))
                return 1;
            return SetOwnHook(*s, me);
        }
        ProcessMark owner = UnpackMark(static_cast<uint64_t>(recorded));
        ProcessSighting now = owner.id ? LookAtProcess(owner.id) : ProcessSighting{};
        if (HookOwnerAlive(owner, now))
            return OwnCbtHook(*s) != 0; // another manager holds the hook (or is setting it)
        // Nobody, or a dead process: claim the word. Of two managers starting together only one
        // succeeds; the other looks again and finds a live owner.
        if (InterlockedCompareExchange64(OwnerWord(*s), me, recorded) == recorded)
            return SetOwnHook(*s, me);
        Sleep(0);
    }
    return OwnCbtHook(*s) != 0;
}

// Only the process that set the hook takes it away: a manager that found another one's hook in
// place, or a 64-bit stand-in for the companion that found the manager's, leaves it to its owner.
// The owner is cleared only as it was seen before the hook was taken, so that a manager that
// claimed the word meanwhile keeps its claim.
int WINAPI RemoveCBTFilter32(void) {
    SharedState* s = Shared();
    if (!s)
        return 0;
    const LONG64 me = static_cast<LONG64>(PackMark(OwnMark()));
    if (InterlockedCompareExchange64(OwnerWord(*s), 0, 0) != me)
        return 0;
    Handle32 hook = static_cast<Handle32>(InterlockedExchange(HookWord(*s), 0));
    if (!hook)
        return 0;
    UnhookWindowsHookEx(ToHook(hook));
    InterlockedCompareExchange64(OwnerWord(*s), 0, me);
    return 1;
}

// The manager is leaving: dialogs still open must stop reporting to its window, whose handle may
// soon belong to another window.
int WINAPI CleanUpHookDLL(void) {
    if (SharedState* s = Shared())
        InterlockedExchange(reinterpret_cast<volatile LONG*>(&s->managerWindow), 0);
    return RemoveCBTFilter32();
}

int WINAPI SetupHookDLL(HWND managerWindow) {
    SharedState* s = Shared();
    if (!s)
        return 0;
    s->managerWindow = FromHandle(managerWindow);
    memset(s->trainedEntries, 0, sizeof s->trainedEntries);
    s->trainedCount = 0;
    InstallCBTFilter32(); // builds the paths the load needs
    return LoadSharedDatabase(*s);
}

int WINAPI ReReadTrainedDatabase(void) {
    SharedState* s = Shared();
    return s ? LoadSharedDatabase(*s) : 0;
}

BOOL WINAPI CommonEnabled(BOOL enable) {
    return SetSwitch(&SharedState::commonEnabled, enable);
}

BOOL WINAPI IsCommonEnabled(void) {
    const SharedState* s = Shared();
    return s ? s->commonEnabled != 0 : FALSE;
}

BOOL WINAPI NotSoCommonEnabled(BOOL enable) {
    return SetSwitch(&SharedState::notSoCommonEnabled, enable);
}

BOOL WINAPI IsNotSoCommonEnabled(void) {
    const SharedState* s = Shared();
    return s ? s->notSoCommonEnabled != 0 : FALSE;
}

// Opens the first training window and empties the ring of recent dialog candidates, so that only
// windows created from now on are offered for training.
int WINAPI NotSoCommonManualSelect(void) {
    SharedState* s = Shared();
    if (!s)
        return 0;
    int shown = StartManualSelection(MouseFunc);
    // Emptied after the selection window is made: the window that asks for the dialog is not one
    // to be offered for training.
    s->recentWindowNext = 0;
    s->recentWindowCount = 0;
    return shown;
}

DWORD WINAPI GetHookCount(void) {
    const SharedState* s = Shared();
    return s ? s->hookCount : 0;
}

// Called by the system in the creating thread for every window of the desktop: counts it and
// classifies it. It never vetoes a creation.
LRESULT CALLBACK CbtFunc32(int code, WPARAM wParam, LPARAM lParam) {
    ActiveCall active; // the disabling dialog may run a modal loop in here
    SharedState* s = Shared();
    LRESULT result = CallNextHookEx(s ? ToHook(OwnCbtHook(*s)) : nullptr, code, wParam, lParam);
    if (code != HCBT_CREATEWND || !s)
        return result;
    // Windows calls a global hook for the windows of processes of the other bitness in the thread
    // that set it (the manager's or the companion's), which cannot take over another process's
    // window: only windows this thread creates are ours to look at.
    if (GetWindowThreadProcessId(reinterpret_cast<HWND>(wParam), nullptr) != GetCurrentThreadId())
        return result;
    if (g_probeThread && static_cast<DWORD>(g_probeThread) == GetCurrentThreadId())
        InterlockedIncrement(&g_probeCalls);
    InterlockedIncrement(reinterpret_cast<volatile LONG*>(&s->hookCount));
    ClassifyCreation(*s, reinterpret_cast<HWND>(wParam),
                     reinterpret_cast<const CBT_CREATEWNDA*>(lParam));
    return result;
}
