#include "dialog_proc_win.h"

#include "app_rules.h"
#include "manager_link_win.h"
#include "process_win.h"
#include "settings_win.h"
#include "text.h"
#include "ui_win.h"
#include "../commands/dialog_path_win.h"
#include "../layout/layout_win.h"
#include "../lists/list_files_win.h"
#include "../resources/resource.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace vn {

DialogTable g_dialogs;
int g_currentRecord = -1;

namespace {

constexpr UINT kCdmSetControlText = WM_USER + 104;
constexpr int kFileTypesBox = 1136;
constexpr int kFileListContainer = 1121;

uint32_t g_growthCommandSeen; // command 35 or 3109 seen by a dialog of this process

// The controls the library adds to a dialog, destroyed with it.
constexpr uintptr_t DialogRecord::*kAddedControls[] = {
    &DialogRecord::infoLineControl,      &DialogRecord::recentFilesCombo,
    &DialogRecord::recentHintLabel,      &DialogRecord::recentFoldersCombo,
    &DialogRecord::favoriteHintLabel,    &DialogRecord::favoriteFilesCombo,
    &DialogRecord::favoriteFoldersCombo, &DialogRecord::deleteButton,
    &DialogRecord::renameButton,         &DialogRecord::copyButton,
    &DialogRecord::moveButton,           &DialogRecord::findButton,
    &DialogRecord::mkdirButton,          &DialogRecord::clipButton,
    &DialogRecord::spareControl,         &DialogRecord::productButton};

// A dialog whose procedure is KsOpenProc must never outlive the library in its process: once the
// manager has removed the hook, the system may unload the library from under an open dialog. So
// every take-over holds a reference to the library, and every dialog given back its procedure
// lets go of one, from a thread of its own once no call of KsOpenProc is running any more: the
// release never returns into code that may be gone.
volatile LONG g_activeCalls = 0;

void HoldLibrary() {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCSTR>(&KsOpenProc), &self);
}

DWORD WINAPI ReleaseLibraryWhenIdle(LPVOID module) {
    for (int idle = 0; idle < 2;) {
        Sleep(50);
        idle = g_activeCalls == 0 ? idle + 1 : 0;
    }
    FreeLibraryAndExitThread(static_cast<HMODULE>(module), 0);
}

void ReleaseLibrary() {
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&KsOpenProc), &self))
        return;
    HANDLE thread = CreateThread(nullptr, 0, ReleaseLibraryWhenIdle, self, 0, nullptr);
    if (thread)
        CloseHandle(thread);
    // Without a thread the reference stays: a library kept loaded is harmless, one unloaded under
    // a dialog is not.
}

struct ActiveCall {
    ActiveCall() { InterlockedIncrement(&g_activeCalls); }
    ~ActiveCall() { InterlockedDecrement(&g_activeCalls); }
};

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

