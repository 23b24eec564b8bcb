#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "common/settings/background_text.h"
#include "common/settings/ini_store.h"
#include "tests/settings_text/text_fixtures.h"
#include "tests/support/test_support.h"
#include "tests/time/zone_fixtures.h"

namespace {

using namespace settings_text_test;

std::wstring Format(const BackgroundProfile& p, const ClockRecord* clock) {
    wchar_t buf[kProfileTextChars];
    FormatBackgroundProfile(p, buf, kProfileTextChars, clock);
    return buf;
}

TEST(BackgroundText, DailyFormWithWeekdaysAndName) {
    BackgroundProfile p{};
    ASSERT_TRUE(ParseBackgroundProfile(L"1, 09:00-18:00, FF0000, 7F, 06, Work", p, nullptr));
    EXPECT_EQ(p.enabled, 1);
    EXPECT_EQ(p.fromMinute, 540);
    EXPECT_EQ(p.toMinute, 1080);
    EXPECT_EQ(p.colour, 0x0000FFu);  // red as a COLORREF
    EXPECT_EQ(p.opacity, 127u);
    EXPECT_EQ(p.weekdayMask, 0x41u);
    EXPECT_STREQ(p.name, L"Work");
    EXPECT_EQ(Format(p, nullptr), L"1, 09:00-18:00, FF0000, 7F, 06, Work");
}

TEST(BackgroundText, EmptyWeekdayListAndMissingNameOrFlag) {
    BackgroundProfile p{};
    ASSERT_TRUE(ParseBackgroundProfile(L"0, 09:00-18:00, 00FF00, 80, , Idle", p, nullptr));
    EXPECT_EQ(p.enabled, 0);
    EXPECT_EQ(p.weekdayMask, 0u);
    EXPECT_STREQ(p.name, L"Idle");
    EXPECT_EQ(Format(p, nullptr), L"0, 09:00-18:00, 00FF00, 80, , Idle");

    BackgroundProfile q{};
    ASSERT_TRUE(ParseBackgroundProfile(L"09:00-18:00, 00FF00, 80, 1", q, nullptr));
    EXPECT_EQ(q.enabled, 1);
    EXPECT_EQ(q.weekdayMask, 2u);
    EXPECT_STREQ(q.name, L"");
}

TEST(BackgroundText, RefusesOutOfRangeAndGarbage) {
    BackgroundProfile p{};
    p.opacity = 42;
    EXPECT_FALSE(ParseBackgroundProfile(L"09:00-24:00, 00FF00, 80, 1, X", p, nullptr));
    for (const wchar_t* bad : {L"", L"1, 24:00-18:00, 00FF00, 80, 1, X", L"1, -1:30-18:00, 00FF00, 80, 1, X",
                               L"1, 09:00-18:00, GREEN!, 80, 1, X", L"1, 09:00", L"garbage"})
        EXPECT_FALSE(ParseBackgroundProfile(bad, p, nullptr)) << bad;
    EXPECT_FALSE(ParseBackgroundProfile(nullptr, p, nullptr));
    EXPECT_EQ(p.opacity, 42u);  // untouched after a refusal
}

TEST(BackgroundText, NameNeverRunsPastItsField) {
    // 200 characters of name: the field holds 77 and its terminator.
    std::wstring text = L"1, 09:00-18:00, FF0000, 7F, 06, " + std::wstring(200, L'N');
    struct Guarded {
        BackgroundProfile p;
        wchar_t after[8];
    } g;
    std::memset(&g, 0, sizeof g);
    wmemset(g.after, L'#', 8);
    ASSERT_TRUE(ParseBackgroundProfile(text.c_str(), g.p, nullptr));
    EXPECT_EQ(wcslen(g.p.name), 77u);
    for (wchar_t c : g.after) EXPECT_EQ(c, L'#');

    // A record whose name lacks its terminator still formats within bounds.
    wmemset(g.p.name, L'Z', 78);
    std::wstring out = Format(g.p, nullptr);
    EXPECT_EQ(out, L"1, 09:00-18:00, FF0000, 7F, 06, " + std::wstring(77, L'Z'));
}

TEST(BackgroundText, TimerFormInSeconds) {
    ClockRecord stopwatch = MakeClock(kClockTimer);
    BackgroundProfile p{};
    ASSERT_TRUE(ParseBackgroundProfile(L"1, 00010 00070, 0000FF, FF, Last minute", p, &stopwatch));
    EXPECT_EQ(p.from, 10 * kSecond);
    EXPECT_EQ(p.to, 70 * kSecond);
    EXPECT_EQ(p.colour, 0xFF0000u);  // blue
    EXPECT_STREQ(p.name, L"Last minute");
    EXPECT_EQ(Format(p, &stopwatch), L"1, 00010 00070, 0000FF, FF, Last minute");

    EXPECT_FALSE(ParseBackgroundProfile(L"1, 00010, 0000FF, FF, X", p, &stopwatch));
    EXPECT_FALSE(ParseBackgroundProfile(L"1, 00010 00070, 0000FF, FF", p, &stopwatch));  // name required
    EXPECT_FALSE(ParseBackgroundProfile(L"1, 99999999999999999999 1, 0000FF, FF, X", p, &stopwatch));
}

TEST(BackgroundText, DatedCountdownFormConvertsThroughTheZone) {
    ClockRecord countdown = MakeClock(kClockTimer | kClockCountdown | kClockSetDate);
    BackgroundProfile p{};
    const wchar_t* text = L"1, 2024.03.01 10:00:00-2024.03.01 12:30:00, 00FF00, 40, Final stretch";
    ASSERT_TRUE(ParseBackgroundProfile(text, p, &countdown));
    EXPECT_EQ(p.from, Moment(2024, 3, 1, 9, 0, 0));  // one hour east of UTC
    EXPECT_EQ(p.to, Moment(2024, 3, 1, 11, 30, 0));
    EXPECT_EQ(Format(p, &countdown), text);

    // The old seconds form is still read on such a clock.
    ASSERT_TRUE(ParseBackgroundProfile(L"1, 00005 00009, 0000FF, FF, Old", p, &countdown));
    EXPECT_EQ(p.to, 9 * kSecond);

    // Read only when the date converts.
    EXPECT_FALSE(ParseBackgroundProfile(L"1, 2024.13.01 10:00:00-2024.03.01 12:30:00, 00FF00, 40, X", p, &countdown));
    EXPECT_FALSE(ParseBackgroundProfile(L"1, 2024.03.01 10:00:00-2024.03.01, 00FF00, 40, X", p, &countdown));
    ClockRecord plain = MakeClock(kClockTimer | kClockCountdown);
    EXPECT_FALSE(ProfileRangeToFileTimes(plain, p));
}

TEST(BackgroundText, DatedRangeInTheWeekOfTheSpringSwitchKeepsItsTime) {
    // Friday 8 March 2024, two days before the switch: 02:30 exists.
    ClockRecord countdown = MakeClock(kClockTimer | kClockCountdown | kClockSetDate);
    countdown.zone = zone_fixtures::Eastern();
    BackgroundProfile p{};
    ASSERT_TRUE(ParseBackgroundProfile(L"1, 2024.03.08 02:30:00-2024.03.10 02:30:00, 00FF00, 40, Run", p, &countdown));
    EXPECT_EQ(p.from, Moment(2024, 3, 8, 7, 30, 0));
    EXPECT_EQ(p.to, Moment(2024, 3, 10, 7, 0, 0));  // the skipped 02:30 is 03:00 EDT
}

TEST(BackgroundText, EveryFormRoundTripsThroughTheIni) {
    testing_support::TempDir dir;
    std::wstring file = dir.file(L"tempovia.ini");
    struct Case {
        ClockRecord clock;
        BackgroundProfile profile;
    };
    Case cases[4];
    std::memset(cases, 0, sizeof cases);
    cases[0].clock = MakeClock(0);
    cases[0].profile.fromMinute = 0;
    cases[0].profile.toMinute = 1439;
    cases[0].profile.weekdayMask = 0x7F;
    cases[0].profile.colour = 0x102030;
    cases[0].profile.opacity = 0;
    wcscpy(cases[0].profile.name, L"All week, trailing blank ");
    cases[1].clock = MakeClock(0);
    cases[1].profile.enabled = 1;
    cases[1].profile.fromMinute = 1380;
    cases[1].profile.toMinute = 60;
    cases[1].profile.opacity = 255;
    cases[2].clock = MakeClock(kClockTimer | kClockCountdown);
    cases[2].profile.enabled = 1;
    cases[2].profile.from = 0;
    cases[2].profile.to = 123456 * kSecond;
    cases[2].profile.colour = 0xABCDEF;
    wcscpy(cases[2].profile.name, L"Long run");
    cases[3].clock = MakeClock(kClockTimer | kClockCountdown | kClockSetDate);
    cases[3].profile.enabled = 1;
    cases[3].profile.fromDate = Time(2030, 12, 31, 23, 0, 0);
    cases[3].profile.toDate = Time(2031, 1, 1, 0, 30, 0);
    ASSERT_TRUE(ProfileRangeToFileTimes(cases[3].clock, cases[3].profile));
    cases[3].profile.colour = 0x00FFFF;
    cases[3].profile.opacity = 0x11;
    wcscpy(cases[3].profile.name, L"New year");

    for (int i = 0; i < 4; ++i) {
        wchar_t text[kProfileTextChars];
        FormatBackgroundProfile(cases[i].profile, text, kProfileTextChars, &cases[i].clock);
        std::wstring key = L"profile" + std::to_wstring(i + 1);
        ASSERT_TRUE(WriteIniText(file.c_str(), L"tester:clock1", key.c_str(), text));
    }
    for (int i = 0; i < 4; ++i) {
        std::wstring key = L"profile" + std::to_wstring(i + 1);
        std::wstring text = ReadIniText(file.c_str(), L"tester:clock1", key.c_str());
        BackgroundProfile back{};
        ASSERT_TRUE(ParseBackgroundProfile(text.c_str(), back, &cases[i].clock)) << i;
        EXPECT_EQ(std::memcmp(&back, &cases[i].profile, sizeof back), 0) << i << " " << std::string(text.begin(), text.end());
    }
}

TEST(BackgroundText, NewProfileDefaults) {
    BackgroundProfile p;
    std::memset(&p, 0x5A, sizeof p);
    InitBackgroundProfile(p);
    EXPECT_EQ(p.enabled, 1);
    EXPECT_EQ(p.fromMinute, 540);
    EXPECT_EQ(p.toMinute, 1080);
    EXPECT_EQ(p.colour, 0x00FF00u);
    EXPECT_EQ(p.opacity, 127u);
    EXPECT_EQ(p.weekdayMask, 65u);
    EXPECT_GT(wcslen(p.name), 0u);  // the localised "Background", or the English word
    EXPECT_EQ(Format(p, nullptr).substr(0, 32), L"1, 09:00-18:00, 00FF00, 7F, 06, ");
}

}  // namespace
