#include "hook/trained/training_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>

using namespace vn;

namespace {

constexpr uint32_t kChild = 0x40000000, kCaption = 0x00C00000, kModalFrame = 0x1;

// A desktop: the application's dialog 10 with a name box 11, a combo box 12 with its edit 13,
// a panel 14 holding a box 15 that holds an edit 16; the training window 50 with its button 51;
// another application's window 60 with a combo box 61.
class FakeDesktop final : public TrainingHost {
  public:
    struct Window {
        Handle32 parent;
        uint32_t style, exStyle, id;
        std::string cls;
    };
    std::map<Handle32, Window> w = {
        {10, {0, kCaption, kModalFrame, 0, "#32770"}},
        {11, {10, kChild, 0, 300, "Edit"}},
        {12, {10, kChild, 0, 301, "ComboBox"}},
        {13, {12, kChild, 0, 1001, "Edit"}},
        {14, {10, kChild, 0, 400, "Static"}},
        {15, {14, kChild, 0, 401, "Static"}},
        {16, {15, kChild, 0, 402, "Edit"}},
        {50, {0, kCaption, 0, 0, "TrainHookWin"}},
        {51, {50, kChild, 0, 1, "Button"}},
        {60, {0, kCaption, 0, 0, "Other"}},
        {61, {60, kChild, 0, 5, "COMBOBOX"}},
        {70, {10, kChild, 0, 0, "#32770"}}, // a child dialog of the dialog
        {71, {70, kChild, 0, 7, "Edit"}},
    };
    Handle32 childAtPoint = 10;
    bool inDialogRect = true;

