// The zone names read ahead on a worker at start-up: the table loaded with
// them is the table read key by key, and a prefetch nobody used goes quietly.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstring>
#include <cwctype>
#include <string>
#include <vector>

#include "common/platform/data_file_lines.h"
#include "common/platform/text_bounds.h"
#include "common/zones/zone_database.h"
#include "common/zones/zone_line.h"
#include "common/zones/zone_name_prefetch.h"
#include "common/zones/zone_registry.h"
#include "tests/support/test_support.h"

using testing_support::SourcePath;

namespace {

bool SameRecord(const ZoneRecord& a, const ZoneRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

}  // namespace

TEST(ZoneNamePrefetch, GivesTheTableTheRegistryGivesKeyByKey) {
    const std::wstring path = SourcePath(L"data/timezones.txt");
    FreeZoneTables();
    ASSERT_TRUE(LoadZoneDatabase(path.c_str()));
    const std::vector<ZoneRecord> direct(g_zones.live, g_zones.live + g_zones.count);
    FreeZoneTables();
    {
        ZoneNamePrefetch prefetch;
        ASSERT_TRUE(LoadZoneDatabase(path.c_str()));
    }
    ASSERT_EQ(static_cast<size_t>(g_zones.count), direct.size());
    for (int i = 0; i < g_zones.count; ++i) {
        EXPECT_TRUE(SameRecord(g_zones.live[i], direct[i])) << i;
        EXPECT_TRUE(SameRecord(g_zones.pristine[i], direct[i])) << i;
    }
    FreeZoneTables();

    // The set answers every shipped key itself, in any case of its letters,
    // with the registry's names.
    ZoneRegistryNameSet names;
    names.ReadAll(std::atomic<bool>(false));
    int named = 0;
    DataFileLines lines(path.c_str(), kZoneLineMaxChars);
    ZoneRecord record;
    while (const char* line = lines.Next()) {
        if (!ParseZoneLine(line, &record)) continue;
        ZoneRecord expected = record, got = record;
        named += ReadZoneRegistryNames(expected);
        for (wchar_t& c : got.key) c = static_cast<wchar_t>(std::towupper(c));
        ASSERT_TRUE(names.TryApply(got)) << record.key;
        CopyBounded(got.key, record.key);
        EXPECT_TRUE(SameRecord(got, expected)) << record.key;
    }
    EXPECT_GT(named, 100);
    ZoneRecord unknown{};
    CopyBounded(unknown.key, L"No Such Zone");
    const ZoneRecord before = unknown;
    EXPECT_TRUE(names.TryApply(unknown));
    EXPECT_TRUE(SameRecord(unknown, before));
    ZoneRecord nested{};
    CopyBounded(nested.key, L"UTC\\Dynamic DST");
    EXPECT_FALSE(names.TryApply(nested));  // the registry is asked
}

TEST(ZoneNamePrefetch, UnusedOrTakenOnceAndThenTheRegistryIsAsked) {
    ZoneRecord utc{};
    CopyBounded(utc.key, L"UTC");
    { ZoneNamePrefetch unused; }  // joins without being used
    EXPECT_FALSE(TakePrefetchedZoneNames().TryApply(utc));

    ZoneNamePrefetch prefetch;
    EXPECT_TRUE(TakePrefetchedZoneNames().TryApply(utc));
    EXPECT_FALSE(TakePrefetchedZoneNames().TryApply(utc));
}
