// State of the taskbar clock inside Explorer (this process's copy of
// hook.dll, not shared). Only the taskbar's thread touches it.
//
// The received clock records live in the clock table of this copy
// (common/records/clock_table.h: g_clocks, with the allocated length in
// g_clockCount) so that the zone refresh and the faces find them where every
// program keeps its clocks; the general settings are g_hookProcess.settingsCopy;
// the received cities are g_cities (common/zones/city_list.h).
#pragma once

#include <windows.h>

#include "common/records/clock_record.h"
#include "common/records/global_settings.h"

// The desktop composition entries, bound by name (Windows 6 and later).
struct DwmEntries {
    HMODULE module = nullptr;
    HRESULT(WINAPI* IsCompositionEnabled)(BOOL*) = nullptr;
    HRESULT(WINAPI* EnableBlurBehindWindow)(HWND, const void*) = nullptr;
    HRESULT(WINAPI* ExtendFrameIntoClientArea)(HWND, const void*) = nullptr;
};

struct TrayClockState {
    bool visible = false;        // WS_VISIBLE of the clock window, then WM_SHOWWINDOW
    int hoveredClock = -1;       // record index of the hovered clock, -1 none
    int taskbarClockCount = 0;   // received clocks that are enabled and not on the desktop
    LPARAM lastHoverPos = -1;    // client point of the last hover message, -1 none
    int layoutDepth = 0;         // re-entrancy counter of the layout code
    LONG_PTR savedExStyle = 0;   // the clock window's extended style before we took it
    bool exStyleSaved = false;
    HWND tooltip = nullptr;
    WNDPROC tooltipProc = nullptr;  // the tooltip's own procedure
    HCURSOR arrowCursor = nullptr;
    HCURSOR handCursor = nullptr;
    DwmEntries dwm;
    bool settingsReceived = false;  // a settings block was accepted
    HWND owner = nullptr;           // the main window of the program that had the clock taken over
};

extern TrayClockState g_tray;

// The settings copy as the taskbar clock received it.
GlobalSettings& TraySettings();

// The number of received clock records that are in use: the settings copy's
// clock count, never more than the records actually held (a settings block
// that arrives after the clocks must not make the code index past them).
int TrayClockCount();

// Clock record i when 0 <= i < TrayClockCount(), else null.
ClockRecord* TrayClock(int i);
