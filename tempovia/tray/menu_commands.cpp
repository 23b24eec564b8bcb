#include "tempovia/tray/menu_commands.h"

#include <string>

#include "common/records/protocol.h"
#include "common/zones/city_list.h"
#include "common/records/clock_table.h"
#include "common/platform/system_seam.h"
#include "common/settings/timer_state.h"
#include "tempovia/desktop/desktop_clocks.h"
#include "tempovia/main/app_state.h"
#include "tempovia/main/main_window.h"
#include "tempovia/main/tray_protocol.h"
#include "tempovia/news/rss_download.h"
#include "tempovia/panels/timer_panel_owner.h"
#include "tempovia/tray/city_page.h"
#include "tempovia/tray/desktop_toggle.h"
#include "common/mainmenu/menu_ids.h"
#include "tempovia/tray/settings_launch.h"
#include "tempovia/tray/system_zone.h"
#include "tempovia/tray/tray_links.h"
#include "tempovia/main/program_resource_ids.h"

namespace {

// Run flag that switches the news schedule off.
constexpr uint32_t kRunFlagNoNews = 0x2;
constexpr UINT kAboutFailedText = IDS_ABOUT_FAILED;
constexpr UINT kAboutFailedCaption = IDS_ABOUT_FAILED_CAPTION;

ClockRecord* Current() {
    const int i = g_app.currentClock;
    return g_clocks && i >= 0 && i < g_clockCount ? &g_clocks[i] : nullptr;
}

// A text of this program file's own string table, with the English text when
// the file has none.
std::wstring ProgramString(UINT id, const wchar_t* fallback) {
    wchar_t text[129] = {};
    const int n = LoadStringW(GetModuleHandleW(nullptr), id, text, 129);
    return n > 0 ? std::wstring(text, static_cast<size_t>(n)) : std::wstring(fallback);
}

void ShowAbout(HWND mainWindow) {
    const TrayLinks& links = Links();
    if (links.runAboutDialog && links.runAboutDialog() != 0) return;
    const std::wstring text = ProgramString(kAboutFailedText, L"Failed to create About dialog");
    const std::wstring caption = ProgramString(kAboutFailedCaption, L"Tempovia Error");
    TrayMessage(mainWindow, text.c_str(), caption.c_str(), MB_OK);
}

// The settings at a page of the current clock, after the running state is saved.
void ClockPage(const wchar_t* format, int second = 0) {
    ClockRecord* clock = Current();
    if (!clock) return;
    SaveAll();
    LaunchSettings(format, clock->number, second);
}

const wchar_t* ClockPageFormat(WORD id) {
    switch (id) {
    case kCmdNewAlarm: return L" /new_alarm%d";
    case kCmdPageZone: return L" /zone%d";
    case kCmdPageSkin: return L" /skin%d";
    case kCmdPageFormats: return L" /formats%d";
    case kCmdPageAlarms: return L" /alarms%d";
    case kCmdPageProfiles: return L" /profiles%d";
    default: return nullptr;
    }
}

const wchar_t* GeneralPageSwitch(WORD id) {
    switch (id) {
    case kCmdPageTaskbar: return L" /taskbar";
    case kCmdPageSync: return L" /sync";
    case kCmdPageGeneral: return L" /general";
    case kCmdPageNews: return L" /rss";
    default: return nullptr;
    }
}

int CurrentCity() {
    ClockRecord* clock = Current();
    if (!clock) return -1;
    const std::wstring location(clock->location, wcsnlen(clock->location, std::size(clock->location)));
    return FindCity(location.c_str());
}

}  // namespace

void TimerCommand(HWND mainWindow, WORD id) {
    ClockRecord* clock = Current();
    if (!clock || !IsTimerClock(*clock)) return;
    if (id == kCmdTimerStartPause) {
        if (clock->running) {
            StopTimer(*clock);
        } else {
            ToggleTimerRunning(*clock);
        }
    } else if (id == kCmdTimerStop) {
        StopTimer(*clock);
    } else if (id == kCmdTimerReset) {
        ResetTimer(*clock);
    } else {
        return;
    }
    if (panels::IsTimerPanelShown()) panels::HideTimerPanel();
    SaveClockStates();
    SendDataToHook(mainWindow);
}

