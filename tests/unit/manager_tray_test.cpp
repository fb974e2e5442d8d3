#include "manager/settings_serial.h"
#include "manager/tray_rules.h"

#include <gtest/gtest.h>

#include <vector>

namespace vn {
namespace {

bool operator==(HookSwitches a, HookSwitches b) {
    return a.common == b.common && a.trained == b.trained;
}

// Clicks the icon with the keys given and returns the switches after it.
HookSwitches Click(HookSwitches now, bool shift, bool ctrl) {
    return SwitchesAfterClick(ClassifyTrayClick(shift, ctrl), now);
}

TEST(ManagerTray, ClicksSwitchTheLibrary) {
    const HookSwitches on{true, true}, off{false, false}, trainedOnly{false, true},
        commonOnly{true, false};
    // Shift and Ctrl each flip their own switch only.
    EXPECT_TRUE(Click(on, true, false) == trainedOnly);
    EXPECT_TRUE(Click(trainedOnly, true, false) == on);
    EXPECT_TRUE(Click(on, false, true) == commonOnly);
    EXPECT_TRUE(Click(off, false, true) == trainedOnly);
    // Shift+Ctrl: with only trained dialogs on both go off, a second click turns both on.
    HookSwitches s = Click(trainedOnly, true, true);
    EXPECT_TRUE(s == off);
    EXPECT_TRUE(Click(s, true, true) == on);
    EXPECT_TRUE(Click(on, true, true) == off);
    EXPECT_TRUE(Click(commonOnly, true, true) == off);
    // A plain click only shows the configuration.
    for (HookSwitches any : {on, off, trainedOnly, commonOnly})
        EXPECT_TRUE(Click(any, false, false) == any);
}

// One step of a manager run: the serial it holds and the tick count at the change.
struct SerialStep {
    const char* what;
    uint32_t current;
    uint32_t tick;
    uint32_t expected;
};

TEST(ManagerSerial, EveryChangeGivesALargerSerial) {
    const SerialStep steps[] = {
        {"the first serial follows the clock", 0, 4000, 2001},
        {"the first serial is never 0, even at tick 0", 0, 0, 1},
        {"the clock ahead: taken", 2001, 6000, 3001},
        {"within one tick: one more", 3001, 6000, 3002},
        {"within the same tick again", 3002, 6001, 3003},
        {"the clock behind the serial: one more, not back", 3003, 6004, 3004},
        {"the clock ahead again", 3004, 9000, 4501},
        {"the tick count wrapped round: counts on", 0x80000000u, 3, 0x80000001u},
        {"the clock's part at its top", 0x7FFFFFF0u, 0xFFFFFFFFu, 0x80000000u},
        {"beyond the clock's reach: counts on", 0x80000000u, 0xFFFFFFFFu, 0x80000001u},
        {"the end of the range: starts again at 1, never 0", 0xFFFFFFFFu, 7, 1},
    };
    for (const SerialStep& step : steps)
        EXPECT_EQ(NextSettingsSerial(step.current, step.tick), step.expected) << step.what;
}

// Whole runs: tick counts as a manager may see them at its changes, and every serial must be
// larger than all before it.
TEST(ManagerSerial, ARunNeverRepeatsASerial) {
    struct Run {
        const char* what;
        std::vector<uint32_t> ticks;
    };
    const Run runs[] = {
        {"many changes in one tick", {2000, 2000, 2000, 2000, 2000, 2000}},
        {"the sequence that once gave 2000, 2001, 2000", {4000, 4000, 4000, 4001, 4002}},
        {"the tick count wraps round", {0xFFFFFFF0u, 0xFFFFFFFEu, 0xFFFFFFFFu, 0, 1, 2, 40, 90000}},
        {"started just before the wrap, changed within ticks",
         {0xFFFFFFFFu, 0xFFFFFFFFu, 0, 0, 0, 1}},
        {"a clock that stands still at 0", {0, 0, 0}},
    };
    for (const Run& run : runs) {
        uint32_t serial = 0;
        for (size_t i = 0; i < run.ticks.size(); ++i) {
            uint32_t next = NextSettingsSerial(serial, run.ticks[i]);
            EXPECT_NE(next, 0u) << run.what << ", change " << i;
            EXPECT_GT(next, serial) << run.what << ", change " << i;
            serial = next;
        }
    }
}

} // namespace
} // namespace vn
