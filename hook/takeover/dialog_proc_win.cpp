#include "hook/takeover/dialog_proc_win.h"

#include "hook/commands/dialog_path_win.h"
#include "hook/commands/info_line_win.h"
#include "hook/core/app_rules.h"
#include "hook/core/control_ids.h"
#include "hook/core/manager_link_win.h"
#include "hook/core/messages.h"
#include "hook/core/process_win.h"
#include "hook/core/settings_win.h"
#include "hook/core/text.h"
#include "hook/core/trace_win.h"
#include "hook/core/ui_win.h"
#include "hook/layout/added_controls_win.h"
#include "hook/layout/layout_win.h"
#include "hook/lists/list_files_win.h"
#include "hook/resources/resource.h"
#include "hook/takeover/command_dispatch_win.h"
#include "hook/takeover/library_hold_win.h"
#include "hook/takeover/list_view_proc_win.h"

#include <cstring>
#include <initializer_list>

namespace vn {

namespace {

constexpr UINT kCdmSetControlText = WM_USER + 104;

// What a closing dialog writes into the settings file (its last place and size, the column
// widths) is worth less than a close that keeps the user waiting: it waits this long for the
// file and is skipped when another process holds it longer.
constexpr DWORD kCloseSettingsWaitMs = 500;

// A dialog is kept hidden until it is placed. Should the placement never come (its
// initialisation never reaches us, or fails half-way), this timer shows it where it is, so that
// the application never waits on an invisible modal dialog. The id is unlikely to be one of the
// dialog's own timers.
constexpr UINT_PTR kPlacementWatchTimer = 0x564E5057;
constexpr UINT kPlacementWatchMs = 3000;

uint32_t g_growthCommandSeen; // a growth command (app_rules.h) seen by a dialog of this process

WNDPROC SavedProc(const DialogRecord& r) {
    return reinterpret_cast<WNDPROC>(r.savedDialogProc);
}

// The record of a dialog, looked up again after anything that may have run the dialog's own code
// (which may have ended the dialog and freed its record). Null when it is gone.
DialogRecord* RecordOf(HWND dialog) {
    int slot = FindDialogRecord(g_dialogs, reinterpret_cast<uintptr_t>(dialog));
    return slot < 0 ? nullptr : &g_dialogs.slots[slot];
}

void RegisterExtended(SharedState& s, HWND dialog) {
    for (auto& slot : s.extendedDialogs)
        if (slot.inUse && slot.dialog == FromHandle(dialog))
            return;
    for (auto& slot : s.extendedDialogs) {
        if (!slot.inUse) {
            slot.dialog = FromHandle(dialog);
            slot.inUse = 1;
            return;
        }
    }
}

void UnregisterExtended(SharedState& s, HWND dialog) {
    for (auto& slot : s.extendedDialogs)
        if (slot.inUse && slot.dialog == FromHandle(dialog))
            slot.inUse = 0;
}

// One position and one size for all applications, read when a dialog wants them.
void LoadLastPlacement(SharedState& s) {
    if (s.lastPositionKnown && s.lastSizeKnown)
        return;
    ProfileIniFile ini = SettingsFile(s);
    int32_t left = ini.GetInt(kSettingsSection, kKeyLastLeft, kNoLastValue);
    int32_t top = ini.GetInt(kSettingsSection, kKeyLastTop, kNoLastValue);
    if (left != kNoLastValue && top != kNoLastValue) {
        s.lastLeft = left;
        s.lastTop = top;
        s.lastPositionKnown = 1;
    }
    int32_t width = ini.GetInt(kSettingsSection, kKeyLastWidth, kNoLastValue);
    int32_t height = ini.GetInt(kSettingsSection, kKeyLastHeight, kNoLastValue);
    if (width != kNoLastValue && height != kNoLastValue) {
        s.lastWidth = width;
        s.lastHeight = height;
        s.lastSizeKnown = 1;
    }
}

// The shared values change in any case; the file only under the settings lock, since a write
// without it could take other processes' changes of the file away.
void SaveLastPlacement(SharedState& s, const RECT& rc, bool position, bool size) {
    if (position) {
        s.lastLeft = rc.left;
        s.lastTop = rc.top;
        s.lastPositionKnown = 1;
    }
    if (size) {
        s.lastWidth = rc.right - rc.left;
        s.lastHeight = rc.bottom - rc.top;
        s.lastSizeKnown = 1;
    }
    if (!position && !size)
        return;
    char path[kPathSize];
    SettingsFilePath(s, path, sizeof path);
    LockedSettingsFile locked(path, kCloseSettingsWaitMs);
    if (!locked.Held()) {
        VN_TRACE("last placement not saved: the settings file is busy");
        return;
    }
    if (position) {
        WriteIntKey(locked.File(), kKeyLastLeft, static_cast<uint32_t>(rc.left));
        WriteIntKey(locked.File(), kKeyLastTop, static_cast<uint32_t>(rc.top));
    }
    if (size) {
        WriteIntKey(locked.File(), kKeyLastWidth, static_cast<uint32_t>(s.lastWidth));
        WriteIntKey(locked.File(), kKeyLastHeight, static_cast<uint32_t>(s.lastHeight));
    }
}

// Sends the dialog to a folder unless it already shows it (ignoring case and a final backslash).
void OpenInFolder(HWND dialog, const char* folder) {
    char current[kMaxPath + 2], wanted[kMaxPath + 2];
    CopyText(wanted, kMaxPath, folder);
    bool known = ReadDialogFolder(dialog, current, kMaxPath);
    for (char* p : {current, wanted}) {
        size_t n = BoundedLength(p, kMaxPath);
        if (n && p[n - 1] != '\\')
            AppendText(p, kMaxPath + 2, "\\");
    }
    if (known && !CompareNoCase(current, wanted, sizeof wanted))
        return;
    GoToFolder(dialog, folder, true);
}

// The steps of WM_INITDIALOG, in their order.

// Before the dialog's own initialisation: the size it was created with.
void NoteCreatedSize(DialogRecord& r, HWND dialog) {
    g_growthCommandSeen = 0;
    RECT rc;
    GetWindowRect(dialog, &rc);
    r.placement.initialWidth = rc.right - rc.left;
    r.placement.initialHeight = rc.bottom - rc.top;
}

// After it: the title, and whether the dialog is resizable. The dialog's own initialisation may
// make it resizable (Wine gives every explorer-style dialog without a hook a sizing border
// there), and a resizable dialog moves its own controls on WM_SIZE: decide from the style it has
// now, or its controls are moved twice.
void NoteInitialisedDialog(DialogRecord& r, HWND dialog) {
    GetWindowTextA(dialog, r.dialogTitle, kTitleSize);
    r.placement.resizable = (GetWindowLongA(dialog, GWL_STYLE) & WS_THICKFRAME) ? 1 : 0;
}

// Which extensions the dialog gets: the application rules, the name box, the library's own
// chooser, and the exclusion lists with the title now known. All three withheld: passive.
void DecideExclusions(const SharedState& s, DialogRecord& r, HWND dialog) {
    ExcludeFlags& flags = r.mode.exclusions;
    char brandText[kTitleSize] = "";
    // In the item dialog the same id is the arrow beside OK.
    HWND brand = r.mode.itemDialog ? nullptr : GetDlgItem(dialog, kIdBrandLabel);
    if (brand)
        GetWindowTextA(brand, brandText, sizeof brandText);
    bool pkzip = false;
    for (int id : kPkzipControlIds)
        pkzip = pkzip || GetDlgItem(dialog, id);
    DialogTraits traits = {pkzip, brand != nullptr, brand ? brandText : nullptr};
    ApplyApplicationRules(r.moduleName, r.dialogTitle, traits, flags);

    HWND box = GetDlgItem(dialog, kIdNameEdit);
    if (!box && (box = GetDlgItem(dialog, kIdNameCombo)) != nullptr)
        r.fileNameControlId = kIdNameCombo;
    if (!box) {
        flags.excluded[kExcludeFileManagement] = flags.excluded[kExcludeLastFolder] = 1;
    } else {
        // A name box above the file list, or one the application disabled, belongs to a dialog
        // that was rearranged by its application: leave its folder and its additions alone.
        RECT boxRect, listRect;
        GetWindowRect(box, &boxRect);
        HWND list = GetDlgItem(dialog, kIdShellView);
        if (!IsWindowEnabled(box) ||
            (list && GetWindowRect(list, &listRect) && listRect.bottom > boxRect.bottom))
            flags.excluded[kExcludeFileManagement] = flags.excluded[kExcludeLastFolder] = 1;
    }
    if (r.mode.browseDialog)
        flags.excluded[kExcludeSizing] = 1;
    // An item dialog is only served with the shell browser its initialisation made: without it
    // (another build of the dialog) nothing here knows its folder or where its controls go.
    if (r.mode.itemDialog && !HasFileView(dialog))
        flags.excluded[kExcludeSizing] = flags.excluded[kExcludeFileManagement] =
            flags.excluded[kExcludeLastFolder] = 1;
    const ExcludeList* lists[kExcludeKinds] = {&s.excludes, &s.sizeExcludes, &s.lastDirExcludes};
    for (int kind = 0; kind < kExcludeKinds; ++kind)
        if (MatchExclude(*lists[kind], r.moduleName, r.dialogTitle))
            flags.excluded[kind] = 1;
    if (flags.All())
        r.mode.passive = 1;
}

// Whether the dialog still shows its name and type boxes after the layout: a dialog without them
// is not one to send to a folder.
bool ShowsNameAndTypes(const DialogRecord& r, HWND dialog) {
    HWND box = GetDlgItem(dialog, r.fileNameControlId);
    HWND types = GetDlgItem(dialog, kIdFileTypes);
    // The item dialog hides its type box when the application gives no types.
    return box && IsWindowVisible(box) && (r.mode.itemDialog || (types && IsWindowVisible(types)));
}

// The first favourite folder, or the application's last folder.
void OpenInStartFolder(const SharedState& s, const DialogRecord& r, HWND dialog) {
    char folder[kMaxPath + 1];
    if (r.mode.openToFirstFavorite) {
        if (FirstFavoriteFolder(r.moduleName, folder, sizeof folder))
            OpenInFolder(dialog, folder);
    } else if (!r.mode.exclusions.excluded[kExcludeLastFolder] && s.settings.useLastDir &&
               !r.mode.browseDialog && !g_process.denyLastFolder &&
               LastUsedFolder(r.moduleName, folder, sizeof folder)) {
        OpenInFolder(dialog, folder);
    }
}

// A standard dialog standing in for a trained one says "OK" rather than "Open" or "Save".
void LabelReplacementOk(const DialogRecord& r, HWND dialog) {
    if (!r.mode.replacesTrainedDialog)
        return;
    char ok[40];
    if (LoadLibraryString(IDS_OK_BUTTON, ok, sizeof ok))
        SendMessageA(dialog, kCdmSetControlText, IDOK, reinterpret_cast<LPARAM>(ok));
}

// Gives up the hidden placement: the dialog keeps its size and place. At the end of its
// initialisation it is then shown as any dialog is; later (show) it is shown at once, since the
// application's attempt to show it was turned into hiding.
void RevealUnplaced(DialogRecord& r, HWND dialog, bool show) {
    KillTimer(dialog, kPlacementWatchTimer);
    if (r.placement.placementReady)
        return;
    VN_TRACE("showing %p unplaced", static_cast<void*>(dialog));
    r.placement.placementReady = r.placement.placementApplied = 1;
    if (show && !r.mode.passive)
        ShowWindow(dialog, SW_SHOW);
}

// Register, raise and relayout: how every way through the dialog's initialisation ends.
LRESULT FinishInit(SharedState* s, HWND dialog, LRESULT result) {
    if (DialogRecord* r = RecordOf(dialog))
        RevealUnplaced(*r, dialog, false); // a way that did not place it

    if (s)
        RegisterExtended(*s, dialog);
    BringWindowToTop(dialog);
    SetForegroundWindow(dialog);
    PostMessageA(dialog, MSG_RELAYOUT, 0, 0);
    // The information line describes the folder the dialog opened in until the user acts.
    if (DialogRecord* r = RecordOf(dialog))
        PostInfoLineRefresh(dialog, *r, false);
    return result;
}

LRESULT OnInitDialog(DialogRecord& record, HWND dialog, WPARAM wParam, LPARAM lParam) {
    NoteCreatedSize(record, dialog);
    LRESULT result = CallWindowProcA(SavedProc(record), dialog, WM_INITDIALOG, wParam, lParam);
    // The dialog's own procedure may have ended the dialog already.
    DialogRecord* r = RecordOf(dialog);
    SharedState* s = Shared();
    if (!r)
        return result;
    if (!s)
        return FinishInit(s, dialog, result);
    NoteInitialisedDialog(*r, dialog);
    DecideExclusions(*s, *r, dialog);
    if (r->mode.passive)
        return FinishInit(s, dialog, result);

    if (r->mode.itemDialog)
        LayOutItemDialog(dialog, *r);
    else
        LayOutDialog(dialog, *r);
    r = RecordOf(dialog);
    if (!r)
        return FinishInit(s, dialog, result);
    FillAddedLists(*r);
    if (!ShowsNameAndTypes(*r, dialog))
        return FinishInit(s, dialog, result);
    HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    OpenInStartFolder(*s, *r, dialog);
    LabelReplacementOk(*r, dialog);
    SetCursor(old ? old : LoadCursor(nullptr, IDC_ARROW));
    return FinishInit(s, dialog, result);
}

void OnWindowPosChanging(DialogRecord& r, HWND dialog, WINDOWPOS* pos) {
    DialogRecord::Placement& p = r.placement;
    if (!pos || r.mode.passive || p.placementFinished)
        return;
    if (!p.placementReady) {
        // Hidden until laid out: the user never sees the dialog jump.
        pos->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW | SWP_NOREDRAW);
        pos->flags |= SWP_HIDEWINDOW;
        return;
    }
    if (!p.placementApplied && !(pos->flags & SWP_NOSIZE)) {
        pos->x = p.placementLeft;
        pos->y = p.placementTop;
        pos->cx = p.placementWidth;
        pos->cy = p.placementHeight;
        return;
    }
    if (pos->flags & SWP_HIDEWINDOW) {
        // The dialog ends: remember where and how large it was, then give it back the size it was
        // created with, which the application may read.
        RECT rc;
        GetWindowRect(dialog, &rc);
        if (SharedState* s = Shared())
            SaveLastPlacement(*s, rc, !r.mode.browseDialog,
                              !r.mode.exclusions.excluded[kExcludeSizing]);
        p.placementFinished = 1;
        SetWindowPos(dialog, nullptr, rc.left, rc.top, p.initialWidth, p.initialHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
        return;
    }
    if (g_growthCommandSeen && AddsRowsToOwnGrowth(r.moduleName) && r.layout.baseHeight &&
        pos->cy > r.layout.baseHeight)
        pos->cy += r.layout.addedHeight;
}

bool IsShellView(HWND window) {
    char name[24] = "";
    return window && GetClassNameA(window, name, sizeof name) > 0 &&
           !strcmp(name, "SHELLDLL_DefView");
}

// The dialog made a new file view: it changed its folder, whichever way the user took (the
// file list, the look-in box, the toolbar, the places bar). The view gets its id only after it is
// made, so everything that asks the dialog about it waits for a posted message.
void OnNewShellView(DialogRecord& r, HWND dialog, HWND view) {
    PostInfoLineRefresh(dialog, r, false);
    TakeOverFileList(dialog, r, view);
}

void OnSetNameText(const DialogRecord& r, HWND dialog, WPARAM wParam, LPARAM lParam) {
    HWND box = GetDlgItem(dialog, r.fileNameControlId);
    if (!box)
        return;
    if (lParam) {
        // A dialog may empty its name box once it has gone into the folder typed there (Wine's
        // does): an empty box is as untouched by the user as one still showing that folder.
        char text[kMaxPath + 2] = "";
        GetWindowTextA(box, text, kMaxPath + 1);
        if (!text[0] || !strcmp(text, r.session.expectedNameText))
            SetWindowTextA(box, reinterpret_cast<const char*>(lParam));
    }
    SetFocus(box);
    if (wParam)
        PostMessageA(box, EM_SETSEL, 0, -1);
}

// The steps of WM_DESTROY, in their order.

void DestroyAddedControls(DialogRecord& r) {
    for (uintptr_t& control : r.added) {
        if (control && IsWindow(ToHwnd(control)))
            DestroyWindow(ToHwnd(control));
        control = 0;
    }
    if (r.fonts.ownsDialogFont && r.fonts.dialogFont)
        DeleteObject(reinterpret_cast<HGDIOBJ>(r.fonts.dialogFont));
    if (r.fonts.extraFont)
        DeleteObject(reinterpret_cast<HGDIOBJ>(r.fonts.extraFont));
    r.fonts.dialogFont = r.fonts.extraFont = 0;
}

void WritePendingExcludes(SharedState& s, const DialogRecord& r) {
    bool any = false;
    for (int kind = 0; kind < kExcludeKinds; ++kind) {
        if (r.mode.pendingExcludes.excluded[kind]) {
            ExcludeWrite done = AddExcludeToFile(s, static_cast<ExcludeKind>(kind), r.moduleName,
                                                 r.dialogTitle[0] ? r.dialogTitle : nullptr);
            if (done == ExcludeWrite::kBusy)
                VN_TRACE("exclusion %d of %s not written: the settings file is busy", kind,
                         r.moduleName);
            any = true;
        }
    }
    if (any)
        SendToManager(s, MSG_SETTINGS_CHANGED, reinterpret_cast<WPARAM>(r.moduleName), 0, nullptr);
}

// Records what the dialog ended with: the file type, the chosen file and folder as the last OK
// read them (and with Alt a favourite), unless it was cancelled; all in one hold of the lists, or
// handed on.
void RecordOutcome(const SharedState& s, DialogRecord& r, HWND dialog) {
    char types[kListEntrySize] = "";
    GetDlgItemTextA(dialog, kIdFileTypes, types, sizeof types);
    if (types[0])
        CopyText(r.session.fileTypeText, sizeof r.session.fileTypeText, types);
    if (r.session.cancelPressed)
        return;
    DialogRecording recording = {};
    recording.magic = kRecordingMagic;
    recording.flags = kRecordFileType;
    CopyText(recording.module, sizeof recording.module, r.moduleName);
    CopyText(recording.title, sizeof recording.title, r.dialogTitle);
    CopyText(recording.fileType, sizeof recording.fileType, r.session.fileTypeText);
    if (r.session.chosenPathValid) {
        CopyText(recording.path, sizeof recording.path, r.session.chosenPath);
        recording.flags |= kRecordChosen;
        if (GetAsyncKeyState(VK_MENU) & 0x8000)
            recording.flags |= kRecordFavorite;
        if (s.settings.dontSaveRemovable)
            recording.flags |= kSkipRemovable;
        if (s.settings.dontSaveRemote)
            recording.flags |= kSkipRemote;
    }
    RecordingResult result = RecordDialogClose(recording);
    VN_TRACE("recorded the close of %s: %d", r.moduleName, static_cast<int>(result));
    if (result == RecordingResult::kFavoriteRefused)
        MessageBoxFromIds(dialog, IDS_FAVORITE_FILE_FAILED, IDS_ERROR_TITLE, MB_OK);
}

// The dialog's procedure goes back only while ours is the one installed: a program that
// subclassed the dialog after us keeps us in its chain, and we pass everything on until the
// window is gone. Returns whether it went back.
bool RestoreDialogProc(const DialogRecord& r, HWND dialog) {
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(dialog, GWLP_WNDPROC)) != KsOpenProc)
        return false;
    SetWindowLongPtrA(dialog, GWLP_WNDPROC, static_cast<LONG_PTR>(r.savedDialogProc));
    return true;
}

