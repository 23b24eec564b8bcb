// Process-wide state of the engine, shared by its source files only.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <cstdint>

#include "velmora/sntp_packet.h"
#include "velmora/sync_engine.h"
#include "velmora/sync_schedule.h"

struct SyncState {
    HANDLE lock = nullptr;    // serialises synchronisations
    HANDLE event = nullptr;   // Global\Tempovia_Time_Event
    HANDLE stop = nullptr;    // manual reset: set by StopSync
    bool networkStarted = false;
    SyncSchedule schedule{};
    std::atomic<SOCKET> socket{INVALID_SOCKET};
    uint16_t sntpPort = kSntpPort;
    NameLookup lookup = nullptr;
    // Until when the sync in progress may wait for the settings-file lock
    // (0: no sync runs), and until when a result may wait after a stop.
    ULONGLONG lockDeadline = 0;
    std::atomic<ULONGLONG> stopDeadline{0};
};

SyncState& Engine();

// Takes the UDP socket away from the engine and closes it; whoever comes
// first (the sync, its watchdog or a stop) closes it, the others find it gone.
void CloseSyncSocket(bool shutdownFirst);

// Bounds one exchange with a server: when it has not ended within the time,
// its socket is shut down and closed, so that a waiting receive returns with
// an error. It starts once the sync's first result is written, so that a wait
// for the settings-file lock never eats into the exchange's time.
class SyncWatchdog {
public:
    explicit SyncWatchdog(DWORD timeoutMs);
    // The exchange ended: the thread is told and joined.
    ~SyncWatchdog();
    SyncWatchdog(const SyncWatchdog&) = delete;
    SyncWatchdog& operator=(const SyncWatchdog&) = delete;
    bool running() const { return thread_ != nullptr; }

private:
    static DWORD WINAPI Run(void* self);
    HANDLE done_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD timeoutMs_;
};

// The code an exchange ends with once a stop may have cut it: what it found
// out stands when it reached the clock, anything else was the stop's doing.
int OutcomeAfterStop(int code);
// Writes the outcome of a sync; returns it, or when it could not be written
// kSyncStopped after a stop and kSyncFileBusy otherwise.
int ReportSyncResult(int code);
