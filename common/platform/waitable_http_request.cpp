#include "common/platform/waitable_http_request.h"

#include <atomic>
#include <new>

#include "common/platform/wininet_on_first_use.h"

// Shared by the waiting thread and WinINet: each holds one reference, and
// WinINet lets go of its own with the request's last callback.
struct WaitableRequestState {
    HANDLE done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    std::atomic<long> references{2};
    DWORD_PTR result = 0;
    DWORD error = 0;
    DWORD available = 0;
    DWORD got = 0;
    char* buffer = nullptr;

    ~WaitableRequestState() {
        if (done) CloseHandle(done);
        delete[] buffer;
    }
    void Release() {
        if (--references == 0) delete this;
    }
};

namespace {

// Runs on WinINet's threads (or inside a call on a synchronous session); the
// context of the request is its state.
void CALLBACK OnRequestStatus(HINTERNET, DWORD_PTR context, DWORD status, void* info, DWORD) {
    auto* state = reinterpret_cast<WaitableRequestState*>(context);
    if (!state) return;
    if (status == INTERNET_STATUS_REQUEST_COMPLETE && info) {
        const auto* outcome = static_cast<const INTERNET_ASYNC_RESULT*>(info);
        state->result = outcome->dwResult;
        state->error = outcome->dwError;
        SetEvent(state->done);
    } else if (status == INTERNET_STATUS_HANDLE_CLOSING) {
        state->Release();
    }
}

}  // namespace

WaitableHttpRequest::WaitableHttpRequest(HINTERNET connection, const char* verb, const char* object,
                                         const char** acceptTypes, DWORD flags) {
    auto* state = new (std::nothrow) WaitableRequestState;
    if (!state || !state->done) {
        delete state;
        openError_ = ERROR_NOT_ENOUGH_MEMORY;
        return;
    }
    handle_ = net::HttpOpenRequestA(connection, verb, object, nullptr, nullptr, acceptTypes, flags,
                                    reinterpret_cast<DWORD_PTR>(state));
    if (!handle_) {
        openError_ = GetLastError();
        delete state;
        return;
    }
    if (net::InternetSetStatusCallbackA(handle_, OnRequestStatus) == INTERNET_INVALID_STATUS_CALLBACK) {
        // Without the callback nothing of WinINet's refers to the state.
        openError_ = GetLastError();
        net::InternetCloseHandle(handle_);
        handle_ = nullptr;
        delete state;
        return;
    }
    state_ = state;
}

WaitableHttpRequest::~WaitableHttpRequest() {
    if (handle_) net::InternetCloseHandle(handle_);
    if (state_) state_->Release();
}

DWORD WaitableHttpRequest::Await(bool inFlight, DWORD error, DWORD waitMs, HANDLE stop) {
    if (!inFlight) return error;
    const HANDLE events[2] = {state_->done, stop};
    const DWORD wait = WaitForMultipleObjects(stop ? 2 : 1, events, FALSE, waitMs);
    if (wait == WAIT_OBJECT_0) {
        if (state_->result) return 0;
        return state_->error ? state_->error : ERROR_INTERNET_INTERNAL_ERROR;
    }
    givenUp_ = wait == WAIT_OBJECT_0 + 1 ? ERROR_INTERNET_OPERATION_CANCELLED : ERROR_INTERNET_TIMEOUT;
    return givenUp_;
}

namespace {

// The error of a step that did not complete at once, ERROR_IO_PENDING for
// one that completes later.
DWORD StepError(BOOL done) { return done ? 0 : GetLastError(); }

bool Stopped(HANDLE stop) { return stop && WaitForSingleObject(stop, 0) == WAIT_OBJECT_0; }

}  // namespace

DWORD WaitableHttpRequest::Send(DWORD waitMs, HANDLE stop) {
    if (!state_) return openError_ ? openError_ : ERROR_INVALID_HANDLE;
    if (givenUp_) return givenUp_;
    if (Stopped(stop)) return givenUp_ = ERROR_INTERNET_OPERATION_CANCELLED;
    ResetEvent(state_->done);
    const DWORD error = StepError(net::HttpSendRequestA(handle_, nullptr, 0, nullptr, 0));
    return Await(error == ERROR_IO_PENDING, error, waitMs, stop);
}

DWORD WaitableHttpRequest::Available(DWORD& ready, DWORD waitMs, HANDLE stop) {
    ready = 0;
    if (!state_) return openError_ ? openError_ : ERROR_INVALID_HANDLE;
    if (givenUp_) return givenUp_;
    if (Stopped(stop)) return givenUp_ = ERROR_INTERNET_OPERATION_CANCELLED;
    ResetEvent(state_->done);
    // A query that completes later writes its count then: into the state.
    state_->available = 0;
    DWORD error = StepError(net::InternetQueryDataAvailable(handle_, &state_->available, 0, 0));
    while (error == ERROR_IO_PENDING) {
        error = Await(true, error, waitMs, stop);
        if (error) return error;
        // Asked again: what has arrived is there to be had at once now.
        state_->available = 0;
        error = StepError(net::InternetQueryDataAvailable(handle_, &state_->available, 0, 0));
    }
    if (error == 0) ready = state_->available;
    return error;
}

DWORD WaitableHttpRequest::Read(DWORD want, DWORD& got, DWORD waitMs, HANDLE stop) {
    got = 0;
    if (!state_) return openError_ ? openError_ : ERROR_INVALID_HANDLE;
    if (givenUp_) return givenUp_;
    if (Stopped(stop)) return givenUp_ = ERROR_INTERNET_OPERATION_CANCELLED;
    if (want > kReadBytes) want = kReadBytes;
    if (!state_->buffer) state_->buffer = new (std::nothrow) char[kReadBytes];
    if (!state_->buffer) return ERROR_NOT_ENOUGH_MEMORY;
    ResetEvent(state_->done);
    state_->got = 0;
    // A read that completes later fills the state's buffer and count, which
    // outlive a read given up.
    const DWORD error = StepError(net::InternetReadFile(handle_, state_->buffer, want, &state_->got));
    const DWORD result = Await(error == ERROR_IO_PENDING, error, waitMs, stop);
    if (result == 0) got = state_->got;
    return result;
}

const char* WaitableHttpRequest::data() const { return state_ ? state_->buffer : nullptr; }