void WriteColumnWidths(const SharedState& s) {
    if (!s.settings.rememberColumnWidths || !s.settings.columnWidthsKnown)
        return;
    char path[kPathSize];
    SettingsFilePath(s, path, sizeof path);
    LockedSettingsFile locked(path, kCloseSettingsWaitMs);
    if (!locked.Held()) {
        VN_TRACE("column widths not saved: the settings file is busy");
        return;
    }
    for (int i = 0; i < 7; ++i)
        WriteIntKey(locked.File(), kKeyColWidth[i], static_cast<uint32_t>(s.settings.colWidth[i]));
}

LRESULT OnDestroy(int slot, HWND dialog, WPARAM wParam, LPARAM lParam) {
    DialogRecord& r = g_dialogs.slots[slot];
    r.session.destroyed = 1;
    KillTimer(dialog, kPlacementWatchTimer);
    SharedState* s = Shared();
    if (s)
        UnregisterExtended(*s, dialog);
    DestroyAddedControls(r);
    if (s)
        WritePendingExcludes(*s, r);
    if (s && !r.mode.passive && !r.mode.exclusions.excluded[kExcludeFileManagement])
        RecordOutcome(*s, r, dialog);
    ReleaseFileList(r);
    WNDPROC saved = SavedProc(r);
    bool restored = RestoreDialogProc(r, dialog);
    LRESULT result = CallWindowProcA(saved, dialog, WM_DESTROY, wParam, lParam);
    if (s)
        WriteColumnWidths(*s);
    if (restored) {
        CloseDialogRecord(g_dialogs, slot);
        ReleaseLibrary();
    }
    if (s)
        PostToManager(*s, MSG_DIALOG_CLOSED, reinterpret_cast<WPARAM>(dialog), 0);
    return result;
}

} // namespace

