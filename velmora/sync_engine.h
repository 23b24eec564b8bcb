// The synchronisation engine: set-up, one synchronisation by SNTP or HTTP
// bounded by a watchdog, the schedule check and the reporting of results.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// Creates the sync lock, the event "Global\Tempovia_Time_Event" (Everyone may
// use it) and starts Windows Sockets 2.0; true at once when already done.
// Any failure undoes everything.
bool InitSync();
// Undoes InitSync.
void CleanupSync();
// True between a successful InitSync and CleanupSync.
bool SyncReady();
// The time event, or NULL before InitSync.
HANDLE SyncEvent();

// One synchronisation with the current settings' server, bounded by the
// timeout (callers pass kSyncTimeoutMs); returns the result code.
int SyncOnce(DWORD timeoutMs);

// The schedule check of the service loop (GetTickCount as now).
bool IsSyncDue();

// Writes [common] `synclastresult` (and `synclasttime` for 0 and 136) and sets
// the event; does nothing while the defaults are in force.
void WriteSyncResult(int code);
// "yyyymmddhhmmss" of a local time.
std::wstring FormatSyncTime(const SYSTEMTIME& local);

// The UDP port SNTP requests go to (123); tests use a port of their own.
void SetSntpPort(uint16_t port);

// Each way of synchronising; they write 133 first and their result last.
int SyncBySntp(const wchar_t* server, DWORD timeoutMs);
int SyncByHttp(const wchar_t* server, int httpSyncWait, DWORD timeoutMs);
