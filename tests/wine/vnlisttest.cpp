// System tests of the recent and favourite lists: real list files written and read through the
// profile functions, migration from the older files, hostile files, and several processes
// changing the same lists at once. One scenario per run; the worker modes are started by the
// scenarios themselves:
//
//   vnlisttest SCENARIO          (see the table at the end)
//
// The editor scenario opens Edit Recent from the library's own templates, which this program
// carries as its own resources, and works it from a timer of the same thread through its buttons.
//   vnlisttest worker N          record 12 files when the start event fires
//   vnlisttest hold MS [die]     take the lists lock, keep it MS ms, then release it or exit
//                                holding it (with the shared lists half-changed)
#include <windows.h>

#include "hook/core/messages.h"
#include "hook/core/process_win.h"
#include "hook/core/shared_state_win.h"
#include "hook/core/text.h"
#include "hook/takeover/vnhook_api.h"
#include "hook/lists/list_editors_win.h"
#include "hook/lists/list_files_win.h"
#include "hook/resources/resource.h"
#include "tests/wine/wine_check.h"
#include "tests/wine/wine_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace vn;

namespace {

const char kApp[] = "vnlistapp";
const char kReadyName[] = "Local\\VnListTestReady";
const char kGoName[] = "Local\\VnListTestGo";
constexpr int kWorkers = 8;
constexpr int kFilesPerWorker = 12;

std::string AppFile() {
    return ListFile(kApp);
}

std::string WindowsFile(const char* name) {
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    return std::string(windows) + "\\" + name;
}

// A fresh data folder of our own, named in the registry, and no older lists in the Windows
// folder; the paths are built as the manager builds them, by installing the hook.
void PrepareListFolders() {
    PrepareFolders();
    DeleteFileA(WindowsFile("kestra.ini").c_str());
    DeleteFileA(WindowsFile("vantor.ini").c_str());
    SetupHookDLL(nullptr);
}

// A list file as its lines say: sections in order, each with its keys in order. parsed is false
// when a line is neither a section, a key or empty, or a section or key appears twice.
struct ParsedFile {
    bool parsed = true;
    std::vector<std::string> sections;
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> keys;
    std::vector<std::string> KeyNames(const std::string& section) const {
        std::vector<std::string> names;
        auto it = keys.find(section);
        if (it != keys.end())
            for (auto& k : it->second)
                names.push_back(k.first);
        return names;
    }
};

ParsedFile Parse(const std::string& text) {
    ParsedFile f;
    std::string current;
    std::set<std::string> seenKeys;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        std::string line = text.substr(pos, end == std::string::npos ? end : end - pos);
        pos = end == std::string::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        if (line[0] == '[' && line.back() == ']') {
            current = line.substr(1, line.size() - 2);
            if (f.keys.count(current))
                f.parsed = false;
            f.sections.push_back(current);
            f.keys[current];
            seenKeys.clear();
            continue;
        }
        size_t eq = line.find('=');
        if (eq == std::string::npos || current.empty() ||
            !seenKeys.insert(line.substr(0, eq)).second)
            f.parsed = false;
        else
            f.keys[current].push_back({line.substr(0, eq), line.substr(eq + 1)});
    }
    return f;
}

std::string Entry(int n) {
    return "Entry" + std::to_string(n);
}

// The entries of a recent section at positions 1 to Last, as the file holds them; empty when
// "Last" and the keys disagree (a hole before Last, or a key after it).
std::vector<std::string> RecentSection(const std::string& file, const std::string& section) {
    int last = static_cast<int>(GetPrivateProfileIntA(section.c_str(), "Last", 0, file.c_str()));
    std::vector<std::string> entries;
    for (int n = 1; n <= 100; ++n) {
        std::string e = Profile(file, section, Entry(n));
        if ((n <= last) != (e != "<none>")) {
            printf("  %s: position %d against Last %d\n", section.c_str(), n, last);
            return {};
        }
        if (n <= last)
            entries.push_back(e);
    }
    return entries;
}

std::string MemoryEntry(ListEntries* list, int position) {
    const char* e = list ? ListEntryText(*list, position) : nullptr;
    return e ? std::string(e, BoundedLength(e, kListEntrySize)) : "<empty>";
}

// Starts this program again with args: a worker or a holder of the lock.
Process Spawn(const std::string& args) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    return Start("\"" + std::string(self) + "\" " + args);
}

// --- worker modes ---------------------------------------------------------------------------

std::string WorkerFile(int worker, int k) {
    return std::string(g_data) + "\\w" + std::to_string(worker) + "\\file" + std::to_string(k) +
           ".txt";
}

