#include "settings/location_picker.h"

#include <string>
#include <vector>

#include "common/mapdialog/map_dialog.h"
#include "common/mapdialog/map_plugin_loader.h"
#include "common/records/protocol.h"
#include "common/zones/city_list.h"
#include "settings/page_clock_services.h"
#include "settings/program_links.h"
#include "settings/settings_app.h"

namespace {

constexpr int kLocationControl = 1160;
constexpr int kLocationChars = 161;

HWND g_opener = nullptr;
std::wstring g_failedFolder;  // where the plug-in failed to load

bool IsDialogClass(HWND window) {
    wchar_t cls[16] = {};
    return GetClassNameW(window, cls, 16) && lstrcmpW(cls, L"#32770") == 0;
}

void TellMainProgram(bool inUse) { NotifyMainProgram(MSG_MAP_IN_USE, inUse ? 1 : 0, 0, true); }

void ClosePicker(HWND picker, INT_PTR result) {
    if (IsDialogClass(picker)) {
        EndDialog(picker, result);
    } else {
        SendMessageW(picker, WM_CLOSE, 0, 0);
    }
}

mapwin::MapDialogHost PickerHost() {
    mapwin::MapDialogHost host;
    host.opener = g_opener;
    host.mapInUse = TellMainProgram;
    host.close = ClosePicker;
    return host;
}

// A plug-in that failed once is not tried (nor reported) again from the same folder.
void EnsureMapPlugin() {
    if (MapPluginLoaded() || g_failedFolder == g_settingsApp.programFolder) return;
    const DWORD code = LoadMapPlugin(g_settingsApp.programFolder, g_cities.cities, g_cities.count);
    if (code == 0) return;
    g_failedFolder = g_settingsApp.programFolder;
    ShowMapError(code);
    UnloadMapPlugin();
}

INT_PTR CALLBACK PickerDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) g_settingsApp.picker = dialog;
    const INT_PTR result = mapwin::MapDialogProc(dialog, message, wParam, lParam);
    // The map dialog gives itself the small icon; the picker's own is the large one.
    if (message == WM_INITDIALOG && g_settingsApp.pickerIcon) {
        SendMessageW(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_settingsApp.pickerIcon));
    }
    if (message == WM_DESTROY && g_settingsApp.picker == dialog) g_settingsApp.picker = nullptr;
    return result;
}

bool PickerPageService(HWND page, int initialCity) { return ShowLocationPickerAt(page, initialCity); }

}  // namespace

bool ShowLocationPickerAt(HWND page, int initialCity) {
    EnsureMapPlugin();
    const std::wstring caption = mapwin::MapDialogCaption();
    const std::vector<WORD> dlg = mapwin::BuildMapDialogTemplate(caption.c_str());
    const CityRecord* city = initialCity >= 0 && initialCity < g_cities.count && g_cities.cities
                                 ? &g_cities.cities[initialCity]
                                 : nullptr;
    g_opener = page;
    mapwin::SetMapDialogHost(PickerHost());
    const INT_PTR result =
        DialogBoxIndirectParamW(g_settingsApp.instance, reinterpret_cast<LPCDLGTEMPLATEW>(dlg.data()), page,
                                PickerDlgProc, reinterpret_cast<LPARAM>(city));
    g_opener = nullptr;
    mapwin::SetMapDialogHost(mapwin::MapDialogHost());
    return result > 0;
}

bool ShowLocationPicker(HWND page) {
    wchar_t text[kLocationChars + 1] = {};
    if (page) GetDlgItemTextW(page, kLocationControl, text, kLocationChars + 1);
    return ShowLocationPickerAt(page, FindCity(text));
}

HWND LocationPickerWindow() {
    return g_settingsApp.picker && IsWindow(g_settingsApp.picker) ? g_settingsApp.picker : nullptr;
}

LRESULT CALLBACK MapHostWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
            case WM_CREATE:
                mapwin::SetMapDialogHost(PickerHost());
                PickerDlgProc(window, WM_INITDIALOG, 0, 0);
                if (g_opener) EnableWindow(g_opener, FALSE);
                return 0;
            case WM_CLOSE:
                if (g_opener) EnableWindow(g_opener, TRUE);
                DestroyWindow(window);
                return 0;
            case WM_ERASEBKGND: {
                RECT r = {};
                GetClientRect(window, &r);
                FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_BTNFACE));
                return 1;
            }
            default: {
                const INT_PTR handled = PickerDlgProc(window, message, wParam, lParam);
                if (handled) return handled;
                return DefWindowProcW(window, message, wParam, lParam);
            }
        }
    } catch (...) {
        return 0;
    }
}

void InflateRectBy(RECT& rect, int dx, int dy) {
    rect.left -= dx;
    rect.top -= dy;
    rect.right += dx;
    rect.bottom += dy;
}

void InstallLocationPicker() {
    ClockPageServices services = PageServices();
    services.showLocationPicker = PickerPageService;
    services.locationPickerWindow = LocationPickerWindow;
    SetPageServices(services);
}
