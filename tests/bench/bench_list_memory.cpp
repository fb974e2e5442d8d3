// Private memory that vnhook adds to a process that only creates windows: the price every
// program on the desktop pays for the hook, before any of them opens a file dialog. A child
// process (this program again) creates windows and reports its private commit; it runs with no
// hook, with a do-nothing CBT hook and with vnhook's hook, several times each, and the medians
// are compared. The program never calls into vnhook directly (it loads it by name), so the child
// gets the library only the way every other process does: through the hook.
//
//   bench_list_memory [rounds]
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kWindows = 40;

// A process's private commit as Windows charges it, in two parts: committed private pages
// (heaps, stacks, VirtualAlloc) and the writable pages of mapped images (the copy-on-write data
// of every loaded module). Walked region by region, since Wine reports no private usage.
struct Commit {
    unsigned privateKb;
    unsigned imageKb;
};

Commit MeasureCommit() {
    SIZE_T privateBytes = 0, imageBytes = 0;
    const DWORD writable =
        PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    MEMORY_BASIC_INFORMATION info;
    for (BYTE* p = nullptr; VirtualQuery(p, &info, sizeof info) == sizeof info;
         p = static_cast<BYTE*>(info.BaseAddress) + info.RegionSize) {
        if (info.State != MEM_COMMIT)
            continue;
        if (info.Type == MEM_PRIVATE)
            privateBytes += info.RegionSize;
        else if (info.Type == MEM_IMAGE && (info.Protect & writable))
            imageBytes += info.RegionSize;
    }
    return {static_cast<unsigned>(privateBytes / 1024), static_cast<unsigned>(imageBytes / 1024)};
}

// Bytes of the writable sections of a loaded module: what becomes private once written.
unsigned WritableImageKb(HMODULE module) {
    if (!module)
        return 0;
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(module);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(reinterpret_cast<BYTE*>(module) + dos->e_lfanew);
    IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    SIZE_T total = 0;
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section)
        if (section->Characteristics & IMAGE_SCN_MEM_WRITE)
            total += (section->Misc.VirtualSize + 4095) & ~static_cast<SIZE_T>(4095);
    return static_cast<unsigned>(total / 1024);
}

// Loads the libraries that vnhook.dll imports, without vnhook itself: the baseline that tells
// the library's own cost from that of the system libraries it needs.
void LoadVnhookImports() {
    HMODULE image = LoadLibraryExA("vnhook.dll", nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (!image)
        return;
    BYTE* base = reinterpret_cast<BYTE*>(image);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<IMAGE_DOS_HEADER*>(image)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto* imports = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
    std::vector<std::string> names;
    for (; dir.VirtualAddress && imports->Name; ++imports)
        names.push_back(reinterpret_cast<const char*>(base + imports->Name));
    FreeLibrary(image);
    for (const std::string& name : names)
        LoadLibraryA(name.c_str());
}

// The child: create and destroy windows as any program does, then report. The exit status
// carries the private KB in its high half and the writable image KB in its low half.
int Child(bool preload) {
    if (preload)
        LoadVnhookImports();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VnBenchWindow";
    RegisterClassA(&wc);
    for (int i = 0; i < kWindows; ++i) {
        HWND top = CreateWindowExA(0, wc.lpszClassName, "bench", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                   100, nullptr, nullptr, wc.hInstance, nullptr);
        CreateWindowExA(0, "BUTTON", "OK", WS_CHILD, 5, 5, 60, 20, top, nullptr, wc.hInstance,
                        nullptr);
        CreateWindowExA(0, "EDIT", "", WS_CHILD, 5, 30, 60, 20, top, nullptr, wc.hInstance,
                        nullptr);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        DestroyWindow(top);
    }
    Commit c = MeasureCommit();
    HMODULE mods[256];
    DWORD need = 0;
    int modules = EnumProcessModules(GetCurrentProcess(), mods, sizeof mods, &need)
                      ? static_cast<int>(need / sizeof(HMODULE))
                      : 0;
    printf("  child: %u KB private, %u KB writable images, %d modules, vnhook %s\n", c.privateKb,
           c.imageKb, modules, GetModuleHandleA("vnhook.dll") ? "mapped" : "absent");
    return static_cast<int>((std::min(c.privateKb, 0xFFFFu) << 16) | std::min(c.imageKb, 0xFFFFu));
}

Commit RunChild(bool preload) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    char line[MAX_PATH + 32];
    snprintf(line, sizeof line, "\"%s\" child%s", self, preload ? " preload" : "");
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return {0, 0};
    DWORD code = 0;
    if (WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, 0);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return {code >> 16, code & 0xFFFF};
}

Commit Median(std::vector<Commit> v) {
    if (v.empty())
        return {0, 0};
    auto total = [](const Commit& c) { return c.privateKb + c.imageKb; };
    std::sort(v.begin(), v.end(),
              [&](const Commit& a, const Commit& b) { return total(a) < total(b); });
    return v[v.size() / 2];
}

using SetupFn = int(WINAPI*)(HWND);
using CleanUpFn = int(WINAPI*)();

// An export by name, null when the module or the export is missing.
template <typename F>
F Export(HMODULE module, const char* name) {
    return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : nullptr;
}

} // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc > 1 && !strcmp(argv[1], "child"))
        return Child(argc > 2 && !strcmp(argv[2], "preload"));
    int rounds = argc > 1 ? atoi(argv[1]) : 3;
    if (rounds < 1)
        rounds = 1;

    HMODULE noop = LoadLibraryA("vnnoophook.dll");
    HOOKPROC noopProc = Export<HOOKPROC>(noop, "NoopCbtProc");
    HMODULE vnhook = LoadLibraryA("vnhook.dll");
    auto setup = Export<SetupFn>(vnhook, "SetupHookDLL");
    auto cleanUp = Export<CleanUpFn>(vnhook, "CleanUpHookDLL");
    if (!noopProc || !setup || !cleanUp) {
        printf("vnnoophook.dll or vnhook.dll is missing\n");
        return 2;
    }

    std::vector<Commit> none, empty, imports, library;
    for (int r = 0; r < rounds; ++r) {
        printf("round %d: no hook\n", r + 1);
        none.push_back(RunChild(false));
        printf("round %d: do-nothing hook\n", r + 1);
        HHOOK hook = SetWindowsHookExA(WH_CBT, noopProc, noop, 0);
        empty.push_back(RunChild(false));
        UnhookWindowsHookEx(hook);
        printf("round %d: no hook, vnhook's imported libraries loaded\n", r + 1);
        imports.push_back(RunChild(true));
        printf("round %d: vnhook\n", r + 1);
        setup(nullptr);
        library.push_back(RunChild(false));
        cleanUp();
    }
    Commit base = Median(none), noopCommit = Median(empty), deps = Median(imports),
           lib = Median(library);
    auto total = [](const Commit& c) { return static_cast<int>(c.privateKb + c.imageKb); };
    printf("private commit of a process that only creates windows (median of %d):\n", rounds);
    printf("  no hook %d KB, do-nothing hook %d KB, imported libraries only %d KB, vnhook %d KB\n",
           total(base), total(noopCommit), total(deps), total(lib));
    printf("  vnhook adds %d KB over no hook (%d KB over a do-nothing hook)\n",
           total(lib) - total(base), total(lib) - total(noopCommit));
    printf("    the system libraries it imports: %d KB\n", total(deps) - total(base));
    printf("    the library itself: %d KB (its data %u KB, allocations %d KB)\n",
           total(lib) - total(deps), WritableImageKb(vnhook),
           static_cast<int>(lib.privateKb) - static_cast<int>(deps.privateKb));
    return 0;
}
