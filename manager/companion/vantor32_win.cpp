// vantor32.exe, the manager's 32-bit companion: sets the hook of the 32-bit library for the
// 64-bit manager that started it, so that 32-bit applications get their dialogs extended too,
// and takes it away again when the manager tells it to go or ends. It has no window and says
// nothing: how it ended is its exit status, which the manager looks at.
#include <windows.h>

#include "manager/companion.h"

#include "hook/takeover/vnhook_api.h"

using namespace vn;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int) {
    uint32_t managerId = 0;
    if (!ParseCompanionArguments(arguments, &managerId))
        return kCompanionBadArguments;
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kCompanionMutexName);
    if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS)
        return kCompanionTwice;
    HANDLE ends[2] = {OpenProcess(SYNCHRONIZE, FALSE, managerId),
                      OpenEventA(SYNCHRONIZE, FALSE, kCompanionQuitEventName)};
    if (!ends[0] || !ends[1])
        return kCompanionNoManager;
    if (!InstallCBTFilter32())
        return kCompanionNoHook;
    // Windows hands this thread the hook calls for windows of 64-bit processes (they cannot load
    // the 32-bit library), and those processes wait for the answer: the thread keeps taking its
    // messages while it waits for its end.
    for (;;) {
        DWORD woke = MsgWaitForMultipleObjects(2, ends, FALSE, INFINITE, QS_ALLINPUT);
        if (woke != WAIT_OBJECT_0 + 2)
            break; // the manager ended or said to go (or the wait failed)
        MSG msg;
        bool quit = false;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                quit = true;
            else
                DispatchMessageA(&msg);
        }
        if (quit)
            break;
    }
    RemoveCBTFilter32();
    return kCompanionDone;
}