bool TakeOverDialog(HWND dialog, DialogKind kind, const char* module, const char* title,
                    const ExcludeFlags& flags, const ExcludeFlags& pending, bool training) {
    SharedState* s = Shared();
    if (!s)
        return false;
    int slot = OpenDialogRecord(g_dialogs);
    if (slot >= kDialogSlots)
        return false;
    DialogRecord& r = g_dialogs.slots[slot];
    // The record is complete before the procedure is replaced: the first message may come at once.
    r.dialogWindow = reinterpret_cast<uintptr_t>(dialog);
    r.mode.exclusions = flags;
    r.mode.pendingExcludes = pending;
    r.mode.passive = training ? 1 : 0;
    r.mode.itemDialog = kind == DialogKind::kItem ? 1 : 0;
    r.fileNameControlId = kIdNameEdit;
    r.mode.browseDialog = g_process.browseFlag;
    g_process.browseFlag = 0;
    r.mode.replacesTrainedDialog = g_process.selectFolderPending;
    g_process.selectFolderPending = 0;
    if (!g_process.listSelChangeMessage)
        g_process.listSelChangeMessage = RegisterWindowMessageA("commdlg_LBSelChangedNotify");
    DWORD pid = 0;
    r.threadId = GetWindowThreadProcessId(dialog, &pid);
    r.processId = pid;
    CopyText(r.moduleName, sizeof r.moduleName, module);
    CopyText(r.dialogTitle, kTitleSize, title);
    if (s->settings.useLastPosition || s->settings.useLastSize)
        LoadLastPlacement(*s);
    DialogRecord::Placement& p = r.placement;
    p.useLastPosition = s->settings.useLastPosition && s->lastPositionKnown;
    p.useLastSize = s->settings.useLastSize && s->lastSizeKnown;
    p.centerDialog = s->settings.centerDialog && !p.useLastPosition;
    p.resizable = (GetWindowLongA(dialog, GWL_STYLE) & WS_THICKFRAME) ? 1 : 0;
    // The lists in one hold of the lock, only for a dialog that is taken over.
    r.mode.openToFirstFavorite = LoadListsForDialog(module) == 1;
    LONG_PTR old = SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(KsOpenProc));
    if (!old) {
        CloseDialogRecord(g_dialogs, slot);
        return false;
    }
    r.savedDialogProc = static_cast<uintptr_t>(old);
    HoldLibrary();
    if (!r.mode.passive)
        SetTimer(dialog, kPlacementWatchTimer, kPlacementWatchMs, nullptr);
    VN_TRACE("took over %p of %s", static_cast<void*>(dialog), r.moduleName);
    PostToManager(*s, MSG_DIALOG_OPENED, reinterpret_cast<WPARAM>(dialog), 0);
    return true;
}

} // namespace vn

