#include "hook/layout/added_rows.h"

namespace vn {
namespace {

constexpr uint32_t kButtonStyle = 0x58010000;   // WS_CHILD|WS_VISIBLE|WS_DISABLED|WS_TABSTOP
constexpr uint32_t kInfoLineStyle = 0x5000000C; // WS_CHILD|WS_VISIBLE|SS_LEFTNOWORDWRAP
constexpr uint32_t kHintStyle = 0x50000000;     // WS_CHILD|WS_VISIBLE
// WS_CHILD|WS_VISIBLE|WS_VSCROLL|WS_TABSTOP|CBS_DROPDOWNLIST|CBS_AUTOHSCROLL
constexpr uint32_t kListStyle = 0x50210043;

// The file buttons in the order they stand in the row.
constexpr AddedControl kFileButtons[] = {kDeleteButton, kRenameButton, kCopyButton, kMoveButton,
                                         kFindButton,   kMkdirButton,  kClipButton};

// Extra rows of a list's drop-down beyond the visible entries: headers, separators and, when
// switched on, the commands that edit the list.
constexpr int32_t kPlainListExtraRows = 3;
constexpr int32_t kRecentEditExtraRows = 5;
constexpr int32_t kFavoriteEditExtraRows = 6;

using geometry::Extent;
using geometry::Max;
using geometry::Min;
using geometry::Saturate;

LayoutRect Box(int64_t x, int64_t y, int64_t width, int64_t height) {
    int32_t left = Saturate(x);
    int32_t top = Saturate(y);
    return {left, top, Saturate(int64_t{left} + Extent(width)),
            Saturate(int64_t{top} + Extent(height))};
}

bool FileButtonSwitch(const HookSettings& s, AddedControl button) {
    switch (button) {
    case kDeleteButton:
        return s.addDeleteButton != 0;
    case kRenameButton:
        return s.addRenameButton != 0;
    case kCopyButton:
        return s.addCopyButton != 0;
    case kMoveButton:
        return s.addMoveButton != 0;
    case kFindButton:
        return s.addFindButton != 0;
    case kMkdirButton:
        return s.addMkDirButton != 0;
    case kClipButton:
        return s.addClipButton != 0;
    default:
        return false;
    }
}

int32_t FileButtonsSwitchedOn(const HookSettings& s) {
    int32_t n = 0;
    for (AddedControl button : kFileButtons)
        n += FileButtonSwitch(s, button) ? 1 : 0;
    return n;
}

// How far a file button stands right of its place in the even spread: the pixels the spread
// leaves over push the later buttons right in steps, up to the product button, which takes all of
// them. The first layout pushes Move and Find files by gap1 and Make dir and Path->clip by gap2; a
// re-layout pushes Find files by gap2 and Make dir and Path->clip by gap1, so a resizable dialog
// shows the wider gap before Find files from its first size change on (usually its enlargement,
// before it is shown).
int64_t GapBefore(AddedControl button, AddedRowsPass pass, const RowMetrics& row) {
    if (pass == AddedRowsPass::kFirstLayout) {
        if (button == kMoveButton || button == kFindButton)
            return row.gap1;
        if (button == kMkdirButton || button == kClipButton)
            return row.gap2;
        return 0;
    }
    if (button == kFindButton)
        return row.gap2;
    if (button == kMkdirButton || button == kClipButton)
        return row.gap1;
    return 0;
}

} // namespace

const AddedControlDef kAddedControlDefs[kAddedControlCount] = {
    {"STATIC", kAddedControlIds[kInfoLine], kInfoLineStyle, 0, 0},
    {"COMBOBOX", kAddedControlIds[kRecentFilesList], kListStyle, 0, 0},
    {"STATIC", kAddedControlIds[kRecentHint], kHintStyle, 597, 597}, // "&u"
    {"COMBOBOX", kAddedControlIds[kRecentFoldersList], kListStyle, 0, 0},
    {"STATIC", kAddedControlIds[kFavoriteHint], kHintStyle, 596, 596}, // "&a"
    {"COMBOBOX", kAddedControlIds[kFavoriteFilesList], kListStyle, 0, 0},
    {"COMBOBOX", kAddedControlIds[kFavoriteFoldersList], kListStyle, 0, 0},
    {"BUTTON", kAddedControlIds[kDeleteButton], kButtonStyle, 401, 601},
    {"BUTTON", kAddedControlIds[kRenameButton], kButtonStyle, 402, 602},
    {"BUTTON", kAddedControlIds[kCopyButton], kButtonStyle, 406, 605},
    {"BUTTON", kAddedControlIds[kMoveButton], kButtonStyle, 408, 607},
    {"BUTTON", kAddedControlIds[kFindButton], kButtonStyle, 404, 604},
    {"BUTTON", kAddedControlIds[kMkdirButton], kButtonStyle, 403, 603},
    {"BUTTON", kAddedControlIds[kClipButton], kButtonStyle, 413, 414},
    {"BUTTON", kAddedControlIds[kProductButton], kButtonStyle, 407, 606},
};

const AddedControl kAddedCreationOrder[kAddedControlCount] = {
    kDeleteButton,    kRenameButton,      kCopyButton,    kMoveButton,        kFindButton,
    kMkdirButton,     kClipButton,        kProductButton, kInfoLine,          kRecentHint,
    kRecentFilesList, kRecentFoldersList, kFavoriteHint,  kFavoriteFilesList, kFavoriteFoldersList};

bool HasFileButtonRow(const HookSettings& settings) {
    return settings.addVnButtons != 0 && FileButtonsSwitchedOn(settings) > 0;
}

int32_t ButtonCount(const HookSettings& settings) {
    int32_t n = HasFileButtonRow(settings) ? FileButtonsSwitchedOn(settings) : 0;
    return n + (settings.addVantorButton ? 1 : 0);
}

AddedControlSet AddedControlsFor(const HookSettings& settings) {
    AddedControlSet set = {};
    bool fileRow = HasFileButtonRow(settings);
    for (AddedControl button : kFileButtons)
        set.present[button] = fileRow && FileButtonSwitch(settings, button);
    set.present[kProductButton] = settings.addVantorButton != 0;
    set.present[kInfoLine] = settings.showInfoLine != 0;
    bool recent = settings.showRecent != 0;
    set.present[kRecentHint] = set.present[kRecentFilesList] = recent;
    set.present[kRecentFoldersList] = recent;
    bool favorites = settings.showFavorites != 0;
    set.present[kFavoriteHint] = set.present[kFavoriteFilesList] = favorites;
    set.present[kFavoriteFoldersList] = favorites;
    return set;
}

bool IsDropListControl(AddedControl control) {
    return control == kRecentFilesList || control == kRecentFoldersList ||
           control == kFavoriteFilesList || control == kFavoriteFoldersList;
}

AddedControlSet WithPendingLists(const AddedControlSet& created) {
    AddedControlSet set = created;
    bool* c = set.present;
    c[kRecentFilesList] = c[kRecentFoldersList] = c[kRecentHint];
    c[kFavoriteFilesList] = c[kFavoriteFoldersList] = c[kFavoriteHint];
    return set;
}

HookSettings SettingsOfCreatedRows(const HookSettings& now, const AddedControlSet& created,
                                   bool hintsVisible) {
    HookSettings s = now;
    const bool* c = created.present;
    s.addDeleteButton = c[kDeleteButton];
    s.addRenameButton = c[kRenameButton];
    s.addCopyButton = c[kCopyButton];
    s.addMoveButton = c[kMoveButton];
    s.addFindButton = c[kFindButton];
    s.addMkDirButton = c[kMkdirButton];
    s.addClipButton = c[kClipButton];
    s.addVnButtons = FileButtonsSwitchedOn(s) > 0;
    s.addVantorButton = c[kProductButton];
    s.showInfoLine = c[kInfoLine];
    s.showRecent = c[kRecentHint] || c[kRecentFilesList] || c[kRecentFoldersList];
    s.showFavorites = c[kFavoriteHint] || c[kFavoriteFilesList] || c[kFavoriteFoldersList];
    s.showListHints = hintsVisible;
    return s;
}

uint32_t AddedControlStyle(AddedControl control, const HookSettings& settings) {
    if ((control == kRecentHint || control == kFavoriteHint) && !settings.showListHints)
        return kHiddenHintStyle;
    return kAddedControlDefs[control].style;
}

int AddedControlCaption(AddedControl control, const HookSettings& settings) {
    const AddedControlDef& def = kAddedControlDefs[control];
    return settings.useAccelerators ? def.captionId : def.plainCaptionId;
}

bool EnablesAddedButton(AddedControl control, bool browseDialog) {
    if (control == kCopyButton || control == kMoveButton)
        return !browseDialog;
    return control >= kDeleteButton && control <= kProductButton;
}

int32_t ButtonHeight(uint16_t charHeight, bool hasCancel, int32_t cancelClientHeight) {
    int64_t cancel = static_cast<int64_t>(cancelClientHeight) - 1;
    if (hasCancel && cancel >= 1)
        return Extent(Min(cancel, int64_t{charHeight} + 11));
    return Extent(int64_t{charHeight} + 10);
}

AddedRowsMetrics MeasureAddedRows(const HookSettings& settings, const AddedRowsMeasures& measures) {
    bool fileRow = HasFileButtonRow(settings);
    int64_t n = ButtonCount(settings);
    const ButtonCaptionWidths& caption = measures.captions;

    // The row the information line's text wants: fifty average characters and the margins.
    int64_t base = int64_t{measures.avgCharWidth} * 50 + 16;

    // The buttons are as wide as the widest caption they must hold.
    int64_t w = 0;
    if (fileRow) {
        w = int64_t{caption.rename} + 2;
        if (settings.addFindButton)
            w = Max(w, int64_t{caption.findFiles} + 2);
        if (settings.addClipButton)
            w = Max(w, int64_t{caption.pathToClip} + 2);
    }
    w = Max(w, int64_t{caption.product} + 2);

    int64_t width;
    if (fileRow) {
        int64_t row = (w + 4) * n + 16;
        width = Max(base, row);
        if (base > row)
            w = (base - 16) / n - 4; // widened to fill the information line's width
    } else {
        // The product button alone takes the share one of eight buttons would have.
        width = base;
        w = (base - 16) / 8 - 4;
    }

    AddedRowsMetrics m = {};
    m.buttonCount = static_cast<int32_t>(n);
    m.buttonWidth = Extent(w);
    m.minWidth = Extent(width + 2 * int64_t{Max(0, measures.dialogFrameWidth)} +
                        Max(0, measures.placesBarWidth));
    m.buttonHeight =
        ButtonHeight(measures.charHeight, measures.hasCancel, measures.cancelClientHeight);

    int64_t textRow = int64_t{measures.charHeight} + 4;
    bool infoLine = settings.showInfoLine != 0;
    m.buttonRowHeight = Extent(fileRow ? int64_t{m.buttonHeight} + 4 : 4);
    if (fileRow)
        m.infoLineHeight = Extent(infoLine ? textRow : 0);
    else if (settings.addVantorButton) // the row holds the product button beside the line
        m.infoLineHeight = Extent(int64_t{m.buttonHeight} + 5);
    else
        m.infoLineHeight = Extent(infoLine ? textRow : 0);
    int64_t listRow = int64_t{measures.charHeight} + 12;
    m.listsHeight =
        Extent((settings.showRecent ? listRow : 0) + (settings.showFavorites ? listRow : 0));
    return m;
}

int32_t AddedRowsHeight(const AddedRowsMetrics& metrics) {
    return Extent(int64_t{metrics.listsHeight} + metrics.infoLineHeight + metrics.buttonRowHeight);
}

AddedRowsWindow PlanAddedRowsWindow(const AddedRowsWindowInput& input) {
    const LayoutRect& d = input.dialog;
    int64_t width = static_cast<int64_t>(d.right) - d.left;
    int64_t height = static_cast<int64_t>(d.bottom) - d.top;

    AddedRowsWindow w = {};
    w.width = Extent(Max(width, input.minWidth));
    w.height = Extent(height + Max(0, input.addedHeight));
    w.addedWidth = Saturate(w.width - width);
    w.addedHeight = Saturate(w.height - height);
    w.baseHeight = w.height;

    LayoutPoint place = PlaceDialog(input.position, {w.width, w.height}, {d.left, d.top});
    int64_t left = place.x;
    int64_t top = place.y;
    if (input.browseDialog) {
        // Offset from the dialog that opened it, which would otherwise hide it exactly.
        left += 10;
        top += int64_t{input.captionHeight} + 10;
    }

    // A dialog that now runs past the work area's bottom is raised until its bottom rests
    // there, wherever the step above put it; one taller than the work area stays as it is.
    int64_t workHeight = static_cast<int64_t>(input.workAreaBottom) - input.workAreaTop;
    if (workHeight > 0 && top + w.height >= input.workAreaBottom && w.height < workHeight)
        top = Max(0, int64_t{input.workAreaBottom} - w.height);

    w.left = Saturate(left);
    w.top = Saturate(top);
    return w;
}

RowMetrics PlanRowMetrics(const RowMetricsInput& input) {
    int64_t left = input.dialog.left;
    int64_t right = input.dialog.right;

    // The row lines up with the file-type box unless that box stands far from the left edge;
    // start is in client coordinates, xs the same place on the screen.
    int64_t start = 8;
    int64_t xs = left + 14;
    if (input.hasFileTypes) {
        start = static_cast<int64_t>(input.fileTypesLeft) - left - 6;
        xs = input.fileTypesLeft;
        if (start > 8 || start < 2) {
            start = 8;
            xs = left + 14;
        }
    }
    int64_t rightMargin = start;
    // With a places bar the row starts right of it, unless that leaves no room at all.
    if (input.hasPlacesBar) {
        xs = static_cast<int64_t>(input.placesBarRight) + 8;
        start = xs - left - 6;
        if (start < 2 || start > right - left - 50) {
            start = 8;
            xs = left + 14;
        }
    }

    RowMetrics row = {};
    row.start = Saturate(start);
    int64_t w = Max(0, input.buttonWidth);
    if (!input.fileButtonRow) {
        // The product button alone, at the right end of the information line's row.
        row.buttonWidth = Extent(w);
        row.productX = Saturate(int64_t{input.clientWidth} - w - 6);
        row.productWidth = row.buttonWidth;
        return row;
    }

    int64_t n = Max(1, input.buttonCount);
    int64_t end = right - rightMargin - 3;
    int64_t bw = (right - rightMargin - xs) / n - 3;
    if (bw < w) {
        // Too narrow to spread: the buttons keep their measured width and the row runs on.
        bw = w;
        end = (w + 3) * n + xs - 3;
    }
    int64_t leftover = end - (bw + 3) * n - xs + 2;
    row.buttonWidth = Extent(bw);
    row.productX = Saturate((bw + 4) * (n - 1) + leftover + start);
    row.productWidth = row.buttonWidth;
    row.gap1 = Saturate(leftover / 2);
    row.gap2 = Saturate(leftover - leftover / 2);
    return row;
}

int32_t ListOpenHeight(const HookSettings& settings, uint16_t charHeight, int32_t extraRows,
                       int32_t workAreaHeight) {
    // Counts below zero mean nothing; taken as 0, a list still opens to its command rows.
    int64_t visible = Max(0, settings.recentVisible);
    int64_t shown = Max(0, settings.recentShown);
    int64_t rows = Min(visible + Max(0, extraRows), shown * 2 + 4);
    int64_t height = int64_t{charHeight} * rows;
    int64_t ceiling = static_cast<int64_t>(workAreaHeight) - 4; // unknown when not positive
    if (ceiling > 0 && height > ceiling)
        height = ceiling;
    return Extent(height);
}

AddedRowsPlan PlanAddedRows(const HookSettings& settings, const AddedRowsInput& input) {
    const AddedRowsMetrics& m = input.metrics;
    bool fileRow = HasFileButtonRow(settings);

    AddedRowsPlan plan = {};
    plan.row = PlanRowMetrics({fileRow, m.buttonCount, m.buttonWidth, input.dialog,
                               input.clientWidth, input.hasFileTypes, input.fileTypesLeft,
                               input.hasPlacesBar, input.placesBarRight});
    const RowMetrics& row = plan.row;
    int64_t x = row.start;
    int64_t ch = input.charHeight;
    int64_t bh = Max(0, m.buttonHeight);

    auto place = [&](AddedControl c, int64_t left, int64_t top, int64_t width, int64_t height) {
        if (!input.present.present[c])
            return;
        plan.placed[c] = true;
        plan.rects[c] = Box(left, top, width, height);
    };

    // The rows fill the bottom of the client area, buttons first.
    int64_t rowTop = int64_t{input.clientHeight} - AddedRowsHeight(m);
    int64_t k = 0; // the buttons that exist take the places one after another
    for (AddedControl button : kFileButtons) {
        if (!input.present.present[button])
            continue;
        place(button, x + (int64_t{row.buttonWidth} + 4) * k + GapBefore(button, input.pass, row),
              rowTop, row.buttonWidth, bh);
        ++k;
    }
    place(kProductButton, row.productX, rowTop, row.productWidth, bh);

    int64_t infoTop = fileRow ? rowTop + Max(0, m.buttonRowHeight) : rowTop;
    if (!fileRow && settings.addVantorButton) {
        // Beside the product button, as high as the button and centred on its text.
        int64_t down = bh > ch ? (bh - ch) / 2 : 0;
        place(kInfoLine, x, infoTop + down, int64_t{row.productX} - x - 2, bh);
    } else {
        place(kInfoLine, x, infoTop, int64_t{input.clientWidth} - x - 6, ch + 4);
    }

    int64_t listTop = infoTop + Max(0, m.infoLineHeight);
    int64_t lw = (int64_t{input.clientWidth} - x - 8) / 2 - 5;
    int64_t hints = settings.showListHints ? 3 : 0; // the lists leave room for the visible label
    int64_t a = input.avgCharWidth;

    // Each hint label stands just left of the row start, in front of its files list.
    int32_t recentOpen =
        ListOpenHeight(settings, input.charHeight,
                       settings.includeEditRecent ? kRecentEditExtraRows : kPlainListExtraRows,
                       input.workAreaHeight);
    place(kRecentHint, x - a, listTop + 2, a, ch + 2);
    place(kRecentFilesList, x + hints, listTop, lw, recentOpen);
    place(kRecentFoldersList, x + hints + lw + 11, listTop, lw - hints, recentOpen);

    int64_t favoriteTop = listTop + (settings.showRecent ? ch + 12 : 0);
    int32_t favoriteOpen =
        ListOpenHeight(settings, input.charHeight,
                       settings.includeAddEditFavs ? kFavoriteEditExtraRows : kPlainListExtraRows,
                       input.workAreaHeight);
    place(kFavoriteHint, x - a, favoriteTop + 2, a, ch);
    place(kFavoriteFilesList, x + hints, favoriteTop, lw, favoriteOpen);
    place(kFavoriteFoldersList, x + hints + lw + 11, favoriteTop, lw - hints, favoriteOpen);

    plan.rowTop = Saturate(rowTop);
    plan.infoTop = Saturate(infoTop);
    plan.listTop = Saturate(listTop);
    return plan;
}

} // namespace vn
