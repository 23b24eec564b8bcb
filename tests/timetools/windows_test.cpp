// The converter dialog and the time table window, created headless and
// driven by the messages their controls and the main window send.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/graphics/faces/clock_face.h"
#include "common/graphics/faces/clock_texts.h"
#include "common/settings/clock_sections.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/settings/localisation.h"
#include "common/settings/time_format.h"
#include "common/records/protocol.h"
#include "common/records/clock_table.h"
#include "common/zones/date_math.h"
#include "common/zones/local_zone.h"
#include "common/zones/zone_database.h"
#include "common/zones/zone_registry.h"
#include "common/zones/zone_updates.h"
#include "tempovia/timetools/time_converter.h"
#include "tempovia/timetools/time_table.h"
#include "tempovia/window/window.h"
#include "tests/support/machine_zone.h"
#include "tests/support/test_support.h"
#include "tests/timetools/timetools_fixtures.h"

using namespace timetools_tests;

namespace {

// res_en.dll of this build: bin\ beside the tests\ folder of the test program.
HMODULE EnglishLibrary() {
    static HMODULE module = [] {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        std::wstring folder = path;
        folder = folder.substr(0, folder.rfind(L'\\'));
        folder = folder.substr(0, folder.rfind(L'\\'));
        return LoadLibraryExW((folder + L"\\bin\\res_en.dll").c_str(), nullptr,
                              LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    }();
    return module;
}

SYSTEMTIME g_nowUtc{};
void FixedNow(SYSTEMTIME* utc) { *utc = g_nowUtc; }
void FixedToday(SYSTEMTIME* local) { *local = Utc(2030, 1, 15, 15, 20); }

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

std::wstring CellText(HWND list, int row, int column) {
    wchar_t text[64] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 64;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

SYSTEMTIME PickerTime(HWND picker) {
    SYSTEMTIME t{};
    EXPECT_EQ(SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t)), GDT_VALID);
    return t;
}

// What a picker sends its parent when the user changed it.
void Pick(HWND dialog, HWND picker, const SYSTEMTIME& value) {
    SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value));
    NMDATETIMECHANGE change{};
    change.nmhdr.hwndFrom = picker;
    change.nmhdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(picker));
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.dwFlags = GDT_VALID;
    change.st = value;
    SendMessageW(dialog, WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));
}

class TimeToolWindows : public ::testing::Test {
protected:
    TestZones zones;
    testing_support::TempDir dir;
    std::vector<ClockRecord> clocks;
    ClockRecord* savedClocks = g_clocks;
    int savedCount = g_clockCount;

    void SetUp() override {
        ASSERT_TRUE(zones.loaded());
        ASSERT_NE(EnglishLibrary(), nullptr) << "res_en.dll is built into bin\\ of this build";
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES | ICC_LISTVIEW_CLASSES | ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        RegisterWindowClasses(GetModuleHandleW(nullptr));
        Language().SetPluralInfo(EnglishLibrary(), kUnitNameIds);
        SetSettingsFolder(dir.path());
        SetUserNameOverride(L"tester");
        clocks = {zones.Clock(1, L"London"), zones.Clock(7, L"New York")};
        UseClocks();
        g_nowUtc = Utc(2030, 1, 15, 13, 40);
        SetConverterNowFn(FixedNow);
        SetTableTodayFn(FixedToday);
    }
    void TearDown() override {
        CloseTimeConverter();
        CloseTimeWindow();
        Pump();
        SetConverterNowFn(nullptr);
        SetTableTodayFn(nullptr);
        g_clocks = savedClocks;
        g_clockCount = savedCount;
        Language().SetPluralInfo(nullptr, nullptr);
        SetUserNameOverride(nullptr);
        SetSettingsFolder(L"");
    }
    void UseClocks() {
        g_clocks = clocks.empty() ? nullptr : clocks.data();
        g_clockCount = static_cast<int>(clocks.size());
    }
    std::wstring Ini(const wchar_t* key) {
        return ReadIniText(UserIniPath().c_str(), L"tester:main", key, L"");
    }
};

}  // namespace

