#include "velmora/service_run.h"

#include <atomic>
#include <mutex>
#include <string>

#include "common/settings/ini_paths.h"
#include "common/platform/sync_service_notify.h"
#include "velmora/service_platform.h"
#include "velmora/sync_codes.h"
#include "velmora/sync_engine.h"
#include "velmora/sync_settings.h"

static_assert(kStopWaitHintMs > kSyncTimeoutMs);

namespace {

std::mutex g_statusLock;  // the handler, the service and the start-up heartbeat report
SERVICE_STATUS_HANDLE g_handle = nullptr;
SERVICE_STATUS g_status{kServiceType, SERVICE_STOPPED, kServiceControls, 0, 0, 0, 0};

std::atomic<bool> g_stop{false};
std::atomic<bool> g_paused{false};
std::atomic<bool> g_reload{false};
std::atomic<bool> g_syncRequested{false};
HANDLE g_wake = nullptr;  // manual reset

// A stop once asked for is not taken back: only STOPPED replaces STOP_PENDING.
void ReportState(DWORD state, DWORD win32Exit = 0, DWORD specificExit = 0) {
    std::lock_guard<std::mutex> hold(g_statusLock);
    if (g_status.dwCurrentState == SERVICE_STOP_PENDING && state != SERVICE_STOPPED) return;
    g_status.dwCurrentState = state;
    g_status.dwWin32ExitCode = win32Exit;
    g_status.dwServiceSpecificExitCode = specificExit;
    g_status.dwCheckPoint = 0;
    g_status.dwWaitHint = 0;
    if (g_handle) Platform().SetStatus(g_handle, &g_status);
}

// A sync in progress finishes first (it is bounded by its watchdog); the
// service thread reports STOPPED when its loop has ended.
void ReportStopping() {
    std::lock_guard<std::mutex> hold(g_statusLock);
    g_status.dwCurrentState = SERVICE_STOP_PENDING;
    g_status.dwCheckPoint = 1;
    g_status.dwWaitHint = kStopWaitHintMs;
    if (g_handle) Platform().SetStatus(g_handle, &g_status);
}

void ReportAgain() {
    std::lock_guard<std::mutex> hold(g_statusLock);
    if (g_handle) Platform().SetStatus(g_handle, &g_status);
}

// ---- start-up heartbeat --------------------------------------------------------

struct StartupHeartbeat {
    HANDLE stop = nullptr;
    HANDLE thread = nullptr;
    DWORD state = SERVICE_START_PENDING;
};

DWORD WINAPI HeartbeatThread(void* parameter) {
    StartupHeartbeat* heartbeat = static_cast<StartupHeartbeat*>(parameter);
    for (;;) {
        {
            std::lock_guard<std::mutex> hold(g_statusLock);
            // A stop that came during the start-up keeps its own report.
            if (g_status.dwCurrentState == SERVICE_STOP_PENDING) break;
            g_status.dwCurrentState = heartbeat->state;
            g_status.dwWaitHint = kStartWaitHintMs;
            ++g_status.dwCheckPoint;
            if (g_handle) Platform().SetStatus(g_handle, &g_status);
        }
        if (WaitForSingleObject(heartbeat->stop, kHeartbeatMs) != WAIT_TIMEOUT) break;
    }
    std::lock_guard<std::mutex> hold(g_statusLock);
    if (g_status.dwCurrentState != SERVICE_STOP_PENDING) {
        g_status.dwCheckPoint = 0;
        g_status.dwWaitHint = 0;
    }
    return 0;
}

void StartHeartbeat(StartupHeartbeat& heartbeat, DWORD state) {
    heartbeat.state = state;
    heartbeat.stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    heartbeat.thread = heartbeat.stop ? CreateThread(nullptr, 0, HeartbeatThread, &heartbeat, 0, nullptr) : nullptr;
}

// The thread ends at its stop event; ending it from outside could leave the
// status lock held for ever.
void StopHeartbeat(StartupHeartbeat& heartbeat) {
    if (heartbeat.stop) SetEvent(heartbeat.stop);
    if (heartbeat.thread) {
        WaitForSingleObject(heartbeat.thread, INFINITE);
        CloseHandle(heartbeat.thread);
    }
    if (heartbeat.stop) CloseHandle(heartbeat.stop);
    heartbeat = StartupHeartbeat{};
}

// ---- running -------------------------------------------------------------------

// Before the handler is registered: a stop that arrives from then on stays.
void ResetServiceRun() {
    g_stop = false;
    g_paused = false;
    g_reload = false;
    g_syncRequested = false;
    std::lock_guard<std::mutex> hold(g_statusLock);
    g_handle = nullptr;
    g_status = SERVICE_STATUS{kServiceType, SERVICE_START_PENDING, kServiceControls, 0, 0, 0, 0};
}

// Statuses go nowhere once the service has returned.
struct HandleInUse {
    HandleInUse() = default;
    HandleInUse(const HandleInUse&) = delete;
    HandleInUse& operator=(const HandleInUse&) = delete;
    ~HandleInUse() {
        std::lock_guard<std::mutex> hold(g_statusLock);
        g_handle = nullptr;
    }
};

DWORD InitServiceRun() {
    // The previous run's event outlives it by one start: the handler of that
    // run may still have been setting it when the run ended.
    if (g_wake) CloseHandle(g_wake);
    g_wake = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!g_wake) return GetLastError();
    ResumeSync();
    // A busy settings file holds up neither the start nor a stop: the loop
    // reads again until it has the lock.
    bool busy = false;
    ReadSyncSettings(0, &busy);
    if (busy) g_reload = true;
    return 0;
}

