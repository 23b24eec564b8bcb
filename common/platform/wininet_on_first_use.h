// WinINet bound when the first download starts, not when a program starts:
// loading it and the network libraries it pulls in cost the main program's
// start-up several milliseconds for a library that only the news, the photos
// and the time checks use. The entries keep WinINet's own signatures and
// failure values; when the library cannot be loaded they fail with
// ERROR_MOD_NOT_FOUND.
#pragma once

#include <windows.h>
#include <wininet.h>

namespace net {

HINTERNET InternetOpenW(LPCWSTR agent, DWORD access, LPCWSTR proxy, LPCWSTR bypass, DWORD flags);
HINTERNET InternetConnectA(HINTERNET internet, LPCSTR server, INTERNET_PORT port, LPCSTR user, LPCSTR password,
                           DWORD service, DWORD flags, DWORD_PTR context);
HINTERNET HttpOpenRequestA(HINTERNET connection, LPCSTR verb, LPCSTR object, LPCSTR version, LPCSTR referrer,
                           LPCSTR* acceptTypes, DWORD flags, DWORD_PTR context);
BOOL HttpAddRequestHeadersA(HINTERNET request, LPCSTR headers, DWORD length, DWORD modifiers);
BOOL HttpSendRequestA(HINTERNET request, LPCSTR headers, DWORD headersLength, LPVOID optional, DWORD optionalLength);
BOOL HttpQueryInfoA(HINTERNET request, DWORD level, LPVOID buffer, LPDWORD length, LPDWORD index);
BOOL InternetQueryDataAvailable(HINTERNET file, LPDWORD available, DWORD flags, DWORD_PTR context);
BOOL InternetReadFile(HINTERNET file, LPVOID buffer, DWORD toRead, LPDWORD read);
BOOL InternetSetOptionA(HINTERNET internet, DWORD option, LPVOID buffer, DWORD length);
INTERNET_STATUS_CALLBACK InternetSetStatusCallbackA(HINTERNET internet, INTERNET_STATUS_CALLBACK callback);
BOOL InternetCrackUrlA(LPCSTR url, DWORD length, DWORD flags, LPURL_COMPONENTSA parts);
BOOL InternetCombineUrlA(LPCSTR base, LPCSTR relative, LPSTR buffer, LPDWORD length, DWORD flags);
BOOL InternetCloseHandle(HINTERNET handle);
BOOL DeleteUrlCacheEntryW(LPCWSTR url);

}  // namespace net
