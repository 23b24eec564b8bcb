#include "tempovia/main/missing_zones.h"

#include <windows.h>

#include <cwchar>
#include <iterator>

#include "common/settings/clock_sections.h"
#include "common/settings/localisation.h"
#include "common/records/clock_table.h"
#include "resources/resource_ids.h"

namespace {
constexpr size_t kTitleChars = 256;
}  // namespace

std::wstring ClocksWithoutZone(const ClockRecord* clocks, int count) {
    std::wstring lines;
    for (int i = 0; clocks && i < count; ++i) {
        const ClockRecord& clock = clocks[i];
        if (clock.zone.id != kMissingZoneId) continue;
        wchar_t title[kTitleChars] = {};
        GetClockTitle(clock, title, kTitleChars);
        lines += title;
        lines += L" (";
        lines.append(clock.zone.key, wcsnlen(clock.zone.key, std::size(clock.zone.key)));
        lines += L")\n";
    }
    return lines;
}

void ReportClocksWithoutZone() {
    const std::wstring lines = ClocksWithoutZone(g_clocks, g_clockCount);
    if (lines.empty()) return;
    const std::wstring text = FillTextValue(Language().LoadUiString(IDS_ZONES_MISSING), lines.c_str());
    const std::wstring caption = Language().LoadUiString(IDS_ERROR_CAPTION);
    MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_ICONWARNING);
}
