#include "hook/core/classify.h"
#include "hook/core/dialog_record.h"
#include "hook/core/dialog_setup.h"
#include "hook/core/settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace vn;

namespace {

constexpr uint32_t kChild = 0x40000000, kCaption = 0x00C00000, kSysMenu = 0x00080000;
constexpr Handle32 kApp = 0x100, kDialog = 0x200, kCombo = 0x300, kChildDialog = 0x400;

// A desktop of windows with owners and styles, and a record of what classification asked for.
class FakeHost final : public ClassifyHost {
  public:
    std::map<Handle32, std::string> owner;
    std::map<Handle32, uint32_t> style;
    std::map<Handle32, Handle32> parent;
    std::vector<Handle32> setUp;
    std::vector<DialogKind> kinds;
    std::vector<int> handed;
    std::string module = "notepad";
    std::function<void()> duringSetUp;

    const char* ModuleName() override { return module.c_str(); }
    uint32_t WindowStyle(Handle32 w) override { return style.count(w) ? style[w] : 0; }
    Handle32 ParentOf(Handle32 w) override { return parent.count(w) ? parent[w] : 0; }
    void OwnerModuleFile(Handle32 w, char* buf, size_t size) override {
        snprintf(buf, size, "%s", owner.count(w) ? owner[w].c_str() : "");
    }
    bool HasTrainedSlot(Handle32) override { return false; }
    bool TrainedSlotModule(Handle32, char*, size_t) override { return false; }
    bool TrainedActiveFor(const char*) override { return false; }
    void HandTrainedMatch(int index, Handle32) override { handed.push_back(index); }
    bool SetUpFileDialog(Handle32 dialog, const char*, bool, DialogKind kind) override {
        setUp.push_back(dialog);
        kinds.push_back(kind);
        if (duringSetUp)
            duringSetUp();
        return true;
    }
};

struct ClassifyTest : ::testing::Test {
    std::unique_ptr<SharedState> s = std::make_unique<SharedState>();
    ClassifyWatch watch = {};
    FakeHost host;

