#include "tests/mapwin/map_fixture.h"

#include <commctrl.h>

#include "common/mapdialog/map_dialog.h"
#include "common/settings/ini_paths.h"
#include "common/mapdialog/map_plugin_loader.h"
#include "common/zones/city_list.h"
#include "common/zones/zone_database.h"
#include "tempovia/mapwin/map_host.h"

namespace mapwin_test {

namespace {

int RecordBox(HWND, const wchar_t* text, const wchar_t* caption, UINT type) {
    ErrorBoxes().push_back({text ? text : L"", caption ? caption : L"", type});
    return IDOK;
}

std::wstring TestProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

}  // namespace

std::vector<ErrorBox>& ErrorBoxes() {
    static std::vector<ErrorBox> boxes;
    return boxes;
}

void MapTest::SetUp() {
    if (!g_zones.live) {
        ASSERT_TRUE(LoadZoneDatabase(testing_support::SourcePath(L"data/timezones.txt").c_str()));
        ASSERT_TRUE(LoadCityList(testing_support::SourcePath(L"data/cities.txt").c_str()));
    }
    SetSettingsFolder(Folder());
    SetUserNameOverride(L"tester");
    ErrorBoxes().clear();
    SetMapErrorBoxFn(RecordBox);
    SetSystemSeam(&shell_);
    SetEnvironmentVariableW(L"STANDIN_MAP_LOG", dir_.file(L"plugin.log").c_str());
    SetEnvironmentVariableW(L"STANDIN_MAP_INIT", nullptr);
    SetEnvironmentVariableW(L"STANDIN_MAP_STATUS", nullptr);
    SetEnvironmentVariableW(L"STANDIN_MAP_SYSERR", nullptr);
    mapwin::SetMainMapHooks(mapwin::MainMapHooks());
}

void MapTest::TearDown() {
    mapwin::CloseWorldMap();
    UnloadMapPlugin();
    SetSystemSeam(nullptr);
    SetMapErrorBoxFn(nullptr);
    SetUserNameOverride(nullptr);
    SetSettingsFolder(L"");
    PumpMessages();
}

void MapTest::InstallPlugin(const wchar_t* variant) {
    const std::wstring source = TestProgramFolder() + L"standin_map_" + variant + L".dll";
    ASSERT_TRUE(CopyFileW(source.c_str(), dir_.file(L"kartix.dll").c_str(), FALSE)) << "no " << source.size();
}

std::vector<std::string> MapTest::PluginLog() const {
    std::vector<std::string> lines;
    const std::string text = testing_support::ReadBytes(dir_.file(L"plugin.log"));
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

bool MapTest::Logged(const std::string& line) const {
    for (const std::string& l : PluginLog()) {
        if (l == line) return true;
    }
    return false;
}

std::wstring MapTest::IniValue(const wchar_t* section, const wchar_t* key) const {
    wchar_t value[256] = {};
    GetPrivateProfileStringW(section, key, L"<missing>", value, 256, Ini().c_str());
    return value;
}

void MapTest::PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

int ListRows(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageW(dialog, mapwin::kIdcCityList, LVM_GETITEMCOUNT, 0, 0));
}

LPARAM SelectedData(HWND dialog) {
    HWND list = GetDlgItem(dialog, mapwin::kIdcCityList);
    const int row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0) return -1;
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

std::wstring RowText(HWND dialog, int row, int column) {
    wchar_t text[260] = {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 260;
    SendDlgItemMessageW(dialog, mapwin::kIdcCityList, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

HWND MapChild(HWND dialog) { return FindWindowExW(dialog, nullptr, L"StandinMapWindow", nullptr); }

}  // namespace mapwin_test
