// The private window messages of the system, all in one place so that no two share a number:
// those between the library and the manager (WM_USER + 2600 and up), and those the library posts
// to a dialog it has taken over (WM_USER + 2700 and up).
#pragma once

namespace vn {

constexpr unsigned MSG_SETTINGS_SERIAL =
    3624; // wParam: module name (sender's pointer); result: serial
constexpr unsigned MSG_SETTINGS_CHANGED = 3625;   // the library wrote the ini file
constexpr unsigned MSG_OPEN_CONFIGURATION = 3626; // bring up the configuration window
constexpr unsigned MSG_DIALOG_OPENED = 3629;      // wParam: a dialog that was taken over
constexpr unsigned MSG_DIALOG_CLOSED = 3630;      // wParam: that dialog, being destroyed
constexpr unsigned MSG_SHOW_TRAINED_ENTRY = 3809; // wParam: entry index; lParam 1

// The training windows (in the manager's process), from the mouse hook and from themselves.
constexpr unsigned MSG_SELECT_NO_CONTROLS = 3631; // lParam: the clicked dialog has no children
constexpr unsigned MSG_SELECT_EXTENDED = 3632;    // lParam: the dialog is extended already
constexpr unsigned MSG_SELECT_DONE = 3633;        // lParam: train this dialog
constexpr unsigned MSG_POINT_NEXT = 3634;         // wParam: the steps pointed so far
constexpr unsigned MSG_TRAIN_CHECK = 3635;        // known already? (or a 16-bit application)
constexpr unsigned MSG_ASK_ACTION = 3636;         // ask Add / Replace / Ignore
constexpr unsigned MSG_POINT_START = 3637;        // start pointing at the controls
constexpr unsigned MSG_TRAIN_DEFAULTS = 3638;     // fill in the derived fields
constexpr unsigned MSG_ASK_KIND = 3639;           // ask Open / Save / Folder
constexpr unsigned MSG_POINT_DONE = 3646;         // both controls are known
constexpr unsigned MSG_POINT_FULL = 3647;         // both known, but the database is full

// To a trained dialog, from the library itself.
constexpr unsigned MSG_TRAINED_SHOW = 3640;    // wParam: show command; then to the top
constexpr unsigned MSG_TRAINED_REPLACE = 3641; // open the standard dialog in its place
constexpr unsigned MSG_REPLACE_RESULT = 3642;  // wParam: the standard dialog's result
constexpr unsigned MSG_BUTTON_RESULT = 3643;   // wParam: the result of the added button

// To a taken-over dialog, from the library itself.
// Set the file name box to lParam's text if it still shows what it showed when the message was
// posted, then focus it (and with wParam select its text).
constexpr unsigned MSG_SET_NAME_TEXT = 3724;
constexpr unsigned MSG_RELAYOUT = 3725;          // lay a resizable dialog out again
constexpr unsigned MSG_CREATE_LISTS = 3726;      // create the recent and favourite lists
constexpr unsigned MSG_REFRESH_INFO_LINE = 3808; // rebuild the information line
// To a taken-over file list: put it in the user's order now. Answers how many items' facts
// were read.
constexpr unsigned MSG_SORT_NOW = 3811;

// To the Find files box, from its Stop button; taken by the search between its steps.
constexpr unsigned MSG_FIND_STOP = 3807;

// How long the library waits for the manager before it goes on without an answer. The manager
// answers from its message loop at once; a manager that does not must never stall a host
// application for longer than this.
constexpr unsigned kManagerTimeoutMs = 500;

} // namespace vn
