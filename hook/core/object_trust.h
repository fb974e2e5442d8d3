// Whether a named object that another process created may be trusted. The shared state and the
// lists mutex live under names in the session's namespace, which any process of the session may
// create first; one running at low integrity (a sandboxed browser or document viewer) could then
// hand every hooked process memory or a lock of its choosing. So an object this process did not
// create is used only when it belongs to the user, the system or the administrators and its
// integrity label is not below medium.
#pragma once

#include "hook/core/compat.h"

namespace vn {

// The owner of an object as far as the decision goes.
enum class ObjectOwner {
    kUnknown,        // the owner could not be read
    kCurrentUser,    // the user this process runs as, or the owner it gives its own objects
    kSystem,         // LocalSystem
    kAdministrators, // the Administrators group (the owner of what elevated programs create)
    kOther,          // anyone else
};

// Mandatory integrity levels: the last sub-authority of a label's SID (S-1-16-x).
constexpr uint32_t kLowIntegrity = 0x1000;
constexpr uint32_t kMediumIntegrity = 0x2000;

// What was read of an object's security: its owner, and its integrity label if it has one (an
// object without a label is medium to the system).
struct ObjectSecurity {
    ObjectOwner owner;
    bool labelled;
    uint32_t integrity; // when labelled
};

// Whether to use the object. What could not be read does not count against it: where the system
// has no such notions (Wine reports no label) the object is used as before the check existed.
bool TrustOpenedObject(ObjectSecurity security);

} // namespace vn
