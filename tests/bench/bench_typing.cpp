// What the information line costs the user who types into the file name box. A standard Open
// dialog is opened on a folder; a second thread types "typed.txt" and nine backspaces into its
// name box, over and over, as key messages. The dialog's thread watches every message it takes
// from its queue, so the time each key and each rebuild of the line took is the time until it
// took the next one (the keys are queued faster than they are handled, so the queue never runs
// dry in between). Three configurations take turns within one run: no hook, the extended dialog
// without the line, and with it; the medians are printed.
//
//   bench_typing [rounds [keys]]   (default 5 rounds of 400 keys)
#include <windows.h>

#include "hook/core/messages.h"
#include "hook/takeover/vnhook_api.h"
#include "tests/bench/bench_support.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using vnbench::Median;
using vnbench::Now;

// What the dialog's thread took from its queue, and how long the previous message took.
struct Taken {
    UINT previous = 0;
    double previousAt = 0;
    std::vector<double> keys, rebuilds;
    bool recording = false;
    std::string line; // the information line at the end
};
Taken g_taken;

LRESULT CALLBACK WatchQueue(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE && g_taken.recording) {
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        double now = Now();
        if (g_taken.previous == WM_CHAR)
            g_taken.keys.push_back(now - g_taken.previousAt);
        else if (g_taken.previous == vn::MSG_REFRESH_INFO_LINE)
            g_taken.rebuilds.push_back(now - g_taken.previousAt);
        g_taken.previous = msg->message;
        g_taken.previousAt = now;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The edit field of the dialog's file name box: Wine's box is a combo box, older dialogs' an
// edit.
HWND NameEdit(HWND dialog) {
    HWND box = GetDlgItem(dialog, 1148);
    if (!box)
        return GetDlgItem(dialog, 1152);
    HWND combo = FindWindowExA(box, nullptr, "ComboBox", nullptr);
    HWND edit = FindWindowExA(combo ? combo : box, nullptr, "Edit", nullptr);
    return edit ? edit : box;
}

struct Typist {
    DWORD ownerThread;
    int keys;
};

// Finds the dialog of the owner thread, types into its name box, lets the queue drain and
// cancels the dialog.
DWORD WINAPI Type(LPVOID param) {
    auto* typist = static_cast<Typist*>(param);
    double give = Now() + 30;
    HWND dialog = vnbench::WaitForDialogOf(typist->ownerThread, 30);
    if (!dialog)
        return 1;
    Sleep(500); // the dialog's own start-up work is done
    HWND edit = NameEdit(dialog);
    const char word[] = "typed.txt";
    g_taken.recording = true;
    for (int i = 0; i < typist->keys; ++i) {
        int inWord = i % 18;
        WPARAM key = inWord < 9 ? static_cast<WPARAM>(word[inWord]) : VK_BACK;
        PostMessageA(edit, WM_CHAR, key, 1);
    }
    DWORD_PTR result;
    while (Now() < give) {
        Sleep(200);
        size_t handled = g_taken.keys.size() + g_taken.rebuilds.size();
        Sleep(200);
        if (handled == g_taken.keys.size() + g_taken.rebuilds.size() &&
            SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &result))
            break;
    }
    g_taken.recording = false;
    g_taken.line.clear();
    for (HWND c = FindWindowExA(dialog, nullptr, "Static", nullptr); c;
         c = FindWindowExA(dialog, c, "Static", nullptr)) {
        char text[700] = "";
        if (!GetDlgCtrlID(c) && IsWindowVisible(c) && GetWindowTextA(c, text, sizeof text))
            g_taken.line = text;
    }
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return 0;
}

struct Costs {
    double key, rebuild; // medians, seconds
    size_t keys, rebuilds;
};

Costs TypeOnce(const char* folder, int keys) {
    g_taken = Taken();
    Typist typist = {GetCurrentThreadId(), keys};
    HHOOK watch = SetWindowsHookExA(WH_GETMESSAGE, WatchQueue, nullptr, GetCurrentThreadId());
    HANDLE thread = CreateThread(nullptr, 0, Type, &typist, 0, nullptr);
    vnbench::OpenDialogOn(folder, "Text files (*.txt)\0*.txt\0All files\0*.*\0");
    WaitForSingleObject(thread, 35000);
    CloseHandle(thread);
    UnhookWindowsHookEx(watch);
    if (!g_taken.line.empty())
        printf("    the line: %s\n", g_taken.line.c_str());
    return {Median(g_taken.keys), Median(g_taken.rebuilds), g_taken.keys.size(),
            g_taken.rebuilds.size()};
}

void SetUpData(const std::string& data, const std::string& folder) {
    CreateDirectoryA(data.c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    HANDLE h = CreateFileA((folder + "\\typed.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                           CREATE_ALWAYS, 0, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        DWORD written;
        WriteFile(h, "some text", 9, &written, nullptr);
        CloseHandle(h);
    }
    vnbench::UseDataFolder(data);
}

} // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    int rounds = argc > 1 ? atoi(argv[1]) : 5;
    int keys = argc > 2 ? atoi(argv[2]) : 400;
    std::string data = vnbench::ProgramFolder() + "\\bench-typing-data", folder = data + "\\typing";
    DeleteFileA((data + "\\vantor.ini").c_str()); // the defaults, but for the line
    SetUpData(data, folder);
    std::string ini = data + "\\vantor.ini";
    SetupHookDLL(vnbench::MakeManagerStandIn("bench_typing manager"));
    RemoveCBTFilter32();

    constexpr int kConfigs = 3;
    const char* names[kConfigs] = {"no hook", "extended, no information line",
                                   "extended, information line"};
    std::vector<double> key[kConfigs], rebuild[kConfigs];
    size_t rebuilds[kConfigs] = {};
    auto once = [&](int config) {
        Costs c = TypeOnce(folder.c_str(), keys);
        key[config].push_back(c.key);
        rebuild[config].push_back(c.rebuild);
        rebuilds[config] += c.rebuilds;
    };
    TypeOnce(folder.c_str(), 20); // warm up the shell's caches
    for (int r = 0; r < rounds; ++r) {
        once(0);
        InstallCBTFilter32();
        WritePrivateProfileStringA("Vantor 3", "Show Info Line", "0", ini.c_str());
        vnbench::SettingsChanged();
        once(1);
        WritePrivateProfileStringA("Vantor 3", "Show Info Line", "1", ini.c_str());
        vnbench::SettingsChanged();
        once(2);
        RemoveCBTFilter32();
    }
    printf("Typing %d keys into the name box of an Open dialog, median of %d rounds\n", keys,
           rounds);
    printf("  %-32s %14s %24s\n", "", "per key", "per rebuild of the line");
    double base = Median(key[0]) * 1000;
    for (int c = 0; c < kConfigs; ++c) {
        double k = Median(key[c]) * 1000, b = Median(rebuild[c]) * 1000;
        printf("  %-32s %8.3f ms (%.2f x) %10.3f ms (%zu rebuilds)\n", names[c], k, k / base, b,
               rebuilds[c]);
    }
    CleanUpHookDLL();
    return 0;
}
