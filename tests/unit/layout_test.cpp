#include "hook/layout/layout_rules.h"

#include <gtest/gtest.h>

#include <climits>

using namespace vn;

namespace {

constexpr int32_t kScreenW = 1024;
constexpr int32_t kScreenH = 768;

LayoutSize Target70() {
    LayoutSize t = {0, 0};
    EXPECT_TRUE(TargetSize({false, 0, 0, kScreenW, kScreenH, 70, 70}, &t));
    return t;
}

PositionRule StayPut() {
    return {false, 0, 0, false, kScreenW, kScreenH};
}

PositionRule Centred() {
    return {false, 0, 0, true, kScreenW, kScreenH};
}

LayoutRect At(int32_t left, int32_t top, int32_t width, int32_t height) {
    return {left, top, left + width, top + height};
}

} // namespace

TEST(LayoutTarget, IsTheShareOfTheScreenOrTheRememberedSize) {
    LayoutSize t = Target70();
    EXPECT_EQ(t.width, 716);
    EXPECT_EQ(t.height, 537);

    ASSERT_TRUE(TargetSize({true, 640, 480, kScreenW, kScreenH, 70, 70}, &t));
    EXPECT_EQ(t.width, 640);
    EXPECT_EQ(t.height, 480);
    // A remembered size that is not positive is not used.
    ASSERT_TRUE(TargetSize({true, 0, 480, kScreenW, kScreenH, 50, 50}, &t));
    EXPECT_EQ(t.width, 512);
    EXPECT_EQ(t.height, 384);
}

TEST(LayoutTarget, SurvivesUnknownScreensAndWildSettings) {
    LayoutSize t = {-1, -1};
    EXPECT_FALSE(TargetSize({false, 0, 0, 0, kScreenH, 70, 70}, &t));
    EXPECT_FALSE(TargetSize({false, 0, 0, kScreenW, -5, 70, 70}, &t));
    EXPECT_TRUE(TargetSize({true, 700, 500, 0, 0, 70, 70}, &t)); // a remembered size needs none
    EXPECT_EQ(t.width, 700);

    ASSERT_TRUE(TargetSize({false, 0, 0, kScreenW, kScreenH, INT32_MAX, -40}, &t));
    EXPECT_EQ(t.width, kMaxWindowExtent);
    EXPECT_EQ(t.height, 0);
    ASSERT_TRUE(TargetSize({true, INT32_MAX, INT32_MAX, 0, 0, 0, 0}, &t));
    EXPECT_EQ(t.height, kMaxWindowExtent);
}

// The two passes of a dialog without added rows: 400 x 300 becomes 716 x 300, then 716 x 537.
TEST(LayoutFixed, WidthPassThenHeightPassReachTheTarget) {
    LayoutSize target = Target70();
    LayoutRect dialog = At(100, 50, 400, 300);

    FixedPlan width = PlanEnlargeFixed(dialog, &target, true, false, StayPut());
    EXPECT_EQ(width.dx, 315);
    EXPECT_EQ(width.dy, 0);
    EXPECT_EQ(width.width, 716);
    EXPECT_EQ(width.height, 300);
    EXPECT_EQ(width.left, 100);
    EXPECT_EQ(width.top, 50);

    LayoutRect widened = At(width.left, width.top, width.width, width.height);
    FixedPlan height = PlanEnlargeFixed(widened, &target, true, true, StayPut());
    EXPECT_EQ(height.dx, 0); // already at the target width: no move, no extra pixel
    EXPECT_EQ(height.dy, 236);
    EXPECT_EQ(height.width, 716);
    EXPECT_EQ(height.height, 537);
    EXPECT_EQ(height.top, 50);

    // Centred with the new size.
    FixedPlan centred = PlanEnlargeFixed(widened, &target, true, true, Centred());
    EXPECT_EQ(centred.left, 154);
    EXPECT_EQ(centred.top, 115);
}

