#include "hook/core/hook_owner_win.h"

namespace vn {

ProcessMark MarkOfProcess(HANDLE process, uint32_t id) {
    FILETIME created = {}, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return {id, 0};
    uint64_t time = static_cast<uint64_t>(created.dwHighDateTime) << 32 | created.dwLowDateTime;
    return {id, CreationStamp(time)};
}

ProcessMark OwnMark() {
    return MarkOfProcess(GetCurrentProcess(), GetCurrentProcessId());
}

// Only the limited query right is asked for: it is granted on the processes of the same user,
// elevated ones included, where fuller rights may not be.
ProcessSighting LookAtProcess(uint32_t id) {
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process)
        return {GetLastError() == ERROR_ACCESS_DENIED ? ProcessLook::kHidden : ProcessLook::kNone,
                0};
    ProcessSighting seen = {ProcessLook::kHidden, 0};
    DWORD code = 0;
    if (GetExitCodeProcess(process, &code)) {
        // One that ended with the status STILL_ACTIVE passes for running; its stamp still decides.
        ProcessMark mark = MarkOfProcess(process, id);
        if (code != STILL_ACTIVE)
            seen.look = ProcessLook::kEnded;
        else if (mark.stamp)
            seen = {ProcessLook::kRunning, mark.stamp};
    }
    CloseHandle(process);
    return seen;
}

} // namespace vn
