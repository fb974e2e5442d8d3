#include "hook/takeover/trained_proc_win.h"

#include "hook/core/dialog_setup.h"
#include "hook/core/manager_link_win.h"
#include "hook/core/messages.h"
#include "hook/core/process_win.h"
#include "hook/core/settings.h"
#include "hook/core/settings_win.h"
#include "hook/core/shared_state_win.h"
#include "hook/core/text.h"
#include "hook/core/ui_win.h"
#include "hook/lists/list_files_win.h"
#include "hook/resources/resource.h"
#include "hook/takeover/library_hold_win.h"
#include "hook/trained/replacement_win.h"
#include "hook/trained/trained_rules.h"

#include <cstring>

namespace vn {

namespace {

TrainedWindowTable g_trained;

// Timers the library sets on the application's dialog; ids the application is unlikely to use
// itself, so that neither takes the other's ticks.
constexpr UINT_PTR kCloseTimer = 0x564E5431;
constexpr UINT_PTR kNoteTimer = 0x564E5432;
constexpr UINT kNoteDelayMs = 4000;
// The button's previous procedure, kept on the button itself: it outlives the dialog's slot.
constexpr char kButtonProcProp[] = "VnTrainedButtonProc";
// Offsets beyond this are a damaged entry.
constexpr int kMaxButtonOffset = 200;

LRESULT CALLBACK TrainedDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

UINT CloseDelayMs() {
    static volatile LONG delay = 0;
    if (!delay) {
        SharedState* s = Shared();
        int32_t ms = s ? SettingsFile(*s).GetInt(kSettingsSection, kKeyCloseDelay, 5000) : 5000;
        ms = ms < 100 ? 100 : (ms > 600000 ? 600000 : ms);
        InterlockedExchange(&delay, ms);
    }
    return static_cast<UINT>(delay);
}

TrainedWindow* SlotOf(HWND dialog) {
    int slot = FindTrainedWindow(g_trained, reinterpret_cast<uintptr_t>(dialog));
    return slot < 0 ? nullptr : &g_trained.slots[slot];
}

void Free(const TrainedWindow* t) {
    FreeTrainedWindow(g_trained, static_cast<int>(t - g_trained.slots));
}

HWND H(uintptr_t h) {
    return reinterpret_cast<HWND>(h);
}

bool IsModule(const TrainedEntry& e, const char* name) {
    return CompareNoCase(e.moduleName, name, sizeof e.moduleName - 1) == 0;
}

LRESULT PassOn(const TrainedWindow& t, HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (t.oldProc)
        return CallWindowProcA(reinterpret_cast<WNDPROC>(t.oldProc), dialog, msg, wParam, lParam);
    return t.entry.dialogClass ? DefDlgProcA(dialog, msg, wParam, lParam)
                               : DefWindowProcA(dialog, msg, wParam, lParam);
}

void PostKey(HWND dialog, WPARAM key) {
    LPARAM down = key == VK_RETURN ? 0x001C0001 : 0x00010001;
    PostMessageA(dialog, WM_KEYDOWN, key, down);
    PostMessageA(dialog, WM_KEYUP, key, static_cast<LPARAM>(down | 0xC0000000u));
}

void PostToManagerIfSet(UINT msg, HWND dialog) {
    if (SharedState* s = Shared())
        PostToManager(*s, msg, reinterpret_cast<WPARAM>(dialog), 0);
}

// Puts the dialog's own procedure back when ours is still the one it calls first (otherwise a
// procedure installed after ours would be cut out) and lets go of the library; false when ours
// has to stay in the chain until the window is gone.
bool GiveBack(TrainedWindow& t, HWND dialog) {
    if (GetWindowLongPtrA(dialog, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(TrainedDialogProc))
        return false;
    SetWindowLongPtrA(dialog, GWLP_WNDPROC, static_cast<LONG_PTR>(t.oldProc));
    Free(&t);
    ReleaseLibrary();
    return true;
}

struct FindState {
    int id;
    HWND found;
};

// The first window below the dialog that holds a direct child with the name box's id.
BOOL CALLBACK FindNameParent(HWND w, LPARAM lParam) {
    auto* f = reinterpret_cast<FindState*>(lParam);
    if (!GetDlgItem(w, f->id))
        return TRUE;
    f->found = w;
    return FALSE;
}

// The first edit-like child of the dialog (for applications that build the name box anew).
BOOL CALLBACK FindEditLike(HWND w, LPARAM lParam) {
    constexpr LONG kWanted = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | ES_AUTOHSCROLL;
    if ((GetWindowLongA(w, GWL_STYLE) & kWanted) != kWanted)
        return TRUE;
    reinterpret_cast<FindState*>(lParam)->id = GetDlgCtrlID(w);
    return FALSE;
}

BOOL CALLBACK HighestId(HWND w, LPARAM lParam) {
    auto* highest = reinterpret_cast<unsigned*>(lParam);
    unsigned id = static_cast<unsigned>(GetDlgCtrlID(w)) & 0xFFFF;
    if (id > *highest)
        *highest = id;
    return TRUE;
}

HWND NameBox(const TrainedWindow& t) {
    return t.entry.fileNameId && t.nameParent ? GetDlgItem(H(t.nameParent), t.entry.fileNameId)
                                              : nullptr;
}

int Clamped(int offset) {
    return offset < -kMaxButtonOffset ? -kMaxButtonOffset
                                      : (offset > kMaxButtonOffset ? kMaxButtonOffset : offset);
}

// The button's place: beside the name box, or in the bottom-right corner of the window that
// should hold it when the box is gone.
void PlaceButton(const TrainedWindow& t) {
    HWND button = H(t.button), parent = H(t.buttonParent), holder = H(t.nameParent);
    if (!button || !IsWindow(button))
        return;
    char caption[20] = "VN!";
    LoadLibraryString(IDS_ADDED_BUTTON, caption, sizeof caption);
    SIZE text = {24, 13};
    if (HDC dc = GetDC(holder)) {
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(t.buttonFont));
        GetTextExtentPoint32A(dc, caption, static_cast<int>(strlen(caption)), &text);
        SelectObject(dc, old);
        ReleaseDC(holder, dc);
    }
    int width = text.cx + 6, height = text.cy + 6;
    RECT box;
    POINT at;
    if (HWND name = NameBox(t)) {
        GetWindowRect(name, &box);
        RECT client;
        GetClientRect(name, &client);
        if (client.bottom > height)
            height = client.bottom;
        at = {box.right + Clamped(t.entry.buttonOffsetX), box.top + Clamped(t.entry.buttonOffsetY)};
        ScreenToClient(parent, &at);
    } else {
        GetClientRect(holder, &box);
        at = {box.right - 4 - width + Clamped(t.entry.buttonOffsetX),
              box.bottom - 4 - height + Clamped(t.entry.buttonOffsetY)};
        MapWindowPoints(holder, parent, &at, 1);
    }
    // Whatever the entry's offsets say, the button stays where it can be seen and clicked.
    RECT area;
    if (GetClientRect(parent, &area)) {
        at.x = at.x > area.right - width ? area.right - width : at.x;
        at.y = at.y > area.bottom - height ? area.bottom - height : at.y;
        at.x = at.x < 0 ? 0 : at.x;
        at.y = at.y < 0 ? 0 : at.y;
    }
    SetWindowPos(button, HWND_TOP, at.x, at.y, width, height, SWP_NOACTIVATE);
    InvalidateRect(button, nullptr, TRUE);
}

// A button in a child window of the dialog hands its click to the dialog.
LRESULT CALLBACK AddedButtonProc(HWND button, UINT msg, WPARAM wParam, LPARAM lParam) {
    ActiveCall active;
    auto old = reinterpret_cast<WNDPROC>(GetPropA(button, kButtonProcProp));
    if (!old)
        return DefWindowProcA(button, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        RemovePropA(button, kButtonProcProp);
        return CallWindowProcA(old, button, msg, wParam, lParam);
    }
    LRESULT result = CallWindowProcA(old, button, msg, wParam, lParam);
    if (msg == WM_LBUTTONUP) {
        HWND dialog = GetAncestor(button, GA_ROOT);
        if (TrainedWindow* t = SlotOf(dialog))
            PostMessageA(dialog, WM_COMMAND, t->buttonId, reinterpret_cast<LPARAM>(button));
    }
    return result;
}

void CreateAddedButton(TrainedWindow& t, HWND dialog) {
    HWND holder = H(t.nameParent);
    HWND parent = holder == dialog ? dialog : GetParent(holder);
    if (!parent)
        parent = dialog;
    unsigned highest = 0;
    EnumChildWindows(parent, HighestId, reinterpret_cast<LPARAM>(&highest));
    t.buttonId = static_cast<uint16_t>(highest >= 0xFFFF ? 9999 : highest + 1);
    t.buttonParent = reinterpret_cast<uintptr_t>(parent);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    if (!font) {
        font = CreateFontA(8, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
        t.fontCreated = font != nullptr;
    }
    t.buttonFont = reinterpret_cast<uintptr_t>(font);
    char caption[20] = "VN!";
    LoadLibraryString(IDS_ADDED_BUTTON, caption, sizeof caption);
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
    HWND button = CreateWindowExA(
        0, "BUTTON", caption, WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_TABSTOP | BS_PUSHBUTTON, 0,
        0, 0, 0, parent, reinterpret_cast<HMENU>(t.buttonId), instance, nullptr);
    if (!button) {
        t.buttonId = 0;
        return;
    }
    t.button = reinterpret_cast<uintptr_t>(button);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    PlaceButton(t);
    if (parent != dialog) {
        LONG_PTR old = GetWindowLongPtrA(button, GWLP_WNDPROC);
        if (SetPropA(button, kButtonProcProp, reinterpret_cast<HANDLE>(old)))
            SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AddedButtonProc));
    }
    EnableWindow(button, TRUE);
}

// The button's procedure goes back with the dialog: the library may be gone before the button
// gets its last message.
void RestoreButton(TrainedWindow& t) {
    HWND button = H(t.button);
    if (!button || !IsWindow(button))
        return;
    auto old = reinterpret_cast<LONG_PTR>(GetPropA(button, kButtonProcProp));
    if (old &&
        GetWindowLongPtrA(button, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(AddedButtonProc)) {
        SetWindowLongPtrA(button, GWLP_WNDPROC, old);
        RemovePropA(button, kButtonProcProp);
    }
}

// The dialog's current title, and the refined entry it is handled as. False when it is not the
// trained dialog or its entry is off.
bool RefineNow(TrainedWindow& t, HWND dialog) {
    SharedState* s = Shared();
    if (!s)
        return t.entry.enabled != 0;
    char title[kTitleSize] = "";
    GetWindowTextA(dialog, title, sizeof title);
    int count = TrainedCount(*s);
    if (t.entryIndex < 0 || t.entryIndex >= count)
        return t.entry.enabled != 0; // the database changed: go on with what was matched
    Refined r = RefineAtStart(s->trainedEntries, count, t.entryIndex, title);
    if (r.index != t.entryIndex) {
        t.entryIndex = r.index;
        t.entry = s->trainedEntries[r.index];
    }
    return r.handled;
}

void StartAction(TrainedWindow& t, HWND dialog) {
    t.initialized = 1;
    if (IsModule(t.entry, "MSWORD")) {
        RefineNow(t, dialog);
        FindState f = {0, nullptr};
        EnumChildWindows(dialog, FindEditLike, reinterpret_cast<LPARAM>(&f));
        if (f.id)
            t.entry.fileNameId = static_cast<uint16_t>(f.id);
    }
    if (!RefineNow(t, dialog) || !t.entry.enabled) {
        // Not the trained dialog after all: it goes on as the application made it.
        t.givenUp = 1;
        bool show = t.wasShown != 0;
        GiveBack(t, dialog);
        if (show)
            ShowWindow(dialog, SW_SHOW);
        PostToManagerIfSet(MSG_DIALOG_CLOSED, dialog);
        return;
    }
    t.nameParent = reinterpret_cast<uintptr_t>(dialog);
    if (t.entry.fileNameId && !GetDlgItem(dialog, t.entry.fileNameId)) {
        FindState f = {t.entry.fileNameId, nullptr};
        EnumChildWindows(dialog, FindNameParent, reinterpret_cast<LPARAM>(&f));
        if (f.found)
            t.nameParent = reinterpret_cast<uintptr_t>(f.found);
    }
    if (!t.entry.addButton) {
        PostMessageA(dialog, MSG_TRAINED_SHOW, SW_HIDE, 0);
        t.buttonFont = 0;
        PostMessageA(dialog, MSG_TRAINED_REPLACE, 0, 0);
        return;
    }
    CreateAddedButton(t, dialog);
    PostMessageA(dialog, MSG_TRAINED_SHOW, SW_SHOW, 0);
    if (t.entry.autoOpenClose && t.buttonId)
        PostMessageA(dialog, WM_COMMAND, t.buttonId, 0);
}

// Opens the standard dialog for the slot of dialog; the slot may be gone when it returns (the
// application closed its dialog meanwhile), so the result goes to the dialog only if it lives.
void OpenFor(HWND dialog, bool allowLastFolder, UINT resultMsg) {
    TrainedWindow* t = SlotOf(dialog);
    if (!t || t->inStandardDialog)
        return;
    char text[kMaxPath + 1];
    ReadNameBox(H(t->nameParent), t->entry.fileNameId, text, sizeof text);
    char module[sizeof t->entry.moduleName];
    CopyField(module, sizeof module, t->entry.moduleName, sizeof t->entry.moduleName);
    char recent[kMaxPath + 1] = "";
    LastUsedFolder(module, recent, sizeof recent);
    // Owned by the application's dialog, even a hidden one: closing that dialog closes this one.
    StandardDialogInputs in = {dialog, text, dialog, recent[0] ? recent : nullptr, allowLastFolder};
    const TrainedEntry entry = t->entry;
    t->inStandardDialog = 1;
    char chosen[kChosenNameSize] = "";
    bool ok = OpenStandardDialog(entry, in, chosen, sizeof chosen);
    t = SlotOf(dialog);
    if (!t || !IsWindow(dialog))
        return;
    t->inStandardDialog = 0;
    SendMessageA(dialog, resultMsg, ok ? 1 : 0, reinterpret_cast<LPARAM>(chosen));
}

// The results are handed over with messages to the application's own controls, whose code may
// end the dialog (and free the slot): everything needed of the slot is taken first.
void HandleReplaceResult(TrainedWindow& t, HWND dialog, bool chosen, const char* name) {
    t.closing = 1;
    t.closeTimer = SetTimer(dialog, kCloseTimer, CloseDelayMs(), nullptr) ? 1 : 0;
    const HWND box = NameBox(t), holder = H(t.nameParent);
    const TrainedEntry& e = t.entry;
    if (chosen) {
        if (box) {
            PostKey(dialog, VK_RETURN);
            WriteNameIntoApplication(holder, e.fileNameId, e, name);
        }
    } else if (e.dialogKind != kTrainedFolder) {
        PostKey(dialog, VK_ESCAPE);
        if (box)
            SetFocus(box);
    }
}

void HandleButtonResult(TrainedWindow& t, HWND dialog, bool chosen, const char* name) {
    t.closing = 1;
    if (t.noteTimer)
        KillTimer(dialog, kNoteTimer);
    t.noteTimer = 0;
    const TrainedEntry& e = t.entry;
    const HWND holder = H(t.nameParent);
    if (chosen) {
        if (e.autoOpenClose) {
            if (e.hideOriginal)
                t.closeTimer = SetTimer(dialog, kCloseTimer, CloseDelayMs(), nullptr) ? 1 : 0;
            PostKey(dialog, VK_RETURN);
        }
        WriteNameIntoApplication(holder, e.fileNameId, e, name);
        return;
    }
    if (e.hideOriginal)
        ShowWindow(dialog, SW_SHOW);
    char cancelPath[kMaxPath + 1];
    if (e.dialogKind != kTrainedFolder && ReadCancelPath(cancelPath, sizeof cancelPath) &&
        cancelPath[0])
        WriteNameIntoApplication(holder, e.fileNameId, e, cancelPath);
}

void HandleButton(TrainedWindow& t, HWND dialog) {
    SharedState* s = Shared();
    if (t.entry.autoOpenClose) {
        if (t.entry.addButton && !t.entry.hideOriginal && s && s->showUsageNote)
            t.noteTimer = SetTimer(dialog, kNoteTimer, kNoteDelayMs, nullptr) ? 1 : 0;
        if (!t.closing) {
            OpenFor(dialog, true, MSG_BUTTON_RESULT);
            return;
        }
    }
    OpenFor(dialog, false, MSG_BUTTON_RESULT);
}

LRESULT OnTimer(TrainedWindow& t, HWND dialog, WPARAM id, LPARAM lParam) {
    if (id == kCloseTimer) {
        KillTimer(dialog, kCloseTimer);
        t.closeTimer = 0;
        ShowWindow(dialog, SW_SHOW);
        MessageBoxFromIds(dialog, IDS_NOT_RESPONDING, IDS_ERROR_TITLE, MB_OK);
        return 0;
    }
    if (id == kNoteTimer) {
        KillTimer(dialog, kNoteTimer);
        t.noteTimer = 0;
        ShowUsageNote(dialog);
        return 0;
    }
    return PassOn(t, dialog, WM_TIMER, id, lParam);
}

LRESULT OnDestroy(TrainedWindow& t, HWND dialog, LPARAM lParam) {
    if (t.fontCreated && t.buttonFont)
        DeleteObject(reinterpret_cast<HFONT>(t.buttonFont));
    t.buttonFont = 0;
    KillTimer(dialog, kCloseTimer);
    KillTimer(dialog, kNoteTimer);
    RestoreButton(t);
    const TrainedWindow copy = t;
    GiveBack(t, dialog); // otherwise the slot goes with the window's last message
    LRESULT result = PassOn(copy, dialog, WM_DESTROY, 0, lParam);
    if (!copy.givenUp)
        PostToManagerIfSet(MSG_DIALOG_CLOSED, dialog);
    return result;
}

// Sees every message of a trained dialog before the dialog's own procedure.
LRESULT CALLBACK TrainedDialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    ActiveCall active;
    TrainedWindow* t = SlotOf(dialog);
    if (!t)
        return DefWindowProcA(dialog, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        const TrainedWindow copy = *t;
        Free(t);
        LRESULT result = PassOn(copy, dialog, msg, wParam, lParam);
        ReleaseLibrary();
        return result;
    }
    if (t->givenUp && msg != WM_DESTROY)
        return PassOn(*t, dialog, msg, wParam, lParam);
    switch (msg) {
    case WM_ACTIVATE:
    case WM_SHOWWINDOW:
    case WM_NCACTIVATE: {
        LRESULT result = PassOn(*t, dialog, msg, wParam, lParam);
        t = SlotOf(dialog);
        if (!t || t->initialized || (msg == WM_NCACTIVATE && !IsModule(t->entry, "HGW")) ||
            (t->entry.autoExtended && msg != WM_SHOWWINDOW))
            return result;
        StartAction(*t, dialog);
        return result;
    }
    case WM_WINDOWPOSCHANGING: {
        LRESULT result = PassOn(*t, dialog, msg, wParam, lParam);
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        t = SlotOf(dialog);
        if (!t || !pos)
            return result;
        if (pos->flags & SWP_SHOWWINDOW)
            t->wasShown = 1;
        const TrainedEntry& e = t->entry;
        bool addInView = e.addButton && !(e.autoOpenClose && e.hideOriginal);
        if (!t->initialized || (!t->closing && !addInView)) {
            pos->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW | SWP_NOREDRAW);
            pos->flags |= SWP_HIDEWINDOW;
        }
        return result;
    }
    case MSG_TRAINED_SHOW:
        ShowWindow(dialog, static_cast<int>(wParam));
        BringWindowToTop(dialog);
        return 0;
    case MSG_TRAINED_REPLACE:
        OpenFor(dialog, true, MSG_REPLACE_RESULT);
        return 0;
    case MSG_REPLACE_RESULT:
        HandleReplaceResult(*t, dialog, wParam != 0, reinterpret_cast<const char*>(lParam));
        return 0;
    case MSG_BUTTON_RESULT:
        HandleButtonResult(*t, dialog, wParam != 0, reinterpret_cast<const char*>(lParam));
        return 0;
    case WM_COMMAND:
        if (t->buttonId && LOWORD(wParam) == t->buttonId) {
            HandleButton(*t, dialog);
            return 0;
        }
        return PassOn(*t, dialog, msg, wParam, lParam);
    case WM_TIMER:
        return OnTimer(*t, dialog, wParam, lParam);
    case WM_SIZE: {
        LRESULT result = PassOn(*t, dialog, msg, wParam, lParam);
        if ((t = SlotOf(dialog)) != nullptr && t->buttonId)
            PlaceButton(*t);
        return result;
    }
    case WM_DESTROY:
        return OnDestroy(*t, dialog, lParam);
    default:
        return PassOn(*t, dialog, msg, wParam, lParam);
    }
}

