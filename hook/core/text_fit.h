// Fitting a text to a control's width: shortening a path with "...", widening a row to the width
// of its list, centring a line with leading spaces. The widths come from a TextMeasure, which is a
// device context with the control's font in the library and a fixed-width fake in the tests.
#pragma once

#include "hook/core/compat.h"

namespace vn {

class TextMeasure {
  public:
    // Width in pixels of the first length characters of text.
    virtual int Width(const char* text, size_t length) = 0;

  protected:
    ~TextMeasure() = default; // never owned through this interface
};

// The longest text a fitted row may become: separators and titles are padded into buffers of
// this size, and a centred line never holds more.
constexpr size_t kFittedTextSize = 999;

// Shortens a path that is too wide for width pixels: its first three characters (with a drive
// letter, "C:\") or its first character (otherwise), then "...", then the longest tail of the
// path that fits, which always holds the file name with its backslash, as in
// C:\...\Tools\file.txt. A text narrower than width, shorter than two characters, ending in its
// only separator, or whose last separator is a colon is kept whole; so is a path whose tail would
// reach back to its third character, where nothing would be saved. out is cut to cap - 1
// characters.
void CompactPath(TextMeasure& measure, int width, const char* text, char* out, size_t cap);

// Widens text (in a buffer of size characters) by adding its first character at both ends until
// it is wider than available, or until it is size - 4 characters or longer. A text whose width is
// 0 (nothing to measure with) stays as it is. A row of dashes
// becomes a line across the list, "= All Applications =" gets equal runs of "=" at its sides.
void PadToWidth(TextMeasure& measure, int available, char* text, size_t size);

// The leading spaces that centre text in a control clientWidth pixels wide: the fewest, from an
// estimate by the width of a space, that are at least half of the room the text leaves (tried up
// to 21 counts); never so many that spaces and text exceed kFittedTextSize - 1 characters.
size_t CenteringSpaces(TextMeasure& measure, int clientWidth, const char* text);

// The text preceded by its centring spaces, cut to cap - 1 characters.
void CenterText(TextMeasure& measure, int clientWidth, const char* text, char* out, size_t cap);

} // namespace vn
