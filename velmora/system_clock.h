// The computer's clock: the one the service reads and sets, replaceable so
// that tests give a time of their own and record instead of setting.
#pragma once

#include <windows.h>

#include <cstdint>

class SystemClock {
public:
    virtual ~SystemClock() = default;
    // Sets the clock to the UTC time (with the right to do so enabled for the
    // call); false with the last error set on failure.
    virtual bool SetUtc(const SYSTEMTIME& utc) = 0;
    // The UTC time now, in 100-ns units since 1601 (GetSystemTimeAsFileTime).
    virtual uint64_t NowFileTime();
};

// The clock in force: the real one unless a test replaced it.
SystemClock& Clock();
// Puts a replacement in force (nullptr restores the real clock); returns the
// one replaced (nullptr when that was the real clock).
SystemClock* SetSystemClock(SystemClock* replacement);

// True when the fields form a real date and time (FILETIME conversion works).
bool IsValidSystemTime(const SYSTEMTIME& time);

// Years ahead of the computer's own clock from which a server's time is taken
// for a fault.
inline constexpr int kServerTimeYearsAhead = 5;

// True for a valid time that a server may give: not before the day this
// program was built (less a day, for the build machine's zone), and, while
// the computer's clock is itself on or after that day, less than
// kServerTimeYearsAhead years ahead of it. A server that is years out is
// broken or forged; setting the clock from it would do more harm than its
// refusal. The bound moves with the computer's clock, so the program keeps
// working for as long as it is installed, and a clock that was reset to the
// past is still set right.
bool IsPlausibleServerTime(const SYSTEMTIME& utc);
