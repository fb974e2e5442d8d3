#include "hook/commands/file_commands.h"

#include <gtest/gtest.h>

#include <string>

using namespace vn;

namespace {

struct PathCase {
    const char* first;
    const char* second;
    bool ok;
    const char* expected;
};

std::string Repeat(char c, size_t n) {
    return std::string(n, c);
}

} // namespace

TEST(FileCommands, NewFolderGoesUnderTheFolderOrItsDrive) {
    const PathCase cases[] = {
        {"C:\\docs", "new", true, "C:\\docs\\new"},
        {"C:\\docs\\", "new", true, "C:\\docs\\new"},
        {"C:\\", "new", true, "C:\\new"},
        {"C:\\docs", "a\\b", true, "C:\\docs\\a\\b"}, // one level is the system's business
        {"C:\\docs", "\\top", true, "C:\\top"},
        {"C:\\docs", "", false, ""},
        {"", "new", false, ""},
    };
    for (const PathCase& c : cases) {
        char out[261];
        EXPECT_EQ(NewFolderPath(out, sizeof out, c.first, c.second), c.ok) << c.first << c.second;
        EXPECT_STREQ(out, c.expected) << c.first << " + " << c.second;
    }
}

TEST(FileCommands, NewFolderStopsShortOfTheFolderBoxLength) {
    std::string folder = "C:\\" + Repeat('f', 200);
    char out[261];
    std::string fits = Repeat('n', 254 - folder.size()); // 254 in all
    EXPECT_TRUE(NewFolderPath(out, sizeof out, folder.c_str(), fits.c_str()));
    EXPECT_EQ(std::string(out), folder + "\\" + fits);
    std::string tooLong = fits + "n"; // 255 in all
    EXPECT_FALSE(NewFolderPath(out, sizeof out, folder.c_str(), tooLong.c_str()));
    EXPECT_STREQ(out, "");
    char small[8];
    EXPECT_FALSE(NewFolderPath(small, sizeof small, "C:\\docs", "new"));
}

TEST(FileCommands, RelativeDestinationsGoUnderTheSourceFolder) {
    const PathCase cases[] = {
        {"C:\\d\\a.txt", "b.txt", true, "C:\\d\\b.txt"},
        {"C:\\d\\a.txt", "sub\\b.txt", true, "C:\\d\\sub\\b.txt"},
        {"C:\\d\\a.txt", "D:\\x\\b.txt", true, "D:\\x\\b.txt"},
        {"C:\\d\\a.txt", "\\x\\b.txt", true, "\\x\\b.txt"},
        {"C:\\d\\a.txt", "D:b.txt", true, "D:b.txt"},
        {"C:\\d\\a.txt", "..\\b.txt", true, "C:\\d\\..\\b.txt"},
        {"C:\\a.txt", "b.txt", true, "C:\\b.txt"},
    };
    for (const PathCase& c : cases) {
        char out[261];
        EXPECT_EQ(UnderSourceFolder(out, sizeof out, c.first, c.second), c.ok);
        EXPECT_STREQ(out, c.expected) << c.first << " + " << c.second;
    }
    std::string source = "C:\\" + Repeat('s', 200) + "\\a.txt";
    std::string name = Repeat('n', 60);
    char out[261];
    EXPECT_FALSE(UnderSourceFolder(out, sizeof out, source.c_str(), name.c_str()));
    EXPECT_STREQ(out, "");
    name.resize(56); // 3 + 200 + 1 + 56 = 260
    EXPECT_TRUE(UnderSourceFolder(out, sizeof out, source.c_str(), name.c_str()));
}

