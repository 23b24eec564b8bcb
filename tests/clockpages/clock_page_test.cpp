#include <windows.h>
#include <commctrl.h>
#include <cderr.h>

#include <cwchar>
#include <memory>

#include "common/records/protocol.h"
#include "common/zones/city_list.h"
#include "common/platform/text_bounds.h"
#include "common/zones/zone_database.h"
#include "common/zones/zone_time.h"
#include "settings/page_clock.h"
#include "settings/page_clock_tables.h"
#include "tests/clockpages/page_fixture.h"

namespace clockpages_test {
namespace {

std::wstring Label(int city) {
    wchar_t label[kCityLabelChars];
    FormatCityLabel(g_cities.cities[city], label, kCityLabelChars);
    return label;
}

int ActionData(HWND page) {
    HWND list = GetDlgItem(page, IDC_CLOCK_ACTION);
    return static_cast<int>(SendMessageW(list, CB_GETITEMDATA, SendMessageW(list, CB_GETCURSEL, 0, 0), 0));
}

TEST_F(PageTest, ClockRoundTripsThroughTheControlsAndTakesTheCityZone) {
    HWND page = Create(kClockPageResource, ClockPageDlgProc);
    ASSERT_NE(page, nullptr);
    ClockRecord record = MakeRecord(0);
    const std::wstring label = Label(0);
    CopyBounded(record.location, label.c_str());
    CopyBounded(record.prefix, L"Home");
    record.action = kActionOpenUrl;
    CopyBounded(record.url, L"C:\\tools\\x.exe");
    record.on_desktop = 1;
    Load(page, record);
    EXPECT_EQ(Text(page, IDC_CLOCK_LOCATION), label);
    EXPECT_EQ(Text(page, IDC_CLOCK_PREFIX_MIRROR), L"Home");
    EXPECT_EQ(ActionData(page), 1);
    EXPECT_EQ(SendDlgItemMessageW(page, IDC_CLOCK_ACTION, CB_GETCOUNT, 0, 0), 7);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_CLOCK_URL)));
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_CLOCK_ON_DESKTOP), BST_CHECKED);
    EXPECT_TRUE(Changes().empty()) << "loading is no edit";

    ClockRecord out = MakeRecord(0);
    EXPECT_EQ(Store(page, out), nullptr);
    EXPECT_STREQ(out.prefix, L"Home");
    EXPECT_STREQ(out.label, L"Home");
    EXPECT_STREQ(out.url, L"C:\\tools\\x.exe");
    EXPECT_EQ(out.action, 1);
    EXPECT_EQ(out.on_desktop, 1);
    EXPECT_EQ(out.location, label);
    EXPECT_EQ(out.zone.id, g_cities.cities[0].zone->id);
}

// The dialog hides a page before the node it showed may be deleted: the
// page must not read that record again on a language change.
TEST_F(PageTest, AHiddenClockPageLetsGoOfItsRecord) {
    HWND page = Create(kClockPageResource, ClockPageDlgProc);
    ASSERT_NE(page, nullptr);
    auto record = std::make_unique<ClockRecord>(MakeRecord(0));
    Load(page, *record);
    ShowWindow(page, SW_SHOW);
    ShowWindow(page, SW_HIDE);
    // What lies there now is no plain clock's record any more.
    record->kind = kClockTimer | kClockCountdown;
    SendMessageW(page, MSG_LANGUAGE_CHANGED, 0, 0);
    EXPECT_EQ(SendDlgItemMessageW(page, IDC_CLOCK_ACTION, CB_GETCOUNT, 0, 0), 7);
    // Loading again before it is shown names the record afresh.
    Load(page, *record);
    SendMessageW(page, MSG_LANGUAGE_CHANGED, 0, 0);
    EXPECT_EQ(SendDlgItemMessageW(page, IDC_CLOCK_ACTION, CB_GETCOUNT, 0, 0), 8);
}