int Worker(int id) {
    // Each worker's copy is loaded before any of them records, so every copy is stale as soon as
    // another worker has written.
    LoadAppLists(kApp);
    LoadAllAppsLists();
    HANDLE ready = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, kReadyName);
    HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, kGoName);
    if (!ready || !go)
        return 3;
    ReleaseSemaphore(ready, 1, nullptr);
    if (WaitForSingleObject(go, 60000) != WAIT_OBJECT_0)
        return 4;
    DWORD slowest = 0;
    for (int k = 0; k < kFilesPerWorker; ++k) {
        DWORD start = GetTickCount();
        RecordChosenFile(kApp, WorkerFile(id, k).c_str());
        slowest = std::max(slowest, GetTickCount() - start);
    }
    printf("worker %d: slowest record %lu ms\n", id, slowest);
    return 0;
}

constexpr int kClosers = 16;
constexpr int kClosesPerCloser = 25;

std::string CloserModule(int id) {
    return "vnclose" + std::to_string(id);
}

// A dialog's close as the library records it, 25 times as fast as it can: each result that is
// not a write now is counted, and the exit status is how many were lost.
int Closer(int id) {
    HANDLE ready = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, kReadyName);
    HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, kGoName);
    if (!ready || !go)
        return 100;
    ReleaseSemaphore(ready, 1, nullptr);
    if (WaitForSingleObject(go, 60000) != WAIT_OBJECT_0)
        return 100;
    DWORD slowest = 0;
    int counts[5] = {};
    for (int k = 0; k < kClosesPerCloser; ++k) {
        DialogRecording r = {};
        r.magic = kRecordingMagic;
        r.flags = kRecordFileType | kRecordChosen;
        CopyText(r.module, sizeof r.module, CloserModule(id).c_str());
        CopyText(r.title, sizeof r.title, "Open");
        CopyText(r.fileType, sizeof r.fileType, "Text (*.txt)");
        CopyText(r.path, sizeof r.path, WorkerFile(id, k).c_str());
        DWORD start = GetTickCount();
        counts[static_cast<int>(RecordDialogClose(r))]++;
        slowest = std::max(slowest, GetTickCount() - start);
    }
    printf("closer %d: slowest close %lu ms; written %d, handed to the manager %d, later %d, "
           "lost %d\n",
           id, slowest, counts[0] + counts[1], counts[2], counts[3], counts[4]);
    return counts[4];
}

int Hold(DWORD ms, bool die) {
    ListLock lock(kListLockStallMs);
    if (!lock.Held())
        return 5;
    SharedState* s = Shared();
    if (die && s) {
        // A change cut short: the count moved, the entries are garbage without terminators.
        s->lists.allRecentFilesLast = 55;
        memset(s->lists.allRecentFiles, 'g', sizeof s->lists.allRecentFiles);
    }
    HANDLE ready = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, kReadyName);
    if (ready)
        ReleaseSemaphore(ready, 1, nullptr);
    Sleep(ms);
    if (die)
        ExitProcess(0); // the lock is never released
    return 0;
}

// --- scenarios ------------------------------------------------------------------------------

