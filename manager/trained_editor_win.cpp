#include "manager/trained_editor_win.h"

#include "manager/help_topics.h"
#include "manager/resource.h"
#include "manager/ui_win.h"

#include "hook/core/sizes.h"
#include "hook/core/text.h"
#include "hook/core/ui_win.h"
#include "hook/trained/trained_db_win.h"

#include <commdlg.h>

namespace vn {

namespace {

// What an open "Trained Application Configuration" dialog edits. It lives in the frame of
// EditTrainedEntry and reaches the dialog procedure as its init parameter. The control values
// live in the controls; the private copy holds everything else, the file types above all.
struct TrainedDialogState {
    TrainedEntry* edited;
    const char* programFolder;
    TrainedEntry copy;
    int typeSelection;
    bool initialized; // set once the values are shown: changes before that are not the user's
    bool modified;
};

struct FileTypeState {
    char* description;
    char* masks;
    const char* programFolder;
    bool initialized;
    bool modified;
};

// The check boxes and radio buttons of the entry dialog and the flag each shows.
struct FlagControl {
    int id;
    bool TrainedEditorValues::*flag;
};

constexpr FlagControl kFlagControls[] = {
    {IDC_TA_MATCH_PARTIAL, &TrainedEditorValues::matchPartial},
    {IDC_TA_USE, &TrainedEditorValues::enabled},
    {IDC_TA_ADD_BUTTON, &TrainedEditorValues::addButton},
    {IDC_TA_AUTO_OPEN, &TrainedEditorValues::autoOpenClose},
    {IDC_TA_HIDE_ORIGINAL, &TrainedEditorValues::hideOriginal},
    {IDC_TA_LONG_NAMES, &TrainedEditorValues::longNames},
};

// The radio buttons of the dialog kinds, in the order of their values. Their ids are not in one
// range, so they are checked one by one rather than with CheckRadioButton.
constexpr int kKindButtons[] = {IDC_TA_OPEN, IDC_TA_SAVE, IDC_TA_FOLDER};

// The buttons of the types list and their commands.
struct TypeButton {
    int id;
    TypeCommand command;
};

constexpr TypeButton kTypeButtons[] = {
    {IDC_TA_ADD_TYPE, TypeCommand::kAdd},   {IDC_TA_INSERT_TYPE, TypeCommand::kInsert},
    {IDC_TA_EDIT_TYPE, TypeCommand::kEdit}, {IDC_TA_DELETE_TYPE, TypeCommand::kDelete},
    {IDC_TA_MOVE_UP, TypeCommand::kMoveUp}, {IDC_TA_MOVE_DOWN, TypeCommand::kMoveDown},
};

template <typename T>
T* StateOf(HWND box) {
    return reinterpret_cast<T*>(GetWindowLongPtrA(box, DWLP_USER));
}

template <size_t N>
void ShowField(HWND box, int id, const char (&field)[N]) {
    char text[N];
    CopyField(text, sizeof text, field, N - 1);
    SetDlgItemTextA(box, id, text);
}

void ShowValues(HWND box, const TrainedEditorValues& v) {
    SetDlgItemTextA(box, IDC_TA_APP_NAME, v.appName);
    SetDlgItemTextA(box, IDC_TA_MATCH_TITLE, v.matchTitle);
    SetDlgItemTextA(box, IDC_TA_OFFSET_X, v.offsetX);
    SetDlgItemTextA(box, IDC_TA_OFFSET_Y, v.offsetY);
    SetDlgItemTextA(box, IDC_TA_DEFAULT_EXT, v.defaultExt);
    for (const FlagControl& c : kFlagControls)
        CheckDlgButton(box, c.id, v.*c.flag ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(box, IDC_TA_REPLACE, v.addButton ? BST_UNCHECKED : BST_CHECKED);
    for (int kind = 0; kind < 3; ++kind)
        CheckDlgButton(box, kKindButtons[kind], v.dialogKind == kind ? BST_CHECKED : BST_UNCHECKED);
}

void ReadValues(HWND box, TrainedEditorValues& v) {
    GetDlgItemTextA(box, IDC_TA_APP_NAME, v.appName, sizeof v.appName);
    GetDlgItemTextA(box, IDC_TA_MATCH_TITLE, v.matchTitle, sizeof v.matchTitle);
    GetDlgItemTextA(box, IDC_TA_OFFSET_X, v.offsetX, sizeof v.offsetX);
    GetDlgItemTextA(box, IDC_TA_OFFSET_Y, v.offsetY, sizeof v.offsetY);
    GetDlgItemTextA(box, IDC_TA_DEFAULT_EXT, v.defaultExt, sizeof v.defaultExt);
    for (const FlagControl& c : kFlagControls)
        v.*c.flag = IsDlgButtonChecked(box, c.id) == BST_CHECKED;
    v.dialogKind = kTrainedOpen;
    for (int kind = 0; kind < 3; ++kind)
        if (IsDlgButtonChecked(box, kKindButtons[kind]) == BST_CHECKED)
            v.dialogKind = kind;
}

void Enable(HWND box, int id, bool enable) {
    HWND control = GetDlgItem(box, id);
    // A control that goes grey under the keyboard focus would leave the focus nowhere.
    if (!enable && GetFocus() == control)
        SendMessageA(box, WM_NEXTDLGCTL, 0, FALSE);
    EnableWindow(control, enable);
}

void UpdateEnables(HWND box, const TrainedDialogState& s) {
    bool addButton = IsDlgButtonChecked(box, IDC_TA_ADD_BUTTON) == BST_CHECKED;
    bool autoOpen = IsDlgButtonChecked(box, IDC_TA_AUTO_OPEN) == BST_CHECKED;
    EditorEnables e = ComputeEnables(addButton, autoOpen, s.copy.fileTypes, s.typeSelection);
    Enable(box, IDC_TA_AUTO_OPEN, e.autoOpenClose);
    for (int id = IDC_TA_OFFSET_X; id <= IDC_TA_OFFSET_Y_LABEL; ++id)
        Enable(box, id, e.offsets);
    Enable(box, IDC_TA_HIDE_ORIGINAL, e.hideOriginal);
    Enable(box, IDC_TA_INSERT_TYPE, e.insertType);
    Enable(box, IDC_TA_EDIT_TYPE, e.editType);
    Enable(box, IDC_TA_DELETE_TYPE, e.deleteType);
    Enable(box, IDC_TA_MOVE_UP, e.moveUp);
    Enable(box, IDC_TA_MOVE_DOWN, e.moveDown);
}

void ShowTypes(HWND box, TrainedDialogState& s) {
    HWND list = GetDlgItem(box, IDC_TA_TYPES);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    int lines = FileTypeCount(s.copy.fileTypes);
    for (int i = 0; i < lines; ++i) {
        char line[kFileTypeSize + 8];
        FileTypeLine(s.copy.fileTypes[i], line, sizeof line);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    }
    s.typeSelection = ClampSelection(s.typeSelection, lines);
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(s.typeSelection), 0);
    UpdateEnables(box, s);
}

// Add, Insert, Edit, Delete, Move Up and Move Down of the types list.
void RunTypeCommand(HWND box, TrainedDialogState& s, TypeCommand command) {
    switch (StartTypeCommand(command, s.copy.fileTypes, s.typeSelection)) {
    case TypeCommandStart::kListFull:
        StringMessageBox(box, IDS_TYPES_FULL, IDS_ERROR_TITLE, MB_OK | MB_ICONEXCLAMATION);
        return;
    case TypeCommandStart::kNothing:
        return;
    case TypeCommandStart::kGo:
        break;
    }
    char type[kFileTypeSize] = "";
    if (command == TypeCommand::kAdd || command == TypeCommand::kInsert ||
        command == TypeCommand::kEdit) {
        char description[kTypeDescriptionChars + 1] = "";
        char masks[kTypeMasksChars + 1] = "";
        if (command == TypeCommand::kEdit)
            SplitFileType(s.copy.fileTypes[s.typeSelection], description, sizeof description, masks,
                          sizeof masks);
        if (!EditFileType(box, s.programFolder, description, masks))
            return;
        JoinFileType(description, masks, type, sizeof type);
    } else if (command == TypeCommand::kDelete &&
               StringMessageBox(box, IDS_DELETE_TYPE_CONFIRM, IDS_PRODUCT,
                                MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    TypeCommandResult result = ApplyTypeCommand(command, s.copy.fileTypes, s.typeSelection, type);
    s.typeSelection = result.selection;
    s.modified = s.modified || result.changed;
    ShowTypes(box, s);
}

// OK: the values go into the private copy and from there over the edited entry. An offset that
// is not a number keeps the dialog open on that field.
void Accept(HWND box, TrainedDialogState& s) {
    TrainedEditorValues values{};
    ReadValues(box, values);
    StoreResult stored = StoreValues(values, s.copy);
    if (stored != StoreResult::kStored) {
        StringMessageBox(box, IDS_ENTER_INTEGER, IDS_PRODUCT, MB_OK | MB_ICONEXCLAMATION);
        HWND field =
            GetDlgItem(box, stored == StoreResult::kBadOffsetX ? IDC_TA_OFFSET_X : IDC_TA_OFFSET_Y);
        SendMessageA(box, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
        SendMessageA(field, EM_SETSEL, 0, -1);
        return;
    }
    *s.edited = s.copy;
    EndDialog(box, IDOK);
}

// Cancel, also by Escape or the close box: changes are given up only when the user agrees.
void Refuse(HWND box, bool modified) {
    if (modified &&
        StringMessageBox(box, IDS_CANCEL_CHANGES, IDS_PRODUCT, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    EndDialog(box, IDCANCEL);
}

void OpenTrainedDialog(HWND box, TrainedDialogState& s) {
    s.copy = *s.edited;
    PackFileTypes(s.copy.fileTypes);
    TrainedEditorValues values{};
    ValuesFromEntry(s.copy, values);
    ShowValues(box, values);
    ShowField(box, IDC_TA_MODULE, s.copy.moduleName);
    ShowField(box, IDC_TA_ORIGINAL_TITLE, s.copy.originalTitle);
    ShowField(box, IDC_TA_FINAL_TITLE, s.copy.finalTitle);
    SendDlgItemMessageA(box, IDC_TA_APP_NAME, EM_LIMITTEXT, kEditorTitleChars, 0);
    SendDlgItemMessageA(box, IDC_TA_MATCH_TITLE, EM_LIMITTEXT, kEditorTitleChars, 0);
    s.typeSelection = -1;
    ShowTypes(box, s);
    s.initialized = true;
    s.modified = false;
    SetForegroundWindow(box);
}

void TrainedDialogCommand(HWND box, TrainedDialogState& s, int id, int code) {
    switch (id) {
    case IDC_TA_APP_NAME:
    case IDC_TA_MATCH_TITLE:
    case IDC_TA_OFFSET_X:
    case IDC_TA_OFFSET_Y:
    case IDC_TA_DEFAULT_EXT:
        if (code == EN_CHANGE && s.initialized)
            s.modified = true;
        return;
    case IDC_TA_MATCH_PARTIAL:
    case IDC_TA_USE:
    case IDC_TA_LONG_NAMES:
    case IDC_TA_HIDE_ORIGINAL:
    case IDC_TA_OPEN:
    case IDC_TA_SAVE:
    case IDC_TA_FOLDER:
    case IDC_TA_REPLACE:
    case IDC_TA_ADD_BUTTON:
    case IDC_TA_AUTO_OPEN:
        if (code == BN_CLICKED) {
            s.modified = true;
            UpdateEnables(box, s);
        }
        return;
    case IDC_TA_TYPES:
        if (code == LBN_SELCHANGE) {
            LRESULT selected = SendDlgItemMessageA(box, IDC_TA_TYPES, LB_GETCURSEL, 0, 0);
            s.typeSelection = selected >= 0 ? static_cast<int>(selected) : -1;
            UpdateEnables(box, s);
        } else if (code == LBN_DBLCLK) {
            RunTypeCommand(box, s, TypeCommand::kEdit);
        }
        return;
    case IDOK:
        return Accept(box, s);
    case IDCANCEL:
        return Refuse(box, s.modified);
    case IDHELP:
        return ShowHelp(box, s.programFolder, kHelpTrainedEntry);
    default:
        for (const TypeButton& b : kTypeButtons)
            if (b.id == id)
                RunTypeCommand(box, s, b.command);
        return;
    }
}

INT_PTR CALLBACK TrainedDialogProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (HelpKeyAsButton(box, msg))
        return TRUE;
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrA(box, DWLP_USER, lParam);
        OpenTrainedDialog(box, *reinterpret_cast<TrainedDialogState*>(lParam));
        return TRUE;
    }
    TrainedDialogState* s = StateOf<TrainedDialogState>(box);
    if (!s || msg != WM_COMMAND)
        return FALSE;
    TrainedDialogCommand(box, *s, LOWORD(wParam), HIWORD(wParam));
    return TRUE;
}

INT_PTR CALLBACK FileTypeProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (HelpKeyAsButton(box, msg))
        return TRUE;
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrA(box, DWLP_USER, lParam);
        FileTypeState& s = *reinterpret_cast<FileTypeState*>(lParam);
        SetDlgItemTextA(box, IDC_FT_DESCRIPTION, s.description);
        SetDlgItemTextA(box, IDC_FT_MASKS, s.masks);
        SendDlgItemMessageA(box, IDC_FT_DESCRIPTION, EM_LIMITTEXT, kTypeDescriptionChars, 0);
        SendDlgItemMessageA(box, IDC_FT_MASKS, EM_LIMITTEXT, kTypeMasksChars, 0);
        s.initialized = true;
        s.modified = false;
        SetForegroundWindow(box);
        return TRUE;
    }
    FileTypeState* s = StateOf<FileTypeState>(box);
    if (!s || msg != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_FT_DESCRIPTION:
    case IDC_FT_MASKS:
        if (HIWORD(wParam) == EN_CHANGE && s->initialized)
            s->modified = true;
        break;
    case IDOK:
        GetDlgItemTextA(box, IDC_FT_DESCRIPTION, s->description, kTypeDescriptionChars + 1);
        GetDlgItemTextA(box, IDC_FT_MASKS, s->masks, kTypeMasksChars + 1);
        EndDialog(box, IDOK);
        break;
    case IDCANCEL:
        Refuse(box, s->modified);
        break;
    case IDHELP:
        ShowHelp(box, s->programFolder, kHelpFileType);
        break;
    default:
        break;
    }
    return TRUE;
}

} // namespace

bool EditTrainedEntry(HWND owner, const char* programFolder, TrainedEntry& entry) {
    TrainedDialogState state{&entry, programFolder, {}, -1, false, false};
    INT_PTR ended = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TRAINED_APP),
                                    owner, TrainedDialogProc, reinterpret_cast<LPARAM>(&state));
    return ended == IDOK && state.modified;
}

