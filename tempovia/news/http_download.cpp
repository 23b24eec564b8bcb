#include "tempovia/news/http_download.h"

#include <cstring>

#include "common/platform/waitable_http_request.h"
#include "common/platform/wininet_on_first_use.h"

namespace {

static_assert((HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE) == 0xA0000000);
static_assert(kHttpSessionRequestFlags ==
              (INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP |
               INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS | INTERNET_FLAG_IGNORE_CERT_DATE_INVALID |
               INTERNET_FLAG_IGNORE_CERT_CN_INVALID | INTERNET_FLAG_HYPERLINK | INTERNET_FLAG_NO_UI |
               INTERNET_FLAG_PRAGMA_NOCACHE));

struct InternetHandle {
    HINTERNET h = nullptr;
    ~InternetHandle() {
        if (h) net::InternetCloseHandle(h);
    }
};

struct FileHandle {
    HANDLE h = INVALID_HANDLE_VALUE;
    ~FileHandle() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};

// Copies at most size - 1 bytes and terminates.
void CopyText(char* target, size_t size, const char* source, size_t length) {
    if (length > size - 1) length = size - 1;
    std::memcpy(target, source, length);
    target[length] = 0;
}

// Reads a text header into the session's 1024-byte field; empty when absent.
void QueryText(HINTERNET request, DWORD what, char (&field)[kHttpHeaderTextBytes]) {
    DWORD size = sizeof(field) - 1;
    field[0] = 0;
    if (net::HttpQueryInfoA(request, what, field, &size, nullptr)) {
        field[size < sizeof(field) ? size : sizeof(field) - 1] = 0;
    } else {
        field[0] = 0;
    }
}

// Milliseconds left before the deadline, 0 when it has passed.
DWORD Remaining(DWORD start, DWORD limit) {
    const DWORD used = GetTickCount() - start;
    return used >= limit ? 0 : limit - used;
}

// Every blocking step of the request waits at most what is left of the whole.
void LimitWaits(HINTERNET handle, DWORD ms) {
    if (ms == 0) ms = 1;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
        net::InternetSetOptionA(handle, option, &ms, sizeof(ms));
}

int32_t StoreBody(CHttpSession& session, WaitableHttpRequest& request, const wchar_t* file, DWORD start,
                  DWORD limit, HANDLE stop, uint64_t maxBytes) {
    FileHandle target;
    target.h = CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (target.h == INVALID_HANDLE_VALUE) return kDownloadCannotCreate;

    // A reply that names its length is whole only at that length: a
    // connection closed early reads as an ordinary end.
    DWORD expected = 0;
    DWORD size = sizeof(expected);
    const bool sized = net::HttpQueryInfoA(request.handle(), HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER,
                                           &expected, &size, nullptr) != 0;
    if (maxBytes != 0 && sized && expected > maxBytes) return kDownloadTooLarge;
    uint64_t total = 0;
    for (;;) {
        // A server that trickles its body must not hold the worker past the
        // deadline, nor past a stop: every wait ends at either.
        if (Remaining(start, limit) == 0) return kDownloadIncomplete;
        DWORD ready = 0;
        DWORD error = request.Available(ready, Remaining(start, limit), stop);
        // Nothing there: one byte, waited for no longer than the time left,
        // tells a pause from the end.
        if (error == 0 && ready == 0) LimitWaits(request.handle(), Remaining(start, limit));
        DWORD got = 0;
        if (error == 0) error = request.Read(ready == 0 ? 1 : ready, got, Remaining(start, limit), stop);
        if (error == ERROR_NOT_ENOUGH_MEMORY) return kDownloadNoBuffer;
        if (error) {
            // A body cut off in transfer is not a stored body.
            session.lastError = error;
            return kDownloadIncomplete;
        }
        if (got == 0) break;
        if (maxBytes != 0 && total + got > maxBytes) return kDownloadTooLarge;
        DWORD written = 0;
        // Any chunk not written whole spoils the file, not only the last one.
        if (!WriteFile(target.h, request.data(), got, &written, nullptr) || written != got) return kDownloadIncomplete;
        total += got;
    }
    if (total == 0 || (sized && total != expected)) return kDownloadIncomplete;
    return kDownloadStored;
}

bool IsRedirect(DWORD status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The address a redirect reply points to, resolved against the address that
// gave it; false when there is none or it does not fit.
bool RedirectTarget(HINTERNET request, char (&address)[kDownloadUrlBytes]) {
    char location[kDownloadUrlBytes];
    DWORD size = sizeof(location) - 1;
    if (!net::HttpQueryInfoA(request, HTTP_QUERY_LOCATION, location, &size, nullptr) || size == 0) return false;
    location[size < sizeof(location) ? size : sizeof(location) - 1] = 0;
    char combined[kDownloadUrlBytes];
    DWORD length = sizeof(combined);
    if (!net::InternetCombineUrlA(address, location, combined, &length, ICU_NO_ENCODE)) return false;
    CopyText(address, sizeof(address), combined, std::strlen(combined));
    return true;
}

}  // namespace

bool DownloadUrlFromWide(const wchar_t* wide, char* out, int size) {
    BOOL usedDefault = FALSE;
    const bool utf8 = GetACP() == CP_UTF8;  // takes no default character
    const int written = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide, -1, out, size, nullptr,
                                            utf8 ? nullptr : &usedDefault);
    return written > 0 && !usedDefault;
}

