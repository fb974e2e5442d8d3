// vantor.exe: the program the user starts. It runs once per desktop: a second start brings up
// the configuration window of the running copy and ends.
#include <windows.h>

#include "manager/command_line.h"
#include "manager/install_win.h"
#include "manager/main_window_win.h"
#include "manager/resource.h"
#include "manager/ui_win.h"

#include "hook/core/messages.h"

using namespace vn;

namespace {

// Tells the running copy to show its configuration window (which may close the program).
void WakeRunningCopy() {
    HWND first = FindWindowA("#32770", kMainWindowTitle);
    if (!first)
        return;
    DWORD process = 0;
    GetWindowThreadProcessId(first, &process);
    AllowSetForegroundWindow(process); // so that its window may come to the front
    PostMessageA(first, MSG_OPEN_CONFIGURATION, 0, 1);
}

// Too large for the stack; there is one for the program's lifetime.
MainWindow g_mainWindow;

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
    StartRequest request = ParseCommandLine(arguments);
    if (request.mode == StartMode::kUsage) {
        StringMessageBox(nullptr, IDS_USAGE, IDS_PRODUCT, MB_OK | MB_ICONINFORMATION);
        return 2;
    }
    if (request.mode == StartMode::kInstall)
        return InstallForUser(request.dataFolder);

    HANDLE mutex = CreateMutexA(nullptr, FALSE, kMutexName);
    if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) {
        if (mutex)
            CloseHandle(mutex);
        WakeRunningCopy();
        return 0;
    }

    if (!g_mainWindow.Construct(instance))
        StringMessageBox(nullptr, IDS_NOT_INSTALLED, IDS_PRODUCT, MB_OK | MB_ICONWARNING);
    HWND window = g_mainWindow.Create();
    int status = 1;
    if (window) {
        MSG msg;
        BOOL got;
        while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0 && got != -1) {
            if (IsWindow(window) &&
                (g_mainWindow.PreTranslate(msg) || IsDialogMessageA(window, &msg)))
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        status = got == 0 ? static_cast<int>(msg.wParam) : 1;
    }
    CloseHandle(mutex);
    return status;
}
