#include "hook/core/path_rules.h"

#include <gtest/gtest.h>

#include <string>

using namespace vn;

namespace {

std::string Parent(const char* path, bool keep) {
    char out[261];
    ParentFolder(out, sizeof out, path, keep);
    return out;
}

} // namespace

TEST(PathRules, ParentFolderKeepsTheRootBackslash) {
    EXPECT_EQ(Parent("C:\\a", false), "C:\\");
    EXPECT_EQ(Parent("C:\\d\\a", false), "C:\\d");
    EXPECT_EQ(Parent("C:\\d\\a", true), "C:\\d\\");
    EXPECT_EQ(Parent("\\a", false), "\\");
    EXPECT_EQ(Parent("a.txt", true), "");
    EXPECT_EQ(Parent("\\\\srv\\share\\f", false), "\\\\srv\\share");
}

TEST(PathRules, FileNamePartAndMasks) {
    EXPECT_STREQ(FileNamePart("C:\\docs\\report.txt"), "report.txt");
    EXPECT_STREQ(FileNamePart("C:report.txt"), "report.txt");
    EXPECT_STREQ(FileNamePart("report.txt"), "report.txt");
    EXPECT_STREQ(FileNamePart(nullptr), "");
    EXPECT_TRUE(HasWildcard("*.txt"));
    EXPECT_TRUE(HasWildcard("a?.doc"));
    EXPECT_FALSE(HasWildcard("a.doc"));
    EXPECT_TRUE(IsAbsolutePath("C:\\x"));
    EXPECT_TRUE(IsAbsolutePath("\\\\srv\\share"));
    EXPECT_FALSE(IsAbsolutePath("sub\\x"));
    EXPECT_FALSE(IsAbsolutePath("\\x"));
    EXPECT_FALSE(IsAbsolutePath(""));
}

TEST(PathRules, DoubledAmpersandsAreNeverSplit) {
    char out[8];
    DoubleAmpersands(out, sizeof out, "A&B");
    EXPECT_STREQ(out, "A&&B");
    DoubleAmpersands(out, sizeof out, "abcde&f");
    EXPECT_STREQ(out, "abcde&&");
    DoubleAmpersands(out, sizeof out, "abcdef&g");
    EXPECT_STREQ(out, "abcdef"); // "&&" does not fit: neither half is kept
    DoubleAmpersands(out, sizeof out, nullptr);
    EXPECT_STREQ(out, "");
}

TEST(PathRules, ANameIsCutSoThatTheJoinedPathFits) {
    std::string folder(200, 'f');
    char name[261];
    std::string longName(100, 'n');
    snprintf(name, sizeof name, "%s", longName.c_str());
    FitNameToFolder(name, folder.c_str());
    EXPECT_EQ(std::string(name).size(), 60u);
    snprintf(name, sizeof name, "%s", "short");
    FitNameToFolder(name, folder.c_str());
    EXPECT_STREQ(name, "short");
    std::string huge(300, 'h');
    snprintf(name, sizeof name, "%s", "x");
    FitNameToFolder(name, huge.c_str());
    EXPECT_STREQ(name, "");
}
