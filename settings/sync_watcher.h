// The thread that waits for the time service's event and tells the sync page
// to show the new result. It lives as long as the page window.
#pragma once

#include <windows.h>
#include "resources/resource_ids.h"

// wParam of MSG_SYNC_STATE when the service's event cannot be opened (also
// the id of the text the page shows then).
inline constexpr WPARAM kSyncServiceUnreachable = IDS_SYNC_SERVICE_MISSING;
inline constexpr DWORD kSyncWatchSliceMs = 500;

// Starts the watcher for the page; false when no thread could be started.
bool StartSyncWatcher(HWND page);
// The thread itself (lParam = the page window).
DWORD WINAPI SyncEventThreadProc(LPVOID page);

// Watchers that have not ended yet.
int RunningSyncWatchers();
// Waits for another event name (tests use a private one); nullptr restores
// the service's.
void SetSyncEventName(const wchar_t* name);