TEST(LayoutFixed, NeverNarrowerAndAtMostTenPixelsLower) {
    LayoutSize target = Target70();
    FixedPlan tall = PlanEnlargeFixed(At(0, 0, 800, 700), &target, true, true, StayPut());
    EXPECT_EQ(tall.dx, 0);
    EXPECT_EQ(tall.width, 800);
    EXPECT_EQ(tall.dy, -10);
    EXPECT_EQ(tall.height, 691);

    FixedPlan slightly = PlanEnlargeFixed(At(0, 0, 716, 540), &target, true, true, StayPut());
    EXPECT_EQ(slightly.dy, -4);
    EXPECT_EQ(slightly.height, 537);

    // A dimension that is not allowed keeps its extent exactly.
    FixedPlan none = PlanEnlargeFixed(At(0, 0, 400, 300), &target, false, false, StayPut());
    EXPECT_EQ(none.dx, 0);
    EXPECT_EQ(none.dy, 0);
    EXPECT_EQ(none.width, 400);
    EXPECT_EQ(none.height, 300);
}

TEST(LayoutFixed, MovesUpAtTheScreenBottomButNotAboveTheTop) {
    LayoutSize target = Target70();
    FixedPlan low = PlanEnlargeFixed(At(200, 400, 716, 300), &target, true, true, StayPut());
    EXPECT_EQ(low.height, 537);
    EXPECT_EQ(low.top, kScreenH - 537); // bottom at the screen bottom
    EXPECT_EQ(low.left, 200);           // no horizontal clamp

    LayoutSize huge = {716, 900};
    FixedPlan tall = PlanEnlargeFixed(At(0, 300, 716, 400), &huge, true, true, StayPut());
    EXPECT_EQ(tall.top, 0);
    EXPECT_EQ(tall.height, 900); // keeps its full height, running off the bottom

    // An unknown screen has no bottom to keep to.
    PositionRule unknown = {false, 0, 0, true, 0, 0};
    FixedPlan blind = PlanEnlargeFixed(At(10, 700, 716, 300), &target, true, true, unknown);
    EXPECT_EQ(blind.top, 700);
    EXPECT_EQ(blind.left, 10); // and no centre
}

TEST(LayoutFixed, PlacesAtTheLastPositionOrCentreOrLeavesItWithoutTarget) {
    LayoutSize target = Target70();
    PositionRule last = {true, -30, 20, false, kScreenW, kScreenH};
    FixedPlan p = PlanEnlargeFixed(At(100, 100, 400, 300), &target, true, true, last);
    EXPECT_EQ(p.left, -30);
    EXPECT_EQ(p.top, 20);

    LayoutSize big = {1200, 900};
    FixedPlan c = PlanEnlargeFixed(At(100, 100, 400, 300), &big, true, true, Centred());
    EXPECT_EQ(c.left, 0); // a centre above or left of the screen is raised to 0
    EXPECT_EQ(c.top, 0);

    // No file list or no target: the dialog keeps its size and is only placed.
    FixedPlan kept = PlanEnlargeFixed(At(100, 100, 400, 300), nullptr, true, true, Centred());
    EXPECT_EQ(kept.dx, 0);
    EXPECT_EQ(kept.dy, 0);
    EXPECT_EQ(kept.width, 400);
    EXPECT_EQ(kept.height, 300);
    EXPECT_EQ(kept.left, 312);
    EXPECT_EQ(kept.top, 234);
}

