// The 32-bit companion: a small 32-bit program that the 64-bit manager starts beside itself, so
// that 32-bit applications get the hook of the 32-bit library (a hook library only reaches
// processes of its own bitness). It has no window; it sets the hook, waits until the manager
// ends or tells it to go, and takes the hook away again. Nothing here talks to Win32.
//
//   vantor32.exe MANAGER-PROCESS-ID
#pragma once

#include "hook/core/compat.h"

namespace vn {

// The companion's program and library, beside the manager's.
constexpr const char* kCompanionProgram = "vantor32.exe";
constexpr const char* kCompanionLibrary = "vnhook32.dll";
// Makes the companion unique on the desktop.
constexpr const char* kCompanionMutexName = "VantorCompanionMutex";
// Set by the manager when it quits: the companion removes its hook and ends.
constexpr const char* kCompanionQuitEventName = "VantorCompanionQuit";

// The companion's exit status.
enum CompanionExit : uint32_t {
    kCompanionDone = 0,         // told to go, or the manager ended
    kCompanionBadArguments = 2, // no manager process named on the command line
    kCompanionTwice = 3,        // another companion runs
    kCompanionNoManager = 4,    // the manager's process or its quit event cannot be opened
    kCompanionNoHook = 5,       // the hook could not be set
};

// Reads the manager's process id from the companion's arguments: one decimal number, blanks
// around it allowed. False for anything else.
bool ParseCompanionArguments(const char* arguments, uint32_t* managerProcessId);

enum class CompanionState {
    kNotNeeded,   // the manager is itself a 32-bit program: its hook reaches 32-bit applications
    kToStart,     // not running: the manager starts it at its next look
    kRunning,     //
    kMissing,     // the program or its library is not beside the manager
    kCannotStart, // the system refused to start it; detail: the system's error code
    kKeepsEnding, // it ended soon after each of several starts; detail: its last exit status
};

// An end this soon after the start counts as a failed start rather than a run that ended.
constexpr uint32_t kCompanionQuickEndMs = 5000;
// Failed starts in a row after which the manager stops starting it again.
constexpr int kCompanionMaxQuickEnds = 3;

// What the manager knows of its companion, and whether it starts it (again). Times are
// millisecond ticks, which may wrap.
class CompanionWatch {
  public:
    explicit CompanionWatch(bool needed)
        : state_(needed ? CompanionState::kToStart : CompanionState::kNotNeeded) {}

    bool ShouldStart() const { return state_ == CompanionState::kToStart; }
    CompanionState State() const { return state_; }
    uint32_t Detail() const { return detail_; }
    // Whether 32-bit applications are without a hook for good, so the user is told.
    bool GaveUp() const;

    void Missing() { state_ = CompanionState::kMissing; }
    void StartFailed(uint32_t error);
    void Started(uint32_t now);
    // It ended without being told to; a companion that had run for a while is started again
    // at once, one that keeps ending at its start is given up after a few tries.
    void Ended(uint32_t exitStatus, uint32_t now);

  private:
    CompanionState state_;
    uint32_t detail_ = 0;
    uint32_t startedAt_ = 0;
    int quickEnds_ = 0;
};

} // namespace vn
