// The manager's settings serial: the library re-reads the settings file whenever the serial it
// gets from the manager differs from the one it last read with.
#pragma once

#include "hook/core/compat.h"

namespace vn {

// The clock's part of a serial: half the tick count, plus one, so 1 to 2^31. The library keeps
// the last serial it read with in the shared state, which outlives a manager; a serial that
// follows the clock makes a restarted manager's serials unlikely to meet the previous run's.
inline uint32_t ClockSerial(uint32_t tickCount) {
    return (tickCount >> 1) + 1;
}

// The serial after a change (current 0: the first of a run). Within a run every serial is larger
// than all before it and never 0: it follows the clock while the clock is ahead and otherwise
// counts on by one, so two changes within one tick differ, and after the tick count wraps round
// (every 49.7 days) the serial counts on instead of going back. Since the clock's part never
// exceeds 2^31, a run would need about two thousand million changes to reach the end of the
// range; there it starts again at 1 rather than give 0, the serial of a fresh shared state.
inline uint32_t NextSettingsSerial(uint32_t current, uint32_t tickCount) {
    uint32_t clock = ClockSerial(tickCount);
    if (clock > current)
        return clock;
    return current == UINT32_MAX ? 1 : current + 1;
}

} // namespace vn
