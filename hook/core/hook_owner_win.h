// The Win32 side of the hook's owner record: marks of processes and what the system says of them.
#pragma once

#include <windows.h>

#include "hook/core/hook_owner.h"

namespace vn {

// The mark of a process given by a handle with PROCESS_QUERY_LIMITED_INFORMATION; stamp 0 when
// its times cannot be read.
ProcessMark MarkOfProcess(HANDLE process, uint32_t id);

// This process's mark.
ProcessMark OwnMark();

// Looks at the process that now has the id.
ProcessSighting LookAtProcess(uint32_t id);

} // namespace vn
