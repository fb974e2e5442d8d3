// The sample application of the system tests: a second process that creates windows and reads or
// writes the shared state on command, as any hooked application would.
//
//   vnsample windows N            create N top-level windows with a child each, then close them
//   vnsample common               exit status: IsCommonEnabled() of the library
//   vnsample notsocommon          exit status: IsNotSoCommonEnabled()
//   vnsample readsettings MODULE  the library's settings read for MODULE (asks the manager)
//   vnsample addexclude KIND MODULE [TITLE]   add to exclusion list KIND (0, 1, 2), write it and
//                                 tell the manager, as the library does when a dialog closes; exit
//                                 0 when the entry was added, 1 when it was not, 4 when the
//                                 settings file stayed busy. VNSAMPLE_GATE=NAME: first releases
//                                 the semaphore NAME.ready and waits for the event NAME.go, so
//                                 that several samples add at the same moment.
//   vnsample save-db N            write a database of N entries "Entry0".. to the shared path
//   vnsample expect-db N          exit 0 when the shared database holds N entries "Entry0"..
//   vnsample open|save [MS [NAME]]  show the standard Open or Save dialog; after MS milliseconds
//                                 (default 1500) it is closed with NAME typed into the file name
//                                 box (OK), or cancelled when no NAME is given; NAME "-" presses
//                                 OK with the box as it is. Prints the chosen file, and adds it
//                                 to the report as "returned PATH"; exit 0 when the dialog
//                                 returned a file, 1 when cancelled
//                                 VNSAMPLE_RESIZE="W H" resizes it first, as a user would;
//                                 VNSAMPLE_INITIAL_DIR is the folder the application asks for;
//                                 VNSAMPLE_HOOK=1 gives the dialog an application hook, which
//                                 keeps it from getting a sizing border.
//   vnsample item-open|item-save [MS [NAME]]  the same with the Common Item Dialog
//                                 (IFileOpenDialog / IFileSaveDialog through COM): the same
//                                 closing, report, VNSAMPLE_RESIZE and VNSAMPLE_INITIAL_DIR (its
//                                 SetFolder)
//   VNSAMPLE_LOG_CREATION=FILE    with any dialog command: every window this thread creates is
//                                 written to FILE as "CLASS ID PARENTCLASS STYLE W H OWNER|TITLE",
//                                 OWNER the file name of the module that created the window
//   vnsample open-many N MS PREFIX  N Open dialogs one after the other, dialog i closed after MS
//                                 milliseconds with PREFIX<i>.txt typed; exit status: how many
//                                 did not return their file
//                                 VNSAMPLE_BYPASS_INIT=1 keeps WM_INITDIALOG from every procedure
//                                 installed before the application's own.
//   vnsample print [MS]           show the print dialog and cancel it after MS milliseconds
//   vnsample template [MS]        show a dialog of the application's own with the ids of the
//                                 standard file dialog, closed after MS milliseconds
//   vnsample picker [MS]          show "Sample Picker", the application's own file dialog (a name
//                                 box 300, a file-type list 301, OK and Cancel; nothing of the
//                                 common-dialog library), cancelled after MS milliseconds
//                                 (default 60000) when nobody ends it. Prints and reports
//                                 "returned NAME" (the name box's text at OK) or "returned
//                                 <cancelled>"; exit 0 for OK, 1 for Cancel.
//                                 VNSAMPLE_PICKER_NAME is the name box's first text;
//                                 VNSAMPLE_PICKER_DESTROY=1 destroys the dialog at MS instead.
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "hook/commands/dialog_path_win.h"
#include "hook/core/settings.h"
#include "hook/core/settings_win.h"
#include "hook/core/manager_link_win.h"
#include "hook/core/text.h"
#include "hook/trained/trained_db_win.h"
#include "tests/wine/wine_check.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace vn;