TEST_F(TimeToolWindows, ConverterOpensAtTheNextHourAndFollowsPickedTimesAndDates) {
    ASSERT_TRUE(ShowTimeConverterDialog(nullptr));
    HWND dialog = GetTimeConverterWindow();
    ASSERT_TRUE(dialog);
    // At most one converter.
    EXPECT_EQ(ShowTimeConverterDialog(nullptr), dialog);
    wchar_t title[64] = {};
    GetWindowTextW(dialog, title, 64);
    EXPECT_STREQ(title, L"Time Converter");

    HWND londonTime = GetDlgItem(dialog, kConverterTimePickerId);
    HWND newYorkTime = GetDlgItem(dialog, kConverterTimePickerId + 1);
    HWND londonDate = GetDlgItem(dialog, kConverterDatePickerId);
    HWND newYorkDate = GetDlgItem(dialog, kConverterDatePickerId + 1);
    ASSERT_TRUE(londonTime && newYorkTime && londonDate && newYorkDate);
    EXPECT_EQ(Minutes(PickerTime(londonTime)), 14 * 60);
    EXPECT_EQ(Minutes(PickerTime(newYorkTime)), 9 * 60);
    // Both columns are laid out inside the dialog, side by side.
    RECT a{}, b{};
    GetWindowRect(londonTime, &a);
    GetWindowRect(newYorkTime, &b);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&a), 2);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&b), 2);
    EXPECT_GE(a.left, 0);
    EXPECT_GT(b.left, a.right);
    EXPECT_EQ(a.top, b.top);
    EXPECT_GT(a.top, 10 + 5);  // a face stands above the pickers
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_LE(b.right, client.right);
    EXPECT_LE(b.bottom, client.bottom);

    // London at 16:30 is New York at 11:30.
    SYSTEMTIME picked = PickerTime(londonTime);
    picked.wHour = 16;
    picked.wMinute = 30;
    Pick(dialog, londonTime, picked);
    EXPECT_EQ(Minutes(PickerTime(newYorkTime)), 11 * 60 + 30);
    EXPECT_EQ(Minutes(TimeConverterMoment()), 16 * 60 + 30);

    // New York's date to 15 July: daylight time on both sides.
    SYSTEMTIME july = Utc(2030, 7, 15, 11, 30);
    Pick(dialog, newYorkDate, july);
    const SYSTEMTIME londonJuly = PickerTime(londonDate);
    EXPECT_EQ(londonJuly.wMonth, 7);
    EXPECT_EQ(londonJuly.wDay, 15);
    EXPECT_EQ(Minutes(PickerTime(londonTime)), 16 * 60 + 30);

    // A picker that reports no date changes nothing.
    NMDATETIMECHANGE none{};
    none.nmhdr.hwndFrom = londonDate;
    none.nmhdr.idFrom = kConverterDatePickerId;
    none.nmhdr.code = DTN_DATETIMECHANGE;
    none.dwFlags = GDT_NONE;
    SendMessageW(dialog, WM_NOTIFY, kConverterDatePickerId, reinterpret_cast<LPARAM>(&none));
    EXPECT_EQ(TimeConverterMoment().wMonth, 7);

    // Painting the faces and the wheel over a picker do not fail.
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    SetFocus(newYorkTime);
    SendMessageW(dialog, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    Pump();

    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(GetTimeConverterWindow(), nullptr);
    EXPECT_FALSE(IsWindow(dialog));
}

