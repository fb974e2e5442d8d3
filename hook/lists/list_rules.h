// Text rules of the recent and favourite lists: folder and file-name parts, the relative form of
// a path, how an entry is shown, and which chosen paths are recorded at all. Every result that is
// a part of a path is returned as a pointer into that path, so nothing here can overrun a buffer.
#pragma once

#include "hook/core/path_rules.h" // FileNamePart
#include "hook/core/compat.h"

namespace vn {

// What the Save dialog shows in the file name box while the user picks a folder; a chosen path
// holding it names a folder, not a file (case-sensitive, as the dialog writes it).
constexpr const char* kFolderPickHint = "(navigate to folder and click Save)";

// WinZip opens its dialogs with a scratch name that is never a file the user chose.
constexpr const char* kWinZipModule = "WINZIP";
constexpr const char* kWinZipScratchName = "\\a.a";

// Drive types as GetDriveTypeA reports them.
constexpr unsigned kDriveRemovable = 2;
constexpr unsigned kDriveRemote = 4;

// "Recent Path Option": how entries of file lists are shown.
enum RecentPathOption { kShowNameOnly = 0, kShowCompletePath = 1, kShowRelativePath = 2 };

// True when text holds a wildcard, i.e. is a file mask rather than a file.
bool IsMask(const char* text);

// Copies everything up to and including the last backslash or colon of path into out (cap
// bytes, cut to fit); empty when there is none. C:\Docs\a.txt gives C:\Docs\, C:a.txt gives C:.
// Returns the length stored.
size_t FolderOf(const char* path, char* out, size_t cap);

// The path as shown relative to base (the dialog's current folder, normally without a trailing
// backslash): the part after base when path lies in it, else the path without its drive ("\x"),
// else the whole path. A null base or an empty path gives the path.
const char* MakeRelativePath(const char* path, const char* baseOrNull);

// How an entry of a list is shown (before any shortening to the control's width): folder lists
// and favourite masks as stored; file entries by option.
const char* DisplayForm(const char* entry, bool favorite, bool paths, int recentPathOption,
                        const char* baseOrNull);

// What is recorded of a path chosen in a dialog.
enum class ChosenRecord { kNothing, kFolderOnly, kFileAndFolder };

struct RecordOptions {
    bool dontSaveRemovable;
    bool dontSaveRemote;
};

// Whether testing path may wait on the network: a UNC path, or a path on a network drive
// (driveType of its drive letter).
bool MayWaitOnNetwork(const char* path, unsigned driveType);

// The letter whose root folder's drive type decides about path: its first character,
// upper-cased.
char DriveLetterOf(const char* path);

// Decides what RecordChosenFile keeps of path, chosen in a dialog of module, given the drive type
// of DriveLetterOf(path).
ChosenRecord ClassifyChosenPath(const char* path, const char* module, const RecordOptions& options,
                                unsigned driveType);

// True for WinZip's scratch name in a module named exactly "WINZIP".
bool IsWinZipScratch(const char* module, const char* path);

// Makes text safe to store as an ini value or key: control characters (which would start a new
// line, and so a forged key or section, in the list file) become spaces. With forKey set, "=" and
// brackets, which would end the key or open a section, are replaced as well.
void SanitizeIniText(char* text, bool forKey);

} // namespace vn
