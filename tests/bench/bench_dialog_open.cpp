// How long a standard Open dialog on a folder of 300 files takes from the call of
// GetOpenFileNameA (with "item": of IFileOpenDialog::Show, the Common Item Dialog) until it is
// visible and answers a message: with no hook, with a global CBT hook that does nothing, with
// vnhook installed but leaving the dialog alone, and with vnhook extending it while all its
// recent and favourite lists hold 100 entries. The configurations take turns within one run; the
// medians and their ratios are printed.
//
//   bench_dialog_open [rounds [item] [KEY=VALUE ...]]   (default 7 rounds)
//
// KEY=VALUE pairs are written into the settings file first ("Sizing=0", "Use Last Dir=0"...), to
// see what each extension costs.
#include <windows.h>

#include <commdlg.h>

#include "hook/lists/list_files_win.h"
#include "hook/takeover/vnhook_api.h"
#include "tests/bench/bench_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using vnbench::Median;
using vnbench::Now;

struct Watch {
    DWORD ownerThread;
    volatile double shownAt;
    volatile double paintedAt;
};

BOOL CALLBACK FindUnpainted(HWND window, LPARAM found) {
    if (IsWindowVisible(window) && GetUpdateRect(window, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    }
    return TRUE;
}

// Whether the dialog and every visible window in it have painted all they were asked to: the
// user sees the dialog whole. A dialog answers messages before it paints, since a paint waits
// until no message is queued; answering alone leaves the painting out of the measure.
bool FullyPainted(HWND dialog) {
    bool found = GetUpdateRect(dialog, nullptr, FALSE) != 0;
    if (!found)
        EnumChildWindows(dialog, FindUnpainted, reinterpret_cast<LPARAM>(&found));
    return !found;
}

// Waits for the dialog of the owner thread to be visible, then for it to answer a message, then
// for it to have painted; then cancels it.
DWORD WINAPI WatchDialog(LPVOID param) {
    auto* watch = static_cast<Watch*>(param);
    double give = Now() + 30;
    while (Now() < give) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        HWND dialog = GetGUIThreadInfo(watch->ownerThread, &info) ? info.hwndActive : nullptr;
        if (dialog && IsWindowVisible(dialog) && GetDlgItem(dialog, IDCANCEL)) {
            DWORD_PTR result;
            if (SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &result)) {
                watch->shownAt = Now();
                while (!FullyPainted(dialog) && Now() < give)
                    Sleep(1);
                watch->paintedAt = Now();
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                return 0;
            }
        }
        Sleep(1);
    }
    return 1;
}

struct Times {
    double shown;   // visible and answering
    double painted; // and painted whole
};

bool g_itemDialog; // the Common Item Dialog rather than the classic one

// One dialog: seconds from the call until it was shown and answering, and until it was painted.
Times OpenOnce(const char* folder) {
    Watch watch = {GetCurrentThreadId(), 0, 0};
    HANDLE thread = CreateThread(nullptr, 0, WatchDialog, &watch, 0, nullptr);
    double start = Now();
    if (g_itemDialog)
        vnbench::ItemDialogOn(folder);
    else
        vnbench::OpenDialogOn(folder, "Text files (*.txt)\0*.txt\0All files\0*.*\0");
    WaitForSingleObject(thread, 35000);
    CloseHandle(thread);
    if (watch.shownAt <= 0)
        return {0, 0};
    return {watch.shownAt - start, watch.paintedAt - start};
}

void SetUpData(const std::string& data, const std::string& folder) {
    CreateDirectoryA(data.c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < 300; ++i) {
        std::string f = folder + "\\file" + std::to_string(i) + ".txt";
        HANDLE h = CreateFileA(f.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
    vnbench::UseDataFolder(data);
}

// Every list of this application and of all applications holds 100 entries; the newest folder
// is the benchmark's.
void FillLists(const char* module, const std::string& folder) {
    std::vector<std::string> files, folders;
    for (int i = 0; i < 100; ++i) {
        files.push_back(folder + "\\file" + std::to_string(i) + ".txt");
        // A folder is stored with its backslash: without it, it names a file of its parent.
        folders.push_back(folder + (i == 0 ? "\\" : "\\gone" + std::to_string(i) + "\\"));
    }
    std::vector<const char*> f, d;
    for (auto& s : files)
        f.push_back(s.c_str());
    for (auto& s : folders)
        d.push_back(s.c_str());
    for (const char* m : {module, static_cast<const char*>(nullptr)}) {
        vn::LoadAppLists(module);
        for (bool favorite : {false, true}) {
            vn::ReplaceList(m, favorite, false, f.data(), 100);
            vn::ReplaceList(m, favorite, true, d.data(), 100);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    int rounds = argc > 1 ? atoi(argv[1]) : 7;
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    *strrchr(self, '\\') = 0;
    std::string data = std::string(self) + "\\bench-data", folder = data + "\\files300";
    SetUpData(data, folder);
    HMODULE noopLib = LoadLibraryA("vnnoophook.dll");
    auto noopProc = noopLib ? reinterpret_cast<HOOKPROC>(
                                  reinterpret_cast<void*>(GetProcAddress(noopLib, "NoopCbtProc")))
                            : nullptr;
    if (!noopProc) {
        printf("cannot set the benchmark up\n");
        return 1;
    }
    std::string ini = data + "\\vantor.ini";
    g_itemDialog = argc > 2 && !strcmp(argv[2], "item");
    if (g_itemDialog && FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        printf("cannot set COM up\n");
        return 1;
    }
    for (int i = g_itemDialog ? 3 : 2; i < argc; ++i) {
        std::string pair = argv[i];
        size_t eq = pair.find('=');
        if (eq != std::string::npos)
            WritePrivateProfileStringA("Vantor 3", pair.substr(0, eq).c_str(),
                                       pair.substr(eq + 1).c_str(), ini.c_str());
    }
    SetupHookDLL(nullptr);
    FillLists("bench_dialog_open", folder);
    RemoveCBTFilter32();
    OpenOnce(folder.c_str()); // warm up the shell's caches

    constexpr int kConfigs = 4;
    const char* names[kConfigs] = {"no hook", "no-op CBT hook", "vnhook, dialog left alone",
                                   "vnhook, extended, full lists"};
    std::vector<double> shown[kConfigs], painted[kConfigs];
    auto once = [&](int config) {
        Times t = OpenOnce(folder.c_str());
        shown[config].push_back(t.shown);
        painted[config].push_back(t.painted);
    };
    for (int r = 0; r < rounds; ++r) {
        once(0);
        HHOOK hook = SetWindowsHookExA(WH_CBT, noopProc, noopLib, 0);
        once(1);
        UnhookWindowsHookEx(hook);
        InstallCBTFilter32();
        CommonEnabled(FALSE);
        once(2);
        CommonEnabled(TRUE);
        once(3);
        RemoveCBTFilter32();
    }
    printf("%s on 300 files, median of %d rounds, from the call until it is\n",
           g_itemDialog ? "Item dialog" : "Open dialog", rounds);
    printf("  %-30s %22s %22s\n", "", "shown and answering", "painted whole");
    double a = Median(shown[0]) * 1000, pa = Median(painted[0]) * 1000;
    for (int c = 0; c < kConfigs; ++c) {
        double s = Median(shown[c]) * 1000, p = Median(painted[c]) * 1000;
        printf("  %-30s %9.0f ms (%.2f x) %9.0f ms (%.2f x)\n", names[c], s, s / a, p, p / pa);
    }
    CleanUpHookDLL();
    return 0;
}