// The dialog lends the exchange block for its send; one from anywhere else
// (another process may send the message) is neither read nor written.
TEST_F(PageTest, AnExchangeBlockNotLentByTheDialogIsLeftAlone) {
    HWND page = Create(kClockPageResource, ClockPageDlgProc);
    ASSERT_NE(page, nullptr);
    ClockRecord record = MakeRecord(0);
    Load(page, record);
    PageExchangeBlock block = {&record, reinterpret_cast<HWND>(1)};
    SendMessageW(page, WM_PAGE_EXCHANGE, 1, reinterpret_cast<LPARAM>(&block));
    EXPECT_EQ(block.failedControl, reinterpret_cast<HWND>(1));
    EXPECT_EQ(Store(page, record), nullptr);
}

TEST_F(PageTest, OpenActionWithoutProgramNamesTheUrlAndUnknownActionsLoadAsFirst) {
    HWND page = Create(kClockPageResource, ClockPageDlgProc);
    ClockRecord record = MakeRecord(0);
    record.action = 1;
    CopyBounded(record.url, L"   ");
    Load(page, record);
    EXPECT_EQ(Store(page, record), GetDlgItem(page, IDC_CLOCK_URL));

    record.action = 9;
    Load(page, record);
    EXPECT_EQ(ActionData(page), 0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_CLOCK_URL)));
    EXPECT_EQ(Store(page, record), nullptr);
    EXPECT_EQ(record.action, 0);
}

TEST_F(PageTest, PrefixEditsAreMirroredAndAskForANewTitle) {
    HWND page = Create(kClockPageResource, ClockPageDlgProc);
    ClockRecord record = MakeRecord(0);
    Load(page, record);
    SetText(page, IDC_CLOCK_PREFIX, L"Office");
    EXPECT_EQ(Text(page, IDC_CLOCK_PREFIX_MIRROR), L"Office");
    const std::vector<WPARAM> changes = Changes();
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back(), 1u);
    SetText(page, IDC_CLOCK_PREFIX, L"a prefix far longer than thirty-one characters");
    Store(page, record);
    EXPECT_EQ(wcslen(record.prefix), 31u);
}

TEST_F(PageTest, ChosenCityGivesLocationPrefixBeforeCommaAndDaylight) {
    HWND page = Create(kClockPageResource, ClockPageDlgProc);
    ClockRecord record = MakeRecord(0);
    Load(page, record);
    const int zone = ZoneWithDaylight(true);
    ASSERT_GE(zone, 0);
    // The picker answers with an entry of the city table.
    CityRecord& city = g_cities.cities[0];
    const CityRecord shipped = city;
    CopyBounded(city.city, L"Washington, D.C. and a name well beyond thirty characters");
    CopyBounded(city.region, L"United States");
    city.zone = &g_zones.live[zone];
    SendMessageW(page, MSG_MAP_SELECT_CITY, 0, 0);
    EXPECT_EQ(Text(page, IDC_CLOCK_PREFIX), L"") << "a cancelled picker changes nothing";
    // A record outside the table (another process may send anything) is none.
    const CityRecord stray = city;
    const std::wstring location = Text(page, IDC_CLOCK_LOCATION);
    SendMessageW(page, MSG_MAP_SELECT_CITY, 0, reinterpret_cast<LPARAM>(&stray));
    SendMessageW(page, MSG_CITY_PICKED, 0, reinterpret_cast<LPARAM>(&stray));
    EXPECT_EQ(Text(page, IDC_CLOCK_PREFIX), L"");
    EXPECT_EQ(Text(page, IDC_CLOCK_LOCATION), location);
    SendMessageW(page, MSG_MAP_SELECT_CITY, 0, reinterpret_cast<LPARAM>(&city));
    city = shipped;
    EXPECT_EQ(Text(page, IDC_CLOCK_PREFIX), L"Washington");
    EXPECT_EQ(Text(page, IDC_CLOCK_PREFIX_MIRROR), L"Washington");
    EXPECT_EQ(Text(page, IDC_CLOCK_LOCATION), std::wstring(stray.city) + L", United States");
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_CLOCK_DAYLIGHT), BST_CHECKED);

    const int plain = ZoneWithDaylight(false);
    ASSERT_GE(plain, 0);
    SendMessageW(page, MSG_CITY_PICKED, 0, reinterpret_cast<LPARAM>(&g_zones.live[plain]));
    EXPECT_EQ(Text(page, IDC_CLOCK_LOCATION), g_zones.live[plain].displayName);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_CLOCK_DAYLIGHT), BST_UNCHECKED);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_CLOCK_DAYLIGHT)));
    Store(page, record);
    EXPECT_STREQ(record.location, L"") << "a zone name is no location";
    EXPECT_EQ(record.zone.id, g_zones.live[plain].id);
    EXPECT_EQ(record.usedaylight, 0);
    EXPECT_EQ(record.zoneHasDaylight, 0);
}

