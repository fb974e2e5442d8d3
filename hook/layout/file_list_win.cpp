#include "hook/layout/file_list_win.h"

#include <shellapi.h>
#include <shlobj.h>

#include "hook/commands/dialog_path_win.h"
#include "hook/core/sizes.h"
#include "hook/core/text.h"
#include "hook/layout/sort_order.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace vn {

namespace {

// A list longer than this keeps the shell's order: gathering its facts would cost the host
// process more memory than the order is worth.
constexpr LRESULT kMaxSortedItems = 65536;
constexpr int kRememberedColumns = 7;

// The order SortFileList prepared for one LVM_SORTITEMS: each item's data value with its place,
// sorted by value.
struct Ranked {
    LPARAM item;
    uint32_t place;
    bool operator<(const Ranked& other) const { return item < other.item; }
};

struct PreparedOrder {
    const Ranked* ranks;
    size_t count;

    uint32_t Rank(LPARAM item) const {
        const Ranked* end = ranks + count;
        const Ranked* it = std::lower_bound(ranks, end, Ranked{item, 0});
        return it != end && it->item == item ? it->place : UINT32_MAX;
    }
};

// The orders being applied at this moment, one per sorting thread at most. CompareFunc is
// exported, so it trusts a sort parameter only when it is one of these.
constexpr int kLiveOrders = 16;
PreparedOrder* volatile g_liveOrders[kLiveOrders];

int MakeLive(PreparedOrder* order) {
    for (int i = 0; i < kLiveOrders; ++i)
        if (!InterlockedCompareExchangePointer(reinterpret_cast<void* volatile*>(&g_liveOrders[i]),
                                               order, nullptr))
            return i;
    return -1;
}

bool IsLive(LPARAM order) {
    for (PreparedOrder* live : g_liveOrders)
        if (live && reinterpret_cast<LPARAM>(live) == order)
            return true;
    return false;
}

// shell32's entry points, found in the process at run time: the library imports no shell
// library and loads none (a dialog with a shell file list has shell32 loaded already).
struct Shell {
    HRESULT(WINAPI* desktopFolder)(IShellFolder**);
    HRESULT(WINAPI* dataFromIdList)(IShellFolder*, LPCITEMIDLIST, int, void*, int);
    DWORD_PTR(WINAPI* fileInfo)(LPCSTR, DWORD, SHFILEINFOA*, UINT, UINT);
    HRESULT(WINAPI* getMalloc)(IMalloc**);
};

template <typename F>
void Find(HMODULE module, const char* name, F* out) {
    *out = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

bool FindShell(Shell* shell) {
    HMODULE module = GetModuleHandleA("shell32.dll");
    if (!module)
        return false;
    Find(module, "SHGetDesktopFolder", &shell->desktopFolder);
    Find(module, "SHGetDataFromIDListA", &shell->dataFromIdList);
    Find(module, "SHGetFileInfoA", &shell->fileInfo);
    Find(module, "SHGetMalloc", &shell->getMalloc);
    return shell->desktopFolder && shell->dataFromIdList && shell->getMalloc;
}

// {000214E6-0000-0000-C000-000000000046}, spelled out so that no import library is needed.
const GUID kIidShellFolder = {0x000214E6, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// The shell's folder object for an absolute path; null when the shell does not know it.
IShellFolder* FolderOf(const Shell& shell, const char* path) {
    wchar_t wide[kMaxPath + 1];
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, kMaxPath + 1))
        return nullptr;
    IShellFolder* desktop = nullptr;
    if (FAILED(shell.desktopFolder(&desktop)) || !desktop)
        return nullptr;
    LPITEMIDLIST absolute = nullptr;
    ULONG eaten = 0;
    void* folder = nullptr;
    if (SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, wide, &eaten, &absolute, nullptr)) &&
        absolute) {
        if (FAILED(desktop->BindToObject(absolute, nullptr, kIidShellFolder, &folder)))
            folder = nullptr;
        IMalloc* memory = nullptr;
        if (SUCCEEDED(shell.getMalloc(&memory)) && memory) {
            memory->Free(absolute);
            memory->Release();
        }
    }
    desktop->Release();
    return static_cast<IShellFolder*>(folder);
}

