#include "tempovia/mapwin/map_host.h"

#include <cstdint>

#include "common/mapdialog/map_dialog.h"
#include "common/settings/ini_paths.h"
#include "common/mapdialog/map_plugin_loader.h"
#include "common/records/protocol.h"
#include "common/zones/city_list.h"

namespace mapwin {

namespace {

MainMapHooks g_hooks;
int32_t g_users = 0;
HWND g_dialog = nullptr;
// A "World map" command is opening the dialog: its error box runs a message
// loop, in which a second command must not open a dialog of its own.
bool g_opening = false;

void CloseMainDialog(HWND dialog, INT_PTR) {
    if (dialog == g_dialog) ReleaseMapDialog();
}

}  // namespace

void SetMainMapHooks(const MainMapHooks& hooks) { g_hooks = hooks; }

DWORD AcquireMapDialog() {
    if (++g_users != 1) return 0;
    const DWORD code = LoadMapPlugin(SettingsFolder(), g_cities.cities, g_cities.count);
    if (g_hooks.hideDesktopClocks) g_hooks.hideDesktopClocks();
    if (code != 0) {
        ShowMapError(code);
        // A plug-in whose InitMap failed is of no use to the dialog.
        UnloadMapPlugin();
    }
    return code;
}

HWND CreateMapDialog(const wchar_t* caption, const CityRecord* city) {
    MapDialogHost host;
    host.close = CloseMainDialog;
    SetMapDialogHost(host);
    const std::vector<WORD> dlg = BuildMapDialogTemplate(caption);
    g_dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(dlg.data()),
                                          nullptr, MapDialogProc, reinterpret_cast<LPARAM>(city));
    if (g_dialog) {
        if (HWND ok = GetDlgItem(g_dialog, IDOK)) EnableWindow(ok, FALSE);
        if (HWND cancel = GetDlgItem(g_dialog, IDCANCEL)) EnableWindow(cancel, FALSE);
    }
    return g_dialog;
}

void ReleaseMapDialog() {
    HWND dialog = g_dialog;
    g_dialog = nullptr;
    if (dialog && IsWindow(dialog)) DestroyWindow(dialog);
    if (g_users <= 0) return;
    if (--g_users == 0) {
        if (g_hooks.restoreDesktopClocks) g_hooks.restoreDesktopClocks();
        UnloadMapPlugin();
    }
}

int MapUserCount() { return g_users; }

HWND GetMapDialog() { return g_dialog && IsWindow(g_dialog) ? g_dialog : nullptr; }
HWND GetMapWindow() { return GetMapDialog() ? OpenMapWindow() : nullptr; }

void ShowWorldMap(HWND, int cityIndex) {
    const CityRecord* city =
        cityIndex >= 0 && cityIndex < g_cities.count && g_cities.cities ? &g_cities.cities[cityIndex] : nullptr;
    if (HWND open = GetMapDialog()) {
        SetForegroundWindow(open);
        if (city) {
            SendMessageW(open, MSG_MAP_SELECT_CITY, static_cast<WPARAM>(cityIndex), reinterpret_cast<LPARAM>(city));
            if (HWND map = GetMapWindow()) {
                SendMessageW(map, MSG_MAP_SELECT_CITY, static_cast<WPARAM>(cityIndex), reinterpret_cast<LPARAM>(city));
            }
        }
        return;
    }
    if (g_opening) return;
    g_opening = true;
    AcquireMapDialog();
    if (!CreateMapDialog(MapDialogCaption().c_str(), city)) ReleaseMapDialog();
    g_opening = false;
}

void CloseWorldMap() {
    // Also after the dialog went with the thread's other dialogs: the user it
    // counted still holds the plug-in.
    if (g_dialog) ReleaseMapDialog();
}

}  // namespace mapwin
