// Access for Everyone on named kernel objects that programs of other users and
// the service open (exit event, time event).
#pragma once

#include <windows.h>

// Sets a one-entry DACL on a kernel object that grants the mask to Everyone.
// status receives ERROR_INVALID_HANDLE for a null or invalid handle, the last
// error when the SID cannot be built, else the result of SetEntriesInAclW and
// then of SetSecurityInfo. True on success.
bool GrantEveryoneAccess(HANDLE object, DWORD accessMask, DWORD* status);

// Security attributes whose DACL grants Everyone the mask, for named objects
// that programs of other sessions and rights must open however they were
// made. attributes() is null when they could not be built (the object then
// gets the default security).
class EveryoneAccess {
public:
    explicit EveryoneAccess(DWORD accessMask);
    ~EveryoneAccess();
    EveryoneAccess(const EveryoneAccess&) = delete;
    EveryoneAccess& operator=(const EveryoneAccess&) = delete;

    SECURITY_ATTRIBUTES* attributes() { return acl_ ? &attributes_ : nullptr; }

private:
    SECURITY_DESCRIPTOR descriptor_ = {};
    SECURITY_ATTRIBUTES attributes_ = {};
    PACL acl_ = nullptr;
};
