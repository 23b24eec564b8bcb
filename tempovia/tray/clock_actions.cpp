#include "tempovia/tray/clock_actions.h"

#include <cwchar>
#include <cstring>

#include "common/records/clock_record.h"
#include "common/settings/time_format.h"
#include "common/settings/time_format_timer.h"
#include "common/records/clock_table.h"
#include "common/platform/shell_open.h"
#include "common/platform/system_seam.h"
#include "common/zones/zone_time.h"
#include "tempovia/main/main_window.h"
#include "common/mainmenu/menu_ids.h"
#include "tempovia/tray/settings_launch.h"

namespace {

// A fixed-size text field that may lack its terminator.
template <size_t N>
std::wstring FieldText(const WCHAR (&field)[N]) {
    return std::wstring(field, wcsnlen(field, N));
}

bool IsAddress(const wchar_t* text) {
    while (*text == L' ' || *text == L'\t') ++text;
    const wchar_t* p = text;
    while ((*p >= L'a' && *p <= L'z') || (*p >= L'A' && *p <= L'Z')) ++p;
    return p != text && std::wcsncmp(p, L"://", 3) == 0;
}

}  // namespace

bool OpenClockUrl(const wchar_t* url) {
    if (!url || !*url) return false;
    if (IsAddress(url)) {
        HINSTANCE result = System().ShellExecuteOpen(nullptr, L"open", url, nullptr, nullptr, SW_SHOWNORMAL);
        return reinterpret_cast<INT_PTR>(result) > 32;
    }
    return ShellOpen(url);
}

std::wstring ClockClipboardText(const ClockRecord& clock, const SYSTEMTIME& utc, bool useShownTime) {
    const std::wstring prefix = FieldText(clock.prefix);
    if (IsTimerClock(clock)) {
        wchar_t value[kTimeTextChars] = {};
        const std::wstring format = FieldText(clock.timerformat);
        FormatDuration(value, kTimeTextChars, format.empty() ? kDefaultTimerFormat : format.c_str(), clock.elapsed);
        return prefix + L" " + value;
    }
    SYSTEMTIME local = clock.currentTime;
    if (!useShownTime && !UtcToClockTime(utc, &local, clock)) local = utc;
    wchar_t time[kTimeTextChars] = {};
    wchar_t date[kDateTextChars] = {};
    FormatTimeByName(time, kTimeTextChars, local, FieldText(clock.timeformat).c_str());
    FormatDate(date, kDateTextChars, local, FieldText(clock.dateformat).c_str(), true);
    return prefix + L" " + time + L" " + date;
}

bool CopyTextToClipboard(const wchar_t* text) {
    if (!text || !OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    const size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
    bool set = false;
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        if (void* target = GlobalLock(memory)) {
            std::memcpy(target, text, bytes);
            GlobalUnlock(memory);
            set = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        // The clipboard owns the memory only once it took it.
        if (!set) GlobalFree(memory);
    }
    CloseClipboard();
    return set;
}

void ClockDefaultAction(HWND mainWindow, int index) {
    if (!g_clocks || index < 0 || index >= g_clockCount) {
        LaunchSettings();
        return;
    }
    ClockRecord& clock = g_clocks[index];
    switch (clock.action) {
    case kActionCalendar:
        PostMessageW(mainWindow, WM_COMMAND, kCmdCalendar, 0);
        return;
    case kActionOpenUrl:
        OpenClockUrl(FieldText(clock.url).c_str());
        return;
    case kActionSettings:
        SaveAll();
        LaunchSettings(L" /%d", clock.number);
        return;
    case kActionConverter:
        PostMessageW(mainWindow, WM_COMMAND, kCmdTimeConverter, 0);
        return;
    case kActionDateTimePanel:
        PostMessageW(mainWindow, WM_COMMAND, kCmdDateTimePanel, 0);
        return;
    case kActionCopyTime: {
        SYSTEMTIME utc = {};
        GetSystemTime(&utc);
        CopyTextToClipboard(ClockClipboardText(clock, utc, clock.on_desktop != 0).c_str());
        return;
    }
    case kActionTimeTable:
        PostMessageW(mainWindow, WM_COMMAND, kCmdTimeTable, 0);
        return;
    case kActionTimerStartStop:
        if (IsTimerClock(clock)) {
            PostMessageW(mainWindow, WM_COMMAND, clock.running ? kCmdTimerStop : kCmdTimerStartPause, 0);
        }
        return;
    default:
        LaunchSettings();
        return;
    }
}
