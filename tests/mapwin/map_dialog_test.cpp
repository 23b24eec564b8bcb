// The main program's world map dialog: the plug-in's loading and its
// failures, the list with its filter, search and zone mode, the replies to
// the map window, the stored placement and the photo link.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "common/mapdialog/map_dialog.h"
#include "common/mapdialog/map_plugin_loader.h"
#include "common/records/protocol.h"
#include "common/zones/city_list.h"
#include "common/zones/zone_database.h"
#include "tempovia/mapwin/map_host.h"
#include "tests/mapwin/map_fixture.h"

namespace mapwin_test {
namespace {

int g_hidden = 0;
int g_restored = 0;

class MainMapTest : public MapTest {
protected:
    void SetUp() override {
        MapTest::SetUp();
        g_hidden = g_restored = 0;
        mapwin::MainMapHooks hooks;
        hooks.hideDesktopClocks = [] { ++g_hidden; };
        hooks.restoreDesktopClocks = [] { ++g_restored; };
        mapwin::SetMainMapHooks(hooks);
    }

    HWND Open(int city = -1) {
        mapwin::ShowWorldMap(nullptr, city);
        return mapwin::GetMapDialog();
    }
};

int CityWithRegionPrefix(const wchar_t* prefix) {
    for (int i = 0; i < g_cities.count; ++i) {
        if (mapwin::StartsWithNoCase(g_cities.cities[i].region, prefix, 80)) return i;
    }
    return -1;
}

TEST_F(MainMapTest, MissingPluginIsReportedOnceAndTheDialogOpensWithoutAMap) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(ErrorBoxes().size(), 1u);
    EXPECT_EQ(ErrorBoxes()[0].text, L"Can not load kartix.dll");
    EXPECT_EQ(ErrorBoxes()[0].caption, L"World Map Error");
    EXPECT_EQ(ErrorBoxes()[0].type, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(mapwin::GetMapWindow(), nullptr);
    EXPECT_EQ(IniValue(L"map", L"initialized"), L"0");
    EXPECT_EQ(ListRows(dialog), g_cities.count);
    EXPECT_EQ(g_hidden, 1);
    // The menu again brings the open dialog forward: no second load, no second report.
    EXPECT_EQ(Open(), dialog);
    EXPECT_EQ(ErrorBoxes().size(), 1u);
    EXPECT_EQ(mapwin::MapUserCount(), 1);
    // Without an opener OK and Cancel have nobody to answer.
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDCANCEL)));
    SendMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_EQ(mapwin::GetMapDialog(), nullptr);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(mapwin::MapUserCount(), 0);
    EXPECT_EQ(g_restored, 1);
}

// The error box's own message loop lets a second "World map" command in.
int OpenAgainFromTheErrorBox(HWND, const wchar_t*, const wchar_t*, UINT) {
    ErrorBoxes().push_back({});
    if (ErrorBoxes().size() == 1) mapwin::ShowWorldMap(nullptr, -1);
    return IDOK;
}

TEST_F(MainMapTest, ASecondCommandWhileTheErrorIsShownOpensNoSecondDialog) {
    SetMapErrorBoxFn(OpenAgainFromTheErrorBox);
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    int dialogs = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM n) {
            wchar_t name[16] = {};
            GetClassNameW(w, name, 16);
            *reinterpret_cast<int*>(n) += lstrcmpW(name, L"#32770") == 0;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&dialogs));
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(mapwin::MapUserCount(), 1);
    SendMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_EQ(mapwin::MapUserCount(), 0);
    EXPECT_EQ(g_restored, 1);  // the desktop clocks are back
}

