#include "hook/trained/trained_rules.h"

#include "hook/core/text.h"

#include <cstring>

namespace vn {

namespace {

// The titles and module of an entry as terminated texts: its fields may lack terminators.
struct EntryTexts {
    char original[kTitleSize];
    char final[kTitleSize];
    char match[kTitleSize * 4];
    char module[256];
    bool partial;
};

EntryTexts TextsOf(const TrainedEntry& e) {
    EntryTexts t;
    CopyField(t.original, sizeof t.original, e.originalTitle, sizeof e.originalTitle);
    CopyField(t.final, sizeof t.final, e.finalTitle, sizeof e.finalTitle);
    CopyField(t.match, sizeof t.match, e.matchTitle, sizeof e.matchTitle);
    CopyField(t.module, sizeof t.module, e.moduleName, sizeof e.moduleName);
    t.partial = e.matchPartial != 0;
    return t;
}

bool Same(const char* a, const char* b) {
    return strcmp(a, b) == 0;
}

// The partial-title rule: sibling s names its dialogs by the start of their title, title starts
// with s's match title and not with e's.
bool PartialFits(const EntryTexts& s, const EntryTexts& e, const char* title) {
    if (!s.partial || !Same(s.original, e.original) || Same(s.match, e.match))
        return false;
    size_t n = strlen(s.match);
    char start[sizeof s.match];
    CopyText(start, n + 1 < sizeof start ? n + 1 : sizeof start, title);
    return !Same(start, e.match) && Same(start, s.match);
}

bool ValidIndex(int index, int count) {
    return index >= 0 && index < count && count <= kMaxTrainedEntries;
}

// The first sibling of entry current that fits, or -1.
template <typename Fits>
int FirstSibling(const TrainedEntry* entries, int count, int current, Fits fits) {
    const EntryTexts e = TextsOf(entries[current]);
    for (int i = 0; i < count; ++i) {
        if (i == current || !IsSibling(entries[i], entries[current]))
            continue;
        if (fits(TextsOf(entries[i]), e))
            return i;
    }
    return -1;
}

bool IsUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

bool EndsMask(char c) {
    return c == ' ' || c == ',' || c == ')' || c == ']' || c == 0;
}

// The part of text from its last "." on, when it is an extension of at most three characters
// without wildcards; false otherwise.
bool ShortExtension(const char* dot, char* ext, size_t cap) {
    if (!dot || strlen(dot) > 4 || strchr(dot, '*') || strchr(dot, '?'))
        return false;
    CopyText(ext, cap, dot + 1);
    return true;
}

} // namespace

int RefineAtFirstChild(const TrainedEntry* entries, int count, int current, const char* title,
                       const char* slotTitle) {
    if (!ValidIndex(current, count))
        return current;
    const char* t = title ? title : "";
    const char* st = slotTitle ? slotTitle : "";
    int found =
        FirstSibling(entries, count, current, [&](const EntryTexts& s, const EntryTexts& e) {
            if (Same(s.original, e.original) && s.match[0] && !Same(s.match, e.match) &&
                (Same(s.match, t) || Same(s.match, st)))
                return true;
            return PartialFits(s, e, t);
        });
    return found >= 0 ? found : current;
}

Refined RefineAtStart(const TrainedEntry* entries, int count, int current, const char* title) {
    if (!ValidIndex(current, count))
        return {current, false};
    const char* t = title ? title : "";
    int index = current;
    bool siblingTaken = false;
    if (!Same(t, TextsOf(entries[current]).match)) {
        int found =
            FirstSibling(entries, count, current, [&](const EntryTexts& s, const EntryTexts& e) {
                if (!Same(s.original, e.original))
                    return false;
                if (s.match[0] && !Same(s.match, e.match) && Same(s.match, t))
                    return true;
                if (s.final[0] && !Same(s.final, e.final) && Same(s.final, t))
                    return true;
                return PartialFits(s, e, t);
            });
        if (found >= 0) {
            index = found;
            siblingTaken = true;
        }
    }
    const TrainedEntry& chosen = entries[index];
    const EntryTexts c = TextsOf(chosen);
    // An entry made without a creation title knows its dialog only by the title shown; an entry
    // with a partial title accepts any title that starts with it.
    bool titleFits = Same(t, c.final) || Same(t, c.match) ||
                     (c.partial && c.match[0] && strncmp(t, c.match, strlen(c.match)) == 0);
    if (!siblingTaken && !c.original[0] && !titleFits)
        return {index, false};
    return {index, chosen.enabled != 0};
}

void ItemMask(const char* item, char* mask, size_t cap) {
    mask[0] = 0;
    if (!item || !cap)
        return;
    if (strchr(item, '*')) {
        for (const char* p = strchr(item, '*'); p; p = strchr(p + 1, '*')) {
            if (p[1] != '.' || EndsMask(p[2]))
                continue;
            size_t n = 2;
            while (!EndsMask(p[n]))
                ++n;
            CopyText(mask, n + 1 < cap ? n + 1 : cap, p);
            return;
        }
        CopyText(mask, cap, item);
        return;
    }
    size_t len = strlen(item);
    char ext[4] = "";
    if (len == 3)
        CopyText(ext, sizeof ext, item);
    else if (len >= 4 && IsUpper(item[0]) && IsUpper(item[1]) && IsUpper(item[2]) && item[3] == ' ')
        CopyText(ext, sizeof ext, item);
    if (ext[0]) {
        CopyText(mask, cap, "*.");
        AppendText(mask, cap, ext);
    }
}

int FileTypesFromItems(TrainedEntry& entry, const char* const* items, int itemCount,
                       const char* allFiles) {
    memset(entry.fileTypes, 0, sizeof entry.fileTypes);
    CopyText(entry.fileTypes[0], kFileTypeSize, allFiles);
    int stored = 0;
    for (int i = 0; i < itemCount && i < kFileTypeSlots; ++i) {
        const char* item = items[i];
        if (!item || BoundedLength(item, kFileTypeSize) >= kFileTypeSize)
            continue;
        char mask[kFileTypeSize];
        ItemMask(item, mask, sizeof mask);
        if (!mask[0] || strlen(item) + 1 + strlen(mask) > kFileTypeSize - 1)
            continue;
        char* slot = entry.fileTypes[stored++];
        CopyText(slot, kFileTypeSize, item);
        AppendText(slot, kFileTypeSize, "|");
        AppendText(slot, kFileTypeSize, mask);
    }
    return stored ? stored : 1;
}

void DefaultExtension(TrainedEntry& entry, const char* nameBoxTextOrNull) {
    char ext[sizeof entry.defaultExt] = "";
    if (nameBoxTextOrNull) {
        char text[30];
        CopyText(text, sizeof text, nameBoxTextOrNull);
        const char* star = strchr(text, '*');
        if (star && ShortExtension(strchr(star, '.'), ext, sizeof ext)) {
            CopyText(entry.defaultExt, sizeof entry.defaultExt, ext);
            return;
        }
    }
    char first[kFileTypeSize];
    CopyField(first, sizeof first, entry.fileTypes[0], sizeof entry.fileTypes[0]);
    const char* bar = strchr(first, '|');
    if (bar && ShortExtension(strchr(bar, '.'), ext, sizeof ext))
        CopyText(entry.defaultExt, sizeof entry.defaultExt, ext);
}

KindChoice ChooseKind(const TrainedEntry& entry, const char* selectFolderTitle) {
    KindChoice k = {};
    const EntryTexts t = TextsOf(entry);
    k.flags = kOfnPathMustExist | kOfnLongNames | kOfnHideReadOnly;
    switch (entry.dialogKind) {
    case kTrainedSave: {
        bool openTitle = strstr(t.original, "Open") || strstr(t.original, "\xD6"
                                                                          "ffnen");
        k.save = true;
        CopyText(k.title, sizeof k.title, openTitle ? "Save As" : t.final);
        break;
    }
    case kTrainedFolder:
        k.save = true;
        CopyText(k.title, sizeof k.title, selectFolderTitle);
        break;
    default:
        CopyText(k.title, sizeof k.title, t.final);
        // An Add button that leaves the application's dialog in view may name a file that the
        // application is yet to create.
        if (!(entry.addButton && !entry.autoOpenClose && !entry.hideOriginal))
            k.flags |= kOfnFileMustExist;
        break;
    }
    return k;
}

size_t BuildFilter(const TrainedEntry& entry, const char* allFiles, char* out, size_t cap) {
    if (cap < 2)
        return 0;
    size_t used = 0;
    auto add = [&](const char* text, size_t n) {
        if (used + n + 2 > cap)
            return false;
        memcpy(out + used, text, n);
        used += n;
        out[used++] = 0;
        return true;
    };
    auto addPair = [&](const char* type) {
        const char* bar = strchr(type, '|');
        if (!bar || !strpbrk(bar + 1, "*?"))
            return;
        size_t before = used;
        if (!add(type, static_cast<size_t>(bar - type)) || !add(bar + 1, strlen(bar + 1)))
            used = before;
    };
    for (int i = 0; i < kFileTypeSlots; ++i) {
        char type[kFileTypeSize];
        CopyField(type, sizeof type, entry.fileTypes[i], sizeof entry.fileTypes[i]);
        if (!type[0])
            break;
        addPair(type);
    }
    if (!used)
        addPair(allFiles);
    out[used++] = 0;
    return used;
}

void InitialName(const TrainedEntry& entry, const char* nameBoxText, const char* folderHint,
                 char* out, size_t cap) {
    out[0] = 0;
    if (entry.dialogKind == kTrainedFolder) {
        CopyText(out, cap, folderHint);
        return;
    }
    if (entry.dialogKind == kTrainedOpen && (!entry.addButton || entry.autoOpenClose)) {
        char first[kFileTypeSize];
        CopyField(first, sizeof first, entry.fileTypes[0], sizeof entry.fileTypes[0]);
        if (const char* bar = strchr(first, '|'))
            CopyText(out, cap, bar + 1);
    }
    const char* text = nameBoxText ? nameBoxText : "";
    if (!out[0]) {
        const char* part = text;
        for (const char* p = text; *p; ++p)
            if (*p == '\\' || *p == ':')
                part = p + 1;
        CopyText(out, cap, part);
    }
    if (out[0] == '.') {
        CopyText(out, cap, "*");
        AppendText(out, cap, text);
    }
    // Masks separated by spaces become one list separated by semicolons.
    if (char* list = strstr(out, " *.")) {
        for (char* p = list; *p; ++p)
            if (*p == ' ')
                *p = ';';
    }
}

void FinishChosenName(const TrainedEntry& entry, char* name, size_t cap) {
    if (!cap)
        return;
    name[cap - 1] = 0;
    char* slash = strrchr(name, '\\');
    if (entry.dialogKind == kTrainedFolder) {
        if (slash)
            slash[1] = 0;
        else
            name[0] = 0;
        return;
    }
    const char* part = slash ? slash + 1 : name;
    if (name[0] && !strchr(part, '.'))
        AppendText(name, cap, ".");
}

int AllocTrainedWindow(TrainedWindowTable& table) {
    for (int i = 0; i < kTrainedWindowSlots; ++i) {
        if (table.slots[i].inUse)
            continue;
        memset(&table.slots[i], 0, sizeof table.slots[i]);
        table.slots[i].inUse = 1;
        if (i > table.top)
            table.top = i;
        return i;
    }
    return -1;
}

void FreeTrainedWindow(TrainedWindowTable& table, int slot) {
    if (slot < 0 || slot >= kTrainedWindowSlots)
        return;
    table.slots[slot].inUse = 0;
    while (table.top > 0 && !table.slots[table.top].inUse)
        --table.top;
}

int FindTrainedWindow(const TrainedWindowTable& table, uintptr_t dialog) {
    if (!dialog)
        return -1;
    for (int i = 0; i <= table.top && i < kTrainedWindowSlots; ++i)
        if (table.slots[i].inUse && table.slots[i].dialog == dialog)
            return i;
    return -1;
}

int FindTrainedModule(const TrainedWindowTable& table, const char* module) {
    for (int i = 0; i <= table.top && i < kTrainedWindowSlots; ++i) {
        const TrainedEntry& e = table.slots[i].entry;
        if (table.slots[i].inUse &&
            CompareNoCase(e.moduleName, module ? module : "", sizeof e.moduleName - 1) == 0)
            return i;
    }
    return -1;
}

} // namespace vn
