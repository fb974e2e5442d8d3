// The "Trained Applications" page (dialog 549). The configuration sheet creates it and exchanges
// its one keyed control, the switch for trained dialogs (1013), like any other page; the list of
// trained applications, its editors, the import and the start of training are this page's own.
// It edits the main window's copy of the trained database and writes it back on Apply.
#pragma once

#include <windows.h>

#include "hook/core/trained_entry.h"

namespace vn {

// What the page works on, all owned by the main window and living as long as it.
struct AppsPageData {
    HWND mainWindow = nullptr;
    TrainedEntry* entries = nullptr; // kTrainedSlots slots, count of them in use
    int* count = nullptr;
    const char* programFolder = ""; // where the help pages are
    const char* importFolder = "";  // where the import dialog starts: the data folder
    const char* databasePath = "";  // the trained database file
};

class AppsPage {
  public:
    void Connect(const AppsPageData& data) { data_ = data; }
    // The page's dialog has been created.
    void Attach(HWND page) { page_ = page; }

    HWND Window() const { return page_; }

    // The copy was (re)loaded from the file: show it, with nothing to write.
    void Load();

    // A command of a control the sheet does not bind. Returns true when it changed the copy.
    bool OnCommand(WORD id, WORD code);

    // Apply: writes the copy when the page changed it, then has the library load it. Returns
    // false when the file could not be written; the change then stays to be written again.
    bool Apply();

    // Selects entry index and opens its editor. With saveAtOnce an edit is written at once (the
    // copy was just loaded from the file: it holds nothing else to write); without, it waits for
    // Apply. Returns true when the copy holds a change that still waits for Apply, so that the
    // caller marks the page changed.
    bool ShowEntry(int index, bool saveAtOnce);

  private:
    void Show();
    int Selected() const;
    bool Edit();
    bool Delete();
    bool Save();

    HWND page_ = nullptr;
    AppsPageData data_;
    int selection_ = -1;
    bool changed_ = false; // the copy differs from the file
};

} // namespace vn
