#include "hook/core/settings.h"
#include "tests/common/memory_ini.h"
#include "hook/core/shared_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace vn {
namespace {

// Every write of the settings code goes to section "Vantor 3".
class FakeIni : public vntest::MemoryIni {
  public:
    bool WriteString(const char* section, const char* key, const char* value) override {
        EXPECT_STREQ(section, kSettingsSection);
        return MemoryIni::WriteString(section, key, value);
    }
};

class FakeSerial : public SerialQuery {
  public:
    bool QuerySerial(const char*, uint32_t* serial) override {
        *serial = value;
        return answers;
    }
    bool answers = true;
    uint32_t value = 0;
};

std::unique_ptr<SharedState> NewShared() {
    auto s = std::make_unique<SharedState>();
    InitSharedState(*s);
    return s;
}

std::string Entry(const ExcludeList& list, int i) {
    return std::string(list.entries[i], strnlen(list.entries[i], kExcludeEntrySize));
}

void Push(ExcludeList& list, const char* text) {
    snprintf(list.entries[list.count++], kExcludeEntrySize, "%s", text);
}

ManagerSettings Defaults(int width = 1024, int height = 768) {
    ManagerSettings m;
    SetManagerDefaults(m, width, height);
    return m;
}

TEST(SettingsKeys, EveryKeyedFieldHasOneRowAndFixedWordsAreSet) {
    std::set<size_t> unkeyed = {
        offsetof(HookSettings, settingsSerial),   offsetof(HookSettings, columnWidthsKnown),
        offsetof(HookSettings, settingsLoaded),   offsetof(HookSettings, restoreLastFileType),
        offsetof(HookSettings, trainingAlwaysOn), offsetof(HookSettings, buttonRowAlwaysOn),
        offsetof(HookSettings, infoLineAlwaysOn), offsetof(HookSettings, showListEditEntries),
        offsetof(HookSettings, reserved)};
    std::multiset<size_t> rows;
    for (int i = 0; i < kSettingKeyCount; ++i)
        if (kSettingKeys[i].flags & kKeyLibrary)
            rows.insert(kSettingKeys[i].offset);
    for (size_t off = 0; off < sizeof(HookSettings); off += 4)
        EXPECT_EQ(rows.count(off), unkeyed.count(off) ? 0u : 1u) << "offset " << off;

    HookSettings h;
    memset(&h, 0x5a, sizeof h);
    SetLibraryDefaults(h);
    EXPECT_EQ(h.recentShown, 25);
    EXPECT_EQ(h.disableKeyNoPrompt, 3);
    EXPECT_EQ(h.restoreLastFileType, 0);
    EXPECT_EQ(h.trainingAlwaysOn + h.buttonRowAlwaysOn + h.infoLineAlwaysOn, 3);
    EXPECT_EQ(h.settingsSerial + h.settingsLoaded + h.columnWidthsKnown + h.showListEditEntries,
              0u);
}

TEST(SettingsKeys, ManagerDefaultsFollowTheScreenSize) {
    EXPECT_EQ(Defaults(800, 1024).values.height32, 55); // 716 > 570: 57000 / 1024
    EXPECT_EQ(Defaults(800, 1024).values.width32, 70);
    EXPECT_EQ(Defaults(1024, 768).values.height32, 70); // 537 is not more than 570
    EXPECT_EQ(Defaults(1024, 768).values.width32, 69);  // 716 > 710: 71000 / 1024
    EXPECT_EQ(Defaults(0, -5).values.height32, 70);
}

// A fresh installation runs on the library defaults until the manager has written its own.
TEST(SettingsLibraryRead, FreshInstallThenManagerWrite) {
    auto s = NewShared();
    FakeIni ini;
    FakeSerial serial;
    ReadLibrarySettings(*s, ini, &serial, "notepad");
    EXPECT_EQ(s->settings.useLastSize, 1);
    EXPECT_EQ(s->settings.recentShown, 25);

    ManagerSettings m = Defaults();
    ReadManagerSettings(m, ini, nullptr);
    WriteManagerSettings(m, ini);
    serial.value = 8;
    ReadLibrarySettings(*s, ini, &serial, "notepad");
    EXPECT_EQ(s->settings.useLastSize, 0);
    EXPECT_EQ(s->settings.recentShown, 100);
    EXPECT_EQ(s->settings.width32, 69);
}

TEST(SettingsLibraryRead, MissingKeyKeepsTheCurrentValue) {
    auto s = NewShared();
    FakeIni ini;
    s->settings.recentShown = 42; // what an earlier read found
    ini.Set(kSettingsSection, "Recent Visible", "7");
    ini.Set(kSettingsSection, "Sort By", "abc");
    ini.Set(kSettingsSection, "Sort Order", "-1x");
    ini.Set(kSettingsSection, "Height32", "");
    ini.Set("Other", "Width32", "12");
    ini.Set(kSettingsSection, kKeyColWidth[1], "80");
    ReadLibrarySettings(*s, ini, nullptr, "app");
    EXPECT_EQ(s->settings.recentShown, 42);
    EXPECT_EQ(s->settings.recentVisible, 7);
    EXPECT_EQ(s->settings.sortBy, 0);
    EXPECT_EQ(s->settings.sortOrder, 0); // -1 is no sort order: the default
    EXPECT_EQ(s->settings.height32, 70);
    EXPECT_EQ(s->settings.width32, 70);
    EXPECT_EQ(s->settings.colWidth[1], 80);
    EXPECT_EQ(s->settings.columnWidthsKnown, 0u); // only "ColWidth0" tells
    EXPECT_TRUE(ini.written.empty());

    ini.Set(kSettingsSection, kKeyColWidth[0], "120");
    s->settings.settingsLoaded = 0;
    ReadLibrarySettings(*s, ini, nullptr, "app");
    EXPECT_EQ(s->settings.columnWidthsKnown, 1u);
}

TEST(SettingsLibraryRead, ButtonRowOffWithoutFileButtons) {
    FakeIni ini;
    ini.Set(kSettingsSection, "Add Vn Buttons", "1");
    for (const char* key :
         {"Add Clip Button", "Add Copy Button", "Add Move Button", "Add Rename Button",
          "Add Find Button", "Add MkDir Button", "Add Delete Button"})
        ini.Set(kSettingsSection, key, "0");
    auto s = NewShared();
    ReadLibrarySettings(*s, ini, nullptr, "app");
    EXPECT_EQ(s->settings.addVnButtons, 0);
    EXPECT_EQ(s->settings.addVantorButton, 1); // not one of the seven

    ini.Set(kSettingsSection, "Add Delete Button", "1");
    s = NewShared();
    ReadLibrarySettings(*s, ini, nullptr, "app");
    EXPECT_EQ(s->settings.addVnButtons, 1);
}

TEST(SettingsLibraryRead, OnlyANewSerialReadsAgain) {
    auto s = NewShared();
    FakeIni ini;
    FakeSerial serial;
    serial.value = 100;
    ini.Set(kSettingsSection, "Recent Shown", "30");
    ReadLibrarySettings(*s, ini, &serial, "app");
    ini.Set(kSettingsSection, "Recent Shown", "40");
    ReadLibrarySettings(*s, ini, &serial, "app"); // same serial
    EXPECT_EQ(s->settings.recentShown, 30);
    serial.answers = false;
    serial.value = 101;
    ReadLibrarySettings(*s, ini, &serial, "app"); // no answer
    ReadLibrarySettings(*s, ini, nullptr, "app"); // no manager
    EXPECT_EQ(s->settings.recentShown, 30);
    EXPECT_EQ(s->settings.settingsSerial, 100u);
    serial.answers = true;
    ReadLibrarySettings(*s, ini, &serial, "app"); // new serial
    EXPECT_EQ(s->settings.recentShown, 40);
    EXPECT_EQ(s->settings.settingsSerial, 101u);
}

TEST(ExcludeLists, CountsClampEntriesCutAndWriteOrder) {
    auto s = NewShared();
    FakeIni ini;
    ini.Set(kSettingsSection, "NumExcludes", "250");
    for (int i = 1; i <= 101; ++i)
        ini.Set(kSettingsSection, "Exclude" + std::to_string(i), "mod" + std::to_string(i));
    ini.Set(kSettingsSection, "Exclude2", std::string(200, 'x'));
    ini.Set(kSettingsSection, "NumSizeExcludes", "-3");
    ini.Set(kSettingsSection, "SizeExclude1", "never");
    ini.Set(kSettingsSection, "NumLastDirExcludes", "1");
    ini.Set(kSettingsSection, "LastDirExclude1", "word : Open");
    ReadLibrarySettings(*s, ini, nullptr, "app");
    EXPECT_EQ(s->excludes.count, 100);
    EXPECT_EQ(Entry(s->excludes, 1), std::string(95, 'x'));
    EXPECT_EQ(Entry(s->excludes, 99), "mod100");
    EXPECT_EQ(s->sizeExcludes.count, 0);
    EXPECT_EQ(Entry(s->lastDirExcludes, 0), "word : Open");

    // A change reads its list again: the copy in memory (stale, hostile) does not matter, the
    // file's entry comes back cut, and the new entry is written before the count that covers it.
    FakeIni out;
    out.Set(kSettingsSection, "NumLastDirExcludes", "1");
    out.Set(kSettingsSection, "LastDirExclude1", std::string(200, 'z'));
    memset(s->lastDirExcludes.entries[0], 'q', kExcludeEntrySize); // no terminator
    s->lastDirExcludes.count = -9;
    EXPECT_TRUE(AddExclude(*s, kExcludeLastFolder, "word", "Open", out));
    std::vector<std::string> order = {"LastDirExclude2", "NumLastDirExcludes"};
    EXPECT_EQ(out.written, order);
    EXPECT_EQ(out.Get(kSettingsSection, "NumLastDirExcludes"), "2");
    EXPECT_EQ(s->lastDirExcludes.count, 2);
    EXPECT_EQ(Entry(s->lastDirExcludes, 0), std::string(95, 'z'));
    EXPECT_EQ(Entry(s->lastDirExcludes, 1), "word : Open");
}

TEST(ExcludeMatch, ModuleOverEightCharactersWithCaseTitleWithout) {
    ExcludeList list{};
    Push(list, "notepad");  // 7 characters
    Push(list, "photosho"); // 8 characters
    Push(list, "winword : Save As");
    EXPECT_TRUE(MatchExclude(list, "notepad", nullptr));
    EXPECT_FALSE(MatchExclude(list, "notepad2", nullptr));
    EXPECT_FALSE(MatchExclude(list, "Notepad", nullptr));
    EXPECT_TRUE(MatchExclude(list, "photoshop", "Open")); // untitled entry: every dialog
    EXPECT_FALSE(MatchExclude(list, nullptr, nullptr));
    EXPECT_TRUE(MatchExclude(list, "winword", "SAVE as"));
    EXPECT_FALSE(MatchExclude(list, "WINWORD", "Save As"));
    EXPECT_FALSE(MatchExclude(list, "winword", "Save As Copy"));
    EXPECT_FALSE(MatchExclude(list, "winword", nullptr)); // titled entries need a title
    EXPECT_EQ(Entry(list, 2), "winword : Save As");

    std::string title(80, 't'); // titles compare over 80 characters
    Push(list, ("app : " + title).c_str());
    EXPECT_TRUE(MatchExclude(list, "app", (title + "tail").c_str()));
    EXPECT_FALSE(MatchExclude(list, "app", title.substr(0, 79).c_str()));
}

TEST(ExcludeMatch, HostileSharedMemoryIsReadWithinBounds) {
    // Exactly the size of a list, so a read past its end is caught. No entry is terminated; the
    // last one has its title at its very end.
    auto list = std::make_unique<ExcludeList>();
    memset(list->entries, 'q', sizeof list->entries);
    std::string last = "abcdefgh" + std::string(72, 'x') + " : " + std::string(13, 'q');
    memcpy(list->entries[kMaxExcludes - 1], last.data(), kExcludeEntrySize);
    list->count = 1000000;
    EXPECT_TRUE(MatchExclude(*list, "qqqqqqqq", nullptr));
    EXPECT_TRUE(MatchExclude(*list, "abcdefgh", std::string(13, 'Q').c_str()));
    EXPECT_FALSE(MatchExclude(*list, "abcdefgh", std::string(20, 'q').c_str()));
    list->count = INT32_MIN;
    EXPECT_FALSE(MatchExclude(*list, "qqqqqqqq", nullptr));
}

TEST(ExcludeAdd, StoresEightCharactersOrTitleAndWritesOnlyItsList) {
    auto s = NewShared();
    FakeIni ini;
    Push(s->sizeExcludes, "other"); // in memory only: the file is the truth
    EXPECT_TRUE(AddExclude(*s, kExcludeFileManagement, "longmodule12", nullptr, ini));
    EXPECT_EQ(Entry(s->excludes, 0), "longmodu");
    std::vector<std::string> order = {"Exclude1", "NumExcludes"};
    EXPECT_EQ(ini.written, order);
    EXPECT_EQ(ini.Get(kSettingsSection, "NumExcludes"), "1");
    EXPECT_EQ(Entry(s->sizeExcludes, 0), "other"); // another list, not touched

    std::string title(120, 'T');
    EXPECT_TRUE(AddExclude(*s, kExcludeLastFolder, "app", title.c_str(), ini));
    EXPECT_EQ(Entry(s->lastDirExcludes, 0), "app : " + title.substr(0, 80));
    EXPECT_TRUE(AddExclude(*s, kExcludeLastFolder, "app", "Open", ini));
    // An untitled dialog can only be told by its module ("x : " would lose its blank on disk).
    EXPECT_TRUE(AddExclude(*s, kExcludeSizing, "app", "", ini));
    EXPECT_EQ(s->sizeExcludes.count, 1);
    EXPECT_EQ(Entry(s->sizeExcludes, 0), "app");
    EXPECT_EQ(ini.Get(kSettingsSection, "SizeExclude1"), "app");
}

TEST(ExcludeAdd, RefusedAddsWriteNothing) {
    auto s = NewShared();
    FakeIni ini;
    EXPECT_FALSE(AddExclude(*s, kExcludeSizing, "", nullptr, ini));
    EXPECT_FALSE(AddExclude(*s, static_cast<ExcludeKind>(7), "app", nullptr, ini));
    ini.Set(kSettingsSection, "NumSizeExcludes", "1");
    ini.Set(kSettingsSection, "SizeExclude1", "app");
    EXPECT_FALSE(AddExclude(*s, kExcludeSizing, "app", "Open", ini)); // already matches
    EXPECT_EQ(Entry(s->sizeExcludes, 0), "app");                      // the copy learns the file
    ini.Set(kSettingsSection, "NumExcludes", "100");
    EXPECT_FALSE(AddExclude(*s, kExcludeFileManagement, "newapp", nullptr, ini));
    ini.Set(kSettingsSection, "NumExcludes", "5000"); // a hostile count reads as a full list
    EXPECT_FALSE(AddExclude(*s, kExcludeFileManagement, "newapp", nullptr, ini));
    EXPECT_TRUE(ini.written.empty());

    EXPECT_TRUE(WriteIntKey(ini, kKeyLastLeft, static_cast<uint32_t>(-1)));
    EXPECT_EQ(ini.Get(kSettingsSection, "LastLeft"), "4294967295");
}

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> parts;
    for (size_t at = 0; at < text.size();) {
        size_t end = std::min(text.find('|', at), text.size());
        parts.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return parts;
}

// The rule every change of an exclusion list follows: the list as the file holds it, the change
// applied, only what changed written back and the count last. Lists and keys are "|"-joined; a
// file is "COUNT;ENTRIES" of the case's list ("" for none); writes beyond `writable` fail.
TEST(ExcludeChangeRule, ReadChangeWriteBack) {
    struct Case {
        const char* name;
        const char* file;
        int kind;
        bool remove;
        const char* change;
        const char* after; // the list as the file now holds it
        int changed;
        const char* written;
        int writable = 1000;
    } cases[] = {
        {"fresh file", "", 0, false, "app", "app", 1, "Exclude1|NumExcludes"},
        {"after the file's", "2;a|b : T", 0, false, "c", "a|b : T|c", 1, "Exclude3|NumExcludes"},
        {"keys past the count", "1;a|old", 0, false, "b", "a|b", 1, "Exclude2|NumExcludes"},
        {"untitled covers titled", "1;app", 0, false, "app : Open", "app", 0, ""},
        {"titles ignore case", "1;app : Open", 0, false, "app : OPEN", "app : Open", 0, ""},
        {"modules: 8 characters with case", "1;longmodu", 0, false, "longmodule|Longmodu",
         "longmodu|Longmodu", 1, "Exclude2|NumExcludes"},
        {"other title, module alone", "1;app : Open", 0, false, "app : Save|app",
         "app : Open|app : Save|app", 2, "Exclude2|Exclude3|NumExcludes"},
        {"twice in one change", "", 0, false, "x|x", "x", 1, "Exclude1|NumExcludes"},
        {"no module: the missing count", "", 0, false, " : Open", "", 0, "NumExcludes"},
        {"negative count", "-3;old", 0, false, "new", "new", 1, "Exclude1|NumExcludes"},
        {"remove every copy", "4;a|b|a|c", 0, true, "a", "b|c", 2, "Exclude1|Exclude2|NumExcludes"},
        {"remove the last", "2;a|b", 0, true, "b", "a", 1, "NumExcludes"},
        {"remove: whole text, case", "1;app : Open", 0, true, "app : OPEN|app", "app : Open", 0,
         ""},
        {"remove from no list", "", 0, true, "x", "", 0, "NumExcludes"},
        {"size list", "1;a", 1, false, "b", "a|b", 1, "SizeExclude2|NumSizeExcludes"},
        {"last-folder list", "1;a", 2, true, "a", "", 1, "NumLastDirExcludes"},
        {"not a kind", "1;a", 3, false, "b", "", 0, ""},
        {"entry not written", "1;a", 0, false, "b", "a", 0, "", 0},
        {"count not written", "1;a", 0, false, "b", "a", 0, "Exclude2", 1},
    };
    const char* counts[3] = {"NumExcludes", "NumSizeExcludes", "NumLastDirExcludes"};
    const char* prefixes[3] = {"Exclude", "SizeExclude", "LastDirExclude"};
    class LimitedIni : public FakeIni {
      public:
        bool WriteString(const char* section, const char* key, const char* value) override {
            return writable-- > 0 && FakeIni::WriteString(section, key, value);
        }
        int writable = 0;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LimitedIni ini;
        ini.writable = c.writable;
        std::string file = c.file;
        if (!file.empty()) {
            size_t semicolon = file.find(';');
            ini.Set(kSettingsSection, counts[c.kind % 3], file.substr(0, semicolon));
            std::vector<std::string> entries = Split(file.substr(semicolon + 1));
            for (size_t i = 0; i < entries.size(); ++i)
                ini.Set(kSettingsSection, prefixes[c.kind % 3] + std::to_string(i + 1), entries[i]);
        }
        std::vector<std::string> change = Split(c.change);
        std::vector<const char*> texts;
        for (const std::string& e : change)
            texts.push_back(e.c_str());
        auto list = std::make_unique<ExcludeList>();
        memset(list.get(), 'g', sizeof *list); // whatever the caller's memory held
        EXPECT_EQ(ChangeExcludeList(ini, static_cast<ExcludeKind>(c.kind),
                                    {c.remove, texts.data(), static_cast<int>(texts.size())},
                                    *list),
                  c.changed);
        std::vector<std::string> after;
        for (int i = 0; i < list->count; ++i)
            after.push_back(Entry(*list, i));
        EXPECT_EQ(after, Split(c.after));
        EXPECT_EQ(ini.written, Split(c.written));
        if (ini.Wrote(counts[c.kind % 3])) {
            EXPECT_EQ(ini.Get(kSettingsSection, counts[c.kind % 3]), std::to_string(after.size()));
        }
    }
}

TEST(ManagerSettingsIo, WritesOnlyItsKeysAndRoundTrips) {
    ManagerSettings out = Defaults();
    int32_t n = 3;
    // Distinct values where the key's range allows them: a value out of range is not kept.
    for (int i = 0; i < kSettingKeyCount; ++i) {
        if (kSettingKeys[i].flags & kKeyManager) {
            int32_t v = BringIntoRange(kSettingKeys[i], n++, kSettingKeys[i].managerDefault);
            memcpy(reinterpret_cast<char*>(&out) + kSettingKeys[i].offset, &v, 4);
        }
    }
    Push(out.lastDirExcludes, "a : b"); // a copy that the file no longer agrees with
    FakeIni ini;
    ini.Set(kSettingsSection, "NumLastDirExcludes", "1");
    ini.Set(kSettingsSection, "LastDirExclude1", "x : y");
    WriteManagerSettings(out, ini);
    for (const char* key : {"ColWidth0", "ColWidth6", "LastLeft", "LastHeight", "Ignore Modules",
                            "Close Delay", "Show Usage Note", "NumExcludes", "NumSizeExcludes",
                            "NumLastDirExcludes", "LastDirExclude1"})
        EXPECT_FALSE(ini.Wrote(key)) << key;
    ASSERT_GE(ini.written.size(), 3u);
    EXPECT_EQ(ini.written.back(), "Trained Enabled");

    ManagerSettings in = Defaults();
    ReadManagerSettings(in, ini, nullptr);
    EXPECT_EQ(memcmp(&in.values, &out.values, sizeof in.values), 0);
    EXPECT_EQ(in.showIcon, out.showIcon);
    EXPECT_EQ(in.trainedEnabled, out.trainedEnabled);
    EXPECT_EQ(Entry(in.lastDirExcludes, 0), "x : y"); // the file's list, not the copy's

    FakeIni empty; // a missing file gives the defaults; a bad count clamps
    empty.Set(kSettingsSection, "NumSizeExcludes", "999");
    ReadManagerSettings(in = Defaults(), empty, nullptr);
    EXPECT_EQ(in.values.recentShown, 100);
    EXPECT_EQ(in.sizeExcludes.count, 100);
    EXPECT_TRUE(empty.written.empty());
}

class KestraImport : public ::testing::Test {
  protected:
    ManagerSettings Read() {
        ManagerSettings m = Defaults();
        ReadManagerSettings(m, ini, &kestra);
        return m;
    }
    void Old(const char* key, const char* value) { kestra.Set(kKestraSection, key, value); }
    FakeIni ini, kestra;
};

TEST_F(KestraImport, DisableKeyAndPathOptionFromTheirBooleans) {
    Old("Height32", "60");
    Old("Shift Disables", "1");
    Old("Control Disables", "1");
    EXPECT_EQ(Read().values.disableKey, 2);
    EXPECT_EQ(Read().values.recentPathOption, 1);
    Old("Shift Disables", "0");
    Old("No Path", "1");
    EXPECT_EQ(Read().values.disableKey, 1);
    EXPECT_EQ(Read().values.recentPathOption, 0);
    Old("Control Disables", "0");
    Old("Relative Path", "1");
    EXPECT_EQ(Read().values.disableKey, 0);
    EXPECT_EQ(Read().values.recentPathOption, 2);
}

TEST_F(KestraImport, ButtonsKeepDefaultsOtherKeysAndListsImported) {
    Old("Height32", "60");
    Old("Recent Shown", "33");
    Old("Add Copy Button", "0");
    Old("Add Vantor Button", "0");
    Old("Trained Enabled", "0");
    Old("NumExcludes", "1");
    Old("Exclude1", "oldapp");
    ManagerSettings m = Defaults();
    EXPECT_TRUE(ReadManagerSettings(m, ini, &kestra)); // the lists are still to be added
    EXPECT_EQ(m.values.recentShown, 33);
    EXPECT_EQ(m.values.addCopyButton + m.values.addVantorButton, 2);
    EXPECT_EQ(m.trainedEnabled, 0);
    EXPECT_EQ(Entry(m.excludes, 0), "oldapp");
    EXPECT_TRUE(kestra.written.empty());

    ini.Set(kSettingsSection, "Height32", "50"); // the file of our own: no import
    EXPECT_FALSE(ReadManagerSettings(m = Defaults(), ini, &kestra));
    EXPECT_EQ(Read().values.recentShown, 100);
    EXPECT_EQ(Read().values.disableKey, 2);
}

class FakeFolders : public FolderSource {
  public:
    bool OpenKey() override { return keyExists; }
    bool QueryValue(const char* name, char* buf, size_t size) override {
        auto v = values.find(name);
        if (v == values.end())
            return false;
        if (v->second == "<unterminated>")
            memset(buf, 'u', size);
        else
            snprintf(buf, size, "%s", v->second.c_str());
        return true;
    }
    void CloseKey() override { ++closes; }
    bool IsDirectory(const char* path) override {
        tested = path;
        return folders.count(path) != 0;
    }
    void CurrentDirectory(char* buf, size_t size) override { snprintf(buf, size, "C:\\Cur"); }

