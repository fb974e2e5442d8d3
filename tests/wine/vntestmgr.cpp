// The test manager of the system tests: stands in for the manager program. It owns a window that
// answers the library's messages and records them, installs the library through its exports, and
// drives the sample application (vnsample.exe) in a second process. One scenario per run:
//
//   vntestmgr SCENARIO      (see the table at the end)
#include <windows.h>

#include "hook/core/manager_link_win.h"
#include "hook/core/settings.h"
#include "hook/core/settings_win.h"
#include "hook/core/text.h"
#include "hook/core/vnhook_api.h"
#include "hook/trained/trained_db_win.h"
#include "wine_check.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

using namespace vn;

namespace {

HWND g_manager;
uint32_t g_serial = 1;
int g_serialQueries;
std::vector<UINT> g_received; // library messages, in the order they came
char g_cwd[MAX_PATH];
char g_data[MAX_PATH];

const char kRegistryKey[] = "Software\\Orvelle Software\\Vantor";

LRESULT CALLBACK ManagerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == MSG_SETTINGS_SERIAL) {
        ++g_serialQueries;
        g_received.push_back(msg);
        return static_cast<LRESULT>(g_serial);
    }
    if (msg >= MSG_SETTINGS_SERIAL && msg <= MSG_SHOW_TRAINED_ENTRY) {
        g_received.push_back(msg);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void CreateManagerWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ManagerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VnTestManager";
    RegisterClassA(&wc);
    g_manager = CreateWindowExA(0, wc.lpszClassName, "Vantor test manager", WS_OVERLAPPEDWINDOW, 0,
                                0, 200, 100, nullptr, nullptr, wc.hInstance, nullptr);
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Runs the sample application with the given arguments and returns its exit status (-1 when it
// did not start or finish). While it runs, this thread answers the library's messages unless
// `pump` is false, which makes the manager look hung.
int RunSample(const char* args, bool pump = true, DWORD* elapsedMs = nullptr) {
    std::string cmd = std::string("vnsample.exe ") + args;
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back(0);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
        printf("cannot start %s (%lu)\n", cmd.c_str(), GetLastError());
        return -1;
    }
    DWORD start = GetTickCount();
    for (;;) {
        DWORD wait = pump ? MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, 60000, QS_ALLINPUT)
                          : WaitForSingleObject(pi.hProcess, 60000);
        if (wait == WAIT_OBJECT_0)
            break;
        if (wait == WAIT_OBJECT_0 + 1) {
            Pump();
            continue;
        }
        TerminateProcess(pi.hProcess, 99);
        break;
    }
    if (elapsedMs)
        *elapsedMs = GetTickCount() - start;
    DWORD code = static_cast<DWORD>(-1);
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

void SetRegistryFolders(const char* program, const char* data) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kRegistryKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "Program Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(program),
                   static_cast<DWORD>(strlen(program) + 1));
    RegSetValueExA(key, "Data Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                   static_cast<DWORD>(strlen(data) + 1));
    RegCloseKey(key);
}

void DeleteRegistryFolders() {
    RegDeleteKeyA(HKEY_CURRENT_USER, kRegistryKey);
}

std::string DataFile(const char* name) {
    return std::string(g_data) + "\\" + name;
}

// A fresh data folder next to the programs, named in the registry as both folders expect.
void PrepareFolders() {
    GetCurrentDirectoryA(sizeof g_cwd, g_cwd);
    snprintf(g_data, sizeof g_data, "%s\\vntest-data", g_cwd);
    CreateDirectoryA(g_data, nullptr);
    for (const char* f : {"vantor.ini", "vantor.dat", "vantor.dat.tmp"})
        DeleteFileA(DataFile(f).c_str());
    SetRegistryFolders(g_cwd, g_data);
}

void WriteIni(const char* key, const char* value) {
    WritePrivateProfileStringA("Vantor 3", key, value, DataFile("vantor.ini").c_str());
}

std::string ReadIni(const char* key) {
    char buf[256];
    GetPrivateProfileStringA("Vantor 3", key, "<none>", buf, sizeof buf,
                             DataFile("vantor.ini").c_str());
    return buf;
}

DWORD FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow
                                                                            : 0xFFFFFFFF;
}

// --- scenarios -------------------------------------------------------------------------------

