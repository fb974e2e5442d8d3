#include "hook/commands/list_choice.h"

#include "hook/core/control_ids.h"
#include "hook/core/path_rules.h"
#include "hook/core/text.h"

#include <cstring>

namespace vn {

namespace {

constexpr AddedControl kListControls[kDropLists] = {kRecentFilesList, kRecentFoldersList,
                                                    kFavoriteFilesList, kFavoriteFoldersList};

constexpr CommandRow kRecentCommandRows[] = {
    {kIdsEditRecent, RowCommand::kEditRecent, false},
    {kIdsEditRecentForAll, RowCommand::kEditRecent, true},
};

constexpr CommandRow kFavoriteFileCommandRows[] = {
    {kIdsAddSelectedFile, RowCommand::kAddSelectedFile, false},
    {kIdsEditFavorites, RowCommand::kEditFavorites, false},
    {kIdsAddSelectedFileForAll, RowCommand::kAddSelectedFile, true},
    {kIdsEditFavoritesForAll, RowCommand::kEditFavorites, true},
};

constexpr CommandRow kFavoriteFolderCommandRows[] = {
    {kIdsAddCurrentFolder, RowCommand::kAddCurrentFolder, false},
    {kIdsEditFavorites, RowCommand::kEditFavorites, false},
    {kIdsAddCurrentFolderForAll, RowCommand::kAddCurrentFolder, true},
    {kIdsEditFavoritesForAll, RowCommand::kEditFavorites, true},
};

// The buttons of the button row and the operation each starts.
struct ButtonCommand {
    AddedControl button;
    DialogCommand command;
};

constexpr ButtonCommand kButtonCommands[] = {
    {kDeleteButton, DialogCommand::kDelete},
    {kRenameButton, DialogCommand::kRename},
    {kCopyButton, DialogCommand::kCopy},
    {kMoveButton, DialogCommand::kMove},
    {kFindButton, DialogCommand::kFind},
    {kMkdirButton, DialogCommand::kMakeDir},
    {kClipButton, DialogCommand::kPathToClipboard},
    {kProductButton, DialogCommand::kOpenConfiguration},
};

bool IsFilesList(DropList list) {
    return list == DropList::kRecentFiles || list == DropList::kFavoriteFiles;
}

// A selection the platform reports as CB_ERR, or anything below it, is "no row".
int32_t RowOrNone(int32_t selected) {
    return selected < 0 ? -1 : selected;
}

// The notification merely repeats the row that was decided last, with no gesture under way.
bool IsEcho(const ListChoiceState& state, int32_t selected) {
    return !state.undecided && selected == state.decidedIndex;
}

void BeginGesture(ListChoiceState& state) {
    if (!state.undecided) {
        state.undecided = 1;
        state.gestureStartIndex = state.decidedIndex;
    }
}

// Chooses the selected row. With no row selected the gesture ends and nothing is chosen: the
// row's text could not be read, and acting on whatever text was read before would repeat an
// earlier choice.
void Choose(ListChoiceState& state, ListReply& reply, int32_t selected, uint16_t code) {
    state.undecided = 0;
    state.decidedIndex = selected;
    if (selected < 0) {
        state.comboNotifyState = static_cast<int16_t>(code);
        return;
    }
    state.comboNotifyState = 0;
    reply.step = ListStep::kChoose;
    reply.index = selected;
}

// Ends the gesture under way without a choice; the list shows again the row it started from,
// not one the user passed over.
void Cancel(ListChoiceState& state, ListReply& reply, int32_t selected) {
    state.undecided = 0;
    state.decidedIndex = state.gestureStartIndex;
    if (selected != state.gestureStartIndex) {
        reply.step = ListStep::kPutBack;
        reply.index = state.gestureStartIndex;
    }
}

} // namespace

bool DropListOfControl(int controlId, DropList* list) {
    for (int i = 0; i < kDropLists; ++i) {
        if (kAddedControlIds[kListControls[i]] == controlId) {
            if (list)
                *list = static_cast<DropList>(i);
            return true;
        }
    }
    return false;
}

AddedControl AddedControlOf(DropList list) {
    return kListControls[static_cast<int>(list)];
}

bool IsRecentList(DropList list) {
    return list == DropList::kRecentFiles || list == DropList::kRecentFolders;
}

int BothListsFlag(DropList list) {
    return IsFilesList(list) ? 0 : 1;
}

bool IncludesCommandRows(const HookSettings& settings, DropList list) {
    return IsRecentList(list) ? settings.includeEditRecent != 0 : settings.includeAddEditFavs != 0;
}

ListReply StepListChoice(ListChoiceState& state, DropList list, const ListNotice& notice,
                         const HookSettings& settings) {
    ListReply reply = {ListStep::kNothing, -1, false, ListRefill::kNone};
    const int32_t selected = RowOrNone(notice.selected);
    const uint16_t code = notice.code;

    switch (code) {
    case kCbnDropDown:
        state.droppedDown = 1;
        state.undecided = 1;
        state.gestureStartIndex = selected;
        state.comboNotifyState = static_cast<int16_t>(code);
        if (notice.ctrlDown && !IncludesCommandRows(settings, list))
            reply.refill = ListRefill::kShowCommandRows;
        else if (!notice.ctrlDown && IsFilesList(list))
            reply.refill = ListRefill::kFollowFolder;
        break;
    case kCbnSetFocus:
        reply.showDropDown = true;
        state.comboNotifyState = static_cast<int16_t>(code);
        break;
    case kCbnCloseUp:
        state.droppedDown = 0;
        if (state.undecided && state.comboNotifyState == kCbnSelChange)
            Choose(state, reply, selected, code);
        else
            state.comboNotifyState = static_cast<int16_t>(code);
        break;
    case kCbnKillFocus:
        state.droppedDown = 0;
        if (state.undecided && state.comboNotifyState == kCbnSelChange) {
            Choose(state, reply, selected, code);
        } else {
            if (state.undecided)
                Cancel(state, reply, selected);
            state.comboNotifyState = static_cast<int16_t>(code);
        }
        break;
    case kCbnSelChange:
        if (state.droppedDown || notice.droppedDown) {
            // Moving through the open list chooses nothing yet.
            BeginGesture(state);
            state.comboNotifyState = static_cast<int16_t>(code);
        } else if (state.undecided && state.comboNotifyState == kCbnCloseUp) {
            // The pick of a drop-down that closed before it said which row.
            Choose(state, reply, selected, code);
        } else if (!IsEcho(state, selected)) {
            // Moved while closed: chosen when the list closes or loses the focus.
            BeginGesture(state);
            state.comboNotifyState = static_cast<int16_t>(code);
        }
        break;
    case kCbnSelEndOk:
        if (!IsEcho(state, selected))
            Choose(state, reply, selected, code);
        break;
    case kCbnSelEndCancel:
        if (state.undecided)
            Cancel(state, reply, selected);
        state.comboNotifyState = static_cast<int16_t>(code);
        break;
    default:
        state.comboNotifyState = static_cast<int16_t>(code);
        break;
    }

    if (code == kCbnCloseUp && settings.showListEditEntries)
        reply.refill = ListRefill::kHideCommandRows;
    return reply;
}

void ListRefilled(ListChoiceState& state, int32_t selected) {
    selected = RowOrNone(selected);
    state.decidedIndex = selected;
    state.gestureStartIndex = selected;
    if (!state.droppedDown)
        state.undecided = 0;
}

const CommandRow* CommandRowsOf(DropList list, int* count) {
    const CommandRow* rows = kRecentCommandRows;
    int n = static_cast<int>(sizeof kRecentCommandRows / sizeof kRecentCommandRows[0]);
    if (list == DropList::kFavoriteFiles) {
        rows = kFavoriteFileCommandRows;
        n = static_cast<int>(sizeof kFavoriteFileCommandRows / sizeof kFavoriteFileCommandRows[0]);
    } else if (list == DropList::kFavoriteFolders) {
        rows = kFavoriteFolderCommandRows;
        n = static_cast<int>(sizeof kFavoriteFolderCommandRows /
                             sizeof kFavoriteFolderCommandRows[0]);
    }
    if (count)
        *count = n;
    return rows;
}

ChosenRow ClassifyListRow(DropList list, const char* rowText, CaptionSource& captions) {
    ChosenRow chosen = {};
    if (!rowText || rowText[0] != ' ')
        return chosen;
    int count = 0;
    const CommandRow* rows = CommandRowsOf(list, &count);
    for (int i = 0; i < count; ++i) {
        char caption[kListRowSize] = "";
        if (!captions.Caption(rows[i].captionId, caption, sizeof caption))
            continue;
        caption[sizeof caption - 1] = 0;
        if (caption[0] && std::strcmp(caption, rowText) == 0) {
            chosen.isCommand = true;
            chosen.command = rows[i];
            return chosen;
        }
    }
    return chosen;
}

EntryAction EntryActionOf(DropList list, const char* entry) {
    EntryAction action = {};
    action.step = EntryStep::kNothing;
    if (!entry || !entry[0])
        return action;
    CopyText(action.path, sizeof action.path, entry);

    if (list == DropList::kFavoriteFiles && HasWildcard(action.path)) {
        action.step = EntryStep::kApplyMask;
        return action;
    }
    if (action.path[0] == '-' || action.path[0] == '=' || action.path[0] == ' ') {
        action.path[0] = 0;
        return action;
    }
    if (IsFilesList(list)) {
        action.step = EntryStep::kGoToFile;
        return action;
    }
    size_t length = std::strlen(action.path);
    if (length > 3 && action.path[length - 1] == '\\')
        action.path[length - 1] = 0;
    action.step = EntryStep::kGoToFolder;
    return action;
}

FolderRefill ListsToRefillForFolder(const HookSettings& settings, const char* folder,
                                    const char* listFolder) {
    FolderRefill refill = {false, false, false};
    if (settings.recentPathOption != 2 || (!settings.showRecent && !settings.showFavorites))
        return refill;
    if (CompareN(folder ? folder : "", listFolder ? listFolder : "", kMaxPath + 1) == 0)
        return refill;
    refill.folderChanged = true;
    refill.recent = settings.showRecent != 0;
    refill.favorites = settings.showFavorites != 0;
    return refill;
}

CommandDecision DecideCommand(int controlId, uint16_t code, int32_t fileNameControlId,
                              bool ignoreNextOk) {
    CommandDecision decision = {};
    decision.command = DialogCommand::kNone;
    decision.list = DropList::kRecentFiles;

    if (controlId == fileNameControlId) {
        bool edit = controlId == kIdNameEdit &&
                    (code == kEnSetFocus || code == kEnKillFocus || code == kEnChange);
        bool combo = controlId == kIdNameCombo &&
                     (code == kCbnSetFocus || code == kCbnKillFocus || code == kCbnEditChange);
        decision.postInfoRefresh = edit || combo;
        decision.typing = (edit && code == kEnChange) || (combo && code == kCbnEditChange);
        return decision;
    }

    switch (controlId) {
    case kIdOk:
        if (ignoreNextOk)
            decision.clearIgnoreNextOk = true;
        else
            decision.postInfoRefresh = true;
        return decision;
    case kIdCancel:
        decision.recordCancel = true;
        return decision;
    case kIdFileList:
    case kIdShellView:
        decision.rebuildInfoLine = true;
        return decision;
    case kIdFileTypes:
        decision.keepFileType = true;
        decision.rebuildInfoLine = true;
        return decision;
    case kIdLookIn:
        decision.rebuildInfoLine = code == kCbnSelChange || code == kCbnSetFocus;
        return decision;
    case kIdShellViewCommand:
        decision.postInfoRefresh = true;
        return decision;
    default:
        break;
    }

    if (DropListOfControl(controlId, &decision.list)) {
        decision.command = DialogCommand::kListNotice;
        return decision;
    }
    if (code != kBnClicked)
        return decision;
    for (const ButtonCommand& button : kButtonCommands) {
        if (kAddedControlIds[button.button] == controlId) {
            decision.command = button.command;
            break;
        }
    }
    return decision;
}

} // namespace vn