ProfileIniFile SettingsFile(const SharedState& s) {
    char ini[kPathSize];
    CopyField(ini, sizeof ini, s.iniFilePath, sizeof s.iniFilePath);
    return ProfileIniFile(ini);
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

void SaveLastPlacement(SharedState& s, const RECT& rc, bool position, bool size) {
    ProfileIniFile ini = SettingsFile(s);
    if (position) {
        s.lastLeft = rc.left;
        s.lastTop = rc.top;
        s.lastPositionKnown = 1;
        WriteIntKey(ini, kKeyLastLeft, static_cast<uint32_t>(rc.left));
        WriteIntKey(ini, kKeyLastTop, static_cast<uint32_t>(rc.top));
    }
    if (size) {
        s.lastWidth = rc.right - rc.left;
        s.lastHeight = rc.bottom - rc.top;
        s.lastSizeKnown = 1;
        WriteIntKey(ini, kKeyLastWidth, static_cast<uint32_t>(s.lastWidth));
        WriteIntKey(ini, kKeyLastHeight, static_cast<uint32_t>(s.lastHeight));
    }
}

HWND Handle(uintptr_t h) {
    return reinterpret_cast<HWND>(h);
}

// Register, raise and relayout: how every way through the dialog's initialisation ends.
LRESULT FinishInit(SharedState* s, HWND dialog, LRESULT result) {
    if (s)
        RegisterExtended(*s, dialog);
    BringWindowToTop(dialog);
    SetForegroundWindow(dialog);
    PostMessageA(dialog, MSG_RELAYOUT, 0, 0);
    return result;
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

LRESULT OnInitDialog(int slot, HWND dialog, WNDPROC saved, WPARAM wParam, LPARAM lParam) {
    g_growthCommandSeen = 0;
    RECT rc;
    GetWindowRect(dialog, &rc);
    g_dialogs.slots[slot].initialWidth = rc.right - rc.left;
    g_dialogs.slots[slot].initialHeight = rc.bottom - rc.top;
    LRESULT result = CallWindowProcA(saved, dialog, WM_INITDIALOG, wParam, lParam);
    // The dialog's own procedure may have ended the dialog already.
    slot = FindDialogRecord(g_dialogs, reinterpret_cast<uintptr_t>(dialog));
    SharedState* s = Shared();
    if (slot < 0 || !s)
        return result;
    DialogRecord& r = g_dialogs.slots[slot];
    GetWindowTextA(dialog, r.dialogTitle, 80);
    // The dialog's own initialisation may make it resizable (Wine gives every explorer-style
    // dialog without a hook a sizing border there), and a resizable dialog moves its own controls
    // on WM_SIZE: decide from the style it has now, or its controls are moved twice.
    r.resizable = (GetWindowLongA(dialog, GWL_STYLE) & WS_THICKFRAME) ? 1 : 0;

    ExcludeFlags flags = {{r.excludedFileManagement, r.excludedSizing, r.excludedLastFolder}};
    char text1024[80] = "";
    HWND c1024 = GetDlgItem(dialog, 1024);
    if (c1024)
        GetWindowTextA(c1024, text1024, sizeof text1024);
    DialogTraits traits = {GetDlgItem(dialog, 1116) || GetDlgItem(dialog, 1174) ||
                               GetDlgItem(dialog, 1191),
                           c1024 != nullptr, c1024 ? text1024 : nullptr};
    ApplyApplicationRules(r.moduleName, r.dialogTitle, traits, flags);

    HWND box = GetDlgItem(dialog, 1152);
    if (!box && (box = GetDlgItem(dialog, 1148)) != nullptr)
        r.fileNameControlId = 1148;
    if (!box) {
        flags.excluded[kFileManagement] = flags.excluded[kLastFolder] = 1;
    } else {
        // A name box above the file list, or one the application disabled, belongs to a dialog
        // that was rearranged by its application: leave its folder and its additions alone.
        RECT boxRect, listRect;
        GetWindowRect(box, &boxRect);
        HWND list = GetDlgItem(dialog, kFileListContainer);
        if (!IsWindowEnabled(box) ||
            (list && GetWindowRect(list, &listRect) && listRect.bottom > boxRect.bottom))
            flags.excluded[kFileManagement] = flags.excluded[kLastFolder] = 1;
    }
    if (r.browseDialog)
        flags.excluded[kSizing] = 1;
    const ExcludeList* lists[3] = {&s->excludes, &s->sizeExcludes, &s->lastDirExcludes};
    for (int i = 0; i < 3; ++i)
        if (MatchExclude(*lists[i], r.moduleName, r.dialogTitle))
            flags.excluded[i] = 1;
    r.excludedFileManagement = flags.excluded[kFileManagement];
    r.excludedSizing = flags.excluded[kSizing];
    r.excludedLastFolder = flags.excluded[kLastFolder];
    if (flags.All())
        r.passive = 1;
    if (r.passive)
        return FinishInit(s, dialog, result);

    LayOutDialog(dialog, r);
    slot = FindDialogRecord(g_dialogs, reinterpret_cast<uintptr_t>(dialog));
    if (slot < 0)
        return result;
    DialogRecord& rec = g_dialogs.slots[slot];
    box = GetDlgItem(dialog, rec.fileNameControlId);
    HWND types = GetDlgItem(dialog, kFileTypesBox);
    if (!box || !IsWindowVisible(box) || !types || !IsWindowVisible(types))
        return FinishInit(s, dialog, result);

    HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    char folder[kMaxPath + 1];
    if (ReadOpenToFirstFavorite(rec.moduleName) == 1) {
        if (FirstFavoriteFolder(rec.moduleName, folder, sizeof folder))
            OpenInFolder(dialog, folder);
    } else if (!rec.excludedLastFolder && s->settings.useLastDir && !rec.browseDialog &&
               LastUsedFolder(rec.moduleName, folder, sizeof folder)) {
        OpenInFolder(dialog, folder);
    }
    if (rec.replacesTrainedDialog) {
        char ok[40];
        if (LoadLibraryString(IDS_OK_BUTTON, ok, sizeof ok))
            SendMessageA(dialog, kCdmSetControlText, IDOK, reinterpret_cast<LPARAM>(ok));
    }
    SetCursor(old ? old : LoadCursor(nullptr, IDC_ARROW));
    return FinishInit(s, dialog, result);
}

void OnWindowPosChanging(DialogRecord& r, HWND dialog, WINDOWPOS* pos) {
    if (!pos || r.passive || r.placementFinished)
        return;
    if (!r.placementReady) {
        // Hidden until laid out: the user never sees the dialog jump.
        pos->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW | SWP_NOREDRAW);
        pos->flags |= SWP_HIDEWINDOW;
        return;
    }
    if (!r.placementApplied && !(pos->flags & SWP_NOSIZE)) {
        pos->x = r.placementLeft;
        pos->y = r.placementTop;
        pos->cx = r.placementWidth;
        pos->cy = r.placementHeight;
        return;
    }
    if (pos->flags & SWP_HIDEWINDOW) {
        // The dialog ends: remember where and how large it was, then give it back the size it was
        // created with, which the application may read.
        RECT rc;
        GetWindowRect(dialog, &rc);
        if (SharedState* s = Shared())
            SaveLastPlacement(*s, rc, !r.browseDialog, !r.excludedSizing);
        r.placementFinished = 1;
        SetWindowPos(dialog, nullptr, rc.left, rc.top, r.initialWidth, r.initialHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
        return;
    }
    if (g_growthCommandSeen &&
        (!strcmp(r.moduleName, "CORELDRW") || !strcmp(r.moduleName, "Omnipage")) && r.baseHeight &&
        pos->cy > r.baseHeight)
        pos->cy += r.addedHeight;
}

void OnSetNameText(const DialogRecord& r, HWND dialog, WPARAM wParam, LPARAM lParam) {
    HWND box = GetDlgItem(dialog, r.fileNameControlId);
    if (!box)
        return;
    if (lParam) {
        char text[kMaxPath + 2] = "";
        GetWindowTextA(box, text, kMaxPath + 1);
        if (!strcmp(text, r.expectedNameText))
            SetWindowTextA(box, reinterpret_cast<const char*>(lParam));
    }
    SetFocus(box);
    if (wParam)
        PostMessageA(box, EM_SETSEL, 0, -1);
}

void WritePendingExcludes(SharedState& s, const DialogRecord& r) {
    const ExcludeKind kinds[3] = {kExcludeFileManagement, kExcludeSizing, kExcludeLastFolder};
    bool any = false;
    ProfileIniFile ini = SettingsFile(s);
    for (int i = 0; i < 3; ++i) {
        if (r.pendingExcludes[i]) {
            AddExclude(s, kinds[i], r.moduleName, r.dialogTitle[0] ? r.dialogTitle : nullptr, ini);
            any = true;
        }
    }
    if (any)
        SendToManager(s, MSG_SETTINGS_CHANGED, reinterpret_cast<WPARAM>(r.moduleName), 0, nullptr);
}

// Records what the dialog ended with: the file type, the chosen file and folder (and with Alt a
// favourite), unless it was cancelled.
void RecordOutcome(DialogRecord& r, HWND dialog) {
    char types[kListEntrySize] = "";
    GetDlgItemTextA(dialog, kFileTypesBox, types, sizeof types);
    if (types[0])
        CopyText(r.fileTypeText, sizeof r.fileTypeText, types);
    if (r.cancelPressed)
        return;
    SaveLastFileType(r.moduleName, r.dialogTitle, r.fileTypeText);
    char path[kMaxPath + 1];
    if (!ReadSelectedPath(dialog, path, sizeof path))
        return;
    if ((GetAsyncKeyState(VK_MENU) & 0x8000) && !AddFavoriteFromDialog(r.moduleName, path, true))
        MessageBoxFromIds(dialog, IDS_FAVORITE_FILE_FAILED, IDS_ERROR_TITLE, MB_OK);
    RecordChosenFile(r.moduleName, path);
}

LRESULT OnDestroy(int slot, HWND dialog, WNDPROC saved, WPARAM wParam, LPARAM lParam) {
    DialogRecord& r = g_dialogs.slots[slot];
    r.destroyed = 1;
    SharedState* s = Shared();
    if (s)
        UnregisterExtended(*s, dialog);
    for (uintptr_t DialogRecord::*control : kAddedControls) {
        if (r.*control && IsWindow(Handle(r.*control)))
            DestroyWindow(Handle(r.*control));
        r.*control = 0;
    }
    if (r.ownsDialogFont && r.dialogFont)
        DeleteObject(reinterpret_cast<HGDIOBJ>(r.dialogFont));
    if (r.extraFont)
        DeleteObject(reinterpret_cast<HGDIOBJ>(r.extraFont));
    r.dialogFont = r.extraFont = 0;
    if (s)
        WritePendingExcludes(*s, r);
    if (!r.passive && !r.excludedFileManagement)
        RecordOutcome(r, dialog);
    if (r.savedListViewProc) {
        HWND list = GetDlgItem(GetDlgItem(dialog, kFileListContainer), 1);
        if (list)
            SetWindowLongPtrA(list, GWLP_WNDPROC, static_cast<LONG_PTR>(r.savedListViewProc));
        r.listViewPending = 0;
    }
    // The dialog's procedure goes back only while ours is the one installed: a program that
    // subclassed the dialog after us keeps us in its chain, and we pass everything on until the
    // window is gone.
    bool restored = false;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(dialog, GWLP_WNDPROC)) == KsOpenProc) {
        SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved));
        restored = true;
    }
    LRESULT result = CallWindowProcA(saved, dialog, WM_DESTROY, wParam, lParam);
    if (s && s->settings.rememberColumnWidths && s->settings.columnWidthsKnown) {
        ProfileIniFile ini = SettingsFile(*s);
        for (int i = 0; i < 7; ++i)
            WriteIntKey(ini, kKeyColWidth[i], static_cast<uint32_t>(s->settings.colWidth[i]));
    }
    if (restored) {
        CloseDialogRecord(g_dialogs, slot);
        ReleaseLibrary();
    }
    if (s)
        PostToManager(*s, MSG_DIALOG_CLOSED, reinterpret_cast<WPARAM>(dialog), 0);
    return result;
}

} // namespace