void FilesRoundTrip() {
    PrepareListFolders();
    std::string docs = DataFile("Docs"), notes = DataFile("Notes");
    CreateDirectoryA(docs.c_str(), nullptr);
    CreateDirectoryA(notes.c_str(), nullptr);
    LoadAppLists(kApp);
    LoadAllAppsLists();
    for (const std::string& p : {docs + "\\old.txt", docs + "\\plan.txt", notes + "\\memo.txt"})
        RecordChosenFile(kApp, p.c_str());
    CHECK(AddFavorite(kApp, (docs + "\\plan.txt").c_str(), false), "favourite file");
    CHECK(AddFavoriteFromDialog(kApp, (docs + "\\*.log").c_str(), false), "favourite mask");
    CHECK(!AddFavoriteFromDialog(kApp, (docs + "\\*.log").c_str(), true), "mask with folder");
    WriteOpenToFirstFavorite(kApp, 0);
    SaveLastFileType(kApp, "Open", "Text Documents (*.txt)");
    SaveLastFileType(kApp, "", "All files (*.*)");

    ParsedFile f = Parse(ReadFileText(AppFile()));
    CHECK(f.parsed, "the list file parses");
    using V = std::vector<std::string>;
    std::string recent = std::string(kApp) + " Recent Files";
    CHECK(f.KeyNames(recent) == (V{"Last", "Entry1", "Sequence", "Entry2", "Entry3"}),
          "keys of the recent files in the order written");
    CHECK(f.KeyNames(std::string(kApp) + " Favorite Files") ==
              (V{"Last", "Entry1", "Sequence", "Entry2"}),
          "keys of the favourite files");
    CHECK(Profile(AppFile(), recent, "Entry3") == notes + "\\memo.txt", "newest entry");
    CHECK(Profile(AppFile(), recent, "Sequence") == "3", "sequence 3");
    CHECK(Profile(AppFile(), std::string(kApp) + " Recent Paths", "Last") == "2", "two folders");
    CHECK(Profile(AppFile(), std::string(kApp) + " Favorite Files", "Entry2") == "*.log",
          "the mask without its folder");
    CHECK(Profile(AppFile(), std::string(kApp) + " Favorite Paths", "OpenToFirstFavoriteFolder") ==
              "0",
          "the switch");
    CHECK(Profile(AppFile(), "Last File Types", "Open") == "Text Documents (*.txt)" &&
              Profile(AppFile(), "Last File Types", "Default") == "All files (*.*)",
          "last file types");

    ParsedFile all = Parse(ReadFileText(DataFile("ALLAPPS.vni")));
    CHECK(all.parsed, "ALLAPPS.vni parses");
    CHECK(all.KeyNames("All Files") == (V{"Last", "Entry1", "Entry2", "Entry3"}),
          "the all-applications files, without Sequence");
    CHECK(all.KeyNames("All Paths") == (V{"Last", "Entry1", "Entry2"}), "all folders");

    // A process that starts now reads the same lists back.
    ReleaseAppLists(nullptr);
    CHECK(ListOf(kApp, false, false) == nullptr, "released");
    LoadAppLists(kApp);
    ListEntries* files = ListOf(kApp, false, false);
    CHECK(ListLast(kApp, false, false) == 3 && MemoryEntry(files, 1) == docs + "\\old.txt",
          "read back: %d %s", ListLast(kApp, false, false), MemoryEntry(files, 1).c_str());
    char folder[MAX_PATH] = "";
    CHECK(LastUsedFolder(kApp, folder, sizeof folder) && notes == folder, "last folder %s", folder);
    RemoveDirectoryA(notes.c_str());
    CHECK(LastUsedFolder(kApp, folder, sizeof folder) && docs == folder,
          "a folder that is gone is passed over: %s", folder);
    char type[MAX_PATH] = "";
    CHECK(LoadLastFileType(kApp, "Open", type, sizeof type) &&
              !strcmp(type, "Text Documents (*.txt)"),
          "file type %s", type);
    CHECK(!LoadLastFileType(kApp, "Print", type, sizeof type) && !type[0], "no type remembered");
    WriteOpenToFirstFavorite(kApp, 1);
    CHECK(ReadOpenToFirstFavorite(kApp) == 1, "switch on");
    CHECK(AddFolderFavorite(kApp, docs.c_str()), "favourite folder");
    CHECK(FirstFavoriteFolder(kApp, folder, sizeof folder) && docs + "\\" == folder,
          "first favourite folder %s", folder);

    // The editors' OK replaces a list in place.
    const char* rows[] = {"C:\\r3.txt", "C:\\r1.txt"};
    CHECK(ReplaceList(kApp, false, false, rows, 2), "replaced");
    CHECK(RecentSection(AppFile(), recent) == (V{"C:\\r1.txt", "C:\\r3.txt"}), "first row newest");
    CHECK(Profile(AppFile(), recent, "Sequence") != "<none>", "the change is counted");
    CleanUpHookDLL();
}

void Migrate() {
    PrepareListFolders();
    // The application's own old ring of 25 has wrapped: newest at 4.
    std::string app = AppFile();
    std::string old = std::string(kApp) + " Files";
    WritePrivateProfileStringA(old.c_str(), "Last", "4", app.c_str());
    for (int n = 1; n <= 25; ++n)
        WritePrivateProfileStringA(old.c_str(), Entry(n).c_str(),
                                   ("C:\\old\\f" + std::to_string(n) + ".txt").c_str(),
                                   app.c_str());
    // Another application's lists live only in an older data folder named by the Windows
    // folder's vantor.ini.
    std::string olderFolder = std::string(g_cwd) + "\\vnlist-old";
    CreateDirectoryA(olderFolder.c_str(), nullptr);
    std::string older = olderFolder + "\\vnlistold.vni";
    DeleteFileA(older.c_str());
    WritePrivateProfileStringA("Vantor", "Data Path", olderFolder.c_str(),
                               WindowsFile("vantor.ini").c_str());
    WritePrivateProfileStringA("vnlistold Files", "Last", "2", older.c_str());
    WritePrivateProfileStringA("vnlistold Files", "Entry1", "C:\\o\\1.txt", older.c_str());
    WritePrivateProfileStringA("vnlistold Files", "Entry2", "C:\\o\\2.txt", older.c_str());
    WritePrivateProfileStringA("vnlistold Favorite Paths", "Last", "1", older.c_str());
    WritePrivateProfileStringA("vnlistold Favorite Paths", "Entry1", "C:\\o\\", older.c_str());
    // And the all-applications lists in kestra.ini.
    std::string kestra = WindowsFile("kestra.ini");
    WritePrivateProfileStringA("All Files", "Last", "1", kestra.c_str());
    WritePrivateProfileStringA("All Files", "Entry1", "C:\\k\\1.txt", kestra.c_str());

    LoadAppLists(kApp);
    LoadAppLists("vnlistold");
    LoadAllAppsLists();
    std::vector<std::string> entries = RecentSection(app, std::string(kApp) + " Recent Files");
    CHECK(entries.size() == 25 && entries.front() == "C:\\old\\f5.txt" &&
              entries.back() == "C:\\old\\f4.txt",
          "the wrapped ring oldest first (%zu)", entries.size());
    CHECK(Profile(app, old, "Last") == "4", "the old section stays");
    CHECK(ListLast(kApp, false, false) == 25 &&
              MemoryEntry(ListOf(kApp, false, false), 25) == "C:\\old\\f4.txt",
          "and is in memory");
    std::string mine = DataFile("vnlistold.vni");
    CHECK(Profile(mine, "vnlistold Recent Files", "Entry2") == "C:\\o\\2.txt",
          "recent files from the older data folder");
    CHECK(Profile(mine, "vnlistold Favorite Paths", "Entry1") == "C:\\o\\",
          "favourite folders from there too");
    CHECK(MemoryEntry(ListOf("vnlistold", true, true), 1) == "C:\\o\\", "in memory");
    CHECK(Profile(DataFile("ALLAPPS.vni"), "All Files", "Entry1") == "C:\\k\\1.txt" &&
              MemoryEntry(ListOf(nullptr, false, false), 1) == "C:\\k\\1.txt",
          "all applications from kestra.ini");
    DeleteFileA(kestra.c_str());
    DeleteFileA(WindowsFile("vantor.ini").c_str());
    DeleteFileA(older.c_str());
    RemoveDirectoryA(olderFolder.c_str());
    CleanUpHookDLL();
}

