#include <winsock2.h>

#include "velmora/sync_engine.h"

#include <algorithm>
#include <cwchar>
#include <memory>

#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/settings/named_mutex.h"
#include "common/platform/security_utils.h"
#include "velmora/sync_codes.h"
#include "velmora/sync_settings.h"
#include "velmora/sync_state.h"

SyncState& Engine() {
    static SyncState state;
    return state;
}

void CloseSyncSocket(bool shutdownFirst) {
    SOCKET s = Engine().socket.exchange(INVALID_SOCKET);
    if (s == INVALID_SOCKET) return;
    if (shutdownFirst) shutdown(s, SD_BOTH);
    closesocket(s);
}

bool SyncReady() { return Engine().lock != nullptr; }
HANDLE SyncEvent() { return Engine().event; }
void SetSntpPort(uint16_t port) { Engine().sntpPort = port; }
void SetNameLookup(NameLookup lookup) { Engine().lookup = lookup; }

bool InitSync() {
    SyncState& e = Engine();
    if (e.lock) return true;
    e.lock = CreateMutexW(nullptr, TRUE, nullptr);
    if (!e.lock) return false;
    e.event = CreateEventW(nullptr, FALSE, FALSE, kTimeEventName);
    e.stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!e.event || !e.stop || !GrantEveryoneAccess(e.event, kTimeEventAccess, nullptr)) {
        CleanupSync();
        return false;
    }
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 0), &data) != 0) {
        CleanupSync();
        return false;
    }
    e.networkStarted = true;
    e.schedule = SyncSchedule{GetTickCount64(), 0, false};
    e.schedule.lastCheckTick = e.schedule.startTick;
    ReleaseMutex(e.lock);
    return true;
}

void CleanupSync() {
    SyncState& e = Engine();
    CloseSyncSocket(true);
    if (e.networkStarted) WSACleanup();
    e.networkStarted = false;
    if (e.event) CloseHandle(e.event);
    e.event = nullptr;
    if (e.stop) CloseHandle(e.stop);
    e.stop = nullptr;
    if (e.lock) {
        const DWORD wait = WaitForSingleObject(e.lock, 1000);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) ReleaseMutex(e.lock);
        CloseHandle(e.lock);
    }
    e.lock = nullptr;
}

void StopSync(DWORD resultWaitMs) {
    SyncState& e = Engine();
    e.stopDeadline = GetTickCount64() + resultWaitMs;
    if (e.stop) SetEvent(e.stop);
    CloseSyncSocket(true);
}

void ResumeSync() {
    if (Engine().stop) ResetEvent(Engine().stop);
}

bool SyncStopped() {
    HANDLE stop = Engine().stop;
    return stop && WaitForSingleObject(stop, 0) == WAIT_OBJECT_0;
}

SyncWatchdog::SyncWatchdog(DWORD timeoutMs) : timeoutMs_(timeoutMs) {
    done_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (done_) thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

SyncWatchdog::~SyncWatchdog() {
    if (thread_) {
        SetEvent(done_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
    if (done_) CloseHandle(done_);
}

DWORD WINAPI SyncWatchdog::Run(void* self) {
    const SyncWatchdog* watchdog = static_cast<const SyncWatchdog*>(self);
    if (WaitForSingleObject(watchdog->done_, watchdog->timeoutMs_) == WAIT_TIMEOUT) CloseSyncSocket(true);
    return 0;
}

int OutcomeAfterStop(int code) {
    return SyncStopped() && code != kSyncOk && code != kSyncSetFailed ? kSyncStopped : code;
}

int ReportSyncResult(int code) {
    if (WriteSyncResult(code)) return code;
    return SyncStopped() ? kSyncStopped : kSyncFileBusy;
}

int SyncOnce(DWORD timeoutMs, ULONGLONG lockDeadline) {
    SyncState& e = Engine();
    if (!e.lock) return kSyncNoNetwork;
    const DWORD wait = WaitForSingleObject(e.lock, INFINITE);
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) return kSyncNoNetwork;
    e.schedule.lastCheckTick = GetTickCount64();
    e.lockDeadline = lockDeadline ? lockDeadline : GetTickCount64() + kIniLockWaitMs;
    const SyncSettings settings = CurrentSyncSettings();
    const int code = std::wcsncmp(settings.serverText, L"http://", 7) == 0
                         ? SyncByHttp(settings.serverText, settings.httpSyncWait, timeoutMs)
                         : SyncBySntp(settings.serverText, timeoutMs);
    e.lockDeadline = 0;
    ReleaseMutex(e.lock);
    return code;
}

bool IsSyncDue() { return IsSyncDueAt(Engine().schedule, CurrentSyncSettings(), GetTickCount64()); }

std::wstring FormatSyncTime(const SYSTEMTIME& t) {
    wchar_t text[32];
    swprintf(text, 32, L"%04d%02d%02d%02d%02d%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return text;
}

namespace {

// The settings-file lock for a result, taken in short waits so that a stop
// is seen: after a stop, "in progress" is not worth waiting for, and an
// outcome waits no longer than the stop allows.
std::unique_ptr<IniFileLock> TakeResultLock(int code, ULONGLONG deadline) {
    SyncState& e = Engine();
    for (;;) {
        ULONGLONG end = deadline;
        if (SyncStopped()) end = code == kSyncInProgress ? 0 : e.stopDeadline.load();
        const ULONGLONG now = GetTickCount64();
        const DWORD slice = now >= end ? 0 : static_cast<DWORD>(std::min<ULONGLONG>(end - now, kLockRetryMs));
        auto lock = std::make_unique<IniFileLock>(slice);
        if (lock->held()) return lock;
        if (slice == 0) return nullptr;
    }
}

bool WriteSyncResultUntil(int code, ULONGLONG deadline) {
    if (SyncDefaultsInForce()) return true;
    const auto lock = TakeResultLock(code, deadline);
    if (!lock) return false;
    const wchar_t* file = UserIniPath().c_str();
    if (code == 0 || code == 136) {
        SYSTEMTIME local;
        GetLocalTime(&local);
        WriteIniString(file, L"common", L"synclasttime", FormatSyncTime(local).c_str());
    }
    // The settings program re-reads the file when woken: only a result that
    // is in it may wake it.
    if (!WriteIniInt(file, L"common", L"synclastresult", code)) return false;
    if (Engine().event) SetEvent(Engine().event);
    return true;
}

}  // namespace

bool WriteSyncResult(int code) {
    const ULONGLONG deadline = Engine().lockDeadline;
    return WriteSyncResultUntil(code, deadline ? deadline : GetTickCount64() + kIniLockWaitMs);
}

bool TryWriteSyncResult(int code) { return WriteSyncResultUntil(code, 0); }
