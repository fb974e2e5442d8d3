// Private window messages between the library and the manager (WM_USER + 2600 and up).
#pragma once

namespace vn {

constexpr unsigned MSG_SETTINGS_SERIAL =
    3624; // wParam: module name (sender's pointer); result: serial
constexpr unsigned MSG_SETTINGS_CHANGED = 3625;   // the library wrote the ini file
constexpr unsigned MSG_OPEN_CONFIGURATION = 3626; // bring up the configuration window
constexpr unsigned MSG_DIALOG_OPENED = 3629;      // wParam: a dialog that was taken over
constexpr unsigned MSG_DIALOG_CLOSED = 3630;      // wParam: that dialog, being destroyed
constexpr unsigned MSG_SHOW_TRAINED_ENTRY = 3809; // wParam: entry index; lParam 1

// How long the library waits for the manager before it goes on without an answer. The manager
// answers from its message loop at once; a manager that does not must never stall a host
// application for longer than this.
constexpr unsigned kManagerTimeoutMs = 500;

} // namespace vn
