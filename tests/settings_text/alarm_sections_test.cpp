#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/settings/alarm_sections.h"
#include "common/settings/ini_store.h"
#include "tests/settings_text/text_fixtures.h"
#include "tests/support/test_support.h"
#include "tests/time/zone_fixtures.h"

namespace {

using namespace settings_text_test;
using testing_support::TempDir;
using testing_support::WriteBytes;

constexpr wchar_t kClock[] = L"tester:clock1";

AlarmRecord Base(int type) {
    AlarmRecord a;
    std::memset(&a, 0, sizeof a);
    a.type = type;
    a.enabled = 1;
    wcscpy(a.comment, L"  padded comment ");
    a.reminder = 10;
    a.action = 8;
    wcscpy(a.text, L"C:\\Sounds\\ring.wav");
    return a;
}

bool SameRecord(const AlarmRecord& a, const AlarmRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::wstring IniFile(const TempDir& dir, const char* content) {
    std::wstring path = dir.file(L"tempovia.ini");
    WriteBytes(path, content);
    return path;
}

TEST(AlarmSections, EveryScheduleKindRoundTripsThroughTheIni) {
    TempDir dir;
    std::wstring file = dir.file(L"tempovia.ini");
    ClockRecord clock = MakeClock(0);

    AlarmRecord alarms[6];
    alarms[0] = Base(kAlarmOnce);
    alarms[0].onceTime = Time(2024, 2, 29, 23, 59, 58);
    alarms[1] = Base(kAlarmDaily);
    alarms[1].dailyStart = Time(2023, 1, 2, 8, 0, 0);
    alarms[1].dailyInterval = 0;
    alarms[2] = Base(kAlarmWeekly);
    alarms[2].weeklyStart = Time(2023, 1, 2, 7, 30, 0);
    alarms[2].weeklyInterval = 2;
    alarms[2].weekdayMask = 0x2A;
    alarms[3] = Base(kAlarmMonthly);
    alarms[3].monthlyTime = 18 * 3600 + 15 * 60 + 5;
    alarms[3].monthlyByWeekday = 1;
    alarms[3].monthlyDay = 31;
    alarms[3].monthlyWhich = 5;
    alarms[3].monthlyWeekday = 5;
    alarms[3].monthlyInterval = -2;
    alarms[3].monthlyStartMonth = 11;
    alarms[3].monthlyStartYear = 2022;
    alarms[4] = Base(kAlarmYearly);
    alarms[4].enabled = 0;
    alarms[4].reminder = -15;
    alarms[4].yearlyTime = 6 * 3600;
    alarms[4].yearlyByWeekday = 0;
    alarms[4].yearlyMonth = 12;
    alarms[4].yearlyDay = 24;
    alarms[4].yearlyWhich = 2;
    alarms[4].yearlyWeekday = 6;
    alarms[5] = Base(kAlarmCron);
    alarms[5].cron.minutes = (1ULL << 0) | (1ULL << 30);
    alarms[5].cron.hours = 0x3FF00;
    alarms[5].cron.days = -3;
    alarms[5].cron.months = 0x1FFE;
    alarms[5].cron.weekdays = 0x3E;

    for (int i = 0; i < 6; ++i) ASSERT_TRUE(WriteAlarm(file.c_str(), kClock, clock, i + 1, alarms[i])) << i;
    for (int i = 0; i < 6; ++i) {
        AlarmRecord back;
        std::memset(&back, 0x77, sizeof back);
        ASSERT_TRUE(ReadAlarmRecord(file.c_str(), kClock, clock, i + 1, back)) << i;
        EXPECT_TRUE(SameRecord(alarms[i], back)) << "type " << i;
    }
    AlarmRecord none{};
    EXPECT_FALSE(ReadAlarmRecord(file.c_str(), kClock, clock, 7, none));

    EXPECT_EQ(ReadIniText(file.c_str(), L"tester:clock1:alarm4", L"monthly"), L"18:15:05 1 31 5 5 -2 11.2022");
    EXPECT_EQ(ReadIniText(file.c_str(), L"tester:clock1:alarm6", L"cron"), L"0,30;8-17;-3;1-12;2-6");
}

TEST(AlarmSections, TimerAlarmsKeepTheirPlaceOnTheTimer) {
    TempDir dir;
    std::wstring file = dir.file(L"tempovia.ini");

    ClockRecord stopwatch = MakeClock(kClockTimer);
    AlarmRecord a = Base(kAlarmOnce);
    a.timerOffset = 90;
    ASSERT_TRUE(WriteAlarm(file.c_str(), kClock, stopwatch, 1, a));
    EXPECT_EQ(ReadIniText(file.c_str(), L"tester:clock1:alarm1", L"timestamp"), L"900000000");
    AlarmRecord back{};
    ASSERT_TRUE(ReadAlarmRecord(file.c_str(), kClock, stopwatch, 1, back));
    EXPECT_TRUE(SameRecord(a, back));

    // A countdown to a date: the moment is stored, the offset follows from it.
    ClockRecord countdown = MakeClock(kClockTimer | kClockCountdown | kClockSetDate);
    countdown.start = Moment(2024, 3, 1, 12, 0, 0);  // ends 13:00 in the clock's zone
    AlarmRecord b = Base(kAlarmOnce);
    ASSERT_TRUE(SetAlarmTimerOffset(Time(2024, 3, 1, 12, 55, 0), countdown, b));
    EXPECT_EQ(b.timerOffset, 300u);
    ASSERT_TRUE(WriteAlarm(file.c_str(), L"tester:clock2", countdown, 1, b));
    EXPECT_EQ(ReadIniText(file.c_str(), L"tester:clock2:alarm1", L"time"), L"2024.03.01 12:55:00");
    AlarmRecord back2{};
    ASSERT_TRUE(ReadAlarmRecord(file.c_str(), L"tester:clock2", countdown, 1, back2));
    EXPECT_TRUE(SameRecord(b, back2));

    ClockRecord fromStart = MakeClock(kClockTimer | kClockSetDate);
    fromStart.start = Moment(2024, 3, 1, 12, 0, 0);
    ASSERT_TRUE(SetAlarmTimerOffset(Time(2024, 3, 1, 14, 0, 0), fromStart, b));
    EXPECT_EQ(b.timerOffset, 3600u);
    EXPECT_FALSE(SetAlarmTimerOffset(Time(2024, 3, 1, 14, 0, 0), stopwatch, b));  // no set start
    EXPECT_FALSE(SetAlarmTimerOffset(Time(2024, 2, 30, 14, 0, 0), fromStart, b));
}

TEST(AlarmSections, TimerAlarmTimeInTheWeekOfTheSpringSwitchKeepsItsTime) {
    TempDir dir;
    std::wstring file = dir.file(L"tempovia.ini");
    ClockRecord countdown = MakeClock(kClockTimer | kClockCountdown | kClockSetDate);
    countdown.zone = zone_fixtures::Eastern();
    countdown.start = Moment(2024, 3, 8, 8, 0, 0);  // Friday 03:00 EST, two days before the switch
    WriteBytes(file, "[tester:clock1:alarm1]\r\ntype=0\r\nenabled=1\r\ntime=2024.03.08 02:30:00\r\n");
    AlarmRecord back{};
    ASSERT_TRUE(ReadAlarmRecord(file.c_str(), kClock, countdown, 1, back));
    EXPECT_EQ(back.timerOffset, 1800u);
}

TEST(AlarmSections, MomentsTheTimerNeverReachesDoNotWrap) {
    TempDir dir;
    std::wstring file = dir.file(L"tempovia.ini");
    ClockRecord countdown = MakeClock(kClockTimer | kClockCountdown | kClockSetDate);
    countdown.start = Moment(2024, 3, 1, 12, 0, 0);
    AlarmRecord late = Base(kAlarmOnce);
    ASSERT_TRUE(SetAlarmTimerOffset(Time(2024, 3, 1, 14, 0, 0), countdown, late));  // an hour past the end
    EXPECT_EQ(late.timerOffset, 0u);
    EXPECT_EQ(late.onceTime.wHour, 14);

    // The same alarm on a plain countdown, and one after it: both come back.
    ClockRecord plain = MakeClock(kClockTimer | kClockCountdown);
    ASSERT_TRUE(WriteAlarm(file.c_str(), kClock, plain, 1, late));
    ASSERT_TRUE(WriteAlarm(file.c_str(), kClock, plain, 2, Base(kAlarmOnce)));
    AlarmRecord back{};
    EXPECT_TRUE(ReadAlarmRecord(file.c_str(), kClock, plain, 1, back));
    EXPECT_TRUE(ReadAlarmRecord(file.c_str(), kClock, plain, 2, back));
}

TEST(AlarmSections, OlderFilesWithWrappedOffsetsKeepLaterAlarms) {
    TempDir dir;
    std::wstring file = IniFile(dir,
                                "[tester:clock1:alarm1]\r\ntimestamp=-1000000000\r\n"
                                "[tester:clock1:alarm2]\r\ntimestamp=3000000000\r\ncomment=second\r\n"
                                "[tester:clock1:alarm3]\r\ntimestamp=999999999999999999999999\r\n");
    ClockRecord stopwatch = MakeClock(kClockTimer);
    AlarmRecord a{};
    ASSERT_TRUE(ReadAlarmRecord(file.c_str(), kClock, stopwatch, 1, a));
    EXPECT_EQ(a.timerOffset, 0u);
    ASSERT_TRUE(ReadAlarmRecord(file.c_str(), kClock, stopwatch, 2, a));
    EXPECT_EQ(a.timerOffset, 300u);
    EXPECT_STREQ(a.comment, L"second");
    EXPECT_EQ(a.enabled, 1);
    ASSERT_TRUE(ReadAlarmRecord(file.c_str(), kClock, stopwatch, 3, a));
    EXPECT_EQ(a.timerOffset, 0xFFFFFFFFu);
}

TEST(AlarmSections, InvalidSectionsAreRefused) {
    TempDir dir;
    std::wstring longText(600, L'x');
    std::string content =
        "[c:alarm1]\r\ntype=6\r\nonce=2024.01.01 08:00:00\r\n"
        "[c:alarm2]\r\ntype=0\r\nonce=2024.01.01 08:00:00\r\naction=9\r\n"
        "[c:alarm3]\r\ntype=1\r\n"
        "[c:alarm4]\r\ntype=0\r\nonce=2024.01.01 08:00\r\n"
        "[c:alarm5]\r\ntype=5\r\ncron=60;*;*;*;*\r\n"
        "[c:alarm6]\r\ntype=3\r\nmonthly=08:00:00 0 1 1 1\r\n"
        "[c:alarm7]\r\ntype=abc\r\nonce=garbage\r\n"
        "[c:alarm8]\r\ntype=-1\r\n"
        "[c:alarm9]\r\ntype=0\r\nonce=2024.01.01 08:00:00\r\naction=-1\r\n"
        "[c:alarm10]\r\n"
        "[c:alarm11]\r\ntype=5\r\ncron=;;;;\r\nreminder=junk\r\ncomment=" +
        std::string(300, 'c') + "\r\ntext=" + std::string(600, 't') + "\r\n";
    std::wstring file = IniFile(dir, content.c_str());
    ClockRecord clock = MakeClock(0);
    AlarmRecord a{};
    a.reminder = 1234;
    for (int m = 1; m <= 10; ++m) EXPECT_FALSE(ReadAlarmRecord(file.c_str(), L"c", clock, m, a)) << m;
    EXPECT_EQ(a.reminder, 1234);  // refused reads leave the record alone
    EXPECT_FALSE(ReadAlarmRecord(file.c_str(), L"c", clock, 12, a));

    ASSERT_TRUE(ReadAlarmRecord(file.c_str(), L"c", clock, 11, a));
    EXPECT_EQ(a.type, kAlarmCron);
    EXPECT_EQ(a.reminder, 0);
    EXPECT_EQ(wcslen(a.comment), 77u);
    EXPECT_EQ(wcslen(a.text), 259u);

    // Timer clocks need their offset key.
    ClockRecord stopwatch = MakeClock(kClockTimer);
    EXPECT_FALSE(ReadAlarmRecord(file.c_str(), L"c", stopwatch, 1, a));
    ClockRecord dated = MakeClock(kClockTimer | kClockCountdown | kClockSetDate);
    EXPECT_FALSE(ReadAlarmRecord(file.c_str(), L"c", dated, 1, a));

    // An unknown type is not written beyond its flag.
    AlarmRecord unknown = Base(7);
    EXPECT_FALSE(WriteAlarm(file.c_str(), L"w", clock, 1, unknown));
    EXPECT_EQ(ReadIniText(file.c_str(), L"w:alarm1", L"type"), L"7");
    EXPECT_FALSE(IniKeyExists(file.c_str(), L"w:alarm1", L"comment"));
}

TEST(AlarmSections, NewAlarmDefaults) {
    AlarmRecord a;
    std::memset(&a, 0x33, sizeof a);
    InitAlarmRecord(a);
    EXPECT_EQ(a.type, kAlarmOnce);
    EXPECT_EQ(a.enabled, 1);
    EXPECT_EQ(a.onceTime.wHour, 8);
    EXPECT_EQ(a.onceTime.wYear, 0);
    EXPECT_EQ(a.reminder, -15);
    EXPECT_GT(wcslen(a.comment), 0u);
}

}  // namespace
