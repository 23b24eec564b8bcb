// Process-wide state of the engine, shared by its source files only.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <cstdint>

#include "velmora/sntp_packet.h"
#include "velmora/sync_schedule.h"

struct SyncState {
    HANDLE lock = nullptr;    // serialises synchronisations
    HANDLE event = nullptr;   // Global\Tempovia_Time_Event
    bool networkStarted = false;
    SyncSchedule schedule{};
    std::atomic<SOCKET> socket{INVALID_SOCKET};
    uint16_t sntpPort = kSntpPort;
};

SyncState& Engine();

// Takes the UDP socket away from the engine and closes it; whoever comes
// first (the sync or its watchdog) closes it, the other finds it gone.
void CloseSyncSocket(bool shutdownFirst);
