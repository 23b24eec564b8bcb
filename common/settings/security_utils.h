// Access for Everyone on named kernel objects that programs of other users and
// the service open (exit event, time event).
#pragma once

#include <windows.h>

// Sets a one-entry DACL on a kernel object that grants the mask to Everyone.
// status receives ERROR_INVALID_HANDLE for a null or invalid handle, the last
// error when the SID cannot be built, else the result of SetEntriesInAclW and
// then of SetSecurityInfo. True on success.
bool GrantEveryoneAccess(HANDLE object, DWORD accessMask, DWORD* status);
