// The test manager of the system tests: stands in for the manager program. It owns a window that
// answers the library's messages and records them, installs the library through its exports, and
// drives the sample application (vnsample.exe) in a second process. One scenario per run:
//
//   vntestmgr SCENARIO      (see the table at the end)
//   vntestmgr serve         helper: a manager in a process of its own; it sets the library up for
//                           its window and answers until the event kServeQuit is set, then cleans
//                           up and ends with the number of dialogs reported opened to it
//   vntestmgr scramble      helper: writes garbage into the shared state every few milliseconds
//                           until the event kScrambleQuit is set
#include <windows.h>

#include <commctrl.h>

#include "hook/commands/dialog_path_win.h"
#include "hook/core/hook_owner_win.h"
#include "hook/core/manager_link_win.h"
#include "hook/core/settings.h"
#include "hook/core/settings_win.h"
#include "hook/core/text.h"
#include "hook/resources/resource.h"
#include "hook/takeover/vnhook_api.h"
#include "hook/trained/trained_db_win.h"
#include "tests/wine/wine_check.h"
#include "tests/wine/wine_support.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

using namespace vn;

namespace {

HWND g_manager;
uint32_t g_serial = 1;
int g_serialQueries;
struct Received {
    UINT msg;
    WPARAM wParam;
};
std::vector<Received> g_received; // library messages, in the order they came

LRESULT CALLBACK ManagerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == MSG_SETTINGS_SERIAL) {
        ++g_serialQueries;
        g_received.push_back({msg, wParam});
        return static_cast<LRESULT>(g_serial);
    }
    if (msg >= MSG_SETTINGS_SERIAL && msg <= MSG_SHOW_TRAINED_ENTRY) {
        g_received.push_back({msg, wParam});
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

int Received(UINT msg) {
    int n = 0;
    for (const auto& r : g_received)
        n += r.msg == msg;
    return n;
}

// Runs the sample application with the given arguments and returns its exit status (-1 when it
// did not start or finish). While it runs, this thread answers the library's messages unless
// `pump` is false, which makes the manager look hung.
int RunSample(const char* args, bool pump = true, DWORD* elapsedMs = nullptr) {
    Process sample = Start(std::string("vnsample.exe ") + args);
    DWORD start = GetTickCount();
    int status = WaitExit(sample, 60000, pump);
    if (elapsedMs && sample.handle)
        *elapsedMs = GetTickCount() - start;
    DescribeStuck(sample, "the sample");
    Kill(sample);
    return status;
}

// Lets a started sample run to its end (it closes its own dialog) and lets go of it; its exit
// status, or -1. A sample closes its dialog within a few seconds; the wait is long enough for a
// loaded machine, and one that ends it unfinished says what the sample was doing.
int WaitFor(Process& sample) {
    int status = WaitExit(sample, 30000);
    DescribeStuck(sample, "the sample");
    Kill(sample);
    return status;
}

const char kServeQuit[] = "Local\\VnTestManagerServeQuit";

const char kScrambleQuit[] = "Local\\VnTestManagerScrambleQuit";

// The helper "scramble" (see the top): any process of the desktop can write the shared state.
// Path fields get letters without a terminator (no separators: nothing is written outside the
// data folder's reach), everything else random bytes, every few milliseconds.
int Scramble() {
    HANDLE quit = OpenEventA(SYNCHRONIZE, FALSE, kScrambleQuit);
    SharedState* s = Shared();
    if (!quit || !s)
        return 1;
    uint32_t x = GetTickCount() | 1;
    auto next = [&x] {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        return x;
    };
    char* paths[] = {s->helpFilePath,  s->iniFilePath, s->allAppsListPath,
                     s->programFolder, s->dataFolder,  s->trainedDbPath};
    int rounds = 0;
    while (WaitForSingleObject(quit, 3) == WAIT_TIMEOUT) {
        auto* bytes = reinterpret_cast<unsigned char*>(s);
        // A stretch of the record at a time: each round changes a different part.
        size_t start = next() % sizeof(SharedState), length = 1 + next() % 4096;
        for (size_t i = start; i < sizeof(SharedState) && i < start + length; ++i)
            bytes[i] = static_cast<unsigned char>(next());
        for (char* path : paths)
            for (size_t i = 0; i < kPathSize; ++i)
                path[i] = static_cast<char>('A' + next() % 26);
        ++rounds;
    }
    return rounds > 0 ? 0 : 1;
}

// The helper "serve" (see the top).
int Serve() {
    HANDLE quit = OpenEventA(SYNCHRONIZE, FALSE, kServeQuit);
    CreateManagerWindow();
    SetupHookDLL(g_manager);
    WaitUntil([&] { return !quit || WaitForSingleObject(quit, 0) == WAIT_OBJECT_0; }, 90000);
    CleanUpHookDLL();
    DestroyWindow(g_manager);
    if (quit)
        CloseHandle(quit);
    return Received(MSG_DIALOG_OPENED);
}

// How many window creations the hooks count while the sample creates its windows (5 with a child
// each, and what the system adds). A process of its own: Wine tells a thread which hooks are set
// only when it starts or asks for messages.
DWORD CountedSampleCreations() {
    DWORD before = GetHookCount();
    RunSample("windows 5");
    return GetHookCount() - before;
}

// --- scenarios -------------------------------------------------------------------------------

void Exports() {
    HMODULE lib = GetModuleHandleA("vnhook.dll");
    CHECK(lib != nullptr, "vnhook.dll is not loaded");
    for (const char* name : {"SetupHookDLL", "CleanUpHookDLL", "InstallCBTFilter32",
                             "RemoveCBTFilter32", "ReReadTrainedDatabase", "CommonEnabled",
                             "IsCommonEnabled", "NotSoCommonEnabled", "IsNotSoCommonEnabled",
                             "NotSoCommonManualSelect", "GetHookCount", "CbtFunc32", "MouseFunc"})
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
    // It reads as 0, which is below the range of a percentage and is brought up to 1.
    CHECK(s->settings.height32 == 1, "a value that does not parse reads as 1 (%d)",
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

    // Exclusions added by one process are written to the real file, into their list alone.
    CHECK(RunSample("addexclude 0 vnsampleapplication \"Save As\"") == 0, "exclusion added");
    CHECK(ReadIni("NumExcludes") == "3", "count written: %s", ReadIni("NumExcludes").c_str());
    CHECK(ReadIni("Exclude3") == "vnsample : Save As", "entry written: %s",
          ReadIni("Exclude3").c_str());
    CHECK(ReadIni("NumSizeExcludes") == "250" && ReadIni("NumLastDirExcludes") == "-3",
          "the other lists are left as the file has them");
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
    std::string old(2 * 4000, 0);
    for (int i = 0; i < 2; ++i) {
        old[static_cast<size_t>(i) * 4000] = static_cast<char>(4000 & 0xFF);
        old[static_cast<size_t>(i) * 4000 + 1] = static_cast<char>(4000 >> 8);
        snprintf(&old[static_cast<size_t>(i) * 4000 + 2], 80, "Entry%d", i);
    }
    WriteFileText(DataFile("vantor.dat"), old);
    CHECK(ReReadTrainedDatabase() == 2, "two old records");
    CHECK(FileSize(DataFile("vantor.dat")) == 2 * 4868, "the file is rewritten with full records");
    CHECK(RunSample("expect-db 2") == 0, "the sample sees the upgraded entries");

    DeleteFileA(DataFile("vantor.dat").c_str());
    CHECK(ReReadTrainedDatabase() == 0 && RunSample("expect-db 0") == 0, "no file: no entries");
    CleanUpHookDLL();
}

// Standard Open and Save dialogs of another process are taken over, and still return the file.
void TakeOver() {
    PrepareFolders();
    SetupHookDLL(g_manager);
    for (const char* args : {"open 1500 chosen.txt", "save 1500 saved.txt"}) {
        g_received.clear();
        CHECK(RunSample(args) == 0, "%s returns the file", args);
        PumpFor(300);
        CHECK(Received(MSG_DIALOG_OPENED) == 1 && Received(MSG_DIALOG_CLOSED) == 1,
              "%s: opened %d, closed %d", args, Received(MSG_DIALOG_OPENED),
              Received(MSG_DIALOG_CLOSED));
        WPARAM opened = 0, closed = 0;
        for (const auto& r : g_received) {
            opened = r.msg == MSG_DIALOG_OPENED ? r.wParam : opened;
            closed = r.msg == MSG_DIALOG_CLOSED ? r.wParam : closed;
        }
        CHECK(opened && opened == closed, "the same dialog opened and closed");
    }
    SharedState* s = Shared();
    bool anyExtended = false;
    for (int i = 0; s && i < kExtendedDialogSlots; ++i)
        anyExtended |= s->extendedDialogs[i].inUse != 0;
    CHECK(!anyExtended, "closed dialogs leave the list of extended dialogs");
    CleanUpHookDLL();
}

// Dialogs that merely look like file dialogs, and every other window, are left alone.
void LeaveAlone() {
    PrepareFolders();
    SetupHookDLL(g_manager);
    g_received.clear();
    CHECK(RunSample("print 800") == 0, "print dialog shown");
    CHECK(RunSample("template 800") == 0, "look-alike dialog shown");
    CHECK(RunSample("windows 3") == 0, "plain windows");
    PumpFor(300);
    CHECK(Received(MSG_DIALOG_OPENED) == 0, "nothing taken over (%d)", Received(MSG_DIALOG_OPENED));

    CHECK(CommonEnabled(FALSE) == TRUE, "standard dialogs switched off");
    CHECK(RunSample("open 800") == 1, "the dialog still works");
    PumpFor(300);
    CHECK(Received(MSG_DIALOG_OPENED) == 0, "and is not taken over");
    CommonEnabled(TRUE);
    CHECK(RunSample("open 800") == 1 && (PumpFor(300), Received(MSG_DIALOG_OPENED) == 1),
          "switched on again: taken over");
    CleanUpHookDLL();
}

// A module in all three exclusion lists, or named in "Ignore Modules", keeps its plain dialogs;
// one only in the size list is still taken over.
void Exclusions() {
    PrepareFolders();
    WriteIni("NumExcludes", "1");
    WriteIni("Exclude1", "vnsample");
    WriteIni("NumSizeExcludes", "1");
    WriteIni("SizeExclude1", "vnsample");
    WriteIni("NumLastDirExcludes", "1");
    WriteIni("LastDirExclude1", "vnsample");
    SetupHookDLL(g_manager);
    g_serial = 100;
    g_received.clear();
    CHECK(RunSample("open 800") == 1, "dialog of an excluded module");
    PumpFor(300);
    CHECK(Received(MSG_DIALOG_OPENED) == 0, "excluded in all three lists: left alone");

    WriteIni("NumExcludes", "0");
    WriteIni("NumLastDirExcludes", "0");
    WriteIni("Ignore Modules", "xvnsamplex");
    g_serial = 101;
    CHECK(RunSample("open 800") == 1, "dialog of an ignored module");
    PumpFor(300);
    CHECK(Received(MSG_DIALOG_OPENED) == 0, "ignored as a substring: left alone");

    WriteIni("Ignore Modules", nullptr);
    g_serial = 102;
    CHECK(RunSample("open 800") == 1, "dialog of a module excluded from sizing only");
    PumpFor(300);
    CHECK(Received(MSG_DIALOG_OPENED) == 1, "excluded from sizing only: taken over");
    CleanUpHookDLL();
}

// Holding Shift while a dialog opens brings up the disabling dialog; OK with its defaults leaves
// the file dialog unextended this time only.
void ShiftDisables() {
    PrepareFolders();
    SetupHookDLL(g_manager);
    // Without a window manager the keyboard goes to the X window under the pointer: put one of
    // ours there.
    SetWindowPos(g_manager, HWND_TOPMOST, 0, 0, 300, 200, SWP_SHOWWINDOW);
    SetForegroundWindow(g_manager);
    PumpFor(300);
    RunUnix("/usr/bin/xdotool mousemove 100 100");
    PumpFor(200);
    g_received.clear();
    RunUnix("/usr/bin/xdotool keydown shift");
    Process sample = Start("vnsample.exe open 2500 chosen.txt");
    HWND box = nullptr;
    const char* title = "Disabling Vantor for an Application Dialog";
    WaitUntil([&] { return (box = FindWindowA(nullptr, title)) != nullptr; }, 10000);
    RunUnix("/usr/bin/xdotool keyup shift");
    CHECK(box != nullptr, "the disabling dialog appears while Shift is held");
    if (box) {
        CHECK(IsDlgButtonChecked(box, 1000) && IsDlgButtonChecked(box, 1001) &&
                  IsDlgButtonChecked(box, 1002) && IsDlgButtonChecked(box, 1003) &&
                  !IsWindowEnabled(GetDlgItem(box, 107)),
              "all three boxes checked, temporarily, ALL dialogs disabled");
        SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    }
    DWORD code = static_cast<DWORD>(WaitFor(sample));
    PumpFor(300);
    CHECK(code == 0, "the file dialog still returns the file (%lu)", code);
    // The disabling box itself is in the manager's list while it is up, so quitting asks first.
    int boxOpened = 0, boxClosed = 0;
    for (const auto& r : g_received) {
        boxOpened += r.msg == MSG_DIALOG_OPENED && r.wParam == reinterpret_cast<WPARAM>(box);
        boxClosed += r.msg == MSG_DIALOG_CLOSED && r.wParam == reinterpret_cast<WPARAM>(box);
    }
    CHECK(box && boxOpened == 1 && boxClosed == 1, "the box was reported open, then closed");
    CHECK(Received(MSG_DIALOG_OPENED) == boxOpened, "the file dialog left unextended this time");
    CHECK(RunSample("open 800") == 1 && (PumpFor(300), Received(MSG_DIALOG_OPENED) == 2),
          "the next dialog is extended again");
    CleanUpHookDLL();
}

// What the sample reported about its last file dialog just before closing it.
struct DialogReport {
    RECT rect = {};
    RECT ok = {};
    RECT list = {};
    RECT name = {};
    RECT client = {};
    int visible = -1;
    std::string folder;
    std::string returned; // the file the dialog returned, "<cancelled>", or "" before it returned
};

// A child window of the sample's dialog, as the sample reported it.
struct ReportedControl {
    std::string cls;
    int id = 0;
    bool visible = false;
    RECT rect = {};
    std::string text;
};

// The rest of each report line that begins with tag and a space, in order.
std::vector<std::string> ReportLines(const char* tag) {
    std::vector<std::string> lines;
    FILE* f = fopen("vnsample-report.txt", "r");
    if (!f)
        return lines;
    char line[600];
    size_t n = strlen(tag);
    while (fgets(line, sizeof line, f)) {
        line[strcspn(line, "\r\n")] = 0;
        if (!strncmp(line, tag, n) && line[n] == ' ')
            lines.push_back(line + n + 1);
    }
    fclose(f);
    return lines;
}

// The report's lines of one kind: "control" (as the dialog was closed) or "shown" (as it was
// first shown, when the sample resized it later).
std::vector<ReportedControl> ReadReportedControls(const char* tag) {
    std::vector<ReportedControl> controls;
    for (const std::string& line : ReportLines(tag)) {
        ReportedControl c;
        char cls[64] = "";
        int visible = 0, used = 0;
        if (sscanf(line.c_str(), "%63s %d %d %ld %ld %ld %ld %n", cls, &c.id, &visible,
                   &c.rect.left, &c.rect.top, &c.rect.right, &c.rect.bottom, &used) < 7)
            continue;
        c.cls = cls;
        c.visible = visible != 0;
        c.text = line.substr(static_cast<size_t>(used));
        controls.push_back(c);
    }
    return controls;
}

DialogReport ReadReport() {
    DialogReport r;
    FILE* f = fopen("vnsample-report.txt", "r");
    if (!f)
        return r;
    char line[600];
    while (fgets(line, sizeof line, f)) {
        line[strcspn(line, "\r\n")] = 0;
        if (!strncmp(line, "rect ", 5))
            sscanf(line + 5, "%ld %ld %ld %ld", &r.rect.left, &r.rect.top, &r.rect.right,
                   &r.rect.bottom);
        else if (!strncmp(line, "ok ", 3))
            sscanf(line + 3, "%ld %ld %ld %ld", &r.ok.left, &r.ok.top, &r.ok.right, &r.ok.bottom);
        else if (!strncmp(line, "list ", 5))
            sscanf(line + 5, "%ld %ld %ld %ld", &r.list.left, &r.list.top, &r.list.right,
                   &r.list.bottom);
        else if (!strncmp(line, "name ", 5))
            sscanf(line + 5, "%ld %ld %ld %ld", &r.name.left, &r.name.top, &r.name.right,
                   &r.name.bottom);
        else if (!strncmp(line, "client ", 7))
            sscanf(line + 7, "%ld %ld %ld %ld", &r.client.left, &r.client.top, &r.client.right,
                   &r.client.bottom);
        else if (!strncmp(line, "visible ", 8))
            r.visible = atoi(line + 8);
        else if (!strncmp(line, "folder ", 7))
            r.folder = line + 7;
        else if (!strncmp(line, "returned ", 9))
            r.returned = line + 9;
    }
    fclose(f);
    return r;
}

std::string ReadList(const char* module, const char* list, const char* key) {
    return Profile(ListFile(module), std::string(module) + " " + list, key);
}

HWND SampleDialog(const Process& sample, const char* caption = nullptr, int child = 0,
                  bool shown = true);

// Twenty-five entries in each of the sample's four lists, long enough to be shortened, so that
// the picture of the extended dialog shows its lists as a user's would look.
void FillSampleLists() {
    const char* sections[] = {"Recent Files", "Recent Paths", "Favorite Files", "Favorite Paths"};
    std::string file = ListFile("vnsample");
    DeleteFileA(file.c_str());
    for (int kind = 0; kind < 4; ++kind) {
        std::string section = std::string("vnsample ") + sections[kind];
        for (int i = 1; i <= 25; ++i) {
            char entry[200];
            snprintf(entry, sizeof entry, "C:\\Projects\\Client %02d\\Quarterly reports%s", i,
                     kind % 2 ? "\\" : "\\summary.txt");
            WritePrivateProfileStringA(section.c_str(), ("Entry" + std::to_string(i)).c_str(),
                                       entry, file.c_str());
        }
        if (kind < 2)
            WritePrivateProfileStringA(section.c_str(), "Last", "25", file.c_str());
    }
}

// A fixed dialog is enlarged to 70 % of the 1024 x 768 screen and centred, and shown; a picture
// of it, with full lists and the recent files list open, is kept as an artifact of the run.
void Placement() {
    PrepareFolders();
    FillSampleLists();
    SetupHookDLL(g_manager);
    Process sample = Start("vnsample.exe open 3000");
    HWND dialog = SampleDialog(sample);
    HWND recent = nullptr;
    WaitUntil([&] { return dialog && (recent = GetDlgItem(dialog, 19008)) != nullptr; }, 5000);
    if (recent)
        PostMessageA(recent, CB_SHOWDROPDOWN, TRUE, 0);
    PumpFor(1200);
    RunUnix("/usr/bin/import -window root extended-dialog.png");
    WaitFor(sample);
    DialogReport r = ReadReport();
    CHECK(r.visible == 1, "the dialog is shown");
    CHECK(r.rect.left == 154 && r.rect.top == 115 && r.rect.right == 870 && r.rect.bottom == 652,
          "placed at %ld,%ld-%ld,%ld", r.rect.left, r.rect.top, r.rect.right, r.rect.bottom);
    // The controls below the file list moved with the growth, once: still inside the dialog,
    // above the rows the library added at its bottom.
    CHECK(r.ok.top > r.rect.top + 300 && r.ok.bottom <= r.rect.bottom,
          "OK button at %ld..%ld inside the dialog", r.ok.top, r.ok.bottom);
    // The buttons that ended at the file list's right edge still do, and the name box between
    // its label and OK was stretched with them.
    CHECK(labs(r.ok.right - r.list.right) <= 3, "OK ends at %ld, the list at %ld", r.ok.right,
          r.list.right);
    CHECK(r.name.right < r.ok.left && r.name.right > r.ok.left - 30,
          "the name box ends at %ld, just before OK at %ld", r.name.right, r.ok.left);
    CleanUpHookDLL();
}

bool IsAddedControl(const ReportedControl& c) {
    return (c.id >= 19000 && c.id <= 19011) || (c.cls == "Static" && c.id == 0);
}

bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// With the default settings the dialog holds every added control once: the eight buttons 19000
// to 19007 with their captions from the library's strings, the four lists 19008 to 19011, the
// information line and two hidden hint labels. The visible ones lie in the client area, in the
// rows at its bottom, below everything of the dialog's own, and none overlaps another.
void CheckRows(const std::vector<ReportedControl>& controls, const RECT& client, const char* when) {
    int found[12] = {}, lines = 0, hints = 0;
    LONG rowsTop = LONG_MAX, rowsBottom = LONG_MIN, ownBottom = LONG_MIN;
    for (const ReportedControl& c : controls) {
        bool added = IsAddedControl(c);
        if (added && c.id)
            found[c.id - 19000] += c.visible && (c.id > 19007 || !c.text.empty());
        lines += added && !c.id && c.visible;
        hints += added && !c.id && !c.visible && (c.text == "&u" || c.text == "&a");
        if (c.id == 19006)
            CHECK(c.text == "Vanto&r", "%s: the product button reads %s", when, c.text.c_str());
        if (!c.visible)
            continue;
        if (!added) {
            ownBottom = std::max(ownBottom, c.rect.bottom);
            continue;
        }
        rowsTop = std::min(rowsTop, c.rect.top);
        rowsBottom = std::max(rowsBottom, c.rect.bottom);
        CHECK(c.rect.left >= client.left && c.rect.top >= client.top &&
                  c.rect.right <= client.right && c.rect.bottom <= client.bottom,
              "%s: %s %d at %ld,%ld-%ld,%ld lies in the client area", when, c.cls.c_str(), c.id,
              c.rect.left, c.rect.top, c.rect.right, c.rect.bottom);
        // A drop-down box's window is its closed box, not its open list.
        CHECK(c.cls != "ComboBox" || c.rect.bottom - c.rect.top < 40, "%s: list %d is closed", when,
              c.id);
        for (const ReportedControl& other : controls)
            CHECK(&other == &c || !other.visible || !Overlap(c.rect, other.rect),
                  "%s: %s %d overlaps %s %d", when, c.cls.c_str(), c.id, other.cls.c_str(),
                  other.id);
    }
    for (int k = 0; k < 12; ++k)
        CHECK(found[k] == 1, "%s: control %d shown once (%d)", when, 19000 + k, found[k]);
    CHECK(lines == 1 && hints == 2, "%s: the information line and two hidden hints", when);
    CHECK(ownBottom <= rowsTop, "%s: the dialog's own controls end at %ld, above the rows at %ld",
          when, ownBottom, rowsTop);
    CHECK(rowsBottom >= client.bottom - 12, "%s: the rows fill the bottom, to %ld of %ld", when,
          rowsBottom, client.bottom);
}

// A dialog that does not size itself (the application's hook keeps the sizing border away)
// grows by the added rows and holds them below its own controls.
void RowsFixed() {
    PrepareFolders();
    SetupHookDLL(g_manager);
    SetEnvironmentVariableA("VNSAMPLE_HOOK", "1");
    Process sample = Start("vnsample.exe open 3000");
    PumpFor(1800);
    RunUnix("/usr/bin/import -window root rows-fixed.png");
    WaitFor(sample);
    SetEnvironmentVariableA("VNSAMPLE_HOOK", nullptr);
    DialogReport r = ReadReport();
    CHECK(r.visible == 1 && r.rect.bottom - r.rect.top == 537, "shown at the target height: %ld",
          r.rect.bottom - r.rect.top);
    CheckRows(ReadReportedControls("control"), r.client, "fixed");
    CleanUpHookDLL();
}

// The information line of a dialog that names no file shows its folder and the free space of its
// drive, as Wine reports them.
void InfoLine() {
    PrepareFolders();
    std::string folder = DataFile("info & more");
    CreateDirectoryA(folder.c_str(), nullptr);
    SetupHookDLL(g_manager);
    SetEnvironmentVariableA("VNSAMPLE_INITIAL_DIR", folder.c_str());
    CHECK(RunSample("open 1500") == 1, "a dialog, cancelled");
    SetEnvironmentVariableA("VNSAMPLE_INITIAL_DIR", nullptr);
    std::string shown = "Z:\\<none>", expected = folder;
    expected.replace(expected.find('&'), 1, "&&");
    for (const ReportedControl& c : ReadReportedControls("control"))
        if (c.cls == "Static" && !c.text.compare(0, expected.size(), expected))
            shown = c.text;
    size_t units = shown.find(" free)");
    CHECK(!shown.compare(0, expected.size() + 5, expected + "    (") &&
              units != std::string::npos && units + 6 == shown.size(),
          "the line: %s", shown.c_str());
    CleanUpHookDLL();
}

// Path->clip puts the dialog's folder on the clipboard when the file name box names no file.
void PathToClipboard() {
    PrepareFolders();
    std::string folder = DataFile("clip");
    CreateDirectoryA(folder.c_str(), nullptr);
    SetupHookDLL(g_manager);
    SetEnvironmentVariableA("VNSAMPLE_INITIAL_DIR", folder.c_str());
    Process sample = Start("vnsample.exe open 3000");
    SetEnvironmentVariableA("VNSAMPLE_INITIAL_DIR", nullptr);
    HWND dialog = SampleDialog(sample);
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    PostMessageA(dialog ? GetDlgItem(dialog, 19004) : nullptr, BM_CLICK, 0, 0);
    std::string text;
    WaitUntil(
        [&] {
            if (!OpenClipboard(nullptr))
                return false;
            HANDLE data = GetClipboardData(CF_TEXT);
            const char* p = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
            text = p ? p : "";
            if (p)
                GlobalUnlock(data);
            CloseClipboard();
            return !text.empty();
        },
        5000);
    WaitFor(sample);
    CHECK(!CompareNoCase(text.c_str(), folder.c_str(), 300), "the clipboard holds %s",
          text.c_str());
    CleanUpHookDLL();
}

// Presses file button buttonId of a sample's dialog, with name (if any) in the file name box.
void PressFileButton(const Process& sample, int buttonId, const char* name) {
    HWND dialog = SampleDialog(sample);
    if (dialog && name) {
        HWND box = GetDlgItem(dialog, 1148);
        SendMessageA(box ? box : GetDlgItem(dialog, 1152), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(name));
    }
    PostMessageA(dialog ? GetDlgItem(dialog, buttonId) : nullptr, BM_CLICK, 0, 0);
}

// Presses a file button and returns the box it opens (caption) once shown; null when none
// appears.
HWND OpenFileBox(const Process& sample, int buttonId, const char* name, const char* caption) {
    PressFileButton(sample, buttonId, name);
    return SampleDialog(sample, caption, IDOK);
}

// Answers a file button's box with text (if any) typed into its edit field and OK (the delete
// boxes' Yes).
bool AnswerBox(HWND box, const char* text) {
    if (!box)
        return false;
    if (text)
        SendMessageA(GetDlgItem(box, 100), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    return true;
}

bool AnswerFileButton(const Process& sample, int buttonId, const char* name, const char* caption,
                      const char* text) {
    return AnswerBox(OpenFileBox(sample, buttonId, name, caption), text);
}

// A folder of its own for a file button scenario, with the library's folders prepared.
std::string FreshFolder(const char* name) {
    PrepareFolders();
    std::string folder = DataFile(name);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

// Long enough that a scenario closes the dialog itself before the sample would: the sample's
// own closing acts on whatever box is active at the time.
constexpr DWORD kHeldOpen = 60000;

// The sample's Open dialog in folder, through the hook, open for ms milliseconds.
Process StartSampleIn(const std::string& folder, DWORD ms = 4000) {
    SetupHookDLL(g_manager);
    SetEnvironmentVariableA("VNSAMPLE_INITIAL_DIR", folder.c_str());
    Process sample = Start("vnsample.exe open " + std::to_string(ms));
    SetEnvironmentVariableA("VNSAMPLE_INITIAL_DIR", nullptr);
    return sample;
}

// A string of the library's string table, as its boxes show it.
std::string LibraryString(UINT id) {
    char text[600] = "";
    LoadStringA(GetModuleHandleA("vnhook.dll"), id, text, sizeof text);
    return text;
}

// Whether the window's thread is back in a message loop: whatever it was doing is done.
bool Answers(HWND window) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

// Answers the sample's message box with caption by pressing button, once the box is shown and
// its thread is done; the box's text, or "<no box>".
std::string AnswerMessage(const Process& sample, const char* caption, int button) {
    HWND box = SampleDialog(sample, caption, button);
    if (!box)
        return "<no box>";
    char text[600] = "";
    GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof text);
    PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
    WaitUntil([&] { return !IsWindow(box); }, 5000);
    return text;
}

// The text of the file name box of the sample's dialog (read as UTF-16, like ReadLine).
std::string NameBoxText(HWND dialog) {
    HWND box = GetDlgItem(dialog, 1148);
    wchar_t wide[300] = L"";
    DWORD_PTR length = 0;
    char text[300] = "";
    if (SendMessageTimeoutW(box ? box : GetDlgItem(dialog, 1152), WM_GETTEXT, 300,
                            reinterpret_cast<LPARAM>(wide), SMTO_ABORTIFHUNG, 5000, &length))
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text - 1, nullptr, nullptr);
    return text;
}

// Whether the file name box comes to show name.
bool ShowsName(HWND dialog, const char* name) {
    return WaitUntil([&] { return NameBoxText(dialog) == name; }, 5000);
}

// Presses OK once the file name box shows name and waits for the sample to end; the file its
// dialog returned, or "" when it returned none.
std::string ReturnedWith(Process& sample, HWND dialog, const char* name) {
    CHECK(ShowsName(dialog, name), "the file name box shows %s: %s", name,
          NameBoxText(dialog).c_str());
    DeleteFileA("vnsample-report.txt");
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return WaitFor(sample) == 0 ? ReadReport().returned : "";
}

// Cancels the sample's dialog and lets the sample end.
void CloseSample(Process& sample, HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
    WaitFor(sample);
    CleanUpHookDLL();
}

// The text of the information line of another process's dialog: its one visible unnamed label.
std::string InfoLineText(HWND dialog) {
    std::string text;
    for (HWND c = FindWindowExA(dialog, nullptr, "Static", nullptr); c;
         c = FindWindowExA(dialog, c, "Static", nullptr)) {
        char buffer[700] = "";
        if (!GetDlgCtrlID(c) && IsWindowVisible(c) && GetWindowTextA(c, buffer, sizeof buffer))
            text = buffer;
    }
    return text;
}

// Waits until the information line begins with start; false with what it says otherwise.
bool InfoLineBecomes(HWND dialog, const std::string& start, const char* when) {
    std::string text;
    bool shown = WaitUntil(
        [&] { return !(text = InfoLineText(dialog)).compare(0, start.size(), start); }, 3000);
    CHECK(shown, "%s: the line reads %s", when, text.c_str());
    return shown;
}

// The line follows the file list and the folder: a file picked in the list is described; after
// the list took the dialog into a subfolder, and after the places bar took it to the desktop,
// the line names that folder. The keys go to the list itself.
void InfoLineFollows() {
    std::string folder = FreshFolder("info-follows");
    CreateDirectoryA((folder + "\\sub").c_str(), nullptr);
    WriteFileText(folder + "\\known.txt", std::string(1234, 'x'));
    Process sample = StartSampleIn(folder, kHeldOpen);
    HWND dialog = SampleDialog(sample);
    HWND view = dialog ? GetDlgItem(dialog, 1121) : nullptr;
    HWND list = view ? FindWindowExA(view, nullptr, "SysListView32", nullptr) : nullptr;
    InfoLineBecomes(dialog, folder + "    (", "opened");
    PostMessageA(list, WM_KEYDOWN, VK_END, 0); // the file: folders come first
    InfoLineBecomes(dialog, "known.txt      1,234 bytes    ", "file picked");
    PostMessageA(list, WM_KEYDOWN, VK_HOME, 0);
    PostMessageA(list, WM_KEYDOWN, VK_RETURN, 0);
    InfoLineBecomes(dialog, folder + "\\sub    (", "folder entered");
    // The places bar's first button (Wine's command 0xA064) goes to the desktop folder.
    PostMessageA(dialog, WM_COMMAND, 0xA064, 0);
    InfoLineBecomes(dialog, "C:\\users\\", "places bar");
    CloseSample(sample, dialog);
}

// With "Sort" on, the file list comes up in Details view ("View Details"), by size, largest
// first, with the folders on top in the shell's order; and stays so when it is refilled.
void FileListOrder() {
    std::string folder = FreshFolder("list-order");
    for (const char* sub : {"dirB", "dirA"})
        CreateDirectoryA((folder + "\\" + sub).c_str(), nullptr);
    // By name, the order the shell gives, they would be a, b, c.
    WriteFileText(folder + "\\a.txt", std::string(10, 'x'));
    WriteFileText(folder + "\\b.txt", std::string(5000, 'x'));
    WriteFileText(folder + "\\c.txt", std::string(300, 'x'));
    for (const char* key : {"Sort", "Sort Order", "FoldersOnTop", "View Details"})
        WriteIni(key, "1");
    WriteIni("Sort By", "1");
    Process sample = StartSampleIn(folder, 3000);
    // F5 makes the shell empty and refill the list, and sort it by name again.
    HWND dialog = SampleDialog(sample);
    HWND view = dialog ? GetDlgItem(dialog, 1121) : nullptr;
    HWND list = view ? FindWindowExA(view, nullptr, "SysListView32", nullptr) : nullptr;
    PumpFor(500);
    PostMessageA(list, WM_KEYDOWN, VK_F5, 0);
    WaitFor(sample);
    std::string items;
    for (const std::string& item : ReportLines("item"))
        items += (items.empty() ? "" : " ") + item;
    std::vector<std::string> details = ReportLines("details");
    CHECK(details.size() == 1 && details[0] == "1", "the list is in Details view");
    CHECK(items == "dirA dirB b.txt c.txt a.txt", "the list's order: %s", items.c_str());
    CleanUpHookDLL();
}

// With "Remember Column Widths" on, a width the user gives the first column of one dialog's
// Details view is the width of that column in the next dialog, of another process.
void ColumnWidths() {
    std::string folder = FreshFolder("column-widths");
    WriteFileText(folder + "\\one.txt", "1");
    WriteIni("Remember Column Widths", "1");
    WriteIni("View Details", "1");
    Process first = StartSampleIn(folder, kHeldOpen);
    HWND dialog = SampleDialog(first);
    HWND view = dialog ? GetDlgItem(dialog, 1121) : nullptr;
    HWND list = view ? FindWindowExA(view, nullptr, "SysListView32", nullptr) : nullptr;
    PostMessageA(list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(333, 0));
    CHECK(WaitUntil([&] { return SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0) == 333; }, 3000),
          "the first dialog's column is 333 wide");
    PumpFor(300); // it is painted so
    CloseSample(first, dialog);
    Process second = StartSampleIn(folder, 2500);
    WaitFor(second);
    std::vector<std::string> widths = ReportLines("width");
    CHECK(!widths.empty() && widths[0] == "0 333", "the next dialog's first column: %s",
          widths.empty() ? "none" : widths[0].c_str());
    CleanUpHookDLL();
}

// Make dir creates the typed folder under the dialog's folder.
void MakeDir() {
    std::string folder = FreshFolder("make-dir");
    std::string made = folder + "\\new folder";
    RemoveDirectoryA(made.c_str());
    Process sample = StartSampleIn(folder);
    CHECK(AnswerFileButton(sample, 19002, nullptr, "Create Directory...", "new folder"),
          "the Create Directory box was answered");
    CHECK(WaitUntil([&] { return IsExistingFolder(made.c_str()); }, 3000), "%s was created",
          made.c_str());
    WaitFor(sample);
    CleanUpHookDLL();
}

// Rename gives the file named in the file name box the typed name, in its own folder.
void RenameFile() {
    std::string folder = FreshFolder("rename");
    std::string before = folder + "\\before.txt", after = folder + "\\after.txt";
    DeleteFileA(after.c_str());
    WriteFileText(before, "kept");
    Process sample = StartSampleIn(folder);
    CHECK(AnswerFileButton(sample, 19001, "before.txt", "Rename...", "after.txt"),
          "the Rename box was answered");
    CHECK(WaitUntil([&] { return IsExistingFile(after.c_str()); }, 3000), "%s exists",
          after.c_str());
    CHECK(!IsExistingFile(before.c_str()), "and %s is gone", before.c_str());
    WaitFor(sample);
    CleanUpHookDLL();
}

// Delete removes the named file through the shell library, which the library loads only then.
void DeleteNamedFile() {
    std::string folder = FreshFolder("delete");
    std::string file = folder + "\\gone.txt";
    WriteFileText(file, "deleted");
    Process sample = StartSampleIn(folder);
    CHECK(AnswerFileButton(sample, 19000, "gone.txt", "Delete...", nullptr),
          "the Delete box was answered Yes");
    CHECK(WaitUntil([&] { return !IsExistingFile(file.c_str()); }, 3000), "%s was deleted",
          file.c_str());
    WaitFor(sample);
    CleanUpHookDLL();
}

// A sample's dialog held open in a folder of its own that holds just the files given (name and
// content) and whatever subfolders earlier runs left.
struct FileScene {
    std::string folder;
    Process sample;
    HWND dialog;
    std::string Path(const char* name) const { return folder + "\\" + name; }
};

FileScene StartScene(const char* name,
                     std::initializer_list<std::pair<const char*, const char*>> files) {
    FileScene scene;
    scene.folder = FreshFolder(name);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(scene.Path("*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileA(scene.Path(found.cFileName).c_str());
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    for (const auto& file : files)
        WriteFileText(scene.Path(file.first), file.second);
    scene.sample = StartSampleIn(scene.folder, kHeldOpen);
    scene.dialog = SampleDialog(scene.sample);
    return scene;
}

// Copy to a new name makes a second file with the same content in the same folder; Copy onto a
// name that exists asks first, and No leaves that file as it was.
void CopyNamedFile() {
    FileScene scene = StartScene("copy", {{"original.txt", "original"}, {"existing.txt", "old"}});
    CHECK(AnswerFileButton(scene.sample, 19005, "original.txt", "Copy...", "copy.txt"),
          "the Copy box was answered");
    CHECK(WaitUntil([&] { return ReadFileText(scene.Path("copy.txt")) == "original"; }, 3000),
          "the copy has the content");
    CHECK(ReadFileText(scene.Path("original.txt")) == "original", "and the original is there");
    CHECK(ShowsName(scene.dialog, "copy.txt"), "the file name box shows the copy");
    CHECK(AnswerFileButton(scene.sample, 19005, "original.txt", "Copy...", "existing.txt"),
          "the Copy box was answered again");
    std::string question = AnswerMessage(scene.sample, "Copy...", IDNO);
    CHECK(question.find(scene.Path("existing.txt") + "\nFile already exists.") == 0,
          "the question: %s", question.c_str());
    CHECK(Answers(scene.dialog) && ReadFileText(scene.Path("existing.txt")) == "old",
          "No left the existing file unchanged");
    CloseSample(scene.sample, scene.dialog);
}

// Move with "Change to the destination folder" puts the file into the typed folder and the
// dialog follows it there: its OK returns the moved file.
void MoveNamedFile() {
    std::string target = FreshFolder("move") + "\\sub";
    CreateDirectoryA(target.c_str(), nullptr);
    target += "\\moved.txt";
    DeleteFileA(target.c_str());
    FileScene scene = StartScene("move", {{"moved.txt", "moved"}});
    HWND box = OpenFileBox(scene.sample, 19007, "moved.txt", "Move...");
    SendMessageA(GetDlgItem(box, IDC_FILE_CHANGE_FOLDER), BM_SETCHECK, BST_CHECKED, 0);
    CHECK(AnswerBox(box, "sub"), "the Move box was answered");
    CHECK(WaitUntil([&] { return ReadFileText(target) == "moved"; }, 3000), "%s arrived",
          target.c_str());
    CHECK(!IsExistingFile(scene.Path("moved.txt").c_str()), "and left its folder");
    std::string returned = ReturnedWith(scene.sample, scene.dialog, "moved.txt");
    CHECK(!CompareNoCase(returned.c_str(), target.c_str(), 300), "the dialog returned %s",
          returned.c_str());
    CleanUpHookDLL();
}

// Rename to a name that exists is refused with the rename error, and neither file changes.
void RenameRefusesExisting() {
    FileScene scene =
        StartScene("rename-existing", {{"first.txt", "first"}, {"second.txt", "second"}});
    CHECK(AnswerFileButton(scene.sample, 19001, "first.txt", "Rename...", "second.txt"),
          "the Rename box was answered");
    std::string error = AnswerMessage(scene.sample, LibraryString(IDS_RENAME_ERROR).c_str(), IDOK);
    CHECK(error == LibraryString(IDS_RENAME_FAILED), "the error: %s", error.c_str());
    CHECK(ReadFileText(scene.Path("first.txt")) == "first" &&
              ReadFileText(scene.Path("second.txt")) == "second",
          "both files are unchanged");
    CloseSample(scene.sample, scene.dialog);
}

// A folder named in the file name box is not moved, not even into a folder of its own: Move
// says so and everything stays where it was.
void MoveIntoItself() {
    std::string tree = FreshFolder("move-into-itself") + "\\tree";
    CreateDirectoryA(tree.c_str(), nullptr);
    CreateDirectoryA((tree + "\\inner").c_str(), nullptr);
    WriteFileText(tree + "\\in-tree.txt", "kept");
    FileScene scene = StartScene("move-into-itself", {});
    PressFileButton(scene.sample, 19007, "tree");
    std::string message = AnswerMessage(scene.sample, LibraryString(IDS_MOVE_ERROR).c_str(), IDOK);
    CHECK(message == LibraryString(IDS_MOVE_NO_FILE), "the message: %s", message.c_str());
    CHECK(Answers(scene.dialog) && !FindWindowExA(nullptr, nullptr, "#32770", "Move..."),
          "no Move box offers to move the folder");
    CHECK(ReadFileText(tree + "\\in-tree.txt") == "kept" &&
              !IsExistingFolder((tree + "\\inner\\tree").c_str()),
          "nothing moved");
    CloseSample(scene.sample, scene.dialog);
}

// Line i of a list or combo box of another process, read with its length and text messages.
// Read as UTF-16: Wine hands an ANSI text from another process's list in UTF-16.
std::string ReadLine(HWND control, UINT lengthMsg, UINT textMsg, LRESULT i) {
    wchar_t wide[1000] = L"";
    char line[1000] = "";
    if (SendMessageW(control, lengthMsg, static_cast<WPARAM>(i), 0) < 1000 &&
        SendMessageW(control, textMsg, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide)) >= 0)
        WideCharToMultiByte(CP_ACP, 0, wide, -1, line, sizeof line - 1, nullptr, nullptr);
    return line;
}

// The line of list box listId of window that ends in wanted, once the list holds it; -1.
int FindListLine(HWND window, int listId, const std::string& wanted) {
    int index = -1;
    WaitUntil(
        [&] {
            HWND list = GetDlgItem(window, listId);
            for (LRESULT i = 0, n = SendMessageW(list, LB_GETCOUNT, 0, 0); i < n && index < 0;
                 ++i) {
                std::string text = ReadLine(list, LB_GETTEXTLEN, LB_GETTEXT, i);
                if (text.size() >= wanted.size() &&
                    !CompareNoCase(text.c_str() + text.size() - wanted.size(), wanted.c_str(),
                                   wanted.size() + 1))
                    index = static_cast<int>(i);
            }
            return index >= 0;
        },
        8000);
    return index;
}

// Opens the search box of the sample's dialog and starts a search of the dialog's folder tree
// (the folders field starts with it) for masks; the box, or null when it did not open.
HWND StartSearch(const Process& sample, HWND dialog, const char* masks) {
    PostMessageA(dialog ? GetDlgItem(dialog, 19003) : nullptr, BM_CLICK, 0, 0);
    HWND box = SampleDialog(sample, "Find File...");
    if (!box)
        return nullptr;
    SendMessageA(GetDlgItem(box, IDC_FIND_MASKS), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(masks));
    PostMessageA(GetDlgItem(box, IDC_FIND_IN_FOLDERS), BM_CLICK, 0, 0);
    PostMessageA(GetDlgItem(box, IDC_FIND_SEARCH), BM_CLICK, 0, 0);
    return box;
}

// Selects a line of the found list, as a click would, and presses Use File.
void UseFoundLine(HWND box, int line) {
    HWND list = GetDlgItem(box, IDC_FIND_FOUND);
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDC_FIND_FOUND, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    PostMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
}

// Find files searches the dialog's folder tree for a mask; Use File on the line found gives the
// dialog that file, which its OK then returns.
void FindFiles() {
    std::string folder = FreshFolder("find");
    std::string middle = folder + "\\a", deep = middle + "\\b";
    CreateDirectoryA(middle.c_str(), nullptr);
    CreateDirectoryA(deep.c_str(), nullptr);
    WriteFileText(folder + "\\top.txt", "x");
    WriteFileText(middle + "\\other.log", "x");
    WriteFileText(deep + "\\wanted.dat", "x");
    Process sample = StartSampleIn(folder, kHeldOpen);
    HWND dialog = SampleDialog(sample);
    HWND box = StartSearch(sample, dialog, "wanted.*");
    CHECK(box != nullptr, "the search box opened");
    int line = box ? FindListLine(box, IDC_FIND_FOUND, "\\a\\b\\wanted.dat") : -1;
    CHECK(line >= 0, "the found list holds the file");
    UseFoundLine(box, line);
    std::string returned = ReturnedWith(sample, dialog, "wanted.dat"), file = deep + "\\wanted.dat";
    CHECK(!CompareNoCase(returned.c_str(), file.c_str(), 300), "it returned %s", returned.c_str());
    CleanUpHookDLL();
}

// Stop ends a search that is still under way: the box stays open and answers, its status says
// the search was stopped, and what was found so far can still be used. The tree is big enough
// that the walk goes on for a long while after its first match, which is in the top folder.
void FindStop() {
    std::string folder = FreshFolder("find-stop");
    for (int i = 0; i < 60; ++i) {
        std::string branch = folder + "\\branch" + std::to_string(i);
        CreateDirectoryA(branch.c_str(), nullptr);
        for (int j = 0; j < 60; ++j)
            CreateDirectoryA((branch + "\\leaf" + std::to_string(j)).c_str(), nullptr);
    }
    WriteFileText(folder + "\\first.stop", "x");
    WriteFileText(folder + "\\branch59\\leaf59\\last.stop", "x");
    Process sample = StartSampleIn(folder, kHeldOpen);
    HWND dialog = SampleDialog(sample);
    HWND box = StartSearch(sample, dialog, "*.stop");
    CHECK(box && FindListLine(box, IDC_FIND_FOUND, "\\first.stop") == 0, "the search runs");
    PostMessageA(GetDlgItem(box, IDC_FIND_STOP), BM_CLICK, 0, 0);
    std::string stopped = LibraryString(IDS_FIND_STOPPED);
    char status[300] = "";
    CHECK(WaitUntil(
              [&] {
                  GetWindowTextA(GetDlgItem(box, IDC_FIND_STATUS), status, sizeof status);
                  return status == stopped;
              },
              5000),
          "the status says the search stopped: %s", status);
    CHECK(IsWindowVisible(box) && Answers(box), "the box stays open and answers");
    CHECK(SendMessageA(GetDlgItem(box, IDC_FIND_FOUND), LB_GETCOUNT, 0, 0) == 1,
          "the walk went no further");
    UseFoundLine(box, 0);
    std::string returned = ReturnedWith(sample, dialog, "first.stop"),
                file = folder + "\\first.stop";
    CHECK(!CompareNoCase(returned.c_str(), file.c_str(), 300), "it returned %s", returned.c_str());
    CleanUpHookDLL();
}

// A resizable dialog holds the rows when it is first shown and after its user resized it.
void RowsResizable() {
    PrepareFolders();
    SetupHookDLL(g_manager);
    SetEnvironmentVariableA("VNSAMPLE_RESIZE", "820 600");
    CHECK(RunSample("open 1500") == 1, "a dialog resized by its user");
    SetEnvironmentVariableA("VNSAMPLE_RESIZE", nullptr);
    DialogReport r = ReadReport();
    CHECK(r.rect.right - r.rect.left == 820 && r.rect.bottom - r.rect.top == 600,
          "resized to %ld x %ld", r.rect.right - r.rect.left, r.rect.bottom - r.rect.top);
    // The client area as first shown: the dialog kept its place and its frame.
    std::vector<ReportedControl> shown = ReadReportedControls("shown");
    RECT firstClient = {r.client.left, r.client.top, r.client.right - (820 - 716),
                        r.client.bottom - (600 - 537)};
    CheckRows(shown, firstClient, "as shown");
    CheckRows(ReadReportedControls("control"), r.client, "resized");
    CleanUpHookDLL();
}

// A new file named by its full path in a dialog open on another folder is recorded as named:
// Wine's dialog answers for it with its own folder in front of the path, and by the time the
// dialog is destroyed it no longer knows its folder.
void TypedFullPath() {
    PrepareFolders();
    std::string folder = DataFile("elsewhere"), file = folder + "\\new-file.txt";
    CreateDirectoryA(folder.c_str(), nullptr);
    DeleteFileA(file.c_str());
    DeleteFileA(ListFile("vnsample").c_str());
    SetupHookDLL(g_manager);
    SetEnvironmentVariableA("VNSAMPLE_INITIAL_DIR", g_cwd);
    CHECK(RunSample(("save 1500 \"" + file + "\"").c_str()) == 0, "the new file is chosen");
    SetEnvironmentVariableA("VNSAMPLE_INITIAL_DIR", nullptr);
    std::string recorded = ReadList("vnsample", "Recent Files", "Entry1");
    CHECK(recorded == file, "recorded as named: %s", recorded.c_str());
    recorded = ReadList("vnsample", "Recent Paths", "Entry1");
    CHECK(recorded == folder + "\\", "and its folder: %s", recorded.c_str());
    CleanUpHookDLL();
}

// The chosen file is recorded; the application's next dialog opens in its folder; a dialog that
// is cancelled records nothing but its position and size; an application excluded from the last
// folder opens where it says.
// With the hook set and no lists yet, the sample's dialog (command: "open", "item-open") chooses
// report.txt in a new folder of the data folder: the file and its folder are recorded as recent.
// Returns the folder.
std::string ChooseAndCheckRecorded(const char* folderName, const char* command) {
    PrepareFolders();
    std::string docs = DataFile(folderName);
    CreateDirectoryA(docs.c_str(), nullptr);
    std::string file = docs + "\\report.txt";
    WriteFileText(file, "");
    DeleteFileA(ListFile("vnsample").c_str());
    SetupHookDLL(g_manager);
    g_received.clear();
    CHECK(RunSample((std::string(command) + " 1500 \"" + file + "\"").c_str()) == 0,
          "%s: a file is chosen", command);
    CHECK(ReadList("vnsample", "Recent Files", "Entry1") == file, "recorded: %s",
          ReadList("vnsample", "Recent Files", "Entry1").c_str());
    std::string folder = ReadList("vnsample", "Recent Paths", "Entry1");
    CHECK(folder == docs + "\\" || folder == docs, "its folder recorded: %s", folder.c_str());
    return docs;
}

void LastFolder() {
    std::string docs = ChooseAndCheckRecorded("docs", "open");

    // The application asks for its own folder each time; the last folder wins unless excluded.
    SetEnvironmentVariableA("VNSAMPLE_INITIAL_DIR", g_cwd);
    CHECK(RunSample("open 1500") == 1, "the next dialog, cancelled");
    DialogReport r = ReadReport();
    CHECK(!CompareNoCase(r.folder.c_str(), docs.c_str(), 300), "opened in %s", r.folder.c_str());
    CHECK(ReadList("vnsample", "Recent Files", "Last") == "1", "cancel records no file");
    CHECK(ReadIni("LastLeft") == "154" && ReadIni("LastWidth") == "716",
          "but saves position and size: %s %s", ReadIni("LastLeft").c_str(),
          ReadIni("LastWidth").c_str());

    WriteIni("NumLastDirExcludes", "1");
    WriteIni("LastDirExclude1", "vnsample");
    g_serial = 200;
    CHECK(RunSample("open 1500") == 1, "a dialog excluded from the last folder");
    r = ReadReport();
    CHECK(!CompareNoCase(r.folder.c_str(), g_cwd, 300), "opens where the application says: %s",
          r.folder.c_str());
    SetEnvironmentVariableA("VNSAMPLE_INITIAL_DIR", nullptr);
    CleanUpHookDLL();
}

// The Common Item Dialog of another process (IFileOpenDialog, IFileSaveDialog) is taken over
// like the classic one: enlarged, opened in the application's last folder, the chosen file
// recorded and returned unchanged; the tray switch and the exclusions leave it alone.
void ItemDialog() {
    std::string docs = ChooseAndCheckRecorded("itemdocs", "item-open");
    DialogReport r = ReadReport();
    PumpFor(300);
    CHECK(Received(MSG_DIALOG_OPENED) == 1 && Received(MSG_DIALOG_CLOSED) == 1,
          "taken over: opened %d, closed %d", Received(MSG_DIALOG_OPENED),
          Received(MSG_DIALOG_CLOSED));
    // The screen's share the settings ask for is narrower than the item dialog: it grows only
    // where it is smaller.
    CHECK(r.rect.right - r.rect.left >= 778 && r.rect.bottom - r.rect.top > 515,
          "enlarged: %ld x %ld", r.rect.right - r.rect.left, r.rect.bottom - r.rect.top);
    CHECK(ReadIni("LastWidth") == std::to_string(r.rect.right - r.rect.left) &&
              ReadIni("LastLeft") == std::to_string(r.rect.left),
          "its size and place are kept: %s at %s", ReadIni("LastWidth").c_str(),
          ReadIni("LastLeft").c_str());
    std::string file = docs + "\\report.txt";
    CHECK(!CompareNoCase(r.returned.c_str(), file.c_str(), 300), "returned unchanged: %s",
          r.returned.c_str());

    // The application asks for a folder of its own; the last folder wins, for Save too, and a
    // new name is returned in it.
    SetEnvironmentVariableA("VNSAMPLE_INITIAL_DIR", g_cwd);
    // The extended dialog is left as a picture in the working folder, item-dialog.png.
    Process sample = Start("vnsample.exe item-save 3000 saved.txt");
    CHECK(SampleDialog(sample) != nullptr, "the Save dialog is shown");
    PumpFor(1000);
    Screenshot("item-dialog.png");
    CHECK(WaitFor(sample) == 0, "a name is given");
    r = ReadReport();
    // The rows are there as on the classic dialog, the information line telling the folder.
    CheckRows(ReadReportedControls("control"), r.client, "item dialog");
    bool lineTellsFolder = false;
    for (const ReportedControl& c : ReadReportedControls("control"))
        lineTellsFolder |= IsAddedControl(c) && !c.id && !c.text.compare(0, docs.size(), docs);
    CHECK(lineTellsFolder, "the information line tells the folder");
    std::string saved = docs + "\\saved.txt";
    CHECK(!CompareNoCase(r.folder.c_str(), docs.c_str(), 300), "opened in %s", r.folder.c_str());
    CHECK(!CompareNoCase(r.returned.c_str(), saved.c_str(), 300), "returned %s",
          r.returned.c_str());
    CHECK(ReadList("vnsample", "Recent Files", "Entry2") == saved, "recorded: %s",
          ReadList("vnsample", "Recent Files", "Entry2").c_str());

    g_received.clear();
    CHECK(CommonEnabled(FALSE) == TRUE, "standard dialogs switched off");
    CHECK(RunSample("item-open 800") == 1 && (PumpFor(300), Received(MSG_DIALOG_OPENED) == 0),
          "the item dialog is left alone then");
    CommonEnabled(TRUE);
    for (const char* list : {"", "Size", "LastDir"}) {
        WriteIni((std::string("Num") + list + "Excludes").c_str(), "1");
        WriteIni((std::string(list) + "Exclude1").c_str(), "vnsample");
    }
    g_serial = 300;
    g_received.clear();
    CHECK(RunSample("item-open 1500") == 1, "a dialog of an excluded module");
    r = ReadReport();
    PumpFor(300);
    CHECK(Received(MSG_DIALOG_OPENED) == 0, "is left alone");
    CHECK(!CompareNoCase(r.folder.c_str(), g_cwd, 300), "and opens where the application says: %s",
          r.folder.c_str());
    SetEnvironmentVariableA("VNSAMPLE_INITIAL_DIR", nullptr);
    CleanUpHookDLL();
}

// With "UseLastSize" the size one application's dialog ended with is the next dialog's size,
// whatever the application.
void LastSize() {
    PrepareFolders();
    WriteIni("UseLastSize", "1");
    CopyFileA("vnsample.exe", "vnother.exe", FALSE);
    SetupHookDLL(g_manager);
    SetEnvironmentVariableA("VNSAMPLE_RESIZE", "800 600");
    CHECK(RunSample("open 1500") == 1, "a dialog resized by its user");
    SetEnvironmentVariableA("VNSAMPLE_RESIZE", nullptr);
    CHECK(ReadIni("LastWidth") == "800" && ReadIni("LastHeight") == "600", "size saved: %s x %s",
          ReadIni("LastWidth").c_str(), ReadIni("LastHeight").c_str());
    Process other = Start("vnother.exe open 1500");
    WaitFor(other);
    DialogReport r = ReadReport();
    CHECK(r.rect.right - r.rect.left == 800 && r.rect.bottom - r.rect.top == 600,
          "another application's dialog gets it: %ld x %ld", r.rect.right - r.rect.left,
          r.rect.bottom - r.rect.top);
    CleanUpHookDLL();
}

// Alt held while the dialog closes with OK adds the file and its folder to the favourites.
void AltFavorite() {
    PrepareFolders();
    DeleteFileA(ListFile("vnsample").c_str());
    std::string file = DataFile("fav.txt");
    WriteFileText(file, "");
    SetupHookDLL(g_manager);
    SetWindowPos(g_manager, HWND_TOPMOST, 0, 0, 300, 200, SWP_SHOWWINDOW);
    SetForegroundWindow(g_manager);
    PumpFor(300);
    RunUnix("/usr/bin/xdotool mousemove 100 100");
    Process sample = Start("vnsample.exe open 2000 \"" + file + "\"");
    PumpFor(1500);
    RunUnix("/usr/bin/xdotool keydown alt");
    WaitFor(sample);
    RunUnix("/usr/bin/xdotool keyup alt");
    CHECK(ReadList("vnsample", "Favorite Files", "Entry1") == file, "favourite file: %s",
          ReadList("vnsample", "Favorite Files", "Entry1").c_str());
    CHECK(ReadList("vnsample", "Favorite Paths", "Entry1") != "<none>", "and its folder");
    CHECK(ReadList("vnsample", "Recent Files", "Entry1") == file, "and still a recent file");
    CleanUpHookDLL();
}

// The file dialog a started sample shows (or its box with caption, and with a control child when
// that is given: boxes may share a caption), once it is visible (or at once, shown or not, with
// shown false); null when none appears.
HWND SampleDialog(const Process& sample, const char* caption, int child, bool shown) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", caption); w && !found;
             w = FindWindowExA(nullptr, w, "#32770", caption)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            found = pid == sample.id && (IsWindowVisible(w) || !shown) &&
                            (!child || GetDlgItem(w, child))
                        ? w
                        : nullptr;
        }
        return found != nullptr;
    });
    return found;
}

