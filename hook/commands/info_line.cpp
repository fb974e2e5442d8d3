#include "hook/commands/info_line.h"

#include "hook/core/text.h"

#include <cstdio>
#include <cstring>

namespace vn {

namespace {

// Appends text only when all of it fits within limit characters.
void AppendWhole(char* line, size_t limit, const char* text) {
    size_t n = strlen(line), t = strlen(text);
    if (n + t <= limit) {
        memcpy(line + n, text, t + 1);
    }
}

// Appends up to count spaces, one by one while the line is shorter than limit.
void AppendSpaces(char* line, size_t limit, int count) {
    size_t n = strlen(line);
    for (int i = 0; i < count && n < limit; ++i)
        line[n++] = ' ';
    line[n] = 0;
}

} // namespace

void SizeText(uint64_t size, char* out, size_t cap) {
    if (!out || cap == 0)
        return;
    const bool megabytes = size > 0xFFFFFFFFull;
    uint64_t value = megabytes ? size / 1048576 : size;
    char digits[24];
    snprintf(digits, sizeof digits, "%llu", static_cast<unsigned long long>(value));
    char grouped[40];
    size_t g = 0, n = strlen(digits);
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            grouped[g++] = ',';
        grouped[g++] = digits[i];
    }
    grouped[g] = 0;
    CopyText(out, cap, grouped);
    if (megabytes)
        AppendText(out, cap, " M");
}

void AttributeText(bool readOnly, bool system, bool hidden, char* out, size_t cap) {
    if (!out || cap == 0)
        return;
    const bool set[] = {readOnly, system, hidden};
    const char letters[] = "RSH";
    char text[16] = "";
    for (int i = 0; i < 3; ++i) {
        if (!set[i])
            continue;
        size_t n = strlen(text);
        text[n] = n ? ',' : '[';
        text[n + 1] = letters[i];
        text[n + 2] = 0;
    }
    if (text[0])
        strcat(text, "]");
    CopyText(out, cap, text);
}

void DrivePart(const char* path, char* out, size_t cap) {
    if (!out || cap == 0)
        return;
    out[0] = 0;
    if (!path || !path[0])
        return;
    if (path[1] == ':') {
        CopyText(out, cap < 3 ? cap : 3, path);
        return;
    }
    if (path[0] != '\\' || path[1] != '\\')
        return;
    const char* server = strchr(path + 2, '\\');
    if (!server)
        return;
    const char* share = strchr(server + 1, '\\');
    size_t n = share ? static_cast<size_t>(share - path) : strlen(path);
    CopyText(out, n + 1 < cap ? n + 1 : cap, path);
}

size_t FreeSpaceText(uint64_t freeBytes, CaptionSource& captions, char* out, size_t cap) {
    if (!out || cap == 0)
        return 0;
    out[0] = 0;
    int unitId;
    double value;
    if (freeBytes < 0x400) {
        unitId = kIdsBytesFree;
        value = static_cast<double>(freeBytes);
    } else if (freeBytes < 0xFA000) {
        unitId = kIdsKbFree;
        value = static_cast<double>(freeBytes) / 1024;
    } else if (freeBytes < 0x3E800000) {
        unitId = kIdsMbFree;
        value = static_cast<double>(freeBytes / 1024) / 1024;
    } else {
        unitId = kIdsGbFree;
        value = static_cast<double>(freeBytes) / 1073741824.0;
    }
    char unit[101];
    if (!captions.Caption(unitId, unit, sizeof unit))
        return 0;
    const char* format = value > 100  ? "    (%.1f %s)"
                         : value > 10 ? "    (%.2f %s)"
                                      : "    (%.3f %s)";
    char text[160];
    snprintf(text, sizeof text, format, value, unit);
    return CopyText(out, cap, text);
}

void FileInfoLine(const FileFacts& facts, CaptionSource& captions, char* line, size_t limit) {
    if (!line)
        return;
    if (facts.name && strlen(facts.name) < limit)
        CopyText(line, limit + 1, facts.name);
    char piece[64];
    AppendSpaces(line, limit, 6);
    SizeText(facts.size, piece, sizeof piece);
    AppendWhole(line, limit, piece);
    char bytes[21];
    if (captions.Caption(kIdsBytes, bytes, sizeof bytes))
        AppendWhole(line, limit, bytes);
    AppendSpaces(line, limit, 4);
    CopyText(piece, 17, facts.date ? facts.date : "");
    AppendWhole(line, limit, piece);
    AppendSpaces(line, limit, 3);
    CopyText(piece, 17, facts.time ? facts.time : "");
    AppendWhole(line, limit, piece);
    AppendSpaces(line, limit, 2);
    AttributeText(facts.readOnly, facts.system, facts.hidden, piece, sizeof piece);
    AppendWhole(line, limit, piece);
}

FreeSpaceSource ChooseFreeSpaceSource(bool networkDrive, bool typing, bool rememberedForDrive) {
    if (!networkDrive || !typing)
        return FreeSpaceSource::kAsk;
    return rememberedForDrive ? FreeSpaceSource::kRemembered : FreeSpaceSource::kNone;
}

} // namespace vn
