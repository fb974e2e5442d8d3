// Compiler specifics live here and nowhere else, so that the rest of the code builds with
// mingw-w64, native g++/clang for the unit tests, and MSVC.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_MSC_VER)
#define VN_NOINLINE __declspec(noinline)
#define VN_UNUSED
#define VN_PRINTF_FORMAT(formatIndex, firstArg)
#else
#define VN_NOINLINE __attribute__((noinline))
#define VN_UNUSED __attribute__((unused))
// Lets the compiler check a printf-style function's format against its arguments.
#define VN_PRINTF_FORMAT(formatIndex, firstArg)                                                    \
    __attribute__((format(printf, formatIndex, firstArg)))
#endif

// The packed layouts shared between processes and stored in files use only naturally aligned
// fixed-width members, so no packing pragma is needed; these checks keep it that way.
#define VN_CHECK_SIZE(type, size) static_assert(sizeof(type) == (size), #type " has the wrong size")
#define VN_CHECK_OFFSET(type, field, off)                                                          \
    static_assert(offsetof(type, field) == (off), #type "::" #field " is at the wrong offset")

namespace vn {
// Whether this is the 32-bit build: each bitness has its own hook library and hook.
constexpr bool kBuiltFor32Bit = sizeof(void*) == 4;
} // namespace vn