using namespace vn;

// Sees every message of a dialog that was taken over, before the dialog's own procedure, and
// hands each to the subsystem that serves it.
LRESULT CALLBACK KsOpenProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    ActiveCall active;
    int slot = FindDialogRecord(g_dialogs, reinterpret_cast<uintptr_t>(dialog));
    if (slot < 0)
        return DefWindowProcA(dialog, msg, wParam, lParam);
    DialogRecord& r = g_dialogs.slots[slot];
    WNDPROC saved = SavedProc(r);

    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(r, dialog, wParam, lParam);
    case WM_WINDOWPOSCHANGING:
        OnWindowPosChanging(r, dialog, reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    case WM_SIZE:
        // The item dialog lays its own controls out first; the rows then get their room.
        if (r.mode.itemDialog && !r.mode.passive && !r.placement.placementFinished) {
            LRESULT result = CallWindowProcA(saved, dialog, msg, wParam, lParam);
            if (DialogRecord* again = RecordOf(dialog)) {
                RelayOutItemDialog(dialog, *again);
                FillAddedLists(*again);
            }
            return result;
        }
        // A passive dialog, and the item dialog, lay themselves out as they always do.
        if (!r.mode.passive && !r.mode.itemDialog && !r.placement.placementFinished &&
            r.placement.resizable) {
            RelayOutOnSize(dialog, r);
            FillAddedLists(r);
            return 0;
        }
        break;
    case WM_CLOSE:
        r.session.cancelPressed = 1;
        break;
    case WM_TIMER:
        if (wParam == kPlacementWatchTimer) {
            RevealUnplaced(r, dialog, true);
            return 0;
        }
        break;
    case WM_COMMAND:
        if (IsGrowthCommand(LOWORD(wParam)))
            g_growthCommandSeen = 1;
        if (LOWORD(wParam) == IDCANCEL)
            r.session.cancelPressed = 1;
        if (LOWORD(wParam) == IDOK && !r.mode.passive)
            r.session.chosenPathValid =
                ReadSelectedPath(dialog, r.session.chosenPath, sizeof r.session.chosenPath) ? 1 : 0;
        if (!r.mode.passive && !r.mode.exclusions.excluded[kExcludeFileManagement]) {
            DispatchCommand(slot, dialog, wParam, lParam);
            // A command row's editor may have seen the dialog end.
            if (!RecordOf(dialog))
                return 0;
        }
        break;
    case WM_DESTROY:
        if (!r.session.destroyed)
            return OnDestroy(slot, dialog, wParam, lParam);
        break;
    case WM_NCDESTROY: {
        // Still in another program's chain: the window's end is where we let go.
        LRESULT result = CallWindowProcA(saved, dialog, msg, wParam, lParam);
        CloseDialogRecord(g_dialogs, slot);
        ReleaseLibrary();
        return result;
    }
    case MSG_RELAYOUT:
        TakeOverFileList(dialog, r, nullptr); // in case the view came without a word
        if (r.placement.resizable && !r.mode.itemDialog) {
            RelayOutOnSize(dialog, r);
            FillAddedLists(r);
        }
        return 0;
    case MSG_REFRESH_INFO_LINE:
        if (!r.mode.passive)
            OnInfoLineRefresh(dialog, r);
        return 0;
    case MSG_CREATE_LISTS:
        if (!r.mode.passive) {
            CreatePendingLists(dialog, r);
            FillAddedLists(r);
        }
        return 0;
    case MSG_SET_NAME_TEXT:
        OnSetNameText(r, dialog, wParam, lParam);
        break;
    case WM_SETTINGCHANGE:
        // Date and time formats may have changed.
        if (!r.mode.passive && !r.mode.exclusions.excluded[kExcludeFileManagement])
            RebuildInfoLine(dialog, r);
        break;
    case WM_PARENTNOTIFY:
        if (LOWORD(wParam) == WM_CREATE && !r.mode.passive && IsShellView(ToHwnd(lParam)))
            OnNewShellView(r, dialog, ToHwnd(lParam));
        break;
    default:
        if (msg == g_process.listSelChangeMessage && msg && !r.mode.passive &&
            !r.mode.exclusions.excluded[kExcludeFileManagement] &&
            (wParam == kIdShellView || wParam == kIdLookIn))
            RebuildInfoLine(dialog, r);
        break;
    }
    return CallWindowProcA(saved, dialog, msg, wParam, lParam);
}
