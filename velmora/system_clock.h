// Setting the computer's clock: the one call of the service that reaches
// beyond it, replaceable so that tests record instead of setting.
#pragma once

#include <windows.h>

class SystemClock {
public:
    virtual ~SystemClock() = default;
    // Sets the clock to the UTC time (with the right to do so enabled for the
    // call); false with the last error set on failure.
    virtual bool SetUtc(const SYSTEMTIME& utc) = 0;
};

// The clock in force: the real one unless a test replaced it.
SystemClock& Clock();
// Puts a replacement in force (nullptr restores the real clock); returns the
// one replaced (nullptr when that was the real clock).
SystemClock* SetSystemClock(SystemClock* replacement);

// True when the fields form a real date and time (FILETIME conversion works).
bool IsValidSystemTime(const SYSTEMTIME& time);

// Years after the build date from which a server's time is taken for a fault.
inline constexpr int kServerTimeYearsAfterBuild = 5;

// True for a valid time that a server may give: not before the day this
// program was built (less a day, for the build machine's zone) and less than
// kServerTimeYearsAfterBuild years after it. A server that is years out is
// broken or forged; setting the clock from it would do more harm than its
// refusal.
bool IsPlausibleServerTime(const SYSTEMTIME& utc);
