#include "hook/takeover/list_view_proc_win.h"

#include <commctrl.h>

#include "hook/core/control_ids.h"
#include "hook/core/messages.h"
#include "hook/core/shared_state_win.h"
#include "hook/layout/file_list_win.h"
#include "hook/takeover/library_hold_win.h"

#include <cstring>

namespace vn {

namespace {

// The procedure a list had before ours, kept on the list itself: a dialog may briefly hold an
// old list that is being destroyed while the record already follows the new one.
const char kSavedProcProperty[] = "Vantor.ListProc";

WNDPROC SavedProcOf(HWND list) {
    return reinterpret_cast<WNDPROC>(GetPropA(list, kSavedProcProperty));
}

// Puts the list's own procedure back, if ours is still the one installed (someone who
// subclassed it after us keeps us in the chain until the window goes).
void GiveBack(HWND list) {
    WNDPROC saved = SavedProcOf(list);
    if (!saved)
        return;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(list, GWLP_WNDPROC)) == KsListViewProc) {
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved));
        RemovePropA(list, kSavedProcProperty);
    }
}

DialogRecord* RecordOfList(HWND list) {
    HWND view = GetParent(list);
    HWND dialog = view ? GetParent(view) : nullptr;
    int slot = dialog ? FindDialogRecord(g_dialogs, reinterpret_cast<uintptr_t>(dialog)) : -1;
    return slot < 0 ? nullptr : &g_dialogs.slots[slot];
}

HWND DialogOfList(HWND list) {
    return GetParent(GetParent(list));
}

void SortNow(HWND list, DialogRecord::ListView& v, const HookSettings& settings, LRESULT* asked) {
    v.sortingNow = 1;
    bool anySelected = SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
    size_t n = SortFileList(DialogOfList(list), list,
                            reinterpret_cast<WNDPROC>(v.savedListViewProc), settings);
    if (asked)
        *asked = static_cast<LRESULT>(n);
    v.sortingNow = 0;
    v.listFilling = 0;
    v.sortPending = 0;
    if (!anySelected)
        PostMessageA(list, LVM_ENSUREVISIBLE, 0, FALSE);
}

// The widths the user left are kept only from a list that was given the stored ones, or when
// none are stored: a list the shell just made would otherwise overwrite them with its defaults.
void RecordWidths(HWND list, WNDPROC saved, const DialogRecord::ListView& v,
                  HookSettings& settings) {
    if (v.applyingWidths || (settings.columnWidthsKnown && !v.widthsApplied))
        return;
    RecordColumnWidths(list, saved, settings);
}

void ApplyWidths(HWND list, DialogRecord::ListView& v, const HookSettings& settings) {
    v.applyingWidths = 1;
    ApplyColumnWidths(list, settings);
    v.applyingWidths = 0;
    v.widthsApplied = 1;
    v.headerMarkCleared = 0;
}

// What a message means before the list's own procedure sees it. True when it is answered here
// (result in *result).
bool Before(HWND list, UINT msg, DialogRecord::ListView& v, HookSettings& settings, WNDPROC saved,
            LRESULT* result) {
    const bool details = IsDetailsView(list);
    const bool remember = settings.rememberColumnWidths != 0;
    switch (msg) {
    case MSG_SORT_NOW:
        *result = 0;
        if (!v.userSorted)
            SortNow(list, v, settings, result);
        return true;
    case WM_TIMER:
    case WM_CHILDACTIVATE:
    case LVM_GETSELECTEDCOUNT:
        if (v.listFilling)
            v.sortPending = 1;
        return false;
    case WM_PAINT:
        if (v.listFilling)
            v.sortPending = 1;
        if (!details)
            v.widthsApplied = 0;
        else if (remember && v.widthsApplied)
            RecordWidths(list, saved, v, settings);
        return false;
    case WM_DESTROY:
    case LVM_GETHEADER:
        if (details && remember)
            RecordWidths(list, saved, v, settings);
        return false;
    case WM_WINDOWPOSCHANGED:
        if (!details || !remember)
            v.widthsApplied = 0;
        else if (settings.columnWidthsKnown && !v.widthsApplied && !v.applyingWidths)
            ApplyWidths(list, v, settings);
        return false;
    case LVM_DELETEALLITEMS:
        v.listRefilled = 1;
        v.listFilling = 1;
        v.headerMarkCleared = 0;
        return false;
    case LVM_SORTITEMS:
        if (!settings.sort || v.sortingNow)
            return false;
        if (!v.listRefilled) {
            v.userSorted = 1; // a column header: the user's own sort from now on
            return false;
        }
        v.listRefilled = 0;
        if (v.userSorted)
            return false;
        // The shell's sort after a refill: the user's order instead.
        SortNow(list, v, settings, nullptr);
        *result = TRUE;
        return true;
    default:
        return false;
    }
}

