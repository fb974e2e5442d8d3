// What the user's own order of the file list costs, against the list view's own sort by name of
// the same list. A folder of 5,000 files of mixed sizes and dates (and a few subfolders) is made
// once. Each round opens a standard Open dialog on it, with "Sort" on, by size (largest first)
// and then by date (newest first). A second thread sorts the list once through the library
// (MSG_SORT_NOW, answered with the number of items whose facts were read), and then makes the
// shell sort it by name as a click on the name column does (LVN_COLUMNCLICK to the view). The
// click comes last: after it the library leaves the list in the user's hands, so every round
// opens a new dialog. Both sorts start from the same shuffled list: before each, the dialog's
// thread shuffles it through the list view's class procedure, which the library does not see
// (a list already in order would cost a merge sort only one comparison an item).
//
// The dialog's thread watches what it is sent: the view's creation (the shell makes, fills and
// sorts the list inside it), every LVM_SORTITEMS to the list (the library's comparator tells its
// sorts from the shell's), so the time from the view's creation until the list is in the user's
// order is measured too, and how long each sort spends in the list view itself.
//
//   bench_sort [rounds]   (default 7)
#include <windows.h>

#include <commctrl.h>

#include "hook/core/messages.h"
#include "hook/takeover/vnhook_api.h"
#include "tests/bench/bench_support.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using vnbench::Median;
using vnbench::Now;

constexpr int kFiles = 5000;
constexpr int kFolders = 5;

// The files' facts are made from their numbers, so that the order of a list can be checked from
// its names alone; neither sizes nor dates follow the names.
uint64_t Mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// Up to 64 MB; the files are sparse, so they take no room.
uint64_t SizeOf(int file) {
    return Mix(static_cast<uint64_t>(file)) % (64ull << 20);
}

// Some second of the five years from 2019 on, as a FILETIME value.
uint64_t WrittenOf(int file) {
    constexpr uint64_t k2019 = 131907744000000000ull, kSecond = 10000000ull;
    return k2019 + Mix(static_cast<uint64_t>(file) + 7919) % (5ull * 365 * 86400) * kSecond;
}

std::string NameOf(int file) {
    char name[32];
    snprintf(name, sizeof name, "file%04d.dat", file);
    return name;
}

// The file number of a listed name; -1 for a folder.
int FileOf(const char* name) {
    return strncmp(name, "file", 4) == 0 ? atoi(name + 4) : -1;
}