    void SetUp() override {
        InitSharedState(*s);
        host.owner[kDialog] = "C:\\windows\\system32\\comdlg32.dll";
        host.owner[kCombo] = "C:\\windows\\system32\\comdlg32.dll";
        host.style[kDialog] = 0x82C800C4;
        host.style[kCombo] = kChild;
        host.style[kChildDialog] = kChild;
    }
    void Dialog(Handle32 w = kDialog, Handle32 parentWindow = kApp, const char* title = "Open") {
        CreationInfo info = {};
        info.style = 0x82C800C4;
        info.classAtom = kDialogClassAtom;
        info.title = title;
        info.width = 654;
        info.height = 410;
        info.parent = parentWindow;
        Classify(*s, watch, host, info, w);
    }
    void Control(uint32_t id, Handle32 parentWindow = kDialog) {
        CreationInfo info = {};
        info.style = kChild;
        info.className = "Static";
        info.parent = parentWindow;
        info.controlId = id;
        Classify(*s, watch, host, info, 0x1000 + id);
    }
    // The order in which the standard Open dialog creates its controls.
    void StandardControls() {
        Control(1091);
        Control(1137);
        Control(1000, kCombo);
        for (uint32_t id : {1088u, 1120u, 1090u, 1152u, 1089u, 1136u})
            Control(id);
    }
};

TEST_F(ClassifyTest, TheStandardDialogIsTakenOverOnceAtItsSixthControl) {
    Dialog();
    StandardControls();
    ASSERT_EQ(host.setUp.size(), 1u);
    EXPECT_EQ(host.setUp[0], kDialog);
    EXPECT_EQ(watch.fileDialogPending, 0u);
}

// Two applications (two threads' watches) create their dialogs at the same moment, their
// controls interleaved: each watch sees only its own thread's windows, and both are taken over.
TEST_F(ClassifyTest, DialogsOpenedTogetherOnTwoThreadsAreBothTakenOver) {
    constexpr Handle32 kOther = 0x500, kOtherCombo = 0x600;
    host.owner[kOther] = host.owner[kOtherCombo] = host.owner[kDialog];
    host.style[kOther] = host.style[kDialog];
    host.style[kOtherCombo] = kChild;
    ClassifyWatch mine = {}, theirs = {};
    auto on = [&](ClassifyWatch& w, const std::function<void()>& create) {
        std::swap(watch, w);
        create();
        std::swap(watch, w);
    };
    on(mine, [&] { Dialog(); });
    on(theirs, [&] { Dialog(kOther); });
    on(mine, [&] { Control(1091); });
    on(theirs, [&] { Control(1091, kOther); });
    on(mine, [&] { Control(1000, kCombo); });
    on(theirs, [&] { Control(1000, kOtherCombo); });
    for (uint32_t id : {1088u, 1120u, 1090u, 1152u, 1089u, 1136u}) {
        on(theirs, [&] { Control(id, kOther); });
        on(mine, [&] { Control(id); });
    }
    EXPECT_EQ(host.setUp, (std::vector<Handle32>{kOther, kDialog}));
}

TEST_F(ClassifyTest, LookAlikesAreLeftAlone) {
    // No control 1000 before the sixth counted one.
    Dialog();
    for (uint32_t id : {1091u, 1137u, 1088u, 1120u, 1090u, 1152u})
        Control(id);
    Control(1000, kCombo);
    EXPECT_TRUE(host.setUp.empty());
    // Control 1121 before 1000: 1000 no longer counts.
    Dialog();
    Control(1121);
    Control(1000, kCombo);
    for (uint32_t id : {1091u, 1137u, 1088u, 1120u, 1090u})
        Control(id);
    EXPECT_TRUE(host.setUp.empty());
    // The print dialog's group box ends the watch whatever was counted.
    Dialog();
    Control(1000, kCombo);
    for (uint32_t id : {1091u, 1137u, 1088u, 1120u})
        Control(id);
    Control(1072);
    Control(1090);
    Control(1152);
    EXPECT_TRUE(host.setUp.empty());
    // Controls of the application's own template.
    host.owner[kDialog] = "C:\\apps\\notepad.exe";
    Dialog();
    StandardControls();
    EXPECT_TRUE(host.setUp.empty());
    // The 16-bit library's controls are counted, but its control 1000 proves nothing.
    host.owner[kDialog] = host.owner[kCombo] = "C:\\WINDOWS\\SYSTEM\\COMMDLG.DLL";
    Dialog();
    StandardControls();
    EXPECT_TRUE(host.setUp.empty());
    EXPECT_EQ(watch.fileControlCount, 6);
}

TEST_F(ClassifyTest, ControlsOfAChildDialogAreNotCountedButTheProbeIs) {
    Dialog();
    for (uint32_t id : {1091u, 1137u, 1088u, 1120u, 1090u})
        Control(id, kChildDialog);
    EXPECT_EQ(watch.fileControlCount, 0);
    Control(1000, kChildDialog);
    EXPECT_EQ(watch.comdlgControlSeen, 0u); // the child dialog is not the library's
    host.owner[kChildDialog] = "comdlg32.dll";
    Control(1000, kChildDialog);
    EXPECT_EQ(watch.comdlgControlSeen, 1u);
    // A captioned child window is a dialog of its own: its controls count.
    host.style[kChildDialog] = kChild | kCaption | kSysMenu;
    for (uint32_t id : {1091u, 1137u, 1088u, 1120u, 1090u, 1152u})
        Control(id, kChildDialog);
    EXPECT_EQ(host.setUp.size(), 1u);
}

TEST_F(ClassifyTest, WithStandardDialogsOffOnlyTheReplacementIsWatched) {
    s->commonEnabled = 0;
    Dialog();
    StandardControls();
    EXPECT_TRUE(host.setUp.empty());
    s->replacementOwner = kApp;
    Dialog();
    StandardControls();
    EXPECT_EQ(host.setUp.size(), 1u);
    s->notSoCommonEnabled = 0;
    Dialog();
    StandardControls();
    EXPECT_EQ(host.setUp.size(), 1u);
}

TEST_F(ClassifyTest, TheRingKeepsTheLastTwentyCandidatesEvenFromHostileState) {
    s->recentWindowNext = 9999; // written by anybody
    s->recentWindowCount = -5;
    for (Handle32 w = 1; w <= 21; ++w)
        Dialog(w, kApp,
               "A title much longer than the seventy-nine characters that a ring slot keeps "
               "for it");
    EXPECT_EQ(s->recentWindowCount, 20);
    EXPECT_EQ(s->recentWindowNext, 1);
    EXPECT_EQ(s->recentWindows[0].window, 21u); // the 21st overwrote the oldest
    EXPECT_EQ(strlen(s->recentWindows[0].title), 79u);
    EXPECT_STREQ(s->recentWindows[0].moduleName, "notepad");
    EXPECT_EQ(s->recentWindows[0].isDialogClass, 1u);
}

TEST_F(ClassifyTest, ATrainedMatchIsHandedOverAtTheFirstChildOnlyWithAValidIndex) {
    TrainedEntry& e = s->trainedEntries[0];
    e.style = 0x82C800C4;
    e.width = 654;
    e.height = 410;
    strcpy(e.originalTitle, "OPEN");
    strcpy(e.moduleName, "NotePad");
    s->trainedCount = 1;
    Dialog();
    EXPECT_EQ(watch.trainedMatchPending, 1u);
    // A window that is not the matched dialog's child leaves the match waiting.
    Control(1091, kChildDialog);
    EXPECT_TRUE(host.handed.empty());
    EXPECT_EQ(watch.trainedMatchPending, 1u);
    Control(1091);
    ASSERT_EQ(host.handed.size(), 1u);
    EXPECT_EQ(host.handed[0], 0);
    EXPECT_EQ(watch.fileDialogPending, 0u);
    // A hostile index is dropped, not handed on.
    Dialog();
    watch.matchedTrainedIndex = 1 << 20;
    Control(1091);
    EXPECT_EQ(host.handed.size(), 1u);
    EXPECT_EQ(watch.trainedMatchPending, 0u);
    // No match while training runs.
    s->trainingActive = 1;
    Dialog();
    EXPECT_EQ(watch.trainedMatchPending, 0u);
}

TEST_F(ClassifyTest, ADialogCreatedDuringSetUpDoesNotChangeTheDecision) {
    host.duringSetUp = [this] {
        host.duringSetUp = nullptr;
        Dialog(0x999, kDialog, "Disabling"); // the disabling dialog comes up inside the hook
        Control(1000);
    };
    Dialog();
    StandardControls();
    ASSERT_EQ(host.setUp.size(), 1u);
    EXPECT_EQ(host.setUp[0], kDialog);
    EXPECT_EQ(watch.candidateWindow, 0x999u);
}

// Creation sequences as a CBT hook saw them under Wine (the sample's VNSAMPLE_LOG_CREATION), one
// window a word: its id, then where it was made ("" the dialog, c the last combo box, b the
// shell's browser, p the library's pane outside the dialog, - no parent).
// IFileOpenDialog::Show: the template, then the browser (0), its view and the toolbar (200).
constexpr const char* kItemOpen = "1090 1152 1089 1136 1000c 1 1024 2 1038 0 0b 200 0b";
// GetOpenFileName: the classic dialog.
constexpr const char* kClassicOpen = "0- 1091 1137 1000c 1088 1184 1120 1090 1152 1148 1089 1136 "
                                     "1000c 1040 1 2 1038 0";

TEST_F(ClassifyTest, TheItemDialogIsAKindOfItsOwnNeverConfusedWithItsLookAlikes) {
    const std::string comdlg = host.owner[kDialog], app = "C:\\apps\\sample.exe";
    const struct {
        const char* before; // windows made before the dialog
        const char* sequence;
        std::string dialogOwner;
        int takenOver; // 0 not, 1 as the classic dialog, 2 as the item dialog
    } cases[] = {
        {"", kItemOpen, comdlg, 2},
        {"8192p 8192p", kItemOpen, comdlg, 2}, // the application's controls in the pane
        {"", kClassicOpen, comdlg, 1},
        {"", kItemOpen, app, 0}, // an application's dialog with the same ids in the same order
        // Item dialogs built otherwise: another window first, no arrow beside OK, a Look-in box.
        {"", "0 1090 1152 1089 1136 1000c 1 1024 2 1038 0", comdlg, 0},
        {"", "1090 1152 1089 1136 1000c 1 2 1038 0", comdlg, 0},
        {"", "1090 1137 1152 1089 1136 1000c 1 1024 2 1038 0", comdlg, 0},
    };
    auto replay = [&](const std::string& words) {
        Handle32 next = 0x2000;
        std::istringstream in(words);
        for (std::string w; in >> w;) {
            char where = w.back() >= '0' && w.back() <= '9' ? 0 : w.back();
            CreationInfo info = {};
            info.style = where == '-' ? 0x8C000000 : kChild;
            info.className = "Window";
            info.parent = !where ? kDialog : where == 'c' ? kCombo : where == '-' ? 0 : 0x700;
            info.controlId = static_cast<uint32_t>(atoi(w.c_str()));
            Classify(*s, watch, host, info, next++);
        }
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sequence);
        host.setUp.clear();
        host.kinds.clear();
        watch = {};
        host.owner[kDialog] = host.owner[kCombo] = c.dialogOwner;
        replay(c.before);
        Dialog();
        replay(c.sequence);
        ASSERT_EQ(host.setUp.size(), c.takenOver ? 1u : 0u);
        if (c.takenOver) {
            EXPECT_EQ(host.kinds[0], c.takenOver == 2 ? DialogKind::kItem : DialogKind::kClassic);
        }
    }
}

