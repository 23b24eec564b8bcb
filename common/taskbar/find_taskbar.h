// Finding the taskbar whose clock the suite replaces: the main program watches
// for it and the hook installs itself in its thread.
#pragma once

#include <windows.h>

#include "common/records/protocol.h"

// The taskbar clock window below a Shell_TrayWnd (TrayNotifyWnd ->
// TrayClockWClass), or null.
inline HWND FindTaskbarClock(HWND taskbar) {
    if (!taskbar) return nullptr;
    HWND notify = FindWindowExW(taskbar, nullptr, kTrayNotifyClass, nullptr);
    return notify ? FindWindowExW(notify, nullptr, kTrayClockClass, nullptr) : nullptr;
}

// The Shell_TrayWnd that holds a clock, or null. A desktop may carry windows
// of that class without one (Wine's explorer keeps a hidden, empty one); a
// hook there would never see a clock, and the program would show its clocks
// nowhere, so only a taskbar with a clock counts.
inline HWND FindTaskbarWindow() {
    for (HWND w = FindWindowW(kTaskbarClass, nullptr); w; w = FindWindowExW(nullptr, w, kTaskbarClass, nullptr)) {
        if (FindTaskbarClock(w)) return w;
    }
    return nullptr;
}
