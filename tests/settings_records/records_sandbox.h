// A private settings folder for the record tests: tempovia.ini and default.ini
// in a temporary folder, a fixed user, a small zone table, and the autostart
// value kept under a test key.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "common/records/clock_record.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_defaults.h"
#include "common/records/zone_record.h"
#include "tests/support/test_support.h"

namespace records_test {

inline constexpr wchar_t kUser[] = L"tester";
inline constexpr wchar_t kTestRunKey[] = L"Software\\TempoviaRecordsTest\\Run";

// Indices of the sandbox's zone table.
inline constexpr int kZoneLocal = 0;
inline constexpr int kZoneTokyo = 1;
inline constexpr int kZonePacific = 2;

class Sandbox {
public:
    // defaultIni: the bytes of default.ini (none when empty).
    explicit Sandbox(std::string_view defaultIni = {});
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    std::wstring userIni() const;
    std::wstring defaultIni() const;
    void WriteUserIni(std::string_view bytes) const;
    void WriteDefaultIni(std::string_view bytes) const;
    const ZoneRecord& zone(int index) const;

private:
    testing_support::TempDir dir_;
    DefaultsHooks savedHooks_;
};

// "yyyy.mm.dd hh:mm:ss" parts; milliseconds and weekday 0.
SYSTEMTIME Time(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second);
// The same with its weekday, as the INI readers hand times back.
SYSTEMTIME Normalised(SYSTEMTIME time);
uint64_t FileTimeOf(const SYSTEMTIME& utc);

// Reads a value of the sandbox's tempovia.ini.
std::wstring UserValue(const wchar_t* section, const wchar_t* key);
bool UserSectionExists(const wchar_t* section);

// Byte ranges where two records differ, as "offset-offset" texts.
std::string DifferingRanges(const void* a, const void* b, size_t size);

}  // namespace records_test
