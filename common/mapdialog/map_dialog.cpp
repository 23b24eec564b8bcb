// The world map dialog's procedure: creation, messages and the end.
#include "common/mapdialog/map_dialog.h"

#include <windows.h>
#include <commctrl.h>

#include <cwchar>
#include <utility>

#include "common/mapdialog/map_dialog_state.h"
#include "common/records/global_settings.h"
#include "common/settings/global_settings_io.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/settings/localisation.h"
#include "common/mapdialog/map_plugin_loader.h"
#include "common/records/protocol.h"
#include "common/zones/city_list.h"
#include "common/records/clock_table.h"
#include "common/platform/system_seam.h"
#include "common/platform/window_place.h"


namespace mapwin {

namespace {

// A property rather than DWLP_USER: the settings program also runs the
// procedure in a window of its own class, which has no dialog extra bytes.
constexpr wchar_t kStateProperty[] = L"Tempovia.MapDialog";

MapDialogHost g_host;
MapDialogState* g_open = nullptr;

int CityIndexOf(const CityRecord* record) {
    if (!record || !g_cities.cities || record < g_cities.cities || record >= g_cities.cities + g_cities.count) {
        return -1;
    }
    return static_cast<int>(record - g_cities.cities);
}


void SetWindowPlacementFromSettings(MapDialogState& s) {
    const std::wstring pos = ReadIniText(UserIniPath().c_str(), s.section.c_str(), L"MapWindowPos", L"");
    int left = 0, top = 0;
    unsigned width = 0, height = 0;
    const int maximised = ReadIniInt(UserIniPath().c_str(), s.section.c_str(), L"MapWindowMax", 1);
    // Any width: a dialog on a monitor left of or above the main one has
    // coordinates of five characters and more.
    RECT stored = {};
    const bool parsed = swscanf(pos.c_str(), L"%d %d %u %u", &left, &top, &width, &height) == 4;
    if (parsed) stored = {left, top, left + static_cast<LONG>(width), top + static_cast<LONG>(height)};
    if (parsed && IsOnSomeMonitor(stored)) {
        WINDOWPLACEMENT wp = {};
        wp.length = sizeof wp;
        wp.showCmd = maximised == 1 ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
        wp.rcNormalPosition = stored;
        SetWindowPlacement(s.dialog, &wp);
    } else {
        ShowWindow(s.dialog, SW_SHOWMAXIMIZED);
    }
}

void SaveSettings(MapDialogState& s) {
    const wchar_t* ini = UserIniPath().c_str();
    if (s.list) {
        unsigned stored[3] = {};
        const std::wstring old = ReadIniText(ini, s.section.c_str(), L"citylistcolumns", L"");
        swscanf(old.c_str(), L"%4u %4u %4u", &stored[0], &stored[1], &stored[2]);
        unsigned widths[3] = {};
        for (int i = 0; i < 3; ++i) {
            const int w = static_cast<int>(SendMessageW(s.list, LVM_GETCOLUMNWIDTH, i, 0));
            widths[i] = w > 0 ? static_cast<unsigned>(w) : stored[i];
        }
        wchar_t text[64] = {};
        std::swprintf(text, 64, L"%u %u %u", widths[0], widths[1], widths[2]);
        WriteIniString(ini, s.section.c_str(), L"citylistcolumns", text);
    }
    wchar_t text[64] = {};
    std::swprintf(text, 64, L"%u", IsZoomed(s.dialog) ? 1u : 0u);
    WriteIniString(ini, s.section.c_str(), L"MapWindowMax", text);
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    if (GetWindowPlacement(s.dialog, &wp)) {
        const RECT& r = wp.rcNormalPosition;
        std::swprintf(text, 64, L"%d %d %u %u", static_cast<int>(r.left), static_cast<int>(r.top),
                      static_cast<unsigned>(r.right - r.left), static_cast<unsigned>(r.bottom - r.top));
        WriteIniString(ini, s.section.c_str(), L"MapWindowPos", text);
    }
}

void BuildLinks(MapDialogState& s) {
    s.links.clear();
    const bool photos = !(g_settings.runFlags & kRunFlagExiting) && g_settings.vistrel != 0;
    if (photos) s.links.push_back({Language().LoadUiString(kStrPhotoLink), PhotoServiceBase(), {}});
    s.links.push_back({Language().LoadUiString(kStrCityListLink), kCityListPage, {}});
}

void CreateMap(MapDialogState& s) {
    const MapPlugin& plugin = MapPluginBinding();
    if (!plugin.module || !plugin.CreateMapWindow) {
        WriteIniFlag(UserIniPath().c_str(), L"map", L"initialized", false);
        return;
    }
    if (plugin.SetLocalString) {
        const std::wstring caption = MapDialogCaption();
        const std::wstring photo = Language().LoadUiString(kStrPhotoLink);
        plugin.SetLocalString(1, caption.c_str());
        plugin.SetLocalString(2, photo.c_str());
    }
    if (s.host.mapInUse) s.host.mapInUse(true);
    RECT client = {};
    GetClientRect(s.dialog, &client);
    const int width = client.right - client.left;
    int status = 0;
    s.map = plugin.CreateMapWindow(s.dialog, 0, 0, width > kPanelWidth ? width - kPanelWidth : 1,
                                   client.bottom - client.top, &status);
    WriteIniFlag(UserIniPath().c_str(), L"map", L"initialized", s.map != nullptr);
    if (!s.map && status != 0) ShowMapError(static_cast<DWORD>(status));
}

BOOL OnInitDialog(HWND dialog, LPARAM lParam) {
    auto* s = new MapDialogState;
    s->dialog = dialog;
    s->host = g_host;
    SetPropW(dialog, kStateProperty, s);
    g_open = s;
    s->section = UserPrefix() + L":main";
    s->font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW lf = {};
    if (GetObjectW(s->font, sizeof lf, &lf)) {
        lf.lfUnderline = TRUE;
        s->linkFont = CreateFontIndirectW(&lf);
    }
    s->hand = LoadCursorW(nullptr, IDC_HAND);
    if (HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_MAP_DIALOG))) {
        SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    s->filtered = FilterCities(L"");
    CreateMap(*s);
    BuildLinks(*s);
    CreatePanelControls(*s);
    SetListColumns(*s);
    FillList(*s);
    SetWindowPlacementFromSettings(*s);
    LayoutMapDialog(*s);
    if (s->map) {
        SetFocus(s->map);
        SendMessageW(s->map, MSG_MAP_CLOUDS, 0, MapCloudsOn() ? 1 : 0);
    } else {
        SetFocus(s->list);
    }
    const auto* city = reinterpret_cast<const CityRecord*>(lParam);
    const int index = CityIndexOf(city);
    if (index >= 0) {
        SendMessageW(dialog, MSG_MAP_SELECT_CITY, index, lParam);
        if (s->map) SendMessageW(s->map, MSG_MAP_SELECT_CITY, index, lParam);
    }
    return FALSE;  // the focus is set
}

// The texts of the panel in the language now in force.
void Retranslate(MapDialogState& s) {
    const std::pair<HWND, UINT> texts[] = {{s.searchLabel, kStrSearch},   {s.countryLabel, kStrCountry},
                                           {s.citiesRadio, kStrShowCities}, {s.zonesRadio, kStrShowZones},
                                           {s.showButton, kStrShowOnMap}, {s.okButton, kStrOk},
                                           {s.cancelButton, kStrCancel}};
    for (const auto& [control, id] : texts) SetWindowTextW(control, Language().LoadUiString(id).c_str());
    SetWindowTextW(s.dialog, MapDialogCaption().c_str());
    BuildLinks(s);
    SetListColumns(s);
    LayoutMapDialog(s);
}

void Finish(MapDialogState& s, INT_PTR result) {
    if (s.host.close) s.host.close(s.dialog, result);
}

void OnOk(MapDialogState& s) {
    if (!s.host.opener) return;
    const LPARAM data = SelectedItemData(s);
    if (s.mode == ListMode::Zones) {
        if (data == -1) return;
        SendMessageW(s.host.opener, MSG_CITY_PICKED, 0, data);
    } else {
        if (data < 0 || data >= g_cities.count) return;
        SendMessageW(s.host.opener, MSG_MAP_SELECT_CITY, static_cast<WPARAM>(data),
                     reinterpret_cast<LPARAM>(&g_cities.cities[data]));
    }
    Finish(s, 1);
}

void OnCancel(MapDialogState& s) {
    if (!s.host.opener) return;
    SendMessageW(s.host.opener, MSG_MAP_SELECT_CITY, static_cast<WPARAM>(-1), 0);
    Finish(s, 0);
}

void OnCommand(MapDialogState& s, int id, int code, HWND control) {
    switch (id) {
        case kIdcSearch:
            if (code == EN_CHANGE && !s.loading) SearchList(s);
            break;
        case kIdcCountry:
            if (code == EN_CHANGE && !s.loading) ApplyCountryFilter(s);
            break;
        case kIdcListMode:
            if (code == BN_CLICKED) {
                const ListMode mode = control == s.zonesRadio ? ListMode::Zones : ListMode::Cities;
                if (mode != s.mode) SwitchListMode(s, mode);
            }
            break;
        case kIdcShowOnMap:
            if (code == BN_CLICKED) ShowSelectedOnMap(s, true);
            break;
        case IDOK:
            OnOk(s);
            break;
        case IDCANCEL:
            OnCancel(s);
            break;
        default:
            break;
    }
}

void OnNotify(MapDialogState& s, const NMHDR* header) {
    if (!header || header->idFrom != static_cast<UINT_PTR>(kIdcCityList)) return;
    if (header->code == NM_CLICK) {
        if (s.mode != ListMode::Cities || !s.map) return;
        const LPARAM index = SelectedItemData(s);
        if (index < 0 || index >= g_cities.count) return;
        PostMessageW(s.map, MSG_MAP_SHOW_PHOTO, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&g_cities.cities[index]));
    } else if (header->code == NM_DBLCLK) {
        ShowSelectedOnMap(s, true);
    }
}

