// One GET of a URL into a local file through a worker's HTTP session.
#pragma once

#include <cstdint>

#include "common/settings/http_log.h"

// Results of DownloadFile besides the server's own status codes.
constexpr int32_t kDownloadStored = 200;          // body stored in the target file
constexpr int32_t kDownloadBadUrl = -1;           // the URL cannot be split
constexpr int32_t kDownloadNoConnection = -2;     // no connection handle (or no session)
constexpr int32_t kDownloadRequestFailed = -3;    // not opened or sent, or no status read
constexpr int32_t kDownloadNoBuffer = -20;        // transfer buffer not allocated
constexpr int32_t kDownloadCannotCreate = -100;   // target file not created
constexpr int32_t kDownloadIncomplete = -101;     // body not written whole
constexpr int32_t kDownloadTooLarge = -102;       // body longer than the caller's bound

// URLs are used up to this many bytes (terminator included); longer ones are cut.
constexpr size_t kDownloadUrlBytes = 1024;
// Host names longer than this are refused as unsplittable.
constexpr size_t kDownloadHostBytes = 64;
// Redirects followed at most; past them the redirect status is the result.
constexpr int kDownloadMaxRedirects = 10;
// How long a whole request may take unless the caller says otherwise.
constexpr DWORD kDownloadTimeLimitMs = 60000;

// A worker's session for one run: opened on construction, closed on every
// way out of the scope, exceptions included. Its requests are asynchronous, so
// that DownloadFile can give them up.
class ScopedHttpSession {
public:
    ScopedHttpSession() { OpenHttpSession(session_, INTERNET_FLAG_ASYNC); }
    ~ScopedHttpSession() { CloseHttpSession(session_); }
    ScopedHttpSession(const ScopedHttpSession&) = delete;
    ScopedHttpSession& operator=(const ScopedHttpSession&) = delete;
    CHttpSession& get() { return session_; }

private:
    CHttpSession session_;
};

// A wide address as the 8-bit text DownloadFile takes (the ANSI code page);
// false when it does not fit or a character has no exact equivalent.
bool DownloadUrlFromWide(const wchar_t* wide, char* out, int size);

// GETs url (8-bit text) and, on status 200 only, writes the body to file.
// Returns the status, or one of the negative results above. The session's
// status, status text, content type, date and last error describe the reply.
// The whole request, redirects and body included, ends within timeLimitMs,
// and soon after stop (may be null) is set: the program is ending. A body
// longer than maxBytes (0: no bound) is refused as kDownloadTooLarge.
int32_t DownloadFile(CHttpSession& session, const char* url, const wchar_t* file,
                     DWORD timeLimitMs = kDownloadTimeLimitMs, HANDLE stop = nullptr, uint64_t maxBytes = 0);
