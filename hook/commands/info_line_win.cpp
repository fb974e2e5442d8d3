#include "hook/commands/info_line_win.h"

#include "hook/commands/dialog_path_win.h"
#include "hook/commands/info_line.h"
#include "hook/core/path_rules.h"
#include "hook/core/shared_state_win.h"
#include "hook/core/text.h"
#include "hook/core/ui_win.h"

#include <cstring>

namespace vn {

namespace {

// The free space of a path's drive, as the line shows it; empty when it cannot be read.
void AppendFreeSpace(const char* path, char* line, size_t cap) {
    char drive[kMaxPath + 2];
    DrivePart(path, drive, kMaxPath);
    if (!drive[0])
        return;
    size_t n = strlen(drive);
    if (drive[n - 1] != '\\')
        AppendText(drive, sizeof drive, "\\");
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExA(drive, &available, nullptr, nullptr))
        return;
    LibraryCaptions captions;
    char text[160];
    size_t length = FreeSpaceText(available.QuadPart, captions, text, sizeof text);
    if (length && strlen(line) + length < cap)
        AppendText(line, cap, text);
}

// The file part of the line for an existing file; false when there is none to describe.
bool DescribeFile(const char* path, bool fullPath, char* line, size_t limit) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(path, &found);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    FindClose(find);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return false;
    FILETIME local;
    SYSTEMTIME when = {};
    char date[17] = "", time[17] = "";
    if (FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) &&
        FileTimeToSystemTime(&local, &when)) {
        if (!GetDateFormatA(0, DATE_SHORTDATE, &when, nullptr, date, sizeof date))
            date[0] = 0;
        if (!GetTimeFormatA(0, TIME_NOSECONDS, &when, nullptr, time, sizeof time))
            time[0] = 0;
    }
    found.cFileName[sizeof found.cFileName - 1] = 0;
    FileFacts facts = {fullPath ? path : found.cFileName,
                       (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow,
                       date,
                       time,
                       (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0,
                       (found.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0,
                       (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0};
    LibraryCaptions captions;
    FileInfoLine(facts, captions, line, limit);
    return true;
}

} // namespace

void RebuildInfoLine(HWND dialog, const DialogRecord& r) {
    HWND control = r.added[kInfoLine] ? ToHwnd(r.added[kInfoLine]) : nullptr;
    const SharedState* s = Shared();
    if (!control || !IsWindow(control) || !s)
        return;
    char line[kInfoLineSize] = "";
    char path[kMaxPath + 1], typed[kMaxPath + 1] = "";
    if (ReadSelectedPath(dialog, path, sizeof path) && r.fonts.extraFont) {
        GetDlgItemTextA(dialog, r.fileNameControlId, typed, sizeof typed);
        char file[kInfoLineSize];
        CopyText(file, sizeof file, typed);
        // A network name typed into the box is not looked up: that may take the network's time.
        if (!(typed[0] == '\\' && typed[1] == '\\') &&
            DescribeFile(path, s->settings.showInfoFullPath != 0, file, kInfoLineLimit)) {
            DoubleAmpersands(line, kInfoLineLimit, file);
            AppendFreeSpace(path, line, sizeof line);
        }
    }
    if (!line[0]) {
        char folder[kMaxPath + 1];
        if (ReadDialogFolder(dialog, folder, sizeof folder)) {
            DoubleAmpersands(line, sizeof line, folder);
            AppendFreeSpace(folder, line, sizeof line);
        }
    }
    SetWindowTextA(control, line);
}

} // namespace vn
