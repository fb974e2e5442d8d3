#include "hook/core/object_trust.h"

namespace vn {

bool TrustOpenedObject(ObjectSecurity security) {
    if (security.labelled && security.integrity < kMediumIntegrity)
        return false;
    switch (security.owner) {
    case ObjectOwner::kUnknown:
    case ObjectOwner::kCurrentUser:
    case ObjectOwner::kSystem:
    case ObjectOwner::kAdministrators:
        return true;
    case ObjectOwner::kOther:
        return false;
    }
    return false;
}

} // namespace vn
