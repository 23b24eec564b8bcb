#include "velmora/http_deadline.h"

#include <mutex>

namespace {

// Used by the syncing thread alone: WinINet's callbacks reach only the state
// of their own request.
struct Deadline {
    std::mutex lock;
    bool active = false;
    bool expired = false;
    ULONGLONG end = 0;
    HANDLE stop = nullptr;
};

Deadline& State() {
    static Deadline state;
    return state;
}

DWORD Remaining(const Deadline& d) {
    if (!d.active) return INFINITE;
    const ULONGLONG now = GetTickCount64();
    return now >= d.end ? 0 : static_cast<DWORD>(d.end - now);
}

}  // namespace

void BeginHttpDeadline(DWORD timeoutMs, HANDLE stop) {
    Deadline& d = State();
    std::lock_guard<std::mutex> hold(d.lock);
    d.stop = stop;
    d.active = true;
    d.expired = false;
    d.end = GetTickCount64() + timeoutMs;
}

void EndHttpDeadline() {
    Deadline& d = State();
    std::lock_guard<std::mutex> hold(d.lock);
    d.active = false;
    d.expired = false;
    d.stop = nullptr;
}

bool HttpDeadlineExpired() {
    Deadline& d = State();
    std::lock_guard<std::mutex> hold(d.lock);
    return d.expired;
}

bool SendRequestWithinDeadline(WaitableHttpRequest& request) {
    Deadline& d = State();
    DWORD waitMs;
    HANDLE stop;
    {
        std::lock_guard<std::mutex> hold(d.lock);
        if (d.expired) {
            SetLastError(ERROR_INTERNET_TIMEOUT);
            return false;
        }
        waitMs = Remaining(d);
        stop = d.stop;
    }
    DWORD error = request.Send(waitMs, stop);
    if (error == ERROR_INTERNET_OPERATION_CANCELLED) {
        std::lock_guard<std::mutex> hold(d.lock);
        d.expired = true;
    } else if (error) {
        std::lock_guard<std::mutex> hold(d.lock);
        if (d.active && Remaining(d) == 0) {
            d.expired = true;
            error = ERROR_INTERNET_TIMEOUT;
        }
    }
    SetLastError(error);
    return error == 0;
}
