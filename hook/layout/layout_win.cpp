#include "hook/layout/layout_win.h"

#include "hook/layout/added_controls_win.h"
#include "hook/layout/layout_rules.h"
#include "hook/commands/dialog_path_win.h"
#include "hook/core/control_ids.h"
#include "hook/core/shared_state_win.h"

#include <initializer_list>

namespace vn {
namespace {

constexpr WPARAM kDetailsViewCommand = 40964; // the shell view's Details command

constexpr UINT kQuietMove = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW;

int64_t WidthOf(const LayoutRect& r) {
    return static_cast<int64_t>(r.right) - r.left;
}
int64_t HeightOf(const LayoutRect& r) {
    return static_cast<int64_t>(r.bottom) - r.top;
}

bool IsDialogWindow(HWND window) {
    char name[16];
    return GetClassNameA(window, name, sizeof name) > 0 && IsDialogClassName(name);
}

// The controls the library added, in the record's order.
bool IsAddedControl(const DialogRecord& r, HWND window) {
    uintptr_t w = reinterpret_cast<uintptr_t>(window);
    for (uintptr_t h : r.added)
        if (h && h == w)
            return true;
    return false;
}

void Repaint(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
}

TargetRule TargetRuleOf(const SharedState& s, const DialogRecord& r) {
    return {r.placement.useLastSize != 0,
            s.lastWidth,
            s.lastHeight,
            GetSystemMetrics(SM_CXSCREEN),
            GetSystemMetrics(SM_CYSCREEN),
            s.settings.width32,
            s.settings.height32};
}

void StorePlacement(DialogRecord& r, int32_t left, int32_t top, int32_t width, int32_t height) {
    r.placement.placementLeft = left;
    r.placement.placementTop = top;
    r.placement.placementWidth = width;
    r.placement.placementHeight = height;
}

// The parameter block of one moving pass. It lives on the stack of the pass; the exported
// callback finds it through this thread's pointer, which a pass sets and puts back, so that a
// pass started from inside another (a child's WM_SIZE resizing the dialog) does not disturb it.
struct MovePass {
    HWND dialog;
    MoveReference ref;
    bool redraw;                   // a re-layout: moved windows are repainted at once
    const DialogRecord* addedFrom; // during a re-layout: the controls the library added stay
};

thread_local const MovePass* t_pass = nullptr;

// The dialog's own controls that follow a widening from below the file list.
BelowListRole BelowListRoleOf(int id) {
    if (id == IDOK || id == IDCANCEL || id == kIdHelpButton)
        return BelowListRole::kDialogButton;
    if (id == kIdNameCombo || id == kIdNameEdit || id == kIdFileTypes)
        return BelowListRole::kEntryBox;
    return BelowListRole::kOther;
}

void MoveChild(HWND child, const MovePass& pass) {
    HWND parent = GetAncestor(child, GA_PARENT);
    // Only the dialog's own children and those of nested dialog templates move: a control inside
    // any other container keeps its place within it.
    if (!parent || (parent != pass.dialog && !IsDialogWindow(parent)))
        return;
    if (pass.addedFrom && IsAddedControl(*pass.addedFrom, child))
        return;
    if (parent == pass.dialog) {
        // The file list is resized by the caller; a list of height 0 or 1 must not also move.
        int id = GetDlgCtrlID(child);
        if (id == kIdFileList || id == kIdShellView)
            return;
    }
    UINT redraw = pass.redraw ? 0 : SWP_NOREDRAW;
    RECT r;
    if (!GetWindowRect(child, &r))
        return;
    ChildMove move = MoveForChild(pass.ref, r.left, r.top);
    WideningFollow follow = {0, 0};
    if (parent == pass.dialog && !move.right)
        follow = FollowWidening(pass.ref, {r.left, r.top, r.right, r.bottom},
                                BelowListRoleOf(GetDlgCtrlID(child)));
    if (move.right || move.down || follow.moveX || follow.growWidth) {
        POINT at = {r.left, r.top};
        MapWindowPoints(nullptr, parent, &at, 1);
        LayoutSize size = GrownSize(static_cast<int64_t>(r.right) - r.left,
                                    static_cast<int64_t>(r.bottom) - r.top, follow.growWidth, 0);
        SetWindowPos(child, nullptr, Shifted(at.x, move.right ? pass.ref.dx : follow.moveX),
                     Shifted(at.y, move.down ? pass.ref.dy : 0), size.width, size.height,
                     (follow.growWidth ? 0 : SWP_NOSIZE) | SWP_NOZORDER | SWP_NOACTIVATE | redraw);
        if (pass.redraw) {
            Repaint(parent);
            Repaint(child);
        }
    }
    // A nested dialog template grows with the dialog, whether or not it moved.
    if (IsDialogWindow(child) && GetWindow(child, GW_CHILD)) {
        RECT client;
        if (!GetClientRect(child, &client))
            return;
        LayoutSize size = GrownSize(client.right, client.bottom, pass.ref.dx, pass.ref.dy);
        SetWindowPos(child, nullptr, 0, 0, size.width, size.height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | redraw);
        if (pass.redraw)
            Repaint(child);
    }
}

void RunMovePass(const MovePass& pass) {
    const MovePass* outer = t_pass;
    t_pass = &pass;
    EnumChildWindows(pass.dialog, MoveChildEnumProc, 0);
    t_pass = outer;
}

BOOL CALLBACK FindNestedTemplate(HWND child, LPARAM found) {
    if (IsDialogWindow(child) && GetWindow(child, GW_CHILD)) {
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
    }
    return TRUE;
}

void SetDropDownHeight(HWND dialog, int id, int32_t height) {
    LayoutRect r;
    HWND box = GetDlgItem(dialog, id);
    if (height <= 0 || !WindowRect(box, &r))
        return;
    SetWindowPos(box, nullptr, 0, 0, static_cast<int>(WidthOf(r)), height,
                 SWP_NOMOVE | SWP_NOZORDER);
}

// Text height and average character width of the added controls' font; without one, of the
// dialog's own font (four horizontal dialog units are one average character, eight vertical
// ones a line), so that the drop-down lengths still follow the dialog's text.
void MeasureCharacterCell(HWND dialog, DialogRecord& r) {
    uint16_t height = 0, width = 0;
    if (!MeasureAddedControlFont(dialog, r, &height, &width)) {
        RECT cell = {0, 0, 4, 8};
        if (MapDialogRect(dialog, &cell) && cell.right > 0 && cell.bottom > 0) {
            width = static_cast<uint16_t>(cell.right > 0xFFFF ? 0xFFFF : cell.right);
            height = static_cast<uint16_t>(cell.bottom > 0xFFFF ? 0xFFFF : cell.bottom);
        } else {
            LONG units = GetDialogBaseUnits();
            width = LOWORD(units);
            height = HIWORD(units);
        }
    }
    r.layout.charHeight = height;
    r.layout.avgCharWidth = width;
}

// The placement the dialog is shown with when no enlargement computed one: where it is.
void StoreCurrentPlacement(HWND dialog, DialogRecord& r) {
    LayoutRect d;
    if (!WindowRect(dialog, &d))
        return;
    LayoutSize size = GrownSize(WidthOf(d), HeightOf(d), 0, 0);
    StorePlacement(r, d.left, d.top, size.width, size.height);
}

// Shows the laid-out dialog. It paints from its message loop like any dialog, once it has
// answered what is queued: painting here, inside its initialisation, kept the dialog from
// answering the user until its file list had painted.
void ShowPlaced(HWND dialog, DialogRecord& r) {
    r.placement.placementReady = 1;
    ShowWindow(dialog, SW_SHOW);
    StretchPlacesBar(dialog);
    InvalidateRect(dialog, nullptr, FALSE);
    r.placement.placementApplied = 1;
}

} // namespace

bool WindowRect(HWND window, LayoutRect* out) {
    RECT r;
    if (!window || !GetWindowRect(window, &r))
        return false;
    *out = {r.left, r.top, r.right, r.bottom};
    return true;
}

int32_t WorkAreaHeight() {
    RECT work = {0, 0, 0, 0};
    return SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)
               ? Shifted(work.bottom, -static_cast<int64_t>(work.top))
               : 0;
}

