// The folders a user of a Linux desktop keeps at hand, offered in the favourite folders list of a
// dialog whose program runs under Wine: the standard user folders of "user-dirs.dirs" and the
// file manager bookmarks of the GTK desktops ("gtk-3.0/bookmarks"). Both files are the user's
// own and are only read, never written; they are treated as hostile, since anything may be in
// them. Nothing here talks to Win32: the mapping of a Linux path to a Windows one and the
// existence test go through PlaceSystem.
#pragma once

#include "hook/core/compat.h"
#include "hook/core/sizes.h"

namespace vn {

// Linux paths are held up to this size; a longer one is not a place.
constexpr size_t kLinuxPathSize = 4096;

// At most this many places are offered, the user folders first, then the bookmarks.
constexpr int kMaxLinuxPlaces = 40;

// Of each file only this much is read: a bookmarks file of thousands of lines costs no more.
constexpr size_t kMaxPlacesFileBytes = 64 * 1024;

// The folder of one bookmark line ("file:///home/u/My%20Work Label") into out: a Linux path,
// percent-decoded. False for lines that are no local file URI (sftp://, smb://, another host),
// for malformed escapes, for escapes that decode to a zero, a control character, a backslash or
// bytes that are not UTF-8, and for paths that do not fit out. The label after the URI is
// ignored, whatever it holds.
bool BookmarkFolder(const char* line, size_t length, char* out, size_t cap);

// The folder of one line of "user-dirs.dirs" (XDG_DOWNLOAD_DIR="$HOME/Downloads") into out, with
// $HOME replaced by home. False for comments, other lines, values that are neither "$HOME/..."
// nor absolute, a folder that is the home folder itself (how the file switches a folder off),
// and paths that do not fit out.
bool UserDirFolder(const char* line, size_t length, const char* home, char* out, size_t cap);

// The Linux folder of the user's configuration: XDG_CONFIG_HOME when it is an absolute path,
// otherwise home + "/.config". False when neither can be made.
bool ConfigFolder(const char* xdgConfigHome, const char* home, char* out, size_t cap);

// What the places need of the system.
class PlaceSystem {
  public:
    // The Windows name of a Linux folder, through the drive mapping of the Wine prefix; false
    // when it has none, when it is longer than kMaxPath, or when the ANSI code page cannot
    // hold it.
    virtual bool WindowsFolder(const char* linuxPath, char* out, size_t cap) = 0;
    // An existing folder by its Windows name.
    virtual bool FolderExists(const char* windowsPath) = 0;

  protected:
    ~PlaceSystem() = default; // never owned through this interface
};

// The places of one dialog, as Windows folders.
struct LinuxPlaces {
    int count;
    char folders[kMaxLinuxPlaces][kPathSize];
};

// Fills places from the texts of the two files (either may be null: a file that is missing),
// each read as at most kMaxPlacesFileBytes: first the user folders in their order, then the
// bookmarks in theirs. A place is left out when its line is not understood, when it has no
// Windows name, when the folder does not exist and when it repeats one already there (ignoring
// case).
void CollectLinuxPlaces(const char* userDirs, size_t userDirsLength, const char* bookmarks,
                        size_t bookmarksLength, const char* home, PlaceSystem& system,
                        LinuxPlaces& places);

} // namespace vn
