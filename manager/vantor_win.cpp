// vantor.exe: the program the user starts. It runs once per desktop: a second start brings up
// the configuration window of the running copy and ends; "/quit" closes the running copy for an
// uninstaller.
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

// How long "/quit" gives a running copy to end: long enough for the user to answer its question
// about open file dialogs, short enough that an uninstaller never waits on a hung copy for good.
constexpr DWORD kQuitWaitMs = 30000;

// "/quit": asks every running copy on this desktop to close as "Close Vantor" in its tray menu
// does (it may ask the user first), and waits for its process to end, so that its files are free
// for an installer. Returns 0 when no copy runs any more, 1 when one is still there.
int QuitRunningCopies() {
    HWND previous = nullptr;
    while (HWND running = FindWindowA("#32770", kMainWindowTitle)) {
        if (running == previous)
            return 1; // it stayed: the user said no, or it hangs
        previous = running;
        DWORD id = 0;
        GetWindowThreadProcessId(running, &id);
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
        AllowSetForegroundWindow(id); // its question, if it asks one, may come to the front
        PostMessageA(running, WM_COMMAND, ID_TRAY_CLOSE, 0);
        bool ended = true;
        if (process) {
            ended = WaitForSingleObject(process, kQuitWaitMs) == WAIT_OBJECT_0;
            CloseHandle(process);
        } else {
            for (DWORD waited = 0; IsWindow(running) && waited < kQuitWaitMs; waited += 100)
                Sleep(100);
        }
        if (!ended)
            return 1;
    }
    return 0;
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
    if (request.mode == StartMode::kQuit)
        return QuitRunningCopies();

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
