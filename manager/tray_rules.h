// The tray icon's rules: what a click on it does to the two switches of the library, and which
// icon and tip show the switches. Nothing here talks to Win32.
#pragma once

namespace vn {

// The tray icon's identity and the message through which the system reports mouse actions on
// it (lParam: the mouse message).
constexpr unsigned kTrayIconId = 101;
constexpr unsigned kTrayCallbackMessage = 1125; // WM_USER + 101
// A configuration page reports a change; the window enables Apply.
constexpr unsigned kPageChangedMessage = 1128; // WM_USER + 104

// Mouse messages the tray callback reacts to (the values of WM_LBUTTONUP and WM_RBUTTONUP).
constexpr unsigned kTrayLeftButtonUp = 0x0202;
constexpr unsigned kTrayRightButtonUp = 0x0205;

// Whether standard file dialogs (common) and trained dialogs are extended.
struct HookSwitches {
    bool common;
    bool trained;
};

enum class TrayClick {
    kShowConfiguration, // plain click
    kToggleCommon,      // Shift
    kToggleTrained,     // Ctrl
    kBoth               // Shift and Ctrl: both on when both were off, both off otherwise
};

TrayClick ClassifyTrayClick(bool shiftHeld, bool ctrlHeld);

// The switches after a click; a click that shows the configuration leaves them as they are.
HookSwitches SwitchesAfterClick(TrayClick click, HookSwitches now);

// The icon resource and the tip string that show the switches.
struct TrayLook {
    int iconId;
    int tipId;
};

TrayLook TrayLookFor(HookSwitches switches);

} // namespace vn
