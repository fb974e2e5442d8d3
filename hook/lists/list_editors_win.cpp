#include "hook/lists/list_editors_win.h"

#include "hook/commands/dialog_path_win.h"
#include "hook/core/manager_link_win.h"
#include "hook/core/path_rules.h"
#include "hook/core/process_win.h"
#include "hook/core/text.h"
#include "hook/core/ui_win.h"
#include "hook/lists/list_editing.h"
#include "hook/lists/list_files_win.h"
#include "hook/resources/resource.h"

namespace vn {

namespace {

constexpr const char* kFavoritesTemplate = "DlgEditFavorites";
constexpr const char* kRecentTemplate = "DlgEditRecent";
constexpr const char* kAddFileTemplate = "KestraAddFavFile";
constexpr const char* kAddFolderTemplate = "KestraAddFavPath";
constexpr UINT kFavoritesHelpContext = 1032; // Edit Favorites and both Add dialogs
constexpr UINT kRecentHelpContext = 1039;
constexpr int kMessageSize = 256;

// What an open editor edits. It lives in the frame of the call that opened the editor and
// reaches the dialog procedure as its init parameter, so two editors open at once in different
// threads of a process never share it.
struct EditorContext {
    bool favorites;
    bool hasModule; // false: the lists kept for all applications
    bool stored;    // OK wrote the edited lists
    char module[kListEntrySize];

    const char* Module() const { return hasModule ? module : nullptr; }
};

struct AddContext {
    bool folder;
    char* out;
    size_t size;
};

// The controls of one of an editor's two lists.
struct ListControls {
    int list, remove, up, down;
    bool paths;
};

constexpr ListControls kFileControls = {IDC_EDIT_FILES, IDC_EDIT_DELETE_FILES, IDC_EDIT_UP_FILES,
                                        IDC_EDIT_DOWN_FILES, false};
constexpr ListControls kFolderControls = {IDC_EDIT_FOLDERS, IDC_EDIT_DELETE_FOLDERS,
                                          IDC_EDIT_UP_FOLDERS, IDC_EDIT_DOWN_FOLDERS, true};
constexpr const ListControls* kBothLists[] = {&kFileControls, &kFolderControls};

// An editor's list box as the rules see it.
class ListBoxRows final : public EditableRows {
  public:
    explicit ListBoxRows(HWND list) : list_(list) {}

    int Count() const override {
        LRESULT n = SendMessageA(list_, LB_GETCOUNT, 0, 0);
        return n > 0 ? static_cast<int>(n) : 0;
    }

