// System test of the dialog layout: the layout code runs in this process on real dialogs of
// Wine's comdlg32, on the 1024 x 768 screen of the test display. A small dialog procedure stands in
// for the library's: it keeps the dialog hidden until it is placed, forces the computed placement,
// runs the first layout after the dialog's own WM_INITDIALOG and lays resizable dialogs out again
// on every size change. One scenario per run:
//
//   vnlayouttest fixed       the standard Open dialog with a hook: enlarged in two passes, centred
//   vnlayouttest resizable   the same with a sizing border: enlarged, re-laid out on size changes
//   vnlayouttest odd-tree    a dialog of our own with only some of the standard controls, a
//                            control inside a plain container and a nested dialog template
//
// The two Open dialog scenarios leave a screenshot of the extended dialog in the working folder
// (layout-fixed.png, layout-resizable.png).
#include <windows.h>

#include <commdlg.h>

#include "hook/takeover/dialog_proc_win.h"
#include "hook/core/shared_state_win.h"
#include "hook/layout/layout_rules.h"
#include "hook/layout/layout_win.h"
#include "tests/wine/wine_check.h"
#include "tests/wine/wine_support.h"

#include <cstdio>
#include <cstring>
#include <string>

using namespace vn;

namespace {

constexpr UINT kMsgLayOut = WM_APP + 1;
constexpr UINT_PTR kCheckTimer = 1;
constexpr int kScreenW = 1024, kScreenH = 768;

HWND g_dialog;
int g_slot = -1;
WNDPROC g_savedProc;
bool g_resizableRun;
bool g_checked;

DialogRecord& Record() {
    return g_dialogs.slots[g_slot];
}

RECT WindowRectOf(HWND w) {
    RECT r = {0, 0, 0, 0};
    GetWindowRect(w, &r);
    return r;
}

// A control's rectangle relative to the dialog's window: unchanged by moving the dialog.
RECT Relative(HWND dialog, int id) {
    RECT r = WindowRectOf(GetDlgItem(dialog, id));
    RECT d = WindowRectOf(dialog);
    return {r.left - d.left, r.top - d.top, r.right - d.left, r.bottom - d.top};
}

// Position in the parent's client area.
POINT ClientPos(HWND w) {
    RECT r = WindowRectOf(w);
    POINT p = {r.left, r.top};
    MapWindowPoints(nullptr, GetAncestor(w, GA_PARENT), &p, 1);
    return p;
}

int W(const RECT& r) {
    return r.right - r.left;
}
int H(const RECT& r) {
    return r.bottom - r.top;
}

void PrepareSettings() {
    SharedState* s = Shared();
    CHECK(s != nullptr, "the shared state cannot be mapped");
    if (!s)
        return;
    HookSettings& k = s->settings;
    k.sizing = 1;
    k.width32 = 70;
    k.height32 = 70;
    k.lengthenDrive = k.lenDriveLimit = k.lengthenTypes = k.lenTypesLimit = 1;
    k.lenDriveLimitNum = k.lenTypesLimitNum = 25;
    k.viewDetails = 0;
    // The enlargement alone: the rows the library adds are tested through the real hook. What
    // is left of them is the margin under the dialog's own controls, which AddedRows() counts.
    k.addVnButtons = k.addVantorButton = k.showInfoLine = k.showRecent = k.showFavorites = 0;
}

// The height the added rows took, between the width and the height pass.
int AddedRows() {
    const DialogRecord::Layout& l = Record().layout;
    return l.listsHeight + l.infoLineHeight + l.buttonRowHeight;
}

int OpenRecord(HWND dialog) {
    int slot = OpenDialogRecord(g_dialogs);
    if (slot >= kDialogSlots)
        return -1;
    DialogRecord& r = g_dialogs.slots[slot];
    r.dialogWindow = reinterpret_cast<uintptr_t>(dialog);
    r.fileNameControlId = GetDlgItem(dialog, 1152) || !GetDlgItem(dialog, 1148) ? 1152 : 1148;
    r.placement.resizable = (GetWindowLongA(dialog, GWL_STYLE) & WS_THICKFRAME) ? 1 : 0;
    r.placement.centerDialog = 1;
    return slot;
}

// --- the standard Open dialog ----------------------------------------------------------------

// Geometry before the layout, taken after the dialog's own initialisation.
struct Before {
    RECT dialog, list, ok, types;
} g_before;

void CheckFixed(HWND dialog) {
    DialogRecord& r = Record();
    RECT d = WindowRectOf(dialog);
    int w0 = W(g_before.dialog), h0 = H(g_before.dialog);
    CHECK(w0 < 716 && h0 < 537, "Wine's dialog starts smaller than the target (%d x %d)", w0, h0);
    int dx = 716 - w0 - 1, dy = 537 - (h0 + AddedRows()) - 1;
    CHECK(d.left == 154 && d.top == 115 && W(d) == 716 && H(d) == 537,
          "centred at 716 x 537: %ld,%ld %d x %d", d.left, d.top, W(d), H(d));
    CHECK(r.placement.placementLeft == d.left && r.placement.placementTop == d.top &&
              r.placement.placementWidth == W(d) && r.placement.placementHeight == H(d),
          "the placement is where the dialog is");
    CHECK(r.placement.placementReady && r.placement.placementApplied && r.layout.layoutReady,
          "layout states set");
    CHECK(IsWindowVisible(dialog), "the dialog is shown");
    CHECK(r.layout.addedWidth == 0 && r.layout.addedHeight == dy && r.layout.baseHeight == 537,
          "last pass: added %d x %d, base %d", r.layout.addedWidth, r.layout.addedHeight,
          r.layout.baseHeight);
    CHECK(r.layout.origRight == g_before.dialog.right &&
              r.layout.origBottom == g_before.dialog.bottom,
          "original edges kept");

    RECT list = Relative(dialog, 1121);
    CHECK(W(list) == W(g_before.list) + dx && H(list) == H(g_before.list) + dy,
          "the file list grew by %d x %d: %d x %d -> %d x %d", dx, dy, W(g_before.list),
          H(g_before.list), W(list), H(list));
    CHECK(list.left == g_before.list.left && list.top == g_before.list.top,
          "the file list stays where it was");
    RECT placeholder = Relative(dialog, 1120);
    CHECK(W(placeholder) == W(list) && H(placeholder) == H(list), "the placeholder grew with it");
    RECT ok = Relative(dialog, IDOK);
    CHECK(ok.top == g_before.ok.top + dy, "OK, below the list, moved down by %d: %ld -> %ld", dy,
          g_before.ok.top, ok.top);
    // It ended at the list's right edge, and still does.
    CHECK(labs(g_before.ok.right - g_before.list.right) > 3 ||
              (ok.left == g_before.ok.left + dx && labs(ok.right - list.right) <= 3),
          "OK followed the list's right edge: %ld -> %ld (list %ld)", g_before.ok.right, ok.right,
          list.right);
    RECT types = Relative(dialog, 1136);
    CHECK(types.top == g_before.types.top + dy, "the file types box moved down");

    // The drop-downs open as high as the limits say for the dialog's line height.
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    DropDownHeights expect =
        PlanDropDowns(Shared()->settings, work.bottom - work.top, r.layout.charHeight);
    CHECK(r.layout.charHeight >= 10 && r.layout.charHeight <= 30, "line height %u",
          r.layout.charHeight);
    CHECK(expect.lookIn == (r.layout.charHeight + 3) * 27 &&
              expect.fileTypes == 27 * r.layout.charHeight,
          "limits below the work area");
    // A drop-down box keeps its closed height; the rest of the height it was given is its list.
    for (int id : {1137, 1136}) {
        RECT dropped = {0, 0, 0, 0};
        SendMessageA(GetDlgItem(dialog, id), CB_GETDROPPEDCONTROLRECT, 0,
                     reinterpret_cast<LPARAM>(&dropped));
        RECT box = WindowRectOf(GetDlgItem(dialog, id));
        int want = id == 1137 ? expect.lookIn : expect.fileTypes;
        CHECK(H(dropped) + H(box) == want, "drop-down %d: list %d and box %d, expected %d in all",
              id, H(dropped), H(box), want);
    }
}

void CheckGapsKept(HWND dialog, const char* when) {
    DialogRecord& r = Record();
    RECT d = WindowRectOf(dialog);
    RECT list = WindowRectOf(GetDlgItem(dialog, 1121));
    CHECK(d.right - list.right == r.layout.listRightGap &&
              d.bottom - list.bottom == r.layout.listBottomGap + AddedRows(),
          "%s: the list keeps its distances %d and %d (+ %d for the rows) to the edges (%ld, %ld)",
          when, r.layout.listRightGap, r.layout.listBottomGap, AddedRows(), d.right - list.right,
          d.bottom - list.bottom);
    RECT placeholder = WindowRectOf(GetDlgItem(dialog, 1120));
    CHECK(W(placeholder) == W(list) && H(placeholder) == H(list), "%s: placeholder follows", when);
    RECT ok = Relative(dialog, IDOK);
    int grownH = H(d) - H(g_before.dialog) - AddedRows();
    CHECK(ok.top == g_before.ok.top + grownH, "%s: OK moved down with the bottom edge by %d", when,
          grownH);
}

void CheckResizable(HWND dialog) {
    DialogRecord& r = Record();
    RECT d = WindowRectOf(dialog);
    CHECK(r.placement.resizable, "the dialog has a sizing border");
    CHECK(d.left == 154 && d.top == 115 && W(d) == 716 && H(d) == 537,
          "centred at 716 x 537: %ld,%ld %d x %d", d.left, d.top, W(d), H(d));
    CHECK(r.placement.placementWidth == 716 && r.placement.placementHeight == 537 &&
              r.placement.placementApplied,
          "placement stored and applied");
    CheckGapsKept(dialog, "first layout");
    HWND grip = FindWindowExA(dialog, nullptr, "ScrollBar", nullptr);
    CHECK(!grip || !IsWindowVisible(grip), "the size grip is hidden");
}

void ResizeAgain(HWND dialog) {
    SetWindowPos(dialog, nullptr, 0, 0, 820, 600, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CheckGapsKept(dialog, "820 x 600");
    SetWindowPos(dialog, nullptr, 0, 0, 700, 520, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CheckGapsKept(dialog, "700 x 520");
}

// Stands in for the library's dialog procedure.
LRESULT CALLBACK StandInProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam) {
    DialogRecord& r = Record();
    switch (msg) {
    case kMsgLayOut:
        g_before.dialog = WindowRectOf(dialog);
        g_before.list = Relative(dialog, 1121);
        g_before.ok = Relative(dialog, IDOK);
        g_before.types = Relative(dialog, 1136);
        LayOutDialog(dialog, r);
        SetTimer(dialog, kCheckTimer, 1500, nullptr);
        return 0;
    case WM_TIMER:
        if (wParam != kCheckTimer)
            break;
        KillTimer(dialog, kCheckTimer);
        if (g_resizableRun) {
            CheckResizable(dialog);
            Screenshot("layout-resizable.png");
            ResizeAgain(dialog);
        } else {
            CheckFixed(dialog);
            Screenshot("layout-fixed.png");
        }
        g_checked = true;
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return 0;
    case WM_WINDOWPOSCHANGING: {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (r.placement.placementFinished)
            break;
        if (!r.placement.placementReady) {
            pos->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW | SWP_NOREDRAW);
            pos->flags |= SWP_HIDEWINDOW;
        } else if (!r.placement.placementApplied && !(pos->flags & SWP_NOSIZE)) {
            pos->x = r.placement.placementLeft;
            pos->y = r.placement.placementTop;
            pos->cx = r.placement.placementWidth;
            pos->cy = r.placement.placementHeight;
        } else if (pos->flags & SWP_HIDEWINDOW) {
            r.placement.placementFinished = 1;
        }
        break;
    }
    case WM_SIZE:
        if (r.placement.resizable && !r.placement.placementFinished) {
            RelayOutOnSize(dialog, r);
            return 0;
        }
        break;
    case WM_DESTROY:
        r.placement.placementFinished = 1;
        SetWindowLongPtrA(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_savedProc));
        return CallWindowProcA(g_savedProc, dialog, msg, wParam, lParam);
    }
    return CallWindowProcA(g_savedProc, dialog, msg, wParam, lParam);
}

