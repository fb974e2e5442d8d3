// What the library keeps about each dialog it has taken over, private to the dialog's process.
// Ten dialogs can be extended at once in one process; a dialog's record is found by the low 16
// bits of its window handle, which is all of a window handle that is stable across bitnesses.
#pragma once

#include "hook/core/compat.h"
#include "hook/core/settings_block.h"
#include "hook/core/sizes.h"

namespace vn {

constexpr int kDialogSlots = 10;

// The controls the library adds to a dialog. The enum indexes the record's table of their
// windows, so that every step that creates, places or destroys them walks one table.
enum AddedControl {
    kInfoLine,
    kRecentFilesList,
    kRecentHint,
    kRecentFoldersList,
    kFavoriteHint,
    kFavoriteFilesList,
    kFavoriteFoldersList,
    kDeleteButton,
    kRenameButton,
    kCopyButton,
    kMoveButton,
    kFindButton,
    kMkdirButton,
    kClipButton,
    kProductButton,
    kAddedControlCount
};

// The control id each added control gets (0: a label or line that is never addressed by id).
constexpr int kAddedControlIds[kAddedControlCount] = {
    0, 19008, 0, 19009, 0, 19010, 19011, 19000, 19001, 19005, 19007, 19003, 19002, 19004, 19006};

// The four drop-down lists among the added controls.
constexpr int kDropListCount = 4;

// What one drop-down list remembers between its notifications. Kept per list of each dialog,
// never per process: the library's own destination chooser is a second extended dialog of the
// same process, opened from the first, and must not inherit the half-finished gesture of the
// first one's list. All zero is a list just filled, showing row 0, with nothing under way.
struct ListChoiceState {
    // The last notification code that did not lead to a choice; 0 after a choice.
    int16_t comboNotifyState;
    // Between CBN_DROPDOWN and the CBN_CLOSEUP (or focus loss) that ends it.
    uint8_t droppedDown;
    // A gesture is under way: the list was dropped down, or its selection moved while it was
    // closed, and nothing has been chosen or cancelled since.
    uint8_t undecided;
    // The row the list showed when the last gesture was decided or the list was filled. A
    // notification that merely repeats it (the platform sends CBN_SELCHANGE, and sometimes a
    // second CBN_SELENDOK, after the one that chose) is an echo and chooses nothing again.
    int32_t decidedIndex;
    // The row shown when the gesture under way began; a cancelled gesture puts it back.
    int32_t gestureStartIndex;
};

// Window, procedure and font handles are this process's own and are kept as uintptr_t, so that
// the rules that work on a record build without the platform headers.
struct DialogRecord {
    uint32_t inUse;
    uintptr_t dialogWindow;
    uint32_t processId;
    uint32_t threadId;
    uintptr_t savedDialogProc; // the dialog's own procedure, which KsOpenProc calls on
    char moduleName[kMaxPath + 1];
    char dialogTitle[kTitleSize];
    int32_t fileNameControlId; // kIdNameEdit, or kIdNameCombo when the name box is a combo box

    // How far the dialog is extended.
    struct Mode {
        uint32_t passive;               // registered only: not extended
        uint32_t browseDialog;          // the library's own destination chooser
        uint32_t replacesTrainedDialog; // stands in for a trained Select Folder dialog
        ExcludeFlags exclusions;        // extensions withheld from this dialog
        // "This dialog only" choices of the disabling dialog, written with the title at close.
        ExcludeFlags pendingExcludes;
        uint32_t openToFirstFavorite; // the application opens in its first favourite folder
        // The Common Item Dialog: it lays its own controls out, and its folder is asked of the
        // shell's browser inside it rather than with the classic dialog's messages.
        uint32_t itemDialog;
    } mode;

    // Where the dialog is shown, and when.
    struct Placement {
        uint32_t centerDialog;
        uint32_t useLastPosition;
        uint32_t useLastSize;
        uint32_t resizable;         // has a sizing border after its own initialisation
        int32_t initialWidth;       // the outer size the dialog was created with, given back
        int32_t initialHeight;      // when it closes
        uint32_t placementReady;    // the first placement has been computed
        uint32_t placementApplied;  // and applied: positions are no longer forced
        uint32_t placementFinished; // closing or closed: no more placement or relayout
        int32_t placementTop;
        int32_t placementLeft;
        int32_t placementHeight;
        int32_t placementWidth;
    } placement;

