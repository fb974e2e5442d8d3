// The shell's file list of a taken-over dialog: the user's own order, and the column widths of
// its Details view. The order is sort_order.*; the list's window procedure that decides when to
// call these is the take-over's (list_view_proc_win.*).
#pragma once

#include <windows.h>

#include "hook/core/settings_block.h"

#include <cstddef>

namespace vn {

// Whether the list shows Details (report) view.
bool IsDetailsView(HWND list);

// Puts the list of the dialog into the user's order: reads each item's name, size, date,
// attributes (and type name when sorting by type) once, through the list view's own procedure
// listProc, orders them, and hands the list the order. Items whose facts cannot be read go
// first. Returns how many items' facts were asked for; 0 when nothing could be sorted (no
// folder, no shell, no items).
size_t SortFileList(HWND dialog, HWND list, WNDPROC listProc, const HookSettings& settings);

// Reads the widths of the first seven columns through the list's own procedure (0 for a column
// that is missing) into settings, and marks them known.
void RecordColumnWidths(HWND list, WNDPROC listProc, HookSettings& settings);

// Gives the list the stored widths that are usable; other columns keep theirs.
void ApplyColumnWidths(HWND list, const HookSettings& settings);

// Removes the sort mark (arrow or bitmap) from the first column's header. True when the header
// had one and it was removed.
bool ClearHeaderSortMark(HWND list, WNDPROC listProc);

} // namespace vn

// The comparison the list is sorted with (LVM_SORTITEMS): the two items' data and the order
// SortFileList prepared. Any other sort parameter compares equal.
extern "C" int CALLBACK CompareFunc(LPARAM a, LPARAM b, LPARAM order);