    Handle32 ParentOf(Handle32 h) override { return w.count(h) ? w[h].parent : 0; }
    bool IsChildOf(Handle32 h, Handle32 ancestor) override {
        for (Handle32 p = ParentOf(h); p; p = ParentOf(p))
            if (p == ancestor)
                return true;
        return false;
    }
    uint32_t Style(Handle32 h) override { return w.count(h) ? w[h].style : 0; }
    uint32_t ExStyle(Handle32 h) override { return w.count(h) ? w[h].exStyle : 0; }
    void ClassName(Handle32 h, char* buf, size_t size) override {
        snprintf(buf, size, "%s", w.count(h) ? w[h].cls.c_str() : "");
    }
    uint32_t ControlId(Handle32 h) override { return w.count(h) ? w[h].id : 0; }
    Handle32 ChildAtPoint(Handle32, int, int) override { return childAtPoint; }
    bool PointInWindow(Handle32, int, int) override { return inDialogRect; }
};

TEST(TrainingClicks, ASelectionClickChoosesTheDialogAroundTheWindow) {
    FakeDesktop d;
    struct Case {
        Handle32 clicked, target;
    } cases[] = {{10, 10}, {11, 10}, {16, 10}, {13, 10}, {71, 10}, {60, 60}, {61, 60}, {0, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(SelectionTarget(d, c.clicked), c.target) << c.clicked;
    // A plain top-level window without caption or frame is no target; nor is a loop of owners.
    d.w[80] = {0, 0, 0, 0, "Plain"};
    d.w[81] = {82, kChild, 0, 0, "Edit"};
    d.w[82] = {81, kChild, 0, 0, "Edit"};
    EXPECT_EQ(SelectionTarget(d, 80), 0u);
    EXPECT_EQ(SelectionTarget(d, 81), 0u);
}

TEST(TrainingClicks, APointingClickCountsOnlyForTheDialogsControls) {
    FakeDesktop d;
    struct Case {
        const char* what;
        Handle32 clicked;
        Handle32 childAtPoint;
        bool inRect;
        bool counts;
        uint32_t id;
    } cases[] = {
        {"the name box", 11, 10, true, true, 300},
        {"the combo box's edit", 13, 10, true, true, 301},
        {"a box two levels down", 16, 10, true, true, 400},
        {"the dialog over a control", 10, 12, true, true, 301},
        {"the dialog's empty area", 10, 10, true, true, 0},
        {"the training window", 51, 10, true, false, 0},
        {"another application's combo box", 61, 10, false, false, 0},
        {"another application's window", 60, 10, false, false, 0},
        {"a window lying over the dialog", 60, 10, true, true, 0},
    };
    for (const Case& c : cases) {
        d.childAtPoint = c.childAtPoint;
        d.inDialogRect = c.inRect;
        PointedControl p = PointAt(d, c.clicked, 5, 5, 10, 50);
        EXPECT_EQ(p.counts, c.counts) << c.what;
        EXPECT_EQ(p.id, c.id) << c.what;
    }
}

struct TrainingState : ::testing::Test {
    std::unique_ptr<SharedState> s = std::make_unique<SharedState>();
    void SetUp() override {
        InitSharedState(*s);
        s->trainedState = kScratchSlot;
        s->trainingActive = 1;
        strcpy(s->trainedEntries[kScratchSlot].appName, "Scratch");
    }
};

TEST_F(TrainingState, TwoPointedControlsStoreTheEntryBehindTheOthers) {
    s->trainedCount = 3;
    EXPECT_EQ(RecordPointedId(*s, 300), PointStep::kNext);
    EXPECT_EQ(s->trainingStep, 1u);
    EXPECT_EQ(RecordPointedId(*s, 301), PointStep::kStored);
    EXPECT_EQ(s->trainedCount, 4);
    EXPECT_EQ(s->trainedState, 3);
    EXPECT_STREQ(s->trainedEntries[3].appName, "Scratch");
    EXPECT_EQ(s->trainedEntries[3].fileNameId, 300);
    EXPECT_EQ(s->trainedEntries[3].typesListId, 301);
    EXPECT_EQ(s->trainedEntries[3].length, kTrainedRecordSize);
    EXPECT_EQ(s->trainingActive, 0u);
    // A click that comes after pointing ended changes nothing.
    EXPECT_EQ(RecordPointedId(*s, 5), PointStep::kIgnored);
    EXPECT_EQ(s->trainedCount, 4);
}

TEST_F(TrainingState, AFullDatabaseStoresNothingAndTheScratchSlotIsNoStoredEntry) {
    s->trainedCount = kMaxTrainedEntries;
    strcpy(s->trainedEntries[49].appName, "Last stored");
    RecordPointedId(*s, 0);
    EXPECT_EQ(RecordPointedId(*s, 0), PointStep::kFull);
    EXPECT_EQ(s->trainedCount, kMaxTrainedEntries);
    EXPECT_STREQ(s->trainedEntries[49].appName, "Last stored");
    // A hostile trainedState names no slot: nothing is recorded.
    s->trainingActive = 1;
    s->trainedState = 52;
    EXPECT_EQ(RecordPointedId(*s, 1), PointStep::kIgnored);
    EXPECT_EQ(EntryUnderTraining(*s), nullptr);
}

TEST_F(TrainingState, TheRingGivesTheCreationDataOfTheNewestSighting) {
    auto see = [&](Handle32 window, int width, const char* title) {
        RecentWindow& r = s->recentWindows[s->recentWindowNext];
        r = {};
        r.window = window;
        r.width = width;
        r.isDialogClass = 1;
        strcpy(r.title, title);
        strcpy(r.moduleName, "vnsample");
        s->recentWindowNext = static_cast<int16_t>((s->recentWindowNext + 1) % 20);
        if (s->recentWindowCount < 20)
            ++s->recentWindowCount;
    };
    for (int i = 0; i < 25; ++i)
        see(static_cast<Handle32>(100 + (i % 3)), i, "Picker");
    TrainedEntry e = {};
    ASSERT_TRUE(FillFromRecentWindows(*s, 101, e));
    EXPECT_EQ(e.width, 22);
    EXPECT_STREQ(e.moduleName, "vnsample");
    EXPECT_EQ(e.dialogClass, 1);
    EXPECT_FALSE(FillFromRecentWindows(*s, 999, e)); // opened before training began
    s->recentWindowNext = -7;                        // written by anybody
    s->recentWindowCount = 400;
    EXPECT_TRUE(FillFromRecentWindows(*s, 101, e));
}

TEST_F(TrainingState, KnownEntriesAreFoundAndRemovedByMovingTheLast) {
    for (int i = 0; i < 3; ++i) {
        TrainedEntry& e = s->trainedEntries[i];
        snprintf(e.appName, sizeof e.appName, "E%d", i);
        snprintf(e.moduleName, sizeof e.moduleName, "app");
        snprintf(e.finalTitle, sizeof e.finalTitle, "T%d", i);
    }
    s->trainedCount = 3;
    TrainedEntry probe = s->trainedEntries[1];
    strcpy(probe.moduleName, "APP");
    EXPECT_EQ(FindKnownEntry(*s, probe), 1);
    strcpy(probe.finalTitle, "other");
    EXPECT_EQ(FindKnownEntry(*s, probe), -1);
    RemoveEntry(*s, 0);
    EXPECT_EQ(s->trainedCount, 2);
    EXPECT_STREQ(s->trainedEntries[0].appName, "E2");
    EXPECT_STREQ(s->trainedEntries[2].appName, "");
    RemoveEntry(*s, 5); // beyond the entries: nothing
    EXPECT_EQ(s->trainedCount, 2);

    char name[kTitleSize];
    AppNameFromTitle("report.txt - Sample Editor", name, sizeof name);
    EXPECT_STREQ(name, "report.txt");
}

} // namespace
