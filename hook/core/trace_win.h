// A trace for diagnosing the library inside other programs: debug builds write each line to
// OutputDebugString (seen with a debugger, DebugView, or WINEDEBUG=+debugstr under Wine); release
// builds compile every VN_TRACE away, arguments included, so it costs the host nothing.
#pragma once

#ifdef NDEBUG
#define VN_TRACE(...) ((void)0)
#else
#include <windows.h>

#include "hook/core/compat.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace vn {

// Formats one line, prefixed with the library's name, into a bounded buffer.
VN_PRINTF_FORMAT(1, 2) inline void Trace(const char* format, ...) {
    char line[512] = "vnhook: ";
    size_t start = strlen(line);
    va_list args;
    va_start(args, format);
    vsnprintf(line + start, sizeof line - start - 1, format, args);
    va_end(args);
    line[sizeof line - 2] = 0;
    size_t end = strlen(line);
    line[end] = '\n';
    line[end + 1] = 0;
    OutputDebugStringA(line);
}

} // namespace vn

#define VN_TRACE(...) ::vn::Trace(__VA_ARGS__)
#endif
