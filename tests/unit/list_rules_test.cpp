#include "hook/lists/list_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace vn {
namespace {

std::string Folder(const char* path, size_t cap = 261) {
    char out[261];
    FolderOf(path, out, cap);
    return out;
}

TEST(ListRules, FolderOfKeepsTheSeparator) {
    EXPECT_EQ(Folder("C:\\Docs\\a.txt"), "C:\\Docs\\");
    EXPECT_EQ(Folder("C:a.txt"), "C:");
    EXPECT_EQ(Folder("a.txt"), "");
    EXPECT_EQ(Folder("C:\\Docs\\(navigate to folder and click Save)"), "C:\\Docs\\");
    EXPECT_EQ(Folder("C:\\Docs\\a.txt", 4), "C:\\");
    EXPECT_EQ(Folder(nullptr), "");
}

TEST(ListRules, MakeRelativePath) {
    EXPECT_STREQ(MakeRelativePath("C:\\Work\\a.txt", "C:\\Work"), "a.txt");
    EXPECT_STREQ(MakeRelativePath("c:\\work\\Sub\\b.txt", "C:\\Work"), "Sub\\b.txt");
    EXPECT_STREQ(MakeRelativePath("C:\\Other\\c.txt", "C:\\Work"), "\\Other\\c.txt");
    EXPECT_STREQ(MakeRelativePath("D:\\d.txt", "C:\\Work"), "D:\\d.txt");
    EXPECT_STREQ(MakeRelativePath("C:\\a.txt", "C:\\"), "\\a.txt");
    // A base with its trailing backslash is never the folder a path is relative to.
    EXPECT_STREQ(MakeRelativePath("C:\\Work\\a.txt", "C:\\Work\\"), "\\Work\\a.txt");
    EXPECT_STREQ(MakeRelativePath("C:\\Workshop\\a.txt", "C:\\Work"), "\\Workshop\\a.txt");
    EXPECT_STREQ(MakeRelativePath("C:\\Work\\a.txt", nullptr), "C:\\Work\\a.txt");
    EXPECT_STREQ(MakeRelativePath("", "C:\\Work"), "");
    // Network paths have no drive to drop; short texts must not be read past their end.
    EXPECT_STREQ(MakeRelativePath("\\\\srv\\share\\x", "\\\\srv\\share"), "x");
    EXPECT_STREQ(MakeRelativePath("\\\\srv\\other\\y", "\\\\srv\\share"), "\\\\srv\\other\\y");
    EXPECT_STREQ(MakeRelativePath("a", "a"), "a");
    EXPECT_STREQ(MakeRelativePath("C", "C:\\Work"), "C");
}

TEST(ListRules, DisplayFormsByOption) {
    const char* entry = "C:\\Work\\Sub\\b.txt";
    EXPECT_STREQ(DisplayForm(entry, false, false, kShowNameOnly, nullptr), "b.txt");
    EXPECT_STREQ(DisplayForm("C:b.txt", false, false, kShowNameOnly, nullptr), "b.txt");
    EXPECT_STREQ(DisplayForm(entry, false, false, kShowCompletePath, nullptr), entry);
    EXPECT_STREQ(DisplayForm(entry, false, false, kShowRelativePath, "C:\\Work"), "Sub\\b.txt");
    EXPECT_STREQ(DisplayForm("C:\\Work\\", false, true, kShowNameOnly, nullptr), "C:\\Work\\");
    EXPECT_STREQ(DisplayForm("*.txt", true, false, kShowNameOnly, nullptr), "*.txt");
    EXPECT_STREQ(DisplayForm("C:\\W\\*.t?t", true, false, kShowNameOnly, nullptr), "C:\\W\\*.t?t");
    EXPECT_STREQ(DisplayForm(entry, true, false, kShowNameOnly, nullptr), "b.txt");
}

TEST(ListRules, WhatAChosenPathRecords) {
    RecordOptions none = {false, false};
    RecordOptions both = {true, true};
    auto classify = [](const char* path, const char* module, RecordOptions o, unsigned drive) {
        return ClassifyChosenPath(path, module, o, drive);
    };
    EXPECT_EQ(classify("C:\\a.txt", "app", both, 3), ChosenRecord::kFileAndFolder);
    EXPECT_EQ(classify("", "app", none, 3), ChosenRecord::kNothing);
    EXPECT_EQ(classify("C:\\Docs\\(navigate to folder and click Save)", "app", none, 3),
              ChosenRecord::kFolderOnly);
    EXPECT_EQ(classify("C:\\Docs\\(NAVIGATE to folder and click Save)", "app", none, 3),
              ChosenRecord::kFileAndFolder);
    EXPECT_EQ(classify("C:\\Work\\*.txt", "app", none, 3), ChosenRecord::kNothing);
    EXPECT_EQ(classify("C:\\Work\\a?.txt", "app", none, 3), ChosenRecord::kNothing);

    EXPECT_EQ(classify("E:\\a.txt", "app", both, kDriveRemovable), ChosenRecord::kNothing);
    EXPECT_EQ(classify("E:\\a.txt", "app", none, kDriveRemovable), ChosenRecord::kFileAndFolder);
    for (const char* path : {"\\\\srv\\share\\a.txt", "//srv/share/a.txt"}) {
        EXPECT_EQ(classify(path, "app", {false, true}, 1), ChosenRecord::kNothing) << path;
        EXPECT_EQ(classify(path, "app", {true, false}, 1), ChosenRecord::kFileAndFolder) << path;
    }
    EXPECT_EQ(classify("N:\\a.txt", "app", {false, true}, kDriveRemote), ChosenRecord::kNothing);
    EXPECT_EQ(classify("N:\\a.txt", "app", {true, false}, kDriveRemote),
              ChosenRecord::kFileAndFolder);

    EXPECT_EQ(classify("C:\\tmp\\a.a", "WINZIP", none, 3), ChosenRecord::kNothing);
    EXPECT_EQ(classify("C:\\tmp\\a.a", "WinZip", none, 3), ChosenRecord::kFileAndFolder);
    EXPECT_EQ(classify("C:\\tmp\\ba.a", "WINZIP", none, 3), ChosenRecord::kFileAndFolder);
    EXPECT_EQ(DriveLetterOf("e:\\x"), 'E');
}

TEST(ListRules, IniTextCannotForgeLinesOrKeys) {
    char value[] = "a\r\n[Notepad Recent Files]\r\nLast=1";
    SanitizeIniText(value, false);
    EXPECT_STREQ(value, "a  [Notepad Recent Files]  Last=1");
    char key[] = "[Open]=x\t";
    SanitizeIniText(key, true);
    EXPECT_STREQ(key, "(Open)-x ");
}

} // namespace
} // namespace vn

// Only tests that may wait on the network get the bounded test on a thread of its own.
TEST(ListRules, WhichFolderTestsMayWaitOnTheNetwork) {
    const struct {
        const char* path;
        unsigned driveType;
        bool mayWait;
    } cases[] = {
        {"\\\\server\\share\\docs", 0, true},
        {"N:\\docs", vn::kDriveRemote, true},
        {"C:\\docs", 3, false},
        {"E:\\", vn::kDriveRemovable, false},
        {"\\docs", 3, false},
        {"", 0, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vn::MayWaitOnNetwork(c.path, c.driveType), c.mayWait) << c.path;
    EXPECT_FALSE(vn::MayWaitOnNetwork(nullptr, vn::kDriveRemote));
}
