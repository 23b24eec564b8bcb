#include "hook/tray_state.h"

#include "common/records/clock_table.h"
#include "hook/hook_process.h"

TrayClockState g_tray;

GlobalSettings& TraySettings() { return g_hookProcess.settingsCopy; }

int TrayClockCount() {
    if (!g_clocks) return 0;
    int n = TraySettings().clockCount;
    if (n > g_clockCount) n = g_clockCount;
    return n > 0 ? n : 0;
}

ClockRecord* TrayClock(int i) { return i >= 0 && i < TrayClockCount() ? &g_clocks[i] : nullptr; }
