// The handling of a dialog that matches a trained entry: its procedure is replaced, and it is
// either stood in for by the extended standard dialog ("Replace") or given a button beside its
// file name box that opens one ("Add"). Runs in the application's process, on the dialog's
// thread; every trained dialog holds the library while its procedure is ours.
#pragma once

#include <windows.h>

#include <cstddef>

namespace vn {

// Called at the matched dialog's first child: takes it over when it is this process's own live
// window and the entry (refined by its title) is enabled.
void StartTrainedHandling(int entryIndex, HWND dialog);

// Whether window is a trained dialog being handled in this process.
bool HasTrainedWindow(HWND window);
// The module of the entry that window is handled as; false when it is none.
bool TrainedWindowModule(HWND window, char* module, size_t size);
// Whether a trained dialog of module is being handled in this process.
bool TrainedActiveForModule(const char* module);

} // namespace vn