void Exports() {
    HMODULE lib = GetModuleHandleA("vnhook.dll");
    CHECK(lib != nullptr, "vnhook.dll is not loaded");
    for (const char* name :
         {"SetupHookDLL", "CleanUpHookDLL", "InstallCBTFilter32", "RemoveCBTFilter32",
          "ReReadTrainedDatabase", "CommonEnabled", "IsCommonEnabled", "NotSoCommonEnabled",
          "IsNotSoCommonEnabled", "NotSoCommonManualSelect", "GetHookCount", "CbtFunc32"})
        CHECK(lib && GetProcAddress(lib, name), "export %s is missing", name);
    SharedState* s = Shared();
    CHECK(s != nullptr, "the shared state cannot be mapped");
    if (s) {
        CHECK(s->commonEnabled == 1 && s->notSoCommonEnabled == 1, "switches start on");
        CHECK(s->settings.useLastDir == 1 && s->settings.height32 == 70 &&
                  s->settings.recentShown == 25 && s->settings.disableKeyNoPrompt == 3,
              "library defaults are the initial values");
        CHECK(s->showUsageNote == 1 && s->pathsReady == 0, "paths are built on install");
    }
}

void HookCount() {
    PrepareFolders();
    SetupHookDLL(g_manager);
    CHECK(InstallCBTFilter32() == 1, "the hook is installed");
    DWORD before = GetHookCount();
    CHECK(RunSample("windows 5") == 0, "the sample creates its windows");
    DWORD after = GetHookCount();
    CHECK(after >= before + 10, "%lu window creations seen in the other process, expected 10",
          after - before);
    HWND own =
        CreateWindowExA(0, "STATIC", "x", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(own);
    CHECK(GetHookCount() > after, "the manager's own windows are counted");
    CHECK(CleanUpHookDLL() == 1, "clean-up removes the hook");
}

void Switches() {
    CHECK(CommonEnabled(FALSE) == TRUE, "the first CommonEnabled(0) returns the initial 1");
    CHECK(IsCommonEnabled() == FALSE, "switched off here");
    CHECK(RunSample("common") == 0, "the other process sees 0");
    CHECK(CommonEnabled(TRUE) == FALSE, "returns the previous value");
    CHECK(RunSample("common") == 1, "the other process sees 1 again");
    CHECK(NotSoCommonEnabled(FALSE) == TRUE, "trained dialogs start on");
    CHECK(RunSample("notsocommon") == 0, "the other process sees trained dialogs off");
    CHECK(IsNotSoCommonEnabled() == FALSE && NotSoCommonEnabled(TRUE) == FALSE, "and back on");
}

void RemoveHook() {
    PrepareFolders();
    SetupHookDLL(g_manager);
    CHECK(RemoveCBTFilter32() == 1, "first removal removes the hook");
    CHECK(RemoveCBTFilter32() == 0, "second removal finds none");
    CHECK(CleanUpHookDLL() == 0, "clean-up without a hook");
    DWORD before = GetHookCount();
    CHECK(RunSample("windows 3") == 0, "the sample runs");
    CHECK(GetHookCount() == before, "no window is counted without the hook (%lu)",
          GetHookCount() - before);
    CHECK(InstallCBTFilter32() == 1, "the hook goes in again");
    CHECK(RunSample("windows 3") == 0 && GetHookCount() >= before + 6, "and counts again");
    CHECK(CleanUpHookDLL() == 1, "clean-up");
}

void SetupTwice() {
    PrepareFolders();
    CHECK(SetupHookDLL(g_manager) == 0, "no database file: no entries");
    SharedState* s = Shared();
    Handle32 hook = s ? s->cbtHook : 0;
    CHECK(hook != 0, "the hook is installed");
    CHECK(RunSample("save-db 2") == 0, "the sample writes a database");
    CHECK(SetupHookDLL(g_manager) == 2, "a second set-up reloads the database");
    CHECK(s && s->cbtHook == hook, "and keeps the installed hook");
    DWORD before = GetHookCount();
    CHECK(RunSample("windows 2") == 0 && GetHookCount() >= before + 4, "the hook still counts");
    if (s) {
        s->recentWindowCount = 7;
        s->recentWindowNext = 3;
        NotSoCommonManualSelect();
        CHECK(s->recentWindowCount == 0 && s->recentWindowNext == 0, "the ring is emptied");
    }
    CleanUpHookDLL();
}

void Registry() {
    GetCurrentDirectoryA(sizeof g_cwd, g_cwd);
    char program[kPathSize], data[kPathSize];
    RegistryFolderSource registry;

    DeleteRegistryFolders();
    CHECK(ReadRegistryFolders(registry, program, data, sizeof program) == 0, "no key");
    CHECK(!strcmp(program, g_cwd) && !strcmp(data, g_cwd), "current directory for both: %s %s",
          program, data);

    std::string missing = std::string(g_cwd) + "\\no-such-folder";
    SetRegistryFolders(g_cwd, missing.c_str());
    CHECK(ReadRegistryFolders(registry, program, data, sizeof program) == 0, "missing folder");
    CHECK(!strcmp(program, g_cwd) && !strcmp(data, g_cwd), "the missing one is replaced: %s", data);

    PrepareFolders();
    std::string slashed = std::string(g_data) + "\\";
    SetRegistryFolders(g_cwd, slashed.c_str());
    CHECK(ReadRegistryFolders(registry, program, data, sizeof program) == 1, "both present");
    CHECK(!strcmp(data, slashed.c_str()), "data folder %s", data);

    SetupHookDLL(g_manager);
    SharedState* s = Shared();
    CHECK(s && s->pathsReady, "the paths are built");
    if (s) {
        CHECK(DataFile("vantor.ini") == s->iniFilePath, "ini file %s", s->iniFilePath);
        CHECK(DataFile("vantor.dat") == s->trainedDbPath, "database %s", s->trainedDbPath);
        CHECK(DataFile("ALLAPPS.vni") == s->allAppsListPath, "lists %s", s->allAppsListPath);
        CHECK(std::string(g_cwd) + "\\vantor.hlp" == s->helpFilePath, "help %s", s->helpFilePath);
    }
    CleanUpHookDLL();
}

void SettingsIni() {
    PrepareFolders();
    WriteIni("Use Last Dir", "0");
    WriteIni("Recent Shown", "42");
    WriteIni("Height32", "not a number");
    for (const char* key :
         {"Add Clip Button", "Add Copy Button", "Add Move Button", "Add Rename Button",
          "Add Find Button", "Add MkDir Button", "Add Delete Button"})
        WriteIni(key, "0");
    WriteIni("Add Vn Buttons", "1");
    WriteIni("NumExcludes", "2");
    WriteIni("Exclude1", "notepad");
    WriteIni("Exclude2", "vnsample : Open Me");
    WriteIni("NumSizeExcludes", "250");
    WriteIni("SizeExclude1", "wordpad");
    WriteIni("NumLastDirExcludes", "-3");
    WriteIni("LastDirExclude1", "never");
    SetupHookDLL(g_manager);
    SharedState* s = Shared();
    if (!s) {
        CHECK(false, "no shared state");
        return;
    }

    g_serial = 7;
    CHECK(RunSample("readsettings vnsample") == 0, "the sample reads the settings");
    CHECK(g_serialQueries == 1, "the manager was asked for its serial once (%d)", g_serialQueries);
    CHECK(s->settings.settingsSerial == 7 && s->settings.settingsLoaded, "serial taken over");
    CHECK(s->settings.useLastDir == 0 && s->settings.recentShown == 42, "values from the file");
    CHECK(s->settings.height32 == 0, "a value that does not parse reads as 0 (%d)",
          s->settings.height32);
    CHECK(s->settings.addVnButtons == 0, "no file button: no button row");
    CHECK(s->settings.useRecycleBin == 1, "a missing key keeps the default");
    CHECK(ExcludeCount(s->excludes) == 2, "two exclusions (%d)", s->excludes.count);
    CHECK(MatchExclude(s->excludes, "notepad", nullptr), "module entry matches");
    CHECK(MatchExclude(s->excludes, "vnsample", "OPEN ME"), "title entry, title in other case");
    CHECK(!MatchExclude(s->excludes, "vnsample", "Save"), "other title does not match");
    CHECK(s->sizeExcludes.count == 100, "250 reads as 100 (%d)", s->sizeExcludes.count);
    CHECK(!strcmp(s->sizeExcludes.entries[0], "wordpad") && !s->sizeExcludes.entries[1][0],
          "entries beyond the file are empty");
    CHECK(s->lastDirExcludes.count == 0, "-3 reads as none (%d)", s->lastDirExcludes.count);

    WriteIni("Recent Shown", "43");
    CHECK(RunSample("readsettings vnsample") == 0 && s->settings.recentShown == 42,
          "same serial: the cache stands");
    g_serial = 8;
    CHECK(RunSample("readsettings vnsample") == 0 && s->settings.recentShown == 43,
          "new serial: read again");

    // A manager that does not answer must not hold the application up, and the cache stays.
    g_serial = 9;
    WriteIni("Recent Shown", "44");
    DWORD elapsed = 0;
    CHECK(RunSample("readsettings vnsample", false, &elapsed) == 0, "read with a hung manager");
    CHECK(elapsed < 5000, "the application went on after %lu ms", elapsed);
    CHECK(s->settings.settingsSerial == 8 && s->settings.recentShown == 43,
          "no answer keeps the cached values");
    Pump();

    // Exclusions added by one process are written to the real file.
    CHECK(RunSample("addexclude 0 vnsampleapplication \"Save As\"") == 0, "exclusion added");
    CHECK(ReadIni("NumExcludes") == "3", "count written: %s", ReadIni("NumExcludes").c_str());
    CHECK(ReadIni("Exclude3") == "vnsample : Save As", "entry written: %s",
          ReadIni("Exclude3").c_str());
    CHECK(ReadIni("NumSizeExcludes") == "100" && ReadIni("NumLastDirExcludes") == "0",
          "all three lists written");
    CHECK(RunSample("addexclude 0 vnsampleapplication \"SAVE AS\"") == 1, "no duplicate entry");
    CleanUpHookDLL();
}

void TrainedDb() {
    PrepareFolders();
    CHECK(SetupHookDLL(g_manager) == 0, "no file yet");
    CHECK(RunSample("save-db 3") == 0, "the sample writes three entries");
    CHECK(FileSize(DataFile("vantor.dat")) == 3 * 4868, "the file holds three full records");
    CHECK(ReReadTrainedDatabase() == 3, "the manager loads them");
    CHECK(RunSample("expect-db 3") == 0, "the sample sees the three entries");

    // Records of an older, shorter layout are loaded and the file is upgraded at once.
    std::vector<char> old(2 * 4000, 0);
    for (int i = 0; i < 2; ++i) {
        old[static_cast<size_t>(i) * 4000] = static_cast<char>(4000 & 0xFF);
        old[static_cast<size_t>(i) * 4000 + 1] = static_cast<char>(4000 >> 8);
        snprintf(&old[static_cast<size_t>(i) * 4000 + 2], 80, "Entry%d", i);
    }
    HANDLE f = CreateFileA(DataFile("vantor.dat").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           0, nullptr);
    DWORD written = 0;
    WriteFile(f, old.data(), static_cast<DWORD>(old.size()), &written, nullptr);
    CloseHandle(f);
    CHECK(ReReadTrainedDatabase() == 2, "two old records");
    CHECK(FileSize(DataFile("vantor.dat")) == 2 * 4868, "the file is rewritten with full records");
    CHECK(RunSample("expect-db 2") == 0, "the sample sees the upgraded entries");

    DeleteFileA(DataFile("vantor.dat").c_str());
    CHECK(ReReadTrainedDatabase() == 0 && RunSample("expect-db 0") == 0, "no file: no entries");
    CleanUpHookDLL();
}

struct Scenario {
    const char* name;
    void (*run)();
};

const Scenario kScenarios[] = {
    {"exports", Exports},          {"hook-count", HookCount},   {"switches", Switches},
    {"remove-hook", RemoveHook},   {"setup-twice", SetupTwice}, {"registry", Registry},
    {"settings-ini", SettingsIni}, {"trained-db", TrainedDb},
};

} // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc < 2) {
        printf("usage: vntestmgr scenario\n");
        return 2;
    }
    CreateManagerWindow();
    for (const Scenario& sc : kScenarios) {
        if (!strcmp(sc.name, argv[1])) {
            sc.run();
            DestroyWindow(g_manager);
            return CheckSummary(sc.name);
        }
    }
    printf("unknown scenario %s\n", argv[1]);
    return 2;
}
