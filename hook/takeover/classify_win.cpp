#include "hook/takeover/classify_win.h"

#include "hook/core/classify.h"
#include "hook/takeover/dialog_proc_win.h"
#include "hook/takeover/library_hold_win.h"
#include "hook/takeover/trained_proc_win.h"
#include "hook/core/dialog_setup.h"
#include "hook/core/manager_link_win.h"
#include "hook/core/process_win.h"
#include "hook/core/settings.h"
#include "hook/core/settings_win.h"
#include "hook/core/text.h"
#include "hook/commands/disabling_win.h"
#include "hook/lists/list_files_win.h"
#include "hook/trained/training_win.h"

#include <cstring>

namespace vn {
namespace {

char g_moduleName[kListEntrySize];

// The watch of the thread creating windows: a dialog and its controls come from one thread.
thread_local ClassifyWatch t_watch;
volatile LONG g_moduleNameReady = 0;

// Reads a text of the creation record, which belongs to the creating code: at most cap - 1
// characters, nothing for an ordinal.
void CopyRecordText(char* dst, size_t cap, const char* src) {
    if (!src || reinterpret_cast<uintptr_t>(src) < 0x10000) {
        dst[0] = 0;
        return;
    }
    CopyText(dst, cap, src);
}

class Win32ClassifyHost final : public ClassifyHost {
  public:
    const char* ModuleName() override { return CurrentModuleName(); }

    uint32_t WindowStyle(Handle32 window) override {
        return static_cast<uint32_t>(GetWindowLongA(ToHwnd(window), GWL_STYLE));
    }

    Handle32 ParentOf(Handle32 window) override {
        return window ? FromHandle(GetParent(ToHwnd(window))) : 0;
    }

    void OwnerModuleFile(Handle32 window, char* buf, size_t size) override {
        buf[0] = 0;
        auto instance =
            reinterpret_cast<HMODULE>(GetWindowLongPtrA(ToHwnd(window), GWLP_HINSTANCE));
        if (instance && size)
            GetModuleFileNameA(instance, buf, static_cast<DWORD>(size));
    }

    bool HasTrainedSlot(Handle32 window) override { return HasTrainedWindow(ToHwnd(window)); }
    bool TrainedSlotModule(Handle32 window, char* module, size_t size) override {
        return TrainedWindowModule(ToHwnd(window), module, size);
    }
    bool TrainedActiveFor(const char* module) override { return TrainedActiveForModule(module); }
    void HandTrainedMatch(int index, Handle32 dialog) override {
        StartTrainedHandling(index, ToHwnd(dialog));
    }

    bool SetUpFileDialog(Handle32 dialog, const char* module, bool training,
                         DialogKind kind) override;
};

bool KeyDown(int key) {
    return (GetAsyncKeyState(key) & 0x8000) != 0;
}

bool Win32ClassifyHost::SetUpFileDialog(Handle32 dialogHandle, const char* module, bool training,
                                        DialogKind kind) {
    HWND dialog = ToHwnd(dialogHandle);
    // The watch is shared by every process: a candidate of another process, or one that is
    // already gone, is not ours to take over.
    DWORD pid = 0;
    if (!IsWindow(dialog) || !GetWindowThreadProcessId(dialog, &pid) ||
        pid != GetCurrentProcessId())
        return false;
    SharedState* s = Shared();
    if (!s)
        return false;

    ReadHookSettings(*s, module);

    char title[kTitleSize] = "";
    GetWindowTextA(dialog, title, sizeof title);
    char ignore[kIgnoreModulesSize] = "";
    SettingsFile(*s).GetString(kSettingsSection, kKeyIgnoreModules, "", ignore, sizeof ignore);

    KeyState keys = {KeyDown(VK_SHIFT), KeyDown(VK_CONTROL), KeyDown(VK_MENU)};
    DisablingEffect setup = {};
    switch (DecideSetup(*s, module, title, ignore, keys, setup.flags)) {
    case SetupDecision::kLeaveAlone:
        return false;
    case SetupDecision::kAskDisabling:
        // A modal loop inside the hook: the library must stay loaded through it even if the
        // manager removes the hook meanwhile.
        HoldLibrary();
        setup = ShowDisablingDialog(dialog, module, setup.flags);
        ReleaseLibrary();
        if (setup.flags.All())
            return false;
        break;
    case SetupDecision::kTakeOver:
        break;
    }
    ExcludeFlags pending = {};
    for (int kind = 0; kind < kExcludeKinds; ++kind)
        pending.excluded[kind] = setup.pending[kind];
    return TakeOverDialog(dialog, kind, module, title, setup.flags, pending, training);
}

} // namespace

const char* CurrentModuleName() {
    if (!g_moduleNameReady) {
        char path[kMaxPath + 1] = "";
        GetModuleFileNameA(nullptr, path, kMaxPath);
        path[kMaxPath] = 0;
        ModuleNameFromPath(g_moduleName, sizeof g_moduleName, path);
        InterlockedExchange(&g_moduleNameReady, 1);
    }
    return g_moduleName;
}

void ClassifyCreation(SharedState& s, HWND window, const CBT_CREATEWNDA* creation) {
    if (!creation || !creation->lpcs)
        return;
    const CREATESTRUCTA& cs = *creation->lpcs;
    CreationInfo info = {};
    char className[64];
    char title[kTitleSize];
    info.style = static_cast<uint32_t>(cs.style);
    info.exStyle = static_cast<uint32_t>(cs.dwExStyle);
    if (reinterpret_cast<uintptr_t>(cs.lpszClass) < 0x10000) {
        info.classAtom = static_cast<uint16_t>(reinterpret_cast<uintptr_t>(cs.lpszClass));
    } else {
        CopyRecordText(className, sizeof className, cs.lpszClass);
        if (!strcmp(className, "#32770"))
            info.classAtom = kDialogClassAtom;
        else
            info.className = className;
    }
    if (cs.lpszName && reinterpret_cast<uintptr_t>(cs.lpszName) >= 0x10000) {
        CopyRecordText(title, sizeof title, cs.lpszName);
        info.title = title;
    }
    info.width = cs.cx;
    info.height = cs.cy;
    info.parent = FromHandle(cs.hwndParent);
    info.controlId = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(cs.hMenu));
    // Training whose windows are gone (their process ended) must not hold trained dialogs back,
    // and the owner of a stand-in dialog whose application ended meanwhile opens no exception.
    ForgetDeadTraining(s);
    Handle32 owner = s.replacementOwner;
    if (owner && !IsWindow(ToHwnd(owner)))
        InterlockedCompareExchange(reinterpret_cast<volatile LONG*>(&s.replacementOwner), 0,
                                   static_cast<LONG>(owner));
    Win32ClassifyHost host;
    Classify(s, t_watch, host, info, FromHandle(window));
}

} // namespace vn
