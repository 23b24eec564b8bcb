// The time synchronisation choices the settings program keeps for the whole
// program: whether and how the service sets the clock, the list of time
// servers the user has named, and which of them is in use. Written back by
// the sync group of the general options writer.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct SyncOptions {
    int autosync = 0;
    int synctype = 1;
    // server<1> .. server<n> in order; nextFree is one above the last read.
    std::vector<std::wstring> servers;
    int nextFree = 1;
    // 1-based position in servers; 0 none; -N a server just typed, numbered N.
    int current = 0;
    // The text of the typed server while current is negative.
    std::wstring typed;
};

SyncOptions& ProgramSyncOptions();

// Reads the choices from [common] of tempovia.ini, or [default:common] of
// default.ini while the user has none of his own.
void LoadSyncOptions(SyncOptions& options);

// What the page's server box holds on store: a non-empty text picks the
// matching server or is added as a new one (written at once as server<N>);
// returns true when the box should select the current item again (empty text).
bool StoreServerText(SyncOptions& options, const std::wstring& text);

// The sync group: autosync, synctype, the typed server and `server`, then asks
// the service to read them again. False when the INI could not be written.
bool WriteSyncOptions(const SyncOptions& options);

// The two status lines of the page, from [common] `synclastresult` and
// `synclasttime` of tempovia.ini (at most 1023 characters each).
std::wstring SyncResultText();
std::wstring SyncTimeText();
