#include "hook/core/text.h"

#include <gtest/gtest.h>

#include <string>

using namespace vn;

namespace {

std::string Join(const char* folder, const char* name, size_t cap = 264) {
    char out[264];
    JoinPath(out, cap, folder, name);
    return out;
}

} // namespace

TEST(JoinPath, FollowsTheDocumentedExamples) {
    EXPECT_EQ(Join("C:\\a", "b.txt"), "C:\\a\\b.txt");
    EXPECT_EQ(Join("C:\\a\\", "D:\\x\\y"), "D:\\x\\y");
    EXPECT_EQ(Join("C:\\a", "\\x"), "C:\\x");
    EXPECT_EQ(Join("C:\\a", "C:y"), "C:\\a\\y");
    EXPECT_EQ(Join("C:\\a", "sub\\y"), "C:\\a\\sub\\y");
}

TEST(JoinPath, HandlesUncDrivesAndRootsWithoutDrive) {
    EXPECT_EQ(Join("C:\\a", "\\\\srv\\share\\f"), "\\\\srv\\share\\f");
    EXPECT_EQ(Join("\\\\srv\\share", "\\x"), "\\\\srv\\share\\\\x"); // no drive: appended
    EXPECT_EQ(Join("C:\\a", "D:y"), "D:y");                          // another drive replaces
    EXPECT_EQ(Join("C:\\a", "c:y"), "c:y");                          // the drive test has case
    EXPECT_EQ(Join("", "f"), "\\f");
    EXPECT_EQ(Join("C:\\a", ":"), ":");
}

TEST(JoinPath, CutsAtTheCapacity) {
    std::string longName(400, 'n');
    std::string joined = Join("C:\\a", longName.c_str(), 261);
    EXPECT_EQ(joined.size(), 260u);
    EXPECT_EQ(joined.substr(0, 5), "C:\\a\\");
    EXPECT_EQ(Join("C:\\abc", "x", 4), "C:\\");
}

TEST(Text, BoundedCopiesNeverOverrunAFieldWithoutTerminator) {
    char field[4] = {'a', 'b', 'c', 'd'}; // no terminator
    char out[8];
    EXPECT_EQ(CopyField(out, sizeof out, field, sizeof field), 4u);
    EXPECT_STREQ(out, "abcd");
    EXPECT_EQ(CopyField(out, 3, field, sizeof field), 2u);
    EXPECT_STREQ(out, "ab");
    EXPECT_EQ(BoundedLength(field, sizeof field), 4u);
    EXPECT_EQ(CopyText(out, sizeof out, nullptr), 0u);
    EXPECT_STREQ(out, "");
    char small[6] = "ab";
    EXPECT_EQ(AppendText(small, sizeof small, "cdefgh"), 5u);
    EXPECT_STREQ(small, "abcde");
}

TEST(Text, ComparesAndFoldsLikeTheRuntime) {
    EXPECT_EQ(CompareNoCase("Notepad", "NOTEPAD", 80), 0);
    EXPECT_NE(CompareNoCase("Notepad", "Notepa", 80), 0);
    EXPECT_EQ(CompareNoCase("abcX", "ABCy", 3), 0);
    EXPECT_EQ(CompareN("abcdefgh1", "abcdefgh2", 8), 0);
    EXPECT_NE(CompareN("abcdefg", "abcdefgh", 8), 0);
    EXPECT_EQ(CompareN(nullptr, "", 8), 0);
}

TEST(Text, ModuleNameDropsFolderAndExtension) {
    char out[261];
    ModuleNameFromPath(out, sizeof out, "C:\\Program Files\\App\\my.app.EXE");
    EXPECT_STREQ(out, "my.app");
    ModuleNameFromPath(out, sizeof out, "Z:/home/u/wine/notepad.exe");
    EXPECT_STREQ(out, "notepad");
    ModuleNameFromPath(out, 4, "C:\\longname.exe");
    EXPECT_STREQ(out, "lon");
    ModuleNameFromPath(out, sizeof out, "C:\\noext");
    EXPECT_STREQ(out, "noext");
}

// Message texts come from string tables and are filled by hand: only the first "%u" and "%s"
// are replaced, and only with what was given, so that no table text ever acts as a format.
TEST(FillMessage, ReplacesOnlyTheGivenSlotsOnce) {
    const unsigned seven = 7;
    struct Case {
        const char* format;
        const unsigned* number;
        const char* text;
        size_t cap;
        const char* expected;
    } cases[] = {
        {"Topic %u is in\n%s", &seven, "C:\\help", 64, "Topic 7 is in\nC:\\help"},
        {"%s before %u", &seven, "x", 64, "x before 7"},
        {"Failed: %s", nullptr, "disk", 64, "Failed: disk"},
        {"Failed: %s %s %d %n", nullptr, "a", 64, "Failed: a %s %d %n"},
        {"Use %APPDATA%\\Vantor", nullptr, nullptr, 64, "Use %APPDATA%\\Vantor"},
        {"Topic %u", nullptr, "unused", 64, "Topic %u"},
        {"Path %s", nullptr, "C:\\a\\very\\long\\path", 12, "Path C:\\a\\v"},
        {"%s", nullptr, "100%s", 64, "100%s"},
        {"", &seven, "x", 64, ""},
    };
    for (const Case& c : cases) {
        char out[64];
        FillMessage(out, c.cap, c.format, c.number, c.text);
        EXPECT_STREQ(out, c.expected) << c.format;
    }
    char one[1] = {'x'};
    FillMessage(one, sizeof one, "%s", nullptr, "text");
    EXPECT_EQ(one[0], 0);
}
