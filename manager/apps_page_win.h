// The "Trained Applications" page (dialog 549). The configuration sheet creates it and exchanges
// its one keyed control, the switch for trained dialogs (1013), like any other page; everything
// else on it, the list of trained applications and its editors, comes in through these calls.
#pragma once

#include <windows.h>

namespace vn {

class AppsPage {
  public:
    // The page's dialog has been created.
    void Attach(HWND page) { page_ = page; }

    HWND Window() const { return page_; }

    // The trained database was (re)loaded: show it.
    void Load() {}

    // A command of a control the sheet does not bind. Returns true when it changed the page.
    bool OnCommand(WORD /*id*/, WORD /*code*/) { return false; }

    // Apply: write what the page changed. Returns false when that failed.
    bool Apply() { return true; }

  private:
    HWND page_ = nullptr;
};

} // namespace vn