bool RunTrayCommand(HWND mainWindow, WORD id) {
    if (const wchar_t* format = ClockPageFormat(id)) {
        ClockPage(format);
        return true;
    }
    if (const wchar_t* page = GeneralPageSwitch(id)) {
        LaunchSettings(page);
        return true;
    }
    if (id >= kCmdProfileFirst && id < kCmdProfileFirst + kMenuProfilesMax) {
        const int profile = id - kCmdProfileFirst;
        if (Current() && profile < Current()->profileCount) ClockPage(L" /profile%d.%d", profile);
        return true;
    }
    if (id >= kCmdAlarmFirst && id < kCmdAlarmFirst + kMenuAlarmsMax) {
        const int alarm = id - kCmdAlarmFirst;
        if (Current() && alarm < Current()->alarmCount) ClockPage(L" /alarm%d.%d", alarm);
        return true;
    }
    switch (id) {
    case kCmdGroup:
    case kCmdOnTop:
        if (Current()) {
            desktop::ForwardClockCommand(static_cast<WPARAM>(g_app.currentClock) * 65536 + id);
        }
        return true;
    case kCmdShowOnDesktop:
        ToggleOnDesktop(mainWindow, g_app.currentClock);
        return true;
    case kCmdExit:
    case static_cast<WORD>(MSG_QUIT):
        RunQuitSequence(mainWindow);
        return true;
    case kCmdSettings:
        SaveAll();
        if (ClockRecord* clock = Current()) {
            LaunchSettings(L" /%d", clock->number);
        } else {
            LaunchSettings();
        }
        return true;
    case kCmdAbout:
        ShowAbout(mainWindow);
        return true;
    case kCmdDateTimePanel:
        System().ShellExecuteOpen(nullptr, L"open", L"rundll32.exe", L"shell32.dll,Control_RunDLL TIMEDATE.CPL",
                                  nullptr, SW_SHOWNORMAL);
        return true;
    case kCmdSetSystemZone:
        if (ClockRecord* clock = Current()) SetSystemTimeZone(mainWindow, *clock);
        return true;
    case kCmdAlarmLog:
        PostMessageW(mainWindow, MSG_SHOW_LOG, 0, 0);
        return true;
    case kCmdTimeConverter:
        PostMessageW(mainWindow, MSG_SHOW_TIME_CONVERTER, 0, 0);
        return true;
    case kCmdCalendar:
        PostMessageW(mainWindow, MSG_SHOW_CALENDAR, 0, 0);
        return true;
    case kCmdWorldMap:
        if (Links().showWorldMap) Links().showWorldMap(mainWindow, CurrentCity());
        return true;
    case kCmdCityWebPage:
        OpenCityWebPage(Current());
        return true;
    case kCmdTimeTable:
        if (Links().showTimeTable) Links().showTimeTable(mainWindow);
        return true;
    case kCmdNewsWindow:
        if (Links().showNewsWindow) Links().showNewsWindow();
        return true;
    case kCmdRefreshNews:
        if (!(g_settings.runFlags & kRunFlagNoNews)) RssRefresh(false, OnRssDownloadProgress);
        return true;
    case kCmdTimerStartPause:
    case kCmdTimerStop:
    case kCmdTimerReset:
        TimerCommand(mainWindow, id);
        return true;
    case kCmdNewClock:
    case kCmdNewTimer:
    case kCmdNewStopwatch:
        SaveAll();
        LaunchSettingsNew(id == kCmdNewTimer ? -1 : id == kCmdNewStopwatch ? 1 : 0);
        return true;
    default:
        return false;
    }
}
