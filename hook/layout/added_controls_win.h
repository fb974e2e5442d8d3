// Where the controls the library adds to a dialog (file buttons, information line, recent and
// favourite lists) join its layout. The layout calls these at fixed points of its sequence; the
// arithmetic is in added_rows.h, and this is where it meets the windows. A control whose creation
// failed stays null in the record and is skipped by every later step.
#pragma once

#include <windows.h>

#include "hook/core/dialog_record.h"

namespace vn {

// Before anything moves: fetch the fonts of the added controls, once per dialog. The fonts
// created here are the record's extraFont and, when the dialog has no font of its own,
// dialogFont; both are deleted when the dialog is destroyed.
void FetchAddedControlFonts(HWND dialog, DialogRecord& record);

// Text height and average character width of the added controls' font. False when there is no
// such font; the layout then measures the dialog's own font.
bool MeasureAddedControlFont(HWND dialog, const DialogRecord& record, uint16_t* charHeight,
                             uint16_t* avgCharWidth);

// Between the width and the height pass: create and place the added rows, growing the dialog by
// their height and setting listsHeight, infoLineHeight and buttonRowHeight.
void CreateAddedControls(HWND dialog, DialogRecord& record);

// The recent and favourite lists, which CreateAddedControls leaves to a posted MSG_CREATE_LISTS
// so that the dialog is shown and answers first: creates them where the rows' current layout puts
// them, each after its hint label in the tab order. Does nothing when none is pending.
void CreatePendingLists(HWND dialog, DialogRecord& record);

// During a re-layout: place the added controls in the same deferred batch as the file list.
// Returns the batch, or null when a step failed (the batch is then gone).
HDWP DeferAddedControls(HWND dialog, DialogRecord& record, HDWP batch);

// After a re-layout: refresh the information line. The recent and favourite lists are refilled by
// the dialog procedure, which may use the lists' floor.
void RefreshAddedControls(HWND dialog, DialogRecord& record);

} // namespace vn
