// Where the shared state lives on Windows, and the conversions of the 32-bit handle fields.
#pragma once

#include <windows.h>

#include "hook/core/shared_state.h"

namespace vn {

// The desktop's one shared state, mapped on first use in this process. Null when it cannot be
// mapped for writing (a sandboxed process, or no memory), or when the mapping under its name was
// made by someone this process does not trust (object_trust.h): callers then leave everything
// alone.
SharedState* Shared();

// Unmaps the view and closes the mapping handle, for a library leaving a process that lives on;
// Shared() is null afterwards.
void ReleaseShared();

// Handles are stored as their 32 significant bits and sign-extended back, as Windows does when a
// handle crosses between 32- and 64-bit processes. The one cast from a stored window handle (a
// Handle32 of the shared state, or a uintptr_t of a dialog record) to a window.
inline HWND ToHwnd(uint64_t h) {
    return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(h)));
}
inline HHOOK ToHook(Handle32 h) {
    return reinterpret_cast<HHOOK>(static_cast<intptr_t>(static_cast<int32_t>(h)));
}
inline Handle32 FromHandle(const void* h) {
    return static_cast<Handle32>(reinterpret_cast<uintptr_t>(h));
}

} // namespace vn