PositionRule PositionRuleOf(const SharedState& s, const DialogRecord& r) {
    return {r.placement.useLastPosition != 0,
            s.lastLeft,
            s.lastTop,
            r.placement.centerDialog != 0,
            GetSystemMetrics(SM_CXSCREEN),
            GetSystemMetrics(SM_CYSCREEN)};
}

void EnlargeFixed(HWND dialog, DialogRecord& r, bool widthAllowed, bool heightAllowed) {
    SharedState* s = Shared();
    LayoutRect d;
    if (!s || !WindowRect(dialog, &d))
        return;
    // The file list is the reference of every move; a dialog without one is only placed.
    LayoutRect list;
    bool hasList = WindowRect(GetDlgItem(dialog, kIdFileList), &list);
    LayoutSize target;
    bool hasTarget = hasList && TargetSize(TargetRuleOf(*s, r), &target);
    FixedPlan plan = PlanEnlargeFixed(d, hasTarget ? &target : nullptr, widthAllowed, heightAllowed,
                                      PositionRuleOf(*s, r));
    r.layout.addedWidth = plan.dx;
    r.layout.addedHeight = plan.dy;
    r.layout.baseHeight = plan.height;

    if (hasList) {
        MovePass pass = {dialog, {true, list.right, list.bottom, plan.dx, plan.dy}, false, nullptr};
        RunMovePass(pass);
        LayoutSize grown = GrownSize(WidthOf(list), HeightOf(list), plan.dx, plan.dy);
        for (int id : {kIdFileList, kIdShellView})
            if (HWND c = GetDlgItem(dialog, id))
                SetWindowPos(c, nullptr, 0, 0, grown.width, grown.height, SWP_NOMOVE | kQuietMove);
    }
    StorePlacement(r, plan.left, plan.top, plan.width, plan.height);
    SetWindowPos(dialog, nullptr, plan.left, plan.top, plan.width, plan.height, kQuietMove);
}

