#include "hook/commands/find_walk.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

using namespace vn;

namespace {

// '*' and '?' as the file system matches them, enough for the tree below.
bool Matches(const char* mask, const char* name) {
    if (!*mask)
        return !*name;
    if (*mask == '*')
        return Matches(mask + 1, name) || (*name && Matches(mask, name + 1));
    if (!*name)
        return false;
    return (*mask == '?' || *mask == *name) && Matches(mask + 1, name + 1);
}

// A tree of folders in memory; a folder listed in unreadable cannot be enumerated.
class FakeSystem : public FindSystem {
  public:
    struct Node {
        std::string name;
        bool folder;
    };
    std::map<std::string, std::vector<Node>> tree;
    std::vector<std::string> unreadable;
    std::vector<std::string> shown;
    int stopAfter = -1; // stop requested on this many-th check
    int checks = 0;
    int open = 0;
    bool driveReady = true;

    struct Search {
        std::vector<Node> nodes;
        size_t next;
    };

    void* FindFirst(const char* pattern, FoundFile* out) override {
        std::string p(pattern);
        size_t cut = p.rfind('\\');
        std::string folder = p.substr(0, cut), mask = p.substr(cut + 1);
        if (folder.size() == 2)
            folder += "\\";
        for (const std::string& u : unreadable)
            if (u == folder)
                return nullptr;
        auto* search = new Search{{}, 0};
        auto it = tree.find(folder);
        if (it != tree.end())
            for (const Node& n : it->second)
                if (mask == "*.*" || Matches(mask.c_str(), n.name.c_str()))
                    search->nodes.push_back(n);
        search->nodes.insert(search->nodes.begin(), {{".", true}, {"..", true}});
        ++open;
        FindNext(search, out);
        return search;
    }
    bool FindNext(void* s, FoundFile* out) override {
        auto* search = static_cast<Search*>(s);
        if (search->next >= search->nodes.size())
            return false;
        const Node& n = search->nodes[search->next++];
        std::memset(out, 0, sizeof *out);
        std::strncpy(out->name, n.name.c_str(), sizeof out->name - 1);
        out->attributes = n.folder ? kFindDirectoryAttribute : 0x20;
        return true;
    }
    void FindClose(void* s) override {
        --open;
        delete static_cast<Search*>(s);
    }
    bool DriveReady(const char*) override { return driveReady; }
    bool StopRequested() override { return ++checks == stopAfter; }
    void ShowFolder(const char* folder) override { shown.push_back(folder); }
};

// C:\w holds files, an empty folder, an unreadable one and a deep chain.
FakeSystem MakeTree() {
    FakeSystem fs;
    fs.tree["C:\\w"] = {{"a.txt", false}, {"sub", true},    {"b.log", false},
                        {"empty", true},  {"locked", true}, {"README", false}};
    fs.tree["C:\\w\\sub"] = {{"c.txt", false}, {"deep", true}, {"x.txt.bak", false}};
    fs.tree["C:\\w\\sub\\deep"] = {{"d1", true}};
    fs.tree["C:\\w\\sub\\deep\\d1"] = {{"d2", true}};
    fs.tree["C:\\w\\sub\\deep\\d1\\d2"] = {{"bottom.txt", false}};
    fs.tree["C:\\w\\empty"] = {};
    fs.tree["C:\\w\\locked"] = {{"hidden.txt", false}};
    fs.unreadable = {"C:\\w\\locked"};
    return fs;
}

std::vector<std::string> Walk(FakeSystem& fs, const char* folder, const char* masks,
                              WalkResult* end) {
    std::vector<std::string> lines;
    FolderWalk walk(fs, folder, masks);
    FindEntry entry{};
    WalkResult result;
    while ((result = walk.Next(&entry)) == WalkResult::kEntry) {
        char line[kFindLineSize];
        FormatFoundLine(entry, line, sizeof line);
        lines.push_back(line);
    }
    *end = result;
    EXPECT_EQ(walk.Next(&entry), result) << "an ended walk keeps its result";
    return lines;
}

} // namespace

