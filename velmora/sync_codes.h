// Results the time service writes to [common] `synclastresult`, and the names
// it shares with the programs that read them.
#pragma once

#include <windows.h>

inline constexpr int kSyncOk = 0;             // the clock was set
inline constexpr int kSyncSendFailed = 129;   // request not sent / HTTP connection or request failed
inline constexpr int kSyncBadServer = 130;    // name not resolved (SNTP) or malformed URL (HTTP)
inline constexpr int kSyncNoNetwork = 131;    // no network layer, socket or lock; other HTTP status
inline constexpr int kSyncStopped = 132;      // cut short because the service stopped
inline constexpr int kSyncInProgress = 133;   // written first by every attempt
inline constexpr int kSyncNoTime = 134;       // the reply carried no usable time
inline constexpr int kSyncNoReply = 135;      // no reply in time, or the HTTP request took too long
inline constexpr int kSyncSetElsewhere = 136; // stamped like 0; never produced here
inline constexpr int kSyncFileBusy = 137;     // the result could not be written: the settings file was busy
inline constexpr int kSyncSetFailed = 250;    // SetSystemTime failed

// Auto-reset; set after every result so that the settings program re-reads it.
inline constexpr wchar_t kTimeEventName[] = L"Global\\Tempovia_Time_Event";
inline constexpr DWORD kTimeEventAccess = 0x1F0003;  // EVENT_ALL_ACCESS for Everyone

// How long one synchronisation may take before its socket is closed.
inline constexpr DWORD kSyncTimeoutMs = 8000;
