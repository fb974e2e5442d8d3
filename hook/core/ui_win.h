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

// The library's help file for the small dialogs' Help buttons (HELP_CONTEXT) and their closing
// (HELP_QUIT). A help file that is not there is not asked for: WinHelp would only complain.
void ShowLibraryHelp(HWND owner, UINT command, ULONG_PTR data);

} // namespace vn