TEST_F(TimeToolWindows, ConverterRebuildsOnReloadedSettingsKeepingTheMoment) {
    ASSERT_TRUE(ShowTimeConverterDialog(nullptr));
    HWND dialog = GetTimeConverterWindow();
    SYSTEMTIME picked = PickerTime(GetDlgItem(dialog, kConverterTimePickerId));
    picked.wHour = 20;
    Pick(dialog, GetDlgItem(dialog, kConverterTimePickerId), picked);

    clocks.push_back(zones.Clock(8, L"Flat"));
    UseClocks();
    SendMessageW(dialog, MSG_SETTINGS_CHANGED, 0, MSG_SETTINGS_CHANGED);
    HWND flatTime = GetDlgItem(dialog, kConverterTimePickerId + 2);
    ASSERT_TRUE(flatTime);
    EXPECT_EQ(Minutes(PickerTime(flatTime)), 23 * 60);
    EXPECT_EQ(Minutes(TimeConverterMoment()), 20 * 60);

    // A locale change keeps the columns and the moment.
    SendMessageW(dialog, MSG_SETTINGS_CHANGED, 0, 26);
    EXPECT_EQ(Minutes(PickerTime(flatTime)), 23 * 60);
    EXPECT_EQ(GetDlgItem(dialog, kConverterTimePickerId + 2), flatTime);
    // The computer's time changed: same moment, same columns.
    SendMessageW(dialog, MSG_SETTINGS_CHANGED, 0, 30);
    SendMessageW(dialog, WM_TIMECHANGE, 0, 0);
    EXPECT_EQ(Minutes(PickerTime(flatTime)), 23 * 60);

    clocks.resize(1);
    UseClocks();
    SendMessageW(dialog, MSG_SETTINGS_CHANGED, 0, MSG_SETTINGS_CHANGED);
    EXPECT_EQ(GetDlgItem(dialog, kConverterTimePickerId + 1), nullptr);
    EXPECT_TRUE(GetDlgItem(dialog, kConverterTimePickerId));
}

BOOL CALLBACK FindShownTip(HWND w, LPARAM found) {
    wchar_t name[32] = {};
    GetClassNameW(w, name, 32);
    if (lstrcmpiW(name, TOOLTIPS_CLASSW) != 0 || !IsWindowVisible(w)) return TRUE;
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
}

TEST_F(TimeToolWindows, ConverterOpenedLateCarriesTheDateAndTipsWithTheLabel) {
    g_nowUtc = Utc(2030, 1, 15, 23, 40);
    CopyBounded(clocks[0].label, L"Tea & cake");
    ASSERT_TRUE(ShowTimeConverterDialog(nullptr));
    HWND dialog = GetTimeConverterWindow();
    HWND londonDate = GetDlgItem(dialog, kConverterDatePickerId);
    EXPECT_EQ(PickerTime(londonDate).wDay, 16);
    EXPECT_EQ(Minutes(PickerTime(GetDlgItem(dialog, kConverterTimePickerId))), 0);
    EXPECT_EQ(TimeConverterMoment().wDay, 16);
    EXPECT_EQ(PickerTime(GetDlgItem(dialog, kConverterDatePickerId + 1)).wDay, 15);  // 19:00 in New York

    // The pointer over London's face, which stands above its date picker.
    RECT date{};
    GetWindowRect(londonDate, &date);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&date), 2);
    SendMessageW(dialog, WM_MOUSEMOVE, 0, MAKELPARAM((date.left + date.right) / 2, (10 + date.top - 5) / 2));
    HWND tip = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindShownTip, reinterpret_cast<LPARAM>(&tip));
    ASSERT_NE(tip, nullptr);
    wchar_t text[128] = {};
    GetWindowTextW(tip, text, 128);
    EXPECT_EQ(std::wstring(text).rfind(L"Tea &&& cake\r\n", 0), 0u) << text;
    EXPECT_EQ(std::wstring(text).find(L"(UTC"), std::wstring::npos) << text;
}

