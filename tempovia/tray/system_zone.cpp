#include "tempovia/tray/system_zone.h"

#include <cstring>

#include "common/records/clock_record.h"
#include "common/records/protocol.h"
#include "common/platform/system_seam.h"
#include "common/zones/zone_registry.h"
#include "tempovia/main/data_services.h"

namespace {

// Without the privilege (older systems have none) the zone call itself
// decides, so a refusal here is no reason to stop.
void EnableTimeZonePrivilege() {
    HANDLE token = nullptr;
    if (!System().OpenOwnProcessToken(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
    System().EnableTokenPrivilege(token, SE_TIME_ZONE_NAME);
    System().CloseTokenHandle(token);
}

}  // namespace

bool SetSystemTimeZone(HWND mainWindow, const ClockRecord& clock) {
    EnableTimeZonePrivilege();
    TIME_ZONE_INFORMATION zone = {};
    std::memcpy(&zone, &clock.zone, sizeof zone);
    if (!System().SetSystemTimeZone(zone)) {
        System().BeepTone(kZoneFailBeepHz, kZoneFailBeepMs);
        return false;
    }
    const bool systemAppliesDst = ReadAutoDaylightDisabled() == 0;
    const bool clockUsesDst = clock.usedaylight != 0;
    if (systemAppliesDst != clockUsesDst) {
        const bool disable = !clockUsesDst || clock.zone.DaylightDate.wMonth == 0;
        System().SetAutoDaylightDisabled(disable);
    }
    RebuildLocalZone();
    System().BroadcastSettingChange(L"intl", kSettingChangeTimeoutMs);
    if (mainWindow) PostMessageW(mainWindow, MSG_PUSH_TO_TRAY, 0, 0);
    return true;
}