// Releases a folder object however the sort ends.
struct FolderHold {
    IShellFolder* folder;
    ~FolderHold() {
        if (folder)
            folder->Release();
    }
};

// What the sort knows of one item; its names are in the sort's text pool.
struct Item {
    LPARAM param;
    size_t name, type; // offsets into the pool
    SortFacts facts;
};

// The memory of one sort, taken without exceptions (the library is built without them) and
// given back however the sort ends. Names go into one growing pool of text.
struct SortMemory {
    Item* items = nullptr;
    uint32_t* order = nullptr;
    Ranked* ranks = nullptr;
    SortFacts* facts = nullptr;
    char* pool = nullptr;
    size_t poolUsed = 0, poolSize = 0;

    ~SortMemory() {
        delete[] items;
        delete[] order;
        delete[] ranks;
        delete[] facts;
        free(pool);
    }
    bool Take(size_t count) {
        items = new (std::nothrow) Item[count]();
        order = new (std::nothrow) uint32_t[count];
        ranks = new (std::nothrow) Ranked[count];
        facts = new (std::nothrow) SortFacts[count];
        return items && order && ranks && facts && Add("") == 0;
    }
    // The offset of a copy of text in the pool; 0 (the empty text) when it cannot grow.
    size_t Add(const char* text) {
        size_t n = strlen(text) + 1;
        if (poolUsed + n > poolSize) {
            size_t grown = (poolSize ? poolSize * 2 : 16384) + n;
            char* bigger = static_cast<char*>(realloc(pool, grown));
            if (!bigger)
                return 0;
            pool = bigger;
            poolSize = grown;
        }
        memcpy(pool + poolUsed, text, n);
        poolUsed += n;
        return poolUsed - n;
    }
};

// The list as the sort reads it: through the list view's own procedure, past the procedures that
// subclass it. A subclass may do work of its own on every message, which a sort that asks once an
// item would pay thousands of times over; these questions only read.
struct ListReader {
    HWND list;
    WNDPROC listProc;

    LRESULT Ask(UINT msg, WPARAM wParam, LPARAM lParam) const {
        return CallWindowProcA(listProc, list, msg, wParam, lParam);
    }
};