// Whether a row is the one wanted: a command row by its caption, any other by the last part of
// the path it shows (a row may be shortened with "...", but keeps the end of its path).
bool RowFits(std::string row, const std::string& wanted) {
    if (wanted[0] == ' ')
        return row == wanted;
    if (row.size() > 3 && row.back() == '\\')
        row.pop_back();
    return row.size() > wanted.size() &&
           !CompareNoCase(row.c_str() + row.size() - wanted.size() - 1, ("\\" + wanted).c_str(),
                          wanted.size() + 1);
}

// The index of the first row of list listId of the dialog that fits, once the list is filled;
// -1.
int FindRow(HWND dialog, int listId, const std::string& wanted) {
    int index = -1;
    WaitUntil(
        [&] {
            // The lists come a moment after the dialog is shown.
            HWND combo = GetDlgItem(dialog, listId);
            for (LRESULT i = 0, n = SendMessageW(combo, CB_GETCOUNT, 0, 0); i < n && index < 0;
                 ++i) {
                std::string row = ReadLine(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, i);
                index = RowFits(row, wanted) ? static_cast<int>(i) : -1;
            }
            return index >= 0;
        },
        5000);
    return index;
}

// Chooses a row as the keyboard does: F4 drops the list down, the arrow keys go to the row, Enter
// takes it. The keys are posted, so that they pass the dialog's own message loop as typed keys do.
bool ChooseRow(HWND dialog, int listId, const std::string& wanted) {
    int index = dialog ? FindRow(dialog, listId, wanted) : -1;
    if (index < 0)
        return false;
    HWND combo = GetDlgItem(dialog, listId);
    PostMessageA(combo, WM_KEYDOWN, VK_F4, 0);
    for (LRESULT i = SendMessageA(combo, CB_GETCURSEL, 0, 0); i < index; ++i)
        PostMessageA(combo, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(combo, WM_KEYDOWN, VK_RETURN, 0);
    return true;
}

// A file chosen in folder "one", then one in folder "two": both folders are recent, and the next
// dialog opens in "two".
void ChooseInTwoFolders() {
    PrepareFolders();
    DeleteFileA(ListFile("vnsample").c_str());
    SetupHookDLL(g_manager);
    for (std::string name : {"one", "two"}) {
        CreateDirectoryA(DataFile(name).c_str(), nullptr);
        std::string file = DataFile(name) + "\\" + name + ".txt";
        WriteFileText(file, "");
        CHECK(RunSample(("open 1500 \"" + file + "\"").c_str()) == 0, "%s chosen", file.c_str());
    }
}

// Choosing a recent folder in the recent folders list sends the dialog to it.
void ChooseRecentFolderIn(const char* command) {
    ChooseInTwoFolders();
    Process sample = Start(std::string("vnsample.exe ") + command + " 5000");
    CHECK(ChooseRow(SampleDialog(sample), 19009, "one"), "the recent folders list shows one");
    WaitFor(sample);
    std::string folder = ReadReport().folder;
    CHECK(RowFits(folder, "one"), "the dialog went to %s", folder.c_str());
    CleanUpHookDLL();
}

void RecentFolderChosen() {
    ChooseRecentFolderIn("open");
}

// The item dialog's list does it too, as a user's typing would.
void ItemRecentFolder() {
    ChooseRecentFolderIn("item-open");
}

// Choosing a recent file in the recent files list gives the dialog that file: OK returns it.
void RecentFileChosen() {
    ChooseInTwoFolders();
    Process sample = Start("vnsample.exe open 5000 -");
    CHECK(ChooseRow(SampleDialog(sample), 19008, "one.txt"), "the recent files list shows it");
    CHECK(WaitFor(sample) == 0, "the dialog returned a file");
    std::string returned = ReadReport().returned, file = DataFile("one") + "\\one.txt";
    CHECK(!CompareNoCase(returned.c_str(), file.c_str(), 300), "it returned %s", returned.c_str());
    CleanUpHookDLL();
}

// The "ADD Current Folder" row of the favourite folders list keeps the dialog's folder as a
// favourite, which the next dialog's favourite folders list shows.
void AddCurrentFolderRow() {
    PrepareFolders();
    DeleteFileA(ListFile("vnsample").c_str());
    std::string folder = DataFile("favourite");
    CreateDirectoryA(folder.c_str(), nullptr);
    SetupHookDLL(g_manager);
    SetEnvironmentVariableA("VNSAMPLE_INITIAL_DIR", folder.c_str());
    Process sample = Start("vnsample.exe open 4000");
    CHECK(ChooseRow(SampleDialog(sample), 19011, " --> ADD Current Folder"), "the ADD row");
    WaitFor(sample);
    SetEnvironmentVariableA("VNSAMPLE_INITIAL_DIR", nullptr);
    std::string stored = ReadList("vnsample", "Favorite Paths", "Entry1");
    CHECK(RowFits(stored, "favourite"), "favourite folder stored: %s", stored.c_str());
    Process next = Start("vnsample.exe open 3000");
    HWND dialog = SampleDialog(next);
    CHECK(dialog && FindRow(dialog, 19011, "favourite") >= 0, "the next dialog's list shows it");
    WaitFor(next);
    CleanUpHookDLL();
}

// The Linux name Wine gives a Windows path (its own export, looked up as the library looks up its
// counterpart), or "".
std::string LinuxName(const std::string& path) {
    using Proc = char*(CDECL*)(LPCWSTR);
    auto proc = reinterpret_cast<Proc>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    WCHAR wide[MAX_PATH];
    if (!proc || !MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH))
        return "";
    char* name = proc(wide);
    std::string out = name ? name : "";
    if (name)
        HeapFree(GetProcessHeap(), 0, name);
    return out;
}

