#include "hook/commands/info_line.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

using namespace vn;

namespace {

class Captions final : public CaptionSource {
  public:
    bool Caption(int id, char* buf, size_t size) override {
        static const std::map<int, std::string> texts = {{kIdsBytes, " bytes"},
                                                         {kIdsKbFree, "kb free"},
                                                         {kIdsMbFree, "MB free"},
                                                         {kIdsGbFree, "GB free"},
                                                         {kIdsBytesFree, "bytes free"}};
        auto it = texts.find(id);
        if (it == texts.end() || missing)
            return false;
        snprintf(buf, size, "%s", it->second.c_str());
        return true;
    }
    bool missing = false;
};

} // namespace

TEST(InfoLine, SizesAreGroupedAndLargeOnesInMegabytes) {
    const struct {
        uint64_t size;
        const char* text;
    } cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {123, "123"},
        {1234567, "1,234,567"},
        {3000000000ull, "3,000,000,000"},
        {0xFFFFFFFFull, "4,294,967,295"},
        {5368709120ull, "5,120 M"},
        {0x100000000ull, "4,096 M"},
    };
    for (const auto& c : cases) {
        char out[40];
        SizeText(c.size, out, sizeof out);
        EXPECT_STREQ(out, c.text) << c.size;
    }
    char small[4];
    SizeText(1234567, small, sizeof small);
    EXPECT_STREQ(small, "1,2");
}

TEST(InfoLine, AttributesAndDrives) {
    const struct {
        bool r, s, h;
        const char* text;
    } attributes[] = {{false, false, false, ""},
                      {true, false, false, "[R]"},
                      {false, false, true, "[H]"},
                      {true, true, true, "[R,S,H]"},
                      {false, true, true, "[S,H]"}};
    for (const auto& a : attributes) {
        char out[16];
        AttributeText(a.r, a.s, a.h, out, sizeof out);
        EXPECT_STREQ(out, a.text);
    }
    const struct {
        const char* path;
        const char* drive;
    } drives[] = {{"C:\\dir\\file.txt", "C:"},
                  {"z:", "z:"},
                  {"\\\\server\\share\\dir\\file", "\\\\server\\share"},
                  {"\\\\server\\share", "\\\\server\\share"},
                  {"\\\\server", ""},
                  {"relative\\file", ""},
                  {"", ""}};
    for (const auto& d : drives) {
        char out[300];
        DrivePart(d.path, out, sizeof out);
        EXPECT_STREQ(out, d.drive) << d.path;
    }
}

TEST(InfoLine, FreeSpaceUnitsAndDecimals) {
    const struct {
        uint64_t bytes;
        const char* text;
    } cases[] = {
        {0, "    (0.000 bytes free)"},
        {512, "    (512.0 bytes free)"},
        {1023, "    (1023.0 bytes free)"},
        {1024, "    (1.000 kb free)"},
        {1023999, "    (1000.0 kb free)"},
        {1024000, "    (0.977 MB free)"},
        {100ull * 1048576, "    (100.00 MB free)"},
        {250ull * 1048576, "    (250.0 MB free)"},
        {1048576000ull, "    (0.977 GB free)"},
        {2684354560ull, "    (2.500 GB free)"},
        {13421772800ull, "    (12.50 GB free)"},
    };
    Captions captions;
    for (const auto& c : cases) {
        char out[80];
        EXPECT_EQ(FreeSpaceText(c.bytes, captions, out, sizeof out), strlen(c.text)) << c.bytes;
        EXPECT_STREQ(out, c.text) << c.bytes;
    }
    captions.missing = true;
    char out[80] = "x";
    EXPECT_EQ(FreeSpaceText(1024, captions, out, sizeof out), 0u);
    EXPECT_STREQ(out, "");
}

TEST(InfoLine, FilePartKeepsItsPiecesWithinTheLimit) {
    Captions captions;
    FileFacts facts = {"Report.txt", 1234567, "07/12/2026", "18:05", true, false, false};
    char line[kInfoLineSize] = "report.txt";
    FileInfoLine(facts, captions, line, kInfoLineLimit);
    EXPECT_STREQ(line, "Report.txt      1,234,567 bytes    07/12/2026   18:05  [R]");

    // A name as long as the limit leaves the typed text; pieces that do not fit whole are left
    // out, spaces go in one by one up to the limit.
    std::string longName(kInfoLineLimit, 'n');
    facts.name = longName.c_str();
    char typed[kInfoLineSize] = "typed";
    FileInfoLine(facts, captions, typed, kInfoLineLimit);
    EXPECT_STREQ(typed, "typed      1,234,567 bytes    07/12/2026   18:05  [R]");
    std::string nearly(kInfoLineLimit - 8, 'n');
    facts.name = nearly.c_str();
    char cut[kInfoLineSize] = "";
    FileInfoLine(facts, captions, cut, kInfoLineLimit);
    EXPECT_EQ(std::string(cut), nearly + std::string(8, ' '));
}

// Only a network drive, and only while the user types, is spared the question.
TEST(InfoLine, FreeSpaceIsNotAskedOfANetworkDriveWhileTyping) {
    using S = FreeSpaceSource;
    struct Row {
        bool network, typing, remembered;
        S source;
    } rows[] = {
        {false, true, false, S::kAsk},      {false, false, true, S::kAsk},
        {true, false, true, S::kAsk},       {true, false, false, S::kAsk},
        {true, true, true, S::kRemembered}, {true, true, false, S::kNone},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ChooseFreeSpaceSource(row.network, row.typing, row.remembered), row.source)
            << row.network << row.typing << row.remembered;
}
