#include "hook/core/object_trust.h"

#include <gtest/gtest.h>

using namespace vn;

namespace {

struct TrustCase {
    const char* what;
    ObjectSecurity security;
    bool trusted;
};

TEST(ObjectTrust, OnlyTheUsersOwnObjectsAtMediumOrAboveAreUsed) {
    constexpr uint32_t kHigh = 0x3000, kSystemLevel = 0x4000, kMediumPlus = 0x2100;
    const TrustCase cases[] = {
        {"the user's, unlabelled (medium to the system)",
         {ObjectOwner::kCurrentUser, false, 0},
         true},
        {"the user's, medium", {ObjectOwner::kCurrentUser, true, kMediumIntegrity}, true},
        {"the user's, medium plus", {ObjectOwner::kCurrentUser, true, kMediumPlus}, true},
        {"the user's, high (an elevated manager)", {ObjectOwner::kCurrentUser, true, kHigh}, true},
        {"the user's, low (a sandboxed process)",
         {ObjectOwner::kCurrentUser, true, kLowIntegrity},
         false},
        {"the user's, untrusted level", {ObjectOwner::kCurrentUser, true, 0}, false},
        {"the system's", {ObjectOwner::kSystem, true, kSystemLevel}, true},
        {"the administrators'", {ObjectOwner::kAdministrators, false, 0}, true},
        {"the administrators', low", {ObjectOwner::kAdministrators, true, kLowIntegrity}, false},
        {"another user's", {ObjectOwner::kOther, false, 0}, false},
        {"another user's, high", {ObjectOwner::kOther, true, kHigh}, false},
        {"nothing readable (Wine): as before", {ObjectOwner::kUnknown, false, 0}, true},
        {"owner unreadable, medium", {ObjectOwner::kUnknown, true, kMediumIntegrity}, true},
        {"owner unreadable, low", {ObjectOwner::kUnknown, true, kLowIntegrity}, false},
    };
    for (const TrustCase& c : cases)
        EXPECT_EQ(TrustOpenedObject(c.security), c.trusted) << c.what;
}

} // namespace