namespace {

int CreateWindows(int n) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VnSampleWindow";
    RegisterClassA(&wc);
    for (int i = 0; i < n; ++i) {
        HWND top = CreateWindowExA(0, "VnSampleWindow", "Sample", WS_OVERLAPPEDWINDOW, 10, 10, 300,
                                   200, nullptr, nullptr, wc.hInstance, nullptr);
        HWND child = CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE, 5, 5, 60, 20, top,
                                     reinterpret_cast<HMENU>(1), wc.hInstance, nullptr);
        if (!top || !child)
            return 1;
        DestroyWindow(top);
    }
    return 0;
}

// Closing a dialog from a timer: the dialog is the active window of this thread when it fires.
UINT g_closeAfterMs = 1500;
const char* g_typeName = nullptr;

HWND ThisThreadsDialog() {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetCurrentThreadId(), &info) && info.hwndActive)
        return info.hwndActive;
    return nullptr;
}

// One line for each child window of the dialog: "TAG CLASS ID VISIBLE L T R B TEXT", in screen
// coordinates. A drop-down box's window rectangle is its closed box; its list is a window of its
// own while open.
std::string DescribeControls(HWND dlg, const char* tag) {
    std::string lines;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[64] = "", text[256] = "", line[400];
        GetClassNameA(c, cls, sizeof cls);
        GetWindowTextA(c, text, sizeof text);
        RECT rc = {};
        GetWindowRect(c, &rc);
        snprintf(line, sizeof line, "%s %s %d %d %ld %ld %ld %ld %s\n", tag, cls, GetDlgCtrlID(c),
                 IsWindowVisible(c) ? 1 : 0, rc.left, rc.top, rc.right, rc.bottom, text);
        lines += line;
    }
    return lines;
}

// The shell's file list: "details 0|1", a "width N W" line for each of its first seven columns
// and an "item TEXT" line for each item, in the order shown.
std::string DescribeFileList(HWND dlg) {
    HWND view = GetDlgItem(dlg, 1121);
    HWND list = view ? FindWindowExA(view, nullptr, "SysListView32", nullptr) : nullptr;
    if (!list)
        return "";
    char line[400];
    snprintf(line, sizeof line, "details %d\n",
             (GetWindowLongA(list, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT ? 1 : 0);
    std::string lines = line;
    for (int column = 0; column < 7; ++column) {
        snprintf(line, sizeof line, "width %d %d\n", column,
                 static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0)));
        lines += line;
    }
    for (int i = 0, n = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); i < n; ++i) {
        char text[MAX_PATH] = "";
        LVITEMA item = {};
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, i, reinterpret_cast<LPARAM>(&item));
        lines += std::string("item ") + text + "\n";
    }
    return lines;
}

// The report file, next to the program: a dialog changes the current folder as it navigates.
void ReportPath(char (&path)[MAX_PATH + 32]) {
    path[0] = 0;
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    char* slash = strrchr(path, '\\');
    snprintf(slash ? slash + 1 : path, 32, "%s", "vnsample-report.txt");
}

