// Combo boxes that offer the times of day at a fixed step.
#pragma once

#include <windows.h>

// Empties the combo box and adds 00:00, step, 2 x step, ... below 24 hours,
// each written in the user's time format, with its minute of the day as the
// item data. A step below 1 minute adds nothing. With limitHeight the list
// drops down 12 items. Returns the number of items added.
int FillTimeCombo(HWND combo, int stepMinutes, bool limitHeight);
