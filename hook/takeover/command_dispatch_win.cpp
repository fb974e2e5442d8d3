#include "hook/takeover/command_dispatch_win.h"

#include "hook/commands/dialog_path_win.h"
#include "hook/commands/file_commands_win.h"
#include "hook/commands/find_win.h"
#include "hook/commands/info_line_win.h"
#include "hook/commands/list_choice.h"
#include "hook/core/control_ids.h"
#include "hook/core/manager_link_win.h"
#include "hook/core/messages.h"
#include "hook/core/path_rules.h"
#include "hook/core/process_win.h"
#include "hook/core/text.h"
#include "hook/core/text_fit_win.h"
#include "hook/core/ui_win.h"
#include "hook/lists/list_editors_win.h"
#include "hook/lists/list_files_win.h"
#include "hook/lists/list_fill_win.h"
#include "hook/resources/resource.h"

#include <initializer_list>

namespace vn {

namespace {

// The record of a dialog, found again after anything that ran a modal loop or the dialog's own
// code, which may have ended the dialog. Null when it is gone.
DialogRecord* RecordOf(HWND dialog) {
    int slot = FindDialogRecord(g_dialogs, reinterpret_cast<uintptr_t>(dialog));
    if (slot < 0 || g_dialogs.slots[slot].dialogWindow != reinterpret_cast<uintptr_t>(dialog))
        return nullptr;
    return &g_dialogs.slots[slot];
}

HWND ListControl(const DialogRecord& r, DropList list) {
    uintptr_t handle = r.added[AddedControlOf(list)];
    HWND control = handle ? ToHwnd(handle) : nullptr;
    return control && IsWindow(control) ? control : nullptr;
}

// After a refill: the list's choice state starts again from the row the list now shows.
void NoteRefilled(DialogRecord& r, DropList list) {
    if (HWND control = ListControl(r, list)) {
        LRESULT selected = SendMessageA(control, CB_GETCURSEL, 0, 0);
        ListRefilled(r.lists[static_cast<int>(list)],
                     selected < 0 ? -1 : static_cast<int32_t>(selected));
    }
}

// Refills a family for the folder the lists were filled for, so that every list of the dialog
// shows its relative paths against one folder, the one a chosen row is looked up against. Only
// following the dialog's folder (FollowFolder) moves that folder.
void RefillFamily(DialogRecord& r, bool favorite, bool both) {
    const char* base = r.session.listFolder;
    if (favorite)
        RefillFavoriteLists(r, base, both);
    else
        RefillRecentLists(r, base, both);
    NoteRefilled(r, favorite ? DropList::kFavoriteFiles : DropList::kRecentFiles);
    if (both)
        NoteRefilled(r, favorite ? DropList::kFavoriteFolders : DropList::kRecentFolders);
}

void FollowFolder(DialogRecord& r, HWND dialog, const HookSettings& settings) {
    char folder[kMaxPath + 1];
    ReadDialogFolder(dialog, folder, sizeof folder);
    FolderRefill refill = ListsToRefillForFolder(settings, folder, r.session.listFolder);
    if (!refill.folderChanged)
        return;
    CopyText(r.session.listFolder, sizeof r.session.listFolder, folder);
    if (refill.recent)
        RefillFamily(r, false, false);
    if (refill.favorites)
        RefillFamily(r, true, false);
}

void OpenConfiguration() {
    const SharedState* s = Shared();
    if (!s || !s->managerWindow)
        return;
    SetForegroundWindow(ToHwnd(s->managerWindow));
    SendToManager(*s, MSG_OPEN_CONFIGURATION, 0, 0, nullptr);
}

// The file named in the file name box joined to the dialog's folder, as a favourite.
void AddSelectedFile(HWND dialog, const DialogRecord& r, const char* moduleOrNull) {
    char name[kMaxPath + 1] = "", folder[kMaxPath + 1] = "", path[kMaxPath + 1];
    GetDlgItemTextA(dialog, r.fileNameControlId, name, sizeof name);
    if (!name[0] || !ReadDialogFolder(dialog, folder, sizeof folder) || !folder[0])
        return;
    FitNameToFolder(name, folder);
    JoinPath(path, sizeof path, folder, name);
    if (!AddFavoriteFromDialog(moduleOrNull, path, false)) {
        MessageBoxFromIds(dialog, IDS_FAVORITE_FILE_FAILED, IDS_ERROR_TITLE, MB_OK);
        return;
    }
    if (DialogRecord* again = RecordOf(dialog))
        RefillFamily(*again, true, false);
}

void AddCurrentFolder(HWND dialog, const char* moduleOrNull) {
    char folder[kMaxPath + 1] = "";
    ReadDialogFolder(dialog, folder, sizeof folder);
    if (!AddFolderFavorite(moduleOrNull, folder))
        MessageBoxFromIds(dialog, IDS_FAVORITE_FOLDER_FAILED, IDS_ERROR_TITLE, MB_OK);
    if (DialogRecord* again = RecordOf(dialog))
        RefillFamily(*again, true, true);
}

void RunCommandRow(HWND dialog, const DialogRecord& r, const CommandRow& row) {
    // The editors run a modal loop: work from a copy of the name, not from the record.
    char module[kMaxPath + 1];
    CopyText(module, sizeof module, r.moduleName);
    const char* moduleOrNull = row.forAllApplications ? nullptr : module;
    switch (row.command) {
    case RowCommand::kEditRecent:
    case RowCommand::kEditFavorites: {
        const bool favorite = row.command == RowCommand::kEditFavorites;
        BOOL stored = favorite ? EditFavoritesDialog(dialog, moduleOrNull)
                               : EditRecentDialog(dialog, moduleOrNull);
        const SharedState* s = Shared();
        DialogRecord* again = RecordOf(dialog);
        if (stored && s && again && (favorite ? s->settings.showFavorites : s->settings.showRecent))
            RefillFamily(*again, favorite, true);
        break;
    }
    case RowCommand::kAddSelectedFile:
        AddSelectedFile(dialog, r, moduleOrNull);
        break;
    case RowCommand::kAddCurrentFolder:
        AddCurrentFolder(dialog, moduleOrNull);
        break;
    }
}

bool LookUpEntry(const DialogRecord& r, DropList list, char* out, size_t size) {
    const char* base = r.session.listFolder;
    switch (list) {
    case DropList::kRecentFiles:
        return LookUpRecentFile(r, base, out, size);
    case DropList::kRecentFolders:
        return LookUpRecentFolder(r, base, out, size);
    case DropList::kFavoriteFiles:
        return LookUpFavoriteFile(r, base, out, size);
    case DropList::kFavoriteFolders:
        return LookUpFavoriteFolder(r, base, out, size);
    }
    return false;
}

// The row the user chose: a command row runs its command, an entry is looked up and opened.
void ActOnRow(HWND dialog, const DialogRecord& r, DropList list, int32_t index) {
    HWND control = ListControl(r, list);
    if (!control)
        return;
    LRESULT length = SendMessageA(control, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (!ListRowFits(static_cast<long>(length)))
        return;
    char text[kListRowSize] = "";
    if (SendMessageA(control, CB_GETLBTEXT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(text)) < 0)
        return;
    text[sizeof text - 1] = 0;

    LibraryCaptions captions;
    ChosenRow chosen = ClassifyListRow(list, text, captions);
    if (chosen.isCommand) {
        RunCommandRow(dialog, r, chosen.command);
        return;
    }
    char entry[kPathSize];
    if (!LookUpEntry(r, list, entry, sizeof entry))
        return;
    EntryAction action = EntryActionOf(list, entry);
    switch (action.step) {
    case EntryStep::kGoToFile:
        GoToFile(dialog, action.path, true);
        break;
    case EntryStep::kGoToFolder:
        GoToFolder(dialog, action.path, true);
        break;
    case EntryStep::kApplyMask:
        ApplyMask(dialog, action.path);
        break;
    case EntryStep::kNothing:
        break;
    }
}

void OnListNotice(HWND dialog, DialogRecord& r, DropList list, uint16_t code) {
    SharedState* s = Shared();
    HWND control = ListControl(r, list);
    if (!s || !control)
        return;
    LRESULT selected = SendMessageA(control, CB_GETCURSEL, 0, 0);
    ListNotice notice = {code, selected < 0 ? -1 : static_cast<int32_t>(selected),
                         SendMessageA(control, CB_GETDROPPEDSTATE, 0, 0) != 0,
                         (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0};
    ListReply reply = StepListChoice(r.lists[static_cast<int>(list)], list, notice, s->settings);
    if (reply.showDropDown)
        PostMessageA(control, CB_SHOWDROPDOWN, TRUE, 0);
    if (reply.step == ListStep::kPutBack)
        SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(reply.index), 0);
    if (reply.step == ListStep::kChoose)
        ActOnRow(dialog, r, list, reply.index);

    DialogRecord* again = RecordOf(dialog);
    if (!again)
        return;
    switch (reply.refill) {
    case ListRefill::kShowCommandRows:
    case ListRefill::kHideCommandRows:
        s->settings.showListEditEntries = reply.refill == ListRefill::kShowCommandRows ? 1 : 0;
        RefillFamily(*again, !IsRecentList(list), BothListsFlag(list) != 0);
        break;
    case ListRefill::kFollowFolder:
        FollowFolder(*again, dialog, s->settings);
        break;
    case ListRefill::kNone:
        break;
    }
}

// The width the rows of the lists have now: that of the first files list that exists.
int ListsRoom(const DialogRecord& r) {
    for (DropList list : {DropList::kRecentFiles, DropList::kFavoriteFiles})
        if (HWND control = ListControl(r, list))
            return RowRoom(control);
    return 0;
}

} // namespace

void DispatchCommand(int slot, HWND dialog, WPARAM wParam, LPARAM) {
    if (slot < 0 || slot >= kDialogSlots)
        return;
    DialogRecord& r = g_dialogs.slots[slot];
    const int id = LOWORD(wParam);
    const uint16_t code = HIWORD(wParam);
    CommandDecision decision =
        DecideCommand(id, code, r.fileNameControlId, g_process.ignoreNextOk != 0);
    if (decision.clearIgnoreNextOk)
        g_process.ignoreNextOk = 0;
    if (decision.keepFileType) {
        char types[kMaxPath + 1] = "";
        if (GetDlgItemTextA(dialog, kIdFileTypes, types, sizeof types) > 0)
            CopyText(r.session.fileTypeText, sizeof r.session.fileTypeText, types);
    }
    // The information line is rebuilt from its own message until it is built at once here.
    if (decision.postInfoRefresh || decision.rebuildInfoLine)
        PostInfoLineRefresh(dialog, r, decision.typing);
    if (decision.recordCancel) {
        r.session.cancelPressed = 1;
        g_process.cancelPathValid =
            ReadSelectedPath(dialog, g_process.cancelPath, sizeof g_process.cancelPath) ? 1 : 0;
    }
    switch (decision.command) {
    case DialogCommand::kOpenConfiguration:
        OpenConfiguration();
        break;
    case DialogCommand::kListNotice:
        OnListNotice(dialog, r, decision.list, code);
        break;
    case DialogCommand::kPathToClipboard:
        PathToClipboard(dialog);
        break;
    // The file buttons run modal boxes and work from the dialog window alone; nothing of the
    // record is used after them.
    case DialogCommand::kDelete:
        DeleteCommand(dialog);
        break;
    case DialogCommand::kRename:
        RenameCommand(dialog);
        break;
    case DialogCommand::kMakeDir:
        MakeDirCommand(dialog);
        break;
    case DialogCommand::kCopy:
        CopyCommand(dialog);
        break;
    case DialogCommand::kMove:
        MoveCommand(dialog);
        break;
    case DialogCommand::kFind:
        // Runs a search that handles the thread's messages: the dialog may be gone afterwards.
        FindCommand(dialog);
        break;
    default:
        break;
    }
}

void FillAddedLists(DialogRecord& r) {
    if (!ListControl(r, DropList::kRecentFiles) && !ListControl(r, DropList::kFavoriteFiles))
        return;
    const int room = ListsRoom(r);
    if (r.session.listsFilled && room == r.session.listsRoom)
        return;
    if (!r.session.listsFilled)
        for (ListChoiceState& state : r.lists)
            state = ListChoiceState{};
    r.session.listsFilled = 1;
    r.session.listsRoom = room;
    RefillFamily(r, false, true);
    RefillFamily(r, true, true);
}

} // namespace vn
