// The synchronisation engine: set-up, one synchronisation by SNTP or HTTP
// bounded by a watchdog, the schedule check and the reporting of results.
#pragma once

#include <winsock2.h>

#include <cstdint>
#include <string>

// Creates the sync lock, the event "Global\Tempovia_Time_Event" (Everyone may
// use it) and starts Windows Sockets 2.0; true at once when already done.
// Any failure undoes everything.
bool InitSync();
// Undoes InitSync; only once no synchronisation runs.
void CleanupSync();

// Cuts a synchronisation in progress, and every later one, short: its socket
// is closed, its name look-up and its waits for the settings-file lock are
// given up, and it reports kSyncStopped, for which it waits for the lock no
// longer than resultWaitMs from now. ResumeSync lets synchronisations run again.
void StopSync(DWORD resultWaitMs);
void ResumeSync();
bool SyncStopped();
// True between a successful InitSync and CleanupSync.
bool SyncReady();
// The time event, or NULL before InitSync.
HANDLE SyncEvent();

// One synchronisation with a copy of the current settings, its exchange with
// the server bounded by the timeout (callers pass kSyncTimeoutMs); returns
// the result code, or kSyncFileBusy when the result could not be written.
// Its writes wait for the settings-file lock until lockDeadline (a tick
// count; 0: kIniLockWaitMs from now) in all.
int SyncOnce(DWORD timeoutMs, ULONGLONG lockDeadline = 0);

// The schedule check of the service loop (GetTickCount as now).
bool IsSyncDue();

// Writes [common] `synclastresult` (and `synclasttime` for 0 and 136) and sets
// the event once the file has it; does nothing while the defaults are in
// force. Waits for the settings-file lock within the bound of the sync in
// progress (kIniLockWaitMs when none runs); false when the lock was not had.
bool WriteSyncResult(int code);
// The same without waiting for the lock: a result owed by an earlier sync.
bool TryWriteSyncResult(int code);
// "yyyymmddhhmmss" of a local time.
std::wstring FormatSyncTime(const SYSTEMTIME& local);

// The UDP port SNTP requests go to (123); tests use a port of their own.
void SetSntpPort(uint16_t port);
// How SNTP server names become addresses (nullptr: getaddrinfo); tests use a
// look-up of their own. It runs on a thread that a stop leaves behind.
using NameLookup = bool (*)(const char* name, in_addr& address);
void SetNameLookup(NameLookup lookup);

// Each way of synchronising; they write 133 first and their result last.
int SyncBySntp(const wchar_t* server, DWORD timeoutMs);
int SyncByHttp(const wchar_t* server, int httpSyncWait, DWORD timeoutMs);
