// The four drop-down lists the library adds to a dialog (recent files, recent folders, favourite
// files, favourite folders): when the user has really chosen a row, read from the combo-box
// notifications a list sends, and what a chosen row asks the dialog to do. Also the decisions of
// the command dispatch about the dialog's own controls (which commands refresh the information
// line, keep the file type, record the Cancel) and about the added buttons.
//
// Nothing here talks to Win32. The glue reads the control when a notification arrives (the
// selected row, the drop state, the Ctrl key, the row's text), asks these rules, and carries out
// the answer: it opens the file, changes the folder, runs a command row, refills a list or puts
// its selection back.
#pragma once

#include "hook/core/captions.h"
#include "hook/core/compat.h"
#include "hook/core/dialog_record.h"
#include "hook/core/settings_block.h"
#include "hook/core/sizes.h"

namespace vn {

// Notification codes (the high word of a WM_COMMAND's wParam), numbered as the platform's
// headers number them; named here so that the rules build without those headers.
constexpr uint16_t kBnClicked = 0;
constexpr uint16_t kCbnErrSpace = 0xFFFF; // -1 in the high word
constexpr uint16_t kCbnSelChange = 1;
constexpr uint16_t kCbnDblClk = 2;
constexpr uint16_t kCbnSetFocus = 3;
constexpr uint16_t kCbnKillFocus = 4;
constexpr uint16_t kCbnEditChange = 5;
constexpr uint16_t kCbnEditUpdate = 6;
constexpr uint16_t kCbnDropDown = 7;
constexpr uint16_t kCbnCloseUp = 8;
constexpr uint16_t kCbnSelEndOk = 9;
constexpr uint16_t kCbnSelEndCancel = 10;
constexpr uint16_t kEnSetFocus = 0x100;
constexpr uint16_t kEnKillFocus = 0x200;
constexpr uint16_t kEnChange = 0x300;

// Command identifiers of the dialog itself that the dispatch looks at (its other controls are in
// control_ids.h).
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdShellViewCommand = 0xA001; // a command the shell view passes on to the dialog

// The four lists, in the order of their control ids (19008 to 19011).
enum class DropList : int { kRecentFiles = 0, kRecentFolders, kFavoriteFiles, kFavoriteFolders };
constexpr int kDropLists = kDropListCount;

// Which list a command identifier names; false for any other identifier.
bool DropListOfControl(int controlId, DropList* list);

// The list's entry in DialogRecord::added.
AddedControl AddedControlOf(DropList list);

// The recent lists are filled by RefillRecentLists, the favourite ones by RefillFavoriteLists.
bool IsRecentList(DropList list);

// The both-lists flag a list's family is refilled with when its command rows come and go: 0
// (only the list of files) for the lists of files, 1 for the lists of folders.
int BothListsFlag(DropList list);

// The setting that puts the command rows into the list for good: "Include EditRecent" for the
// recent lists, "Include AddEditFavs" for the favourite ones.
bool IncludesCommandRows(const HookSettings& settings, DropList list);

// One notification as the glue reads it when it arrives.
struct ListNotice {
    uint16_t code;    // the notification code
    int32_t selected; // CB_GETCURSEL at that moment: -1 when no row is selected
    // CB_GETDROPPEDSTATE at that moment: a CBN_SELCHANGE of an open list only moves through it.
    bool droppedDown;
    bool ctrlDown; // the Ctrl key is held (GetAsyncKeyState); read for CBN_DROPDOWN
};

enum class ListStep {
    kNothing, // nothing is decided yet, or the notification was an echo
    kChoose,  // the user has chosen row `index`: read it and act on it (ClassifyListRow)
    kPutBack, // a gesture was cancelled: select row `index` again (CB_SETCURSEL)
};

enum class ListRefill {
    kNone,
    // CBN_DROPDOWN with Ctrl held while the list's Include setting is off: set
    // showListEditEntries, read the dialog's folder and refill the list's family with its
    // both-lists flag, so that the list drops down with its command rows.
    kShowCommandRows,
    // CBN_CLOSEUP while showListEditEntries is set: clear it, read the dialog's folder and
    // refill the list's family with its both-lists flag, so that the command rows go once the
    // list has closed.
    kHideCommandRows,
    // CBN_DROPDOWN of a list of files without Ctrl: the lists may follow the current folder;
    // read it and ask ListsToRefillForFolder.
    kFollowFolder,
};

struct ListReply {
    ListStep step;
    int32_t index;     // the row to act on (kChoose) or to select again (kPutBack)
    bool showDropDown; // post CB_SHOWDROPDOWN (TRUE) to the list: it opens when it gets the focus
    ListRefill refill; // done after the step, since it empties the list
};

// Reads one notification of a list. The state is brought up to date before the reply is
// returned, so that the notifications the list sends while the glue carries the reply out (a
// modal editor takes the focus, GoToFolder focuses the file name box) are read as following the
// choice. The glue carries out the step first, reading the chosen row's text before any refill,
// then the refill, then tells ListRefilled about every list it refilled.
//
// The rows are chosen as follows. CBN_SELENDOK chooses the selected row; CBN_CLOSEUP and
// CBN_KILLFOCUS choose it when the last code was a CBN_SELCHANGE; a CBN_SELCHANGE chooses it when
// the last code was the CBN_CLOSEUP of a drop-down that nothing decided. A notification that
// repeats the row just decided chooses nothing again; a gesture that ends in CBN_SELENDCANCEL,
// or in a focus loss that chooses nothing, puts back the row it started from; with no row
// selected nothing is chosen. CBN_SETFOCUS asks for the list to be opened.
ListReply StepListChoice(ListChoiceState& state, DropList list, const ListNotice& notice,
                         const HookSettings& settings);

// The glue refilled the list (which selects row `selected`, normally 0): any gesture of a closed
// list is over, and while the list is dropped down the new rows are what a cancel puts back.
void ListRefilled(ListChoiceState& state, int32_t selected);

// The rows of a list are read into buffers of kListRowSize. A row longer than a path (the
// separator and title rows are padded to the list's width) or one that cannot be read (CB_ERR)
// is neither a command nor an entry, and must not be read into such a buffer at all.
constexpr size_t kListRowSize = kPathSize;
constexpr bool ListRowFits(long rowLength) {
    return rowLength >= 0 && static_cast<unsigned long>(rowLength) <= kMaxPath;
}

// The command rows the lists carry, by what they ask for.
enum class RowCommand {
    kEditRecent,       // EditRecentDialog; on OK refill the recent lists (both) with "Show Recent"
    kEditFavorites,    // EditFavoritesDialog; on OK refill the favourite lists (both) with
                       // "Show Favorites"
    kAddSelectedFile,  // AddFavoriteFromDialog with the file name box joined to the folder
    kAddCurrentFolder, // AddFolderFavorite with the dialog's folder
};

// One command row: the string that is its caption, what it asks for, and for whom.
struct CommandRow {
    int captionId;
    RowCommand command;
    bool forAllApplications; // the all-applications lists rather than moduleName's
};

// A list's command rows in the order their captions are compared, and how many there are.
const CommandRow* CommandRowsOf(DropList list, int* count);

// What a chosen row is.
struct ChosenRow {
    bool isCommand; // a command row: run `command`
    CommandRow command;
    // Otherwise the row stands for an entry: read the dialog's folder, look the row up with the
    // list's look-up (LookUpRecentFile, ...) and, when found, ask EntryActionOf.
};

// A row whose text begins with a space is compared, exactly, with the list's command captions in
// their order; the first that is equal makes it that command row. Every other row is an entry
// (a header, separator or title row is not found by the look-up, or is ignored by EntryActionOf).
ChosenRow ClassifyListRow(DropList list, const char* rowText, CaptionSource& captions);

enum class EntryStep {
    kNothing,    // a separator, title or header line, or an empty entry
    kGoToFile,   // GoToFile(path, change-folder 1)
    kGoToFolder, // GoToFolder(path, keep-name 1)
    kApplyMask,  // ApplyMask(path)
};

struct EntryAction {
    EntryStep step;
    char path[kPathSize]; // the entry, with a folder's trailing backslash taken off
};

// What an entry found by a list's look-up asks for. Lines beginning with "-", "=" or a space are
// separators and headers and do nothing, except that on the favourite files list any entry
// holding "*" or "?" is applied as a mask. A folder longer than a drive's root loses one trailing
// backslash ("C:\" stays, "C:\work\" becomes "C:\work").
EntryAction EntryActionOf(DropList list, const char* entry);

// Which lists to refill when a list of files drops down and the lists follow the current folder.
struct FolderRefill {
    bool folderChanged; // copy `folder` into the record's listFolder
    bool recent;        // RefillRecentLists(folder, 0)
    bool favorites;     // RefillFavoriteLists(folder, 0)
};

// Only with "Recent Path Option" 2 and "Show Recent" or "Show Favorites" on; then when folder (the
// dialog's folder, as read) differs, case-sensitively, from listFolder (the folder the lists were
// last filled for).
FolderRefill ListsToRefillForFolder(const HookSettings& settings, const char* folder,
                                    const char* listFolder);

// The command dispatch: what one WM_COMMAND of an extended dialog asks for, beside what the
// dialog's own procedure does with it afterwards.
enum class DialogCommand {
    kNone,
    kDelete,            // DeleteCommand
    kRename,            // RenameCommand
    kCopy,              // CopyCommand
    kMove,              // MoveCommand
    kMakeDir,           // MakeDirCommand
    kFind,              // FindCommand
    kPathToClipboard,   // PathToClipboard
    kOpenConfiguration, // with a managerWindow: bring it forward, send MSG_OPEN_CONFIGURATION
    kListNotice,        // a notification of list `list`: StepListChoice
};

struct CommandDecision {
    DialogCommand command;
    DropList list;          // for kListNotice
    bool postInfoRefresh;   // post MSG_REFRESH_INFO_LINE to the dialog
    bool typing;            // the refresh follows a change the user typed into the name box
    bool keepFileType;      // read the file types box; a text of one character or more becomes
                            // fileTypeText
    bool rebuildInfoLine;   // RebuildInfoLine at once (after keepFileType)
    bool recordCancel;      // set cancelPressed; ReadSelectedPath into cancelPath, its result
                            // into cancelPathValid
    bool clearIgnoreNextOk; // the OK of the Enter a list command posted: clear ignoreNextOk, and
                            // nothing else
};

// Decides for a command identifier (the low word of wParam) and notification code (the high
// word), with the record's fileNameControlId and the process's ignoreNextOk. The added buttons
// act on BN_CLICKED only: a button never starts a file operation because it gained the focus.
CommandDecision DecideCommand(int controlId, uint16_t code, int32_t fileNameControlId,
                              bool ignoreNextOk);

} // namespace vn