void BadInput() {
    PrepareListFolders();
    std::string app = AppFile();
    std::string text = "[vnlistapp Recent Files]\r\nLast=150\r\nEntry1=C:\\" +
                       std::string(400, 'x') +
                       "\r\nEntry3=C:\\three.txt\r\n"
                       "[vnlistapp Favorite Files]\r\nLast=9\r\nEntry1=C:\\f1.txt\r\n"
                       "Entry2=C:\\f2.txt\r\nEntry4=C:\\f4.txt\r\n"
                       "[vnlistapp Recent Paths]\r\nLast=-7\r\nEntry2=C:\\p\\\r\n"
                       "[vnlistapp Favorite Paths]\r\nLast=0\r\nEntry1=C:\\kept\\\r\n"
                       "garbage line without equals\r\n\x01\x02\xff=\xfe\r\n";
    WriteFileText(app, text);
    LoadAppLists(kApp);
    LoadAllAppsLists();
    CHECK(ListLast(kApp, false, false) == 0, "Last 150 names no position");
    CHECK(MemoryEntry(ListOf(kApp, false, false), 1).size() == 260, "long entry cut");
    CHECK(ListLast(kApp, true, false) == 2 && ListLast(kApp, true, true) == 1,
          "favourites end at the hole, whatever their Last says");
    RecordChosenFile(kApp, "C:\\new.txt");
    CHECK(Profile(app, std::string(kApp) + " Recent Files", "Last") == "1", "the ring restarts");

    // A hostile dialog title cannot add lines to the file.
    SaveLastFileType(kApp, "Open\r\n[vnlistapp Recent Files]\r\nLast", "x\r\nLast=99");
    CHECK(Parse(ReadFileText(app)).sections.size() == 5, "no section was forged");
    CHECK(Profile(app, std::string(kApp) + " Recent Files", "Last") == "1", "Last kept");

    // A list file that cannot be read (a folder of that name) reads as empty lists and takes no
    // write; nothing fails.
    CreateDirectoryA(DataFile("vnlistdir.vni").c_str(), nullptr);
    LoadAppLists("vnlistdir");
    RecordChosenFile("vnlistdir", "C:\\d.txt");
    CHECK(ListOf("vnlistdir", false, false) && ListLast("vnlistdir", true, false) == 0,
          "a slot with empty lists");
    CHECK(!AddFavoriteFromDialog("vnlistdir", "", false), "empty text refused");
    // Downloaded installers are often named like setup[1].exe: their sections carry brackets.
    LoadAppLists("setup[1]");
    RecordChosenFile("setup[1]", "C:\\s.txt");
    ReleaseAppLists("setup[1]");
    LoadAppLists("setup[1]");
    CHECK(MemoryEntry(ListOf("setup[1]", false, false), 1) == "C:\\s.txt",
          "a module name with brackets reads back: %s",
          MemoryEntry(ListOf("setup[1]", false, false), 1).c_str());
    // Module names that would leave the data folder get no lists.
    LoadAppLists("..\\escape");
    CHECK(ListOf("..\\escape", false, false) == nullptr, "no slot for a path");
    CleanUpHookDLL();
}

