// The texts of the information line: the file named in the file name box (its name, size, date,
// time and attributes) and the free space of its drive. Pure text rules; the Win32 side reads
// the file, the clock and the drive and hands the facts in (info_line_win.*). Every result is
// terminated and bounded by the size given.
#pragma once

#include "hook/core/captions.h"

#include <cstddef>
#include <cstdint>

namespace vn {

constexpr int kIdsBytes = 570;         // " bytes"
constexpr int kIdsKbFree = 614;        // "kb free"
constexpr int kIdsMbFree = 615;        // "MB free"
constexpr int kIdsGbFree = 616;        // "GB free"
constexpr int kIdsBytesFree = 617;     // "bytes free"
constexpr size_t kInfoLineSize = 600;  // the line with its terminator
constexpr size_t kInfoLineLimit = 598; // what the file part may fill

// A size in bytes with "," between groups of three digits (1234567 gives "1,234,567"). A size of
// 4 GiB or more is given in whole megabytes with " M" after it ("5,120 M").
void SizeText(uint64_t size, char* out, size_t cap);

// "[R,S,H]" for read-only, system and hidden in that order, only those that are set; nothing
// for a file with none of them.
void AttributeText(bool readOnly, bool system, bool hidden, char* out, size_t cap);

// The drive of a path: "C:" of "C:\...", "\\server\share" of "\\server\share\...", the whole path
// when nothing follows the share, nothing when there is no share or no drive.
void DrivePart(const char* path, char* out, size_t cap);

// "    (12.35 GB free)": the unit by the size of freeBytes, one to three decimals by the size of
// the value. Returns the length written; 0 when the unit's caption is missing.
size_t FreeSpaceText(uint64_t freeBytes, CaptionSource& captions, char* out, size_t cap);

// Where one rebuild takes the drive's free space from. Asking a network drive can wait for the
// network, and the line is rebuilt at every key typed into the file name box: while the user
// types, a network drive shows the figure last read for it, or none. Every other rebuild, and
// every local drive, asks.
enum class FreeSpaceSource { kAsk, kRemembered, kNone };
FreeSpaceSource ChooseFreeSpaceSource(bool networkDrive, bool typing, bool rememberedForDrive);

// What the line says of one file.
struct FileFacts {
    const char* name; // its own name, or its full path with "Show Info Full Path"
    uint64_t size;
    const char* date; // the short date and the time without seconds, as the user's locale
    const char* time; // writes them
    bool readOnly, system, hidden;
};

// Builds the file part into line, which holds the typed name on entry: the name replaces it when
// it is shorter than limit; then size, date, time and attributes, each separated by its spaces, as
// long as the line stays within limit (spaces one by one, texts only whole). line holds at least
// limit + 1 characters.
void FileInfoLine(const FileFacts& facts, CaptionSource& captions, char* line, size_t limit);

} // namespace vn
