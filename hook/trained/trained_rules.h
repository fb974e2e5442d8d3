// The rules of trained dialogs that need no platform: which entry a live dialog is, the standard
// dialog that stands in for it (kinds, filter, first name, the name handed back), the file types
// and default extension taken from the application's own type list, and the table of trained
// dialogs open in one process. The entries live in memory every process of the desktop can
// write, so every index and field read from them is checked or bounded before it is used.
#pragma once

#include "hook/core/trained_entry.h"

#include <cstddef>

namespace vn {

// --- which entry a live dialog is ------------------------------------------------------------

// At the dialog's first child: among the entries that share the creation data of entry current,
// the first whose title tells it apart and fits the dialog's title now (title) or when its
// handling began (slotTitle). Returns the index to use: current when no other fits.
int RefineAtFirstChild(const TrainedEntry* entries, int count, int current, const char* title,
                       const char* slotTitle);

// When the action starts. index is the entry to use; handled is false when the dialog turns out
// not to be a trained one (an entry without a creation title whose titles the dialog does not
// show) or when the entry is switched off.
struct Refined {
    int index;
    bool handled;
};
Refined RefineAtStart(const TrainedEntry* entries, int count, int current, const char* title);

// --- the application's file types ---------------------------------------------------------------

// The mask of one item of the application's type list: "Text Documents (*.txt)" gives "*.txt",
// "TXT" gives "*.TXT", "DOC file" gives "*.DOC"; empty when the item names none.
void ItemMask(const char* item, char* mask, size_t cap);

// Fills entry's file types from the type list's items (at most kFileTypeSlots are read), each as
// "item|mask"; items without a mask, and those too long for a slot, are skipped. Without any, the
// one type is allFiles. Returns the number of types.
int FileTypesFromItems(TrainedEntry& entry, const char* const* items, int itemCount,
                       const char* allFiles);

// The default extension (without the dot): from a mask in the name box's text ("*.txt"), else
// from the first file type. Extensions longer than three characters, or with wildcards, are none.
void DefaultExtension(TrainedEntry& entry, const char* nameBoxTextOrNull);

// --- the standard dialog that stands in ---------------------------------------------------------

// Flags of the request, as the common-dialog library defines them.
constexpr uint32_t kOfnHideReadOnly = 0x4;
constexpr uint32_t kOfnPathMustExist = 0x800;
constexpr uint32_t kOfnFileMustExist = 0x1000;
constexpr uint32_t kOfnLongNames = 0x200000;

constexpr size_t kFilterSize = 4080;
constexpr size_t kChosenNameSize = 261;

// How one kind of trained dialog is stood in for: title, flags, and which call.
struct KindChoice {
    char title[kTitleSize];
    uint32_t flags;
    bool save; // the Save dialog's call (Save and Select Folder)
};
KindChoice ChooseKind(const TrainedEntry& entry, const char* selectFolderTitle);

// The filter: each file type with a wildcard mask as a description and masks pair, zero-terminated
// strings ended by an empty one; allFiles ("All Files (*.*)|*.*") when none fits. Returns the
// length including the final terminator.
size_t BuildFilter(const TrainedEntry& entry, const char* allFiles, char* out, size_t cap);

// The name the standard dialog opens with. nameBoxText is the application's name box (already
// lengthened when the application takes short names); folderHint is the Select Folder prompt.
void InitialName(const TrainedEntry& entry, const char* nameBoxText, const char* folderHint,
                 char* out, size_t cap);

// The chosen name as the application gets it: a Select Folder choice cut to its folder (with the
// trailing backslash), an Open or Save name without an extension given a "." so that the
// application adds none of its own.
void FinishChosenName(const TrainedEntry& entry, char* name, size_t cap);

// --- the table of trained dialogs in one process -------------------------------------------------

constexpr int kTrainedWindowSlots = 10;

// One trained dialog being handled. Handles are this process's own, kept as uintptr_t so that
// the rules build without the platform headers. The entry is a copy: the shared database may be
// reloaded, or written by anyone, while the dialog is open.
struct TrainedWindow {
    uint32_t inUse;
    int32_t entryIndex;
    TrainedEntry entry;
    uintptr_t oldProc;
    uint32_t initialized; // the action has been started
    uint32_t wasShown;    // the application tried to show the dialog before that
    uintptr_t dialog;
    uint32_t closing; // the standard dialog's result has been handed over
    uint32_t closeTimer;
    uint32_t noteTimer;
    uint32_t inStandardDialog; // the standard dialog is open from this slot
    uint32_t givenUp;          // not the trained dialog after all: every message passes on
    uint16_t buttonId;
    uintptr_t nameParent;
    uintptr_t buttonFont;
    uint32_t fontCreated;
    char title[kTitleSize];
    uintptr_t button;
    uintptr_t buttonParent;
    uintptr_t buttonOldProc;
};

struct TrainedWindowTable {
    TrainedWindow slots[kTrainedWindowSlots];
    int top; // the highest slot that may be in use
};

// Takes the first free slot, cleared and marked in use; -1 when all are taken.
int AllocTrainedWindow(TrainedWindowTable& table);
void FreeTrainedWindow(TrainedWindowTable& table, int slot);
// The slot of a dialog (whole handles are compared), or -1.
int FindTrainedWindow(const TrainedWindowTable& table, uintptr_t dialog);
// The slot whose entry is of module (ignoring case), or -1.
int FindTrainedModule(const TrainedWindowTable& table, const char* module);

} // namespace vn
