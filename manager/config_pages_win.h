// The configuration sheet: a tab control over the main dialog's frame with one child dialog per
// page. The pages are data exchange between the controls and the manager's ManagerSettings along
// the tables of config_pages.h; every change marks the page and tells the main window.
#pragma once

#include <windows.h>

#include "manager/apps_page_win.h"
#include "manager/config_pages.h"

namespace vn {

class ConfigSheet {
  public:
    // Creates the tab control and the pages over the rectangle of the owner's control frameId.
    // The pages report changes to owner with kPageChangedMessage.
    bool Create(HINSTANCE instance, HWND owner, int frameId, ManagerSettings* settings);

    // settings -> controls of every page; clears the pages' changes, including the exclusion
    // entries waiting to be re-enabled.
    void Load();
    // The exclusion lists changed under the pages: shown again, less the entries waiting to be
    // re-enabled.
    void ReloadExcludeLists();

    // Checks the number fields of the active page. On a bad one, says so, puts the focus on it
    // and returns false.
    bool ValidateActive();
    // controls -> settings of every page; the pages must be valid (ValidateActive: a page cannot
    // be left while it is not).
    void Store();
    // The entries re-enabled on the "Disabled Dialogs" page since the last Load, by list kind.
    const ExcludeList& Removed(int kind) const { return removed_[kind]; }

    bool AnyModified() const;
    void ClearModified();
    void ShowPage(int index);
    // Ctrl+Tab and Ctrl+Shift+Tab: the next or previous page. True when msg was such a key.
    bool OnKey(const MSG& msg);
    // The tab control's notifications; true when handled (result in *result).
    bool OnNotify(const NMHDR* header, LRESULT* result);

    // A switch changed outside the pages (the tray): the check box shows it.
    void ShowCheck(PageId page, int id, bool checked);

    AppsPage& Apps() { return apps_; }
    // Shows the "Trained Applications" page with entry index selected and its editor open
    // (AppsPage::ShowEntry); an edit left for Apply marks the page changed.
    void ShowTrainedEntry(int index, bool saveAtOnce);

  private:
    struct Page {
        ConfigSheet* sheet = nullptr;
        PageId id = PageId::kMainOptions;
        HWND hwnd = nullptr;
        bool modified = false;
    };

    static INT_PTR CALLBACK PageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnPageCommand(Page& page, WORD id, WORD code, HWND control);
    void Changed(Page& page);
    void ApplyRules(const Page& page);
    void LoadPage(Page& page);
    void LoadExcludeLists();
    void ReEnable(Page& page, int list);
    bool ValidatePage(const Page& page);

    HWND owner_ = nullptr;
    HWND tabs_ = nullptr;
    ManagerSettings* settings_ = nullptr;
    Page pages_[kPageCount];
    int shown_ = 0; // the page on show, which may differ from the tab chosen a moment ago
    ExcludeList removed_[kExcludeKinds] = {};
    bool loading_ = false; // notifications of the controls' own filling are not changes
    AppsPage apps_;
};

} // namespace vn
