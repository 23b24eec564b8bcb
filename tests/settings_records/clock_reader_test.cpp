// The clock reader's defaults, fall-backs and its handling of damaged sections.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/settings/clock_sections.h"
#include "common/settings/ini_arrays.h"
#include "common/settings/ini_store.h"
#include "common/zones/local_zone.h"
#include "common/zones/zone_database.h"
#include "common/zones/zone_registry.h"
#include "tests/settings_records/records_sandbox.h"

using namespace records_test;

namespace {

constexpr uint64_t kSecond = 10000000ULL;

// Reads "tester:clock1" of the sandbox's tempovia.ini into a zeroed record.
struct ReadClock {
    ClockRecord record;
    int expanded;
    explicit ReadClock(bool withAlarms = true) {
        memset(&record, 0, sizeof(record));
        expanded = ReadClockRecord(L"tester:clock1", UserIniPath().c_str(), record, withAlarms);
    }
    ~ReadClock() {
        if (record.alarms) ResizeAlarmArray(record.alarms, 0);
    }
    ClockRecord* operator->() { return &record; }
};

std::string Repeat(char c, size_t n) { return std::string(n, c); }

uint64_t NowMoment() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    now.wMilliseconds = 0;
    return FileTimeOf(now);
}

}  // namespace

TEST(ClockReader, AMissingSectionGivesTheReaderDefaults) {
    Sandbox sandbox;  // neither tempovia.ini nor default.ini exist
    ReadClock c;
    EXPECT_EQ(0u, c->kind);
    EXPECT_EQ(0, c->enabled);
    EXPECT_EQ(255, c->alpha);   // [default:newclock] missing too
    EXPECT_EQ(1, c->transparent);
    EXPECT_STREQ(L"", c->skin);
    EXPECT_STREQ(kLocalSystemTimeKey, c->zone.key);
    EXPECT_STREQ(L"Default", c->timeformat);
    EXPECT_STREQ(L"None", c->dateformat);
    EXPECT_EQ(1, c->suffix);
    EXPECT_EQ(1, c->profilesEnabled);
    EXPECT_EQ(0, c->profileCount);
    EXPECT_EQ(1, c->alarmsEnabled);
    EXPECT_EQ(0, c->alarmCount);
    EXPECT_EQ(0, c.expanded);
    const int32_t follows = ReadAutoDaylightDisabled() != 0 ? 0 : 1;
    EXPECT_EQ(follows, c->usedaylight);
    EXPECT_EQ(follows, c->zoneHasDaylight);
}

TEST(ClockReader, MissingLooksComeFromTheNewClockDefaults) {
    Sandbox sandbox("[default:newclock]\r\nalpha=77\r\ntransparent=0\r\nskin=Neon\r\n");
    sandbox.WriteUserIni("[tester:clock1]\r\nenabled=1\r\n");
    ReadClock c;
    EXPECT_EQ(77, c->alpha);
    EXPECT_EQ(0, c->transparent);
    EXPECT_STREQ(L"Neon", c->skin);

    // The defaults file itself never falls back on itself.
    ClockRecord d;
    memset(&d, 0, sizeof(d));
    ReadClockRecord(L"default:newclock", DefaultIniPath().c_str(), d, false);
    EXPECT_EQ(77, d.alpha);
    ClockRecord e;
    memset(&e, 0, sizeof(e));
    ReadClockRecord(L"default:nothing", DefaultIniPath().c_str(), e, false);
    EXPECT_EQ(10, e.alpha);  // 0 raised to the least opacity
    EXPECT_EQ(0, e.transparent);
    EXPECT_STREQ(L"", e.skin);
}

