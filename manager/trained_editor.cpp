#include "manager/trained_editor.h"

#include "hook/core/text.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace vn {

namespace {

constexpr size_t kTypeChars = kFileTypeSize - 1;

bool IsEmptyType(const char* type) {
    return type[0] == 0;
}

// A type's slot holds its text and zeroes after it, as in every record the system writes.
void StoreType(char* slot, const char* type) {
    memset(slot, 0, kFileTypeSize);
    CopyText(slot, kFileTypeSize, type);
}

// A text field of an entry holds at most its size less one character: a byte in the
// terminator's place, which only a damaged file has, is not part of the text.
template <size_t N>
void FieldText(char* dst, size_t cap, const char (&field)[N]) {
    CopyField(dst, cap, field, N - 1);
}

bool ValidIndex(int index, int count) {
    return index >= 0 && index < count;
}

// Watches whether the import opened its file: the rules report a file that could not be read
// and an empty one alike, and the editor tells them apart.
class OpenWatch final : public RecordFile {
  public:
    explicit OpenWatch(RecordFile& file) : file_(file) {}
    bool opened = false;

    bool OpenRead(const char* path) override { return opened = file_.OpenRead(path); }
    bool OpenWrite(const char* path) override { return file_.OpenWrite(path); }
    size_t Read(void* dst, size_t n) override { return file_.Read(dst, n); }
    size_t Write(const void* src, size_t n) override { return file_.Write(src, n); }
    bool Close(bool commit) override { return file_.Close(commit); }

  private:
    RecordFile& file_;
};

bool ParseSign(const char*& p) {
    bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    return negative;
}

const char* SkipSpaces(const char* p) {
    while (*p == ' ' || *p == '\t')
        ++p;
    return p;
}

} // namespace

void TrainedListLine(const TrainedEntry& entry, char* out, size_t cap) {
    if (!out || cap == 0)
        return;
    FieldText(out, cap, entry.appName);
    AppendText(out, cap, " : ");
    char title[sizeof entry.finalTitle];
    FieldText(title, sizeof title, entry.finalTitle);
    AppendText(out, cap, title);
}

int ClampSelection(int selection, int lines) {
    if (selection < 0)
        return -1;
    return selection >= lines ? lines - 1 : selection;
}

int DeleteTrainedEntry(TrainedEntry* entries, int count, int index) {
    if (!entries || count > kMaxTrainedEntries || !ValidIndex(index, count))
        return count;
    memmove(&entries[index], &entries[index + 1],
            sizeof entries[0] * static_cast<size_t>(count - index - 1));
    memset(&entries[count - 1], 0, sizeof entries[0]);
    return count - 1;
}

ImportOutcome ImportIntoCopy(RecordFile& file, const char* path, TrainedEntry* entries,
                             int* count) {
    if (!entries || !count || *count < 0 || *count > kMaxTrainedEntries)
        return ImportOutcome::kNotOpened;
    if (*count == kMaxTrainedEntries)
        return ImportOutcome::kDatabaseFull;
    // The records go into a scratch copy first: the copy the user edits changes only when the
    // whole file was taken.
    TrainedEntry* scratch = new (std::nothrow) TrainedEntry[kMaxTrainedEntries]();
    if (!scratch)
        return ImportOutcome::kNotOpened;
    memcpy(scratch, entries, sizeof entries[0] * static_cast<size_t>(*count));
    OpenWatch watch(file);
    int result = ImportTrainingFile(watch, path, scratch, *count);
    ImportOutcome outcome = ImportOutcome::kImported;
    if (result < 0)
        outcome = ImportOutcome::kWrongFormat;
    else if (!watch.opened)
        outcome = ImportOutcome::kNotOpened;
    else {
        memcpy(&entries[*count], &scratch[*count],
               sizeof entries[0] * static_cast<size_t>(result - *count));
        *count = result;
    }
    delete[] scratch;
    return outcome;
}

