#include "velmora/system_clock.h"

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
