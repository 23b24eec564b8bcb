#include <gtest/gtest.h>

#include <string>

#include "common/alarms/alarm_templates.h"
#include "common/zones/city_list.h"
#include "tests/alarms/alarm_fixtures.h"

using namespace alarm_fixtures;

namespace {

ZoneRecord Paris() {
    ZoneRecord z = zone_fixtures::Zone(L"Test Paris", -60);
    z.DaylightBias = -60;
    z.DaylightDate = zone_fixtures::Rule(3, 5, 0, 2);
    z.StandardDate = zone_fixtures::Rule(10, 5, 0, 3);
    z.daylightWeek = 5;
    z.standardWeek = 5;
    return z;
}

// A clock in Paris with a one-city list; the city list is restored afterwards.
class MessageTokens : public ::testing::Test {
protected:
    MessageTokens() : clock(Paris()) {
        saved = g_cities;
        std::memset(&paris, 0, sizeof paris);
        CopyBounded(paris.city, L"Paris");
        CopyBounded(paris.region, L"France");
        g_cities.cities = &paris;
        g_cities.count = 1;
        g_cities.capacity = 1;
        CopyBounded(clock.record.location, L"Paris, France");
        CopyBounded(clock.record.prefix, L"Office");
        alarm = Alarm(kAlarmOnce);
        CopyBounded(alarm.comment, L"Stand-up");
    }
    ~MessageTokens() override { g_cities = saved; }

    std::wstring Expand(const wchar_t* text, const ClockRecord* c, const SYSTEMTIME& due) {
        wchar_t out[kMessageTextChars];
        size_t n = ExpandMessageTokens(text, out, std::size(out), c, &alarm, due);
        EXPECT_EQ(n, wcslen(out));
        return out;
    }
    std::wstring Expand(const wchar_t* text) { return Expand(text, &clock.record, due); }

    static std::wstring LocaleTime(const SYSTEMTIME& t) {
        wchar_t text[100] = {};
        GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &t, nullptr, text, 100);
        return text;
    }

    CityTable saved;
    CityRecord paris;
    TestClock clock;
    AlarmRecord alarm;
    SYSTEMTIME due = Dated(2024, 1, 15, 14, 30, 0);  // winter, Paris time
};

}  // namespace

TEST_F(MessageTokens, TimeInTheComputersZoneAndTheCity) {
    // 14:30 in Paris is 13:30 UTC; shown in the computer's own zone.
    SYSTEMTIME utc = Dated(2024, 1, 15, 13, 30, 0), local;
    ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local));
    EXPECT_EQ(Expand(L"Meeting at $time in $city"), L"Meeting at " + LocaleTime(local) + L" in Paris");
    EXPECT_EQ(Expand(L"$CITY/$Country"), L"Paris/France");
    // In summer Paris is two hours ahead.
    SYSTEMTIME summerUtc = Dated(2024, 7, 15, 12, 30, 0), summerLocal;
    ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &summerUtc, &summerLocal));
    EXPECT_EQ(Expand(L"$time", &clock.record, Dated(2024, 7, 15, 14, 30, 0)), LocaleTime(summerLocal));
}

TEST_F(MessageTokens, DatesAndTimesWithFormats) {
    EXPECT_EQ(Expand(L"${cdate(dd MMM)}"), L"15 Jan");
    EXPECT_EQ(Expand(L"${ctime(HH:mm)}!"), L"14:30!");
    EXPECT_EQ(Expand(L"$ctime"), LocaleTime(due));
    CopyBounded(clock.record.timeformat, L"24 hours");
    CopyBounded(clock.record.dateformat, L"yyyy-MM-dd");
    EXPECT_EQ(Expand(L"${ctime()} ${cdate()}"), L"14:30 2024-01-15");
    // A line break of the picture becomes a blank.
    EXPECT_EQ(Expand(L"${cdate(dd\\nMM)}"), L"15 01");
    // Anything but a format after the name gives nothing.
    EXPECT_EQ(Expand(L"[${dates}][${timezone}][$cdates]"), L"[][][]");
    // Without a clock the due time is used as given; "()" is an empty format.
    EXPECT_EQ(Expand(L"${date(d.M.yyyy)} ${time(HH:mm)}<${date()}>", nullptr, due), L"15.1.2024 14:30<>");
}

TEST_F(MessageTokens, ClockAndAlarmTexts) {
    EXPECT_EQ(Expand(L"$label: $alarm @ $tz"), L"Office: Stand-up @ Test Paris");
    EXPECT_EQ(Expand(L"$location"), L"Paris, France");
    clock.record.location[0] = L'\0';
    EXPECT_EQ(Expand(L"$location|$city"), L"Test Paris|");
    EXPECT_EQ(Expand(L"[$tz$city$label$location]", nullptr, due), L"[]");
    MessageTokenProgram program;
    program.major = 5;
    program.minor = 1;
    program.patch = 7;
    program.buildUtc = Dated(2024, 3, 5, 12, 0, 0);
    const MessageTokenProgram kept = CurrentMessageTokenProgram();
    SetMessageTokenProgram(program);
    EXPECT_EQ(Expand(L"v$version"), L"v5.1.7");
    EXPECT_EQ(Expand(L"$compiled").find(L"2024"), Expand(L"$compiled").size() - 4);
    SetMessageTokenProgram(kept);
}

TEST_F(MessageTokens, ScanningRules) {
    EXPECT_EQ(Expand(L"Cost: $$5"), L"Cost: $5");
    EXPECT_EQ(Expand(L"a$unknown b${}c$"), L"a bc");
    EXPECT_EQ(Expand(L"$5 and $ alone"), L"5 and  alone");
    EXPECT_EQ(Expand(L"${city"), L"Paris");  // runs to the end of the text
    EXPECT_EQ(Expand(L"$city_x$city."), L"Paris.");
    EXPECT_EQ(Expand(nullptr), L"");
}

TEST_F(MessageTokens, CutAt548Characters) {
    std::wstring text(600, L'x');
    EXPECT_EQ(Expand(text.c_str()), std::wstring(548, L'x'));
    std::wstring tokens;
    for (int i = 0; i < 200; ++i) tokens += L"$city";
    std::wstring out = Expand(tokens.c_str());
    EXPECT_EQ(out.size(), 548u);
    EXPECT_EQ(out.substr(540), L"ParisPar");
    // A smaller buffer cuts earlier and stays terminated.
    wchar_t small[8];
    EXPECT_EQ(ExpandMessageTokens(L"$city $city", small, std::size(small), &clock.record, &alarm, due), 7u);
    EXPECT_STREQ(small, L"Paris P");
}

TEST(TokenText, CopiesUpToTheEnd) {
    wchar_t out[4] = {L'-', L'-', L'-', L'-'};
    EXPECT_EQ(CopyTokenText(L"abcdef", out, out + 3), 3u);
    EXPECT_EQ(out[3], L'-');
    EXPECT_EQ(CopyTokenText(nullptr, out, out + 3), 0u);
    EXPECT_EQ(CopyTokenText(L"", out, out + 3), 0u);
}
