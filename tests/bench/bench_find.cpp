// How fast the Find files search walks a large tree, and how long the search box would go
// without handling its messages: the library's FolderWalk over the real file system (the very
// Win32FindFiles calls the box makes, with a PeekMessage pump like the box's whenever one is
// due) against a bare recursive FindFirstFileA / FindNextFileA walk that enumerates each folder
// once and matches "*.txt" by itself. They take turns within one run, with two more walks that
// show where the time goes; the medians, their ratios, the longest time between two pumps and
// the number of pumps are printed.
//
//   bench_find [folder [rounds]]   (default: vantor-bench-find in the temp folder, 5 rounds)
//
// The tree (100,000 files in 5,000 folders, three levels) is made on the first run and kept; a
// marker file with its counts tells later runs that it is whole.
#include <windows.h>

#include "hook/commands/find_system_win.h"
#include "hook/commands/find_walk.h"
#include "tests/bench/bench_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using vnbench::Median;
using vnbench::Now;

constexpr int kTopFolders = 8;
constexpr int kMiddleFolders = 24; // under each top folder
constexpr int kLeafFolders = 25;   // under each middle folder
constexpr int kFilesPerFolder = 20;
constexpr int kFolders = kTopFolders * (1 + kMiddleFolders * (1 + kLeafFolders));
constexpr int kFiles = kFolders * kFilesPerFolder;
constexpr int kTextFreeTop = 3;
constexpr const char* kMarker = "tree.done";

// File names of a folder: most folders mix text files with others (about a third are *.txt,
// in either case); one top folder holds no text file at all, as a tree of sources or pictures
// would, so that the walk goes through 625 folders without a match.
std::string FileName(int folder, int file, bool textFree) {
    char name[64];
    static const char* const kOthers[] = {"data%06d.bin",      "picture%06d.jpg", "README%06d",
                                          "notes%06d.txt.bak", "source%06d.cpp",  "build%06d.log"};
    int n = folder * kFilesPerFolder + file;
    if (!textFree && file % 3 == 0)
        snprintf(name, sizeof name, file % 2 ? "REPORT%06d.TXT" : "report%06d.txt", n);
    else
        snprintf(name, sizeof name, kOthers[(file + folder) % 6], n);
    return name;
}

