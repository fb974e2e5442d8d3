#include "hook/trained/trained_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace vn;

namespace {

constexpr const char* kAll = "All Files (*.*)|*.*";

TrainedEntry Entry(const char* original, const char* match, const char* final = nullptr,
                   bool partial = false) {
    TrainedEntry e = {};
    e.style = 0x94C800C4;
    e.width = 480;
    e.height = 150;
    e.enabled = 1;
    strcpy(e.moduleName, "editor");
    strcpy(e.originalTitle, original);
    strcpy(e.matchTitle, match);
    strcpy(e.finalTitle, final ? final : match);
    e.matchPartial = partial ? 1 : 0;
    return e;
}

// Entries 0 and 1 share creation data and tell their dialogs apart by title; entry 2 is another
// dialog of the same application; entry 3 one made without a creation title; entry 4 a partial
// title beside entry 0.
std::vector<TrainedEntry> Siblings() {
    std::vector<TrainedEntry> v = {Entry("Pick", "Open"), Entry("Pick", "Save As"),
                                   Entry("Pick", "Export"), Entry("", "Untitled Open"),
                                   Entry("Pick", "Open Picture", nullptr, true)};
    v[2].width = 999;
    v[3].width = 777;
    return v;
}

TEST(TrainedRefinement, TheTitleChoosesAmongEntriesWithTheSameCreationData) {
    auto v = Siblings();
    const int n = static_cast<int>(v.size());
    struct Case {
        int current;
        const char* title;
        const char* slotTitle;
        int first; // at the first child
        int start; // when the action starts
        bool handled;
    } cases[] = {
        {0, "Open", "Open", 0, 0, true},        {0, "Save As", "", 1, 1, true},
        {0, "Pick", "Save As", 1, 0, true},     // the slot's title counts only at first
        {0, "Open Picture 3", "", 4, 4, true},  // a partial title
        {0, "Export", "", 0, 0, true},          // other creation data: not a sibling
        {3, "Untitled Open", "", 3, 3, true},   // no creation title: known by its title
        {3, "Something else", "", 3, 3, false}, // ... and not the trained dialog otherwise
        {7, "Open", "", 7, 7, false},           // an index beyond the entries
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(RefineAtFirstChild(v.data(), n, c.current, c.title, c.slotTitle), c.first);
        Refined r = RefineAtStart(v.data(), n, c.current, c.title);
        EXPECT_EQ(r.index, c.start);
        EXPECT_EQ(r.handled, c.handled);
    }
    v[1].enabled = 0;
    EXPECT_FALSE(RefineAtStart(v.data(), n, 0, "Save As").handled);
}

TEST(TrainedRefinement, FieldsWithoutTerminatorsAreReadWithinTheirBounds) {
    auto v = Siblings();
    memset(v[1].matchTitle, 'x', sizeof v[1].matchTitle);
    memset(v[1].originalTitle, 'y', sizeof v[1].originalTitle);
    memset(v[1].moduleName, 'z', sizeof v[1].moduleName);
    EXPECT_EQ(RefineAtFirstChild(v.data(), 5, 0, "Open", ""), 0);
    EXPECT_TRUE(RefineAtStart(v.data(), 5, 0, "Open").handled);
}

TEST(TrainedFileTypes, ItemTextsGiveMasks) {
    struct Case {
        const char* item;
        const char* mask;
    } cases[] = {
        {"Text Documents (*.txt)", "*.txt"},
        {"Word (*.doc, *.rtf)", "*.doc"},
        {"All Files (*.*)", "*.*"},
        {"TXT", "*.TXT"},
        {"DOC file", "*.DOC"},
        {"Text", ""},
        {"Any (*)", "Any (*)"},
        {"Pictures [*.png]", "*.png"},
        {"", ""},
    };
    for (const Case& c : cases) {
        char mask[kFileTypeSize];
        ItemMask(c.item, mask, sizeof mask);
        EXPECT_STREQ(mask, c.mask) << c.item;
    }
}

TEST(TrainedFileTypes, TheListBecomesTypesAndTheDefaultExtension) {
    auto e = std::make_unique<TrainedEntry>();
    const std::string tooLong(120, 'a');
    const char* items[] = {"Text Documents (*.txt)", "Text", "All Files (*.*)", tooLong.c_str()};
    EXPECT_EQ(FileTypesFromItems(*e, items, 4, kAll), 2);
    EXPECT_STREQ(e->fileTypes[0], "Text Documents (*.txt)|*.txt");
    EXPECT_STREQ(e->fileTypes[1], "All Files (*.*)|*.*");
    EXPECT_STREQ(e->fileTypes[2], "");

    struct Case {
        const char* box;
        const char* ext;
    } cases[] = {{"*.log", "log"}, {"*.html", "txt"}, {nullptr, "txt"}, {"name", "txt"}};
    for (const Case& c : cases) {
        memset(e->defaultExt, 0, sizeof e->defaultExt);
        DefaultExtension(*e, c.box);
        EXPECT_STREQ(e->defaultExt, c.ext) << (c.box ? c.box : "(none)");
    }
    // Nothing pointed at: the one type of all files, and no extension from it.
    EXPECT_EQ(FileTypesFromItems(*e, items, 0, kAll), 1);
    memset(e->defaultExt, 0, sizeof e->defaultExt);
    DefaultExtension(*e, nullptr);
    EXPECT_STREQ(e->fileTypes[0], kAll);
    EXPECT_STREQ(e->defaultExt, "");
}

TEST(TrainedStandardDialog, EachKindHasItsTitleFlagsAndCall) {
    struct Case {
        uint16_t kind, addButton, autoOpenClose;
        const char* original;
        const char* title;
        bool fileMustExist, save;
    } cases[] = {
        {kTrainedOpen, 0, 0, "Pick", "Final", true, false},
        {kTrainedOpen, 1, 0, "Pick", "Final", false, false}, // an Add button in view
        {kTrainedOpen, 1, 1, "Pick", "Final", true, false},
        {kTrainedSave, 0, 0, "Open file", "Save As", false, true},
        {kTrainedSave, 0, 0,
         "Datei \xD6"
         "ffnen",
         "Save As", false, true},
        {kTrainedSave, 0, 0, "Pick", "Final", false, true},
        {kTrainedFolder, 0, 0, "Pick", "Select Folder", false, true},
        {77, 0, 0, "Pick", "Final", true, false}, // an unknown kind is an Open dialog
    };
    for (const Case& c : cases) {
        TrainedEntry e = Entry(c.original, "Final");
        e.dialogKind = c.kind;
        e.addButton = c.addButton;
        e.autoOpenClose = c.autoOpenClose;
        KindChoice k = ChooseKind(e, "Select Folder");
        SCOPED_TRACE(c.original);
        EXPECT_STREQ(k.title, c.title);
        EXPECT_EQ((k.flags & kOfnFileMustExist) != 0, c.fileMustExist);
        EXPECT_EQ(k.flags & (kOfnPathMustExist | kOfnLongNames | kOfnHideReadOnly),
                  kOfnPathMustExist | kOfnLongNames | kOfnHideReadOnly);
        EXPECT_EQ(k.save, c.save);
    }
}

TEST(TrainedStandardDialog, TheFilterTakesTypesWithWildcardMasks) {
    auto e = std::make_unique<TrainedEntry>();
    strcpy(e->fileTypes[0], "Text files|*.txt;*.log");
    strcpy(e->fileTypes[1], "Plain|readme");
    strcpy(e->fileTypes[2], "No bar");
    strcpy(e->fileTypes[3], "Any|?.x");
    char out[kFilterSize];
    size_t n = BuildFilter(*e, kAll, out, sizeof out);
    EXPECT_EQ(std::string(out, n), std::string("Text files\0*.txt;*.log\0Any\0?.x\0\0", 32));
    memset(e->fileTypes, 0, sizeof e->fileTypes);
    n = BuildFilter(*e, kAll, out, sizeof out);
    EXPECT_EQ(std::string(out, n), std::string("All Files (*.*)\0*.*\0\0", 21));
    // A filter too small for a pair is still ended.
    n = BuildFilter(*e, kAll, out, 8);
    EXPECT_EQ(n, 1u);
    EXPECT_EQ(out[0], 0);
}

TEST(TrainedStandardDialog, TheFirstNameAndTheNameHandedBack) {
    struct Case {
        uint16_t kind, addButton;
        const char* firstType;
        const char* box;
        const char* initial;
    } cases[] = {
        {kTrainedOpen, 0, "Text|*.txt;*.log", "C:\\x\\a.txt", "*.txt;*.log"},
        {kTrainedOpen, 1, "Text|*.txt", "C:\\x\\a.txt", "a.txt"},
        {kTrainedOpen, 1, "", "D:name.txt", "name.txt"},
        {kTrainedSave, 0, "Text|*.txt", ".txt", "*.txt"},
        {kTrainedSave, 0, "", "*.txt *.log *.ini", "*.txt;*.log;*.ini"},
        {kTrainedFolder, 0, "Text|*.txt", "C:\\x", "(pick)"},
    };
    for (const Case& c : cases) {
        TrainedEntry e = Entry("Pick", "Pick");
        e.dialogKind = c.kind;
        e.addButton = c.addButton;
        strcpy(e.fileTypes[0], c.firstType);
        char out[kChosenNameSize];
        InitialName(e, c.box, "(pick)", out, sizeof out);
        EXPECT_STREQ(out, c.initial) << c.box;
    }
    struct Back {
        uint16_t kind;
        const char* chosen;
        const char* handed;
    } backs[] = {
        {kTrainedOpen, "C:\\x\\readme", "C:\\x\\readme."},
        {kTrainedSave, "C:\\x.y\\a.txt", "C:\\x.y\\a.txt"},
        {kTrainedSave, "C:\\x.y\\a", "C:\\x.y\\a."},
        {kTrainedFolder, "C:\\x\\y\\(pick)", "C:\\x\\y\\"},
        {kTrainedFolder, "noslash", ""},
    };
    for (const Back& b : backs) {
        TrainedEntry e = Entry("Pick", "Pick");
        e.dialogKind = b.kind;
        char name[kChosenNameSize];
        strcpy(name, b.chosen);
        FinishChosenName(e, name, sizeof name);
        EXPECT_STREQ(name, b.handed) << b.chosen;
    }
}

TEST(TrainedWindows, SlotsAreTakenFromTheFirstFreeAndFoundByHandleAndModule) {
    auto table = std::make_unique<TrainedWindowTable>();
    memset(table.get(), 0, sizeof *table);
    for (int i = 0; i < kTrainedWindowSlots; ++i) {
        ASSERT_EQ(AllocTrainedWindow(*table), i);
        table->slots[i].dialog = 0x1000u + static_cast<unsigned>(i);
        snprintf(table->slots[i].entry.moduleName, 256, "App%d", i);
    }
    EXPECT_EQ(AllocTrainedWindow(*table), -1); // the eleventh is left alone
    EXPECT_EQ(FindTrainedWindow(*table, 0x1003), 3);
    EXPECT_EQ(FindTrainedWindow(*table, 0x11003), -1); // whole handles, not their low bits
    EXPECT_EQ(FindTrainedModule(*table, "app7"), 7);
    FreeTrainedWindow(*table, 9);
    FreeTrainedWindow(*table, 8);
    EXPECT_EQ(table->top, 7);
    FreeTrainedWindow(*table, 3);
    EXPECT_EQ(FindTrainedWindow(*table, 0x1003), -1);
    EXPECT_EQ(AllocTrainedWindow(*table), 3);
    FreeTrainedWindow(*table, 99); // out of range: nothing
    EXPECT_EQ(FindTrainedWindow(*table, 0), -1);
}

} // namespace
