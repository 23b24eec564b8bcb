// The moment the program was built: shown in the about box, written as the
// build stamp, and the earliest time the time service believes a server.
#pragma once

#include <windows.h>

// Fills the time from texts in the compiler's __DATE__ ("Mmm dd yyyy") and
// __TIME__ ("hh:mm:ss") forms; day of the week and milliseconds are 0. An
// unknown month gives month 0. False (time zeroed) for texts of another form.
bool ParseBuildDate(const char* date, const char* time, SYSTEMTIME& out);

// The build date of this program.
void GetBuildDate(SYSTEMTIME& out);