TEST_F(PageTest, LocalSystemTimeShowsTheSystemDaylightStateDisabled) {
    HWND page = Create(kClockPageResource, ClockPageDlgProc);
    ClockRecord record = MakeRecord(0);
    record.usedaylight = 1;
    Load(page, record);
    EXPECT_EQ(Text(page, IDC_CLOCK_LOCATION), kLocalSystemTimeKey);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_CLOCK_DAYLIGHT)));
    TIME_ZONE_INFORMATION tzi = {};
    GetTimeZoneInformation(&tzi);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_CLOCK_DAYLIGHT) == BST_CHECKED, tzi.DaylightBias != 0);
    Store(page, record);
    EXPECT_EQ(record.usedaylight, 0) << "a disabled box is not the user's choice";
}

TEST_F(PageTest, AnUnknownLocationKeepsItsZoneUntilTheUserChangesIt) {
    HWND page = Create(kClockPageResource, ClockPageDlgProc);
    ClockRecord record = MakeRecord(0);
    const int zone = ZoneWithDaylight(true);
    record.zone = g_zones.live[zone];
    CopyBounded(record.location, L"Atlantis, Nowhere");
    Load(page, record);
    // Left as it was: the store keeps the clock where it is.
    Store(page, record);
    EXPECT_STREQ(record.location, L"Atlantis, Nowhere");
    EXPECT_STREQ(record.zone.key, g_zones.live[zone].key);
    // A text the user changed and the lists do not know: local time.
    SetWindowTextW(GetDlgItem(page, IDC_CLOCK_LOCATION), L"Lemuria, Nowhere");
    Store(page, record);
    EXPECT_STREQ(record.location, L"");
    EXPECT_STREQ(record.zone.key, kLocalSystemTimeKey);
    EXPECT_EQ(record.zone.id, 0);
}

