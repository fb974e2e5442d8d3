#include "hook/layout/added_controls_win.h"

#include "hook/core/control_ids.h"
#include "hook/core/messages.h"
#include "hook/core/process_win.h"
#include "hook/core/shared_state_win.h"
#include "hook/core/ui_win.h"
#include "hook/layout/added_rows.h"
#include "hook/layout/layout_win.h"

namespace vn {
namespace {

HFONT AddedFont(const DialogRecord& r) {
    return reinterpret_cast<HFONT>(r.fonts.extraFont);
}

HWND AddedWindow(const DialogRecord& r, int control) {
    return r.added[control] ? ToHwnd(r.added[control]) : nullptr;
}

bool IsHintLabel(AddedControl control) {
    return control == kRecentHint || control == kFavoriteHint;
}

// The dialog's device context with the added controls' font selected, for measuring; the font
// the context had goes back and the context is released when it goes out of scope.
class MeasuringContext {
  public:
    MeasuringContext(HWND dialog, HFONT font) : window_(dialog), dc_(GetDC(dialog)) {
        if (dc_ && font)
            old_ = SelectObject(dc_, font);
    }
    ~MeasuringContext() {
        if (!dc_)
            return;
        if (old_)
            SelectObject(dc_, old_);
        ReleaseDC(window_, dc_);
    }
    MeasuringContext(const MeasuringContext&) = delete;
    MeasuringContext& operator=(const MeasuringContext&) = delete;

    bool Valid() const { return dc_ != nullptr; }
    // The extent of text in the selected font; 0 x 0 when it cannot be measured.
    SIZE Extent(const char* text) const {
        SIZE size = {0, 0};
        if (!dc_ || !GetTextExtentPoint32A(dc_, text, lstrlenA(text), &size))
            size = {0, 0};
        return size;
    }
    int32_t Width(const char* text) const { return Extent(text).cx; }

