#include "tests/wine/wine_support.h"
#include "tests/wine/wine_check.h"

#include <cctype>
#include <vector>

char g_cwd[MAX_PATH];
char g_data[MAX_PATH];

namespace {

// Spelled out here rather than taken from the library, so that a changed key fails the tests.
const char kRegistryKey[] = "Software\\Orvelle Software\\Vantor";
const char kSettingsSection[] = "Vantor 3";

std::vector<std::string> g_stale; // what PrepareFolders clears, as LocateFolders was told

// CreateProcessA for Start and RunUnix; prints why a program did not start, keeping the error.
bool CreateProcessFor(const std::string& commandLine, const char* folder, PROCESS_INFORMATION& pi) {
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    pi = {};
    if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &si, &pi))
        return true;
    DWORD error = GetLastError();
    printf("cannot start %s (%lu)\n", commandLine.c_str(), error);
    SetLastError(error);
    return false;
}

} // namespace

// --- messages and processes ------------------------------------------------------------------

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool WaitUntil(const std::function<bool()>& done, DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        Pump();
        if (done())
            return true;
        if (GetTickCount() - start > ms)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms) {
    WaitUntil([] { return false; }, ms);
}

Process Start(const std::string& commandLine, const char* folder) {
    PROCESS_INFORMATION pi;
    Process p;
    if (!CreateProcessFor(commandLine, folder, pi))
        return p;
    CloseHandle(pi.hThread);
    p.handle = pi.hProcess;
    p.id = pi.dwProcessId;
    return p;
}

int WaitExit(const Process& p, DWORD ms, bool answerMessages) {
    if (!p.handle)
        return -1;
    bool ended = answerMessages ? WaitUntil([&] { return !p.Running(); }, ms)
                                : WaitForSingleObject(p.handle, ms) == WAIT_OBJECT_0;
    if (!ended)
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    GetExitCodeProcess(p.handle, &code);
    return static_cast<int>(code);
}

namespace {

BOOL CALLBACK PrintWindowOf(HWND window, LPARAM pid) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != static_cast<DWORD>(pid))
        return TRUE;
    char cls[64] = "", title[128] = "";
    GetClassNameA(window, cls, sizeof cls);
    GetWindowTextA(window, title, sizeof title);
    printf("  window %p %s \"%s\" %s\n", static_cast<void*>(window), cls, title,
           IsWindowVisible(window) ? "visible" : "hidden");
    return TRUE;
}

} // namespace