// The item's facts through the list's own text, for an item the shell folder cannot describe.
bool FactsFromText(const ListReader& list, int index, const char* folder, WIN32_FIND_DATAA* found) {
    char text[kMaxPath + 1] = "";
    LVITEMA item = {};
    item.iSubItem = 0;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    if (list.Ask(LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) <=
        0)
        return false;
    text[kMaxPath] = 0;
    if (strlen(folder) + strlen(text) + 1 > kMaxPath)
        return false;
    char path[kMaxPath + 1];
    JoinPath(path, sizeof path, folder, text);
    HANDLE search = FindFirstFileA(path, found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

void ReadItem(const ListReader& list, int index, const char* folder, const Shell& shell,
              IShellFolder* shellFolder, bool wantType, SortMemory& memory) {
    Item* out = &memory.items[index];
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (list.Ask(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        out->param = item.lParam;
    WIN32_FIND_DATAA found = {};
    bool known =
        shellFolder && out->param &&
        SUCCEEDED(shell.dataFromIdList(shellFolder, reinterpret_cast<LPCITEMIDLIST>(out->param),
                                       SHGDFIL_FINDDATA, &found, sizeof found));
    if (!known)
        known = FactsFromText(list, index, folder, &found);
    if (!known)
        return;
    found.cFileName[sizeof found.cFileName - 1] = 0;
    out->name = memory.Add(found.cFileName);
    out->facts.size = (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    out->facts.written = (static_cast<uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                         found.ftLastWriteTime.dwLowDateTime;
    out->facts.folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    out->facts.readable = true;
    if (wantType && shell.fileInfo) {
        SHFILEINFOA info = {};
        if (shell.fileInfo(found.cFileName, found.dwFileAttributes, &info, sizeof info,
                           SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES)) {
            info.szTypeName[sizeof info.szTypeName - 1] = 0;
            out->type = memory.Add(info.szTypeName);
        }
    }
}

// Names as the user's locale orders them, case ignored.
class LocaleNames final : public NameOrder {
  public:
    int Compare(const char* a, const char* b) override { return lstrcmpiA(a, b); }
};

} // namespace

bool IsDetailsView(HWND list) {
    return (GetWindowLongA(list, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT;
}

size_t SortFileList(HWND dialog, HWND list, WNDPROC listProc, const HookSettings& settings) {
    char folder[kMaxPath + 1];
    if (!listProc || !ReadDialogFolder(dialog, folder, sizeof folder) || !folder[0])
        return 0;
    const ListReader reader = {list, listProc};
    LRESULT listed = reader.Ask(LVM_GETITEMCOUNT, 0, 0);
    if (listed < 1 || listed > kMaxSortedItems)
        return 0;
    const size_t count = static_cast<size_t>(listed);
    SortMemory memory;
    if (!memory.Take(count))
        return 0;
    Shell shell = {};
    FolderHold hold = {FindShell(&shell) ? FolderOf(shell, folder) : nullptr};
    for (size_t i = 0; i < count; ++i)
        ReadItem(reader, static_cast<int>(i), folder, shell, hold.folder,
                 settings.sortBy == kSortByType, memory);
    // The pool may have moved while it grew: the names are pointed at only now.
    for (size_t i = 0; i < count; ++i) {
        memory.facts[i] = memory.items[i].facts;
        memory.facts[i].name = memory.pool + memory.items[i].name;
        memory.facts[i].typeName = memory.pool + memory.items[i].type;
    }
    SortOptions options = {settings.sortBy, settings.sortOrder == 1, settings.foldersOnTop != 0,
                           settings.foldersOnBottom != 0};
    LocaleNames names;
    OrderItems(memory.facts, count, options, names, memory.order);

    for (uint32_t place = 0; place < count; ++place)
        memory.ranks[place] = {memory.items[memory.order[place]].param, place};
    std::sort(memory.ranks, memory.ranks + count);
    PreparedOrder prepared = {memory.ranks, count};
    int live = MakeLive(&prepared);
    if (live < 0)
        return count;
    SendMessageA(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&prepared),
                 reinterpret_cast<LPARAM>(CompareFunc));
    InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&g_liveOrders[live]), nullptr);
    return count;
}

void RecordColumnWidths(HWND list, WNDPROC listProc, HookSettings& settings) {
    for (int i = 0; i < kRememberedColumns; ++i)
        settings.colWidth[i] =
            static_cast<int32_t>(CallWindowProcA(listProc, list, LVM_GETCOLUMNWIDTH, i, 0));
    settings.columnWidthsKnown = 1;
}

void ApplyColumnWidths(HWND list, const HookSettings& settings) {
    for (int i = 0; i < kRememberedColumns; ++i)
        if (UsableColumnWidth(settings.colWidth[i]))
            SendMessageA(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i),
                         MAKELPARAM(settings.colWidth[i], 0));
}

bool ClearHeaderSortMark(HWND list, WNDPROC listProc) {
    HWND header = reinterpret_cast<HWND>(CallWindowProcA(listProc, list, LVM_GETHEADER, 0, 0));
    if (!header || !IsWindowVisible(header))
        return false;
    HDITEMA item = {};
    item.mask = HDI_FORMAT | HDI_BITMAP;
    if (!SendMessageA(header, HDM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return false;
    if (item.fmt & (HDF_BITMAP | HDF_BITMAP_ON_RIGHT))
        item.fmt &= ~(HDF_BITMAP | HDF_BITMAP_ON_RIGHT);
    else if (item.fmt & (HDF_SORTUP | HDF_SORTDOWN))
        item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    else
        return false;
    item.mask = HDI_FORMAT;
    SendMessageA(header, HDM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return true;
}

} // namespace vn

using namespace vn;

int CALLBACK CompareFunc(LPARAM a, LPARAM b, LPARAM order) {
    if (!IsLive(order))
        return 0;
    const PreparedOrder* prepared = reinterpret_cast<const PreparedOrder*>(order);
    uint32_t ra = prepared->Rank(a), rb = prepared->Rank(b);
    return ra < rb ? -1 : (rb < ra ? 1 : 0);
}