void OnDestroy(HWND dialog, MapDialogState* s) {
    RemovePropW(dialog, kStateProperty);
    if (g_open == s) g_open = nullptr;
    if (!s) return;
    SaveSettings(*s);
    if (s->host.mapInUse && MapPluginLoaded()) s->host.mapInUse(false);
    if (s->linkFont) DeleteObject(s->linkFont);
    delete s;
}

INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) return OnInitDialog(dialog, lParam);
    MapDialogState* s = StateOf(dialog);
    if (!s) return FALSE;
    switch (message) {
        case WM_SIZE:
            LayoutMapDialog(*s);
            return TRUE;
        case WM_COMMAND:
            OnCommand(*s, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return TRUE;
        case WM_NOTIFY:
            OnNotify(*s, reinterpret_cast<const NMHDR*>(lParam));
            return FALSE;
        case MSG_MAP_SELECT_CITY:
            SelectCity(*s, CityIndexOf(reinterpret_cast<const CityRecord*>(lParam)));
            return TRUE;
        case MSG_LANGUAGE_CHANGED:
            Retranslate(*s);
            return TRUE;
        case MSG_CLOUDS_CHANGED:
            if (s->map) SendMessageW(s->map, MSG_MAP_CLOUDS, wParam, lParam);
            return TRUE;
        case WM_MOUSEWHEEL: {
            if (!s->map) return FALSE;
            POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            MapWindowPoints(nullptr, s->map, &p, 1);
            const LRESULT result = SendMessageW(s->map, WM_MOUSEWHEEL, wParam, MAKELPARAM(p.x, p.y));
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
            return TRUE;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(dialog, &ps);
            if (dc) PaintLinks(*s, dc);
            EndPaint(dialog, &ps);
            return TRUE;
        }
        case WM_SETCURSOR: {
            POINT p = {};
            GetCursorPos(&p);
            ScreenToClient(dialog, &p);
            if (reinterpret_cast<HWND>(wParam) == dialog && LinkAt(*s, p) >= 0 && s->hand) {
                SetCursor(s->hand);
                SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        }
        case WM_LBUTTONDOWN: {
            const POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            const int link = LinkAt(*s, p);
            if (link >= 0) OpenCityPhotoPage(dialog, s->links[static_cast<size_t>(link)].url);
            return TRUE;
        }
        case WM_CLOSE:
            Finish(*s, 16);
            return TRUE;
        case WM_DESTROY:
            OnDestroy(dialog, s);
            return TRUE;
        default:
            return FALSE;
    }
}

void AppendText(std::vector<WORD>& t, const wchar_t* text) {
    for (const wchar_t* p = text; p && *p; ++p) t.push_back(static_cast<WORD>(*p));
    t.push_back(0);
}

}  // namespace

