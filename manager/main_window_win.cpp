#include "manager/main_window_win.h"

#include "manager/help_topics.h"
#include "manager/resource.h"
#include "manager/settings_serial.h"
#include "manager/ui_win.h"

#include "hook/core/file_names.h"
#include "hook/core/messages.h"
#include "hook/core/settings_win.h"
#include "hook/core/shared_state_win.h"
#include "hook/core/text.h"
#include "hook/takeover/vnhook_api.h"
#include "hook/trained/trained_db_win.h"

#include <commctrl.h>

#include <cstring>

namespace vn {

namespace {

// The link's previous window procedure and its cursor. There is one link in one window.
WNDPROC g_linkPreviousProc = nullptr;
HCURSOR g_handCursor = nullptr;

// Windows of any process, as the list of open dialogs sees them.
class Win32WindowProbe : public WindowProbe {
  public:
    bool Exists(uint32_t window) override { return IsWindow(ToHwnd(window)) != FALSE; }
    uint32_t OwnerOf(uint32_t window) override { return FromHandle(GetParent(ToHwnd(window))); }
};

HICON LoadIconAtSize(HINSTANCE instance, int id, int sizeMetric) {
    int size = GetSystemMetrics(sizeMetric);
    return static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
}

// How often the manager looks whether its companion still runs.
constexpr UINT_PTR kCompanionTimer = 1;
constexpr UINT kCompanionLookMs = 1000;

// MSG_SHOW_TRAINED_ENTRY, posted to ourselves to be handled once the sender has its answer.
constexpr UINT kShowEntryMessage = WM_APP + 1;

} // namespace

bool MainWindow::Construct(HINSTANCE instance) {
    instance_ = instance;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls); // the configuration's tab control
    bigIcon_ = LoadIconAtSize(instance, IDI_MAIN, SM_CXICON);
    smallIcon_ = LoadIconAtSize(instance, IDI_TRAY_ENABLED, SM_CXSMICON);
    tray_.Load(instance);
    g_handCursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_HAND_CURSOR));
    taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
    configShown_ = false;
    closeAllowed_ = true;
    RegistryFolderSource registry;
    return ReadRegistryFolders(registry, programFolder_, dataFolder_, sizeof programFolder_) == 1;
}

HWND MainWindow::Create() {
    HWND hwnd = CreateDialogParamA(instance_, MAKEINTRESOURCEA(IDD_MAIN), nullptr, DialogProc,
                                   reinterpret_cast<LPARAM>(this));
    if (!hwnd)
        return nullptr;
    ShowWindow(hwnd, SW_HIDE);
    SetWindowTextA(hwnd, kMainWindowTitle);
    return hwnd;
}

INT_PTR CALLBACK MainWindow::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    MainWindow* self = DialogObject<MainWindow>(hwnd, msg, lParam);
    if (self && msg == WM_INITDIALOG)
        self->hwnd_ = hwnd;
    return self ? self->OnMessage(msg, wParam, lParam) : FALSE;
}

// A dialog procedure hands back a message's result through DWLP_MSGRESULT.
INT_PTR MainWindow::Result(LONG_PTR value) {
    SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, value);
    return TRUE;
}

