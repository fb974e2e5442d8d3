// System tests of the manager, vantor.exe, run as the user would run it: as its own process,
// driven from outside through the messages, keys and clicks that reach it on a desktop.
//
// This program stands in for the notification area: it owns the window of class "Shell_TrayWnd"
// to which Wine's Shell_NotifyIcon hands every icon (as WM_COPYDATA), records what the manager
// asks for and clicks the icon the way the notification area does, by posting the icon's
// callback message. So the tests need no taskbar, only the build's Wine prefix and X server.
// Keys are held with SendInput, which sets the desktop's key state that the manager reads.
//
//   vnmgrtest SCENARIO          (see the table at the end)
//   vnmgrtest owned-dialog N    helper: shows a dialog owned by a window of its own, titled
//                               "vnmgr owned dialog N", until it is killed
#include <windows.h>

#include <shellapi.h>
#include <tlhelp32.h>

#include "hook/core/hook_owner.h"
#include "hook/core/messages.h"
#include "hook/core/shared_state_win.h"
#include "hook/core/ui_win.h"
#include "hook/takeover/vnhook_api.h"
#include "hook/trained/trained_db_win.h"
#include "manager/companion.h"
#include "manager/resource.h"
#include "manager/trained_editor_win.h"
#include "tests/wine/wine_check.h"
#include "tests/wine/wine_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

using namespace vn;

namespace {

const char kTitle[] = "Vantor    by Orvelle Software";
const char kTipEnabled[] = "Vantor - Enabled (Shift/Ctrl-click to disable)";
const char kTipDisabled[] = "Vantor - Disabled (Shift/Ctrl-click to enable)";
const char kTipCommonOff[] = "Vantor - Disabled for Common Dialogs (Shift-click to enable)";
const char kTipTrainedOff[] = "Vantor - Disabled for Trained Dialogs (Ctrl-click to enable)";
const char kQuitWarning[] = "***WARNING*** There seems to be a file dialog still open";
const char kCloseRefused[] = "Vantor cannot be closed while a file dialog is open.";
const char kNotInstalled[] = "WARNING! Vantor has not been installed properly for this user!";

constexpr UINT kTrayCallback = WM_USER + 101;
constexpr UINT kTrayId = 101;
constexpr UINT kCmdClose = 130;
constexpr UINT kCmdEnableCommon = 32774;
constexpr UINT kCmdHideIcon = 32775;
constexpr UINT kCmdEnableTrained = 32776;
constexpr UINT kCmdTrainNew = 32777;
constexpr int kCloseButton = 1012;
constexpr int kHelpButton = 57670;

// --- the stand-in notification area ----------------------------------------------------------

// One Shell_NotifyIcon call as Wine's shell32 sends it: a fixed header with the tip, then the
// icon's mask and colour bits.
struct TrayEvent {
    DWORD action; // NIM_ADD, NIM_MODIFY, NIM_DELETE
    HWND window;
    UINT id;
    UINT flags;
    UINT callback;
    std::string tip;
    std::vector<BYTE> iconBits;
};

constexpr size_t kTipOffset = 16;       // after hWnd, uID, uFlags, uCallbackMessage
constexpr size_t kIconBitsOffset = 960; // after the texts, GUID and the icon's four sizes
std::vector<TrayEvent> g_tray;
HWND g_trayWindow;

LRESULT CALLBACK TrayProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_COPYDATA)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (!data || data->cbData < kIconBitsOffset) {
        printf("unexpected notification data of %lu bytes\n", data ? data->cbData : 0);
        return FALSE;
    }
    const BYTE* bytes = static_cast<const BYTE*>(data->lpData);
    const DWORD* header = reinterpret_cast<const DWORD*>(bytes);
    TrayEvent e;
    e.action = static_cast<DWORD>(data->dwData);
    e.window = ToHwnd(header[0]);
    e.id = header[1];
    e.flags = header[2];
    e.callback = header[3];
    char tip[256];
    WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const WCHAR*>(bytes + kTipOffset), 128, tip,
                        sizeof tip, nullptr, nullptr);
    tip[sizeof tip - 1] = 0;
    e.tip = (e.flags & NIF_TIP) ? tip : "";
    e.iconBits.assign(bytes + kIconBitsOffset, bytes + data->cbData);
    g_tray.push_back(e);
    return TRUE;
}

void CreateTray() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = TrayProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "Shell_TrayWnd";
    RegisterClassA(&wc);
    g_trayWindow = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP,
                                   0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
}

// The icon's bytes as shell32 sends them: mask bits, then colour bits.
std::vector<BYTE> IconBytes(HICON icon) {
    std::vector<BYTE> out;
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info))
        return out;
    BITMAP mask = {}, color = {};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    LONG maskSize = (mask.bmPlanes * mask.bmWidth * mask.bmHeight * mask.bmBitsPixel + 15) / 16 * 2;
    LONG colorSize = 0;
    if (info.hbmColor) {
        GetObjectA(info.hbmColor, sizeof color, &color);
        colorSize =
            (color.bmPlanes * color.bmWidth * color.bmHeight * color.bmBitsPixel + 15) / 16 * 2;
    }
    out.resize(static_cast<size_t>(maskSize + colorSize));
    GetBitmapBits(info.hbmMask, maskSize, out.data());
    if (info.hbmColor)
        GetBitmapBits(info.hbmColor, colorSize, out.data() + maskSize);
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    return out;
}

