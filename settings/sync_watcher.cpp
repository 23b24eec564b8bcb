#include "settings/sync_watcher.h"

#include <atomic>
#include <string>

#include "common/records/protocol.h"

namespace {

std::atomic<int> g_running{0};
// Read by the thread at its start only; set before any page exists.
std::wstring g_eventName = kTimeEventName;

class EventHandle {
public:
    explicit EventHandle(HANDLE handle) : handle_(handle) {}
    ~EventHandle() {
        if (handle_) CloseHandle(handle_);
    }
    EventHandle(const EventHandle&) = delete;
    EventHandle& operator=(const EventHandle&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

}  // namespace

int RunningSyncWatchers() { return g_running.load(); }

void SetSyncEventName(const wchar_t* name) { g_eventName = name ? name : kTimeEventName; }

DWORD WINAPI SyncEventThreadProc(LPVOID parameter) {
    HWND page = static_cast<HWND>(parameter);
    EventHandle event(OpenEventW(SYNCHRONIZE, FALSE, g_eventName.c_str()));
    if (!event.get()) {
        SendMessageW(page, MSG_SYNC_STATE, kSyncServiceUnreachable, 0);
        --g_running;
        return 0;
    }
    while (IsWindow(page)) {
        const DWORD result = WaitForSingleObject(event.get(), kSyncWatchSliceMs);
        if (result == WAIT_OBJECT_0) {
            if (IsWindow(page)) SendMessageW(page, MSG_SYNC_STATE, 0, 0);
        } else if (result == WAIT_ABANDONED) {
            break;
        }
    }
    --g_running;
    return 0;
}

bool StartSyncWatcher(HWND page) {
    ++g_running;
    HANDLE thread = CreateThread(nullptr, 0, SyncEventThreadProc, page, 0, nullptr);
    if (!thread) {
        --g_running;
        return false;
    }
    CloseHandle(thread);
    return true;
}
