// How long a standard Open dialog on a folder of 300 files takes from the call of
// GetOpenFileNameA until it is visible and answers a message: with no hook, with a global CBT
// hook that does nothing, with vnhook installed but leaving the dialog alone, and with vnhook
// extending it while all its recent and favourite lists hold 100 entries. The configurations
// take turns within one run; the medians and their ratios are printed.
//
//   bench_dialog_open [rounds [KEY=VALUE ...]]   (default 7 rounds)
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
#include <string>
#include <vector>

namespace {

using vnbench::Median;
using vnbench::Now;

struct Watch {
    DWORD ownerThread;
    volatile double shownAt;
};

// Waits for the dialog of the owner thread to be visible, then for it to answer a message; then
// cancels it.
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
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                return 0;
            }
        }
        Sleep(1);
    }
    return 1;
}

// One dialog: seconds from the call until it was shown and answering.
double OpenOnce(const char* folder) {
    Watch watch = {GetCurrentThreadId(), 0};
    HANDLE thread = CreateThread(nullptr, 0, WatchDialog, &watch, 0, nullptr);
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = "Text files (*.txt)\0*.txt\0All files\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = folder;
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
    double start = Now();
    GetOpenFileNameA(&ofn);
    WaitForSingleObject(thread, 35000);
    CloseHandle(thread);
    return watch.shownAt > 0 ? watch.shownAt - start : 0;
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
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orvelle Software\\Vantor", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, "Data Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>(data.size() + 1));
        RegCloseKey(key);
    }
}

// Every list of this application and of all applications holds 100 entries; the newest folder
// is the benchmark's.
void FillLists(const char* module, const std::string& folder) {
    std::vector<std::string> files, folders;
    for (int i = 0; i < 100; ++i) {
        files.push_back(folder + "\\file" + std::to_string(i) + ".txt");
        folders.push_back(i == 0 ? folder : folder + "\\gone" + std::to_string(i));
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
    for (int i = 2; i < argc; ++i) {
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

    std::vector<double> none, noop, passive, extended;
    for (int r = 0; r < rounds; ++r) {
        none.push_back(OpenOnce(folder.c_str()));
        HHOOK hook = SetWindowsHookExA(WH_CBT, noopProc, noopLib, 0);
        noop.push_back(OpenOnce(folder.c_str()));
        UnhookWindowsHookEx(hook);
        InstallCBTFilter32();
        CommonEnabled(FALSE);
        passive.push_back(OpenOnce(folder.c_str()));
        CommonEnabled(TRUE);
        extended.push_back(OpenOnce(folder.c_str()));
        RemoveCBTFilter32();
    }
    double a = Median(none) * 1000, b = Median(noop) * 1000, c = Median(passive) * 1000,
           d = Median(extended) * 1000;
    printf("Open dialog on 300 files, call to shown and answering (median of %d rounds):\n",
           rounds);
    printf("  no hook                     %7.0f ms\n", a);
    printf("  no-op CBT hook              %7.0f ms  (%.2f x)\n", b, b / a);
    printf("  vnhook, dialog left alone   %7.0f ms  (%.2f x)\n", c, c / a);
    printf("  vnhook, extended, full lists %6.0f ms  (%.2f x)\n", d, d / a);
    CleanUpHookDLL();
    return 0;
}
