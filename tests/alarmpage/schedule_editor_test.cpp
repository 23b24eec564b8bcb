// Each schedule editor loads its kind from the alarm and stores it back, and
// names the control of a bad value while storing the rest.
#include <windows.h>

#include <commctrl.h>

#include "settings/page_alarm.h"
#include "settings/schedule_editor.h"
#include "tests/alarmpage/page_fixture.h"

namespace alarmpage_test {
namespace {

SYSTEMTIME Moment(int year, int month, int day, int hour, int minute, int second = 0) {
    SYSTEMTIME t = {};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    return t;
}

int ThisYear() {
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    return now.wYear;
}

SYSTEMTIME PickerDate(HWND picker) {
    SYSTEMTIME t = {};
    SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
    return t;
}

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// The page is made when the settings program starts; its six editors only
// when it first shows an alarm.
TEST_F(AlarmPageTest, EditorsAreMadeAtTheFirstLoad) {
    ASSERT_NE(Create(kAlarmPageClock), nullptr);
    for (int kind = 0; kind < kScheduleKinds; ++kind) EXPECT_EQ(Editor(kind), nullptr) << kind;
    AlarmRecord a = MakeAlarm(kAlarmDaily);
    Load(a);
    for (int kind = 0; kind < kScheduleKinds; ++kind) EXPECT_NE(Editor(kind), nullptr) << kind;
    HWND daily = Editor(kAlarmDaily);
    EXPECT_TRUE(IsWindowVisible(daily));
    Load(a);
    EXPECT_EQ(Editor(kAlarmDaily), daily);
}

TEST_F(AlarmPageTest, OnceEditorShowsAndStoresItsMoment) {
    ASSERT_NE(Create(kAlarmPageClock), nullptr);
    AlarmRecord a = MakeAlarm(kAlarmOnce);
    a.onceTime = Moment(2031, 3, 12, 7, 30);
    Load(a);
    EXPECT_TRUE(Checked(page_, 1091));
    ASSERT_NE(Editor(kAlarmOnce), nullptr);
    EXPECT_TRUE(IsWindowVisible(Editor(kAlarmOnce)));
    EXPECT_FALSE(IsWindowVisible(Editor(kAlarmDaily)));
    const SYSTEMTIME shown = PickerDate(EditorItem(kAlarmOnce, kIdcStartDate));
    EXPECT_EQ(shown.wYear, 2031);
    EXPECT_EQ(shown.wMonth, 3);
    EXPECT_EQ(shown.wDay, 12);
    EXPECT_EQ(Text(EditorItem(kAlarmOnce, kIdcTimeOfDay)), L"07:30");

    SetText(EditorItem(kAlarmOnce, kIdcTimeOfDay), L"08:15:30");
    EXPECT_EQ(Store(a), nullptr);
    EXPECT_EQ(a.type, kAlarmOnce);
    EXPECT_EQ(a.onceTime.wDay, 12);
    EXPECT_EQ(a.onceTime.wHour, 8);
    EXPECT_EQ(a.onceTime.wMinute, 15);
    EXPECT_EQ(a.onceTime.wSecond, 30);

    // A time that does not parse is named; the time stays, the rest is stored.
    SetText(Item(kIdcAlarmComment), L"Dentist");
    SetText(EditorItem(kAlarmOnce, kIdcTimeOfDay), L"25:99");
    EXPECT_EQ(Store(a), EditorItem(kAlarmOnce, kIdcTimeOfDay));
    EXPECT_EQ(a.onceTime.wHour, 8);
    EXPECT_STREQ(a.comment, L"Dentist");
}

// The dialog hides a page before the node it showed may be deleted: the
// page and its editors must not read that alarm again when the time format
// changes.
TEST_F(AlarmPageTest, AHiddenPageLetsGoOfItsAlarm) {
    ASSERT_NE(Create(kAlarmPageClock), nullptr);
    AlarmRecord a = MakeAlarm(kAlarmOnce);
    a.onceTime = Moment(2031, 3, 12, 8, 0);
    Load(a);
    ShowWindow(page_, SW_HIDE);
    a.onceTime.wHour = 7;  // the memory now holds something else
    a.onceTime.wMinute = 15;
    SendMessageW(page_, WM_WININICHANGE, 0, 0);
    EXPECT_EQ(Text(EditorItem(kAlarmOnce, kIdcTimeOfDay)).find(L"7:15"), std::wstring::npos);
    Load(a);
    EXPECT_NE(Text(EditorItem(kAlarmOnce, kIdcTimeOfDay)).find(L"7:15"), std::wstring::npos);
}

TEST_F(AlarmPageTest, DailyEditorKeepsWorkingDaysAsANegativeInterval) {
    ASSERT_NE(Create(kAlarmPageClock), nullptr);
    AlarmRecord a = MakeAlarm(kAlarmDaily);
    a.dailyStart = Moment(2030, 6, 1, 6, 45);
    a.dailyInterval = -3;
    Load(a);
    HWND daily = Editor(kAlarmDaily);
    EXPECT_TRUE(IsWindowVisible(daily));
    EXPECT_EQ(Text(GetDlgItem(daily, kIdcDailyInterval)), L"3");
    EXPECT_TRUE(Checked(daily, kIdcDailyWorkdays));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(daily, kIdcDailyInterval)));
    EXPECT_EQ(Store(a), nullptr);
    EXPECT_EQ(a.dailyInterval, -3);
    EXPECT_EQ(a.dailyStart.wHour, 6);
    EXPECT_EQ(a.dailyStart.wMinute, 45);

