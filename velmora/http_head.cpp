#include "velmora/http_head.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "velmora/http_date.h"
#include "velmora/http_deadline.h"

namespace {

void LogLine(CHttpSession& session, const char* format, ...) __attribute__((format(printf, 2, 3)));
void LogLine(CHttpSession& session, const char* format, ...) {
    char line[kHeadUrlBytes + 128];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof(line), format, args);
    va_end(args);
    HttpLogLine(session, line);
}

// A text header into a fixed buffer; empty when missing or too long.
void QueryText(HINTERNET request, DWORD info, char* buffer, DWORD size) {
    DWORD length = size - 1;
    if (HttpQueryInfoA(request, info, buffer, &length, nullptr) && length < size) {
        buffer[length] = 0;
    } else {
        buffer[0] = 0;
    }
}

// The header as text, read by our own strict parser: WinINet's conversion of
// a malformed date is not to be trusted (one implementation faults on it).
void QueryTime(HINTERNET request, DWORD info, SYSTEMTIME& time) {
    char text[kHttpHeaderTextBytes];
    QueryText(request, info, text, sizeof(text));
    ParseHttpDate(text, time);
}

void QueryResponseHeaders(HINTERNET request, const char* list, char* out, size_t capacity) {
    size_t used = std::strlen(out);
    for (const char* line = list; *line;) {
        const char* end = std::strchr(line, '\n');
        const size_t lineLength = end ? size_t(end - line) : std::strlen(line);
        char value[kHttpHeaderTextBytes];
        size_t nameLength = lineLength;
        while (nameLength && (line[nameLength - 1] == ':' || line[nameLength - 1] == ' ')) --nameLength;
        value[0] = 0;
        if (nameLength && nameLength < sizeof(value)) {
            std::memcpy(value, line, nameLength);
            value[nameLength] = 0;
            DWORD length = sizeof(value) - 1;
            if (HttpQueryInfoA(request, HTTP_QUERY_CUSTOM, value, &length, nullptr) && length < sizeof(value)) {
                value[length] = 0;
            } else {
                value[0] = 0;
            }
        }
        const size_t valueLength = std::strlen(value);
        const size_t needed = lineLength + valueLength + (end ? 1 : 0);
        if (used + needed + 1 > capacity) break;
        std::memcpy(out + used, line, lineLength);
        std::memcpy(out + used + lineLength, value, valueLength);
        used += lineLength + valueLength;
        if (end) out[used++] = '\n';
        out[used] = 0;
        line = end ? end + 1 : line + lineLength;
    }
}

}  // namespace

namespace {

struct ConnectionCloser {
    HINTERNET handle;
    ~ConnectionCloser() { InternetCloseHandle(handle); }
};

bool IsRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// A Location header, relative or absolute, against the URL that gave it.
std::string ResolveLocation(const std::string& base, const char* location) {
    char combined[kHeadUrlBytes];
    DWORD length = sizeof(combined);
    if (!InternetCombineUrlA(base.c_str(), location, combined, &length, ICU_NO_ENCODE)) return std::string();
    return std::string(combined, length);
}

// One HEAD request of the URL; on a redirect, `location` receives the URL
// it names (empty when none).
int HeadOnce(CHttpSession& session, const std::string& url, SYSTEMTIME* lastModified, const char* headerList,
             char* headerValues, size_t capacity, std::string& location) {
    session.status = 0;
    session.lastError = 0;
    session.date = SYSTEMTIME{};
    session.statusText[0] = 0;
    if (lastModified) *lastModified = SYSTEMTIME{};
    location.clear();

    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof(parts);
    parts.dwHostNameLength = 1;  // ask for pointers into the URL
    parts.dwUrlPathLength = 1;
    if (url.empty() || !InternetCrackUrlA(url.c_str(), 0, 0, &parts) || !parts.lpszHostName ||
        parts.dwHostNameLength == 0 || parts.dwHostNameLength >= INTERNET_MAX_HOST_NAME_LENGTH ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)) {
        HttpLogLine(session, "Malformed url:");
        HttpLogLine(session, url.c_str());
        return -1;
    }
    const std::string host(parts.lpszHostName, parts.dwHostNameLength);
    const char* object = parts.lpszUrlPath && *parts.lpszUrlPath ? parts.lpszUrlPath : "/";
    // A redirect may lead to https; the server text itself is always http.
    // The clock is set from the reply: an https server must prove itself.
    const DWORD flags = RequestFlagsForScheme(kHeadRequestFlags, parts.nScheme);