INT_PTR MainWindow::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case MSG_SETTINGS_SERIAL:
        return Result(static_cast<LONG_PTR>(settingsSerial_));
    case MSG_SETTINGS_CHANGED:
        // The library changed the file: take its lists into the copy the configuration shows,
        // and make every process read the file anew.
        ReadExcludeListsFromFile();
        sheet_.ReloadExcludeLists();
        settingsSerial_ = NextSettingsSerial(settingsSerial_, GetTickCount());
        return Result(0);
    case MSG_OPEN_CONFIGURATION:
        ShowConfiguration(lParam != 0);
        return Result(1);
    case MSG_DIALOG_OPENED: {
        Win32WindowProbe probe;
        openDialogs_.Opened(FromHandle(reinterpret_cast<HWND>(wParam)), probe);
        return Result(0);
    }
    case MSG_DIALOG_CLOSED:
        openDialogs_.Closed(FromHandle(reinterpret_cast<HWND>(wParam)));
        return Result(0);
    case WM_COPYDATA:
        return Result(recordings_.Accept(reinterpret_cast<const COPYDATASTRUCT*>(lParam))
                          ? kRecordingAccepted
                          : 0);
    case MSG_SHOW_TRAINED_ENTRY:
        // The sender, a hooked process, waits for the answer: the editor opens after it.
        PostMessageA(hwnd_, kShowEntryMessage, wParam, lParam);
        return Result(0);
    case kShowEntryMessage:
        ShowTrainedEntry(static_cast<int>(wParam), lParam != 0);
        return Result(0);
    case WM_TIMER:
        if (wParam == kCompanionTimer)
            LookAtCompanion();
        return TRUE;
    case WM_HELP:
        ShowHelp(hwnd_, programFolder_, kHelpConfiguration);
        return Result(TRUE);
    case kTrayCallbackMessage:
        OnTrayCallback(static_cast<UINT>(lParam));
        return Result(0);
    case kPageChangedMessage:
        pagesChanged_ = true;
        EnableApply(true);
        return Result(0);
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (sheet_.OnNotify(reinterpret_cast<const NMHDR*>(lParam), &result))
            return Result(result);
        return FALSE;
    }
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == GetDlgItem(hwnd_, IDC_MAKER_LINK))
            return reinterpret_cast<INT_PTR>(
                OnLinkColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
        return FALSE;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return TRUE;
    case WM_NCDESTROY:
        if (linkFont_)
            DeleteObject(linkFont_);
        linkFont_ = nullptr;
        tray_.Free();
        return FALSE;
    default:
        if (taskbarCreated_ && msg == taskbarCreated_) {
            // The notification area was created anew (the shell restarted): the icon is gone.
            if (settings_.showIcon)
                tray_.Add(hwnd_, Switches());
            return Result(0);
        }
        return FALSE;
    }
}

void MainWindow::OnInitDialog() {
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_));
    settingsSerial_ = NextSettingsSerial(settingsSerial_, GetTickCount());
    recordings_.Start();

    HWND link = GetDlgItem(hwnd_, IDC_MAKER_LINK);
    if (link) {
        LOGFONTA font = {};
        HFONT current = reinterpret_cast<HFONT>(SendMessageA(link, WM_GETFONT, 0, 0));
        if (!current || !GetObjectA(current, sizeof font, &font))
            GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
        font.lfUnderline = TRUE;
        linkFont_ = CreateFontIndirectA(&font);
        SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_), FALSE);
        g_linkPreviousProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(link, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LinkProc)));
    }

    SetupHookDLL(hwnd_);
    companion_.Start();
    SetTimer(hwnd_, kCompanionTimer, kCompanionLookMs, nullptr);
    LookAtCompanion();

    JoinPath(iniPath_, sizeof iniPath_, dataFolder_, kIniFileName);
    JoinPath(trainedDbFile_, sizeof trainedDbFile_, dataFolder_, kTrainedDbFileName);

    SetManagerDefaults(settings_, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    bool imported = ReadSettings();
    LoadTrainedDatabase();
    NotSoCommonEnabled(settings_.trainedEnabled != 0);
    CommonEnabled(settings_.commonEnabled != 0);
    if (settings_.showIcon)
        tray_.Add(hwnd_, Switches());
    // Writing every key gives a fresh installation the manager's defaults and carries values
    // imported from the older product's file into ours; the imported lists are added to ours.
    WriteAllSettings();
    AddImportedExcludes(imported);
    AppsPageData apps;
    apps.mainWindow = hwnd_;
    apps.entries = trained_;
    apps.count = &trainedCount_;
    apps.programFolder = programFolder_;
    apps.importFolder = dataFolder_;
    apps.databasePath = trainedDbFile_;
    sheet_.Apps().Connect(apps);
    sheet_.Create(instance_, hwnd_, IDC_SHEET_FRAME, &settings_);
    sheet_.Load();
}

