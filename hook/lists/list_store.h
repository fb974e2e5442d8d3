// The recent and favourite lists: the list files, the copies in memory (a per-process cache of 20
// applications and the all-applications lists in the shared state), their loading and migration
// from older layouts, and every operation that changes them. Nothing here talks to Win32: the
// files, drive types, folder tests and the cache's memory are reached through ListHost, so that
// the same code runs in the library and in the unit tests.
//
// Every file is read and written key by key, so that keys written by other processes survive.
// Callers serialise the operations of all processes (list_files_win.cpp holds a session mutex
// around each one); the store itself re-reads a list before changing it when the list's
// "Sequence" in the file shows that another process changed it since.
#pragma once

#include "hook/core/settings.h"
#include "hook/core/shared_state.h"
#include "hook/lists/list_rules.h"

namespace vn {

// The four kinds, in the order of the arrays of a cache slot. The index is favourite + 2 * paths.
enum ListKind : int { kRecentFiles = 0, kFavoriteFiles = 1, kRecentPaths = 2, kFavoritePaths = 3 };
constexpr int kListKinds = 4;
constexpr int kAppListSlots = 20;
constexpr int kListTextMax = kListEntrySize - 1; // 260 characters
constexpr int kOldRecentCapacity = 25;           // rings of the older layouts
constexpr size_t kSectionSize = kListEntrySize + 24;
constexpr size_t kTitleKeyMax = kTitleSize - 1; // dialog titles are kept to 79 characters

constexpr ListKind KindOf(bool favorite, bool paths) {
    return static_cast<ListKind>((favorite ? 1 : 0) + (paths ? 2 : 0));
}
constexpr bool IsFavoriteKind(ListKind kind) {
    return kind == kFavoriteFiles || kind == kFavoritePaths;
}
constexpr bool IsPathsKind(ListKind kind) {
    return kind == kRecentPaths || kind == kFavoritePaths;
}

// One list: position n (1 to 100) is element n - 1; an empty text is an empty position.
using ListEntries = char[kListSlots][kListEntrySize];

// One application's lists in a process's cache.
struct AppLists {
    char moduleName[kListEntrySize]; // compared without regard to case
    ListEntries entries[kListKinds];
    int32_t last[kListKinds];
    uint32_t sequence[kListKinds]; // "Sequence" as last read or written; 0 before any
};

// The per-process cache. Slots are allocated when first taken, so a process that never opens a
// file dialog pays only for this table.
struct AppListCache {
    AppLists* slots[kAppListSlots];
    int32_t count; // slots in use
};

constexpr const char* kListFileExtension = ".vni";
constexpr const char* kLastFileTypesSection = "Last File Types";
constexpr const char* kDefaultFileTypeKey = "Default";
constexpr const char* kKeyLast = "Last";
constexpr const char* kKeySequence = "Sequence";
constexpr const char* kKeyOpenToFirstFavorite = "OpenToFirstFavoriteFolder";
// Where the older product kept the data folder: section "Vantor" of vantor.ini in the Windows
// folder.
constexpr const char* kOlderSettingsSection = "Vantor";
constexpr const char* kOlderDataPathKey = "Data Path";

// The section of a list: "<module> Recent Files" and so on, or the all-applications section
// ("All Files", ...) when moduleOrNull is null.
void ListSectionName(char* out, size_t cap, const char* moduleOrNull, ListKind kind);

// The list file of module: the data folder joined with "<module>.vni". False, with out empty, for
// a module name that is empty, holds a path separator or a colon, or does not fit: such a name
// could name a file outside the data folder.
bool AppListFilePath(char* out, size_t cap, const char* dataFolder, const char* module);

// The text at position (1 to 100); null when the position is empty or outside the list.
const char* ListEntryText(const ListEntries& entries, int position);

// Stores text (cut to 260 characters) at position; null empties it; positions outside 1 to 100
// are ignored.
void SetListEntry(ListEntries& entries, int position, const char* textOrNull);

// Copies an old ring (capacity positions, newest at its "Last") into newSection of newFile,
// oldest first at positions 1 to n with "Last" = n. Nothing is done when newSection already has a
// "Last"; fails when the old section has none. copiedOrNull receives n.
bool ImportOldList(IniFile& oldFile, const char* oldSection, IniFile& newFile,
                   const char* newSection, int capacity, int* copiedOrNull = nullptr);

// What one dialog leaves in the lists when it closes: the file type it ended with, the path chosen
// (with Alt also as a favourite) and the options of the settings that decide what is recorded.
// Complete in itself and pointer-free, so that it can be written later, or by the manager when
// the lists cannot be had at once, and read back by a process that trusts nothing in it.
struct DialogRecording {
    uint32_t magic; // kRecordingMagic
    uint32_t flags; // RecordingFlags
    char module[kListEntrySize];
    char title[kTitleSize];
    char fileType[kListEntrySize];
    char path[kListEntrySize];
};

constexpr uint32_t kRecordingMagic = 0x56524331; // "VRC1"
enum RecordingFlags : uint32_t {
    kRecordFileType = 1, // fileType goes into "Last File Types" under title
    kRecordChosen = 2,   // path goes into the recent lists
    kRecordFavorite = 4, // and into the favourites (Alt held at close)
    kSkipRemovable = 8,  // "Dont Save Removable"
    kSkipRemote = 16,    // "Dont Save Remote"
    kRecordingFlagsAll = 31,
};

// Whether size bytes at data are a recording this version can apply: the right size and magic,
// known flags, a module name, and every text terminated within its field.
bool IsValidRecording(const void* data, size_t size);

// Which file a request is about; the host keeps one open file per role, so a request for one role
// leaves the files of the others as they are.
enum FileRole { kRoleListFile, kRoleAllAppsFile, kRoleOlderFile, kRoleOlderSettings, kFileRoles };

class ListHost {
  public:
    // The ini file at path, valid until the next request for the same role.
    virtual IniFile& File(FileRole role, const char* path) = 0;
    // GetDriveTypeA of the root folder "<letter>:\".
    virtual unsigned DriveType(char letter) = 0;
    // An existing folder (one trailing backslash ignored).
    virtual bool IsExistingFolder(const char* path) = 0;
    // The Windows folder, where the older product kept its settings.
    virtual void WindowsFolder(char* buf, size_t size) = 0;
    // Memory of one zeroed cache slot, or null when there is none.
    virtual AppLists* AllocateSlot() = 0;
    virtual void FreeSlot(AppLists* slot) = 0;

