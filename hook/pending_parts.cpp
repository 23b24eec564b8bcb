// The least of the tooltip, menu and photo that the taskbar clock window
// needs until their own modules replace these bodies (see pending_parts.h).
#include "hook/pending_parts.h"

#include "common/settings/clock_record.h"
#include "common/settings/localisation.h"
#include "common/settings/resource_module.h"
#include "common/time/clock_table.h"
#include "hook/tray_clock.h"
#include "hook/tray_state.h"
#include "common/mainmenu/main_menu.h"

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