// The hook's child dialog initialises inside the file dialog's WM_INITDIALOG: take the file
// dialog over from here and lay it out once its own initialisation is done.
UINT_PTR CALLBACK HookProc(HWND child, UINT msg, WPARAM, LPARAM) {
    if (msg != WM_INITDIALOG || g_dialog)
        return 0;
    g_dialog = GetParent(child);
    g_slot = OpenRecord(g_dialog);
    CHECK(g_slot >= 0, "a dialog record");
    if (g_slot < 0)
        return 0;
    g_savedProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(g_dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StandInProc)));
    PostMessageA(g_dialog, kMsgLayOut, 0, 0);
    return 1;
}

DWORD WINAPI Watchdog(LPVOID) {
    Sleep(60000);
    printf("FAIL: the dialog did not finish within a minute\n");
    fflush(stdout);
    ExitProcess(3);
}

void OpenDialogScenario(bool resizable) {
    CHECK(GetSystemMetrics(SM_CXSCREEN) == kScreenW && GetSystemMetrics(SM_CYSCREEN) == kScreenH,
          "the test screen is 1024 x 768");
    PrepareSettings();
    if (!Shared())
        return;
    g_resizableRun = resizable;
    CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr);
    char file[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = "Text files\0*.txt\0All files\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.Flags =
        OFN_EXPLORER | OFN_ENABLEHOOK | OFN_HIDEREADONLY | (resizable ? OFN_ENABLESIZING : 0);
    ofn.lpfnHook = HookProc;
    CHECK(!GetOpenFileNameA(&ofn), "the dialog was cancelled");
    CHECK(g_dialog != nullptr && g_checked, "the dialog was laid out and checked");
    if (g_slot >= 0)
        CloseDialogRecord(g_dialogs, g_slot);
}