// The bytes of icon resource id of vantor.exe at the notification area's size.
std::vector<BYTE> ExpectedIcon(int id) {
    static HMODULE module = LoadLibraryExA("vantor.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HICON icon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0));
    std::vector<BYTE> bytes = IconBytes(icon);
    if (icon)
        DestroyIcon(icon);
    return bytes;
}

// --- windows and keys ------------------------------------------------------------------------

HWND MainWindow() {
    return FindWindowA("#32770", kTitle);
}

BOOL CALLBACK CountMainWindow(HWND hwnd, LPARAM counter) {
    char title[64], cls[16];
    if (GetWindowTextA(hwnd, title, sizeof title) && GetClassNameA(hwnd, cls, sizeof cls) &&
        !strcmp(title, kTitle) && !strcmp(cls, "#32770"))
        ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

int CountMainWindows() {
    int count = 0;
    EnumWindows(CountMainWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

struct WindowSearch {
    DWORD process;
    const char* cls;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param) {
    WindowSearch* s = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    char c[32], title[64];
    GetClassNameA(hwnd, c, sizeof c);
    GetWindowTextA(hwnd, title, sizeof title);
    if (owner == s->process && IsWindowVisible(hwnd) && !strcmp(c, s->cls) &&
        strcmp(title, kTitle) != 0) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level window of the process, of class cls, other than its main window.
HWND FindWindowOf(DWORD process, const char* cls) {
    WindowSearch search = {process, cls, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// All the texts of a message box's static controls, joined.
std::string BoxText(HWND box) {
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[16], buf[600];
        GetClassNameA(child, cls, sizeof cls);
        if (!_stricmp(cls, "Static") && GetWindowTextA(child, buf, sizeof buf))
            text += buf;
    }
    return text;
}

HWND WaitForBox(const Process& p, DWORD ms = 15000) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindWindowOf(p.id, "#32770")) != nullptr; }, ms);
    return box;
}

// Ends a message box as the button id would.
void Answer(HWND box, int id) {
    PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(id), 0);
    WaitUntil([&] { return !IsWindow(box); }, 5000);
}

LRESULT SendTo(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

void Hold(bool shift, bool ctrl, bool down) {
    INPUT in[2] = {};
    UINT n = 0;
    for (WORD key :
         {static_cast<WORD>(shift ? VK_SHIFT : 0), static_cast<WORD>(ctrl ? VK_CONTROL : 0)}) {
        if (!key)
            continue;
        in[n].type = INPUT_KEYBOARD;
        in[n].ki.wVk = key;
        in[n].ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        ++n;
    }
    if (n)
        SendInput(n, in, sizeof(INPUT));
}

// --- the manager under test -------------------------------------------------------------------

struct Manager {
    Process process;
    HWND window = nullptr;
};

// Starts vantor.exe and waits until its main window exists and its icon was added.
Manager StartManager(size_t* trayMark = nullptr) {
    Manager m;
    size_t before = g_tray.size();
    m.process = Start("vantor.exe");
    WaitUntil([&] { return (m.window = MainWindow()) != nullptr; });
    CHECK(m.window != nullptr, "the main window appears");
    WaitUntil([&] {
        for (size_t i = before; i < g_tray.size(); ++i)
            if (g_tray[i].action == NIM_MODIFY)
                return true;
        return false;
    });
    if (trayMark)
        *trayMark = before;
    return m;
}

// The icon as the notification area shows it now, replaying the calls since the start.
struct IconState {
    bool present = false;
    UINT callback = 0;
    UINT id = 0;
    HWND window = nullptr;
    std::string tip;
    std::vector<BYTE> iconBits;
};

IconState CurrentIcon() {
    IconState s;
    for (const TrayEvent& e : g_tray) {
        if (e.action == NIM_DELETE) {
            s = IconState();
            continue;
        }
        if (e.action == NIM_ADD && !s.present) {
            s.present = true;
            s.window = e.window;
            s.id = e.id;
        } else if (e.action == NIM_ADD || !s.present) {
            continue; // adding twice fails, changing a missing icon fails
        }
        if (e.flags & NIF_MESSAGE)
            s.callback = e.callback;
        if (e.flags & NIF_TIP)
            s.tip = e.tip;
        if (e.flags & NIF_ICON)
            s.iconBits = e.iconBits;
    }
    return s;
}

void CheckIcon(int iconId, const char* tip, const char* when) {
    IconState s = CurrentIcon();
    CHECK(s.present, "%s: the icon is shown", when);
    CHECK(s.tip == tip, "%s: tip \"%s\", expected \"%s\"", when, s.tip.c_str(), tip);
    CHECK(!s.iconBits.empty() && s.iconBits == ExpectedIcon(iconId), "%s: icon %d", when, iconId);
}

// Clicks the icon with the keys held, as the notification area reports it, and waits until the
// manager has changed the icon in answer.
void ClickIcon(bool shift, bool ctrl) {
    IconState s = CurrentIcon();
    size_t before = g_tray.size();
    Hold(shift, ctrl, true);
    // Keys are down a moment before the click, as a hand holds them; Wine also keeps a
    // process's key state for up to 50 ms before it asks again.
    PumpFor(100);
    PostMessageA(s.window, s.callback, s.id, WM_LBUTTONUP);
    bool changed = WaitUntil([&] {
        for (size_t i = before; i < g_tray.size(); ++i)
            if (g_tray[i].action == NIM_MODIFY)
                return true;
        return false;
    });
    Hold(shift, ctrl, false);
    CHECK(changed, "the click (shift %d, ctrl %d) changed the icon", shift, ctrl);
}

// Sends a tray-menu command as choosing it from the menu does.
void Command(const Manager& m, UINT id) {
    PostMessageA(m.window, WM_COMMAND, id, 0);
}

// Quits from the tray menu and checks that the manager leaves nothing behind.
void QuitAndCheckCleanUp(Manager& m) {
    Command(m, kCmdClose);
    CHECK(WaitExit(m.process) == 0, "the manager ends with status 0");
    IconState s = CurrentIcon();
    CHECK(!s.present, "quitting removes the icon");
    const SharedState* shared = Shared();
    CHECK(shared && shared->cbtHook == 0, "quitting removes the hook");
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, "VantorMutex");
    CHECK(mutex == nullptr, "the mutex is gone with the program");
    if (mutex)
        CloseHandle(mutex);
    Kill(m.process);
}

// A dialog of another process, as the library reports one: its handle and the helper's process.
struct ForeignDialog {
    Process process;
    HWND dialog = nullptr;
};

ForeignDialog OpenForeignDialog(int n) {
    ForeignDialog d;
    d.process = Start("vnmgrtest.exe owned-dialog " + std::to_string(n));
    std::string title = "vnmgr owned dialog " + std::to_string(n);
    WaitUntil([&] { return (d.dialog = FindWindowA(nullptr, title.c_str())) != nullptr; });
    CHECK(d.dialog != nullptr && GetParent(d.dialog) != nullptr, "helper dialog %d with owner", n);
    return d;
}

// --- the 32-bit companion ------------------------------------------------------------------------

// The processes of the companion's program that run now.
std::vector<DWORD> CompanionProcesses() {
    std::vector<DWORD> found;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return found;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (!_stricmp(entry.szExeFile, kCompanionProgram))
            found.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return found;
}

DWORD OneCompanion() {
    std::vector<DWORD> found = CompanionProcesses();
    return found.size() == 1 ? found[0] : 0;
}

// On a machine that runs no 32-bit programs, the companion's 64-bit build takes the place of
// vantor32.exe beside the manager for the scenario's length: it finds the manager's hook in place
// and sets none, so what is tested is how the manager looks after its companion. The real one is
// put back at the end, and at the start when an earlier run left it aside.
class CompanionStandIn {
  public:
    explicit CompanionStandIn(bool needed) {
        Restore();
        if (!needed)
            return;
        active_ = MoveFileA(kCompanionProgram, kKept) &&
                  CopyFileA("vncompanion64.exe", kCompanionProgram, FALSE);
        CHECK(active_, "the stand-in takes the companion's place (%lu)", GetLastError());
    }
    ~CompanionStandIn() { Restore(); }

  private:
    static void Restore() {
        if (GetFileAttributesA(kKept) == INVALID_FILE_ATTRIBUTES)
            return;
        DeleteFileA(kCompanionProgram);
        MoveFileA(kKept, kCompanionProgram);
    }
    static constexpr const char* kKept = "vantor32.exe.kept";
    bool active_ = false;
};

// --- scenarios -------------------------------------------------------------------------------

// A first start on a fresh data folder: hidden window, hook and icon, the manager's defaults
// written; quitting takes everything away again.
void StartAndQuit() {
    PrepareFolders();
    Manager m = StartManager();
    CHECK(m.window && !IsWindowVisible(m.window), "the main window is hidden");
    CHECK(FindWindowOf(m.process.id, "#32770") == nullptr, "no warning when installed");
    const SharedState* s = Shared();
    CHECK(s && s->cbtHook != 0, "the hook is installed");
    CHECK(s && ToHwnd(s->managerWindow) == m.window, "the library reports to the main window");
    IconState icon = CurrentIcon();
    CHECK(icon.window == m.window && icon.id == kTrayId && icon.callback == kTrayCallback,
          "icon %u of the main window, callback %u", icon.id, icon.callback);
    CheckIcon(129, kTipEnabled, "at start");
    // Every key is written with the manager's defaults; the screen is 1024 x 768.
    CHECK(ReadIni("UseLastSize") == "0" && ReadIni("Recent Shown") == "100" &&
              ReadIni("Recent Visible") == "15" && ReadIni("Show Info Full Path") == "1",
          "manager defaults written");
    CHECK(ReadIni("Height32") == "70" && ReadIni("Width32") == "69", "size defaults %s %s",
          ReadIni("Height32").c_str(), ReadIni("Width32").c_str());
    CHECK(ReadIni("Common Enabled") == "1" && ReadIni("Trained Enabled") == "1" &&
              ReadIni("Show Icon") == "1" && ReadIni("NumExcludes") == "0",
          "switches and lists written");
    CHECK(IsCommonEnabled() && IsNotSoCommonEnabled(), "both switches on");
    QuitAndCheckCleanUp(m);
}

// Switches kept in the file are handed to the library at start and shown by the icon.
void SwitchesFromFile() {
    PrepareFolders();
    WriteIni("Height32", "60");
    WriteIni("Common Enabled", "0");
    WriteIni("Trained Enabled", "1");
    Manager m = StartManager();
    CHECK(!IsCommonEnabled() && IsNotSoCommonEnabled(), "the file's switches reach the library");
    CheckIcon(554, kTipCommonOff, "common dialogs off in the file");
    CHECK(ReadIni("Height32") == "60", "values of the file are kept");
    QuitAndCheckCleanUp(m);
}

// A second start leaves one copy running and brings up the first one's configuration window.
void SecondStart() {
    PrepareFolders();
    SetRegistryFolders(g_data, g_data); // a program folder without help pages
    Manager m = StartManager();
    Process second = Start("vantor.exe");
    CHECK(WaitExit(second) == 0, "the second start ends at once");
    Kill(second);
    CHECK(WaitUntil([&] { return IsWindowVisible(m.window) != FALSE; }),
          "the first copy shows its configuration window");
    CHECK(m.process.Running() && CountMainWindows() == 1, "one copy runs (%d windows)",
          CountMainWindows());

    Process third = Start("vantor.exe");
    CHECK(WaitExit(third) == 0 && CountMainWindows() == 1, "a third start while it shows");
    Kill(third);

    // Help without help pages says where they belong.
    PostMessageA(GetDlgItem(m.window, kHelpButton), BM_CLICK, 0, 0);
    HWND box = WaitForBox(m.process);
    CHECK(box && BoxText(box).find("1025") != std::string::npos, "help topic 1025: \"%s\"",
          box ? BoxText(box).c_str() : "");
    if (box)
        Answer(box, IDOK);

    // Cancel hides the window; opened by a second start it may close the program.
    PostMessageA(m.window, WM_COMMAND, IDCANCEL, 0);
    CHECK(WaitUntil([&] { return !IsWindowVisible(m.window); }), "Cancel hides it");
    second = Start("vantor.exe");
    WaitExit(second);
    Kill(second);
    CHECK(WaitUntil([&] { return IsWindowVisible(m.window) != FALSE; }), "shown again");
    PostMessageA(GetDlgItem(m.window, kCloseButton), BM_CLICK, 0, 0);
    CHECK(WaitExit(m.process) == 0, "\"Close Vantor\" ends the program");
    CHECK(!CurrentIcon().present, "and removes the icon");
    Kill(m.process);
}

// The four looks of the icon after clicks with Shift, Ctrl and both, and the menu's switches.
void TrayClicks() {
    PrepareFolders();
    Manager m = StartManager();
    CheckIcon(129, kTipEnabled, "at start");

    ClickIcon(true, false);
    CheckIcon(554, kTipCommonOff, "Shift-click");
    CHECK(!IsCommonEnabled() && IsNotSoCommonEnabled(), "common dialogs off in the library");
    CHECK(ReadIni("Common Enabled") == "0", "and in the file");

    // Shift+Ctrl with only trained dialogs on turns both off; again, both on.
    ClickIcon(true, true);
    CheckIcon(553, kTipDisabled, "Shift+Ctrl-click with trained on");
    CHECK(!IsCommonEnabled() && !IsNotSoCommonEnabled(), "both off");
    CHECK(ReadIni("Common Enabled") == "0" && ReadIni("Trained Enabled") == "0", "file: both 0");
    ClickIcon(true, true);
    CheckIcon(129, kTipEnabled, "Shift+Ctrl-click with both off");
    CHECK(IsCommonEnabled() && IsNotSoCommonEnabled(), "both on");
    CHECK(ReadIni("Common Enabled") == "1" && ReadIni("Trained Enabled") == "1", "file: both 1");

    ClickIcon(false, true);
    CheckIcon(555, kTipTrainedOff, "Ctrl-click");
    CHECK(IsCommonEnabled() && !IsNotSoCommonEnabled(), "trained dialogs off");
    // Shift+Ctrl with anything on turns both off.
    ClickIcon(true, true);
    CheckIcon(553, kTipDisabled, "Shift+Ctrl-click with common on");

    // The menu's items switch the same way.
    size_t before = g_tray.size();
    Command(m, kCmdEnableCommon);
    WaitUntil([&] { return g_tray.size() > before; });
    CheckIcon(555, kTipTrainedOff, "menu: common dialogs on");
    before = g_tray.size();
    Command(m, kCmdEnableTrained);
    WaitUntil([&] { return g_tray.size() > before; });
    CheckIcon(129, kTipEnabled, "menu: trained dialogs on");
    CHECK(ReadIni("Common Enabled") == "1" && ReadIni("Trained Enabled") == "1", "file after menu");

    // A plain click shows the configuration and leaves the switches alone.
    CHECK(!IsWindowVisible(m.window), "hidden before the plain click");
    ClickIcon(false, false);
    CHECK(WaitUntil([&] { return IsWindowVisible(m.window) != FALSE; }), "plain click shows it");
    CheckIcon(129, kTipEnabled, "after the plain click");

    // A right click opens the menu at the icon; its items are chosen by their letters.
    IconState s = CurrentIcon();
    PostMessageA(s.window, s.callback, s.id, WM_RBUTTONUP);
    HWND menu = nullptr;
    CHECK(WaitUntil([&] { return (menu = FindWindowOf(m.process.id, "#32768")) != nullptr; }),
          "right click opens the menu");
    if (menu) {
        size_t before = g_tray.size();
        PostMessageA(menu, WM_CHAR, 'e', 0);
        CHECK(WaitUntil([&] { return g_tray.size() > before && !IsWindowVisible(menu); }),
              "\"&Enabled for Common Dialogs\" is chosen");
        CheckIcon(554, kTipCommonOff, "menu item chosen by its letter");
    }
    PostMessageA(s.window, s.callback, s.id, WM_RBUTTONUP);
    menu = nullptr;
    CHECK(WaitUntil([&] { return (menu = FindWindowOf(m.process.id, "#32768")) != nullptr; }),
          "the menu opens again");
    if (menu) {
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        CHECK(WaitUntil([&] { return !IsWindowVisible(menu); }), "Escape closes the menu");
    }
    QuitAndCheckCleanUp(m);
}

// Dialogs reported open hold up quitting until they are reported closed or their process dies.
void OpenDialogs() {
    PrepareFolders();
    Manager m = StartManager();
    ForeignDialog one = OpenForeignDialog(1);
    ForeignDialog two = OpenForeignDialog(2);

    PostMessageA(m.window, MSG_DIALOG_OPENED, reinterpret_cast<WPARAM>(one.dialog), 0);
    PostMessageA(m.window, MSG_DIALOG_OPENED, reinterpret_cast<WPARAM>(one.dialog), 0);
    Command(m, kCmdClose);
    HWND box = WaitForBox(m.process);
    CHECK(box && BoxText(box).find(kQuitWarning) != std::string::npos, "quitting asks: \"%s\"",
          box ? BoxText(box).c_str() : "");
    CHECK(box &&
              (GetWindowLongA(GetDlgItem(box, IDNO), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON,
          "No is the default answer");
    if (box)
        Answer(box, IDNO);
    PumpFor(500);
    CHECK(m.process.Running(), "No keeps the program running");

    // Reported twice, closed once: the one record is gone.
    PostMessageA(m.window, MSG_DIALOG_CLOSED, reinterpret_cast<WPARAM>(one.dialog), 0);
    // The second helper's process dies without reporting its dialog closed.
    PostMessageA(m.window, MSG_DIALOG_OPENED, reinterpret_cast<WPARAM>(two.dialog), 0);
    Command(m, kCmdClose);
    box = WaitForBox(m.process, 5000);
    CHECK(box != nullptr, "a live dialog of a living process asks");
    if (box)
        Answer(box, IDNO);
    Kill(two.process);
    CHECK(WaitUntil([&] { return !IsWindow(two.dialog); }), "the helper's dialog is gone");

    Command(m, kCmdClose);
    CHECK(WaitExit(m.process) == 0, "quitting no longer asks");
    CHECK(!CurrentIcon().present && Shared() && Shared()->cbtHook == 0, "icon and hook removed");
    Kill(m.process);
    Kill(one.process);
}

// A real application's Open dialog, taken over by the library, holds up quitting while it is
// open and no longer once it has closed.
void SampleDialog() {
    PrepareFolders();
    Manager m = StartManager();
    Process sample = Start("vnsample.exe open 60000");
    HWND dialog = nullptr;
    CHECK(WaitUntil([&] { return (dialog = FindWindowOf(sample.id, "#32770")) != nullptr; }),
          "the sample shows its Open dialog");
    PumpFor(500);
    Command(m, kCmdClose);
    HWND box = WaitForBox(m.process);
    CHECK(box && BoxText(box).find(kQuitWarning) != std::string::npos,
          "quitting asks while the dialog is open");
    if (box)
        Answer(box, IDNO);
    // The user cancels the dialog (the question took the focus from it).
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    int status = WaitExit(sample);
    CHECK(status == 1, "the sample's dialog was cancelled (%d)", status);
    Kill(sample);
    PumpFor(500);
    Command(m, kCmdClose);
    CHECK(WaitExit(m.process) == 0, "closed: quitting does not ask");
    Kill(m.process);
}

// Opened from a file dialog's product button, "Close Vantor" refuses; the tray menu's Close
// asks and Yes quits although a dialog is open.
void CloseRefused() {
    PrepareFolders();
    Manager m = StartManager();
    ForeignDialog one = OpenForeignDialog(3);
    PostMessageA(m.window, MSG_DIALOG_OPENED, reinterpret_cast<WPARAM>(one.dialog), 0);
    CHECK(SendTo(m.window, MSG_OPEN_CONFIGURATION, 0, 0) == 1, "the product button's request");
    CHECK(IsWindowVisible(m.window), "the configuration shows");
    PostMessageA(GetDlgItem(m.window, kCloseButton), BM_CLICK, 0, 0);
    HWND box = WaitForBox(m.process);
    CHECK(box && BoxText(box).find(kCloseRefused) != std::string::npos, "refused: \"%s\"",
          box ? BoxText(box).c_str() : "");
    if (box)
        Answer(box, IDOK);
    PumpFor(500);
    CHECK(m.process.Running() && IsWindowVisible(m.window), "nothing else happens");

    Command(m, kCmdClose);
    box = WaitForBox(m.process);
    CHECK(box && BoxText(box).find(kQuitWarning) != std::string::npos, "the tray's Close asks");
    if (box)
        Answer(box, IDYES);
    CHECK(WaitExit(m.process) == 0, "Yes quits");
    CHECK(!CurrentIcon().present && Shared() && Shared()->cbtHook == 0, "icon and hook removed");
    Kill(m.process);
    Kill(one.process);
}

// The serial is answered, renewed by every MSG_SETTINGS_CHANGED, and the library takes it; the
// values the library wrote survive the manager's next write.
void Serial() {
    PrepareFolders();
    Manager m = StartManager();
    LRESULT first = SendTo(m.window, MSG_SETTINGS_SERIAL, 0, 0);
    CHECK(first != 0 && first != -1, "a serial is answered (%ld)", static_cast<long>(first));
    CHECK(SendTo(m.window, MSG_SETTINGS_SERIAL, 0, 0) == first, "and stays until a change");

    // The library adds an exclusion to the file and reports it.
    WriteIni("NumExcludes", "1");
    WriteIni("Exclude1", "notepad : Save As");
    CHECK(SendTo(m.window, MSG_SETTINGS_CHANGED, 0, 0) == 0, "MSG_SETTINGS_CHANGED returns 0");
    std::vector<LRESULT> serials = {first, SendTo(m.window, MSG_SETTINGS_SERIAL, 0, 0)};
    // Changes in quick succession, within one tick of the clock, each give a serial larger than
    // all before it.
    for (int i = 0; i < 5; ++i) {
        SendTo(m.window, MSG_SETTINGS_CHANGED, 0, 0);
        serials.push_back(SendTo(m.window, MSG_SETTINGS_SERIAL, 0, 0));
    }
    for (size_t i = 1; i < serials.size(); ++i)
        CHECK(static_cast<uint32_t>(serials[i]) > static_cast<uint32_t>(serials[i - 1]),
              "serial %zu is larger (%ld)", i, static_cast<long>(serials[i]));

    // A hooked process asks for the serial before it reads the settings.
    Process sample = Start("vnsample.exe readsettings vnsample");
    CHECK(WaitExit(sample) == 0, "the sample reads the settings");
    Kill(sample);
    const SharedState* s = Shared();
    CHECK(s && s->settings.settingsSerial == static_cast<uint32_t>(serials.back()),
          "the library took the manager's serial");

    // Writing all settings (Hide Icon does) keeps what the library wrote.
    Command(m, kCmdHideIcon);
    CHECK(WaitUntil([] { return ReadIni("Show Icon") == "0"; }), "Hide Icon writes the settings");
    CHECK(!CurrentIcon().present, "the icon is hidden");
    // A file that lost that write (another process rewrote it from an older copy) does not undo
    // the user's choice when the library announces a change of its own: the next toggle shows
    // the icon again.
    std::string exclusion = ReadIni("Exclude1");
    WriteIni("Show Icon", "1");
    CHECK(ReadIni("Exclude1") == exclusion, "the file keeps its exclusion: %s",
          ReadIni("Exclude1").c_str());
    SendTo(m.window, MSG_SETTINGS_CHANGED, 0, 0);
    CHECK(ReadIni("NumExcludes") == "1" && ReadIni("Exclude1") == "notepad : Save As",
          "the library's exclusion survives: %s", ReadIni("Exclude1").c_str());
    Command(m, kCmdHideIcon);
    CHECK(WaitUntil([] { return CurrentIcon().present; }), "shown again");
    CHECK(ReadIni("Show Icon") == "1", "and written: %s", ReadIni("Show Icon").c_str());
    CheckIcon(129, kTipEnabled, "shown again");
    QuitAndCheckCleanUp(m);
}

// Applications add exclusions at the same moment while the manager writes all its settings
// again and again: every entry added is in the file afterwards, once, and each count agrees.
void ExclusionsAtOnce() {
    PrepareFolders();
    Manager m = StartManager();
    const std::string gate = "Local\\VnMgrExclusionGate";
    HANDLE ready = CreateSemaphoreA(nullptr, 0, 64, (gate + ".ready").c_str());
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, (gate + ".go").c_str());
    // Twelve applications, four per list; every other entry names a dialog title as well.
    constexpr int kAdders = 12;
    std::vector<Process> adders;
    std::multiset<std::string> expected[3];
    SetEnvironmentVariableA("VNSAMPLE_GATE", gate.c_str());
    for (int i = 0; i < kAdders; ++i) {
        std::string entry = "vnapp" + std::to_string(i);
        std::string args = "vnsample.exe addexclude " + std::to_string(i % 3) + " " + entry;
        if (i % 2) {
            args += " \"Save As " + std::to_string(i) + "\"";
            entry += " : Save As " + std::to_string(i);
        }
        expected[i % 3].insert(entry);
        adders.push_back(Start(args));
    }
    SetEnvironmentVariableA("VNSAMPLE_GATE", nullptr);
    int readyCount = 0;
    CHECK(WaitUntil(
              [&] {
                  while (WaitForSingleObject(ready, 0) == WAIT_OBJECT_0)
                      ++readyCount;
                  return readyCount == kAdders;
              },
              60000),
          "%d applications ready", readyCount);

    // The manager writes everything (Hide Icon does) while they add, and twice after their
    // last notice. It has done so when the file shows the last value for a while.
    SetEvent(go);
    int writes = 0, added = 0;
    for (Process& p : adders) {
        while (p.Running() && writes < 2000) {
            Command(m, kCmdHideIcon);
            ++writes;
            PumpFor(25);
        }
        added += WaitExit(p) == 0;
        Kill(p);
    }
    Command(m, kCmdHideIcon);
    Command(m, kCmdHideIcon);
    writes += 2;
    std::string last = writes % 2 ? "0" : "1";
    CHECK(WaitUntil([&] {
              return ReadIni("Show Icon") == last && (PumpFor(600), true) &&
                     ReadIni("Show Icon") == last;
          }),
          "the manager wrote %d times", writes);

    const char* const countKeys[3] = {"NumExcludes", "NumSizeExcludes", "NumLastDirExcludes"};
    const char* const entryKeys[3] = {"Exclude", "SizeExclude", "LastDirExclude"};
    int found = 0;
    for (int kind = 0; kind < 3; ++kind) {
        std::multiset<std::string> inFile;
        int count = atoi(ReadIni(countKeys[kind]).c_str());
        for (int i = 1; i <= count && i <= 100; ++i)
            inFile.insert(ReadIni((entryKeys[kind] + std::to_string(i)).c_str()));
        for (const std::string& e : expected[kind])
            found += static_cast<int>(inFile.count(e) != 0);
        CHECK(inFile == expected[kind], "%s: %d entries in the file, 4 added", countKeys[kind],
              count);
    }
    printf("%d of %d applications added their entry during %d writes of the manager; %d of the "
           "entries are in the file\n",
           added, kAdders, writes, found);
    CHECK(added == kAdders, "every application added its entry");
    CloseHandle(ready);
    CloseHandle(go);
    QuitAndCheckCleanUp(m);
}

// When the notification area is created anew, the icon comes back unless it is hidden.
void TaskbarCreated() {
    PrepareFolders();
    Manager m = StartManager();
    UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    g_tray.clear(); // the notification area restarts empty
    PostMessageA(m.window, taskbarCreated, 0, 0);
    CHECK(WaitUntil([] { return CurrentIcon().present; }), "the icon is added again");
    CheckIcon(129, kTipEnabled, "after the restart");

    Command(m, kCmdHideIcon);
    CHECK(WaitUntil([] { return ReadIni("Show Icon") == "0"; }) && !CurrentIcon().present,
          "hidden");
    PumpFor(300);
    g_tray.clear();
    PostMessageA(m.window, taskbarCreated, 0, 0);
    PumpFor(1000);
    CHECK(!CurrentIcon().present, "a hidden icon stays hidden (%zu calls)", g_tray.size());

    // The hidden icon is remembered for the next start.
    Command(m, kCmdClose);
    CHECK(WaitExit(m.process) == 0, "quit");
    Kill(m.process);
    g_tray.clear();
    m.process = Start("vantor.exe");
    WaitUntil([&] { return (m.window = MainWindow()) != nullptr; });
    PumpFor(1500);
    CHECK(m.window && !CurrentIcon().present, "no icon at the next start");
    Command(m, kCmdHideIcon);
    CHECK(WaitUntil([] { return CurrentIcon().present; }), "Hide Icon again shows it");
    QuitAndCheckCleanUp(m);
}

// Without the registry values the user is warned once and the current directory holds the
// files.
void MissingRegistry() {
    DeleteRegistryFolders();
    std::string folder = std::string(g_cwd) + "\\vnmgr-nowhere";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string ini = folder + "\\vantor.ini";
    DeleteFileA(ini.c_str());

    Manager m;
    m.process = Start(std::string(g_cwd) + "\\vantor.exe", folder.c_str());
    HWND box = WaitForBox(m.process);
    CHECK(box && BoxText(box).find(kNotInstalled) != std::string::npos, "warning: \"%s\"",
          box ? BoxText(box).c_str() : "");
    if (box)
        Answer(box, IDOK);
    WaitUntil([&] { return (m.window = MainWindow()) != nullptr && CurrentIcon().present; });
    CHECK(m.window != nullptr, "the program runs on");
    CHECK(ReadIni("Recent Shown", ini) == "100", "the settings are in the current directory");
    CHECK(FindWindowOf(m.process.id, "#32770") == nullptr, "warned once");
    QuitAndCheckCleanUp(m);
}

// "/install" records the program folder and a data folder for the user.
void Install() {
    DeleteRegistryFolders();
    std::string appData = std::string(g_cwd) + "\\vnmgr-appdata";
    RemoveDirectoryA((appData + "\\Vantor").c_str());
    CreateDirectoryA(appData.c_str(), nullptr);
    SetEnvironmentVariableA("APPDATA", appData.c_str());

    Process p = Start("vantor.exe /install");
    CHECK(WaitExit(p) == 0, "/install succeeds");
    Kill(p);
    CHECK(RegistryValue("Program Path") == g_cwd, "program folder %s",
          RegistryValue("Program Path").c_str());
    CHECK(RegistryValue("Data Path") == appData + "\\Vantor", "data folder %s",
          RegistryValue("Data Path").c_str());
    DWORD attributes = GetFileAttributesA((appData + "\\Vantor").c_str());
    CHECK(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY),
          "the data folder is created");

    // A folder of one's own, relative to the current directory, two levels new.
    std::string custom = std::string(g_cwd) + "\\vnmgr-custom";
    RemoveDirectoryA((custom + "\\data").c_str());
    RemoveDirectoryA(custom.c_str());
    p = Start("vantor.exe -INSTALL \"vnmgr-custom\\data\"");
    CHECK(WaitExit(p) == 0, "/install with a folder succeeds");
    Kill(p);
    CHECK(RegistryValue("Data Path") == custom + "\\data", "own data folder %s",
          RegistryValue("Data Path").c_str());
    attributes = GetFileAttributesA((custom + "\\data").c_str());
    CHECK(attributes != INVALID_FILE_ATTRIBUTES, "and created");

    // An argument that is not understood shows the usage and changes nothing.
    for (const char* args : {"/instal", "/install a b"}) {
        p = Start(std::string("vantor.exe ") + args);
        HWND box = WaitForBox(p);
        CHECK(box && BoxText(box).find("/install") != std::string::npos, "%s: usage", args);
        if (box)
            Answer(box, IDOK);
        CHECK(WaitExit(p) == 2, "%s: status 2", args);
        Kill(p);
    }
    CHECK(RegistryValue("Data Path") == custom + "\\data", "unchanged");
    CHECK(MainWindow() == nullptr, "none of them started the program");

    // Installed, the program starts without a warning and uses the data folder.
    DeleteFileA((custom + "\\data\\vantor.ini").c_str());
    Manager m = StartManager();
    CHECK(FindWindowOf(m.process.id, "#32770") == nullptr, "no warning");
    CHECK(ReadIni("Show Icon", custom + "\\data\\vantor.ini") == "1", "settings in the folder");
    QuitAndCheckCleanUp(m);
}

// The editor of a trained entry, opened in this process from the manager's own templates (the
// program carries them) while this thread works its controls as the user would.
struct EditorRun {
    TrainedEntry entry;
    bool changed;
};

DWORD WINAPI RunEditor(void* param) {
    EditorRun* run = static_cast<EditorRun*>(param);
    run->changed = EditTrainedEntry(nullptr, ".", run->entry);
    return 0;
}

bool Enabled(HWND box, int id) {
    return IsWindowEnabled(GetDlgItem(box, id)) != FALSE;
}

// A dialog is found once it shows: before that it may still be filling its controls.
HWND WaitForTitled(const char* title) {
    HWND box = nullptr;
    WaitUntil(
        [&] { return (box = FindWindowA("#32770", title)) != nullptr && IsWindowVisible(box); },
        15000);
    return box;
}

void TrainedEditor() {
    EditorRun run{};
    strcpy(run.entry.appName, "Writer");
    strcpy(run.entry.fileTypes[0], "Text|*.txt");
    strcpy(run.entry.fileTypes[1], "All Files (*.*)|*.*");
    HANDLE thread = CreateThread(nullptr, 0, RunEditor, &run, 0, nullptr);
    HWND box = WaitForTitled("Trained Application Configuration");
    CHECK(box != nullptr, "the editor opens");
    if (!box)
        return;
    CHECK(!Enabled(box, IDC_TA_AUTO_OPEN) && !Enabled(box, IDC_TA_OFFSET_X) &&
              !Enabled(box, IDC_TA_EDIT_TYPE) && !Enabled(box, IDC_TA_MOVE_UP),
          "replacing the dialog: no button options, no type selected");
    SendTo(GetDlgItem(box, IDC_TA_ADD_BUTTON), BM_CLICK, 0, 0);
    CHECK(Enabled(box, IDC_TA_AUTO_OPEN) && Enabled(box, IDC_TA_OFFSET_Y_LABEL) &&
              !Enabled(box, IDC_TA_HIDE_ORIGINAL),
          "an added button enables its options at once");
    SendTo(GetDlgItem(box, IDC_TA_AUTO_OPEN), BM_CLICK, 0, 0);
    CHECK(Enabled(box, IDC_TA_HIDE_ORIGINAL), "automatic open enables hiding");
    HWND list = GetDlgItem(box, IDC_TA_TYPES);
    char line[64] = "";
    SendTo(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(line));
    CHECK(!strcmp(line, "All Files (*.*)"), "a type naming its masks shows once: %s", line);
    SendTo(list, LB_SETCURSEL, 1, 0);
    SendTo(box, WM_COMMAND, MAKEWPARAM(IDC_TA_TYPES, LBN_SELCHANGE),
           reinterpret_cast<LPARAM>(list));
    CHECK(Enabled(box, IDC_TA_MOVE_UP) && !Enabled(box, IDC_TA_MOVE_DOWN) &&
              Enabled(box, IDC_TA_DELETE_TYPE),
          "the last type moves up only");

    SendTo(GetDlgItem(box, IDC_TA_OFFSET_X), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("1x"));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    HWND message = WaitForTitled("Vantor");
    CHECK(message && BoxText(message) == "Please enter an integer.", "OK refuses the offset");
    Answer(message, IDOK);
    CHECK(IsWindow(box), "the editor stays open");
    SendTo(GetDlgItem(box, IDC_TA_OFFSET_X), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("12"));
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    message = WaitForTitled("Vantor");
    CHECK(message && BoxText(message).find("cancel all") != std::string::npos,
          "Cancel after changes asks first");
    Answer(message, IDNO);
    CHECK(IsWindow(box), "No keeps the editor open");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    CHECK(WaitForSingleObject(thread, 15000) == WAIT_OBJECT_0, "OK ends the editor");
    CloseHandle(thread);
    CHECK(run.changed && run.entry.addButton == 1 && run.entry.autoOpenClose == 1 &&
              run.entry.buttonOffsetX == 12 && !strcmp(run.entry.appName, "Writer"),
          "OK stores the values typed");
}

// --- the configuration pages -----------------------------------------------------------------

constexpr int kApplyButton = 1027;
const char kCancelQuestion[] = "Are you sure you want to cancel all of your changes?";
const char kRangePrompt[] = "Please enter an integer between 1 and 100.";

// The configuration window of a started manager, shown from the tray menu, and its five pages
// (child dialogs in the order of their tabs).
struct Configuration {
    HWND tabs = nullptr;
    std::vector<HWND> pages;
};

Configuration ShowConfiguration(const Manager& m) {
    Command(m, 32771); // "&Configuration"
    CHECK(WaitUntil([&] { return IsWindowVisible(m.window) != FALSE; }), "configuration shown");
    Configuration c;
    c.tabs = FindWindowExA(m.window, nullptr, "SysTabControl32", nullptr);
    for (HWND child = GetWindow(m.window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[16] = "";
        GetClassNameA(child, cls, sizeof cls);
        if (!strcmp(cls, "#32770"))
            c.pages.push_back(child);
    }
    CHECK(c.tabs && c.pages.size() == 5, "a tab control and five pages (%zu)", c.pages.size());
    return c;
}

HWND Control(const Configuration& c, int page, int id) {
    return page < static_cast<int>(c.pages.size()) ? GetDlgItem(c.pages[page], id) : nullptr;
}

void Click(const Configuration& c, int page, int id) {
    SendTo(Control(c, page, id), BM_CLICK, 0, 0);
}

void Type(const Configuration& c, int page, int id, const char* text) {
    SendTo(Control(c, page, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// The next tab, as the right arrow key in the tab control chooses it.
void NextTab(const Configuration& c) {
    PostMessageA(c.tabs, WM_KEYDOWN, VK_RIGHT, 0);
    PumpFor(300);
}

bool Enabled(const Configuration& c, int page, int id) {
    return IsWindowEnabled(Control(c, page, id)) != FALSE;
}

// A value changed on every page reaches the file with Apply, and only then; a bad number stops
// Apply with the range prompt and writes nothing.
void PagesApply() {
    PrepareFolders();
    WriteIni("Height32", "70");
    WriteIni("NumExcludes", "2");
    WriteIni("Exclude1", "notepad");
    WriteIni("Exclude2", "wordpad : Save As");
    Manager m = StartManager();
    Configuration c = ShowConfiguration(m);
    HWND apply = GetDlgItem(m.window, kApplyButton);
    CHECK(!IsWindowEnabled(apply), "Apply is off while nothing changed");

    CHECK(IsWindowVisible(c.pages[0]), "Main Options first");
    Click(c, 0, 208); // "Open dialogs to last folder used" off
    Click(c, 0, 401); // no file management buttons
    CHECK(IsWindowEnabled(apply), "a change turns Apply on");
    CHECK(!Enabled(c, 0, 1039) && !Enabled(c, 0, 224) && !Enabled(c, 0, 1009) &&
              Enabled(c, 0, 1045),
          "the buttons grey, the product button does not");
    PumpFor(800); // the manager paints what changed
    Screenshot("config-main-options.png");

    NextTab(c);
    CHECK(IsWindowVisible(c.pages[1]) && !IsWindowVisible(c.pages[0]), "Size && Position");
    Type(c, 1, 103, "90");
    Click(c, 1, 1028); // remember the size: the enlarge group greys
    CHECK(!Enabled(c, 1, 109) && !Enabled(c, 1, 103), "remembered size greys the group");
    PumpFor(800); // the manager paints what changed
    Screenshot("config-size-position.png");

    NextTab(c);
    CHECK(IsWindowVisible(c.pages[2]), "Recent / Favorites");
    Click(c, 2, 230);
    Type(c, 2, 206, "0");
    PostMessageA(apply, BM_CLICK, 0, 0);
    HWND box = WaitForBox(m.process);
    CHECK(box && BoxText(box).find(kRangePrompt) != std::string::npos, "range prompt: \"%s\"",
          box ? BoxText(box).c_str() : "");
    if (box)
        Answer(box, IDOK);
    CHECK(ReadIni("Width32") == "69" && ReadIni("Use Last Dir") == "1", "nothing written");
    NextTab(c);
    box = WaitForBox(m.process, 3000);
    CHECK(box != nullptr && IsWindowVisible(c.pages[2]), "a page with a bad number is not left");
    if (box)
        Answer(box, IDOK);
    Type(c, 2, 206, "50");
    PumpFor(800); // the manager paints what changed
    Screenshot("config-recent-favorites.png");

    NextTab(c);
    CHECK(IsWindowVisible(c.pages[3]), "Disabled Dialogs");
    HWND list = Control(c, 3, 101);
    CHECK(SendTo(list, LB_GETCOUNT, 0, 0) == 2, "the two exclusions are listed");
    CHECK(!Enabled(c, 3, 102), "Re-Enable needs a selection");
    SendTo(list, LB_SETCURSEL, 0, 0);
    SendTo(c.pages[3], WM_COMMAND, MAKEWPARAM(101, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    CHECK(Enabled(c, 3, 102), "a selection enables Re-Enable");
    Click(c, 3, 102);
    CHECK(SendTo(list, LB_GETCOUNT, 0, 0) == 1, "re-enabled at once in the list");
    Click(c, 3, 1010); // Ctrl+Shift asks: not also without asking
    CHECK(!Enabled(c, 3, 1011) && Enabled(c, 3, 214), "Ctrl+Shift greyed in the other group");
    CHECK(ReadIni("NumExcludes") == "2", "the file keeps the entry until Apply");
    PumpFor(800); // the manager paints what changed
    Screenshot("config-disabled-dialogs.png");

    NextTab(c);
    CHECK(IsWindowVisible(c.pages[4]), "Trained Applications");
    Click(c, 4, 1013);
    PumpFor(800); // the manager paints what changed
    Screenshot("config-trained-applications.png");

    LRESULT serial = SendTo(m.window, MSG_SETTINGS_SERIAL, 0, 0);
    PostMessageA(apply, BM_CLICK, 0, 0);
    CHECK(WaitUntil([&] { return !IsWindowEnabled(apply); }), "Apply is off again");
    CHECK(ReadIni("Width32") == "90", "Apply writes: Width32 %s", ReadIni("Width32").c_str());
    CHECK(ReadIni("Use Last Dir") == "0" && ReadIni("Add Vn Buttons") == "0" &&
              ReadIni("UseLastSize") == "1" && ReadIni("Dont Save Remote") == "1" &&
              ReadIni("Recent Shown") == "50" && ReadIni("Disable Key") == "3" &&
              ReadIni("Trained Enabled") == "0",
          "every page's change is written");
    CHECK(ReadIni("NumExcludes") == "1" && ReadIni("Exclude1") == "wordpad : Save As",
          "the re-enabled entry left the file: %s", ReadIni("Exclude1").c_str());
    CHECK(SendTo(m.window, MSG_SETTINGS_SERIAL, 0, 0) != serial, "a new settings serial");
    CHECK(!IsNotSoCommonEnabled(), "the library has the trained switch");
    QuitAndCheckCleanUp(m);
}

// Cancel with a change asks first; No keeps the window and the change, Yes drops the change.
void PagesCancel() {
    PrepareFolders();
    Manager m = StartManager();
    Configuration c = ShowConfiguration(m);
    Click(c, 0, 208);
    PostMessageA(m.window, WM_COMMAND, IDCANCEL, 0);
    HWND box = WaitForBox(m.process);
    char title[64] = "";
    if (box)
        GetWindowTextA(box, title, sizeof title);
    CHECK(box && BoxText(box).find(kCancelQuestion) != std::string::npos &&
              !strcmp(title, "Vantor"),
          "Cancel asks: \"%s\" (%s)", box ? BoxText(box).c_str() : "", title);
    if (box)
        Answer(box, IDNO);
    PumpFor(300);
    CHECK(IsWindowVisible(m.window) && IsDlgButtonChecked(c.pages[0], 208) == BST_UNCHECKED,
          "No keeps the window and the change");
    PostMessageA(m.window, WM_COMMAND, IDCANCEL, 0);
    box = WaitForBox(m.process);
    if (box)
        Answer(box, IDYES);
    CHECK(WaitUntil([&] { return !IsWindowVisible(m.window); }), "Yes hides the window");
    CHECK(ReadIni("Use Last Dir") == "1", "nothing written");
    c = ShowConfiguration(m);
    CHECK(IsDlgButtonChecked(c.pages[0], 208) == BST_CHECKED, "the change is gone");
    // Without a change Cancel does not ask.
    PostMessageA(m.window, WM_COMMAND, IDCANCEL, 0);
    CHECK(WaitUntil([&] { return !IsWindowVisible(m.window); }), "hidden without a question");
    QuitAndCheckCleanUp(m);
}

// A width applied on the page reaches the next Open dialog of another process at once.
void PagesWidthReachesDialogs() {
    PrepareFolders();
    WriteIni("Height32", "70");
    Manager m = StartManager();
    Configuration c = ShowConfiguration(m);
    NextTab(c);
    Type(c, 1, 103, "90");
    HWND apply = GetDlgItem(m.window, kApplyButton);
    PostMessageA(apply, BM_CLICK, 0, 0);
    CHECK(WaitUntil([&] { return !IsWindowEnabled(apply); }) && ReadIni("Width32") == "90",
          "applied");
    Process sample = Start("vnsample.exe open 60000");
    HWND dialog = nullptr;
    CHECK(WaitUntil([&] { return (dialog = FindWindowOf(sample.id, "#32770")) != nullptr; }),
          "the sample shows its Open dialog");
    PumpFor(500);
    RECT rc = {};
    GetWindowRect(dialog, &rc);
    int expected = GetSystemMetrics(SM_CXSCREEN) * 90 / 100;
    CHECK(abs((rc.right - rc.left) - expected) <= 2, "the dialog is %ld wide, expected %d",
          rc.right - rc.left, expected);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    WaitExit(sample);
    Kill(sample);
    QuitAndCheckCleanUp(m);
}

// A settings file that cannot be written is reported, and Apply stays on. The file is held open
// without sharing: read-only attributes do not stop a process that runs as root under Wine.
void PagesUnwritableFile() {
    PrepareFolders();
    Manager m = StartManager();
    Configuration c = ShowConfiguration(m);
    Click(c, 0, 208);
    std::string ini = DataFile("vantor.ini");
    HANDLE held = CreateFileA(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    CHECK(held != INVALID_HANDLE_VALUE, "the file is held");
    HWND apply = GetDlgItem(m.window, kApplyButton);
    PostMessageA(apply, BM_CLICK, 0, 0);
    HWND box = WaitForBox(m.process);
    CHECK(box && BoxText(box).find("could not be saved") != std::string::npos,
          "the failed write is reported: \"%s\"", box ? BoxText(box).c_str() : "");
    if (box)
        Answer(box, IDOK);
    CloseHandle(held);
    CHECK(ReadIni("Use Last Dir") == "1" && IsWindowEnabled(apply), "not saved, Apply stays on");
    PostMessageA(apply, BM_CLICK, 0, 0);
    CHECK(WaitUntil([&] { return !IsWindowEnabled(apply); }) && ReadIni("Use Last Dir") == "0",
          "saved once writable");
    QuitAndCheckCleanUp(m);
}

// Values out of range in the file are read into range by both sides and never written back
// as huge unsigned numbers.
void OutOfRangeValues() {
    PrepareFolders();
    WriteIni("Height32", "70");
    WriteIni("Recent Shown", "-7");
    WriteIni("Sort By", "9");
    WriteIni("ColWidth0", "-99999");
    Manager m = StartManager();
    CHECK(ReadIni("Recent Shown") == "1" && ReadIni("Sort By") == "0",
          "the manager wrote them in range: %s %s", ReadIni("Recent Shown").c_str(),
          ReadIni("Sort By").c_str());
    Process sample = Start("vnsample.exe readsettings vnsample");
    CHECK(WaitExit(sample) == 0, "the sample reads the settings");
    Kill(sample);
    const SharedState* s = Shared();
    CHECK(s && s->settings.recentShown == 1 && s->settings.colWidth[0] == 0 &&
              s->settings.sortBy == 0,
          "the library read them in range");
    CHECK(ReadIni("ColWidth0") != "4294867297", "no wrapped width");
    QuitAndCheckCleanUp(m);
}

// --- the trained applications page and help ----------------------------------------------------

TrainedEntry Entry(const char* app, const char* title) {
    TrainedEntry e{};
    strcpy(e.appName, app);
    strcpy(e.finalTitle, title);
    strcpy(e.moduleName, app);
    return e;
}

// A line of another process's list box, asked for in the wide form, which Wine carries across
// processes whole.
std::string ListLine(HWND list, int line) {
    wchar_t wide[300] = L"";
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(list, LB_GETTEXTLEN, line, 0, SMTO_ABORTIFHUNG, 5000, &length) ||
        length >= 300)
        return "";
    SendMessageTimeoutW(list, LB_GETTEXT, line, reinterpret_cast<LPARAM>(wide), SMTO_ABORTIFHUNG,
                        5000, &length);
    char text[600] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

// The edit field inside a combo box (or a combo box inside a ComboBoxEx) of another process.
HWND EditInside(HWND control) {
    if (!control)
        return nullptr;
    char cls[32] = "";
    GetClassNameA(control, cls, sizeof cls);
    if (!_stricmp(cls, "Edit"))
        return control;
    for (HWND child = GetWindow(control, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (HWND edit = EditInside(child))
            return edit;
    return nullptr;
}

// The page lists the database; an edited entry and an imported training file reach the file and
// the library's shared copy with Apply.
void AppsPage() {
    PrepareFolders();
    TrainedEntry db[kTrainedSlots] = {Entry("Writer", "Save Text"), Entry("Painter", "Open")};
    CHECK(SaveTrainedDatabaseFile(DataFile("vantor.dat").c_str(), db, 2), "database written");
    TrainedEntry training[kTrainedSlots] = {Entry("Imported", "Export")};
    std::string vnt = DataFile("new.vnt");
    CHECK(SaveTrainedDatabaseFile(vnt.c_str(), training, 1), "training file written");
    Manager m = StartManager();
    Configuration c = ShowConfiguration(m);
    for (int i = 0; i < 4; ++i)
        NextTab(c);
    CHECK(IsWindowVisible(c.pages[4]), "Trained Applications shown");
    HWND list = Control(c, 4, 1014);
    CHECK(SendTo(list, LB_GETCOUNT, 0, 0) == 2 && ListLine(list, 0) == "Writer : Save Text" &&
              ListLine(list, 1) == "Painter : Open",
          "the entries are listed: \"%s\"", ListLine(list, 0).c_str());
    CHECK(!Enabled(c, 4, 1015) && !Enabled(c, 4, 1016) && Enabled(c, 4, 1018),
          "Edit and Delete need a selection");
    SendTo(list, LB_SETCURSEL, 0, 0);
    SendTo(c.pages[4], WM_COMMAND, MAKEWPARAM(1014, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    CHECK(Enabled(c, 4, 1015) && Enabled(c, 4, 1016), "a selection enables them");

    PostMessageA(Control(c, 4, 1015), BM_CLICK, 0, 0);
    HWND editor = WaitForTitled("Trained Application Configuration");
    CHECK(editor != nullptr, "Edit... opens the editor");
    if (editor) {
        SendTo(GetDlgItem(editor, IDC_TA_APP_NAME), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>("Renamed"));
        PostMessageA(editor, WM_COMMAND, IDOK, 0);
        WaitUntil([&] { return !IsWindow(editor); });
    }
    HWND apply = GetDlgItem(m.window, kApplyButton);
    CHECK(WaitUntil([&] { return ListLine(list, 0) == "Renamed : Save Text"; }) &&
              IsWindowEnabled(apply),
          "the edit shows and turns Apply on: \"%s\"", ListLine(list, 0).c_str());

    PostMessageA(Control(c, 4, 1018), BM_CLICK, 0, 0);
    HWND open = WaitForTitled("Import Vantor training data file");
    CHECK(open != nullptr, "Import... asks for the file");
    if (open) {
        HWND name = EditInside(GetDlgItem(open, 1148));
        CHECK(name != nullptr, "the file name box");
        SendTo(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(vnt.c_str()));
        PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(open, IDOK)));
    }
    CHECK(WaitUntil([&] { return SendTo(list, LB_GETCOUNT, 0, 0) == 3; }) &&
              ListLine(list, 2) == "Imported : Export",
          "the training file's entry is listed");
    CHECK(FileSize(DataFile("vantor.dat")) == 2 * sizeof(TrainedEntry), "nothing written yet");

    PostMessageA(apply, BM_CLICK, 0, 0);
    CHECK(WaitUntil([&] { return !IsWindowEnabled(apply); }), "Apply is off again");
    TrainedEntry saved[kTrainedSlots] = {};
    int count = LoadTrainedDatabaseFile(DataFile("vantor.dat").c_str(), saved);
    CHECK(count == 3 && !strcmp(saved[0].appName, "Renamed") &&
              !strcmp(saved[2].appName, "Imported"),
          "the file holds the edit and the import (%d entries)", count);
    const SharedState* s = Shared();
    CHECK(s && TrainedCount(*s) == 3 && !strcmp(s->trainedEntries[0].appName, "Renamed") &&
              !strcmp(s->trainedEntries[2].appName, "Imported"),
          "the library reloaded them");
    QuitAndCheckCleanUp(m);
}

// The pages the stand-in browser was asked to open, one a line.
std::string OpenedPages() {
    return ReadFileText(DataFile("opened-pages.txt"));
}

// Help of the manager and of the library opens the page of its topic from the program's help
// folder with the program registered for HTML files: here this program, which writes the page
// down (see main).
void HelpPages() {
    PrepareFolders();
    char previous[128] = "";
    LONG size = sizeof previous;
    RegQueryValueA(HKEY_CLASSES_ROOT, ".html", previous, &size);
    std::string command = std::string("\"") + g_cwd + "\\vnmgrtest.exe\" record-page \"%1\"";
    CHECK(RegSetValueA(HKEY_CLASSES_ROOT, "VantorTest.HelpPage\\shell\\open\\command", REG_SZ,
                       command.c_str(), 0) == ERROR_SUCCESS &&
              RegSetValueA(HKEY_CLASSES_ROOT, ".html", REG_SZ, "VantorTest.HelpPage", 0) ==
                  ERROR_SUCCESS,
          "the stand-in browser is registered");
    Manager m = StartManager();
    ShowConfiguration(m);
    PostMessageA(GetDlgItem(m.window, kHelpButton), BM_CLICK, 0, 0);
    CHECK(
        WaitUntil([] { return OpenedPages().find("help\\topic-1025.html") != std::string::npos; }),
        "the Help button opens topic 1025: \"%s\"", OpenedPages().c_str());
    ShowLibraryHelp(nullptr, 1036); // the disabling dialog's Help
    CHECK(
        WaitUntil([] { return OpenedPages().find("help\\topic-1036.html") != std::string::npos; }),
        "the library opens topic 1036: \"%s\"", OpenedPages().c_str());
    RegSetValueA(HKEY_CLASSES_ROOT, ".html", REG_SZ, previous, 0);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "VantorTest.HelpPage");
    QuitAndCheckCleanUp(m);
}

// Helper process: the stand-in browser of HelpPages, which writes down the page it was given.
int RecordPage(const char* page) {
    FILE* f = fopen(DataFile("opened-pages.txt").c_str(), "a");
    if (!f)
        return 1;
    fprintf(f, "%s\n", page);
    fclose(f);
    return 0;
}

// Helper process: a dialog owned by a window of its own, until it is killed.
int OwnedDialog(const char* n) {
    HWND owner = CreateWindowExA(0, "STATIC", "vnmgr owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, nullptr, nullptr);
    std::string title = std::string("vnmgr owned dialog ") + n;
    CreateWindowExA(WS_EX_DLGMODALFRAME, "#32770", title.c_str(), WS_POPUP | WS_CAPTION, 50, 50,
                    200, 100, owner, nullptr, nullptr, nullptr);
    for (;;) {
        MSG msg;
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0)
            return 0;
        DispatchMessageA(&msg);
    }
}

// The entry a training has just saved reaches the user as training ends: the library saves the
// database and reports the entry's index, and the manager opens the editor at it, with the new
// entry in the list of trained applications.
void TrainedEntryShown() {
    PrepareFolders();
    TrainedEntry db[kTrainedSlots] = {Entry("Writer", "Save Text"), Entry("Painter", "Open")};
    CHECK(SaveTrainedDatabaseFile(DataFile("vantor.dat").c_str(), db, 2), "database written");
    Manager m = StartManager();
    db[2] = Entry("Trained Now", "Pick a File");
    CHECK(SaveTrainedDatabaseFile(DataFile("vantor.dat").c_str(), db, 3), "training saved");
    PostMessageA(m.window, MSG_SHOW_TRAINED_ENTRY, 2, 1);
    HWND editor = WaitForTitled("Trained Application Configuration");
    CHECK(editor != nullptr, "the editor opens");
    char name[64] = "";
    if (editor)
        GetDlgItemTextA(editor, IDC_TA_APP_NAME, name, sizeof name);
    CHECK(!strcmp(name, "Trained Now"), "at the new entry: \"%s\"", name);
    HWND list = nullptr;
    for (HWND page = FindWindowExA(m.window, nullptr, "#32770", nullptr); page && !list;
         page = FindWindowExA(m.window, page, "#32770", nullptr))
        list = GetDlgItem(page, 1014);
    CHECK(list && SendTo(list, LB_GETCOUNT, 0, 0) == 3 &&
              ListLine(list, 2) == "Trained Now : Pick a File",
          "the trained applications list it: \"%s\"", list ? ListLine(list, 2).c_str() : "");
    if (editor) {
        PostMessageA(editor, WM_COMMAND, IDCANCEL, 0);
        WaitUntil([&] { return !IsWindow(editor); });
    }
    QuitAndCheckCleanUp(m);
}

// Where no 32-bit part can run, the manager runs as ever and its configuration window says so,
// with no message box; where one can, the companion runs and nothing is said.
void CompanionNote() {
    PrepareFolders();
    std::string whyNot;
    bool runs32 = Runs32BitPrograms(&whyNot);
    printf("32-bit programs %s\n", runs32 ? "run here" : whyNot.c_str());
    Manager m = StartManager();
    HWND note = GetDlgItem(m.window, IDC_BITNESS_NOTE);
    auto noteShown = [&] { return (GetWindowLongA(note, GWL_STYLE) & WS_VISIBLE) != 0; };
    if (runs32) {
        CHECK(WaitUntil([&] { return OneCompanion() != 0; }), "the companion runs");
        PumpFor(kCompanionQuickEndMs + 1000); // past the time in which a failed start shows
        CHECK(OneCompanion() != 0 && !noteShown(), "it keeps running and nothing is said");
    } else {
        CHECK(WaitUntil(noteShown, kCompanionQuickEndMs * (kCompanionMaxQuickEnds + 1)),
              "the configuration window says that 32-bit programs go without");
        char text[512] = "";
        GetWindowTextA(note, text, sizeof text);
        CHECK(!strncmp(text, "32-bit programs are not extended: ", 34), "note: \"%s\"", text);
        CHECK(FindWindowOf(m.process.id, "#32770") == nullptr, "and no message box");
        CHECK(m.process.Running() && Shared() && Shared()->cbtHook != 0,
              "the manager runs with its own hook");
        ShowConfiguration(m);
        RECT box = {}, window = {};
        GetWindowRect(note, &box);
        GetClientRect(m.window, &window);
        MapWindowPoints(nullptr, m.window, reinterpret_cast<POINT*>(&box), 2);
        CHECK(IsWindowVisible(note) && box.left >= 0 && box.right <= window.right,
              "the note shows in the window");
    }
    QuitAndCheckCleanUp(m);
    CHECK(WaitUntil([&] { return CompanionProcesses().empty(); }), "no companion is left");
}

// The manager starts its companion, starts it again when it is killed, never runs two, and ends
// it when it quits.
void CompanionRestart() {
    PrepareFolders();
    std::string whyNot;
    bool runs32 = Runs32BitPrograms(&whyNot);
    if (!runs32)
        printf("%s: the companion's 64-bit build stands in for it\n", whyNot.c_str());
    CompanionStandIn standIn(!runs32);
    Manager m = StartManager();
    DWORD first = 0;
    CHECK(WaitUntil([&] { return (first = OneCompanion()) != 0; }), "the companion runs");
    if (runs32)
        CHECK(WaitUntil([&] { return Shared()->cbtHook32 != 0; }) &&
                  UnpackMark(Shared()->cbtHookOwner32).id == first,
              "and holds the 32-bit hook");

    HANDLE victim = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, first);
    CHECK(victim && TerminateProcess(victim, 9), "the companion is killed");
    if (victim) {
        WaitForSingleObject(victim, 5000);
        CloseHandle(victim);
    }
    DWORD second = 0;
    CHECK(WaitUntil([&] { return (second = OneCompanion()) != 0 && second != first; }),
          "the manager starts it again");
    if (runs32)
        CHECK(WaitUntil([&] { return UnpackMark(Shared()->cbtHookOwner32).id == second; }) &&
                  Shared()->cbtHook32 != 0,
              "and the new one holds the 32-bit hook");

    // The new process shows before it has made its mutex; a second copy started before that would
    // win the race and the manager's one would end instead.
    CHECK(WaitUntil([] {
              HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, kCompanionMutexName);
              if (mutex)
                  CloseHandle(mutex);
              return mutex != nullptr;
          }),
          "the new one holds the companion's mutex");
    Process extra = Start(std::string(kCompanionProgram) + " " + std::to_string(m.process.id));
    CHECK(WaitExit(extra) == kCompanionTwice, "a second companion ends at once");
    Kill(extra);
    CHECK(OneCompanion() == second, "one companion runs");

    QuitAndCheckCleanUp(m);
    CHECK(WaitUntil([&] { return CompanionProcesses().empty(); }), "quitting ends the companion");
    if (runs32)
        CHECK(Shared()->cbtHook32 == 0 && Shared()->cbtHookOwner32 == 0, "and takes its hook away");
}

// The sample's Open dialog in a program of each bitness: whether it was taken over, seen from
// its width (Width32 at 90 % of the screen), and what it returned.
struct BitnessRun {
    Process sample;
    HWND dialog = nullptr;
};

BitnessRun OpenSample(const char* program, const std::string& file) {
    BitnessRun r;
    r.sample = Start(std::string(program) + " open 4000 " + file); // no file: cancelled
    CHECK(WaitUntil([&] { return (r.dialog = FindWindowOf(r.sample.id, "#32770")) != nullptr; }),
          "%s shows its Open dialog", program);
    return r;
}

bool Widened(HWND dialog) {
    RECT rc = {};
    GetWindowRect(dialog, &rc);
    return abs((rc.right - rc.left) - GetSystemMetrics(SM_CXSCREEN) * 90 / 100) <= 2;
}

// Opens the dialog in a program of each bitness at once; neither may be taken over.
void CheckNeitherExtended(const char* what) {
    BitnessRun run64 = OpenSample("vnsample.exe", "");
    BitnessRun run32 = OpenSample("vnsample32.exe", "");
    PumpFor(1000);
    CHECK(run64.dialog && !Widened(run64.dialog) && run32.dialog && !Widened(run32.dialog), "%s",
          what);
    WaitExit(run64.sample);
    WaitExit(run32.sample);
    Kill(run64.sample);
    Kill(run32.sample);
}

// 64- and 32-bit applications at once: both dialogs taken over with the width applied in the
// configuration window, both choices recorded in the one list of all applications; the tray's
// switch reaches both; after quitting neither is extended.
void BothBitnesses() {
    Need32BitPrograms();
    PrepareFolders();
    WriteIni("Width32", "60");
    std::string file64 = DataFile("chosen64.txt"), file32 = DataFile("chosen32.txt");
    WriteFileText(file64, "64");
    WriteFileText(file32, "32");
    Manager m = StartManager();
    CHECK(WaitUntil([&] { return Shared()->cbtHook32 != 0; }), "the 32-bit hook is set");
    Configuration c = ShowConfiguration(m);
    NextTab(c);
    Type(c, 1, 103, "90");
    HWND apply = GetDlgItem(m.window, kApplyButton);
    PostMessageA(apply, BM_CLICK, 0, 0);
    CHECK(WaitUntil([&] { return !IsWindowEnabled(apply); }), "the width is applied");

    BitnessRun run64 = OpenSample("vnsample.exe", file64);
    BitnessRun run32 = OpenSample("vnsample32.exe", file32);
    PumpFor(1000);
    CHECK(run64.dialog && Widened(run64.dialog), "the 64-bit dialog is taken over");
    CHECK(run32.dialog && Widened(run32.dialog), "the 32-bit dialog is taken over");
    CHECK(WaitExit(run64.sample) == 0 && WaitExit(run32.sample) == 0, "both return a file");
    Kill(run64.sample);
    Kill(run32.sample);
    PumpFor(500);
    std::string all = ReadFileText(DataFile("ALLAPPS.vni"));
    CHECK(all.find("chosen64.txt") != std::string::npos &&
              all.find("chosen32.txt") != std::string::npos,
          "both are in the list of all applications");

    Command(m, ID_TRAY_ENABLE_COMMON);
    CHECK(WaitUntil([&] { return !IsCommonEnabled(); }), "common dialogs switched off");
    CheckNeitherExtended("the switch reaches both");
    Command(m, ID_TRAY_ENABLE_COMMON);
    CHECK(WaitUntil([&] { return IsCommonEnabled() != FALSE; }), "switched on again");

    QuitAndCheckCleanUp(m);
    CHECK(WaitUntil([&] { return CompanionProcesses().empty(); }) && Shared()->cbtHook32 == 0,
          "quitting ends the companion and its hook");
    CheckNeitherExtended("no dialog is extended after quitting");
}

// "Train New Dialog" opens the selection window in the manager; a second start says training
// runs already; Cancel ends training. A manager that ends during training leaves nothing that
// holds trained dialogs back: the next window created anywhere forgets it.
void TrainFromTray() {
    PrepareFolders();
    Manager m = StartManager();
    const SharedState* s = Shared();
    HWND selection = nullptr;
    auto opened = [&] {
        Command(m, kCmdTrainNew);
        return WaitUntil([&] { return (selection = FindWindowOf(m.process.id, "HookManWin")); });
    };
    CHECK(opened() && s && s->trainingWindowOpen, "the selection window opens and waits");
    Command(m, kCmdTrainNew);
    HWND box = nullptr;
    CHECK(WaitUntil([&] { return (box = FindWindowOf(m.process.id, "#32770")) != nullptr; }),
          "a second start is answered");
    CHECK(BoxText(box).find("Already training!") == 0, "with: %s", BoxText(box).c_str());
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    PostMessageA(selection, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    CHECK(WaitUntil([&] { return !IsWindow(selection) && !s->trainingWindowOpen; }),
          "Cancel ends training");

    CHECK(opened(), "training again");
    Kill(m.process);
    CHECK(s->trainingWindowOpen, "a manager that ends at once leaves its training marked");
    InstallCBTFilter32();
    Process sample = Start("vnsample.exe windows 1");
    CHECK(WaitExit(sample) == 0, "the sample creates a window");
    Kill(sample);
    CHECK(!s->trainingWindowOpen && !s->training.selectionWindow, "which forgets that training");
    RemoveCBTFilter32();
}

const Scenario kScenarios[] = {
    {"start-and-quit", StartAndQuit},
    {"switches-from-file", SwitchesFromFile},
    {"second-start", SecondStart},
    {"tray-clicks", TrayClicks},
    {"open-dialogs", OpenDialogs},
    {"sample-dialog", SampleDialog},
    {"close-refused", CloseRefused},
    {"serial", Serial},
    {"exclusions-at-once", ExclusionsAtOnce},
    {"taskbar-created", TaskbarCreated},
    {"missing-registry", MissingRegistry},
    {"install", Install},
    {"trained-editor", TrainedEditor},
    {"pages-apply", PagesApply},
    {"pages-cancel", PagesCancel},
    {"pages-width-reaches-dialogs", PagesWidthReachesDialogs},
    {"pages-unwritable-file", PagesUnwritableFile},
    {"out-of-range-values", OutOfRangeValues},
    {"apps-page", AppsPage},
    {"help-pages", HelpPages},
    {"trained-entry-shown", TrainedEntryShown},
    {"companion-note", CompanionNote},
    {"companion-restart", CompanionRestart},
    {"both-bitnesses", BothBitnesses},
    {"train-from-tray", TrainFromTray},
};

} // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc > 2 && !strcmp(argv[1], "owned-dialog"))
        return OwnedDialog(argv[2]);
    LocateFolders("vnmgr-data", {"vantor.ini", "vantor.dat", "*.vnt", "opened-pages.txt"});
    if (argc > 2 && !strcmp(argv[1], "record-page"))
        return RecordPage(argv[2]);
    const Scenario* sc = ChosenScenario("vnmgrtest", kScenarios, argc, argv);
    if (!sc)
        return 2;
    CreateTray();
    PumpFor(200);
    CHECK(FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr) == g_trayWindow,
          "this program is the notification area");
    sc->run();
    Hold(true, true, false);
    return CheckSummary(sc->name);
}