TEST_F(MainMapTest, MissingExportOrFailingInitMapOpensWithoutAMap) {
    InstallPlugin(L"nocreate");
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(ErrorBoxes().size(), 1u);
    EXPECT_EQ(ErrorBoxes()[0].text, L"Can not import required functions from kartix.dll");
    EXPECT_FALSE(MapPluginLoaded());
    EXPECT_EQ(GetModuleHandleW(L"kartix.dll"), nullptr);
    mapwin::CloseWorldMap();

    InstallPlugin(L"full");
    SetEnvironmentVariableW(L"STANDIN_MAP_INIT", L"20000006");
    SetEnvironmentVariableW(L"STANDIN_MAP_SYSERR", L"5");
    ErrorBoxes().clear();
    dialog = Open();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(ErrorBoxes().size(), 1u);
    // Above 0x20000004 the plug-in's last system error follows on a line of its own.
    EXPECT_EQ(ErrorBoxes()[0].text.rfind(L"Error while registering window class\r\n", 0), 0u);
    EXPECT_TRUE(Logged("GetLastSysError"));
    EXPECT_TRUE(Logged("FreeMap"));
    EXPECT_FALSE(MapPluginLoaded());
    EXPECT_EQ(mapwin::GetMapWindow(), nullptr);
    EXPECT_FALSE(Logged("CreateMapWindow 0 0 1 1"));
    EXPECT_EQ(IniValue(L"map", L"initialized"), L"0");
}

TEST_F(MainMapTest, LoadedPluginGetsItsWindowTheCityAndIsFreedOnClose) {
    InstallPlugin(L"full");
    const int city = 5;
    HWND dialog = Open(city);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(ErrorBoxes().empty());
    HWND map = mapwin::GetMapWindow();
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map, MapChild(dialog));
    EXPECT_EQ(IniValue(L"map", L"initialized"), L"1");
    const std::vector<std::string> log = PluginLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "InitMap table " + std::to_string(g_cities.count));
    EXPECT_TRUE(Logged("SetLocalString 1"));
    EXPECT_TRUE(Logged("SetLocalString 2"));
    EXPECT_TRUE(Logged("message 203 0 0"));  // no clouds in a fresh settings file
    EXPECT_TRUE(Logged("message 200 5 record"));
    EXPECT_EQ(SelectedData(dialog), city);

    // The map fills the client width less the panel; a narrow dialog leaves it 1 pixel wide.
    RECT client = {}, mapRect = {};
    GetClientRect(dialog, &client);
    GetClientRect(map, &mapRect);
    EXPECT_EQ(mapRect.right, client.right > mapwin::kPanelWidth ? client.right - mapwin::kPanelWidth : 1);
    ShowWindow(dialog, SW_RESTORE);
    SetWindowPos(dialog, nullptr, 0, 0, 200, 300, SWP_NOZORDER | SWP_NOMOVE);
    GetClientRect(map, &mapRect);
    EXPECT_EQ(mapRect.right, 1);

    // Button 204 flies to the selected city; a click shows its photos; the
    // settings' clouds reach the map.
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(mapwin::kIdcShowOnMap, BN_CLICKED), 0);
    NMHDR click = {GetDlgItem(dialog, mapwin::kIdcCityList), static_cast<UINT_PTR>(mapwin::kIdcCityList),
                   static_cast<UINT>(NM_CLICK)};
    SendMessageW(dialog, WM_NOTIFY, mapwin::kIdcCityList, reinterpret_cast<LPARAM>(&click));
    PumpMessages();
    EXPECT_TRUE(Logged("message 201 5 record"));
    SendMessageW(dialog, MSG_CLOUDS_CHANGED, 0, 1);
    EXPECT_TRUE(Logged("message 203 0 1"));
    size_t selects = 0;
    for (const std::string& l : PluginLog()) selects += l == "message 200 5 record";
    EXPECT_EQ(selects, 2u);

    // The wheel goes to the map in its own coordinates, with its answer.
    POINT origin = {0, 0};
    ClientToScreen(map, &origin);
    const LRESULT wheel =
        SendMessageW(dialog, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), MAKELPARAM(origin.x + 3, origin.y + 4));
    (void)wheel;
    EXPECT_TRUE(Logged("wheel 3 4"));

    // A name typed into the search and Enter: the list shows the city found
    // and the map flies to it.
    HWND search = GetDlgItem(dialog, mapwin::kIdcSearch);
    const wchar_t* name = g_cities.cities[g_cities.count - 1].city;
    int found = 0;
    while (!mapwin::StartsWithNoCase(g_cities.cities[found].city, name, 80)) ++found;
    ASSERT_NE(found, city);
    for (const wchar_t* c = name; *c; ++c) SendMessageW(search, WM_CHAR, *c, 1);
    MSG enter = {search, WM_KEYDOWN, VK_RETURN, 1};
    IsDialogMessageW(dialog, &enter);
    PumpMessages();
    EXPECT_EQ(SelectedData(dialog), found);
    HWND list = GetDlgItem(dialog, mapwin::kIdcCityList);
    const int top = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
    EXPECT_LE(top, found);
    EXPECT_LT(found, top + std::max(1, static_cast<int>(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0))));
    EXPECT_TRUE(Logged("message 200 " + std::to_string(found) + " record"));

    SendMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Logged("FreeMap"));
    EXPECT_FALSE(MapPluginLoaded());
    EXPECT_EQ(GetModuleHandleW(L"kartix.dll"), nullptr);
}

