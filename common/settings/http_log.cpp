#include "common/settings/http_log.h"

#include <cstdio>
#include <cstring>
#include <cwchar>

#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/platform/wininet_on_first_use.h"

namespace {

const char* kDefaultAcceptTypes[] = {"application/octet-stream", nullptr};

constexpr LCID kEnglishUs = 1033;

// VS_VERSIONINFO holds its fixed part behind a signature; searching for it
// spares linking the version library.
bool FindFixedInfo(const BYTE* data, DWORD size, VS_FIXEDFILEINFO& info) {
    for (DWORD at = 0; at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
        DWORD signature;
        std::memcpy(&signature, data + at, sizeof(signature));
        if (signature == 0xFEEF04BD) {
            std::memcpy(&info, data + at, sizeof(info));
            return true;
        }
    }
    return false;
}

}  // namespace

ProgramVersion ModuleVersion(HMODULE module) {
    if (!module) module = GetModuleHandleW(nullptr);
    ProgramVersion version{};
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));  // RT_VERSION
    if (!resource) return version;
    HGLOBAL loaded = LoadResource(module, resource);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    VS_FIXEDFILEINFO info{};
    if (data && FindFixedInfo(static_cast<const BYTE*>(data), SizeofResource(module, resource), info)) {
        version.major = HIWORD(info.dwFileVersionMS);
        version.minor = LOWORD(info.dwFileVersionMS);
        version.build = HIWORD(info.dwFileVersionLS);
    }
    return version;
}

std::wstring HttpUserAgent() {
    const ProgramVersion v = ModuleVersion();
    wchar_t agent[64];
    swprintf(agent, 64, L"Tempovia %d.%d.%d 64-bit", v.major, v.minor, v.build);
    return agent;
}

bool OpenHttpSession(CHttpSession& session, DWORD openFlags) {
    std::memset(&session, 0, sizeof(session));
    session.requestFlags = kHttpSessionRequestFlags;
    session.acceptTypes = kDefaultAcceptTypes;
    const std::wstring mainSection = UserPrefix() + L":main";
    const bool scripts = ReadIniBool(UserIniPath().c_str(), mainSection.c_str(), L"inet_scripts", false);
    const DWORD access = scripts ? INTERNET_OPEN_TYPE_PRECONFIG : INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY;
    session.internet = net::InternetOpenW(HttpUserAgent().c_str(), access, nullptr, nullptr, openFlags);
    return session.internet != nullptr;
}

void CloseHttpSession(CHttpSession& session) {
    if (session.internet) net::InternetCloseHandle(session.internet);
    session.internet = nullptr;
    if (session.logFile) CloseHandle(session.logFile);
    session.logFile = nullptr;
}

bool GetHttpLogPath(wchar_t* buffer, size_t size) {
    if (!buffer || size == 0) return false;
    wchar_t module[260];
    DWORD length = GetModuleFileNameW(nullptr, module, 259);
    if (length == 0 || length >= 259) return false;
    module[length] = 0;
    wchar_t* slash = std::wcsrchr(module, L'\\');
    const size_t folderChars = slash ? static_cast<size_t>(slash - module) + 1 : 0;
    static constexpr wchar_t kName[] = L"http_log.txt";
    if (folderChars + std::wcslen(kName) + 1 > size) return false;
    std::wmemcpy(buffer, module, folderChars);
    std::wmemcpy(buffer + folderChars, kName, std::wcslen(kName) + 1);
    return true;
}

std::string HttpLogStamp(const SYSTEMTIME& local) {
    char date[100] = "";
    char time[100] = "";
    GetDateFormatA(kEnglishUs, LOCALE_USE_CP_ACP, &local, "dd MMM yy ", date, sizeof(date));
    GetTimeFormatA(kEnglishUs, LOCALE_USE_CP_ACP, &local, "HH:mm:ss ", time, sizeof(time));
    return std::string(date) + time;
}

void HttpLogLine(CHttpSession& session, const char* text) {
    if (!session.logFile) {
        wchar_t path[MAX_PATH];
        if (!GetHttpLogPath(path, MAX_PATH)) return;
        HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return;  // dropped; the next line tries again
        session.logFile = file;
    }
    SYSTEMTIME local;
    GetLocalTime(&local);
    std::string line = HttpLogStamp(local);
    if (text) line += text;
    line += "\r\n";
    DWORD written = 0;
    WriteFile(session.logFile, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}
