#include "hook/core/dialog_record.h"

#include <cstring>

namespace vn {

DialogTable g_dialogs;

int OpenDialogRecord(DialogTable& table) {
    for (int i = 0; i < kDialogSlots; ++i) {
        if (!table.slots[i].inUse) {
            memset(&table.slots[i], 0, sizeof table.slots[i]);
            table.slots[i].inUse = 1;
            if (i > table.highestSlot)
                table.highestSlot = static_cast<int16_t>(i);
            return i;
        }
    }
    return kDialogSlots;
}

void CloseDialogRecord(DialogTable& table, int slot) {
    if (slot < 0 || slot >= kDialogSlots)
        return;
    table.slots[slot].inUse = 0;
    // Lower the search bound past every free slot at the top, so that it stays tight however
    // the dialogs close.
    while (table.highestSlot > 0 && !table.slots[table.highestSlot].inUse)
        --table.highestSlot;
}

int FindDialogRecord(const DialogTable& table, uintptr_t window) {
    int top = table.highestSlot;
    if (top >= kDialogSlots)
        top = kDialogSlots - 1;
    for (int i = top; i >= 0; --i) {
        const DialogRecord& r = table.slots[i];
        if (r.inUse && (r.dialogWindow & 0xFFFF) == (window & 0xFFFF))
            return i;
    }
    return -1;
}

} // namespace vn
