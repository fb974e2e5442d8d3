#include "hook/layout/layout_rules.h"

#include <cstring>

namespace vn {
namespace {

constexpr int64_t kShrinkLimit = 10; // a dialog never loses more height than this

using geometry::Extent;
using geometry::Max;
using geometry::Min;
using geometry::Saturate;

int64_t WidthOf(const LayoutRect& r) {
    return static_cast<int64_t>(r.right) - r.left;
}
int64_t HeightOf(const LayoutRect& r) {
    return static_cast<int64_t>(r.bottom) - r.top;
}

} // namespace

bool TargetSize(const TargetRule& rule, LayoutSize* target) {
    // A remembered size that is not positive was never a dialog's size: the share of the screen
    // is the better guess.
    if (rule.useLastSize && rule.lastWidth > 0 && rule.lastHeight > 0) {
        *target = {Extent(rule.lastWidth), Extent(rule.lastHeight)};
        return true;
    }
    if (rule.screenWidth <= 0 || rule.screenHeight <= 0)
        return false;
    // Integer division truncates toward zero, as the percentages are meant.
    *target = {Extent(static_cast<int64_t>(rule.screenWidth) * rule.widthPercent / 100),
               Extent(static_cast<int64_t>(rule.screenHeight) * rule.heightPercent / 100)};
    return true;
}

LayoutPoint PlaceDialog(const PositionRule& rule, LayoutSize size, LayoutPoint current) {
    if (rule.useLastPosition)
        return {rule.lastLeft, rule.lastTop};
    // Without a known screen there is no centre; the dialog stays where it is.
    if (rule.centerDialog && rule.screenWidth > 0 && rule.screenHeight > 0) {
        int64_t x = (static_cast<int64_t>(rule.screenWidth) - size.width) / 2;
        int64_t y = (static_cast<int64_t>(rule.screenHeight) - size.height) / 2;
        return {Saturate(Max(x, 0)), Saturate(Max(y, 0))};
    }
    return current;
}

FixedPlan PlanEnlargeFixed(const LayoutRect& dialog, const LayoutSize* target, bool widthAllowed,
                           bool heightAllowed, const PositionRule& position) {
    int64_t width = WidthOf(dialog);
    int64_t height = HeightOf(dialog);
    int64_t dx = 0, dy = 0;
    int64_t newWidth = width, newHeight = height;
    if (target && widthAllowed) {
        // The children move one pixel less than the dialog grows, which leaves the list a pixel
        // of margin; a dialog already at or beyond the target keeps its width.
        dx = Max(0, target->width - width - 1);
        newWidth = Max(width, target->width);
    }
    if (target && heightAllowed) {
        dy = Max(-kShrinkLimit, target->height - height - 1);
        newHeight = height + dy + 1;
    }
    newWidth = Extent(newWidth);
    newHeight = Extent(newHeight);

    // Keep the bottom on the screen as long as the top can stay on it too.
    int64_t top = dialog.top;
    if (position.screenHeight > 0 && top + newHeight > position.screenHeight) {
        top = position.screenHeight - newHeight;
        if (top < 0)
            top = 0;
    }
    LayoutPoint place =
        PlaceDialog(position, {static_cast<int32_t>(newWidth), static_cast<int32_t>(newHeight)},
                    {dialog.left, Saturate(top)});
    return {Saturate(dx),
            Saturate(dy),
            place.x,
            place.y,
            static_cast<int32_t>(newWidth),
            static_cast<int32_t>(newHeight)};
}

ChildMove MoveForChild(const MoveReference& ref, int32_t left, int32_t top) {
    if (!ref.present)
        return {false, false};
    ChildMove move;
    move.right = left >= ref.listRight && top <= ref.listBottom;
    move.down = static_cast<int64_t>(top) >= static_cast<int64_t>(ref.listBottom) - 1;
    return move;
}

WideningFollow FollowWidening(const MoveReference& ref, const LayoutRect& child,
                              BelowListRole role) {
    // A button a few pixels off the list's edge still ends "at" it: frames and rounding of
    // dialog units differ between systems.
    constexpr int64_t kEdgeSlack = 3;
    bool below = static_cast<int64_t>(child.top) >= static_cast<int64_t>(ref.listBottom) - 1;
    if (!ref.present || !below || child.left >= ref.listRight || ref.dx == 0)
        return {0, 0};
    int64_t offEdge = static_cast<int64_t>(child.right) - ref.listRight;
    if (role == BelowListRole::kDialogButton && offEdge >= -kEdgeSlack && offEdge <= kEdgeSlack)
        return {ref.dx, 0};
    if (role == BelowListRole::kEntryBox && offEdge <= 0)
        return {0, ref.dx};
    return {0, 0};
}

int32_t ItemRowsRoom(const LayoutRect& browser, int64_t rowsHeight, int32_t minBrowserHeight) {
    int64_t spare = static_cast<int64_t>(browser.bottom) - browser.top - minBrowserHeight;
    int64_t room = rowsHeight < spare ? rowsHeight : spare;
    if (room > kMaxWindowExtent)
        room = kMaxWindowExtent; // no window is higher: the rectangle is someone's wild one
    return room > 0 ? static_cast<int32_t>(room) : 0;
}

bool LiesBelowBrowser(const LayoutRect& browser, const LayoutRect& control) {
    return control.top >= browser.bottom;
}

bool IsDialogClassName(const char* className) {
    return className && strcmp(className, "#32770") == 0;
}

LayoutSize GrownSize(int64_t width, int64_t height, int64_t dx, int64_t dy) {
    return {Extent(width + dx), Extent(height + dy)};
}

int32_t Shifted(int64_t coordinate, int64_t by) {
    return Saturate(coordinate + by);
}

int32_t NestedFitHeight(const LayoutRect& dialog, const LayoutRect& nested) {
    if (nested.bottom <= dialog.bottom)
        return 0;
    return Extent(static_cast<int64_t>(nested.bottom) - dialog.top + 4);
}

ResizablePlan PlanEnlargeResizable(const LayoutRect& dialog, const LayoutSize* target,
                                   const PositionRule& position) {
    if (!target)
        return {false, dialog.left, dialog.top, Extent(WidthOf(dialog)), Extent(HeightOf(dialog))};
    LayoutSize size = {Extent(Max(target->width, WidthOf(dialog))),
                       Extent(Max(target->height, HeightOf(dialog)))};
    LayoutPoint place = PlaceDialog(position, size, {dialog.left, dialog.top});
    return {true, place.x, place.y, size.width, size.height};
}

RelayoutShift PlanRelayout(const LayoutRect& dialog, const LayoutRect& list, int32_t listRightGap,
                           int32_t listBottomGap, int64_t addedRowsHeight) {
    int64_t dx = static_cast<int64_t>(dialog.right) - listRightGap - list.right;
    int64_t dy = static_cast<int64_t>(dialog.bottom) - listBottomGap - list.bottom;
    return {Saturate(dx), Saturate(dy - addedRowsHeight)};
}

DropDownHeights PlanDropDowns(const HookSettings& settings, int32_t workAreaHeight,
                              int32_t itemHeight) {
    int64_t full = static_cast<int64_t>(workAreaHeight) - 4;
    DropDownHeights heights = {0, 0};
    if (settings.lengthenDrive) {
        int64_t h = full;
        if (settings.lenDriveLimit)
            h = Min(h, (static_cast<int64_t>(itemHeight) + 3) *
                           (static_cast<int64_t>(settings.lenDriveLimitNum) + 2));
        heights.lookIn = h > 0 ? Extent(h) : 0;
    }
    if (settings.lengthenTypes) {
        int64_t h = full;
        if (settings.lenTypesLimit)
            h = Min(h, (static_cast<int64_t>(settings.lenTypesLimitNum) + 2) * int64_t{itemHeight});
        heights.fileTypes = h > 0 ? Extent(h) : 0;
    }
    return heights;
}

int32_t PlacesBarHeight(const LayoutRect& placesBar, const LayoutRect& fileTypes) {
    int64_t h = static_cast<int64_t>(fileTypes.bottom) - placesBar.top;
    return h > 0 ? Extent(h) : 0;
}

EdgeShift ShiftBeyondOriginalEdges(const OriginalEdges& edges, int32_t left, int32_t top) {
    bool beyondRight = left >= static_cast<int64_t>(edges.origRight) - edges.frameWidth;
    bool below = top >= edges.origBottom;
    if (!beyondRight && !below)
        return {false, 0, 0};
    return {true, beyondRight ? edges.addedWidth : 0, below ? edges.addedHeight : 0};
}

} // namespace vn
