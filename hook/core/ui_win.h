// Texts shown to the user come from a string table: the library's, or the manager's. The one
// message-box helper of the system, which both use.
#pragma once

#include <windows.h>

#include "hook/core/captions.h"

namespace vn {

// Loads string id of module's table; returns false (and an empty text) when it is missing.
bool LoadModuleString(HINSTANCE module, UINT id, char* buf, int size);

// A message box whose text and caption are string ids of module's table (256 characters each).
// The text's first "%u" becomes *number and its first "%s" insert, when given. A missing string
// shows a fixed text instead, so that a broken resource is noticed rather than showing an empty
// box.
int StringTableMessageBox(HINSTANCE module, HWND owner, UINT textId, UINT titleId, UINT flags,
                          const char* insert, const unsigned* number);

// The library's own strings and message boxes.
bool LoadLibraryString(UINT id, char* buf, int size);
int MessageBoxFromIds(HWND owner, UINT textId, UINT titleId, UINT flags);
// As above, with the text's "%s" replaced by path.
int MessageBoxFromIdsWithPath(HWND owner, UINT textId, UINT titleId, UINT flags, const char* path);

// The captions of the rows the library adds to lists, from its own string table.
class LibraryCaptions final : public CaptionSource {
  public:
    bool Caption(int captionId, char* buf, size_t size) override;
};

// A function of the shell library, found at run time: the library must not import shell32, which
// would load it, at several megabytes, into every process of the desktop. Loads it when the
// process has not. Null when it is missing.
void* ShellFunction(const char* name);

// Opens the help page of a context number (help_pages.h) from the help folder of programFolder
// with the program the system opens HTML files with. False when the page is not there or could
// not be opened.
bool OpenHelpPage(HWND owner, const char* programFolder, unsigned context);

// The Help buttons and F1 of the library's small dialogs: the page of context from the program
// folder the manager gave the shared state; a missing page only beeps, as the library has no
// word of its own for it.
void ShowLibraryHelp(HWND owner, unsigned context);

// F1 in a dialog (WM_HELP) does what its Help button, IDHELP, does. True when msg was F1's.
bool HelpKeyAsButton(HWND box, UINT msg);

} // namespace vn
