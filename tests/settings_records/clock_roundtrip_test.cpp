// Clocks written by the writer and read back by the reader come back equal,
// field for field, for every kind of clock.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/settings/clock_sections.h"
#include "common/settings/ini_arrays.h"
#include "common/settings/ini_store.h"
#include "common/zones/zone_registry.h"
#include "tests/settings_records/records_sandbox.h"

using namespace records_test;

namespace {

constexpr uint64_t kSecond = 10000000ULL;

ClockRecord Blank() {
    ClockRecord c;
    memset(&c, 0, sizeof(c));
    return c;
}

BackgroundProfile DailyProfile(int fromMinute, int toMinute, COLORREF colour, uint32_t opacity, uint32_t days,
                               const wchar_t* name) {
    BackgroundProfile p;
    memset(&p, 0, sizeof(p));
    p.enabled = 1;
    p.fromMinute = fromMinute;
    p.toMinute = toMinute;
    p.colour = colour;
    p.opacity = opacity;
    p.weekdayMask = days;
    CopyBounded(p.name, name);
    return p;
}

AlarmRecord BaseAlarm(int type, const wchar_t* comment, const wchar_t* text) {
    AlarmRecord a;
    memset(&a, 0, sizeof(a));
    a.type = type;
    a.enabled = 1;
    CopyBounded(a.comment, comment);
    a.reminder = -15;
    a.action = 1;
    CopyBounded(a.text, text);
    return a;
}

// Writes the clock as the settings program does, its running state as the main
// program does, and reads it back as the loader does.
ClockRecord WriteAndRead(const ClockRecord& clock) {
    const std::wstring section = ClockSectionName(kUser, clock.number);
    const std::wstring file = UserIniPath();
    EXPECT_TRUE(WriteClockSection(file.c_str(), section.c_str(), clock));
    EXPECT_TRUE(WriteTimerState(file.c_str(), section.c_str(), clock));
    ClockRecord back = Blank();
    ReadClockByIndex(kUser, file.c_str(), clock.number, back);
    return back;
}

void FreeAlarmsOf(ClockRecord& clock) {
    if (clock.alarms) ResizeAlarmArray(clock.alarms, 0);
    clock.alarms = nullptr;
}

void ClearWeekday(SYSTEMTIME& t) { t.wDayOfWeek = 0; }

void ExpectAlarmsEqual(const ClockRecord& expected, const ClockRecord& actual) {
    ASSERT_EQ(expected.alarmCount, actual.alarmCount);
    for (int i = 0; i < expected.alarmCount; ++i) {
        AlarmRecord a = expected.alarms[i];
        AlarmRecord b = actual.alarms[i];
        for (AlarmRecord* r : {&a, &b}) {
            ClearWeekday(r->onceTime);
            ClearWeekday(r->dailyStart);
            ClearWeekday(r->weeklyStart);
        }
        EXPECT_EQ(0, memcmp(&a, &b, sizeof(a))) << "alarm " << i + 1 << " differs at bytes "
                                                << DifferingRanges(&a, &b, sizeof(a));
    }
}

// Compares the whole record; the alarm arrays are compared by content.
void ExpectClocksEqual(const ClockRecord& expected, ClockRecord actual) {
    ExpectAlarmsEqual(expected, actual);
    FreeAlarmsOf(actual);
    ClockRecord e = expected;
    e.alarms = nullptr;
    actual.alarms = nullptr;
    EXPECT_EQ(0, memcmp(&e, &actual, sizeof(e))) << "record differs at bytes "
                                                 << DifferingRanges(&e, &actual, sizeof(e));
}

}  // namespace