void DescribeStuck(const Process& p, const char* what) {
    if (!p.Running())
        return;
    printf("%s (process %lu) still runs; its windows:\n", what, p.id);
    EnumWindows(PrintWindowOf, static_cast<LPARAM>(p.id));
    char temp[MAX_PATH], out[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    snprintf(out, sizeof out, "%svn-stuck-%lu.txt", temp, p.id);
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE file = CreateFileA(out, GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    char line[128];
    snprintf(line, sizeof line, "winedbg --command \"bt all\" 0x%lx", p.id);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = file;
    PROCESS_INFORMATION pi = {};
    if (CreateProcessA(nullptr, line, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        WaitForSingleObject(pi.hProcess, 30000);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(file);
    // winedbg walks every process of the prefix; only this one's threads are printed, and of
    // each only the innermost frames, which tell where it is (the rest repeats).
    char ours[32];
    snprintf(ours, sizeof ours, " in process %04lx ", p.id);
    std::string text = ReadFileText(out);
    bool keep = false;
    int frame = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        std::string l = text.substr(start, end == std::string::npos ? end : end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        if (!l.compare(0, 21, "Backtracing for threa"))
            keep = l.find(ours) != std::string::npos;
        bool isFrame = l.size() > 3 && (l[0] == '=' || (l[0] == ' ' && isdigit(l[2]) != 0));
        frame = isFrame ? frame + 1 : 0;
        if (keep && frame <= 14)
            printf("  %.150s\n", l.c_str());
    }
    DeleteFileA(out);
}

void Kill(Process& p) {
    if (p.Running()) {
        TerminateProcess(p.handle, 99);
        WaitForSingleObject(p.handle, 5000);
    }
    if (p.handle)
        CloseHandle(p.handle);
    p.handle = nullptr;
}

bool Runs32BitPrograms(std::string* whyNot) {
    Process probe = Start("vnsample32.exe bitness");
    if (!probe.handle) {
        *whyNot = "this machine cannot start 32-bit programs (error " +
                  std::to_string(GetLastError()) + ")";
        return false;
    }
    int status = WaitExit(probe, 30000);
    Kill(probe);
    if (status == 32)
        return true;
    char text[96];
    snprintf(text, sizeof text, "a 32-bit program does not run here (it ended with 0x%08X)",
             static_cast<unsigned>(status));
    *whyNot = text;
    return false;
}

void Need32BitPrograms() {
    std::string whyNot;
    if (!Runs32BitPrograms(&whyNot))
        SkipScenario(whyNot.c_str());
}

bool RunUnix(const std::string& commandLine) {
    PROCESS_INFORMATION pi;
    if (!CreateProcessFor(commandLine, nullptr, pi))
        return false;
    // Where the system does give a process, it is waited for.
    if (pi.hProcess) {
        WaitForSingleObject(pi.hProcess, 10000);
        CloseHandle(pi.hProcess);
    }
    if (pi.hThread)
        CloseHandle(pi.hThread);
    return true;
}

// --- the installation: registry and data folder ----------------------------------------------

void SetRegistryFolders(const char* program, const char* data) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kRegistryKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, "Program Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(program),
                   static_cast<DWORD>(strlen(program) + 1));
    RegSetValueExA(key, "Data Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                   static_cast<DWORD>(strlen(data) + 1));
    RegCloseKey(key);
}

void DeleteRegistryFolders() {
    RegDeleteKeyA(HKEY_CURRENT_USER, kRegistryKey);
}

std::string RegistryValue(const char* name, const char* key) {
    char buf[MAX_PATH] = "";
    DWORD size = sizeof buf;
    if (RegGetValueA(HKEY_CURRENT_USER, key ? key : kRegistryKey, name, RRF_RT_REG_SZ, nullptr, buf,
                     &size) != ERROR_SUCCESS)
        return "<none>";
    return buf;
}

void LocateFolders(const char* dataName, std::initializer_list<const char*> stale) {
    GetCurrentDirectoryA(sizeof g_cwd, g_cwd);
    snprintf(g_data, sizeof g_data, "%s\\%s", g_cwd, dataName);
    g_stale.assign(stale.begin(), stale.end());
}

void PrepareFolders() {
    CreateDirectoryA(g_data, nullptr);
    for (const std::string& pattern : g_stale) {
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA(DataFile(pattern).c_str(), &found);
        if (find == INVALID_HANDLE_VALUE)
            continue;
        do {
            std::string path = DataFile(found.cFileName);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryA(path.c_str());
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    SetRegistryFolders(g_cwd, g_data);
}

std::string DataFile(const std::string& name) {
    return std::string(g_data) + "\\" + name;
}

std::string ListFile(const std::string& module) {
    return DataFile(module + ".vni");
}

// --- profile files -----------------------------------------------------------------------------

std::string Profile(const std::string& file, const std::string& section, const std::string& key) {
    // The profile functions may go on trusting the copy of the file they read before another
    // process's last write (its time can stay the same over quick writes): forget it first.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, file.c_str());
    char buf[1024];
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "<none>", buf, sizeof buf, file.c_str());
    return buf;
}

std::string ReadIni(const char* key, const std::string& file) {
    return Profile(file.empty() ? DataFile("vantor.ini") : file, kSettingsSection, key);
}

void WriteIni(const char* key, const char* value) {
    WritePrivateProfileStringA(kSettingsSection, key, value, DataFile("vantor.ini").c_str());
}

// --- files -------------------------------------------------------------------------------------

std::string ReadFileText(const std::string& path) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return "";
    std::string text;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got)
        text.append(buf, got);
    CloseHandle(f);
    return text;
}

void WriteFileText(const std::string& path, const std::string& content) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(f, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(f);
}

DWORD FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
}

// The screenshot goes next to the programs, under its Unix name (Wine's drive Z: is the root).
void Screenshot(const char* name) {
    char cwd[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof cwd, cwd);
    std::string path = name;
    if ((cwd[0] == 'Z' || cwd[0] == 'z') && cwd[1] == ':') {
        path = std::string(cwd + 2) + "\\" + name;
        for (char& c : path)
            c = c == '\\' ? '/' : c;
    }
    DeleteFileA(name);
    std::string cmd = "/usr/bin/import -window root " + path;
    if (!RunUnix(cmd)) {
        CHECK(false, "cannot start %s (%lu)", cmd.c_str(), GetLastError());
        return;
    }
    // Wine does not wait for a Linux program: wait for its file to appear and stop growing.
    DWORD size = 0, last = 0;
    for (int i = 0; i < 200; ++i) {
        Sleep(100);
        last = size;
        size = FileSize(name);
        if (size > 0 && size == last)
            break;
    }
    CHECK(size > 0 && size == last, "screenshot %s written (%lu bytes)", name, size);
    printf("screenshot: %s\n", path.c_str());
}
