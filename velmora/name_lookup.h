// The look-up of an SNTP server's name. The resolver's own call cannot be cut
// short, so it runs on a thread of its own that the sync waits for only until
// its time is up or the service stops; a look-up left behind ends on its own
// and frees what it used, holding nothing the engine or the process needs.
#pragma once

#include <winsock2.h>

#include "velmora/sync_engine.h"

// kSyncOk with the first IPv4 address of the name; kSyncBadServer when the
// name was not resolved within waitMs; kSyncStopped when stop (may be null)
// was set first. lookup null: getaddrinfo.
int LookUpServer(const char* name, NameLookup lookup, DWORD waitMs, HANDLE stop, in_addr& address);