void Concurrent() {
    PrepareListFolders();
    HANDLE ready = CreateSemaphoreA(nullptr, 0, kWorkers, kReadyName);
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, kGoName);
    std::vector<Process> workers;
    for (int i = 0; i < kWorkers; ++i) {
        CreateDirectoryA((std::string(g_data) + "\\w" + std::to_string(i)).c_str(), nullptr);
        Process p = Spawn("worker " + std::to_string(i));
        CHECK(p.handle != nullptr, "worker %d started", i);
        if (p.handle)
            workers.push_back(p);
    }
    int readyCount = 0;
    for (size_t i = 0; i < workers.size(); ++i)
        readyCount += WaitForSingleObject(ready, 60000) == WAIT_OBJECT_0;
    CHECK(readyCount == kWorkers, "%d workers ready", readyCount);
    DWORD start = GetTickCount();
    SetEvent(go);
    int failed = 0;
    for (Process& p : workers) {
        failed += WaitExit(p, 120000) != 0;
        Kill(p);
    }
    printf("%d processes recorded %d files each in %lu ms\n", kWorkers, kFilesPerWorker,
           GetTickCount() - start);
    CHECK(failed == 0, "%d workers failed", failed);

    std::set<std::string> expected;
    for (int i = 0; i < kWorkers; ++i)
        for (int k = 0; k < kFilesPerWorker; ++k)
            expected.insert(WorkerFile(i, k));
    struct List {
        std::string file, section;
        size_t count;
    };
    const List lists[] = {
        {AppFile(), std::string(kApp) + " Recent Files", expected.size()},
        {DataFile("ALLAPPS.vni"), "All Files", expected.size()},
        {AppFile(), std::string(kApp) + " Recent Paths", kWorkers},
        {DataFile("ALLAPPS.vni"), "All Paths", kWorkers},
    };
    for (const List& l : lists) {
        CHECK(Parse(ReadFileText(l.file)).parsed, "%s parses", l.file.c_str());
        std::vector<std::string> entries = RecentSection(l.file, l.section);
        std::set<std::string> distinct(entries.begin(), entries.end());
        CHECK(entries.size() == l.count && distinct.size() == l.count,
              "%s: %zu entries, %zu distinct, expected %zu", l.section.c_str(), entries.size(),
              distinct.size(), l.count);
    }
    std::vector<std::string> files = RecentSection(AppFile(), lists[0].section);
    std::vector<std::string> all = RecentSection(lists[1].file, lists[1].section);
    CHECK(std::set<std::string>(files.begin(), files.end()) == expected &&
              std::set<std::string>(all.begin(), all.end()) == expected,
          "all %zu files are in both recent-file lists", expected.size());
    CHECK(Profile(AppFile(), lists[0].section, "Sequence") ==
              std::to_string(kWorkers * kFilesPerWorker),
          "every change counted once: %s",
          Profile(AppFile(), lists[0].section, "Sequence").c_str());
    CloseHandle(ready);
    CloseHandle(go);
    CleanUpHookDLL();
}

void AbandonedLock() {
    PrepareListFolders();
    LoadAppLists(kApp);
    LoadAllAppsLists();
    RecordChosenFile(kApp, "C:\\a\\1.txt");
    RecordChosenFile(kApp, "C:\\a\\2.txt");
    HANDLE ready = CreateSemaphoreA(nullptr, 0, 1, kReadyName);
    Process holder = Spawn("hold 200 die");
    CHECK(holder.handle && WaitForSingleObject(ready, 30000) == WAIT_OBJECT_0,
          "the holder has the lock");
    CHECK(WaitExit(holder, 30000) == 0, "the holder died with the lock");
    Kill(holder);
    SharedState* s = Shared();
    CHECK(s && s->lists.allRecentFilesLast == 55, "the shared lists were left half-changed");
    RecordChosenFile(kApp, "C:\\a\\3.txt");
    ListEntries* list = ListOf(nullptr, false, false);
    CHECK(ListLast(nullptr, false, false) == 3 && MemoryEntry(list, 1) == "C:\\a\\1.txt" &&
              MemoryEntry(list, 3) == "C:\\a\\3.txt" && MemoryEntry(list, 4) == "<empty>",
          "read again from the file, then changed: Last %d", ListLast(nullptr, false, false));
    CHECK(RecentSection(DataFile("ALLAPPS.vni"), "All Files").size() == 3, "and the file");
    ListLock lock(100);
    CHECK(lock.Held() && !lock.Abandoned(), "the lock works normally afterwards");
    CloseHandle(ready);
    CleanUpHookDLL();
}