TEST_F(TimeToolWindows, ConverterWithoutClocksIsAnEmptyDialog) {
    clocks.clear();
    UseClocks();
    ASSERT_TRUE(ShowTimeConverterDialog(nullptr));
    HWND dialog = GetTimeConverterWindow();
    EXPECT_EQ(GetDlgItem(dialog, kConverterTimePickerId), nullptr);
    SendMessageW(dialog, MSG_SETTINGS_CHANGED, 0, MSG_SETTINGS_CHANGED);
    SendMessageW(dialog, MSG_SETTINGS_CHANGED, 0, 26);
    SendMessageW(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    CloseTimeConverter();
    EXPECT_EQ(GetTimeConverterWindow(), nullptr);
}

TEST_F(TimeToolWindows, ConverterReportsAMissingTemplate) {
    Language().SetPluralInfo(nullptr, nullptr);
    EXPECT_EQ(ShowTimeConverterDialog(nullptr), nullptr);
    EXPECT_EQ(GetTimeConverterWindow(), nullptr);
}

TEST_F(TimeToolWindows, TimeTableListsTheDayAndFollowsItsControls) {
    // A bad interval is ignored; a format name is taken and written back.
    WriteIniString(UserIniPath().c_str(), L"tester:main", L"ttable_interval", L"3");
    WriteIniString(UserIniPath().c_str(), L"tester:main", L"ttable_format", L"24 hours");
    // A clock the user turned off has its column as well.
    clocks.push_back(zones.Clock(7, L"Switched off"));
    clocks.back().enabled = 0;
    UseClocks();
    CTimeWindow* table = ShowTimeWindow(nullptr);
    ASSERT_TRUE(table);
    EXPECT_EQ(ShowTimeWindow(nullptr), table);
    EXPECT_EQ(TimeTableFormat(), kTableFormat24);
    EXPECT_EQ(TimeTableInterval(), 60);
    HWND list = table->ListView();
    ASSERT_TRUE(list);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 24);
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_FALSE(CellText(list, 0, 1).empty());
    EXPECT_EQ(table->ChosenDate().wDay, 15);
    EXPECT_EQ(table->ChosenDate().wHour, 0);

    // Five minutes from the interval combo.
    HWND interval = table->IntervalCombo();
    const int count = static_cast<int>(SendMessageW(interval, CB_GETCOUNT, 0, 0));
    ASSERT_EQ(count, 6);
    SendMessageW(interval, CB_SETCURSEL, count - 1, 0);
    SendMessageW(table->Handle(), WM_COMMAND, MAKEWPARAM(kTableIntervalComboId, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(interval));
    EXPECT_EQ(TimeTableInterval(), 5);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 288);

    // The clocks' own formats from the format combo.
    SendMessageW(table->FormatCombo(), CB_SETCURSEL, 3, 0);
    SendMessageW(table->Handle(), WM_COMMAND, MAKEWPARAM(kTableFormatComboId, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(table->FormatCombo()));
    EXPECT_EQ(TimeTableFormat(), kTableFormatClock);

    // A date picked.
    NMDATETIMECHANGE change{};
    change.nmhdr.hwndFrom = table->DatePicker();
    change.nmhdr.idFrom = kTableDatePickerId;
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.dwFlags = GDT_VALID;
    change.st = Utc(2030, 6, 2, 17, 5);
    SendMessageW(table->Handle(), WM_NOTIFY, kTableDatePickerId, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ(table->ChosenDate().wMonth, 6);
    EXPECT_EQ(table->ChosenDate().wDay, 2);
    EXPECT_EQ(table->ChosenDate().wHour, 0);
    change.dwFlags = GDT_NONE;
    change.st = SYSTEMTIME{};
    SendMessageW(table->Handle(), WM_NOTIFY, kTableDatePickerId, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ(table->ChosenDate().wMonth, 6);

    // A reload adds the new clock's column; a time change refills.
    clocks.push_back(zones.Clock(8, L"Flat"));
    UseClocks();
    RefreshTimeWindow(true);
    list = table->ListView();
    header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 5);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 288);
    RefreshTimeWindow(false);
    EXPECT_EQ(table->RowCount(), 288);
    RedrawWindow(table->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);

    CloseTimeWindow();
    Pump();
    EXPECT_EQ(TimeWindow(), nullptr);
    EXPECT_EQ(Ini(L"ttable_format"), L"Clock");
    EXPECT_EQ(Ini(L"ttable_interval"), L"5");

    // Reopened: the keys read back; a bad interval keeps what is in force.
    WriteIniString(UserIniPath().c_str(), L"tester:main", L"ttable_interval", L"90");
    WriteIniString(UserIniPath().c_str(), L"tester:main", L"ttable_format", L"24 hours");
    ASSERT_TRUE(ShowTimeWindow(nullptr));
    EXPECT_EQ(TimeTableInterval(), 5);
    EXPECT_EQ(TimeTableFormat(), kTableFormat24);
    CloseTimeWindow();
    Pump();
    EXPECT_EQ(Ini(L"ttable_format"), L"24 hours");
}

TEST_F(TimeToolWindows, TimeTableTintsCellsByProfiles) {
    ClockRecord& newYork = clocks[1];
    newYork.profilesEnabled = 1;
    newYork.profileCount = 1;
    newYork.profiles[0].enabled = 1;
    newYork.profiles[0].fromMinute = 0;
    newYork.profiles[0].toMinute = 1439;
    newYork.profiles[0].weekdayMask = 0x7F;
    newYork.profiles[0].colour = RGB(0, 0, 255);
    newYork.profiles[0].opacity = 255;
    CTimeWindow* table = ShowTimeWindow(nullptr);
    ASSERT_TRUE(table);
    ASSERT_GT(table->RowCount(), 0);
    EXPECT_EQ(table->CellColour(0, 0), GetSysColor(COLOR_WINDOW));
    int tinted = 0;
    for (int r = 0; r < table->RowCount(); ++r) tinted += table->CellColour(r, 1) == RGB(0, 0, 255) ? 1 : 0;
    EXPECT_GE(tinted, table->RowCount() - 1);
    // Out of range asks give the window's colour.
    EXPECT_EQ(table->CellColour(-1, 0), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(table->CellColour(0, 7), GetSysColor(COLOR_WINDOW));
}

// A reload frees the clock table before the table is rebuilt; a time change
// delivered meanwhile (a send to another program lets it in) fills again.
TEST_F(TimeToolWindows, TheTableNeverReadsAFreedClockTable) {
    CTimeWindow* table = ShowTimeWindow(nullptr);
    ASSERT_TRUE(table);
    auto cell = [&](int row, int column) { return CellText(table->ListView(), row, column); };
    const std::wstring newYork = cell(0, 2);
    ASSERT_NE(newYork, cell(0, 1));

    std::vector<ClockRecord> reloaded = clocks;
    // The freed memory now holds something else: London's clock in New York's place.
    clocks[1] = clocks[0];
    g_clocks = reloaded.data();
    RefreshTimeWindow(false);
    EXPECT_EQ(cell(0, 2), newYork);
    g_clocks = nullptr;
    g_clockCount = 0;
    RefreshTimeWindow(false);
    EXPECT_EQ(cell(0, 2), newYork);
    EXPECT_EQ(table->ClockCount(), 2);
}

TEST_F(TimeToolWindows, RefreshWithoutATableDoesNothing) {
    RefreshTimeWindow(true);
    RefreshTimeWindow(false);
    EXPECT_EQ(TimeWindow(), nullptr);
    clocks.clear();
    UseClocks();
    CTimeWindow* table = ShowTimeWindow(nullptr);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->ClockCount(), 0);
    EXPECT_EQ(SendMessageW(table->ListView(), LVM_GETITEMCOUNT, 0, 0), 1440 / TimeTableInterval());
}

namespace {

// A converter and a time table opened on a fixed moment of each season.
class MachineZoneTools : public TimeToolWindows, public ::testing::WithParamInterface<SYSTEMTIME> {
protected:
    static inline SYSTEMTIME today_{};
    static void MachineToday(SYSTEMTIME* local) { *local = today_; }
};

std::wstring TimeText24(const SYSTEMTIME& t) {
    wchar_t text[kTimeTextChars] = {};
    FormatTimeByName(text, kTimeTextChars, t, L"24 hours");
    return text;
}

}  // namespace

// "Here" on the computer's key as a first run stores it, a clock whose zone
// the table lacks and the computer's key with daylight saving unticked show
// what the machine's conversion says for that choice, in every tool.
TEST_P(MachineZoneTools, TaskbarConverterAndTableShowTheMachinesConversion) {
    const SYSTEMTIME moment = GetParam();
    FreeZoneUpdates();
    FreeZoneTables();
    ASSERT_TRUE(LoadZoneDatabase(testing_support::SourcePath(L"data\\timezones.txt").c_str()));
    ASSERT_TRUE(LoadZoneUpdates(testing_support::SourcePath(L"data\\tz_changes.txt").c_str()));
    RefreshLocalZone();
    wchar_t key[128] = {};
    if (GetCurrentZoneKeyName(key, 128) <= 0) GTEST_SKIP() << "the machine's zone has no registry key";
    const std::string own = "zone=" + std::string(key, key + wcslen(key));
    const std::string sections[] = {own + "\r\nusedaylight=" + (AutoDaylightActive() ? "1" : "0"),
                                    "zone=Atlantis Standard Time\r\nusedaylight=0", own + "\r\nusedaylight=0"};
    std::string ini = "[tester:main]\r\nttable_format=24 hours\r\nttable_interval=60\r\n";
    for (int n = 0; n < 3; ++n)
        ini += "[tester:clock" + std::to_string(n + 1) + "]\r\nenabled=1\r\ntimeformat=24 hours\r\n" + sections[n] + "\r\n";
    testing_support::WriteBytes(UserIniPath(), ini);
    clocks.assign(3, ClockRecord{});
    for (int n = 0; n < 3; ++n)
        ReadClockRecord(ClockSectionName(L"tester", n + 1).c_str(), UserIniPath().c_str(), clocks[n], false);
    UseClocks();
    auto want = [](int n, const SYSTEMTIME& utc) { return testing_support::MachineTime(utc, n < 2); };

    g_nowUtc = moment;
    AddMinutes(g_nowUtc, -30);  // the converter opens on the next whole hour
    HWND dialog = ShowTimeConverterDialog(nullptr);
    ASSERT_TRUE(dialog);
    for (int n = 0; n < 3; ++n) {
        ClockRecord face = clocks[n];  // the taskbar and desktop clocks' text
        CClock(&face, nullptr).HasChanged(moment);
        ClockTexts texts;
        FormatClockTexts(face, face.currentTime, texts);
        EXPECT_EQ(std::wstring(texts.time), TimeText24(want(n, moment))) << "taskbar, clock " << n + 1;
        SYSTEMTIME shown = PickerTime(GetDlgItem(dialog, kConverterDatePickerId + n));
        const SYSTEMTIME time = PickerTime(GetDlgItem(dialog, kConverterTimePickerId + n));
        shown.wHour = time.wHour;
        shown.wMinute = time.wMinute;
        EXPECT_EQ(testing_support::TimeText(shown), testing_support::TimeText(want(n, moment))) << "converter, clock " << n + 1;
    }

    // The table opened with rules left from before a change of the machine's
    // zone, then told of the change.
    today_ = testing_support::MachineTime(moment);
    SetTableTodayFn(MachineToday);
    clocks[1].zone.Bias += 120;
    CTimeWindow* table = ShowTimeWindow(nullptr);
    ASSERT_TRUE(table);
    RefreshLocalZone();
    RefreshTimeWindow(false);
    for (int row : {0, static_cast<int>(today_.wHour), 23}) {
        SYSTEMTIME local = today_;
        local.wHour = static_cast<WORD>(row);
        local.wMinute = 0;
        for (int n = 0; n < 3; ++n) {
            const std::wstring text = CellText(table->ListView(), row, n + 1);
            const std::wstring time = TimeText24(want(n, testing_support::MachineUtc(local)));
            EXPECT_EQ(text.substr(text.size() - std::min(text.size(), time.size())), time)
                << "table row " << row << ", clock " << n + 1;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(JanuaryAndJuly, MachineZoneTools, ::testing::ValuesIn(testing_support::kSeasonMoments));
