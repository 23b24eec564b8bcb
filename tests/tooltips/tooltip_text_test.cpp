// The tooltip texts for fixed moments: one clock with its label, date and
// background profile, a timer's running time, and every clock at once.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/records/clock_record.h"
#include "common/platform/text_bounds.h"
#include "hook/tooltip_text.h"
#include "tests/time/zone_fixtures.h"

using namespace zone_fixtures;

namespace {

// Invariant locale, numeric date and 24-hour time: the same on every machine.
TooltipLocale Pinned() {
    TooltipLocale locale;
    locale.lcid = LOCALE_INVARIANT;
    CopyBounded(locale.timePattern, L"HH:mm");
    CopyBounded(locale.datePicture, L"yyyy-MM-dd");
    return locale;
}

ClockRecord Clock(const wchar_t* label, const ZoneRecord& zone, int enabled = 1) {
    ClockRecord c;
    std::memset(&c, 0, sizeof c);
    c.enabled = enabled;
    c.usedaylight = 1;
    c.zone = zone;
    CopyBounded(c.label, label);
    return c;
}

std::wstring Pattern(const wchar_t* format, const wchar_t* separator, bool seconds) {
    wchar_t out[32] = {};
    MakeTimePattern(format, separator, seconds, out, 32);
    return out;
}

BackgroundProfile Profile(const wchar_t* name) {
    BackgroundProfile p;
    std::memset(&p, 0, sizeof p);
    p.enabled = 1;
    CopyBounded(p.name, name);
    return p;
}

}  // namespace

TEST(TooltipText, AmpersandsAreWrittenForTheTooltipsPrefixProcessing) {
    EXPECT_EQ(EscapeTooltipAmpersands(L"R&D"), L"R&&&D");
    EXPECT_EQ(EscapeTooltipAmpersands(L"A&&B"), L"A&&&&&B");
    EXPECT_EQ(EscapeTooltipAmpersands(L"&x&"), L"&&&x&&&");
    EXPECT_EQ(EscapeTooltipAmpersands(L"plain"), L"plain");
    EXPECT_EQ(EscapeTooltipAmpersands(nullptr), L"");
}

TEST(TooltipText, TimePatternFollowsTheLocalesFormat) {
    EXPECT_EQ(Pattern(L"h:mm:ss tt", L":", false), L"h:mm tt");
    EXPECT_EQ(Pattern(L"h:mm:ss tt", L":", true), L"h:mm:ss tt");
    EXPECT_EQ(Pattern(L"HH:mm:ss", L":", false), L"HH:mm");
    EXPECT_EQ(Pattern(L"H.mm.s", L".", true), L"H.mm.s");
    EXPECT_EQ(Pattern(L"hh:m", L":", true), L"hh:m:ss tt");
    // No format at all: 12-hour with the usual separator.
    EXPECT_EQ(Pattern(L"", L"", false), L"h:m tt");
    wchar_t tiny[4] = {};
    MakeTimePattern(L"HH:mm:ss", L":", true, tiny, 4);
    EXPECT_EQ(std::wstring(tiny), L"HH:");
}

TEST(TooltipText, OneClockShowsItsLabelDateAndProfileName) {
    const TooltipLocale locale = Pinned();
    ClockRecord c = Clock(L"R&D Lab", Eastern());
    const SYSTEMTIME local = Dated(2024, 7, 4, 12, 30);
    EXPECT_EQ(ClockTooltipText(c, local, nullptr, locale), L"R&&&D Lab\r\n2024-07-04");

    const BackgroundProfile lunch = Profile(L"Lunch");
    EXPECT_EQ(ClockTooltipText(c, local, &lunch, locale), L"R&&&D Lab\r\n2024-07-04\r\nLunch");
    const BackgroundProfile unnamed = Profile(L"");
    EXPECT_EQ(ClockTooltipText(c, local, &unnamed, locale), L"R&&&D Lab\r\n2024-07-04");

    // No label: the date alone after the line break.
    ClockRecord bare = Clock(L"", Eastern());
    EXPECT_EQ(ClockTooltipText(bare, local, nullptr, locale), L"\r\n2024-07-04");
}

TEST(TooltipText, LongLabelsAreCutSoThatLabelAndDateFit) {
    const TooltipLocale locale = Pinned();
    const std::wstring long77(77, L'x');
    ClockRecord c = Clock(long77.c_str(), Eastern());
    const SYSTEMTIME local = Dated(2024, 7, 4, 12);
    const std::wstring text = ClockTooltipText(c, local, nullptr, locale);
    EXPECT_EQ(text, std::wstring(65, L'x') + L"\r\n2024-07-04");
    // The profile's name only gets what is left of the 76 characters.
    const BackgroundProfile p = Profile(L"Evening");
    EXPECT_EQ(ClockTooltipText(c, local, &p, locale), text);
    ClockRecord shorter = Clock(std::wstring(60, L'y').c_str(), Eastern());
    EXPECT_EQ(ClockTooltipText(shorter, local, &p, locale),
              std::wstring(60, L'y') + L"\r\n2024-07-04\r\nEv");
    // The cut never splits an escaped "&": the 66th character would be the
    // middle of "&&&", so the label stops before the "&".
    ClockRecord amp = Clock((std::wstring(63, L'x') + L"&D").c_str(), Eastern());
    EXPECT_EQ(ClockTooltipText(amp, local, nullptr, locale), std::wstring(63, L'x') + L"\r\n2024-07-04");
}

