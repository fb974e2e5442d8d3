#include "hook/layout/sort_order.h"

#include <algorithm>

namespace vn {

namespace {

template <typename T>
int Sign(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

} // namespace

int CompareFacts(const SortFacts& a, const SortFacts& b, const SortOptions& options,
                 NameOrder& names) {
    if (!a.readable || !b.readable)
        return a.readable ? 1 : (b.readable ? -1 : 0);
    const int d = options.descending ? -1 : 1;
    if (a.folder != b.folder) {
        int folderFirst = options.foldersOnTop ? -1 : (options.foldersOnBottom ? 1 : -d);
        return a.folder ? folderFirst : -folderFirst;
    }
    int byKey = 0;
    switch (options.sortBy) {
    case kSortByName:
        return d * Sign(names.Compare(a.name ? a.name : "", b.name ? b.name : ""), 0);
    case kSortBySize:
        byKey = Sign(a.size, b.size);
        break;
    case kSortByType:
        byKey = Sign(names.Compare(a.typeName ? a.typeName : "", b.typeName ? b.typeName : ""), 0);
        break;
    case kSortByDate:
        byKey = Sign(a.written, b.written);
        break;
    default:
        return 0;
    }
    // Equal keys go by name, ascending: the shell inserts its items in no useful order.
    if (byKey)
        return d * byKey;
    return Sign(names.Compare(a.name ? a.name : "", b.name ? b.name : ""), 0);
}

// std::stable_sort takes its work space without throwing and sorts in place, more slowly, when
// there is none.
void OrderItems(const SortFacts* items, size_t count, const SortOptions& options, NameOrder& names,
                uint32_t* order) {
    for (size_t i = 0; i < count; ++i)
        order[i] = static_cast<uint32_t>(i);
    std::stable_sort(order, order + count, [&](uint32_t a, uint32_t b) {
        return CompareFacts(items[a], items[b], options, names) < 0;
    });
}

bool UsableColumnWidth(int32_t width) {
    return width > 0 && width <= 10000;
}

} // namespace vn
