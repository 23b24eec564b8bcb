// The computer's own zone, pinned per process: the parent cases start child
// copies of this program with TZ set, and the child cases check the zone
// they were given.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

#include "common/records/clock_record.h"
#include "common/records/clock_table.h"
#include "common/zones/local_zone.h"
#include "common/zones/zone_database.h"
#include "common/zones/zone_registry.h"
#include "common/zones/zone_time.h"
#include "common/zones/zone_updates.h"
#include "tests/time/child_process.h"
#include "tests/time/zone_fixtures.h"
#include "tests/support/test_support.h"

using namespace zone_fixtures;
using child_process::ChildCase;

namespace {

// Puts clocks into the clock table for one test and takes them out again.
class ClockTable {
public:
    explicit ClockTable(int n) : clocks_(n) {
        for (auto& c : clocks_) std::memset(&c, 0, sizeof c);
        savedClocks_ = g_clocks;
        savedCount_ = g_clockCount;
        g_clocks = clocks_.data();
        g_clockCount = n;
    }
    ~ClockTable() {
        g_clocks = savedClocks_;
        g_clockCount = savedCount_;
    }
    ClockRecord& operator[](int i) { return clocks_[i]; }

private:
    std::vector<ClockRecord> clocks_;
    ClockRecord* savedClocks_;
    int savedCount_;
};

ClockRecord ClockOn(const ZoneRecord& zone, int usedaylight) {
    ClockRecord c;
    std::memset(&c, 0, sizeof c);
    c.zone = zone;
    c.usedaylight = usedaylight;
    return c;
}

std::string Hm(const SYSTEMTIME& t) {
    char buf[32];
    snprintf(buf, sizeof buf, "%02u-%02u %02u:%02u", t.wMonth, t.wDay, t.wHour, t.wMinute);
    return buf;
}

}  // namespace

TEST(LocalZone, RecordComesFromTheSystem) {
    ZoneRecord r;
    std::memset(&r, 0xCC, sizeof r);
    GetLocalZoneRecord(&r);
    TIME_ZONE_INFORMATION tzi{};
    ASSERT_NE(GetTimeZoneInformation(&tzi), TIME_ZONE_ID_INVALID);
    EXPECT_EQ(std::memcmp(&r, &tzi, sizeof tzi), 0);
    EXPECT_STREQ(r.key, kLocalSystemTimeKey);
    EXPECT_STREQ(r.displayName, kLocalSystemTimeKey);
    EXPECT_EQ(r.id, 0);
    EXPECT_EQ(r.cityCount, 0);
    EXPECT_EQ(r.standardWeek, tzi.StandardDate.wDay > 4 ? -1 : tzi.StandardDate.wDay);
    EXPECT_EQ(r.daylightWeek, tzi.DaylightDate.wDay > 4 ? -1 : tzi.DaylightDate.wDay);
}

TEST(LocalZone, RefreshSpreadsTheRecordToTablesAndLocalClocks) {
    FreeZoneTables();
    ASSERT_FALSE(LoadZoneDatabase(nullptr));  // the local entry only
    std::memset(&g_zones.live[0], 0, sizeof(ZoneRecord));
    std::memset(&g_zones.pristine[0], 0, sizeof(ZoneRecord));

    ClockTable clocks(3);
    clocks[0].zone = Zone(kLocalSystemTimeKey, 12345);
    clocks[0].usedaylight = 7;
    clocks[1].zone = Eastern();
    clocks[1].usedaylight = 1;
    clocks[2].zone = Zone(L"Local System Time2", 1);
    RefreshLocalZone();

    ZoneRecord local;
    GetLocalZoneRecord(&local);
    EXPECT_EQ(std::memcmp(&g_zones.live[0], &local, sizeof local), 0);
    EXPECT_EQ(std::memcmp(&g_zones.pristine[0], &local, sizeof local), 0);
    EXPECT_EQ(std::memcmp(&clocks[0].zone, &local, sizeof local), 0);
    EXPECT_EQ(clocks[0].usedaylight, AutoDaylightActive() ? 1 : 0);
    EXPECT_EQ(AutoDaylightActive(), local.DaylightDate.wMonth != 0 && ReadAutoDaylightDisabled() != 1);
    EXPECT_STREQ(clocks[1].zone.key, L"Test Eastern");
    EXPECT_EQ(clocks[1].usedaylight, 1);
    EXPECT_EQ(clocks[2].zone.Bias, 1);
    FreeZoneTables();

    // Without tables only the clocks are touched.
    clocks[0].zone = Zone(kLocalSystemTimeKey, 12345);
    RefreshLocalZone();
    EXPECT_EQ(clocks[0].zone.Bias, local.Bias);
}

