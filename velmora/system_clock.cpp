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
    FILETIME time{}, built{}, until{};
    SYSTEMTIME build{};
    GetBuildDate(build);
    if (utc.wYear == 0 || !SystemTimeToFileTime(&utc, &time) || !SystemTimeToFileTime(&build, &built)) return false;
    SYSTEMTIME last = build;
    last.wYear = static_cast<WORD>(last.wYear + kServerTimeYearsAfterBuild);
    if (last.wMonth == 2 && last.wDay == 29) last.wDay = 28;
    if (!SystemTimeToFileTime(&last, &until)) return false;
    auto ticks = [](const FILETIME& f) { return (static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
    constexpr uint64_t kDay = 24ull * 3600 * 10000000;
    return ticks(time) + kDay >= ticks(built) && ticks(time) < ticks(until);
}
