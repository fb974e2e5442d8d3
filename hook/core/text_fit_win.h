// Text widths measured as a control draws its text: the control's device context, with a font
// selected into a compatible one when a font is given. And the fitting of text_fit.h applied to
// controls.
#pragma once

#include <windows.h>

#include "hook/core/text_fit.h"

namespace vn {

class ControlTextMeasure final : public TextMeasure {
  public:
    ControlTextMeasure(HWND control, HFONT fontOrNull);
    ~ControlTextMeasure();
    ControlTextMeasure(const ControlTextMeasure&) = delete;
    ControlTextMeasure& operator=(const ControlTextMeasure&) = delete;

    // 0 when there is no device context to measure with.
    int Width(const char* text, size_t length) override;

  private:
    HWND control_ = nullptr;
    HDC controlDc_ = nullptr;
    HDC memoryDc_ = nullptr;
    HGDIOBJ oldFont_ = nullptr;
};

// The width a row of a list may take without running under its scroll bar: the client width less
// the scroll bar and a margin of 6 pixels.
int RowRoom(HWND list);

// PadToWidth against the row room of list, measured with font.
void PadToWidth(HFONT fontOrNull, HWND list, char* text, size_t size);

// Sets a static control's text to text centred with leading spaces, measured with font.
void CenterTextInStatic(HWND control, HFONT fontOrNull, const char* text);

} // namespace vn