TEST_F(PageTest, CountdownDurationLoadsSplitAndBadFieldsKeepTheOldValue) {
    HWND page = Create(kCountdownPageResource, ClockPageDlgProc);
    ASSERT_NE(page, nullptr);
    ClockRecord record = MakeRecord(kClockTimer | kClockCountdown);
    record.duration = 1 * 86400 + 2 * 3600 + 3 * 60 + 4;
    const int zone = ZoneWithDaylight(true);
    record.zone = g_zones.live[zone];
    CopyBounded(record.location, L"kept");
    Load(page, record);
    EXPECT_EQ(SendDlgItemMessageW(page, IDC_CLOCK_ACTION, CB_GETCOUNT, 0, 0), 8);
    EXPECT_EQ(Text(page, IDC_TIMER_DAYS), L"1");
    EXPECT_EQ(Text(page, IDC_TIMER_HOURS), L"2");
    EXPECT_EQ(Text(page, IDC_TIMER_MINUTES), L"3");
    EXPECT_EQ(Text(page, IDC_TIMER_SECONDS), L"4");
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_TIMER_FOR_DURATION), BST_CHECKED);
    for (int id : {IDC_CLOCK_PICK_LOCATION, IDC_CLOCK_DAYLIGHT, IDC_TIMER_DATE, IDC_TIMER_TIME}) {
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, id))) << id;
    }
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_TIMER_DAYS)));

    SetText(page, IDC_TIMER_MINUTES, L"90");
    EXPECT_EQ(Store(page, record), nullptr);
    EXPECT_EQ(record.duration, 86400u + 7200 + 5400 + 4);
    EXPECT_STREQ(record.location, L"kept") << "a timer without a set date has no location";
    EXPECT_EQ(record.zone.id, g_zones.live[zone].id);

    for (const wchar_t* bad : {L"x", L"", L"-5"}) {
        SetText(page, IDC_TIMER_HOURS, bad);
        Store(page, record);
        EXPECT_EQ(record.duration, 86400u + 7200 + 5400 + 4) << bad;
    }
    SetText(page, IDC_TIMER_HOURS, L"2");
    SetText(page, IDC_TIMER_SECONDS, L"9999999999");
    Store(page, record);
    EXPECT_EQ(record.duration, 86400u + 7200 + 5400 + 4) << "a sum beyond 32 bits is refused";
    SetText(page, IDC_TIMER_SECONDS, L"7 s");
    Store(page, record);
    EXPECT_EQ(record.duration, 86400u + 7200 + 5400 + 7);
}

TEST_F(PageTest, CountdownToADateStoresTheMomentInTheChosenZone) {
    HWND page = Create(kCountdownPageResource, ClockPageDlgProc);
    ClockRecord record = MakeRecord(kClockTimer | kClockCountdown);
    record.duration = 600;
    Load(page, record);
    Click(page, IDC_TIMER_TO_DATE);
    EXPECT_FALSE(Changes().empty());
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_TIMER_DATE)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_CLOCK_PICK_LOCATION)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_TIMER_DAYS)));

    SYSTEMTIME when = {2031, 7, 0, 15, 18, 30, 45, 123};
    SendDlgItemMessageW(page, IDC_TIMER_DATE, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&when));
    SendDlgItemMessageW(page, IDC_TIMER_TIME, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&when));
    const int zone = ZoneWithDaylight(true);
    SetText(page, IDC_CLOCK_LOCATION, g_zones.live[zone].displayName);
    Store(page, record);
    EXPECT_NE(record.kind & kClockSetDate, 0u);
    EXPECT_EQ(record.duration, 0u);
    EXPECT_EQ(record.targetTime.wYear, 2031);
    EXPECT_EQ(record.targetTime.wHour, 18);
    EXPECT_EQ(record.targetTime.wSecond, 45);
    EXPECT_EQ(record.targetTime.wMilliseconds, 0);
    EXPECT_EQ(record.zone.id, g_zones.live[zone].id);
    SYSTEMTIME utc = {};
    ASSERT_TRUE(ZoneTimeToUtc(&utc, g_zones.live[zone], record.targetTime));
    FILETIME ft = {};
    SystemTimeToFileTime(&utc, &ft);
    EXPECT_EQ(record.start, (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);

    ClockRecord again = record;
    Load(page, again);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_TIMER_TO_DATE), BST_CHECKED);
    Click(page, IDC_TIMER_FOR_DURATION);
    Store(page, again);
    EXPECT_EQ(again.kind & kClockSetDate, 0u);
}

TEST_F(PageTest, StopwatchStartTimeFollowsItsCheckBox) {
    HWND page = Create(kStopwatchPageResource, ClockPageDlgProc);
    ASSERT_NE(page, nullptr);
    ClockRecord record = MakeRecord(kClockTimer);
    Load(page, record);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_TIMER_TIME)));
    Click(page, IDC_TIMER_FROM_START);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_TIMER_TIME)));
    Store(page, record);
    EXPECT_TRUE(HasSetDate(record));
}

