// What the taskbar clock of this copy of the hook's code holds, read on the
// taskbar's thread (the stand-in calls it from the clock window's procedure).
#include "tests/mainprog/trayclock_probe/trayclock_probe.h"

#include "common/records/protocol.h"
#include "common/zones/city_list.h"
#include "hook/tray_state.h"

extern "C" LRESULT WINAPI InspectTrayClock(WPARAM kind, LPARAM index) {
    if (kind == COPYDATA_SETTINGS) return g_tray.settingsReceived ? TraySettings().trayclocks : 0;
    if (kind == COPYDATA_CLOCKS) {
        if (index < 0) return TrayClockCount();
        const ClockRecord* c = TrayClock(static_cast<int>(index));
        return c ? c->number : -1;
    }
    if (kind == COPYDATA_CITIES) {
        if (index < 0) return g_cities.count;
        if (index >= g_cities.count || !g_cities.cities) return -1;
        const CityRecord& city = g_cities.cities[index];
        return city.zone ? -2 : city.zoneId;
    }
    if (kind >= COPYDATA_ALARMS_BASE && kind <= COPYDATA_ALARMS_LAST) {
        const ClockRecord* c = TrayClock(static_cast<int>(kind - COPYDATA_ALARMS_BASE));
        return c ? c->alarmCount : -1;
    }
    return -1;
}