TEST(LayoutFixed, DegenerateAndExtremeRectanglesGiveSaneSizes) {
    LayoutSize target = Target70();
    FixedPlan inverted = PlanEnlargeFixed({500, 500, 100, 100}, &target, true, true, StayPut());
    EXPECT_GE(inverted.width, 0);
    EXPECT_GE(inverted.height, 0);
    EXPECT_LE(inverted.width, kMaxWindowExtent);

    FixedPlan wide = PlanEnlargeFixed({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, &target, true,
                                      true, StayPut());
    EXPECT_EQ(wide.dx, 0);
    EXPECT_EQ(wide.dy, -10);
    EXPECT_EQ(wide.width, kMaxWindowExtent);
    EXPECT_EQ(wide.top, INT32_MIN); // far above the screen: the bottom is not below it
}

TEST(LayoutMove, BesideTheListMovesRightBelowItMovesDown) {
    // The file list ends at x 500 and y 400.
    MoveReference ref = {true, 500, 400, 315, 236};
    ChildMove beside = MoveForChild(ref, 520, 100);
    EXPECT_TRUE(beside.right);
    EXPECT_FALSE(beside.down);

    ChildMove below = MoveForChild(ref, 100, 420);
    EXPECT_FALSE(below.right);
    EXPECT_TRUE(below.down);

    ChildMove corner = MoveForChild(ref, 510, 410);
    EXPECT_FALSE(corner.right); // below the list is not beside it
    EXPECT_TRUE(corner.down);

    ChildMove edge = MoveForChild(ref, 500, 399); // touches both edges
    EXPECT_TRUE(edge.right);
    EXPECT_TRUE(edge.down);

    ChildMove above = MoveForChild(ref, 100, 100);
    EXPECT_FALSE(above.right);
    EXPECT_FALSE(above.down);

    ChildMove justAbove = MoveForChild(ref, 100, 398);
    EXPECT_FALSE(justAbove.down);
}

// The row of Wine's dialog below the list: the name box from 103 to 418, Open from 431 to 500
// where the list ends. Widening by 57 takes Open to the list's new edge and stretches the box.
TEST(LayoutMove, ButtonsEndingAtTheListFollowItAndEntryBoxesStretch) {
    const MoveReference ref = {true, 500, 400, 57, 30};
    const struct {
        const char* what;
        LayoutRect child;
        BelowListRole role;
        int32_t moveX, growWidth;
    } cases[] = {
        {"Open at the edge", {431, 410, 500, 433}, BelowListRole::kDialogButton, 57, 0},
        {"Cancel a pixel off", {431, 440, 502, 463}, BelowListRole::kDialogButton, 57, 0},
        {"a button short of the edge", {300, 410, 420, 433}, BelowListRole::kDialogButton, 0, 0},
        {"name box", {103, 410, 418, 433}, BelowListRole::kEntryBox, 0, 57},
        {"a box past the edge", {103, 410, 520, 433}, BelowListRole::kEntryBox, 0, 0},
        {"a label", {10, 410, 100, 433}, BelowListRole::kOther, 0, 0},
        {"a button above the list", {431, 100, 500, 123}, BelowListRole::kDialogButton, 0, 0},
        {"a button beside the list", {510, 410, 580, 433}, BelowListRole::kDialogButton, 0, 0},
    };
    for (const auto& c : cases) {
        WideningFollow f = FollowWidening(ref, c.child, c.role);
        EXPECT_EQ(f.moveX, c.moveX) << c.what;
        EXPECT_EQ(f.growWidth, c.growWidth) << c.what;
    }
    MoveReference none = {false, 500, 400, 57, 30};
    EXPECT_EQ(FollowWidening(none, {431, 410, 500, 433}, BelowListRole::kDialogButton).moveX, 0);
}

TEST(LayoutMove, NothingMovesWithoutAListAndNegativeScreensStillMove) {
    MoveReference none = {false, 0, 0, 315, 236};
    ChildMove m = MoveForChild(none, 10, 10);
    EXPECT_FALSE(m.right || m.down);

    // A dialog on a monitor above the primary one has negative coordinates.
    MoveReference above = {true, 200, -300, 315, 236};
    ChildMove beside = MoveForChild(above, 220, -500);
    EXPECT_TRUE(beside.right);
    EXPECT_FALSE(beside.down);
    EXPECT_TRUE(MoveForChild(above, 0, -280).down);

    EXPECT_FALSE(MoveForChild({true, 0, INT32_MIN, 1, 1}, 0, INT32_MIN + 5).right);
    EXPECT_TRUE(MoveForChild({true, 0, INT32_MIN, 1, 1}, 0, INT32_MIN).down);
}

TEST(LayoutMove, OnlyDialogClassesAreParentsWhoseChildrenMove) {
    EXPECT_TRUE(IsDialogClassName("#32770"));
    EXPECT_FALSE(IsDialogClassName("TPanel"));
    EXPECT_FALSE(IsDialogClassName("#327700"));
    EXPECT_FALSE(IsDialogClassName(""));
    EXPECT_FALSE(IsDialogClassName(nullptr));
}

TEST(LayoutMove, GrownSizesAndShiftsStayInRange) {
    LayoutSize s = GrownSize(300, 200, 315, 236);
    EXPECT_EQ(s.width, 615);
    EXPECT_EQ(s.height, 436);
    s = GrownSize(5, 5, -10, -10);
    EXPECT_EQ(s.width, 0);
    EXPECT_EQ(s.height, 0);
    s = GrownSize(INT32_MAX, 1, INT32_MAX, 0);
    EXPECT_EQ(s.width, kMaxWindowExtent);
    EXPECT_EQ(Shifted(INT32_MAX, 10), INT32_MAX);
    EXPECT_EQ(Shifted(INT32_MIN, -10), INT32_MIN);
    EXPECT_EQ(Shifted(7, 315), 322);
}

TEST(LayoutNested, TheDialogGrowsToShowATemplateReachingBelowIt) {
    LayoutRect dialog = At(100, 100, 400, 300);
    EXPECT_EQ(NestedFitHeight(dialog, At(100, 150, 400, 300)), 354); // 450 - 100 + 4
    EXPECT_EQ(NestedFitHeight(dialog, At(100, 150, 400, 250)), 0);   // ends level: no change
    EXPECT_EQ(NestedFitHeight(dialog, {0, 0, 0, INT32_MAX}), kMaxWindowExtent);
}

TEST(LayoutResizable, GrowsToTheTargetButNeverShrinks) {
    LayoutSize target = Target70();
    ResizablePlan grow = PlanEnlargeResizable(At(30, 40, 500, 350), &target, StayPut());
    EXPECT_TRUE(grow.change);
    EXPECT_EQ(grow.width, 716);
    EXPECT_EQ(grow.height, 537);
    EXPECT_EQ(grow.left, 30);
    EXPECT_EQ(grow.top, 40);

    ResizablePlan keep = PlanEnlargeResizable(At(0, 0, 900, 400), &target, Centred());
    EXPECT_EQ(keep.width, 900);
    EXPECT_EQ(keep.height, 537);
    EXPECT_EQ(keep.left, 62);
    EXPECT_EQ(keep.top, 115);

    EXPECT_FALSE(PlanEnlargeResizable(At(0, 0, 500, 350), nullptr, Centred()).change);
}

TEST(LayoutRelayout, KeepsTheListGapsAndRoomForTheRows) {
    // First layout: dialog 0..716 x 0..537, list right at 700 and bottom at 450.
    LayoutRect list = {10, 60, 700, 450};
    RelayoutShift same = PlanRelayout({0, 0, 716, 537}, list, 16, 87, 0);
    EXPECT_EQ(same.dx, 0);
    EXPECT_EQ(same.dy, 0);

    RelayoutShift grown = PlanRelayout({0, 0, 816, 637}, list, 16, 87, 0);
    EXPECT_EQ(grown.dx, 100);
    EXPECT_EQ(grown.dy, 100);

    RelayoutShift rows = PlanRelayout({0, 0, 816, 637}, list, 16, 87, 60);
    EXPECT_EQ(rows.dy, 40);

    RelayoutShift wild = PlanRelayout({0, 0, INT32_MAX, INT32_MAX}, list, INT32_MIN, 0, 0);
    EXPECT_EQ(wild.dx, INT32_MAX);
}

TEST(LayoutDropDowns, OpenToTheLimitOrTheWorkArea) {
    HookSettings s = {};
    s.lengthenDrive = 1;
    s.lenDriveLimit = 1;
    s.lenDriveLimitNum = 25;
    s.lengthenTypes = 1;
    s.lenTypesLimit = 1;
    s.lenTypesLimitNum = 25;
    DropDownHeights h = PlanDropDowns(s, 768, 13);
    EXPECT_EQ(h.lookIn, 432);
    EXPECT_EQ(h.fileTypes, 351);

    s.lenDriveLimit = 0;
    s.lenTypesLimit = 0;
    h = PlanDropDowns(s, 738, 13);
    EXPECT_EQ(h.lookIn, 734);
    EXPECT_EQ(h.fileTypes, 734);

    s.lenDriveLimit = 1;
    s.lenTypesLimit = 1;
    h = PlanDropDowns(s, 300, 13); // a small work area is the ceiling
    EXPECT_EQ(h.lookIn, 296);
    EXPECT_EQ(h.fileTypes, 296);

    s.lengthenDrive = 0;
    s.lengthenTypes = 0;
    h = PlanDropDowns(s, 768, 13);
    EXPECT_EQ(h.lookIn, 0);
    EXPECT_EQ(h.fileTypes, 0);
}

TEST(LayoutDropDowns, UnusableSettingsLeaveTheListsAlone) {
    HookSettings s = {};
    s.lengthenDrive = s.lenDriveLimit = s.lengthenTypes = s.lenTypesLimit = 1;
    s.lenDriveLimitNum = -7;
    s.lenTypesLimitNum = INT32_MAX;
    DropDownHeights h = PlanDropDowns(s, 768, 13);
    EXPECT_EQ(h.lookIn, 0);      // a negative count gives no height
    EXPECT_EQ(h.fileTypes, 764); // a huge one is bounded by the work area

    s.lenDriveLimitNum = 25;
    h = PlanDropDowns(s, 768, 0); // no measured text: no file-type rows
    EXPECT_EQ(h.fileTypes, 0);
    EXPECT_EQ(h.lookIn, 81);

    h = PlanDropDowns(s, 0, 13); // unknown work area
    EXPECT_EQ(h.lookIn, 0);
    EXPECT_EQ(h.fileTypes, 0);
}

TEST(LayoutPlacesBar, EndsLevelWithTheFileTypeBox) {
    EXPECT_EQ(PlacesBarHeight(At(5, 60, 80, 300), {100, 420, 400, 441}), 381);
    EXPECT_EQ(PlacesBarHeight(At(5, 500, 80, 300), {100, 420, 400, 441}), 0);
    EXPECT_EQ(PlacesBarHeight({0, INT32_MIN, 0, 0}, {0, 0, 0, INT32_MAX}), kMaxWindowExtent);
}

TEST(LayoutOriginalEdges, OnlyChildrenBeyondTheOldEdgesMove) {
    OriginalEdges e = {500, 400, 4, 315, 236};
    EdgeShift inside = ShiftBeyondOriginalEdges(e, 495, 399);
    EXPECT_FALSE(inside.move);

    EdgeShift right = ShiftBeyondOriginalEdges(e, 496, 100);
    EXPECT_TRUE(right.move);
    EXPECT_EQ(right.x, 315);
    EXPECT_EQ(right.y, 0);

    EdgeShift below = ShiftBeyondOriginalEdges(e, 10, 400);
    EXPECT_TRUE(below.move);
    EXPECT_EQ(below.x, 0);
    EXPECT_EQ(below.y, 236);

    EdgeShift both = ShiftBeyondOriginalEdges({INT32_MIN, INT32_MIN, INT32_MAX, 1, 2}, 0, 0);
    EXPECT_TRUE(both.move);
    EXPECT_EQ(both.x, 1);
    EXPECT_EQ(both.y, 2);
}

TEST(LayoutItemDialog, TheBrowserGivesTheRowsItsHeightDownToItsMinimum) {
    const struct {
        LayoutRect browser;
        int64_t rows;
        int32_t room;
    } cases[] = {
        {{0, 40, 770, 440}, 120, 120}, // room enough
        {{0, 40, 770, 240}, 170, 120}, // keeps its 80 pixels
        {{0, 40, 770, 100}, 50, 0},    // already below its minimum
        {{0, 40, 770, 440}, -30, 0},   // wild row heights give nothing
        {{0, INT32_MIN, 770, INT32_MAX}, INT64_MAX, kMaxWindowExtent}, // a wild rectangle
    };
    for (const auto& c : cases)
        EXPECT_EQ(ItemRowsRoom(c.browser, c.rows, 80), c.room) << c.browser.bottom << " " << c.rows;
    LayoutRect browser = {0, 40, 770, 440};
    EXPECT_TRUE(LiesBelowBrowser(browser, {160, 440, 600, 460})); // the name row
    EXPECT_FALSE(LiesBelowBrowser(browser, {0, 0, 60, 36}));      // the toolbar
    EXPECT_FALSE(LiesBelowBrowser(browser, {10, 400, 200, 441})); // overlapping it
}
