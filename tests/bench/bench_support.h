// What the benchmark programs share: a clock in seconds, the median of the rounds, the Open
// dialog they open and the window that stands in for the manager.
#pragma once

#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "hook/core/messages.h"

#include <algorithm>
#include <string>
#include <vector>

namespace vnbench {

inline double Now() {
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Opens the standard Open dialog on folder, explorer-style, showing the filter's files; true when
// a file was chosen.
inline bool OpenDialogOn(const char* folder, const char* filter) {
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = folder;
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
    return GetOpenFileNameA(&ofn) != 0;
}

// Opens the Common Item Dialog (IFileOpenDialog) on folder with the filter's two types; true when
// a file was chosen. COM is set up by the caller.
inline bool ItemDialogOn(const char* folder) {
    IFileOpenDialog* dialog = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IFileOpenDialog, reinterpret_cast<void**>(&dialog))))
        return false;
    const COMDLG_FILTERSPEC types[] = {{L"Text files (*.txt)", L"*.txt"}, {L"All files", L"*.*"}};
    dialog->SetFileTypes(2, types);
    wchar_t wide[MAX_PATH] = L"";
    IShellItem* item = nullptr;
    if (MultiByteToWideChar(CP_ACP, 0, folder, -1, wide, MAX_PATH) &&
        SUCCEEDED(SHCreateItemFromParsingName(wide, nullptr, IID_IShellItem,
                                              reinterpret_cast<void**>(&item)))) {
        dialog->SetFolder(item);
        item->Release();
    }
    bool chosen = SUCCEEDED(dialog->Show(nullptr));
    dialog->Release();
    return chosen;
}

// Points the library's settings and lists at data (the "Data Path" the manager would set).
inline void UseDataFolder(const std::string& data) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Orvelle Software\\Vantor", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, "Data Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>(data.size() + 1));
        RegCloseKey(key);
    }
}

// The folder of the running program, where a benchmark keeps its data.
inline std::string ProgramFolder() {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string folder = self;
    return folder.substr(0, folder.find_last_of('\\'));
}

// The manager's settings serial tells the library to read the settings file again: a benchmark
// that changes the file between configurations calls SettingsChanged after each change.
inline LONG g_settingsSerial = 1;

inline void SettingsChanged() {
    ++g_settingsSerial;
}

inline LRESULT CALLBACK SerialManagerProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == vn::MSG_SETTINGS_SERIAL)
        return g_settingsSerial;
    return DefWindowProcA(window, msg, wParam, lParam);
}

// A message-only window that answers the settings serial as the manager would; named name.
inline HWND MakeManagerStandIn(const char* name) {
    WNDCLASSA manager = {};
    manager.lpfnWndProc = SerialManagerProc;
    manager.lpszClassName = name;
    RegisterClassA(&manager);
    return CreateWindowA(name, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

// The standard dialog that the thread owner shows, once it is shown and answers; null after
// seconds without one.
inline HWND WaitForDialogOf(DWORD owner, double seconds) {
    double give = Now() + seconds;
    while (Now() < give) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        HWND active = GetGUIThreadInfo(owner, &info) ? info.hwndActive : nullptr;
        DWORD_PTR result;
        if (active && IsWindowVisible(active) && GetDlgItem(active, IDCANCEL) &&
            SendMessageTimeoutA(active, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &result))
            return active;
        Sleep(5);
    }
    return nullptr;
}

} // namespace vnbench
