#include "hook/clock_menu.h"

#include "common/mainmenu/main_menu.h"
#include "common/records/clock_record.h"
#include "common/settings/localisation.h"
#include "common/settings/resource_module.h"
#include "common/records/clock_table.h"
#include "hook/tray_state.h"

HMENU BuildClockMenu(HWND clockWindow, int index) {
    (void)clockWindow;
    MenuRequest request;
    request.clock = TrayClock(index);
    request.clockIndexValid = request.clock != nullptr;
    request.newClockAllowed = g_canAddClock;
    request.setLocalInMenu = TraySettings().setlocalinmenu != 0;
    request.mapInitialised = TraySettings().initialized != 0;
    return BuildMainPopup(ResourceModule(), request, &Language());
}