TEST(ClockReader, AlphaIsKeptAsItsLowByteAndNeverBelowTen) {
    Sandbox sandbox;
    sandbox.WriteUserIni("[tester:clock1]\r\nalpha=3\r\n");
    EXPECT_EQ(10, ReadClock()->alpha);
    sandbox.WriteUserIni("[tester:clock1]\r\nalpha=300\r\n");
    EXPECT_EQ(44, ReadClock()->alpha);
    sandbox.WriteUserIni("[tester:clock1]\r\nalpha=256\r\n");  // low byte 0: the new-clock default
    EXPECT_EQ(255, ReadClock()->alpha);
    sandbox.WriteUserIni("[tester:clock1]\r\nalpha=-1\r\ntransparent=512\r\n");
    ReadClock c;
    EXPECT_EQ(255, c->alpha);
    EXPECT_EQ(0, c->transparent);
}

TEST(ClockReader, EnabledAndDaylightFlagsAreOnUnlessTheTextBeginsWithZero) {
    Sandbox sandbox;
    sandbox.WriteUserIni(
        "[tester:clock1]\r\nenabled=yes\r\nzone=Pacific Standard Time\r\nusedaylight=0 please\r\n");
    ReadClock c;
    EXPECT_EQ(1, c->enabled);
    EXPECT_EQ(0, c->usedaylight);
    EXPECT_EQ(1, c->zoneHasDaylight);
    EXPECT_EQ(0, c->zone.DaylightBias);
    EXPECT_EQ(0, c->zone.StandardBias);
    EXPECT_EQ(480, c->zone.Bias);

    sandbox.WriteUserIni("[tester:clock1]\r\nenabled=0\r\nzone=Tokyo Standard Time\r\nusedaylight=1\r\n");
    ReadClock t;
    EXPECT_EQ(0, t->enabled);
    EXPECT_EQ(1, t->usedaylight);
    EXPECT_EQ(0, t->zoneHasDaylight);  // Tokyo has no daylight rule
    EXPECT_STREQ(L"Tokyo Standard Time", t->zone.key);
}

TEST(ClockReader, AZoneTheTableLacksRunsOnLocalTimeAndKeepsItsKeyForTheNextSave) {
    Sandbox sandbox;
    const ZoneTables table = g_zones;
    // With the sandbox's table, and with none loaded at all (the settings
    // program without timezones.txt).
    for (bool withTable : {true, false}) {
        SCOPED_TRACE(withTable ? "with a table" : "without a table");
        if (!withTable) g_zones = ZoneTables();
        sandbox.WriteUserIni(
            "[tester:clock1]\r\nzone=Atlantis Standard Time\r\ntimezone=(UTC-02:00) Atlantis\r\nusedaylight=1\r\n"
            "[tester:clock2]\r\nzone=Local System Time\r\n");
        ReadClock c;
        EXPECT_STREQ(L"Atlantis Standard Time", c->zone.key);
        EXPECT_STREQ(L"(UTC-02:00) Atlantis", c->zone.displayName);
        EXPECT_EQ(kMissingZoneId, c->zone.id);
        EXPECT_EQ(withTable ? sandbox.zone(kZoneLocal).Bias : LocalZone().Bias, c->zone.Bias);
        EXPECT_EQ(1, c->usedaylight);
        ASSERT_TRUE(WriteClockSection(UserIniPath().c_str(), L"tester:clock1", c.record));
        EXPECT_EQ(L"Atlantis Standard Time", UserValue(L"tester:clock1", L"zone"));
        EXPECT_EQ(L"(UTC-02:00) Atlantis", UserValue(L"tester:clock1", L"timezone"));

        ClockRecord local;
        memset(&local, 0, sizeof(local));
        ReadClockRecord(L"tester:clock2", UserIniPath().c_str(), local, false);
        EXPECT_STREQ(kLocalSystemTimeKey, local.zone.key);
        g_zones = table;
    }
}

