#include "hook/lists/list_store.h"

#include "hook/core/file_names.h"
#include "hook/core/text.h"

#include <cstdio>
#include <cstring>

namespace vn {

namespace {

constexpr const char* kAppSectionSuffix[kListKinds] = {" Recent Files", " Favorite Files",
                                                       " Recent Paths", " Favorite Paths"};
constexpr const char* kAllSection[kListKinds] = {"All Files", "All Favorite Files", "All Paths",
                                                 "All Favorite Paths"};
// The older layouts kept the recent lists under these suffixes.
constexpr const char* kOldFilesSuffix = " Files";
constexpr const char* kOldPathsSuffix = " Paths";

constexpr ListKind kLoadOrder[] = {kRecentFiles, kRecentPaths, kFavoriteFiles, kFavoritePaths};
constexpr ListKind kRecentKinds[] = {kRecentFiles, kRecentPaths};
constexpr ListKind kFavoriteKinds[] = {kFavoriteFiles, kFavoritePaths};

constexpr size_t kEntryKeySize = 24; // "Entry" and any int

void EntryKey(char* key, size_t cap, int position) {
    snprintf(key, cap, "Entry%d", position);
}

// The text of a list field, which in the shared state may lack its terminator.
void CopyEntry(char* dst, const char* field) {
    CopyField(dst, kListEntrySize, field, kListEntrySize);
}

bool SameEntry(const char* field, const char* text) {
    return CompareNoCase(field, text, kListEntrySize) == 0;
}

// The next position of a ring of 100.
int NextPosition(int position) {
    return position >= kListSlots ? 1 : position + 1;
}

// A text from a caller, cut to an entry and made safe to write.
void PrepareText(char* dst, const char* text) {
    CopyText(dst, kListEntrySize, text);
    SanitizeIniText(dst, false);
}

} // namespace

void ListSectionName(char* out, size_t cap, const char* moduleOrNull, ListKind kind) {
    if (!out || cap == 0)
        return;
    int k = kind < 0 || kind >= kListKinds ? 0 : kind;
    if (!moduleOrNull) {
        CopyText(out, cap, kAllSection[k]);
        return;
    }
    CopyText(out, cap, moduleOrNull);
    AppendText(out, cap, kAppSectionSuffix[k]);
}

bool AppListFilePath(char* out, size_t cap, const char* dataFolder, const char* module) {
    if (!out || cap == 0)
        return false;
    out[0] = 0;
    if (!module || !module[0] || strpbrk(module, "\\/:") ||
        BoundedLength(module, kListEntrySize) > kListTextMax)
        return false;
    char name[kListEntrySize + 8];
    CopyText(name, sizeof name, module);
    AppendText(name, sizeof name, kListFileExtension);
    JoinPath(out, cap, dataFolder, name);
    size_t n = strlen(out);
    size_t ext = strlen(kListFileExtension);
    if (n < ext || strcmp(out + n - ext, kListFileExtension) != 0 || n + 1 >= cap) {
        out[0] = 0; // cut: it would name another file
        return false;
    }
    return true;
}

const char* ListEntryText(const ListEntries& entries, int position) {
    if (position < 1 || position > kListSlots || !entries[position - 1][0])
        return nullptr;
    return entries[position - 1];
}

void SetListEntry(ListEntries& entries, int position, const char* textOrNull) {
    if (position < 1 || position > kListSlots)
        return;
    CopyText(entries[position - 1], kListEntrySize, textOrNull);
}

bool ImportOldList(IniFile& oldFile, const char* oldSection, IniFile& newFile,
                   const char* newSection, int capacity, int* copiedOrNull) {
    int copiedStore = 0;
    int& copied = copiedOrNull ? *copiedOrNull : copiedStore;
    copied = 0;
    if (newFile.GetInt(newSection, kKeyLast, 0) != 0)
        return true;
    int32_t oldLast = oldFile.GetInt(oldSection, kKeyLast, 0);
    if (oldLast == 0)
        return false;
    if (capacity < 1 || capacity > kListSlots)
        capacity = kListSlots;
    char key[kEntryKeySize];
    char entry[kListEntrySize];
    EntryKey(key, sizeof key, capacity);
    oldFile.GetString(oldSection, key, "", entry, sizeof entry);
    // A ring whose last position is filled has wrapped: its oldest entry follows the newest. A
    // "Last" outside the ring cannot say where the oldest is; reading from 1 keeps every entry.
    int position = 1;
    if (entry[0] && oldLast >= 1 && oldLast <= capacity)
        position = oldLast % capacity + 1;
    char number[16];
    for (int n = 1; n <= capacity; ++n) {
        EntryKey(key, sizeof key, position);
        oldFile.GetString(oldSection, key, "", entry, sizeof entry);
        if (!entry[0])
            break;
        SanitizeIniText(entry, false);
        snprintf(number, sizeof number, "%u", static_cast<unsigned>(n));
        newFile.WriteString(newSection, kKeyLast, number);
        EntryKey(key, sizeof key, n);
        newFile.WriteString(newSection, key, entry);
        copied = n;
        position = position % capacity + 1;
    }
    return true;
}

ListStore::ListStore(ListHost& host, AppListCache& cache, AllAppsLists* allOrNull,
                     const char* dataFolder, const char* allAppsPath, bool rereadAll)
    : host_(host), cache_(cache), all_(allOrNull), rereadAll_(rereadAll) {
    CopyText(dataFolder_, sizeof dataFolder_, dataFolder);
    CopyText(allAppsPath_, sizeof allAppsPath_, allAppsPath);
}

AppLists* ListStore::FindSlot(const char* module) {
    if (!module || !module[0])
        return nullptr;
    for (AppLists* slot : cache_.slots)
        if (slot && slot->moduleName[0] &&
            CompareNoCase(slot->moduleName, module, kListTextMax) == 0)
            return slot;
    return nullptr;
}

bool ListStore::ListFile(const char* module, char* path, size_t cap) {
    return AppListFilePath(path, cap, dataFolder_, module);
}

bool ListStore::Ref(const char* moduleOrNull, ListKind kind, ListRef& ref) {
    if (kind < 0 || kind >= kListKinds)
        return false;
    ref.kind = kind;
    ListSectionName(ref.section, sizeof ref.section, moduleOrNull, kind);
    if (!moduleOrNull) {
        if (!all_ || !allAppsPath_[0])
            return false; // without their file they are only read
        static_assert(kRecentFiles == 0 && kFavoriteFiles == 1 && kRecentPaths == 2 &&
                          kFavoritePaths == 3,
                      "the kind indexes the shared arrays in this order");
        ListEntries* arrays[kListKinds] = {&all_->allRecentFiles, &all_->allFavoriteFiles,
                                           &all_->allRecentPaths, &all_->allFavoritePaths};
        int32_t* lasts[kListKinds] = {&all_->allRecentFilesLast, &all_->allFavoriteFilesLast,
                                      &all_->allRecentPathsLast, &all_->allFavoritePathsLast};
        ref.entries = arrays[kind];
        ref.last = lasts[kind];
        ref.sequence = &all_->allSequence[kind];
        ref.sequenceInFile = false;
        ref.shared = true;
        ref.file = &host_.File(kRoleAllAppsFile, allAppsPath_);
        return true;
    }
    AppLists* slot = FindSlot(moduleOrNull);
    char path[kPathSize];
    if (!slot || !ListFile(moduleOrNull, path, sizeof path))
        return false;
    ref.entries = &slot->entries[kind];
    ref.last = &slot->last[kind];
    ref.sequence = &slot->sequence[kind];
    ref.sequenceInFile = true;
    ref.shared = false;
    ref.file = &host_.File(kRoleListFile, path);
    return true;
}

// Before a change the copy in memory is brought up to date: another process may have changed the
// file since this one read it, and writing from a stale copy would drop its entries.
bool ListStore::RefForChange(const char* moduleOrNull, ListKind kind, ListRef& ref) {
    if (!moduleOrNull && all_ && all_->allListsLoaded != 1)
        LoadAllAppsLists(false);
    if (!Ref(moduleOrNull, kind, ref))
        return false;
    if (!ref.shared)
        Refresh(ref, rereadAll_);
    return true;
}

// Recent lists keep every key that is present, since their positions form a ring; "Last" outside
// 1..100 cannot name the newest and makes the list empty. A favourite list ends at its first
// missing key, and its "Last" is taken from the entries read: a file's "Last" that disagrees
// (hand edits, holes) would otherwise make the next favourite land beyond the visible end, or
// on top of one that is shown.
void ListStore::ReadList(const ListRef& ref) {
    ListEntries& entries = *ref.entries;
    int32_t last = ref.file->GetInt(ref.section, kKeyLast, 0);
    bool favorite = IsFavoriteKind(ref.kind);
    bool ended = false;
    int count = 0;
    char key[kEntryKeySize];
    for (int n = 1; n <= kListSlots; ++n) {
        char* field = entries[n - 1];
        if (ended) {
            memset(field, 0, kListEntrySize);
            continue;
        }
        EntryKey(key, sizeof key, n);
        ref.file->GetString(ref.section, key, "", field, kListEntrySize);
        field[kListTextMax] = 0;
        if (favorite) {
            if (!field[0])
                ended = true;
            else
                count = n;
        }
    }
    if (favorite)
        *ref.last = count;
    else
        *ref.last = last >= 1 && last <= kListSlots ? last : 0;
}

// A "Sequence" of 0 (none written yet, or the section deleted) never proves the copy current.
// The count in memory is kept then, so that the next change still counts on from what this
// process last saw.
void ListStore::Refresh(const ListRef& ref, bool force) {
    uint32_t sequence = static_cast<uint32_t>(ref.file->GetInt(ref.section, kKeySequence, 0));
    if (!force && sequence != 0 && sequence == *ref.sequence)
        return;
    ReadList(ref);
    if (sequence != 0)
        *ref.sequence = sequence;
}

int ListStore::ValidLast(const ListRef& ref) const {
    int32_t last = *ref.last;
    if (IsFavoriteKind(ref.kind))
        return last < 0 ? 0 : (last > kListSlots ? kListSlots : last);
    return last >= 1 && last <= kListSlots ? last : 0;
}

void ListStore::WriteNumber(const ListRef& ref, const char* key, uint32_t value) {
    char number[16];
    snprintf(number, sizeof number, "%u", static_cast<unsigned>(value));
    ref.file->WriteString(ref.section, key, number);
}

void ListStore::WriteEntry(const ListRef& ref, int position, const char* text) {
    char key[kEntryKeySize];
    EntryKey(key, sizeof key, position);
    ref.file->WriteString(ref.section, key, text);
}

int ListStore::AdvanceLast(const ListRef& ref) {
    int n = ValidLast(ref) + 1;
    if (n > kListSlots) {
        if (IsFavoriteKind(ref.kind))
            return n; // full
        n = 1;
    }
    *ref.last = n;
    WriteNumber(ref, kKeyLast, static_cast<uint32_t>(n));
    return n;
}

uint32_t ListStore::Bump(const ListRef& ref) {
    uint32_t next = *ref.sequence + 1;
    *ref.sequence = next;
    if (ref.sequenceInFile)
        WriteNumber(ref, kKeySequence, next);
    return next;
}

// Most recently used: a text already in the list moves to the newest place (taking the new letter
// case), the entries after it closing the gap; a new text takes the next ring position. An empty
// list (Last 0) may still hold stale entries from its file: they are not searched, as moving one
// would leave "Last" at 0 and the recorded text out of sight.
void ListStore::InsertRecent(const ListRef& ref, const char* text) {
    char t[kListEntrySize];
    PrepareText(t, text);
    if (!t[0])
        return;
    ListEntries& entries = *ref.entries;
    int last = ValidLast(ref);
    int found = 0;
    if (last != 0) {
        for (int p = 1; p <= kListSlots && entries[p - 1][0]; ++p) {
            if (SameEntry(entries[p - 1], t)) {
                found = p;
                break;
            }
        }
    }
    if (!found) {
        int n = AdvanceLast(ref);
        WriteEntry(ref, n, t);
        SetListEntry(entries, n, t);
        Bump(ref);
        return;
    }
    for (int q = found; q != last; q = NextPosition(q)) {
        int from = NextPosition(q);
        CopyField(entries[q - 1], kListEntrySize, entries[from - 1], kListEntrySize);
        WriteEntry(ref, q, entries[q - 1]);
    }
    SetListEntry(entries, last, t);
    WriteEntry(ref, last, t);
    Bump(ref);
}

bool ListStore::InsertFavorite(const ListRef& ref, const char* text) {
    char t[kListEntrySize];
    PrepareText(t, text);
    if (!t[0])
        return false;
    ListEntries& entries = *ref.entries;
    for (int p = 1; p <= kListSlots; ++p)
        if (SameEntry(entries[p - 1], t))
            return true;
    int n = AdvanceLast(ref);
    if (n > kListSlots)
        return false;
    WriteEntry(ref, n, t);
    SetListEntry(entries, n, t);
    Bump(ref);
    return true;
}

void ListStore::AddRecentTo(const ListRef& ref, const char* path) {
    if (!path || !path[0])
        return;
    if (!IsPathsKind(ref.kind)) {
        InsertRecent(ref, path);
        return;
    }
    char folder[kListEntrySize];
    if (FolderOf(path, folder, sizeof folder))
        InsertRecent(ref, folder);
}

void ListStore::AddRecent(const char* moduleOrNull, const char* path, bool paths) {
    if (!path || !path[0])
        return;
    ListRef ref;
    if (RefForChange(moduleOrNull, KindOf(false, paths), ref))
        AddRecentTo(ref, path);
}

bool ListStore::AddFavorite(const char* moduleOrNull, const char* text, bool paths) {
    ListRef ref;
    if (!text || !text[0] || !RefForChange(moduleOrNull, KindOf(true, paths), ref))
        return false;
    return InsertFavorite(ref, text);
}

bool ListStore::AddFavoriteFromDialog(const char* moduleOrNull, const char* text, bool withFolder) {
    if (!text || !text[0])
        return false;
    char t[kListEntrySize];
    CopyText(t, sizeof t, text);
    bool folderChoice = strstr(t, kFolderPickHint) != nullptr;
    if (IsMask(t)) {
        if (withFolder)
            return false;
        char name[kListEntrySize];
        CopyText(name, sizeof name, FileNamePart(t));
        CopyText(t, sizeof t, name);
    }
    if (moduleOrNull && IsWinZipScratch(moduleOrNull, t))
        return true;
    if (!folderChoice && !AddFavorite(moduleOrNull, t, false))
        return false;
    char folder[kListEntrySize];
    if (withFolder && FolderOf(t, folder, sizeof folder))
        AddFavorite(moduleOrNull, folder, true);
    return true;
}

bool ListStore::AddFolderFavorite(const char* moduleOrNull, const char* folder) {
    char f[kListEntrySize];
    size_t n = CopyText(f, sizeof f, folder);
    if (n && f[n - 1] == '\\')
        f[--n] = 0;
    if (!n)
        return false;
    AppendText(f, sizeof f, "\\");
    if (f[strlen(f) - 1] != '\\')
        return false; // no room for the backslash: it would be another folder
    return AddFavorite(moduleOrNull, f, true);
}

void ListStore::RecordChosenFile(const char* module, const char* path,
                                 const RecordOptions& options) {
    if (!path || !path[0])
        return;
    char p[kListEntrySize];
    CopyText(p, sizeof p, path);
    unsigned driveType = 0;
    if (options.dontSaveRemovable || options.dontSaveRemote)
        driveType = host_.DriveType(DriveLetterOf(p));
    ChosenRecord what = ClassifyChosenPath(p, module, options, driveType);
    if (what == ChosenRecord::kNothing)
        return;
    bool files = what == ChosenRecord::kFileAndFolder;
    AddRecent(nullptr, p, true);
    if (files)
        AddRecent(nullptr, p, false);
    if (!module || !module[0])
        return;
    AddRecent(module, p, true);
    if (files)
        AddRecent(module, p, false);
}

bool ListStore::ApplyRecording(const DialogRecording& r) {
    if (r.flags & kRecordFileType)
        SaveLastFileType(r.module, r.title, r.fileType);
    if (!(r.flags & kRecordChosen))
        return true;
    // Written by another process than the dialog's (the manager), the application's lists may
    // not be in this cache: they are taken for the change and let go again.
    bool cached = FindSlot(r.module) != nullptr;
    LoadAppLists(r.module);
    LoadAllAppsLists(false);
    bool favorite = !(r.flags & kRecordFavorite) || AddFavoriteFromDialog(r.module, r.path, true);
    RecordChosenFile(r.module, r.path,
                     {(r.flags & kSkipRemovable) != 0, (r.flags & kSkipRemote) != 0});
    if (!cached)
        ReleaseAppLists(r.module);
    return favorite;
}

void ListStore::ClearList(const char* moduleOrNull, ListKind kind) {
    ListRef ref;
    if (!Ref(moduleOrNull, kind, ref))
        return;
    memset(*ref.entries, 0, sizeof *ref.entries);
    *ref.last = 0;
}

uint32_t ListStore::BumpSequence(const char* moduleOrNull, ListKind kind) {
    ListRef ref;
    return Ref(moduleOrNull, kind, ref) ? Bump(ref) : 0;
}

// The sequence is brought up to date first, so that the changes below count on from the file's
// newest value; deleting the section removes its "Sequence" too, and the adds must not read the
// emptied file as a reason to start counting again.
bool ListStore::ReplaceList(const char* moduleOrNull, ListKind kind, const char* const* rows,
                            int count) {
    ListRef ref;
    if (!RefForChange(moduleOrNull, kind, ref))
        return false;
    ref.file->WriteString(ref.section, nullptr, nullptr);
    memset(*ref.entries, 0, sizeof *ref.entries);
    *ref.last = 0;
    if (count < 0 || !rows)
        count = 0;
    if (IsFavoriteKind(kind)) {
        for (int i = 0; i < count; ++i)
            if (rows[i] && rows[i][0])
                InsertFavorite(ref, rows[i]);
    } else {
        for (int i = count - 1; i >= 0; --i)
            AddRecentTo(ref, rows[i]);
    }
    Bump(ref);
    return true;
}

bool ListStore::FirstFavoriteFolder(const char* moduleOrNull, char* buf, size_t size) {
    ListEntries* entries = ListOf(moduleOrNull, kFavoritePaths);
    if (!buf || size == 0 || !entries)
        return false;
    size_t n = BoundedLength((*entries)[0], kListEntrySize);
    if (n == 0 || n > kListTextMax || n >= size)
        return false;
    CopyField(buf, size, (*entries)[0], kListEntrySize);
    return buf[0] != 0;
}

bool ListStore::LastUsedFolder(const char* module, char* buf, size_t size) {
    if (!buf || size == 0)
        return false;
    buf[0] = 0;
    AppLists* slot = FindSlot(module);
    if (!slot)
        return false;
    const ListEntries& entries = slot->entries[kRecentPaths];
    int32_t last = slot->last[kRecentPaths];
    if (last < 1 || last > kListSlots)
        return false;
    bool wraps = entries[kListSlots - 1][0] != 0;
    int position = last;
    char folder[kListEntrySize];
    for (int i = 0; i < kListSlots; ++i) {
        CopyEntry(folder, entries[position - 1]);
        size_t n = strlen(folder);
        if (n && n < size && host_.IsExistingFolder(folder)) {
            if (n >= 4 && folder[n - 1] == '\\')
                folder[n - 1] = 0;
            CopyText(buf, size, folder);
            return true;
        }
        if (position == 1) {
            if (!wraps)
                break;
            position = kListSlots;
        } else {
            --position;
        }
    }
    return false;
}

int ListStore::ReadOpenToFirstFavorite(const char* module) {
    char path[kPathSize], section[kSectionSize];
    if (!ListFile(module, path, sizeof path))
        return 0;
    ListSectionName(section, sizeof section, module, kFavoritePaths);
    return host_.File(kRoleListFile, path).GetInt(section, kKeyOpenToFirstFavorite, 0) != 0 ? 1 : 0;
}

void ListStore::WriteOpenToFirstFavorite(const char* module, int value) {
    char path[kPathSize], section[kSectionSize];
    if (!ListFile(module, path, sizeof path))
        return;
    ListSectionName(section, sizeof section, module, kFavoritePaths);
    host_.File(kRoleListFile, path)
        .WriteString(section, kKeyOpenToFirstFavorite, value ? "1" : "0");
}

// The title becomes a key: cut to a title's length, and nothing in it may end the key or start a
// line of its own. A title of spaces only would be no key at all.
void ListStore::TitleKey(const char* title, char* key, size_t cap) {
    char t[kTitleKeyMax + 1];
    CopyText(t, sizeof t, title);
    SanitizeIniText(t, true);
    bool blank = true;
    for (const char* p = t; *p; ++p)
        if (*p != ' ')
            blank = false;
    CopyText(key, cap, blank ? kDefaultFileTypeKey : t);
}

void ListStore::SaveLastFileType(const char* module, const char* title, const char* typeText) {
    char path[kPathSize];
    if (!typeText || !typeText[0] || !ListFile(module, path, sizeof path))
        return;
    char key[kTitleKeyMax + 1], value[kListEntrySize];
    TitleKey(title, key, sizeof key);
    PrepareText(value, typeText);
    host_.File(kRoleListFile, path).WriteString(kLastFileTypesSection, key, value);
}

bool ListStore::LoadLastFileType(const char* module, const char* title, char* buf, size_t size) {
    if (!buf || size == 0)
        return false;
    buf[0] = 0;
    char path[kPathSize];
    if (!ListFile(module, path, sizeof path))
        return false;
    char key[kTitleKeyMax + 1];
    TitleKey(title, key, sizeof key);
    size_t cap = size < kListEntrySize ? size : kListEntrySize;
    host_.File(kRoleListFile, path).GetString(kLastFileTypesSection, key, "", buf, cap);
    return buf[0] != 0;
}

ListEntries* ListStore::ListOf(const char* moduleOrNull, ListKind kind) {
    if (kind < 0 || kind >= kListKinds)
        return nullptr;
    if (!moduleOrNull) {
        if (!all_)
            return nullptr;
        ListEntries* arrays[kListKinds] = {&all_->allRecentFiles, &all_->allFavoriteFiles,
                                           &all_->allRecentPaths, &all_->allFavoritePaths};
        return arrays[kind];
    }
    AppLists* slot = FindSlot(moduleOrNull);
    return slot ? &slot->entries[kind] : nullptr;
}

int ListStore::ListLast(const char* moduleOrNull, ListKind kind) {
    if (kind < 0 || kind >= kListKinds)
        return 0;
    if (!moduleOrNull) {
        if (!all_)
            return 0;
        int32_t lasts[kListKinds] = {all_->allRecentFilesLast, all_->allFavoriteFilesLast,
                                     all_->allRecentPathsLast, all_->allFavoritePathsLast};
        int32_t last = lasts[kind];
        return last >= 0 && last <= kListSlots ? last : 0;
    }
    AppLists* slot = FindSlot(moduleOrNull);
    if (!slot)
        return 0;
    int32_t last = slot->last[kind];
    return last >= 0 && last <= kListSlots ? last : 0;
}

// Returns the kinds into which entries were copied.
unsigned ListStore::MigrateAppLists(const char* module, const char* listPath) {
    IniFile& list = host_.File(kRoleListFile, listPath);
    char oldSection[kSectionSize], newSection[kSectionSize];
    char older[kPathSize] = "";
    unsigned imported = 0;
    int copied = 0;
    auto note = [&](ListKind kind) {
        if (copied > 0)
            imported |= 1u << kind;
    };

    CopyText(oldSection, sizeof oldSection, module);
    AppendText(oldSection, sizeof oldSection, kOldFilesSuffix);
    ListSectionName(newSection, sizeof newSection, module, kRecentFiles);
    if (!ImportOldList(list, oldSection, list, newSection, kOldRecentCapacity, &copied)) {
        char windows[kPathSize], settingsPath[kPathSize];
        host_.WindowsFolder(windows, sizeof windows);
        JoinPath(settingsPath, sizeof settingsPath, windows, kIniFileName);
        char dataPath[kListEntrySize];
        host_.File(kRoleOlderSettings, settingsPath)
            .GetString(kOlderSettingsSection, kOlderDataPathKey, "", dataPath, sizeof dataPath);
        if (dataPath[0]) {
            char name[kListEntrySize + 8];
            CopyText(name, sizeof name, module);
            AppendText(name, sizeof name, kListFileExtension);
            JoinPath(older, sizeof older, dataPath, name);
            if (!ImportOldList(host_.File(kRoleOlderFile, older), oldSection, list, newSection,
                               kOldRecentCapacity, &copied)) {
                JoinPath(older, sizeof older, windows, kKestraFileName);
                ImportOldList(host_.File(kRoleOlderFile, older), oldSection, list, newSection,
                              kOldRecentCapacity, &copied);
            }
        } else {
            CopyText(older, sizeof older, settingsPath);
        }
    }
    note(kRecentFiles);

    CopyText(oldSection, sizeof oldSection, module);
    AppendText(oldSection, sizeof oldSection, kOldPathsSuffix);
    ListSectionName(newSection, sizeof newSection, module, kRecentPaths);
    if (!ImportOldList(list, oldSection, list, newSection, kOldRecentCapacity, &copied) && older[0])
        ImportOldList(host_.File(kRoleOlderFile, older), oldSection, list, newSection,
                      kOldRecentCapacity, &copied);
    note(kRecentPaths);

    if (!older[0])
        return imported;
    for (ListKind kind : kFavoriteKinds) {
        ListSectionName(newSection, sizeof newSection, module, kind);
        copied = 0;
        if (list.GetInt(newSection, kKeyLast, 0) == 0)
            ImportOldList(host_.File(kRoleOlderFile, older), newSection, list, newSection,
                          kListSlots, &copied);
        note(kind);
    }
    return imported;
}

void ListStore::LoadAppLists(const char* module) {
    char path[kPathSize];
    if (!ListFile(module, path, sizeof path))
        return;
    AppLists* slot = FindSlot(module);
    if (!slot) {
        int index = -1;
        for (int i = 0; i < kAppListSlots && index < 0; ++i)
            if (!cache_.slots[i])
                index = i;
        if (index < 0)
            return;
        slot = host_.AllocateSlot();
        if (!slot)
            return;
        memset(slot, 0, sizeof *slot);
        CopyText(slot->moduleName, sizeof slot->moduleName, module);
        cache_.slots[index] = slot;
        ++cache_.count;
    }
    // An import is a change of the list like any other: without a new "Sequence" this process
    // (whose copy may match the old one, e.g. after the editor emptied the list) and every other
    // would keep showing the list as it was.
    unsigned imported = MigrateAppLists(module, path);
    for (ListKind kind : kLoadOrder) {
        ListRef ref;
        if (!Ref(module, kind, ref))
            continue;
        bool changed = (imported >> kind) & 1u;
        Refresh(ref, rereadAll_ || changed);
        if (changed)
            Bump(ref);
    }
}

void ListStore::LoadAllAppsLists(bool force) {
    if (!all_ || !allAppsPath_[0] || (all_->allListsLoaded == 1 && !force))
        return;
    memset(all_->allRecentFiles, 0, sizeof all_->allRecentFiles);
    memset(all_->allFavoriteFiles, 0, sizeof all_->allFavoriteFiles);
    memset(all_->allRecentPaths, 0, sizeof all_->allRecentPaths);
    memset(all_->allFavoritePaths, 0, sizeof all_->allFavoritePaths);
    char windows[kPathSize], kestra[kPathSize];
    host_.WindowsFolder(windows, sizeof windows);
    JoinPath(kestra, sizeof kestra, windows, kKestraFileName);
    IniFile& old = host_.File(kRoleOlderFile, kestra);
    IniFile& file = host_.File(kRoleAllAppsFile, allAppsPath_);
    for (ListKind kind : kRecentKinds) {
        char section[kSectionSize];
        ListSectionName(section, sizeof section, nullptr, kind);
        ImportOldList(old, section, file, section, kOldRecentCapacity);
    }
    for (ListKind kind : kLoadOrder) {
        ListRef ref;
        if (Ref(nullptr, kind, ref)) {
            ReadList(ref);
            ++*ref.sequence;
        }
    }
    all_->allListsLoaded = 1;
}

void ListStore::ReleaseAppLists(const char* moduleOrNull) {
    for (AppLists*& slot : cache_.slots) {
        if (!slot)
            continue;
        if (moduleOrNull && CompareNoCase(slot->moduleName, moduleOrNull, kListTextMax) != 0)
            continue;
        host_.FreeSlot(slot);
        slot = nullptr;
        if (cache_.count > 0)
            --cache_.count;
        if (moduleOrNull)
            break;
    }
    if (!moduleOrNull)
        cache_.count = 0;
}

bool IsValidRecording(const void* data, size_t size) {
    if (!data || size != sizeof(DialogRecording))
        return false;
    DialogRecording r;
    memcpy(&r, data, sizeof r);
    auto terminated = [](const char* field, size_t cap) {
        return memchr(field, 0, cap) != nullptr;
    };
    return r.magic == kRecordingMagic &&
           (r.flags & ~static_cast<uint32_t>(kRecordingFlagsAll)) == 0 &&
           terminated(r.module, sizeof r.module) && r.module[0] &&
           terminated(r.title, sizeof r.title) && terminated(r.fileType, sizeof r.fileType) &&
           terminated(r.path, sizeof r.path);
}

} // namespace vn
