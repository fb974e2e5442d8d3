#include "manager/settings_serial.h"
#include "manager/tray_rules.h"

#include <gtest/gtest.h>

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

TEST(ManagerSerial, EveryChangeGivesANewSerial) {
    EXPECT_EQ(NextSettingsSerial(1000, 2000), 2000u);
    // Within one tick of the clock, and again within the same tick.
    EXPECT_EQ(NextSettingsSerial(2000, 2000), 2001u);
    EXPECT_EQ(NextSettingsSerial(2001, 2000), 2000u) << "the clock value differs: taken as is";
    EXPECT_EQ(NextSettingsSerial(0xFFFFFFFFu, 0xFFFFFFFFu), 0u);
}

} // namespace
} // namespace vn
