// The manager's side of the 32-bit companion: starts it beside the manager, looks after it while
// the manager runs (a companion that dies is started again) and ends it when the manager quits.
#pragma once

#include <windows.h>

#include "manager/companion.h"

namespace vn {

class Companion {
  public:
    Companion();
    Companion(const Companion&) = delete;
    Companion& operator=(const Companion&) = delete;

    // Starts the companion when this manager needs one (a 64-bit manager does).
    void Start();
    // Notices a companion that ended and starts it again when the watch says so. True when its
    // state changed since the last look.
    bool Look();
    // Tells the companion to take its hook away and end, and waits a moment for it; one that
    // does not end is ended.
    void Stop();

    const CompanionWatch& Watch() const { return watch_; }
    // Why 32-bit applications are not extended, for the configuration window; empty while they
    // are, or while the companion is still being tried.
    void Note(char* buf, int size) const;

  private:
    void Launch();

    CompanionWatch watch_;
    CompanionState lastSeen_;
    HANDLE quitEvent_ = nullptr;
    HANDLE process_ = nullptr;
};

} // namespace vn
