// Filling, filtering and searching the map dialog's list.
#include <windows.h>
#include <commctrl.h>

#include <cwchar>

#include "common/mapdialog/map_dialog_state.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/settings/localisation.h"
#include "common/zones/city_list.h"
#include "common/zones/zone_database.h"

namespace mapwin {

namespace {

constexpr int kCityCompareChars = 80;
constexpr int kZoneCompareChars = 128;
constexpr int kDefaultColumnWidths[3] = {150, 120, 150};
// Room a header keeps beside its title.
constexpr int kColumnTitlePadding = 16;

std::wstring Field(const wchar_t* text, size_t chars) { return std::wstring(text, wcsnlen(text, chars)); }

void AddRow(HWND list, int row, LPARAM data, const std::wstring& a, const std::wstring& b, const std::wstring& c) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.pszText = const_cast<wchar_t*>(a.c_str());
    item.lParam = data;
    const int at = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (at < 0) return;
    LVITEMW sub = {};
    sub.iSubItem = 1;
    sub.pszText = const_cast<wchar_t*>(b.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, at, reinterpret_cast<LPARAM>(&sub));
    sub.iSubItem = 2;
    sub.pszText = const_cast<wchar_t*>(c.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, at, reinterpret_cast<LPARAM>(&sub));
}

std::wstring ControlText(HWND control, int chars) {
    std::wstring text(static_cast<size_t>(chars) + 1, L'\0');
    const int n = control ? GetWindowTextW(control, text.data(), chars + 1) : 0;
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

std::wstring RowText(HWND list, int row, int column, int chars) {
    std::wstring text(static_cast<size_t>(chars) + 1, L'\0');
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = chars + 1;
    const int n = static_cast<int>(SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

// Every column as wide as its widest text or its title: no country or zone
// name cut, the rest of the table reached with the list's scroll bar.
void FitColumns(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    for (int i = 0; i < columns; ++i) {
        SendMessageW(list, LVM_SETCOLUMNWIDTH, i, LVSCW_AUTOSIZE);
        const int content = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, i, 0));
        wchar_t title[80] = {};
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT;
        column.pszText = title;
        column.cchTextMax = 80;
        SendMessageW(list, LVM_GETCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
        const int titled = static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(title))) +
                           kColumnTitlePadding;
        if (titled > content) SendMessageW(list, LVM_SETCOLUMNWIDTH, i, titled);
    }
}

}  // namespace

void SetListColumns(MapDialogState& s) {
    HWND list = s.list;
    if (!list) return;
    int widths[3] = {kDefaultColumnWidths[0], kDefaultColumnWidths[1], kDefaultColumnWidths[2]};
    const std::wstring stored = ReadIniText(UserIniPath().c_str(), s.section.c_str(), L"citylistcolumns", L"");
    unsigned a = 0, b = 0, c = 0;
    bool given = false;
    if (swscanf(stored.c_str(), L"%4u %4u %4u", &a, &b, &c) == 3) {
        widths[0] = static_cast<int>(a);
        widths[1] = static_cast<int>(b);
        widths[2] = static_cast<int>(c);
        given = true;
    }
    // Columns already there keep the widths the user gave them.
    for (int i = 0; i < 3; ++i) {
        const int current = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, i, 0));
        if (current > 0) {
            widths[i] = current;
            given = true;
        }
    }
    s.fitColumns = !given;
    const UINT titles[3] = {kStrColumnName, s.mode == ListMode::Cities ? kStrColumnCountry : kStrColumnOffset,
                            kStrColumnZone};
    while (SendMessageW(list, LVM_DELETECOLUMN, 0, 0)) {
    }
    for (int i = 0; i < 3; ++i) {
        std::wstring title = Language().LoadUiString(titles[i]);
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.cx = widths[i];
        column.pszText = title.data();
        column.iSubItem = i;
        SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
}

void FillList(MapDialogState& s) {
    HWND list = s.list;
    if (!list) return;
    ++s.loading;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    int row = 0;
    if (s.mode == ListMode::Cities) {
        for (int index : s.filtered) {
            if (index < 0 || index >= g_cities.count) continue;
            const CityRecord& city = g_cities.cities[index];
            std::wstring zone;
            const ZoneRecord* z = city.zone;
            if (!z && g_zones.live) {
                const int at = FindZoneById(city.zoneId);
                if (at >= 0 && at < g_zones.count) z = &g_zones.live[at];
            }
            if (z) zone = Field(z->StandardName, std::size(z->StandardName));
            AddRow(list, row++, index, Field(city.city, kCityNameChars), Field(city.region, kCityRegionChars), zone);
        }
    } else {
        for (const ZoneRecord* zone : SortedZoneRows()) {
            const ZoneRowText texts = ZoneRowTexts(*zone);
            AddRow(list, row++, reinterpret_cast<LPARAM>(zone), texts.name, texts.offset, texts.zone);
        }
    }
    if (s.fitColumns) FitColumns(list);
    s.fitColumns = false;
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    --s.loading;
}

void ApplyCountryFilter(MapDialogState& s) {
    const std::wstring filter = ControlText(s.country, kSearchChars);
    s.filtered = FilterCities(filter.c_str());
    FillList(s);
    SearchList(s);
}

