// The date forms of HTTP headers (RFC 1123, RFC 850 and asctime), read
// strictly: a header that is not a real date gives no time at all.
#pragma once

#include <windows.h>

// Fills utc (day of the week computed) and returns true for a well-formed
// date; false, with utc zeroed, otherwise.
bool ParseHttpDate(const char* text, SYSTEMTIME& utc);