TEST_F(PageTest, OnDesktopNoticeOnlyForTheShownClock) {
    HWND page = Create(kClockPageResource, ClockPageDlgProc);
    ClockRecord record = MakeRecord(0);
    Load(page, record);
    SendMessageW(page, SETTINGS_MSG_ON_DESKTOP, 4, 1);
    EXPECT_EQ(record.on_desktop, 0);
    SendMessageW(page, SETTINGS_MSG_ON_DESKTOP, 3, 1);
    EXPECT_EQ(record.on_desktop, 1);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_CLOCK_ON_DESKTOP), BST_CHECKED);
    EXPECT_TRUE(Changes().empty());
}

std::vector<std::wstring> g_offered;
int g_dialogCalls = 0;

BOOL WINAPI FakeOpenFile(OPENFILENAMEW* ofn) {
    g_offered.push_back(ofn->lpstrFile);
    if (++g_dialogCalls == 1) return FALSE;
    CopyBounded(ofn->lpstrFile, ofn->nMaxFile, L"C:\\Programs\\tool.exe");
    return TRUE;
}
DWORD WINAPI InvalidName() { return FNERR_INVALIDFILENAME; }

TEST_F(PageTest, BrowseRetriesWithoutAnInvalidNameAndTakesThePath) {
    ClockPageServices services;
    services.getOpenFileName = FakeOpenFile;
    services.commDlgError = InvalidName;
    SetPageServices(services);
    g_offered.clear();
    g_dialogCalls = 0;
    HWND page = Create(kClockPageResource, ClockPageDlgProc);
    ClockRecord record = MakeRecord(0);
    record.action = 1;
    Load(page, record);
    SetText(page, IDC_CLOCK_URL, L"http://example.test/?a|b");
    Click(page, IDC_CLOCK_BROWSE);
    ASSERT_EQ(g_offered.size(), 2u);
    EXPECT_EQ(g_offered[0], L"http://example.test/?a|b");
    EXPECT_EQ(g_offered[1], L"");
    EXPECT_STREQ(record.url, L"C:\\Programs\\tool.exe");
    EXPECT_EQ(Text(page, IDC_CLOCK_URL), L"C:\\Programs\\tool.exe");
}

}  // namespace
}  // namespace clockpages_test

namespace clockpages_test {
namespace {

int g_pickerCity = -2;
HWND g_pickerOpener = nullptr;
std::vector<UINT> g_pickerMessages;
LRESULT CALLBACK PickerProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m >= WM_APP) g_pickerMessages.push_back(m);
    return DefWindowProcW(w, m, wp, lp);
}
HWND g_picker = nullptr;
bool ShowPicker(HWND page, int city) {
    g_pickerOpener = page;
    g_pickerCity = city;
    return true;
}
HWND PickerWindow() { return g_picker; }

TEST_F(PageTest, PickerOpensAtTheShownCityAndHearsOfClouds) {
    ClockPageServices services;
    services.showLocationPicker = ShowPicker;
    services.locationPickerWindow = PickerWindow;
    SetPageServices(services);
    g_picker = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(g_picker, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PickerProc));
    HWND page = Create(kClockPageResource, ClockPageDlgProc);
    ClockRecord record = MakeRecord(0);
    const std::wstring label = Label(2);
    CopyBounded(record.location, label.c_str());
    Load(page, record);
    Click(page, IDC_CLOCK_PICK_LOCATION);
    EXPECT_EQ(g_pickerOpener, page);
    EXPECT_EQ(g_pickerCity, FindCity(label.c_str()));
    SendMessageW(page, MSG_CLOUDS_CHANGED, 0, 1);
    EXPECT_EQ(g_pickerMessages, std::vector<UINT>{MSG_CLOUDS_CHANGED});
    DestroyWindow(g_picker);
    g_picker = nullptr;
}

}  // namespace
}  // namespace clockpages_test
