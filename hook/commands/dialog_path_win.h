// Reading and steering a taken-over standard file dialog: its folder, the name in its file name
// box, going to a folder or file, masks, and the library's own destination chooser. Also the
// small file tests the whole library shares.
#pragma once

#include <windows.h>

namespace vn {

bool IsExistingFile(const char* path);
bool IsExistingFolder(const char* path); // one trailing backslash is ignored
bool IsReadOnlyFile(const char* path);
void ClearReadOnly(const char* path);

// The folder the dialog shows. False, with an empty output, when the dialog has no record or
// does not tell.
bool ReadDialogFolder(HWND dialog, char* out, size_t size);

// The file name box text: as typed when it names an existing file of the dialog's folder (or is
// a network path), otherwise the full path the dialog makes of it. False for an empty box, a
// mask, or a dialog that does not tell.
bool ReadTypedName(HWND dialog, char* out, size_t size);

// The full path of the file named in the file name box.
bool ReadSelectedPath(HWND dialog, char* out, size_t size);

// Puts a name into the file name box once the dialog has finished what it is doing; without a
// name and with clearIfNamed, empties the box when it names the selected file.
void ShowNameInBox(HWND dialog, const char* name, bool clearIfNamed);

// Sends the dialog to an absolute folder. False (after telling the user) when the folder cannot
// be reached; true otherwise, also when there was nothing to do.
bool GoToFolder(HWND dialog, const char* path, bool keepName);

// Shows a file: its folder (with changeFolder) and its name in the box.
bool GoToFile(HWND dialog, const char* path, bool changeFolder);

// Puts the full path of the file named in the file name box, or else the dialog's folder, on the
// clipboard as text. Nothing happens when the dialog names neither or the clipboard is busy.
void PathToClipboard(HWND dialog);

// Applies a mask ("*.txt") to the file list.
void ApplyMask(HWND dialog, const char* mask);

// The window class of the shell's browser inside the item dialog, which holds its file view.
constexpr char kItemBrowserClass[] = "ExplorerBrowserControl";

// Whether the dialog has a file view now: the classic dialog's container of the shell's view, or
// the view inside the item dialog's browser. While it changes folders it has none for a moment.
bool HasFileView(HWND dialog);

// The folder a shell browser window (the item dialog's) shows. False, with an empty output, when
// it does not tell.
bool ShellBrowserFolder(HWND browser, char* out, size_t size);

// The library's own Save dialog for choosing a destination. Nonzero when a file was chosen.
BOOL BrowseForDestination(HWND owner, const char* initialName, char* fileTitle, char* folder);

} // namespace vn