namespace {

// What each child's zone must look like (Wine's registry rules for the TZ).
struct ChildZone {
    const wchar_t* tz;
    const wchar_t* name;
    const wchar_t* key;
    LONG bias;
    SYSTEMTIME daylight, standard;  // rules as the system reports them
    int daylightWeek, standardWeek;
    SYSTEMTIME julyNoonUtcLocal;    // local time at 2024-07-04 12:00 UTC
    SYSTEMTIME januaryNoonUtcLocal;  // local time at 2024-01-15 12:00 UTC
};

const ChildZone kChildZones[] = {
    {L"America/New_York", L"new_york", L"Eastern Standard Time", 300, Rule(3, 2, 0, 2), Rule(11, 1, 0, 2), 2, 1,
     Time(2024, 7, 4, 8), Time(2024, 1, 15, 7)},
    {L"Australia/Sydney", L"sydney", L"AUS Eastern Standard Time", -600, Rule(10, 1, 0, 2), Rule(4, 1, 0, 3), 1, 1,
     Time(2024, 7, 4, 22), Time(2024, 1, 15, 23)},
    {L"Asia/Tokyo", L"tokyo", L"Tokyo Standard Time", -540, SYSTEMTIME{}, SYSTEMTIME{}, 0, 0, Time(2024, 7, 4, 21),
     Time(2024, 1, 15, 21)},
    {L"Europe/London", L"london", L"GMT Standard Time", 0, Rule(3, 5, 0, 1), Rule(10, 5, 0, 2), -1, -1,
     Time(2024, 7, 4, 13), Time(2024, 1, 15, 12)},
};

const ChildZone* ThisChild() {
    std::wstring name = ChildCase();
    for (const ChildZone& z : kChildZones)
        if (name == z.name) return &z;
    return nullptr;
}

// The filter's cases in a child process per zone, under its TZ, told the
// zone's case name.
template <typename Zone, size_t N>
void RunEachChild(const Zone (&zones)[N], const wchar_t* Zone::*caseName, const wchar_t* filter) {
    if (!ChildCase().empty()) GTEST_SKIP() << "child run";
    if (!child_process::CanRunChild()) GTEST_SKIP() << "needs Wine to start a child in another zone";
    for (const Zone& z : zones) {
        std::string why;
        EXPECT_TRUE(child_process::RunChild(z.tz, z.*caseName, filter, &why))
            << "TZ=" << std::string(z.tz, z.tz + wcslen(z.tz)) << ": " << why;
    }
}

bool SameRule(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wMonth == b.wMonth && a.wDay == b.wDay && a.wDayOfWeek == b.wDayOfWeek && a.wHour == b.wHour &&
           a.wMinute == b.wMinute && a.wYear == b.wYear;
}

}  // namespace

TEST(LocalZone, PinnedPerProcessByTz) { RunEachChild(kChildZones, &ChildZone::name, L"LocalZoneChild.*"); }

TEST(LocalZoneChild, RecordAndKeyFollowTheZone) {
    const ChildZone* z = ThisChild();
    if (!z) GTEST_SKIP() << "runs in a child process";
    ZoneRecord r;
    GetLocalZoneRecord(&r);
    EXPECT_EQ(r.Bias, z->bias);
    EXPECT_TRUE(SameRule(r.DaylightDate, z->daylight)) << r.DaylightDate.wMonth << "/" << r.DaylightDate.wDay;
    EXPECT_TRUE(SameRule(r.StandardDate, z->standard)) << r.StandardDate.wMonth << "/" << r.StandardDate.wDay;
    EXPECT_EQ(r.daylightWeek, z->daylightWeek);
    EXPECT_EQ(r.standardWeek, z->standardWeek);
    EXPECT_STREQ(r.key, kLocalSystemTimeKey);
    EXPECT_EQ(AutoDaylightActive(), z->daylight.wMonth != 0);

    wchar_t key[256];
    EXPECT_EQ(GetCurrentZoneKeyName(key, 256), static_cast<int>(wcslen(z->key)));
    EXPECT_STREQ(key, z->key);

    // The local zone as a file zone loads under entry 0 and converts alike.
    FreeZoneTables();
    ASSERT_FALSE(LoadZoneDatabase(nullptr));
    EXPECT_EQ(std::memcmp(&g_zones.live[0], &r, sizeof r), 0);
    FreeZoneTables();

    SYSTEMTIME local{};
    ASSERT_TRUE(UtcToZoneTime(Dated(2024, 7, 4, 12), &local, r));
    EXPECT_EQ(Hm(local), Hm(z->julyNoonUtcLocal));
    ASSERT_TRUE(UtcToZoneTime(Dated(2024, 1, 15, 12), &local, r));
    EXPECT_EQ(Hm(local), Hm(z->januaryNoonUtcLocal));
}

