#include "velmora/http_deadline.h"

#include <mutex>

namespace {

struct Completions {
    std::mutex lock;
    HANDLE done = CreateEventW(nullptr, FALSE, FALSE, nullptr);  // for the process's life
    HINTERNET awaited = nullptr;
    DWORD error = 0;
    bool active = false;
    bool expired = false;
    ULONGLONG end = 0;
};

// Never destroyed: a request given up may still report while the process
// ends.
Completions& State() {
    static Completions* state = new Completions;
    return *state;
}

// Runs on WinINet's threads; only the request waited for counts.
void CALLBACK OnStatus(HINTERNET handle, DWORD_PTR, DWORD status, void* info, DWORD) {
    if (status != INTERNET_STATUS_REQUEST_COMPLETE || !info) return;
    Completions& c = State();
    std::lock_guard<std::mutex> hold(c.lock);
    if (!handle || handle != c.awaited) return;
    const auto* result = static_cast<const INTERNET_ASYNC_RESULT*>(info);
    c.error = result->dwResult ? 0 : (result->dwError ? result->dwError : ERROR_INTERNET_INTERNAL_ERROR);
    SetEvent(c.done);
}

DWORD Remaining(Completions& c) {
    if (!c.active) return INFINITE;
    const ULONGLONG now = GetTickCount64();
    return now >= c.end ? 0 : static_cast<DWORD>(c.end - now);
}

}  // namespace

void BeginHttpDeadline(DWORD timeoutMs) {
    Completions& c = State();
    std::lock_guard<std::mutex> hold(c.lock);
    c.active = true;
    c.expired = false;
    c.end = GetTickCount64() + timeoutMs;
}

void EndHttpDeadline() {
    Completions& c = State();
    std::lock_guard<std::mutex> hold(c.lock);
    c.active = false;
    c.expired = false;
}

bool HttpDeadlineExpired() {
    Completions& c = State();
    std::lock_guard<std::mutex> hold(c.lock);
    return c.expired;
}

void WatchHttpCompletions(HINTERNET internet) {
    if (internet) InternetSetStatusCallbackA(internet, OnStatus);
}

bool SendRequestWithinDeadline(HINTERNET request) {
    Completions& c = State();
    DWORD waitMs;
    {
        std::lock_guard<std::mutex> hold(c.lock);
        if (c.expired) {
            SetLastError(ERROR_INTERNET_TIMEOUT);
            return false;
        }
        c.awaited = request;
        c.error = 0;
        ResetEvent(c.done);
        waitMs = Remaining(c);
    }
    DWORD error = HttpSendRequestA(request, nullptr, 0, nullptr, 0) ? 0 : GetLastError();
    const bool pending = error == ERROR_IO_PENDING;
    const DWORD wait = pending ? WaitForSingleObject(c.done, waitMs) : WAIT_FAILED;
    {
        std::lock_guard<std::mutex> hold(c.lock);
        if (pending) {
            error = wait == WAIT_OBJECT_0 ? c.error : ERROR_INTERNET_TIMEOUT;
            if (wait != WAIT_OBJECT_0) c.expired = true;
        }
        c.awaited = nullptr;
    }
    SetLastError(error);
    return error == 0;
}