TEST_F(MainMapTest, CreationFailureShowsTheStatusWithTheSystemText) {
    InstallPlugin(L"full");
    SetEnvironmentVariableW(L"STANDIN_MAP_STATUS", L"20000007");
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(ErrorBoxes().size(), 1u);
    EXPECT_EQ(ErrorBoxes()[0].text.rfind(L"ChoosePixelFormat() failed\r\n", 0), 0u);
    EXPECT_EQ(mapwin::GetMapWindow(), nullptr);
    EXPECT_EQ(IniValue(L"map", L"initialized"), L"0");
}

TEST_F(MainMapTest, CountryFilterSearchAndSelectionByMessage) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    const int japan = CityWithRegionPrefix(L"Japan");
    ASSERT_GE(japan, 0);
    SetDlgItemTextW(dialog, mapwin::kIdcCountry, L"jAP");
    const std::vector<int> filtered = mapwin::FilteredCities(dialog);
    ASSERT_FALSE(filtered.empty());
    EXPECT_EQ(ListRows(dialog), static_cast<int>(filtered.size()));
    for (int index : filtered) EXPECT_TRUE(mapwin::StartsWithNoCase(g_cities.cities[index].region, L"jap", 80));

    // The search selects the first row whose city starts with the text.
    const std::wstring name(g_cities.cities[filtered.back()].city);
    SetDlgItemTextW(dialog, mapwin::kIdcSearch, name.substr(0, 3).c_str());
    const LPARAM found = SelectedData(dialog);
    ASSERT_GE(found, 0);
    EXPECT_TRUE(mapwin::StartsWithNoCase(g_cities.cities[found].city, name.substr(0, 3).c_str(), 80));

    // A filter that matches nothing empties the list; a city chosen by
    // message clears the filter again.
    SetDlgItemTextW(dialog, mapwin::kIdcCountry, L"zzzz");
    EXPECT_EQ(ListRows(dialog), 0);
    const int other = CityWithRegionPrefix(L"Brazil");
    ASSERT_GE(other, 0);
    SendMessageW(dialog, MSG_MAP_SELECT_CITY, other, reinterpret_cast<LPARAM>(&g_cities.cities[other]));
    EXPECT_EQ(ListRows(dialog), g_cities.count);
    EXPECT_EQ(SelectedData(dialog), other);
    wchar_t filter[16] = {};
    GetDlgItemTextW(dialog, mapwin::kIdcCountry, filter, 16);
    EXPECT_STREQ(filter, L"");
    // A record from outside the city table selects nothing.
    CityRecord stranger = {};
    SendMessageW(dialog, MSG_MAP_SELECT_CITY, 0, reinterpret_cast<LPARAM>(&stranger));
    EXPECT_EQ(SelectedData(dialog), other);
}

