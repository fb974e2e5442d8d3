#include "hook/core/hook_owner.h"

namespace vn {

bool HookOwnerAlive(ProcessMark recorded, ProcessSighting now) {
    if (recorded.id == 0)
        return false; // nobody recorded: whatever handle is there has no owner to wait for
    switch (now.look) {
    case ProcessLook::kRunning:
        return now.stamp == recorded.stamp;
    case ProcessLook::kHidden:
        return true;
    case ProcessLook::kNone:
    case ProcessLook::kEnded:
        return false;
    }
    return true; // a value outside the enum: as for kHidden, keep the hook
}

} // namespace vn
