// Clock and alarm arrays in global memory, as the settings readers fill them.
#pragma once

#include "common/records/clock_record.h"

// n zero-filled ClockRecords; null when n is not above 0 or memory is short.
ClockRecord* AllocClockArray(int n);

// Empties the news-channel consumer's list, frees every clock's alarm array and
// the clocks themselves, and sets both counts to 0.
void FreeClockArray(ClockRecord*& clocks, int& clockCount, int& enabledCount);
// The same over the program's clock table (clock_table.h), whose counts in
// g_settings go to 0 as well.
void FreeClockArray();

// Resizes an alarm array to n records, the added ones zero-filled; n = 0 frees
// it and answers null. When memory is short the answer is null and the array
// given stays as it was (the caller still owns it).
AlarmRecord* ResizeAlarmArray(AlarmRecord* array, int n);