TEST(ClockRoundTrip, OrdinaryClockWithProfilesAndAlarmsComesBackEqual) {
    Sandbox sandbox;
    ClockRecord c = Blank();
    c.number = 4;
    c.enabled = 1;
    CopyBounded(c.timeformat, L"HH:mm:ss");
    CopyBounded(c.dateformat, L" ddd d MMM ");  // blanks kept by the quotes
    CopyBounded(c.prefix, L" NY ");
    CopyBounded(c.label, c.prefix);
    CopyBounded(c.location, L"New York, United States");
    c.zone = sandbox.zone(kZonePacific);
    c.usedaylight = 1;
    c.zoneHasDaylight = 1;
    CopyBounded(c.skin, L"Classic Tempovia Style");
    c.alpha = 200;
    c.transparent = 0;
    c.on_desktop = 1;
    c.showsSeconds = 1;
    c.seconds_hand = 0;
    c.suffix = 0;
    c.action = 3;
    CopyBounded(c.url, L"C:\\Program Files\\Notes\\read me.txt");
    c.profilesEnabled = 1;
    c.profileCount = 3;
    c.profiles[0] = DailyProfile(540, 1080, 0x0000FF, 127, 0x3E, L"Work");
    c.profiles[1] = DailyProfile(0, 1439, 0x00FF00, 0x80, 0, L"");
    c.profiles[1].enabled = 0;
    c.profiles[2] = DailyProfile(1200, 60, 0x123456, 255, 0x41, L"Night, weekend");
    c.alarmsEnabled = 1;
    c.expanded = 5;

    std::vector<AlarmRecord> alarms;
    AlarmRecord once = BaseAlarm(kAlarmOnce, L"Dentist", L"Bring the card");
    once.onceTime = Time(2031, 2, 3, 9, 30, 0);
    alarms.push_back(once);
    AlarmRecord weekly = BaseAlarm(kAlarmWeekly, L"Stand-up", L"C:\\sounds\\bell.wav");
    weekly.action = 2;
    weekly.weeklyStart = Time(2030, 1, 7, 8, 55, 0);
    weekly.weeklyInterval = 2;
    weekly.weekdayMask = 0x3E;
    alarms.push_back(weekly);
    AlarmRecord monthly = BaseAlarm(kAlarmMonthly, L"Rent", L"Pay the rent");
    monthly.monthlyTime = 10 * 3600 + 15 * 60 + 30;
    monthly.monthlyByWeekday = 1;
    monthly.monthlyWhich = 5;
    monthly.monthlyWeekday = 5;
    monthly.monthlyDay = 1;
    monthly.monthlyInterval = 3;
    monthly.monthlyStartMonth = 4;
    monthly.monthlyStartYear = 2030;
    monthly.reminder = 1440;
    alarms.push_back(monthly);
    c.alarms = alarms.data();
    c.alarmCount = static_cast<int>(alarms.size());

    ClockRecord back = WriteAndRead(c);
    EXPECT_EQ(4, back.number);
    ExpectClocksEqual(c, back);
}

TEST(ClockRoundTrip, DaylightSavingTurnedOffZeroesTheBiasesOfTheCopyOnly) {
    Sandbox sandbox;
    ClockRecord c = Blank();
    c.number = 1;
    c.enabled = 1;
    CopyBounded(c.timeformat, L"Default");
    CopyBounded(c.dateformat, L"None");
    c.zone = sandbox.zone(kZonePacific);
    c.zone.StandardBias = 0;
    c.zone.DaylightBias = 0;
    c.usedaylight = 0;
    c.zoneHasDaylight = 1;  // the zone has a rule even though the user ignores it
    c.alpha = 255;
    c.transparent = 1;
    c.suffix = 1;
    c.profilesEnabled = 1;
    c.alarmsEnabled = 1;

    ClockRecord back = WriteAndRead(c);
    EXPECT_EQ(L"0", UserValue(L"tester:clock1", L"usedaylight"));
    EXPECT_EQ(L"Pacific Standard Time", UserValue(L"tester:clock1", L"zone"));
    EXPECT_EQ(-60, sandbox.zone(kZonePacific).DaylightBias);
    ExpectClocksEqual(c, back);
}

