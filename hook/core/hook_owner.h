// Who installed the desktop's CBT hook. Windows removes a hook when the thread that set it ends,
// but the handle recorded in the shared state stays there as long as any process maps the state;
// so beside the handle the state names the installing process, and the next manager can tell a
// hook whose installer has gone from one that is still held.
#pragma once

#include "hook/core/compat.h"

namespace vn {

// A process as the shared state records it. The system hands a process id to a new process soon
// after the old one ended; the stamp of the creation time tells the two apart.
struct ProcessMark {
    uint32_t id; // 0: no process
    uint32_t stamp;
};

// The stamp of a creation time given as a FILETIME value (100 ns units since 1601): all 64 bits
// mixed (the finaliser of MurmurHash3) and cut to 32, so that processes created at different
// times get different stamps but for a chance of one in four thousand million, whatever bits
// their times differ in.
inline uint32_t CreationStamp(uint64_t creationTime) {
    uint64_t x = creationTime;
    x ^= x >> 33;
    x *= 0xFF51AFD7ED558CCDull;
    x ^= x >> 33;
    x *= 0xC4CEB9FE1A85EC53ull;
    x ^= x >> 33;
    return static_cast<uint32_t>(x);
}

// Id and stamp in the one 64-bit word the shared state keeps, so that both change together with a
// single compare-exchange and no reader sees the id of one process with the stamp of another.
inline uint64_t PackMark(ProcessMark m) {
    return static_cast<uint64_t>(m.stamp) << 32 | m.id;
}
inline ProcessMark UnpackMark(uint64_t packed) {
    return {static_cast<uint32_t>(packed), static_cast<uint32_t>(packed >> 32)};
}

// What the system says about the process that now has a given id.
enum class ProcessLook {
    kNone,    // no process has the id
    kEnded,   // a process with the id exists but has ended (someone still holds a handle to it)
    kRunning, // a running process with the id; its stamp is known
    kHidden,  // a process with the id exists but may not be examined
};

struct ProcessSighting {
    ProcessLook look;
    uint32_t stamp; // for kRunning
};

// Whether the recorded owner of the hook is alive and the same process: running with the recorded
// id and stamp. A process that may not be examined counts as alive: taking the hook from a live
// manager would leave two managers each believing it holds the hook, while keeping a dead one's
// record only leaves the dialogs unextended, as they were before the owner was recorded.
bool HookOwnerAlive(ProcessMark recorded, ProcessSighting now);

} // namespace vn
