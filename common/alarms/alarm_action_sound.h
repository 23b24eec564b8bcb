// The sound actions of the alarms (beep, sound file once or looping).
#pragma once

#include "common/alarms/alarm_actions.h"

// Plays the file asynchronously, looping when asked; an empty file stops
// whatever plays instead (false then).
bool PlayAlarmSound(const wchar_t* file, bool loop);

// Action 1 (loop false) or 2 (loop true) of the alarm.
AlarmActionResult PerformSoundAction(const AlarmRecord& alarm, bool loop, bool modal);
