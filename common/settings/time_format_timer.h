// Timer texts: a format with "%" tokens over the totals of seconds, minutes,
// hours, days and weeks of a duration, as "%H:%02m:%02s" or "%D %Dn %h:%02m".
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr wchar_t kDefaultTimerFormat[] = L"%H:%02m:%02s";

// Expands format into buffer (never more than size - 1 characters) with the
// totals S, M, H, D and W. Returns the length written.
size_t ExpandTimerFormat(wchar_t* buffer, size_t size, const wchar_t* format, long long S, long long M,
                         long long H, long long D, long long W);
// ExpandTimerFormat for a duration in 100-ns units.
size_t FormatDuration(wchar_t* buffer, size_t size, const wchar_t* format, uint64_t duration);
// True when a token of the format shows seconds ("%s", "%02S", ...).
bool TimerFormatShowsSeconds(const wchar_t* format);
