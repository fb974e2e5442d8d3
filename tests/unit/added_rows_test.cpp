#include "hook/layout/added_rows.h"

#include "hook/core/settings.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <vector>

using namespace vn;

namespace {

using Field = int32_t HookSettings::*;
using Box = std::array<int32_t, 4>; // left, top, width, height

// The library's defaults with some switches turned off.
HookSettings Settings(const std::vector<Field>& off = {}) {
    HookSettings s;
    SetLibraryDefaults(s);
    for (Field f : off)
        s.*f = 0;
    return s;
}

const std::vector<Field> kFileKeys = {&HookSettings::addClipButton,  &HookSettings::addCopyButton,
                                      &HookSettings::addMoveButton,  &HookSettings::addRenameButton,
                                      &HookSettings::addFindButton,  &HookSettings::addMkDirButton,
                                      &HookSettings::addDeleteButton};

// A 716 x 600 dialog at (100, 50) with the file-type box at 190 and a 3-pixel frame; a font of
// 13 x 6 pixels and a Cancel button 23 pixels high.
AddedRowsMeasures Measures() {
    return {13, 6, {40, 50, 55, 38}, true, 23, 3, 0};
}

AddedRowsPlan Plan(const HookSettings& s, AddedRowsPass pass, const AddedRowsMetrics& m) {
    const LayoutRect dialog = {100, 50, 816, 650};
    AddedRowsInput in = {pass, AddedControlsFor(s), m, 13, 6, dialog, 710, 600, true, 190, false, 0,
                         738};
    return PlanAddedRows(s, in);
}

Box At(const AddedRowsPlan& p, AddedControl c) {
    EXPECT_TRUE(p.placed[c]) << c;
    const LayoutRect& r = p.rects[c];
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

} // namespace

TEST(AddedRowsControls, TheSettingsSwitchEachControlOn) {
    struct Case {
        std::vector<Field> off;
        std::vector<AddedControl> absent;
    } cases[] = {
        {{}, {}},
        {{&HookSettings::addFindButton}, {kFindButton}},
        {{&HookSettings::addVnButtons},
         {kDeleteButton, kRenameButton, kCopyButton, kMoveButton, kFindButton, kMkdirButton,
          kClipButton}},
        {{&HookSettings::addVantorButton}, {kProductButton}},
        {{&HookSettings::showInfoLine}, {kInfoLine}},
        {{&HookSettings::showRecent}, {kRecentHint, kRecentFilesList, kRecentFoldersList}},
        {{&HookSettings::showFavorites}, {kFavoriteHint, kFavoriteFilesList, kFavoriteFoldersList}},
    };
    for (const Case& c : cases) {
        AddedControlSet set = AddedControlsFor(Settings(c.off));
        for (int i = 0; i < kAddedControlCount; ++i) {
            bool absent = false;
            for (AddedControl a : c.absent)
                absent = absent || a == i;
            EXPECT_EQ(set.present[i], !absent) << "control " << i;
        }
    }
}

TEST(AddedRowsControls, CaptionsStylesAndTabOrder) {
    HookSettings plain = Settings({&HookSettings::useAccelerators});
    EXPECT_EQ(AddedControlCaption(kProductButton, Settings()), 407); // "Vanto&r"
    EXPECT_EQ(AddedControlCaption(kProductButton, plain), 606);      // "Vantor"
    EXPECT_EQ(AddedControlCaption(kRecentHint, plain), 597);         // "&u" in any case
    HookSettings hints = Settings();
    hints.showListHints = 1;
    EXPECT_EQ(AddedControlStyle(kFavoriteHint, Settings()), kHiddenHintStyle);
    EXPECT_EQ(AddedControlStyle(kFavoriteHint, hints), 0x50000000u);
    EXPECT_FALSE(EnablesAddedButton(kMoveButton, true)); // a Browse dialog moves nothing
    EXPECT_TRUE(EnablesAddedButton(kRenameButton, true));

    // Alt with a hint's letter reaches the files list created right after the label.
    for (int i = 0; i + 1 < kAddedControlCount; ++i) {
        AddedControl next = kAddedCreationOrder[i + 1];
        if (kAddedCreationOrder[i] == kRecentHint) {
            EXPECT_EQ(next, kRecentFilesList);
        } else if (kAddedCreationOrder[i] == kFavoriteHint) {
            EXPECT_EQ(next, kFavoriteFilesList);
        }
    }
}

TEST(AddedRowsMeasure, ButtonCountWidthAndMinimumWidth) {
    struct Case {
        std::vector<Field> off;
        uint16_t avgCharWidth;
        int32_t placesBarWidth, count, width, minWidth;
    } cases[] = {
        // The widest caption, "&Path->clip", decides: (57 + 4) x 8 + 16 = 504 > 6 x 50 + 16.
        {{}, 6, 0, 8, 57, 510},
        // The information line's 716 is wider and is spread over the eight buttons.
        {{}, 14, 80, 8, 83, 802},
        {{&HookSettings::addFindButton, &HookSettings::addClipButton}, 6, 0, 6, 46, 322},
        // The product button alone takes an eighth of the row, whatever its caption measures.
        {{&HookSettings::addVnButtons}, 6, 0, 1, 33, 322},
        // A shared block that says "row" without file buttons has none to divide the row by.
        {kFileKeys, 6, 0, 1, 33, 322},
    };
    for (const Case& c : cases) {
        AddedRowsMeasures in = Measures();
        in.avgCharWidth = c.avgCharWidth;
        in.placesBarWidth = c.placesBarWidth;
        AddedRowsMetrics m = MeasureAddedRows(Settings(c.off), in);
        EXPECT_EQ(m.buttonCount, c.count) << c.width;
        EXPECT_EQ(m.buttonWidth, c.width);
        EXPECT_EQ(m.minWidth, c.minWidth) << c.width;
    }
}

TEST(AddedRowsMeasure, ButtonHeightFollowsTheCancelButton) {
    // A Cancel button shrunk to nothing gives no measure: the row keeps the text's height.
    struct Case {
        bool hasCancel;
        int32_t cancel, height;
    } cases[] = {
        {true, 23, 22}, {true, 30, 24}, {false, 23, 23}, {true, 1, 23}, {true, INT32_MIN, 23}};
    for (const Case& c : cases)
        EXPECT_EQ(ButtonHeight(13, c.hasCancel, c.cancel), c.height) << c.cancel;
}

TEST(AddedRowsMeasure, RowHeights) {
    struct Case {
        std::vector<Field> off;
        int32_t buttonRow, infoLine, lists;
    } cases[] = {
        {{}, 26, 17, 50},
        {{&HookSettings::showInfoLine}, 26, 0, 50},
        // The product button alone shares the information line's row, which takes its height.
        {{&HookSettings::addVnButtons}, 4, 27, 50},
        {{&HookSettings::addVnButtons, &HookSettings::showInfoLine}, 4, 27, 50},
        {{&HookSettings::addVnButtons, &HookSettings::addVantorButton}, 4, 17, 50},
        {{&HookSettings::showFavorites}, 26, 17, 25},
    };
    for (const Case& c : cases) {
        AddedRowsMetrics m = MeasureAddedRows(Settings(c.off), Measures());
        EXPECT_EQ(m.buttonRowHeight, c.buttonRow);
        EXPECT_EQ(m.infoLineHeight, c.infoLine);
        EXPECT_EQ(m.listsHeight, c.lists);
        EXPECT_EQ(AddedRowsHeight(m), c.buttonRow + c.infoLine + c.lists);
    }
}

TEST(AddedRowsWindowPlan, GrowsByTheRowsAndStaysInTheWorkArea) {
    PositionRule stay = {false, 0, 0, false, 1024, 768};
    PositionRule centre = {false, 0, 0, true, 1024, 768};
    PositionRule last = {true, -30, 20, false, 1024, 768};
    struct Case {
        LayoutRect dialog;
        PositionRule position;
        bool browse;
        int32_t workBottom, left, top, width, height;
    } cases[] = {
        {{100, 50, 816, 350}, stay, false, 738, 100, 50, 716, 393},
        {{100, 50, 500, 350}, stay, false, 738, 100, 50, 510, 393},   // widened to minWidth
        {{100, 400, 816, 700}, stay, false, 738, 100, 345, 716, 393}, // bottom on the work area's
        {{0, 0, 716, 620}, centre, false, 738, 154, 25, 716, 713},    // centred, then raised
        {{100, 50, 816, 350}, last, false, 738, -30, 20, 716, 393},
        {{100, 50, 816, 350}, stay, true, 738, 110, 79, 716, 393},  // clear of its opener
        {{0, 300, 716, 1000}, stay, false, 738, 0, 300, 716, 793},  // taller than the work area
        {{100, 400, 816, 700}, stay, false, 0, 100, 400, 716, 393}, // work area unknown
    };
    for (const Case& c : cases) {
        AddedRowsWindow w =
            PlanAddedRowsWindow({c.dialog, 510, 93, c.position, c.browse, 19, 0, c.workBottom});
        EXPECT_EQ((Box{w.left, w.top, w.width, w.height}), (Box{c.left, c.top, c.width, c.height}));
        // The growth is what the window gained.
        EXPECT_EQ(w.addedWidth, c.width - (c.dialog.right - c.dialog.left));
        EXPECT_EQ(w.addedHeight, 93);
        EXPECT_EQ(w.baseHeight, c.height);
    }
}

TEST(AddedRowsRowMetrics, StartSpreadProductAndGaps) {
    struct Case {
        int32_t count, right, fileTypesLeft;
        bool placesBar;
        int32_t placesBarRight, start, width, productX, gap1, gap2;
    } cases[] = {
        // The worked example: (816 - 8 - 114) / 8 - 3 = 83, leftover 5, product at 87 x 7 + 5 + 8.
        {8, 816, 190, false, 0, 8, 83, 622, 2, 3},
        {8, 816, 112, false, 0, 6, 84, 623, 0, 1},   // lined up with the file-type box
        {8, 816, 190, true, 190, 92, 73, 632, 0, 1}, // right of the places bar
        {8, 816, 190, true, 800, 8, 83, 622, 2, 3},  // unless that leaves no room
        {8, 400, 190, false, 0, 8, 60, 455, 0, -1},  // too narrow: measured width, row runs on
        {0, 816, 190, false, 0, 8, 691, 7, 0, -1},   // no count: one button
    };
    for (const Case& c : cases) {
        const LayoutRect dialog = {100, 0, c.right, 0};
        RowMetricsInput in = {true, c.count,         60,          dialog,          710,
                              true, c.fileTypesLeft, c.placesBar, c.placesBarRight};
        RowMetrics r = PlanRowMetrics(in);
        EXPECT_EQ((std::array<int32_t, 6>{r.start, r.buttonWidth, r.productX, r.productWidth,
                                          r.gap1, r.gap2}),
                  (std::array<int32_t, 6>{c.start, c.width, c.productX, c.width, c.gap1, c.gap2}));
    }
    // The product button alone sits at the right end of the client area.
    RowMetrics alone = PlanRowMetrics({false, 1, 33, {100, 0, 816, 0}, 710, false, 0, false, 0});
    EXPECT_EQ(alone.productX, 710 - 33 - 6);
    EXPECT_EQ(alone.productWidth, 33);
}

TEST(AddedRowsPlacement, FileButtonsSpreadWithTheGapsOfEachPass) {
    const AddedControl buttons[] = {kDeleteButton, kRenameButton, kCopyButton, kMoveButton,
                                    kFindButton,   kMkdirButton,  kClipButton};
    struct Case {
        AddedRowsPass pass;
        int32_t x[7];
    } cases[] = {
        // The worked example's row; a re-layout moves the wider gap from before Move to Find.
        {AddedRowsPass::kFirstLayout, {8, 95, 182, 271, 358, 446, 533}},
        {AddedRowsPass::kRelayout, {8, 95, 182, 269, 359, 445, 532}},
    };
    for (const Case& c : cases) {
        AddedRowsPlan p = Plan(Settings(), c.pass, {8, 60, 22, 510, 26, 17, 50});
        for (int k = 0; k < 7; ++k)
            EXPECT_EQ(At(p, buttons[k]), (Box{c.x[k], 507, 83, 22})) << k;
        EXPECT_EQ(At(p, kProductButton), (Box{622, 507, 83, 22}));
    }

    // The buttons that exist close up: without Rename, Copy takes its place.
    AddedRowsPlan p = Plan(Settings({&HookSettings::addRenameButton}), AddedRowsPass::kFirstLayout,
                           {7, 60, 22, 510, 26, 17, 50});
    EXPECT_FALSE(p.placed[kRenameButton]);
    EXPECT_EQ(p.rects[kCopyButton].left, 8 + p.row.buttonWidth + 4);
}

TEST(AddedRowsPlacement, InformationLine) {
    struct Case {
        std::vector<Field> off;
        Box info;
        int32_t rowTop, listTop;
    } cases[] = {
        {{}, {8, 533, 696, 17}, 507, 550}, // below the button row, 507 + 26
        // Beside the lone product button (671, 519, 33 x 22), as high and centred on its text.
        {{&HookSettings::addVnButtons}, {8, 523, 661, 22}, 519, 546},
        // None, and no room for it: the lists follow the button row directly.
        {{&HookSettings::showInfoLine}, {0, 0, 0, 0}, 524, 550},
    };
    for (const Case& c : cases) {
        HookSettings s = Settings(c.off);
        AddedRowsPlan p = Plan(s, AddedRowsPass::kFirstLayout, MeasureAddedRows(s, Measures()));
        EXPECT_EQ(p.placed[kInfoLine] ? At(p, kInfoLine) : Box{}, c.info);
        EXPECT_EQ(p.rowTop, c.rowTop);
        EXPECT_EQ(p.listTop, c.listTop);
        EXPECT_EQ(p.rects[kRecentFilesList].top, c.listTop);
    }
}

TEST(AddedRowsPlacement, ListRowsWithAndWithoutHints) {
    struct Case {
        int32_t showListHints;
        Box recentFiles, recentFolders, favoriteFiles;
    } cases[] = {
        {0, {8, 550, 342, 195}, {361, 550, 342, 195}, {8, 575, 342, 208}},
        {1, {11, 550, 342, 195}, {364, 550, 339, 195}, {11, 575, 342, 208}},
    };
    for (const Case& c : cases) {
        HookSettings s = Settings();
        s.showListHints = c.showListHints;
        AddedRowsPlan p = Plan(s, AddedRowsPass::kRelayout, MeasureAddedRows(s, Measures()));
        EXPECT_EQ(At(p, kRecentFilesList), c.recentFiles);
        EXPECT_EQ(At(p, kRecentFoldersList), c.recentFolders);
        EXPECT_EQ(At(p, kFavoriteFilesList), c.favoriteFiles);
        // The labels stand left of the row start, the favourite one two pixels shorter.
        EXPECT_EQ(At(p, kRecentHint), (Box{2, 552, 6, 15}));
        EXPECT_EQ(At(p, kFavoriteHint), (Box{2, 577, 6, 13}));
    }
}

TEST(AddedRowsPlacement, ARelayoutKeepsToTheRowsTheDialogWasGiven) {
    // The rows as created, and the settings changed to the opposite while the dialog is open.
    const std::vector<Field> kRowKeys = {
        &HookSettings::addVnButtons, &HookSettings::addVantorButton, &HookSettings::showInfoLine,
        &HookSettings::showRecent, &HookSettings::showFavorites};
    struct Case {
        std::vector<Field> off;
        int32_t showListHints;
    } cases[] = {
        {{}, 0},
        {{}, 1},
        {{&HookSettings::addVnButtons}, 1},
        {{&HookSettings::showInfoLine, &HookSettings::showRecent}, 0},
        {{&HookSettings::addFindButton, &HookSettings::addDeleteButton,
          &HookSettings::addVantorButton, &HookSettings::showFavorites},
         1},
    };
    for (const Case& c : cases) {
        HookSettings created = Settings(c.off);
        created.showListHints = c.showListHints;
        HookSettings now = created;
        for (Field f : kRowKeys)
            now.*f = !(created.*f);
        for (Field f : kFileKeys)
            now.*f = !(created.*f);
        now.showListHints = !c.showListHints;

        AddedRowsMetrics m = MeasureAddedRows(created, Measures());
        AddedRowsPlan want = Plan(created, AddedRowsPass::kRelayout, m);
        AddedRowsPlan got =
            Plan(SettingsOfCreatedRows(now, AddedControlsFor(created), c.showListHints != 0),
                 AddedRowsPass::kRelayout, m);
        for (int k = 0; k < kAddedControlCount; ++k) {
            ASSERT_EQ(got.placed[k], want.placed[k]) << k;
            if (!want.placed[k])
                continue;
            EXPECT_EQ(At(got, static_cast<AddedControl>(k)), At(want, static_cast<AddedControl>(k)))
                << k;
        }
    }
}

// The lists created after the rest of the rows are those the dialog would have been given with
// them, whatever rows are switched on: the re-layout then places them where they belong.
TEST(AddedRowsLists, PendingListsJoinTheirRows) {
    const std::vector<std::vector<Field>> cases = {
        {},
        {&HookSettings::showRecent},
        {&HookSettings::showFavorites},
        {&HookSettings::showRecent, &HookSettings::showFavorites},
        {&HookSettings::addVnButtons, &HookSettings::showInfoLine, &HookSettings::showListHints}};
    for (const auto& off : cases) {
        AddedControlSet all = AddedControlsFor(Settings(off)), first = all;
        for (int k = 0; k < kAddedControlCount; ++k)
            if (IsDropListControl(static_cast<AddedControl>(k)))
                first.present[k] = false;
        AddedControlSet joined = WithPendingLists(first);
        for (int k = 0; k < kAddedControlCount; ++k)
            EXPECT_EQ(joined.present[k], all.present[k]) << k << " with " << off.size() << " off";
    }
}

TEST(AddedRowsLists, OpenHeights) {
    struct Case {
        int32_t visible, shown, extraRows, workArea, height;
    } cases[] = {
        {10, 25, 5, 738, 195}, // the worked example: 15 rows of 13 pixels for the recent lists
        {10, 25, 6, 738, 208}, // and 16 for the favourite lists
        {50, 10, 5, 738, 312}, // no more than 10 x 2 + 4 rows
        {10, 25, 3, 738, 169},
        {100, 100, 5, 300, 296}, // the work area less 4 is the ceiling
        {-5, INT32_MAX, 5, 738, 65},
        {10, INT32_MIN, 5, 738, 52},
        {INT32_MAX, INT32_MAX, 5, 0, kMaxWindowExtent},
    };
    for (const Case& c : cases) {
        HookSettings s = Settings();
        s.recentVisible = c.visible;
        s.recentShown = c.shown;
        EXPECT_EQ(ListOpenHeight(s, 13, c.extraRows, c.workArea), c.height) << c.visible;
    }
}

TEST(AddedRowsPlacement, WildInputsGiveRectanglesAWindowCanTake) {
    HookSettings s = Settings();
    for (int32_t v : {INT32_MIN, -1, 0, 1, INT32_MAX}) {
        s.recentVisible = s.recentShown = v;
        AddedRowsMetrics m = MeasureAddedRows(s, {65535, 65535, {v, v, v, v}, true, v, v, v});
        m.buttonCount = v;
        const LayoutRect dialog = {v, v, v, v};
        AddedRowsInput in = {AddedRowsPass::kRelayout,
                             AddedControlsFor(s),
                             m,
                             65535,
                             65535,
                             dialog,
                             v,
                             v,
                             true,
                             v,
                             true,
                             v,
                             v};
        AddedRowsPlan p = PlanAddedRows(s, in);
        for (int i = 0; i < kAddedControlCount; ++i) {
            EXPECT_GE(p.rects[i].right, p.rects[i].left) << v;
            EXPECT_LE(int64_t{p.rects[i].right} - p.rects[i].left, kMaxWindowExtent) << v;
            EXPECT_GE(p.rects[i].bottom, p.rects[i].top) << v;
        }
        AddedRowsWindow w = PlanAddedRowsWindow(
            {{v, v, INT32_MAX, INT32_MAX}, v, v, {true, v, v, true, v, v}, true, v, v, INT32_MAX});
        EXPECT_LE(w.width, kMaxWindowExtent);
        EXPECT_LE(w.height, kMaxWindowExtent);
    }
}
