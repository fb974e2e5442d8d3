#include "manager/command_line.h"
#include "manager/help_topics.h"

#include <gtest/gtest.h>

#include <string>

namespace vn {
namespace {

TEST(ManagerCommandLine, Arguments) {
    EXPECT_EQ(ParseCommandLine("").mode, StartMode::kRun);
    EXPECT_EQ(ParseCommandLine(nullptr).mode, StartMode::kRun);
    EXPECT_EQ(ParseCommandLine("  \t ").mode, StartMode::kRun);

    StartRequest r = ParseCommandLine("/install");
    EXPECT_EQ(r.mode, StartMode::kInstall);
    EXPECT_STREQ(r.dataFolder, "");
    EXPECT_EQ(ParseCommandLine(" -INSTALL ").mode, StartMode::kInstall);

    r = ParseCommandLine("/Install \"D:\\My Data\\Vantor\"");
    EXPECT_EQ(r.mode, StartMode::kInstall);
    EXPECT_STREQ(r.dataFolder, "D:\\My Data\\Vantor");
    r = ParseCommandLine("/install relative\\folder");
    EXPECT_STREQ(r.dataFolder, "relative\\folder");

    for (const char* quit : {"/quit", " -QUIT\t", "\"/Quit\""})
        EXPECT_EQ(ParseCommandLine(quit).mode, StartMode::kQuit) << quit;

    // What is not understood starts nothing, installs nothing and quits nothing.
    for (const char* wrong :
         {"/instal", "install", "/install a b", "/install /install", "/install \"\"", "/installx",
          "/help", "quit", "/quit now", "/quit /install", "/install /quit", "/quitx"})
        EXPECT_EQ(ParseCommandLine(wrong).mode, StartMode::kUsage) << wrong;
    // A folder too long for a path is refused, not cut to another folder.
    std::string longFolder = "/install C:\\" + std::string(300, 'a');
    EXPECT_EQ(ParseCommandLine(longFolder.c_str()).mode, StartMode::kUsage);
}

TEST(ManagerCommandLine, InstallFolders) {
    char program[kPathSize], data[kPathSize];
    EXPECT_EQ(InstallFolders("C:\\Program Files\\Vantor\\vantor.exe",
                             "C:\\Users\\ann\\AppData\\Roaming", "", program, data),
              InstallFolderError::kNone);
    EXPECT_STREQ(program, "C:\\Program Files\\Vantor");
    EXPECT_STREQ(data, "C:\\Users\\ann\\AppData\\Roaming\\Vantor");

    EXPECT_EQ(InstallFolders("Z:\\vantor.exe", "C:\\Roaming\\", nullptr, program, data),
              InstallFolderError::kNone);
    EXPECT_STREQ(program, "Z:\\") << "the root of a drive keeps its backslash";
    EXPECT_STREQ(data, "C:\\Roaming\\Vantor");

    // A folder of one's own wins over the application data folder, without a trailing backslash.
    EXPECT_EQ(InstallFolders("C:\\v\\vantor.exe", "", "D:\\data\\", program, data),
              InstallFolderError::kNone);
    EXPECT_STREQ(data, "D:\\data");
    EXPECT_EQ(InstallFolders("C:\\v\\vantor.exe", "", "D:\\", program, data),
              InstallFolderError::kNone);
    EXPECT_STREQ(data, "D:\\");

    EXPECT_EQ(InstallFolders("C:\\v\\vantor.exe", "", "", program, data),
              InstallFolderError::kNoDataFolder);
    EXPECT_EQ(InstallFolders("vantor.exe", "C:\\a", "", program, data),
              InstallFolderError::kNoProgramFolder);
    EXPECT_STREQ(program, "");

    // The longest data folder whose files still have paths of 260 characters.
    std::string longest = "D:\\" + std::string(kMaxDataFolderLength - 3, 'd');
    EXPECT_EQ(InstallFolders("C:\\v\\vantor.exe", "", longest.c_str(), program, data),
              InstallFolderError::kNone);
    EXPECT_EQ(std::string(data), longest);
    std::string tooLong = longest + "d";
    EXPECT_EQ(InstallFolders("C:\\v\\vantor.exe", "", tooLong.c_str(), program, data),
              InstallFolderError::kDataFolderTooLong);
    std::string longAppData = "C:\\" + std::string(kMaxDataFolderLength - 8, 'a');
    EXPECT_EQ(InstallFolders("C:\\v\\vantor.exe", longAppData.c_str(), "", program, data),
              InstallFolderError::kDataFolderTooLong);
}

TEST(ManagerHelp, PagesOfContextNumbers) {
    char path[300];
    ASSERT_TRUE(HelpPagePath("C:\\Program Files\\Vantor", kHelpConfiguration, path, sizeof path));
    EXPECT_STREQ(path, "C:\\Program Files\\Vantor\\help\\topic-1025.html");
    ASSERT_TRUE(HelpPagePath("C:\\v\\", kHelpIntroduction, path, sizeof path));
    EXPECT_STREQ(path, "C:\\v\\help\\topic-1038.html");
    ASSERT_TRUE(HelpPagePath("C:\\v", kHelpContents, path, sizeof path));
    EXPECT_STREQ(path, "C:\\v\\help\\index.html");
    // A path that does not fit is no path at all.
    char small[20];
    EXPECT_FALSE(HelpPagePath("C:\\v", kHelpConfiguration, small, sizeof small));
    EXPECT_STREQ(small, "");
}

} // namespace
} // namespace vn