    HINTERNET connection =
        session.internet ? InternetConnectA(session.internet, host.c_str(), parts.nPort, nullptr, nullptr,
                                            INTERNET_SERVICE_HTTP, 0, reinterpret_cast<DWORD_PTR>(&session))
                         : nullptr;
    if (!connection) {
        session.lastError = session.internet ? GetLastError() : ERROR_INVALID_HANDLE;
        LogLine(session, "GetLatest: InternetConnect(%llx, %s:%d) returned %d",
                static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(session.internet)), host.c_str(),
                parts.nPort, static_cast<int>(session.lastError));
        return -2;
    }
    // Closed after the request, declared below it.
    const ConnectionCloser closer{connection};
    WaitableHttpRequest waitable(connection, "HEAD", object, session.acceptTypes, flags);
    HINTERNET request = waitable.handle();
    if (!request) {
        session.lastError = waitable.openError();
        LogLine(session, "GetLatest: HttpOpenRequest() returned %d, URL:", static_cast<int>(session.lastError));
        HttpLogLine(session, object);
        return -3;
    }

    int result = -3;
    if (session.extraHeaders) {
        HttpAddRequestHeadersA(request, session.extraHeaders, static_cast<DWORD>(-1), 0xA0000000);
    }
    DWORD status = 0;
    DWORD length = sizeof(status);
    if (!SendRequestWithinDeadline(waitable)) {
        session.lastError = GetLastError();
        HttpLogLine(session, url.c_str());
        LogLine(session, "GetLatest: HttpSendRequest() returned %d", static_cast<int>(session.lastError));
    } else if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &length,
                               nullptr)) {
        session.lastError = GetLastError();
        HttpLogLine(session, url.c_str());
        HttpLogLine(session, "GetLatest: Can not retrieve HTTP status code after the request");
        session.status = 0;
    } else {
        session.status = static_cast<int32_t>(status);
        result = session.status;
        QueryText(request, HTTP_QUERY_STATUS_TEXT, session.statusText, sizeof(session.statusText));
        QueryText(request, HTTP_QUERY_CONTENT_TYPE, session.contentType, sizeof(session.contentType));
        QueryTime(request, HTTP_QUERY_DATE, session.date);
        if (lastModified && (status == 200 || status == 204)) QueryTime(request, HTTP_QUERY_LAST_MODIFIED, *lastModified);
        if (headerList && headerValues && capacity) {
            headerValues[0] = 0;
            QueryResponseHeaders(request, headerList, headerValues, capacity);
        }
        if (IsRedirect(result)) {
            char target[kHeadUrlBytes];
            QueryText(request, HTTP_QUERY_LOCATION, target, sizeof(target));
            if (target[0]) location = ResolveLocation(url, target);
        }
    }
    return result;
}

}  // namespace

int GetLatest(CHttpSession& session, const char* urlTemplate, SYSTEMTIME* lastModified, const char* headerList,
              char* headerValues, size_t capacity) {
    std::string url = ExpandUrlTemplate(urlTemplate, ModuleVersion());
    std::string location;
    for (int hop = 0;; ++hop) {
        const int result = HeadOnce(session, url, lastModified, headerList, headerValues, capacity, location);
        // A server that sends us round in circles ends with its redirect.
        if (location.empty() || hop == kHeadMostRedirects || HttpDeadlineExpired()) return result;
        url = location;
    }
}
