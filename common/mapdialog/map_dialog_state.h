// The state of the one open map dialog, shared by its source files.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/mapdialog/map_dialog.h"

namespace mapwin {

struct MapLink {
    std::wstring text;
    std::wstring url;
    RECT rect{};
};

struct MapDialogState {
    HWND dialog = nullptr;
    HWND map = nullptr;  // null when the plug-in did not load
    HWND list = nullptr;
    HWND searchLabel = nullptr;
    HWND search = nullptr;
    HWND countryLabel = nullptr;
    HWND country = nullptr;
    HWND citiesRadio = nullptr;
    HWND zonesRadio = nullptr;
    HWND showButton = nullptr;
    HWND okButton = nullptr;
    HWND cancelButton = nullptr;
    ListMode mode = ListMode::Cities;
    std::vector<int> filtered;  // indices into the city table
    std::wstring section;       // "<user>:main"
    HFONT font = nullptr;       // DEFAULT_GUI_FONT (a stock object)
    HFONT linkFont = nullptr;   // the same, underlined; owned
    HCURSOR hand = nullptr;     // shared system cursor
    std::vector<MapLink> links;
    MapDialogHost host;
    int loading = 0;  // the program is filling controls: no change notices
    // No widths stored or given by the user yet: the next fill fits the
    // columns to their texts.
    bool fitColumns = false;
};

MapDialogState* StateOf(HWND dialog);

// map_dialog_layout.cpp
void CreatePanelControls(MapDialogState& s);
void LayoutMapDialog(MapDialogState& s);
void PaintLinks(MapDialogState& s, HDC dc);
int LinkAt(const MapDialogState& s, POINT client);

// map_dialog_fill.cpp
void FillList(MapDialogState& s);
void SetListColumns(MapDialogState& s);
void ApplyCountryFilter(MapDialogState& s);
int FindCityInList(const MapDialogState& s, const wchar_t* text);
void SelectCityListItem(HWND list, int row);
// Selects the first row that matches the search field; that row, or -1.
int SearchList(MapDialogState& s);
// Enter in the search field shows the city found on the map.
void HandSearchEnterToMap(HWND search);
void SwitchListMode(MapDialogState& s, ListMode mode);
// The selected row's item data (city index or ZoneRecord pointer); -1 none.
LPARAM SelectedItemData(const MapDialogState& s);
// map_dialog.cpp: flies the map to the selected city (cities mode only);
// the keyboard focus goes with it when asked.
void ShowSelectedOnMap(MapDialogState& s, bool focusMap);

// Selects the city: cities mode, the filter cleared when the city is not in
// the filtered list.
void SelectCity(MapDialogState& s, int cityIndex);

}  // namespace mapwin
