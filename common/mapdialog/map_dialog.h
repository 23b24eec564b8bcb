// The world map dialog: the map plug-in's window on the left, and a panel of
// 320 pixels on the right with the city (or time-zone) list, its search and
// country filter, a button that shows the selected city on the map and two
// links to the city-photo service. The main program runs it modeless; the
// settings program runs the same procedure as its modal location picker.
#pragma once

#include <windows.h>

#include "resources/resource_ids.h"

#include <string>
#include <vector>
#include "common/mapdialog/map_dialog_resource_ids.h"

struct CityRecord;
struct ZoneRecord;

namespace mapwin {

// Control ids of the panel.
inline constexpr int kIdcCityList = 201;
inline constexpr int kIdcSearch = 202;
inline constexpr int kIdcCountry = 203;
inline constexpr int kIdcShowOnMap = 204;
inline constexpr int kIdcListMode = 206;  // both radio buttons
inline constexpr int kPanelWidth = 320;
inline constexpr int kSearchChars = 79;
inline constexpr int kMaxZoneRows = 512;
inline constexpr int kDialogCaptionChars = 97;

// UI strings of the dialog.
inline constexpr UINT kStrColumnName = IDS_MAP_COLUMN_NAME;
inline constexpr UINT kStrColumnOffset = IDS_MAP_COLUMN_OFFSET;
inline constexpr UINT kStrColumnZone = IDS_MAP_COLUMN_ZONE;
inline constexpr UINT kStrColumnCountry = IDS_MAP_COLUMN_COUNTRY;
inline constexpr UINT kStrPhotoLink = IDS_MAP_PHOTO_LINK;
inline constexpr UINT kStrCityListLink = IDS_MAP_CITY_LIST_LINK;
inline constexpr UINT kStrMapCaption = IDS_MAP_CAPTION;
inline constexpr UINT kStrSearch = IDS_MAP_SEARCH;
inline constexpr UINT kStrCountry = IDS_MAP_COUNTRY;
inline constexpr UINT kStrShowCities = IDS_MAP_SHOW_CITIES;
inline constexpr UINT kStrShowZones = IDS_MAP_SHOW_ZONES;
inline constexpr UINT kStrShowOnMap = IDS_MAP_SHOW_ON_MAP;
inline constexpr UINT kStrOk = IDS_MAP_OK;
inline constexpr UINT kStrCancel = IDS_MAP_CANCEL;

inline constexpr wchar_t kDefaultMapCaption[] = L"Tempovia World Map";
// The maker's page that lists every city of the city list.
inline constexpr wchar_t kCityListPage[] = L"https://cities.tempovia.example/list.htm";

// What the program that runs the dialog adds to it.
struct MapDialogHost {
    // Receives the replies (MSG_MAP_SELECT_CITY, MSG_CITY_PICKED); none in
    // the main program, whose OK and Cancel buttons stay disabled.
    HWND opener = nullptr;
    // Told just before the map window is created (true) and when the dialog
    // is destroyed (false); only while the plug-in is loaded.
    void (*mapInUse)(bool inUse) = nullptr;
    // WM_CLOSE, and the end after OK or Cancel: result 1 for OK, 0 for
    // Cancel, 16 for a plain close.
    void (*close)(HWND dialog, INT_PTR result) = nullptr;
};

// The host in force for the next dialog (one dialog at a time).
void SetMapDialogHost(const MapDialogHost& host);
const MapDialogHost& CurrentMapDialogHost();

// The dialog procedure; WM_INITDIALOG's lParam is a CityRecord of the city
// table to select, or 0.
INT_PTR CALLBACK MapDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The in-memory template: popup, visible, clip children, caption, system
// menu, thick frame, maximise box, 3D look; no controls; 400 x 300 dialog
// units at 0,0; the caption cut to kDialogCaptionChars. DWORD aligned.
std::vector<WORD> BuildMapDialogTemplate(const wchar_t* caption);
// UI string 174, or kDefaultMapCaption when the language has none.
std::wstring MapDialogCaption();

// The open dialog and its map window (null when none).
HWND OpenMapDialogWindow();
HWND OpenMapWindow();
// Whether the map shows its cloud layer under the settings in force.
bool MapCloudsOn();

// What the dialog shows, for the program and its tests.
enum class ListMode { Cities, Zones };
ListMode CurrentListMode(HWND dialog);
// The filtered cities (indices into the city table) in list order.
std::vector<int> FilteredCities(HWND dialog);

// ---- list contents (map_dialog_lists.cpp) ------------------------------------
// Indices of the cities whose country begins with the filter, ignoring case,
// in table order.
std::vector<int> FilterCities(const wchar_t* countryFilter);
// The rows of the time-zone list: the first zone, then the others by bias
// plus standard bias, largest first, equal values by display name; at most
// kMaxZoneRows.
std::vector<const ZoneRecord*> SortedZoneRows();
struct ZoneRowText {
    std::wstring name;    // display name after its leading "(...)" and blanks
    std::wstring offset;  // text inside the parentheses, or "GMT+hh:mm"
    std::wstring zone;    // standard name
};
ZoneRowText ZoneRowTexts(const ZoneRecord& zone);
// Case-insensitive prefix comparison of at most chars characters.
bool StartsWithNoCase(const wchar_t* text, const wchar_t* prefix, size_t chars);

// ---- photo link (map_links.cpp) -----------------------------------------------
// The city page of the photo service: base, country "/" city ".htm", each
// name in lower case, blanks as "_", made safe and URL-encoded; within 2047
// characters. Empty when it does not fit.
std::wstring CityPhotoPageUrl(const std::wstring& base, const CityRecord& city);
// The base of the photo service as a wide text.
std::wstring PhotoServiceBase();

// Opens the address through the shell (the system seam); the photo service
// base becomes the selected city's page when the dialog has a map, shows
// cities and has a city selected.
void OpenCityPhotoPage(HWND dialog, const std::wstring& url);

}  // namespace mapwin
