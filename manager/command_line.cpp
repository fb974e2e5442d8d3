#include "manager/command_line.h"

#include "hook/core/text.h"

#include <cstring>

namespace vn {

namespace {

// Copies the next argument of *p into arg and advances *p past it. Returns false at the end.
bool NextArgument(const char** p, char* arg, size_t cap) {
    const char* s = *p;
    while (*s == ' ' || *s == '\t')
        ++s;
    if (!*s) {
        *p = s;
        return false;
    }
    size_t n = 0;
    bool quoted = false;
    for (; *s && (quoted || (*s != ' ' && *s != '\t')); ++s) {
        if (*s == '"') {
            quoted = !quoted;
            continue;
        }
        if (n + 1 < cap)
            arg[n++] = *s;
    }
    arg[n] = 0;
    *p = s;
    return true;
}

bool IsSwitch(const char* arg, const char* name) {
    return (arg[0] == '/' || arg[0] == '-') && strlen(arg + 1) == strlen(name) &&
           CompareNoCase(arg + 1, name, strlen(name)) == 0;
}

} // namespace

StartRequest ParseCommandLine(const char* arguments) {
    StartRequest request = {};
    request.mode = StartMode::kRun;
    const char* p = arguments ? arguments : "";
    char arg[kPathSize + 2];
    if (!NextArgument(&p, arg, sizeof arg))
        return request;
    if (IsSwitch(arg, "quit")) {
        request.mode = NextArgument(&p, arg, sizeof arg) ? StartMode::kUsage : StartMode::kQuit;
        return request;
    }
    if (!IsSwitch(arg, "install")) {
        request.mode = StartMode::kUsage;
        return request;
    }
    request.mode = StartMode::kInstall;
    if (NextArgument(&p, arg, sizeof arg)) {
        // A folder longer than a path can be is refused rather than cut to another folder.
        if (arg[0] == '/' || arg[0] == '-' || !arg[0] || strlen(arg) >= kPathSize - 4) {
            request.mode = StartMode::kUsage;
            return request;
        }
        CopyText(request.dataFolder, sizeof request.dataFolder, arg);
        if (NextArgument(&p, arg, sizeof arg))
            request.mode = StartMode::kUsage;
    }
    return request;
}

InstallFolderError InstallFolders(const char* programPath, const char* appData,
                                  const char* requested, char* programFolder, char* dataFolder) {
    programFolder[0] = 0;
    dataFolder[0] = 0;
    const char* slash = programPath ? strrchr(programPath, '\\') : nullptr;
    if (!slash || slash == programPath)
        return InstallFolderError::kNoProgramFolder;
    size_t length = static_cast<size_t>(slash - programPath);
    if (length >= kPathSize - 4)
        return InstallFolderError::kNoProgramFolder;
    memcpy(programFolder, programPath, length);
    programFolder[length] = 0;
    if (length == 2 && programFolder[1] == ':')
        AppendText(programFolder, kPathSize, "\\"); // the root of a drive

    char data[kPathSize * 2] = "";
    if (requested && requested[0]) {
        CopyText(data, sizeof data, requested);
    } else {
        if (!appData || !appData[0])
            return InstallFolderError::kNoDataFolder;
        JoinPath(data, sizeof data, appData, kDataFolderName);
    }
    // One trailing backslash is dropped, as the library does when it tests the folder; the
    // root of a drive keeps its own.
    size_t dl = strlen(data);
    if (dl > 3 && data[dl - 1] == '\\')
        data[--dl] = 0;
    if (dl > kMaxDataFolderLength)
        return InstallFolderError::kDataFolderTooLong;
    CopyText(dataFolder, kPathSize, data);
    return InstallFolderError::kNone;
}

} // namespace vn
