// Writing the settings tree back: the clock sections in tree order, renumbered
// 1..n, with the sections behind them deleted.
#include <string>
#include <vector>

#include "common/settings/alarm_sections.h"
#include "common/settings/clock_sections.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/settings/named_mutex.h"
#include "settings/settings_tree.h"

namespace {

// Alarm sections of a clock section that is gone: readers stop at the first
// missing one, so that is where the run ends.
void DeleteAlarmSections(const wchar_t* file, const std::wstring& clockSection) {
    for (int m = 1;; ++m) {
        const std::wstring section = AlarmSectionName(clockSection.c_str(), m);
        if (ReadIniKeyList(file, section.c_str()).empty()) break;
        DeleteIniSection(file, section.c_str());
    }
}

}  // namespace

ClockSaveResult SaveClockOrder(SettingsTree& tree) {
    // No clock in the tree means there is nothing of the user's to write:
    // taking it for "every clock deleted" would wipe sections never read.
    // (The tree never lets the last clock go.)
    if (tree.clocks.empty()) return ClockSaveResult::kNothing;

    const std::wstring file = UserIniPath();
    const std::wstring& prefix = UserPrefix();
    const size_t n = tree.clocks.size();
    bool ok = true;
    // One hold for the whole save: a program reading the file under the lock
    // sees it before or after, never half renumbered.
    IniFileLock lock;
    if (!lock.held()) return ClockSaveResult::kFailed;

    // Every section is read before any is written: the new numbers reuse the
    // old ones. None is deleted first: each number up to n is replaced whole
    // below and the rest are deleted after, so no clock is ever missing from
    // the file.
    std::vector<std::wstring> kept(n);
    for (size_t i = 0; i < n; ++i) {
        CClockNode* clock = tree.clocks[i];
        clock->Exchange(&clock->Record(), true);
        const int number = clock->Record().number;
        if (number < 1 || number > kMaxTreeClocks) continue;
        const std::wstring section = ClockSectionName(prefix.c_str(), number);
        std::wstring content = ReadIniSection(file.c_str(), section.c_str());
        if (content.empty()) continue;
        // A timer is started, paused and reset by the main program, which saves
        // its state there; this copy may be older than that.
        if (IsTimerClock(clock->Record())) {
            clock->Record().running = ReadIniInt(file.c_str(), section.c_str(), L"running", 0) != 0 ? 1 : 0;
        }
        kept[i] = std::move(content);
    }

    for (size_t i = 0; i < n; ++i) {
        CClockNode* clock = tree.clocks[i];
        ClockRecord& record = clock->Record();
        record.number = static_cast<int32_t>(i + 1);
        // Keys the clock writer does not know (desktop window places, a
        // countdown's remaining time and the like) move with their clock. A
        // clock without a section of its own must not inherit those of a
        // deleted clock that had this number.
        const std::wstring section = ClockSectionName(prefix.c_str(), record.number);
        if (!kept[i].empty()) {
            ok &= WriteIniSection(file.c_str(), section.c_str(), kept[i]);
        } else {
            DeleteIniSection(file.c_str(), section.c_str());
        }
        if (record.action == 1 && record.url[0] == 0) record.action = 0;
        ok &= WriteClockRecord(record);
    }

    for (int j = static_cast<int>(n) + 1; j <= kMaxTreeClocks; ++j) {
        const std::wstring section = ClockSectionName(prefix.c_str(), j);
        DeleteIniSection(file.c_str(), section.c_str());
        DeleteAlarmSections(file.c_str(), section);
    }
    tree.nextNumber = static_cast<int>(n) + 1;
    return ok ? ClockSaveResult::kWritten : ClockSaveResult::kFailed;
}
