#include "hook/core/text_fit.h"

#include <gtest/gtest.h>

#include <string>

namespace vn {
namespace {

// Every character one pixel wide: widths read as lengths.
class FixedWidth final : public TextMeasure {
  public:
    int Width(const char*, size_t length) override { return static_cast<int>(length); }
};

TEST(TextFit, CompactPathKeepsTheLongestTailThatFits) {
    struct Row {
        const char* text;
        int width;
        const char* expected;
    } rows[] = {
        {"C:\\Program Files\\Common\\Tools\\file.txt", 21, "C:\\...\\Tools\\file.txt"},
        {"C:\\Program Files\\Common\\Tools\\file.txt", 19, "C:\\...ools\\file.txt"},
        {"C:\\Program Files\\Common\\Tools\\file.txt", 80,
         "C:\\Program Files\\Common\\Tools\\file.txt"},
        {"C:\\abc\\defgh\\x.txt", 18, "C:\\...\\defgh\\x.txt"}, // as wide as the list: shortened
        {"C:\\abc\\defgh\\x.txt", 19, "C:\\abc\\defgh\\x.txt"},
        {"C:\\abcdef\\long-name.txt", 8, "C:\\...\\long-name.txt"}, // the name always shows
        {"\\\\server\\share\\folder\\file.txt", 20, "\\...\\folder\\file.txt"},
        {"a\\bcdefghij", 10, "a\\bcdefghij"}, // the tail reaches the start
        {"C:averyveryverylongname.txt", 5, "C:averyveryverylongname.txt"}, // a colon last
        {"nofolderatallinthis.txt", 5, "nofolderatallinthis.txt"},
        {"\\", 0, "\\"},
    };
    FixedWidth measure;
    for (const Row& row : rows) {
        char out[300];
        CompactPath(measure, row.width, row.text, out, sizeof out);
        EXPECT_STREQ(out, row.expected) << row.text << " in " << row.width;
    }
}

TEST(TextFit, PadToWidthAddsTheFirstCharacterUntilWider) {
    struct Row {
        const char* text;
        int available;
        size_t size;
        const char* expected;
    } rows[] = {
        {"---", 6, 100, "-------"},
        {"= All =", 10, 100, "=== All ==="},
        {"= All =", 9, 100, "=== All ==="}, // exactly as wide still grows
        {"abc", 2, 100, "abc"},
        {"--", 100, 10, "------"}, // stops short of its buffer
        {"", 100, 100, ""},
    };
    FixedWidth measure;
    for (const Row& row : rows) {
        char text[100];
        snprintf(text, sizeof text, "%s", row.text);
        PadToWidth(measure, row.available, text, row.size);
        EXPECT_STREQ(text, row.expected) << row.text << " to " << row.available;
    }
}

TEST(TextFit, CenteringSpacesFillHalfTheRoomLeft) {
    struct Row {
        int clientWidth;
        size_t textLength;
        size_t spaces;
    } rows[] = {
        {20, 4, 8}, {21, 4, 9}, {4, 4, 0}, {2, 10, 0}, {5000, 990, 8}, // never past 998 characters
    };
    FixedWidth measure;
    for (const Row& row : rows) {
        std::string text(row.textLength, 'x');
        EXPECT_EQ(CenteringSpaces(measure, row.clientWidth, text.c_str()), row.spaces)
            << row.clientWidth << " " << row.textLength;
    }
    char out[32];
    CenterText(measure, 20, "abcd", out, sizeof out);
    EXPECT_STREQ(out, "        abcd");
}

} // namespace
} // namespace vn