TEST(ClockRoundTrip, LocalSystemTimeIsWrittenAsAnEmptyZone) {
    Sandbox sandbox;
    ClockRecord c = Blank();
    c.number = 2;
    c.enabled = 0;
    CopyBounded(c.timeformat, L"24 hours");
    CopyBounded(c.dateformat, L"Week w");
    c.zone = sandbox.zone(kZoneLocal);
    const int32_t follows = ReadAutoDaylightDisabled() != 0 ? 0 : 1;
    c.usedaylight = follows;
    c.zoneHasDaylight = follows;
    c.alpha = 10;
    c.transparent = 1;
    c.suffix = 1;
    c.seconds_hand = 1;
    CopyBounded(c.prefix, L"\"Home\"");  // quotes of its own survive
    CopyBounded(c.label, c.prefix);

    ClockRecord back = WriteAndRead(c);
    EXPECT_EQ(L"", UserValue(L"tester:clock2", L"zone"));
    EXPECT_EQ(L"", UserValue(L"tester:clock2", L"timezone"));
    ExpectClocksEqual(c, back);
}

TEST(ClockRoundTrip, CountdownOfASetLengthKeepsItsRunningState) {
    Sandbox sandbox;
    ClockRecord c = Blank();
    c.number = 3;
    c.kind = kClockTimer | kClockCountdown;
    c.enabled = 1;
    CopyBounded(c.timerformat, L"%M:%02s left of the tea, %H hours and more text to pass sixty-four characters");
    CopyBounded(c.prefix, L"Tea");
    CopyBounded(c.label, L"Tea is ready at %H:%02m");
    c.zone = sandbox.zone(kZoneTokyo);
    c.usedaylight = 1;
    c.alpha = 128;
    c.transparent = 1;
    c.showsSeconds = 1;
    c.seconds_hand = 1;
    c.suffix = 1;
    c.running = 1;
    c.duration = 300;
    c.targetTime = Normalised(Time(2030, 5, 6, 7, 8, 9));
    c.start = FileTimeOf(Time(2030, 5, 6, 7, 13, 9));
    c.elapsed = 120 * kSecond + 5000 * 10000ULL;  // whole milliseconds survive
    c.exec_action = 1;
    c.profilesEnabled = 1;
    c.profileCount = 1;
    c.profiles[0] = BackgroundProfile{};
    c.profiles[0].enabled = 1;
    c.profiles[0].from = 10 * kSecond;
    c.profiles[0].to = 70 * kSecond;
    c.profiles[0].colour = 0xFF0000;
    c.profiles[0].opacity = 255;
    CopyBounded(c.profiles[0].name, L"Last minute");
    c.alarmsEnabled = 1;
    AlarmRecord at90 = BaseAlarm(kAlarmOnce, L"Half way", L"Stir");
    at90.timerOffset = 90;
    c.alarms = &at90;
    c.alarmCount = 1;

    ClockRecord back = WriteAndRead(c);
    EXPECT_EQ(L"-1", UserValue(L"tester:clock3", L"timer_mode"));
    EXPECT_EQ(L"900000000", UserValue(L"tester:clock3:alarm1", L"timestamp"));
    ExpectClocksEqual(c, back);
}

TEST(ClockRoundTrip, CountdownToADateRunsToThatMomentInItsZone) {
    Sandbox sandbox;
    ClockRecord c = Blank();
    c.number = 5;
    c.kind = kClockTimer | kClockCountdown | kClockSetDate;
    c.enabled = 1;
    CopyBounded(c.timerformat, L"%D days %H:%02m");
    CopyBounded(c.prefix, L"Expo");
    CopyBounded(c.label, L"Expo opens");
    CopyBounded(c.location, L"Expo grounds, Osaka");
    c.zone = sandbox.zone(kZoneTokyo);
    c.usedaylight = 1;
    c.alpha = 255;
    c.suffix = 1;
    c.running = 1;
    c.targetTime = Normalised(Time(2031, 5, 6, 12, 0, 0));  // Tokyo, UTC+9
    c.start = FileTimeOf(Time(2031, 5, 6, 3, 0, 0));
    c.alarmsEnabled = 1;

    ClockRecord back = WriteAndRead(c);
    EXPECT_EQ(L"2031.05.06 12:00:00", UserValue(L"tester:clock5", L"term"));
    ExpectClocksEqual(c, back);
}