    // LB_GETTEXT is told no buffer size: the row's length is checked against cap first.
    bool Text(int index, char* out, size_t cap) const override {
        LRESULT n = SendMessageA(list_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        if (!out || cap == 0 || n < 0 || static_cast<size_t>(n) >= cap)
            return false;
        LRESULT got = SendMessageA(list_, LB_GETTEXT, static_cast<WPARAM>(index),
                                   reinterpret_cast<LPARAM>(out));
        if (got < 0 || got > n) {
            out[0] = 0;
            return false;
        }
        out[got] = 0;
        return true;
    }

    void Remove(int index) override {
        SendMessageA(list_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
    }

    void Insert(int index, const char* text) override {
        SendMessageA(list_, LB_INSERTSTRING, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(text));
    }

    int Selected(int* out, int cap) const override {
        LRESULT n = SendMessageA(list_, LB_GETSELITEMS, static_cast<WPARAM>(cap),
                                 reinterpret_cast<LPARAM>(out));
        return n > 0 ? static_cast<int>(n < cap ? n : cap) : 0;
    }

    void Select(int index) override {
        SendMessageA(list_, LB_SETSEL, TRUE, static_cast<LPARAM>(index));
        SendMessageA(list_, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
    }

  private:
    HWND list_;
};

class DiskExistence final : public ExistenceTest {
  public:
    bool IsExistingFile(const char* path) const override { return vn::IsExistingFile(path); }
    bool IsExistingFolder(const char* path) const override { return vn::IsExistingFolder(path); }
};

// The rows of one list box copied for storing, in the order shown.
struct RowCopy {
    char text[kEditorRowsMax][kListEntrySize];
    const char* rows[kEditorRowsMax];
    int count;

    void Take(const EditableRows& from) {
        count = 0;
        int n = from.Count();
        for (int i = 0; i < n && count < kEditorRowsMax; ++i)
            if (from.Text(i, text[count], sizeof text[count]) && text[count][0]) {
                rows[count] = text[count];
                ++count;
            }
    }
};

HWND ListOfControls(HWND box, const ListControls& c) {
    return GetDlgItem(box, c.list);
}

void EnableButton(HWND box, int id, bool enable, HWND list) {
    HWND button = GetDlgItem(box, id);
    // A button that goes grey under the keyboard focus would leave the focus nowhere.
    if (!enable && GetFocus() == button)
        SendMessageA(box, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
    EnableWindow(button, enable);
}

void UpdateButtons(HWND box, const ListControls& c) {
    HWND list = ListOfControls(box, c);
    RowButtons b = ButtonStates(ListBoxRows(list));
    EnableButton(box, c.remove, b.remove, list);
    EnableButton(box, c.up, b.up, list);
    EnableButton(box, c.down, b.down, list);
}

void FillList(HWND box, const EditorContext& ctx, const ListControls& c) {
    const char* module = ctx.Module();
    ListEntries* entries = ListOf(module, ctx.favorites, c.paths);
    if (!entries)
        return;
    int positions[kEditorRowsMax];
    int n = EditorRowPositions(*entries, ListLast(module, ctx.favorites, c.paths), ctx.favorites,
                               positions, kEditorRowsMax);
    HWND list = ListOfControls(box, c);
    for (int i = 0; i < n; ++i) {
        // Entries of the shared lists may change under us: copied as fields, never trusted to end.
        char row[kListEntrySize];
        if (CopyField(row, sizeof row, (*entries)[positions[i] - 1], kListEntrySize))
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
    }
}

void StartEditor(HWND box, const EditorContext& ctx) {
    const char* module = ctx.Module();
    if (module)
        LoadAppLists(module); // what other processes stored since this dialog opened
    char name[kListEntrySize] = "";
    if (module)
        CopyText(name, sizeof name, module);
    else
        LoadLibraryString(IDS_ALL_APPLICATIONS, name, sizeof name);
    char format[kMessageSize];
    if (LoadLibraryString(ctx.favorites ? IDS_EDITING_FAVORITES : IDS_EDITING_RECENT, format,
                          sizeof format)) {
        char shown[2 * kListEntrySize];
        DoubleAmpersands(shown, sizeof shown, name);
        char heading[kMessageSize + sizeof shown];
        FillMessage(heading, sizeof heading, format, nullptr, shown);
        SetDlgItemTextA(box, IDC_EDIT_HEADING, heading);
    }
    if (ctx.favorites) {
        if (module)
            CheckDlgButton(box, IDC_EDIT_OPEN_TO_FIRST,
                           ReadOpenToFirstFavorite(module) ? BST_CHECKED : BST_UNCHECKED);
        else
            ShowWindow(GetDlgItem(box, IDC_EDIT_OPEN_TO_FIRST), SW_HIDE);
    }
    for (const ListControls* c : kBothLists) {
        FillList(box, ctx, *c);
        UpdateButtons(box, *c);
    }
}

void AddRow(HWND box, const ListControls& c) {
    HWND list = ListOfControls(box, c);
    UINT failed = c.paths ? IDS_FAVORITE_FOLDER_FAILED : IDS_FAVORITE_FILE_FAILED;
    if (!CanAddRow(static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)))) {
        MessageBoxFromIds(box, failed, IDS_ERROR_TITLE, MB_OK);
        return;
    }
    char path[kListEntrySize];
    BOOL chosen = c.paths ? AddFavoriteFolderDialog(box, path, sizeof path)
                          : AddFavoriteFileDialog(box, path, sizeof path);
    if (!chosen)
        return;
    if (c.paths && !MakeFolderRow(path, sizeof path)) {
        MessageBoxFromIds(box, failed, IDS_ERROR_TITLE, MB_OK);
        return;
    }
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path));
    UpdateButtons(box, c);
}

void RemoveOrphans(HWND box) {
    HCURSOR before = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    DiskExistence disk;
    for (const ListControls* c : kBothLists) {
        ListBoxRows rows(ListOfControls(box, *c));
        RemoveOrphanedRows(rows, c->paths, disk);
        UpdateButtons(box, *c);
    }
    SetCursor(before);
}

// Both lists (and the favourites' switch) are written in one hold of the lists lock, so that
// other processes find either the lists as they were or as edited, never one of each.
bool StoreEditedLists(HWND box, const EditorContext& ctx) {
    auto* copy = static_cast<RowCopy*>(HeapAlloc(GetProcessHeap(), 0, sizeof(RowCopy)));
    if (!copy)
        return false;
    const char* module = ctx.Module();
    bool stored = false;
    {
        ListLock hold;
        if (hold.Held()) {
            stored = true;
            for (const ListControls* c : kBothLists) {
                copy->Take(ListBoxRows(ListOfControls(box, *c)));
                stored =
                    ReplaceList(module, ctx.favorites, c->paths, copy->rows, copy->count) && stored;
            }
            if (ctx.favorites && module)
                WriteOpenToFirstFavorite(
                    module, IsDlgButtonChecked(box, IDC_EDIT_OPEN_TO_FIRST) == BST_CHECKED ? 1 : 0);
        }
    }
    HeapFree(GetProcessHeap(), 0, copy);
    // The switch is a setting of the application: the manager takes a new settings serial.
    const SharedState* s = Shared();
    if (stored && ctx.favorites && module && s)
        SendToManager(*s, MSG_SETTINGS_CHANGED, reinterpret_cast<WPARAM>(ctx.module), 0, nullptr);
    return stored;
}

void OnEditorCommand(HWND box, EditorContext& ctx, int id, int code) {
    const ListControls& c = id == IDC_EDIT_FOLDERS || id == IDC_EDIT_ADD_FOLDER ||
                                    id == IDC_EDIT_CLEAR_FOLDERS ||
                                    (id >= IDC_EDIT_DELETE_FOLDERS && id <= IDC_EDIT_DOWN_FOLDERS)
                                ? kFolderControls
                                : kFileControls;
    switch (id) {
    case IDC_EDIT_FILES:
    case IDC_EDIT_FOLDERS:
        if (code == LBN_SELCHANGE)
            UpdateButtons(box, c);
        return;
    case IDC_EDIT_DELETE_FILES:
    case IDC_EDIT_DELETE_FOLDERS: {
        ListBoxRows rows(ListOfControls(box, c));
        DeleteSelectedRows(rows);
        UpdateButtons(box, c);
        return;
    }
    case IDC_EDIT_UP_FILES:
    case IDC_EDIT_DOWN_FILES:
    case IDC_EDIT_UP_FOLDERS:
    case IDC_EDIT_DOWN_FOLDERS: {
        ListBoxRows rows(ListOfControls(box, c));
        MoveSelectedRow(rows, id == c.up);
        UpdateButtons(box, c);
        return;
    }
    case IDC_EDIT_ADD_FILE:
    case IDC_EDIT_ADD_FOLDER:
        if (ctx.favorites)
            AddRow(box, c);
        return;
    case IDC_EDIT_CLEAR_FILES:
    case IDC_EDIT_CLEAR_FOLDERS:
        if (!ctx.favorites) {
            SendMessageA(ListOfControls(box, c), LB_RESETCONTENT, 0, 0);
            UpdateButtons(box, c);
        }
        return;
    case IDC_EDIT_REMOVE_ORPHANS:
        if (!ctx.favorites)
            RemoveOrphans(box);
        return;
    case IDC_HELP_BUTTON:
        ShowLibraryHelp(box, ctx.favorites ? kFavoritesHelpContext : kRecentHelpContext);
        return;
    case IDOK:
        ctx.stored = StoreEditedLists(box, ctx);
        EndDialog(box, IDOK);
        return;
    case IDCANCEL:
        EndDialog(box, IDCANCEL);
        return;
    default:
        return;
    }
}

INT_PTR CALLBACK EditorProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (HelpKeyAsButton(box, msg))
        return TRUE;
    auto* ctx = reinterpret_cast<EditorContext*>(GetWindowLongPtrA(box, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(box, DWLP_USER, lParam);
        StartEditor(box, *reinterpret_cast<EditorContext*>(lParam));
        return TRUE;
    case WM_CLOSE:
        PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    case WM_COMMAND:
        if (!ctx)
            return FALSE;
        OnEditorCommand(box, *ctx, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL OpenEditor(HWND owner, const char* moduleOrNull, bool favorites) {
    EditorContext ctx = {};
    ctx.favorites = favorites;
    ctx.hasModule = moduleOrNull && moduleOrNull[0];
    CopyText(ctx.module, sizeof ctx.module, moduleOrNull);
    INT_PTR result =
        DialogBoxParamA(g_process.moduleInstance, favorites ? kFavoritesTemplate : kRecentTemplate,
                        owner, EditorProc, reinterpret_cast<LPARAM>(&ctx));
    return result == IDOK && ctx.stored;
}

// The folder dialog presets the Save dialog's name with the hint to navigate, the file dialog
// with nothing; a file comes back as its folder joined with its name, a folder as itself.
void BrowseForPath(HWND box, const AddContext& ctx) {
    char name[kPathSize] = "";
    if (ctx.folder)
        LoadLibraryString(IDS_FOLDER_PICK_HINT, name, sizeof name);
    char title[kPathSize] = "";
    char folder[kPathSize] = "";
    if (BrowseForDestination(box, name, title, folder)) {
        char path[kListEntrySize];
        if (ctx.folder)
            CopyText(path, sizeof path, folder);
        else
            JoinPath(path, sizeof path, folder, title);
        SetDlgItemTextA(box, IDC_ADD_PATH, path);
    }
    SendMessageA(box, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(box, IDOK)), TRUE);
}

INT_PTR CALLBACK AddProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (HelpKeyAsButton(box, msg))
        return TRUE;
    auto* ctx = reinterpret_cast<AddContext*>(GetWindowLongPtrA(box, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(box, DWLP_USER, lParam);
        SendDlgItemMessageA(box, IDC_ADD_PATH, EM_LIMITTEXT, kMaxPath, 0);
        return TRUE;
    case WM_CLOSE:
        PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    case WM_COMMAND:
        // Clicks of the buttons only: the edit box's notifications carry a code in the high word.
        if (!ctx || wParam < IDOK || wParam > IDC_ADD_BROWSE)
            return FALSE;
        switch (wParam) {
        case IDOK: {
            char typed[kListEntrySize] = "";
            GetDlgItemTextA(box, IDC_ADD_PATH, typed, sizeof typed);
            EndDialog(box, TakeTypedPath(typed, ctx->out, ctx->size) ? IDOK : IDCANCEL);
            return TRUE;
        }
        case IDCANCEL:
            ctx->out[0] = 0;
            EndDialog(box, IDCANCEL);
            return TRUE;
        case IDC_HELP_BUTTON:
            ShowLibraryHelp(box, kFavoritesHelpContext);
            return TRUE;
        case IDC_ADD_BROWSE:
            BrowseForPath(box, *ctx);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

BOOL OpenAddDialog(HWND owner, bool folder, char* out, size_t size) {
    if (!out || size == 0)
        return FALSE;
    out[0] = 0;
    AddContext ctx = {folder, out, size};
    INT_PTR result =
        DialogBoxParamA(g_process.moduleInstance, folder ? kAddFolderTemplate : kAddFileTemplate,
                        owner, AddProc, reinterpret_cast<LPARAM>(&ctx));
    return result == IDOK && out[0];
}

} // namespace

BOOL EditFavoritesDialog(HWND owner, const char* moduleOrNull) {
    return OpenEditor(owner, moduleOrNull, true);
}

BOOL EditRecentDialog(HWND owner, const char* moduleOrNull) {
    return OpenEditor(owner, moduleOrNull, false);
}

BOOL AddFavoriteFileDialog(HWND owner, char* out, size_t size) {
    return OpenAddDialog(owner, false, out, size);
}

BOOL AddFavoriteFolderDialog(HWND owner, char* out, size_t size) {
    return OpenAddDialog(owner, true, out, size);
}

} // namespace vn
