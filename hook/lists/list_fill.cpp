#include "hook/lists/list_fill.h"

#include "hook/core/text.h"

#include <cstring>

namespace vn {

namespace {

constexpr int kMaxCommandRows = 2;

// The captions of one list, by ListKind: header, the command rows of the application's part and
// those of the all-applications part (0 ends a group).
struct RowCaptions {
    int header;
    int appCommands[kMaxCommandRows];
    int allCommands[kMaxCommandRows];
};

constexpr RowCaptions kRowCaptions[kListKinds] = {
    {kIdsRecentFilesHeader, {kIdsEditRecent, 0}, {kIdsEditRecentForAll, 0}},
    {kIdsFavoriteFilesHeader,
     {kIdsAddSelectedFile, kIdsEditFavorites},
     {kIdsAddSelectedFileForAll, kIdsEditFavoritesForAll}},
    {kIdsRecentFoldersHeader, {kIdsEditRecent, 0}, {kIdsEditRecentForAll, 0}},
    {kIdsFavoriteFoldersHeader,
     {kIdsAddCurrentFolder, kIdsEditFavorites},
     {kIdsAddCurrentFolderForAll, kIdsEditFavoritesForAll}},
};

// The entry at position (1 to 100) into buf; false for an empty position or one outside.
bool ReadEntry(const StoredList& list, int position, char* buf, size_t size) {
    buf[0] = 0;
    if (!list.entries || position < 1 || position > kListSlots)
        return false;
    return CopyField(buf, size, (*list.entries)[position - 1], kListEntrySize) > 0;
}

void AddCaption(ListRows& rows, CaptionSource& captions, int id) {
    char text[kFittedTextSize] = "";
    if (id && captions.Caption(id, text, sizeof text) && text[0])
        rows.Add(text);
}

void AddCommandRows(ListRows& rows, CaptionSource& captions, const int (&ids)[kMaxCommandRows],
                    TextMeasure& measure, int room) {
    for (int id : ids)
        AddCaption(rows, captions, id);
    char separator[kFittedTextSize];
    PaddedCaption(captions, kIdsListSeparator, measure, room, separator, sizeof separator);
    if (separator[0])
        rows.Add(separator);
}

bool HasRow(ListRows& rows, int count, const char* text) {
    char row[kShownEntrySize];
    for (int i = 0; i < count; ++i)
        if (rows.Row(i, row, sizeof row) && CompareNoCase(row, text, sizeof row) == 0)
            return true;
    return false;
}

// Empties out for a look-up; whether rowText may stand for an entry at all (a text beginning with
// a space or "_" is a header or command row).
bool BeginLookUp(const char* rowText, char* out, size_t cap) {
    if (!out || cap == 0)
        return false;
    out[0] = 0;
    return rowText && rowText[0] && rowText[0] != ' ' && rowText[0] != '_';
}

} // namespace

void EntryDisplay(const char* entry, const EntryForm& form, TextMeasure& measure, char* out,
                  size_t cap) {
    const char* shown =
        DisplayForm(entry, form.favorite, form.paths, form.recentPathOption, form.base);
    const bool asStored = form.favorite && IsMask(entry);
    const bool nameOnly = !form.paths && form.recentPathOption == kShowNameOnly;
    if (asStored || nameOnly || !form.compact)
        CopyText(out, cap, shown);
    else
        CompactPath(measure, form.room, shown, out, cap);
}

int AddEntryRows(ListRows& rows, const StoredList& list, const EntryForm& form, int max,
                 bool skipDuplicates, TextMeasure& measure) {
    if (!list.entries)
        return 0;
    int position = form.favorite ? 1 : list.last;
    int added = 0;
    char entry[kListEntrySize], shown[kShownEntrySize];
    for (int step = 0; step < kListSlots && added < max; ++step) {
        if (!ReadEntry(list, position, entry, sizeof entry))
            break;
        EntryDisplay(entry, form, measure, shown, sizeof shown);
        bool add = true;
        if (skipDuplicates) {
            int count = rows.Count();
            add = count >= 0 && !HasRow(rows, count, shown);
        }
        if (add) {
            rows.Add(shown);
            ++added;
        }
        if (form.favorite)
            ++position;
        else
            position = position == 1 ? kListSlots : position - 1;
    }
    return added;
}

ListShape ShapeOf(const HookSettings& settings, bool favorite) {
    ListShape shape = {};
    shape.header = settings.includeRecentHeaders != 0;
    const int include = favorite ? settings.includeAddEditFavs : settings.includeEditRecent;
    shape.commandRows = include != 0 || settings.showListEditEntries != 0;
    shape.allApplications =
        (favorite ? settings.includeFavoriteAll : settings.includeRecentAll) != 0;
    int shown = favorite ? kListSlots : settings.recentShown;
    shape.maxEntries = shown < 0 ? 0 : (shown > kListSlots ? kListSlots : shown);
    shape.skipRepeatedAll = !favorite;
    return shape;
}

void PaddedCaption(CaptionSource& captions, int captionId, TextMeasure& measure, int room,
                   char* out, size_t size) {
    if (!out || size == 0)
        return;
    if (!captions.Caption(captionId, out, size))
        out[0] = 0;
    out[size - 1] = 0;
    PadToWidth(measure, room, out, size);
}

void FillDropList(ListRows& rows, const EntryForm& form, const ListShape& shape,
                  const StoredList& app, const StoredList& all, const char* title,
                  CaptionSource& captions, TextMeasure& measure) {
    const RowCaptions& ids = kRowCaptions[KindOf(form.favorite, form.paths)];
    if (shape.header)
        AddCaption(rows, captions, ids.header);
    if (shape.commandRows)
        AddCommandRows(rows, captions, ids.appCommands, measure, form.room);
    AddEntryRows(rows, app, form, shape.maxEntries, false, measure);
    if (!shape.allApplications)
        return;
    if (title && title[0])
        rows.Add(title);
    if (shape.commandRows)
        AddCommandRows(rows, captions, ids.allCommands, measure, form.room);
    AddEntryRows(rows, all, form, shape.maxEntries, shape.skipRepeatedAll, measure);
}

void AddPlaceRows(ListRows& rows, const LinuxPlaces& places, const EntryForm& form,
                  CaptionSource& captions, TextMeasure& measure) {
    if (places.count <= 0)
        return;
    AddCaption(rows, captions, kIdsLinuxPlacesHeader);
    char shown[kShownEntrySize];
    for (int i = 0; i < places.count && i < kMaxLinuxPlaces; ++i) {
        EntryDisplay(places.folders[i], form, measure, shown, sizeof shown);
        rows.Add(shown);
    }
}

bool FindPlaceByRowText(const char* rowText, const LinuxPlaces& places, const EntryForm& form,
                        TextMeasure& measure, char* out, size_t cap) {
    if (!BeginLookUp(rowText, out, cap))
        return false;
    char shown[kShownEntrySize];
    for (int i = 0; i < places.count && i < kMaxLinuxPlaces; ++i) {
        EntryDisplay(places.folders[i], form, measure, shown, sizeof shown);
        if (CompareNoCase(shown, rowText, sizeof shown) == 0) {
            CopyText(out, cap, places.folders[i]);
            return true;
        }
    }
    return false;
}

bool FindEntryByRowText(const char* rowText, const StoredList& list, const EntryForm& form,
                        TextMeasure& measure, char* out, size_t cap) {
    if (!BeginLookUp(rowText, out, cap))
        return false;
    if (!strstr(rowText, "...") && (form.paths || form.recentPathOption == kShowCompletePath)) {
        CopyText(out, cap, rowText);
        return true;
    }
    char entry[kListEntrySize], shown[kShownEntrySize];
    for (int position = 1; position <= kListSlots; ++position) {
        if (!ReadEntry(list, position, entry, sizeof entry)) {
            if (form.favorite)
                break;
            continue;
        }
        EntryDisplay(entry, form, measure, shown, sizeof shown);
        if (CompareNoCase(shown, rowText, sizeof shown) == 0) {
            CopyText(out, cap, entry);
            return true;
        }
    }
    return false;
}

} // namespace vn
