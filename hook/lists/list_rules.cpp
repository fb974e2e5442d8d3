#include "hook/lists/list_rules.h"

#include "hook/core/text.h"

#include <cstring>

namespace vn {

bool IsMask(const char* text) {
    return text && (strchr(text, '*') || strchr(text, '?'));
}

size_t FolderOf(const char* path, char* out, size_t cap) {
    if (!out || cap == 0)
        return 0;
    out[0] = 0;
    if (!path)
        return 0;
    const char* end = nullptr;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == ':')
            end = p;
    if (!end)
        return 0;
    return CopyField(out, cap, path, static_cast<size_t>(end - path) + 1);
}

// Agreement is counted over the shorter text after lower-casing. Stepping back from the first
// difference to a backslash finds the deepest folder both share; the path is relative to base
// only when that folder is base itself. A path on another drive keeps everything; one that shares
// only part of the folder loses just its drive letter and colon; a network path has none to
// lose and is shown whole rather than with its leading "\\" cut off.
const char* MakeRelativePath(const char* path, const char* baseOrNull) {
    if (!path)
        return "";
    if (!baseOrNull || !path[0])
        return path;
    size_t pathLen = strlen(path);
    size_t baseLen = strlen(baseOrNull);
    size_t shorter = pathLen < baseLen ? pathLen : baseLen;
    size_t agree = 0;
    while (agree < shorter && FoldCase(path[agree]) == FoldCase(baseOrNull[agree]))
        ++agree;
    if (agree == 0)
        return path;
    size_t i = agree;
    while (i > 0 && path[i] != '\\')
        --i;
    if (path[i] == '\\' && i == baseLen)
        return path + i + 1;
    if (pathLen >= 2 && path[1] == ':')
        return path + 2;
    return path;
}

const char* DisplayForm(const char* entry, bool favorite, bool paths, int recentPathOption,
                        const char* baseOrNull) {
    if (!entry)
        return "";
    if (paths || (favorite && IsMask(entry)))
        return entry;
    switch (recentPathOption) {
    case kShowNameOnly:
        return FileNamePart(entry);
    case kShowRelativePath:
        return MakeRelativePath(entry, baseOrNull);
    default:
        return entry;
    }
}

bool MayWaitOnNetwork(const char* path, unsigned driveType) {
    if (!path)
        return false;
    return (path[0] == '\\' && path[1] == '\\') || driveType == kDriveRemote;
}

char DriveLetterOf(const char* path) {
    if (!path || !path[0])
        return 0;
    char c = path[0];
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsWinZipScratch(const char* module, const char* path) {
    if (!module || !path || strcmp(module, kWinZipModule) != 0)
        return false;
    size_t n = strlen(path);
    size_t tail = strlen(kWinZipScratchName);
    return n >= tail && strcmp(path + n - tail, kWinZipScratchName) == 0;
}

ChosenRecord ClassifyChosenPath(const char* path, const char* module, const RecordOptions& options,
                                unsigned driveType) {
    if (!path || !path[0])
        return ChosenRecord::kNothing;
    bool folderChoice = strstr(path, kFolderPickHint) != nullptr;
    if (IsMask(path))
        return ChosenRecord::kNothing;
    if (options.dontSaveRemovable && driveType == kDriveRemovable)
        return ChosenRecord::kNothing;
    bool network = (path[0] == '\\' && path[1] == '\\') || (path[0] == '/' && path[1] == '/');
    if (options.dontSaveRemote && (driveType == kDriveRemote || network))
        return ChosenRecord::kNothing;
    if (IsWinZipScratch(module, path))
        return ChosenRecord::kNothing;
    return folderChoice ? ChosenRecord::kFolderOnly : ChosenRecord::kFileAndFolder;
}

void SanitizeIniText(char* text, bool forKey) {
    if (!text)
        return;
    for (char* p = text; *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        if (c < 0x20 || c == 0x7F)
            *p = ' ';
        else if (forKey && c == '=')
            *p = '-';
        else if (forKey && c == '[')
            *p = '(';
        else if (forKey && c == ']')
            *p = ')';
    }
}

} // namespace vn
