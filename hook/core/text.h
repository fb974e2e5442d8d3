// Bounded text helpers. Every buffer in the system has a fixed size and every text that comes
// from another process, a file or the registry may lack its terminator, so nothing here reads or
// writes beyond the capacity it is given.
#pragma once

#include "hook/core/compat.h"

namespace vn {

// Length of s, looking at no more than cap bytes (cap when no terminator is found).
size_t BoundedLength(const char* s, size_t cap);

// Copies src into dst of capacity cap, cutting it when too long; dst always ends in a zero.
// A null src copies as empty. Returns the length copied.
size_t CopyText(char* dst, size_t cap, const char* src);

// As CopyText, but src is a fixed field of srcCap bytes that may lack its terminator.
size_t CopyField(char* dst, size_t cap, const char* src, size_t srcCap);

// Appends src to the text in dst, cutting it to fit. Returns the new length.
size_t AppendText(char* dst, size_t cap, const char* src);

// ASCII case folding: the system's texts are ANSI and the comparisons that ignore case are about
// module names and titles, where folding the Latin letters is what users expect.
char FoldCase(char c);

// Compares at most n characters ignoring case, stopping at the end of either text (strnicmp).
int CompareNoCase(const char* a, const char* b, size_t n);

// Case-sensitive comparison of at most n characters (strncmp), null-safe.
int CompareN(const char* a, const char* b, size_t n);

// Joins folder and name the way every path of the system is built (see the definition).
// The result is cut to cap - 1 characters.
void JoinPath(char* dst, size_t cap, const char* folder, const char* name);

// The module name of an executable path: the file name without folder and without the part
// from its last "." on, cut to cap - 1 characters.
void ModuleNameFromPath(char* dst, size_t cap, const char* path);

// Fills a message taken from a string table: the first "%u" becomes *number and the first "%s"
// text, each only when given (not null). Nothing else of format is interpreted, so a table text
// never acts as a printf format. The result is cut to cap - 1 characters.
void FillMessage(char* dst, size_t cap, const char* format, const unsigned* number,
                 const char* text);

} // namespace vn
