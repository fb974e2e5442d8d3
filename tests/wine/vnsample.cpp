// The sample application of the system tests: a second process that creates windows and reads or
// writes the shared state on command, as any hooked application would.
//
//   vnsample windows N            create N top-level windows with a child each, then close them
//   vnsample common               exit status: IsCommonEnabled() of the library
//   vnsample notsocommon          exit status: IsNotSoCommonEnabled()
//   vnsample readsettings MODULE  the library's settings read for MODULE (asks the manager)
//   vnsample addexclude KIND MODULE [TITLE]   add to exclusion list KIND (0, 1, 2) and write it
//   vnsample save-db N            write a database of N entries "Entry0".. to the shared path
//   vnsample expect-db N          exit 0 when the shared database holds N entries "Entry0"..
#include <windows.h>

#include "hook/core/settings.h"
#include "hook/core/settings_win.h"
#include "hook/core/manager_link_win.h"
#include "hook/core/text.h"
#include "hook/trained/trained_db_win.h"
#include "wine_check.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace vn;

namespace {

int CreateWindows(int n) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VnSampleWindow";
    RegisterClassA(&wc);
    for (int i = 0; i < n; ++i) {
        HWND top = CreateWindowExA(0, "VnSampleWindow", "Sample", WS_OVERLAPPEDWINDOW, 10, 10, 300,
                                   200, nullptr, nullptr, wc.hInstance, nullptr);
        HWND child = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE, 5, 5, 60, 20, top,
                                     reinterpret_cast<HMENU>(1), wc.hInstance, nullptr);
        if (!top || !child)
            return 1;
        DestroyWindow(top);
    }
    return 0;
}

typedef BOOL(WINAPI* QueryFn)(void);

int QueryLibrary(const char* name) {
    HMODULE lib = LoadLibraryA("vnhook.dll");
    auto fn = lib ? reinterpret_cast<QueryFn>(reinterpret_cast<void*>(GetProcAddress(lib, name)))
                  : nullptr;
    return fn ? (fn() ? 1 : 0) : 2;
}

std::vector<TrainedEntry> MakeEntries(int n) {
    std::vector<TrainedEntry> entries(static_cast<size_t>(n > 0 ? n : 0));
    for (int i = 0; i < n; ++i) {
        TrainedEntry& e = entries[static_cast<size_t>(i)];
        memset(&e, 0, sizeof e);
        snprintf(e.appName, sizeof e.appName, "Entry%d", i);
        snprintf(e.moduleName, sizeof e.moduleName, "app%d", i);
        e.width = 400 + i;
        e.enabled = 1;
    }
    return entries;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printf("usage: vnsample command [arguments]\n");
        return 2;
    }
    const char* cmd = argv[1];
    if (!strcmp(cmd, "windows"))
        return CreateWindows(argc > 2 ? atoi(argv[2]) : 1);
    if (!strcmp(cmd, "common"))
        return QueryLibrary("IsCommonEnabled");
    if (!strcmp(cmd, "notsocommon"))
        return QueryLibrary("IsNotSoCommonEnabled");

    SharedState* s = Shared();
    if (!s) {
        printf("vnsample: the shared state cannot be mapped\n");
        return 3;
    }
    if (!strcmp(cmd, "readsettings") && argc > 2) {
        ReadHookSettings(*s, argv[2]);
        return 0;
    }
    if (!strcmp(cmd, "addexclude") && argc > 3) {
        char ini[kPathSize];
        CopyField(ini, sizeof ini, s->iniFilePath, sizeof s->iniFilePath);
        ProfileIniFile file(ini);
        return AddExclude(*s, static_cast<ExcludeKind>(atoi(argv[2]) % 3), argv[3],
                          argc > 4 ? argv[4] : nullptr, file)
                   ? 0
                   : 1;
    }
    if (!strcmp(cmd, "save-db") && argc > 2) {
        std::vector<TrainedEntry> entries = MakeEntries(atoi(argv[2]));
        return SaveTrainedDatabaseFile(s->trainedDbPath, entries.data(),
                                       static_cast<int>(entries.size()))
                   ? 0
                   : 1;
    }
    if (!strcmp(cmd, "expect-db") && argc > 2) {
        int n = atoi(argv[2]);
        CHECK(TrainedCount(*s) == n, "shared count %d, expected %d", s->trainedCount, n);
        for (int i = 0; i < n && i < TrainedCount(*s); ++i) {
            char name[16];
            snprintf(name, sizeof name, "Entry%d", i);
            CHECK(!strcmp(s->trainedEntries[i].appName, name), "entry %d is %.79s", i,
                  s->trainedEntries[i].appName);
            CHECK(s->trainedEntries[i].length == kTrainedRecordSize, "entry %d length %u", i,
                  s->trainedEntries[i].length);
        }
        return CheckSummary("vnsample expect-db");
    }
    printf("vnsample: unknown command %s\n", cmd);
    return 2;
}
