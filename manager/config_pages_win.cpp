#include "manager/config_pages_win.h"

#include "manager/resource.h"
#include "manager/tray_rules.h"
#include "manager/ui_win.h"

#include "hook/core/shared_state.h"
#include "hook/core/text.h"
#include "hook/core/ui_win.h"

#include <commctrl.h>

#include <cstdio>

namespace vn {

namespace {

constexpr int kTabsId = 1001; // the tab control among the main dialog's children

// The check states and list selections of one page's controls.
class DialogStates : public PageStates {
  public:
    explicit DialogStates(HWND page) : page_(page) {}
    bool Checked(int id) const override { return IsDlgButtonChecked(page_, id) == BST_CHECKED; }
    bool HasSelection(int listId) const override {
        HWND list = GetDlgItem(page_, listId);
        return list && SendMessageA(list, LB_GETCOUNT, 0, 0) > 0 &&
               SendMessageA(list, LB_GETCURSEL, 0, 0) != LB_ERR;
    }

  private:
    HWND page_;
};

ExcludeList& ListOf(ManagerSettings& m, int kind) {
    ExcludeList* lists[kExcludeKinds] = {&m.excludes, &m.sizeExcludes, &m.lastDirExcludes};
    return *lists[kind];
}

bool Contains(const ExcludeList& list, const char* entry) {
    for (int i = 0; i < ExcludeCount(list); ++i)
        if (strncmp(list.entries[i], entry, kExcludeEntrySize) == 0)
            return true;
    return false;
}

const PageControl* ControlOf(PageId page, int id) {
    for (int i = 0; i < kPageControlCount; ++i) {
        const PageControl& c = kPageControls[i];
        if (c.page != page)
            continue;
        for (int j = 0; j < c.count; ++j)
            if (c.ids[j] == id)
                return &c;
    }
    return nullptr;
}

} // namespace

bool ConfigSheet::Create(HINSTANCE instance, HWND owner, int frameId, ManagerSettings* settings) {
    owner_ = owner;
    settings_ = settings;
    HWND frame = GetDlgItem(owner, frameId);
    RECT area = {};
    GetWindowRect(frame, &area);
    MapWindowPoints(nullptr, owner, reinterpret_cast<POINT*>(&area), 2);

    // WS_CLIPSIBLINGS: the pages lie over the tab control and it must not paint over them.
    tabs_ =
        CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS,
                        area.left, area.top, area.right - area.left, area.bottom - area.top, owner,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTabsId)), instance, nullptr);
    if (!tabs_)
        return false;
    SendMessageA(tabs_, WM_SETFONT, static_cast<WPARAM>(SendMessageA(owner, WM_GETFONT, 0, 0)),
                 FALSE);
    // The tab order follows the frame: tabs, then the page, then the dialog's buttons.
    SetWindowPos(tabs_, frame, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (int i = 0; i < kPageCount; ++i) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(kPages[i].title);
        SendMessageA(tabs_, TCM_INSERTITEMA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&item));
    }
    RECT display = area;
    SendMessageA(tabs_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));

    HWND after = tabs_;
    for (int i = 0; i < kPageCount; ++i) {
        Page& page = pages_[i];
        page.sheet = this;
        page.id = kPages[i].id;
        CreateDialogParamA(instance, MAKEINTRESOURCEA(kPages[i].dialog), owner, PageProc,
                           reinterpret_cast<LPARAM>(&page));
        if (!page.hwnd)
            return false;
        SetWindowPos(page.hwnd, after, display.left, display.top, display.right - display.left,
                     display.bottom - display.top, SWP_NOACTIVATE);
        after = page.hwnd;
        if (page.id == PageId::kTrainedApps)
            apps_.Attach(page.hwnd);
    }
    ShowPage(0);
    return true;
}

INT_PTR CALLBACK ConfigSheet::PageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Page* page = DialogObject<Page>(hwnd, msg, lParam);
    if (page && msg == WM_INITDIALOG) {
        page->hwnd = hwnd;
        return FALSE;
    }
    if (page && msg == WM_COMMAND) {
        page->sheet->OnPageCommand(*page, LOWORD(wParam), HIWORD(wParam),
                                   reinterpret_cast<HWND>(lParam));
        return TRUE;
    }
    return FALSE;
}