TEST(FindWalk, ListsEachFolderBeforeItsSubfoldersDepthFirst) {
    struct Case {
        const char* masks;
        std::vector<std::string> lines;
    } cases[] = {
        {"*.txt", {"C:\\w\\a.txt", "C:\\w\\sub\\c.txt", "C:\\w\\sub\\deep\\d1\\d2\\bottom.txt"}},
        // Masks in their order, each folder's matches before its subfolders; a file matching
        // two masks is listed twice.
        {"*.log;a*;*.txt",
         {"C:\\w\\b.log", "C:\\w\\a.txt", "C:\\w\\a.txt", "C:\\w\\sub\\c.txt",
          "C:\\w\\sub\\deep\\d1\\d2\\bottom.txt"}},
        // Folders that match are listed too; no mask means every entry.
        {"d*", {"C:\\w\\sub\\deep.", "C:\\w\\sub\\deep\\d1.", "C:\\w\\sub\\deep\\d1\\d2."}},
        {"",
         {"C:\\w\\a.txt", "C:\\w\\sub.", "C:\\w\\b.log", "C:\\w\\empty.", "C:\\w\\locked.",
          "C:\\w\\README.", "C:\\w\\sub\\c.txt", "C:\\w\\sub\\deep.", "C:\\w\\sub\\x.txt.bak",
          "C:\\w\\sub\\deep\\d1.", "C:\\w\\sub\\deep\\d1\\d2.",
          "C:\\w\\sub\\deep\\d1\\d2\\bottom.txt"}},
        {"nothing.*", {}},
        // An empty slot after the first ends the masks.
        {"*.log;;*.txt", {"C:\\w\\b.log"}},
    };
    for (const Case& c : cases) {
        FakeSystem fs = MakeTree();
        WalkResult end;
        EXPECT_EQ(Walk(fs, "C:\\w", c.masks, &end), c.lines) << c.masks;
        EXPECT_EQ(end, WalkResult::kComplete) << c.masks;
        EXPECT_EQ(fs.open, 0) << c.masks << ": every enumeration is closed";
    }
}

TEST(FindWalk, ShowsEachSubfolderItEnters) {
    FakeSystem fs = MakeTree();
    WalkResult end;
    Walk(fs, "C:\\w", "*.txt", &end);
    const std::vector<std::string> expected = {"C:\\w\\sub",           "C:\\w\\sub\\deep",
                                               "C:\\w\\sub\\deep\\d1", "C:\\w\\sub\\deep\\d1\\d2",
                                               "C:\\w\\empty",         "C:\\w\\locked"};
    EXPECT_EQ(fs.shown, expected);
}

TEST(FindWalk, EndsInErrorOrStopAndClosesWhatItOpened) {
    struct Case {
        const char* masks;
        bool driveReady;
        int stopAfter;
        size_t lines;
        WalkResult end;
    } cases[] = {
        {"1;2;3;4;5;6;7;8;9;10", true, -1, 0, WalkResult::kComplete},
        {"1;2;3;4;5;6;7;8;9;10;11", true, -1, 0, WalkResult::kError}, // an eleventh mask
        {"*.txt", false, -1, 0, WalkResult::kError},                  // drive not ready
        // A stop is noticed before each match and before each folder the walk enters.
        {"*.txt", true, 1, 0, WalkResult::kStopped},
        {"*.txt", true, 3, 1, WalkResult::kStopped},    // stopped on entering sub
        {"*.txt", true, 4, 2, WalkResult::kStopped},    // stopped inside sub
        {"bottom.*", true, 5, 0, WalkResult::kStopped}, // deep down, with nothing found yet
    };
    for (const Case& c : cases) {
        FakeSystem fs = MakeTree();
        fs.driveReady = c.driveReady;
        fs.stopAfter = c.stopAfter;
        WalkResult end;
        EXPECT_EQ(Walk(fs, "C:\\w", c.masks, &end).size(), c.lines) << c.masks;
        EXPECT_EQ(end, c.end) << c.masks;
        EXPECT_EQ(fs.open, 0) << c.masks;
    }
}

// A stretch without matches is no stretch without stop checks: the walk asks every
// kFindReadsPerCheck reads as well as at every step, and a stop there ends it cleanly.
TEST(FindWalk, ChecksForAStopWhileNoMatchComes) {
    struct Case {
        int stopAfter;
        int checks;
        size_t lines;
        WalkResult end;
    } cases[] = {
        // three steps' checks, four between reads and three where the walk looks for a next folder
        {-1, 10, 2, WalkResult::kComplete},
        {3, 3, 1, WalkResult::kStopped}, // while listing the subfolders of C:\q
        {6, 6, 2, WalkResult::kStopped}, // inside far, after its match
    };
    for (const Case& c : cases) {
        FakeSystem fs;
        std::vector<FakeSystem::Node>& top = fs.tree["C:\\q"];
        top = {{"first.txt", false}};
        for (int i = 0; i < 2 * kFindReadsPerCheck; ++i)
            top.push_back({"f" + std::to_string(i) + ".log", false});
        top.push_back({"far", true});
        fs.tree["C:\\q\\far"] = top;
        fs.tree["C:\\q\\far"].back() = {"last.txt", false};
        fs.tree["C:\\q\\far"].front() = {"x.log", false};
        fs.stopAfter = c.stopAfter;
        WalkResult end;
        EXPECT_EQ(Walk(fs, "C:\\q", "*.txt", &end).size(), c.lines) << c.stopAfter;
        EXPECT_EQ(end, c.end) << c.stopAfter;
        EXPECT_EQ(fs.checks, c.checks) << c.stopAfter;
        EXPECT_EQ(fs.open, 0) << c.stopAfter;
    }
}