void MainWindow::OnCommand(UINT id) {
    switch (id) {
    case ID_TRAY_CONFIGURATION:
        ShowConfiguration(true);
        break;
    case ID_TRAY_ENABLE_COMMON:
        SetCommon(!IsCommonEnabled());
        UpdateTrayIcon();
        break;
    case ID_TRAY_ENABLE_TRAINED:
        SetTrained(!IsNotSoCommonEnabled());
        UpdateTrayIcon();
        break;
    case ID_TRAY_TRAIN_NEW:
        NotSoCommonManualSelect();
        break;
    case ID_TRAY_HELP_CONTENTS:
        ShowHelp(hwnd_, programFolder_, kHelpContents);
        break;
    case ID_TRAY_HELP_INTRODUCTION:
        ShowHelp(hwnd_, programFolder_, kHelpIntroduction);
        break;
    case ID_TRAY_WEB_SITE:
        OpenWebSite(hwnd_);
        break;
    case ID_TRAY_FEEDBACK:
        OpenFeedbackMail(hwnd_);
        break;
    case ID_TRAY_HIDE_ICON:
        ToggleIcon();
        break;
    case ID_TRAY_CLOSE:
        Quit();
        break;
    case IDC_CLOSE_VANTOR:
        CloseButton();
        break;
    case IDC_HELP_BUTTON:
        ShowHelp(hwnd_, programFolder_, kHelpConfiguration);
        break;
    case IDC_APPLY:
        Apply();
        break;
    case IDOK:
        if (Apply())
            HideConfiguration();
        break;
    case IDCANCEL:
        Cancel();
        break;
    default:
        break;
    }
}

void MainWindow::OnTrayCallback(UINT mouseMessage) {
    if (mouseMessage == kTrayLeftButtonUp) {
        // The keys are read as they are now: the click has just happened with them held.
        bool shift = GetAsyncKeyState(VK_SHIFT) < 0;
        bool ctrl = GetAsyncKeyState(VK_CONTROL) < 0;
        TrayClick click = ClassifyTrayClick(shift, ctrl);
        HookSwitches now = Switches();
        HookSwitches next = SwitchesAfterClick(click, now);
        switch (click) {
        case TrayClick::kShowConfiguration:
            ShowConfiguration(true);
            break;
        case TrayClick::kToggleCommon:
            SetCommon(next.common);
            break;
        case TrayClick::kToggleTrained:
            SetTrained(next.trained);
            break;
        case TrayClick::kBoth:
            SetCommon(next.common);
            SetTrained(next.trained);
            break;
        }
        UpdateTrayIcon();
    } else if (mouseMessage == kTrayRightButtonUp) {
        ShowTrayMenu();
    }
}

void MainWindow::OnDestroy() {
    KillTimer(hwnd_, kCompanionTimer);
    companion_.Stop();
    CleanUpHookDLL();
    // What the dialogs handed over is written before the manager goes, waiting as a dialog would.
    recordings_.Stop(kListLockMaxWaitMs);
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512))); // IDC_ARROW
    tray_.Delete(hwnd_);
    PostQuitMessage(0);
}

HBRUSH MainWindow::OnLinkColor(HDC dc, HWND link) {
    LONG style = GetWindowLongA(link, GWL_STYLE);
    if (!(style & SS_NOTIFY))
        SetWindowLongA(link, GWL_STYLE, style | SS_NOTIFY); // or it never sees the mouse
    if (linkFont_)
        SelectObject(dc, linkFont_);
    SetTextColor(dc, RGB(0, 0, 255));
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
}

LRESULT CALLBACK MainWindow::LinkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC previous = g_linkPreviousProc;
    switch (msg) {
    case WM_SETCURSOR:
        if (g_handCursor) {
            SetCursor(g_handCursor);
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        OpenWebSite(GetParent(hwnd));
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        g_linkPreviousProc = nullptr;
        break;
    default:
        break;
    }
    return previous ? CallWindowProcA(previous, hwnd, msg, wParam, lParam)
                    : DefWindowProcA(hwnd, msg, wParam, lParam);
}

