// A test build of the taskbar clock: hook.dll's own code, with the same
// exports by ordinal, plus one named export that tells what the clock inside
// the stand-in taskbar holds. The shipped hook.dll has no such entry; the
// stand-in taskbar answers the registered message below through it while
// the clock is taken over.
#pragma once

#include <windows.h>

inline constexpr wchar_t kTrayClockProbeFile[] = L"trayclock_probe.dll";
inline constexpr char kInspectTrayClockExport[] = "InspectTrayClock";
inline constexpr wchar_t kTrayInspectMessage[] = L"Tempovia.TrayClock.Inspect";

// wParam a block kind (0, 1, 2, 100+i), lParam a record index or -1. Kind 0:
// the copy's `trayclocks` (0 before a settings block was accepted). Kind 1:
// the clock count, or record lParam's number. Kind 2: the city count, or city
// lParam's zone id (-2 when its zone pointer was not cleared). Kind 100+i:
// clock i's alarm count, -1 when there is no clock i. Anything else: -1.
using InspectTrayClockFn = LRESULT(WINAPI*)(WPARAM kind, LPARAM index);
