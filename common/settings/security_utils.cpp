#include "common/settings/security_utils.h"

#include <accctrl.h>
#include <aclapi.h>

bool GrantEveryoneAccess(HANDLE object, DWORD accessMask, DWORD* status) {
    DWORD result = ERROR_SUCCESS;
    if (!object || object == INVALID_HANDLE_VALUE) {
        if (status) *status = ERROR_INVALID_HANDLE;
        return false;
    }
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)) {
        if (status) *status = GetLastError();
        return false;
    }
    EXPLICIT_ACCESSW entry = {};
    entry.grfAccessPermissions = accessMask;
    entry.grfAccessMode = SET_ACCESS;
    entry.grfInheritance = NO_INHERITANCE;
    entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    entry.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    entry.Trustee.ptstrName = static_cast<LPWSTR>(everyone);
    PACL acl = nullptr;
    result = SetEntriesInAclW(1, &entry, nullptr, &acl);
    if (result == ERROR_SUCCESS) {
        result = SetSecurityInfo(object, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, acl,
                                 nullptr);
    }
    if (acl) LocalFree(acl);
    FreeSid(everyone);
    if (status) *status = result;
    return result == ERROR_SUCCESS;
}
