// The local times that the shipped zone files give, against IANA tzdata.
//
// For every zone key, at noon UTC of every day from 2000 to 2037 and at every
// whole hour within three hours of each of the zone's transitions in those
// years, the record that the converter and the time table build (pristine
// record, then the changes valid at that moment) must convert UTC to the
// zone's IANA local time. The expected offsets come from the generator's
// fixture, read from tzdata, not from this code.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "common/zones/zone_database.h"
#include "common/zones/zone_time.h"
#include "common/zones/zone_updates.h"
#include "tests/support/test_support.h"

using testing_support::ReadBytes;
using testing_support::SourcePath;

namespace {

constexpr long long kSecondsTo1601 = 11644473600LL;

struct ExpectedZone {
    int id = 0;
    std::string key;
    std::string iana;
    int firstOffset = 0;                                // minutes
    std::vector<std::pair<long long, int>> transitions;  // UTC seconds since 1970, offset from then on
};

std::vector<ExpectedZone> ReadFixture() {
    std::istringstream in(ReadBytes(SourcePath(L"tests/zonedata/iana_offsets.txt")));
    std::vector<ExpectedZone> zones;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        ExpectedZone z;
        std::string id, first, list;
        std::getline(fields, id, '\t');
        std::getline(fields, z.key, '\t');
        std::getline(fields, z.iana, '\t');
        std::getline(fields, first, '\t');
        std::getline(fields, list);
        z.id = std::atoi(id.c_str());
        z.firstOffset = std::atoi(first.c_str());
        std::istringstream items(list);
        std::string item;
        while (items >> item) {
            size_t slash = item.find('/');
            z.transitions.emplace_back(std::atoll(item.substr(0, slash).c_str()), std::atoi(item.c_str() + slash + 1));
        }
        zones.push_back(std::move(z));
    }
    return zones;
}

// Key and UTC year pairs that the shipped files are known not to express.
std::set<std::pair<std::string, int>> ReadExceptions() {
    std::istringstream in(ReadBytes(SourcePath(L"data/tools/zone_exceptions.txt")));
    std::set<std::pair<std::string, int>> out;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        size_t a = line.find('\t'), b = line.find('\t', a + 1);
        out.emplace(line.substr(0, a), std::atoi(line.substr(a + 1, b - a - 1).c_str()));
    }
    return out;
}

SYSTEMTIME FromUnix(long long t) {
    ULARGE_INTEGER v;
    v.QuadPart = static_cast<ULONGLONG>(t + kSecondsTo1601) * 10000000ULL;
    FILETIME ft{v.LowPart, v.HighPart};
    SYSTEMTIME st{};
    FileTimeToSystemTime(&ft, &st);
    return st;
}

long long UnixOf(int y, int m, int d) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(y);
    st.wMonth = static_cast<WORD>(m);
    st.wDay = static_cast<WORD>(d);
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    ULARGE_INTEGER v{{ft.dwLowDateTime, ft.dwHighDateTime}};
    return static_cast<long long>(v.QuadPart / 10000000ULL) - kSecondsTo1601;
}

std::vector<long long> Moments(const ExpectedZone& z) {
    const long long from = UnixOf(2000, 1, 1), to = UnixOf(2038, 1, 1);
    std::set<long long> moments;
    for (long long t = from + 12 * 3600; t < to; t += 86400) moments.insert(t);
    for (const auto& [t, offset] : z.transitions) {
        if (t < from || t >= to) continue;
        long long h = t - 3 * 3600;
        h = h % 3600 == 0 ? h : h + (3600 - ((h % 3600) + 3600) % 3600);
        for (; h <= t + 3 * 3600; h += 3600) moments.insert(h);
    }
    return {moments.begin(), moments.end()};
}

int OffsetAt(const ExpectedZone& z, long long t) {
    int offset = z.firstOffset;
    for (const auto& [when, off] : z.transitions) {
        if (when > t) break;
        offset = off;
    }
    return offset;
}

bool SameTime(const SYSTEMTIME& a, const SYSTEMTIME& b) {
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
           a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}

}  // namespace

TEST(ZoneAccuracy, ShippedFilesGiveTheIanaLocalTime) {
    FreeZoneUpdates();
    FreeZoneTables();
    ASSERT_TRUE(LoadZoneDatabase(SourcePath(L"data/timezones.txt").c_str()));
    ASSERT_TRUE(LoadZoneUpdates(SourcePath(L"data/tz_changes.txt").c_str()));
    std::vector<ExpectedZone> zones = ReadFixture();
    std::set<std::pair<std::string, int>> exceptions = ReadExceptions();
    ASSERT_EQ(zones.size(), 139u);

    long long checked = 0, matched = 0, excused = 0;
    std::map<std::string, int> failures;
    for (const ExpectedZone& z : zones) {
        int index = FindZoneById(g_zones.pristine, g_zones.count, z.id);
        ASSERT_GE(index, 1) << z.key;
        ASSERT_EQ(std::wstring(g_zones.pristine[index].key), std::wstring(z.key.begin(), z.key.end()));
        for (long long t : Moments(z)) {
            SYSTEMTIME utc = FromUnix(t);
            ZoneRecord record = g_zones.pristine[index];
            ASSERT_TRUE(RestoreZoneRecord(&record));
            ApplyZoneUpdatesAt(&record, utc);
            SYSTEMTIME local{};
            bool ok = UtcToZoneTime(utc, &local, record);
            SYSTEMTIME expected = FromUnix(t + OffsetAt(z, t) * 60LL);
            if (exceptions.count({z.key, utc.wYear})) {
                ++excused;
                continue;
            }
            ++checked;
            if (ok && SameTime(local, expected)) {
                ++matched;
                continue;
            }
            if (failures[z.key]++ < 3)
                ADD_FAILURE() << z.key << " (" << z.iana << ") at " << utc.wYear << "-" << utc.wMonth << "-"
                              << utc.wDay << " " << utc.wHour << ":00 UTC: got " << local.wYear << "-"
                              << local.wMonth << "-" << local.wDay << " " << local.wHour << ":" << local.wMinute
                              << ", expected " << expected.wHour << ":" << expected.wMinute;
        }
    }
    std::printf("zone accuracy: %lld of %lld moments match (%.4f%%), %lld in listed exceptions, %zu keys differ\n",
                matched, checked, checked ? 100.0 * matched / checked : 0.0, excused, failures.size());
    for (const auto& [key, count] : failures) std::printf("  %s: %d moments differ\n", key.c_str(), count);
    EXPECT_EQ(matched, checked);
    FreeZoneUpdates();
    FreeZoneTables();
}
