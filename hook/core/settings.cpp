#include "hook/core/settings.h"

#include "hook/core/shared_state.h"
#include "hook/core/text.h"

#include <cstdio>
#include <cstring>

namespace vn {

static_assert(offsetof(ManagerSettings, values) == 0, "the key table's offsets serve both sides");

namespace {

// Row builders: the library reads a HookSettings field, the manager-only keys live in
// ManagerSettings after the HookSettings part.
#define VN_FIELD(field) static_cast<uint16_t>(offsetof(HookSettings, field))
#define VN_MANAGER_FIELD(field) static_cast<uint16_t>(offsetof(ManagerSettings, field))

constexpr uint16_t kBoth = kKeyLibrary | kKeyManager;
constexpr uint16_t kBothBool = kKeyLibrary | kKeyManager | kKeyBoolean;
constexpr uint16_t kFileButton = kBothBool | kKeyButton | kKeyFileButton;

constexpr OutOfRange kClamp = OutOfRange::kClamp;
constexpr OutOfRange kToDefault = OutOfRange::kToDefault;

// The manager also asks for it to tell a written file from one that is missing or empty.
constexpr const char* kKeyHeight32 = "Height32";

} // namespace

// The rows follow the library's read order; the order of the manager-only rows is the order the
// manager reads and writes them ("Trained Enabled" after the lists).
constexpr SettingKey kSettingKeys[] = {
    {kKeyCommonEnabled, VN_MANAGER_FIELD(commonEnabled), kKeyManager | kKeyBoolean, 0, 1, 0, 1,
     kClamp},
    {kKeyShowIcon, VN_MANAGER_FIELD(showIcon), kKeyManager | kKeyBoolean, 0, 1, 0, 1, kClamp},
    {"Use Last Dir", VN_FIELD(useLastDir), kBothBool, 1, 1, 0, 1, kClamp},
    {"Use Recycle Bin", VN_FIELD(useRecycleBin), kBothBool, 1, 1, 0, 1, kClamp},
    {"Center Dialog", VN_FIELD(centerDialog), kBothBool, 1, 1, 0, 1, kClamp},
    {"UseLastPosition", VN_FIELD(useLastPosition), kBothBool, 0, 0, 0, 1, kClamp},
    {"UseLastSize", VN_FIELD(useLastSize), kBothBool, 1, 0, 0, 1, kClamp},
    {"Add Vn Buttons", VN_FIELD(addVnButtons), kBothBool, 1, 1, 0, 1, kClamp},
    {"View Details", VN_FIELD(viewDetails), kBothBool, 0, 0, 0, 1, kClamp},
    {"Remember Column Widths", VN_FIELD(rememberColumnWidths), kBothBool, 0, 1, 0, 1, kClamp},
    {"Add Clip Button", VN_FIELD(addClipButton), kFileButton, 1, 1, 0, 1, kClamp},
    {"Add Copy Button", VN_FIELD(addCopyButton), kFileButton, 1, 1, 0, 1, kClamp},
    {"Add Move Button", VN_FIELD(addMoveButton), kFileButton, 1, 1, 0, 1, kClamp},
    {"Add Rename Button", VN_FIELD(addRenameButton), kFileButton, 1, 1, 0, 1, kClamp},
    {"Add Find Button", VN_FIELD(addFindButton), kFileButton, 1, 1, 0, 1, kClamp},
    {"Add MkDir Button", VN_FIELD(addMkDirButton), kFileButton, 1, 1, 0, 1, kClamp},
    {"Add Delete Button", VN_FIELD(addDeleteButton), kFileButton, 1, 1, 0, 1, kClamp},
    {"Add Vantor Button", VN_FIELD(addVantorButton), kBothBool | kKeyButton, 1, 1, 0, 1, kClamp},
    {"Show Recent", VN_FIELD(showRecent), kBothBool, 1, 1, 0, 1, kClamp},
    {"Show Favorites", VN_FIELD(showFavorites), kBothBool, 1, 1, 0, 1, kClamp},
    {"Show List Hints", VN_FIELD(showListHints), kBothBool, 0, 0, 0, 1, kClamp},
    {"Recent Shown", VN_FIELD(recentShown), kBoth, 25, 100, 1, 100, kClamp},
    {"Recent Visible", VN_FIELD(recentVisible), kBoth, 10, 15, 1, 100, kClamp},
    {"Recent Path Option", VN_FIELD(recentPathOption), kBoth, 1, 1, 0, 2, kToDefault},
    {"Disable Key", VN_FIELD(disableKey), kBoth, 2, 2, 0, 3, kToDefault},
    {"Disable Key No Prompt", VN_FIELD(disableKeyNoPrompt), kBoth, 3, 0, 0, 3, kToDefault},
    {"Include AddEditFavs", VN_FIELD(includeAddEditFavs), kBothBool, 1, 1, 0, 1, kClamp},
    {"Include EditRecent", VN_FIELD(includeEditRecent), kBothBool, 1, 1, 0, 1, kClamp},
    {"Use Accelerators", VN_FIELD(useAccelerators), kBothBool, 1, 1, 0, 1, kClamp},
    {"Show Info Line", VN_FIELD(showInfoLine), kBothBool, 1, 1, 0, 1, kClamp},
    {"Show Info Full Path", VN_FIELD(showInfoFullPath), kBothBool, 0, 1, 0, 1, kClamp},
    {"Include Recent Headers", VN_FIELD(includeRecentHeaders), kBothBool, 1, 1, 0, 1, kClamp},
    {"Include Recent All", VN_FIELD(includeRecentAll), kBothBool, 1, 1, 0, 1, kClamp},
    {"Include Favorite All", VN_FIELD(includeFavoriteAll), kBothBool, 1, 1, 0, 1, kClamp},
    {"Include Linux Places", VN_FIELD(includeLinuxPlaces), kBothBool, 1, 1, 0, 1, kClamp},
    {"Dont Save Removable", VN_FIELD(dontSaveRemovable), kBothBool, 1, 1, 0, 1, kClamp},
    {"Dont Save Remote", VN_FIELD(dontSaveRemote), kBothBool, 0, 0, 0, 1, kClamp},
    {kKeyHeight32, VN_FIELD(height32), kBoth, 70, 70, 1, 100, kClamp},
    {"Width32", VN_FIELD(width32), kBoth, 70, 70, 1, 100, kClamp},
    {"Sizing", VN_FIELD(sizing), kBothBool, 1, 1, 0, 1, kClamp},
    {"LengthenDrive", VN_FIELD(lengthenDrive), kBothBool, 1, 1, 0, 1, kClamp},
    {"LenDriveLimit", VN_FIELD(lenDriveLimit), kBothBool, 1, 0, 0, 1, kClamp},
    {"LenDriveLimitNum", VN_FIELD(lenDriveLimitNum), kBoth, 25, 25, 1, 100, kClamp},
    {"LengthenTypes", VN_FIELD(lengthenTypes), kBothBool, 1, 1, 0, 1, kClamp},
    {"LenTypesLimit", VN_FIELD(lenTypesLimit), kBothBool, 1, 0, 0, 1, kClamp},
    {"LenTypesLimitNum", VN_FIELD(lenTypesLimitNum), kBoth, 25, 25, 1, 100, kClamp},
    {"Sort", VN_FIELD(sort), kBothBool, 0, 0, 0, 1, kClamp},
    {"Sort By", VN_FIELD(sortBy), kBoth, 0, 0, 0, 3, kToDefault},
    {"Sort Order", VN_FIELD(sortOrder), kBoth, 0, 0, 0, 1, kToDefault},
    {"FoldersOnBottom", VN_FIELD(foldersOnBottom), kBothBool, 0, 0, 0, 1, kClamp},
    {"FoldersOnTop", VN_FIELD(foldersOnTop), kBothBool, 0, 0, 0, 1, kClamp},
    {kKeyColWidth[0], VN_FIELD(colWidth[0]), kKeyLibrary, 0, 0, 0, kMaxColumnWidth, kToDefault},
    {kKeyColWidth[1], VN_FIELD(colWidth[1]), kKeyLibrary, 0, 0, 0, kMaxColumnWidth, kToDefault},
    {kKeyColWidth[2], VN_FIELD(colWidth[2]), kKeyLibrary, 0, 0, 0, kMaxColumnWidth, kToDefault},
    {kKeyColWidth[3], VN_FIELD(colWidth[3]), kKeyLibrary, 0, 0, 0, kMaxColumnWidth, kToDefault},
    {kKeyColWidth[4], VN_FIELD(colWidth[4]), kKeyLibrary, 0, 0, 0, kMaxColumnWidth, kToDefault},
    {kKeyColWidth[5], VN_FIELD(colWidth[5]), kKeyLibrary, 0, 0, 0, kMaxColumnWidth, kToDefault},
    {kKeyColWidth[6], VN_FIELD(colWidth[6]), kKeyLibrary, 0, 0, 0, kMaxColumnWidth, kToDefault},
    {kKeyTrainedEnabled, VN_MANAGER_FIELD(trainedEnabled),
     kKeyManager | kKeyBoolean | kKeyAfterLists, 0, 1, 0, 1, kClamp},
};
constexpr int kSettingKeyCount = sizeof kSettingKeys / sizeof kSettingKeys[0];

#undef VN_FIELD
#undef VN_MANAGER_FIELD

namespace {

constexpr bool SameText(const char* a, const char* b) {
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

// A mistake in the table (a key spelled twice, two keys on one field, a library row pointing
// outside HookSettings) is caught when this file compiles.
constexpr bool KeyTableIsSound() {
    for (int i = 0; i < kSettingKeyCount; ++i) {
        const SettingKey& k = kSettingKeys[i];
        if ((k.flags & kKeyLibrary) && k.offset + sizeof(int32_t) > sizeof(HookSettings))
            return false;
        if (k.offset % sizeof(int32_t) != 0 || !(k.flags & (kKeyLibrary | kKeyManager)))
            return false;
        // Both defaults lie in the range, so bringing a value into range never leaves it.
        if (k.low > k.high || k.libraryDefault < k.low || k.libraryDefault > k.high ||
            k.managerDefault < k.low || k.managerDefault > k.high)
            return false;
        for (int j = i + 1; j < kSettingKeyCount; ++j)
            if (SameText(k.name, kSettingKeys[j].name) || k.offset == kSettingKeys[j].offset)
                return false;
    }
    return true;
}
static_assert(KeyTableIsSound(), "the key table has a duplicate or misplaced row");

int32_t& FieldOf(void* base, const SettingKey& key) {
    return *reinterpret_cast<int32_t*>(static_cast<char*>(base) + key.offset);
}

int32_t FieldOf(const void* base, const SettingKey& key) {
    return *reinterpret_cast<const int32_t*>(static_cast<const char*>(base) + key.offset);
}

// Keys of the older product's file that replace "Disable Key" and "Recent Path Option".
constexpr const char* kKeyShiftDisables = "Shift Disables";
constexpr const char* kKeyControlDisables = "Control Disables";
constexpr const char* kKeyRelativePath = "Relative Path";
constexpr const char* kKeyNoPath = "No Path";

struct ExcludeKeys {
    const char* countKey;
    const char* entryPrefix; // followed by the 1-based entry number
};

// In the order of ExcludeKind.
constexpr ExcludeKeys kExcludeKeys[3] = {
    {"NumExcludes", "Exclude"},
    {"NumSizeExcludes", "SizeExclude"},
    {"NumLastDirExcludes", "LastDirExclude"},
};

constexpr const char kSeparator[] = " : ";
constexpr size_t kSeparatorLength = sizeof kSeparator - 1;
constexpr size_t kModuleCompareLength = 8;
constexpr size_t kTitleCompareLength = kTitleSize;

void EntryKey(char* key, size_t size, const ExcludeKeys& keys, int index) {
    snprintf(key, size, "%s%d", keys.entryPrefix, index + 1);
}

void ReadOneList(ExcludeList& list, const ExcludeKeys& keys, IniFile& ini, const char* section) {
    int count = ClampCount(ini.GetInt(section, keys.countKey, 0), kMaxExcludes);
    // Other processes may match against this list while it is read: until the new entries are
    // in place they see no more entries than the old and the new count have in common.
    int common = ExcludeCount(list);
    list.count = count < common ? count : common;
    for (int i = 0; i < count; ++i) {
        char key[32];
        EntryKey(key, sizeof key, keys, i);
        char entry[kExcludeEntrySize];
        ini.GetString(section, key, "", entry, sizeof entry);
        entry[kExcludeEntrySize - 1] = 0;
        CopyText(list.entries[i], kExcludeEntrySize, entry);
    }
    list.count = count;
}

bool WriteUnsigned(IniFile& ini, const char* section, const char* key, uint32_t value) {
    char text[16];
    snprintf(text, sizeof text, "%u", value);
    return ini.WriteString(section, key, text);
}

// Position of " : " among the first len characters of entry, or len when there is none.
size_t FindSeparator(const char* entry, size_t len) {
    for (size_t i = 0; i + kSeparatorLength <= len; ++i)
        if (memcmp(entry + i, kSeparator, kSeparatorLength) == 0)
            return i;
    return len;
}

// Compares text with part (which ends after partLen characters, terminated or not) the way
// strncmp / strnicmp compare at most n characters, and tells whether they are equal.
bool EqualOver(const char* text, const char* part, size_t partLen, size_t n, bool ignoreCase) {
    for (size_t i = 0; i < n; ++i) {
        char a = text[i];
        char b = i < partLen ? part[i] : 0;
        if (ignoreCase) {
            a = FoldCase(a);
            b = FoldCase(b);
        }
        if (a != b)
            return false;
        if (!a)
            return true;
    }
    return true;
}

} // namespace

void SetLibraryDefaults(HookSettings& h) {
    memset(&h, 0, sizeof h);
    for (const SettingKey& key : kSettingKeys)
        if (key.flags & kKeyLibrary)
            FieldOf(&h, key) = key.libraryDefault;
    // Words without a key that other code reads as constants.
    h.restoreLastFileType = 0;
    h.trainingAlwaysOn = 1;
    h.buttonRowAlwaysOn = 1;
    h.infoLineAlwaysOn = 1;
}

void ReadLibrarySettings(SharedState& s, IniFile& ini, SerialQuery* serialOrNull,
                         const char* moduleName) {
    HookSettings& h = s.settings;
    uint32_t serial = 0;
    if (serialOrNull && serialOrNull->QuerySerial(moduleName ? moduleName : "", &serial) &&
        serial != h.settingsSerial) {
        h.settingsSerial = serial;
        h.settingsLoaded = 0;
    }
    if (h.settingsLoaded)
        return;

    // A missing key keeps what the field holds: its default or what an earlier read found.
    for (const SettingKey& key : kSettingKeys)
        if (key.flags & kKeyLibrary)
            FieldOf(&h, key) = BringIntoRange(
                key, ini.GetInt(kSettingsSection, key.name, FieldOf(&h, key)), key.libraryDefault);

    // The button row is pointless without any file-management button in it.
    bool anyFileButton = false;
    for (const SettingKey& key : kSettingKeys)
        if ((key.flags & kKeyFileButton) && FieldOf(&h, key) != 0)
            anyFileButton = true;
    if (!anyFileButton)
        h.addVnButtons = 0;

    if (h.colWidth[0] != 0)
        h.columnWidthsKnown = 1;

    ReadExcludeLists(s.excludes, s.sizeExcludes, s.lastDirExcludes, ini, kSettingsSection);
    h.settingsLoaded = 1;
}

ExcludeList* ExcludeListOf(SharedState& s, ExcludeKind kind) {
    switch (kind) {
    case kExcludeFileManagement:
        return &s.excludes;
    case kExcludeSizing:
        return &s.sizeExcludes;
    case kExcludeLastFolder:
        return &s.lastDirExcludes;
    }
    return nullptr;
}

void ReadExcludeLists(ExcludeList& excludes, ExcludeList& sizeExcludes,
                      ExcludeList& lastDirExcludes, IniFile& ini, const char* section) {
    ReadOneList(excludes, kExcludeKeys[kExcludeFileManagement], ini, section);
    ReadOneList(sizeExcludes, kExcludeKeys[kExcludeSizing], ini, section);
    ReadOneList(lastDirExcludes, kExcludeKeys[kExcludeLastFolder], ini, section);
}

// The entry is compared where it lies and never changed: other processes read the same shared
// list at the same time, and any entry may lack its terminator.
bool MatchExclude(const ExcludeList& list, const char* module, const char* titleOrNull) {
    const char* m = module ? module : "";
    int count = ExcludeCount(list);
    for (int i = 0; i < count; ++i) {
        const char* entry = list.entries[i];
        size_t len = BoundedLength(entry, kExcludeEntrySize);
        size_t sep = FindSeparator(entry, len);
        bool hasTitle = sep < len;
        if (hasTitle && !titleOrNull)
            continue;
        if (!EqualOver(m, entry, sep, kModuleCompareLength, false))
            continue;
        if (!hasTitle)
            return true;
        const char* title = entry + sep + kSeparatorLength;
        size_t titleLen = len - sep - kSeparatorLength;
        if (EqualOver(titleOrNull, title, titleLen, kTitleCompareLength, true))
            return true;
    }
    return false;
}

bool MakeExcludeEntry(char* entry, size_t size, const char* module, const char* titleOrNull) {
    if (!entry || size == 0)
        return false;
    entry[0] = 0;
    if (!module || !module[0])
        return false;
    CopyText(entry, size < kModuleCompareLength + 1 ? size : kModuleCompareLength + 1, module);
    // The ini file drops trailing blanks, so "module : " would come back as "module :", an entry
    // that names no module. A dialog without a title is told apart by its module alone.
    if (titleOrNull && titleOrNull[0]) {
        char title[kTitleCompareLength + 1];
        CopyText(title, sizeof title, titleOrNull);
        AppendText(entry, size, kSeparator);
        AppendText(entry, size, title);
    }
    return true;
}

namespace {

// Appends entry unless it names no module, its dialog is already excluded or the list is full.
// Returns 1 when it was added.
int AddEntry(ExcludeList& list, const char* entry) {
    char text[kExcludeEntrySize];
    size_t len = CopyText(text, sizeof text, entry);
    size_t sep = FindSeparator(text, len);
    const char* title = nullptr;
    if (sep < len) {
        text[sep] = 0;
        title = text + sep + kSeparatorLength;
    }
    if (!text[0] || list.count >= kMaxExcludes || MatchExclude(list, text, title))
        return 0;
    CopyText(list.entries[list.count], kExcludeEntrySize, entry);
    ++list.count;
    return 1;
}

// Takes every entry of entry's text out of the list, closing the gaps; firstMoved is lowered to
// the first place whose entry changed. Returns the number taken out.
int RemoveEntry(ExcludeList& list, const char* entry, int& firstMoved) {
    char wanted[kExcludeEntrySize];
    CopyText(wanted, sizeof wanted, entry);
    int kept = 0;
    for (int i = 0; i < list.count; ++i) {
        if (strcmp(list.entries[i], wanted) == 0) {
            if (i < firstMoved)
                firstMoved = i;
            continue;
        }
        if (kept != i)
            memcpy(list.entries[kept], list.entries[i], kExcludeEntrySize);
        ++kept;
    }
    int removed = list.count - kept;
    list.count = kept;
    return removed;
}

} // namespace

int ChangeExcludeList(IniFile& ini, ExcludeKind kind, const ExcludeChange& change,
                      ExcludeList& list) {
    list.count = 0;
    int k = static_cast<int>(kind);
    if (k < 0 || k >= kExcludeKinds)
        return 0;
    const ExcludeKeys& keys = kExcludeKeys[k];
    ReadOneList(list, keys, ini, kSettingsSection);

    // Entries are read back terminated, so they compare as text from here on.
    int firstChanged = list.count;
    int changed = 0;
    for (int i = 0; change.entries && i < change.count; ++i) {
        const char* entry = change.entries[i];
        if (entry)
            changed +=
                change.remove ? RemoveEntry(list, entry, firstChanged) : AddEntry(list, entry);
    }

    char text[16];
    bool countMissing = ini.GetString(kSettingsSection, keys.countKey, "", text, sizeof text) == 0;
    if (!changed && !countMissing)
        return 0;
    bool written = true;
    for (int i = firstChanged; i < list.count && written; ++i) {
        char key[32];
        EntryKey(key, sizeof key, keys, i);
        written = ini.WriteString(kSettingsSection, key, list.entries[i]);
    }
    if (written)
        written =
            WriteUnsigned(ini, kSettingsSection, keys.countKey, static_cast<uint32_t>(list.count));
    if (!written) {
        // What the file holds now, whatever part of the change reached it.
        ReadOneList(list, keys, ini, kSettingsSection);
        return 0;
    }
    return changed;
}

void StoreExcludeList(ExcludeList& shared, const ExcludeList& list) {
    int count = ExcludeCount(list);
    int common = ExcludeCount(shared);
    shared.count = count < common ? count : common;
    for (int i = 0; i < count; ++i)
        CopyField(shared.entries[i], kExcludeEntrySize, list.entries[i], kExcludeEntrySize);
    shared.count = count;
}

bool AddExclude(SharedState& s, ExcludeKind kind, const char* module, const char* titleOrNull,
                IniFile& ini) {
    ExcludeList* shared = ExcludeListOf(s, kind);
    char entry[kExcludeEntrySize];
    if (!shared || !MakeExcludeEntry(entry, sizeof entry, module, titleOrNull))
        return false;
    const char* entries[1] = {entry};
    ExcludeList list;
    int added = ChangeExcludeList(ini, kind, {false, entries, 1}, list);
    StoreExcludeList(*shared, list);
    return added > 0;
}

bool WriteIntKey(IniFile& ini, const char* key, uint32_t value) {
    return WriteUnsigned(ini, kSettingsSection, key, value);
}

namespace {

// Reads one registry value into buf; false (and the current directory in buf) when it is
// missing, empty or names no existing folder.
bool ReadFolderValue(FolderSource& source, const char* name, char* buf, size_t size) {
    if (size == 0)
        return false;
    buf[0] = 0;
    char value[kMaxPath];
    memset(value, 0, sizeof value);
    bool found = source.QueryValue(name, value, sizeof value);
    value[sizeof value - 1] = 0; // a value that filled the buffer is cut, not overrun
    if (found && value[0]) {
        char test[kMaxPath];
        size_t len = CopyText(test, sizeof test, value);
        if (len > 0 && test[len - 1] == '\\')
            test[len - 1] = 0;
        if (test[0] && source.IsDirectory(test)) {
            CopyText(buf, size, value);
            return true;
        }
    }
    source.CurrentDirectory(buf, size);
    buf[size - 1] = 0;
    return false;
}

} // namespace

int ReadRegistryFolders(FolderSource& source, char* programFolderOrNull, char* dataFolderOrNull,
                        size_t size) {
    if (!source.OpenKey()) {
        char* buffers[2] = {programFolderOrNull, dataFolderOrNull};
        for (char* buf : buffers) {
            if (buf && size) {
                source.CurrentDirectory(buf, size);
                buf[size - 1] = 0;
            }
        }
        return 0;
    }
    bool ok = true;
    if (programFolderOrNull && !ReadFolderValue(source, kRegProgramPath, programFolderOrNull, size))
        ok = false;
    if (dataFolderOrNull && !ReadFolderValue(source, kRegDataPath, dataFolderOrNull, size))
        ok = false;
    source.CloseKey();
    return ok ? 1 : 0;
}

void SetManagerDefaults(ManagerSettings& m, int screenWidth, int screenHeight) {
    memset(&m, 0, sizeof m);
    for (const SettingKey& key : kSettingKeys)
        if (key.flags & kKeyManager)
            FieldOf(&m, key) = key.managerDefault;
    // Keep the enlarged dialog near 570 by 710 pixels on large screens.
    if (static_cast<int64_t>(screenHeight) * 70 / 100 > 570)
        m.values.height32 = 57000 / screenHeight;
    if (static_cast<int64_t>(screenWidth) * 70 / 100 > 710)
        m.values.width32 = 71000 / screenWidth;
}

bool ReadManagerSettings(ManagerSettings& m, IniFile& ini, IniFile* kestraOrNull) {
    IniFile* source = &ini;
    const char* section = kSettingsSection;
    bool import = false;
    if (ini.GetInt(kSettingsSection, kKeyHeight32, 0) == 0 && kestraOrNull &&
        kestraOrNull->GetInt(kKestraSection, kKeyHeight32, 0) != 0) {
        source = kestraOrNull;
        section = kKestraSection;
        import = true;
    }

    for (const SettingKey& key : kSettingKeys) {
        if (!(key.flags & kKeyManager) || (key.flags & kKeyAfterLists))
            continue;
        int32_t& field = FieldOf(&m, key);
        if (import && key.offset == offsetof(HookSettings, disableKey)) {
            if (source->GetInt(section, kKeyShiftDisables, 0) != 0)
                field = 2;
            else if (source->GetInt(section, kKeyControlDisables, 0) != 0)
                field = 1;
            else
                field = 0;
        } else if (import && key.offset == offsetof(HookSettings, recentPathOption)) {
            if (source->GetInt(section, kKeyRelativePath, 0) != 0)
                field = 2;
            else if (source->GetInt(section, kKeyNoPath, 0) != 0)
                field = 0;
            else
                field = 1;
        } else {
            // The older product had no such buttons: they are looked up in our own section,
            // which its file lacks, so they keep their defaults.
            const char* keySection =
                (import && (key.flags & kKeyButton)) ? kSettingsSection : section;
            field = source->GetInt(keySection, key.name, field);
        }
        field = BringIntoRange(key, field, key.managerDefault);
    }

    ReadExcludeLists(m.excludes, m.sizeExcludes, m.lastDirExcludes, *source, section);

    for (const SettingKey& key : kSettingKeys)
        if ((key.flags & kKeyManager) && (key.flags & kKeyAfterLists))
            FieldOf(&m, key) = BringIntoRange(
                key, source->GetInt(section, key.name, FieldOf(&m, key)), key.managerDefault);
    return import;
}

bool WriteManagerSettings(const ManagerSettings& m, IniFile& ini) {
    // A value is written as it would be read back, so that nothing negative is ever written as
    // a huge unsigned number.
    bool written = true;
    for (int pass = 0; pass < 2; ++pass) {
        bool afterLists = pass == 1;
        for (const SettingKey& key : kSettingKeys) {
            if (!(key.flags & kKeyManager) || ((key.flags & kKeyAfterLists) != 0) != afterLists)
                continue;
            int32_t value = BringIntoRange(key, FieldOf(&m, key), key.managerDefault);
            if (!WriteIntKey(ini, key.name, static_cast<uint32_t>(value)))
                written = false;
        }
    }
    return written;
}

int32_t BringIntoRange(const SettingKey& key, int32_t value, int32_t fallback) {
    if (key.flags & kKeyBoolean)
        return value != 0 ? 1 : 0;
    if (value >= key.low && value <= key.high)
        return value;
    if (key.outOfRange == OutOfRange::kToDefault)
        return fallback;
    return value < key.low ? key.low : key.high;
}

const SettingKey* FindSettingKey(uint16_t offset) {
    for (const SettingKey& key : kSettingKeys)
        if (key.offset == offset)
            return &key;
    return nullptr;
}

int32_t& SettingValue(ManagerSettings& m, const SettingKey& key) {
    return FieldOf(&m, key);
}

} // namespace vn