  private:
    HWND window_;
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

// The widths of the captions that decide the buttons' width, with their ampersands. A caption
// that does not load counts as empty: the buttons are then as wide as the others need.
ButtonCaptionWidths MeasureCaptions(const MeasuringContext& dc) {
    int32_t width[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        char caption[kButtonCaptionSize];
        if (LoadModuleString(g_process.moduleInstance, kMeasuredCaptionIds[i], caption,
                             sizeof caption))
            width[i] = dc.Width(caption);
    }
    return {width[0], width[1], width[2], width[3]};
}

// The record's metrics of the rows it was given.
AddedRowsMetrics RecordMetrics(const DialogRecord& r) {
    const DialogRecord::Layout& l = r.layout;
    return {l.buttonCount,     l.buttonWidth,    l.buttonHeight, l.minWidth,
            l.buttonRowHeight, l.infoLineHeight, l.listsHeight};
}

// The dialog as the row planning sees it, now.
bool ReadRowsInput(HWND dialog, const DialogRecord& r, AddedRowsPass pass,
                   const AddedControlSet& present, const AddedRowsMetrics& metrics,
                   AddedRowsInput* in) {
    LayoutRect d, types, bar;
    RECT client;
    if (!WindowRect(dialog, &d) || !GetClientRect(dialog, &client))
        return false;
    // The item dialog's type box sits at its right edge: the row starts at the left there.
    bool hasTypes = !r.mode.itemDialog && WindowRect(GetDlgItem(dialog, kIdFileTypes), &types);
    bool hasBar = WindowRect(GetDlgItem(dialog, kIdPlacesBar), &bar);
    *in = {pass,
           present,
           metrics,
           r.layout.charHeight,
           r.layout.avgCharWidth,
           d,
           client.right,
           client.bottom,
           hasTypes,
           hasTypes ? types.left : 0,
           hasBar,
           hasBar ? bar.right : 0,
           WorkAreaHeight()};
    return true;
}

// How each button, the information line and the lists are measured before they are planned.
AddedRowsMeasures MeasureDialog(HWND dialog, const DialogRecord& r) {
    AddedRowsMeasures m = {};
    m.charHeight = r.layout.charHeight;
    m.avgCharWidth = r.layout.avgCharWidth;
    {
        MeasuringContext dc(dialog, AddedFont(r));
        m.captions = MeasureCaptions(dc);
    }
    RECT cancel;
    HWND cancelButton = GetDlgItem(dialog, IDCANCEL);
    m.hasCancel = cancelButton && GetClientRect(cancelButton, &cancel);
    m.cancelClientHeight = m.hasCancel ? cancel.bottom : 0;
    m.dialogFrameWidth = GetSystemMetrics(SM_CXDLGFRAME);
    LayoutRect bar;
    if (WindowRect(GetDlgItem(dialog, kIdPlacesBar), &bar))
        m.placesBarWidth = Shifted(bar.right, -static_cast<int64_t>(bar.left));
    return m;
}

void StoreMetrics(DialogRecord& r, const AddedRowsMetrics& m, const AddedRowsWindow& w) {
    DialogRecord::Layout& l = r.layout;
    l.buttonCount = m.buttonCount;
    l.buttonWidth = m.buttonWidth;
    l.buttonHeight = m.buttonHeight;
    l.minWidth = m.minWidth;
    l.buttonRowHeight = m.buttonRowHeight;
    l.infoLineHeight = m.infoLineHeight;
    l.listsHeight = m.listsHeight;
    l.addedWidth = w.addedWidth;
    l.addedHeight = w.addedHeight;
    l.baseHeight = w.baseHeight;
}

// Grows the dialog to hold the rows and places it; false when the dialog cannot be read.
bool GrowForRows(HWND dialog, DialogRecord& r, const SharedState& s, const AddedRowsMetrics& m) {
    LayoutRect before;
    if (!WindowRect(dialog, &before))
        return false;
    RECT work = {0, 0, 0, 0};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
        work = {0, 0, 0, 0};
    AddedRowsWindow w = PlanAddedRowsWindow(
        {before, m.minWidth, AddedRowsHeight(m), PositionRuleOf(s, r), r.mode.browseDialog != 0,
         GetSystemMetrics(SM_CYCAPTION), work.top, work.bottom});
    StoreMetrics(r, m, w);
    MoveWindow(dialog, w.left, w.top, w.width, w.height, FALSE);
    return true;
}

HWND CreateAddedControl(HWND dialog, AddedControl control, const HookSettings& settings,
                        const LayoutRect& at) {
    const AddedControlDef& def = kAddedControlDefs[control];
    char caption[kButtonCaptionSize] = "";
    int captionId = AddedControlCaption(control, settings);
    if (captionId)
        LoadModuleString(g_process.moduleInstance, static_cast<UINT>(captionId), caption,
                         IsHintLabel(control) ? kHintCaptionSize : kButtonCaptionSize);
    // The library's own instance: the classifier counts only controls of the common-dialog
    // library, so these are never taken for a dialog's own.
    return CreateWindowExA(0, def.className, caption, AddedControlStyle(control, settings), at.left,
                           at.top, Shifted(at.right, -static_cast<int64_t>(at.left)),
                           Shifted(at.bottom, -static_cast<int64_t>(at.top)), dialog,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(def.id)),
                           g_process.moduleInstance, nullptr);
}

} // namespace

void FetchAddedControlFonts(HWND dialog, DialogRecord& r) {
    if (r.fonts.extraFont || r.fonts.dialogFont)
        return; // fetched already: fetching again would lose the fonts created the first time
    HFONT own = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    HFONT extra = nullptr;
    if (own) {
        // The dialog's own face and size at normal weight, whatever weight the dialog uses.
        LOGFONTA font;
        if (GetObjectA(own, sizeof font, &font) == static_cast<int>(sizeof font)) {
            font.lfWeight = FW_NORMAL;
            extra = CreateFontIndirectA(&font);
        }
    } else {
        own = CreateFontA(8, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "MS Sans Serif");
        r.fonts.ownsDialogFont = own ? 1 : 0;
        extra = CreateFontA(10, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Helv");
    }
    r.fonts.dialogFont = reinterpret_cast<uintptr_t>(own);
    r.fonts.extraFont = reinterpret_cast<uintptr_t>(extra);
}

bool MeasureAddedControlFont(HWND dialog, const DialogRecord& r, uint16_t* charHeight,
                             uint16_t* avgCharWidth) {
    if (!AddedFont(r))
        return false;
    MeasuringContext dc(dialog, AddedFont(r));
    SIZE n = dc.Extent("NNNN");
    if (!dc.Valid() || n.cx <= 0 || n.cy <= 0)
        return false;
    *charHeight = static_cast<uint16_t>(n.cy > 0xFFFF ? 0xFFFF : n.cy);
    *avgCharWidth = static_cast<uint16_t>(n.cx / 4 > 0xFFFF ? 0xFFFF : n.cx / 4);
    return true;
}

void CreateAddedControls(HWND dialog, DialogRecord& r) {
    r.layout.listsHeight = 0;
    r.layout.infoLineHeight = 0;
    r.layout.buttonRowHeight = 0;
    SharedState* s = Shared();
    if (!s)
        return;
    // One reading of the settings for the whole pass: another process may write them meanwhile.
    const HookSettings settings = s->settings;
    AddedRowsMetrics metrics = MeasureAddedRows(settings, MeasureDialog(dialog, r));
    if (!GrowForRows(dialog, r, *s, metrics))
        return;

    AddedRowsInput in;
    if (!ReadRowsInput(dialog, r, AddedRowsPass::kFirstLayout, AddedControlsFor(settings), metrics,
                       &in))
        return;
    AddedRowsPlan plan = PlanAddedRows(settings, in);
    HFONT font = AddedFont(r);
    for (AddedControl control : kAddedCreationOrder) {
        if (!plan.placed[control])
            continue;
        if (IsDropListControl(control)) {
            r.session.listsPending = 1;
            continue;
        }
        HWND window = CreateAddedControl(dialog, control, settings, plan.rects[control]);
        r.added[control] = reinterpret_cast<uintptr_t>(window);
        if (window && font)
            SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    // Only now that the whole row exists may a button be pressed.
    for (int control = 0; control < kAddedControlCount; ++control) {
        HWND window = AddedWindow(r, control);
        if (window &&
            EnablesAddedButton(static_cast<AddedControl>(control), r.mode.browseDialog != 0))
            EnableWindow(window, TRUE);
    }
    if (r.session.listsPending)
        PostMessageA(dialog, MSG_CREATE_LISTS, 0, 0);
}

namespace {

// The controls of the dialog that exist now.
AddedControlSet ExistingControls(const DialogRecord& r) {
    AddedControlSet created = {};
    for (int control = 0; control < kAddedControlCount; ++control) {
        HWND window = AddedWindow(r, control);
        created.present[control] = window && IsWindow(window);
    }
    return created;
}

// The rows of the given controls as the dialog's current geometry places them; false when the
// dialog cannot be read.
bool PlanCreatedRows(HWND dialog, const DialogRecord& r, const SharedState& s,
                     const AddedControlSet& created, HookSettings* settings, AddedRowsPlan* plan) {
    HWND hint = AddedWindow(r, created.present[kRecentHint] ? kRecentHint : kFavoriteHint);
    bool hintsVisible = hint && (GetWindowLongA(hint, GWL_STYLE) & WS_VISIBLE);
    *settings = SettingsOfCreatedRows(s.settings, created, hintsVisible);
    AddedRowsInput in;
    if (!ReadRowsInput(dialog, r, AddedRowsPass::kRelayout, created, RecordMetrics(r), &in))
        return false;
    *plan = PlanAddedRows(*settings, in);
    return true;
}

} // namespace

void CreatePendingLists(HWND dialog, DialogRecord& r) {
    if (!r.session.listsPending)
        return;
    r.session.listsPending = 0;
    SharedState* s = Shared();
    if (!s || !IsWindow(dialog))
        return;
    AddedControlSet created = WithPendingLists(ExistingControls(r));
    HookSettings settings;
    AddedRowsPlan plan;
    if (!PlanCreatedRows(dialog, r, *s, created, &settings, &plan))
        return;
    HFONT font = AddedFont(r);
    HWND previous = nullptr;
    for (AddedControl control : kAddedCreationOrder) {
        HWND existing = AddedWindow(r, control);
        if (!IsDropListControl(control) || existing || !plan.placed[control]) {
            previous = existing ? existing : previous;
            continue;
        }
        HWND window = CreateAddedControl(dialog, control, settings, plan.rects[control]);
        r.added[control] = reinterpret_cast<uintptr_t>(window);
        if (!window)
            continue;
        if (font)
            SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        // Created last, it would come last in the tab order: it belongs after its label.
        if (previous)
            SetWindowPos(window, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = window;
    }
}

HDWP DeferAddedControls(HWND dialog, DialogRecord& r, HDWP batch) {
    SharedState* s = Shared();
    if (!batch || !s)
        return batch;
    AddedControlSet created = ExistingControls(r);
    bool any = false;
    for (bool present : created.present)
        any = any || present;
    if (!any)
        return batch;
    HookSettings settings;
    AddedRowsPlan plan;
    if (!PlanCreatedRows(dialog, r, *s, created, &settings, &plan))
        return batch;
    for (AddedControl control : kAddedCreationOrder) {
        if (!batch)
            break;
        if (!plan.placed[control])
            continue;
        const LayoutRect& at = plan.rects[control];
        batch = DeferWindowPos(batch, AddedWindow(r, control), nullptr, at.left, at.top,
                               Shifted(at.right, -static_cast<int64_t>(at.left)),
                               Shifted(at.bottom, -static_cast<int64_t>(at.top)),
                               SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return batch;
}

void RefreshAddedControls(HWND, DialogRecord&) {}

} // namespace vn
