// The Win32 side of the trust check on named objects (object_trust.h).
#pragma once

#include <windows.h>

#include "hook/core/object_trust.h"

namespace vn {

// Reads the owner and the integrity label of a kernel object; the handle needs READ_CONTROL.
ObjectSecurity ReadObjectSecurity(HANDLE object);

// Whether a named object just created or opened may be used: always when this process created it
// (createdHere), otherwise by TrustOpenedObject.
bool TrustNamedObject(HANDLE object, bool createdHere);

// The user this process runs as, read into buffer (aligned for a TOKEN_USER); null when it cannot
// be read.
PSID CurrentUserSid(BYTE (&buffer)[256]);

} // namespace vn