struct SetupTest : ::testing::Test {
    std::unique_ptr<SharedState> s = std::make_unique<SharedState>();
    ExcludeFlags flags = {};
    void SetUp() override { InitSharedState(*s); }
    void Exclude(ExcludeList& list, const char* entry) {
        strcpy(list.entries[list.count++], entry);
    }
    SetupDecision Decide(KeyState keys = {}, const char* ignore = "", const char* title = "Open",
                         const char* module = "notepad") {
        return DecideSetup(*s, module, title, ignore, keys, flags);
    }
};

TEST_F(SetupTest, ExclusionListsIgnoreModulesAndWizardLeaveTheDialogAlone) {
    Exclude(s->sizeExcludes, "notepad");
    EXPECT_EQ(Decide(), SetupDecision::kTakeOver);
    EXPECT_EQ(flags.excluded[kExcludeSizing], 1u);
    EXPECT_EQ(flags.excluded[kExcludeFileManagement], 0u);
    Exclude(s->excludes, "notepad : Open"); // a title entry is not applied here
    Exclude(s->lastDirExcludes, "notepad");
    EXPECT_EQ(Decide(), SetupDecision::kTakeOver);
    Exclude(s->excludes, "notepad");
    EXPECT_EQ(Decide(), SetupDecision::kLeaveAlone);

    s->excludes.count = 0;
    EXPECT_EQ(Decide({}, "mynotepadplus"), SetupDecision::kLeaveAlone);
    EXPECT_EQ(Decide({}, "NOTEPAD"), SetupDecision::kTakeOver); // case-sensitive
    EXPECT_EQ(Decide({}, "", "Open - New Project Wizard"), SetupDecision::kLeaveAlone);
}