void MainWindow::ShowConfiguration(bool closeAllowed) {
    if (configShown_)
        return;
    configShown_ = true;
    closeAllowed_ = closeAllowed;
    ShowWindow(hwnd_, SW_SHOW);
    ReadSettings();
    LoadTrainedDatabase();
    sheet_.Load();
    sheet_.ShowPage(0);
    // The window comes to the front at once instead of flashing in the taskbar.
    UINT flashCount = 0;
    bool haveCount = SystemParametersInfoA(SPI_GETFOREGROUNDFLASHCOUNT, 0, &flashCount, 0) != FALSE;
    SystemParametersInfoA(SPI_SETFOREGROUNDFLASHCOUNT, 0, nullptr, 0);
    SetForegroundWindow(hwnd_);
    BringWindowToTop(hwnd_);
    if (haveCount)
        SystemParametersInfoA(SPI_SETFOREGROUNDFLASHCOUNT, 0,
                              reinterpret_cast<void*>(static_cast<UINT_PTR>(flashCount)), 0);
    sheet_.ClearModified();
    pagesChanged_ = false;
    EnableApply(false);
}

// Training reports the entry it added: the configuration shows it in the editor, on the copy
// read anew from the file when the sender asks for that (it wrote the file); an edit is then
// written at once, as training's own entry was.
void MainWindow::ShowTrainedEntry(int index, bool reload) {
    bool wasShown = configShown_;
    ShowConfiguration(true); // a window that was hidden reads the file here
    if (reload && wasShown) {
        LoadTrainedDatabase();
        sheet_.Apps().Load();
    }
    sheet_.ShowTrainedEntry(index, reload);
}

void MainWindow::HideConfiguration() {
    ShowWindow(hwnd_, SW_HIDE);
    configShown_ = false;
}

bool MainWindow::Apply() {
    if (!pagesChanged_ && !sheet_.AnyModified())
        return true;
    if (!sheet_.ValidateActive())
        return false;
    sheet_.Store();
    settingsSerial_ = NextSettingsSerial(settingsSerial_, GetTickCount());
    bool saved = WriteAllSettings();
    saved = RemoveReEnabledExcludes() && saved;
    bool trainedSaved = sheet_.Apps().Apply();
    if (!saved || !trainedSaved) {
        // The changes stay marked, so that Apply can be tried again once the file is writable.
        FormattedMessageBox(hwnd_, IDS_SAVE_FAILED, 0, saved ? trainedDbFile_ : iniPath_,
                            MB_OK | MB_ICONERROR);
        return false;
    }
    sheet_.ClearModified();
    sheet_.ReloadExcludeLists();
    pagesChanged_ = false;
    EnableApply(false);
    return true;
}

void MainWindow::Cancel() {
    if ((pagesChanged_ || sheet_.AnyModified()) &&
        StringMessageBox(hwnd_, IDS_CANCEL_CONFIRM, IDS_PRODUCT, MB_YESNO | MB_ICONQUESTION) !=
            IDYES)
        return;
    ReadSettings();
    LoadTrainedDatabase();
    sheet_.Load();
    sheet_.ClearModified();
    pagesChanged_ = false;
    EnableApply(false);
    HideConfiguration();
}

void MainWindow::Quit() {
    if (askingToQuit_)
        return; // the question is already on the screen
    Win32WindowProbe probe;
    if (openDialogs_.AnyStillOpen(probe)) {
        askingToQuit_ = true;
        int answer = StringMessageBox(hwnd_, IDS_QUIT_CONFIRM, IDS_PRODUCT,
                                      MB_YESNO | MB_DEFBUTTON2 | MB_ICONWARNING);
        askingToQuit_ = false;
        if (answer != IDYES)
            return;
    }
    DestroyWindow(hwnd_);
}