// Makes the folder unless an earlier run did (it leaves a mark beside it when it is complete).
bool MakeFolder(const std::string& folder, const std::string& mark) {
    if (GetFileAttributesA(mark.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    printf("making %d files in %s\n", kFiles, folder.c_str());
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 0; i < kFolders; ++i)
        CreateDirectoryA((folder + "\\folder " + std::to_string(i)).c_str(), nullptr);
    for (int i = 0; i < kFiles; ++i) {
        HANDLE h = CreateFileA((folder + "\\" + NameOf(i)).c_str(), GENERIC_WRITE, 0, nullptr,
                               CREATE_ALWAYS, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        LARGE_INTEGER size;
        size.QuadPart = static_cast<LONGLONG>(SizeOf(i));
        uint64_t written = WrittenOf(i);
        FILETIME time = {static_cast<DWORD>(written), static_cast<DWORD>(written >> 32)};
        bool made = SetFilePointerEx(h, size, nullptr, FILE_BEGIN) && SetEndOfFile(h) &&
                    SetFileTime(h, nullptr, nullptr, &time);
        CloseHandle(h);
        if (!made)
            return false;
    }
    HANDLE h = CreateFileA(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(h);
    return h != INVALID_HANDLE_VALUE;
}

// One LVM_SORTITEMS the list was sent: when it began and ended, and whose it was.
struct SortSeen {
    double start = 0, end = 0;
    bool library = false;
};

// What the dialog's thread was sent and took, from its hooks.
struct Watch {
    HWND view = nullptr;
    double viewCreated = 0, viewMade = 0; // the last view's WM_CREATE, begun and returned
    double sortNowTaken = 0;              // the first posted MSG_SORT_NOW taken after it
    std::vector<SortSeen> sorts;
    int open = -1;                    // the sort under way, an index into sorts
    std::atomic<bool> ordered{false}; // the library has sorted the new view's list
};
Watch g_watch;
LPARAM g_libraryCompare; // the library's comparator, which marks its own sorts
UINT g_shuffle;          // sent to the list: its items are shuffled

// An order of the items that follows neither names, sizes nor dates: by a hash of their data.
int CALLBACK ShuffleCompare(LPARAM a, LPARAM b, LPARAM) {
    uint64_t ha = Mix(static_cast<uint64_t>(a)), hb = Mix(static_cast<uint64_t>(b));
    return ha < hb ? -1 : (hb < ha ? 1 : 0);
}

bool IsShellView(HWND window) {
    char name[24] = "";
    return GetClassNameA(window, name, sizeof name) && !strcmp(name, "SHELLDLL_DefView");
}

LRESULT CALLBACK WatchSent(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == g_shuffle) {
        auto listProc = reinterpret_cast<WNDPROC>(GetClassLongPtrA(sent->hwnd, GCLP_WNDPROC));
        CallWindowProcA(listProc, sent->hwnd, LVM_SORTITEMS, 0,
                        reinterpret_cast<LPARAM>(ShuffleCompare));
    } else if (code == HC_ACTION && sent->message == WM_CREATE && IsShellView(sent->hwnd)) {
        g_watch.view = sent->hwnd;
        g_watch.viewCreated = Now();
        g_watch.viewMade = g_watch.sortNowTaken = 0;
        g_watch.sorts.clear();
        g_watch.ordered = false;
    } else if (code == HC_ACTION && sent->message == LVM_SORTITEMS && g_watch.view &&
               GetParent(sent->hwnd) == g_watch.view) {
        g_watch.open = static_cast<int>(g_watch.sorts.size());
        g_watch.sorts.push_back({Now(), 0, sent->lParam == g_libraryCompare});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK WatchReturned(int code, WPARAM wParam, LPARAM lParam) {
    const CWPRETSTRUCT* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_CREATE && sent->hwnd == g_watch.view) {
        g_watch.viewMade = Now();
    } else if (code == HC_ACTION && sent->message == LVM_SORTITEMS && g_watch.open >= 0) {
        // The library may sort from inside the shell's sort, in place of it: the innermost
        // open sort is the one ending.
        int i = g_watch.open;
        while (i >= 0 && g_watch.sorts[i].end)
            --i;
        if (i >= 0) {
            g_watch.sorts[i].end = Now();
            if (g_watch.sorts[i].library)
                g_watch.ordered = true;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK WatchQueue(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == vn::MSG_SORT_NOW &&
        g_watch.view && !g_watch.sortNowTaken && GetParent(msg->hwnd) == g_watch.view)
        g_watch.sortNowTaken = Now();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The listed names, in the list's order, asked from another thread.
std::vector<std::string> ListedNames(HWND list) {
    std::vector<std::string> names;
    LRESULT count = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[MAX_PATH] = "";
        LVITEMA item = {};
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&item));
        names.push_back(text);
    }
    return names;
}

enum class Key { Size, Date, Name };

// Whether the files of the list (the folders aside) are in order by key: descending for size and
// date, ascending for names.
bool FilesInOrder(HWND list, Key key) {
    int previous = -1;
    for (const std::string& name : ListedNames(list)) {
        int file = FileOf(name.c_str());
        if (file < 0)
            continue;
        if (previous >= 0) {
            bool ok = key == Key::Size   ? SizeOf(previous) >= SizeOf(file)
                      : key == Key::Date ? WrittenOf(previous) >= WrittenOf(file)
                                         : previous < file;
            if (!ok)
                return false;
        }
        previous = file;
    }
    return previous >= 0;
}

// One dialog's figures.
struct Round {
    bool done = false;
    LRESULT listed = 0, read = 0;         // items in the list; items the library's sort read
    double library = 0, libraryApply = 0; // MSG_SORT_NOW sent, and its LVM_SORTITEMS
    double shell = 0, shellApply = 0;     // the column click sent, and its LVM_SORTITEMS
    bool libraryOrdered = false, shellOrdered = false, clickKeptByShell = false;
    // From the view's creation: the shell's list made, and the list in the user's order.
    double made = 0, ready = 0, openSort = 0;
    int openSorts = 0; // how often the library sorted the new list
};

struct Driver {
    DWORD owner;
    Key key;
    Round round;
};

// The first library sort among sorts[from..] that has ended, or null.
const SortSeen* LibrarySort(size_t from) {
    for (size_t i = from; i < g_watch.sorts.size(); ++i)
        if (g_watch.sorts[i].library && g_watch.sorts[i].end)
            return &g_watch.sorts[i];
    return nullptr;
}

DWORD WINAPI Drive(LPVOID param) {
    auto* driver = static_cast<Driver*>(param);
    Round& round = driver->round;
    HWND dialog = vnbench::WaitForDialogOf(driver->owner, 60);
    if (!dialog)
        return 1;
    double give = Now() + 30;
    while (!g_watch.ordered && Now() < give)
        Sleep(10);
    Sleep(300); // the dialog's own start-up work is done
    DWORD_PTR answer;
    SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &answer);
    HWND view = GetDlgItem(dialog, 1121);
    HWND list = view ? FindWindowExA(view, nullptr, "SysListView32", nullptr) : nullptr;
    if (list && view == g_watch.view && g_watch.ordered) {
        const SortSeen* first = LibrarySort(0);
        round.made = g_watch.viewMade - g_watch.viewCreated;
        round.ready = first->end - g_watch.viewCreated;
        if (g_watch.sortNowTaken && g_watch.sortNowTaken <= first->start)
            round.openSort = first->end - g_watch.sortNowTaken;
        for (const SortSeen& s : g_watch.sorts)
            round.openSorts += s.library;
        round.listed = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);

        SendMessageA(list, g_shuffle, 0, 0);
        size_t before = g_watch.sorts.size();
        double start = Now();
        round.read = SendMessageA(list, vn::MSG_SORT_NOW, 0, 0);
        round.library = Now() - start;
        const SortSeen* mine = LibrarySort(before);
        round.libraryApply = mine ? mine->end - mine->start : 0;
        round.libraryOrdered = FilesInOrder(list, driver->key);

        // What a click on the name column's header sends the view (Wine's shell view sorts
        // hdr.hwndFrom by iSubItem, and the list is in this process: a pointer will do).
        NMLISTVIEW click = {};
        click.hdr.hwndFrom = list;
        click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list));
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = 0;
        SendMessageA(list, g_shuffle, 0, 0);
        before = g_watch.sorts.size();
        start = Now();
        SendMessageA(view, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
        round.shell = Now() - start;
        round.clickKeptByShell = g_watch.sorts.size() == before + 1 &&
                                 !g_watch.sorts[before].library && g_watch.sorts[before].end;
        round.shellApply =
            round.clickKeptByShell ? g_watch.sorts[before].end - g_watch.sorts[before].start : 0;
        round.shellOrdered = FilesInOrder(list, Key::Name);
        round.done = true;
    }
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return 0;
}