void LockTimeout() {
    PrepareListFolders();
    LoadAppLists(kApp);
    LoadAllAppsLists();
    HANDLE ready = CreateSemaphoreA(nullptr, 0, 1, kReadyName);
    Process holder = Spawn("hold 8000");
    CHECK(holder.handle && WaitForSingleObject(ready, 30000) == WAIT_OBJECT_0,
          "the holder has the lock");
    DWORD start = GetTickCount();
    RecordChosenFile(kApp, "C:\\late.txt");
    DWORD waited = GetTickCount() - start;
    CHECK(waited >= kListLockStallMs - 100 && waited < kListLockStallMs + 1500,
          "the dialog waited %lu ms", waited);
    CHECK(Profile(AppFile(), std::string(kApp) + " Recent Files", "Last") == "<none>",
          "nothing was written without the lock");
    CHECK(WaitExit(holder, 30000) == 0, "the holder released the lock");
    Kill(holder);
    RecordChosenFile(kApp, "C:\\late.txt");
    CHECK(Profile(AppFile(), std::string(kApp) + " Recent Files", "Entry1") == "C:\\late.txt",
          "recorded once the lock is free");
    CloseHandle(ready);
    CleanUpHookDLL();
}

// --- real dialogs ---------------------------------------------------------------------------

int g_dialogsOpened = 0;
RecordingWriter g_handedOver;
int g_recordingsHanded = 0;

// The manager's side of what the library reports: it counts the dialogs taken over and writes the
// recordings handed to it, as the manager does.
LRESULT CALLBACK CountingManagerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == MSG_DIALOG_OPENED)
        ++g_dialogsOpened;
    if (msg == MSG_SETTINGS_SERIAL)
        return 1;
    if (msg == WM_COPYDATA) {
        if (!g_handedOver.Accept(reinterpret_cast<const COPYDATASTRUCT*>(lParam)))
            return 0;
        ++g_recordingsHanded;
        return kRecordingAccepted;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND CreateCountingManager() {
    g_handedOver.Start();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountingManagerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VnListTestManager";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "list test manager", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                           100, nullptr, nullptr, wc.hInstance, nullptr);
}

// Eight applications choose twelve files each through their real, taken-over Open dialogs at the
// same moment: every dialog is taken over and every choice is in both recent-file lists.
void ConcurrentDialogs() {
    PrepareListFolders();
    HWND manager = CreateCountingManager();
    SetupHookDLL(manager);
    std::string folder = DataFile("chosen");
    CreateDirectoryA(folder.c_str(), nullptr);
    std::set<std::string> expected;
    for (int w = 0; w < kWorkers; ++w)
        for (int k = 0; k < kFilesPerWorker; ++k) {
            std::string file =
                folder + "\\a" + std::to_string(w) + "_" + std::to_string(k) + ".txt";
            WriteFileText(file, "");
            expected.insert(file);
        }
    DeleteFileA(ListFile("vnsample").c_str());
    DWORD start = GetTickCount();
    std::vector<Process> apps;
    for (int w = 0; w < kWorkers; ++w)
        apps.push_back(Start("vnsample.exe open-many " + std::to_string(kFilesPerWorker) +
                             " 200 \"" + folder + "\\a" + std::to_string(w) + "_\""));
    int missed = 0;
    for (Process& p : apps) {
        int status = WaitExit(p, 180000);
        missed += status < 0 ? kFilesPerWorker : status;
        Kill(p);
    }
    PumpFor(500);
    // What was handed to the manager is written by its writer, which finishes its queue before it
    // stops: the lists are complete only then.
    g_handedOver.Stop(kListLockMaxWaitMs);
    printf("%d applications chose %d files each in %lu ms; %d dialogs taken over\n", kWorkers,
           kFilesPerWorker, GetTickCount() - start, g_dialogsOpened);
    CHECK(missed == 0, "%d dialogs did not return their file", missed);
    CHECK(g_dialogsOpened == kWorkers * kFilesPerWorker, "%d dialogs taken over", g_dialogsOpened);
    const std::pair<std::string, std::string> lists[] = {
        {ListFile("vnsample"), "vnsample Recent Files"}, {DataFile("ALLAPPS.vni"), "All Files"}};
    for (const auto& l : lists) {
        CHECK(Parse(ReadFileText(l.first)).parsed, "%s parses", l.first.c_str());
        std::vector<std::string> entries = RecentSection(l.first, l.second);
        std::set<std::string> found;
        for (const std::string& e : entries)
            if (expected.count(e))
                found.insert(e);
        CHECK(found.size() == expected.size(), "%s: %zu of %zu chosen files", l.second.c_str(),
              found.size(), expected.size());
    }
    CleanUpHookDLL();
    DestroyWindow(manager);
}

// Sixteen processes close 25 dialogs each while another process holds the lists for 5 s: every
// close returns within about a second, nothing is lost, and every list file stays whole.
void ConcurrentHeld() {
    PrepareListFolders();
    HWND manager = CreateCountingManager();
    SetupHookDLL(manager);
    HANDLE ready = CreateSemaphoreA(nullptr, 0, kClosers + 1, kReadyName);
    HANDLE go = CreateEventA(nullptr, TRUE, FALSE, kGoName);
    std::vector<Process> closers;
    for (int i = 0; i < kClosers; ++i) {
        DeleteFileA(ListFile(CloserModule(i)).c_str());
        closers.push_back(Spawn("closer " + std::to_string(i)));
    }
    int readyCount = 0;
    for (int i = 0; i < kClosers; ++i)
        readyCount += WaitForSingleObject(ready, 60000) == WAIT_OBJECT_0;
    CHECK(readyCount == kClosers, "%d closers ready", readyCount);
    SetEvent(go);
    PumpFor(300);
    Process holder = Spawn("hold 5000");
    // Answering the library meanwhile: the closers hand their recordings to this window.
    CHECK(holder.handle &&
              WaitUntil([&] { return WaitForSingleObject(ready, 0) == WAIT_OBJECT_0; }, 30000),
          "the holder has the lock");
    int lost = 0;
    for (Process& p : closers) {
        int status = WaitExit(p, 120000);
        lost += status < 0 ? kClosesPerCloser : status;
        Kill(p);
    }
    WaitExit(holder, 30000);
    Kill(holder);
    g_handedOver.Stop(kListLockMaxWaitMs);
    printf("%d recordings handed to the manager, %d written by it, %d still queued\n",
           g_recordingsHanded, g_handedOver.Written(), g_handedOver.Pending());
    CHECK(lost == 0 && g_handedOver.Pending() == 0, "%d lost, %d not written", lost,
          g_handedOver.Pending());
    int complete = 0;
    for (int i = 0; i < kClosers; ++i) {
        std::string file = ListFile(CloserModule(i)), section = CloserModule(i) + " Recent Files";
        std::vector<std::string> entries = RecentSection(file, section);
        std::set<std::string> expected;
        for (int k = 0; k < kClosesPerCloser; ++k)
            expected.insert(WorkerFile(i, k));
        bool whole = Parse(ReadFileText(file)).parsed &&
                     std::set<std::string>(entries.begin(), entries.end()) == expected &&
                     Profile(file, section, "Sequence") == std::to_string(kClosesPerCloser);
        if (!whole)
            printf("  %s: %zu entries, Sequence %s\n", CloserModule(i).c_str(), entries.size(),
                   Profile(file, section, "Sequence").c_str());
        complete += whole;
    }
    CHECK(complete == kClosers, "%d of %d applications' lists hold all their files", complete,
          kClosers);
    // 400 files went through the ring of 100: it is full, its entries distinct, Last within it.
    std::string all = DataFile("ALLAPPS.vni");
    std::set<std::string> ring;
    for (int n = 1; n <= 100; ++n)
        ring.insert(Profile(all, "All Files", Entry(n)));
    std::string last = Profile(all, "All Files", "Last");
    CHECK(Parse(ReadFileText(all)).parsed && ring.size() == 100 && !ring.count("<none>") &&
              atoi(last.c_str()) >= 1 && atoi(last.c_str()) <= 100,
          "the all-applications ring is full and whole: %zu distinct, Last %s", ring.size(),
          last.c_str());
    CloseHandle(ready);
    CloseHandle(go);
    CleanUpHookDLL();
    DestroyWindow(manager);
}

// --- the editors -----------------------------------------------------------------------------

std::string RecentFile(int n) {
    return "C:\\vnedit\\file" + std::to_string(n) + ".txt";
}

std::vector<std::string> ListBoxRows(HWND list) {
    std::vector<std::string> rows;
    int n = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        char row[MAX_PATH + 1] = "";
        if (SendMessageA(list, LB_GETTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof row))
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row));
        rows.push_back(row);
    }
    return rows;
}

