// The Win32 file system behind the Find files walk: FindFirstFileA / FindNextFileA and the
// drive test. The message pump and the progress display are left to the one who runs the walk
// (the search box, or a benchmark that measures the box's own file system calls).
#pragma once

#include <windows.h>

#include "hook/commands/find_walk.h"

namespace vn {

class Win32FindFiles : public FindSystem {
  public:
    void* FindFirst(const char* pattern, FoundFile* out) override;
    bool FindNext(void* search, FoundFile* out) override;
    void FindClose(void* search) override;
    bool DriveReady(const char* folder) override;

  protected:
    // Whether the thread's messages are due to be handled again. The walk asks at every match
    // and every few reads, far more often than anyone could notice, and each look at the queue
    // is a call into the system; so they are handled at most every kPumpIntervalMs.
    bool PumpDue();

  private:
    static constexpr ULONGLONG kPumpIntervalMs = 10;
    ULONGLONG lastPump_ = 0;
    bool pumped_ = false;
};

} // namespace vn