Round SortOnce(const char* folder, Key key) {
    g_watch.view = nullptr;
    g_watch.sorts.clear();
    g_watch.open = -1;
    g_watch.ordered = false;
    DWORD self = GetCurrentThreadId();
    HHOOK sent = SetWindowsHookExA(WH_CALLWNDPROC, WatchSent, nullptr, self);
    HHOOK returned = SetWindowsHookExA(WH_CALLWNDPROCRET, WatchReturned, nullptr, self);
    HHOOK queue = SetWindowsHookExA(WH_GETMESSAGE, WatchQueue, nullptr, self);
    Driver driver = {self, key, {}};
    HANDLE thread = CreateThread(nullptr, 0, Drive, &driver, 0, nullptr);
    vnbench::OpenDialogOn(folder, "All files\0*.*\0");
    WaitForSingleObject(thread, 120000);
    CloseHandle(thread);
    UnhookWindowsHookEx(queue);
    UnhookWindowsHookEx(returned);
    UnhookWindowsHookEx(sent);
    return driver.round;
}

void Use(const std::string& ini, Key key) {
    WritePrivateProfileStringA("Vantor 3", "Sort", "1", ini.c_str());
    WritePrivateProfileStringA("Vantor 3", "Sort By", key == Key::Size ? "1" : "3", ini.c_str());
    WritePrivateProfileStringA("Vantor 3", "Sort Order", "1", ini.c_str());
    WritePrivateProfileStringA("Vantor 3", "View Details", "1", ini.c_str());
    vnbench::SettingsChanged();
}