void Fixed() {
    OpenDialogScenario(false);
}

void Resizable() {
    OpenDialogScenario(true);
}

// --- a dialog with an odd window tree --------------------------------------------------------

INT_PTR CALLBACK PlainDialogProc(HWND, UINT msg, WPARAM, LPARAM) {
    return msg == WM_INITDIALOG;
}

// An empty dialog template: WS_POPUP | WS_CAPTION | WS_SYSMENU, no controls.
HWND CreatePlainDialog(HWND parent, DWORD style) {
    struct {
        DLGTEMPLATE t;
        WORD menu, cls, title;
    } tmpl = {};
    tmpl.t.style = style;
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), &tmpl.t, parent, PlainDialogProc,
                                      0);
}

HWND Child(HWND parent, const char* cls, int id, int x, int y, int w, int h, DWORD extra = 0) {
    return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | extra, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

// A dialog with the file list (1120, 1121) but no drop-downs, places bar or Cancel button; a
// button beside the list, an edit box below it, a plain container below it with a control of its
// own, and a nested dialog template in the corner.
void OddTree() {
    PrepareSettings();
    if (!Shared())
        return;
    HWND dialog = CreatePlainDialog(nullptr, WS_POPUP | WS_CAPTION | WS_SYSMENU);
    CHECK(dialog != nullptr, "dialog created");
    if (!dialog)
        return;
    SetWindowPos(dialog, nullptr, 100, 50, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
    Child(dialog, "LISTBOX", 1120, 10, 40, 300, 200, LBS_NOINTEGRALHEIGHT);
    Child(dialog, "STATIC", 1121, 10, 40, 300, 200);
    HWND beside = Child(dialog, "BUTTON", 1001, 320, 40, 60, 20);
    HWND below = Child(dialog, "EDIT", 1002, 10, 246, 120, 20, WS_BORDER);
    HWND container = Child(dialog, "STATIC", 1003, 150, 246, 100, 20);
    HWND inside = Child(container, "BUTTON", 1004, 5, 2, 20, 10);
    HWND nested = CreatePlainDialog(dialog, WS_CHILD | WS_VISIBLE | DS_CONTROL);
    SetWindowPos(nested, nullptr, 0, 0, 10, 10, SWP_NOZORDER | SWP_NOACTIVATE);
    HWND nestedChild = Child(nested, "BUTTON", 1006, 0, 0, 5, 5);
    CHECK(beside && below && container && inside && nested && nestedChild, "children created");

    g_slot = OpenRecord(dialog);
    if (g_slot < 0)
        return;
    DialogRecord& r = Record();
    r.placement.centerDialog = 0;
    RECT before = WindowRectOf(dialog);
    RECT belowSize = WindowRectOf(below);
    LayOutDialog(dialog, r);

    RECT d = WindowRectOf(dialog);
    CHECK(d.left == 100 && d.top == 50 && W(d) == 716 && H(d) == 537,
          "enlarged in place: %ld,%ld %d x %d", d.left, d.top, W(d), H(d));
    CHECK(IsWindowVisible(dialog) && r.placement.placementApplied, "shown and placed");
    int dx = 716 - W(before) - 1, dy = 537 - (H(before) + AddedRows()) - 1;
    POINT p = ClientPos(beside);
    CHECK(p.x == 320 + dx && p.y == 40, "beside the list: moved right by %d to %ld,%ld", dx, p.x,
          p.y);
    p = ClientPos(below);
    CHECK(p.x == 10 && p.y == 246 + dy, "below the list: moved down by %d to %ld,%ld", dy, p.x,
          p.y);
    p = ClientPos(container);
    CHECK(p.x == 150 && p.y == 246 + dy, "the container moved down with the others");
    p = ClientPos(inside);
    CHECK(p.x == 5 && p.y == 2, "a control in a plain container keeps its place in it");
    RECT list = WindowRectOf(GetDlgItem(dialog, 1121));
    CHECK(W(list) == 300 + dx && H(list) == 200 + dy, "the list grew: %d x %d", W(list), H(list));
    RECT nestedRect = WindowRectOf(nested);
    CHECK(W(nestedRect) == 10 + dx && H(nestedRect) == 10 + dy,
          "the nested template grew with the dialog: %d x %d", W(nestedRect), H(nestedRect));
    p = ClientPos(nestedChild);
    CHECK(p.x == 0 && p.y == 0, "its control above and left of the list stays");

    // The exported callbacks: outside a pass the moving one does nothing; the one for outside
    // callers moves what lay beyond the original edges, keeping sizes.
    RECT besideBefore = WindowRectOf(beside);
    MoveChildEnumProc(beside, 0);
    RECT besideAfter = WindowRectOf(beside);
    CHECK(besideAfter.left == besideBefore.left && besideAfter.top == besideBefore.top,
          "MoveChildEnumProc outside a pass leaves the child alone");
    POINT belowAt = ClientPos(below);
    EnumChildWindows(dialog, DialogChildEnumProc, 0);
    p = ClientPos(below);
    RECT belowNow = WindowRectOf(below);
    CHECK(p.x == belowAt.x && p.y == belowAt.y + r.layout.addedHeight,
          "DialogChildEnumProc moved the box below the old bottom by %d", r.layout.addedHeight);
    CHECK(W(belowNow) == W(belowSize) && H(belowNow) == H(belowSize),
          "and kept its bordered size %d x %d", W(belowNow), H(belowNow));
    p = ClientPos(GetDlgItem(dialog, 1121));
    CHECK(p.x == 10 && p.y == 40, "the list, inside the old edges, stays");

    // A window without a record: nothing happens.
    HWND stranger = CreatePlainDialog(nullptr, WS_POPUP);
    HWND strangerChild = Child(stranger, "BUTTON", 1, 600, 500, 10, 10);
    EnumChildWindows(stranger, DialogChildEnumProc, 0);
    p = ClientPos(strangerChild);
    CHECK(p.x == 600 && p.y == 500, "a dialog without a record is left alone");
    DestroyWindow(stranger);

    CloseDialogRecord(g_dialogs, g_slot);
    DestroyWindow(dialog);
}

const Scenario kScenarios[] = {
    {"fixed", Fixed},
    {"resizable", Resizable},
    {"odd-tree", OddTree},
};

} // namespace

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    const Scenario* sc = ChosenScenario("vnlayouttest", kScenarios, argc, argv);
    if (!sc)
        return 2;
    sc->run();
    return CheckSummary(sc->name);
}