TEST(ClockReader, OverLongTextsAreCutToTheirFields) {
    Sandbox sandbox;
    std::string ini = "[tester:clock1]\r\n";
    ini += "prefix=" + Repeat('p', 500) + "\r\n";
    ini += "location=" + Repeat('l', 1000) + "\r\n";
    ini += "url=" + Repeat('u', 3000) + "\r\n";
    ini += "skin=" + Repeat('s', 300) + "\r\n";
    ini += "timeformat=" + Repeat('t', 200) + "\r\n";
    ini += "dateformat=" + Repeat('d', 200) + "\r\n";
    ini += "zone=" + Repeat('z', 400) + "\r\n";
    sandbox.WriteUserIni(ini);
    ReadClock c;
    EXPECT_EQ(31u, wcsnlen(c->prefix, ARRAYSIZE(c->prefix)));
    EXPECT_EQ(31u, wcsnlen(c->label, ARRAYSIZE(c->label)));
    EXPECT_EQ(161u, wcsnlen(c->location, ARRAYSIZE(c->location)));
    EXPECT_EQ(511u, wcsnlen(c->url, ARRAYSIZE(c->url)));
    EXPECT_EQ(79u, wcsnlen(c->skin, ARRAYSIZE(c->skin)));
    EXPECT_EQ(31u, wcsnlen(c->timeformat, ARRAYSIZE(c->timeformat)));
    EXPECT_EQ(31u, wcsnlen(c->dateformat, ARRAYSIZE(c->dateformat)));
    EXPECT_STREQ(kLocalSystemTimeKey, c->zone.key);

    sandbox.WriteUserIni("[tester:clock1]\r\ntimer_mode=1\r\ntimerformat=" + Repeat('%', 400) +
                         "\r\ntooltip=" + Repeat('x', 300) + "\r\n");
    ReadClock t;
    EXPECT_EQ(99u, wcsnlen(t->timerformat, ARRAYSIZE(t->timerformat)));
    EXPECT_EQ(77u, wcsnlen(t->label, ARRAYSIZE(t->label)));
}

TEST(ClockReader, GarbageNumbersReadAsTheirDefaults) {
    Sandbox sandbox;
    sandbox.WriteUserIni(
        "[tester:clock1]\r\ntimer_mode=7\r\nalpha=abc\r\naction=x\r\nexpanded=\r\nprofiles=junk\r\n"
        "suffix=\r\n");
    ReadClock c;
    EXPECT_EQ(0u, c->kind);
    EXPECT_EQ(255, c->alpha);
    EXPECT_EQ(0, c->action);
    EXPECT_EQ(0, c.expanded);
    EXPECT_EQ(0, c->profilesEnabled);  // a text that is no number reads as 0
}

TEST(ClockReader, ProfilesStopAtTheFirstMissingOrBadOne) {
    Sandbox sandbox;
    sandbox.WriteUserIni(
        "[tester:clock1]\r\nprofile1=1, 09:00-18:00, FF0000, 7F, 06, Work\r\n"
        "profile3=1, 10:00-11:00, 00FF00, 7F, 1, Late\r\n");
    ReadClock gap;
    ASSERT_EQ(1, gap->profileCount);
    EXPECT_EQ(COLORREF(0x0000FF), gap->profiles[0].colour);
    EXPECT_STREQ(L"Work", gap->profiles[0].name);

    sandbox.WriteUserIni(
        "[tester:clock1]\r\nprofile1=1, 09:00-18:00, FF0000, 7F, 06, Work\r\n"
        "profile2=1, 09:00-24:00, FF0000, 7F, 06, Too long\r\nprofile3=garbage\r\n");
    ReadClock bad;
    EXPECT_EQ(1, bad->profileCount);
    BackgroundProfile zero{};
    EXPECT_EQ(0, memcmp(&zero, &bad->profiles[1], sizeof(zero)));
}