TEST_F(SetupTest, KeysHeldWhileTheDialogOpens) {
    s->settings.disableKey = 2;
    s->settings.disableKeyNoPrompt = 3;
    EXPECT_EQ(Decide({true, false, false}), SetupDecision::kAskDisabling);
    EXPECT_EQ(Decide({true, true, false}), SetupDecision::kLeaveAlone);
    EXPECT_EQ(Decide({true, true, true}), SetupDecision::kTakeOver); // Alt overrides
    EXPECT_EQ(Decide({false, true, false}), SetupDecision::kTakeOver);
    s->excludes.count = kMaxExcludes; // no room left for a permanent choice: no prompt
    EXPECT_EQ(Decide({true, false, false}), SetupDecision::kLeaveAlone);
    s->settings.disableKey = 0;
    s->excludes.count = 0;
    EXPECT_EQ(Decide({true, false, false}), SetupDecision::kTakeOver);
    EXPECT_TRUE(KeySettingMet(1, {false, true, false}));
    EXPECT_FALSE(KeySettingMet(1, {true, true, false}));
    EXPECT_FALSE(KeySettingMet(7, {true, true, false}));
}

TEST(DisablingAnswer, EachChoiceHasItsEffect) {
    ExcludeFlags before = {{0, 1, 0}};
    DisablingEffect e = ApplyDisablingAnswer({false, {true, true, true}, false, false}, before);
    EXPECT_EQ(e.flags.excluded[1], 1u); // Cancel changes nothing
    EXPECT_FALSE(e.flags.All());
    e = ApplyDisablingAnswer({true, {true, true, true}, false, false}, before);
    EXPECT_TRUE(e.flags.All());
    EXPECT_FALSE(e.notifyManager);
    e = ApplyDisablingAnswer({true, {true, false, true}, true, false}, before);
    EXPECT_EQ(e.pending[0] + e.pending[1] * 2 + e.pending[2] * 4, 5u);
    EXPECT_EQ(e.flags.excluded[0] + e.flags.excluded[1] + e.flags.excluded[2], 0u);
    e = ApplyDisablingAnswer({true, {false, true, false}, true, true}, before);
    EXPECT_TRUE(e.notifyManager);
    EXPECT_TRUE(e.addNow[1] && !e.addNow[0] && !e.addNow[2]);
    EXPECT_EQ(e.flags.excluded[1], 1u);
    EXPECT_EQ(e.flags.excluded[0], 0u);
}