  protected:
    ~ListHost() = default;
};

// One operation's view of the lists. Application lists live in the cache; the all-applications
// lists in `all` (null when the shared state is not available: those lists are then left alone).
class ListStore {
  public:
    // rereadAll: the previous holder of the lists lock died while holding it, so every list this
    // operation touches is read again from its file, whatever its "Sequence" says.
    ListStore(ListHost& host, AppListCache& cache, AllAppsLists* allOrNull, const char* dataFolder,
              const char* allAppsPath, bool rereadAll);
    ListStore(const ListStore&) = delete;
    ListStore& operator=(const ListStore&) = delete;

    // Takes or refreshes module's slot: migration of older layouts, then each list read again
    // unless its "Sequence" is unchanged. With all 20 slots taken the module gets none.
    void LoadAppLists(const char* module);
    // Reads the all-applications lists (after the import from kestra.ini) unless they were read
    // already; with force they are read again.
    void LoadAllAppsLists(bool force);
    // Frees module's slot, or every slot when moduleOrNull is null.
    void ReleaseAppLists(const char* moduleOrNull);

    AppLists* FindSlot(const char* module);
    ListEntries* ListOf(const char* moduleOrNull, ListKind kind);
    int ListLast(const char* moduleOrNull, ListKind kind);

    // The most-recently-used rule for a file, or for the folder of path (paths set).
    void AddRecent(const char* moduleOrNull, const char* path, bool paths);
    // Appends a favourite; succeeds without change when present in any letter case; fails when
    // the list holds 100 or there is no list.
    bool AddFavorite(const char* moduleOrNull, const char* text, bool paths);
    // The ADD commands and Alt at close: masks lose their folder (and are refused with it), the
    // folder-pick hint adds only the folder.
    bool AddFavoriteFromDialog(const char* moduleOrNull, const char* text, bool withFolder);
    bool AddFolderFavorite(const char* moduleOrNull, const char* folder);
    // Records the path chosen in a dialog of module in its lists and in the all-applications
    // lists, unless it is a mask, on an excluded drive or WinZip's scratch name.
    void RecordChosenFile(const char* module, const char* path, const RecordOptions& options);
    // Everything one dialog's close records, in the order the dialog would have written it.
    // False when the favourite asked for could not be added (the rest is recorded all the same).
    bool ApplyRecording(const DialogRecording& recording);

    // Empties a list in memory; the file is not touched.
    void ClearList(const char* moduleOrNull, ListKind kind);
    // Counts a change of the list and writes the new "Sequence" (application lists only).
    uint32_t BumpSequence(const char* moduleOrNull, ListKind kind);
    // What the list editors do on OK: the section is deleted and the rows stored again in order
    // (favourites first to last, recent lists last to first so that the first row is newest).
    bool ReplaceList(const char* moduleOrNull, ListKind kind, const char* const* rows, int count);

    bool FirstFavoriteFolder(const char* moduleOrNull, char* buf, size_t size);
    // The newest folder of module's recent folders that exists, walking back from "Last" and
    // wrapping only when the ring is full; without a trailing backslash unless it is a root.
    bool LastUsedFolder(const char* module, char* buf, size_t size);
    int ReadOpenToFirstFavorite(const char* module);
    void WriteOpenToFirstFavorite(const char* module, int value);
    // "Last File Types": the type chosen in a dialog, keyed by its title ("Default" for none).
    void SaveLastFileType(const char* module, const char* title, const char* typeText);
    bool LoadLastFileType(const char* module, const char* title, char* buf, size_t size);

  private:
    struct ListRef {
        ListEntries* entries;
        int32_t* last;
        uint32_t* sequence;
        bool sequenceInFile; // the all-applications sections have none
        bool shared;
        ListKind kind;
        IniFile* file;
        char section[kSectionSize];
    };

    bool Ref(const char* moduleOrNull, ListKind kind, ListRef& ref);
    bool RefForChange(const char* moduleOrNull, ListKind kind, ListRef& ref);
    void ReadList(const ListRef& ref);
    void Refresh(const ListRef& ref, bool force);
    int ValidLast(const ListRef& ref) const;
    void WriteNumber(const ListRef& ref, const char* key, uint32_t value);
    void WriteEntry(const ListRef& ref, int position, const char* text);
    int AdvanceLast(const ListRef& ref);
    uint32_t Bump(const ListRef& ref);
    void InsertRecent(const ListRef& ref, const char* text);
    bool InsertFavorite(const ListRef& ref, const char* text);
    void AddRecentTo(const ListRef& ref, const char* path);
    unsigned MigrateAppLists(const char* module, const char* listPath);
    bool ListFile(const char* module, char* path, size_t cap);
    void TitleKey(const char* title, char* key, size_t cap);

    ListHost& host_;
    AppListCache& cache_;
    AllAppsLists* all_;
    char dataFolder_[kPathSize];
    char allAppsPath_[kPathSize];
    bool rereadAll_;
};

} // namespace vn
