// Dated zone-rule changes: the line format, applying changes as their
// moments pass, rebuilding other dates, and the clocks.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/records/clock_record.h"
#include "common/zones/zone_updates.h"
#include "tests/zonedata/zone_test_tables.h"

using zonedata_tests::ZoneTablesFixture;

namespace {

SYSTEMTIME Utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(y);
    t.wMonth = static_cast<WORD>(mo);
    t.wDay = static_cast<WORD>(d);
    t.wHour = static_cast<WORD>(h);
    t.wMinute = static_cast<WORD>(mi);
    t.wSecond = static_cast<WORD>(s);
    return t;
}

// Zone 8 (UTC+3, no rule) moves to UTC+4 in 2011, then back to UTC+3 with
// daylight saving in 2014. Zone 9 gets a new display name only.
const char kChanges[] =
    "# id\tmoment\n"
    "8\t2011.03.27 00:00:00\t\t-240\r\n"
    "9\t2012.01.01\tNew South\r\n"
    "8\t2014.10.26 22:00:00\t\t-180\tFlat Std\t0\t0\t10\t1\t0\t5\t3:00:00\tFlat Dlt\t-60\t0\t3\t1\t0\t-1\t2:00:00\r\n";

class ZoneUpdates : public ::testing::Test {
protected:
    ZoneTablesFixture zones;
    bool Load(const std::string& text) { return LoadZoneUpdates(zones.Write(L"tz_changes.txt", text).c_str()); }
};

}  // namespace

TEST_F(ZoneUpdates, ReadsChangesOverTheLoadTimeRecord) {
    ASSERT_TRUE(Load(kChanges));
    ASSERT_EQ(g_zoneUpdates.count, 3);
    const ZoneUpdateRecord& a = g_zoneUpdates.entries[0];
    EXPECT_EQ(a.live, &zones.Live(8));
    EXPECT_EQ(a.replacement.id, 8);
    EXPECT_EQ(a.replacement.Bias, -240);
    EXPECT_STREQ(a.replacement.displayName, L"(UTC+03:00) Flat");  // empty fields keep the copy
    EXPECT_STREQ(a.replacement.StandardName, L"Flat Standard");
    EXPECT_EQ(a.moment.wYear, 2011);
    EXPECT_EQ(a.moment.wDayOfWeek, 0);
    EXPECT_EQ(a.key, (2011LL * 512 + 3 * 32 + 27 - 33) * 100000);

    const ZoneUpdateRecord& b = g_zoneUpdates.entries[1];  // a date alone takes effect at 00:00:00
    EXPECT_EQ(b.moment.wHour, 0);
    EXPECT_STREQ(b.replacement.displayName, L"New South");
    EXPECT_EQ(b.replacement.Bias, -600);
    EXPECT_EQ(b.replacement.DaylightDate.wMonth, 10);

    const ZoneRecord& c = g_zoneUpdates.entries[2].replacement;
    EXPECT_EQ(c.Bias, -180);
    EXPECT_STREQ(c.StandardName, L"Flat Std");
    EXPECT_STREQ(c.DaylightName, L"Flat Dlt");
    EXPECT_EQ(c.StandardDate.wMonth, 10);
    EXPECT_EQ(c.StandardDate.wDay, 5);
    EXPECT_EQ(c.standardWeek, 5);
    EXPECT_EQ(c.StandardDate.wHour, 3);
    EXPECT_EQ(c.DaylightDate.wMonth, 3);
    EXPECT_EQ(c.DaylightDate.wDay, 5);  // week -1 is the last week
    EXPECT_EQ(c.daylightWeek, -1);
    EXPECT_EQ(c.DaylightBias, -60);
    // Loading changes nothing yet.
    EXPECT_EQ(zones.Live(8).Bias, -180);
}

