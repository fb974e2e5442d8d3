// The rows of the four drop-down lists (recent files, recent folders, favourite files, favourite
// folders) and of the editors' list boxes: which rows a list shows and in what order, how each
// stored entry is shown, and which stored entry a chosen row stands for.
//
// A full drop-down list shows, each group only when its setting asks for it: a header; the
// command rows of the application's list and a separator; the application's entries; the title
// "= All Applications ="; the command rows of the all-applications list and a separator; the
// all-applications entries. Nothing here talks to Win32: the control is reached through ListRows,
// widths through TextMeasure, captions through CaptionSource.
#pragma once

#include "hook/core/captions.h"
#include "hook/core/settings_block.h"
#include "hook/core/text_fit.h"
#include "hook/lists/linux_places.h"
#include "hook/lists/list_store.h"

namespace vn {

// The rows of one list control, as the filling sees them.
class ListRows {
  public:
    // Rows in the control; negative when it does not tell.
    virtual int Count() = 0;
    // Row index into buf; false when it cannot be read or is longer than size - 1 characters.
    virtual bool Row(int index, char* buf, size_t size) = 0;
    virtual void Add(const char* text) = 0;

  protected:
    ~ListRows() = default; // never owned through this interface
};

// One stored list. entries may be shared with other processes, which may write them at any time:
// every entry is read as a field of kListEntrySize. Null entries: the application has no lists
// in memory. last matters for recent lists only.
struct StoredList {
    const ListEntries* entries;
    int last;
};

// How the entries of one list are shown.
struct EntryForm {
    bool favorite;
    bool paths;           // a folders list: entries are shown as folders, whatever the option
    int recentPathOption; // RecentPathOption, for the files lists
    const char* base;     // the folder relative paths are shown against, or null
    bool compact;         // shorten paths to room (not in the editors' list boxes)
    int room;             // the width in pixels a row may take
};

// Long enough for any shown entry: a path shortened with "..." may be three characters longer
// than the path.
constexpr size_t kShownEntrySize = kMaxPath + 8;

// How entry is shown: a favourite mask as stored; a file with "No Path" by its name only; with
// "Relative Path" relative to base; then, unless by name only, shortened to the room.
void EntryDisplay(const char* entry, const EntryForm& form, TextMeasure& measure, char* out,
                  size_t cap);

// Adds the entries of list in the order they are shown: favourites from position 1 forward,
// recent lists from their Last backwards round the ring, at most 100 positions; both stop at the
// first empty position, and once max entries were added. With skipDuplicates an entry shown
// exactly as an existing row (ignoring case) is neither added nor counted, and none is added
// while the control cannot count its rows. A recent list whose Last is not a position shows
// nothing. Returns the number added.
int AddEntryRows(ListRows& rows, const StoredList& list, const EntryForm& form, int max,
                 bool skipDuplicates, TextMeasure& measure);

// Which groups of rows a drop-down list shows, from the settings.
struct ListShape {
    bool header;          // "Include Recent Headers"
    bool commandRows;     // the Include setting of the family, or showListEditEntries
    bool allApplications; // "Include Recent All" / "Include Favorite All"
    int maxEntries;       // "Recent Shown" (0 to 100) for recent lists, 100 for favourites
    bool skipRepeatedAll; // leave out all-applications entries shown above (recent lists)
};

ListShape ShapeOf(const HookSettings& settings, bool favorite);

// The caption id padded against the room, for the title of a pair of lists: it is measured
// against the files list and the same text goes into the folders list. Empty when the caption is
// missing.
void PaddedCaption(CaptionSource& captions, int captionId, TextMeasure& measure, int room,
                   char* out, size_t size);

// Fills an emptied drop-down list from the top: the rows the shape asks for, the application's
// entries and the all-applications entries, with title as its all-applications title. Rows whose
// caption is missing are left out.
void FillDropList(ListRows& rows, const EntryForm& form, const ListShape& shape,
                  const StoredList& app, const StoredList& all, const char* title,
                  CaptionSource& captions, TextMeasure& measure);

// Adds the Linux desktop's folders below everything else of the favourite folders list: their
// own header (always: without it they would run on from the favourites above) and each folder
// as a folder entry is shown. Nothing when there are none.
void AddPlaceRows(ListRows& rows, const LinuxPlaces& places, const EntryForm& form,
                  CaptionSource& captions, TextMeasure& measure);

// The place a chosen row of the favourite folders list stands for, as FindEntryByRowText finds a
// stored entry: a row shortened to the list's width is compared with each place's shown form.
bool FindPlaceByRowText(const char* rowText, const LinuxPlaces& places, const EntryForm& form,
                        TextMeasure& measure, char* out, size_t cap);

// The stored entry a chosen row's text stands for, copied whole into out. A text beginning with a
// space or "_" is no entry. A full path or folder that was not shortened is the entry itself;
// any other text is compared, ignoring case, with the shown form of each entry (recent lists over
// all positions 1 to 100, favourites up to the first empty one), and the first equal one wins.
bool FindEntryByRowText(const char* rowText, const StoredList& list, const EntryForm& form,
                        TextMeasure& measure, char* out, size_t cap);

} // namespace vn
