#include "hook/lists/linux_places.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>

namespace vn {
namespace {

std::string Bookmark(const std::string& line) {
    char out[kLinuxPathSize];
    return BookmarkFolder(line.data(), line.size(), out, sizeof out) ? out : "-";
}

TEST(LinuxPlaces, BookmarkLines) {
    const struct {
        const char* line;
        const char* folder; // "-": no place
    } cases[] = {
        {"file:///home/u/Projects", "/home/u/Projects"},
        {"file:///home/u/My%20Work Work things", "/home/u/My Work"},
        {"file:///home/u/a%2fb/", "/home/u/a/b"},
        {"file://localhost/srv/data", "/srv/data"},
        {"file:///srv/data\r", "-"}, // line ends are taken off before
        {"FILE:///tmp", "/tmp"},
        {"file:///", "/"},
        {"file:///home/u/caf%C3%A9", "/home/u/caf\xC3\xA9"},
        {"file:///home/u/x\tLabel with \x01\x1B control", "/home/u/x"},
        {"sftp://host/home/u", "-"},
        {"smb://server/share", "-"},
        {"file://otherhost/home/u", "-"},
        {"file:relative", "-"},
        {"file:///home/u/bad%2", "-"},
        {"file:///home/u/nul%00x", "-"},
        {"file:///home/u/ctl%0Ax", "-"},
        {"file:///home/u/back%5Cslash", "-"},
        {"file:///home/u/latin%E9", "-"},   // not UTF-8
        {"file:///home/u/over%C0%AF", "-"}, // overlong
        {"file:///home/u/surrogate%ED%A0%80", "-"},
        {"file:///home/u/cut%E2%82", "-"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Bookmark(c.line), c.folder) << c.line;

    // A path longer than the buffer is no place, and nothing is written past it.
    char small[7];
    EXPECT_FALSE(BookmarkFolder("file:///home/u", 14, small, sizeof small));
    EXPECT_STREQ(small, "");
}

std::string UserDir(const std::string& line, const char* home = "/home/u") {
    char out[kLinuxPathSize];
    return UserDirFolder(line.data(), line.size(), home, out, sizeof out) ? out : "-";
}

TEST(LinuxPlaces, UserDirLines) {
    const struct {
        const char* line;
        const char* folder;
    } cases[] = {
        {"XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"", "/home/u/Downloads"},
        {"  XDG_DOCUMENTS_DIR=\"$HOME/Docs/\"  ", "/home/u/Docs"},
        {"XDG_MUSIC_DIR=\"/srv/music\"", "/srv/music"},
        {"XDG_PICTURES_DIR=\"$HOME/My \\\"Pics\\\"\"", "/home/u/My \"Pics\""},
        {"XDG_PUBLICSHARE_DIR=\"$HOME/caf\xC3\xA9\"", "/home/u/caf\xC3\xA9"},
        {"XDG_DESKTOP_DIR=\"$HOME/\"", "-"}, // the home folder: switched off
        {"# XDG_VIDEOS_DIR=\"$HOME/Videos\"", "-"},
        {"XDG_VIDEOS_DIR=$HOME/Videos", "-"},
        {"XDG_VIDEOS_DIR=\"$HOME/Videos", "-"},
        {"XDG_VIDEOS_DIR=\"Videos\"", "-"},
        {"XDG__DIR=\"/x\"", "-"},
        {"OTHER_DIR=\"/x\"", "-"},
        {"XDG_VIDEOS_DIR=\"$HOME/a\x01z\"", "-"},
        {"XDG_VIDEOS_DIR=\"$HOME/back\\\\slash\"", "-"},
        {"XDG_VIDEOS_DIR=\"$HOME/latin\xE9\"", "-"},
        {"XDG_VIDEOS_DIR=\"$HOME/x\\", "-"},
        {"", "-"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UserDir(c.line), c.folder) << c.line;
    EXPECT_EQ(UserDir("XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"", ""), "-");
    EXPECT_EQ(UserDir("XDG_DOWNLOAD_DIR=\"/abs\"", nullptr), "/abs");
    EXPECT_EQ(UserDir("XDG_DOWNLOAD_DIR=\"$HOME/" + std::string(5000, 'a') + "\""), "-");
}

TEST(LinuxPlaces, ConfigFolderFromEnvironment) {
    char out[64];
    EXPECT_TRUE(ConfigFolder("/cfg", "/home/u", out, sizeof out) && !strcmp(out, "/cfg"));
    EXPECT_TRUE(ConfigFolder("relative", "/home/u", out, sizeof out) &&
                !strcmp(out, "/home/u/.config"));
    EXPECT_FALSE(ConfigFolder(nullptr, "", out, sizeof out));
    EXPECT_FALSE(ConfigFolder(nullptr, ("/" + std::string(70, 'h')).c_str(), out, sizeof out));
}

// Every Linux path under "/" maps to Z:; names holding "~" stand for what the ANSI code page
// cannot hold, "gone" for folders that do not exist.
class FakeSystem final : public PlaceSystem {
  public:
    int existenceTests = 0;
    bool WindowsFolder(const char* linuxPath, char* out, size_t cap) override {
        std::string name = "Z:" + std::string(linuxPath);
        for (char& c : name)
            c = c == '/' ? '\\' : c;
        if (strchr(linuxPath, '~') || name.size() >= cap)
            return false;
        snprintf(out, cap, "%s", name.c_str());
        return true;
    }
    bool FolderExists(const char* path) override {
        ++existenceTests;
        return !strstr(path, "gone");
    }
};

std::string Collect(const std::string& dirs, const std::string& marks, FakeSystem& system,
                    LinuxPlaces& places) {
    CollectLinuxPlaces(dirs.empty() ? nullptr : dirs.data(), dirs.size(),
                       marks.empty() ? nullptr : marks.data(), marks.size(), "/home/u", system,
                       places);
    std::string out;
    for (int i = 0; i < places.count; ++i)
        out += (out.empty() ? "" : "|") + std::string(places.folders[i]);
    return out;
}

TEST(LinuxPlaces, CollectsUserFoldersThenBookmarks) {
    auto places = std::make_unique<LinuxPlaces>();
    FakeSystem system;
    EXPECT_EQ(Collect("# made by xdg-user-dirs\nXDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
                      "XDG_MUSIC_DIR=\"$HOME/gone\"\r\nXDG_DOCUMENTS_DIR=\"$HOME/Docs\"\r\n",
                      "file:///home/u/DOWNLOADS\nsftp://h/x\nfile:///home/u/~nope\n"
                      "file:///srv/" +
                          std::string(300, 'p') + "\nfile:///srv/share Shared\n",
                      system, *places),
              "Z:\\home\\u\\Downloads|Z:\\home\\u\\Docs|Z:\\srv\\share");
    // Missing files: nothing.
    EXPECT_EQ(Collect("", "", system, *places), "");
}

TEST(LinuxPlaces, ThousandsOfLinesCostBoundedWork) {
    auto places = std::make_unique<LinuxPlaces>();
    FakeSystem system;
    std::string many;
    for (int i = 0; i < 5000; ++i)
        many += "file:///srv/gone" + std::to_string(i) + "\n";
    many += "file:///srv/last\n";
    // The line cut at the limit is not read as a shorter folder.
    EXPECT_EQ(Collect("", many, system, *places), "");
    EXPECT_LT(system.existenceTests, 5000); // only what fits the first 64 KiB is read

    std::string existing;
    for (int i = 0; i < 100; ++i)
        existing += "file:///srv/d" + std::to_string(i) + "\n";
    Collect("", existing, system, *places);
    EXPECT_EQ(places->count, kMaxLinuxPlaces);
    EXPECT_STREQ(places->folders[kMaxLinuxPlaces - 1], "Z:\\srv\\d39");
}

} // namespace
} // namespace vn
