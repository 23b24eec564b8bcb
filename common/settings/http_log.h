// The HTTP session that network workers own for one run, and its log of
// network faults, http_log.txt beside the program. WinINet is bound on the
// first session (common/platform/wininet_on_first_use.h).
#pragma once

#include <windows.h>
#include <wininet.h>

#include <cstddef>
#include <cstdint>
#include <string>

// Request flags after opening: reload, no cache write, ignore redirects to
// HTTP and HTTPS and certificate date and name faults, hyperlink, no UI,
// pragma no-cache.
inline constexpr DWORD kHttpSessionRequestFlags = 0x8400F700;
inline constexpr size_t kHttpHeaderTextBytes = 1024;

// The flags of one request to an address of the scheme: https is sent
// encrypted and with its certificate checked in full, whatever faults the
// flags let pass for http.
inline DWORD RequestFlagsForScheme(DWORD flags, INTERNET_SCHEME scheme) {
    if (scheme != INTERNET_SCHEME_HTTPS) return flags;
    return (flags | INTERNET_FLAG_SECURE) &
           ~static_cast<DWORD>(INTERNET_FLAG_IGNORE_CERT_DATE_INVALID | INTERNET_FLAG_IGNORE_CERT_CN_INVALID);
}

struct CHttpSession {
    HINTERNET internet;       // InternetOpenW; NULL when the open failed
    HANDLE logFile;           // NULL until the session logs its first line
    int32_t status;           // HTTP status of the last request, 0 when none
    DWORD lastError;          // GetLastError of the last failing WinINet step
    SYSTEMTIME date;          // Date header of the last reply, all zero when absent
    char statusText[kHttpHeaderTextBytes];
    char contentType[kHttpHeaderTextBytes];
    DWORD requestFlags;
    const char** acceptTypes;  // NULL-terminated list handed to every request
    const char* extraHeaders;  // added to every request, NULL for none
};

// The first three fields of the running program's file version.
struct ProgramVersion {
    WORD major;
    WORD minor;
    WORD build;
};
// From the VS_FIXEDFILEINFO of the module (nullptr: the program); all zero
// when the module carries no version resource.
ProgramVersion ModuleVersion(HMODULE module = nullptr);

// "Tempovia %d.%d.%d 64-bit" with the program's version.
std::wstring HttpUserAgent();

// Clears every field, sets the request flags and the accept list
// ("application/octet-stream") and opens the WinINet session with the open
// flags (INTERNET_FLAG_ASYNC for a caller that waits for its requests itself);
// the proxy detection follows [<user>:main] `inet_scripts`. True when the
// session opened.
bool OpenHttpSession(CHttpSession& session, DWORD openFlags = 0);
// Closes the internet handle and the log file; both become NULL.
void CloseHttpSession(CHttpSession& session);

// Appends "dd MMM yy HH:mm:ss <text>" CR LF (en-US) to the session's log; the
// session's first line creates the file anew. text may be NULL.
void HttpLogLine(CHttpSession& session, const char* text);

// The program module's path with its file name replaced by "http_log.txt".
// False for a NULL buffer or when the path cannot be had or does not fit.
bool GetHttpLogPath(wchar_t* buffer, size_t size);

// The stamp a log line starts with for the given local time.
std::string HttpLogStamp(const SYSTEMTIME& local);