// What the dialog looked like just before it was closed, for the test manager to check:
// "rect L T R B", "client L T R B" (the client area on the screen), "visible 0|1",
// "folder PATH", "ok L T R B" (the OK button) lines, and a "control" line for each child window,
// in vnsample-report.txt; before those, shown is what the dialog looked like when it was first
// shown, if that was different.
void ReportDialog(HWND dlg, const std::string& shown) {
    char path[MAX_PATH + 32];
    ReportPath(path);
    FILE* f = fopen(path, "w");
    if (!f)
        return;
    RECT rc = {};
    GetWindowRect(dlg, &rc);
    char folder[MAX_PATH * 2] = "";
    SendMessageA(dlg, WM_USER + 102, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    if (!folder[0]) // the item dialog has no message for it
        ShellBrowserFolder(FindWindowExA(dlg, nullptr, kItemBrowserClass, nullptr), folder,
                           sizeof folder);
    fprintf(f, "rect %ld %ld %ld %ld\nvisible %d\nfolder %s\n", rc.left, rc.top, rc.right,
            rc.bottom, IsWindowVisible(dlg) ? 1 : 0, folder);
    RECT client = {};
    GetClientRect(dlg, &client);
    MapWindowPoints(dlg, nullptr, reinterpret_cast<POINT*>(&client), 2);
    fprintf(f, "client %ld %ld %ld %ld\n", client.left, client.top, client.right, client.bottom);
    // The dialog's own controls whose places the layout decides: OK, the file list, the name
    // and type boxes.
    const struct {
        const char* name;
        int id;
    } controls[] = {{"ok", IDOK}, {"list", 1121}, {"name", 1148}, {"types", 1136}, {"cancel", 2}};
    for (const auto& c : controls) {
        RECT rc2 = {};
        GetWindowRect(GetDlgItem(dlg, c.id), &rc2);
        fprintf(f, "%s %ld %ld %ld %ld\n", c.name, rc2.left, rc2.top, rc2.right, rc2.bottom);
    }
    fputs(shown.c_str(), f);
    fputs(DescribeControls(dlg, "control").c_str(), f);
    fputs(DescribeFileList(dlg).c_str(), f);
    fclose(f);
}

void CALLBACK CloseDialogTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dlg = ThisThreadsDialog();
    if (!dlg)
        return; // not shown yet: try again at the next tick
    // A dialog still hidden is given a while to appear, as a user would wait for it.
    static DWORD firstHidden = 0;
    if (!IsWindowVisible(dlg)) {
        if (!firstHidden)
            firstHidden = GetTickCount();
        if (GetTickCount() - firstHidden < 8000)
            return;
    }
    firstHidden = 0;
    KillTimer(nullptr, id);
    // VNSAMPLE_RESIZE="W H": the user resizes the dialog before closing it.
    char resize[32];
    int w = 0, h = 0;
    std::string shown;
    if (GetEnvironmentVariableA("VNSAMPLE_RESIZE", resize, sizeof resize) &&
        sscanf(resize, "%d %d", &w, &h) == 2) {
        shown = DescribeControls(dlg, "shown");
        SetWindowPos(dlg, nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);
    }
    ReportDialog(dlg, shown);
    if (g_typeName) {
        // The file name box is combo 1148 in the explorer-style dialog, edit 1152 in others.
        HWND box = GetDlgItem(dlg, 1148);
        if (!box)
            box = GetDlgItem(dlg, 1152);
        if (strcmp(g_typeName, "-") != 0)
            SetWindowTextA(box, g_typeName);
        PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
    } else {
        PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDCANCEL)));
    }
}

// Adds "returned PATH" to the report of the dialog that has just returned.
void ReportReturned(const char* file) {
    char path[MAX_PATH + 32];
    ReportPath(path);
    if (FILE* f = fopen(path, "a")) {
        fprintf(f, "returned %s\n", file);
        fclose(f);
    }
}

// VNSAMPLE_LOG_CREATION=FILE: the creation sequence of a dialog as a hook sees it, for the tables
// of the classifier's tests.
FILE* g_creationLog = nullptr;