void MainWindow::CloseButton() {
    if (closeAllowed_)
        Quit();
    else
        StringMessageBox(hwnd_, IDS_CLOSE_REFUSED, IDS_PRODUCT, MB_OK | MB_ICONINFORMATION);
}

HookSwitches MainWindow::Switches() const {
    return {IsCommonEnabled() != FALSE, IsNotSoCommonEnabled() != FALSE};
}

void MainWindow::SetCommon(bool on) {
    settings_.commonEnabled = on ? 1 : 0;
    {
        LockedSettingsFile locked(iniPath_); // written without it too: see WriteAllSettings
        WriteIntKey(locked.File(), kKeyCommonEnabled, on ? 1 : 0);
    }
    CommonEnabled(on);
    sheet_.ShowCheck(PageId::kMainOptions, page_ids::kCommonEnabled, on);
}

void MainWindow::SetTrained(bool on) {
    settings_.trainedEnabled = on ? 1 : 0;
    {
        LockedSettingsFile locked(iniPath_);
        WriteIntKey(locked.File(), kKeyTrainedEnabled, on ? 1 : 0);
    }
    NotSoCommonEnabled(on);
    sheet_.ShowCheck(PageId::kTrainedApps, page_ids::kTrainedEnabled, on);
}

void MainWindow::ToggleIcon() {
    settings_.showIcon = settings_.showIcon ? 0 : 1;
    if (settings_.showIcon)
        tray_.Add(hwnd_, Switches());
    else
        tray_.Delete(hwnd_);
    sheet_.ShowCheck(PageId::kMainOptions, page_ids::kShowIcon, settings_.showIcon != 0);
    WriteAllSettings();
}

void MainWindow::UpdateTrayIcon() {
    if (settings_.showIcon)
        tray_.Modify(hwnd_, Switches());
}