// Under Wine the favourite folders list offers the Linux desktop's folders of the configuration
// folder the application was started with (XDG_CONFIG_HOME): a user folder and a bookmark, under
// their own header after the favourites, without a user folder or bookmark that is gone or the
// bookmark of another machine; choosing one sends the dialog there.
void LinuxPlaces() {
    PrepareFolders();
    DeleteFileA(ListFile("vnsample").c_str());
    const std::string home = DataFile("linux-home");
    for (const char* folder :
         {"", "\\.config", "\\.config\\gtk-3.0", "\\Downloads", "\\Projects One"})
        CreateDirectoryA((home + folder).c_str(), nullptr);
    const std::string linuxHome = LinuxName(home);
    CHECK(!linuxHome.empty(), "the test home has a Linux name");
    // $HOME would be the user's real home, which Wine passes on as WINEHOMEDIR whatever this
    // process's environment says; the folders are named in full instead.
    WriteFileText(home + "\\.config\\user-dirs.dirs",
                  "# written by the test\nXDG_DOWNLOAD_DIR=\"" + linuxHome +
                      "/Downloads\"\nXDG_MUSIC_DIR=\"" + linuxHome + "/Music\"\n");
    WriteFileText(home + "\\.config\\gtk-3.0\\bookmarks",
                  "file://" + linuxHome + "/Projects%20One Projects\nsftp://host/srv\nfile://" +
                      linuxHome + "/Gone%2\n");
    SetupHookDLL(g_manager);
    SetEnvironmentVariableA("XDG_CONFIG_HOME", (linuxHome + "/.config").c_str());
    Process sample = Start("vnsample.exe open 6000");
    HWND dialog = SampleDialog(sample);
    int header = dialog ? FindRow(dialog, 19011, " Linux Desktop Folders...") : -1;
    int downloads = header >= 0 ? FindRow(dialog, 19011, "Downloads") : -1;
    int projects = header >= 0 ? FindRow(dialog, 19011, "Projects One") : -1;
    HWND combo = dialog ? GetDlgItem(dialog, 19011) : nullptr;
    LRESULT rows = combo ? SendMessageA(combo, CB_GETCOUNT, 0, 0) : 0;
    CHECK(header >= 0 && downloads == header + 1 && projects == header + 2 && rows == header + 3,
          "the header, Downloads and Projects One last (rows %d, %d, %d of %d)", header, downloads,
          projects, static_cast<int>(rows));
    CHECK(ChooseRow(dialog, 19011, "Projects One"), "the bookmark's row");
    WaitFor(sample);
    std::string folder = ReadReport().folder;
    CHECK(RowFits(folder, "Projects One"), "the dialog went to %s", folder.c_str());

    SetEnvironmentVariableA("XDG_CONFIG_HOME", nullptr);
    CleanUpHookDLL();
}