TEST(ClockReader, AlarmsStopAtTheFirstInvalidOneAndAtTwenty) {
    Sandbox sandbox;
    std::string ini = "[tester:clock1]\r\nenabled=1\r\n";
    for (int m = 1; m <= 25; ++m) {
        ini += "[tester:clock1:alarm" + std::to_string(m) + "]\r\ntype=0\r\nonce=2030.01.01 08:00:00\r\n";
    }
    sandbox.WriteUserIni(ini);
    EXPECT_EQ(20, ReadClock()->alarmCount);
    EXPECT_EQ(0, ReadClock(false)->alarmCount);

    sandbox.WriteUserIni(
        "[tester:clock1]\r\n[tester:clock1:alarm1]\r\ntype=0\r\nonce=2030.01.01 08:00:00\r\n"
        "[tester:clock1:alarm2]\r\ntype=6\r\nonce=2030.01.01 08:00:00\r\n"
        "[tester:clock1:alarm3]\r\ntype=0\r\nonce=2030.01.01 08:00:00\r\n");
    ReadClock c;
    EXPECT_EQ(1, c->alarmCount);
}

TEST(ClockReader, CountdownToNoDateCountsToTheMomentOfLoading) {
    Sandbox sandbox;
    sandbox.WriteUserIni("[tester:clock1]\r\ntimer_mode=-1\r\nzone=Tokyo Standard Time\r\nduration=0\r\n");
    const uint64_t before = NowMoment();
    ReadClock c;
    const uint64_t after = NowMoment();
    EXPECT_EQ(kClockTimer | kClockCountdown | kClockSetDate, c->kind);
    EXPECT_GE(c->start, before);
    EXPECT_LE(c->start, after);
    // The target is that moment on Tokyo's clock.
    FILETIME ft{static_cast<DWORD>(c->start), static_cast<DWORD>(c->start >> 32)};
    SYSTEMTIME utc;
    ASSERT_TRUE(FileTimeToSystemTime(&ft, &utc));
    EXPECT_EQ((utc.wHour + 9) % 24, c->targetTime.wHour);
    EXPECT_STREQ(L"%H:%02m:%02s", c->timerformat);
}

TEST(ClockReader, ANegativeDurationIsNoDuration) {
    Sandbox sandbox;
    sandbox.WriteUserIni(
        "[tester:clock1]\r\ntimer_mode=-1\r\nduration=-300\r\nterm=2031.01.01 00:00:00\r\n");
    ReadClock c;
    EXPECT_EQ(0u, c->duration);
    EXPECT_EQ(kClockTimer | kClockCountdown | kClockSetDate, c->kind);
}

TEST(ClockReader, ACountdownThatNeverRanShowsItsWholeLength) {
    Sandbox sandbox;
    sandbox.WriteUserIni("[tester:clock1]\r\ntimer_mode=-1\r\nduration=300\r\nrunning=0\r\n");
    ReadClock fresh;
    EXPECT_EQ(300 * kSecond, fresh->elapsed);
    sandbox.WriteUserIni("[tester:clock1]\r\ntimer_mode=-1\r\nduration=300\r\nremaining=0\r\n");
    ReadClock finished;
    EXPECT_EQ(0u, finished->elapsed);
}

TEST(ClockReader, ARunningTimerWhoseMomentIsLostIsReset) {
    Sandbox sandbox;
    sandbox.WriteUserIni(
        "[tester:clock1]\r\ntimer_mode=-1\r\nduration=300\r\nrunning=1\r\nremaining=1000\r\n");
    ReadClock countdown;
    EXPECT_EQ(0, countdown->running);
    EXPECT_EQ(300 * kSecond, countdown->elapsed);  // back to its full length

    sandbox.WriteUserIni("[tester:clock1]\r\ntimer_mode=1\r\nrunning=1\r\nelapsed=5000\r\nstart_time=junk\r\n");
    ReadClock stopwatch;
    EXPECT_EQ(0, stopwatch->running);
    EXPECT_EQ(0u, stopwatch->elapsed);
}