void ValuesFromEntry(const TrainedEntry& entry, TrainedEditorValues& values) {
    FieldText(values.appName, sizeof values.appName, entry.appName);
    FieldText(values.matchTitle, sizeof values.matchTitle, entry.matchTitle);
    values.matchPartial = entry.matchPartial != 0;
    values.dialogKind = entry.dialogKind <= kTrainedFolder ? entry.dialogKind : int{kTrainedOpen};
    values.enabled = entry.enabled != 0;
    values.addButton = entry.addButton == 1;
    values.autoOpenClose = entry.autoOpenClose != 0;
    values.hideOriginal = entry.hideOriginal != 0;
    FormatOffset(entry.buttonOffsetX, values.offsetX, sizeof values.offsetX);
    FormatOffset(entry.buttonOffsetY, values.offsetY, sizeof values.offsetY);
    FieldText(values.defaultExt, sizeof values.defaultExt, entry.defaultExt);
    values.longNames = entry.longNames != 0;
}

StoreResult StoreValues(const TrainedEditorValues& values, TrainedEntry& entry) {
    int16_t x = 0, y = 0;
    if (!ParseOffset(values.offsetX, &x))
        return StoreResult::kBadOffsetX;
    if (!ParseOffset(values.offsetY, &y))
        return StoreResult::kBadOffsetY;
    // The whole field is rewritten so that no byte of a longer old text stays behind it.
    memset(entry.appName, 0, sizeof entry.appName);
    CopyField(entry.appName, kEditorTitleChars + 1, values.appName, sizeof values.appName);
    memset(entry.matchTitle, 0, sizeof entry.matchTitle);
    CopyField(entry.matchTitle, kEditorTitleChars + 1, values.matchTitle, sizeof values.matchTitle);
    memset(entry.defaultExt, 0, sizeof entry.defaultExt);
    CopyField(entry.defaultExt, kDefaultExtChars + 1, values.defaultExt, sizeof values.defaultExt);
    entry.matchPartial = values.matchPartial ? 1 : 0;
    bool knownKind = values.dialogKind >= kTrainedOpen && values.dialogKind <= kTrainedFolder;
    entry.dialogKind = static_cast<uint16_t>(knownKind ? values.dialogKind : int{kTrainedOpen});
    entry.enabled = values.enabled ? 1 : 0;
    entry.addButton = values.addButton ? 1 : 0;
    entry.autoOpenClose = values.autoOpenClose ? 1 : 0;
    entry.hideOriginal = values.hideOriginal ? 1 : 0;
    entry.longNames = values.longNames ? 1 : 0;
    entry.buttonOffsetX = x;
    entry.buttonOffsetY = y;
    return StoreResult::kStored;
}

bool ParseOffset(const char* text, int16_t* out) {
    if (!text || !out)
        return false;
    const char* p = SkipSpaces(text);
    bool negative = ParseSign(p);
    if (*p < '0' || *p > '9')
        return false;
    long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > 32768)
            return false;
    }
    if (*SkipSpaces(p) != 0)
        return false;
    if (negative)
        value = -value;
    if (value > 32767)
        return false;
    *out = static_cast<int16_t>(value);
    return true;
}

void FormatOffset(int16_t value, char* out, size_t cap) {
    if (out && cap > 0)
        snprintf(out, cap, "%d", static_cast<int>(value));
}

EditorEnables ComputeEnables(bool addButton, bool autoOpenClose, const FileTypeSlots& types,
                             int typeSelection) {
    EditorEnables e{};
    e.autoOpenClose = addButton;
    e.offsets = addButton;
    e.hideOriginal = addButton && autoOpenClose;
    bool selected = ValidIndex(typeSelection, kFileTypeSlots) && !IsEmptyType(types[typeSelection]);
    e.insertType = e.editType = e.deleteType = selected;
    e.moveUp = selected && typeSelection > 0;
    e.moveDown =
        selected && typeSelection < kFileTypeSlots - 1 && !IsEmptyType(types[typeSelection + 1]);
    return e;
}

void PackFileTypes(FileTypeSlots& types) {
    int next = 0;
    for (int i = 0; i < kFileTypeSlots; ++i) {
        types[i][kTypeChars] = 0;
        if (IsEmptyType(types[i]))
            continue;
        if (i != next)
            memcpy(types[next], types[i], kFileTypeSize);
        ++next;
    }
    for (; next < kFileTypeSlots; ++next)
        memset(types[next], 0, kFileTypeSize);
}