TEST(FindWalk, SplitsMasksIntoTenSlots) {
    FindMasks masks;
    ASSERT_TRUE(SplitMasks("*.c; *.h;", &masks));
    EXPECT_STREQ(masks.slot[0], "*.c");
    EXPECT_STREQ(masks.slot[1], " *.h"); // spaces belong to the mask
    EXPECT_STREQ(masks.slot[2], "");
    ASSERT_TRUE(SplitMasks("", &masks));
    EXPECT_STREQ(masks.slot[0], "");
    ASSERT_TRUE(SplitMasks(std::string(300, 'x').c_str(), &masks));
    EXPECT_EQ(std::strlen(masks.slot[0]), kFindMaskSize - 1);
    EXPECT_TRUE(SplitMasks("a;b;c;d;e;f;g;h;i;j;", &masks)); // nothing after the tenth
    EXPECT_FALSE(SplitMasks("a;b;c;d;e;f;g;h;i;j;k", &masks));
}

TEST(FindWalk, FormatsLinesFromNameParts) {
    struct Case {
        const char* folder;
        const char* name;
        bool directory;
        const char* base;
        const char* extension;
        const char* line;
    } cases[] = {
        {"C:\\docs", "a.txt", false, "a", "txt", "C:\\docs\\a.txt"},
        {"C:\\", "a.txt", false, "a", "txt", "C:\\a.txt"},
        {"C:\\docs", "README", false, "README", "", "C:\\docs\\README."},
        {"C:\\docs", "x.tar.gz", false, "x.tar", "gz", "C:\\docs\\x.tar.gz"},
        {"C:\\docs", ".profile", false, "", "profile", "C:\\docs\\.profile"},
        {"C:\\docs", "dir.   ", true, "dir", "   ", "C:\\docs\\dir"},
        {"C:\\docs", "dir.   ", false, "dir", "   ", "C:\\docs\\dir.   "},
    };
    for (const Case& c : cases) {
        FindEntry entry{};
        std::strcpy(entry.file.name, c.name);
        entry.file.attributes = c.directory ? kFindDirectoryAttribute : 0;
        std::strcpy(entry.folder, c.folder);
        SplitFileName(c.name, entry.base, entry.extension, sizeof entry.base);
        EXPECT_STREQ(entry.base, c.base) << c.name;
        EXPECT_STREQ(entry.extension, c.extension) << c.name;
        char line[kFindLineSize];
        FormatFoundLine(entry, line, sizeof line);
        EXPECT_STREQ(line, c.line) << c.name;
    }
    FindEntry longEntry{};
    std::memset(longEntry.folder, 'f', sizeof longEntry.folder - 1);
    std::memset(longEntry.base, 'b', sizeof longEntry.base - 1);
    char line[kFindLineSize];
    FormatFoundLine(longEntry, line, sizeof line);
    EXPECT_EQ(std::strlen(line), kFindLineSize - 1);
}

TEST(FindWalk, RootEndingInAMaskIsCutIntoFolderAndMask) {
    struct Case {
        const char* root;
        bool needsTest;
        const char* masksField;
        const char* folder;
        const char* masks;
    } cases[] = {
        {"C:\\work\\*.txt", true, "", "C:\\work\\", "*.txt"},
        {"C:\\work\\*.txt", true, "*.c", "C:\\work\\", "*.c"},
        {"C:*.txt", true, "", "C:", "*.txt"},
        {"*.txt", true, "", "", "*.txt"},
        {"C:\\work\\", false, "", "C:\\work\\", ""},
        {"C:", false, "", "C:", ""},
        {"\\\\server\\share\\x", false, "", "\\\\server\\share\\", "x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RootNeedsFolderTest(c.root), c.needsTest) << c.root;
        char folder[kFindNameSize], masks[kFindNameSize];
        CutRootToMask(c.root, c.masksField, folder, sizeof folder, masks, sizeof masks);
        EXPECT_STREQ(folder, c.folder) << c.root;
        EXPECT_STREQ(masks, c.masks) << c.root;
    }
}
