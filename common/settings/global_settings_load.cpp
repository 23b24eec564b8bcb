#include <windows.h>

#include "common/settings/clock_sections.h"
#include "common/settings/global_settings_io.h"
#include "common/settings/ini_defaults.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_read_scope.h"
#include "common/settings/ini_arrays.h"
#include "common/settings/named_mutex.h"
#include "common/records/clock_table.h"

namespace {

constexpr COLORREF kSecondColourDefault = 0x80000012;  // system colour index 18, COLOR_BTNTEXT

}  // namespace

bool LoadAllSettings() {
    // Seeding and reading see the file whole: the other program may be
    // seeding or saving it at this moment.
    IniFileLock lock;
    FreeClockArray();
    // Each section of tempovia.ini and default.ini is read once for the load.
    IniReadScope oneReadEach;

    const std::wstring& prefix = UserPrefix();
    int count = 0;
    InitUserSettings(prefix, count);
    ReadMainOptions(prefix.c_str(), g_settings);

    if (count > kMaxClocks) count = kMaxClocks;
    if (count < 0) count = 0;

    if (count > 0) {
        g_clocks = AllocClockArray(count);
        if (!g_clocks) count = 0;
    }
    // The records decide what is enabled; the seeding's own count may predate
    // a section that no longer reads as enabled.
    int enabled = 0;
    for (int k = 1; k <= count; ++k) {
        ClockRecord& clock = g_clocks[k - 1];
        clock.number = k;
        clock.firstColour = 0;
        clock.secondColour = kSecondColourDefault;
        ReadClockByIndex(prefix.c_str(), UserIniPath().c_str(), k, clock);
        if (clock.enabled == 1) ++enabled;
    }
    // Something must show: with every clock off, the last one comes back on.
    if (count > 0 && enabled == 0) {
        g_clocks[count - 1].enabled = 1;
        enabled = 1;
    }

    g_clockCount = count;
    g_enabledClockCount = enabled;
    g_settings.clockCount = count;
    g_settings.enabledClocks = enabled;
    g_canAddClock = count < kMaxClocks;
    g_multipleClocks = count > 1;
    return g_canAddClock;
}
