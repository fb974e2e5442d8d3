#include "hook/lists/linux_places_win.h"

#include <windows.h>

#include "hook/commands/dialog_path_win.h"
#include "hook/core/shared_state_win.h"
#include "hook/core/text.h"

#include <cstring>

namespace vn {

namespace {

// Wine's own exports, looked up at run time so that the library loads on Windows too.
using DosFileNameProc = WCHAR*(CDECL*)(const char*);
using UnixFileNameProc = char*(CDECL*)(const WCHAR*);

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

template <typename Proc>
Proc KernelExport(const char* name) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    return kernel ? reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(kernel, name)))
                  : nullptr;
}

// The Windows name Wine gives a Linux path, still wide; freed with FreeDosName. Names outside
// every drive ("\\?\unix\...") are no use to a dialog and count as none.
WCHAR* DosName(const char* linuxPath) {
    static const DosFileNameProc convert = KernelExport<DosFileNameProc>("wine_get_dos_file_name");
    WCHAR* name = convert ? convert(linuxPath) : nullptr;
    if (name && wcsncmp(name, L"\\\\?\\", 4) == 0) {
        HeapFree(GetProcessHeap(), 0, name);
        return nullptr;
    }
    return name;
}

void FreeDosName(WCHAR* name) {
    if (name)
        HeapFree(GetProcessHeap(), 0, name);
}

class WinePlaces final : public PlaceSystem {
  public:
    bool WindowsFolder(const char* linuxPath, char* out, size_t cap) override {
        out[0] = 0;
        WCHAR* name = DosName(linuxPath);
        if (!name)
            return false;
        // A name the ANSI code page cannot hold is left out rather than shown garbled; a UTF-8
        // code page holds every name and takes neither the flag nor the question.
        const bool utf8 = GetACP() == CP_UTF8;
        BOOL lossy = FALSE;
        int n = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, name, -1, out,
                                    static_cast<int>(cap), nullptr, utf8 ? nullptr : &lossy);
        FreeDosName(name);
        if (n <= 0 || lossy || static_cast<size_t>(n) > kMaxPath + 1) {
            out[0] = 0;
            return false;
        }
        return true;
    }
    bool FolderExists(const char* windowsPath) override { return IsExistingFolder(windowsPath); }
};

// Up to kMaxPlacesFileBytes of a Linux file into buf; 0 when it is missing or unreadable. The
// file is opened for reading only, and shared, so that its owner may write it meanwhile.
size_t ReadLinuxFile(const char* linuxPath, char* buf, size_t size) {
    WCHAR* name = DosName(linuxPath);
    if (!name)
        return 0;
    HANDLE file = CreateFileW(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    FreeDosName(name);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD read = 0;
    if (!ReadFile(file, buf, static_cast<DWORD>(size), &read, nullptr))
        read = 0;
    CloseHandle(file);
    return read;
}

void Environment(const char* name, char* out, size_t size) {
    DWORD n = GetEnvironmentVariableA(name, out, static_cast<DWORD>(size));
    if (n == 0 || n >= size)
        out[0] = 0;
}

// dst = folder + tail, or empty when it does not fit.
void JoinLinux(char* dst, size_t cap, const char* folder, const char* tail) {
    if (strlen(folder) + strlen(tail) >= cap) {
        dst[0] = 0;
        return;
    }
    CopyText(dst, cap, folder);
    AppendText(dst, cap, tail);
}

// The user's Linux home. Wine keeps HOME back from Windows programs and gives every process the
// home as WINEHOMEDIR, an NT name ("\??\Z:\home\u", or "\??\unix\home\u" outside every
// drive), which its own mapping turns back into the Linux path. A HOME that is a Linux path is
// taken only where WINEHOMEDIR is missing, as with a Wine that passed HOME on.
void LinuxHome(char* out, size_t size) {
    out[0] = 0;
    WCHAR nt[kMaxPath + 8];
    DWORD n = GetEnvironmentVariableW(L"WINEHOMEDIR", nt, kMaxPath + 8);
    if (n > 4 && n < kMaxPath + 8 && wcsncmp(nt, L"\\??\\", 4) == 0) {
        static const UnixFileNameProc convert =
            KernelExport<UnixFileNameProc>("wine_get_unix_file_name");
        // A drive's name is a DOS name as it stands; any other stays an NT one, spelt "\\?\".
        const WCHAR* dos = nt + 4;
        if (nt[5] != L':') {
            nt[1] = L'\\';
            dos = nt;
        }
        char* name = convert ? convert(dos) : nullptr;
        if (name) {
            if (strlen(name) < size)
                CopyText(out, size, name);
            HeapFree(GetProcessHeap(), 0, name);
        }
    }
    if (!out[0]) {
        Environment("HOME", out, size);
        if (out[0] != '/')
            out[0] = 0;
    }
}

void ReadPlaces(LinuxPlaces& places) {
    places.count = 0;
    char home[kLinuxPathSize], xdg[kLinuxPathSize], config[kLinuxPathSize];
    char path[kLinuxPathSize];
    LinuxHome(home, sizeof home);
    Environment("XDG_CONFIG_HOME", xdg, sizeof xdg);
    if (!ConfigFolder(xdg, home, config, sizeof config))
        return;
    // Both files at once, from the heap: a dialog's thread may have a small stack.
    char* texts = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, 2 * kMaxPlacesFileBytes));
    if (!texts)
        return;
    char* userDirs = texts;
    char* bookmarks = texts + kMaxPlacesFileBytes;
    JoinLinux(path, sizeof path, config, "/user-dirs.dirs");
    size_t userDirsLength = path[0] ? ReadLinuxFile(path, userDirs, kMaxPlacesFileBytes) : 0;
    JoinLinux(path, sizeof path, config, "/gtk-3.0/bookmarks");
    size_t bookmarksLength = path[0] ? ReadLinuxFile(path, bookmarks, kMaxPlacesFileBytes) : 0;
    WinePlaces system;
    CollectLinuxPlaces(userDirs, userDirsLength, bookmarks, bookmarksLength, home, system, places);
    HeapFree(GetProcessHeap(), 0, texts);
}

// One cache per dialog slot, for the dialog window it was read for.
struct PlacesCache {
    uintptr_t dialogWindow;
    LinuxPlaces places;
};
PlacesCache g_placesCache[kDialogSlots];

} // namespace

const LinuxPlaces* PlacesOfDialog(const DialogRecord& record) {
    const SharedState* s = Shared();
    const ptrdiff_t slot = &record - g_dialogs.slots;
    if (!s || !s->settings.includeLinuxPlaces || slot < 0 || slot >= kDialogSlots ||
        !record.dialogWindow)
        return nullptr;
    static const bool underWine = UnderWine();
    if (!underWine)
        return nullptr;
    PlacesCache& cache = g_placesCache[slot];
    if (cache.dialogWindow != record.dialogWindow) {
        cache.dialogWindow = record.dialogWindow;
        ReadPlaces(cache.places);
    }
    return cache.places.count > 0 ? &cache.places : nullptr;
}

} // namespace vn
