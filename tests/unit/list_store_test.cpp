#include "hook/lists/list_store.h"
#include "tests/common/memory_ini.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace vn {
namespace {

using vntest::Lower;
using vntest::MemoryIni;

class FakeHost : public ListHost {
  public:
    std::map<std::string, MemoryIni> files;
    std::map<char, unsigned> drives;
    std::set<std::string> folders; // lower case, without a trailing backslash
    int liveSlots = 0;

    MemoryIni& Ini(const std::string& path) { return files[Lower(path)]; }
    IniFile& File(FileRole, const char* path) override { return Ini(path); }
    unsigned DriveType(char letter) override {
        return drives.count(letter) ? drives[letter] : 3u; // fixed
    }
    bool IsExistingFolder(const char* path) override {
        std::string p = Lower(path);
        if (!p.empty() && p.back() == '\\')
            p.pop_back();
        return folders.count(p) != 0;
    }
    void WindowsFolder(char* buf, size_t size) override { snprintf(buf, size, "C:\\WINDOWS"); }
    AppLists* AllocateSlot() override {
        ++liveSlots;
        return static_cast<AppLists*>(calloc(1, sizeof(AppLists)));
    }
    void FreeSlot(AppLists* slot) override {
        --liveSlots;
        free(slot);
    }
};

constexpr char kData[] = "C:\\Data";
constexpr char kAllPath[] = "C:\\Data\\ALLAPPS.vni";
constexpr RecordOptions kKeepAll = {false, false};

std::string Path(int i, const char* folder = "C:\\Docs\\") {
    return std::string(folder) + "file" + std::to_string(i) + ".txt";
}

// One process: its own cache over the files and shared lists of all.
struct Process {
    AppListCache cache = {};
    FakeHost* host;
    AllAppsLists* all;
    Process(FakeHost* h, AllAppsLists* a) : host(h), all(a) {}
    ~Process() { Store().ReleaseAppLists(nullptr); }
    ListStore Store(bool reread = false) {
        return ListStore(*host, cache, all, kData, kAllPath, reread);
    }
};

struct ListStoreTest : ::testing::Test {
    FakeHost host;
    std::unique_ptr<AllAppsLists> all{new AllAppsLists()};
    Process process{&host, all.get()};
    MemoryIni& app = host.Ini("C:\\Data\\Notepad.vni");
    MemoryIni& allFile = host.Ini(kAllPath);

    ListStore Store(bool reread = false) { return process.Store(reread); }

