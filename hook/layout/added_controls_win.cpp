#include "hook/layout/added_controls_win.h"

namespace vn {

// This build adds no controls: each step leaves the dialog and the record as they are.

void FetchAddedControlFonts(HWND, DialogRecord&) {}

bool MeasureAddedControlFont(HWND, const DialogRecord&, uint16_t*, uint16_t*) {
    return false;
}

void CreateAddedControls(HWND, DialogRecord& record) {
    record.layout.listsHeight = 0;
    record.layout.infoLineHeight = 0;
    record.layout.buttonRowHeight = 0;
}

HDWP DeferAddedControls(HWND, DialogRecord&, HDWP batch) {
    return batch;
}

void RefreshAddedControls(HWND, DialogRecord&) {}

} // namespace vn
