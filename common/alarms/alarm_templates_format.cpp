// The date and time tokens of alarm messages.
#include <string>

#include "common/settings/time_format.h"
#include "common/alarms/alarm_templates.h"

namespace {

enum class SuffixKind { kLocale, kClock, kGiven, kInvalid };

SuffixKind ReadSuffix(std::wstring_view suffix, std::wstring& given) {
    if (suffix.empty()) return SuffixKind::kLocale;
    if (suffix.size() < 2 || suffix.front() != L'(' || suffix.back() != L')') return SuffixKind::kInvalid;
    if (suffix.size() == 2) return SuffixKind::kClock;
    given.assign(suffix.substr(1, suffix.size() - 2));
    return SuffixKind::kGiven;
}

size_t Terminated(wchar_t* buffer, size_t size, int written) {
    if (written <= 0) {
        buffer[0] = L'\0';
        return 0;
    }
    buffer[size - 1] = L'\0';
    return wcsnlen(buffer, size);
}

}  // namespace

size_t FormatTokenDate(wchar_t* buffer, size_t size, const SYSTEMTIME& time, std::wstring_view suffix,
                       const ClockRecord* clock) {
    if (!buffer || size == 0) return 0;
    buffer[0] = L'\0';
    std::wstring picture;
    switch (ReadSuffix(suffix, picture)) {
        case SuffixKind::kLocale:
            return Terminated(buffer, size,
                              GetDateFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, buffer, static_cast<int>(size)));
        case SuffixKind::kClock:
            if (clock) picture.assign(clock->dateformat, wcsnlen(clock->dateformat, std::size(clock->dateformat)));
            return FormatDate(buffer, size, time, picture.c_str(), true);
        case SuffixKind::kGiven: return FormatDate(buffer, size, time, picture.c_str(), true);
        case SuffixKind::kInvalid: break;
    }
    return 0;
}

size_t FormatTokenTime(wchar_t* buffer, size_t size, const SYSTEMTIME& time, std::wstring_view suffix,
                       const ClockRecord* clock) {
    if (!buffer || size == 0) return 0;
    buffer[0] = L'\0';
    std::wstring name;
    switch (ReadSuffix(suffix, name)) {
        case SuffixKind::kLocale:
            return Terminated(buffer, size,
                              GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, buffer, static_cast<int>(size)));
        case SuffixKind::kClock:
            if (clock) name.assign(clock->timeformat, wcsnlen(clock->timeformat, std::size(clock->timeformat)));
            return FormatTimeByName(buffer, size, time, name.c_str());
        case SuffixKind::kGiven: return FormatTimeByName(buffer, size, time, name.c_str());
        case SuffixKind::kInvalid: break;
    }
    return 0;
}
