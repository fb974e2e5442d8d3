// Enlarging a taken-over standard file dialog and repositioning its children: the first layout,
// run once while the dialog is still hidden, and the re-layout of a resizable dialog on every
// size change. The geometry itself is in layout_rules.h; this is where it meets the windows.
//
// The standard dialog's controls are addressed by their ids: 1120 file list placeholder,
// 1121 container of the shell file view, 1136 file-type drop-down, 1137 Look-in drop-down, 1184
// places bar. Any of them may be missing from a dialog; each step that needs one then does
// nothing.
#pragma once

#include <windows.h>

#include "hook/core/dialog_record.h"
#include "hook/core/shared_state.h"
#include "hook/layout/layout_rules.h"

// EnumChildWindows callbacks, exported under these names.
//
// Moves one child of the dialog being enlarged by the pass that is running on this thread; called
// outside such a pass it does nothing.
extern "C" BOOL CALLBACK MoveChildEnumProc(HWND child, LPARAM unused);
// For callers outside the library that enumerate an enlarged dialog: moves a child that lay at or
// beyond the dialog's original right or bottom edge by the growth added there. Children of
// windows without a dialog record are left alone.
extern "C" BOOL CALLBACK DialogChildEnumProc(HWND child, LPARAM unused);

namespace vn {

// The first layout, at WM_INITDIALOG after the dialog's own procedure: widens, adds the rows,
// heightens and places the dialog, then shows it and sets placementReady and placementApplied.
// Also when the shared settings cannot be reached the dialog is shown where it is, so that it
// never stays hidden.
void LayOutDialog(HWND dialog, DialogRecord& record);

// The first layout of the Common Item Dialog, which lays its own controls out on WM_SIZE: the
// added rows are created and the dialog grows by them, it is given its size and place, then shown
// as LayOutDialog shows a dialog.
void LayOutItemDialog(HWND dialog, DialogRecord& record);

// After the item dialog's own layout (its WM_SIZE): makes room for the added rows at the bottom
// by shrinking its browser and moving its controls below the browser up, and places the rows.
void RelayOutItemDialog(HWND dialog, DialogRecord& record);

// For a resizable dialog, on WM_SIZE and MSG_RELAYOUT: keeps the file list at its first distances
// to the dialog's right and bottom edges and moves the children beside and below it. Does
// nothing before the first layout has created the added controls (layoutReady) or once the
// dialog is closing (placementFinished).
void RelayOutOnSize(HWND dialog, DialogRecord& record);

// A window's rectangle on the screen; false when there is no such window.
bool WindowRect(HWND window, LayoutRect* out);

// The height of the desktop's work area, 0 when the system does not tell it.
int32_t WorkAreaHeight();

// Where a dialog that changes size goes: the remembered position, the centre of the screen, or
// where it is.
PositionRule PositionRuleOf(const SharedState& shared, const DialogRecord& record);

// One enlargement pass of a dialog that does not size itself, and its placement.
void EnlargeFixed(HWND dialog, DialogRecord& record, bool widthAllowed, bool heightAllowed);

// Enlarges a resizable dialog's window only (its WM_SIZE then lays it out). False when it did
// not change the dialog.
bool EnlargeResizable(HWND dialog, DialogRecord& record);

// Makes the dialog tall enough for a nested dialog template that reaches below it.
void FitNestedTemplate(HWND dialog);

// Sets how high the Look-in and file-type lists open, for items of the given height.
void LengthenDropDowns(HWND dialog, int itemHeight);

// Lets the places bar end level with the bottom of the file-type box.
void StretchPlacesBar(HWND dialog);

} // namespace vn
