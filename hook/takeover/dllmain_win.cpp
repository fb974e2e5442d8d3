// The library's entry point, its exports for the manager and the CBT hook procedure.
#define VNHOOK_BUILDING
#include "hook/takeover/vnhook_api.h"

#include "hook/takeover/classify_win.h"
#include "hook/takeover/library_hold_win.h"
#include "hook/core/file_names.h"
#include "hook/core/process_win.h"
#include "hook/core/settings.h"
#include "hook/core/settings_win.h"
#include "hook/core/shared_state_win.h"
#include "hook/core/text.h"
#include "hook/lists/list_files_win.h"
#include "hook/trained/trained_db_win.h"

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

} // namespace

} // namespace vn

using namespace vn;

// Only what is safe under the loader lock happens here: kernel32 calls on this process's own data.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
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
        // Every slot, not only this executable's: the library may leave a process that lives on.
        ReleaseAppLists(nullptr);
        break;
    default:
        break;
    }
    return TRUE;
}

int WINAPI InstallCBTFilter32(void) {
    SharedState* s = Shared();
    if (!s)
        return 0;
    if (!s->pathsReady)
        BuildPaths(*s);
    if (!s->pathsReady)
        return 0;
    if (!s->cbtHook) {
        Sleep(0);
        HHOOK hook = SetWindowsHookExA(WH_CBT, CbtFunc32, g_process.moduleInstance, 0);
        // Two managers starting together must not leave a second, unowned hook behind.
        if (hook && InterlockedCompareExchange(reinterpret_cast<volatile LONG*>(&s->cbtHook),
                                               static_cast<LONG>(FromHandle(hook)), 0) != 0)
            UnhookWindowsHookEx(hook);
    }
    return s->cbtHook != 0;
}

int WINAPI RemoveCBTFilter32(void) {
    SharedState* s = Shared();
    if (!s)
        return 0;
    Handle32 hook = static_cast<Handle32>(
        InterlockedExchange(reinterpret_cast<volatile LONG*>(&s->cbtHook), 0));
    if (!hook)
        return 0;
    UnhookWindowsHookEx(ToHook(hook));
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

// Empties the ring of recent dialog candidates, so that only windows created from now on are
// offered for training.
int WINAPI NotSoCommonManualSelect(void) {
    SharedState* s = Shared();
    if (!s)
        return 0;
    s->recentWindowNext = 0;
    s->recentWindowCount = 0;
    return 0;
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
    LRESULT result = CallNextHookEx(s ? ToHook(s->cbtHook) : nullptr, code, wParam, lParam);
    if (code != HCBT_CREATEWND || !s)
        return result;
    InterlockedIncrement(reinterpret_cast<volatile LONG*>(&s->hookCount));
    ClassifyCreation(*s, reinterpret_cast<HWND>(wParam),
                     reinterpret_cast<const CBT_CREATEWNDA*>(lParam));
    return result;
}