int FileTypeCount(const FileTypeSlots& types) {
    int n = 0;
    while (n < kFileTypeSlots && !IsEmptyType(types[n]))
        ++n;
    return n;
}

void FileTypeLine(const char* type, char* out, size_t cap) {
    char description[kFileTypeSize], masks[kFileTypeSize];
    SplitFileType(type, description, sizeof description, masks, sizeof masks);
    CopyText(out, cap, description);
    if (strstr(description, masks))
        return;
    AppendText(out, cap, "  (");
    AppendText(out, cap, masks);
    AppendText(out, cap, ")");
}

void SplitFileType(const char* type, char* description, size_t descriptionCap, char* masks,
                   size_t masksCap) {
    char whole[kFileTypeSize];
    CopyField(whole, sizeof whole, type, kFileTypeSize);
    char* bar = strchr(whole, '|');
    const char* after = "";
    if (bar) {
        *bar = 0;
        after = bar + 1;
    }
    CopyText(description, descriptionCap, whole);
    CopyText(masks, masksCap, after);
}

void JoinFileType(const char* description, const char* masks, char* out, size_t cap) {
    size_t room = cap < kFileTypeSize ? cap : kFileTypeSize;
    CopyText(out, room, description);
    AppendText(out, room, "|");
    AppendText(out, room, masks);
}

TypeCommandStart StartTypeCommand(TypeCommand command, const FileTypeSlots& types,
                                  int typeSelection) {
    int count = FileTypeCount(types);
    bool selected = ValidIndex(typeSelection, count);
    switch (command) {
    case TypeCommand::kAdd:
        return count == kFileTypeSlots ? TypeCommandStart::kListFull : TypeCommandStart::kGo;
    case TypeCommand::kInsert:
        if (count == kFileTypeSlots)
            return TypeCommandStart::kListFull;
        return selected ? TypeCommandStart::kGo : TypeCommandStart::kNothing;
    case TypeCommand::kEdit:
    case TypeCommand::kDelete:
        return selected ? TypeCommandStart::kGo : TypeCommandStart::kNothing;
    case TypeCommand::kMoveUp:
        return selected && typeSelection > 0 ? TypeCommandStart::kGo : TypeCommandStart::kNothing;
    case TypeCommand::kMoveDown:
        return selected && typeSelection + 1 < count ? TypeCommandStart::kGo
                                                     : TypeCommandStart::kNothing;
    }
    return TypeCommandStart::kNothing;
}

TypeCommandResult ApplyTypeCommand(TypeCommand command, FileTypeSlots& types, int typeSelection,
                                   const char* type) {
    TypeCommandResult result{false, typeSelection};
    if (StartTypeCommand(command, types, typeSelection) != TypeCommandStart::kGo)
        return result;
    int count = FileTypeCount(types);
    switch (command) {
    case TypeCommand::kAdd:
        StoreType(types[count], type);
        break;
    case TypeCommand::kInsert:
        memmove(types[typeSelection + 1], types[typeSelection],
                kFileTypeSize * static_cast<size_t>(count - typeSelection));
        StoreType(types[typeSelection], type);
        break;
    case TypeCommand::kEdit:
        StoreType(types[typeSelection], type);
        break;
    case TypeCommand::kDelete:
        memmove(types[typeSelection], types[typeSelection + 1],
                kFileTypeSize * static_cast<size_t>(kFileTypeSlots - typeSelection - 1));
        memset(types[kFileTypeSlots - 1], 0, kFileTypeSize);
        break;
    case TypeCommand::kMoveUp:
    case TypeCommand::kMoveDown: {
        int other = command == TypeCommand::kMoveUp ? typeSelection - 1 : typeSelection + 1;
        char held[kFileTypeSize];
        memcpy(held, types[other], kFileTypeSize);
        memcpy(types[other], types[typeSelection], kFileTypeSize);
        memcpy(types[typeSelection], held, kFileTypeSize);
        result.selection = other;
        break;
    }
    }
    result.changed = true;
    return result;
}

} // namespace vn