TEST(ClockWriter, StaleProfilesAlarmsAndKeysAreCutOff) {
    Sandbox sandbox;
    sandbox.WriteUserIni(
        "[tester:clock1]\r\ntimer_mode=-1\r\nduration=300\r\nexpanded=3\r\n"
        "profile1=1, 09:00-18:00, FF0000, 7F, 06, A\r\nprofile2=1, 09:00-18:00, FF0000, 7F, 06, B\r\n"
        "profile3=1, 09:00-18:00, FF0000, 7F, 06, C\r\n"
        "[tester:clock1:alarm1]\r\ntimestamp=600000000\r\n"
        "[tester:clock1:alarm2]\r\ntimestamp=600000000\r\n"
        "[tester:clock1:alarm3]\r\ntimestamp=600000000\r\n"
        "[tester:clock1:alarm4]\r\ntimestamp=600000000\r\n");
    ClockRecord c;
    memset(&c, 0, sizeof(c));
    ReadClockRecord(L"tester:clock1", UserIniPath().c_str(), c, true);
    ASSERT_EQ(4, c.alarmCount);
    c.kind = 0;
    CopyBounded(c.timeformat, L"Default");
    CopyBounded(c.dateformat, L"None");
    c.profileCount = 1;
    c.alarmCount = 2;
    c.expanded = 0;
    ASSERT_TRUE(WriteClockSection(UserIniPath().c_str(), L"tester:clock1", c));
    ResizeAlarmArray(c.alarms, 0);

    EXPECT_EQ(std::wstring(kMissingKey), UserValue(L"tester:clock1", L"timer_mode"));
    EXPECT_EQ(std::wstring(kMissingKey), UserValue(L"tester:clock1", L"profile2"));
    EXPECT_EQ(std::wstring(kMissingKey), UserValue(L"tester:clock1", L"expanded"));
    EXPECT_TRUE(UserSectionExists(L"tester:clock1:alarm2"));
    EXPECT_FALSE(UserSectionExists(L"tester:clock1:alarm3"));

    ReadClock back;
    EXPECT_EQ(1, back->profileCount);
    EXPECT_EQ(2, back->alarmCount);
}

TEST(ClockWriter, ADamagedRecordIsWrittenWithinItsFields) {
    Sandbox sandbox;
    ClockRecord c;
    memset(&c, 'A', sizeof(c));  // no terminator in any text, counts out of range
    c.kind = 0;
    c.alarms = nullptr;
    c.alarmCount = 1000;
    c.profileCount = -5;
    c.number = 1;
    WriteClockSection(UserIniPath().c_str(), L"tester:clock1", c);
    ReadClock back;
    EXPECT_EQ(31u, wcsnlen(back->prefix, ARRAYSIZE(back->prefix)));
    EXPECT_EQ(511u, wcsnlen(back->url, ARRAYSIZE(back->url)));
    EXPECT_EQ(0, back->profileCount);
    EXPECT_EQ(0, back->alarmCount);
}

TEST(ClockReader, TruncatedAndBinaryFilesGiveDefaultsOrWhatWasWhole) {
    Sandbox sandbox;
    sandbox.WriteUserIni(
        "[tester:clock1]\r\nenabled=1\r\nprefix=Oslo\r\nprofile1=1, 09:0\r\n[tester:clock1:alarm1]\r\ntype=0\r\n"
        "once=2030.01");
    ReadClock cut;
    EXPECT_EQ(1, cut->enabled);
    EXPECT_STREQ(L"Oslo", cut->prefix);
    EXPECT_EQ(0, cut->profileCount);
    EXPECT_EQ(0, cut->alarmCount);

    std::string noise;
    for (int i = 0; i < 4096; ++i) noise += static_cast<char>((i * 131 + 7) & 0xFF);
    sandbox.WriteUserIni(noise);
    ReadClock garbage;
    EXPECT_STREQ(L"Default", garbage->timeformat);
    EXPECT_EQ(0, garbage->alarmCount);
    EXPECT_LT(wcsnlen(garbage->prefix, ARRAYSIZE(garbage->prefix)), ARRAYSIZE(garbage->prefix));
}
