#include "manager/apps_page_win.h"

#include "manager/config_pages.h"
#include "manager/resource.h"
#include "manager/trained_editor.h"
#include "manager/trained_editor_win.h"
#include "manager/ui_win.h"

#include "hook/takeover/vnhook_api.h"
#include "hook/trained/trained_db_win.h"

namespace vn {

namespace {

// The dialogs the page opens belong to the configuration window, not to the child page: they
// then disable the whole window while they are up.
HWND Owner(HWND page) {
    HWND root = GetAncestor(page, GA_ROOT);
    return root ? root : page;
}

} // namespace

int AppsPage::Selected() const {
    int count = data_.count ? *data_.count : 0;
    return selection_ >= 0 && selection_ < count ? selection_ : -1;
}

// The list shows one line per entry; the selection stays on its line, or the last one when the
// list got shorter.
void AppsPage::Show() {
    HWND list = GetDlgItem(page_, page_ids::kTrainedList);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    int count = data_.count ? *data_.count : 0;
    for (int i = 0; i < count; ++i) {
        char line[kTitleSize * 2 + 8];
        TrainedListLine(data_.entries[i], line, sizeof line);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    }
    selection_ = ClampSelection(selection_, count);
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(selection_), 0);
}

void AppsPage::Load() {
    if (!data_.entries || !data_.count)
        return;
    changed_ = false;
    Show();
}

bool AppsPage::OnCommand(WORD id, WORD code) {
    if (!data_.entries || !data_.count)
        return false;
    switch (id) {
    case page_ids::kTrainedList:
        if (code == LBN_SELCHANGE) {
            LRESULT line = SendDlgItemMessageA(page_, id, LB_GETCURSEL, 0, 0);
            selection_ = line == LB_ERR ? -1 : static_cast<int>(line);
        } else if (code == LBN_DBLCLK) {
            return Edit();
        }
        return false;
    case page_ids::kTrainedEdit:
        return code == BN_CLICKED && Edit();
    case page_ids::kTrainedDelete:
        return code == BN_CLICKED && Delete();
    case page_ids::kTrainedImport:
        if (code != BN_CLICKED ||
            !ImportTrainingFile(Owner(page_), data_.importFolder, data_.entries, data_.count))
            return false;
        changed_ = true;
        Show();
        return true;
    case page_ids::kTrainNew:
        // Training runs with the configuration closed and its changes applied: OK first, then
        // what the tray menu's "Train New Dialog" does.
        if (code == BN_CLICKED) {
            PostMessageA(data_.mainWindow, WM_COMMAND, IDOK, 0);
            PostMessageA(data_.mainWindow, WM_COMMAND, ID_TRAY_TRAIN_NEW, 0);
        }
        return false;
    default:
        return false;
    }
}

bool AppsPage::Edit() {
    int index = Selected();
    if (index < 0 || !EditTrainedEntry(Owner(page_), data_.programFolder, data_.entries[index]))
        return false;
    changed_ = true;
    Show();
    return true;
}

bool AppsPage::Delete() {
    int index = Selected();
    if (index < 0 || StringMessageBox(Owner(page_), IDS_DELETE_ENTRY_CONFIRM,
                                      IDS_DELETE_ENTRY_TITLE, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    *data_.count = DeleteTrainedEntry(data_.entries, *data_.count, index);
    changed_ = true;
    Show();
    return true;
}

// Every hooked process reads the trained dialogs from the library's shared copy, which the
// library loads from the file: once the file holds the change, the reload hands it to them all.
bool AppsPage::Save() {
    if (!SaveTrainedDatabaseFile(data_.databasePath, data_.entries, *data_.count))
        return false;
    changed_ = false;
    ReReadTrainedDatabase();
    return true;
}

// Only a changed copy is written: the file may have gained entries from training since the copy
// was loaded, and a write for another page's sake would drop them.
bool AppsPage::Apply() {
    if (!changed_ || !data_.entries || !data_.count)
        return true;
    return Save();
}

bool AppsPage::ShowEntry(int index, bool saveAtOnce) {
    if (!data_.entries || !data_.count)
        return false;
    if (index < 0 || index >= *data_.count) {
        Show();
        return changed_;
    }
    selection_ = index;
    Show();
    if (!EditTrainedEntry(Owner(page_), data_.programFolder, data_.entries[index]))
        return changed_;
    changed_ = true;
    Show();
    if (saveAtOnce && !Save())
        FormattedMessageBox(Owner(page_), IDS_SAVE_FAILED, 0, data_.databasePath,
                            MB_OK | MB_ICONERROR);
    return changed_;
}

} // namespace vn