bool EditFileType(HWND owner, const char* programFolder, char* description, char* masks) {
    if (!description || !masks)
        return false;
    // The dialog works on copies: the caller's texts change only on OK with changes.
    char d[kTypeDescriptionChars + 1], m[kTypeMasksChars + 1];
    CopyText(d, sizeof d, description);
    CopyText(m, sizeof m, masks);
    FileTypeState state{d, m, programFolder, false, false};
    INT_PTR ended = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_FILE_TYPE),
                                    owner, FileTypeProc, reinterpret_cast<LPARAM>(&state));
    if (ended != IDOK || !state.modified)
        return false;
    CopyText(description, kTypeDescriptionChars + 1, d);
    CopyText(masks, kTypeMasksChars + 1, m);
    return true;
}

bool ImportTrainingFile(HWND owner, const char* folder, TrainedEntry* entries, int* count) {
    char title[256], filter[256 + 2] = {};
    LoadManagerString(IDS_IMPORT_TITLE, "Import", title, sizeof title);
    LoadManagerString(IDS_IMPORT_FILTER, "*.vnt|*.vnt||", filter, 256);
    // The table writes the filter with bars; the dialog wants its parts ended by zeroes, the
    // whole list by two. The buffer's zeroed tail supplies them when the text lacks the bars.
    for (char* p = filter; *p; ++p)
        if (*p == '|')
            *p = 0;
    char path[kMaxPath + 1] = "";
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = path;
    ofn.nMaxFile = sizeof path;
    ofn.lpstrInitialDir = folder && folder[0] ? folder : nullptr;
    ofn.lpstrTitle = title;
    ofn.lpstrDefExt = "vnt";
    // The manager's current folder stays where it was: nothing of it should follow the user.
    ofn.Flags =
        OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameA(&ofn))
        return false;
    Win32RecordFile file;
    if (ImportIntoCopy(file, path, entries, count) == ImportOutcome::kWrongFormat) {
        StringMessageBox(owner, IDS_IMPORT_FORMAT, IDS_PRODUCT, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

} // namespace vn
