// Clocks whose zone the zone table lacks (a damaged timezones.txt) run on the
// computer's time: the user is told which, rather than left to wonder.
#pragma once

#include <string>

#include "common/records/clock_record.h"

// One line per clock whose zone the table lacks: its title and the zone key it
// was saved with. Empty when every zone was found.
std::wstring ClocksWithoutZone(const ClockRecord* clocks, int count);

// Shows the clocks of the clock table that lost their zone in a message box
// (no owner); nothing when there are none.
void ReportClocksWithoutZone();
