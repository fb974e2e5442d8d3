// The sizes every text of the system is held in. Paths are ANSI and at most kMaxPath characters;
// window titles at most kTitleSize - 1. Every other path or title size is derived from these.
#pragma once

#include <cstddef>

namespace vn {

constexpr size_t kMaxPath = 260;           // characters of a path
constexpr size_t kPathSize = kMaxPath + 4; // a path, its terminator, padding to 4 bytes
constexpr size_t kTitleSize = 80;          // a title: 79 characters and the terminator

} // namespace vn
