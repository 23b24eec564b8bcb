// The bound on the whole HTTP exchange of one synchronisation. WinINet's own
// time-outs count every wait for data afresh, so a server that sends its reply
// a byte at a time would hold a blocking request for as long as it likes. The
// sync's session is asynchronous instead, and each request is waited for only
// until the deadline; a request given up finishes inside WinINet on its own
// (WaitableHttpRequest).
#pragma once

#include <windows.h>

#include "common/platform/waitable_http_request.h"

// The deadline of the sync now starting, and its end. A request is also given
// up once stop (may be null) is set.
void BeginHttpDeadline(DWORD timeoutMs, HANDLE stop = nullptr);
void EndHttpDeadline();
// True once a request of this sync was given up at the deadline; no further
// request may start.
bool HttpDeadlineExpired();

// Sends the request without headers or body. A request that completes later
// (asynchronous session) is waited for until the deadline (without one: for
// ever). False with the error as last error; ERROR_INTERNET_TIMEOUT when the
// deadline passed.
bool SendRequestWithinDeadline(WaitableHttpRequest& request);
