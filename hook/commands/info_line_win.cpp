#include "hook/commands/info_line_win.h"

#include "hook/commands/dialog_path_win.h"
#include "hook/commands/info_line.h"
#include "hook/core/control_ids.h"
#include "hook/core/messages.h"
#include "hook/core/path_rules.h"
#include "hook/core/shared_state_win.h"
#include "hook/core/text.h"
#include "hook/core/ui_win.h"

#include <cstring>

namespace vn {

namespace {

// The free-space part last read from a network drive, shown again while the user types (a
// network drive may keep a query waiting). One per process: dialogs of one process mostly look
// at one drive at a time, and a stale figure is only shown until the next rebuild that asks.
struct RememberedFreeSpace {
    char drive[kMaxPath + 2];
    char text[160];
};
RememberedFreeSpace g_networkFreeSpace;

bool IsNetworkDrive(const char* root) {
    return (root[0] == '\\' && root[1] == '\\') || GetDriveTypeA(root) == DRIVE_REMOTE;
}

// The free space of a path's drive, as the line shows it; nothing when it cannot be read.
void AppendFreeSpace(const char* path, bool typing, char* line, size_t cap) {
    char drive[kMaxPath + 2];
    DrivePart(path, drive, kMaxPath);
    if (!drive[0])
        return;
    size_t n = strlen(drive);
    if (drive[n - 1] != '\\')
        AppendText(drive, sizeof drive, "\\");
    bool network = IsNetworkDrive(drive);
    RememberedFreeSpace& kept = g_networkFreeSpace;
    bool remembered = kept.text[0] && !CompareNoCase(kept.drive, drive, sizeof kept.drive);
    char text[sizeof kept.text] = "";
    switch (ChooseFreeSpaceSource(network, typing, remembered)) {
    case FreeSpaceSource::kNone:
        return;
    case FreeSpaceSource::kRemembered:
        CopyText(text, sizeof text, kept.text);
        break;
    case FreeSpaceSource::kAsk: {
        ULARGE_INTEGER available;
        if (!GetDiskFreeSpaceExA(drive, &available, nullptr, nullptr))
            return;
        LibraryCaptions captions;
        if (!FreeSpaceText(available.QuadPart, captions, text, sizeof text))
            return;
        if (network) {
            CopyText(kept.drive, sizeof kept.drive, drive);
            CopyText(kept.text, sizeof kept.text, text);
        }
        break;
    }
    }
    if (strlen(line) + strlen(text) < cap)
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

void RebuildInfoLine(HWND dialog, const DialogRecord& r, bool typing) {
    HWND control = r.added[kInfoLine] ? ToHwnd(r.added[kInfoLine]) : nullptr;
    const SharedState* s = Shared();
    if (!control || !IsWindow(control) || !s)
        return;
    // While the dialog changes folders it has no file view for a moment and answers nothing
    // sound; the line keeps what it said until the new view is there and asks again.
    if (!HasFileView(dialog))
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
            AppendFreeSpace(path, typing, line, sizeof line);
        }
    }
    if (!line[0]) {
        char folder[kMaxPath + 1];
        if (ReadDialogFolder(dialog, folder, sizeof folder)) {
            DoubleAmpersands(line, sizeof line, folder);
            AppendFreeSpace(folder, typing, line, sizeof line);
        }
    }
    SetWindowTextA(control, line);
}

void PostInfoLineRefresh(HWND dialog, DialogRecord& r, bool typing) {
    if (!typing)
        r.session.infoRefreshAsks = 1;
    if (r.session.infoRefreshPending)
        return;
    r.session.infoRefreshPending = PostMessageA(dialog, MSG_REFRESH_INFO_LINE, 0, 0) ? 1 : 0;
}

void OnInfoLineRefresh(HWND dialog, DialogRecord& r) {
    bool typing = !r.session.infoRefreshAsks;
    r.session.infoRefreshPending = 0;
    r.session.infoRefreshAsks = 0;
    RebuildInfoLine(dialog, r, typing);
}

} // namespace vn