// One synchronisation at a time runs on a thread of its own, so that the
// service thread answers a stop within its hint even while a name look-up or
// a result write waiting for the settings-file lock holds the sync up. A stop
// cuts the sync short, and the thread is joined before STOPPED is reported.
class SyncRun {
public:
    SyncRun() = default;
    SyncRun(const SyncRun&) = delete;
    SyncRun& operator=(const SyncRun&) = delete;
    ~SyncRun() { Join(INFINITE); }

    bool Busy() { return !Join(0); }
    void Start() {
        thread_ = CreateThread(nullptr, 0, Run, nullptr, 0, nullptr);
        if (!thread_) owed_ = SyncOnce(kSyncTimeoutMs) == kSyncFileBusy;
    }
    // True once no sync runs (within the time).
    bool Join(DWORD ms) {
        if (!thread_) return true;
        if (WaitForSingleObject(thread_, ms) != WAIT_OBJECT_0) return false;
        DWORD code = 0;
        if (GetExitCodeThread(thread_, &code)) owed_ = code == static_cast<DWORD>(kSyncFileBusy);
        CloseHandle(thread_);
        thread_ = nullptr;
        return true;
    }
    // A sync that could not write its result leaves the file showing an
    // older one, or "in progress": once the lock is free it is told that the
    // file was busy.
    void PayOwedResult() {
        if (owed_ && !Busy() && TryWriteSyncResult(kSyncFileBusy)) owed_ = false;
    }

private:
    static DWORD WINAPI Run(void*) { return static_cast<DWORD>(SyncOnce(kSyncTimeoutMs)); }
    HANDLE thread_ = nullptr;
    bool owed_ = false;
};

void ServiceRunLoop(SyncRun& sync) {
    const std::wstring logPath = SettingsFolder() + L"velmora.log";
    HANDLE log = CreateFileW(logPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) {
        ReportState(SERVICE_STOPPED, GetLastError(), 0);
        return;
    }
    while (!g_stop) {
        const DWORD wait = WaitForSingleObject(g_wake, kServiceWakeMs);
        if (wait == WAIT_OBJECT_0) {
            if (!g_stop) ResetEvent(g_wake);
        } else if (wait != WAIT_TIMEOUT) {
            break;
        }
        if (g_stop) break;
        if (g_paused) continue;
        if (g_reload.exchange(false)) {
            // A sync in progress keeps the settings it started with.
            bool busy = false;
            ReadSyncSettings(0, &busy);
            if (busy) g_reload = true;
        }
        sync.PayOwedResult();
        // A request that arrives during the sync stays for the next round.
        if (CurrentSyncSettings().serverText[0] && !sync.Busy() &&
            (g_syncRequested.exchange(false) || IsSyncDue())) {
            sync.Start();
        }
    }
    // A sync in progress is cut short and reports that it was stopped first.
    StopSync(kStopSyncWaitMs);
    sync.Join(INFINITE);
    CloseHandle(log);
}

// Only asks: the service thread ends its loop, after a sync in progress, and
// keeps its handles until then.
void StopServiceRun() {
    g_stop = true;
    if (g_wake) SetEvent(g_wake);
}

}  // namespace

DWORD CurrentServiceState() {
    std::lock_guard<std::mutex> hold(g_statusLock);
    return g_status.dwCurrentState;
}

void WINAPI ServiceCtrlHandler(DWORD code) {
    switch (code) {
        case SERVICE_CONTROL_STOP:
        case SERVICE_CONTROL_SHUTDOWN:
            // Reported before the loop is told: once told, it may report
            // itself stopped at once, and nothing may come after that.
            ReportStopping();
            StopServiceRun();
            return;
        case SERVICE_CONTROL_PAUSE:
            g_paused.exchange(true);
            if (g_wake) SetEvent(g_wake);
            ReportState(SERVICE_PAUSED);
            return;
        case SERVICE_CONTROL_CONTINUE:
            g_paused.exchange(false);
            if (g_wake) SetEvent(g_wake);
            ReportState(SERVICE_RUNNING);
            return;
        case SYNC_CONTROL_RELOAD:
            g_reload = true;
            if (g_wake) SetEvent(g_wake);
            break;
        case SYNC_CONTROL_SYNC_NOW:
            g_syncRequested = true;
            if (g_wake) SetEvent(g_wake);
            break;
        default:
            break;
    }
    ReportAgain();
}

void WINAPI ServiceMain(DWORD, LPWSTR*) {
    ResetServiceRun();
    SERVICE_STATUS_HANDLE handle = Platform().RegisterHandler(kSyncServiceName, ServiceCtrlHandler);
    if (!handle) return;
    HandleInUse inUse;
    {
        std::lock_guard<std::mutex> hold(g_statusLock);
        g_handle = handle;
        // The handler may have had a stop before it knew where to report it.
        if (g_status.dwCurrentState == SERVICE_STOP_PENDING) Platform().SetStatus(g_handle, &g_status);
    }
    StartupHeartbeat heartbeat;
    StartHeartbeat(heartbeat, SERVICE_START_PENDING);
    const DWORD failure = InitServiceRun();
    StopHeartbeat(heartbeat);
    if (failure != 0 || g_stop) {
        ReportState(SERVICE_STOPPED, failure, failure);
        return;
    }
    ReportState(SERVICE_RUNNING);
    {
        SyncRun sync;
        ServiceRunLoop(sync);
    }
    // Once STOPPED is reported the dispatcher returns and the process cleans
    // up and ends: no sync may run any more.
    if (CurrentServiceState() != SERVICE_STOPPED) ReportState(SERVICE_STOPPED);
}
