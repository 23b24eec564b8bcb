#include "velmora/system_clock.h"

#include <cstdint>

#include "common/platform/build_date.h"

namespace {

// Holds SE_SYSTEMTIME_NAME enabled for one scope and puts the previous state
// back; a process that cannot enable it still tries, and SetSystemTime then
// reports the refusal.
class SystemTimePrivilege {
public:
    SystemTimePrivilege() {
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token_)) {
            token_ = nullptr;
            return;
        }
        TOKEN_PRIVILEGES wanted{};
        wanted.PrivilegeCount = 1;
        wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (!LookupPrivilegeValueW(nullptr, SE_SYSTEMTIME_NAME, &wanted.Privileges[0].Luid)) return;
        DWORD size = sizeof(previous_);
        adjusted_ = AdjustTokenPrivileges(token_, FALSE, &wanted, sizeof(previous_), &previous_, &size) &&
                    GetLastError() == ERROR_SUCCESS;
    }
    ~SystemTimePrivilege() {
        if (adjusted_) AdjustTokenPrivileges(token_, FALSE, &previous_, 0, nullptr, nullptr);
        if (token_) CloseHandle(token_);
    }
    SystemTimePrivilege(const SystemTimePrivilege&) = delete;
    SystemTimePrivilege& operator=(const SystemTimePrivilege&) = delete;

private:
    HANDLE token_ = nullptr;
    TOKEN_PRIVILEGES previous_{};
    bool adjusted_ = false;
};

class RealClock : public SystemClock {
public:
    bool SetUtc(const SYSTEMTIME& utc) override {
        SystemTimePrivilege privilege;
        if (SetSystemTime(&utc)) return true;
        const DWORD error = GetLastError();
        SetLastError(error);
        return false;
    }
};

RealClock g_real;
SystemClock* g_replacement = nullptr;

}  // namespace

uint64_t SystemClock::NowFileTime() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

SystemClock& Clock() { return g_replacement ? *g_replacement : g_real; }

SystemClock* SetSystemClock(SystemClock* replacement) {
    SystemClock* previous = g_replacement;
    g_replacement = replacement;
    return previous;
}

bool IsValidSystemTime(const SYSTEMTIME& time) {
    FILETIME unused;
    return time.wYear != 0 && SystemTimeToFileTime(&time, &unused);
}

bool IsPlausibleServerTime(const SYSTEMTIME& utc) {
    FILETIME time{}, built{};
    SYSTEMTIME build{};
    GetBuildDate(build);
    if (utc.wYear == 0 || !SystemTimeToFileTime(&utc, &time) || !SystemTimeToFileTime(&build, &built)) return false;
    auto ticks = [](const FILETIME& f) { return (static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
    constexpr uint64_t kDay = 24ull * 3600 * 10000000;
    const uint64_t floor = ticks(built) - kDay;
    if (ticks(time) < floor) return false;
    const uint64_t now = Clock().NowFileTime();
    if (now < floor) return true;
    FILETIME nowTime{static_cast<DWORD>(now), static_cast<DWORD>(now >> 32)}, until{};
    SYSTEMTIME last{};
    if (!FileTimeToSystemTime(&nowTime, &last)) return true;
    last.wYear = static_cast<WORD>(last.wYear + kServerTimeYearsAhead);
    if (last.wMonth == 2 && last.wDay == 29) last.wDay = 28;
    return !SystemTimeToFileTime(&last, &until) || ticks(time) < ticks(until);
}
