// Runs cases of this test program in a child process with its own local
// time zone: under Wine a process takes its zone from TZ at start-up.
#pragma once

#include <windows.h>

#include <string>

#include "tests/support/test_support.h"

namespace child_process {

inline constexpr wchar_t kCaseVariable[] = L"TEMPOVIA_TEST_CHILD_CASE";

// The case this process was started for, or empty in the parent run.
inline std::wstring ChildCase() {
    wchar_t buf[64];
    DWORD n = GetEnvironmentVariableW(kCaseVariable, buf, 64);
    return n > 0 && n < 64 ? std::wstring(buf, n) : std::wstring();
}

// Under Wine a Windows child inherits its parent's zone whatever its
// environment block says, while a host program started from Wine gets that
// block as its environment: so the child copy is started through
// /usr/bin/env. Such a child has no process handle to wait on; it reports
// through its test report file instead.
inline constexpr wchar_t kHostEnv[] = L"Z:\\usr\\bin\\env";

// The host path of the Wine loader that runs this process, or empty.
inline std::wstring WineLoader() {
    wchar_t buf[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"WINELOADER", buf, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::wstring(buf, n) : std::wstring();
}

inline bool CanRunChild() {
    return !WineLoader().empty() && GetFileAttributesW(kHostEnv) != INVALID_FILE_ATTRIBUTES;
}

// Starts this program with TZ and the case name set, running the tests that
// match the filter. True when the child ran at least one test and all passed;
// the reason otherwise.
inline bool RunChild(const std::wstring& tz, const std::wstring& caseName, const std::wstring& filter,
                     std::string* why) {
    wchar_t exe[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return *why = "no module name", false;

    std::wstring env;
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* p = block; *p; p += wcslen(p) + 1) {
            std::wstring entry(p);
            if (_wcsnicmp(p, L"TZ=", 3) == 0 || entry.rfind(std::wstring(kCaseVariable) + L"=", 0) == 0) continue;
            env += entry;
            env += L'\0';
        }
        FreeEnvironmentStringsW(block);
    }
    env += L"TZ=" + tz;
    env += L'\0';
    env += std::wstring(kCaseVariable) + L"=" + caseName;
    env += L'\0';
    env += L'\0';

    testing_support::TempDir dir;
    std::wstring report = dir.file(L"child.xml");
    std::wstring cmd = L"env \"" + WineLoader() + L"\" \"" + std::wstring(exe) + L"\" --gtest_brief=1 --gtest_filter=" + filter +
                       L" \"--gtest_output=xml:" + report + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(kHostEnv, cmd.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, env.data(),
                        nullptr, &si, &pi))
        return *why = "cannot start the child", false;
    if (pi.hThread) CloseHandle(pi.hThread);
    if (pi.hProcess) CloseHandle(pi.hProcess);

    std::string xml;
    for (int waited = 0; waited < 60000; waited += 50) {
        xml = testing_support::ReadBytes(report);
        if (xml.find("</testsuites>") != std::string::npos) break;
        Sleep(50);
    }
    if (xml.find("</testsuites>") == std::string::npos) return *why = "no report from the child", false;
    if (xml.find("<testcase") == std::string::npos) return *why = "the child ran no test", false;
    if (xml.find("<failure") != std::string::npos || xml.find("<skipped") != std::string::npos)
        return *why = xml, false;
    return true;
}

}  // namespace child_process
