#include "hook/core/text_fit.h"

#include "hook/core/text.h"

#include <cstring>

namespace vn {

namespace {

constexpr int kCenteringTries = 21;

} // namespace

// The tail grows one character at a time, leftwards from the last backslash, so that it may
// begin inside a folder name: the list shows as much of the path as fits.
void CompactPath(TextMeasure& measure, int width, const char* text, char* out, size_t cap) {
    if (!out || cap == 0)
        return;
    const size_t length = BoundedLength(text, kFittedTextSize - 1);
    CopyField(out, cap, text, length + 1);
    if (length < 2 || measure.Width(text, length) < width)
        return;
    size_t separator = length;
    for (size_t i = 0; i + 1 < length; ++i)
        if (text[i] == '\\' || text[i] == ':')
            separator = i;
    if (separator == length || text[separator] == ':')
        return;
    const bool drive = text[1] == ':';
    const int available = width - measure.Width("\\...", 4) - (drive ? measure.Width(text, 2) : 0);
    // A longer tail is never narrower, so the longest that fits is found by halving rather than
    // by measuring every length: a refill measures every entry of four lists.
    size_t start = 0, end = separator;
    while (start < end) {
        size_t middle = start + (end - start) / 2;
        if (measure.Width(text + middle, length - middle) <= available)
            end = middle;
        else
            start = middle + 1;
    }
    if (start < 3)
        return;
    CopyField(out, cap, text, drive ? 3 : 1);
    AppendText(out, cap, "...");
    AppendText(out, cap, text + start);
}

void PadToWidth(TextMeasure& measure, int available, char* text, size_t size) {
    if (!text || size < 5)
        return;
    size_t length = BoundedLength(text, size - 1);
    text[length] = 0;
    if (length == 0)
        return;
    // A text that measures nothing cannot be measured at all: left as it is rather than padded
    // to the length of its buffer.
    if (measure.Width(text, length) <= 0)
        return;
    const char pad = text[0];
    while (length < size - 4 && measure.Width(text, length) <= available) {
        memmove(text + 1, text, length);
        text[0] = pad;
        text[length + 1] = pad;
        length += 2;
        text[length] = 0;
    }
}

size_t CenteringSpaces(TextMeasure& measure, int clientWidth, const char* text) {
    char spaces[kFittedTextSize];
    memset(spaces, ' ', sizeof spaces);
    const size_t length = BoundedLength(text, kFittedTextSize - 1);
    const size_t most = kFittedTextSize - 1 - length;
    const long half = (static_cast<long>(clientWidth) + 1 - measure.Width(text, length)) / 2;
    long space = measure.Width(spaces, 4) / 4;
    if (space < 1)
        space = 1;
    size_t count = half > 0 ? static_cast<size_t>(half / space) : 0;
    for (int tries = 1; count < most; ++tries, ++count)
        if (measure.Width(spaces, count) >= half || tries == kCenteringTries)
            break;
    return count < most ? count : most;
}

void CenterText(TextMeasure& measure, int clientWidth, const char* text, char* out, size_t cap) {
    if (!out || cap == 0)
        return;
    size_t spaces = CenteringSpaces(measure, clientWidth, text);
    if (spaces > cap - 1)
        spaces = cap - 1;
    memset(out, ' ', spaces);
    out[spaces] = 0;
    AppendText(out, cap, text);
}

} // namespace vn
