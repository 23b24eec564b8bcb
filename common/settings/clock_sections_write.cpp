#include <windows.h>

#include <cwchar>
#include <string>

#include "common/settings/alarm_sections.h"
#include "common/settings/background_text.h"
#include "common/settings/clock_sections.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/zones/local_zone.h"

namespace {


// Collects the outcome of a run of writes: one failed write fails the whole.
struct SectionWriter {
    const wchar_t* file;
    const wchar_t* section;
    bool ok = true;

    void Flag(const wchar_t* key, int32_t value) { ok &= WriteIniFlag(file, section, key, value != 0); }
    void Int(const wchar_t* key, int value) { ok &= WriteIniInt(file, section, key, value); }
    void Unsigned(const wchar_t* key, unsigned long value) { ok &= WriteIniUnsigned(file, section, key, value); }
    void Text(const wchar_t* key, const wchar_t* value) { ok &= WriteIniText(file, section, key, value); }
    void Quoted(const wchar_t* key, const wchar_t* value) { ok &= WriteIniQuoted(file, section, key, value); }
    void Time(const wchar_t* key, const SYSTEMTIME& value) { ok &= WriteIniSystemTime(value, file, section, key); }
    void Duration(const wchar_t* key, uint64_t value100ns) {
        ok &= WriteIniDuration(file, section, key, static_cast<int64_t>(value100ns));
    }
    // Deleting what is not there is no fault.
    void Delete(const wchar_t* key) { DeleteIniKey(file, section, key); }
};

// A field of fixed size that may lack its terminator in a damaged record.
template <size_t N>
std::wstring FieldText(const WCHAR (&field)[N]) {
    return std::wstring(field, wcsnlen(field, N));
}

void WriteTimerKeys(SectionWriter& out, const ClockRecord& record) {
    out.Quoted(L"timerformat", FieldText(record.timerformat).c_str());
    if (IsCountdown(record)) {
        out.Text(L"timer_mode", L"-1");
        out.Unsigned(L"duration", record.duration);
        out.Time(L"term", record.targetTime);
    } else {
        out.Text(L"timer_mode", L"1");
        // A stopwatch switched back to counting from its start must lose the
        // key, or the next read would give it a set start again.
        if (HasSetDate(record))
            out.Time(L"start_at", record.targetTime);
        else
            out.Delete(L"start_at");
    }
    out.Flag(L"running", record.running);
    // The tooltip and the end action are the user's settings, not running
    // state: without them here an edited timer would lose both.
    out.Text(L"tooltip", FieldText(record.label).c_str());
    out.Flag(L"exec_action", record.exec_action);
}

}  // namespace

bool WriteClockSection(const wchar_t* file, const wchar_t* section, const ClockRecord& record) {
    SectionWriter out{file, section};

    out.Flag(L"enabled", record.enabled);
    const bool local = IsLocalZoneKey(record.zone);
    out.Text(L"zone", local ? L"" : FieldText(record.zone.key).c_str());
    out.Text(L"timezone", local ? L"" : FieldText(record.zone.displayName).c_str());

    out.Text(L"location", FieldText(record.location).c_str());
    out.Flag(L"usedaylight", record.usedaylight);
    out.Flag(L"on_desktop", record.on_desktop);
    out.Flag(L"transparent", record.transparent);
    out.Int(L"alpha", record.alpha);
    out.Text(L"skin", FieldText(record.skin).c_str());

    if (IsTimerClock(record)) {
        WriteTimerKeys(out, record);
    } else {
        out.Quoted(L"timeformat", FieldText(record.timeformat).c_str());
        out.Quoted(L"dateformat", FieldText(record.dateformat).c_str());
        out.Delete(L"timer_mode");
    }
    // Timers keep their face options too, so that turning one back into a
    // clock finds them as they were.
    out.Int(L"suffix", record.suffix);
    out.Int(L"seconds_hand", record.seconds_hand);

    out.Quoted(L"prefix", FieldText(record.prefix).c_str());
    out.Int(L"action", record.action);
    out.Text(L"url", FieldText(record.url).c_str());
    out.Int(L"profiles", record.profilesEnabled);

    int profiles = record.profileCount;
    if (profiles < 0) profiles = 0;
    if (profiles > kMaxBackgroundProfiles) profiles = kMaxBackgroundProfiles;
    for (int k = 1; k <= profiles; ++k) {
        wchar_t text[kProfileTextChars] = {};
        FormatBackgroundProfile(record.profiles[k - 1], text, kProfileTextChars, &record);
        out.Text((L"profile" + std::to_wstring(k)).c_str(), text);
    }
    out.Delete((L"profile" + std::to_wstring(profiles + 1)).c_str());

    out.Int(L"alarms", record.alarmsEnabled);
    int alarms = record.alarms ? record.alarmCount : 0;
    if (alarms < 0) alarms = 0;
    if (alarms > kMaxAlarmsPerClock) alarms = kMaxAlarmsPerClock;
    for (int m = 1; m <= alarms; ++m) {
        out.ok &= WriteAlarm(file, section, record, m, record.alarms[m - 1]);
    }

    if (record.expanded != 0) {
        out.Int(L"expanded", record.expanded);
    } else {
        out.Delete(L"expanded");
    }
    // Readers stop at the first missing alarm, so this cuts off older ones.
    DeleteIniSection(file, AlarmSectionName(section, alarms + 1).c_str());
    return out.ok;
}

bool WriteClockRecord(const ClockRecord& record) {
    return WriteClockSection(UserIniPath().c_str(), ClockSectionName(UserPrefix().c_str(), record.number).c_str(),
                             record);
}

bool WriteTimerState(const wchar_t* file, const wchar_t* section, const ClockRecord& record) {
    if (!IsTimerClock(record)) return true;
    SectionWriter out{file, section};
    out.Int(L"running", record.running);
    const uint32_t kind = record.kind & (kClockTimer | kClockCountdown | kClockSetDate);
    if (!IsCountdown(record)) {
        out.Duration(L"elapsed", record.elapsed);
        out.Time(kind == (kClockTimer | kClockSetDate) ? L"term" : L"start_time", record.targetTime);
    } else if (kind == (kClockTimer | kClockCountdown)) {
        out.Duration(L"remaining", record.elapsed);
        out.Duration(L"term_tsc", record.start);
    } else {
        out.Time(L"term", record.targetTime);
    }
    return out.ok;
}
