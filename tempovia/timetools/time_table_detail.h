// Between the time table's module state and its window.
#pragma once

#include <windows.h>

class CTimeWindow;

namespace timetable_detail {

void ReadTableSettings();
void WriteTableSettings();
void SetTableFormat(int format);
void SetTableInterval(int interval);
// Today's local date at 00:00:00.000.
void Today(SYSTEMTIME* local);
// The window is gone: forget it, and remember where it was.
void Forget(CTimeWindow* window, const RECT* rect);

}  // namespace timetable_detail
