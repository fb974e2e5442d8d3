#include "hook/core/trained_entry.h"

#include "hook/core/text.h"

namespace vn {

namespace {

// Fields are fixed arrays that may lack their terminator: compare no further than the field.
template <size_t N>
bool FieldEqualsNoCase(const char (&field)[N], const char* text) {
    return CompareNoCase(field, text, N - 1) == 0;
}

template <size_t N>
bool FieldsEqual(const char (&a)[N], const char (&b)[N]) {
    return CompareN(a, b, N - 1) == 0;
}

template <size_t N>
bool FieldsEqualNoCase(const char (&a)[N], const char (&b)[N]) {
    return CompareNoCase(a, b, N - 1) == 0;
}

bool SameCreationData(const TrainedEntry& a, const TrainedEntry& b) {
    return a.style == b.style && a.exStyle == b.exStyle && a.width == b.width &&
           a.height == b.height;
}

} // namespace

bool MatchesCreation(const TrainedEntry& entry, uint32_t style, uint32_t exStyle, int32_t width,
                     int32_t height, const char* titleOrNull, const char* moduleName) {
    if (entry.style != style || entry.exStyle != exStyle || entry.width != width ||
        entry.height != height)
        return false;
    if (!FieldEqualsNoCase(entry.originalTitle, titleOrNull ? titleOrNull : ""))
        return false;
    return FieldEqualsNoCase(entry.moduleName, moduleName ? moduleName : "");
}

bool IsSameDialog(const TrainedEntry& a, const TrainedEntry& b) {
    return SameCreationData(a, b) && FieldsEqual(a.originalTitle, b.originalTitle) &&
           FieldsEqual(a.finalTitle, b.finalTitle) && FieldsEqualNoCase(a.moduleName, b.moduleName);
}

bool IsSibling(const TrainedEntry& a, const TrainedEntry& b) {
    return SameCreationData(a, b) && FieldsEqualNoCase(a.moduleName, b.moduleName);
}

} // namespace vn
