// The shutdown and hibernate actions of the alarms.
#pragma once

#include "common/alarms/alarm_actions.h"

// Actions 7 and 8: starts the countdown, or brings the running one forward.
AlarmActionResult StartShutdownCountdown(const AlarmRecord& alarm, bool modal);