bool EnlargeResizable(HWND dialog, DialogRecord& r) {
    SharedState* s = Shared();
    if (!s || !(s->settings.sizing || r.placement.useLastSize) ||
        r.mode.exclusions.excluded[kExcludeSizing])
        return false;
    LayoutRect d;
    if (!WindowRect(dialog, &d))
        return false;
    LayoutSize target;
    bool hasTarget = TargetSize(TargetRuleOf(*s, r), &target);
    ResizablePlan plan =
        PlanEnlargeResizable(d, hasTarget ? &target : nullptr, PositionRuleOf(*s, r));
    if (!plan.change)
        return false;
    StorePlacement(r, plan.left, plan.top, plan.width, plan.height);
    MoveWindow(dialog, plan.left, plan.top, plan.width, plan.height, TRUE);
    return true;
}

void FitNestedTemplate(HWND dialog) {
    HWND nested = nullptr;
    EnumChildWindows(dialog, FindNestedTemplate, reinterpret_cast<LPARAM>(&nested));
    LayoutRect d, n;
    if (!nested || !WindowRect(dialog, &d) || !WindowRect(nested, &n))
        return;
    int32_t height = NestedFitHeight(d, n);
    if (height > 0)
        SetWindowPos(dialog, nullptr, 0, 0, GrownSize(WidthOf(d), 0, 0, 0).width, height,
                     SWP_NOMOVE | kQuietMove);
}

void LengthenDropDowns(HWND dialog, int itemHeight) {
    SharedState* s = Shared();
    if (!s)
        return;
    DropDownHeights heights = PlanDropDowns(s->settings, WorkAreaHeight(), itemHeight);
    SetDropDownHeight(dialog, kIdLookIn, heights.lookIn);
    SetDropDownHeight(dialog, kIdFileTypes, heights.fileTypes);
}

