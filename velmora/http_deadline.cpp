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

void BeginHttpDeadline(DWORD timeoutMs) {
    Deadline& d = State();
    std::lock_guard<std::mutex> hold(d.lock);
    d.active = true;
    d.expired = false;
    d.end = GetTickCount64() + timeoutMs;
}

void EndHttpDeadline() {
    Deadline& d = State();
    std::lock_guard<std::mutex> hold(d.lock);
    d.active = false;
    d.expired = false;
}

bool HttpDeadlineExpired() {
    Deadline& d = State();
    std::lock_guard<std::mutex> hold(d.lock);
    return d.expired;
}

bool SendRequestWithinDeadline(WaitableHttpRequest& request) {
    Deadline& d = State();
    DWORD waitMs;
    {
        std::lock_guard<std::mutex> hold(d.lock);
        if (d.expired) {
            SetLastError(ERROR_INTERNET_TIMEOUT);
            return false;
        }
        waitMs = Remaining(d);
    }
    DWORD error = request.Send(waitMs, nullptr);
    if (error) {
        std::lock_guard<std::mutex> hold(d.lock);
        if (d.active && Remaining(d) == 0) {
            d.expired = true;
            error = ERROR_INTERNET_TIMEOUT;
        }
    }
    SetLastError(error);
    return error == 0;
}
