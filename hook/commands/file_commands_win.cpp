#include "hook/commands/file_commands_win.h"

#include "hook/commands/dialog_path_win.h"
#include "hook/commands/file_commands.h"
#include "hook/core/dialog_record.h"
#include "hook/core/path_rules.h"
#include "hook/core/process_win.h"
#include "hook/core/shared_state_win.h"
#include "hook/core/text.h"
#include "hook/core/ui_win.h"
#include "hook/resources/resource.h"

#include <shellapi.h>

#include <cstring>

namespace vn {

namespace {

// The state of the "Change to the destination folder" box, shared by Copy and Move for as long
// as the process runs: the user sets it once.
uint32_t changeToDestination = 1;

constexpr size_t kPromptSize = 100;       // Rename, Copy, Move
constexpr size_t kFolderPromptSize = 256; // Make dir
constexpr int kMaxFolderName = 255;       // what Make dir's box takes
constexpr int kOverwriteSize = 400;

constexpr DWORD kRenameHelp = 1026;
constexpr DWORD kMoveHelp = 1027;
constexpr DWORD kDeleteHelp = 1028;
constexpr DWORD kCopyHelp = 1029;
constexpr DWORD kMakeDirHelp = 1030;

enum class Browse { kNone, kFileInFolder, kFolderOnly };

// What one small box shows and, after OK, what the user entered.
struct BoxRequest {
    const char* prompt;   // static IDC_FILE_PROMPT
    const char* editText; // IDC_FILE_EDIT's first text; null for the delete boxes
    int editLimit;        // characters the edit box takes
    bool checkBox;        // IDC_FILE_CHANGE_FOLDER, from and back to changeToDestination
    DWORD helpContext;
    Browse browse;
    const char* browseName; // Browse's initial file name
    char* out;              // the edit box's text after OK
    size_t outSize;
};

// The wait cursor around a file system call.
class WaitCursor {
  public:
    WaitCursor() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    HCURSOR previous_;
};

void BrowseFromBox(HWND box, const BoxRequest& request) {
    char title[kPathSize] = "", folder[kPathSize] = "";
    if (!BrowseForDestination(box, request.browseName, title, folder))
        return;
    char chosen[kPathSize];
    if (request.browse == Browse::kFolderOnly || !title[0])
        CopyText(chosen, sizeof chosen, folder);
    else
        JoinPath(chosen, sizeof chosen, folder, title);
    SetDlgItemTextA(box, IDC_FILE_EDIT, chosen);
    SendMessageA(box, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(box, IDOK)), TRUE);
}

// OK: the edit box's text, or Cancel when it is empty.
void TakeOk(HWND box, const BoxRequest& request) {
    if (!request.editText) {
        EndDialog(box, IDOK);
        return;
    }
    request.out[0] = 0;
    GetDlgItemTextA(box, IDC_FILE_EDIT, request.out, static_cast<int>(request.outSize));
    if (request.checkBox)
        changeToDestination = IsDlgButtonChecked(box, IDC_FILE_CHANGE_FOLDER) == BST_CHECKED;
    EndDialog(box, request.out[0] ? IDOK : IDCANCEL);
}

void InitBox(HWND box, const BoxRequest& request) {
    SetDlgItemTextA(box, IDC_FILE_PROMPT, request.prompt);
    if (request.checkBox)
        CheckDlgButton(box, IDC_FILE_CHANGE_FOLDER,
                       changeToDestination ? BST_CHECKED : BST_UNCHECKED);
    if (!request.editText)
        return;
    SendDlgItemMessageA(box, IDC_FILE_EDIT, EM_LIMITTEXT, static_cast<WPARAM>(request.editLimit),
                        0);
    SetDlgItemTextA(box, IDC_FILE_EDIT, request.editText);
    SendDlgItemMessageA(box, IDC_FILE_EDIT, EM_SETSEL, 0, -1);
}

INT_PTR CALLBACK BoxProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (HelpKeyAsButton(box, msg))
        return TRUE;
    auto* request = reinterpret_cast<const BoxRequest*>(GetWindowLongPtrA(box, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(box, DWLP_USER, lParam);
        InitBox(box, *reinterpret_cast<const BoxRequest*>(lParam));
        return TRUE;
    case WM_COMMAND:
        // Button clicks only: the edit box's notifications carry a code in the high word.
        if (!request || HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        switch (LOWORD(wParam)) {
        case IDOK:
            TakeOk(box, *request);
            return TRUE;
        case IDCANCEL:
            EndDialog(box, IDCANCEL);
            return TRUE;
        case IDC_HELP_BUTTON:
            ShowLibraryHelp(box, request->helpContext);
            return TRUE;
        case IDC_FILE_BROWSE:
            if (request->browse != Browse::kNone)
                BrowseFromBox(box, *request);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

// Shows a box; true when it ended with OK (the delete boxes' Yes).
bool AskInBox(HWND dialog, const char* name, const BoxRequest& request) {
    if (request.out && request.outSize)
        request.out[0] = 0;
    return DialogBoxParamA(g_process.moduleInstance, name, dialog, BoxProc,
                           reinterpret_cast<LPARAM>(&request)) == IDOK;
}

// A prompt from the string table with a path or name in it.
void Prompt(char* out, size_t size, UINT id, const char* text) {
    char format[kFolderPromptSize];
    LoadLibraryString(id, format, sizeof format);
    FillPrompt(out, size, format, text);
}

// The file named in the box as a full path; false (after saying so) when none is named.
bool SelectedFile(HWND dialog, char* path, size_t size) {
    if (ReadSelectedPath(dialog, path, size))
        return true;
    MessageBoxFromIds(dialog, IDS_SELECT_SINGLE_FILE, IDS_FILE_SELECTION_ERROR, MB_OK);
    return false;
}

// Deletes through the shell, so that the file may go to the Recycle Bin.
bool ShellDelete(const char* path, bool recycle) {
    using DeleteFn = int(WINAPI*)(SHFILEOPSTRUCTA*);
    auto operation = reinterpret_cast<DeleteFn>(ShellFunction("SHFileOperationA"));
    if (!operation)
        return false;
    char from[kPathSize + 1] = {}; // the list of sources ends in a second zero
    CopyText(from, kPathSize, path);
    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from;
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    if (recycle)
        op.fFlags |= FOF_ALLOWUNDO;
    WaitCursor wait;
    // An operation the user cancelled reports success but leaves the file: check the file.
    return operation(&op) == 0 && !op.fAnyOperationsAborted && !IsExistingFile(path);
}

// Asks before a copy replaces path; true when it may. Without the question's text the copy goes
// ahead, as it did before the question existed.
bool MayOverwrite(HWND dialog, const char* path) {
    char question[kOverwriteSize];
    if (!LoadLibraryString(IDS_OVERWRITE_QUESTION, question, sizeof question))
        return true;
    return MessageBoxFromIdsWithPath(dialog, IDS_OVERWRITE_QUESTION, IDS_COPY_TITLE, MB_YESNO,
                                     path) == IDYES;
}

bool CopyOver(const char* source, const char* target) {
    WaitCursor wait;
    return CopyFileA(source, target, FALSE) != 0;
}

bool MoveTo(const char* source, const char* target) {
    WaitCursor wait;
    return MoveFileA(source, target) != 0;
}

// The start of Rename, Copy and Move: the full path of the file named in the box, which must
// exist (it is checked where it is, not against the process's current folder), and the name as
// the box gives it, for the prompt. The box's text stands when the name cannot be resolved.
bool NamedSource(HWND dialog, UINT noFileId, UINT errorId, char (&source)[kPathSize],
                 char (&named)[kPathSize]) {
    if (!SelectedFile(dialog, source, sizeof source))
        return false;
    if (!IsExistingFile(source)) {
        MessageBoxFromIds(dialog, noFileId, errorId, MB_OK);
        return false;
    }
    ReadTypedName(dialog, named, sizeof named);
    return true;
}

// Copy's and Move's boxes: a destination typed or browsed for, and the shared check box.
struct TransferBox {
    const char* templateName;
    UINT noFileId;
    UINT errorId;
    UINT promptId;
    DWORD helpContext;
    Browse browse;
};
constexpr TransferBox kCopyBox = {"KestraCopy",    IDS_COPY_NO_FILE, IDS_COPY_ERROR,
                                  IDS_COPY_PROMPT, kCopyHelp,        Browse::kFileInFolder};
constexpr TransferBox kMoveBox = {"KestraMove",    IDS_MOVE_NO_FILE, IDS_MOVE_ERROR,
                                  IDS_MOVE_PROMPT, kMoveHelp,        Browse::kFolderOnly};

bool AskTransfer(HWND dialog, const TransferBox& box, char (&source)[kPathSize], char* typed,
                 size_t typedSize) {
    char named[kPathSize];
    if (!NamedSource(dialog, box.noFileId, box.errorId, source, named))
        return false;
    char prompt[kPromptSize];
    Prompt(prompt, sizeof prompt, box.promptId, named);
    BoxRequest request = {prompt,     "",    kMaxPath, true,     box.helpContext,
                          box.browse, named, typed,    typedSize};
    return AskInBox(dialog, box.templateName, request);
}

} // namespace

void DeleteCommand(HWND dialog) {
    char typed[kMaxPath + 1] = "";
    int slot = FindDialogRecord(g_dialogs, reinterpret_cast<uintptr_t>(dialog));
    if (slot >= 0)
        GetDlgItemTextA(dialog, g_dialogs.slots[slot].fileNameControlId, typed, sizeof typed);
    char path[kPathSize];
    if (!SelectedFile(dialog, path, sizeof path))
        return;
    char shown[kPathSize * 2];
    DoubleAmpersands(shown, sizeof shown, path);
    BoxRequest request = {shown,         nullptr, 0,       false, kDeleteHelp,
                          Browse::kNone, nullptr, nullptr, 0};
    if (IsReadOnlyFile(path)) {
        if (!AskInBox(dialog, "KestraDeleteRO", request))
            return;
        ClearReadOnly(path);
    } else if (!IsExistingFile(path)) {
        MessageBoxFromIds(dialog, IDS_DELETE_NO_FILE, IDS_DELETE_ERROR, MB_OK);
        return;
    } else if (!AskInBox(dialog, "KestraDelete", request)) {
        return;
    }
    const SharedState* s = Shared();
    if (ShellDelete(path, s && s->settings.useRecycleBin)) {
        ShowNameInBox(dialog, nullptr, true);
        return;
    }
    MessageBoxFromIds(dialog, IDS_DELETE_FAILED, IDS_DELETE_ERROR, MB_OK);
    ShowNameInBox(dialog, typed, false);
}

void RenameCommand(HWND dialog) {
    char source[kPathSize], proposed[kPathSize];
    if (!NamedSource(dialog, IDS_RENAME_NO_FILE, IDS_RENAME_ERROR, source, proposed))
        return;
    char prompt[kPromptSize], name[kMaxPath + 1];
    Prompt(prompt, sizeof prompt, IDS_RENAME_PROMPT, proposed);
    BoxRequest request = {prompt,        proposed, kMaxPath, false,      kRenameHelp,
                          Browse::kNone, nullptr,  name,     sizeof name};
    if (!AskInBox(dialog, "KestraRename", request))
        return;
    char target[kPathSize];
    if (!UnderSourceFolder(target, sizeof target, source, name) || !MoveTo(source, target)) {
        MessageBoxFromIds(dialog, IDS_RENAME_FAILED, IDS_RENAME_ERROR, MB_OK);
        return;
    }
    ShowNameInBox(dialog, FileNamePart(target), false);
}

void MakeDirCommand(HWND dialog) {
    char folder[kPathSize];
    if (!ReadDialogFolder(dialog, folder, sizeof folder) || !folder[0])
        return;
    char prompt[kFolderPromptSize], name[kMaxFolderName + 1];
    Prompt(prompt, sizeof prompt, IDS_MAKE_DIR_PROMPT, folder);
    BoxRequest request = {prompt,        "",      kMaxFolderName, false,      kMakeDirHelp,
                          Browse::kNone, nullptr, name,           sizeof name};
    if (!AskInBox(dialog, "KestraMakeDir", request))
        return;
    char created[kPathSize];
    if (!NewFolderPath(created, sizeof created, folder, name))
        return;
    bool made;
    {
        WaitCursor wait;
        made = CreateDirectoryA(created, nullptr) != 0;
    }
    if (!made) {
        MessageBoxFromIds(dialog, IDS_MAKE_DIR_FAILED, IDS_MAKE_DIR_ERROR, MB_OK);
        return;
    }
    GoToFolder(dialog, created, true);
}

void CopyCommand(HWND dialog) {
    char source[kPathSize], typed[kMaxPath + 1];
    if (!AskTransfer(dialog, kCopyBox, source, typed, sizeof typed))
        return;
    char folder[kPathSize] = "";
    ReadDialogFolder(dialog, folder, sizeof folder);
    CopyTargets targets;
    if (!CopyDestinations(typed, folder, FileNamePart(source), targets)) {
        MessageBoxFromIds(dialog, IDS_COPY_FAILED, IDS_COPY_ERROR, MB_OK);
        return;
    }
    CopyPlan plan = PlanCopy(targets, IsExistingFile(targets.primary),
                             targets.hasAlternate && IsExistingFile(targets.alternate));
    if (plan.ask && !MayOverwrite(dialog, plan.ask))
        return;
    const char* target = plan.first;
    bool copied = CopyOver(source, target);
    if (!copied && plan.fallback) {
        target = plan.fallback;
        copied = CopyOver(source, target);
    }
    if (!copied) {
        MessageBoxFromIds(dialog, IDS_COPY_FAILED, IDS_COPY_ERROR, MB_OK);
        return;
    }
    GoToFile(dialog, target, changeToDestination != 0);
}

void MoveCommand(HWND dialog) {
    char source[kPathSize], typed[kMaxPath + 1];
    if (!AskTransfer(dialog, kMoveBox, source, typed, sizeof typed))
        return;
    char folder[kPathSize], target[kPathSize];
    // The file keeps its name in the folder it goes to, however it was named in the box.
    if (!UnderSourceFolder(folder, sizeof folder, source, typed) ||
        !JoinWithin(target, sizeof target, folder, FileNamePart(source)) ||
        !MoveTo(source, target)) {
        MessageBoxFromIds(dialog, IDS_MOVE_FAILED, IDS_MOVE_ERROR, MB_OK);
        return;
    }
    GoToFile(dialog, target, changeToDestination != 0);
}

} // namespace vn