bool TakeOverDialog(HWND dialog, const char* module, const char* title, const ExcludeFlags& flags,
                    bool training) {
    SharedState* s = Shared();
    if (!s)
        return false;
    int slot = OpenDialogRecord(g_dialogs);
    if (slot >= kDialogSlots)
        return false;
    EnsureProcessReady(); // the dialog's messages include the registered list message
    DialogRecord& r = g_dialogs.slots[slot];
    // The record is complete before the procedure is replaced: the first message may come at once.
    r.dialogWindow = reinterpret_cast<uintptr_t>(dialog);
    r.excludedFileManagement = flags.excluded[kFileManagement];
    r.excludedSizing = flags.excluded[kSizing];
    r.excludedLastFolder = flags.excluded[kLastFolder];
    for (int i = 0; i < 3; ++i)
        r.pendingExcludes[i] = g_process.pendingExcludeChoices[i];
    r.passive = training ? 1 : 0;
    r.fileNameControlId = 1152;
    r.listViewPending = 1;
    r.browseDialog = g_process.browseFlag;
    g_process.browseFlag = 0;
    DWORD pid = 0;
    r.threadId = GetWindowThreadProcessId(dialog, &pid);
    r.processId = pid;
    CopyText(r.moduleName, sizeof r.moduleName, module);
    CopyText(r.dialogTitle, 80, title);
    if (s->settings.useLastPosition || s->settings.useLastSize)
        LoadLastPlacement(*s);
    r.useLastPosition = s->settings.useLastPosition && s->lastPositionKnown;
    r.useLastSize = s->settings.useLastSize && s->lastSizeKnown;
    r.centerDialog = s->settings.centerDialog && !r.useLastPosition;
    r.resizable = (GetWindowLongA(dialog, GWL_STYLE) & WS_THICKFRAME) ? 1 : 0;
    LONG_PTR old = SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(KsOpenProc));
    if (!old) {
        CloseDialogRecord(g_dialogs, slot);
        return false;
    }
    r.savedDialogProc = static_cast<uintptr_t>(old);
    HoldLibrary();
    PostToManager(*s, MSG_DIALOG_OPENED, reinterpret_cast<WPARAM>(dialog), 0);
    return true;
}

} // namespace vn