// A dialog whose initialisation never reaches the library is not left hidden: after a while it is
// shown where it is, and it works and closes as usual.
void Unplaced() {
    PrepareFolders();
    std::string file = DataFile("unplaced.txt");
    WriteFileText(file, "");
    SetupHookDLL(g_manager);
    g_received.clear();
    SetEnvironmentVariableA("VNSAMPLE_BYPASS_INIT", "1");
    int status = RunSample(("open 1000 \"" + file + "\"").c_str());
    SetEnvironmentVariableA("VNSAMPLE_BYPASS_INIT", nullptr);
    DialogReport r = ReadReport();
    CHECK(Received(MSG_DIALOG_OPENED) == 1, "the dialog was taken over");
    CHECK(status == 0 && r.visible == 1, "it was shown and returned the file (%d, visible %d)",
          status, r.visible);
    CleanUpHookDLL();
}

// A manager killed without its clean-up, while another process (this one) holds the library,
// leaves its hook recorded. The next manager finds the recorded owner dead, sets a hook of its own
// and is named as its owner, and the sample's dialog is taken over again, by one hook: Wine keeps a
// global hook after its thread has ended, so the dead manager's hook must have been removed.
void CrashedManager() {
    PrepareFolders();
    HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, kServeQuit);
    SharedState* s = Shared();
    CHECK(s && quit, "the shared state and the event");
    if (!s || !quit)
        return;
    auto ownedBy = [&](const Process& p) {
        ProcessMark recorded = UnpackMark(s->cbtHookOwner);
        return s->cbtHook != 0 && recorded.id == p.id &&
               recorded.stamp == MarkOfProcess(p.handle, p.id).stamp;
    };
    Process first = Start("vntestmgr.exe serve");
    CHECK(WaitUntil([&] { return ownedBy(first); }), "the first manager owns the hook");
    DWORD oneHook = CountedSampleCreations();
    CHECK(oneHook >= 10, "its hook counts the sample's windows (%lu)", oneHook);
    Handle32 crashedHook = s->cbtHook;
    // Killed while an application's dialog is open: the dialog works on and closes as usual,
    // and its chosen file is recorded.
    std::string file = DataFile("while-killed.txt");
    WriteFileText(file, "");
    DeleteFileA(ListFile("vnsample").c_str());
    Process sample = Start("vnsample.exe open 3000 \"" + file + "\"");
    auto dialogOpen = [&] {
        for (const auto& slot : s->extendedDialogs)
            if (slot.inUse)
                return true;
        return false;
    };
    CHECK(WaitUntil(dialogOpen), "the sample's dialog is extended");
    TerminateProcess(first.handle, 3);
    WaitForSingleObject(first.handle, 5000);
    CHECK(WaitFor(sample) == 0, "the dialog still returns the file");
    CHECK(ReadList("vnsample", "Recent Files", "Entry1") == file, "and it is recorded: %s",
          ReadList("vnsample", "Recent Files", "Entry1").c_str());
    CHECK(s->cbtHook == crashedHook && UnpackMark(s->cbtHookOwner).id == first.id,
          "killed, it stays recorded as the hook's owner");
    DWORD counted = CountedSampleCreations();
    printf("after the kill the dead manager's hook %s (%lu)\n", counted ? "still runs" : "is gone",
           counted);

    Process second = Start("vntestmgr.exe serve");
    CHECK(WaitUntil([&] { return ownedBy(second); }),
          "the manager started next is named as the owner (owner %u, hook %x)",
          UnpackMark(s->cbtHookOwner).id, s->cbtHook);
    CHECK(s->cbtHook != crashedHook, "of a hook of its own");
    counted = CountedSampleCreations();
    CHECK(counted >= 10 && counted < oneHook * 3 / 2,
          "one live hook: the sample's windows are counted as with one before (%lu, %lu)", counted,
          oneHook);
    CHECK(RunSample("open 1500 chosen.txt") == 0, "the sample's dialog returns the file");
    SetEvent(quit);
    int opened = WaitExit(second);
    CHECK(opened == 1, "the new manager was told of the dialog once (%d)", opened);
    CHECK(s->cbtHook == 0 && s->cbtHookOwner == 0, "its clean end removes hook and owner");
    Kill(first);
    Kill(second);
    CloseHandle(quit);
}

