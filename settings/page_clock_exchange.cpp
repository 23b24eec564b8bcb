// Filling the clock page from a clock's record and reading it back.
#include <windows.h>
#include <commctrl.h>

#include <cwchar>
#include <string>

#include "common/records/clock_record.h"
#include "common/settings/localisation.h"
#include "common/zones/city_list.h"
#include "common/platform/text_bounds.h"
#include "common/zones/zone_time.h"
#include "settings/page_clock.h"
#include "settings/page_clock_tables.h"
#include "settings/page_controls.h"
#include "settings/page_loading.h"

namespace {

constexpr int kPrefixChars = 31;
constexpr int kUrlChars = 511;
constexpr int kLocationChars = 161;

void FillActionList(HWND page, bool timer, int32_t action) {
    HWND list = GetDlgItem(page, IDC_CLOCK_ACTION);
    if (!list) return;
    SendMessageW(list, CB_RESETCONTENT, 0, 0);
    const int count = timer ? kClockActionCount : kClockActionCount - 1;
    int select = 0;
    for (int i = 0; i < count; ++i) {
        std::wstring text = Language().LoadUiString(kClockActionTextIds[i]);
        const LRESULT item = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (item < 0) continue;
        SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(item), i);
        if (i == ActionItemForRecord(action)) select = static_cast<int>(item);
    }
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(select), 0);
}

int32_t SelectedAction(HWND page) {
    HWND list = GetDlgItem(page, IDC_CLOCK_ACTION);
    if (!list) return 0;
    const LRESULT item = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (item < 0) return 0;
    const LRESULT data = SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(item), 0);
    return data >= 0 && data < kClockActionCount ? static_cast<int32_t>(data) : 0;
}

bool ValidTime(const SYSTEMTIME& t) {
    FILETIME ft;
    return t.wYear >= 1601 && SystemTimeToFileTime(&t, &ft);
}

void SetPickers(HWND page, const SYSTEMTIME& when) {
    SYSTEMTIME t = when;
    if (!ValidTime(t)) GetLocalTime(&t);
    t.wMilliseconds = 0;
    for (int id : {IDC_TIMER_DATE, IDC_TIMER_TIME}) {
        if (HWND picker = GetDlgItem(page, id)) {
            SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
        }
    }
}

// The set moment from the two pickers: the date of one, the time of day of
// the other.
bool ReadPickers(HWND page, SYSTEMTIME* out) {
    SYSTEMTIME date = {}, time = {};
    HWND datePicker = GetDlgItem(page, IDC_TIMER_DATE);
    HWND timePicker = GetDlgItem(page, IDC_TIMER_TIME);
    if (!datePicker || !timePicker) return false;
    if (SendMessageW(datePicker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date)) != GDT_VALID) return false;
    if (SendMessageW(timePicker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID) return false;
    date.wHour = time.wHour;
    date.wMinute = time.wMinute;
    date.wSecond = time.wSecond;
    date.wMilliseconds = 0;
    *out = date;
    return true;
}

bool SetDateChosen(HWND page, const ClockRecord& record) {
    if (IsCountdown(record)) return IsChecked(page, IDC_TIMER_TO_DATE);
    if (IsStopwatch(record)) return IsChecked(page, IDC_TIMER_FROM_START);
    return false;
}

// What the location field shows for a record: its location, or its zone's
// display name when it has none.
std::wstring ShownLocation(const ClockRecord& record) {
    const size_t locationLength = wcsnlen(record.location, std::size(record.location));
    if (locationLength > 0) return std::wstring(record.location, locationLength);
    return std::wstring(record.zone.displayName, wcsnlen(record.zone.displayName, std::size(record.zone.displayName)));
}

void EnableUrl(HWND page) {
    const bool url = SelectedAction(page) == kActionOpenUrl;
    EnableControl(page, IDC_CLOCK_URL, url);
    EnableControl(page, IDC_CLOCK_BROWSE, url);
}

}  // namespace

void RefreshActionList(HWND page, const ClockRecord& record) {
    PageLoadingScope loading;
    FillActionList(page, IsTimerClock(record), SelectedAction(page));
}

void OnActionChanged(HWND page) { EnableUrl(page); }

void ApplyTimerEnabling(HWND page, const ClockRecord& record) {
    if (!IsTimerClock(record)) {
        EnableControl(page, IDC_CLOCK_PICK_LOCATION, true);
        EnableControl(page, IDC_CLOCK_DAYLIGHT, true);
        UpdateDaylightCheck(page);
        return;
    }
    const bool setDate = SetDateChosen(page, record);
    for (int id : {IDC_TIMER_DAYS, IDC_TIMER_HOURS, IDC_TIMER_MINUTES, IDC_TIMER_SECONDS}) {
        EnableControl(page, id, IsCountdown(record) && !setDate);
    }
    for (int id : {IDC_TIMER_DATE, IDC_TIMER_TIME, IDC_CLOCK_PICK_LOCATION, IDC_CLOCK_DAYLIGHT}) {
        EnableControl(page, id, setDate);
    }
    if (setDate) UpdateDaylightCheck(page);
}