TEST(TooltipText, TimersShowTheirRunningTime) {
    const TooltipLocale locale = Pinned();
    ClockRecord t = Clock(L"", Eastern());
    t.kind = kClockTimer | kClockCountdown;
    t.elapsed = 3725ULL * 10000000ULL;
    CopyBounded(t.timerformat, L"%H:%02m:%02s");
    const SYSTEMTIME any = Dated(2024, 7, 4, 12);
    EXPECT_EQ(ClockTooltipText(t, any, nullptr, locale), L"1:02:05");
    // A label is the format.
    CopyBounded(t.label, L"%M min left");
    EXPECT_EQ(ClockTooltipText(t, any, nullptr, locale), L"62 min left");
    // No format at all: the usual one.
    std::memset(t.label, 0, sizeof t.label);
    std::memset(t.timerformat, 0, sizeof t.timerformat);
    EXPECT_EQ(ClockTooltipText(t, any, nullptr, locale), L"1:02:05");
    // A long format stops at 78 characters.
    CopyBounded(t.timerformat, std::wstring(99, L'z').c_str());
    EXPECT_EQ(ClockTooltipText(t, any, nullptr, locale).size(), kTimerTipChars);
}

TEST(TooltipText, AllClocksAtTheNotedMomentInRecordOrder) {
    const TooltipLocale locale = Pinned();
    ClockRecord clocks[4] = {Clock(L"New York", Eastern()), Clock(L"", Sydney()), Clock(L"Off", Eastern(), 0),
                             Clock(L"UTC+2", FixedDates())};
    const SYSTEMTIME utc = Dated(2024, 7, 4, 16, 5);
    EXPECT_EQ(AllClocksTooltipText(clocks, 4, utc, locale),
              L"New York, 2024-07-04, 12:05\r\n"
              L"2024-07-05, 02:05\r\n"
              L"UTC+2, 2024-07-04, 19:05");
    EXPECT_EQ(AllClocksTooltipText(clocks, 0, utc, locale), L"");
    EXPECT_EQ(AllClocksTooltipText(nullptr, 3, utc, locale), L"");

    // Thirty long labels overflow the buffer: whole lines only (96 + 19 x 98
    // characters), never a clock cut in the middle.
    std::vector<ClockRecord> many(30, Clock(std::wstring(77, L'L').c_str(), Eastern()));
    const std::wstring full = AllClocksTooltipText(many.data(), 30, utc, locale);
    EXPECT_EQ(full.size(), 96u + 19u * 98u);
    EXPECT_EQ(full.substr(full.size() - 7), L", 12:05");
}

TEST(TooltipText, RowsSortLaterLocalTimesFirstThenByLabel) {
    const TooltipLocale locale = Pinned();
    ClockRecord clocks[5] = {Clock(L"Boston", Eastern()), Clock(L"Sydney", Sydney()), Clock(L"Athens", FixedDates()),
                             Clock(L"Albany", Eastern()), Clock(L"Hidden", Sydney(), 0)};
    const SYSTEMTIME utc = Dated(2024, 7, 4, 16);
    const auto rows = ClockTipRows(clocks, 5, utc, locale, true);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].label, L"Sydney");  // 5 July 02:00
    EXPECT_EQ(rows[1].label, L"Athens");  // 4 July 19:00
    EXPECT_EQ(rows[2].label, L"Albany");  // 4 July 12:00, by label
    EXPECT_EQ(rows[3].label, L"Boston");
    EXPECT_EQ(rows[0].index, 1);
    EXPECT_EQ(rows[0].time, L"02:00");
    EXPECT_EQ(rows[0].date, L"2024-07-05");

    // The day key orders the last of a month before the first of the next.
    ClockTipRow a, b;
    a.local = Time(2024, 1, 31, 23, 59, 59);
    b.local = Time(2024, 2, 1, 0, 0, 0);
    EXPECT_GT(CompareClocksForSort(a, b), 0);
    EXPECT_LT(CompareClocksForSort(b, a), 0);
    a.local = b.local;
    a.label = L"same";
    b.label = L"SAME";
    EXPECT_EQ(CompareClocksForSort(a, b), 0);

    // Timers stay among the rows (the drawn columns leave them out).
    ClockRecord timer = Clock(L"T", Eastern());
    timer.kind = kClockTimer;
    const auto withTimer = ClockTipRows(&timer, 1, utc, locale, false);
    ASSERT_EQ(withTimer.size(), 1u);
    EXPECT_TRUE(withTimer[0].timer);
}