void StretchPlacesBar(HWND dialog) {
    HWND bar = GetDlgItem(dialog, kIdPlacesBar);
    LayoutRect b, types;
    if (!WindowRect(bar, &b) || !WindowRect(GetDlgItem(dialog, kIdFileTypes), &types))
        return;
    int32_t height = PlacesBarHeight(b, types);
    if (height > 0)
        SetWindowPos(bar, nullptr, 0, 0, static_cast<int>(WidthOf(b)), height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

// The browser of the item dialog keeps at least this height whatever rows are added.
constexpr int32_t kMinItemBrowserHeight = 80;

// What the layouts of both kinds do before the added rows are made: fonts, the folder the lists
// are filled for, and the character cell the rows are measured in.
void PrepareAddedRows(HWND dialog, DialogRecord& r, const HookSettings& settings) {
    FetchAddedControlFonts(dialog, r);
    r.session.listFolder[0] = 0;
    if (settings.showRecent || settings.showFavorites)
        ReadDialogFolder(dialog, r.session.listFolder, sizeof r.session.listFolder);
    MeasureCharacterCell(dialog, r);
}

} // namespace

void LayOutItemDialog(HWND dialog, DialogRecord& r) {
    SharedState* s = Shared();
    if (!IsWindow(dialog))
        return;
    bool placed = false;
    if (s) {
        PrepareAddedRows(dialog, r, s->settings);
        if (!r.mode.exclusions.excluded[kExcludeFileManagement])
            CreateAddedControls(dialog, r);
        r.layout.layoutReady = 1;
        placed = EnlargeResizable(dialog, r);
        // Growing by the rows alone sent no WM_SIZE through the finished record.
        RelayOutItemDialog(dialog, r);
    }
    if (!placed)
        StoreCurrentPlacement(dialog, r);
    ShowPlaced(dialog, r);
}

void RelayOutItemDialog(HWND dialog, DialogRecord& r) {
    if (!r.layout.layoutReady || r.placement.placementFinished)
        return;
    HWND browser = FindWindowExA(dialog, nullptr, kItemBrowserClass, nullptr);
    LayoutRect b;
    if (!WindowRect(browser, &b))
        return;
    int64_t rows = static_cast<int64_t>(r.layout.listsHeight) + r.layout.infoLineHeight +
                   r.layout.buttonRowHeight;
    int32_t room = ItemRowsRoom(b, rows, kMinItemBrowserHeight);
    HDWP batch = BeginDeferWindowPos(32);
    for (HWND c = GetWindow(dialog, GW_CHILD); c && batch && room; c = GetWindow(c, GW_HWNDNEXT)) {
        LayoutRect at;
        if (c == browser || IsAddedControl(r, c) || !WindowRect(c, &at) || !LiesBelowBrowser(b, at))
            continue;
        POINT p = {at.left, at.top};
        MapWindowPoints(nullptr, dialog, &p, 1);
        batch = DeferWindowPos(batch, c, nullptr, p.x, Shifted(p.y, -static_cast<int64_t>(room)), 0,
                               0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (batch && room)
        batch = DeferWindowPos(batch, browser, nullptr, 0, 0, WidthOf(b),
                               Shifted(HeightOf(b), -static_cast<int64_t>(room)),
                               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (batch)
        batch = DeferAddedControls(dialog, r, batch);
    if (batch)
        EndDeferWindowPos(batch);
}

void LayOutDialog(HWND dialog, DialogRecord& r) {
    SharedState* s = Shared();
    if (!IsWindow(dialog))
        return;
    if (!s) {
        StoreCurrentPlacement(dialog, r);
        ShowPlaced(dialog, r);
        return;
    }
    const HookSettings& settings = s->settings;

    if (settings.viewDetails)
        SendMessageA(dialog, WM_COMMAND, kDetailsViewCommand, 0);

    if (!(r.mode.exclusions.excluded[kExcludeFileManagement] &&
          r.mode.exclusions.excluded[kExcludeSizing]))
        FitNestedTemplate(dialog);

    PrepareAddedRows(dialog, r, settings);

    // The first geometry, which the re-layout keeps the file list's distances to.
    LayoutRect d = {0, 0, 0, 0}, list;
    WindowRect(dialog, &d);
    r.layout.origRight = d.right;
    r.layout.origBottom = d.bottom;
    bool hasList = WindowRect(GetDlgItem(dialog, kIdShellView), &list);
    r.layout.listRightGap = hasList ? Shifted(d.right, -static_cast<int64_t>(list.right)) : 0;
    r.layout.listBottomGap = hasList ? Shifted(d.bottom, -static_cast<int64_t>(list.bottom)) : 0;

    // Width first, so that the added rows are laid out at the final width; the height pass then
    // measures the dialog with the rows included.
    bool enlarge = settings.sizing && !r.mode.exclusions.excluded[kExcludeSizing];
    bool placed = false;
    if ((!r.placement.resizable || r.mode.exclusions.excluded[kExcludeFileManagement]) && enlarge) {
        EnlargeFixed(dialog, r, true, false);
        placed = true;
    }
    if (!r.mode.exclusions.excluded[kExcludeFileManagement])
        CreateAddedControls(dialog, r);
    LengthenDropDowns(dialog, r.layout.charHeight);
    r.layout.layoutReady = 1;
    if (r.placement.resizable && !r.mode.exclusions.excluded[kExcludeFileManagement]) {
        placed = EnlargeResizable(dialog, r) || placed;
    } else if (enlarge) {
        EnlargeFixed(dialog, r, true, true);
        placed = true;
    }

    // The size grip would stay at its old place.
    if (HWND grip = FindWindowExA(dialog, nullptr, "ScrollBar", nullptr))
        ShowWindow(grip, SW_HIDE);

    // A dialog that was not enlarged is shown where it is; a zero placement would otherwise be
    // forced on it until it has been shown.
    if (!placed)
        StoreCurrentPlacement(dialog, r);
    ShowPlaced(dialog, r);
}

void RelayOutOnSize(HWND dialog, DialogRecord& r) {
    if (!r.layout.layoutReady || r.placement.placementFinished)
        return;
    LayoutRect d, list;
    HWND view = GetDlgItem(dialog, kIdShellView);
    if (!WindowRect(dialog, &d) || !WindowRect(view, &list))
        return;
    int64_t addedRows = static_cast<int64_t>(r.layout.listsHeight) + r.layout.infoLineHeight +
                        r.layout.buttonRowHeight;
    RelayoutShift shift =
        PlanRelayout(d, list, r.layout.listRightGap, r.layout.listBottomGap, addedRows);
    // Nothing to move: every control is where the last layout put it. The re-layout asked for at
    // the end of the dialog's initialisation mostly finds this, and repainting the rows then would
    // only delay the dialog's first paint.
    if (shift.dx == 0 && shift.dy == 0)
        return;
    MovePass pass = {dialog, {true, list.right, list.bottom, shift.dx, shift.dy}, true, &r};
    RunMovePass(pass);

    // The list and the added controls move as one batch; a failed step drops the rest of it.
    LayoutSize grown = GrownSize(WidthOf(list), HeightOf(list), shift.dx, shift.dy);
    HDWP batch = BeginDeferWindowPos(100);
    for (int id : {kIdFileList, kIdShellView}) {
        HWND c = GetDlgItem(dialog, id);
        if (batch && c)
            batch = DeferWindowPos(batch, c, nullptr, 0, 0, grown.width, grown.height,
                                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (batch)
        batch = DeferAddedControls(dialog, r, batch);
    if (batch)
        EndDeferWindowPos(batch);

    for (int control = kDeleteButton; control <= kProductButton; ++control)
        if (r.added[control] && IsWindow(ToHwnd(r.added[control])))
            Repaint(ToHwnd(r.added[control]));
    RefreshAddedControls(dialog, r);
    StretchPlacesBar(dialog);
    // The edit inside a file name combo box does not repaint itself after the move.
    if (r.fileNameControlId == kIdNameCombo) {
        HWND combo = GetDlgItem(dialog, kIdNameCombo);
        HWND inner = combo ? GetWindow(combo, GW_CHILD) : nullptr;
        HWND edit = inner ? GetWindow(inner, GW_CHILD) : nullptr;
        if (edit)
            Repaint(edit);
    }
}

} // namespace vn

using namespace vn;

BOOL CALLBACK MoveChildEnumProc(HWND child, LPARAM) {
    if (t_pass && child)
        MoveChild(child, *t_pass);
    return TRUE;
}

BOOL CALLBACK DialogChildEnumProc(HWND child, LPARAM) {
    HWND root = child ? GetAncestor(child, GA_ROOT) : nullptr;
    int slot = root ? FindDialogRecord(g_dialogs, reinterpret_cast<uintptr_t>(root)) : -1;
    // The table matches on the low 16 bits only: the record must be this very dialog's.
    if (slot < 0 || g_dialogs.slots[slot].dialogWindow != reinterpret_cast<uintptr_t>(root))
        return TRUE;
    const DialogRecord& r = g_dialogs.slots[slot];
    bool sizingBorder = (GetWindowLongA(root, GWL_STYLE) & WS_THICKFRAME) != 0;
    int frameWidth = GetSystemMetrics(sizingBorder ? SM_CXSIZEFRAME : SM_CXDLGFRAME);
    RECT c;
    HWND parent = GetAncestor(child, GA_PARENT);
    if (!parent || !GetWindowRect(child, &c))
        return TRUE;
    EdgeShift shift = ShiftBeyondOriginalEdges({r.layout.origRight, r.layout.origBottom, frameWidth,
                                                r.layout.addedWidth, r.layout.addedHeight},
                                               c.left, c.top);
    if (!shift.move)
        return TRUE;
    // The parent's own client origin, which also holds for children of captionless containers;
    // a move keeps the window's size.
    POINT at = {c.left, c.top};
    MapWindowPoints(nullptr, parent, &at, 1);
    MoveWindow(child, Shifted(at.x, shift.x), Shifted(at.y, shift.y), c.right - c.left,
               c.bottom - c.top, FALSE);
    return TRUE;
}