TEST_F(ZoneUpdates, SkipsBadLines) {
    std::string text =
        "8\t1999.12.31 23:59:59\t\t-1\r\n"     // before 2000
        "8\t3000.01.01\t\t-2\r\n"              // after 2999
        "8\t2010.13.01\t\t-3\r\n"              // month
        "8\t2010.01.32\t\t-4\r\n"              // day
        "8\t2010.01.01 24:00:00\t\t-5\r\n"     // hour
        "8\t2010.01.01 12:60\t\t-6\r\n"        // minute
        "8\t2010.01\t\t-7\r\n"                 // no day
        "8\tsoon\t\t-8\r\n"                    // no date
        "42\t2010.01.01\t\t-9\r\n"             // no zone with that id
        "x\t2010.01.01\t\t-10\r\n"             // no id
        "0\t2010.01.01\t\t-14\r\n"             // the computer's own entry
        "-1\t2010.01.01\t\t-15\r\n"            // a clock's missing zone
        "8\t2010.01.01\r\n"                    // two fields
        "8\t2010.01.01\t\r\n"                  // an empty last field is no field
        "# 8\t2010.01.01\t\t-11\r\n"           // comment
        "; 8\t2010.01.01\t\t-12\r\n"
        "\r\n"
        "8\t2010.01.01 12\t\t-13\r\n"          // an hour alone: minutes and seconds 0
        "8\t2010.01.02\t\t\r\n";               // three fields, nothing replaced
    ASSERT_TRUE(Load(text));
    ASSERT_EQ(g_zoneUpdates.count, 2);
    EXPECT_EQ(g_zoneUpdates.entries[0].replacement.Bias, -13);
    EXPECT_EQ(g_zoneUpdates.entries[0].moment.wHour, 12);
    EXPECT_EQ(g_zoneUpdates.entries[0].moment.wMinute, 0);
    EXPECT_EQ(g_zoneUpdates.entries[1].replacement.Bias, -180);
}

TEST_F(ZoneUpdates, KeepsParsingInsideEachField) {
    // The moment field ends at its TAB: the next field's number is no hour,
    // and a bad time of day or week leaves the copied values.
    std::string text =
        "9\t2010.01.01\t\t-660\t\t\t\t\t\t\t7\t25:00:00\r\n"
        "8\t2010.01.01\t\t\t\t-30\t\t0\t1\t2\t-1\t1:30:00\t\t\t\t13\r\n";
    ASSERT_TRUE(Load(text));
    ASSERT_EQ(g_zoneUpdates.count, 2);
    const ZoneRecord& south = g_zoneUpdates.entries[0].replacement;
    EXPECT_EQ(g_zoneUpdates.entries[0].moment.wHour, 0);
    EXPECT_EQ(south.Bias, -660);
    EXPECT_EQ(south.StandardDate.wMonth, 4);  // field 7 empty: the rule is not taken
    EXPECT_EQ(south.StandardDate.wHour, 3);
    // Zone 8 has no rule: the standard month 0 takes nothing, and the
    // daylight side needs a standard month.
    const ZoneRecord& flat = g_zoneUpdates.entries[1].replacement;
    EXPECT_EQ(flat.StandardDate.wMonth, 0);
    EXPECT_EQ(flat.StandardBias, 0);
    EXPECT_EQ(flat.DaylightDate.wMonth, 0);
}

TEST_F(ZoneUpdates, CutsLongNames) {
    std::string text = "9\t2010.01.01\t" + std::string(200, 'd') + "\t\t" + std::string(40, 's') +
                       std::string(8, '\t') + std::string(50, 'l') + "\r\n";
    ASSERT_TRUE(Load(text));
    ASSERT_EQ(g_zoneUpdates.count, 1);
    const ZoneRecord& r = g_zoneUpdates.entries[0].replacement;
    EXPECT_EQ(std::wstring(r.displayName), std::wstring(127, L'd'));
    EXPECT_EQ(std::wstring(r.StandardName), std::wstring(31, L's'));
    EXPECT_EQ(std::wstring(r.DaylightName), std::wstring(31, L'l'));
    EXPECT_EQ(r.Bias, -600);
}

