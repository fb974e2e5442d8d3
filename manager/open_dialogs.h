// The manager's list of file dialogs that the library has taken over in some process, and the
// decision whether quitting needs the user's confirmation. Nothing here talks to Win32: windows
// are reached through WindowProbe. Window handles are kept as their 32 significant bits, the
// same on both bitnesses.
#pragma once

#include "hook/core/compat.h"

#include <vector>

namespace vn {

// What the list needs to know about a window of any process.
class WindowProbe {
  public:
    virtual bool Exists(uint32_t window) = 0;
    // The window's parent or owner (0 for none).
    virtual uint32_t OwnerOf(uint32_t window) = 0;

  protected:
    ~WindowProbe() = default;
};

struct OpenDialog {
    uint32_t dialog;
    uint32_t owner; // as it was when the dialog was reported
};

class OpenDialogList {
  public:
    // More records than any desktop has file dialogs open at once; the bound only matters when
    // processes keep dying with their dialogs open, or something floods the manager.
    static constexpr size_t kMaxRecords = 256;

    // A dialog was taken over (MSG_DIALOG_OPENED). A dialog already listed keeps one record, whose
    // owner is taken anew: a handle that comes back belongs to a new window, the record of the old
    // one (whose process died without reporting) is stale. Returns false when the dialog could
    // not be recorded because the list is full of live dialogs.
    bool Opened(uint32_t dialog, WindowProbe& probe);

    // The dialog is being destroyed (MSG_DIALOG_CLOSED). Returns whether it was listed.
    bool Closed(uint32_t dialog);

    // Whether a listed dialog is still open: its window exists and still has the recorded
    // owner. Records of dialogs whose process died without reporting fail this test, so they do
    // not hold up quitting.
    bool AnyStillOpen(WindowProbe& probe) const;

    size_t Count() const { return records_.size(); }
    const std::vector<OpenDialog>& Records() const { return records_; }

  private:
    std::vector<OpenDialog> records_;
};

} // namespace vn
