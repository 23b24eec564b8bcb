// One HTTP request whose blocking steps can be given up. On a session opened
// with INTERNET_FLAG_ASYNC every step returns at once and is waited for here,
// until it completes, the wait runs out or a stop event is set: WinINet's own
// time-outs count each wait for data afresh, and closing a handle from another
// thread does not end a read that blocks. A step given up finishes inside
// WinINet on its own; what it still writes to (the step's result and the read
// buffer) belongs to a small state object that is freed when WinINet reports
// the request handle closed, its last callback. On a synchronous session the
// steps simply block.
#pragma once

#include <windows.h>
#include <wininet.h>

struct WaitableRequestState;

class WaitableHttpRequest {
public:
    // The most one Read returns (its buffer is allocated by the first Read).
    static constexpr DWORD kReadBytes = 1048576;

    // HttpOpenRequestA below connection; handle() is null when that failed,
    // with the error in openError().
    WaitableHttpRequest(HINTERNET connection, const char* verb, const char* object, const char** acceptTypes,
                        DWORD flags);
    // Closes the request; a step given up may still finish inside WinINet.
    ~WaitableHttpRequest();
    WaitableHttpRequest(const WaitableHttpRequest&) = delete;
    WaitableHttpRequest& operator=(const WaitableHttpRequest&) = delete;

    HINTERNET handle() const { return handle_; }
    DWORD openError() const { return openError_; }

    // Each step answers 0 when done, else the error: ERROR_INTERNET_TIMEOUT
    // when waitMs ran out, ERROR_INTERNET_OPERATION_CANCELLED when stop (may
    // be null) was set, or WinINet's own. After a step given up, every later
    // step fails the same way at once.
    DWORD Send(DWORD waitMs, HANDLE stop);
    // Bytes that can be read without waiting; 0 can mean the end or a pause.
    DWORD Available(DWORD& ready, DWORD waitMs, HANDLE stop);
    // Reads up to want bytes into data(); got 0 is the end of the body.
    // ERROR_NOT_ENOUGH_MEMORY when the buffer cannot be had.
    DWORD Read(DWORD want, DWORD& got, DWORD waitMs, HANDLE stop);
    const char* data() const;

private:
    DWORD Await(bool inFlight, DWORD error, DWORD waitMs, HANDLE stop);

    HINTERNET handle_ = nullptr;
    WaitableRequestState* state_ = nullptr;
    DWORD openError_ = 0;
    DWORD givenUp_ = 0;
};