    // The enlargement and the rows added below the dialog's own controls.
    struct Layout {
        int32_t origRight; // the dialog's right and bottom before the layout
        int32_t origBottom;
        int32_t addedWidth; // the last growth in each direction
        int32_t addedHeight;
        int32_t baseHeight; // the height after the last enlargement
        int32_t listsHeight;
        int32_t infoLineHeight;
        int32_t buttonRowHeight;
        int32_t listBottomGap; // the file list's distances to the dialog's edges, kept on resize
        int32_t listRightGap;
        uint32_t layoutReady;
        uint16_t charHeight;
        uint16_t avgCharWidth;
        int32_t buttonCount;  // buttons in the row, the product button included
        int32_t buttonWidth;  // measured for the buttons before they are spread over the row
        int32_t buttonHeight; // of every button
        int32_t minWidth;     // the narrowest dialog window that holds the row
    } layout;

    // Fonts of the added controls; created ones are deleted with the dialog.
    struct Fonts {
        uintptr_t dialogFont;
        uint32_t ownsDialogFont; // dialogFont was created for the added controls
        uintptr_t extraFont;
    } fonts;

    // The shell's file list view, whose procedure the library replaces.
    // The shell's file list, while the library sorts it or keeps its column widths. Every folder
    // the dialog shows may bring a list window of its own; these fields follow the current one.
    struct ListView {
        uintptr_t window;            // the list taken over; 0 while there is none
        uintptr_t savedListViewProc; // its procedure before ours
        uint32_t userSorted;         // the user sorted (a column header): the library stands down
        uint32_t sortingNow;         // the library's own sort is running
        uint32_t widthsApplied;      // the stored column widths were given to this list
        uint32_t applyingWidths;     // they are being given (no recording meanwhile)
        uint32_t listFilling;        // emptied and refilled, not yet in the user's order
        uint32_t listRefilled;       // emptied; the shell's own sort request is still to come
        uint32_t sortPending;        // a refilled list waits for its sort
        uint32_t headerMarkCleared;  // the first column's sort mark is gone
    } listView;

    uintptr_t added[kAddedControlCount]; // windows of the added controls, by AddedControl

    // What each of the four drop-down lists remembers between its notifications, in the order of
    // their control ids (recent files, recent folders, favourite files, favourite folders).
    ListChoiceState lists[kDropListCount];

    // What the dialog ends with, and the texts it works with while open.
    struct Session {
        uint32_t cancelPressed;
        uint32_t destroyed; // WM_DESTROY has been seen
        // The folder the recent and favourite lists were filled for: their relative paths are
        // shown against it, and a chosen row is looked up against it.
        char listFolder[kMaxPath + 1];
        // The lists were filled, at this width of their rows: a re-layout that changes the width
        // shortens their paths anew.
        uint32_t listsFilled;
        int32_t listsRoom;
        // The lists' combo boxes are still to be created (MSG_CREATE_LISTS is on its way).
        uint32_t listsPending;
        // What the last OK chose, read when it was pressed: when Wine's dialog ends it frees the
        // folder it reports before its window goes, so the close records this instead.
        char chosenPath[kMaxPath + 1];
        uint32_t chosenPathValid;
        // A rebuild of the information line is on its way (one is enough for a burst of keys),
        // and whether one of the changes it stands for was not typing.
        uint32_t infoRefreshPending;
        uint32_t infoRefreshAsks;
        char expectedNameText[kMaxPath + 1];
        char fileTypeText[kMaxPath + 1];
    } session;
};

struct DialogTable {
    DialogRecord slots[kDialogSlots];
    int16_t highestSlot; // highest slot index that was in use, 0 when none
};

// Takes the lowest free slot, cleared and marked in use. Returns kDialogSlots when all are taken.
int OpenDialogRecord(DialogTable& table);

// Frees a slot.
void CloseDialogRecord(DialogTable& table, int slot);

// The slot in use whose dialog has the same low 16 bits as window, or -1.
int FindDialogRecord(const DialogTable& table, uintptr_t window);

// The dialogs this process has taken over.
extern DialogTable g_dialogs;

} // namespace vn