LRESULT CALLBACK CreationLogHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && g_creationLog) {
        HWND w = reinterpret_cast<HWND>(wParam);
        const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        char cls[64] = "", parentCls[64] = "-", owner[MAX_PATH] = "", title[80] = "";
        GetClassNameA(w, cls, sizeof cls);
        if (cs->hwndParent)
            GetClassNameA(cs->hwndParent, parentCls, sizeof parentCls);
        auto instance = reinterpret_cast<HMODULE>(GetWindowLongPtrA(w, GWLP_HINSTANCE));
        if (instance)
            GetModuleFileNameA(instance, owner, sizeof owner);
        if (cs->lpszName && reinterpret_cast<UINT_PTR>(cs->lpszName) >= 0x10000)
            snprintf(title, sizeof title, "%s", cs->lpszName);
        const char* ownerName = strrchr(owner, '\\');
        fprintf(g_creationLog, "%s %lu %s 0x%08lX %d %d %s|%s\n", cls,
                (cs->style & WS_CHILD)
                    ? static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(cs->hMenu))
                    : 0ul,
                parentCls, static_cast<unsigned long>(cs->style), cs->cx, cs->cy,
                ownerName ? ownerName + 1 : owner, title);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct CreationLog {
    HHOOK hook = nullptr;
    CreationLog() {
        char path[MAX_PATH] = "";
        if (!GetEnvironmentVariableA("VNSAMPLE_LOG_CREATION", path, sizeof path))
            return;
        g_creationLog = fopen(path, "w");
        if (g_creationLog)
            hook = SetWindowsHookExA(WH_CBT, CreationLogHook, nullptr, GetCurrentThreadId());
    }
    ~CreationLog() {
        if (hook)
            UnhookWindowsHookEx(hook);
        if (g_creationLog)
            fclose(g_creationLog);
        g_creationLog = nullptr;
    }
};

// VNSAMPLE_BYPASS_INIT=1: the application subclasses its file dialog as it is built and hands
// WM_INITDIALOG straight to the dialog class, so that a procedure installed before its own never
// sees the dialog's initialisation.
WNDPROC g_beforeBypass = nullptr;

LRESULT CALLBACK BypassInitProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        auto classProc = reinterpret_cast<WNDPROC>(GetClassLongPtrA(dlg, GCLP_WNDPROC));
        return CallWindowProcA(classProc, dlg, msg, wParam, lParam);
    }
    return CallWindowProcA(g_beforeBypass, dlg, msg, wParam, lParam);
}

LRESULT CALLBACK BypassHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && !g_beforeBypass) {
        auto* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
        HWND parent = create->lpcs->hwndParent;
        char cls[16] = "";
        if (reinterpret_cast<UINT_PTR>(create->lpcs->hMenu) == IDCANCEL && parent &&
            GetClassNameA(parent, cls, sizeof cls) && !strcmp(cls, "#32770"))
            g_beforeBypass = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
                parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BypassInitProc)));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

