#include "tempovia/timetools/time_table_rows.h"

#include <algorithm>
#include <cwchar>

#include "common/graphics/faces/clock_texts.h"
#include "common/settings/time_format.h"
#include "common/zones/date_math.h"
#include "common/zones/zone_time.h"
#include "tempovia/timetools/zone_moment.h"

namespace {

constexpr const wchar_t* kFormatNames[] = {L"Default", L"12 hours", L"24 hours", L"Clock"};

std::wstring DatePart(const SYSTEMTIME& t, const wchar_t* picture) {
    wchar_t buffer[kDateTextChars] = {};
    FormatDate(buffer, kDateTextChars, t, picture, true);
    return buffer;
}

std::wstring TimePart(const SYSTEMTIME& t, const wchar_t* name) {
    wchar_t buffer[kTimeTextChars] = {};
    FormatTimeByName(buffer, kTimeTextChars, t, name);
    return buffer;
}

std::wstring Joined(const std::wstring& date, const std::wstring& time) {
    return date.empty() ? time : date + L" " + time;
}

void FillWeekday(SYSTEMTIME& t) {
    const int64_t day = DaysSince1601(t);
    if (day > 0) t.wDayOfWeek = static_cast<WORD>(WeekdayOfDayNumber(day));
}

}  // namespace

const wchar_t* TableFormatName(int format) {
    return format >= 0 && format <= kTableFormatClock ? kFormatNames[format] : kFormatNames[0];
}

int TableFormatFromName(const wchar_t* name) {
    if (!name) return -1;
    for (int i = 0; i <= kTableFormatClock; ++i) {
        if (wcscmp(name, kFormatNames[i]) == 0) return i;
    }
    return -1;
}

void PrepareTableZone(const ClockRecord& clock, ZoneRecord& working, const SYSTEMTIME& utc) {
    ClockRecord probe = clock;
    ApplyZoneRulesForDate(probe, utc);
    working = probe.zone;
}

bool TableStartMoment(const SYSTEMTIME& day, const ZoneRecord& localZone, SYSTEMTIME* utc) {
    if (day.wYear < 1601 || day.wMonth < 1 || day.wMonth > 12 || day.wDay < 1 ||
        day.wDay > DaysInMonth(day.wMonth, day.wYear))
        return false;
    SYSTEMTIME midnight{};
    midnight.wYear = day.wYear;
    midnight.wMonth = day.wMonth;
    midnight.wDay = day.wDay;
    FillWeekday(midnight);
    return ZoneTimeToUtc(utc, localZone, midnight);
}

COLORREF BlendProfileColour(COLORREF colour, unsigned opacity, COLORREF background) {
    if (opacity > 255) opacity = 255;
    auto mix = [&](int shift) {
        const unsigned a = (colour >> shift) & 0xFF, b = (background >> shift) & 0xFF;
        return ((a * opacity + b * (255 - opacity) + 127) / 255) << shift;
    };
    return mix(0) | mix(8) | mix(16);
}

std::vector<TimeTableRow> BuildTimeTableRows(const SYSTEMTIME& day, int interval, int format,
                                             const ZoneRecord& localZone, ClockRecord* const* clocks, int count,
                                             COLORREF window) {
    std::vector<TimeTableRow> rows;
    if (interval <= 0) return rows;
    SYSTEMTIME moment{};
    if (!TableStartMoment(day, localZone, &moment)) return rows;
    if (!clocks) count = 0;
    count = std::clamp(count, 0, kMaxClocks);
    const wchar_t* formatName = format == kTableFormatClock ? L"Default" : TableFormatName(format);

    // One working record per clock for the profile lookups, which read the
    // time the clock shows.
    std::vector<ClockRecord> probes;
    probes.reserve(static_cast<size_t>(count));
    for (int c = 0; c < count; ++c) probes.push_back(*clocks[c]);

    const int rowCount = 1440 / interval;
    rows.reserve(static_cast<size_t>(rowCount));
    for (int r = 0; r < rowCount; ++r) {
        TimeTableRow row;
        row.moment = moment;
        SYSTEMTIME local{};
        if (!UtcToZoneTime(moment, &local, localZone)) local = moment;
        FillWeekday(local);
        row.cells.push_back(Joined(DatePart(local, L"ddd"), TimePart(local, formatName)));
        for (int c = 0; c < count; ++c) {
            ClockRecord& probe = probes[c];
            ZoneRecord zone{};
            PrepareTableZone(*clocks[c], zone, moment);
            SYSTEMTIME shown{};
            if (!UtcToZoneTime(moment, &shown, zone)) shown = moment;
            FillWeekday(shown);
            std::wstring date, time;
            if (format == kTableFormatClock) {
                wchar_t picture[33] = {};
                CopyRecordText(picture, 33, probe.dateformat);
                date = wcscmp(picture, L"None") == 0 ? std::wstring() : DatePart(shown, picture);
                wchar_t timeName[33] = {};
                CopyRecordText(timeName, 33, probe.timeformat);
                time = TimePart(shown, IsTimerClock(probe) ? L"Default" : timeName);
            } else {
                date = DatePart(shown, L"ddd");
                time = TimePart(shown, formatName);
            }
            row.cells.push_back(Joined(date, time));
            probe.currentTime = shown;
            const int active = FindActiveBackground(probe, kNoBackground, nullptr, false);
            COLORREF colour = window;
            if (active >= 0 && active < kMaxBackgroundProfiles)
                colour = BlendProfileColour(probe.profiles[active].colour, probe.profiles[active].opacity, window);
            row.colours.push_back(colour);
        }
        rows.push_back(std::move(row));
        AddMinutes(moment, interval);
    }
    return rows;
}