// The width and header steps after the list's own procedure, in Details view.
void AfterInDetails(HWND list, DialogRecord::ListView& v, const HookSettings& settings,
                    WNDPROC saved) {
    bool anySelected = false;
    if (!v.widthsApplied && !v.applyingWidths) {
        if (settings.rememberColumnWidths && settings.columnWidthsKnown) {
            anySelected = SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) > 0;
            ApplyWidths(list, v, settings);
            if (!anySelected)
                PostMessageA(list, LVM_ENSUREVISIBLE, 0, FALSE);
        } else {
            // Nothing stored to give: the widths the list has are the ones to keep.
            v.widthsApplied = 1;
        }
    }
    // Looked at once for each filling of the list and each giving of widths, not at every
    // message: the list gets thousands while it paints.
    if (settings.sort && !v.headerMarkCleared && !v.userSorted) {
        ClearHeaderSortMark(list, saved);
        v.headerMarkCleared = 1;
    }
}

} // namespace

void TakeOverFileList(HWND dialog, DialogRecord& r, HWND view) {
    const SharedState* s = Shared();
    if (!s || r.mode.passive || (!s->settings.sort && !s->settings.rememberColumnWidths))
        return;
    if (!view)
        view = GetDlgItem(dialog, kIdShellView);
    HWND list = view ? GetDlgItem(view, kIdShellListView) : nullptr;
    if (!list || reinterpret_cast<uintptr_t>(list) == r.listView.window)
        return;
    char name[32] = "";
    if (!GetClassNameA(list, name, sizeof name) || strcmp(name, "SysListView32") != 0)
        return;
    LONG_PTR old =
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(KsListViewProc));
    if (!old)
        return;
    if (!SetPropA(list, kSavedProcProperty, reinterpret_cast<HANDLE>(old))) {
        SetWindowLongPtrA(list, GWLP_WNDPROC, old);
        return;
    }
    r.listView = {};
    r.listView.window = reinterpret_cast<uintptr_t>(list);
    r.listView.savedListViewProc = static_cast<uintptr_t>(old);
    // The shell filled and sorted the list while it made it; the user's order follows as soon
    // as the dialog has finished changing folders.
    r.listView.listFilling = 1;
    if (s->settings.sort)
        PostMessageA(list, MSG_SORT_NOW, 0, 0);
}

void ReleaseFileList(DialogRecord& r) {
    HWND list = reinterpret_cast<HWND>(r.listView.window);
    SharedState* s = Shared();
    if (list && IsWindow(list)) {
        // The dialog ends before its list does: the list's last widths are taken now.
        WNDPROC saved = SavedProcOf(list);
        if (s && saved && s->settings.rememberColumnWidths && IsDetailsView(list))
            RecordWidths(list, saved, r.listView, s->settings);
        GiveBack(list);
    }
    r.listView = {};
}

} // namespace vn

using namespace vn;

// Sees every message of a taken-over file list before the shell's own procedure.
LRESULT CALLBACK KsListViewProc(HWND list, UINT msg, WPARAM wParam, LPARAM lParam) {
    ActiveCall active;
    DialogRecord* r = RecordOfList(list);
    // The record's copy for the current list: the window property costs a trip to the window
    // server under Wine, at every one of the thousands of messages a list gets.
    const bool current = r && r->listView.window == reinterpret_cast<uintptr_t>(list);
    WNDPROC saved =
        current ? reinterpret_cast<WNDPROC>(r->listView.savedListViewProc) : SavedProcOf(list);
    if (!saved)
        return DefWindowProcA(list, msg, wParam, lParam);
    SharedState* s = Shared();
    if (msg == WM_NCDESTROY) {
        GiveBack(list);
        if (current)
            r->listView = {};
        return CallWindowProcA(saved, list, msg, wParam, lParam);
    }
    // A list whose dialog is gone, or an old one: passed through as it is.
    if (!current || !s)
        return CallWindowProcA(saved, list, msg, wParam, lParam);

    HookSettings& settings = s->settings;
    LRESULT result = 0;
    if (Before(list, msg, r->listView, settings, saved, &result))
        return result;
    if (msg == LVM_ENSUREVISIBLE && settings.viewDetails && IsDetailsView(list)) {
        // The shell scrolls without repainting all it moved: the list and its header are drawn
        // again whole.
        result = CallWindowProcA(saved, list, msg, wParam, lParam);
        SendMessageA(list, WM_NCPAINT, 1, 0);
        InvalidateRect(list, nullptr, TRUE);
        UpdateWindow(list);
        HWND header = reinterpret_cast<HWND>(CallWindowProcA(saved, list, LVM_GETHEADER, 0, 0));
        if (header && IsWindowVisible(header)) {
            InvalidateRect(header, nullptr, TRUE);
            UpdateWindow(header);
        }
        return result;
    }
    result = CallWindowProcA(saved, list, msg, wParam, lParam);

    // The list's own procedure may have ended the dialog or the list.
    r = RecordOfList(list);
    if (!r || r->listView.window != reinterpret_cast<uintptr_t>(list))
        return result;
    DialogRecord::ListView& v = r->listView;
    if (msg != LVM_SETCOLUMNWIDTH && msg != WM_NOTIFY && IsDetailsView(list))
        AfterInDetails(list, v, settings, saved);
    if (v.sortPending && msg != LVM_GETITEMCOUNT && msg != WM_NOTIFY && msg != LVM_SETCOLUMNWIDTH &&
        settings.sort && v.listFilling && !v.sortingNow && !v.userSorted)
        SortNow(list, v, settings, nullptr);
    return result;
}
