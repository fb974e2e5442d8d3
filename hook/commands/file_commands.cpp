#include "hook/commands/file_commands.h"

#include "hook/core/path_rules.h"
#include "hook/core/text.h"

#include <cstring>

namespace vn {

namespace {

// The folder box takes 255 characters; a folder that long could not be shown again.
constexpr size_t kMaxFolderName = 255;

// Room for two paths joined, so that an overlong result is seen rather than cut.
constexpr size_t kJoinedSize = 2 * kPathSize;

// Copies a built path out when it fits both a path and the caller's buffer.
bool TakeIfFits(char* dst, size_t cap, const char* built) {
    size_t length = strlen(built);
    if (length > kMaxPath || length >= cap) {
        dst[0] = 0;
        return false;
    }
    CopyText(dst, cap, built);
    return true;
}

} // namespace

bool NewFolderPath(char* dst, size_t cap, const char* folder, const char* name) {
    if (!dst || cap == 0)
        return false;
    dst[0] = 0;
    if (!folder || !name || !folder[0] || !name[0])
        return false;
    size_t fl = BoundedLength(folder, kPathSize), nl = BoundedLength(name, kPathSize);
    if (fl + nl >= kMaxFolderName)
        return false;
    char built[kJoinedSize];
    CopyText(built, sizeof built, folder);
    if (built[fl - 1] != '\\')
        AppendText(built, sizeof built, "\\");
    if (name[0] == '\\' && fl >= 2)
        built[2] = 0; // the drive letter and its colon
    AppendText(built, sizeof built, name);
    return TakeIfFits(dst, cap, built);
}

bool IsRootedName(const char* name) {
    return name && name[0] && (name[0] == '\\' || name[1] == ':');
}

bool UnderSourceFolder(char* dst, size_t cap, const char* source, const char* destination) {
    if (!dst || cap == 0)
        return false;
    dst[0] = 0;
    char built[kJoinedSize] = "";
    if (!IsRootedName(destination))
        ParentFolder(built, sizeof built, source, true);
    AppendText(built, sizeof built, destination);
    return TakeIfFits(dst, cap, built);
}

bool JoinWithin(char* dst, size_t cap, const char* folder, const char* name) {
    if (!dst || cap == 0)
        return false;
    char built[kJoinedSize];
    JoinPath(built, sizeof built, folder, name);
    return TakeIfFits(dst, cap, built);
}

bool CopyDestinations(const char* typed, const char* dialogFolder, const char* fileName,
                      CopyTargets& out) {
    out.primary[0] = out.alternate[0] = 0;
    out.hasAlternate = false;
    if (!typed || !typed[0])
        return false;
    bool asTyped = typed[0] != '.' && (strchr(typed, '\\') || strchr(typed, ':'));
    if (asTyped) {
        if (!TakeIfFits(out.primary, sizeof out.primary, typed))
            return false;
    } else if (!JoinWithin(out.primary, sizeof out.primary, dialogFolder, typed)) {
        return false;
    }
    if (fileName && fileName[0])
        out.hasAlternate = JoinWithin(out.alternate, sizeof out.alternate, out.primary, fileName);
    return true;
}

CopyPlan PlanCopy(const CopyTargets& targets, bool primaryIsFile, bool alternateIsFile) {
    if (primaryIsFile || !targets.hasAlternate)
        return {primaryIsFile ? targets.primary : nullptr, targets.primary, nullptr};
    if (alternateIsFile)
        return {targets.alternate, targets.alternate, nullptr};
    return {nullptr, targets.primary, targets.alternate};
}

void FillPrompt(char* dst, size_t cap, const char* format, const char* text) {
    if (!dst || cap == 0)
        return;
    format = format ? format : "";
    text = text ? text : "";
    const char* slot = strstr(format, "%s");
    size_t fixed = strlen(format) - (slot ? 2 : 0);
    size_t room = cap - 1 > fixed ? cap - 1 - fixed : 0;
    // The text as shown: every "&" counts twice.
    size_t shown = 0;
    for (const char* p = text; *p; ++p)
        shown += *p == '&' ? 2 : 1;
    char kept[kJoinedSize] = "";
    if (shown <= room) {
        DoubleAmpersands(kept, sizeof kept, text);
    } else if (room > 3) {
        // Walk back from the end while the tail, doubled, leaves room for the "...".
        const char* from = text + strlen(text);
        size_t used = 0;
        while (from > text) {
            size_t need = from[-1] == '&' ? 2 : 1;
            if (used + need > room - 3)
                break;
            used += need;
            --from;
        }
        CopyText(kept, sizeof kept, "...");
        DoubleAmpersands(kept + 3, sizeof kept - 3, from);
    }
    FillMessage(dst, cap, format, nullptr, kept);
}

} // namespace vn