bool KeyDown(int key) {
    return (GetAsyncKeyState(key) & 0x8000) != 0;
}

} // namespace

void StartTrainedHandling(int entryIndex, HWND dialog) {
    SharedState* s = Shared();
    DWORD pid = 0;
    // The match is recorded in state every process shares: only a live dialog of this process
    // is ours to take.
    if (!s || !IsWindow(dialog) || !GetWindowThreadProcessId(dialog, &pid) ||
        pid != GetCurrentProcessId() || SlotOf(dialog))
        return;
    int count = TrainedCount(*s);
    if (entryIndex < 0 || entryIndex >= count)
        return;
    int slot = AllocTrainedWindow(g_trained);
    if (slot < 0)
        return;
    TrainedWindow& t = g_trained.slots[slot];
    t.entry = s->trainedEntries[entryIndex];
    char module[sizeof t.entry.moduleName];
    CopyField(module, sizeof module, t.entry.moduleName, sizeof t.entry.moduleName);
    ReadHookSettings(*s, module);
    KeyState keys = {KeyDown(VK_SHIFT), KeyDown(VK_CONTROL), KeyDown(VK_MENU)};
    if (!keys.alt && KeySettingMet(s->settings.disableKeyNoPrompt, keys)) {
        FreeTrainedWindow(g_trained, slot);
        return;
    }
    t.dialog = reinterpret_cast<uintptr_t>(dialog);
    GetWindowTextA(dialog, t.title, sizeof t.title - 1);
    char title[kTitleSize] = "";
    GetWindowTextA(dialog, title, sizeof title);
    count = TrainedCount(*s);
    int refined = RefineAtFirstChild(s->trainedEntries, count, entryIndex, title, t.title);
    t.entryIndex = refined;
    if (refined != entryIndex && refined >= 0 && refined < count)
        t.entry = s->trainedEntries[refined];
    if (!t.entry.enabled) {
        FreeTrainedWindow(g_trained, slot);
        return;
    }
    HoldLibrary();
    LONG_PTR old =
        SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TrainedDialogProc));
    if (!old) {
        FreeTrainedWindow(g_trained, slot);
        ReleaseLibrary();
        return;
    }
    t.oldProc = static_cast<uintptr_t>(old);
    PostToManager(*s, MSG_DIALOG_OPENED, reinterpret_cast<WPARAM>(dialog), 0);
}

bool HasTrainedWindow(HWND window) {
    return window && SlotOf(window) != nullptr;
}

bool TrainedWindowModule(HWND window, char* module, size_t size) {
    const TrainedWindow* t = window ? SlotOf(window) : nullptr;
    if (!t)
        return false;
    CopyField(module, size, t->entry.moduleName, sizeof t->entry.moduleName);
    return true;
}

bool TrainedActiveForModule(const char* module) {
    return FindTrainedModule(g_trained, module) >= 0;
}

} // namespace vn
