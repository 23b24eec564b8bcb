#include "tempovia/tray/context_menu.h"

#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/settings/resource_module.h"
#include "common/records/clock_table.h"
#include "tempovia/desktop/desktop_clocks.h"
#include "tempovia/main/app_state.h"
#include "common/mainmenu/main_menu.h"
#include "tempovia/tray/tray_links.h"

namespace {

HMENU g_menu = nullptr;

void RegisterWithDesktopClocks();

bool ValidClock(int index) { return g_clocks && index >= 0 && index < g_clockCount; }

HMENU Build(int clockIndex, bool onTop, bool group, bool hookInstalled) {
    DestroyContextMenu();
    g_menu = LoadMainMenu(ResourceModule());
    if (!g_menu) return nullptr;
    MenuRequest request;
    request.clock = ValidClock(clockIndex) ? &g_clocks[clockIndex] : nullptr;
    request.clockIndexValid = ValidClock(g_app.currentClock);
    request.onTop = onTop;
    request.group = group;
    request.newClockAllowed = g_app.newClockAllowed;
    request.setLocalInMenu = g_settings.setlocalinmenu != 0;
    request.mapInitialised = g_settings.initialized != 0;
    request.hookInstalled = hookInstalled;
    if (!PrepareMainMenu(g_menu, request, &Language())) {
        DestroyContextMenu();
        return nullptr;
    }
    return GetSubMenu(g_menu, 0);
}

// The owner must be in the foreground, or the menu would not close when the
// user clicks elsewhere; the empty message afterwards lets it go for good.
void Track(HMENU popup, HWND owner, POINT at) {
    SetForegroundWindow(owner);
    TrackMenu(popup, TPM_RIGHTBUTTON, at.x, at.y, owner);
    PostMessageW(owner, WM_NULL, 0, 0);
}

// The desktop clocks open this menu through their host; the module learns of
// it as the program starts, before any clock window exists.
void RegisterWithDesktopClocks() {
    desktop::DesktopClockHost host = desktop::Host();
    host.showClockMenu = ShowClockMenu;
    desktop::SetDesktopClockHost(host);
}

const bool g_registered = (RegisterWithDesktopClocks(), true);

}  // namespace

HMENU BuildContextMenu(HWND owner, int clockIndex, bool onTop, bool group, bool hookInstalled) {
    HMENU popup = Build(clockIndex, onTop, group, hookInstalled);
    if (!popup && owner) PostMessageW(owner, WM_COMMAND, MSG_QUIT, 0);
    return popup;
}

void DestroyContextMenu() {
    if (g_menu) DestroyMenu(g_menu);
    g_menu = nullptr;
}

void OnTrayIcon(HWND mainWindow, WPARAM, LPARAM mouseMessage) {
    if (mouseMessage != WM_LBUTTONDOWN && mouseMessage != WM_RBUTTONDOWN) return;
    desktop::ApplyDesktopClockOrder(false);
    if (SendMessageW(mainWindow, MSG_CLOCK_MOUSE, CLOCK_MOUSE_MENU, 0) != 0) return;
    g_app.currentClock = -1;
    HMENU popup = BuildContextMenu(mainWindow, -1, false, false);
    if (!popup) return;
    POINT at = {};
    GetCursorPos(&at);
    Track(popup, mainWindow, at);
}

void ShowClockMenu(HWND owner, int index, bool onTop, bool grouped, bool hookInstalled, POINT at) {
    g_app.currentClock = index;
    HMENU popup = Build(index, onTop, grouped, hookInstalled);
    if (popup) Track(popup, owner, at);
}

void SetNewClockFlag(bool allowed) { g_app.newClockAllowed = allowed; }
