#include "hook/commands/find_win.h"

#include "hook/commands/dialog_path_win.h"
#include "hook/commands/find_system_win.h"
#include "hook/commands/find_walk.h"
#include "hook/core/dialog_record.h"
#include "hook/core/messages.h"
#include "hook/core/path_rules.h"
#include "hook/core/process_win.h"
#include "hook/core/text.h"
#include "hook/core/ui_win.h"
#include "hook/resources/resource.h"

#include <cstring>

namespace vn {

namespace {

constexpr DWORD kFindHelp = 1031;
constexpr size_t kStatusSize = 261;
constexpr size_t kOutcomeSize = 500;
constexpr size_t kDriveCaptionSize = 180;
constexpr size_t kShownFolderSize = 200;
constexpr int kSearchingSize = 80;

// The exchange with FindCommand: in, the dialog's folder, a zero, then the first masks; out, the
// chosen line. It holds a whole found line, so that Use File never cuts a path.
struct Exchange {
    char text[kFindNameSize + 1 + kFindNameSize];
};

// The one search box of the process. The walk reaches the box and the dialog through the
// window handles only, checking after every pump that they still exist.
struct FindBoxState {
    Exchange* exchange;
    HWND dialog;
    HWND box;
    HWND status;
    uint32_t searching;
};
FindBoxState g_find;

const char* DialogFolder() {
    return g_find.exchange->text;
}

void ShowStatus(const char* text) {
    SetWindowTextA(g_find.status, text);
}

// "Searching: ..." with a path, in a text of limit characters.
void ShowSearching(const char* path, size_t limit) {
    char format[kSearchingSize] = "", status[kStatusSize];
    LoadLibraryString(IDS_FIND_SEARCHING, format, sizeof format);
    FillMessage(status, limit < sizeof status ? limit + 1 : sizeof status, format, nullptr, path);
    ShowStatus(status);
}

// The search box's side of the walk: its message pump and its status line.
class WindowsFindSystem final : public Win32FindFiles {
  public:
    // Every pending message of the thread, so that the box and the application stay alive.
    bool StopRequested() override {
        if (!PumpDue())
            return false;
        MSG msg;
        bool stop = false;
        while (!stop && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // Meant for the application's own loop: leave it there and end the search.
                PostQuitMessage(static_cast<int>(msg.wParam));
                stop = true;
            } else if ((msg.message == MSG_FIND_STOP && msg.hwnd == g_find.box) ||
                       (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)) {
                stop = true;
            } else {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        // The dialog may have ended, taking the box with it, while its messages were handled.
        return stop || !IsWindow(g_find.box) || !IsWindow(g_find.dialog);
    }
    void ShowFolder(const char* folder) override {
        ShowSearching(folder, kShownFolderSize);
        UpdateWindow(g_find.box);
    }
};

// One root: a folder, or a folder whose last part is a mask. Nothing here changes the
// process's current directory; relative roots are made absolute against it.
WalkResult SearchRoot(HWND box, const char* root, const char* masksField) {
    char folder[kFindNameSize], masks[kStatusSize];
    CopyText(folder, sizeof folder, root);
    CopyText(masks, sizeof masks, masksField);
    char absolute[kFindNameSize];
    if (RootNeedsFolderTest(root)) {
        DWORD n = GetFullPathNameA(root, sizeof absolute, absolute, nullptr);
        if (n == 0 || n >= sizeof absolute || !IsExistingFolder(absolute))
            CutRootToMask(root, masksField, folder, sizeof folder, masks, sizeof masks);
    }
    DWORD n = GetFullPathNameA(folder[0] ? folder : ".", sizeof absolute, absolute, nullptr);
    if (n == 0 || n >= sizeof absolute)
        return WalkResult::kError;
    WindowsFindSystem system;
    FolderWalk walk(system, absolute, masks);
    if (!walk.Valid())
        return WalkResult::kError;
    HWND list = GetDlgItem(box, IDC_FIND_FOUND);
    FindEntry entry;
    WalkResult result;
    while ((result = walk.Next(&entry)) == WalkResult::kEntry) {
        char line[kFindLineSize];
        FormatFoundLine(entry, line, sizeof line);
        if (SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line)) == LB_ERRSPACE)
            return WalkResult::kListFull;
        UpdateWindow(box);
    }
    return result;
}

void MakeDefault(HWND box, int from, int to) {
    SendDlgItemMessageA(box, from, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    SendMessageA(box, DM_SETDEFID, static_cast<WPARAM>(to), 0);
    SendDlgItemMessageA(box, to, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

bool HasFoundSelection(HWND box) {
    return SendDlgItemMessageA(box, IDC_FIND_FOUND, LB_GETCURSEL, 0, 0) != LB_ERR;
}

void OfferUseFile(HWND box) {
    EnableWindow(GetDlgItem(box, IDOK), TRUE);
    MakeDefault(box, IDC_FIND_SEARCH, IDOK);
}

// The selected lines of the drive list; count of them, at most 26.
int SelectedDrives(HWND box, int* lines) {
    LRESULT count = SendDlgItemMessageA(box, IDC_FIND_DRIVES, LB_GETSELCOUNT, 0, 0);
    if (count <= 0)
        return 0;
    if (count > 26)
        count = 26;
    LRESULT got = SendDlgItemMessageA(box, IDC_FIND_DRIVES, LB_GETSELITEMS,
                                      static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(lines));
    return got < 0 ? 0 : static_cast<int>(got);
}

void DriveText(HWND box, int line, char* out) {
    char text[16] = "";
    if (SendDlgItemMessageA(box, IDC_FIND_DRIVES, LB_GETTEXTLEN, static_cast<WPARAM>(line), 0) <
        static_cast<LRESULT>(sizeof text))
        SendDlgItemMessageA(box, IDC_FIND_DRIVES, LB_GETTEXT, static_cast<WPARAM>(line),
                            reinterpret_cast<LPARAM>(text));
    out[0] = text[0];
    out[1] = text[0] ? text[1] : 0;
    out[2] = 0;
}

void CaptionSelectedDrives(HWND box) {
    int lines[26];
    int count = SelectedDrives(box, lines);
    char drives[kDriveCaptionSize] = "";
    for (int i = 0; i < count; ++i) {
        char drive[3];
        DriveText(box, lines[i], drive);
        const char part[] = {drive[0], ':', ' ', ' ', 0};
        AppendText(drives, sizeof drives, part);
    }
    char format[kDriveCaptionSize] = "", caption[kDriveCaptionSize];
    LoadLibraryString(IDS_FIND_DRIVES, format, sizeof format);
    FillMessage(caption, sizeof caption, format, nullptr, drives);
    SetDlgItemTextA(box, IDC_FIND_IN_DRIVES, caption);
}

void EnableForSearch(HWND box, bool searching) {
    static const int kIdle[] = {IDC_FIND_MASKS,    IDC_FIND_DRIVES,    IDC_FIND_SEARCH,
                                IDC_FIND_IN_DRIVE, IDC_FIND_IN_DRIVES, IDC_FIND_IN_FOLDERS,
                                IDCANCEL};
    for (int id : kIdle)
        EnableWindow(GetDlgItem(box, id), !searching);
    EnableWindow(GetDlgItem(box, IDC_FIND_STOP), searching);
    if (searching)
        EnableWindow(GetDlgItem(box, IDOK), FALSE);
}

// The next root of the chosen kind into root; false when there is none.
bool NextRoot(HWND box, int kind, const char*& folders, const int* drives, int driveCount,
              int& driveIndex, char* root, size_t cap) {
    if (kind == IDC_FIND_IN_DRIVE) {
        if (driveIndex++ > 0)
            return false;
        const char drive[] = {DialogFolder()[0], DialogFolder()[0] ? DialogFolder()[1] : '\0', '\\',
                              0};
        CopyText(root, cap, drive);
        return true;
    }
    if (kind == IDC_FIND_IN_DRIVES) {
        if (driveIndex >= driveCount)
            return false;
        char drive[3];
        DriveText(box, drives[driveIndex++], drive);
        const char text[] = {drive[0], drive[1], '\\', 0};
        CopyText(root, cap, text);
        return true;
    }
    if (!*folders)
        return false;
    const char* end = std::strchr(folders, ';');
    size_t length = end ? static_cast<size_t>(end - folders) : std::strlen(folders);
    CopyText(root, length + 1 < cap ? length + 1 : cap, folders);
    folders += length;
    while (*folders == ';' || *folders == ' ')
        ++folders;
    return true;
}

bool MoreRoots(int kind, const char* folders, int driveCount, int driveIndex) {
    if (kind == IDC_FIND_IN_DRIVES)
        return driveIndex < driveCount;
    return kind == IDC_FIND_IN_FOLDERS && *folders;
}

UINT OutcomeText(HWND box, WalkResult result) {
    if (SendDlgItemMessageA(box, IDC_FIND_FOUND, LB_GETCOUNT, 0, 0) <= 0) {
        SetFocus(GetDlgItem(box, IDC_FIND_SEARCH));
        return IDS_FIND_NOTHING;
    }
    SetFocus(GetDlgItem(box, IDC_FIND_FOUND));
    switch (result) {
    case WalkResult::kComplete:
        return IDS_FIND_COMPLETE;
    case WalkResult::kListFull:
        return IDS_FIND_LIST_FULL;
    case WalkResult::kError:
        return IDS_FIND_DISK_ERROR;
    default:
        return IDS_FIND_STOPPED;
    }
}

void Search(HWND box) {
    g_find.searching = 1;
    SendDlgItemMessageA(box, IDC_FIND_FOUND, LB_RESETCONTENT, 0, 0);
    EnableForSearch(box, true);
    SetFocus(GetDlgItem(box, IDC_FIND_STOP));
    int drives[26];
    int driveCount = SelectedDrives(box, drives), driveIndex = 0;
    char folderText[kStatusSize] = "";
    GetDlgItemTextA(box, IDC_FIND_FOLDERS, folderText, sizeof folderText);
    const char* folders = folderText;
    while (*folders == ' ' || *folders == ';')
        ++folders;
    int kind = IsDlgButtonChecked(box, IDC_FIND_IN_FOLDERS) == BST_CHECKED  ? IDC_FIND_IN_FOLDERS
               : IsDlgButtonChecked(box, IDC_FIND_IN_DRIVES) == BST_CHECKED ? IDC_FIND_IN_DRIVES
                                                                            : IDC_FIND_IN_DRIVE;
    WalkResult result = WalkResult::kComplete;
    char root[kFindNameSize];
    while (NextRoot(box, kind, folders, drives, driveCount, driveIndex, root, sizeof root)) {
        ShowSearching(root, kSearchingSize - 1);
        char masks[kStatusSize] = "";
        GetDlgItemTextA(box, IDC_FIND_MASKS, masks, sizeof masks);
        result = SearchRoot(box, root, masks);
        if (!IsWindow(box)) {
            g_find.searching = 0;
            return;
        }
        if (result != WalkResult::kComplete || !MoreRoots(kind, folders, driveCount, driveIndex))
            break;
    }
    EnableForSearch(box, false);
    if (HasFoundSelection(box)) {
        OfferUseFile(box);
        SetFocus(GetDlgItem(box, IDOK));
    }
    char outcome[kOutcomeSize] = "";
    LoadLibraryString(OutcomeText(box, result), outcome, sizeof outcome);
    ShowStatus(outcome);
    g_find.searching = 0;
}

void InitBox(HWND box) {
    g_find.box = box;
    g_find.status = GetDlgItem(box, IDC_FIND_STATUS);
    const char* folder = DialogFolder();
    char letter = folder[0] && folder[1] == ':' ? folder[0] : 'C';
    if (letter >= 'a' && letter <= 'z')
        letter = static_cast<char>(letter - 'a' + 'A');
    SetDlgItemTextA(box, IDC_FIND_MASKS, folder + std::strlen(folder) + 1);
    SetDlgItemTextA(box, IDC_FIND_FOLDERS, folder);
    char format[kDriveCaptionSize] = "", caption[kDriveCaptionSize];
    LoadLibraryString(IDS_FIND_DRIVE, format, sizeof format);
    if (char* c = std::strstr(format, "%c"))
        c[1] = 's'; // the letter goes in as a text of its own
    const char letterText[] = {letter, 0};
    FillMessage(caption, sizeof caption, format, nullptr, letterText);
    SetDlgItemTextA(box, IDC_FIND_IN_DRIVE, caption);
    for (char d = 'A'; d <= 'Z'; ++d) {
        const char rootPath[] = {d, ':', '\\', 0};
        UINT type = GetDriveTypeA(rootPath);
        if (type == DRIVE_FIXED || type == DRIVE_REMOVABLE || type == DRIVE_REMOTE) {
            const char line[] = {d, ':', 0};
            LRESULT at = SendDlgItemMessageA(box, IDC_FIND_DRIVES, LB_ADDSTRING, 0,
                                             reinterpret_cast<LPARAM>(line));
            if (type == DRIVE_FIXED && at >= 0)
                SendDlgItemMessageA(box, IDC_FIND_DRIVES, LB_SETSEL, TRUE, at);
        }
    }
    CaptionSelectedDrives(box);
    CheckRadioButton(box, IDC_FIND_IN_FOLDERS, IDC_FIND_IN_DRIVES, IDC_FIND_IN_DRIVE);
    HWND masks = GetDlgItem(box, IDC_FIND_MASKS);
    SetFocus(masks);
    SendMessageA(masks, EM_SETSEL, 0, -1);
    EnableWindow(GetDlgItem(box, IDOK), FALSE);
    EnableWindow(GetDlgItem(box, IDC_FIND_STOP), FALSE);
    MakeDefault(box, IDOK, IDC_FIND_SEARCH);
}

void UseFile(HWND box) {
    Exchange& exchange = *g_find.exchange;
    exchange.text[0] = 0;
    LRESULT line = SendDlgItemMessageA(box, IDC_FIND_FOUND, LB_GETCURSEL, 0, 0);
    if (line == LB_ERR)
        return;
    LRESULT length =
        SendDlgItemMessageA(box, IDC_FIND_FOUND, LB_GETTEXTLEN, static_cast<WPARAM>(line), 0);
    if (length < 0 || length >= static_cast<LRESULT>(sizeof exchange.text))
        return;
    SendDlgItemMessageA(box, IDC_FIND_FOUND, LB_GETTEXT, static_cast<WPARAM>(line),
                        reinterpret_cast<LPARAM>(exchange.text));
    EndDialog(box, IDOK);
}

void OnCommand(HWND box, int id, int code) {
    const bool searching = g_find.searching != 0;
    switch (id) {
    case IDC_FIND_SEARCH:
        if (!searching)
            Search(box);
        break;
    case IDC_FIND_STOP:
        if (searching)
            PostMessageA(box, MSG_FIND_STOP, 0, 0);
        break;
    case IDOK:
        if (!searching)
            UseFile(box);
        break;
    case IDCANCEL:
        if (searching)
            PostMessageA(box, WM_COMMAND, IDC_FIND_STOP, 0);
        else
            EndDialog(box, IDCANCEL);
        break;
    case IDC_HELP_BUTTON:
        ShowLibraryHelp(box, kFindHelp);
        break;
    case IDC_FIND_DRIVES:
        if (IsDlgButtonChecked(box, IDC_FIND_IN_DRIVES) != BST_CHECKED)
            CheckRadioButton(box, IDC_FIND_IN_FOLDERS, IDC_FIND_IN_DRIVES, IDC_FIND_IN_DRIVES);
        CaptionSelectedDrives(box);
        break;
    case IDC_FIND_FOUND:
        if (searching)
            break;
        if (code == LBN_DBLCLK)
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        if (HasFoundSelection(box))
            OfferUseFile(box);
        break;
    case IDC_FIND_FOLDERS:
        if (code == EN_SETFOCUS && IsDlgButtonChecked(box, IDC_FIND_IN_FOLDERS) != BST_CHECKED)
            CheckRadioButton(box, IDC_FIND_IN_FOLDERS, IDC_FIND_IN_DRIVES, IDC_FIND_IN_FOLDERS);
        break;
    default:
        break;
    }
}

INT_PTR CALLBACK FindBoxProc(HWND box, UINT msg, WPARAM wParam, LPARAM) {
    if (HelpKeyAsButton(box, msg))
        return TRUE;
    switch (msg) {
    case WM_INITDIALOG:
        InitBox(box);
        return FALSE; // the masks edit has the focus
    case WM_COMMAND:
        OnCommand(box, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

void FindCommand(HWND dialog) {
    // One box per process: its state is the process's own.
    if (g_find.box && IsWindow(g_find.box))
        return;
    int slot = FindDialogRecord(g_dialogs, reinterpret_cast<uintptr_t>(dialog));
    if (slot < 0)
        return;
    char folder[kFindNameSize];
    if (!ReadDialogFolder(dialog, folder, sizeof folder))
        return;
    Exchange exchange{};
    size_t length = CopyText(exchange.text, sizeof exchange.text, folder);
    char* masks = exchange.text + length + 1;
    const size_t masksCap = sizeof exchange.text - length - 1;
    char typed[kFindNameSize + 1] = "";
    GetDlgItemTextA(dialog, g_dialogs.slots[slot].fileNameControlId, typed, sizeof typed);
    CopyText(masks, masksCap, typed[0] ? typed : "*.*");
    g_find = FindBoxState{&exchange, dialog, nullptr, nullptr, 0};
    INT_PTR result = DialogBoxParamA(g_process.moduleInstance, "KestraFind", dialog, FindBoxProc,
                                     reinterpret_cast<LPARAM>(&exchange));
    g_find = FindBoxState{};
    if (result == IDOK && exchange.text[0] && IsWindow(dialog))
        GoToFile(dialog, exchange.text, true);
}

} // namespace vn
