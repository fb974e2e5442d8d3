// The rules of training: which window a click chooses, which control a click points at, what
// each pointed control records, and how the entry under training is made, stored and found
// again. The mouse hook runs them in whatever process was clicked and the training windows in
// the manager; they meet only in the shared state, so every index read from it is checked.
#pragma once

#include "hook/core/shared_state.h"

namespace vn {

// What the rules need to know of windows.
class TrainingHost {
  public:
    virtual Handle32 ParentOf(Handle32 window) = 0; // a top-level window gives its owner
    virtual bool IsChildOf(Handle32 window, Handle32 ancestor) = 0; // at any depth
    virtual uint32_t Style(Handle32 window) = 0;
    virtual uint32_t ExStyle(Handle32 window) = 0;
    virtual void ClassName(Handle32 window, char* buf, size_t size) = 0;
    virtual uint32_t ControlId(Handle32 window) = 0;
    // The child of dialog under a screen point (dialog itself when none), and whether the point
    // lies in dialog's window rectangle, edges included.
    virtual Handle32 ChildAtPoint(Handle32 dialog, int x, int y) = 0;
    virtual bool PointInWindow(Handle32 dialog, int x, int y) = 0;

  protected:
    ~TrainingHost() = default;
};

// The dialog a selection click on window chooses: the window itself or its first ancestor with
// a dialog frame or a full caption (a child of the dialog class gives its parent); 0 when the
// click chose none and goes on to the window.
Handle32 SelectionTarget(TrainingHost& host, Handle32 window);

// A pointing click: whether it points at a control of dialog (and which id; 0 for the dialog's
// own empty area). A click in the training window itself, or outside dialog, points at nothing
// and goes on to the window.
struct PointedControl {
    bool counts;
    uint32_t id;
};
PointedControl PointAt(TrainingHost& host, Handle32 window, int x, int y, Handle32 dialog,
                       Handle32 trainingWindow);

// The slot the entry under training is made in: beyond every stored entry, whatever the count.
constexpr int kScratchSlot = kTrainedSlots - 1;

// What recording a pointed id leads to.
enum class PointStep {
    kIgnored, // no pointing runs (a late click): nothing changes
    kNext,    // the next control is asked for
    kStored,  // both are known; the entry is now stored at trainedState
    kFull,    // both are known, but the database is full: nothing was stored
};

// Records id as the control pointed at in the current step: the file name box, then the type
// list. After the second, the entry under training is stored behind the others.
PointStep RecordPointedId(SharedState& s, uint32_t id);

// The entry under training (at trainedState), or null when trainedState names no slot.
TrainedEntry* EntryUnderTraining(SharedState& s);

// Fills entry with what the ring of recent windows knows of dialog: its creation data, title and
// module. False when dialog was not created since training began.
bool FillFromRecentWindows(const SharedState& s, Handle32 dialog, TrainedEntry& entry);

// The application's name for the entry: a main window's title up to its first " - ".
void AppNameFromTitle(const char* title, char* out, size_t cap);

// The stored entry that is the same dialog as entry, or -1.
int FindKnownEntry(const SharedState& s, const TrainedEntry& entry);

// Removes stored entry index: the last entry takes its place.
void RemoveEntry(SharedState& s, int index);

} // namespace vn
