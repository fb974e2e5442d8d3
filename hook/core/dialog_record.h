// What the library keeps about each dialog it has taken over, private to the dialog's process.
// Ten dialogs can be extended at once in one process; a dialog's record is found by the low 16
// bits of its window handle, which is all of a window handle that is stable across bitnesses.
#pragma once

#include "compat.h"

namespace vn {

constexpr int kDialogSlots = 10;

// Window, procedure and font handles are this process's own and are kept as uintptr_t, so that
// the rules that work on a record build without the platform headers.
struct DialogRecord {
    uint32_t inUse;
    uint32_t ownsDialogFont;        // dialogFont was created for the added controls
    uint32_t replacesTrainedDialog; // stands in for a trained Select Folder dialog
    uint32_t browseDialog;          // the library's own destination chooser
    uint32_t passive;               // registered only: not extended
    uint32_t centerDialog;
    uint32_t useLastPosition;
    uint32_t useLastSize;
    uintptr_t dialogFont;
    uint32_t processId;
    uint32_t threadId;
    uint32_t placementReady;   // the first placement has been computed
    uint32_t placementApplied; // and applied: positions are no longer forced
    uint32_t cancelPressed;
    uint32_t excludedFileManagement;
    uint32_t excludedSizing;
    uint32_t excludedLastFolder;
    // List view state, in this order.
    uint32_t userSorted;
    uint32_t sortingNow;
    uint32_t widthsApplied;
    uint32_t applyingWidths;
    uint32_t listFilling;
    uint32_t listRefilled;
    uint32_t sortPending;
    uint32_t headerMarkCleared;
    uintptr_t savedDialogProc;
    uintptr_t savedDefViewProc;
    uintptr_t savedListViewProc;
    uintptr_t listViewProcSeen;
    uint32_t listViewPending;
    uintptr_t extraFont;
    uintptr_t buttonFont;
    uintptr_t infoLineFont;
    uintptr_t listFont;
    uintptr_t dialogWindow;
    // The added controls, in this order.
    uintptr_t infoLineControl;
    uintptr_t recentFilesCombo;
    uintptr_t recentHintLabel;
    uintptr_t recentFoldersCombo;
    uintptr_t favoriteHintLabel;
    uintptr_t favoriteFilesCombo;
    uintptr_t favoriteFoldersCombo;
    uintptr_t deleteButton;
    uintptr_t renameButton;
    uintptr_t copyButton;
    uintptr_t moveButton;
    uintptr_t findButton;
    uintptr_t mkdirButton;
    uintptr_t clipButton;
    uintptr_t spareControl;
    uintptr_t productButton;
    int32_t origRight;
    int32_t origBottom;
    int32_t initialHeight;
    int32_t initialWidth;
    int32_t addedWidth;
    int32_t addedHeight;
    int32_t baseHeight;
    char moduleName[261];
    char listFolder[261];
    char expectedNameText[261];
    char fileTypeText[261];
    char dialogTitle[263];
    int32_t fileNameControlId; // 1152, or 1148 when the dialog has a file name combo box
    // Layout values of the added rows.
    int32_t listsHeight;
    int32_t infoLineHeight;
    int32_t buttonRowHeight;
    int32_t buttonCount;
    int32_t buttonWidth;
    int32_t buttonHeight;
    int32_t minWidth;
    int32_t listBottomGap;
    int32_t listRightGap;
    uint32_t layoutReady;
    uint16_t charHeight;
    uint16_t avgCharWidth;
    int32_t layoutSpare;
    uint32_t resizable;
    uint32_t placementFinished; // closing or closed: no more placement or relayout
    int32_t placementTop;
    int32_t placementLeft;
    int32_t placementHeight;
    int32_t placementWidth;
    uint32_t destroyed; // WM_DESTROY has been seen
    // "This dialog only" choices of the disabling dialog, written with the title at close.
    uint32_t pendingExcludes[3];
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

} // namespace vn
