// Filling the recent and favourite drop-down lists of a taken-over dialog, and the editors' list
// boxes, from the lists in memory; and finding the stored entry behind a list's chosen row. The
// rows themselves are decided in list_fill.h.
#pragma once

#include <windows.h>

#include "hook/core/dialog_record.h"

namespace vn {

// Empty and refill the recent (or favourite) files list of record, and with both its folders list
// too, then select their first row. base is the folder relative paths are shown against (the files
// list only). Nothing happens unless both lists of the pair exist. The caller tells the lists'
// choice state that they were refilled.
void RefillRecentLists(DialogRecord& record, const char* base, bool both);
void RefillFavoriteLists(DialogRecord& record, const char* base, bool both);

// Adds the entries of one list (moduleOrNull's, or the all-applications list with null) to
// control: a list box (listBox, entries never shortened) or a combo box, at most max entries, with
// skipDuplicates leaving out entries shown as an existing row. Measured with font.
void FillListControl(const char* moduleOrNull, HFONT font, HWND control, const char* base, int max,
                     bool skipDuplicates, bool favorite, bool listBox, bool paths);

// The stored entry behind the selected row of one of record's lists: looked for in the
// application's list, then in the all-applications list. base is the folder the list was filled
// for. False, with out empty, when the list does not exist or the row is no entry.
bool LookUpRecentFile(const DialogRecord& record, const char* base, char* out, size_t size);
bool LookUpRecentFolder(const DialogRecord& record, const char* base, char* out, size_t size);
bool LookUpFavoriteFile(const DialogRecord& record, const char* base, char* out, size_t size);
bool LookUpFavoriteFolder(const DialogRecord& record, const char* base, char* out, size_t size);

} // namespace vn