int32_t DownloadFile(CHttpSession& session, const char* url, const wchar_t* file, DWORD timeLimitMs, HANDLE stop,
                     uint64_t maxBytes) {
    session.status = 0;
    session.lastError = 0;
    session.date = SYSTEMTIME{};
    session.statusText[0] = 0;

    char address[kDownloadUrlBytes];
    if (!url) return kDownloadBadUrl;
    CopyText(address, sizeof(address), url, std::strlen(url));
    const DWORD start = GetTickCount();

    // Redirects are followed here rather than by WinINet, which follows an
    // address that redirects to itself for ever.
    for (int hop = 0;; ++hop) {
        URL_COMPONENTSA parts{};
        parts.dwStructSize = sizeof(parts);
        parts.dwHostNameLength = 1;  // non-zero: point into address
        parts.dwUrlPathLength = 1;
        if (!net::InternetCrackUrlA(address, 0, 0, &parts) || !parts.lpszHostName || parts.dwHostNameLength == 0) {
            return kDownloadBadUrl;
        }
        if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return kDownloadBadUrl;
        if (parts.dwHostNameLength >= kDownloadHostBytes) return kDownloadBadUrl;
        char host[kDownloadHostBytes];
        CopyText(host, sizeof(host), parts.lpszHostName, parts.dwHostNameLength);
        // The object is everything from the path on, query included.
        const char* object = parts.lpszUrlPath && *parts.lpszUrlPath ? parts.lpszUrlPath : "/";

        if (!session.internet) return kDownloadNoConnection;
        const DWORD_PTR context = reinterpret_cast<DWORD_PTR>(&session);
        InternetHandle connection;
        connection.h = net::InternetConnectA(session.internet, host, parts.nPort, nullptr, nullptr,
                                             INTERNET_SERVICE_HTTP, 0, context);
        if (!connection.h) {
            session.lastError = GetLastError();
            return kDownloadNoConnection;
        }
        const DWORD flags = RequestFlagsForScheme(session.requestFlags | INTERNET_FLAG_NO_AUTO_REDIRECT, parts.nScheme);
        WaitableHttpRequest request(connection.h, "GET", object, session.acceptTypes, flags);
        if (!request.handle()) {
            session.lastError = request.openError();
            return kDownloadRequestFailed;
        }
        LimitWaits(request.handle(), Remaining(start, timeLimitMs));
        if (session.extraHeaders) {
            net::HttpAddRequestHeadersA(request.handle(), session.extraHeaders, static_cast<DWORD>(-1),
                                        HTTP_ADDREQ_FLAG_ADD | HTTP_ADDREQ_FLAG_REPLACE);
        }
        if (const DWORD error = request.Send(Remaining(start, timeLimitMs), stop)) {
            session.lastError = error;
            return kDownloadRequestFailed;
        }

        DWORD status = 0;
        DWORD size = sizeof(status);
        if (!net::HttpQueryInfoA(request.handle(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                                 nullptr)) {
            session.lastError = GetLastError();
            HttpLogLine(session, address);
            HttpLogLine(session, "DownloadFile: Can not retrieve HTTP status code after the request");
            session.status = 0;
            return kDownloadRequestFailed;
        }
        session.status = static_cast<int32_t>(status);
        QueryText(request.handle(), HTTP_QUERY_STATUS_TEXT, session.statusText);
        if (status != 0) {
            QueryText(request.handle(), HTTP_QUERY_CONTENT_TYPE, session.contentType);
            SYSTEMTIME date{};
            size = sizeof(date);
            if (net::HttpQueryInfoA(request.handle(), HTTP_QUERY_DATE | HTTP_QUERY_FLAG_SYSTEMTIME, &date, &size,
                                    nullptr)) {
                session.date = date;
            }
        }
        // Out of hops or out of time, the redirect itself is the answer.
        if (IsRedirect(status) && hop < kDownloadMaxRedirects && Remaining(start, timeLimitMs) > 0 &&
            RedirectTarget(request.handle(), address)) {
            continue;
        }
        if (status != 200) return session.status;
        return StoreBody(session, request, file, start, timeLimitMs, stop, maxBytes);
    }
}
