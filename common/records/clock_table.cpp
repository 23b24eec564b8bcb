#include "common/records/clock_table.h"

ClockRecord* g_clocks = nullptr;
int g_clockCount = 0;
int g_enabledClockCount = 0;
bool g_canAddClock = true;
bool g_multipleClocks = false;

GlobalSettings g_settings = {};