UINT_PTR CALLBACK QuietHook(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

int FileDialog(bool save) {
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = "Text files (*.txt)\0*.txt\0All files (*.*)\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | (save ? OFN_OVERWRITEPROMPT : 0);
    // VNSAMPLE_INITIAL_DIR: the folder the application asks the dialog to open in.
    char initial[MAX_PATH] = "";
    if (GetEnvironmentVariableA("VNSAMPLE_INITIAL_DIR", initial, sizeof initial))
        ofn.lpstrInitialDir = initial;
    char hooked[4] = "";
    if (GetEnvironmentVariableA("VNSAMPLE_HOOK", hooked, sizeof hooked) && hooked[0] == '1') {
        ofn.Flags |= OFN_ENABLEHOOK;
        ofn.lpfnHook = QuietHook;
    }
    SetTimer(nullptr, 0, g_closeAfterMs, CloseDialogTimer);
    char bypass[4] = "";
    HHOOK hook = nullptr;
    if (GetEnvironmentVariableA("VNSAMPLE_BYPASS_INIT", bypass, sizeof bypass) && bypass[0] == '1')
        hook = SetWindowsHookExA(WH_CBT, BypassHook, nullptr, GetCurrentThreadId());
    BOOL ok = FALSE;
    {
        CreationLog log;
        ok = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    }
    if (hook)
        UnhookWindowsHookEx(hook);
    printf("%s\n", ok ? file : "<cancelled>");
    ReportReturned(ok ? file : "<cancelled>");
    return ok ? 0 : 1;
}

// The Common Item Dialog, as applications written since Vista show it: the result is the file
// system path of the chosen item.
int ItemDialog(bool save) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 3;
    IFileDialog* dialog = nullptr;
    HRESULT hr = save ? CoCreateInstance(CLSID_FileSaveDialog, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IFileSaveDialog, reinterpret_cast<void**>(&dialog))
                      : CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IFileOpenDialog, reinterpret_cast<void**>(&dialog));
    if (FAILED(hr) || !dialog) {
        printf("vnsample: no item dialog (0x%08lx)\n", static_cast<unsigned long>(hr));
        CoUninitialize();
        return 3;
    }
    const COMDLG_FILTERSPEC types[] = {{L"Text files (*.txt)", L"*.txt"},
                                       {L"All files (*.*)", L"*.*"}};
    dialog->SetFileTypes(2, types);
    wchar_t initial[MAX_PATH] = L"";
    IShellItem* folder = nullptr;
    if (GetEnvironmentVariableW(L"VNSAMPLE_INITIAL_DIR", initial, MAX_PATH) &&
        SUCCEEDED(SHCreateItemFromParsingName(initial, nullptr, IID_IShellItem,
                                              reinterpret_cast<void**>(&folder)))) {
        dialog->SetFolder(folder);
        folder->Release();
    }
    CreationLog log; // the application's own controls are made before the dialog
    char custom[4] = "";
    IFileDialogCustomize* customize = nullptr;
    if (GetEnvironmentVariableA("VNSAMPLE_ITEM_CUSTOM", custom, sizeof custom) &&
        custom[0] == '1' &&
        SUCCEEDED(dialog->QueryInterface(IID_IFileDialogCustomize,
                                         reinterpret_cast<void**>(&customize)))) {
        customize->AddCheckButton(100, L"Sample option", FALSE);
        customize->AddPushButton(101, L"Sample button");
        customize->Release();
    }
    SetTimer(nullptr, 0, g_closeAfterMs, CloseDialogTimer);
    char file[MAX_PATH] = "";
    bool ok = false;
    ok = SUCCEEDED(dialog->Show(nullptr));
    IShellItem* result = nullptr;
    if (ok && SUCCEEDED(dialog->GetResult(&result)) && result) {
        wchar_t* path = nullptr;
        if (SUCCEEDED(result->GetDisplayName(SIGDN_FILESYSPATH, &path)) && path) {
            WideCharToMultiByte(CP_ACP, 0, path, -1, file, sizeof file, nullptr, nullptr);
            CoTaskMemFree(path);
        }
        result->Release();
    }
    ok = ok && file[0];
    dialog->Release();
    CoUninitialize();
    printf("%s\n", ok ? file : "<cancelled>");
    ReportReturned(ok ? file : "<cancelled>");
    return ok ? 0 : 1;
}

int PrintDialog() {
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof pd;
    SetTimer(nullptr, 0, g_closeAfterMs, CloseDialogTimer);
    PrintDlgA(&pd);
    return 0;
}

// A dialog of the application's own, built from a template in memory, whose controls carry the
// ids of the standard file dialog: it must never be mistaken for one.
INT_PTR CALLBACK TemplateProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_INITDIALOG) {
        SetTimer(dlg, 1, g_closeAfterMs, nullptr);
        return TRUE;
    }
    if (msg == WM_TIMER || (msg == WM_COMMAND && LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dlg, 0);
        return TRUE;
    }
    return FALSE;
}