    // A recent list newest first as the dialog walks it: back from Last, wrapping when position
    // 100 is filled, to the first empty position; read from memory.
    static std::vector<std::string> Newest(const ListEntries* entries, int last) {
        std::vector<std::string> out;
        for (int i = 0, p = last; entries && last && i < kListSlots; ++i) {
            const char* e = ListEntryText(*entries, p);
            if (!e)
                break;
            out.push_back(e);
            p = p == 1 ? kListSlots : p - 1;
        }
        return out;
    }
    std::vector<std::string> Recent(const char* module, bool paths = false) {
        ListStore s = Store();
        ListKind kind = KindOf(false, paths);
        return Newest(s.ListOf(module, kind), s.ListLast(module, kind));
    }
    // The same list read back from the file by a process that starts now.
    std::vector<std::string> RecentInFile(const char* module, bool paths = false) {
        Process other(&host, all.get());
        ListStore s = other.Store();
        s.LoadAppLists(module);
        ListKind kind = KindOf(false, paths);
        return Newest(s.ListOf(module, kind), s.ListLast(module, kind));
    }
    void Record(const std::string& path, const char* module = "Notepad",
                RecordOptions options = kKeepAll) {
        ListStore s = Store();
        s.LoadAppLists(module);
        s.LoadAllAppsLists(false);
        s.RecordChosenFile(module, path.c_str(), options);
    }
    int Writes() {
        int n = 0;
        for (auto& f : host.files)
            n += f.second.writes;
        return n;
    }
};

TEST_F(ListStoreTest, FileLayoutOfRecordsAndFavourites) {
    Record("C:\\Docs\\old.txt");
    Record("C:\\Docs\\plan.txt");
    Record("D:\\Notes\\memo.txt");
    ListStore s = Store();
    EXPECT_TRUE(s.AddFavorite("Notepad", "C:\\Docs\\plan.txt", false));
    EXPECT_TRUE(s.AddFavoriteFromDialog("Notepad", "C:\\Logs\\*.log", false));
    s.WriteOpenToFirstFavorite("Notepad", 0);
    s.SaveLastFileType("Notepad", "Open", "Text Documents (*.txt)");

    using V = std::vector<std::string>;
    EXPECT_EQ(app.KeyOrder("Notepad Recent Files"),
              (V{"Last", "Entry1", "Sequence", "Entry2", "Entry3"}));
    EXPECT_EQ(app.Get("Notepad Recent Files", "Last"), "3");
    EXPECT_EQ(app.Get("Notepad Recent Files", "Sequence"), "3");
    EXPECT_EQ(app.Get("Notepad Recent Paths", "Last"), "2");
    EXPECT_EQ(app.Get("Notepad Recent Paths", "Sequence"), "3");
    EXPECT_EQ(app.Get("Notepad Recent Paths", "Entry2"), "D:\\Notes\\");
    EXPECT_EQ(app.KeyOrder("Notepad Favorite Files"), (V{"Last", "Entry1", "Sequence", "Entry2"}));
    EXPECT_EQ(app.Get("Notepad Favorite Files", "Entry2"), "*.log");
    EXPECT_EQ(app.Get("Notepad Favorite Paths", "OpenToFirstFavoriteFolder"), "0");
    EXPECT_EQ(app.Get("Last File Types", "Open"), "Text Documents (*.txt)");
    EXPECT_EQ(Recent("Notepad"),
              (V{"D:\\Notes\\memo.txt", "C:\\Docs\\plan.txt", "C:\\Docs\\old.txt"}));
    // The all-applications sections hold the same, without "Sequence".
    EXPECT_EQ(allFile.KeyOrder("All Files"), (V{"Last", "Entry1", "Entry2", "Entry3"}));
    EXPECT_EQ(Recent(nullptr, true), (V{"D:\\Notes\\", "C:\\Docs\\"}));
}

TEST_F(ListStoreTest, RingOfHundredAndMostRecentlyUsedMove) {
    for (int i = 1; i <= 101; ++i)
        Record(Path(i));
    std::vector<std::string> newest = Recent("Notepad");
    ASSERT_EQ(newest.size(), 100u);
    EXPECT_EQ(newest.front(), Path(101));
    EXPECT_EQ(newest.back(), Path(2));
    EXPECT_EQ(app.Get("Notepad Recent Files", "Last"), "1");
    EXPECT_EQ(app.Get("Notepad Recent Files", "Entry1"), Path(101));

    // Choosing an old entry again (in other letter case) makes it the newest; Last stays and the
    // ring keeps its length. The move crosses the end of the ring.
    std::string again = Lower(Path(50));
    Record(again);
    newest = Recent("Notepad");
    ASSERT_EQ(newest.size(), 100u);
    EXPECT_EQ(newest[0], again);
    EXPECT_EQ(newest[1], Path(101));
    EXPECT_EQ(std::count(newest.begin(), newest.end(), Path(50)), 0);
    EXPECT_EQ(app.Get("Notepad Recent Files", "Last"), "1");
    EXPECT_EQ(RecentInFile("Notepad"), newest);
    EXPECT_EQ(Recent(nullptr), newest);
}

TEST_F(ListStoreTest, PathsThatAreNotRecorded) {
    Record("C:\\tmp\\a.a", "WINZIP");
    Record("C:\\Work\\*.txt");
    host.drives['N'] = kDriveRemote;
    for (const char* p : {"\\\\srv\\s\\a.txt", "//srv/s/a.txt", "N:\\a.txt"})
        Record(p, "Notepad", {false, true});
    EXPECT_EQ(Writes(), 0);

    Record("C:\\tmp\\a.a", "WinZip");
    Record("\\\\srv\\s\\b.txt", "Notepad", {true, false});
    EXPECT_EQ(Recent("WinZip"), std::vector<std::string>{"C:\\tmp\\a.a"});
    EXPECT_EQ(Recent(nullptr).size(), 2u);

    Record("C:\\Docs\\(navigate to folder and click Save)");
    EXPECT_EQ(Recent("Notepad"), std::vector<std::string>{"\\\\srv\\s\\b.txt"});
    EXPECT_EQ(Recent("Notepad", true).front(), "C:\\Docs\\");
    EXPECT_EQ(Recent(nullptr, true).front(), "C:\\Docs\\");
    EXPECT_EQ(Recent(nullptr).size(), 2u);
}

TEST_F(ListStoreTest, FavouritesMasksDuplicatesAndLimit) {
    ListStore s = Store();
    s.LoadAppLists("Notepad");
    EXPECT_FALSE(s.AddFavoriteFromDialog("Notepad", "C:\\Work\\*.txt", true));
    EXPECT_FALSE(s.AddFavoriteFromDialog("Notepad", "", false));
    EXPECT_EQ(Writes(), 0);
    EXPECT_TRUE(s.AddFavoriteFromDialog("Notepad", "C:\\Work\\a.txt", true));
    EXPECT_EQ(app.Get("Notepad Favorite Paths", "Entry1"), "C:\\Work\\");
    int before = Writes();
    EXPECT_TRUE(s.AddFavorite("Notepad", "c:\\WORK\\A.TXT", false));
    EXPECT_TRUE(s.AddFolderFavorite("Notepad", "C:\\work"));
    EXPECT_EQ(Writes(), before);
    EXPECT_TRUE(
        s.AddFavoriteFromDialog("Notepad", "C:\\Pick\\(navigate to folder and click Save)", true));
    EXPECT_EQ(app.Get("Notepad Favorite Files", "Last"), "1");
    EXPECT_EQ(app.Get("Notepad Favorite Paths", "Entry2"), "C:\\Pick\\");
    EXPECT_FALSE(s.AddFolderFavorite("Notepad", "\\"));

    for (int i = 2; i <= 100; ++i)
        ASSERT_TRUE(s.AddFavorite("Notepad", Path(i).c_str(), false));
    before = Writes();
    EXPECT_FALSE(s.AddFavorite("Notepad", Path(101).c_str(), false));
    EXPECT_EQ(Writes(), before);
    EXPECT_EQ(s.ListLast("Notepad", kFavoriteFiles), 100);

    char buf[8] = "";
    EXPECT_FALSE(s.FirstFavoriteFolder("Notepad", buf, sizeof buf)); // does not fit
    char big[261] = "";
    EXPECT_TRUE(s.FirstFavoriteFolder("Notepad", big, sizeof big));
    EXPECT_STREQ(big, "C:\\Work\\");
}

TEST_F(ListStoreTest, HandEditedSectionsWithHolesAndBadValues) {
    for (const char* section : {"Notepad Favorite Files", "Notepad Recent Files"}) {
        app.Set(section, "Last", "4");
        for (int n : {1, 2, 4})
            app.Set(section, "Entry" + std::to_string(n), Path(n));
    }
    app.Set("Notepad Recent Paths", "Last", "150");
    app.Set("Notepad Recent Paths", "Entry1", std::string(300, 'x'));
    app.Set("Notepad Favorite Paths", "Last", "0");
    app.Set("Notepad Favorite Paths", "Entry1", "C:\\Kept\\");
    ListStore s = Store();
    s.LoadAppLists("Notepad");

    EXPECT_EQ(s.ListLast("Notepad", kFavoriteFiles), 2);
    EXPECT_EQ(ListEntryText(*s.ListOf("Notepad", kFavoriteFiles), 4), nullptr);
    EXPECT_EQ(s.ListLast("Notepad", kRecentFiles), 4);
    EXPECT_EQ(ListEntryText(*s.ListOf("Notepad", kRecentFiles), 3), nullptr);
    EXPECT_EQ(Recent("Notepad"), std::vector<std::string>{Path(4)});
    EXPECT_EQ(s.ListLast("Notepad", kRecentPaths), 0); // 150 names no position
    EXPECT_EQ(strlen(ListEntryText(*s.ListOf("Notepad", kRecentPaths), 1)), 260u);

    // A favourite added after a hole, or after "Last" 0 with entries, is stored where it is seen
    // and overwrites nothing that is shown.
    EXPECT_TRUE(s.AddFavorite("Notepad", "C:\\new.txt", false));
    EXPECT_EQ(app.Get("Notepad Favorite Files", "Entry3"), "C:\\new.txt");
    EXPECT_TRUE(s.AddFolderFavorite("Notepad", "C:\\Added"));
    EXPECT_EQ(app.Get("Notepad Favorite Paths", "Entry1"), "C:\\Kept\\");
    EXPECT_EQ(app.Get("Notepad Favorite Paths", "Entry2"), "C:\\Added\\");

    // A recent list with "Last" 0 is empty, even when it holds the same text: the new record
    // becomes the newest entry instead of moving a stale one out of sight.
    app.Set("Notepad Recent Files", "Last", "0");
    app.Set("Notepad Recent Files", "Sequence", "77");
    s.LoadAppLists("Notepad");
    s.AddRecent("Notepad", Path(2).c_str(), false);
    EXPECT_EQ(Recent("Notepad").front(), Path(2));
    EXPECT_EQ(app.Get("Notepad Recent Files", "Last"), "1");

    // An over-long path is stored cut, the same in memory and file.
    std::string longPath = "C:\\" + std::string(400, 'y');
    s.AddRecent("Notepad", longPath.c_str(), false);
    EXPECT_EQ(app.Get("Notepad Recent Files", "Entry2"), longPath.substr(0, 260));
}

TEST_F(ListStoreTest, UnreadableFileAndBadModuleNames) {
    app.unreadable = true;
    ListStore s = Store();
    s.LoadAppLists("Notepad");
    EXPECT_EQ(s.ListLast("Notepad", kRecentFiles), 0);
    s.AddRecent("Notepad", "C:\\a.txt", false);
    EXPECT_FALSE(s.AddFavorite("Notepad", "", false));
    for (const char* bad : std::vector<const char*>{"", "..\\evil", "a/b", "C:x", nullptr}) {
        s.LoadAppLists(bad);
        EXPECT_EQ(s.ListOf(bad ? bad : "", kRecentFiles), nullptr);
    }
    EXPECT_EQ(process.cache.count, 1);
}

TEST_F(ListStoreTest, OldLayoutsAreMigratedOldestFirst) {
    // A wrapped ring of 25: newest at 7, oldest at 8.
    app.Set("Notepad Files", "Last", "7");
    for (int n = 1; n <= 25; ++n)
        app.Set("Notepad Files", "Entry" + std::to_string(n), Path(n));
    host.Ini("C:\\WINDOWS\\vantor.ini").Set("Vantor", "Data Path", "D:\\Old");
    MemoryIni& older = host.Ini("D:\\Old\\Notepad.vni");
    older.Set("Notepad Files", "Last", "1");
    older.Set("Notepad Files", "Entry1", "D:\\Old\\o.txt");
    older.Set("Notepad Paths", "Last", "1");
    older.Set("Notepad Paths", "Entry1", "D:\\Old\\");
    older.Set("Notepad Favorite Files", "Last", "1");
    older.Set("Notepad Favorite Files", "Entry1", "D:\\Old\\fav.txt");
    ListStore s = Store();
    s.LoadAppLists("Notepad");

    std::vector<std::string> newest = Recent("Notepad");
    ASSERT_EQ(newest.size(), 25u);
    EXPECT_EQ(newest.front(), Path(7));
    EXPECT_EQ(newest.back(), Path(8));
    EXPECT_EQ(app.Get("Notepad Recent Files", "Entry1"), Path(8));
    EXPECT_EQ(app.Get("Notepad Files", "Last"), "7"); // the old section stays
    // The recent files existed in the list file, so nothing else is taken from elsewhere.
    EXPECT_EQ(s.ListLast("Notepad", kRecentPaths), 0);
    EXPECT_EQ(s.ListLast("Notepad", kFavoriteFiles), 0);

    // A list emptied by the editor has no "Last" and is imported again; without its own old
    // section the older data folder's file is used, and its favourites with it.
    s.ReplaceList("Notepad", kRecentFiles, nullptr, 0);
    app.Set("Notepad Files", "Last", "0");
    s.LoadAppLists("Notepad");
    EXPECT_EQ(Recent("Notepad"), std::vector<std::string>{"D:\\Old\\o.txt"});
    EXPECT_EQ(Recent("Notepad", true), std::vector<std::string>{"D:\\Old\\"});
    EXPECT_EQ(ListEntryText(*s.ListOf("Notepad", kFavoriteFiles), 1),
              std::string("D:\\Old\\fav.txt"));

    // The all-applications lists come from kestra.ini, a ring that has not wrapped.
    MemoryIni& kestra = host.Ini("C:\\WINDOWS\\kestra.ini");
    kestra.Set("All Files", "Last", "3");
    for (int n = 1; n <= 3; ++n)
        kestra.Set("All Files", "Entry" + std::to_string(n), Path(n));
    s.LoadAllAppsLists(false);
    EXPECT_EQ(Recent(nullptr), (std::vector<std::string>{Path(3), Path(2), Path(1)}));
}

TEST_F(ListStoreTest, TwentySlotsPerProcess) {
    ListStore s = Store();
    for (int i = 0; i < 21; ++i)
        s.LoadAppLists(("App" + std::to_string(i)).c_str());
    EXPECT_EQ(process.cache.count, 20);
    EXPECT_EQ(host.liveSlots, 20);
    EXPECT_NE(s.ListOf("app19", kRecentFiles), nullptr);
    EXPECT_EQ(s.ListOf("App20", kRecentFiles), nullptr);
    EXPECT_EQ(s.ListLast("App20", kRecentFiles), 0);
    EXPECT_FALSE(s.AddFavorite("App20", "C:\\a.txt", false));
    s.LoadAllAppsLists(false);
    s.RecordChosenFile("App20", "C:\\a.txt", kKeepAll);
    EXPECT_EQ(host.Ini("C:\\Data\\App20.vni").writes, 0);
    EXPECT_EQ(Recent(nullptr).size(), 1u);

    s.ReleaseAppLists("APP3");
    EXPECT_EQ(process.cache.count, 19);
    s.LoadAppLists("App20");
    EXPECT_NE(s.ListOf("App20", kRecentFiles), nullptr);
    s.ReleaseAppLists(nullptr);
    EXPECT_EQ(process.cache.count, 0);
    EXPECT_EQ(host.liveSlots, 0);
}

TEST_F(ListStoreTest, ProcessesWithStaleCopiesKeepEachOthersEntries) {
    Process other(&host, all.get());
    Store().LoadAppLists("Notepad");
    other.Store().LoadAppLists("Notepad");
    for (int i = 0; i < 3; ++i) {
        Store().RecordChosenFile("Notepad", Path(2 * i, "C:\\A\\").c_str(), kKeepAll);
        other.Store().RecordChosenFile("Notepad", Path(2 * i + 1, "C:\\B\\").c_str(), kKeepAll);
        other.Store().AddFavoriteFromDialog("Notepad", Path(2 * i + 1, "C:\\B\\").c_str(), true);
        Store().AddFavoriteFromDialog("Notepad", Path(2 * i, "C:\\A\\").c_str(), true);
    }
    std::vector<std::string> newest = RecentInFile("Notepad");
    ASSERT_EQ(newest.size(), 6u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(newest[5 - i], Path(i, i % 2 ? "C:\\B\\" : "C:\\A\\"));
    EXPECT_EQ(RecentInFile("Notepad", true), (std::vector<std::string>{"C:\\B\\", "C:\\A\\"}));
    EXPECT_EQ(Recent(nullptr).size(), 6u);
    EXPECT_EQ(app.Get("Notepad Favorite Files", "Last"), "6");
    EXPECT_EQ(app.Get("Notepad Favorite Files", "Sequence"), "6");
    EXPECT_EQ(app.Get("Notepad Favorite Paths", "Last"), "2");

    // Unchanged lists are not read again at the next load; changed ones are.
    Store().LoadAppLists("Notepad");
    int reads = app.reads;
    Store().LoadAppLists("Notepad");
    EXPECT_LT(app.reads - reads, 20);
    other.Store().AddRecent("Notepad", "C:\\x.txt", false);
    reads = app.reads;
    Store().LoadAppLists("Notepad");
    EXPECT_GT(app.reads - reads, 100);
    EXPECT_EQ(Recent("Notepad").front(), "C:\\x.txt");

    // After the lock's owner died, lists are read again though their Sequence is unchanged.
    AppLists* slot = Store().FindSlot("Notepad");
    SetListEntry(slot->entries[kRecentFiles], 6, "half-written");
    Store(true).LoadAppLists("Notepad");
    EXPECT_EQ(ListEntryText(slot->entries[kRecentFiles], 6), Path(5, "C:\\B\\"));
}

TEST_F(ListStoreTest, AllApplicationListsAreReadOnce) {
    allFile.Set("All Favorite Files", "Last", "1");
    allFile.Set("All Favorite Files", "Entry1", "C:\\fav.txt");
    ListStore s = Store();
    s.LoadAllAppsLists(false);
    EXPECT_EQ(all->allListsLoaded, 1u);
    allFile.Set("All Favorite Files", "Entry1", "C:\\changed.txt");
    s.LoadAllAppsLists(false);
    EXPECT_STREQ(ListEntryText(*s.ListOf(nullptr, kFavoriteFiles), 1), "C:\\fav.txt");
    s.LoadAllAppsLists(true);
    EXPECT_STREQ(ListEntryText(*s.ListOf(nullptr, kFavoriteFiles), 1), "C:\\changed.txt");

    // A change before any load reads the file first instead of writing over it.
    all->allListsLoaded = 0;
    memset(all->allFavoriteFiles, 0, sizeof all->allFavoriteFiles);
    all->allFavoriteFilesLast = 0;
    EXPECT_TRUE(s.AddFavorite(nullptr, "C:\\second.txt", false));
    EXPECT_EQ(allFile.Get("All Favorite Files", "Entry1"), "C:\\changed.txt");
    EXPECT_EQ(allFile.Get("All Favorite Files", "Entry2"), "C:\\second.txt");
    // Garbage in the shared lists is bounded.
    memset(all->allRecentFiles, 'z', sizeof all->allRecentFiles);
    all->allRecentFilesLast = -5;
    s.AddRecent(nullptr, "C:\\r.txt", false);
    EXPECT_EQ(s.ListLast(nullptr, kRecentFiles), 1);
}

TEST_F(ListStoreTest, EditorsReplaceWholeLists) {
    Record("C:\\a\\1.txt");
    ListStore s = Store();
    s.WriteOpenToFirstFavorite("Notepad", 1);
    EXPECT_EQ(s.ReadOpenToFirstFavorite("Notepad"), 1);
    const char* favs[] = {"C:\\f1.txt", "c:\\F1.TXT", "", "C:\\f2.txt"};
    EXPECT_TRUE(s.ReplaceList("Notepad", kFavoriteFiles, favs, 4));
    EXPECT_EQ(app.Get("Notepad Favorite Files", "Last"), "2");
    EXPECT_EQ(app.Get("Notepad Favorite Files", "Entry2"), "C:\\f2.txt");
    EXPECT_TRUE(s.ReplaceList("Notepad", kFavoritePaths, nullptr, 0));
    EXPECT_EQ(app.KeyOrder("Notepad Favorite Paths"), std::vector<std::string>{"Sequence"});
    EXPECT_EQ(s.ReadOpenToFirstFavorite("Notepad"), 0);

    const char* recent[] = {"C:\\r3.txt", "C:\\r1.txt", "C:\\r2.txt"};
    uint32_t before = static_cast<uint32_t>(app.GetInt("Notepad Recent Files", "Sequence", 0));
    EXPECT_TRUE(s.ReplaceList("Notepad", kRecentFiles, recent, 3));
    EXPECT_EQ(Recent("Notepad"),
              (std::vector<std::string>{"C:\\r3.txt", "C:\\r1.txt", "C:\\r2.txt"}));
    EXPECT_EQ(app.Get("Notepad Recent Files", "Last"), "3");
    EXPECT_GT(static_cast<uint32_t>(app.GetInt("Notepad Recent Files", "Sequence", 0)), before);
    EXPECT_FALSE(s.ReplaceList("Unknown", kRecentFiles, recent, 3));
}

TEST_F(ListStoreTest, LastUsedFolderAndFileTypes) {
    host.folders = {"c:", "c:\\old", "c:\\mid"};
    for (const char* p : {"C:\\old\\a.txt", "C:\\mid\\b.txt", "C:\\gone\\c.txt"})
        Record(p);
    ListStore s = Store();
    char buf[261];
    EXPECT_TRUE(s.LastUsedFolder("Notepad", buf, sizeof buf));
    EXPECT_STREQ(buf, "C:\\mid");
    Record("C:\\x.txt");
    EXPECT_TRUE(s.LastUsedFolder("Notepad", buf, sizeof buf));
    EXPECT_STREQ(buf, "C:\\");
    host.folders.clear();
    EXPECT_FALSE(s.LastUsedFolder("Notepad", buf, sizeof buf));
    EXPECT_STREQ(buf, "");

    // Only a full ring is walked past position 1 to position 100.
    AppLists* slot = s.FindSlot("Notepad");
    host.folders = {"c:\\far"};
    SetListEntry(slot->entries[kRecentPaths], 99, "C:\\far\\");
    EXPECT_FALSE(s.LastUsedFolder("Notepad", buf, sizeof buf));
    SetListEntry(slot->entries[kRecentPaths], 100, "C:\\none\\");
    EXPECT_TRUE(s.LastUsedFolder("Notepad", buf, sizeof buf));
    EXPECT_STREQ(buf, "C:\\far");

    s.SaveLastFileType("Notepad", "", "All (*.*)");
    s.SaveLastFileType("Notepad", "Save\r\n[x]=y", "Text\n(*.txt)");
    s.SaveLastFileType("Notepad", "Print", "");
    EXPECT_EQ(app.KeyOrder("Last File Types"),
              (std::vector<std::string>{"Default", "Save  (x)-y"}));
    EXPECT_TRUE(s.LoadLastFileType("Notepad", "Save\r\n[x]=y", buf, sizeof buf));
    EXPECT_STREQ(buf, "Text (*.txt)");
    EXPECT_TRUE(s.LoadLastFileType("Notepad", "   ", buf, sizeof buf));
    EXPECT_STREQ(buf, "All (*.*)");
    EXPECT_FALSE(s.LoadLastFileType("Notepad", "Print", buf, sizeof buf));
}

} // namespace
} // namespace vn