int FindCityInList(const MapDialogState& s, const wchar_t* text) {
    if (!s.list || !text) return -1;
    const int rows = static_cast<int>(SendMessageW(s.list, LVM_GETITEMCOUNT, 0, 0));
    if (s.mode == ListMode::Cities) {
        for (int row = 0; row < rows && row < static_cast<int>(s.filtered.size()); ++row) {
            const int index = s.filtered[static_cast<size_t>(row)];
            if (index < 0 || index >= g_cities.count) continue;
            if (StartsWithNoCase(g_cities.cities[index].city, text, kCityCompareChars)) return row;
        }
        return -1;
    }
    for (int row = 0; row < rows; ++row) {
        const std::wstring first = RowText(s.list, row, 0, kZoneCompareChars);
        if (StartsWithNoCase(first.c_str(), text, kZoneCompareChars)) return row;
    }
    return -1;
}

void SelectCityListItem(HWND list, int row) {
    if (!list || row < 0) return;
    LVITEMW clear = {};
    clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
    LVITEMW set = {};
    set.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    set.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&set));
    SendMessageW(list, LVM_SETSELECTIONMARK, 0, row);
    // The row stands in the middle of the view.
    const int top = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
    const int perPage = static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
    RECT item = {LVIR_BOUNDS, 0, 0, 0};
    const int rowHeight = SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item))
                              ? static_cast<int>(item.bottom - item.top)
                              : 0;
    const int wantedTop = row - perPage / 2;
    if (rowHeight > 0 && wantedTop != top) {
        SendMessageW(list, LVM_SCROLL, 0, static_cast<LPARAM>((wantedTop - top) * rowHeight));
    }
    SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
}

int SearchList(MapDialogState& s) {
    const std::wstring text = ControlText(s.search, kSearchChars);
    if (text.empty()) return -1;
    const int row = FindCityInList(s, text.c_str());
    if (row >= 0) SelectCityListItem(s.list, row);
    return row;
}

namespace {

// Enter belongs to the search only in the main program's map, whose OK is
// never enabled, and only while there is a map to show its city; in the
// location picker it stays OK, which takes the city found.
MapDialogState* SearchWithMap(HWND search) {
    MapDialogState* s = StateOf(GetParent(search));
    return s && !s->host.opener && s->map && s->mode == ListMode::Cities ? s : nullptr;
}

LRESULT CALLBACK SearchFieldProc(HWND search, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR) {
    try {
        switch (message) {
            case WM_GETDLGCODE: {
                // Asked by the dialog manager before it turns Enter into OK.
                const auto* msg = reinterpret_cast<const MSG*>(lParam);
                if (msg && msg->message == WM_KEYDOWN && wParam == VK_RETURN && SearchWithMap(search))
                    return DefSubclassProc(search, message, wParam, lParam) | DLGC_WANTMESSAGE;
                break;
            }
            case WM_KEYDOWN:
                if (wParam == VK_RETURN) {
                    if (MapDialogState* s = SearchWithMap(search)) {
                        // The typing stays in the field for the next city.
                        if (SearchList(*s) >= 0) ShowSelectedOnMap(*s, false);
                        return 0;
                    }
                }
                break;
            case WM_CHAR:
                // The Enter already handled; a single-line field would beep.
                if (wParam == L'\r' && SearchWithMap(search)) return 0;
                break;
            case WM_NCDESTROY:
                RemoveWindowSubclass(search, SearchFieldProc, id);
                break;
            default:
                break;
        }
        return DefSubclassProc(search, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

}  // namespace

void HandSearchEnterToMap(HWND search) {
    if (search) SetWindowSubclass(search, SearchFieldProc, 0, 0);
}

void SwitchListMode(MapDialogState& s, ListMode mode) {
    s.mode = mode;
    const bool cities = mode == ListMode::Cities;
    SendMessageW(s.citiesRadio, BM_SETCHECK, cities ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageW(s.zonesRadio, BM_SETCHECK, cities ? BST_UNCHECKED : BST_CHECKED, 0);
    EnableWindow(s.country, cities);
    EnableWindow(s.showButton, cities);
    SetListColumns(s);
    if (cities) {
        ApplyCountryFilter(s);
    } else {
        FillList(s);
        SearchList(s);
    }
}

LPARAM SelectedItemData(const MapDialogState& s) {
    if (!s.list) return -1;
    const int row = static_cast<int>(SendMessageW(s.list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0) return -1;
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageW(s.list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return -1;
    return item.lParam;
}

void SelectCity(MapDialogState& s, int cityIndex) {
    if (cityIndex < 0 || cityIndex >= g_cities.count) return;
    if (s.mode != ListMode::Cities) SwitchListMode(s, ListMode::Cities);
    auto rowOf = [&]() -> int {
        for (size_t i = 0; i < s.filtered.size(); ++i) {
            if (s.filtered[i] == cityIndex) return static_cast<int>(i);
        }
        return -1;
    };
    int row = rowOf();
    if (row < 0) {
        ++s.loading;
        SetWindowTextW(s.country, L"");
        --s.loading;
        s.filtered = FilterCities(L"");
        FillList(s);
        row = rowOf();
    }
    SelectCityListItem(s.list, row);
}

}  // namespace mapwin