double Ms(const std::vector<double>& v) {
    return Median(v) * 1000;
}

} // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    int rounds = argc > 1 ? atoi(argv[1]) : 7;
    std::string data = vnbench::ProgramFolder() + "\\bench-sort-data", folder = data + "\\files";
    CreateDirectoryA(data.c_str(), nullptr);
    if (!MakeFolder(folder, data + "\\files-made")) {
        printf("could not make the files in %s\n", folder.c_str());
        return 1;
    }
    g_shuffle = RegisterWindowMessageA("bench_sort shuffle");
    std::string ini = data + "\\vantor.ini";
    DeleteFileA(ini.c_str());
    vnbench::UseDataFolder(data);
    SetupHookDLL(vnbench::MakeManagerStandIn("bench_sort manager"));
    g_libraryCompare =
        reinterpret_cast<LPARAM>(GetProcAddress(GetModuleHandleA("vnhook.dll"), "CompareFunc"));
    if (!g_libraryCompare) {
        printf("the library's comparator is not found\n");
        return 1;
    }

    struct Figures {
        std::vector<double> library, libraryApply, ready, made, openSort;
        int rounds = 0, misordered = 0, readNotListed = 0, openSorts = 0;
    };
    Figures byKey[2];
    std::vector<double> shell, shellApply;
    int shellMisordered = 0, clicksTaken = 0, failed = 0;
    LRESULT listed = 0;
    Use(ini, Key::Size);
    SortOnce(folder.c_str(), Key::Size); // warm up the shell's caches
    for (int r = 0; r < rounds * 2; ++r) {
        Key key = r % 2 ? Key::Date : Key::Size;
        Use(ini, key);
        Round round = SortOnce(folder.c_str(), key);
        if (!round.done) {
            ++failed;
            continue;
        }
        Figures& f = byKey[r % 2];
        ++f.rounds;
        f.library.push_back(round.library);
        f.libraryApply.push_back(round.libraryApply);
        f.ready.push_back(round.ready);
        f.made.push_back(round.made);
        if (round.openSort)
            f.openSort.push_back(round.openSort);
        f.openSorts += round.openSorts;
        f.misordered += !round.libraryOrdered;
        f.readNotListed += round.read != round.listed;
        listed = round.listed;
        if (round.clickKeptByShell) {
            shell.push_back(round.shell);
            shellApply.push_back(round.shellApply);
        } else {
            ++clicksTaken;
        }
        shellMisordered += !round.shellOrdered;
    }
    CleanUpHookDLL();

    const char* names[2] = {"library, by size (largest first)", "library, by date (newest first)"};
    double base = Ms(shell);
    printf("Sorting a list of %ld items (%d files, %d folders), median of %d rounds\n",
           static_cast<long>(listed), kFiles, kFolders, rounds);
    printf("  %-34s %10s %10s %24s\n", "", "sort", "vs shell", "of it in LVM_SORTITEMS");
    for (int k = 0; k < 2; ++k)
        printf("  %-34s %7.1f ms %8.2f x %18.1f ms\n", names[k], Ms(byKey[k].library),
               Ms(byKey[k].library) / base, Ms(byKey[k].libraryApply));
    printf("  %-34s %7.1f ms %8.2f x %18.1f ms\n", "shell, by name (column click)", base, 1.0,
           Ms(shellApply));
    for (int k = 0; k < 2; ++k)
        printf("  %s: items read per sort = items listed in %d of %d sorts; %d misordered\n",
               names[k], byKey[k].rounds - byKey[k].readNotListed, byKey[k].rounds,
               byKey[k].misordered);
    printf("  shell: %d misordered, %d clicks the library sorted instead, %d rounds failed\n",
           shellMisordered, clicksTaken, failed);
    printf("From the view's creation (the shell makes, fills and sorts the list by name):\n");
    for (int k = 0; k < 2; ++k)
        printf("  %-34s list made %7.1f ms, in the user's order %7.1f ms (+%.1f ms; the "
               "library's first sort %.1f ms, %d sorts in %d dialogs)\n",
               names[k], Ms(byKey[k].made), Ms(byKey[k].ready),
               Ms(byKey[k].ready) - Ms(byKey[k].made), Ms(byKey[k].openSort), byKey[k].openSorts,
               byKey[k].rounds);
    return failed ? 1 : 0;
}
