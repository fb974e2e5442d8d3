#include "hook/layout/sort_order.h"

#include <gtest/gtest.h>

#include <strings.h>

#include <string>
#include <vector>

using namespace vn;

namespace {

class CaseFreeNames final : public NameOrder {
  public:
    int Compare(const char* a, const char* b) override { return strcasecmp(a, b); }
};

// A folder of the kind the tests sort: two folders, files of several sizes, types and times,
// two names that differ only in letter case, and one item whose facts could not be read.
std::vector<SortFacts> Items() {
    return {
        {"zeta.txt", "Text", 300, 5, false, true},      {"Beta", "Folder", 0, 9, true, true},
        {"alpha.doc", "Document", 100, 7, false, true}, {"gone", "", 0, 0, false, false},
        {"Alpha.TXT", "Text", 100, 1, false, true},     {"archive", "Folder", 0, 2, true, true},
        {"mid.log", "Log", 200, 7, false, true},
    };
}

std::string Ordered(const SortOptions& options) {
    std::vector<SortFacts> items = Items();
    std::vector<uint32_t> order(items.size());
    CaseFreeNames names;
    OrderItems(items.data(), items.size(), options, names, order.data());
    std::string out;
    for (uint32_t i : order)
        out += std::string(out.empty() ? "" : " ") + items[i].name;
    return out;
}

TEST(SortOrder, EachKeyBothDirectionsAndTheFolders) {
    struct Row {
        SortOptions options;
        const char* expected;
    } rows[] = {
        // By name, case ignored: folders first when ascending.
        {{kSortByName, false, false, false},
         "gone archive Beta alpha.doc Alpha.TXT mid.log zeta.txt"},
        // Descending without a folder setting: files first, folders last.
        {{kSortByName, true, false, false},
         "gone zeta.txt mid.log Alpha.TXT alpha.doc Beta archive"},
        // By size: equal sizes (the folders, alpha.doc and Alpha.TXT) go by name, ascending.
        {{kSortBySize, false, true, false},
         "gone archive Beta alpha.doc Alpha.TXT mid.log zeta.txt"},
        {{kSortBySize, true, true, false},
         "gone archive Beta zeta.txt mid.log alpha.doc Alpha.TXT"},
        {{kSortBySize, false, false, true},
         "gone alpha.doc Alpha.TXT mid.log zeta.txt archive Beta"},
        // Both folder settings: on top wins.
        {{kSortBySize, true, true, true}, "gone archive Beta zeta.txt mid.log alpha.doc Alpha.TXT"},
        // By type name, then by name within a type.
        {{kSortByType, false, false, false},
         "gone archive Beta alpha.doc mid.log Alpha.TXT zeta.txt"},
        // By date: the folders compare by date among themselves too.
        {{kSortByDate, false, false, false},
         "gone archive Beta Alpha.TXT zeta.txt alpha.doc mid.log"},
        {{kSortByDate, true, false, true},
         "gone alpha.doc mid.log zeta.txt Alpha.TXT Beta archive"},
        // An unknown key keeps the list's order, but for the folders' place and the unreadable.
        {{7, false, false, false}, "gone Beta archive zeta.txt alpha.doc Alpha.TXT mid.log"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Ordered(row.options), row.expected)
            << "by " << row.options.sortBy << (row.options.descending ? " descending" : "")
            << (row.options.foldersOnTop ? " top" : "")
            << (row.options.foldersOnBottom ? " bottom" : "");
}

// The comparison is an order: never both a < b and b < a, even for unreadable items, and names
// that differ only in case are equal.
TEST(SortOrder, ComparisonIsConsistent) {
    std::vector<SortFacts> items = Items();
    items.push_back({"ALPHA.DOC", "Document", 100, 7, false, true});
    items.push_back({"lost", "", 0, 0, true, false});
    CaseFreeNames names;
    for (int32_t key = 0; key < 4; ++key)
        for (int flags = 0; flags < 8; ++flags) {
            SortOptions o = {key, (flags & 1) != 0, (flags & 2) != 0, (flags & 4) != 0};
            for (const SortFacts& a : items)
                for (const SortFacts& b : items) {
                    int ab = CompareFacts(a, b, o, names), ba = CompareFacts(b, a, o, names);
                    EXPECT_EQ(ab<0, ba> 0) << a.name << " " << b.name << " " << key << flags;
                    EXPECT_EQ(ab == 0, ba == 0) << a.name << " " << b.name << " " << key << flags;
                }
        }
    SortOptions byName = {kSortByName, false, false, false};
    EXPECT_EQ(CompareFacts(items[2], items[7], byName, names), 0);
}

TEST(SortOrder, StoredColumnWidths) {
    for (int32_t w : {1, 80, 10000})
        EXPECT_TRUE(UsableColumnWidth(w)) << w;
    for (int32_t w : {0, -5, 10001, 2147483647})
        EXPECT_FALSE(UsableColumnWidth(w)) << w;
}

} // namespace