void ConfigSheet::OnPageCommand(Page& page, WORD id, WORD code, HWND control) {
    if (!control)
        return; // menu and accelerator commands: a page has none
    if (const PageControl* c = ControlOf(page.id, id)) {
        bool edit = c->kind == ControlKind::kNumber;
        if ((edit && code == EN_CHANGE) || (!edit && code == BN_CLICKED))
            Changed(page);
        return;
    }
    if (page.id == PageId::kDisabledDialogs) {
        for (int list : page_ids::kExcludeLists) {
            if (id == list && code == LBN_SELCHANGE)
                ApplyRules(page);
            else if (id == list + 1 && code == BN_CLICKED)
                ReEnable(page, list);
        }
    } else if (page.id == PageId::kTrainedApps) {
        if (apps_.OnCommand(id, code))
            Changed(page);
        else
            ApplyRules(page); // the selection may have moved
    }
}

void ConfigSheet::ShowTrainedEntry(int index, bool saveAtOnce) {
    Page& page = pages_[static_cast<int>(PageId::kTrainedApps)];
    ShowPage(static_cast<int>(PageId::kTrainedApps));
    ApplyRules(page);
    if (apps_.ShowEntry(index, saveAtOnce))
        Changed(page);
    else
        ApplyRules(page);
}

void ConfigSheet::Changed(Page& page) {
    if (loading_)
        return;
    page.modified = true;
    ApplyRules(page);
    SendMessageA(owner_, kPageChangedMessage, 0, 0);
}

void ConfigSheet::ApplyRules(const Page& page) {
    DialogStates states(page.hwnd);
    Enabling e = PageEnabling(page.id, states);
    for (int i = 0; i < e.count; ++i)
        EnableWindow(GetDlgItem(page.hwnd, e.ids[i]), e.enabled[i] ? TRUE : FALSE);
}

void ConfigSheet::Load() {
    for (ExcludeList& list : removed_)
        list.count = 0;
    apps_.Load(); // before the page's rules, which follow its selection
    for (Page& page : pages_)
        LoadPage(page);
}

void ConfigSheet::LoadPage(Page& page) {
    loading_ = true;
    for (int i = 0; i < kPageControlCount; ++i) {
        const PageControl& c = kPageControls[i];
        const SettingKey* key = FindSettingKey(c.field);
        if (c.page != page.id || !key)
            continue;
        int32_t value = SettingValue(*settings_, *key);
        switch (c.kind) {
        case ControlKind::kCheck:
            CheckDlgButton(page.hwnd, c.ids[0], value ? BST_CHECKED : BST_UNCHECKED);
            break;
        case ControlKind::kRadio:
            for (int j = 0; j < c.count; ++j)
                CheckDlgButton(page.hwnd, c.ids[j], j == value ? BST_CHECKED : BST_UNCHECKED);
            break;
        case ControlKind::kNumber:
            SetDlgItemInt(page.hwnd, c.ids[0], static_cast<UINT>(value), TRUE);
            break;
        }
    }
    if (page.id == PageId::kDisabledDialogs)
        LoadExcludeLists();
    loading_ = false;
    page.modified = false;
    ApplyRules(page);
}

void ConfigSheet::ReloadExcludeLists() {
    loading_ = true;
    LoadExcludeLists();
    loading_ = false;
    for (Page& page : pages_)
        if (page.id == PageId::kDisabledDialogs)
            ApplyRules(page);
}

void ConfigSheet::LoadExcludeLists() {
    HWND page = pages_[static_cast<int>(PageId::kDisabledDialogs)].hwnd;
    for (int kind = 0; kind < kExcludeKinds; ++kind) {
        HWND box = GetDlgItem(page, page_ids::kExcludeLists[kind]);
        SendMessageA(box, LB_RESETCONTENT, 0, 0);
        const ExcludeList& list = ListOf(*settings_, kind);
        for (int i = 0; i < ExcludeCount(list); ++i) {
            char entry[kExcludeEntrySize];
            CopyField(entry, sizeof entry, list.entries[i], kExcludeEntrySize);
            if (!Contains(removed_[kind], entry))
                SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        }
    }
}

// The entry leaves the file at the next Apply; until then it only leaves the list box.
void ConfigSheet::ReEnable(Page& page, int listId) {
    HWND box = GetDlgItem(page.hwnd, listId);
    LRESULT selected = SendMessageA(box, LB_GETCURSEL, 0, 0);
    LRESULT length = selected == LB_ERR ? LB_ERR : SendMessageA(box, LB_GETTEXTLEN, selected, 0);
    if (length == LB_ERR || length >= kExcludeEntrySize)
        return; // every entry the page shows fits: anything else is not one of them
    int kind = 0;
    while (page_ids::kExcludeLists[kind] != listId)
        ++kind;
    ExcludeList& removed = removed_[kind];
    char entry[kExcludeEntrySize] = "";
    SendMessageA(box, LB_GETTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(entry));
    if (removed.count < kMaxExcludes && !Contains(removed, entry))
        CopyText(removed.entries[removed.count++], kExcludeEntrySize, entry);
    SendMessageA(box, LB_DELETESTRING, static_cast<WPARAM>(selected), 0);
    SetFocus(box); // the button is disabled now that nothing is selected
    Changed(page);
}