int TemplateDialog() {
    struct Item {
        WORD id;
        WORD cls; // 0x0080 button, 0x0081 edit, 0x0082 static, 0x0083 list box, 0x0085 combo
    };
    const Item items[] = {{1091, 0x82}, {1137, 0x85}, {1088, 0x82}, {1120, 0x83}, {1090, 0x82},
                          {1152, 0x81}, {1089, 0x82}, {1136, 0x85}, {1, 0x80},    {2, 0x80}};
    std::vector<WORD> t(1024, 0);
    size_t n = 0;
    auto dword = [&](DWORD v) {
        t[n++] = LOWORD(v);
        t[n++] = HIWORD(v);
    };
    auto align = [&]() {
        if (n % 2)
            t[n++] = 0;
    };
    dword(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT);
    dword(0);
    t[n++] = static_cast<WORD>(sizeof items / sizeof items[0]);
    t[n++] = 10;
    t[n++] = 10;
    t[n++] = 200;
    t[n++] = 120;
    t[n++] = 0; // menu
    t[n++] = 0; // class
    for (const char* p = "Open"; *p; ++p)
        t[n++] = static_cast<WORD>(*p);
    t[n++] = 0;
    t[n++] = 8;
    for (const char* p = "MS Shell Dlg"; *p; ++p)
        t[n++] = static_cast<WORD>(*p);
    t[n++] = 0;
    short y = 5;
    for (const Item& item : items) {
        align();
        dword(WS_CHILD | WS_VISIBLE);
        dword(0);
        t[n++] = 5;
        t[n++] = static_cast<WORD>(y);
        t[n++] = 80;
        t[n++] = 10;
        y = static_cast<short>(y + 11);
        t[n++] = item.id;
        t[n++] = 0xFFFF;
        t[n++] = item.cls;
        t[n++] = 0; // no title
        t[n++] = 0; // no creation data
    }
    CreationLog log;
    DialogBoxIndirectA(GetModuleHandleA(nullptr), reinterpret_cast<DLGTEMPLATE*>(t.data()), nullptr,
                       TemplateProc);
    return 0;
}

// The application's own file dialog: it looks like one to a user, but its window, name box and
// file-type list are the application's, so the library can only know it by training.
constexpr int kPickerName = 300;
constexpr int kPickerTypes = 301;

