// What the benchmark programs share: a clock in seconds, the median of the rounds, and the Open
// dialog they open.
#pragma once

#include <windows.h>

#include <commdlg.h>

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

} // namespace vnbench
