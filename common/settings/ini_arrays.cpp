#include "common/settings/ini_arrays.h"

#include <windows.h>

#include "common/settings/global_settings_io.h"
#include "common/records/clock_table.h"
#include "common/platform/global_array.h"

static_assert(sizeof(ClockRecord) == 5408);
static_assert(sizeof(AlarmRecord) == 840);

namespace {
// Far above any real count (30 clocks, 20 alarms); keeps the byte sizes sane.
constexpr int kMaxRecords = 1 << 16;
}  // namespace

ClockRecord* AllocClockArray(int n) {
    if (n <= 0 || n > kMaxRecords) return nullptr;
    return static_cast<ClockRecord*>(GlobalAlloc(GPTR, static_cast<SIZE_T>(n) * sizeof(ClockRecord)));
}

AlarmRecord* ResizeAlarmArray(AlarmRecord* array, int n) {
    if (n <= 0) {
        if (array) GlobalFree(array);
        return nullptr;
    }
    if (n > kMaxRecords) return nullptr;
    return ResizeGlobalArray(array, n);
}

void FreeClockArray(ClockRecord*& clocks, int& clockCount, int& enabledCount) {
    if (NewsChannelConsumer consumer = GetNewsChannelConsumer()) consumer(nullptr, 0, 0, 0, 0);
    if (clocks) {
        for (int i = 0; i < clockCount; ++i) {
            clocks[i].alarms = ResizeAlarmArray(clocks[i].alarms, 0);
            clocks[i].alarmCount = 0;
        }
        GlobalFree(clocks);
        clocks = nullptr;
    }
    clockCount = 0;
    enabledCount = 0;
}

void FreeClockArray() {
    FreeClockArray(g_clocks, g_clockCount, g_enabledClockCount);
    g_settings.clockCount = 0;
    g_settings.enabledClocks = 0;
}