// While another process writes garbage into the shared state, an application opens and closes
// 50 dialogs: it never crashes or hangs (the dialogs may come up unextended).
void HostileState() {
    PrepareFolders();
    SetupHookDLL(g_manager);
    HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, kScrambleQuit);
    Process scrambler = Start("vntestmgr.exe scramble");
    std::string scratch = DataFile("scratch");
    CreateDirectoryA(scratch.c_str(), nullptr);
    DWORD start = GetTickCount();
    Process sample =
        Start(std::string(g_cwd) + "\\vnsample.exe open-many 50 200 picked", scratch.c_str());
    int status = WaitExit(sample, 220000);
    DWORD elapsed = GetTickCount() - start;
    SetEvent(quit);
    int scrambled = WaitExit(scrambler, 10000);
    Kill(sample);
    Kill(scrambler);
    CloseHandle(quit);
    printf("50 dialogs under a scrambled shared state: status %d in %lu ms\n", status, elapsed);
    CHECK(scrambled == 0, "the shared state was scrambled throughout");
    CHECK(status >= 0 && status <= 50, "the application ended by itself, status %d", status);
    CleanUpHookDLL();
}

// --- trained dialogs: the sample's own "Sample Picker" (vnsample picker) ---------------------

constexpr int kPickerName = 300;
constexpr int kPickerTypes = 301;
constexpr char kPickerTitle[] = "Sample Picker";

