// Which Windows release the program runs on, for the features that only
// later releases have (visual styles from 5.1, desktop composition from 6).
#pragma once

#include <windows.h>

// True when the system reports version major.minor or later; false when it
// does not say.
bool IsWindowsVersionAtLeast(DWORD major, DWORD minor);
