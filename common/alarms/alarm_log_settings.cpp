// The keys of the alarm log in [<user>:main]: the last alarm check, the
// window placement and the column widths.
#include <cstdio>
#include <cwchar>

#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/alarms/alarm_log.h"
#include "common/alarms/alarm_log_state.h"
#include "common/alarms/alarm_schedule_check.h"
#include "common/platform/window_place.h"

namespace {

constexpr wchar_t kLastCheckKey[] = L"lastalarmcheck";
constexpr wchar_t kWindowPosKey[] = L"logwindowpos";
constexpr wchar_t kColumnsKey[] = L"logwindowcolumns";

// "%4u" takes a minus sign and wraps; a width read that way is no width.
constexpr unsigned kMaxColumnWidth = 9999;

std::wstring ReadKey(const wchar_t* key) {
    return ReadIniText(LogIniFile().c_str(), LogIniSection().c_str(), key, kMissingKey);
}

}  // namespace

const std::wstring& LogIniFile() { return UserIniPath(); }

std::wstring LogIniSection() { return UserPrefix() + L":main"; }

bool SaveLastAlarmCheck() {
    return WriteIniSystemTime(g_alarmCheck.previousCheck, LogIniFile().c_str(), LogIniSection().c_str(),
                              kLastCheckKey);
}

bool LoadLastAlarmCheck() {
    // Reading normalises through FILETIME: a date that does not survive the
    // round trip (31 April, hour 25) is no moment.
    SYSTEMTIME moment;
    if (!ReadIniSystemTime(LogIniFile().c_str(), LogIniSection().c_str(), kLastCheckKey, moment)) return false;
    g_alarmCheck.previousCheck = moment;
    return true;
}

bool ReadLogWindowPos(RECT& rect) {
    const std::wstring text = ReadKey(kWindowPosKey);
    if (IsMissingKey(text.c_str())) return false;
    return ParseWindowRect(text.c_str(), rect);
}

bool WriteLogWindowPos(const RECT& rect) {
    wchar_t text[64];
    swprintf(text, 64, L"%ld, %ld, %ld, %ld", rect.left, rect.top, rect.right, rect.bottom);
    return WriteIniString(LogIniFile().c_str(), LogIniSection().c_str(), kWindowPosKey, text);
}

int ReadLogColumns(int widths[2]) {
    const std::wstring text = ReadKey(kColumnsKey);
    if (IsMissingKey(text.c_str())) return 0;
    unsigned first = 0, second = 0;
    if (swscanf(text.c_str(), L"%4u %4u", &first, &second) != 2) return -1;
    if (first > kMaxColumnWidth || second > kMaxColumnWidth) return -1;
    widths[0] = static_cast<int>(first);
    widths[1] = static_cast<int>(second);
    return 1;
}

bool WriteLogColumns(const int widths[2]) {
    wchar_t text[32];
    swprintf(text, 32, L"%d %d", widths[0], widths[1]);
    return WriteIniString(LogIniFile().c_str(), LogIniSection().c_str(), kColumnsKey, text);
}