std::string TextOf(HWND window) {
    char text[MAX_PATH] = "";
    DWORD_PTR n = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, &n);
    return text;
}

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && !CompareNoCase(a.c_str(), b.c_str(), a.size());
}

// Types name into the extended standard dialog and presses its OK.
void ChooseInStandardDialog(HWND dialog, const std::string& name) {
    HWND box = GetDlgItem(dialog, 1148);
    SendMessageA(box ? box : GetDlgItem(dialog, 1152), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

// A folder with a file, made the sample's last folder by choosing the file in its (extended)
// standard Open dialog.
std::string SampleLastFolderFile() {
    std::string docs = DataFile("docs");
    CreateDirectoryA(docs.c_str(), nullptr);
    std::string file = docs + "\\report.txt";
    WriteFileText(file, "report");
    Process p = Start("vnsample.exe open 1500 \"" + file + "\"");
    CHECK(WaitFor(p) == 0, "the sample chooses %s", file.c_str());
    return file;
}

// The entry the picker is trained as: its creation data as the library saw them when it was
// created (the ring of recent windows), its name box and type list.
TrainedEntry PickerEntry(bool addButton) {
    TrainedEntry e = {};
    Process p = Start("vnsample.exe picker 800");
    WaitFor(p);
    SharedState* s = Shared();
    for (int i = 0; s && i < kRecentWindowSlots; ++i) {
        const RecentWindow& r = s->recentWindows[i];
        if (strcmp(r.title, kPickerTitle) != 0 || CompareNoCase(r.moduleName, "vnsample", 9))
            continue;
        e.style = r.style;
        e.exStyle = r.exStyle;
        e.width = r.width;
        e.height = r.height;
        e.dialogClass = static_cast<uint16_t>(r.isDialogClass);
    }
    CHECK(e.style != 0, "the picker was seen created");
    e.length = kTrainedRecordSize;
    strcpy(e.appName, "Sample");
    strcpy(e.moduleName, "vnsample");
    strcpy(e.originalTitle, kPickerTitle);
    strcpy(e.finalTitle, kPickerTitle);
    strcpy(e.matchTitle, kPickerTitle);
    e.enabled = 1;
    e.addButton = addButton ? 1 : 0;
    e.longNames = 1;
    e.fileNameId = kPickerName;
    e.typesListId = kPickerTypes;
    e.buttonOffsetX = 2;
    e.buttonOffsetY = -1;
    strcpy(e.fileTypes[0], "Text Documents (*.txt)|*.txt");
    strcpy(e.fileTypes[1], "All Files (*.*)|*.*");
    strcpy(e.defaultExt, "txt");
    return e;
}

void UseEntry(TrainedEntry e) {
    CHECK(SaveTrainedDatabaseFile(DataFile("vantor.dat").c_str(), &e, 1), "the entry is saved");
    CHECK(ReReadTrainedDatabase() == 1, "the library loads it");
}

// Replace: the picker stays hidden, the extended standard dialog opens in the sample's last
// folder, and the name chosen there is typed into the picker and confirmed.
void TrainedReplace() {
    PrepareFolders();
    SetupHookDLL(g_manager);
    std::string file = SampleLastFolderFile();
    UseEntry(PickerEntry(false));
    g_received.clear();
    Process p = Start("vnsample.exe picker 60000");
    HWND standard = SampleDialog(p, nullptr, 1148);
    HWND picker = SampleDialog(p, nullptr, kPickerName, false);
    CHECK(standard && picker, "the standard dialog opens in place of the picker");
    CHECK(picker && !IsWindowVisible(picker), "the picker stays hidden");
    CHECK(TextOf(standard) == kPickerTitle, "with the trained title: %s", TextOf(standard).c_str());
    ChooseInStandardDialog(standard, "report.txt");
    CHECK(WaitFor(p) == 0, "the picker returns with OK");
    CHECK(SameText(ReadReport().returned, file), "in the last folder: %s",
          ReadReport().returned.c_str());
    PumpFor(300);
    CHECK(Received(MSG_DIALOG_OPENED) == 2 && Received(MSG_DIALOG_CLOSED) == 2,
          "both dialogs reported: opened %d, closed %d", Received(MSG_DIALOG_OPENED),
          Received(MSG_DIALOG_CLOSED));
    CleanUpHookDLL();
}

// A cancelled replacement cancels the application's dialog.
void TrainedReplaceCancelled() {
    PrepareFolders();
    SetupHookDLL(g_manager);
    UseEntry(PickerEntry(false));
    Process p = Start("vnsample.exe picker 60000");
    HWND standard = SampleDialog(p, nullptr, 1148);
    CHECK(standard != nullptr, "the standard dialog opens");
    PostMessageA(standard, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    CHECK(WaitFor(p) == 1, "the picker is cancelled");
    CHECK(ReadReport().returned == "<cancelled>", "returned %s", ReadReport().returned.c_str());
    CleanUpHookDLL();
}

// Add: a button beside the name box opens the standard dialog; its choice fills the box.
void TrainedAdd() {
    PrepareFolders();
    SetupHookDLL(g_manager);
    std::string file = SampleLastFolderFile();
    UseEntry(PickerEntry(true));
    Process p = Start("vnsample.exe picker 60000");
    HWND picker = SampleDialog(p, nullptr, kPickerName);
    HWND button = nullptr;
    WaitUntil([&] {
        button = picker ? FindWindowExA(picker, nullptr, "Button", "VN!") : nullptr;
        return button && IsWindowEnabled(button) && IsWindowVisible(button);
    });
    CHECK(button != nullptr, "the picker shows the button");
    RECT box = {}, at = {};
    GetWindowRect(GetDlgItem(picker, kPickerName), &box);
    GetWindowRect(button, &at);
    CHECK(at.left == box.right + 2 && at.top == box.top - 1,
          "beside the name box: %ld,%ld / %ld,%ld", at.left, at.top, box.right, box.top);
    Screenshot("trained-add-button.png");
    char click[120];
    snprintf(click, sizeof click, "/usr/bin/xdotool mousemove %ld %ld click 1",
             (at.left + at.right) / 2, (at.top + at.bottom) / 2);
    RunUnix(click);
    HWND standard = SampleDialog(p, nullptr, 1148);
    CHECK(standard != nullptr, "a click opens the standard dialog");
    ChooseInStandardDialog(standard, file);
    CHECK(WaitUntil([&] { return SameText(TextOf(GetDlgItem(picker, kPickerName)), file); }, 5000),
          "the name box shows the choice: %s", TextOf(GetDlgItem(picker, kPickerName)).c_str());
    CHECK(IsWindow(picker) && IsWindowVisible(picker), "the picker stays open");
    PostMessageA(picker, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    CHECK(WaitFor(p) == 0 && SameText(ReadReport().returned, file), "the picker returns %s",
          ReadReport().returned.c_str());
    CleanUpHookDLL();
}

// Add with "auto open/close": the standard dialog opens as the picker appears, the usage note
// explains the two dialogs (and can be told not to), and the choice is typed in and confirmed.
void TrainedAutoOpen() {
    PrepareFolders();
    SetupHookDLL(g_manager);
    std::string file = SampleLastFolderFile();
    TrainedEntry e = PickerEntry(true);
    e.autoOpenClose = 1;
    UseEntry(e);
    Process p = Start("vnsample.exe picker 60000");
    HWND standard = SampleDialog(p, kPickerTitle, 1148);
    CHECK(standard != nullptr, "the standard dialog opens by itself");
    HWND note = SampleDialog(p, "Vantor Usage Note", IDOK);
    CHECK(note != nullptr, "the usage note comes up");
    SendMessageA(GetDlgItem(note, 100), BM_SETCHECK, BST_CHECKED, 0);
    PostMessageA(note, WM_COMMAND, IDOK, 0);
    CHECK(WaitUntil([] { return ReadIni("Show Usage Note") == "0"; }, 5000),
          "and is not shown again: %s", ReadIni("Show Usage Note").c_str());
    ChooseInStandardDialog(standard, "report.txt");
    CHECK(WaitFor(p) == 0 && SameText(ReadReport().returned, file),
          "the picker returns the choice, made in the last folder: %s",
          ReadReport().returned.c_str());
    CleanUpHookDLL();
}

// The application destroys its trained dialog while the standard dialog stands in for it: the
// standard dialog goes with it and nothing of the replacement is left.
void TrainedClosedMeanwhile() {
    PrepareFolders();
    SetupHookDLL(g_manager);
    UseEntry(PickerEntry(false));
    g_received.clear();
    SetEnvironmentVariableA("VNSAMPLE_PICKER_DESTROY", "1");
    Process p = Start("vnsample.exe picker 3000");
    SetEnvironmentVariableA("VNSAMPLE_PICKER_DESTROY", nullptr);
    HWND standard = SampleDialog(p, kPickerTitle, 1148);
    CHECK(standard != nullptr, "the standard dialog opens");
    CHECK(WaitFor(p) == 1 && ReadReport().returned == "<destroyed>", "the picker is destroyed: %s",
          ReadReport().returned.c_str());
    CHECK(!IsWindow(standard), "the standard dialog went with it");
    PumpFor(300);
    SharedState* s = Shared();
    CHECK(s && !s->replacementOwner, "no stand-in is pending");
    CHECK(Received(MSG_DIALOG_OPENED) == 2 && Received(MSG_DIALOG_CLOSED) == 2,
          "both dialogs reported closed: opened %d, closed %d", Received(MSG_DIALOG_OPENED),
          Received(MSG_DIALOG_CLOSED));
    CleanUpHookDLL();
}

// An Add entry whose name box the dialog does not have, with offsets out of all reason: the
// button still sits inside the dialog and opens the standard dialog, whose choice goes nowhere.
void TrainedWildEntry() {
    PrepareFolders();
    SetupHookDLL(g_manager);
    TrainedEntry e = PickerEntry(true);
    e.fileNameId = 999;
    e.buttonOffsetX = 32000;
    e.buttonOffsetY = -32000;
    e.dialogKind = 0x7777;
    UseEntry(e);
    Process p = Start("vnsample.exe picker 60000");
    HWND picker = SampleDialog(p, nullptr, kPickerName);
    HWND button = nullptr;
    WaitUntil([&] {
        button = picker ? FindWindowExA(picker, nullptr, "Button", "VN!") : nullptr;
        return button && IsWindowEnabled(button);
    });
    RECT client = {}, at = {};
    GetClientRect(picker, &client);
    MapWindowPoints(picker, nullptr, reinterpret_cast<POINT*>(&client), 2);
    GetWindowRect(button, &at);
    CHECK(button && at.left >= client.left && at.right <= client.right && at.top >= client.top &&
              at.bottom <= client.bottom,
          "the button lies inside the dialog: %ld,%ld-%ld,%ld in %ld,%ld-%ld,%ld", at.left, at.top,
          at.right, at.bottom, client.left, client.top, client.right, client.bottom);
    PostMessageA(button, BM_CLICK, 0, 0);
    HWND standard = SampleDialog(p, kPickerTitle, 1148);
    CHECK(standard != nullptr, "the button opens the standard dialog");
    ChooseInStandardDialog(standard, "anything.txt");
    CHECK(WaitUntil([&] { return !IsWindow(standard); }, 5000) && IsWindowVisible(picker),
          "the choice goes nowhere and the picker stays");
    PostMessageA(picker, WM_COMMAND, IDCANCEL, 0);
    CHECK(WaitFor(p) == 1, "the picker is cancelled as usual");
    CleanUpHookDLL();
}

// Clicks the middle of a window with the real mouse.
void ClickOn(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    char click[120];
    snprintf(click, sizeof click, "/usr/bin/xdotool mousemove %ld %ld click 1",
             (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    CHECK(window && RunUnix(click), "clicking %p", static_cast<void*>(window));
}

// The training window's button id, once it shows.
HWND TrainingButton(int id) {
    HWND button = nullptr;
    WaitUntil([&] {
        HWND w = FindWindowA("TrainHookWin", nullptr);
        button = w ? GetDlgItem(w, id) : nullptr;
        return button && IsWindowVisible(button);
    });
    return button;
}

// Training from the tray's "Train New Dialog" to the end, with real clicks on the sample's own
// dialog in its process: the entry made matches that dialog from then on.
void TrainPicker() {
    PrepareFolders();
    SetupHookDLL(g_manager);
    g_received.clear();
    SharedState* s = Shared();
    NotSoCommonManualSelect();
    HWND selection = FindWindowA("HookManWin", nullptr);
    CHECK(selection && s->trainingWindowOpen, "the selection window opens");
    Process p = Start("vnsample.exe picker 60000");
    HWND picker = SampleDialog(p, nullptr, kPickerName);
    CHECK(picker != nullptr, "the picker opens");
    ClickOn(GetDlgItem(selection, IDOK));
    CHECK(WaitUntil([&] { return s->trainingSelecting != 0; }), "OK starts the selection");
    ClickOn(GetDlgItem(picker, kPickerName));
    CHECK(WaitUntil([&] { return s->trainingActive != 0; }), "a click on the picker chooses it");
    PumpFor(300);
    ClickOn(GetDlgItem(picker, kPickerName));
    CHECK(WaitUntil([&] { return s->trainingStep == 1; }), "the name box is pointed at");
    ClickOn(GetDlgItem(picker, kPickerTypes));
    ClickOn(TrainingButton(7)); // Replace
    CHECK(WaitUntil([&] { return s->training.askKind != 0; }), "the kind is asked");
    ClickOn(TrainingButton(7)); // Open
    ClickOn(TrainingButton(IDOK));
    CHECK(WaitUntil([&] { return Received(MSG_SHOW_TRAINED_ENTRY) == 1; }),
          "the manager is asked to show the entry");
    CHECK(!FindWindowA("TrainHookWin", nullptr) && !s->trainingActive, "training has ended");
    PostMessageA(picker, WM_COMMAND, IDCANCEL, 0);
    WaitFor(p);

    std::vector<TrainedEntry> stored(kTrainedSlots);
    CHECK(LoadTrainedDatabaseFile(DataFile("vantor.dat").c_str(), stored.data()) == 1,
          "one entry in the file");
    const TrainedEntry& e = stored[0];
    CHECK(!strcmp(e.moduleName, "vnsample") && !strcmp(e.originalTitle, kPickerTitle) &&
              e.fileNameId == kPickerName && e.typesListId == kPickerTypes,
          "the picker's entry: %s %s %u %u", e.moduleName, e.originalTitle, e.fileNameId,
          e.typesListId);
    CHECK(!strcmp(e.fileTypes[0], "Text Documents (*.txt)|*.txt") &&
              !strcmp(e.fileTypes[2], "All Files (*.*)|*.*") && !strcmp(e.defaultExt, "txt"),
          "its types and extension: %s, %s", e.fileTypes[0], e.defaultExt);
    CHECK(e.enabled && !e.addButton && e.dialogKind == kTrainedOpen, "Replace, Open");

    // From now on the picker is stood in for.
    Process again = Start("vnsample.exe picker 60000");
    HWND standard = SampleDialog(again, kPickerTitle, 1148);
    CHECK(standard != nullptr, "the trained picker is replaced");
    PostMessageA(standard, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    CHECK(WaitFor(again) == 1, "and cancelled with the standard dialog");
    CleanUpHookDLL();
}

const Scenario kScenarios[] = {
    {"exports", Exports},
    {"hook-count", HookCount},
    {"switches", Switches},
    {"remove-hook", RemoveHook},
    {"setup-twice", SetupTwice},
    {"registry", Registry},
    {"settings-ini", SettingsIni},
    {"trained-db", TrainedDb},
    {"take-over", TakeOver},
    {"leave-alone", LeaveAlone},
    {"exclusions", Exclusions},
    {"shift-disables", ShiftDisables},
    {"placement", Placement},
    {"rows-fixed", RowsFixed},
    {"rows-resizable", RowsResizable},
    {"info-line", InfoLine},
    {"info-line-follows", InfoLineFollows},
    {"file-list-order", FileListOrder},
    {"column-widths", ColumnWidths},
    {"path-to-clipboard", PathToClipboard},
    {"make-dir", MakeDir},
    {"rename-file", RenameFile},
    {"delete-file", DeleteNamedFile},
    {"find-files", FindFiles},
    {"find-stop", FindStop},
    {"copy-file", CopyNamedFile},
    {"move-file", MoveNamedFile},
    {"rename-refuses-existing", RenameRefusesExisting},
    {"move-into-itself", MoveIntoItself},
    {"typed-full-path", TypedFullPath},
    {"last-folder", LastFolder},
    {"item-dialog", ItemDialog},
    {"item-recent-folder", ItemRecentFolder},
    {"last-size", LastSize},
    {"alt-favorite", AltFavorite},
    {"recent-folder-chosen", RecentFolderChosen},
    {"recent-file-chosen", RecentFileChosen},
    {"add-current-folder", AddCurrentFolderRow},
    {"linux-places", LinuxPlaces},
    {"crashed-manager", CrashedManager},
    {"unplaced", Unplaced},
    {"hostile-state", HostileState},
    {"trained-replace", TrainedReplace},
    {"trained-replace-cancelled", TrainedReplaceCancelled},
    {"trained-add", TrainedAdd},
    {"trained-auto-open", TrainedAutoOpen},
    {"trained-closed-meanwhile", TrainedClosedMeanwhile},
    {"trained-wild-entry", TrainedWildEntry},
    {"train", TrainPicker},
};

} // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    LocateFolders("vntest-data", {"vantor.ini", "vantor.dat", "vantor.dat.tmp", "*.vni"});
    if (argc >= 2 && !strcmp(argv[1], "serve"))
        return Serve();
    if (argc >= 2 && !strcmp(argv[1], "scramble"))
        return Scramble();
    const Scenario* sc = ChosenScenario("vntestmgr", kScenarios, argc, argv);
    if (!sc)
        return 2;
    CreateManagerWindow();
    sc->run();
    DestroyWindow(g_manager);
    return CheckSummary(sc->name);
}