    // Back to every N days: the radio enables the interval and is a change.
    Click(daily, kIdcDailyEveryN);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(daily, kIdcDailyInterval)));
    EXPECT_GE(TakeChanges(), 1);
    SetText(GetDlgItem(daily, kIdcDailyInterval), L"5");
    EXPECT_EQ(Store(a), nullptr);
    EXPECT_EQ(a.dailyInterval, 5);

    SetText(GetDlgItem(daily, kIdcDailyInterval), L"");
    EXPECT_EQ(Store(a), GetDlgItem(daily, kIdcDailyInterval));
    EXPECT_EQ(a.dailyInterval, 0);
}

TEST_F(AlarmPageTest, WeeklyEditorMapsWeekdaysToTheMask) {
    ASSERT_NE(Create(kAlarmPageClock), nullptr);
    AlarmRecord a = MakeAlarm(kAlarmWeekly);
    a.weeklyStart = Moment(2030, 1, 7, 9, 0);
    a.weeklyInterval = 2;
    a.weekdayMask = (1u << 1) | (1u << 5);  // Monday, Friday
    Load(a);
    HWND weekly = Editor(kAlarmWeekly);
    EXPECT_EQ(Text(GetDlgItem(weekly, kIdcWeeklyInterval)), L"2");
    for (int day = 0; day < 7; ++day) {
        EXPECT_EQ(Checked(weekly, kIdcWeekdayChecks[day]), day == 1 || day == 5) << day;
    }
    Click(weekly, kIdcWeekdayChecks[6]);
    Click(weekly, kIdcWeekdayChecks[1]);
    EXPECT_EQ(Store(a), nullptr);
    EXPECT_EQ(a.weekdayMask, (1u << 5) | (1u << 6));

    SetText(GetDlgItem(weekly, kIdcWeeklyInterval), L"54");
    EXPECT_EQ(Store(a), GetDlgItem(weekly, kIdcWeeklyInterval));
    EXPECT_EQ(a.weeklyInterval, 2);
    SetText(GetDlgItem(weekly, kIdcWeeklyInterval), L"53");
    EXPECT_EQ(Store(a), nullptr);
    EXPECT_EQ(a.weeklyInterval, 53);
}