TEST(FileCommands, CopyDestinationAndItsAlternate) {
    struct CopyCase {
        const char* typed;
        bool ok;
        const char* primary;
        const char* alternate;
    } const cases[] = {
        {"b.txt", true, "C:\\d\\b.txt", "C:\\d\\b.txt\\a.txt"},
        {"E:\\out", true, "E:\\out", "E:\\out\\a.txt"},
        {"E:\\out\\", true, "E:\\out\\", "E:\\out\\a.txt"},
        {"sub\\b.txt", true, "sub\\b.txt", "sub\\b.txt\\a.txt"},
        {"..\\up", true, "C:\\d\\..\\up", "C:\\d\\..\\up\\a.txt"},
        {"E:", true, "E:", "E:\\a.txt"},
        {"", false, "", ""},
    };
    for (const CopyCase& c : cases) {
        CopyTargets t;
        EXPECT_EQ(CopyDestinations(c.typed, "C:\\d", "a.txt", t), c.ok) << c.typed;
        EXPECT_STREQ(t.primary, c.primary) << c.typed;
        EXPECT_STREQ(t.alternate, c.alternate) << c.typed;
        EXPECT_EQ(t.hasAlternate, c.alternate[0] != 0) << c.typed;
    }
}

TEST(FileCommands, CopyRefusesDestinationsLongerThanAPath) {
    std::string folder = "C:\\" + Repeat('f', 250);
    CopyTargets t;
    EXPECT_FALSE(CopyDestinations(Repeat('n', 20).c_str(), folder.c_str(), "a.txt", t));
    // The destination fits, the file inside it does not: no alternate is offered.
    EXPECT_TRUE(CopyDestinations((folder + "\\x").c_str(), "C:\\d", "long-name.txt", t));
    EXPECT_FALSE(t.hasAlternate);
    EXPECT_STREQ(t.alternate, "");
}

TEST(FileCommands, PromptsKeepTheEndOfALongPath) {
    struct PromptCase {
        size_t cap;
        const char* text;
        const char* expected;
    } const cases[] = {
        {100, "a.txt", "Rename a.txt to:"},
        {100, "R&D.txt", "Rename R&&D.txt to:"},
        {20, "C:\\docs\\a.txt", "Rename ...a.txt to:"},
        {21, "C:\\docs\\&.txt", "Rename ...&&.txt to:"},
        {20, "C:\\docs\\&.txt", "Rename ....txt to:"}, // a doubled "&" is never split
        {14, "C:\\docs\\a.txt", "Rename  to:"},
    };
    for (const PromptCase& c : cases) {
        char out[256];
        FillPrompt(out, c.cap, "Rename %s to:", c.text);
        EXPECT_STREQ(out, c.expected) << c.cap << " " << c.text;
        EXPECT_LT(std::string(out).size(), c.cap);
    }
    std::string folder = "C:\\" + Repeat('f', 257);
    char out[256];
    FillPrompt(out, sizeof out, "Enter new folder name to create under %s:", folder.c_str());
    std::string shown = out;
    EXPECT_EQ(shown.size(), 255u);
    EXPECT_EQ(shown.substr(0, 41), "Enter new folder name to create under ...");
    EXPECT_EQ(shown.back(), ':');
}

TEST(FileCommands, CopyAsksOnlyAboutTheFileItWouldReplace) {
    CopyTargets t;
    ASSERT_TRUE(CopyDestinations("E:\\out", "C:\\d", "a.txt", t));
    struct PlanCase {
        bool primaryIsFile, alternateIsFile;
        const char *ask, *first, *fallback;
    } const cases[] = {
        {true, false, t.primary, t.primary, nullptr},
        {true, true, t.primary, t.primary, nullptr}, // a file named like a folder: no alternate
        {false, true, t.alternate, t.alternate, nullptr},
        {false, false, nullptr, t.primary, t.alternate},
    };
    for (const PlanCase& c : cases) {
        CopyPlan plan = PlanCopy(t, c.primaryIsFile, c.alternateIsFile);
        EXPECT_EQ(plan.ask, c.ask) << c.primaryIsFile << c.alternateIsFile;
        EXPECT_EQ(plan.first, c.first) << c.primaryIsFile << c.alternateIsFile;
        EXPECT_EQ(plan.fallback, c.fallback) << c.primaryIsFile << c.alternateIsFile;
    }
    t.hasAlternate = false;
    CopyPlan plan = PlanCopy(t, false, false);
    EXPECT_EQ(plan.ask, nullptr);
    EXPECT_EQ(plan.first, t.primary);
    EXPECT_EQ(plan.fallback, nullptr);
}
