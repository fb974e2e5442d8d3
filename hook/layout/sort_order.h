// The user's own order of the file list ("Sort", "Sort By", "Sort Order", "FoldersOnTop",
// "FoldersOnBottom"): what is compared and in which direction. Pure rules over facts gathered
// once per sort; the list view glue (list_view_win.*) reads the facts and applies the order.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vn {

enum SortKey : int32_t { kSortByName = 0, kSortBySize = 1, kSortByType = 2, kSortByDate = 3 };

struct SortOptions {
    int32_t sortBy;       // a SortKey; any other value keeps the list's order
    bool descending;      // "Sort Order" 1
    bool foldersOnTop;    // wins over foldersOnBottom when both are set
    bool foldersOnBottom; // with neither, folders lead ascending and trail descending
};

// What is known of one item of the list. An item whose facts could not be read is not
// readable; such items come first, in the list's order.
struct SortFacts {
    const char* name;     // the file's own name
    const char* typeName; // the shell's type name, for kSortByType
    uint64_t size;
    uint64_t written; // last write time, in any unit that grows with time
    bool folder;
    bool readable;
};

// How two names (or type names) compare: case ignored, as the user's locale orders letters.
class NameOrder {
  public:
    virtual ~NameOrder() = default;
    virtual int Compare(const char* a, const char* b) = 0;
};

// Negative when a goes before b, positive when after, 0 when the keys are equal. Items of equal
// size, type or date go by name, ascending. A consistent order: two unreadable items are equal.
int CompareFacts(const SortFacts& a, const SortFacts& b, const SortOptions& options,
                 NameOrder& names);

// The list's items in the user's order: order receives the indexes 0..count-1 of items, sorted;
// items that still compare equal keep their place relative to each other.
void OrderItems(const SortFacts* items, size_t count, const SortOptions& options, NameOrder& names,
                uint32_t* order);

// A stored column width the list may be given: 1 to 10000 pixels. Anything else (0 means "not
// recorded", a damaged settings file may say anything) leaves the column as the shell made it.
bool UsableColumnWidth(int32_t width);

} // namespace vn