using namespace vn;

// Sees every message of a dialog that was taken over, before the dialog's own procedure.
LRESULT CALLBACK KsOpenProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    ActiveCall active;
    int slot = FindDialogRecord(g_dialogs, reinterpret_cast<uintptr_t>(dialog));
    if (slot < 0)
        return DefWindowProcA(dialog, msg, wParam, lParam);
    g_currentRecord = slot;
    DialogRecord& r = g_dialogs.slots[slot];
    auto saved = reinterpret_cast<WNDPROC>(r.savedDialogProc);

    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog(slot, dialog, saved, wParam, lParam);
    case WM_WINDOWPOSCHANGING:
        OnWindowPosChanging(r, dialog, reinterpret_cast<WINDOWPOS*>(lParam));
        break;
    case WM_SIZE:
        if (!r.placementFinished && r.resizable) {
            RelayOutOnSize(dialog, r);
            return 0;
        }
        break;
    case WM_CLOSE:
        r.cancelPressed = 1;
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == 35 || LOWORD(wParam) == 3109)
            g_growthCommandSeen = 1;
        if (LOWORD(wParam) == IDCANCEL)
            r.cancelPressed = 1;
        break;
    case WM_DESTROY:
        if (!r.destroyed)
            return OnDestroy(slot, dialog, saved, wParam, lParam);
        break;
    case WM_NCDESTROY: {
        // Still in another program's chain: the window's end is where we let go.
        LRESULT result = CallWindowProcA(saved, dialog, msg, wParam, lParam);
        CloseDialogRecord(g_dialogs, slot);
        ReleaseLibrary();
        return result;
    }
    default:
        if (msg == MSG_RELAYOUT) {
            if (r.resizable)
                RelayOutOnSize(dialog, r);
            return 0;
        }
        if (msg == MSG_SET_NAME_TEXT)
            OnSetNameText(r, dialog, wParam, lParam);
        break;
    }
    return CallWindowProcA(saved, dialog, msg, wParam, lParam);
}
