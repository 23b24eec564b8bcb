// Control codes that the programs send to the time synchronisation service.
#pragma once

#include <windows.h>

inline constexpr wchar_t kSyncServiceName[] = L"QXTime";
inline constexpr DWORD SYNC_CONTROL_RELOAD = 129;    // settings changed: read them again
inline constexpr DWORD SYNC_CONTROL_SYNC_NOW = 130;  // synchronise now

// Sends `code` to the service; 0 on success, else the Win32 error of the step
// that failed. A service that is missing or out of the user's reach is an
// error code the callers may ignore.
DWORD NotifySyncService(DWORD code);
// NotifySyncService(SYNC_CONTROL_RELOAD), its result ignored.
void ReloadSyncService();
