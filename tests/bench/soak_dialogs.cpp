// Soak run of the library in one process (not part of the test suite; run it on demand):
//
//   VN_TIMEOUT=1800 tools/wine-run.sh build/win-x86_64/bin/soak_dialogs.exe [DIALOGS [plain]]
//                                                (default 1000 dialogs; plain: without the hook)
//   ... DIALOGS plain resize          without the hook, each dialog resized to the enlarged size
//
// Installs the hook for a window of its own, opens and closes DIALOGS standard Open dialogs in
// this process, each taken over and extended, and prints what the process holds after a warm-up
// and at the end: GDI and USER objects, kernel handles and private memory (walked through the
// address space: Wine's GetProcessMemoryInfo reports nothing). A leak shows as growth per dialog.
#include <windows.h>

#include <commdlg.h>

#include "hook/takeover/vnhook_api.h"
#include "tests/bench/bench_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Holdings {
    DWORD gdi, user, handles, windows;
    unsigned privateKb;
};

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
    ++*reinterpret_cast<DWORD*>(count);
    EnumChildWindows(window, CountWindow, count);
    return TRUE;
}

// The windows of this thread with all their children: what GetGuiResources cannot tell under
// Wine, which reports no object counts.
DWORD CountWindows() {
    DWORD count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

Holdings Measure() {
    Holdings h = {};
    h.gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    h.user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    GetProcessHandleCount(GetCurrentProcess(), &h.handles);
    h.windows = CountWindows();
    size_t bytes = 0;
    MEMORY_BASIC_INFORMATION info;
    for (BYTE* p = nullptr; VirtualQuery(p, &info, sizeof info) == sizeof info;
         p = static_cast<BYTE*>(info.BaseAddress) + info.RegionSize)
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE)
            bytes += info.RegionSize;
    h.privateKb = static_cast<unsigned>(bytes / 1024);
    return h;
}

int g_opened = 0;

LRESULT CALLBACK ManagerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == 3629) // a dialog was taken over
        ++g_opened;
    if (msg == 3624) // the settings serial
        return 1;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

char g_name[MAX_PATH];
bool g_resize = false;

void CALLBACK CloseDialog(HWND, UINT, UINT_PTR id, DWORD) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetCurrentThreadId(), &info) || !info.hwndActive ||
        !IsWindowVisible(info.hwndActive))
        return;
    KillTimer(nullptr, id);
    // "resize": the dialog is given the enlarged size as a user would drag it, to tell what
    // the size alone costs without the library.
    if (g_resize)
        SetWindowPos(info.hwndActive, nullptr, 0, 0, 716, 537, SWP_NOMOVE | SWP_NOZORDER);
    HWND box = GetDlgItem(info.hwndActive, 1148);
    SetWindowTextA(box ? box : GetDlgItem(info.hwndActive, 1152), g_name);
    PostMessageA(info.hwndActive, WM_COMMAND, IDOK, 0);
}

bool OneDialog(int n, const char* folder) {
    snprintf(g_name, sizeof g_name, "%s\\soak%d.txt", folder, n % 50);
    SetTimer(nullptr, 0, 50, CloseDialog);
    return vnbench::OpenDialogOn(folder, "Text files (*.txt)\0*.txt\0");
}

void Print(const char* when, const Holdings& h) {
    printf("%-10s GDI %5lu  USER %5lu  handles %5lu  windows %4lu  private %7u KB\n", when, h.gdi,
           h.user, h.handles, h.windows, h.privateKb);
}

} // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    int dialogs = argc > 1 ? atoi(argv[1]) : 1000;
    // "plain": the same dialogs without the library, the baseline of what Wine itself holds.
    bool plain = argc > 2 && !strcmp(argv[2], "plain");
    g_resize = argc > 3 && !strcmp(argv[3], "resize");
    char folder[MAX_PATH];
    GetModuleFileNameA(nullptr, folder, MAX_PATH);
    *strrchr(folder, '\\') = 0;
    std::string data = std::string(folder) + "\\soak-data";
    CreateDirectoryA(data.c_str(), nullptr);
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orvelle Software\\Vantor", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, "Program Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder),
                       static_cast<DWORD>(strlen(folder) + 1));
        RegSetValueExA(key, "Data Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>(data.size() + 1));
        RegCloseKey(key);
    }
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ManagerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VnSoakManager";
    RegisterClassA(&wc);
    HWND manager = CreateWindowExA(0, wc.lpszClassName, "soak", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                   nullptr, nullptr, wc.hInstance, nullptr);
    if (!plain)
        SetupHookDLL(manager);
    constexpr int kWarmUp = 20;
    int failed = 0;
    for (int i = 0; i < kWarmUp; ++i)
        failed += !OneDialog(i, data.c_str());
    Holdings start = Measure();
    Print("start", start);
    DWORD began = GetTickCount();
    for (int i = 0; i < dialogs; ++i) {
        failed += !OneDialog(i, data.c_str());
        if ((i + 1) % 100 == 0) {
            char when[16];
            snprintf(when, sizeof when, "%d", i + 1);
            Print(when, Measure());
        }
    }
    Holdings end = Measure();
    Print("end", end);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    printf("%d dialogs%s (%d taken over, %d did not return a file) in %lu ms\n", dialogs,
           plain ? " without the library" : "", plain ? 0 : g_opened - kWarmUp, failed,
           GetTickCount() - began);
    printf("growth per 1000 dialogs: GDI %ld, USER %ld, handles %ld, windows %ld, private %ld KB\n",
           (static_cast<long>(end.gdi) - static_cast<long>(start.gdi)) * 1000 / dialogs,
           (static_cast<long>(end.user) - static_cast<long>(start.user)) * 1000 / dialogs,
           (static_cast<long>(end.handles) - static_cast<long>(start.handles)) * 1000 / dialogs,
           (static_cast<long>(end.windows) - static_cast<long>(start.windows)) * 1000 / dialogs,
           (static_cast<long>(end.privateKb) - static_cast<long>(start.privateKb)) * 1000 /
               dialogs);
    CleanUpHookDLL();
    DestroyWindow(manager);
    return 0;
}
