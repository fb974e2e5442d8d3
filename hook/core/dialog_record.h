// What the library keeps about each dialog it has taken over, private to the dialog's process.
// Ten dialogs can be extended at once in one process; a dialog's record is found by the low 16
// bits of its window handle, which is all of a window handle that is stable across bitnesses.
#pragma once

#include "compat.h"

namespace vn {

constexpr int kDialogSlots = 10;

struct DialogRecord {
    uint32_t inUse;
    uint32_t passive; // registered only: not extended (training, or everything excluded)
    uint32_t excludedFileManagement;
    uint32_t excludedSizing;
    uint32_t excludedLastFolder;
    uint32_t cancelPressed;
    uint32_t processId;
    uint32_t threadId;
    uint32_t destroyed;     // WM_DESTROY has been seen
    uintptr_t dialogWindow; // the dialog's window handle
    uintptr_t savedDialogProc;
    int32_t fileNameControlId;
    char moduleName[261];
    char dialogTitle[263];
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
