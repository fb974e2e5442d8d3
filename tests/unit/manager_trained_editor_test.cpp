#include "manager/trained_editor.h"
#include "tests/common/memory_record_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace vn {
namespace {

using Types = std::vector<std::string>;
using vntest::Bytes;

struct TypeList {
    FileTypeSlots slots = {};

    explicit TypeList(const Types& types) {
        for (size_t i = 0; i < types.size(); ++i)
            strcpy(slots[i], types[i].c_str());
    }

    Types Read() const {
        Types out;
        for (int i = 0; i < kFileTypeSlots; ++i)
            if (slots[i][0])
                out.push_back(slots[i]);
        return out;
    }
};

Types Numbered(int n) {
    Types t;
    for (int i = 0; i < n; ++i)
        t.push_back("T" + std::to_string(i) + "|*." + std::to_string(i));
    return t;
}

struct EnableCase {
    const char* what;
    bool addButton, autoOpenClose;
    int types, selection;
    EditorEnables expected;
};

TEST(ManagerTrainedEditor, EnabledControlsFollowTheChoicesAndTheSelectedType) {
    //                    auto   offs   hide   ins    edit   del    up     down
    const EnableCase cases[] = {
        {"replace: no button options",
         false,
         true,
         3,
         -1,
         {false, false, false, false, false, false, false, false}},
        {"button without auto open",
         true,
         false,
         3,
         -1,
         {true, true, false, false, false, false, false, false}},
        {"button with auto open",
         true,
         true,
         0,
         -1,
         {true, true, true, false, false, false, false, false}},
        {"first of three",
         false,
         false,
         3,
         0,
         {false, false, false, true, true, true, false, true}},
        {"middle of three",
         false,
         false,
         3,
         1,
         {false, false, false, true, true, true, true, true}},
        {"last filled type",
         false,
         false,
         3,
         2,
         {false, false, false, true, true, true, true, false}},
        {"40th slot", false, false, 40, 39, {false, false, false, true, true, true, true, false}},
        {"selection on an empty slot",
         false,
         false,
         2,
         5,
         {false, false, false, false, false, false, false, false}},
    };
    for (const EnableCase& c : cases) {
        TypeList list(Numbered(c.types));
        EditorEnables e = ComputeEnables(c.addButton, c.autoOpenClose, list.slots, c.selection);
        EXPECT_EQ(memcmp(&e, &c.expected, sizeof e), 0) << c.what;
    }
}

struct CommandCase {
    const char* what;
    TypeCommand command;
    Types before;
    int selection;
    TypeCommandStart start;
    Types after;
    int selectionAfter;
};

TEST(ManagerTrainedEditor, TypeCommandsMoveTypesAndSelection) {
    using C = TypeCommand;
    using S = TypeCommandStart;
    const Types abc = {"A|a", "B|b", "C|c"};
    const CommandCase cases[] = {
        {"add goes to the end, selection kept",
         C::kAdd,
         abc,
         0,
         S::kGo,
         {"A|a", "B|b", "C|c", "N|n"},
         0},
        {"add without selection", C::kAdd, {}, -1, S::kGo, {"N|n"}, -1},
        {"insert takes the selected place",
         C::kInsert,
         abc,
         1,
         S::kGo,
         {"A|a", "N|n", "B|b", "C|c"},
         1},
        {"insert needs a selection", C::kInsert, abc, -1, S::kNothing, abc, -1},
        {"edit replaces in place", C::kEdit, abc, 2, S::kGo, {"A|a", "B|b", "N|n"}, 2},
        {"edit needs a selection", C::kEdit, abc, -1, S::kNothing, abc, -1},
        {"delete moves the rest up", C::kDelete, abc, 0, S::kGo, {"B|b", "C|c"}, 0},
        {"delete of the last keeps the index", C::kDelete, abc, 2, S::kGo, {"A|a", "B|b"}, 2},
        {"delete on an empty slot", C::kDelete, abc, 3, S::kNothing, abc, 3},
        {"up follows the type", C::kMoveUp, abc, 2, S::kGo, {"A|a", "C|c", "B|b"}, 1},
        {"up not for the first", C::kMoveUp, abc, 0, S::kNothing, abc, 0},
        {"down follows the type", C::kMoveDown, abc, 0, S::kGo, {"B|b", "A|a", "C|c"}, 1},
        {"down not for the last filled", C::kMoveDown, abc, 2, S::kNothing, abc, 2},
    };
    for (const CommandCase& c : cases) {
        TypeList list(c.before);
        EXPECT_EQ(StartTypeCommand(c.command, list.slots, c.selection), c.start) << c.what;
        TypeCommandResult r = ApplyTypeCommand(c.command, list.slots, c.selection, "N|n");
        EXPECT_EQ(r.changed, c.start == S::kGo) << c.what;
        EXPECT_EQ(list.Read(), c.after) << c.what;
        EXPECT_EQ(r.selection, c.selectionAfter) << c.what;
    }
}

TEST(ManagerTrainedEditor, FullTypeListRefusesAddAndInsertOnly) {
    TypeList full(Numbered(kFileTypeSlots));
    EXPECT_EQ(StartTypeCommand(TypeCommand::kAdd, full.slots, 3), TypeCommandStart::kListFull);
    EXPECT_EQ(StartTypeCommand(TypeCommand::kInsert, full.slots, 3), TypeCommandStart::kListFull);
    EXPECT_EQ(StartTypeCommand(TypeCommand::kMoveDown, full.slots, 39), TypeCommandStart::kNothing);
    TypeCommandResult r = ApplyTypeCommand(TypeCommand::kDelete, full.slots, 39, nullptr);
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(full.Read(), Numbered(kFileTypeSlots - 1));
    // The freed slot is zero to its end, as records are stored.
    EXPECT_EQ(std::string(full.slots[39], kFileTypeSize), std::string(kFileTypeSize, '\0'));
}

TEST(ManagerTrainedEditor, TypeTextsSplitJoinAndShow) {
    const struct {
        const char* type;
        const char* line;
        const char* description;
        const char* masks;
    } cases[] = {
        {"Text Files|*.txt", "Text Files  (*.txt)", "Text Files", "*.txt"},
        {"All Files (*.*)|*.*", "All Files (*.*)", "All Files (*.*)", "*.*"},
        {"Documents|*.doc;*.dot", "Documents  (*.doc;*.dot)", "Documents", "*.doc;*.dot"},
        {"No bar", "No bar", "No bar", ""},
        {"Two|*.a|*.b", "Two  (*.a|*.b)", "Two", "*.a|*.b"},
    };
    for (const auto& c : cases) {
        char line[200], description[kTypeDescriptionChars + 1], masks[kTypeMasksChars + 1];
        FileTypeLine(c.type, line, sizeof line);
        EXPECT_STREQ(line, c.line) << c.type;
        SplitFileType(c.type, description, sizeof description, masks, sizeof masks);
        EXPECT_STREQ(description, c.description) << c.type;
        EXPECT_STREQ(masks, c.masks) << c.type;
    }
    // The editor's longest parts fill a slot exactly.
    char slot[kFileTypeSize];
    JoinFileType(std::string(60, 'd').c_str(), std::string(45, 'm').c_str(), slot, sizeof slot);
    EXPECT_EQ(std::string(slot), std::string(60, 'd') + "|" + std::string(39, 'm'));
}

TEST(ManagerTrainedEditor, PackingClosesGapsAndEndsTexts) {
    TypeList list({"A|a", "", "B|b"});
    memset(list.slots[5], 'x', kFileTypeSize); // no terminator
    PackFileTypes(list.slots);
    EXPECT_EQ(list.Read(), (Types{"A|a", "B|b", std::string(100, 'x')}));
    EXPECT_EQ(FileTypeCount(list.slots), 3);
}

TEST(ManagerTrainedEditor, OffsetsAreIntegersOfTheStoredRange) {
    const struct {
        const char* text;
        bool ok;
        int16_t value;
    } cases[] = {
        {"0", true, 0},      {"  12 ", true, 12},    {"-7", true, -7},
        {"+5", true, 5},     {"32767", true, 32767}, {"-32768", true, -32768},
        {"32768", false, 0}, {"-32769", false, 0},   {"", false, 0},
        {"  ", false, 0},    {"-", false, 0},        {"1 2", false, 0},
        {"12px", false, 0},  {"0x10", false, 0},     {"99999999999", false, 0},
    };
    for (const auto& c : cases) {
        int16_t v = 1234;
        EXPECT_EQ(ParseOffset(c.text, &v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST(ManagerTrainedEditor, ValuesRoundTripAndStoreOnlyWhatTheDialogEdits) {
    TrainedEntry entry{};
    strcpy(entry.appName, "Editor");
    strcpy(entry.moduleName, "edit");
    strcpy(entry.finalTitle, "Open File");
    strcpy(entry.defaultExt, "txt");
    entry.addButton = 1;
    entry.buttonOffsetX = -4;
    TrainedEditorValues v;
    ValuesFromEntry(entry, v);
    EXPECT_STREQ(v.offsetX, "-4");
    EXPECT_TRUE(v.addButton);

    strcpy(v.appName, "Renamed");
    strcpy(v.defaultExt, "abcdefghijklmnopqrs"); // 19: one over the limit
    v.dialogKind = kTrainedFolder;
    v.addButton = false;
    strcpy(v.offsetY, "9");
    TrainedEntry stored = entry;
    ASSERT_EQ(StoreValues(v, stored), StoreResult::kStored);
    EXPECT_STREQ(stored.appName, "Renamed");
    EXPECT_STREQ(stored.defaultExt, "abcdefghijklmnopqr");
    EXPECT_EQ(stored.dialogKind, kTrainedFolder);
    EXPECT_EQ(stored.addButton, 0);
    EXPECT_EQ(stored.buttonOffsetY, 9);
    EXPECT_STREQ(stored.moduleName, "edit");
    EXPECT_STREQ(stored.finalTitle, "Open File");

    // A bad offset names its field and stores nothing.
    strcpy(v.offsetY, "nine");
    TrainedEntry refused = entry;
    EXPECT_EQ(StoreValues(v, refused), StoreResult::kBadOffsetY);
    EXPECT_EQ(memcmp(&refused, &entry, sizeof entry), 0);
    strcpy(v.offsetX, "");
    EXPECT_EQ(StoreValues(v, refused), StoreResult::kBadOffsetX);
}

TEST(ManagerTrainedEditor, ListLinesSelectionAndDelete) {
    TrainedEntry entries[kMaxTrainedEntries] = {};
    strcpy(entries[0].appName, "Writer");
    strcpy(entries[0].finalTitle, "Open Document");
    memset(entries[1].appName, 'n', sizeof entries[1].appName); // no terminator
    char line[300];
    TrainedListLine(entries[0], line, sizeof line);
    EXPECT_STREQ(line, "Writer : Open Document");
    TrainedListLine(entries[1], line, sizeof line);
    EXPECT_EQ(std::string(line), std::string(79, 'n') + " : ");

    EXPECT_EQ(ClampSelection(5, 3), 2);
    EXPECT_EQ(ClampSelection(0, 0), -1);
    EXPECT_EQ(ClampSelection(-1, 3), -1);
    EXPECT_EQ(ClampSelection(1, 3), 1);

    EXPECT_EQ(DeleteTrainedEntry(entries, 2, 0), 1);
    EXPECT_EQ(entries[0].appName[0], 'n');
    EXPECT_EQ(DeleteTrainedEntry(entries, 1, 1), 1); // beyond the entries
    EXPECT_EQ(DeleteTrainedEntry(entries, 1, 0), 0);
    TrainedEntry zero{};
    EXPECT_EQ(memcmp(&entries[0], &zero, sizeof zero), 0);
}

// Imports into a copy of count entries whose free slots hold a marker, so that any change to
// them shows.
struct ImportCase {
    const char* what;
    int count;
    std::vector<unsigned> lengths; // record lengths of the file; empty vector: an empty file
    bool missing;
    long cutAt; // bytes of the file kept; negative: all
    ImportOutcome outcome;
    int countAfter;
};

Bytes Records(const std::vector<unsigned>& lengths) {
    Bytes all;
    for (unsigned length : lengths) {
        Bytes r(length, 0x5a);
        r[0] = static_cast<unsigned char>(length & 0xff);
        r[1] = static_cast<unsigned char>(length >> 8);
        all.insert(all.end(), r.begin(), r.end());
    }
    return all;
}

TEST(ManagerTrainedEditor, ImportChangesTheCopyOnlyWhenTheWholeFileFits) {
    const unsigned full = kTrainedRecordSize;
    const ImportCase cases[] = {
        {"two records follow the entries", 3, {full, full}, false, -1, ImportOutcome::kImported, 5},
        {"an empty file adds nothing", 3, {}, false, -1, ImportOutcome::kImported, 3},
        {"stops at the limit", 49, {full, full}, false, -1, ImportOutcome::kImported, 50},
        {"a short record", 3, {full, 4000}, false, -1, ImportOutcome::kWrongFormat, 3},
        {"a cut record", 3, {full, full}, false, 6000, ImportOutcome::kWrongFormat, 3},
        {"a full database", 50, {full}, false, -1, ImportOutcome::kDatabaseFull, 50},
        {"a missing file", 3, {full}, true, -1, ImportOutcome::kNotOpened, 3},
    };
    for (const ImportCase& c : cases) {
        vntest::MemoryRecordFile file;
        Bytes content = Records(c.lengths);
        if (c.cutAt >= 0)
            content.resize(static_cast<size_t>(c.cutAt));
        if (!c.missing)
            file.files["t.vnt"] = content;
        auto entries = std::make_unique<TrainedEntry[]>(kMaxTrainedEntries);
        memset(entries.get(), 0x11, sizeof(TrainedEntry) * kMaxTrainedEntries);
        auto before = std::make_unique<TrainedEntry[]>(kMaxTrainedEntries);
        memcpy(before.get(), entries.get(), sizeof(TrainedEntry) * kMaxTrainedEntries);
        int count = c.count;

        EXPECT_EQ(ImportIntoCopy(file, "t.vnt", entries.get(), &count), c.outcome) << c.what;
        EXPECT_EQ(count, c.countAfter) << c.what;
        EXPECT_EQ(file.readOpens, c.outcome == ImportOutcome::kDatabaseFull || c.missing ? 0 : 1)
            << c.what;
        // Slots before the old count and after the new one are untouched; the new ones hold
        // the file's records.
        for (int i = 0; i < kMaxTrainedEntries; ++i) {
            bool taken = i >= c.count && i < count;
            const unsigned char* slot = reinterpret_cast<const unsigned char*>(&entries[i]);
            if (taken) {
                EXPECT_EQ(slot[100], 0x5a) << c.what << " slot " << i;
            } else {
                EXPECT_EQ(memcmp(&entries[i], &before[i], sizeof(TrainedEntry)), 0)
                    << c.what << " slot " << i;
            }
        }
    }
}

} // namespace
} // namespace vn
