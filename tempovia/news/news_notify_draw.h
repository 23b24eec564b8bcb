// The notifier's entries: owner-drawn balloons holding channel and item title.
#pragma once

#include <windows.h>

// Height and width of the entry for list `list` (text wrapped in the list's
// client width less 10, plus a 10-pixel margin; at most 255 high).
void MeasureNotifyEntry(HWND list, MEASUREITEMSTRUCT* measure);
// A shadow and a rounded balloon with the wrapped text.
void DrawNotifyEntry(const DRAWITEMSTRUCT* draw);
