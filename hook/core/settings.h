// The settings store: the keys of section "Vantor 3" of the settings file, the one key table
// that both the library and the manager read and write through, the three exclusion lists and
// the registry values that locate the files. Nothing here talks to Win32: ini files and the
// registry are reached through the small interfaces below, whose Win32 versions live in
// settings_win.cpp, so that every rule runs and is tested on any platform.
#pragma once

#include "hook/core/compat.h"
#include "hook/core/settings_block.h"

namespace vn {

struct SharedState;

// File, section and key names that code outside the key table needs. Each name is spelled here
// and nowhere else.
constexpr const char* kSettingsSection = "Vantor 3";
constexpr const char* kIniFileName = "vantor.ini";
constexpr const char* kKestraSection = "Kestra";
constexpr const char* kKestraFileName = "kestra.ini";

constexpr const char* kKeyCommonEnabled = "Common Enabled";
constexpr const char* kKeyShowIcon = "Show Icon";
constexpr const char* kKeyTrainedEnabled = "Trained Enabled";
constexpr const char* kKeyCloseDelay = "Close Delay";
constexpr const char* kKeyShowUsageNote = "Show Usage Note";
constexpr const char* kKeyIgnoreModules = "Ignore Modules";
constexpr const char* kKeyLastLeft = "LastLeft";
constexpr const char* kKeyLastTop = "LastTop";
constexpr const char* kKeyLastWidth = "LastWidth";
constexpr const char* kKeyLastHeight = "LastHeight";
inline constexpr const char* kKeyColWidth[7] = {"ColWidth0", "ColWidth1", "ColWidth2", "ColWidth3",
                                                "ColWidth4", "ColWidth5", "ColWidth6"};

// Defaults of the keys that live outside HookSettings and are read where they are used.
constexpr int32_t kDefaultCloseDelay = 5000; // milliseconds
constexpr int32_t kDefaultShowUsageNote = 1;
constexpr int32_t kNoLastValue = -1;    // "LastLeft" .. "LastHeight" when nothing is known
constexpr int kIgnoreModulesSize = 128; // 127 characters and the terminator

// Registry key under HKEY_CURRENT_USER and its two values.
constexpr const char* kRegistryKey = "Software\\Orvelle Software\\Vantor";
constexpr const char* kRegProgramPath = "Program Path";
constexpr const char* kRegDataPath = "Data Path";

// One ini file, with the semantics of the Win32 profile functions.
class IniFile {
  public:
    // GetPrivateProfileIntA: def when the key is missing or empty; otherwise the leading decimal
    // number with optional sign, and 0 for text that does not start with one.
    virtual int32_t GetInt(const char* section, const char* key, int32_t def) = 0;
    // GetPrivateProfileStringA: the value (def when missing) cut to size - 1 characters and
    // always terminated. Returns the number of characters stored.
    virtual size_t GetString(const char* section, const char* key, const char* def, char* buf,
                             size_t size) = 0;
    virtual bool WriteString(const char* section, const char* key, const char* value) = 0;

    // Whole sections (GetPrivateProfileSectionA, WritePrivateProfileSectionA), for files that
    // have them: "key=value" lines, each ended by a zero, the list by a second zero. GetSection
    // returns the bytes stored without the final zero; size - 2 means the buffer was too small.
    virtual bool HasSections() const { return false; }
    virtual size_t GetSection(const char*, char* buf, size_t size) {
        if (buf && size >= 2)
            buf[0] = buf[1] = 0;
        return 0;
    }
    virtual bool WriteSection(const char*, const char*) { return false; }

  protected:
    ~IniFile() = default; // never owned through this interface
};

// The longest section or key name and value that the system writes, with the terminator.
constexpr size_t kIniNameSize = 320;
constexpr size_t kIniValueSize = 272;

// Flags of a key table row.
enum SettingKeyFlags : uint16_t {
    kKeyLibrary = 1,    // read by the library into HookSettings
    kKeyManager = 2,    // read and written by the manager
    kKeyBoolean = 4,    // only 0 and nonzero are distinguished
    kKeyFileButton = 8, // one of the seven file-management buttons ("Add Clip" .. "Add Delete")
    kKeyButton = 16,    // one of the eight button keys (the seven and "Add Vantor Button")
    kKeyAfterLists = 32 // the manager reads it after the exclusion lists and writes it last
};

// What a read makes of a number outside its key's range. A count or a percentage is taken to its
// nearest bound; a choice among values (a sort key, a hot key) or a width has no nearest meaning
// and falls back to the default.
enum class OutOfRange : uint8_t { kClamp, kToDefault };

// The widest column a read accepts, in pixels.
constexpr int32_t kMaxColumnWidth = 32767;

// One key of section "Vantor 3". offset locates the field in ManagerSettings; the rows the
// library reads all lie in its leading HookSettings, so the same offset serves both sides.
// low and high bound what a read accepts (booleans: 0 and 1, any nonzero value reads as 1).
struct SettingKey {
    const char* name;
    uint16_t offset;
    uint16_t flags;
    int32_t libraryDefault;
    int32_t managerDefault;
    int32_t low;
    int32_t high;
    OutOfRange outOfRange;
};

// The key table, in the library's read order, with the manager-only rows marked as such.
extern const SettingKey kSettingKeys[];
extern const int kSettingKeyCount;

// value as key's range accepts it: a boolean as 0 or 1, a number inside [low, high] unchanged,
// else its nearest bound or fallback (the default of the side that reads), as the row says.
int32_t BringIntoRange(const SettingKey& key, int32_t value, int32_t fallback);

// The row of the field at offset (of ManagerSettings), or null when no key fills that field.
const SettingKey* FindSettingKey(uint16_t offset);

// Library defaults of every keyed field and the fixed words; the unkeyed state words are zero.
void SetLibraryDefaults(HookSettings& h);

// Asks the manager for its settings serial. Returns false when there is no manager or it did
// not answer in time.
class SerialQuery {
  public:
    virtual bool QuerySerial(const char* moduleName, uint32_t* serial) = 0;