    bool keyExists = true;
    int closes = 0;
    std::map<std::string, std::string> values;
    std::set<std::string> folders = {"C:\\Prog", "D:\\Data", std::string(259, 'u')};
    std::string tested;
};

TEST(RegistryFolders, ValuesThatNameNoFolderGiveTheCurrentDirectory) {
    struct Case {
        bool keyExists;
        std::map<std::string, std::string> values;
        int result;
        const char* program;
        const char* data;
    } cases[] = {
        {false, {{"Program Path", "C:\\Prog"}}, 0, "C:\\Cur", "C:\\Cur"},
        {true,
         {{"Program Path", "C:\\Prog"}, {"Data Path", "D:\\Data\\"}},
         1,
         "C:\\Prog",
         "D:\\Data\\"},
        {true, {{"Data Path", "D:\\Data"}}, 0, "C:\\Cur", "D:\\Data"},
        {true, {{"Program Path", "E:\\Gone"}, {"Data Path", "D:\\Data"}}, 0, "C:\\Cur", "D:\\Data"},
        {true, {{"Program Path", ""}, {"Data Path", "\\"}}, 0, "C:\\Cur", "C:\\Cur"},
    };
    for (const Case& c : cases) {
        FakeFolders f;
        f.keyExists = c.keyExists;
        f.values = c.values;
        char program[kPathSize] = "junk", data[kPathSize] = "junk";
        EXPECT_EQ(ReadRegistryFolders(f, program, data, sizeof program), c.result);
        EXPECT_STREQ(program, c.program);
        EXPECT_STREQ(data, c.data);
        EXPECT_EQ(f.closes, c.keyExists ? 1 : 0);
    }
}

TEST(RegistryFolders, OnlyRequestedValuesAndUnterminatedText) {
    FakeFolders f;
    f.values = {{"Program Path", "E:\\Gone"}, {"Data Path", "D:\\Data\\"}};
    char data[kPathSize];
    EXPECT_EQ(ReadRegistryFolders(f, nullptr, data, sizeof data), 1);
    EXPECT_EQ(f.tested, "D:\\Data"); // one trailing backslash dropped for the test

    f.values["Data Path"] = "<unterminated>";
    char small[16];
    EXPECT_EQ(ReadRegistryFolders(f, nullptr, small, sizeof small), 1);
    EXPECT_EQ(f.tested.size(), 259u);
    EXPECT_EQ(strlen(small), 15u);
}

} // namespace
} // namespace vn
