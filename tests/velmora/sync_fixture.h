// A private program folder, policy key and clock for the engine's tests: the
// engine writes its results into the folder's tempovia.ini and hands clock
// changes to a recorder.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/settings/named_mutex.h"
#include "common/platform/build_date.h"
#include "tests/support/lock_holder.h"
#include "tests/support/test_support.h"
#include "velmora/sntp_packet.h"
#include "velmora/sync_engine.h"
#include "velmora/sync_settings.h"
#include "velmora/system_clock.h"

namespace velmora_test {

// A time a server may give: days and years after the day this program was
// built, at 12:34:56.500 UTC (a fixed moment of the build, not of the run).
inline SYSTEMTIME ServerMoment(int days = 1, int years = 0) {
    SYSTEMTIME build{};
    GetBuildDate(build);
    build.wYear = static_cast<WORD>(build.wYear + years);
    if (build.wMonth == 2 && build.wDay == 29) build.wDay = 28;
    build.wHour = 12;
    build.wMinute = 34;
    build.wSecond = 56;
    build.wMilliseconds = 500;
    FILETIME f{};
    SystemTimeToFileTime(&build, &f);
    const uint64_t ticks = ((static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime) +
                           static_cast<uint64_t>(static_cast<int64_t>(days) * 864000000000LL);
    f.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    f.dwLowDateTime = static_cast<DWORD>(ticks);
    SYSTEMTIME out{};
    FileTimeToSystemTime(&f, &out);
    return out;
}

// "YYYY-MM-DD hh:mm:ss.mmm": a moment as the tests compare them.
inline std::string Stamp(const SYSTEMTIME& t) {
    char text[40];
    std::snprintf(text, sizeof(text), "%04u-%02u-%02u %02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute, t.wSecond, t.wMilliseconds);
    return text;
}

// The whole seconds of the moment since 1900, as an SNTP reply carries them.
inline uint32_t NtpSeconds(const SYSTEMTIME& t) {
    FILETIME f{};
    SystemTimeToFileTime(&t, &f);
    const uint64_t ticks = (static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
    return static_cast<uint32_t>(NtpTimestampOfFileTime(ticks) >> 32);
}

// "Date: Tue, 15 Nov 1994 08:12:31 GMT" CR LF for the moment.
inline std::string HttpDateHeader(const SYSTEMTIME& t) {
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char text[64];
    std::snprintf(text, sizeof(text), "Date: %s, %02u %s %04u %02u:%02u:%02u GMT\r\n", kDays[t.wDayOfWeek % 7], t.wDay,
                  kMonths[(t.wMonth + 11) % 12], t.wYear, t.wHour, t.wMinute, t.wSecond);
    return text;
}

inline constexpr wchar_t kPolicyKey[] = L"Software\\TempoviaTests\\velmora";

inline uint64_t FileTimeOf(const SYSTEMTIME& t) {
    FILETIME f{};
    SystemTimeToFileTime(&t, &f);
    return (static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
}

class RecordingClock : public SystemClock {
public:
    bool SetUtc(const SYSTEMTIME& utc) override {
        calls.push_back(utc);
        if (refuse) SetLastError(ERROR_PRIVILEGE_NOT_HELD);
        return !refuse;
    }
    // The machine's time: fixed when given, else the real one.
    uint64_t NowFileTime() override { return now ? now : SystemClock::NowFileTime(); }
    std::vector<SYSTEMTIME> calls;
    bool refuse = false;
    uint64_t now = 0;
};

using testing_support::LockHolder;

class SyncFixture : public ::testing::Test {
protected:
    void SetUp() override {
        SetSettingsFolder(dir.path());
        RegDeleteTreeW(HKEY_CURRENT_USER, kPolicyKey);
        SetSyncPolicyLocation(&policy);
        SetSystemClock(&clock);
        ASSERT_TRUE(InitSync());
    }
    void TearDown() override {
        CleanupSync();
        SetSntpPort(123);
        SetNameLookup(nullptr);
        SetSystemClock(nullptr);
        SetSyncPolicyLocation(nullptr);
        RegDeleteTreeW(HKEY_CURRENT_USER, kPolicyKey);
        SetSettingsFolder(L"");
    }

    void Common(const wchar_t* key, const std::wstring& value) {
        WriteIniString(UserIniPath().c_str(), L"common", key, value.c_str());
    }
    // Names the server as server0 and reads the settings again.
    bool UseServer(const std::wstring& server) {
        Common(L"server", L"0");
        Common(L"server0", server);
        return ReadSyncSettings();
    }
    int LastResult() { return ReadIniInt(UserIniPath().c_str(), L"common", L"synclastresult", -1); }
    std::wstring LastTime() { return ReadIniText(UserIniPath().c_str(), L"common", L"synclasttime"); }
    void DefaultsInForce(DWORD noPreferences) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kPolicyKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, L"no_preferences", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&noPreferences),
                       sizeof(noPreferences));
        RegCloseKey(key);
    }
    // True when the engine's event fired since the last call.
    bool EventFired() {
        HANDLE e = OpenEventW(SYNCHRONIZE, FALSE, L"Global\\Tempovia_Time_Event");
        if (!e) return false;
        const bool fired = WaitForSingleObject(e, 0) == WAIT_OBJECT_0;
        CloseHandle(e);
        return fired;
    }

    testing_support::TempDir dir;
    RecordingClock clock;
    PolicyLocation policy{HKEY_CURRENT_USER, kPolicyKey};
};

inline std::wstring LoopbackHttp(unsigned port, const char* path = "/") {
    return L"http://127.0.0.1:" + std::to_wstring(port) + std::wstring(path, path + strlen(path));
}

}  // namespace velmora_test
