// The settings program's location picker: run modally for a page, replies to
// the page, the main program told while the map is in use, and the window
// class that hosts the same procedure.
#include <windows.h>
#include <commctrl.h>

#include <functional>

#include "common/mapdialog/map_dialog.h"
#include "common/mapdialog/map_plugin_loader.h"
#include "common/records/protocol.h"
#include "common/zones/city_list.h"
#include "common/zones/zone_database.h"
#include "settings/frame_window.h"
#include "settings/location_picker.h"
#include "settings/settings_app.h"
#include "tests/mapwin/map_fixture.h"

namespace mapwin_test {
namespace {

struct Reply {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Reply> g_pageReplies;
std::vector<WPARAM> g_mapInUse;
std::function<void(HWND picker)> g_action;
int g_selectedAtStart = -2;

LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == MSG_MAP_SELECT_CITY || message == MSG_CITY_PICKED) {
        g_pageReplies.push_back({message, wParam, lParam});
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == MSG_MAP_IN_USE) {
        g_mapInUse.push_back(wParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Runs inside the picker's modal loop.
void CALLBACK DriveTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND picker = LocationPickerWindow();
    if (!picker) return;
    g_selectedAtStart = static_cast<int>(SelectedData(picker));
    if (g_action) g_action(picker);
}

class PickerTest : public MapTest {
protected:
    void SetUp() override {
        MapTest::SetUp();
        g_pageReplies.clear();
        g_mapInUse.clear();
        g_selectedAtStart = -2;
        g_settingsApp.instance = GetModuleHandleW(nullptr);
        g_settingsApp.programFolder = Folder();
        g_settingsApp.pickerIcon = LoadIconW(nullptr, IDI_APPLICATION);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = PageProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"PickerTestPage";
        RegisterClassW(&wc);
        wc.lpfnWndProc = MainProc;
        wc.lpszClassName = L"TempoviaClass";
        RegisterClassW(&wc);
        page_ = CreateWindowExW(0, L"PickerTestPage", L"page", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                wc.hInstance, nullptr);
        CreateWindowExW(0, L"Edit", L"", WS_CHILD, 0, 0, 50, 20, page_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(1160)), wc.hInstance, nullptr);
        main_ = CreateWindowExW(0, L"TempoviaClass", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                wc.hInstance, nullptr);
    }
    void TearDown() override {
        g_action = nullptr;
        DestroyWindow(page_);
        DestroyWindow(main_);
        UnregisterClassW(L"PickerTestPage", GetModuleHandleW(nullptr));
        UnregisterClassW(L"TempoviaClass", GetModuleHandleW(nullptr));
        g_settingsApp = SettingsApp();
        MapTest::TearDown();
    }

    bool Run(std::function<void(HWND)> action) {
        g_action = std::move(action);
        SetTimer(nullptr, 0, 20, DriveTimer);
        return ShowLocationPicker(page_);
    }

    HWND page_ = nullptr;
    HWND main_ = nullptr;
};

void Press(HWND picker, int id) { SendMessageW(picker, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

TEST_F(PickerTest, ConfirmedCityGoesToThePage) {
    wchar_t label[kCityLabelChars] = {};
    FormatCityLabel(g_cities.cities[9], label, kCityLabelChars);
    SetDlgItemTextW(page_, 1160, label);
    const int expected = FindCity(label);
    ASSERT_GE(expected, 0);
    EXPECT_TRUE(Run([](HWND picker) {
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(picker, IDOK)));
        Press(picker, IDOK);
    }));
    EXPECT_EQ(g_selectedAtStart, expected);
    ASSERT_EQ(g_pageReplies.size(), 1u);
    EXPECT_EQ(g_pageReplies[0].message, MSG_MAP_SELECT_CITY);
    EXPECT_EQ(g_pageReplies[0].wParam, static_cast<WPARAM>(expected));
    EXPECT_EQ(g_pageReplies[0].lParam, reinterpret_cast<LPARAM>(&g_cities.cities[expected]));
    EXPECT_EQ(LocationPickerWindow(), nullptr);
    // Without the plug-in: reported once, no map, the main program not told.
    ASSERT_EQ(ErrorBoxes().size(), 1u);
    EXPECT_EQ(ErrorBoxes()[0].text, L"Can not load kartix.dll");
    EXPECT_TRUE(g_mapInUse.empty());
    EXPECT_EQ(IniValue(L"map", L"initialized"), L"0");
    Run([](HWND picker) { Press(picker, IDCANCEL); });
    EXPECT_EQ(ErrorBoxes().size(), 1u);
}

TEST_F(PickerTest, UnknownLocationStartsWithoutSelectionAndCancelRepliesNone) {
    SetDlgItemTextW(page_, 1160, L"Nowhere, Neverland");
    EXPECT_FALSE(Run([](HWND picker) {
        // The icon the program loaded for its picker is the picker's.
        EXPECT_EQ(SendMessageW(picker, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(g_settingsApp.pickerIcon));
        Press(picker, IDCANCEL);
    }));
    EXPECT_EQ(g_selectedAtStart, -1);
    ASSERT_EQ(g_pageReplies.size(), 1u);
    EXPECT_EQ(g_pageReplies[0].message, MSG_MAP_SELECT_CITY);
    EXPECT_EQ(g_pageReplies[0].wParam, static_cast<WPARAM>(-1));
    EXPECT_EQ(g_pageReplies[0].lParam, 0);
}

TEST_F(PickerTest, ConfirmedZoneGoesToThePage) {
    EXPECT_TRUE(Run([](HWND picker) {
        HWND zones = nullptr;
        for (HWND c = GetWindow(picker, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            if (GetDlgCtrlID(c) == mapwin::kIdcListMode) zones = c;
        }
        SendMessageW(picker, WM_COMMAND, MAKEWPARAM(mapwin::kIdcListMode, BN_CLICKED), reinterpret_cast<LPARAM>(zones));
        LVITEMW item = {};
        item.stateMask = item.state = LVIS_SELECTED;
        SendDlgItemMessageW(picker, mapwin::kIdcCityList, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
        Press(picker, IDOK);
    }));
    ASSERT_EQ(g_pageReplies.size(), 1u);
    EXPECT_EQ(g_pageReplies[0].message, MSG_CITY_PICKED);
    EXPECT_EQ(g_pageReplies[0].lParam, reinterpret_cast<LPARAM>(&g_zones.live[0]));
}

TEST_F(PickerTest, WithThePluginTheMainProgramIsToldWhileTheMapIsInUse) {
    InstallPlugin(L"full");
    SetDlgItemTextW(page_, 1160, L"");
    bool hadMap = false;
    EXPECT_TRUE(Run([&](HWND picker) {
        hadMap = MapChild(picker) != nullptr;
        EXPECT_EQ(g_mapInUse, std::vector<WPARAM>{1});
        SendMessageW(picker, MSG_MAP_SELECT_CITY, 4, reinterpret_cast<LPARAM>(&g_cities.cities[4]));
        // The main settings dialog forwards the clouds to the open picker.
        SendMessageW(picker, MSG_CLOUDS_CHANGED, 0, 1);
        Press(picker, IDOK);
    }));
    EXPECT_TRUE(hadMap);
    EXPECT_EQ(g_mapInUse, (std::vector<WPARAM>{1, 0}));
    EXPECT_EQ(IniValue(L"map", L"initialized"), L"1");
    EXPECT_TRUE(Logged("message 203 0 1"));
    ASSERT_EQ(g_pageReplies.size(), 1u);
    EXPECT_EQ(g_pageReplies[0].wParam, 4u);
    EXPECT_TRUE(ErrorBoxes().empty());
}

TEST_F(PickerTest, HostWindowClassRunsThePickerAndDisablesTheOpenerMeanwhile) {
    RECT r = {10, 20, 30, 40};
    InflateRectBy(r, 2, 3);
    EXPECT_EQ(r.left, 8);
    EXPECT_EQ(r.top, 17);
    EXPECT_EQ(r.right, 32);
    EXPECT_EQ(r.bottom, 43);

    WNDCLASSW wc = {};
    wc.lpfnWndProc = MapHostWndProc;
    wc.cbWndExtra = kMapHostExtraBytes;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PickerTestHost";
    ASSERT_TRUE(RegisterClassW(&wc));
    HWND host = CreateWindowExW(0, L"PickerTestHost", L"", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr,
                                wc.hInstance, nullptr);
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(LocationPickerWindow(), host);
    EXPECT_EQ(ListRows(host), g_cities.count);
    SendMessageW(host, MSG_MAP_SELECT_CITY, 2, reinterpret_cast<LPARAM>(&g_cities.cities[2]));
    EXPECT_EQ(SelectedData(host), 2);
    SendMessageW(host, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(host));
    EXPECT_EQ(LocationPickerWindow(), nullptr);
    UnregisterClassW(L"PickerTestHost", wc.hInstance);
}

}  // namespace
}  // namespace mapwin_test
