#include "manager/tray_rules.h"

#include "manager/resource.h"

namespace vn {

TrayClick ClassifyTrayClick(bool shiftHeld, bool ctrlHeld) {
    if (shiftHeld && ctrlHeld)
        return TrayClick::kBoth;
    if (shiftHeld)
        return TrayClick::kToggleCommon;
    if (ctrlHeld)
        return TrayClick::kToggleTrained;
    return TrayClick::kShowConfiguration;
}

HookSwitches SwitchesAfterClick(TrayClick click, HookSwitches now) {
    switch (click) {
    case TrayClick::kToggleCommon:
        now.common = !now.common;
        break;
    case TrayClick::kToggleTrained:
        now.trained = !now.trained;
        break;
    case TrayClick::kBoth: {
        // One click brings back everything that is off; with anything on it switches all off.
        bool on = !now.common && !now.trained;
        now.common = on;
        now.trained = on;
        break;
    }
    case TrayClick::kShowConfiguration:
        break;
    }
    return now;
}

TrayLook TrayLookFor(HookSwitches switches) {
    if (switches.common && switches.trained)
        return {IDI_TRAY_ENABLED, IDS_TIP_ENABLED};
    if (!switches.common && !switches.trained)
        return {IDI_TRAY_DISABLED, IDS_TIP_DISABLED};
    if (switches.trained)
        return {IDI_TRAY_COMMON_OFF, IDS_TIP_COMMON_OFF};
    return {IDI_TRAY_TRAINED_OFF, IDS_TIP_TRAINED_OFF};
}

} // namespace vn