// The widest text of a list column, as the list measures it.
int WidestText(HWND list, int column) {
    int widest = 0;
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        wchar_t text[128] = {};
        ListView_GetItemText(list, row, column, text, 128);
        widest = std::max(widest, static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0,
                                                                  reinterpret_cast<LPARAM>(text))));
    }
    return widest;
}

TEST_F(MainMapTest, WithoutStoredWidthsEveryCountryAndZoneNameFitsItsColumn) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, mapwin::kIdcCityList);
    for (int column : {1, 2}) {
        const int widest = WidestText(list, column);
        ASSERT_GT(widest, 60);
        EXPECT_GE(static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0)), widest + 8) << column;
    }
}

TEST_F(MainMapTest, ZoneModeListsZonesWestToEastAndBackToCities) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    HWND zones = nullptr;
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(c) == mapwin::kIdcListMode) zones = c;  // the second radio button
    }
    ASSERT_NE(zones, nullptr);
    SendMessageW(zones, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(mapwin::kIdcListMode, BN_CLICKED), reinterpret_cast<LPARAM>(zones));
    EXPECT_EQ(mapwin::CurrentListMode(dialog), mapwin::ListMode::Zones);
    const int expected = std::min(g_zones.count, mapwin::kMaxZoneRows);
    EXPECT_EQ(ListRows(dialog), expected);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, mapwin::kIdcCountry)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, mapwin::kIdcShowOnMap)));
    const std::vector<const ZoneRecord*> rows = mapwin::SortedZoneRows();
    ASSERT_EQ(static_cast<int>(rows.size()), expected);
    EXPECT_EQ(rows[0], &g_zones.live[0]);
    for (size_t i = 2; i < rows.size(); ++i) {
        EXPECT_GE(rows[i - 1]->Bias + rows[i - 1]->StandardBias, rows[i]->Bias + rows[i]->StandardBias);
    }
    EXPECT_EQ(RowText(dialog, 1, 0), mapwin::ZoneRowTexts(*rows[1]).name);

    SendMessageW(dialog, MSG_MAP_SELECT_CITY, 3, reinterpret_cast<LPARAM>(&g_cities.cities[3]));
    EXPECT_EQ(mapwin::CurrentListMode(dialog), mapwin::ListMode::Cities);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, mapwin::kIdcCountry)));
    EXPECT_EQ(SelectedData(dialog), 3);
}

TEST(ZoneRowTexts, SplitsTheParenthesisOrMakesAnOffset) {
    ZoneRecord zone = {};
    wcscpy_s(zone.displayName, L"(UTC+01:00)  Amsterdam, Berlin");
    wcscpy_s(zone.StandardName, L"W. Europe Standard Time");
    mapwin::ZoneRowText t = mapwin::ZoneRowTexts(zone);
    EXPECT_EQ(t.name, L"Amsterdam, Berlin");
    EXPECT_EQ(t.offset, L"UTC+01:00");
    EXPECT_EQ(t.zone, L"W. Europe Standard Time");
    wcscpy_s(zone.displayName, L"Somewhere");
    zone.Bias = -330;  // east of UTC
    t = mapwin::ZoneRowTexts(zone);
    EXPECT_EQ(t.name, L"Somewhere");
    EXPECT_EQ(t.offset, L"GMT+05:30");
    zone.Bias = 180;
    zone.StandardBias = 30;
    EXPECT_EQ(mapwin::ZoneRowTexts(zone).offset, L"GMT-03:30");
    zone.Bias = 0;
    zone.StandardBias = 0;
    EXPECT_EQ(mapwin::ZoneRowTexts(zone).offset, L"GMT");
    wcscpy_s(zone.displayName, L"(UTC no close");
    EXPECT_EQ(mapwin::ZoneRowTexts(zone).name, L"(UTC no close");
}

