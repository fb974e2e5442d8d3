#include "hook/commands/dialog_path_win.h"

#include "hook/core/control_ids.h"
#include "hook/core/path_rules.h"
#include "hook/core/dialog_record.h"
#include "hook/core/messages.h"
#include "hook/core/process_win.h"
#include "hook/core/text.h"
#include "hook/core/ui_win.h"
#include "hook/resources/resource.h"

#include <commdlg.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>

namespace vn {
namespace {

constexpr UINT kCdmGetFilePath = WM_USER + 101;
constexpr UINT kCdmGetFolderPath = WM_USER + 102;

// Kept per process: the posted messages that carry them are handled after the call returns.
char g_deferredName[kMaxPath];
char g_savedName[kMaxPath + 1];

DialogRecord* RecordOf(HWND dialog) {
    int slot = FindDialogRecord(g_dialogs, reinterpret_cast<uintptr_t>(dialog));
    return slot < 0 ? nullptr : &g_dialogs.slots[slot];
}

HWND NameBox(HWND dialog) {
    DialogRecord* r = RecordOf(dialog);
    return r ? GetDlgItem(dialog, r->fileNameControlId) : nullptr;
}

// Asks the dialog for a path (CDM_GETFOLDERPATH or CDM_GETFILEPATH). A dialog of the NT platform
// may answer in UTF-16, which is turned into the ANSI code page.
bool AskDialog(HWND dialog, UINT msg, WPARAM size, char* out, size_t outSize) {
    // Wine's dialog frees the folder it reports when it ends, yet goes on answering with it; its
    // file view goes at the same moment. Without the view there is nothing sound to ask for.
    HWND view = GetDlgItem(dialog, kIdShellView);
    if (!view || !IsWindow(view))
        return false;
    alignas(2) char scratch[602] = {};
    LRESULT reply = SendMessageA(dialog, msg, size, reinterpret_cast<LPARAM>(scratch));
    if (reply < 1)
        return false;
    if (g_process.isNT && reply >= 2 && scratch[1] == 0) {
        int n = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(scratch), -1, out,
                                    static_cast<int>(outSize < kMaxPath ? outSize : kMaxPath),
                                    nullptr, nullptr);
        if (n <= 0)
            out[0] = 0;
        out[outSize - 1] = 0;
    } else {
        CopyField(out, outSize, scratch, sizeof scratch);
    }
    return true;
}

// Presses Enter in the file name box. When the box is a combo box the keys go to the edit field
// inside it, which is where a user's Enter arrives. The OK command it produces is marked as the
// library's own.
void PostEnter(HWND box) {
    g_process.ignoreNextOk = 1;
    HWND edit = FindWindowExA(box, nullptr, "Edit", nullptr);
    HWND target = edit ? edit : box;
    PostMessageA(target, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageA(target, WM_KEYUP, VK_RETURN, static_cast<LPARAM>(0xC01C0001u));
}

bool Usable(HWND box) {
    return box && IsWindowEnabled(box) && IsWindowVisible(box);
}

} // namespace

bool IsExistingFile(const char* path) {
    if (!path || !path[0])
        return false;
    DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsExistingFolder(const char* path) {
    if (!path || !path[0])
        return false;
    char copy[kMaxPath + 2];
    size_t n = CopyText(copy, sizeof copy, path);
    if (n > 0 && copy[n - 1] == '\\')
        copy[n - 1] = 0;
    DWORD a = GetFileAttributesA(copy);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsReadOnlyFile(const char* path) {
    return IsExistingFile(path) && (GetFileAttributesA(path) & FILE_ATTRIBUTE_READONLY);
}

void ClearReadOnly(const char* path) {
    DWORD a = GetFileAttributesA(path);
    if (a != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesA(path, a & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
}

bool HasFileView(HWND dialog) {
    const DialogRecord* r = RecordOf(dialog);
    if (!r || !r->mode.itemDialog)
        return GetDlgItem(dialog, kIdShellView) != nullptr;
    HWND browser = FindWindowExA(dialog, nullptr, kItemBrowserClass, nullptr);
    return browser && FindWindowExA(browser, nullptr, "SHELLDLL_DefView", nullptr);
}

bool ReadDialogFolder(HWND dialog, char* out, size_t size) {
    if (!out || size == 0)
        return false;
    out[0] = 0;
    const DialogRecord* r = RecordOf(dialog);
    if (!r)
        return false;
    if (r->mode.itemDialog)
        return ShellBrowserFolder(FindWindowExA(dialog, nullptr, kItemBrowserClass, nullptr), out,
                                  size);
    return AskDialog(dialog, kCdmGetFolderPath, 270, out, size);
}

bool ReadTypedName(HWND dialog, char* out, size_t size) {
    if (!out || size == 0)
        return false;
    out[0] = 0;
    HWND box = NameBox(dialog);
    if (!box)
        return false;
    char text[kMaxPath + 1] = "";
    if (GetWindowTextA(box, text, sizeof text) <= 0)
        return false;
    CopyText(out, size, text);
    if (HasWildcard(text))
        return false;
    char folder[kMaxPath + 1];
    if (!ReadDialogFolder(dialog, folder, sizeof folder) || !folder[0])
        return false;
    // A full path is the chosen path itself. Wine's dialog would put its folder in front of it.
    if (IsAbsolutePath(text))
        return true;
    FitNameToFolder(text, folder);
    char joined[kMaxPath + 1];
    JoinPath(joined, sizeof joined, folder, text);
    // The item dialog has no message for the path it makes of a name: the name is in its folder.
    const DialogRecord* r = RecordOf(dialog);
    if (IsExistingFile(joined) || (r && r->mode.itemDialog)) {
        CopyText(out, size, text);
        return true;
    }
    char full[kMaxPath + 1];
    if (!AskDialog(dialog, kCdmGetFilePath, kMaxPath, full, sizeof full))
        return false;
    CopyText(out, size, full);
    return true;
}

bool ReadSelectedPath(HWND dialog, char* out, size_t size) {
    if (!out || size == 0)
        return false;
    out[0] = 0;
    char folder[kMaxPath + 1], name[kMaxPath + 1];
    if (!ReadDialogFolder(dialog, folder, sizeof folder) || !folder[0] ||
        !ReadTypedName(dialog, name, sizeof name))
        return false;
    FitNameToFolder(name, folder);
    JoinPath(out, size, folder, name);
    return true;
}

void ShowNameInBox(HWND dialog, const char* name, bool clearIfNamed) {
    DialogRecord* r = RecordOf(dialog);
    HWND box = NameBox(dialog);
    if (!r || !box)
        return;
    if (name) {
        CopyText(g_deferredName, sizeof g_deferredName, name);
        GetWindowTextA(box, r->session.expectedNameText, sizeof r->session.expectedNameText);
        PostMessageA(dialog, MSG_SET_NAME_TEXT, 0, reinterpret_cast<LPARAM>(g_deferredName));
    } else if (clearIfNamed) {
        char typed[kMaxPath + 1], text[kMaxPath + 1] = "";
        ReadTypedName(dialog, typed, sizeof typed);
        GetWindowTextA(box, text, sizeof text);
        if (!CompareNoCase(typed, text, sizeof text))
            SetWindowTextA(box, "");
    }
    SetFocus(box);
}

bool GoToFolder(HWND dialog, const char* path, bool keepName) {
    DialogRecord* r = RecordOf(dialog);
    if (!r)
        return true;
    char target[kMaxPath + 1];
    CopyText(target, kMaxPath, path);
    if (!IsAbsolutePath(target))
        return true;
    if (!IsExistingFolder(target)) {
        char text[256], title[kTitleSize];
        if (LoadLibraryString(IDS_CANNOT_CHANGE_PATH, text, sizeof text) &&
            LoadLibraryString(IDS_WARNING, title, sizeof title))
            MessageBoxFromIdsWithPath(dialog, IDS_CANNOT_CHANGE_PATH, IDS_WARNING, MB_OK, target);
        return false;
    }
    SetCurrentDirectoryA(target);
    HWND box = GetDlgItem(dialog, r->fileNameControlId);
    if (!Usable(box))
        return true;
    g_savedName[0] = 0;
    if (keepName)
        GetWindowTextA(box, g_savedName, sizeof g_savedName);
    size_t n = strlen(target);
    if (n && target[n - 1] != '\\')
        AppendText(target, sizeof target, "\\");
    if (!(target[0] == '\\' && target[1] == '\\') && !IsExistingFolder(target))
        return true;
    SetWindowTextA(box, target);
    CopyText(r->session.expectedNameText, sizeof r->session.expectedNameText, target);
    SetFocus(box);
    PostEnter(box);
    PostMessageA(dialog, MSG_SET_NAME_TEXT, keepName ? 1 : 0,
                 keepName ? reinterpret_cast<LPARAM>(g_savedName) : 0);
    return true;
}

bool GoToFile(HWND dialog, const char* path, bool changeFolder) {
    if (!path)
        return true;
    bool result = true;
    if (changeFolder) {
        char folder[kMaxPath + 1];
        ParentFolder(folder, sizeof folder, path, false);
        if (folder[0] && !GoToFolder(dialog, folder, false))
            result = false;
    }
    char name[kMaxPath + 1];
    CopyText(name, sizeof name, FileNamePart(path));
    ShowNameInBox(dialog, name, false);
    return result;
}

void PathToClipboard(HWND dialog) {
    char path[kMaxPath + 1];
    if (!ReadSelectedPath(dialog, path, sizeof path) &&
        !ReadDialogFolder(dialog, path, sizeof path))
        return;
    size_t length = BoundedLength(path, sizeof path);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length + 1);
    if (!block)
        return;
    char* text = static_cast<char*>(GlobalLock(block));
    if (!text) {
        GlobalFree(block);
        return;
    }
    memcpy(text, path, length);
    GlobalUnlock(block);
    // Another program may hold the clipboard: the block is then ours to free.
    if (!OpenClipboard(dialog)) {
        GlobalFree(block);
        return;
    }
    if (!EmptyClipboard() || !SetClipboardData(CF_TEXT, block))
        GlobalFree(block);
    CloseClipboard();
}

void ApplyMask(HWND dialog, const char* mask) {
    HWND box = NameBox(dialog);
    if (Usable(box)) {
        SetFocus(box);
        PostEnter(box);
    }
    ShowNameInBox(dialog, mask, false);
}

// The browser is asked the way the shell's own views ask it (CWM_GETISHELLBROWSER; the pointer
// is not counted). Its process already has the shell and COM loaded, so their functions are
// looked up there: importing them would load them into every process of the desktop.
bool ShellBrowserFolder(HWND browser, char* out, size_t size) {
    constexpr UINT kCwmGetShellBrowser = WM_USER + 7;
    if (!out || size == 0)
        return false;
    out[0] = 0;
    HMODULE shellLibrary = GetModuleHandleA("shell32.dll");
    HMODULE comLibrary = GetModuleHandleA("ole32.dll");
    using PathFn = BOOL(WINAPI*)(LPCITEMIDLIST, LPSTR);
    using FreeFn = void(WINAPI*)(void*);
    auto toPath = shellLibrary ? reinterpret_cast<PathFn>(reinterpret_cast<void*>(
                                     GetProcAddress(shellLibrary, "SHGetPathFromIDListA")))
                               : nullptr;
    auto freeMemory = comLibrary ? reinterpret_cast<FreeFn>(reinterpret_cast<void*>(
                                       GetProcAddress(comLibrary, "CoTaskMemFree")))
                                 : nullptr;
    // The answer is a pointer: only a browser of this process can give one that means anything.
    DWORD pid = 0;
    if (!browser || !GetWindowThreadProcessId(browser, &pid) || pid != GetCurrentProcessId() ||
        !FindWindowExA(browser, nullptr, "SHELLDLL_DefView", nullptr) || !toPath || !freeMemory)
        return false;
    auto* shellBrowser =
        reinterpret_cast<IShellBrowser*>(SendMessageA(browser, kCwmGetShellBrowser, 0, 0));
    IShellView* view = nullptr;
    if (!shellBrowser || FAILED(shellBrowser->QueryActiveShellView(&view)) || !view)
        return false;
    IFolderView* folderView = nullptr;
    IPersistFolder2* folder = nullptr;
    LPITEMIDLIST pidl = nullptr;
    char path[MAX_PATH] = "";
    bool known = SUCCEEDED(view->QueryInterface(__uuidof(IFolderView),
                                                reinterpret_cast<void**>(&folderView))) &&
                 SUCCEEDED(folderView->GetFolder(__uuidof(IPersistFolder2),
                                                 reinterpret_cast<void**>(&folder))) &&
                 SUCCEEDED(folder->GetCurFolder(&pidl)) && pidl && toPath(pidl, path);
    if (pidl)
        freeMemory(pidl);
    if (folder)
        folder->Release();
    if (folderView)
        folderView->Release();
    view->Release();
    path[MAX_PATH - 1] = 0;
    if (known)
        CopyText(out, size, path);
    return known && path[0];
}

BOOL BrowseForDestination(HWND owner, const char* initialName, char* fileTitle, char* folder) {
    char file[kMaxPath] = "";
    CopyText(file, sizeof file, initialName);
    char title[33] = "";
    LoadLibraryString(IDS_BROWSE, title, sizeof title);
    OPENFILENAMEA ofn = {};
    // The size without the later additions: the dialog the library extends is the classic one.
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = "*.*\0*.*\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrFileTitle = fileTitle;
    ofn.nMaxFileTitle = fileTitle ? kMaxPath : 0;
    ofn.lpstrInitialDir = "";
    ofn.lpstrTitle = title[0] ? title : nullptr;
    ofn.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN |
                OFN_LONGNAMES;
    // The common-dialog library is found when it is needed: importing it would load it, and the
    // shell libraries it pulls in, into every process of the desktop.
    HMODULE comdlg = GetModuleHandleA("comdlg32.dll");
    if (!comdlg)
        comdlg = LoadLibraryA("comdlg32.dll");
    using SaveFn = BOOL(WINAPI*)(OPENFILENAMEA*);
    auto save = comdlg ? reinterpret_cast<SaveFn>(
                             reinterpret_cast<void*>(GetProcAddress(comdlg, "GetSaveFileNameA")))
                       : nullptr;
    if (!save)
        return FALSE;
    g_process.browseFlag = 1;
    BOOL chosen = save(&ofn);
    g_process.browseFlag = 0;
    if (chosen && folder)
        ParentFolder(folder, kMaxPath, file, true);
    return chosen;
}

} // namespace vn