TEST(ClockRoundTrip, StopwatchesFromASetStartAndFromTheirOwnStart) {
    Sandbox sandbox;
    ClockRecord fixed = Blank();
    fixed.number = 6;
    fixed.kind = kClockTimer | kClockSetDate;
    fixed.enabled = 1;
    CopyBounded(fixed.timerformat, L"%H:%02m:%02s");
    CopyBounded(fixed.prefix, L"Since launch");
    CopyBounded(fixed.label, L"Since launch");
    fixed.zone = sandbox.zone(kZoneTokyo);
    fixed.usedaylight = 1;
    fixed.alpha = 255;
    fixed.showsSeconds = 1;
    fixed.seconds_hand = 1;
    fixed.suffix = 1;
    fixed.running = 1;
    fixed.targetTime = Normalised(Time(2029, 12, 31, 23, 0, 0));
    fixed.start = FileTimeOf(Time(2029, 12, 31, 14, 0, 0));
    fixed.elapsed = 3600 * kSecond;
    fixed.alarmsEnabled = 1;
    ExpectClocksEqual(fixed, WriteAndRead(fixed));

    ClockRecord own = fixed;
    own.number = 7;
    own.kind = kClockTimer;
    own.running = 0;
    own.targetTime = Normalised(Time(2030, 3, 1, 10, 20, 30));  // UTC start moment
    own.start = FileTimeOf(own.targetTime);
    own.elapsed = 42 * kSecond;
    ExpectClocksEqual(own, WriteAndRead(own));

    // The same section rewritten without a set start must not keep the old one.
    ClockRecord switched = own;
    switched.number = fixed.number;
    ExpectClocksEqual(switched, WriteAndRead(switched));
}

TEST(ClockRoundTrip, WriteClockRecordUsesTheUserSectionOfTempoviaIni) {
    Sandbox sandbox;
    ClockRecord c = Blank();
    c.number = 9;
    c.enabled = 1;
    CopyBounded(c.timeformat, L"Default");
    CopyBounded(c.dateformat, L"None");
    c.zone = sandbox.zone(kZoneTokyo);
    ASSERT_TRUE(WriteClockRecord(c));
    EXPECT_EQ(L"Tokyo Standard Time", UserValue(L"tester:clock9", L"zone"));
    EXPECT_EQ(L"(UTC+09:00) Osaka, Sapporo, Tokyo", UserValue(L"tester:clock9", L"timezone"));
    EXPECT_EQ(L"1", UserValue(L"tester:clock9", L"enabled"));
}

TEST(ClockRoundTrip, TextsBeyondTheCodePageSurviveAUnicodeFile) {
    Sandbox sandbox;
    sandbox.WriteUserIni(std::string("\xFF\xFE", 2));  // the profile functions then write UTF-16
    ClockRecord c = Blank();
    c.number = 1;
    c.enabled = 1;
    CopyBounded(c.timeformat, L"H:mm");
    CopyBounded(c.dateformat, L"d MMMM \u5e74");
    CopyBounded(c.prefix, L"\u6771\u4eac");
    CopyBounded(c.label, c.prefix);
    CopyBounded(c.location, L"Z\u00fcrich, Schweiz \u2013 \u0417\u0443\u0440\u0438\u0445");
    CopyBounded(c.skin, L"\u00c9t\u00e9");
    c.zone = sandbox.zone(kZoneTokyo);
    c.usedaylight = 1;
    c.alpha = 255;
    c.transparent = 1;
    c.suffix = 1;
    c.profilesEnabled = 1;
    c.profileCount = 1;
    c.profiles[0] = DailyProfile(60, 120, 0xABCDEF, 1, 0x7F, L"\u591c");
    c.alarmsEnabled = 1;
    ExpectClocksEqual(c, WriteAndRead(c));
}