TEST_F(MainMapTest, PlacementIsReadAndStored) {
    const std::wstring section = L"tester:main";
    WritePrivateProfileStringW(section.c_str(), L"MapWindowPos", L"10 20 abc", Ini().c_str());
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsZoomed(dialog));  // malformed: maximised
    mapwin::CloseWorldMap();
    EXPECT_EQ(IniValue(section.c_str(), L"MapWindowMax"), L"1");

    WritePrivateProfileStringW(section.c_str(), L"MapWindowPos", L"30 40 700 500", Ini().c_str());
    WritePrivateProfileStringW(section.c_str(), L"MapWindowMax", L"0", Ini().c_str());
    WritePrivateProfileStringW(section.c_str(), L"citylistcolumns", L"11 22 33", Ini().c_str());
    dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsZoomed(dialog));
    RECT r = {};
    GetWindowRect(dialog, &r);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.right - r.left, 700);
    EXPECT_EQ(SendDlgItemMessageW(dialog, mapwin::kIdcCityList, LVM_GETCOLUMNWIDTH, 1, 0), 22);
    SendDlgItemMessageW(dialog, mapwin::kIdcCityList, LVM_SETCOLUMNWIDTH, 2, 44);
    mapwin::CloseWorldMap();
    EXPECT_EQ(IniValue(section.c_str(), L"MapWindowPos"), L"30 40 700 500");
    EXPECT_EQ(IniValue(section.c_str(), L"MapWindowMax"), L"0");
    EXPECT_EQ(IniValue(section.c_str(), L"citylistcolumns"), L"11 22 44");

    // A place reaching in from a monitor on the left is read in full; one on
    // no monitor at all opens maximised.
    WritePrivateProfileStringW(section.c_str(), L"MapWindowPos", L"-1000 40 1020 500", Ini().c_str());
    dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsZoomed(dialog));
    GetWindowRect(dialog, &r);
    EXPECT_EQ(r.left, -1000);
    EXPECT_EQ(r.right - r.left, 1020);
    mapwin::CloseWorldMap();
    WritePrivateProfileStringW(section.c_str(), L"MapWindowPos", L"-3000 40 700 500", Ini().c_str());
    WritePrivateProfileStringW(section.c_str(), L"MapWindowMax", L"0", Ini().c_str());
    dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsZoomed(dialog));
    mapwin::CloseWorldMap();
}

TEST(MapErrorText, KnownUnknownAndSystemTexts) {
    EXPECT_EQ(MapErrorText(0), L"");
    EXPECT_EQ(MapErrorText(MAP_ERR_TEXTURE_FORMAT), L"Illegal earth texture format");
    EXPECT_EQ(MapErrorText(MAP_ERR_MAKE_CURRENT), L"wglMakeCurrent() failed");
    EXPECT_EQ(MapErrorText(0x20000000 + 10), L"Unknown error 10");
    // Not bound: no system text even for the codes that keep one.
    EXPECT_EQ(MapErrorMessage(MAP_ERR_CHOOSE_PIXEL_FORMAT), L"ChoosePixelFormat() failed");
    EXPECT_EQ(MapErrorMessage(MAP_ERR_TEXTURE_LOAD), L"Can not load and adjust earth texture");
}

TEST_F(MainMapTest, ErrorTextsWithABoundPlugin) {
    InstallPlugin(L"full");
    SetEnvironmentVariableW(L"STANDIN_MAP_SYSERR", L"2");
    ASSERT_EQ(LoadMapPlugin(Folder(), g_cities.cities, g_cities.count), 0u);
    ShowMapError(0);
    EXPECT_TRUE(ErrorBoxes().empty());
    ShowMapError(MAP_ERR_TEXTURE_LOAD);
    ShowMapError(MAP_ERR_CHOOSE_PIXEL_FORMAT);
    ShowMapError(0x2000000A);
    ASSERT_EQ(ErrorBoxes().size(), 3u);
    EXPECT_EQ(ErrorBoxes()[0].text, L"Can not load and adjust earth texture");
    EXPECT_EQ(ErrorBoxes()[1].text.rfind(L"ChoosePixelFormat() failed\r\n", 0), 0u);
    EXPECT_EQ(ErrorBoxes()[2].text.rfind(L"Unknown error 10\r\n", 0), 0u);
    EXPECT_LE(ErrorBoxes()[1].text.size(), 1023u);
    UnloadMapPlugin();
}

