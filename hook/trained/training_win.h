// Training: the two small training windows, which run in the process that starts training (the
// manager's), and the clicks that the library's mouse hook catches in whatever process the user
// clicks. They meet only in the shared state and in posted messages.
#pragma once

#include <windows.h>

#include "hook/core/shared_state.h"

namespace vn {

// Opens the selection window in the calling process. mouseProc is the library's exported mouse
// hook procedure, installed while a click is awaited. The result of showing the window (0 when it
// could not be made), or a message box's when one is open already.
int StartManualSelection(HOOKPROC mouseProc);

// A left click the mouse hook saw, on window at a screen point: true when training took it (it is
// then not delivered).
bool TrainingClick(HWND window, POINT screenPoint);

// Clears the training flags when neither training window is alive (their process ended without
// closing them), so that trained dialogs are handled again.
void ForgetDeadTraining(SharedState& s);

} // namespace vn