void MainWindow::ShowTrayMenu() {
    HMENU menu = LoadMenuA(instance_, MAKEINTRESOURCEA(IDR_TRAY_MENU));
    HMENU popup = menu ? GetSubMenu(menu, 0) : nullptr;
    if (!popup) {
        if (menu)
            DestroyMenu(menu);
        return;
    }
    SetMenuDefaultItem(popup, ID_TRAY_CONFIGURATION, FALSE);
    // The menu closes when the user clicks elsewhere only if its window is in the foreground.
    SetForegroundWindow(hwnd_);
    DeleteMenu(popup, ID_TRAY_TEST1, MF_BYCOMMAND);
    DeleteMenu(popup, ID_TRAY_TEST2, MF_BYCOMMAND);
    CheckMenuItem(popup, ID_TRAY_ENABLE_TRAINED,
                  MF_BYCOMMAND | (IsNotSoCommonEnabled() ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(popup, ID_TRAY_ENABLE_COMMON,
                  MF_BYCOMMAND | (IsCommonEnabled() ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(popup, ID_TRAY_HIDE_ICON,
                  MF_BYCOMMAND | (settings_.showIcon ? MF_UNCHECKED : MF_CHECKED));
    POINT at = {};
    GetCursorPos(&at);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd_, nullptr);
    PostMessageA(hwnd_, WM_NULL, 0, 0);
    DestroyMenu(menu);
}

// Under the settings lock, so that a file half-way through another process's write is not
// taken for the settings (and later written back); without it after the wait, rather than not
// at all.
bool MainWindow::ReadSettings() {
    char kestraPath[kPathSize];
    KestraIniPath(kestraPath, sizeof kestraPath);
    ProfileIniFile kestra(kestraPath);
    LockedSettingsFile locked(iniPath_);
    return ReadManagerSettings(settings_, locked.File(), &kestra);
}

// Only the exclusion lists: they are all the library writes into the settings file that the
// manager keeps a copy of. The user's own keys stay as the manager holds them: a write of the
// manager's that had to go without the lock may have been overwritten by another process's
// rewrite of the file, and reading the keys back would undo what the user just did (a Hide Icon
// toggled twice then left the icon hidden).
void MainWindow::ReadExcludeListsFromFile() {
    LockedSettingsFile locked(iniPath_);
    ReadExcludeLists(settings_.excludes, settings_.sizeExcludes, settings_.lastDirExcludes,
                     locked.File(), kSettingsSection);
}

bool MainWindow::WriteAllSettings() {
    bool written;
    {
        // The keys the user set are written even when the lock could not be had: only a
        // process that hangs holds it that long, and one that hangs writes nothing meanwhile.
        // The exclusion lists are not among them (see AddImportedExcludes).
        LockedSettingsFile locked(iniPath_);
        written = WriteManagerSettings(settings_, locked.File());
    }
    CommonEnabled(settings_.commonEnabled != 0);
    NotSoCommonEnabled(settings_.trainedEnabled != 0);
    if (settings_.showIcon) {
        tray_.Add(hwnd_, Switches());
        tray_.Modify(hwnd_, Switches());
    } else {
        tray_.Delete(hwnd_);
    }
    return written;
}

bool MainWindow::RemoveReEnabledExcludes() {
    ExcludeList* copies[kExcludeKinds] = {&settings_.excludes, &settings_.sizeExcludes,
                                          &settings_.lastDirExcludes};
    bool done = true;
    for (int kind = 0; kind < kExcludeKinds; ++kind) {
        const ExcludeList& removed = sheet_.Removed(kind);
        int count = ExcludeCount(removed);
        if (count == 0)
            continue;
        const char* entries[kMaxExcludes];
        for (int i = 0; i < count; ++i)
            entries[i] = removed.entries[i];
        if (ChangeExcludeFile(iniPath_, static_cast<ExcludeKind>(kind), {true, entries, count},
                              Shared(), copies[kind]) == ExcludeWrite::kBusy)
            done = false;
    }
    return done;
}

// The exclusion lists are the file's: processes add to them while this copy is held, so they
// change only by a read-modify-write under the settings lock, which also refreshes this copy and
// the shared one. At start the entries imported from the older product's file are added (none
// when nothing was imported), which also writes the counts into a fresh file.
void MainWindow::AddImportedExcludes(bool imported) {
    ExcludeList* copies[kExcludeKinds] = {&settings_.excludes, &settings_.sizeExcludes,
                                          &settings_.lastDirExcludes};
    for (int kind = 0; kind < kExcludeKinds; ++kind) {
        // The entries are read under the lock before the change replaces the copy they are in.
        const char* entries[kMaxExcludes];
        int count = imported ? ExcludeCount(*copies[kind]) : 0;
        for (int i = 0; i < count; ++i)
            entries[i] = copies[kind]->entries[i];
        ChangeExcludeFile(iniPath_, static_cast<ExcludeKind>(kind), {false, entries, count},
                          Shared(), copies[kind]);
    }
}

void MainWindow::LoadTrainedDatabase() {
    memset(trained_, 0, sizeof trained_);
    trainedCount_ = LoadTrainedDatabaseFile(trainedDbFile_, trained_);
}

// While the companion runs it is looked at every second, so that one that died is soon started
// again; once it is given up, or not needed, there is nothing more to look at. Why 32-bit
// applications go without is said once, in the configuration window, not at every start.
void MainWindow::LookAtCompanion() {
    companion_.Look();
    const CompanionWatch& watch = companion_.Watch();
    if (watch.GaveUp() || watch.State() == CompanionState::kNotNeeded)
        KillTimer(hwnd_, kCompanionTimer);
    char note[512];
    companion_.Note(note, sizeof note);
    HWND label = GetDlgItem(hwnd_, IDC_BITNESS_NOTE);
    SetWindowTextA(label, note);
    ShowWindow(label, note[0] ? SW_SHOWNA : SW_HIDE);
}

void MainWindow::EnableApply(bool enable) {
    EnableWindow(GetDlgItem(hwnd_, IDC_APPLY), enable ? TRUE : FALSE);
}

} // namespace vn
