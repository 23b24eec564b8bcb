// Loading, releasing and saving the clocks of the main window.
#include <shlobj.h>

#include <string>

#include "common/settings/clock_sections.h"
#include "common/settings/global_settings_io.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_read_scope.h"
#include "common/settings/named_mutex.h"
#include "common/settings/ini_store.h"
#include "common/alarms/alarm_log.h"
#include "common/alarms/alarm_schedule_check.h"
#include "common/records/clock_table.h"
#include "tempovia/desktop/desktop_clocks.h"
#include "tempovia/main/app_state.h"
#include "common/platform/build_date.h"
#include "tempovia/main/data_services.h"
#include "tempovia/main/main_window.h"
#include "tempovia/mapwin/map_host.h"
#include "tempovia/news/news_notify.h"
#include "tempovia/news/news_window.h"
#include "tempovia/news/rss_channels.h"
#include "tempovia/tray/context_menu.h"
#include "tempovia/tray/tray_icon.h"

namespace {

std::wstring UserSection(const wchar_t* suffix) { return UserPrefix() + suffix; }

// The fields the main program owns survive every reload of the settings block.
void KeepProgramFields() {
    GetBuildDate(g_settings.buildDate);
    CopyBounded(g_settings.programFolder, SettingsFolder().c_str());
}

void WriteLastAlarmCheck() {
    // Ticks without a clock with alarms still move the check on.
    if (g_app.tickHasRun && g_app.lastTickTime.wYear != 0) {
        g_alarmCheck.previousCheck = g_app.lastTickTime;
        g_alarmCheck.checkedOnce = true;
    }
    if (g_alarmCheck.checkedOnce) SaveLastAlarmCheck();
}

}  // namespace

void ReleaseClocks() {
    mapwin::CloseWorldMap();
    TrayIconRemove();
    desktop::DestroyDesktopClocks(false);
    g_app.taskbarClockCount = 0;
    FreeClockTable();
}

void ReloadClocks(HWND mainWindow) {
    ReleaseClocks();
    // The records and the desktop clocks' own keys: each section read once.
    IniReadScope oneReadEach;
    // The reload frees the channels it does not register again, and their
    // items with them, without a removal notice: nothing may keep pointing
    // at those items.
    ResetRssChannelSeenFlags();
    ClearRssWindows();
    ClearRssNotify();
    // Also applies the language of the user interface.
    const bool canAdd = LoadAllSettings();
    KeepProgramFields();
    RemoveUnseenRssChannels();
    RefreshRssWindows(1, 0);
    RefreshRssNotify(1, 0);  // gone when notifications were turned off
    int inTaskbar = 0;
    for (int i = 0; g_clocks && i < g_clockCount; ++i) {
        if (!HookInstalled()) g_clocks[i].on_desktop = 1;
        if (g_clocks[i].enabled && !g_clocks[i].on_desktop) ++inTaskbar;
    }
    g_app.taskbarClockCount = inTaskbar;
    SetNewClockFlag(canAdd);
    TrayIconAdd(mainWindow, inTaskbar);
    RebuildLocalZone();
    desktop::CreateDesktopClocks(mainWindow, g_clocks, g_clockCount);
    g_app.lastTick = GetTickCount();
}

void SaveClockStates() {
    for (int i = 0; g_clocks && i < g_clockCount; ++i) {
        const ClockRecord& c = g_clocks[i];
        if (!(c.kind & kClockTimer)) continue;
        const std::wstring section = UserSection((L":clock" + std::to_wstring(c.number)).c_str());
        WriteTimerState(UserIniPath().c_str(), section.c_str(), c);
    }
}

void SaveAll() {
    // One hold for every write of the save: a program that keeps the lock
    // holds the save up once, not once for each key.
    IniFileLock lock;
    SaveClockStates();
    desktop::SaveDesktopClocks();
    WriteLastAlarmCheck();
}

void WriteLastBuild() {
    WriteIniSystemTime(g_settings.buildDate, UserIniPath().c_str(), UserSection(L":main").c_str(), L"last_build");
}

bool InitAppDataFolder(HWND owner) {
    g_app.appDataFolder[0] = L'\0';
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path))) {
        return false;
    }
    const wchar_t* caption = nullptr;
    std::wstring folder = path;
    if (folder.size() >= 237) {
        caption = L"Path too long";
    } else {
        if (folder.empty() || folder.back() != L'\\') folder += L'\\';
        folder += L"Tempovia";
        const DWORD attributes = GetFileAttributesW(folder.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            if (!CreateDirectoryW(folder.c_str(), nullptr)) caption = L"Can not create directory";
        } else if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            caption = L"Can not create directory";
        }
    }
    if (caption) {
        MessageBoxW(owner, folder.c_str(), caption, MB_ICONERROR | MB_SETFOREGROUND);
        return false;
    }
    CopyBounded(g_app.appDataFolder, folder.c_str());
    // Without a cache folder the news reader gets no channels either.
    SetRssCacheFolder(g_app.appDataFolder);
    SetNewsChannelConsumer(RegisterRssChannel);
    return true;
}
