// The rules of the trained-application editor: the manager's editing copy of the trained
// database, the "Trained Application Configuration" dialog that edits one entry, and the file
// types list inside it. Nothing here talks to Win32; the dialogs (trained_editor_win.h) keep
// their control values in TrainedEditorValues and ask these rules what to enable, where the
// selection goes and what to store.
#pragma once

#include "hook/core/trained_entry.h"
#include "hook/trained/trained_db.h"

namespace vn {

// The editor's limits on what the user types: the name and the match title are shown in 79
// characters, the default extension keeps 18, a file type's description 60 and its masks 39.
constexpr int kEditorTitleChars = 79;
constexpr int kDefaultExtChars = 18;
constexpr int kTypeDescriptionChars = 60;
constexpr int kTypeMasksChars = 39;
// Room for the text of an offset field: a sign, five digits and some spaces around them.
constexpr int kOffsetTextSize = 16;

using FileTypeSlots = char[kFileTypeSlots][kFileTypeSize];

// ---- The list of trained applications ----

// The line shown for an entry: "<application name> : <final title>".
void TrainedListLine(const TrainedEntry& entry, char* out, size_t cap);

// A list's selection after it was redisplayed with lines lines: one at or beyond the end becomes
// the last line (-1 for an empty list); a negative one stays -1.
int ClampSelection(int selection, int lines);

// Removes entry index of count, moving the later ones up and zeroing the freed slot, so that the
// slots after the entries stay zero. Returns the new count (count unchanged for a bad index).
int DeleteTrainedEntry(TrainedEntry* entries, int count, int index);

// How importing a training file into the editing copy ended.
enum class ImportOutcome {
    kImported,     // the file's records follow the existing entries (possibly none)
    kNotOpened,    // the file could not be read: nothing added
    kWrongFormat,  // a record of another length, or a file cut inside a record
    kDatabaseFull, // already kMaxTrainedEntries entries: the file was not opened
};

// Appends the records of the training file at path to the count entries of entries (room for
// kMaxTrainedEntries) and raises *count. Only kImported changes anything: on every other outcome
// entries, including the slots after the existing ones, and *count are left exactly as they were.
ImportOutcome ImportIntoCopy(RecordFile& file, const char* path, TrainedEntry* entries, int* count);

// ---- The "Trained Application Configuration" dialog ----

// The values of the dialog's controls, as the dialog exchanges them. Texts are as typed; the
// offsets are the texts of their number fields.
struct TrainedEditorValues {
    char appName[kTitleSize];
    char matchTitle[kTitleSize];
    bool matchPartial;
    int dialogKind; // TrainedDialogKind
    bool enabled;
    bool addButton;
    bool autoOpenClose;
    bool hideOriginal;
    char offsetX[kOffsetTextSize];
    char offsetY[kOffsetTextSize];
    char defaultExt[kDefaultExtChars + 2]; // one over the limit shows that the entry held more
    bool longNames;
};

// The control values that show entry.
void ValuesFromEntry(const TrainedEntry& entry, TrainedEditorValues& values);

// What storing the values into an entry found.
enum class StoreResult { kStored, kBadOffsetX, kBadOffsetY };

// Writes the values into entry: the name and the match title (79 characters), the default
// extension (18), the flags as 0 or 1 and the offsets. An offset that is not an integer stores
// nothing and names the field to correct. The module name and the two dialog titles, which the
// dialog only shows, are never written.
StoreResult StoreValues(const TrainedEditorValues& values, TrainedEntry& entry);

// An offset field's text as an integer: optional spaces, an optional sign, decimal digits,
// optional spaces, and within the 16-bit range the entry stores. False for anything else.
bool ParseOffset(const char* text, int16_t* out);
void FormatOffset(int16_t value, char* out, size_t cap);

// Which controls of the dialog are enabled for the values and the selected type.
struct EditorEnables {
    bool autoOpenClose; // only for an added button
    bool offsets;       // the two offset fields and their labels, likewise
    bool hideOriginal;  // added button with automatic open and close
    bool insertType;    // these three need a selected type
    bool editType;
    bool deleteType;
    bool moveUp;   // a selected type after the first
    bool moveDown; // a selected type among the first 39 with a type after it
};

EditorEnables ComputeEnables(bool addButton, bool autoOpenClose, const FileTypeSlots& types,
                             int typeSelection);

// ---- The file types list ----

// Makes the slots a list that ends at its first empty slot (a damaged file may leave gaps) and
// ends every slot's text inside it, so that line i of the list is slot i.
void PackFileTypes(FileTypeSlots& types);

// Number of types: slots before the first empty one.
int FileTypeCount(const FileTypeSlots& types);

// The line shown for a type "description|masks": the description, then two spaces and the masks
// in parentheses unless the description already names them ("All Files (*.*)|*.*" shows as
// "All Files (*.*)").
void FileTypeLine(const char* type, char* out, size_t cap);

// A type's two parts: before the first "|", and after it (empty without a bar), each cut to the
// editor's limit.
void SplitFileType(const char* type, char* description, size_t descriptionCap, char* masks,
                   size_t masksCap);

// "description|masks", cut to a slot's 100 characters.
void JoinFileType(const char* description, const char* masks, char* out, size_t cap);

// The commands of the types list.
enum class TypeCommand { kAdd, kInsert, kEdit, kDelete, kMoveUp, kMoveDown };

// What a command may do before anything is asked of the user.
enum class TypeCommandStart {
    kGo,       // ask (a type dialog or a confirmation) and then apply
    kListFull, // Add or Insert with all 40 slots used: say so and stop
    kNothing,  // no type selected, or nothing to move: stop without a word
};

TypeCommandStart StartTypeCommand(TypeCommand command, const FileTypeSlots& types,
                                  int typeSelection);

// The types list after a command.
struct TypeCommandResult {
    bool changed;
    int selection; // the selection to show (before ClampSelection of the redisplay)
};

// Applies a command that StartTypeCommand let go: Add stores type in the first empty slot and
// keeps the selection; Insert moves the selected type and those after it down and stores type in
// its place, which stays selected; Edit replaces the selected type; Delete moves the later types
// up and empties the last slot; the moves swap the selected type with its neighbour and the
// selection follows it. type is used by Add, Insert and Edit only.
TypeCommandResult ApplyTypeCommand(TypeCommand command, FileTypeSlots& types, int typeSelection,
                                   const char* type);

} // namespace vn
