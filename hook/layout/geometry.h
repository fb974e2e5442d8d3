// Arithmetic on window geometry that never wraps: sizes and places are computed from settings
// and from the shared state, which any process may have filled with anything.
#pragma once

#include "hook/core/compat.h"

#include <climits>

namespace vn {

// The largest width or height the layout ever gives a window. Window managers cut larger
// extents anyway; beyond this the arithmetic of the callers would no longer be meaningful.
constexpr int32_t kMaxWindowExtent = 32767;

namespace geometry {

inline int64_t Max(int64_t a, int64_t b) {
    return a > b ? a : b;
}
inline int64_t Min(int64_t a, int64_t b) {
    return a < b ? a : b;
}

// A width or height a window can take.
inline int32_t Extent(int64_t value) {
    return static_cast<int32_t>(value < 0 ? 0 : Min(value, kMaxWindowExtent));
}

// A coordinate or distance that fits the 32-bit fields of the record and of the platform.
inline int32_t Saturate(int64_t value) {
    return static_cast<int32_t>(Max(Min(value, INT32_MAX), INT32_MIN));
}

} // namespace geometry
} // namespace vn
