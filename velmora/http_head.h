// The HTTP HEAD request that asks a web server for its Date header.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "common/settings/http_log.h"

// Request flags of the HEAD request: no cache write, ignore redirects to HTTP
// and HTTPS and certificate date and name faults, no UI, pragma no-cache; and
// no automatic redirects: WinINet follows a redirect to the same URL for ever.
inline constexpr DWORD kHeadRequestFlags = 0x0400F300 | INTERNET_FLAG_NO_AUTO_REDIRECT;
// Redirects followed by hand; the reply after the last one is the result.
inline constexpr int kHeadMostRedirects = 5;
inline constexpr size_t kHeadUrlBytes = 1024;

// Fills a server text used as a URL template. Its fields take, in order,
// year, month, day (0), "%20", hour, minute, second (0) and the program's
// version (major, minor, build). Integer (d, i, u, x, X) and text (s) fields
// are filled, each with the next argument in its own form; any other percent
// sign, and fields beyond the arguments, stay as written, so that an escaped
// URL passes unchanged and no field reads past the arguments. At most 1023
// bytes.
std::string ExpandUrlTemplate(const char* urlTemplate, const ProgramVersion& version);

// One HEAD request of the expanded URL, following at most kHeadMostRedirects
// redirects, within the sync engine's HTTP deadline. Returns the HTTP status
// of the last reply, or -1 for a URL that cannot be split, -2 when no
// connection could be made, -3 when the request could not be opened or sent
// (or the deadline passed) or gave no status. Stores the status
// text, content type and Date header in the session; lastModified (may be
// NULL) receives the Last-Modified header of a 200 or 204 reply. With a list
// of header names (separated by line feeds) and a buffer, appends each name
// with its value and a line feed, within the capacity.
int GetLatest(CHttpSession& session, const char* urlTemplate, SYSTEMTIME* lastModified, const char* headerList,
              char* headerValues, size_t capacity);