  protected:
    ~SerialQuery() = default;
};

// Refreshes the settings cached in s from ini when the manager's serial changed or nothing has
// been read yet. Without an answer from the manager the cache stands as it is: a hung manager
// must neither block a dialog nor make every dialog re-read the file.
void ReadLibrarySettings(SharedState& s, IniFile& ini, SerialQuery* serialOrNull,
                         const char* moduleName);

// The three exclusion lists.

// The list of s for a kind; null for a value that is not a kind.
ExcludeList* ExcludeListOf(SharedState& s, ExcludeKind kind);

// Reads the three lists from section of ini: counts clamped to 0..100, entries cut to 95
// characters, default "".
void ReadExcludeLists(ExcludeList& excludes, ExcludeList& sizeExcludes,
                      ExcludeList& lastDirExcludes, IniFile& ini, const char* section);

// True when an entry of list excludes the dialog (module, title). Entries without a title match
// every dialog of their module; with no title given, entries with a title are passed over.
// list may be shared memory that another process writes at the same time: it is only read.
bool MatchExclude(const ExcludeList& list, const char* module, const char* titleOrNull);

// The entry that excludes the dialog (module, title): the module cut to the 8 characters that
// are compared, then " : " and the title cut to 80 when there is a title. False (and "") when
// module is empty.
bool MakeExcludeEntry(char* entry, size_t size, const char* module, const char* titleOrNull);

// One change of an exclusion list: entries ("module" or "module : title", as stored) to add, or
// to take out.
struct ExcludeChange {
    bool remove;
    const char* const* entries;
    int count;
};

// Changes list kind of section "Vantor 3" as a read-modify-write of ini, which is the truth: a
// copy held in memory may have missed another process's change, so the list is read from ini,
// changed, and written back. An added entry goes at the end unless it names no module, the
// dialog it names is already excluded (MatchExclude) or the list holds 100; a removed entry takes
// out every entry of the same text. Only keys whose value changed are written, the entries before
// the count, so that a reader without the lock never sees a count that covers an entry not yet
// written; the count is also written when ini lacks it. The other lists are not touched. list
// receives the list as ini now holds it. Returns the number of entries added or taken out.
// The caller holds whatever serialises changes of ini (the settings lock on Windows).
int ChangeExcludeList(IniFile& ini, ExcludeKind kind, const ExcludeChange& change,
                      ExcludeList& list);

// Copies list into shared, a list that other processes read at the same time: until the new
// entries are in place they see no more entries than the old and the new count have in common.
void StoreExcludeList(ExcludeList& shared, const ExcludeList& list);

// Adds the entry of (module, title) to list kind of ini as ChangeExcludeList does and refreshes
// the list of s, the copy every process matches against, from the result. Returns true when an
// entry was added.
bool AddExclude(SharedState& s, ExcludeKind kind, const char* module, const char* titleOrNull,
                IniFile& ini);

// Writes value as unsigned decimal text under key of section "Vantor 3".
bool WriteIntKey(IniFile& ini, const char* key, uint32_t value);

// The registry values that locate the program and data folders.
class FolderSource {
  public:
    virtual bool OpenKey() = 0;
    // Stores the string value name in buf; false when it is missing or not a string. The text
    // may come back without a terminator when it fills buf.
    virtual bool QueryValue(const char* name, char* buf, size_t size) = 0;
    virtual void CloseKey() = 0;
    virtual bool IsDirectory(const char* path) = 0;
    virtual void CurrentDirectory(char* buf, size_t size) = 0;

  protected:
    ~FolderSource() = default;
};

// Fills the requested buffers (either may be null) with "Program Path" and "Data Path"; a value
// that is missing or names no existing folder gives the current directory instead. Returns 1
// when every requested value named an existing folder, else 0.
int ReadRegistryFolders(FolderSource& source, char* programFolderOrNull, char* dataFolderOrNull,
                        size_t size);

// What the manager's configuration pages hold: every key of the table, with the exclusion
// lists. The HookSettings part comes first so that the key table's offsets fit both sides.
struct ManagerSettings {
    HookSettings values;
    int32_t commonEnabled;
    int32_t showIcon;
    int32_t trainedEnabled;
    ExcludeList excludes;
    ExcludeList sizeExcludes;
    ExcludeList lastDirExcludes;
};

// The manager defaults; "Height32" and "Width32" are lowered on large screens so that the
// enlarged dialog stays near 570 by 710 pixels.
void SetManagerDefaults(ManagerSettings& m, int screenWidth, int screenHeight);

// Reads every key the manager uses and the three lists, each key with its current value as the
// default. When ini has no "Height32" but kestra (the older product's file, may be null) has one,
// everything is imported from kestra's section "Kestra" instead, and the result is true: the
// imported lists are then still to be added to ini (ChangeExcludeList).
bool ReadManagerSettings(ManagerSettings& m, IniFile& ini, IniFile* kestraOrNull);

// Writes every key the manager uses, "Trained Enabled" last. The exclusion lists are left out:
// the manager's copy may have missed a change another process made, so they change only through
// ChangeExcludeList. False when any write failed (a read-only file, a full disk).
bool WriteManagerSettings(const ManagerSettings& m, IniFile& ini);

// The field of m that key fills.
int32_t& SettingValue(ManagerSettings& m, const SettingKey& key);

} // namespace vn
