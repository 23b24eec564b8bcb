// The clocks and general options of the running program. One GUI thread owns
// them; LoadAllSettings fills them, the tick and the windows read them.
#pragma once

#include "common/records/clock_record.h"
#include "common/records/global_settings.h"

// Array of g_clockCount records (at most kMaxClocks) in global memory, or null.
extern ClockRecord* g_clocks;
extern int g_clockCount;
extern int g_enabledClockCount;

// Menu states that follow the clock count.
extern bool g_canAddClock;      // fewer than kMaxClocks clocks
extern bool g_multipleClocks;   // more than one clock

extern GlobalSettings g_settings;