INT_PTR CALLBACK PickerProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG: {
        HWND types = GetDlgItem(dlg, kPickerTypes);
        for (const char* item : {"Text Documents (*.txt)", "Log files (*.log)", "All Files (*.*)"})
            SendMessageA(types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendMessageA(types, CB_SETCURSEL, 0, 0);
        char first[MAX_PATH] = "*.txt";
        GetEnvironmentVariableA("VNSAMPLE_PICKER_NAME", first, sizeof first);
        SetDlgItemTextA(dlg, kPickerName, first);
        SetTimer(dlg, 1, g_closeAfterMs, nullptr);
        return TRUE;
    }
    case WM_TIMER: {
        // VNSAMPLE_PICKER_DESTROY=1: the application destroys its dialog, whatever is open.
        char destroy[4] = "";
        if (GetEnvironmentVariableA("VNSAMPLE_PICKER_DESTROY", destroy, sizeof destroy)) {
            ReportReturned("<destroyed>");
            DestroyWindow(dlg);
        } else {
            EndDialog(dlg, IDCANCEL);
        }
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            char name[MAX_PATH] = "";
            GetDlgItemTextA(dlg, kPickerName, name, sizeof name);
            const char* result = LOWORD(wParam) == IDOK ? name : "<cancelled>";
            printf("returned %s\n", result);
            ReportReturned(result);
            EndDialog(dlg, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

int PickerDialog() {
    char report[MAX_PATH + 32];
    ReportPath(report);
    DeleteFileA(report);
    struct Item {
        WORD id;
        WORD cls; // 0x0080 button, 0x0081 edit, 0x0082 static, 0x0085 combo
        DWORD style;
        short x, y, cx, cy;
        const char* text;
    };
    const Item items[] = {
        {0xFFFF, 0x82, SS_LEFT, 7, 9, 50, 8, "File &name:"},
        {kPickerName, 0x81, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 60, 7, 150, 12, ""},
        {0xFFFF, 0x82, SS_LEFT, 7, 27, 50, 8, "File &type:"},
        {kPickerTypes, 0x85, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 60, 25, 150, 60, ""},
        {IDOK, 0x80, BS_DEFPUSHBUTTON | WS_TABSTOP, 60, 50, 50, 14, "OK"},
        {IDCANCEL, 0x80, BS_PUSHBUTTON | WS_TABSTOP, 120, 50, 50, 14, "Cancel"},
    };
    std::vector<WORD> t(1024, 0);
    size_t n = 0;
    auto dword = [&](DWORD v) {
        t[n++] = LOWORD(v);
        t[n++] = HIWORD(v);
    };
    auto text = [&](const char* p) {
        for (; *p; ++p)
            t[n++] = static_cast<WORD>(*p);
        t[n++] = 0;
    };
    dword(DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT);
    dword(0);
    t[n++] = static_cast<WORD>(sizeof items / sizeof items[0]);
    t[n++] = 10;
    t[n++] = 10;
    t[n++] = 240;
    t[n++] = 72;
    t[n++] = 0; // menu
    t[n++] = 0; // class
    text("Sample Picker");
    t[n++] = 8;
    text("MS Shell Dlg");
    for (const Item& item : items) {
        if (n % 2)
            t[n++] = 0;
        dword(WS_CHILD | WS_VISIBLE | item.style);
        dword(0);
        t[n++] = static_cast<WORD>(item.x);
        t[n++] = static_cast<WORD>(item.y);
        t[n++] = static_cast<WORD>(item.cx);
        t[n++] = static_cast<WORD>(item.cy);
        t[n++] = item.id;
        t[n++] = 0xFFFF;
        t[n++] = item.cls;
        text(item.text);
        t[n++] = 0; // no creation data
    }
    INT_PTR r = DialogBoxIndirectA(GetModuleHandleA(nullptr),
                                   reinterpret_cast<DLGTEMPLATE*>(t.data()), nullptr, PickerProc);
    return r == IDOK ? 0 : 1;
}

// VNSAMPLE_GATE=NAME: says it is ready (semaphore NAME.ready) and waits, up to a minute, for
// the start (event NAME.go).
void WaitAtGate() {
    char gate[64];
    DWORD n = GetEnvironmentVariableA("VNSAMPLE_GATE", gate, sizeof gate);
    if (n == 0 || n >= sizeof gate)
        return;
    char name[80];
    snprintf(name, sizeof name, "%s.ready", gate);
    HANDLE ready = OpenSemaphoreA(SEMAPHORE_MODIFY_STATE, FALSE, name);
    snprintf(name, sizeof name, "%s.go", gate);
    HANDLE go = OpenEventA(SYNCHRONIZE, FALSE, name);
    if (ready)
        ReleaseSemaphore(ready, 1, nullptr);
    if (go)
        WaitForSingleObject(go, 60000);
    if (ready)
        CloseHandle(ready);
    if (go)
        CloseHandle(go);
}

typedef BOOL(WINAPI* QueryFn)(void);

int QueryLibrary(const char* name) {
    HMODULE lib = LoadLibraryA("vnhook.dll");
    auto fn = lib ? reinterpret_cast<QueryFn>(reinterpret_cast<void*>(GetProcAddress(lib, name)))
                  : nullptr;
    return fn ? (fn() ? 1 : 0) : 2;
}

std::vector<TrainedEntry> MakeEntries(int n) {
    std::vector<TrainedEntry> entries(static_cast<size_t>(n > 0 ? n : 0));
    for (int i = 0; i < n; ++i) {
        TrainedEntry& e = entries[static_cast<size_t>(i)];
        memset(&e, 0, sizeof e);
        snprintf(e.appName, sizeof e.appName, "Entry%d", i);
        snprintf(e.moduleName, sizeof e.moduleName, "app%d", i);
        e.width = 400 + i;
        e.enabled = 1;
    }
    return entries;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printf("usage: vnsample command [arguments]\n");
        return 2;
    }
    const char* cmd = argv[1];
    // Tells a test whether this machine runs the sample's build: its status is its bitness.
    if (!strcmp(cmd, "bitness"))
        return static_cast<int>(sizeof(void*) * 8);
    if (!strcmp(cmd, "windows"))
        return CreateWindows(argc > 2 ? atoi(argv[2]) : 1);
    if (!strcmp(cmd, "open") || !strcmp(cmd, "save") || !strcmp(cmd, "print") ||
        !strcmp(cmd, "template") || !strcmp(cmd, "item-open") || !strcmp(cmd, "item-save")) {
        if (argc > 2)
            g_closeAfterMs = static_cast<UINT>(atoi(argv[2]));
        g_typeName = argc > 3 ? argv[3] : nullptr;
        if (!strcmp(cmd, "print"))
            return PrintDialog();
        if (!strcmp(cmd, "template"))
            return TemplateDialog();
        if (!strncmp(cmd, "item-", 5))
            return ItemDialog(!strcmp(cmd, "item-save"));
        return FileDialog(!strcmp(cmd, "save"));
    }
    if (!strcmp(cmd, "picker")) {
        g_closeAfterMs = argc > 2 ? static_cast<UINT>(atoi(argv[2])) : 60000;
        return PickerDialog();
    }
    if (!strcmp(cmd, "open-many") && argc > 4) {
        g_closeAfterMs = static_cast<UINT>(atoi(argv[3]));
        int missed = 0;
        for (int i = 0, n = atoi(argv[2]); i < n; ++i) {
            std::string name = std::string(argv[4]) + std::to_string(i) + ".txt";
            g_typeName = name.c_str();
            missed += FileDialog(false) != 0;
        }
        return missed;
    }
    if (!strcmp(cmd, "common"))
        return QueryLibrary("IsCommonEnabled");
    if (!strcmp(cmd, "notsocommon"))
        return QueryLibrary("IsNotSoCommonEnabled");

    SharedState* s = Shared();
    if (!s) {
        printf("vnsample: the shared state cannot be mapped\n");
        return 3;
    }
    if (!strcmp(cmd, "readsettings") && argc > 2) {
        ReadHookSettings(*s, argv[2]);
        return 0;
    }
    if (!strcmp(cmd, "addexclude") && argc > 3) {
        WaitAtGate();
        ExcludeWrite done = AddExcludeToFile(*s, static_cast<ExcludeKind>(atoi(argv[2]) % 3),
                                             argv[3], argc > 4 ? argv[4] : nullptr);
        SendToManager(*s, MSG_SETTINGS_CHANGED, reinterpret_cast<WPARAM>(argv[3]), 0, nullptr);
        return done == ExcludeWrite::kChanged ? 0 : done == ExcludeWrite::kBusy ? 4 : 1;
    }
    if (!strcmp(cmd, "save-db") && argc > 2) {
        std::vector<TrainedEntry> entries = MakeEntries(atoi(argv[2]));
        return SaveTrainedDatabaseFile(s->trainedDbPath, entries.data(),
                                       static_cast<int>(entries.size()))
                   ? 0
                   : 1;
    }
    if (!strcmp(cmd, "expect-db") && argc > 2) {
        int n = atoi(argv[2]);
        CHECK(TrainedCount(*s) == n, "shared count %d, expected %d", s->trainedCount, n);
        for (int i = 0; i < n && i < TrainedCount(*s); ++i) {
            char name[16];
            snprintf(name, sizeof name, "Entry%d", i);
            CHECK(!strcmp(s->trainedEntries[i].appName, name), "entry %d is %.79s", i,
                  s->trainedEntries[i].appName);
            CHECK(s->trainedEntries[i].length == kTrainedRecordSize, "entry %d length %u", i,
                  s->trainedEntries[i].length);
        }
        return CheckSummary("vnsample expect-db");
    }
    printf("vnsample: unknown command %s\n", cmd);
    return 2;
}