bool ConfigSheet::ValidatePage(const Page& page) {
    for (int i = 0; i < kPageControlCount; ++i) {
        const PageControl& c = kPageControls[i];
        if (c.page != page.id || c.kind != ControlKind::kNumber)
            continue;
        HWND field = GetDlgItem(page.hwnd, c.ids[0]);
        char text[32] = "";
        GetWindowTextA(field, text, sizeof text);
        if (CheckNumberText(text, nullptr) == NumberCheck::kValid)
            continue;
        char high[16];
        snprintf(high, sizeof high, "%d", kNumberHigh);
        unsigned low = kNumberLow;
        StringTableMessageBox(GetModuleHandleA(nullptr), owner_, IDS_NUMBER_RANGE, IDS_PRODUCT,
                              MB_OK | MB_ICONEXCLAMATION, high, &low);
        SetFocus(field);
        SendMessageA(field, EM_SETSEL, 0, -1);
        return false;
    }
    return true;
}

bool ConfigSheet::ValidateActive() {
    return ValidatePage(pages_[shown_]);
}

void ConfigSheet::Store() {
    for (int i = 0; i < kPageControlCount; ++i) {
        const PageControl& c = kPageControls[i];
        const SettingKey* key = FindSettingKey(c.field);
        if (!key)
            continue;
        HWND page = pages_[static_cast<int>(c.page)].hwnd;
        int32_t& value = SettingValue(*settings_, *key);
        switch (c.kind) {
        case ControlKind::kCheck:
            value = IsDlgButtonChecked(page, c.ids[0]) == BST_CHECKED ? 1 : 0;
            break;
        case ControlKind::kRadio:
            for (int j = 0; j < c.count; ++j)
                if (IsDlgButtonChecked(page, c.ids[j]) == BST_CHECKED)
                    value = j;
            break;
        case ControlKind::kNumber: {
            char text[32] = "";
            GetDlgItemTextA(page, c.ids[0], text, sizeof text);
            CheckNumberText(text, &value); // a bad text leaves the value as it was
            break;
        }
        }
    }
}

bool ConfigSheet::AnyModified() const {
    for (const Page& page : pages_)
        if (page.modified)
            return true;
    return false;
}

void ConfigSheet::ClearModified() {
    for (Page& page : pages_)
        page.modified = false;
    for (ExcludeList& list : removed_)
        list.count = 0;
}

void ConfigSheet::ShowPage(int index) {
    if (index < 0 || index >= kPageCount || !tabs_)
        return;
    Page& left = pages_[shown_];
    if (index != shown_ && left.id == PageId::kDisabledDialogs) {
        // Leaving "Disabled Dialogs" drops its selections.
        for (int list : page_ids::kExcludeLists)
            SendDlgItemMessageA(left.hwnd, list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        ApplyRules(left);
    }
    shown_ = index;
    SendMessageA(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    for (int i = 0; i < kPageCount; ++i)
        ShowWindow(pages_[i].hwnd, i == index ? SW_SHOW : SW_HIDE);
}

bool ConfigSheet::OnKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || GetKeyState(VK_CONTROL) >= 0 ||
        !tabs_ || (msg.hwnd != owner_ && !IsChild(owner_, msg.hwnd)))
        return false;
    if (ValidateActive()) {
        int step = GetKeyState(VK_SHIFT) < 0 ? kPageCount - 1 : 1;
        ShowPage((shown_ + step) % kPageCount);
        SetFocus(tabs_);
    }
    return true;
}

// The page is checked when the tab has already changed (TCN_SELCHANGE) rather than before: a tab
// control may take the new tab even when told to keep the old one, and the question box shown
// while it waits could otherwise be answered twice.
bool ConfigSheet::OnNotify(const NMHDR* header, LRESULT* result) {
    if (!header || header->hwndFrom != tabs_ || header->code != TCN_SELCHANGE)
        return false;
    *result = 0;
    LRESULT chosen = SendMessageA(tabs_, TCM_GETCURSEL, 0, 0);
    if (chosen == shown_)
        return true;
    if (!ValidatePage(pages_[shown_])) {
        SendMessageA(tabs_, TCM_SETCURSEL, static_cast<WPARAM>(shown_), 0);
        return true;
    }
    ShowPage(static_cast<int>(chosen));
    return true;
}

void ConfigSheet::ShowCheck(PageId page, int id, bool checked) {
    Page& p = pages_[static_cast<int>(page)];
    CheckDlgButton(p.hwnd, id, checked ? BST_CHECKED : BST_UNCHECKED);
    ApplyRules(p);
}

} // namespace vn
