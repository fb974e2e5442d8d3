#include "manager/install_win.h"

#include "manager/command_line.h"
#include "manager/resource.h"
#include "manager/ui_win.h"

#include "hook/core/settings.h"

#include <shlobj.h>

#include <cstring>

namespace vn {

namespace {

// The user's application data folder: %APPDATA% when set, else the shell's folder for it.
void ApplicationDataFolder(char* buf, DWORD size) {
    DWORD n = GetEnvironmentVariableA("APPDATA", buf, size);
    if (n > 0 && n < size)
        return;
    buf[0] = 0;
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, buf)))
        buf[0] = 0;
}

bool IsFolder(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates folder and every missing folder above it.
bool MakeFolder(const char* folder) {
    if (IsFolder(folder))
        return true;
    char path[kPathSize];
    strncpy(path, folder, sizeof path - 1);
    path[sizeof path - 1] = 0;
    for (char* p = path; *p; ++p) {
        // Skip the drive ("C:\") and the server and share of a network path.
        if (*p != '\\' || p == path || p[-1] == ':' || p[-1] == '\\')
            continue;
        *p = 0;
        if (!IsFolder(path))
            CreateDirectoryA(path, nullptr);
        *p = '\\';
    }
    CreateDirectoryA(path, nullptr);
    return IsFolder(path);
}

bool WriteFolderValues(const char* programFolder, const char* dataFolder) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kRegistryKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    bool ok =
        RegSetValueExA(key, kRegProgramPath, 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(programFolder),
                       static_cast<DWORD>(strlen(programFolder) + 1)) == ERROR_SUCCESS &&
        RegSetValueExA(key, kRegDataPath, 0, REG_SZ, reinterpret_cast<const BYTE*>(dataFolder),
                       static_cast<DWORD>(strlen(dataFolder) + 1)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

int Fail(const char* what) {
    FormattedMessageBox(nullptr, IDS_INSTALL_FAILED, 0, what, MB_OK | MB_ICONERROR);
    return 1;
}

} // namespace

int InstallForUser(const char* requestedDataFolder) {
    char programPath[kMaxPath + 1];
    DWORD n = GetModuleFileNameA(nullptr, programPath, sizeof programPath);
    if (n == 0 || n >= sizeof programPath)
        return Fail("the program's own path");

    // A folder given on the command line is taken relative to the current directory.
    char requested[kPathSize] = "";
    if (requestedDataFolder && requestedDataFolder[0]) {
        DWORD r = GetFullPathNameA(requestedDataFolder, sizeof requested, requested, nullptr);
        if (r == 0 || r >= sizeof requested)
            return Fail(requestedDataFolder);
    }
    char appData[kPathSize];
    ApplicationDataFolder(appData, sizeof appData);

    char programFolder[kPathSize], dataFolder[kPathSize];
    switch (InstallFolders(programPath, appData, requested, programFolder, dataFolder)) {
    case InstallFolderError::kNone:
        break;
    case InstallFolderError::kNoProgramFolder:
        return Fail(programPath);
    case InstallFolderError::kNoDataFolder:
        return Fail("%APPDATA%");
    case InstallFolderError::kDataFolderTooLong:
        return Fail(requested[0] ? requested : appData);
    }
    if (!MakeFolder(dataFolder))
        return Fail(dataFolder);
    if (!WriteFolderValues(programFolder, dataFolder))
        return Fail(kRegistryKey);
    return 0;
}

} // namespace vn
