#include "hook/lists/list_editing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace vn {
namespace {

// A list box as a vector: removing or inserting a row moves the selection of the rows after it,
// as LB_DELETESTRING and LB_INSERTSTRING do.
class FakeRows final : public EditableRows {
  public:
    explicit FakeRows(std::vector<std::string> rows, std::set<int> selected = {})
        : rows_(std::move(rows)), selected_(std::move(selected)) {}
    int Count() const override { return static_cast<int>(rows_.size()); }
    bool Text(int index, char* out, size_t cap) const override {
        if (index < 0 || index >= Count() || rows_[index].size() >= cap)
            return false;
        strcpy(out, rows_[index].c_str());
        return true;
    }
    void Remove(int index) override {
        rows_.erase(rows_.begin() + index);
        Shift(index, -1);
    }
    void Insert(int index, const char* text) override {
        rows_.insert(rows_.begin() + index, text);
        Shift(index, 1);
    }
    int Selected(int* out, int cap) const override {
        int n = 0;
        for (int i : selected_)
            if (n < cap)
                out[n++] = i;
        return n;
    }
    void Select(int index) override { selected_.insert(index); }

    std::vector<std::string> rows_;
    std::set<int> selected_;

  private:
    void Shift(int from, int by) {
        std::set<int> moved;
        for (int i : selected_)
            if (i < from)
                moved.insert(i);
            else if (!(by < 0 && i == from))
                moved.insert(i + by);
        selected_ = moved;
    }
};

using Rows = std::vector<std::string>;

TEST(ListEditing, RowPositionsInShownOrder) {
    static ListEntries entries;
    memset(entries, 0, sizeof entries);
    for (int p : {1, 2, 3, 5, 99, 100})
        SetListEntry(entries, p, ("e" + std::to_string(p)).c_str());
    struct Case {
        int last;
        bool favorite;
        int cap;
        std::vector<int> positions;
    } cases[] = {
        {0, true, 100, {1, 2, 3}},           // favourites stop at the first hole
        {3, false, 100, {3, 2, 1, 100, 99}}, // newest first, wrapping from 1 to 100
        {5, false, 100, {5}},
        {4, false, 100, {}}, // an empty newest position shows nothing
        {3, false, 2, {3, 2}},
        {0, false, 100, {}},
        {101, false, 100, {}},
        {-7, false, 100, {}},
    };
    for (const Case& c : cases) {
        int got[kListSlots];
        int n = EditorRowPositions(entries, c.last, c.favorite, got, c.cap);
        EXPECT_EQ(std::vector<int>(got, got + n), c.positions) << "last " << c.last;
    }
    // A full ring shows each position once.
    for (int p = 1; p <= kListSlots; ++p)
        SetListEntry(entries, p, "x");
    int got[kListSlots];
    EXPECT_EQ(EditorRowPositions(entries, 40, false, got, kListSlots), kListSlots);
    EXPECT_EQ(got[0], 40);
    EXPECT_EQ(got[kListSlots - 1], 41);
}

TEST(ListEditing, ButtonStates) {
    struct Case {
        int selected, index, rows;
        bool remove, up, down;
    } cases[] = {
        {0, -1, 5, false, false, false}, {1, 0, 5, true, false, true},
        {1, 2, 5, true, true, true},     {1, 4, 5, true, true, false},
        {1, 0, 1, true, false, false},   {2, 1, 5, true, false, false},
        {1, 7, 5, true, false, false}, // a selection the rows do not have moves nothing
    };
    for (const Case& c : cases) {
        RowButtons b = ButtonStates(c.selected, c.index, c.rows);
        EXPECT_EQ(b.remove, c.remove) << c.selected << " " << c.index << " " << c.rows;
        EXPECT_EQ(b.up, c.up) << c.selected << " " << c.index << " " << c.rows;
        EXPECT_EQ(b.down, c.down) << c.selected << " " << c.index << " " << c.rows;
    }
}

TEST(ListEditing, DeleteAndMoveRows) {
    FakeRows rows({"a", "b", "c", "d", "e"}, {1, 3, 4});
    EXPECT_EQ(DeleteSelectedRows(rows), 3);
    EXPECT_EQ(rows.rows_, (Rows{"a", "c"}));
    EXPECT_TRUE(rows.selected_.empty());

    FakeRows move({"a", "b", "c", "d", "e"}, {2});
    EXPECT_TRUE(MoveSelectedRow(move, true));
    EXPECT_TRUE(MoveSelectedRow(move, true));
    EXPECT_EQ(move.rows_, (Rows{"c", "a", "b", "d", "e"}));
    EXPECT_EQ(move.selected_, std::set<int>{0});
    EXPECT_FALSE(MoveSelectedRow(move, true)); // already first
    EXPECT_TRUE(MoveSelectedRow(move, false));
    EXPECT_EQ(move.rows_, (Rows{"a", "c", "b", "d", "e"}));
    EXPECT_EQ(move.selected_, std::set<int>{1});
}

class FakeDisk final : public ExistenceTest {
  public:
    bool IsExistingFile(const char* path) const override { return files.count(path) > 0; }
    bool IsExistingFolder(const char* path) const override {
        std::string p = path;
        if (!p.empty() && p.back() == '\\')
            p.pop_back();
        return folders.count(p) > 0;
    }
    std::set<std::string> files = {"C:\\keep.txt", "C:\\Docs\\b.txt"};
    std::set<std::string> folders = {"C:", "C:\\Docs"};
};

TEST(ListEditing, RemoveOrphanedRows) {
    FakeDisk disk;
    FakeRows files({"C:\\gone.txt", "C:\\keep.txt", "C:\\Docs", "C:\\Docs\\b.txt", ""});
    EXPECT_EQ(RemoveOrphanedRows(files, false, disk), 3);
    EXPECT_EQ(files.rows_, (Rows{"C:\\keep.txt", "C:\\Docs\\b.txt"}));

    FakeRows folders({"C:\\", "C:\\Gone\\", "C:\\Docs\\", "C:\\keep.txt", std::string(300, 'x')});
    EXPECT_EQ(RemoveOrphanedRows(folders, true, disk), 3);
    EXPECT_EQ(folders.rows_, (Rows{"C:\\", "C:\\Docs\\"}));
}

// A text rule's input, whether it takes it, and the text it leaves.
struct TextCase {
    std::string in;
    bool ok;
    std::string out;
};

TEST(ListEditing, AddLimitAndFolderRows) {
    EXPECT_TRUE(CanAddRow(99));
    EXPECT_FALSE(CanAddRow(100));
    EXPECT_FALSE(CanAddRow(-1));

    const TextCase cases[] = {
        {"C:\\Docs", true, "C:\\Docs\\"},
        {"C:\\Docs\\", true, "C:\\Docs\\"},
        {"C:", true, "C:\\"},
        {std::string(259, 'd'), true, std::string(259, 'd') + "\\"},
        // The backslash would make 261 characters: refused rather than stored without it.
        {std::string(260, 'd'), false, std::string(260, 'd')},
    };
    for (const TextCase& c : cases) {
        char buf[kListEntrySize + 8];
        strcpy(buf, c.in.c_str());
        EXPECT_EQ(MakeFolderRow(buf, sizeof buf), c.ok) << c.in.size();
        EXPECT_EQ(std::string(buf), c.out);
    }
}

TEST(ListEditing, TypedPath) {
    const TextCase cases[] = {
        {"C:\\a.txt", true, "C:\\a.txt"},
        {"   C:\\a b.txt  ", true, "C:\\a b.txt  "},
        {"", false, ""},
        {"    ", false, ""},
        {"\tC:\\x", true, "\tC:\\x"}, // only spaces are leading blanks
        {std::string(4, ' ') + std::string(256, 'p'), true, std::string(256, 'p')},
    };
    for (const TextCase& c : cases) {
        char out[kListEntrySize];
        EXPECT_EQ(TakeTypedPath(c.in.c_str(), out, sizeof out), c.ok) << c.in;
        EXPECT_EQ(std::string(out), c.out);
    }
    char tiny[4];
    EXPECT_TRUE(TakeTypedPath(" C:\\long", tiny, sizeof tiny));
    EXPECT_STREQ(tiny, "C:\\");
    EXPECT_FALSE(TakeTypedPath(nullptr, tiny, sizeof tiny));
}

} // namespace
} // namespace vn