TEST_F(ZoneUpdates, AppliesChangesOnceAsTheirMomentsPass) {
    ASSERT_TRUE(Load(kChanges));
    EXPECT_EQ(ZoneUpdatesDue(Utc(2011, 3, 26, 23, 59, 59)), 0);
    zones.Live(8).cityCount = 5;
    EXPECT_EQ(ZoneUpdatesDue(Utc(2011, 3, 27)), 1);  // whole seconds: due at its own moment
    EXPECT_EQ(zones.Live(8).Bias, -240);
    EXPECT_EQ(zones.Live(8).cityCount, 5);
    EXPECT_EQ(g_zoneUpdates.entries[0].live, nullptr);
    EXPECT_EQ(ZoneUpdatesDue(Utc(2011, 3, 27)), 0);
    EXPECT_EQ(ZoneUpdatesDue(Utc(2030, 1, 1)), 2);
    EXPECT_EQ(ZoneUpdatesDue(Utc(2030, 1, 1)), 0);
    EXPECT_EQ(zones.Live(8).Bias, -180);
    EXPECT_EQ(zones.Live(8).DaylightDate.wMonth, 3);
    EXPECT_STREQ(zones.Live(9).displayName, L"New South");
    // The pristine table is never touched.
    EXPECT_EQ(zones.Pristine(8).DaylightDate.wMonth, 0);
    EXPECT_STREQ(zones.Pristine(9).displayName, L"(UTC+10:00) South");
}

TEST_F(ZoneUpdates, RebuildsTheRulesOfAnyMoment) {
    ASSERT_TRUE(Load(kChanges));
    ZoneRecord r = zones.Pristine(8);
    r.cityCount = 3;
    EXPECT_FALSE(ApplyZoneUpdatesAt(&r, Utc(2011, 3, 26)));
    EXPECT_EQ(r.Bias, -180);
    EXPECT_TRUE(ApplyZoneUpdatesAt(&r, Utc(2013, 6, 1)));
    EXPECT_EQ(r.Bias, -240);
    EXPECT_EQ(r.cityCount, 3);
    EXPECT_TRUE(ApplyZoneUpdatesAt(&r, Utc(2014, 10, 26, 22)));
    EXPECT_EQ(r.Bias, -180);
    EXPECT_EQ(r.DaylightDate.wMonth, 3);
    EXPECT_EQ(r.cityCount, 3);

    EXPECT_TRUE(RestoreZoneRecord(&r));
    EXPECT_EQ(r.Bias, -180);
    EXPECT_EQ(r.DaylightDate.wMonth, 0);
    EXPECT_EQ(r.cityCount, 3);
    ZoneRecord south = zones.Pristine(9);
    south.DaylightBias = 99;
    EXPECT_TRUE(RestoreZoneRecord(&south));
    EXPECT_EQ(south.DaylightBias, -60);
    EXPECT_EQ(south.DaylightDate.wMonth, 10);
    ZoneRecord unknown = zones.Pristine(9);
    unknown.id = 77;
    EXPECT_FALSE(RestoreZoneRecord(&unknown));
    EXPECT_FALSE(RestoreZoneRecord(nullptr));
    EXPECT_FALSE(ApplyZoneUpdatesAt(nullptr, Utc(2020, 1, 1)));
}

