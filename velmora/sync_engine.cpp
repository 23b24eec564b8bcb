#include <winsock2.h>

#include "velmora/sync_engine.h"

#include <cwchar>

#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/platform/security_utils.h"
#include "velmora/http_deadline.h"
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

bool InitSync() {
    SyncState& e = Engine();
    if (e.lock) return true;
    e.lock = CreateMutexW(nullptr, TRUE, nullptr);
    if (!e.lock) return false;
    e.event = CreateEventW(nullptr, FALSE, FALSE, kTimeEventName);
    if (!e.event || !GrantEveryoneAccess(e.event, kTimeEventAccess, nullptr)) {
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
    if (e.lock) {
        const DWORD wait = WaitForSingleObject(e.lock, 1000);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) ReleaseMutex(e.lock);
        CloseHandle(e.lock);
    }
    e.lock = nullptr;
}

namespace {

DWORD WINAPI SyncWatchdogThread(void* parameter) {
    const DWORD timeout = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(parameter));
    const DWORD wait = WaitForSingleObject(Engine().lock, timeout);
    if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) {
        ReleaseMutex(Engine().lock);
    } else if (wait == WAIT_TIMEOUT) {
        // A receive that waits on the socket returns with an error.
        CloseSyncSocket(true);
    }
    return 0;
}

}  // namespace

int SyncOnce(DWORD timeoutMs) {
    SyncState& e = Engine();
    if (!e.lock) return kSyncNoNetwork;
    const DWORD wait = WaitForSingleObject(e.lock, INFINITE);
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) return kSyncNoNetwork;
    e.schedule.lastCheckTick = GetTickCount64();

    HANDLE watchdog = CreateThread(nullptr, 0, SyncWatchdogThread,
                                   reinterpret_cast<void*>(static_cast<UINT_PTR>(timeoutMs)), 0, nullptr);
    if (!watchdog) {
        ReleaseMutex(e.lock);
        return kSyncNoNetwork;
    }
    BeginHttpDeadline(timeoutMs);
    const SyncSettings& settings = CurrentSyncSettings();
    const int code = std::wcsncmp(settings.serverText, L"http://", 7) == 0
                         ? SyncByHttp(settings.serverText, settings.httpSyncWait, timeoutMs)
                         : SyncBySntp(settings.serverText, timeoutMs);
    ReleaseMutex(e.lock);
    // The watchdog takes the lock at once now; it must be gone before the
    // next sync or the clean-up reuses the socket slot.
    WaitForSingleObject(watchdog, INFINITE);
    CloseHandle(watchdog);
    EndHttpDeadline();
    return code;
}

bool IsSyncDue() { return IsSyncDueAt(Engine().schedule, CurrentSyncSettings(), GetTickCount64()); }

std::wstring FormatSyncTime(const SYSTEMTIME& t) {
    wchar_t text[32];
    swprintf(text, 32, L"%04d%02d%02d%02d%02d%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return text;
}

void WriteSyncResult(int code) {
    if (SyncDefaultsInForce()) return;
    const wchar_t* file = UserIniPath().c_str();
    if (code == 0 || code == 136) {
        SYSTEMTIME local;
        GetLocalTime(&local);
        WriteIniString(file, L"common", L"synclasttime", FormatSyncTime(local).c_str());
    }
    WriteIniInt(file, L"common", L"synclastresult", code);
    if (Engine().event) SetEvent(Engine().event);
}
