#include "common/platform/wininet_on_first_use.h"

#include "common/platform/library_on_first_use.h"

namespace {

const LibraryOnFirstUse& WinInet() {
    static const LibraryOnFirstUse library(L"wininet.dll");
    // Pinned for the rest of the run: a request given up may still finish
    // inside WinINet, on WinINet's own thread, while the program ends.
    static const bool pinned = [] {
        HMODULE module = nullptr;
        return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN, L"wininet.dll", &module) != FALSE;
    }();
    static_cast<void>(pinned);
    return library;
}

// The entry, or null with ERROR_MOD_NOT_FOUND as the caller's last error.
template <typename Fn>
Fn Bound(Fn entry) {
    if (!entry) SetLastError(ERROR_MOD_NOT_FOUND);
    return entry;
}

}  // namespace

namespace net {

HINTERNET InternetOpenW(LPCWSTR agent, DWORD access, LPCWSTR proxy, LPCWSTR bypass, DWORD flags) {
    static const auto entry = WinInet().Entry<decltype(&::InternetOpenW)>("InternetOpenW");
    return Bound(entry) ? entry(agent, access, proxy, bypass, flags) : nullptr;
}

HINTERNET InternetConnectA(HINTERNET internet, LPCSTR server, INTERNET_PORT port, LPCSTR user, LPCSTR password,
                           DWORD service, DWORD flags, DWORD_PTR context) {
    static const auto entry = WinInet().Entry<decltype(&::InternetConnectA)>("InternetConnectA");
    return Bound(entry) ? entry(internet, server, port, user, password, service, flags, context) : nullptr;
}

HINTERNET HttpOpenRequestA(HINTERNET connection, LPCSTR verb, LPCSTR object, LPCSTR version, LPCSTR referrer,
                           LPCSTR* acceptTypes, DWORD flags, DWORD_PTR context) {
    static const auto entry = WinInet().Entry<decltype(&::HttpOpenRequestA)>("HttpOpenRequestA");
    return Bound(entry) ? entry(connection, verb, object, version, referrer, acceptTypes, flags, context) : nullptr;
}

BOOL HttpAddRequestHeadersA(HINTERNET request, LPCSTR headers, DWORD length, DWORD modifiers) {
    static const auto entry = WinInet().Entry<decltype(&::HttpAddRequestHeadersA)>("HttpAddRequestHeadersA");
    return Bound(entry) ? entry(request, headers, length, modifiers) : FALSE;
}

BOOL HttpSendRequestA(HINTERNET request, LPCSTR headers, DWORD headersLength, LPVOID optional, DWORD optionalLength) {
    static const auto entry = WinInet().Entry<decltype(&::HttpSendRequestA)>("HttpSendRequestA");
    return Bound(entry) ? entry(request, headers, headersLength, optional, optionalLength) : FALSE;
}

BOOL HttpQueryInfoA(HINTERNET request, DWORD level, LPVOID buffer, LPDWORD length, LPDWORD index) {
    static const auto entry = WinInet().Entry<decltype(&::HttpQueryInfoA)>("HttpQueryInfoA");
    return Bound(entry) ? entry(request, level, buffer, length, index) : FALSE;
}

BOOL InternetQueryDataAvailable(HINTERNET file, LPDWORD available, DWORD flags, DWORD_PTR context) {
    static const auto entry =
        WinInet().Entry<decltype(&::InternetQueryDataAvailable)>("InternetQueryDataAvailable");
    return Bound(entry) ? entry(file, available, flags, context) : FALSE;
}

BOOL InternetReadFile(HINTERNET file, LPVOID buffer, DWORD toRead, LPDWORD read) {
    static const auto entry = WinInet().Entry<decltype(&::InternetReadFile)>("InternetReadFile");
    return Bound(entry) ? entry(file, buffer, toRead, read) : FALSE;
}

BOOL InternetSetOptionA(HINTERNET internet, DWORD option, LPVOID buffer, DWORD length) {
    static const auto entry = WinInet().Entry<decltype(&::InternetSetOptionA)>("InternetSetOptionA");
    return Bound(entry) ? entry(internet, option, buffer, length) : FALSE;
}

INTERNET_STATUS_CALLBACK InternetSetStatusCallbackA(HINTERNET internet, INTERNET_STATUS_CALLBACK callback) {
    static const auto entry =
        WinInet().Entry<decltype(&::InternetSetStatusCallbackA)>("InternetSetStatusCallbackA");
    return Bound(entry) ? entry(internet, callback) : INTERNET_INVALID_STATUS_CALLBACK;
}

BOOL InternetCrackUrlA(LPCSTR url, DWORD length, DWORD flags, LPURL_COMPONENTSA parts) {
    static const auto entry = WinInet().Entry<decltype(&::InternetCrackUrlA)>("InternetCrackUrlA");
    return Bound(entry) ? entry(url, length, flags, parts) : FALSE;
}

BOOL InternetCombineUrlA(LPCSTR base, LPCSTR relative, LPSTR buffer, LPDWORD length, DWORD flags) {
    static const auto entry = WinInet().Entry<decltype(&::InternetCombineUrlA)>("InternetCombineUrlA");
    return Bound(entry) ? entry(base, relative, buffer, length, flags) : FALSE;
}

BOOL InternetCloseHandle(HINTERNET handle) {
    static const auto entry = WinInet().Entry<decltype(&::InternetCloseHandle)>("InternetCloseHandle");
    return Bound(entry) ? entry(handle) : FALSE;
}

BOOL DeleteUrlCacheEntryW(LPCWSTR url) {
    static const auto entry = WinInet().Entry<decltype(&::DeleteUrlCacheEntryW)>("DeleteUrlCacheEntryW");
    return Bound(entry) ? entry(url) : FALSE;
}

}  // namespace net
