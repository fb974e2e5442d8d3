#include "hook/core/object_trust_win.h"

#include <aclapi.h>

#include <cstring>

namespace vn {

namespace {

// Whether sid is this process's user or the owner its token gives to the objects it creates
// (the user, or the Administrators group when elevated; Wine gives the user's primary group).
bool IsOwnSid(PSID sid) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    alignas(8) BYTE buffer[256];
    DWORD got = 0;
    bool own = (GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &got) &&
                EqualSid(sid, reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid)) ||
               (GetTokenInformation(token, TokenOwner, buffer, sizeof buffer, &got) &&
                EqualSid(sid, reinterpret_cast<TOKEN_OWNER*>(buffer)->Owner));
    CloseHandle(token);
    return own;
}

ObjectOwner OwnerKind(PSID owner) {
    if (!owner || !IsValidSid(owner))
        return ObjectOwner::kUnknown;
    if (IsOwnSid(owner))
        return ObjectOwner::kCurrentUser;
    if (IsWellKnownSid(owner, WinLocalSystemSid))
        return ObjectOwner::kSystem;
    if (IsWellKnownSid(owner, WinBuiltinAdministratorsSid))
        return ObjectOwner::kAdministrators;
    return ObjectOwner::kOther;
}

// The level of the first mandatory label in the system access list, which is the one the system
// enforces. A label that cannot be read counts as the lowest level.
bool LabelLevel(PACL sacl, uint32_t* level) {
    if (!sacl)
        return false;
    static const SID_IDENTIFIER_AUTHORITY kLabelAuthority = SECURITY_MANDATORY_LABEL_AUTHORITY;
    for (DWORD i = 0; i < sacl->AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(sacl, i, &ace) || !ace)
            break;
        if (static_cast<ACE_HEADER*>(ace)->AceType != SYSTEM_MANDATORY_LABEL_ACE_TYPE)
            continue;
        PSID sid = &static_cast<SYSTEM_MANDATORY_LABEL_ACE*>(ace)->SidStart;
        *level = 0;
        if (IsValidSid(sid) && *GetSidSubAuthorityCount(sid) >= 1 &&
            !memcmp(GetSidIdentifierAuthority(sid), &kLabelAuthority, sizeof kLabelAuthority))
            *level = *GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1u);
        return true;
    }
    return false;
}

} // namespace

PSID CurrentUserSid(BYTE (&buffer)[256]) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return nullptr;
    DWORD got = 0;
    BOOL ok = GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &got);
    CloseHandle(token);
    return ok ? reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid : nullptr;
}

ObjectSecurity ReadObjectSecurity(HANDLE object) {
    ObjectSecurity security = {ObjectOwner::kUnknown, false, 0};
    PSID owner = nullptr;
    PACL sacl = nullptr;
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (GetSecurityInfo(object, SE_KERNEL_OBJECT,
                        OWNER_SECURITY_INFORMATION | LABEL_SECURITY_INFORMATION, &owner, nullptr,
                        nullptr, &sacl, &sd) != ERROR_SUCCESS)
        return security;
    security.owner = OwnerKind(owner);
    security.labelled = LabelLevel(sacl, &security.integrity);
    LocalFree(sd);
    return security;
}

bool TrustNamedObject(HANDLE object, bool createdHere) {
    return createdHere || TrustOpenedObject(ReadObjectSecurity(object));
}

} // namespace vn
