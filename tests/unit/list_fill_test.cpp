#include "hook/lists/list_fill.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vn {
namespace {

class FixedWidth final : public TextMeasure {
  public:
    int Width(const char*, size_t length) override { return static_cast<int>(length); }
};

class ShortCaptions final : public CaptionSource {
  public:
    std::map<int, std::string> texts = {
        {573, " FF"}, {574, " FD"}, {575, " RF"}, {576, " RD"},  {591, "---"},
        {588, " +F"}, {589, " +D"}, {590, " E"},  {592, " +F*"}, {593, " +D*"},
        {578, " LX"}, {594, " E*"}, {599, " ER"}, {600, " ER*"},
    };
    bool Caption(int id, char* buf, size_t size) override {
        return texts.count(id) && snprintf(buf, size, "%s", texts[id].c_str()) >= 0;
    }
};

class FakeRows final : public ListRows {
  public:
    std::vector<std::string> rows;
    int Count() override { return static_cast<int>(rows.size()); }
    bool Row(int i, char* buf, size_t size) override {
        if (rows[i].size() >= size)
            return false;
        snprintf(buf, size, "%s", rows[i].c_str());
        return true;
    }
    void Add(const char* text) override { rows.push_back(text); }
    std::string Joined() const {
        std::string out;
        for (const std::string& row : rows)
            out += (out.empty() ? "" : "|") + row;
        return out;
    }
};

// A list whose positions hold the given texts (position 1 first; "" is an empty position).
struct Stored {
    struct Block {
        ListEntries entries;
    };
    std::unique_ptr<Block> block{new Block()};
    int last = 0;
    Stored(std::vector<const char*> texts, int lastPosition) : last(lastPosition) {
        for (size_t i = 0; i < texts.size(); ++i)
            snprintf(block->entries[i], kListEntrySize, "%s", texts[i]);
    }
    StoredList List() const { return {&block->entries, last}; }
};

const std::string kSep(13, '-'); // "---" padded to a room of 12

EntryForm Form(bool favorite, bool paths, int option = kShowCompletePath,
               const char* base = nullptr, int room = 12) {
    return {favorite, paths, option, base, true, room};
}

TEST(ListFill, RowsOfAFullListInOrder) {
    Stored app({"C:\\a1", "C:\\a2", "C:\\a3", "C:\\a4", "C:\\a5", "C:\\a6"}, 6);
    Stored all({"C:\\b1", "c:\\A5", "C:\\b3", "C:\\A6"}, 4);
    Stored favorites({"C:\\f1", "C:\\*.txt", "", "C:\\f4"}, 0);
    const StoredList noLists = {nullptr, 0};
    struct Row {
        const char* what;
        EntryForm form;
        ListShape shape;
        StoredList app, all;
        std::string expected;
    } rows[] = {
        {"entries only, newest first",
         Form(false, false),
         {false, false, false, 3, true},
         app.List(),
         all.List(),
         "C:\\a6|C:\\a5|C:\\a4"},
        {"everything; repeated entries left out of the all part",
         Form(false, false),
         {true, true, true, 3, true},
         app.List(),
         all.List(),
         " RF| ER|" + kSep + "|C:\\a6|C:\\a5|C:\\a4|=T=| ER*|" + kSep + "|C:\\b3|C:\\b1"},
        {"recent folders",
         Form(false, true),
         {true, false, true, 2, true},
         app.List(),
         all.List(),
         " RD|C:\\a6|C:\\a5|=T=|C:\\b3|C:\\b1"},
        {"favourites in stored order up to the first gap",
         Form(true, false),
         {true, true, false, 100, false},
         favorites.List(),
         noLists,
         " FF| +F| E|" + kSep + "|C:\\f1|C:\\*.txt"},
        {"favourite folders keep repeated entries",
         Form(true, true),
         {false, true, true, 100, false},
         all.List(),
         all.List(),
         " +D| E|" + kSep + "|C:\\b1|c:\\A5|C:\\b3|C:\\A6|=T=| +D*| E*|" + kSep +
             "|C:\\b1|c:\\A5|C:\\b3|C:\\A6"},
        {"no lists in memory",
         Form(false, false),
         {true, true, true, 5, true},
         noLists,
         noLists,
         " RF| ER|" + kSep + "|=T=| ER*|" + kSep},
    };
    ShortCaptions captions;
    FixedWidth measure;
    for (const Row& row : rows) {
        FakeRows control;
        FillDropList(control, row.form, row.shape, row.app, row.all, "=T=", captions, measure);
        EXPECT_EQ(control.Joined(), row.expected) << row.what;
    }
}

TEST(ListFill, RecentRingIsReadBackwardsFromLast) {
    struct Row {
        int last;
        std::string expected;
    } rows[] = {
        {2, "C:\\2|C:\\1|C:\\100"}, {0, ""}, {101, ""}, {-3, ""}, {3, "C:\\3|C:\\2|C:\\1|C:\\100"}};
    std::vector<const char*> texts(100, "");
    texts[0] = "C:\\1", texts[1] = "C:\\2", texts[2] = "C:\\3", texts[99] = "C:\\100";
    FixedWidth measure;
    for (const Row& row : rows) {
        Stored ring(texts, row.last);
        FakeRows control;
        AddEntryRows(control, ring.List(), Form(false, false), 100, false, measure);
        EXPECT_EQ(control.Joined(), row.expected) << row.last;
    }
}

TEST(ListFill, DisplayForms) {
    const char* longPath = "C:\\Program Files\\Common\\Tools\\file.txt";
    struct Row {
        const char* entry;
        EntryForm form;
        const char* shown;
    } rows[] = {
        {"C:\\Work\\Sub\\b.txt", Form(false, false, kShowNameOnly), "b.txt"},
        {"C:\\Work\\Sub\\b.txt", Form(false, false, kShowRelativePath, "C:\\Work"), "Sub\\b.txt"},
        {"C:\\Work\\Sub\\", Form(false, true, kShowNameOnly, nullptr, 40), "C:\\Work\\Sub\\"},
        {longPath, Form(false, false, kShowCompletePath, nullptr, 21), "C:\\...\\Tools\\file.txt"},
        {longPath, Form(false, false, kShowNameOnly, nullptr, 3), "file.txt"},
        {longPath, {false, false, kShowCompletePath, nullptr, false, 21}, longPath}, // list box
        {"C:\\a very long folder\\*.txt", Form(true, false, kShowNameOnly, nullptr, 5),
         "C:\\a very long folder\\*.txt"},
    };
    FixedWidth measure;
    for (const Row& row : rows) {
        char out[kShownEntrySize];
        EntryDisplay(row.entry, row.form, measure, out, sizeof out);
        EXPECT_STREQ(out, row.shown) << row.entry;
    }
}

TEST(ListFill, ChosenRowsFindTheirEntries) {
    const char* longPath = "C:\\Program Files\\Common\\Tools\\file.txt";
    Stored recent({"D:\\old\\a.txt", "", "C:\\Work\\Sub\\b.txt", "C:\\new\\a.txt", longPath}, 4);
    Stored favorites({"C:\\f.txt", "", "C:\\after-gap.txt"}, 0);
    struct Row {
        const char* text;
        EntryForm form;
        const Stored& list;
        const char* found; // null: not found
    } rows[] = {
        {"X:\\not\\stored.txt", Form(false, false), recent, "X:\\not\\stored.txt"},
        {"X:\\folder", Form(false, true, kShowNameOnly), recent, "X:\\folder"},
        {"a.txt", Form(false, false, kShowNameOnly), recent, "D:\\old\\a.txt"}, // lower position
        {"A.TXT", Form(false, false, kShowNameOnly), recent, "D:\\old\\a.txt"},
        {"Sub\\b.txt", Form(false, false, kShowRelativePath, "C:\\Work"), recent,
         "C:\\Work\\Sub\\b.txt"},
        {"C:\\...\\Tools\\file.txt", Form(false, false, kShowCompletePath, nullptr, 21), recent,
         longPath},
        {"after-gap.txt", Form(true, false, kShowNameOnly), favorites, nullptr},
        {" --> EDIT Favorites", Form(true, false), favorites, nullptr},
        {"_x", Form(true, false), favorites, nullptr},
        {"", Form(true, false), favorites, nullptr},
    };
    FixedWidth measure;
    for (const Row& row : rows) {
        char out[kListEntrySize] = "junk";
        bool found =
            FindEntryByRowText(row.text, row.list.List(), row.form, measure, out, sizeof out);
        EXPECT_EQ(found, row.found != nullptr) << row.text;
        EXPECT_STREQ(out, row.found ? row.found : "") << row.text;
    }
}

TEST(ListFill, EntriesWithoutTerminatorsAreCutToAPath) {
    Stored list({}, 1);
    memset(list.block->entries, 'x', sizeof(ListEntries)); // no terminator anywhere
    FakeRows control;
    FixedWidth measure;
    EXPECT_EQ(
        AddEntryRows(control, list.List(), Form(true, true, 1, nullptr, 1000), 2, false, measure),
        2);
    EXPECT_EQ(control.rows[0], std::string(kListEntrySize - 1, 'x'));
}

TEST(ListFill, LinuxPlacesUnderTheirHeaderAndFoundAgain) {
    auto places = std::make_unique<LinuxPlaces>();
    snprintf(places->folders[0], kPathSize, "Z:\\srv");
    snprintf(places->folders[1], kPathSize, "Z:\\home\\u\\Documents");
    places->count = 2;
    ShortCaptions captions;
    FixedWidth measure;
    FakeRows control;
    AddPlaceRows(control, *places, Form(true, true), captions, measure);
    EXPECT_EQ(control.Joined(), " LX|Z:\\srv|Z:\\...\\Documents");
    char out[kPathSize];
    EXPECT_TRUE(FindPlaceByRowText("Z:\\...\\Documents", *places, Form(true, true), measure, out,
                                   sizeof out));
    EXPECT_STREQ(out, "Z:\\home\\u\\Documents");
    EXPECT_FALSE(FindPlaceByRowText(" LX", *places, Form(true, true), measure, out, sizeof out));
    EXPECT_FALSE(
        FindPlaceByRowText("Z:\\other", *places, Form(true, true), measure, out, sizeof out));
}

} // namespace
} // namespace vn