TEST_F(MainMapTest, PhotoLinkBuildsTheCityPageOnlyWithAMapAndACity) {
    CityRecord city = {};
    wcscpy_s(city.city, L"São Paulo");
    wcscpy_s(city.region, L"Brazil");
    const std::wstring base = mapwin::PhotoServiceBase();
    EXPECT_EQ(mapwin::CityPhotoPageUrl(base, city), base + L"brazil/s%E3o_paulo.htm");
    wcscpy_s(city.city, L"A/B?");
    EXPECT_EQ(mapwin::CityPhotoPageUrl(base, city), base + L"brazil/ab.htm");

    // Without a map the base is opened as it stands.
    HWND dialog = Open(7);
    ASSERT_NE(dialog, nullptr);
    mapwin::OpenCityPhotoPage(dialog, base);
    ASSERT_EQ(shell_.opened.size(), 1u);
    EXPECT_EQ(shell_.opened[0], L"Open " + base);
    mapwin::CloseWorldMap();

    InstallPlugin(L"full");
    dialog = Open(7);
    ASSERT_NE(dialog, nullptr);
    mapwin::OpenCityPhotoPage(dialog, base);
    ASSERT_EQ(shell_.opened.size(), 2u);
    EXPECT_EQ(shell_.opened[1], L"Open " + mapwin::CityPhotoPageUrl(base, g_cities.cities[7]));
    mapwin::OpenCityPhotoPage(dialog, mapwin::kCityListPage);
    EXPECT_EQ(shell_.opened.back(), std::wstring(L"Open ") + mapwin::kCityListPage);
}

TEST(MapDialogTemplate, StyleSizeAndCutCaption) {
    const std::wstring longCaption(150, L'x');
    const std::vector<WORD> t = mapwin::BuildMapDialogTemplate(longCaption.c_str());
    ASSERT_GE(t.size(), 11u);
    const DWORD style = t[0] | (static_cast<DWORD>(t[1]) << 16);
    EXPECT_EQ(style, static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU |
                                        WS_THICKFRAME | WS_MAXIMIZEBOX | DS_3DLOOK));
    EXPECT_EQ(t[4], 0);  // no controls
    EXPECT_EQ(t[7], 400);
    EXPECT_EQ(t[8], 300);
    size_t n = 0;
    while (t[11 + n] != 0) ++n;
    EXPECT_EQ(n, static_cast<size_t>(mapwin::kDialogCaptionChars));
    EXPECT_EQ(t.size() % 2, 0u);
}

}  // namespace
}  // namespace mapwin_test

namespace mapwin_test {
namespace {

TEST_F(MainMapTest, LanguageChangeKeepsTheListAndItsWidths) {
    HWND dialog = Open(2);
    ASSERT_NE(dialog, nullptr);
    SendDlgItemMessageW(dialog, mapwin::kIdcCityList, LVM_SETCOLUMNWIDTH, 0, 77);
    mapwin::CloseWorldMap();
    dialog = Open(2);
    ASSERT_NE(dialog, nullptr);
    SendMessageW(dialog, MSG_LANGUAGE_CHANGED, 0, 0);
    EXPECT_EQ(ListRows(dialog), g_cities.count);
    EXPECT_EQ(SendDlgItemMessageW(dialog, mapwin::kIdcCityList, LVM_GETCOLUMNWIDTH, 0, 0), 77);
    wchar_t caption[128] = {};
    GetWindowTextW(dialog, caption, 128);
    EXPECT_STREQ(caption, mapwin::MapDialogCaption().c_str());
}

}  // namespace
}  // namespace mapwin_test