namespace vn {
namespace {

DialogRecording MakeRecording(uint32_t flags, const char* path = "C:\\Docs\\a.txt") {
    DialogRecording r = {};
    r.magic = kRecordingMagic;
    r.flags = flags;
    snprintf(r.module, sizeof r.module, "Notepad");
    snprintf(r.title, sizeof r.title, "Open");
    snprintf(r.fileType, sizeof r.fileType, "Text (*.txt)");
    snprintf(r.path, sizeof r.path, "%s", path);
    return r;
}

// A recording handed to another process is applied there like the dialog's own close, and the
// application's lists it needed for that are let go again.
TEST_F(ListStoreTest, ARecordingIsAppliedWhereverItIsWritten) {
    Process manager{&host, all.get()};
    ListStore s = manager.Store();
    EXPECT_TRUE(s.ApplyRecording(MakeRecording(kRecordFileType | kRecordChosen | kRecordFavorite)));
    EXPECT_EQ(app.Get("Notepad Recent Files", "Entry1"), "C:\\Docs\\a.txt");
    EXPECT_EQ(app.Get("Notepad Favorite Files", "Entry1"), "C:\\Docs\\a.txt");
    EXPECT_EQ(app.Get("Last File Types", "Open"), "Text (*.txt)");
    EXPECT_EQ(allFile.Get("All Files", "Entry1"), "C:\\Docs\\a.txt");
    EXPECT_EQ(manager.cache.count, 0);
    // Options travel with the recording; a cancelled dialog records its file type only.
    host.drives['R'] = 2; // removable
    EXPECT_TRUE(s.ApplyRecording(MakeRecording(kRecordChosen | kSkipRemovable, "R:\\x.txt")));
    EXPECT_TRUE(s.ApplyRecording(MakeRecording(kRecordFileType, "C:\\Docs\\b.txt")));
    EXPECT_EQ(app.Get("Notepad Recent Files", "Last"), "1");
    // A mask cannot be a favourite with its folder: refused, yet the rest is recorded.
    EXPECT_FALSE(s.ApplyRecording(MakeRecording(kRecordChosen | kRecordFavorite, "C:\\D\\*.log")));
}

TEST(DialogRecordingTest, OnlyWholeRecordingsOfThisVersionAreAccepted) {
    DialogRecording good = MakeRecording(kRecordChosen);
    struct Case {
        const char* what;
        void (*spoil)(DialogRecording&);
        bool valid;
    } cases[] = {
        {"as made", [](DialogRecording&) {}, true},
        {"other magic", [](DialogRecording& r) { r.magic = 1; }, false},
        {"unknown flag", [](DialogRecording& r) { r.flags |= 64; }, false},
        {"no module", [](DialogRecording& r) { r.module[0] = 0; }, false},
        {"module without end", [](DialogRecording& r) { memset(r.module, 'm', sizeof r.module); },
         false},
        {"path without end", [](DialogRecording& r) { memset(r.path, 'p', sizeof r.path); }, false},
        {"title without end", [](DialogRecording& r) { memset(r.title, 't', sizeof r.title); },
         false},
    };
    for (const Case& c : cases) {
        DialogRecording r = good;
        c.spoil(r);
        EXPECT_EQ(IsValidRecording(&r, sizeof r), c.valid) << c.what;
    }
    EXPECT_FALSE(IsValidRecording(&good, sizeof good - 1));
    EXPECT_FALSE(IsValidRecording(nullptr, sizeof good));
}

} // namespace
} // namespace vn
