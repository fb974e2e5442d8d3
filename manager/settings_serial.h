// The manager's settings serial: the library re-reads the settings file whenever the serial it
// gets from the manager differs from the one it last read with.
#pragma once

#include "hook/core/compat.h"

namespace vn {

// The serial after a change, taken from the tick count. Two changes within one tick of the clock
// must still give two serials, or the library would keep the values from before the second.
inline uint32_t NextSettingsSerial(uint32_t current, uint32_t tickCount) {
    return tickCount != current ? tickCount : current + 1;
}

} // namespace vn