TEST_F(ZoneUpdates, GivesClocksTheLiveRecords) {
    ASSERT_TRUE(Load(kChanges));
    ASSERT_EQ(ZoneUpdatesDue(Utc(2020, 1, 1)), 3);
    static ClockRecord clocks[3];
    std::memset(clocks, 0, sizeof clocks);
    clocks[0].zone = zones.Pristine(8);
    clocks[0].usedaylight = 1;
    clocks[1].zone = zones.Pristine(8);
    clocks[1].usedaylight = 0;
    clocks[2].zone = zones.Pristine(8);
    clocks[2].zone.id = 55;  // a zone the table no longer has keeps its record
    ApplyZoneUpdatesToClocks(clocks, 3);
    EXPECT_EQ(clocks[0].zone.Bias, -180);
    EXPECT_EQ(clocks[0].zone.DaylightBias, -60);
    EXPECT_EQ(clocks[0].zone.DaylightDate.wMonth, 3);
    EXPECT_EQ(clocks[1].zone.Bias, -180);
    EXPECT_EQ(clocks[1].zone.DaylightBias, 0);
    EXPECT_EQ(clocks[1].zone.StandardBias, 0);
    EXPECT_EQ(clocks[1].zone.DaylightDate.wMonth, 3);
    EXPECT_EQ(clocks[2].zone.DaylightDate.wMonth, 0);
    ApplyZoneUpdatesToClocks(nullptr, 3);
}

TEST_F(ZoneUpdates, ResetMakesEveryChangePendingAgain) {
    ASSERT_TRUE(Load(kChanges));
    ASSERT_EQ(ZoneUpdatesDue(Utc(2020, 1, 1)), 3);
    zones.Live(8).cityCount = 4;
    ResetZoneTables();
    EXPECT_EQ(zones.Live(8).Bias, -180);
    EXPECT_EQ(zones.Live(8).DaylightDate.wMonth, 0);
    EXPECT_STREQ(zones.Live(9).displayName, L"(UTC+10:00) South");
    EXPECT_EQ(zones.Live(8).cityCount, 4);
    for (int i = 0; i < g_zoneUpdates.count; ++i) EXPECT_NE(g_zoneUpdates.entries[i].live, nullptr);
    EXPECT_EQ(ZoneUpdatesDue(Utc(2012, 1, 1)), 2);
    EXPECT_EQ(zones.Live(8).Bias, -240);
}

TEST_F(ZoneUpdates, WalksStopAtTheFirstLaterEntry) {
    // A file out of order: the 2005 change waits behind the 2010 one.
    ASSERT_TRUE(Load("8\t2010.01.01\t\t-300\r\n8\t2005.01.01\t\t-240\r\n"));
    ASSERT_EQ(g_zoneUpdates.count, 2);
    EXPECT_EQ(ZoneUpdatesDue(Utc(2007, 1, 1)), 0);
    ZoneRecord r = zones.Pristine(8);
    EXPECT_FALSE(ApplyZoneUpdatesAt(&r, Utc(2007, 1, 1)));
    EXPECT_EQ(ZoneUpdatesDue(Utc(2011, 1, 1)), 2);
    EXPECT_EQ(zones.Live(8).Bias, -240);  // the last one walked wins
}

TEST_F(ZoneUpdates, FilesAndTablesThatAreMissing) {
    EXPECT_FALSE(LoadZoneUpdates(L"Z:\\no\\such\\tz_changes.txt"));
    EXPECT_EQ(g_zoneUpdates.count, 0);
    EXPECT_TRUE(Load(""));
    EXPECT_EQ(g_zoneUpdates.count, 0);
    // More lines than the first allocation holds.
    std::string many;
    for (int i = 0; i < 300; ++i) many += "9\t2010.01.01\t\t" + std::to_string(-i) + "\r\n";
    ASSERT_TRUE(Load(many));
    EXPECT_EQ(g_zoneUpdates.count, 300);
    // Changes loaded before the zone table went away point at nothing.
    FreeZoneTables();
    EXPECT_EQ(ZoneUpdatesDue(Utc(2020, 1, 1)), 0);
    ResetZoneTables();
    EXPECT_EQ(g_zoneUpdates.entries[0].live, nullptr);
    FreeZoneUpdates();
    EXPECT_EQ(g_zoneUpdates.count, 0);
    EXPECT_EQ(g_zoneUpdates.entries, nullptr);
    // Without a zone table no line finds its zone; the file itself was read.
    EXPECT_TRUE(Load(kChanges));
    EXPECT_EQ(g_zoneUpdates.count, 0);
}
