// The harness the Windows-side test programs share: starting processes and waiting for them while
// this thread goes on answering messages, programs of the Linux side, the registry values and the
// data folder an installation leaves, the settings and list files in it, and the scenario named on
// the command line.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>

// --- messages and processes ------------------------------------------------------------------

// Answers every message waiting for this thread.
void Pump();

// Answers messages until done() holds or ms have passed; whether done() held. Other processes
// send to our windows while we wait, so waiting never stops answering them.
bool WaitUntil(const std::function<bool()>& done, DWORD ms = 15000);

// Answers messages for ms: what other processes post arrives a little after the fact.
void PumpFor(DWORD ms);

// A process this program started.
struct Process {
    HANDLE handle = nullptr; // null when it did not start
    DWORD id = 0;
    bool Running() const { return handle && WaitForSingleObject(handle, 0) == WAIT_TIMEOUT; }
};

// Starts a command line with folder as its current directory (null: ours). When it does not
// start, the reason is printed and GetLastError() still tells it.
Process Start(const std::string& commandLine, const char* folder = nullptr);

// Waits up to ms for the process to end; its exit status, or -1 when it did not start or still
// runs. With answerMessages false this thread answers nothing meanwhile, as if it hung.
int WaitExit(const Process& p, DWORD ms = 20000, bool answerMessages = true);

// Ends the process if it still runs and lets go of it.
void Kill(Process& p);

// Prints what a process that should have ended is doing: its top-level windows and the first
// frames of each thread's stack (through winedbg). A test that gives up on a process calls it
// before killing it, so that a hang seen once on another machine can be told apart from a slow
// run.
void DescribeStuck(const Process& p, const char* what);

// Runs a program of the Linux side (xdotool, import); false when it did not start (printed, and
// GetLastError() tells why). Wine starts such a program without a process to wait for, so the
// caller waits for what the program does rather than for the program.
bool RunUnix(const std::string& commandLine);

// Whether this machine runs 32-bit Windows programs, found by starting the 32-bit build of the
// sample application; when it does not, why goes into whyNot.
bool Runs32BitPrograms(std::string* whyNot);

// Ends the scenario as skipped, saying why, unless this machine runs 32-bit programs.
void Need32BitPrograms();

// --- the installation: registry and data folder ----------------------------------------------

// Names the program folder and the data folder in the user's registry, as "/install" does.
void SetRegistryFolders(const char* program, const char* data);

// Removes those registry values: Vantor was never installed for this user.
void DeleteRegistryFolders();

// A value of the registry key (or of another key of the user's), or "<none>".
std::string RegistryValue(const char* name, const char* key = nullptr);

// The current directory, where the programs are, and this test program's data folder in it; both
// set by LocateFolders.
extern char g_cwd[MAX_PATH];
extern char g_data[MAX_PATH];

// Names the folders for this run: g_cwd and g_data, the folder dataName in it. Each test program
// has a data folder of its own, so nothing one leaves behind reaches another's scenarios. stale
// are the names (wildcards allowed) of what a fresh installation does not have yet.
void LocateFolders(const char* dataName, std::initializer_list<const char*> stale = {});

// A fresh installation: the data folder exists without what LocateFolders called stale (files,
// and empty folders where a file belongs), and the registry names both folders.
void PrepareFolders();

// A file in the data folder.
std::string DataFile(const std::string& name);

// The recent and favourite lists of a module: its file in the data folder.
std::string ListFile(const std::string& module);

// --- profile files -----------------------------------------------------------------------------

// key of section in a profile (.ini) file, or "<none>".
std::string Profile(const std::string& file, const std::string& section, const std::string& key);

// key of the settings, read from the data folder's vantor.ini or from file; "<none>" if missing.
std::string ReadIni(const char* key, const std::string& file = "");

// Writes key of the settings in the data folder's vantor.ini; a null value deletes it.
void WriteIni(const char* key, const char* value);

// --- files -------------------------------------------------------------------------------------

// The whole content of a file, or "" when it cannot be read; it may be any bytes.
std::string ReadFileText(const std::string& path);

// Replaces a file with content (bytes, "" for an empty file).
void WriteFileText(const std::string& path, const std::string& content);

// The size of a file, 0 when it does not exist.
DWORD FileSize(const std::string& path);

// A screenshot of the whole X display, written next to the programs as name (a PNG); a check
// fails when it cannot be taken.
void Screenshot(const char* name);

// --- scenarios ---------------------------------------------------------------------------------

// One scenario of a test program: the name that chooses it on the command line, and its body.
struct Scenario {
    const char* name;
    void (*run)();
};

// The scenario that argv[1] names, or null after saying why (no name, or an unknown one); the
// program then ends with status 2.
template <size_t N>
const Scenario* ChosenScenario(const char* program, const Scenario (&scenarios)[N], int argc,
                               char** argv) {
    if (argc < 2) {
        printf("usage: %s scenario\n", program);
        return nullptr;
    }
    for (const Scenario& sc : scenarios)
        if (!strcmp(sc.name, argv[1]))
            return &sc;
    printf("unknown scenario %s\n", argv[1]);
    return nullptr;
}