TEST(LocalZoneChild, RefreshAndSystemZoneFollowTheZone) {
    const ChildZone* z = ThisChild();
    if (!z) GTEST_SKIP() << "runs in a child process";
    bool dst = z->daylight.wMonth != 0;

    ClockTable clocks(1);
    clocks[0].zone = Zone(kLocalSystemTimeKey, 0);
    RefreshLocalZone();
    EXPECT_EQ(clocks[0].usedaylight, dst ? 1 : 0);
    EXPECT_EQ(clocks[0].zone.Bias, z->bias);
    EXPECT_TRUE(IsSystemZone(clocks[0]));
    SYSTEMTIME shown{};
    ASSERT_TRUE(UtcToClockTime(Dated(2024, 7, 4, 12), &shown, clocks[0]));
    EXPECT_EQ(Hm(shown), Hm(z->julyNoonUtcLocal));

    // A file zone with the same rules is the system's zone, as long as the
    // user's daylight choice matches the system's.
    ZoneRecord same = Zone(L"Same rules", z->bias);
    if (dst) {
        same.DaylightBias = -60;
        same.DaylightDate = z->daylight;
        same.StandardDate = z->standard;
    }
    EXPECT_TRUE(IsSystemZone(ClockOn(same, 1)));
    EXPECT_EQ(IsSystemZone(ClockOn(same, 0)), !dst);
    ZoneRecord other = same;
    other.Bias += 60;
    EXPECT_FALSE(IsSystemZone(ClockOn(other, 1)));
    if (dst) {
        // Year, weekday and seconds of the rules are not compared.
        ZoneRecord looser = same;
        looser.DaylightDate.wYear = 2001;
        looser.DaylightDate.wDayOfWeek = 3;
        looser.StandardDate.wSecond = 30;
        EXPECT_TRUE(IsSystemZone(ClockOn(looser, 1)));
        ZoneRecord later = same;
        later.DaylightDate.wHour += 1;
        EXPECT_FALSE(IsSystemZone(ClockOn(later, 1)));
        ZoneRecord noDst = Zone(L"No rule", z->bias);
        EXPECT_FALSE(IsSystemZone(ClockOn(noDst, 1)));
    } else if (z->bias == -540) {
        // Yakutsk shares the offset; a dated change ended its daylight saving
        // and left the old dates with a daylight bias of 0.
        FreeZoneTables();
        ASSERT_TRUE(LoadZoneDatabase(testing_support::SourcePath(L"data/timezones.txt").c_str()));
        ASSERT_TRUE(LoadZoneUpdates(testing_support::SourcePath(L"data/tz_changes.txt").c_str()));
        ZoneUpdatesDue(Dated(2024, 7, 4, 12));
        int yakutsk = FindZoneByName(L"Yakutsk Standard Time");
        ASSERT_GT(yakutsk, 0);
        ZoneRecord ended = g_zones.live[yakutsk];
        FreeZoneUpdates();
        FreeZoneTables();
        ASSERT_NE(ended.DaylightDate.wMonth, 0);
        EXPECT_TRUE(IsSystemZone(ClockOn(ended, 1)));
        ended.Bias += 60;
        EXPECT_FALSE(IsSystemZone(ClockOn(ended, 1)));
    }
}

namespace {

// Zones that Wine states as this year's two dates rather than a recurring
// rule, as it does for a zone its registry lacks; the child case is the key.
struct DatedSystemZone {
    const wchar_t* tz;
    const wchar_t* key;
};
const DatedSystemZone kDatedSystemZones[] = {
    {L"Africa/Cairo", L"Egypt Standard Time"},
    {L"America/Nuuk", L"Greenland Standard Time"},
};

}  // namespace

TEST(LocalZone, ShippedZoneIsTheSystemsOwnWhereTheSystemGivesDatesByTz) {
    RunEachChild(kDatedSystemZones, &DatedSystemZone::key, L"DatedSystemRuleChild.*");
}

TEST(DatedSystemRuleChild, ShippedRecordMatchesTheSystemsDates) {
    const std::wstring key = ChildCase();
    if (key.empty()) GTEST_SKIP() << "runs in a child process";
    // The system gives the dates of the current year, so the record is the
    // one in force now, as the programs hold it.
    FreeZoneTables();
    ASSERT_TRUE(LoadZoneDatabase(testing_support::SourcePath(L"data/timezones.txt").c_str()));
    ASSERT_TRUE(LoadZoneUpdates(testing_support::SourcePath(L"data/tz_changes.txt").c_str()));
    SYSTEMTIME now{};
    GetSystemTime(&now);
    ZoneUpdatesDue(now);
    const int index = FindZoneByName(key.c_str());
    ASSERT_GT(index, 0);
    ClockRecord clock = ClockOn(g_zones.live[index], 1);
    FreeZoneUpdates();
    FreeZoneTables();
    ASSERT_NE(LocalZone().DaylightDate.wYear, 0) << "the system states a recurring rule here";
    EXPECT_TRUE(IsSystemZone(clock));
    // A rule a day off is another zone.
    clock.zone.DaylightDate.wDayOfWeek = static_cast<WORD>((clock.zone.DaylightDate.wDayOfWeek + 1) % 7);
    EXPECT_FALSE(IsSystemZone(clock));
}
