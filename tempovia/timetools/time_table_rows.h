// The rows of the time table: one every N minutes from local midnight of a
// day, the time of every clock in its column, each cell tinted by the
// clock's background profile in force then.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/records/clock_record.h"

// The table's time formats.
inline constexpr int kTableFormatDefault = 0;
inline constexpr int kTableFormat12 = 1;
inline constexpr int kTableFormat24 = 2;
inline constexpr int kTableFormatClock = 3;  // the clocks' own formats

// The INI name of a format ("Default", "12 hours", "24 hours", "Clock"), and
// back (-1 for another text).
const wchar_t* TableFormatName(int format);
int TableFormatFromName(const wchar_t* name);

inline constexpr int kTableIntervalDefault = 60;
inline constexpr int kTableIntervalMin = 5;
inline constexpr int kTableIntervalMax = 60;

struct TimeTableRow {
    SYSTEMTIME moment{};            // UTC
    std::vector<std::wstring> cells;  // the label, then one per clock
    std::vector<COLORREF> colours;    // one per clock
};

// The zone a clock column converts with at a moment: the clock's zone
// rebuilt with the rules valid then, as the clock shows it.
void PrepareTableZone(const ClockRecord& clock, ZoneRecord& working, const SYSTEMTIME& utc);

// Local midnight of `day` (local date) over the computer's zone as UTC.
bool TableStartMoment(const SYSTEMTIME& day, const ZoneRecord& localZone, SYSTEMTIME* utc);

// The rows of one day: 1440 div interval of them; none for an interval of 0
// or less or a date that does not convert. `window` is the background the
// profiles are blended over.
std::vector<TimeTableRow> BuildTimeTableRows(const SYSTEMTIME& day, int interval, int format,
                                             const ZoneRecord& localZone, ClockRecord* const* clocks, int count,
                                             COLORREF window);

// The profile colour blended over the background by its opacity.
COLORREF BlendProfileColour(COLORREF colour, unsigned opacity, COLORREF background);