TEST(DialogTable, TenSlotsFoundByTheLowSixteenBits) {
    auto table = std::make_unique<DialogTable>();
    for (int i = 0; i < kDialogSlots; ++i) {
        ASSERT_EQ(OpenDialogRecord(*table), i);
        table->slots[i].dialogWindow = 0xABC00000u + static_cast<unsigned>(i);
    }
    EXPECT_EQ(OpenDialogRecord(*table), kDialogSlots);
    EXPECT_EQ(FindDialogRecord(*table, 0x00000003), 3);
    EXPECT_EQ(FindDialogRecord(*table, 0x12340000), 0);
    EXPECT_EQ(FindDialogRecord(*table, 0x55), -1);
    CloseDialogRecord(*table, 9);
    CloseDialogRecord(*table, 3);
    EXPECT_EQ(table->highestSlot, 8);
    EXPECT_EQ(FindDialogRecord(*table, 3), -1);
    EXPECT_EQ(OpenDialogRecord(*table), 3);
    EXPECT_EQ(table->slots[3].dialogWindow, 0u); // cleared when opened
    CloseDialogRecord(*table, -1);
    CloseDialogRecord(*table, 99);
}

} // namespace

#include "hook/core/app_rules.h"

namespace {

ExcludeFlags Rules(const char* module, const char* title, DialogTraits traits = {}) {
    ExcludeFlags flags = {};
    ApplyApplicationRules(module, title, traits, flags);
    return flags;
}

TEST(ApplicationRules, KnownApplicationsKeepWhatTheyNeed) {
    EXPECT_TRUE(Rules("VB6", "Open Project").All());
    ExcludeFlags f = Rules("myVb5app", "New Project");
    EXPECT_EQ(f.excluded[kExcludeSizing], 1u);
    EXPECT_EQ(f.excluded[kExcludeFileManagement] + f.excluded[kExcludeLastFolder], 0u);
    EXPECT_FALSE(Rules("vb6", "Open Project").All()); // module part with case
    EXPECT_FALSE(Rules("VB6", "open project").All()); // title exactly
    f = Rules("mmc", "Open");
    EXPECT_EQ(f.excluded[kExcludeLastFolder], 1u);
    EXPECT_EQ(f.excluded[kExcludeSizing], 0u);
    EXPECT_EQ(Rules("mmcx", "Open").excluded[kExcludeLastFolder], 0u);
    EXPECT_EQ(Rules("PKZIPW", "Add", {true, false, nullptr}).excluded[kExcludeSizing], 1u);
    EXPECT_EQ(Rules("PKZIPW", "Add", {false, false, nullptr}).excluded[kExcludeSizing], 0u);
    EXPECT_TRUE(Rules("any", "PKZIP Extract", {false, true, "(c) PKWARE Inc."}).All());
    EXPECT_FALSE(Rules("any", "PKZIP Extract", {false, true, nullptr}).All());
}

} // namespace
