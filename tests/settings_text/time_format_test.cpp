#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "common/settings/localisation.h"
#include "common/settings/time_format.h"
#include "common/settings/time_format_timer.h"
#include "common/settings/time_format_weeks.h"
#include "common/records/clock_table.h"
#include "tests/settings_text/text_fixtures.h"

namespace {

using namespace settings_text_test;

// Pins the locale's time conventions for one test and puts them back after.
class PinnedLocale {
public:
    PinnedLocale(const wchar_t* sep, bool is24, const wchar_t* am, const wchar_t* pm) : saved_(CurrentLocaleTimeFormat()) {
        LocaleTimeFormat f{};
        wcscpy(f.separator, sep);
        f.is24Hour = is24;
        wcscpy(f.am, am);
        wcscpy(f.pm, pm);
        SetLocaleTimeFormat(f);
    }
    ~PinnedLocale() { SetLocaleTimeFormat(saved_); }

private:
    LocaleTimeFormat saved_;
};

class IsoWeeks {
public:
    explicit IsoWeeks(bool on) : saved_(g_settings.iso_weeks) { g_settings.iso_weeks = on ? 1 : 0; }
    ~IsoWeeks() { g_settings.iso_weeks = saved_; }

private:
    int32_t saved_;
};

std::wstring Seconds(unsigned s, bool withSeconds) {
    wchar_t buf[64];
    FormatSeconds(buf, 64, s, withSeconds);
    return buf;
}

std::wstring Timer(const wchar_t* format, uint64_t seconds, size_t size = 256) {
    wchar_t buf[256];
    FormatDuration(buf, size, format, seconds * kSecond);
    return buf;
}

TEST(TimeFormat, SecondsOnTheTwelveAndTwentyFourHourDials) {
    {
        PinnedLocale pin(L":", false, L"AM", L"PM");
        EXPECT_EQ(Seconds(0, false), L"12:00 AM");
        EXPECT_EQ(Seconds(43200, false), L"12:00 PM");
        EXPECT_EQ(Seconds(46800, false), L"01:00 PM");
        EXPECT_EQ(Seconds(46800 + 65, true), L"01:01:05 PM");
    }
    PinnedLocale pin(L".", true, L"", L"");
    EXPECT_EQ(Seconds(3725, true), L"01.02.05");
    wchar_t tiny[4];
    EXPECT_EQ(FormatSeconds(tiny, 4, 3725, true), 3u);
    EXPECT_STREQ(tiny, L"01.");
}

TEST(TimeFormat, ParsesTypedTimesOfDay) {
    PinnedLocale pin(L":", false, L"AM", L"PM");
    EXPECT_EQ(ParseTimeText(L"7:5"), kTimeTextBadMinute);
    EXPECT_EQ(ParseTimeText(L"25:00"), kTimeTextBadHour);
    EXPECT_EQ(ParseTimeText(L"13:00 PM"), kTimeTextBadHour);
    EXPECT_EQ(ParseTimeText(L"1:00 PM"), 46800);
    EXPECT_EQ(ParseTimeText(L"12:30 pm"), 45000);
    EXPECT_EQ(ParseTimeText(L"24:00"), 0);
    EXPECT_EQ(ParseTimeText(L"01:30:15"), 5415);
    EXPECT_EQ(ParseTimeText(L"1.00"), kTimeTextNoSeparator);
    EXPECT_EQ(ParseTimeText(L"1:00:7"), kTimeTextBadSecond);
    EXPECT_EQ(ParseTimeText(L"1:00 XM"), kTimeTextBadSuffix);
    EXPECT_EQ(ParseTimeText(L""), kTimeTextBadHour);
    EXPECT_EQ(ParseTimeText(nullptr), kTimeTextBadHour);
    EXPECT_EQ(ParseTimeText(L"99999999999999999999:00"), kTimeTextBadHour);
    // Whatever FormatSeconds writes reads back.
    for (unsigned s : {0u, 59u, 3600u, 43199u, 43200u, 86399u}) EXPECT_EQ(ParseTimeText(Seconds(s, true).c_str()), int(s));
}

TEST(TimeFormat, NamedTimeFormatsAndCustomPictures) {
    SYSTEMTIME t = Time(2024, 1, 15, 9, 5, 7);
    wchar_t buf[kTimeTextChars];
    FormatTimeByName(buf, kTimeTextChars, t, L"24 hours");
    EXPECT_STREQ(buf, L"9:05");
    FormatTimeByName(buf, kTimeTextChars, t, L"HH'h'mm ss");
    EXPECT_STREQ(buf, L"09h05 07");
    SYSTEMTIME bad = t;
    bad.wHour = 25;
    FormatTimeByName(buf, kTimeTextChars, bad, L"24 hours");
    EXPECT_STREQ(buf, L"Error!");

    EXPECT_TRUE(IsCustomTimeFormat(L"HH:mm:ss"));
    EXPECT_FALSE(IsCustomTimeFormat(L"HH:mm"));
    EXPECT_FALSE(IsCustomTimeFormat(L"24 hours"));
}

TEST(TimeFormat, DatePicturesWithWeeks) {
    SYSTEMTIME t = Time(2024, 1, 15);
    t.wDayOfWeek = 1;  // Monday
    wchar_t buf[kDateTextChars];
    IsoWeeks iso(true);
    FormatDate(buf, kDateTextChars, t, L"Week w", false);
    EXPECT_STREQ(buf, L"Week 3");
    FormatDate(buf, kDateTextChars, t, L"ww wd wD", false);
    EXPECT_STREQ(buf, L"03 1 2");
    FormatDate(buf, kDateTextChars, t, L"dd\\nyyyy", false);
    EXPECT_STREQ(buf, L"15\n2024");
    FormatDate(buf, kDateTextChars, t, L"dd\\nyyyy", true);
    EXPECT_STREQ(buf, L"15 2024");
    EXPECT_EQ(FormatDate(buf, kDateTextChars, t, L"None", false), 0u);
    EXPECT_STREQ(buf, L"");
    SYSTEMTIME bad = Time(2024, 13, 40);
    FormatDate(buf, kDateTextChars, bad, L"dd", false);
    EXPECT_STREQ(buf, L"Error!");
    // An overlong picture is cut, never copied past its room.
    std::wstring longPicture(400, L'y');
    EXPECT_LE(FormatDate(buf, kDateTextChars, t, longPicture.c_str(), false), 79u);
}

TEST(TimeFormat, DayDigitsFollowTheLocalesFirstDay) {
    SYSTEMTIME t = Time(2024, 1, 17);
    t.wDayOfWeek = 3;  // Wednesday
    IsoWeeks iso(false);
    wchar_t buf[kDateTextChars];
    FormatDate(buf, kDateTextChars, t, L"wd", false);
    EXPECT_EQ(buf[0], L'0' + (2 - GetFirstDayOfWeek() + 7) % 7);  // Wednesday is 2 from Monday
}

TEST(TimeFormat, WeekNumbersAtTheYearsEdges) {
    EXPECT_EQ(IsoWeekNumber(Time(2024, 1, 15)), 3);
    EXPECT_EQ(IsoWeekNumber(Time(2021, 1, 3)), 53);   // still 2020's last week
    EXPECT_EQ(IsoWeekNumber(Time(2024, 12, 30)), 1);  // already 2025's first
    EXPECT_EQ(IsoWeekNumber(Time(2027, 1, 1)), 53);
    EXPECT_EQ(IsoWeekNumber(Time(2025, 13, 1)), 0);   // no such date
    // Weeks from Sunday: 2023-12-31 starts the week whose Wednesday is in 2024.
    EXPECT_EQ(WeekNumberFrom(Time(2023, 12, 31), 6), 1);
    EXPECT_EQ(WeekNumberFrom(Time(2024, 1, 7), 6), 2);
}

TEST(TimerFormat, TotalsAndRemainders) {
    EXPECT_EQ(Timer(L"%H:%02m:%02s", 3725), L"1:02:05");
    EXPECT_EQ(Timer(L"%D days %h:%02m", 90000), L"1 days 1:00");
    EXPECT_EQ(Timer(L"%W/%w %d %M %S", 15 * 86400 + 61), L"2/2 1 21601 1296061");
    EXPECT_EQ(Timer(L"%.3s|%5s|%-3s|%q|100%%", 5), L"005|    5|-3s|q|100%");
    EXPECT_EQ(Timer(L"a\\nb", 0), L"a\nb");

    wchar_t buf[32];
    ExpandTimerFormat(buf, 32, L"%S %M", -1, 5, 0, 0, 0);
    EXPECT_STREQ(buf, L"S 5");
}

TEST(TimerFormat, UserWidthCannotOverrunTheBuffer) {
    struct Guarded {
        wchar_t text[40];
        wchar_t after[8];
    } g;
    wmemset(g.after, L'#', 8);
    FormatDuration(g.text, 40, L"%500S", 5 * kSecond);
    EXPECT_EQ(wcslen(g.text), 39u);
    EXPECT_EQ(g.text[38], L' ');
    for (wchar_t c : g.after) EXPECT_EQ(c, L'#');

    FormatDuration(g.text, 40, L"%099999999999999999999999999999S", 5 * kSecond);
    EXPECT_EQ(wcslen(g.text), 39u);

    // Fewer than 12 characters of room left: expansion stops there.
    EXPECT_EQ(Timer(L"abcdefgh%S", 7, 16), L"abcdefgh");
    EXPECT_EQ(Timer(L"abc%S", 7, 16), L"abc7");
}

TEST(TimerFormat, UnitWordsFromThePluralTables) {
    LanguageStrings& lang = Language();
    lang.SetPluralTable(0, L"sec;1 second;2-99 seconds");
    EXPECT_EQ(Timer(L"%S %Sn", 1), L"1 second");
    EXPECT_EQ(Timer(L"%S %Sn", 2), L"2 seconds");
    lang.SetPluralTable(0, nullptr);
    EXPECT_EQ(Timer(L"%Sn", 1), L"s");
}

TEST(TimerFormat, ShowsSeconds) {
    EXPECT_TRUE(TimerFormatShowsSeconds(L"%H:%02m:%02s"));
    EXPECT_TRUE(TimerFormatShowsSeconds(L"%5.2S"));
    EXPECT_FALSE(TimerFormatShowsSeconds(L"%H:%02m"));
    EXPECT_FALSE(TimerFormatShowsSeconds(L"100%%s"));
    EXPECT_FALSE(TimerFormatShowsSeconds(L"seconds"));
}

}  // namespace
