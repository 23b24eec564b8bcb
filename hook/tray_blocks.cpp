// The WM_COPYDATA blocks that the main program sends to the taskbar clock:
// each is checked for its sender and size, copied into this process's own
// memory, and cleared of the pointers that only mean something in the sender.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "common/records/alarm_record.h"
#include "common/settings/ini_arrays.h"
#include "common/settings/ini_paths.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/zones/city_list.h"
#include "common/records/clock_table.h"
#include "hook/hook_shared.h"
#include "hook/tray_clock.h"
#include "hook/tray_state.h"

static_assert(sizeof(GlobalSettings) == kGlobalSettingsBytes);
static_assert(sizeof(ClockRecord) == kClockRecordBytes);
static_assert(sizeof(CityRecord) == kCityRecordBytes);
static_assert(sizeof(AlarmRecord) == kAlarmRecordBytes);

namespace {

// Texts of a block from another process need not be terminated; the last
// slot of each is cleared so that no reader runs past the field.
template <std::size_t N>
void Terminate(wchar_t (&text)[N]) {
    text[N - 1] = L'\0';
}

void TerminateTexts(GlobalSettings& s) {
    Terminate(s.programFolder);
    Terminate(s.skin);
    Terminate(s.timeServer);
    Terminate(s.language);
}

void TerminateTexts(ClockRecord& c) {
    // The time and date formats share their room with the timer format; the
    // end of that room bounds all three (cutting the time format at its own
    // end would cut a timer format short).
    Terminate(c.timerformat);
    Terminate(c.label);
    Terminate(c.location);
    Terminate(c.skin);
    Terminate(c.prefix);
    Terminate(c.url);
}

void TerminateTexts(CityRecord& c) {
    Terminate(c.city);
    Terminate(c.region);
}

LRESULT ReceiveSettings(const void* data) {
    GlobalSettings& s = TraySettings();
    std::memcpy(&s, data, sizeof s);
    TerminateTexts(s);
    g_tray.settingsReceived = true;
    // The skins are found below the program folder of the shared section.
    SetSettingsFolder(g_hookShared.programFolder);
    if (s.language[0] && Language().languageCode() != s.language) Language().SetLanguage(s.language);
    return 1;
}

LRESULT ReceiveClocks(HWND window, const void* data, DWORD bytes) {
    const int n = static_cast<int>(bytes / kClockRecordBytes);
    GlobalSettings& s = TraySettings();
    if (s.clockCount > n) s.clockCount = n;
    if (s.enabledClocks > s.clockCount) s.enabledClocks = s.clockCount;
    FreeClockRecords(false);
    if (n > 0) {
        g_clocks = AllocClockArray(n);
        if (g_clocks) {
            std::memcpy(g_clocks, data, static_cast<std::size_t>(n) * kClockRecordBytes);
            g_clockCount = n;
        }
    }
    g_tray.taskbarClockCount = 0;
    for (int i = 0; i < g_clockCount; ++i) {
        ClockRecord& c = g_clocks[i];
        c.alarms = nullptr;
        c.alarmCount = 0;
        TerminateTexts(c);
        if (i < TrayClockCount() && c.enabled && !c.on_desktop) ++g_tray.taskbarClockCount;
    }
    SendMessageW(window, MSG_SETTINGS_CHANGED, 0, 0);
    return 1;
}

// The city block is answered with 0, kept or not: the main program does not
// look at the answer.
LRESULT ReceiveCities(const void* data, DWORD bytes) {
    FreeCityList();
    const std::size_t n = bytes / kCityRecordBytes;
    if (n == 0) return 0;
    auto* cities = static_cast<CityRecord*>(std::malloc(n * kCityRecordBytes));
    if (!cities) return 0;
    std::memcpy(cities, data, n * kCityRecordBytes);
    for (std::size_t i = 0; i < n; ++i) {
        cities[i].zone = nullptr;
        TerminateTexts(cities[i]);
    }
    g_cities.cities = cities;
    g_cities.count = static_cast<int>(n);
    g_cities.capacity = static_cast<int>(n);
    return 0;
}

LRESULT ReceiveAlarms(int clock, const void* data, DWORD bytes) {
    ClockRecord* c = TrayClock(clock);
    // Alarms of a clock that is not there (yet) are dropped.
    if (!c) return 1;
    c->alarms = ResizeAlarmArray(c->alarms, 0);
    c->alarmCount = 0;
    const int n = static_cast<int>(bytes / kAlarmRecordBytes);
    if (n > 0) {
        c->alarms = ResizeAlarmArray(nullptr, n);
        if (c->alarms) {
            std::memcpy(c->alarms, data, static_cast<std::size_t>(n) * kAlarmRecordBytes);
            c->alarmCount = n;
        }
    }
    return 1;
}

}  // namespace

void FreeClockRecords(bool resetCounts) {
    FreeClockArray(g_clocks, g_clockCount, g_enabledClockCount);
    g_tray.taskbarClockCount = 0;
    if (resetCounts) {
        TraySettings().clockCount = 0;
        TraySettings().enabledClocks = 0;
    }
}

LRESULT ReceiveTrayBlock(HWND window, WPARAM sender, const COPYDATASTRUCT* block) {
    if (!block || !g_hookShared.mainWindow || reinterpret_cast<HWND>(sender) != g_hookShared.mainWindow) return 0;
    g_tray.lastHoverPos = -1;
    const DWORD bytes = block->cbData;
    // A block that claims bytes must bring them.
    if (bytes > 0 && !block->lpData) return 0;
    const ULONG_PTR kind = block->dwData;
    if (kind == COPYDATA_SETTINGS) {
        return bytes == kGlobalSettingsBytes ? ReceiveSettings(block->lpData) : 0;
    }
    // No more records than the main program ever has: a larger block would
    // only cost Explorer memory.
    if (kind == COPYDATA_CLOCKS) {
        return bytes % kClockRecordBytes == 0 && bytes / kClockRecordBytes <= kMaxClocks
                   ? ReceiveClocks(window, block->lpData, bytes)
                   : 0;
    }
    if (kind == COPYDATA_CITIES) {
        return bytes % kCityRecordBytes == 0 && bytes / kCityRecordBytes <= kMaxCities
                   ? ReceiveCities(block->lpData, bytes)
                   : 0;
    }
    if (kind >= COPYDATA_ALARMS_BASE && kind <= COPYDATA_ALARMS_LAST) {
        if (bytes % kAlarmRecordBytes != 0 || bytes / kAlarmRecordBytes > kMaxAlarmsPerClock) return 0;
        return ReceiveAlarms(static_cast<int>(kind - COPYDATA_ALARMS_BASE), block->lpData, bytes);
    }
    return 0;
}
