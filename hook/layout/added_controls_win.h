// Where the controls the library adds to a dialog (file buttons, information line, recent and
// favourite lists) join its layout. The layout calls these at fixed points of its sequence; until
// the added controls exist they do nothing: no fonts, no rows, every row height 0, so that the
// layout runs as for a dialog that gets no additions.
#pragma once

#include <windows.h>

#include "hook/core/dialog_record.h"

namespace vn {

// Before anything moves: fetch the fonts of the added controls.
void FetchAddedControlFonts(HWND dialog, DialogRecord& record);

// Text height and average character width of the added controls' font. False when there is no
// such font; the layout then measures the dialog's own font.
bool MeasureAddedControlFont(HWND dialog, const DialogRecord& record, uint16_t* charHeight,
                             uint16_t* avgCharWidth);

// Between the width and the height pass: create and place the added rows, growing the dialog by
// their height and setting listsHeight, infoLineHeight and buttonRowHeight.
void CreateAddedControls(HWND dialog, DialogRecord& record);

// During a re-layout: place the added controls in the same deferred batch as the file list.
// Returns the batch, or null when a step failed (the batch is then gone).
HDWP DeferAddedControls(HWND dialog, DialogRecord& record, HDWP batch);

// After a re-layout: refresh the information line and refill the recent and favourite lists for
// the folder in listFolder.
void RefreshAddedControls(HWND dialog, DialogRecord& record);

} // namespace vn
