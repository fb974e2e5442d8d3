// System test of the installer for Windows users, run in a Wine prefix of its own: a silent
// install, the program started from its Start menu shortcut extending an application's dialog,
// and a silent uninstall that stops the running program and leaves only the user's data folder.
//
//   vninstalltest install-uninstall INSTALLER   (INSTALLER: a Windows path or a Linux one)
//
// The program does not link the hook library: the only copy it may meet is the installed one.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include "tests/wine/wine_check.h"
#include "tests/wine/wine_support.h"

#include <string>

namespace {

const char kTitle[] = "Vantor    by Orvelle Software";
const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantor";

std::string g_installer;

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ShellFolder(int csidl) {
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

std::string UninstallValue(const char* name) {
    return RegistryValue(name, kUninstallKey);
}

// The program file of the process that owns window, or "".
std::string ProgramOf(HWND window) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    char path[MAX_PATH] = "";
    DWORD size = sizeof path;
    if (process) {
        if (!QueryFullProcessImageNameA(process, 0, path, &size))
            path[0] = 0;
        CloseHandle(process);
    }
    return path;
}

bool SamePath(const std::string& a, const std::string& b) {
    return _stricmp(a.c_str(), b.c_str()) == 0;
}

// Installs silently into a folder whose name has a blank, starts Vantor from the Start menu, lets
// it extend the sample's Open dialog, then uninstalls silently while it runs.
void InstallUninstall() {
    std::string folder = ShellFolder(CSIDL_PROFILE) + "\\My Tools\\Vantor";
    std::string data = ShellFolder(CSIDL_APPDATA) + "\\Vantor";
    std::string menu = ShellFolder(CSIDL_PROGRAMS) + "\\Vantor";
    std::string startup = ShellFolder(CSIDL_STARTUP) + "\\Vantor.lnk";

    Process setup = Start("\"" + g_installer + "\" /S /D=" + folder);
    CHECK(WaitExit(setup, 120000) == 0, "the silent install succeeds");
    Kill(setup);
    for (const char* file :
         {"vantor.exe", "vnhook.dll", "vantor32.exe", "vnhook32.dll", "uninstall.exe"})
        CHECK(Exists(folder + "\\" + file), "%s installed", file);
    CHECK(SamePath(RegistryValue("Program Path"), folder), "Program Path %s",
          RegistryValue("Program Path").c_str());
    CHECK(SamePath(RegistryValue("Data Path"), data), "Data Path %s",
          RegistryValue("Data Path").c_str());
    CHECK(Exists(data), "the data folder is created");
    CHECK(UninstallValue("DisplayName") == "Vantor", "listed among the programs");
    CHECK(UninstallValue("QuietUninstallString").find("uninstall.exe\" /S") != std::string::npos,
          "with a silent uninstall: %s", UninstallValue("QuietUninstallString").c_str());
    CHECK(Exists(menu + "\\Vantor.lnk") && Exists(startup), "the Start menu and Startup shortcuts");

    // Started the way the user starts it, the installed program runs and its hook extends the
    // dialog of an application that knows nothing of it.
    ShellExecuteA(nullptr, "open", (menu + "\\Vantor.lnk").c_str(), nullptr, nullptr, SW_SHOW);
    HWND manager = nullptr;
    CHECK(WaitUntil([&] { return (manager = FindWindowA("#32770", kTitle)) != nullptr; }, 30000),
          "Vantor runs from the Start menu");
    CHECK(manager && SamePath(ProgramOf(manager), folder + "\\vantor.exe"), "from %s",
          manager ? ProgramOf(manager).c_str() : "");
    Process sample = Start("vnsample.exe open 60000");
    HWND dialog = nullptr;
    CHECK(WaitUntil([&] {
              dialog = FindWindowA("#32770", "Open");
              return dialog && GetDlgItem(dialog, 19000) && GetDlgItem(dialog, 19008);
          }),
          "the sample's Open dialog is extended");
    if (dialog)
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    CHECK(WaitExit(sample) == 1, "the sample's dialog is cancelled");
    Kill(sample);
    CHECK(WaitUntil([&] { return Exists(data + "\\vantor.ini"); }), "the settings are written");

    // The uninstaller hands its work to a copy of itself and ends; the copy removes the folder
    // last.
    Process uninstall = Start("\"" + folder + "\\uninstall.exe\" /S");
    CHECK(WaitExit(uninstall, 60000) == 0, "the silent uninstall starts");
    Kill(uninstall);
    CHECK(WaitUntil([&] { return !Exists(folder); }, 90000), "the program folder is removed");
    CHECK(!FindWindowA("#32770", kTitle), "Vantor was stopped");
    for (const char* file :
         {"vantor.exe", "vnhook.dll", "vantor32.exe", "vnhook32.dll", "uninstall.exe"})
        CHECK(!Exists(folder + "\\" + file), "%s removed", file);
    CHECK(RegistryValue("Program Path") == "<none>" && RegistryValue("Data Path") == "<none>",
          "the registry values are removed");
    CHECK(UninstallValue("DisplayName") == "<none>", "no longer listed");
    CHECK(!Exists(menu) && !Exists(startup), "the shortcuts are removed");
    CHECK(Exists(data + "\\vantor.ini"), "the user's data folder stays");
}

} // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc < 3 || strcmp(argv[1], "install-uninstall") != 0) {
        printf("usage: vninstalltest install-uninstall INSTALLER\n");
        return 2;
    }
    g_installer = argv[2];
    if (g_installer[0] == '/') { // a Linux path: Wine shows the whole file system as drive Z:
        g_installer = "Z:" + g_installer;
        for (char& c : g_installer)
            c = c == '/' ? '\\' : c;
    }
    InstallUninstall();
    return CheckSummary("install-uninstall");
}
