// A small zone database written to a private folder and loaded, for the
// tests of the city list and of the dated changes.
#pragma once

#include <string>

#include "common/zones/city_list.h"
#include "common/zones/zone_database.h"
#include "common/zones/zone_updates.h"
#include "tests/support/test_support.h"

namespace zonedata_tests {

// Keys that no Windows registry holds, so that the file's names stay.
inline constexpr char kTestZones[] =
    "# id\tkey\tdisplay ...\n"
    "7\tTest North\t(UTC-05:00) North\t300\tNorth Standard\t0\t0\t11\t1\t0\t1\t2:00:00\tNorth Daylight\t-60\t0\t3\t2\t0\t2\t2:00:00\n"
    "8\tTest Flat\t(UTC+03:00) Flat\t-180\tFlat Standard\t0\t0\t0\t0\t0\t0\t0:00:00\tFlat Daylight\t0\t0\t0\t0\t0\t0\t0:00:00\n"
    "9\tTest South\t(UTC+10:00) South\t-600\tSouth Standard\t0\t0\t4\t1\t0\t1\t3:00:00\tSouth Daylight\t-60\t0\t10\t1\t0\t1\t2:00:00\n";

// Loads `zones` as timezones.txt; frees every table when it goes.
class ZoneTablesFixture {
public:
    explicit ZoneTablesFixture(const char* zones = kTestZones) {
        FreeCityList();
        FreeZoneUpdates();
        FreeZoneTables();
        testing_support::WriteBytes(dir_.file(L"timezones.txt"), zones);
        loaded_ = LoadZoneDatabase(dir_.file(L"timezones.txt").c_str());
    }
    ~ZoneTablesFixture() {
        FreeCityList();
        FreeZoneUpdates();
        FreeZoneTables();
    }
    ZoneTablesFixture(const ZoneTablesFixture&) = delete;
    ZoneTablesFixture& operator=(const ZoneTablesFixture&) = delete;

    bool loaded() const { return loaded_; }
    // Writes a file of the private folder and answers its path.
    std::wstring Write(const wchar_t* name, const std::string& text) const {
        std::wstring path = dir_.file(name);
        testing_support::WriteBytes(path, text);
        return path;
    }
    ZoneRecord& Live(int id) { return g_zones.live[FindZoneById(id)]; }
    const ZoneRecord& Pristine(int id) { return g_zones.pristine[FindZoneById(g_zones.pristine, g_zones.count, id)]; }

private:
    testing_support::TempDir dir_;
    bool loaded_ = false;
};

}  // namespace zonedata_tests