// Selects rows of the files list as a click would, with the notification the dialog acts on.
void SelectFileRows(HWND box, std::initializer_list<int> rows) {
    HWND list = GetDlgItem(box, IDC_EDIT_FILES);
    SendMessageA(list, LB_SETSEL, FALSE, -1);
    for (int r : rows)
        SendMessageA(list, LB_SETSEL, TRUE, r);
    SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDC_EDIT_FILES, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

bool Enabled(HWND box, int id) {
    return IsWindowEnabled(GetDlgItem(box, id)) != FALSE;
}

int g_editorTicks = 0;

// Runs inside the editor's modal loop: once the editor is there, deletes two files, moves one up
// and presses OK, each through the real buttons.
void CALLBACK WorkEditRecent(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowA("#32770", "Edit Recent Files/Folders");
    if (!box || GetWindowThreadProcessId(box, nullptr) != GetCurrentThreadId()) {
        if (++g_editorTicks > 100)
            KillTimer(nullptr, timer);
        return;
    }
    KillTimer(nullptr, timer);
    using V = std::vector<std::string>;
    char heading[300] = "";
    GetDlgItemTextA(box, IDC_EDIT_HEADING, heading, sizeof heading);
    CHECK(!strcmp(heading, "Editing Recent files/folders for: vnlistapp"), "heading %s", heading);
    HWND files = GetDlgItem(box, IDC_EDIT_FILES);
    CHECK(ListBoxRows(files) ==
              (V{RecentFile(5), RecentFile(4), RecentFile(3), RecentFile(2), RecentFile(1)}),
          "newest first");
    CHECK(!Enabled(box, IDC_EDIT_DELETE_FILES), "nothing to delete yet");

    SelectFileRows(box, {1, 3});
    CHECK(Enabled(box, IDC_EDIT_DELETE_FILES) && !Enabled(box, IDC_EDIT_UP_FILES) &&
              !Enabled(box, IDC_EDIT_DOWN_FILES),
          "two rows: delete only");
    SendDlgItemMessageA(box, IDC_EDIT_DELETE_FILES, BM_CLICK, 0, 0);
    CHECK(ListBoxRows(files) == (V{RecentFile(5), RecentFile(3), RecentFile(1)}), "deleted");
    CHECK(!Enabled(box, IDC_EDIT_DELETE_FILES), "delete greyed after deleting");

    SelectFileRows(box, {1});
    CHECK(Enabled(box, IDC_EDIT_UP_FILES) && Enabled(box, IDC_EDIT_DOWN_FILES), "one row moves");
    SendDlgItemMessageA(box, IDC_EDIT_UP_FILES, BM_CLICK, 0, 0);
    CHECK(ListBoxRows(files) == (V{RecentFile(3), RecentFile(5), RecentFile(1)}), "moved up");
    CHECK(SendMessageA(files, LB_GETSEL, 0, 0) > 0 && !Enabled(box, IDC_EDIT_UP_FILES),
          "the moved row stays selected, at the top");

    SendDlgItemMessageA(box, IDOK, BM_CLICK, 0, 0);
}

void EditRecent() {
    PrepareListFolders();
    g_process.moduleInstance = GetModuleHandleA(nullptr);
    std::string file = AppFile();
    std::string files = std::string(kApp) + " Recent Files";
    std::string folders = std::string(kApp) + " Recent Paths";
    WritePrivateProfileStringA(files.c_str(), "Last", "5", file.c_str());
    for (int n = 1; n <= 5; ++n)
        WritePrivateProfileStringA(files.c_str(), Entry(n).c_str(), RecentFile(n).c_str(),
                                   file.c_str());
    WritePrivateProfileStringA(folders.c_str(), "Last", "2", file.c_str());
    WritePrivateProfileStringA(folders.c_str(), "Entry1", "C:\\vnedit\\", file.c_str());
    WritePrivateProfileStringA(folders.c_str(), "Entry2", "C:\\vnedit\\sub\\", file.c_str());
    LoadAppLists(kApp);

    UINT_PTR timer = SetTimer(nullptr, 0, 200, WorkEditRecent);
    BOOL ok = EditRecentDialog(nullptr, kApp);
    KillTimer(nullptr, timer);
    CHECK(ok, "the editor closed with OK and stored (timer ticks %d)", g_editorTicks);

    using V = std::vector<std::string>;
    CHECK(RecentSection(file, files) == (V{RecentFile(1), RecentFile(5), RecentFile(3)}),
          "stored oldest to newest, the first row newest");
    CHECK(Profile(file, files, "Last") == "3", "Last is the number of rows: %s",
          Profile(file, files, "Last").c_str());
    CHECK(RecentSection(file, folders) == (V{"C:\\vnedit\\", "C:\\vnedit\\sub\\"}),
          "the folders as they were");
    CHECK(ListLast(kApp, false, false) == 3 &&
              MemoryEntry(ListOf(kApp, false, false), 3) == RecentFile(3),
          "the lists in memory are the edited ones");
    CleanUpHookDLL();
}

const Scenario kScenarios[] = {
    {"files", FilesRoundTrip},
    {"migrate", Migrate},
    {"bad-input", BadInput},
    {"concurrent", Concurrent},
    {"abandoned", AbandonedLock},
    {"lock-timeout", LockTimeout},
    {"concurrent-dialogs", ConcurrentDialogs},
    {"concurrent-held", ConcurrentHeld},
    {"edit-recent", EditRecent},
};

} // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    LocateFolders("vnlist-data", {"*.vni"});
    if (argc >= 3 && !strcmp(argv[1], "worker"))
        return Worker(atoi(argv[2]));
    if (argc >= 3 && !strcmp(argv[1], "closer"))
        return Closer(atoi(argv[2]));
    if (argc >= 3 && !strcmp(argv[1], "hold"))
        return Hold(static_cast<DWORD>(atoi(argv[2])), argc >= 4 && !strcmp(argv[3], "die"));
    const Scenario* sc = ChosenScenario("vnlisttest", kScenarios, argc, argv);
    if (!sc)
        return 2;
    sc->run();
    return CheckSummary(sc->name);
}
