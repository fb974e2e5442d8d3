#include "hook/core/text_fit_win.h"

namespace vn {

ControlTextMeasure::ControlTextMeasure(HWND control, HFONT fontOrNull) : control_(control) {
    controlDc_ = GetDC(control);
    if (!controlDc_ || !fontOrNull)
        return;
    memoryDc_ = CreateCompatibleDC(controlDc_);
    if (memoryDc_)
        oldFont_ = SelectObject(memoryDc_, fontOrNull);
}

ControlTextMeasure::~ControlTextMeasure() {
    if (memoryDc_) {
        if (oldFont_)
            SelectObject(memoryDc_, oldFont_);
        DeleteDC(memoryDc_);
    }
    if (controlDc_)
        ReleaseDC(control_, controlDc_);
}

int ControlTextMeasure::Width(const char* text, size_t length) {
    HDC dc = memoryDc_ ? memoryDc_ : controlDc_;
    SIZE size = {0, 0};
    if (!dc || !text || length == 0 || length > kFittedTextSize)
        return 0;
    if (!GetTextExtentPoint32A(dc, text, static_cast<int>(length), &size))
        return 0;
    return size.cx;
}

int RowRoom(HWND list) {
    RECT rc = {0, 0, 0, 0};
    GetClientRect(list, &rc);
    return rc.right - rc.left - GetSystemMetrics(SM_CXVSCROLL) - 6;
}

void PadToWidth(HFONT fontOrNull, HWND list, char* text, size_t size) {
    ControlTextMeasure measure(list, fontOrNull);
    PadToWidth(measure, RowRoom(list), text, size);
}

void CenterTextInStatic(HWND control, HFONT fontOrNull, const char* text) {
    RECT rc = {0, 0, 0, 0};
    GetClientRect(control, &rc);
    char line[kFittedTextSize];
    {
        ControlTextMeasure measure(control, fontOrNull);
        CenterText(measure, rc.right - rc.left, text, line, sizeof line);
    }
    SetWindowTextA(control, line);
}

} // namespace vn