void ShowSelectedOnMap(MapDialogState& s, bool focusMap) {
    if (s.mode != ListMode::Cities || !s.map) return;
    const LPARAM index = SelectedItemData(s);
    if (index < 0 || index >= g_cities.count) return;
    if (focusMap) SetFocus(s.map);
    SendMessageW(s.map, MSG_MAP_SELECT_CITY, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&g_cities.cities[index]));
}

MapDialogState* StateOf(HWND dialog) { return static_cast<MapDialogState*>(GetPropW(dialog, kStateProperty)); }

void SetMapDialogHost(const MapDialogHost& host) { g_host = host; }
const MapDialogHost& CurrentMapDialogHost() { return g_host; }

INT_PTR CALLBACK MapDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // Nothing may unwind into the dialog manager.
    try {
        return Handle(dialog, message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

std::vector<WORD> BuildMapDialogTemplate(const wchar_t* caption) {
    std::vector<WORD> t;
    const DWORD style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME |
                        WS_MAXIMIZEBOX | DS_3DLOOK;
    t.push_back(LOWORD(style));
    t.push_back(HIWORD(style));
    t.push_back(0);  // extended style
    t.push_back(0);
    t.push_back(0);  // no controls
    t.push_back(0);  // x
    t.push_back(0);  // y
    t.push_back(400);
    t.push_back(300);
    t.push_back(0);  // no menu
    t.push_back(0);  // the dialog class
    wchar_t cut[kDialogCaptionChars + 1] = {};
    if (caption) {
        const size_t n = wcsnlen(caption, kDialogCaptionChars);
        wmemcpy(cut, caption, n);
    }
    AppendText(t, cut);
    if (t.size() % 2) t.push_back(0);  // DWORD aligned
    return t;
}

std::wstring MapDialogCaption() {
    std::wstring caption = Language().LoadUiString(kStrMapCaption);
    if (caption.empty()) caption = kDefaultMapCaption;
    if (caption.size() > static_cast<size_t>(kDialogCaptionChars)) caption.resize(kDialogCaptionChars);
    return caption;
}

HWND OpenMapDialogWindow() { return g_open ? g_open->dialog : nullptr; }
HWND OpenMapWindow() { return g_open ? g_open->map : nullptr; }

ListMode CurrentListMode(HWND dialog) {
    const MapDialogState* s = StateOf(dialog);
    return s ? s->mode : ListMode::Cities;
}

std::vector<int> FilteredCities(HWND dialog) {
    const MapDialogState* s = StateOf(dialog);
    return s ? s->filtered : std::vector<int>();
}

void OpenCityPhotoPage(HWND dialog, const std::wstring& url) {
    std::wstring target = url;
    const MapDialogState* s = dialog ? StateOf(dialog) : nullptr;
    if (s && url == PhotoServiceBase() && s->map && s->mode == ListMode::Cities) {
        const LPARAM index = SelectedItemData(*s);
        if (index >= 0 && index < g_cities.count) {
            const std::wstring page = CityPhotoPageUrl(url, g_cities.cities[index]);
            if (!page.empty()) target = page;
        }
    }
    System().ShellExecuteOpen(nullptr, L"Open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// Clouds follow [common] cloudmap_interval: the settings record's clouds
// field is never filled by the loader.
bool MapCloudsOn() {
    if (g_settings.clouds > 0) return true;
    return ReadIniInt(UserIniPath().c_str(), L"common", L"cloudmap_interval", -3) > 0;
}

}  // namespace mapwin