bool TouchFile(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

bool FillFolder(const std::string& folder, int index, bool textFree) {
    if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    for (int f = 0; f < kFilesPerFolder; ++f)
        if (!TouchFile(folder + "\\" + FileName(index, f, textFree)))
            return false;
    return true;
}

std::string MarkerText() {
    return std::to_string(kFiles) + " files in " + std::to_string(kFolders) + " folders, top" +
           std::to_string(kTextFreeTop) + " without text files";
}

bool TreeIsWhole(const std::string& root) {
    char text[80] = "";
    HANDLE h = CreateFileA((root + "\\" + kMarker).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD got = 0;
    ReadFile(h, text, sizeof text - 1, &got, nullptr);
    CloseHandle(h);
    text[got] = 0;
    return MarkerText() == text;
}

// Makes the tree under root (the marker last, so that a cut-short run makes it again).
bool MakeTree(const std::string& root) {
    CreateDirectoryA(root.c_str(), nullptr);
    DeleteFileA((root + "\\" + kMarker).c_str());
    double start = Now();
    int made = 0;
    auto progress = [&] {
        if (++made % 250 == 0 || made == kFolders)
            printf("  %5d of %d folders (%.0f s)\n", made, kFolders, Now() - start);
    };
    for (int t = 0; t < kTopFolders; ++t) {
        bool textFree = t == kTextFreeTop;
        std::string top = root + "\\top" + std::to_string(t);
        if (!FillFolder(top, made, textFree))
            return false;
        progress();
        for (int m = 0; m < kMiddleFolders; ++m) {
            std::string middle = top + "\\middle" + std::to_string(m);
            if (!FillFolder(middle, made, textFree))
                return false;
            progress();
            for (int l = 0; l < kLeafFolders; ++l) {
                if (!FillFolder(middle + "\\leaf" + std::to_string(l), made, textFree))
                    return false;
                progress();
            }
        }
    }
    HANDLE h = CreateFileA((root + "\\" + kMarker).c_str(), GENERIC_WRITE, 0, nullptr,
                           CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    std::string text = MarkerText();
    DWORD wrote = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &wrote, nullptr);
    CloseHandle(h);
    printf("tree made in %.1f s\n", Now() - start);
    return true;
}

bool EndsWithTxt(const char* name) {
    size_t n = strlen(name);
    return n >= 4 && _stricmp(name + n - 4, ".txt") == 0;
}

// The baseline: each folder enumerated once, its matches counted and its subfolders walked.
long BareWalk(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    long found = 0;
    do {
        bool directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (directory && data.cFileName[0] == '.')
            continue;
        if (EndsWithTxt(data.cFileName))
            ++found;
        if (directory)
            found += BareWalk(folder + "\\" + data.cFileName);
    } while (FindNextFileA(search, &data));
    FindClose(search);
    return found;
}

// Where the time goes: each folder enumerated twice, once for the mask and once for its
// subfolders, as the walk does.
long TwoPassWalk(const std::string& folder) {
    WIN32_FIND_DATAA data;
    long found = 0;
    HANDLE search = FindFirstFileA((folder + "\\*.txt").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do
            found +=
                !((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && data.cFileName[0] == '.');
        while (FindNextFileA(search, &data));
        FindClose(search);
    }
    search = FindFirstFileA((folder + "\\*.*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
        return found;
    do
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && data.cFileName[0] != '.')
            found += TwoPassWalk(folder + "\\" + data.cFileName);
    while (FindNextFileA(search, &data));
    FindClose(search);
    return found;
}

// The box's file system with a pump like the box's: when one is due, every pending message is
// dispatched (or, to see what the pumps cost, none). It notes how long the walk went between two
// pumps.
class PumpingFindFiles final : public vn::Win32FindFiles {
  public:
    explicit PumpingFindFiles(bool pump) : pump_(pump) {}
    bool StopRequested() override {
        if (!pump_ || !PumpDue())
            return false;
        Mark();
        ++pumps_;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return false;
    }
    void ShowFolder(const char*) override {}

    // At the walk's start and end: the time before the first pump and after the last counts.
    void Mark() {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        if (last_ && now.QuadPart - last_ > longest_)
            longest_ = now.QuadPart - last_;
        last_ = now.QuadPart;
    }
    double LongestMs() const {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(longest_) * 1000 / static_cast<double>(f.QuadPart);
    }
    long Pumps() const { return pumps_; }

  private:
    bool pump_;
    LONGLONG last_ = 0;
    LONGLONG longest_ = 0;
    long pumps_ = 0;
};

struct WalkRun {
    long found;
    double gapMs;
    long pumps;
};

WalkRun LibraryWalk(const std::string& root, bool pump) {
    PumpingFindFiles system(pump);
    system.Mark();
    vn::FolderWalk walk(system, root.c_str(), "*.txt");
    long found = 0;
    vn::FindEntry entry;
    while (walk.Valid() && walk.Next(&entry) == vn::WalkResult::kEntry)
        ++found;
    system.Mark();
    return {found, system.LongestMs(), system.Pumps()};
}

} // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    std::string root;
    if (argc > 1) {
        root = argv[1];
    } else {
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof temp, temp);
        root = std::string(temp) + "vantor-bench-find";
    }
    char absolute[MAX_PATH];
    DWORD n = GetFullPathNameA(root.c_str(), sizeof absolute, absolute, nullptr);
    if (n == 0 || n >= sizeof absolute) {
        printf("cannot use the folder %s\n", root.c_str());
        return 1;
    }
    root = absolute;
    while (root.size() > 3 && root.back() == '\\')
        root.pop_back();
    int rounds = argc > 2 ? atoi(argv[2]) : 5;
    if (rounds < 1)
        rounds = 1;

    if (TreeIsWhole(root)) {
        printf("using the tree in %s (%s)\n", root.c_str(), MarkerText().c_str());
    } else {
        printf("making %s in %s\n", MarkerText().c_str(), root.c_str());
        if (!MakeTree(root)) {
            printf("cannot make the tree (error %lu)\n", GetLastError());
            return 1;
        }
    }

    // One of each first, so that all find the tree in the system's caches.
    BareWalk(root);
    LibraryWalk(root, true);
    enum { kBare, kWalk, kTwoPass, kWalkNoPump, kKinds };
    std::vector<double> times[kKinds];
    long found[kKinds] = {}, pumps = 0;
    double longestGap = 0;
    auto timed = [&](int kind, auto&& run) {
        double start = Now();
        found[kind] = run();
        times[kind].push_back(Now() - start);
    };
    for (int r = 0; r < rounds; ++r) {
        timed(kBare, [&] { return BareWalk(root); });
        WalkRun run{};
        timed(kWalk, [&] { return (run = LibraryWalk(root, true)).found; });
        pumps = run.pumps;
        if (run.gapMs > longestGap)
            longestGap = run.gapMs;
        timed(kTwoPass, [&] { return TwoPassWalk(root); });
        timed(kWalkNoPump, [&] { return LibraryWalk(root, false).found; });
        printf("  round %d: bare %.0f ms, walk %.0f ms (longest gap %.1f ms); two-pass %.0f ms, "
               "walk without pumping %.0f ms\n",
               r + 1, times[kBare].back() * 1000, times[kWalk].back() * 1000, run.gapMs,
               times[kTwoPass].back() * 1000, times[kWalkNoPump].back() * 1000);
    }
    double ms[kKinds];
    for (int k = 0; k < kKinds; ++k)
        ms[k] = Median(times[k]) * 1000;
    bool equal = found[kBare] == found[kWalk] && found[kBare] == found[kTwoPass] &&
                 found[kBare] == found[kWalkNoPump];
    printf("Find files \"*.txt\" over %s, median of %d rounds\n", MarkerText().c_str(), rounds);
    printf("  matches: bare %ld, walk %ld, two-pass %ld, walk without pumping %ld%s\n",
           found[kBare], found[kWalk], found[kTwoPass], found[kWalkNoPump],
           equal ? " (equal)" : "  NOT EQUAL");
    printf("  bare walk (each folder once):        %6.0f ms\n", ms[kBare]);
    printf("  library walk, pumping:               %6.0f ms = %.2f x bare (aim at most 1.30)\n",
           ms[kWalk], ms[kWalk] / ms[kBare]);
    printf("  longest gap between pumps:           %6.1f ms (aim at most 50), %ld pumps per walk\n",
           longestGap, pumps);
    printf("  where the time goes:\n");
    printf("    bare walk, each folder twice:      %6.0f ms = %.2f x bare\n", ms[kTwoPass],
           ms[kTwoPass] / ms[kBare]);
    printf("    library walk without pumping:      %6.0f ms = %.2f x bare\n", ms[kWalkNoPump],
           ms[kWalkNoPump] / ms[kBare]);
    return equal ? 0 : 1;
}