TEST_F(AlarmPageTest, MonthlyEditorFixedDayNthAndLastWeekday) {
    ASSERT_NE(Create(kAlarmPageClock), nullptr);
    const int year = ThisYear() + 1;
    AlarmRecord a = MakeAlarm(kAlarmMonthly);
    a.monthlyByWeekday = 1;
    a.monthlyWhich = 5;  // last
    a.monthlyWeekday = 3;
    a.monthlyDay = 15;
    a.monthlyInterval = -2;
    a.monthlyStartMonth = 4;
    a.monthlyStartYear = static_cast<uint32_t>(year);
    a.monthlyTime = 18 * 3600 + 20 * 60 + 5;
    Load(a);
    HWND monthly = Editor(kAlarmMonthly);
    EXPECT_TRUE(Checked(monthly, kIdcMonthlyByWeekday));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(monthly, kIdcMonthlyDay)));
    EXPECT_EQ(ComboSelection(monthly, kIdcMonthlyWhich), 4);
    EXPECT_EQ(ComboSelection(monthly, kIdcMonthlyWeekday), 3);
    EXPECT_EQ(ComboSelection(monthly, kIdcMonthlyStartMonth), 3);
    EXPECT_EQ(ComboSelection(monthly, kIdcMonthlyStartYear), 1);
    EXPECT_EQ(Text(GetDlgItem(monthly, kIdcMonthlyInterval)), L"2");
    EXPECT_EQ(Text(GetDlgItem(monthly, kIdcTimeOfDay)), L"18:20:05");

    // The second Tuesday, every month.
    SelectCombo(monthly, kIdcMonthlyWhich, 1);
    SelectCombo(monthly, kIdcMonthlyWeekday, 2);
    SetText(GetDlgItem(monthly, kIdcMonthlyInterval), L"1");
    EXPECT_EQ(Store(a), nullptr);
    EXPECT_EQ(a.monthlyByWeekday, 1);
    EXPECT_EQ(a.monthlyWhich, 2u);
    EXPECT_EQ(a.monthlyWeekday, 2u);
    EXPECT_EQ(a.monthlyInterval, 1);
    EXPECT_EQ(a.monthlyStartYear, static_cast<uint32_t>(year));

    // A fixed day: 1..31 only, and the interval 1..12.
    Click(monthly, kIdcMonthlyFixed);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(monthly, kIdcMonthlyDay)));
    SetText(GetDlgItem(monthly, kIdcMonthlyDay), L"32");
    EXPECT_EQ(Store(a), GetDlgItem(monthly, kIdcMonthlyDay));
    EXPECT_EQ(a.monthlyByWeekday, 0);
    EXPECT_EQ(a.monthlyDay, 15u);
    SetText(GetDlgItem(monthly, kIdcMonthlyDay), L"31");
    SetText(GetDlgItem(monthly, kIdcMonthlyInterval), L"13");
    EXPECT_EQ(Store(a), GetDlgItem(monthly, kIdcMonthlyInterval));
    EXPECT_EQ(a.monthlyDay, 31u);
    EXPECT_EQ(a.monthlyInterval, 1);

    // A start year before the offered ones, as the shipped alarm's 2024,
    // shows in the box and is kept.
    a.monthlyStartYear = 2024;
    Load(a);
    EXPECT_EQ(Text(GetDlgItem(monthly, kIdcMonthlyStartYear)), L"2024");
    EXPECT_EQ(Store(a), nullptr);
    EXPECT_EQ(a.monthlyStartYear, 2024u);
    // The next alarm gets the offered years again.
    a.monthlyStartYear = static_cast<uint32_t>(year);
    Load(a);
    EXPECT_EQ(ComboSelection(monthly, kIdcMonthlyStartYear), 1);
}

TEST_F(AlarmPageTest, YearlyEditorLowersADayBeyondTheMonth) {
    ASSERT_NE(Create(kAlarmPageClock), nullptr);
    AlarmRecord a = MakeAlarm(kAlarmYearly);
    a.yearlyMonth = 2;
    a.yearlyDay = 14;
    a.yearlyWhich = 1;
    a.yearlyWeekday = 1;
    a.yearlyTime = 9 * 3600;
    Load(a);
    HWND yearly = Editor(kAlarmYearly);
    EXPECT_TRUE(Checked(yearly, kIdcYearlyFixed));
    EXPECT_EQ(Text(GetDlgItem(yearly, kIdcYearlyDay)), L"14");
    EXPECT_EQ(ComboSelection(yearly, kIdcYearlyMonth), 1);
    EXPECT_EQ(ComboSelection(yearly, kIdcYearlyWeekdayMonth), 1);

    SetText(GetDlgItem(yearly, kIdcYearlyDay), L"31");
    EXPECT_EQ(Store(a), GetDlgItem(yearly, kIdcYearlyDay));
    EXPECT_EQ(a.yearlyDay, 29u);
    EXPECT_EQ(a.yearlyMonth, 2u);
    EXPECT_EQ(Text(GetDlgItem(yearly, kIdcYearlyDay)), L"29");
    EXPECT_EQ(Store(a), nullptr);

    // The last Sunday of October.
    Click(yearly, kIdcYearlyByWeekday);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(yearly, kIdcYearlyDay)));
    SelectCombo(yearly, kIdcYearlyWhich, 4);
    SelectCombo(yearly, kIdcYearlyWeekday, 0);
    SelectCombo(yearly, kIdcYearlyWeekdayMonth, 9);
    EXPECT_EQ(Store(a), nullptr);
    EXPECT_EQ(a.yearlyByWeekday, 1);
    EXPECT_EQ(a.yearlyWhich, 5u);
    EXPECT_EQ(a.yearlyWeekday, 0u);
    EXPECT_EQ(a.yearlyMonth, 10u);
}

