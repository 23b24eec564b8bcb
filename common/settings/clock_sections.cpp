#include "common/settings/clock_sections.h"

#include <windows.h>

#include <cwchar>
#include <iterator>
#include <string>

#include "common/settings/alarm_sections.h"
#include "common/settings/background_text.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/settings/ini_arrays.h"
#include "common/settings/localisation.h"
#include "common/settings/time_format.h"
#include "common/settings/time_format_timer.h"
#include "common/settings/timer_state.h"
#include "common/zones/clock_time.h"
#include "common/zones/local_zone.h"
#include "common/zones/zone_database.h"
#include "common/zones/zone_registry.h"
#include "common/zones/zone_time.h"
#include "resources/resource_ids.h"

namespace {

constexpr int kAlarmArrayStep = 8;
constexpr DWORD kProfileReadChars = 512;
constexpr wchar_t kWeekPreset[] = L"Week w";
constexpr int kWeekPresetStringId = IDS_WEEK_FORMAT;

// A section of one file and the fall-backs that apply to it.
struct SectionReader {
    const wchar_t* file;
    const wchar_t* section;
    bool isDefaultsFile;

    int Int(const wchar_t* key, int def) const { return ReadIniInt(file, section, key, def); }
    bool Flag(const wchar_t* key, int def) const { return Int(key, def) != 0; }
    std::wstring Text(const wchar_t* key, const wchar_t* def, DWORD chars) const {
        return ReadIniText(file, section, key, def, chars);
    }
    template <size_t N>
    void Into(const wchar_t* key, const wchar_t* def, WCHAR (&field)[N]) const {
        ReadIniString(file, section, key, def, field, static_cast<DWORD>(N));
    }
    bool Duration(const wchar_t* key, int64_t& value) const { return ReadIniDuration(file, section, key, value); }
    bool Time(const wchar_t* key, SYSTEMTIME& time) const { return ReadIniSystemTime(file, section, key, time); }
};

constexpr wchar_t kNewClockSuffix[] = L":newclock";

std::wstring NewClockSection() { return std::wstring(kDefaultPrefix) + kNewClockSuffix; }

bool SameFile(const wchar_t* a, const std::wstring& b) {
    return a && !b.empty() && _wcsicmp(a, b.c_str()) == 0;
}

uint64_t ToUint64(const FILETIME& ft) {
    return (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

// The current moment in whole seconds, as the timers count.
SYSTEMTIME UtcNowWholeSeconds() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    now.wMilliseconds = 0;
    return now;
}

bool SystemTimeToUint64(const SYSTEMTIME& time, uint64_t& value) {
    FILETIME ft;
    if (!SystemTimeToFileTime(&time, &ft)) return false;
    value = ToUint64(ft);
    return true;
}

// The UTC moment of a time in the clock's zone.
bool ZoneTimeToUint64(const ZoneRecord& zone, const SYSTEMTIME& local, uint64_t& value) {
    SYSTEMTIME utc;
    if (!ZoneTimeToUtc(&utc, zone, local)) return false;
    return SystemTimeToUint64(utc, value);
}

// Entry 0 of the zone table, or the computer's zone when no table is loaded
// (the settings program reads clocks before and without timezones.txt).
void CopyLocalZone(ZoneRecord& zone) {
    if (g_zones.live && g_zones.count > 0) {
        zone = g_zones.live[0];
    } else {
        GetLocalZoneRecord(&zone);
    }
}

// A zone the table lacks (a damaged timezones.txt, or none loaded): the clock
// shows the computer's time, but its key and name stay as saved, so that the
// next save writes them back rather than an empty zone.
void KeepMissingZone(const SectionReader& in, const std::wstring& key, ZoneRecord& zone) {
    CopyLocalZone(zone);
    zone.id = kMissingZoneId;
    CopyBounded(zone.key, key.c_str());
    const std::wstring name = in.Text(L"timezone", L"", kIniValueChars);
    CopyBounded(zone.displayName, name.empty() ? key.c_str() : name.c_str());
}

void ReadZone(const SectionReader& in, ClockRecord& record) {
    std::wstring key = in.Text(L"zone", L"", kIniValueChars);
    int index = key.empty() ? 0 : FindZoneByName(key.c_str());
    if (index > 0 && g_zones.live && index < g_zones.count) {
        record.zone = g_zones.live[index];
    } else if (!key.empty() && key.size() < std::size(record.zone.key) &&
               _wcsicmp(key.c_str(), kLocalSystemTimeKey) != 0) {
        // A text too long for a key field is no zone key: it is not kept cut.
        KeepMissingZone(in, key, record.zone);
    } else {
        CopyLocalZone(record.zone);
    }

    if (IsLocalZoneKey(record.zone)) {
        // The computer's own zone: the system decides on daylight saving.
        int32_t follows = ReadAutoDaylightDisabled() != 0 ? 0 : 1;
        record.usedaylight = follows;
        record.zoneHasDaylight = follows;
        return;
    }
    // Any named zone keeps the user's choice, the computer's own key
    // included: a first run stores the system's choice there.
    std::wstring use = in.Text(L"usedaylight", L"0", kIniValueChars);
    record.usedaylight = (use.empty() || use[0] != L'0') ? 1 : 0;
    record.zoneHasDaylight = (record.zone.DaylightBias != 0 && record.zone.DaylightDate.wMonth != 0) ? 1 : 0;
    // A missing zone shows the computer's time whole; the user's choice is
    // kept for the save and for when the zone is back.
    record.zone = ClockDisplayZone(record);
}

void ReadCountdown(const SectionReader& in, ClockRecord& record) {
    int duration = in.Int(L"duration", 0);
    record.duration = duration > 0 ? static_cast<uint32_t>(duration) : 0;

    int64_t value = 0;
    if (in.Duration(L"remaining", value)) {
        record.elapsed = value > 0 ? static_cast<uint64_t>(value) : 0;
    } else {
        // A countdown that never ran shows its whole length until it starts.
        record.elapsed = uint64_t{record.duration} * kTimerUnitsPerSecond;
    }

    SYSTEMTIME term{};
    bool haveTerm = in.Time(L"term", term);
    if (record.duration == 0) {
        record.kind |= kClockSetDate;
        if (!haveTerm) {
            // No date to count to: count to the moment of loading.
            SYSTEMTIME now = UtcNowWholeSeconds();
            if (!UtcToZoneTime(now, &term, record.zone)) term = now;
        }
        record.targetTime = term;
        uint64_t start = 0;
        if (ZoneTimeToUint64(record.zone, term, start)) {
            record.start = start;
        } else {
            record.start = 0;
            record.running = 0;
        }
        return;
    }
    // A countdown of a set length keeps its date only for showing it again.
    if (haveTerm) record.targetTime = term;
    int64_t end = 0;
    if (in.Duration(L"term_tsc", end) && end > 0) {
        record.start = static_cast<uint64_t>(end);
    } else {
        SystemTimeToUint64(UtcNowWholeSeconds(), record.start);
        record.running = 0;
    }
}

void ReadStopwatch(const SectionReader& in, ClockRecord& record) {
    int64_t value = 0;
    record.elapsed = (in.Duration(L"elapsed", value) && value > 0) ? static_cast<uint64_t>(value) : 0;

    SYSTEMTIME time{};
    uint64_t start = 0;
    if (in.Time(L"start_at", time)) {
        record.kind |= kClockSetDate;
        record.targetTime = time;
        if (ZoneTimeToUint64(record.zone, time, start)) {
            record.start = start;
        } else {
            record.running = 0;
        }
    } else if (in.Time(L"start_time", time) && SystemTimeToUint64(time, start)) {
        // The start moment the main program saved, in UTC.
        record.targetTime = time;
        record.start = start;
    } else {
        record.running = 0;
    }
}

void ReadTimerKeys(const SectionReader& in, ClockRecord& record) {
    std::wstring tooltip = in.Text(L"tooltip", record.prefix, ARRAYSIZE(record.label));
    CopyBounded(record.label, tooltip.c_str());
    in.Into(L"timerformat", kDefaultTimerFormat, record.timerformat);
    record.running = in.Flag(L"running", 0) ? 1 : 0;
    record.exec_action = in.Flag(L"exec_action", 0) ? 1 : 0;
    const bool wasRunning = record.running != 0;

    if (IsCountdown(record)) {
        ReadCountdown(in, record);
    } else {
        ReadStopwatch(in, record);
    }
    // Its moment could not be read back: the timer starts over from idle.
    if (wasRunning && !record.running) ResetTimer(record);
}

void ReadClockFormats(const SectionReader& in, ClockRecord& record) {
    in.Into(L"timeformat", L"Default", record.timeformat);
    in.Into(L"dateformat", L"None", record.dateformat);
    if (wcscmp(record.dateformat, kWeekPreset) == 0) {
        wchar_t localised[ARRAYSIZE(record.dateformat)] = {};
        if (Language().LoadUiString(kWeekPresetStringId, localised, ARRAYSIZE(localised)) > 0) {
            CopyBounded(record.dateformat, localised);
        }
    }
}

void ReadProfiles(const SectionReader& in, ClockRecord& record) {
    record.profilesEnabled = in.Flag(L"profiles", 1) ? 1 : 0;
    record.profileCount = 0;
    for (int k = 1; k <= kMaxBackgroundProfiles; ++k) {
        std::wstring key = L"profile" + std::to_wstring(k);
        std::wstring text = in.Text(key.c_str(), kMissingKey, kProfileReadChars);
        if (IsMissingKey(text.c_str())) break;
        BackgroundProfile& profile = record.profiles[k - 1];
        profile = BackgroundProfile{};
        if (!ParseBackgroundProfile(text.c_str(), profile, &record)) {
            profile = BackgroundProfile{};
            break;
        }
        record.profileCount = k;
    }
}

void ReadAlarms(const SectionReader& in, ClockRecord& record) {
    int capacity = 0;
    for (int m = 1; m <= kMaxAlarmsPerClock; ++m) {
        if (record.alarmCount == capacity) {
            AlarmRecord* grown = ResizeAlarmArray(record.alarms, capacity + kAlarmArrayStep);
            if (!grown) break;
            record.alarms = grown;
            capacity += kAlarmArrayStep;
        }
        AlarmRecord& alarm = record.alarms[record.alarmCount];
        alarm = AlarmRecord{};
        if (!ReadAlarmRecord(in.file, in.section, record, m, alarm)) {
            alarm = AlarmRecord{};
            break;
        }
        ++record.alarmCount;
    }
}

}  // namespace

std::wstring ClockSectionName(const wchar_t* prefix, int n) {
    return std::wstring(prefix ? prefix : L"") + L":clock" + std::to_wstring(n);
}

int ReadClockRecord(const wchar_t* section, const wchar_t* file, ClockRecord& record, bool withAlarms) {
    const SectionReader in{file, section, SameFile(file, DefaultIniPath())};
    const std::wstring fallback = NewClockSection();
    const wchar_t* defaults = DefaultIniPath().c_str();

    int mode = in.Int(L"timer_mode", 0);
    record.kind = mode == -1 ? (kClockTimer | kClockCountdown) : mode == 1 ? kClockTimer : 0;

    std::wstring enabled = in.Text(L"enabled", L"0", kIniValueChars);
    record.enabled = (enabled.empty() || enabled[0] != L'0') ? 1 : 0;
    record.on_desktop = in.Flag(L"on_desktop", 0) ? 1 : 0;

    int alpha = in.Int(L"alpha", 0) & 0xFF;
    if (alpha == 0 && !in.isDefaultsFile) alpha = ReadIniInt(defaults, fallback.c_str(), L"alpha", 255) & 0xFF;
    record.alpha = static_cast<uint8_t>(alpha < 10 ? 10 : alpha);

    constexpr int kMissingTransparent = 256;
    int transparent = in.Int(L"transparent", kMissingTransparent);
    if (transparent == kMissingTransparent && !in.isDefaultsFile) {
        transparent = ReadIniInt(defaults, fallback.c_str(), L"transparent", 1);
    }
    record.transparent = (transparent & 0xFF) != 0 ? 1 : 0;

    in.Into(L"skin", L"", record.skin);
    if (record.skin[0] == 0 && !in.isDefaultsFile) {
        ReadIniString(defaults, fallback.c_str(), L"skin", L"", record.skin, ARRAYSIZE(record.skin));
    }

    ReadZone(in, record);

    in.Into(L"prefix", L"", record.prefix);
    record.label[0] = 0;
    CopyBounded(record.label, ARRAYSIZE(record.prefix), record.prefix);
    in.Into(L"location", L"", record.location);

    // The timer format shares its room with the time and date formats.
    memset(record.timerformat, 0, sizeof(record.timerformat));
    if (IsTimerClock(record)) {
        ReadTimerKeys(in, record);
    } else {
        record.running = 0;
        record.duration = 0;
        record.start = 0;
        record.elapsed = 0;
        record.exec_action = 0;
        ReadClockFormats(in, record);
    }

    record.action = in.Int(L"action", 0);
    in.Into(L"url", L"", record.url);

    record.showsSeconds = (IsTimerClock(record) ? TimerFormatShowsSeconds(record.timerformat)
                                                : IsCustomTimeFormat(record.timeformat))
                              ? 1
                              : 0;
    record.seconds_hand = in.Int(L"seconds_hand", record.showsSeconds);
    record.suffix = in.Int(L"suffix", 1);

    ReadProfiles(in, record);

    record.alarmsEnabled = in.Flag(L"alarms", 1) ? 1 : 0;
    record.alarmCount = 0;
    if (withAlarms) ReadAlarms(in, record);

    record.expanded = in.Int(L"expanded", 0);
    return record.expanded;
}

int ReadClockByIndex(const wchar_t* prefix, const wchar_t* file, int n, ClockRecord& record) {
    record.number = n;
    return ReadClockRecord(ClockSectionName(prefix, n).c_str(), file, record, true);
}
