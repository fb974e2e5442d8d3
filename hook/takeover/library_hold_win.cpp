#include "hook/takeover/library_hold_win.h"

#include "hook/takeover/dialog_proc_win.h"

namespace vn {

namespace {

volatile LONG g_activeCalls = 0;

DWORD WINAPI ReleaseLibraryWhenIdle(LPVOID module) {
    for (int idle = 0; idle < 2;) {
        Sleep(50);
        idle = g_activeCalls == 0 ? idle + 1 : 0;
    }
    FreeLibraryAndExitThread(static_cast<HMODULE>(module), 0);
}

} // namespace

void HoldLibrary() {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCSTR>(&KsOpenProc), &self);
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

ActiveCall::ActiveCall() {
    InterlockedIncrement(&g_activeCalls);
}

ActiveCall::~ActiveCall() {
    InterlockedDecrement(&g_activeCalls);
}

} // namespace vn