TEST_F(AlarmPageTest, CronEditorChecksEachField) {
    ASSERT_NE(Create(kAlarmPageClock), nullptr);
    AlarmRecord a = MakeAlarm(kAlarmCron);
    a.cron.minutes = (1ull << 0) | (1ull << 30);
    a.cron.hours = 0;
    a.cron.days = -5;
    a.cron.months = 1u << 12;
    a.cron.weekdays = 1u << 1;  // Monday, written 2
    Load(a);
    HWND cron = Editor(kAlarmCron);
    EXPECT_EQ(Text(GetDlgItem(cron, kIdcCronMinutes)), L"0,30");
    EXPECT_EQ(Text(GetDlgItem(cron, kIdcCronHours)), L"*");
    EXPECT_EQ(Text(GetDlgItem(cron, kIdcCronDays)), L"-5");
    EXPECT_EQ(Text(GetDlgItem(cron, kIdcCronMonths)), L"12");
    EXPECT_EQ(Text(GetDlgItem(cron, kIdcCronWeekdays)), L"2");
    EXPECT_EQ(Store(a), nullptr);
    EXPECT_EQ(a.cron.days, -5);

    SetText(GetDlgItem(cron, kIdcCronHours), L"8-17");
    SetText(GetDlgItem(cron, kIdcCronDays), L"1-3");
    SetText(GetDlgItem(cron, kIdcCronWeekdays), L"2-6");
    EXPECT_EQ(Store(a), nullptr);
    EXPECT_EQ(a.cron.hours, 0x3FF00u);
    EXPECT_EQ(a.cron.days, 7);
    EXPECT_EQ(a.cron.weekdays, 0x3Eu);

    // Minus thirty-one is refused and the field keeps its value; so is a
    // minute of 60 and a text with something after the list.
    SetText(GetDlgItem(cron, kIdcCronDays), L"-31");
    SetText(GetDlgItem(cron, kIdcCronMinutes), L"60");
    EXPECT_EQ(Store(a), GetDlgItem(cron, kIdcCronDays));
    EXPECT_EQ(a.cron.days, 7);
    EXPECT_EQ(a.cron.minutes, (1ull << 0) | (1ull << 30));
    SetText(GetDlgItem(cron, kIdcCronDays), L"-30");
    SetText(GetDlgItem(cron, kIdcCronMinutes), L"5");
    SetText(GetDlgItem(cron, kIdcCronMonths), L"1,2 x");
    EXPECT_EQ(Store(a), GetDlgItem(cron, kIdcCronMonths));
    EXPECT_EQ(a.cron.days, -30);
    EXPECT_EQ(a.cron.minutes, 1ull << 5);
    EXPECT_EQ(a.cron.months, 1u << 12);
}

TEST_F(AlarmPageTest, SwitchingFromOnceToMonthlyCarriesTheDate) {
    ASSERT_NE(Create(kAlarmPageClock), nullptr);
    const int year = ThisYear();
    AlarmRecord a = MakeAlarm(kAlarmOnce);
    a.onceTime = Moment(year, 3, 12, 7, 30);
    Load(a);
    Click(page_, 1094);
    EXPECT_EQ(a.type, kAlarmMonthly);
    HWND monthly = Editor(kAlarmMonthly);
    EXPECT_TRUE(IsWindowVisible(monthly));
    EXPECT_FALSE(IsWindowVisible(Editor(kAlarmOnce)));
    EXPECT_EQ(Text(GetDlgItem(monthly, kIdcMonthlyDay)), L"12");
    EXPECT_EQ(ComboSelection(monthly, kIdcMonthlyStartMonth), 2);
    EXPECT_EQ(ComboSelection(monthly, kIdcMonthlyStartYear), 0);
    EXPECT_EQ(Text(GetDlgItem(monthly, kIdcTimeOfDay)), L"07:30");
    EXPECT_GE(TakeChanges(), 1);

    // Back to once from a day that March has but another month may not.
    SetText(GetDlgItem(monthly, kIdcMonthlyDay), L"31");
    SelectCombo(monthly, kIdcMonthlyStartMonth, 3);  // April
    ASSERT_EQ(Store(a), nullptr);
    Click(page_, 1091);
    EXPECT_EQ(a.type, kAlarmOnce);
    EXPECT_EQ(a.onceTime.wMonth, 4);
    EXPECT_EQ(a.onceTime.wDay, 30);
    const SYSTEMTIME shown = PickerDate(EditorItem(kAlarmOnce, kIdcStartDate));
    EXPECT_EQ(shown.wDay, 30);
    EXPECT_EQ(shown.wMonth, 4);

    // The cron kind carries nothing.
    Click(page_, 1096);
    EXPECT_EQ(a.type, kAlarmCron);
    EXPECT_EQ(Store(a), nullptr);
    EXPECT_EQ(a.cron.minutes, 1u);
}

}  // namespace
}  // namespace alarmpage_test