void LoadClockPage(HWND page, ClockRecord& record) {
    SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&record));
    PageLoadingScope loading;
    FillActionList(page, IsTimerClock(record), record.action);

    SetControlText(page, IDC_CLOCK_LOCATION, ShownLocation(record).c_str());
    SetChecked(page, IDC_CLOCK_DAYLIGHT, record.usedaylight != 0);
    const std::wstring prefix(record.prefix, wcsnlen(record.prefix, std::size(record.prefix)));
    SetControlText(page, IDC_CLOCK_PREFIX, prefix.c_str());
    SetControlText(page, IDC_CLOCK_PREFIX_MIRROR, prefix.c_str());
    SetControlText(page, IDC_CLOCK_URL, std::wstring(record.url, wcsnlen(record.url, std::size(record.url))).c_str());
    SetChecked(page, IDC_CLOCK_ON_DESKTOP, record.on_desktop != 0);
    SetChecked(page, IDC_CLOCK_IN_TASKBAR, record.on_desktop == 0);

    const bool setDate = (record.kind & kClockSetDate) != 0;
    if (IsCountdown(record)) {
        SetChecked(page, IDC_TIMER_TO_DATE, setDate);
        SetChecked(page, IDC_TIMER_FOR_DURATION, !setDate);
    } else if (IsStopwatch(record)) {
        SetChecked(page, IDC_TIMER_FROM_START, setDate);
    }
    if (IsTimerClock(record)) {
        SYSTEMTIME none = {};
        SetPickers(page, setDate ? record.targetTime : none);
    }
    if (IsCountdown(record) && !setDate) {
        const DurationFields d = SplitDuration(record.duration);
        const uint32_t values[4] = {d.days, d.hours, d.minutes, d.seconds};
        const int ids[4] = {IDC_TIMER_DAYS, IDC_TIMER_HOURS, IDC_TIMER_MINUTES, IDC_TIMER_SECONDS};
        for (int i = 0; i < 4; ++i) {
            wchar_t text[16];
            swprintf(text, std::size(text), L"%d", static_cast<int>(values[i]));
            SetControlText(page, ids[i], text);
        }
    }
    ApplyTimerEnabling(page, record);
    EnableUrl(page);
}

HWND StoreClockPage(HWND page, ClockRecord& record) {
    const std::wstring prefix = ControlText(page, IDC_CLOCK_PREFIX, kPrefixChars);
    CopyBounded(record.prefix, prefix.c_str());
    CopyBounded(record.label, kPrefixChars + 1, prefix.c_str());
    record.action = SelectedAction(page);
    const std::wstring url = ControlText(page, IDC_CLOCK_URL, kUrlChars);
    CopyBounded(record.url, url.c_str());
    record.on_desktop = IsChecked(page, IDC_CLOCK_ON_DESKTOP) ? 1 : 0;

    bool setDate = false;
    SYSTEMTIME target = {};
    if (IsTimerClock(record)) {
        setDate = SetDateChosen(page, record) && ReadPickers(page, &target);
        if (setDate) {
            record.kind |= kClockSetDate;
            record.duration = 0;
            record.targetTime = target;
        } else {
            record.kind &= ~kClockSetDate;
            if (IsCountdown(record)) {
                uint32_t total = 0;
                const std::wstring d = ControlText(page, IDC_TIMER_DAYS, 3);
                const std::wstring h = ControlText(page, IDC_TIMER_HOURS, 6);
                const std::wstring m = ControlText(page, IDC_TIMER_MINUTES, 8);
                const std::wstring s = ControlText(page, IDC_TIMER_SECONDS, 10);
                if (ParseDuration(d.c_str(), h.c_str(), m.c_str(), s.c_str(), &total)) record.duration = total;
            }
        }
    }
    if (!IsTimerClock(record) || setDate) {
        // A location the user left as it was keeps the record's zone, even when
        // the city list does not know its text: a store must never turn such a
        // clock into local time behind the user's back.
        const std::wstring text = ControlText(page, IDC_CLOCK_LOCATION, kLocationChars);
        if (text != ShownLocation(record)) {
            ResolveLocation(text.c_str(), record.location, std::size(record.location), &record.zone);
        }
        record.usedaylight = IsChecked(page, IDC_CLOCK_DAYLIGHT) && IsControlEnabled(page, IDC_CLOCK_DAYLIGHT);
        record.zoneHasDaylight = record.zone.DaylightBias != 0 && record.zone.DaylightDate.wMonth != 0;
    }
    if (setDate) {
        // The set moment is a time of the clock's zone, so it is converted
        // with the zone just chosen rather than the one the clock had.
        SYSTEMTIME utc = {};
        FILETIME ft = {};
        if (ZoneTimeToUtc(&utc, record.zone, target) && SystemTimeToFileTime(&utc, &ft)) {
            record.start = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
        }
    }
    if (record.action == kActionOpenUrl && IsBlankText(record.url)) return GetDlgItem(page, IDC_CLOCK_URL);
    return nullptr;
}
