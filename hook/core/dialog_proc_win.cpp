#include "dialog_proc_win.h"

#include "manager_link_win.h"
#include "text.h"

namespace vn {

DialogTable g_dialogs;

namespace {

void RegisterExtended(SharedState& s, HWND dialog) {
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

} // namespace

bool TakeOverDialog(HWND dialog, const char* module, const char* title, const ExcludeFlags& flags,
                    bool training) {
    SharedState* s = Shared();
    int slot = OpenDialogRecord(g_dialogs);
    if (!s || slot >= kDialogSlots)
        return false;
    DialogRecord& r = g_dialogs.slots[slot];
    // The record is complete before the procedure is replaced: the first message may come at once.
    r.dialogWindow = reinterpret_cast<uintptr_t>(dialog);
    r.excludedFileManagement = flags.excluded[kFileManagement];
    r.excludedSizing = flags.excluded[kSizing];
    r.excludedLastFolder = flags.excluded[kLastFolder];
    r.passive = training ? 1 : 0;
    r.fileNameControlId = 1152;
    DWORD pid = 0;
    r.threadId = GetWindowThreadProcessId(dialog, &pid);
    r.processId = pid;
    CopyText(r.moduleName, sizeof r.moduleName, module);
    CopyText(r.dialogTitle, 80, title);
    SetLastError(0);
    LONG_PTR old = SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(KsOpenProc));
    if (!old) {
        CloseDialogRecord(g_dialogs, slot);
        return false;
    }
    r.savedDialogProc = static_cast<uintptr_t>(old);
    RegisterExtended(*s, dialog);
    PostToManager(*s, MSG_DIALOG_OPENED, reinterpret_cast<WPARAM>(dialog), 0);
    return true;
}

} // namespace vn

using namespace vn;

// Sees every message of a dialog that was taken over, before the dialog's own procedure.
LRESULT CALLBACK KsOpenProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    int slot = FindDialogRecord(g_dialogs, reinterpret_cast<uintptr_t>(dialog));
    if (slot < 0)
        return DefWindowProcA(dialog, msg, wParam, lParam);
    auto saved = reinterpret_cast<WNDPROC>(g_dialogs.slots[slot].savedDialogProc);

    if (msg == WM_DESTROY && !g_dialogs.slots[slot].destroyed) {
        g_dialogs.slots[slot].destroyed = 1;
        if (SharedState* s = Shared()) {
            UnregisterExtended(*s, dialog);
            PostToManager(*s, MSG_DIALOG_CLOSED, reinterpret_cast<WPARAM>(dialog), 0);
        }
        // Put the dialog's procedure back only while ours is the one installed: a program that
        // subclassed the dialog after us keeps us in its chain, and we pass everything on until
        // the window is gone.
        bool restored = false;
        if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(dialog, GWLP_WNDPROC)) == KsOpenProc) {
            SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved));
            restored = true;
        }
        LRESULT result = CallWindowProcA(saved, dialog, msg, wParam, lParam);
        if (restored)
            CloseDialogRecord(g_dialogs, slot);
        return result;
    }
    if (msg == WM_NCDESTROY) {
        LRESULT result = CallWindowProcA(saved, dialog, msg, wParam, lParam);
        CloseDialogRecord(g_dialogs, slot);
        return result;
    }
    return CallWindowProcA(saved, dialog, msg, wParam, lParam);
}
