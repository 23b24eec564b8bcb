#include "common/platform/security_utils.h"

#include <accctrl.h>
#include <aclapi.h>

namespace {

// A one-entry DACL that grants Everyone the mask (LocalFree it); the error
// when it cannot be built.
DWORD EveryoneAcl(DWORD accessMask, PACL& acl) {
    acl = nullptr;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)) {
        return GetLastError();
    }
    EXPLICIT_ACCESSW entry = {};
    entry.grfAccessPermissions = accessMask;
    entry.grfAccessMode = SET_ACCESS;
    entry.grfInheritance = NO_INHERITANCE;
    entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    entry.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    entry.Trustee.ptstrName = static_cast<LPWSTR>(everyone);
    const DWORD result = SetEntriesInAclW(1, &entry, nullptr, &acl);
    FreeSid(everyone);
    return result;
}

}  // namespace

bool GrantEveryoneAccess(HANDLE object, DWORD accessMask, DWORD* status) {
    if (!object || object == INVALID_HANDLE_VALUE) {
        if (status) *status = ERROR_INVALID_HANDLE;
        return false;
    }
    PACL acl = nullptr;
    DWORD result = EveryoneAcl(accessMask, acl);
    if (result == ERROR_SUCCESS) {
        result = SetSecurityInfo(object, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, acl,
                                 nullptr);
    }
    if (acl) LocalFree(acl);
    if (status) *status = result;
    return result == ERROR_SUCCESS;
}

EveryoneAccess::EveryoneAccess(DWORD accessMask) {
    PACL acl = nullptr;
    if (EveryoneAcl(accessMask, acl) != ERROR_SUCCESS) return;
    if (!InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE)) {
        LocalFree(acl);
        return;
    }
    acl_ = acl;
    attributes_.nLength = sizeof attributes_;
    attributes_.lpSecurityDescriptor = &descriptor_;
    attributes_.bInheritHandle = FALSE;
}

EveryoneAccess::~EveryoneAccess() {
    if (acl_) LocalFree(acl_);
}
