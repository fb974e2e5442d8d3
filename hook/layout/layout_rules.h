// The geometry of an enlarged standard file dialog, as plain arithmetic over rectangles: how big
// the dialog becomes, where it goes, which of its children move and by how much, and how long the
// drop-down lists open. The Win32 side (layout_win.cpp) reads the rectangles and applies these
// answers; nothing here knows a window.
//
// All values are pixels in screen coordinates, rectangles with right and bottom exclusive. The
// inputs come from other people's windows and from the shared settings, which any process can
// have written; every rule keeps its arithmetic in 64 bits and its answers within what a window
// can take, so that no input makes a result wrap around.
#pragma once

#include "hook/core/compat.h"
#include "hook/core/settings_block.h"
#include "hook/layout/geometry.h"

namespace vn {

struct LayoutRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct LayoutSize {
    int32_t width;
    int32_t height;
};

struct LayoutPoint {
    int32_t x;
    int32_t y;
};

// The size the dialog is enlarged to: the remembered size when it is to be used, otherwise the
// configured share of the screen.
struct TargetRule {
    bool useLastSize;
    int32_t lastWidth;
    int32_t lastHeight;
    int32_t screenWidth; // 0 or less when the system did not tell
    int32_t screenHeight;
    int32_t widthPercent;
    int32_t heightPercent;
};

// False when there is no target: no usable remembered size and no known screen. The dialog then
// keeps its size.
bool TargetSize(const TargetRule& rule, LayoutSize* target);

// Where a dialog of a new size goes: the remembered position, the centre of the screen, or where
// it already is.
struct PositionRule {
    bool useLastPosition;
    int32_t lastLeft;
    int32_t lastTop;
    bool centerDialog;
    int32_t screenWidth;
    int32_t screenHeight;
};

LayoutPoint PlaceDialog(const PositionRule& rule, LayoutSize size, LayoutPoint current);

// One pass of the enlargement of a dialog that does not size itself. The children beside the
// file list move right by dx, those below it down by dy, and the list grows by (dx, dy); the
// dialog gets the new window rectangle (left, top, width, height).
struct FixedPlan {
    int32_t dx;
    int32_t dy;
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
};

// target null: the dialog keeps its size (no file list to stretch, or no target) and is only
// placed. A dimension that is not allowed, or whose target is not larger, keeps its extent; the
// height may shrink toward a smaller target by at most 10 pixels; a dialog that would run past
// the bottom of the screen is moved up, but never above its top.
FixedPlan PlanEnlargeFixed(const LayoutRect& dialog, const LayoutSize* target, bool widthAllowed,
                           bool heightAllowed, const PositionRule& position);

// The reference of one moving pass: the file list's right and bottom edges and the growth.
struct MoveReference {
    bool present; // the dialog has a file list; without one nothing moves
    int32_t listRight;
    int32_t listBottom;
    int32_t dx;
    int32_t dy;
};

struct ChildMove {
    bool right; // beside the file list: moves by dx
    bool down;  // below the file list: moves by dy
};

// Which way a child whose window rectangle starts at (left, top) moves. Both may apply.
ChildMove MoveForChild(const MoveReference& ref, int32_t left, int32_t top);

// Below the file list, the dialog's own buttons that end at its right edge (Open, Cancel, Help)
// and the entry boxes left of them (the file name and file-type boxes) lie left of the list's
// right edge, so the move above leaves them where they were and a widened dialog showed them
// stopping short of the list. They follow the widening: such a button moves by dx, such a box
// grows by dx. Every other child keeps the move above.
enum class BelowListRole { kOther, kDialogButton, kEntryBox };

struct WideningFollow {
    int32_t moveX;     // added to the child's left
    int32_t growWidth; // added to the child's width
};

WideningFollow FollowWidening(const MoveReference& ref, const LayoutRect& child,
                              BelowListRole role);

// The class of the dialog and of nested dialog templates, the only parents whose children move.
bool IsDialogClassName(const char* className);

// The item dialog lays its own controls out, its shell browser filling what lies between the
// toolbar and the name and type rows. The library's rows go at the bottom of the dialog: the
// browser gives up their height, keeping at least minBrowserHeight, and the dialog's own controls
// below it move up by what it gave. Returns that height (0 when there is nothing to give).
int32_t ItemRowsRoom(const LayoutRect& browser, int64_t rowsHeight, int32_t minBrowserHeight);

// Whether a control of the item dialog lies below its browser, and so moves with the name row.
bool LiesBelowBrowser(const LayoutRect& browser, const LayoutRect& control);

// A window grown by (dx, dy), never below zero nor above kMaxWindowExtent.
LayoutSize GrownSize(int64_t width, int64_t height, int64_t dx, int64_t dy);

// Moves a coordinate by a distance without wrapping.
int32_t Shifted(int64_t coordinate, int64_t by);

// The height that lets the dialog show a nested template whose window reaches below it, or 0 when
// the dialog already shows all of it.
int32_t NestedFitHeight(const LayoutRect& dialog, const LayoutRect& nested);

// The enlargement of a dialog that lays out its own controls: only its window changes, and it is
// never made smaller.
struct ResizablePlan {
    bool change;
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
};

ResizablePlan PlanEnlargeResizable(const LayoutRect& dialog, const LayoutSize* target,
                                   const PositionRule& position);

// The growth that keeps the file list at its first distances to the dialog's right and bottom
// edges, with room below it for the added rows.
struct RelayoutShift {
    int32_t dx;
    int32_t dy;
};

RelayoutShift PlanRelayout(const LayoutRect& dialog, const LayoutRect& list, int32_t listRightGap,
                           int32_t listBottomGap, int64_t addedRowsHeight);

// How high the Look-in and file-type drop-downs open. 0 leaves that drop-down as it is: the
// switch is off, or the settings give no usable height.
struct DropDownHeights {
    int32_t lookIn;
    int32_t fileTypes;
};

DropDownHeights PlanDropDowns(const HookSettings& settings, int32_t workAreaHeight,
                              int32_t itemHeight);

// The height that makes the places bar end level with the bottom of the file-type box, or 0 when
// the box does not end below the bar's top.
int32_t PlacesBarHeight(const LayoutRect& placesBar, const LayoutRect& fileTypes);

// The children an outside caller moves after an enlargement: those that lay at or beyond the
// dialog's original right edge (less the frame) or bottom edge move by the growth that was added
// there; the others stay.
struct OriginalEdges {
    int32_t origRight;
    int32_t origBottom;
    int32_t frameWidth;
    int32_t addedWidth;
    int32_t addedHeight;
};

struct EdgeShift {
    bool move;
    int32_t x;
    int32_t y;
};

EdgeShift ShiftBeyondOriginalEdges(const OriginalEdges& edges, int32_t left, int32_t top);

} // namespace vn
