#include "common/platform/windows_version.h"

bool IsWindowsVersionAtLeast(DWORD major, DWORD minor) {
    OSVERSIONINFOW vi = {};
    vi.dwOSVersionInfoSize = sizeof vi;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&vi)) return false;
#pragma GCC diagnostic pop
    return vi.dwMajorVersion > major || (vi.dwMajorVersion == major && vi.dwMinorVersion >= minor);
}
