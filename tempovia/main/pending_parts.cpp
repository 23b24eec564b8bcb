// Bodies of the pieces that are not in the program yet: each does nothing
// visible and answers "nothing there", so the main window runs without them.
#include "tempovia/main/pending_parts.h"
#include "tempovia/tray/clock_actions.h"
#include "tempovia/tray/context_menu.h"
#include "tempovia/tray/menu_commands.h"
#include "tempovia/tray/tray_icon.h"

#include "tempovia/desktop/desktop_clocks.h"
#include "tempovia/main/app_state.h"
#include "tempovia/mapwin/map_host.h"
#include "tempovia/panels/about_box.h"
#include "tempovia/panels/calendar.h"
#include "tempovia/panels/main_window_source.h"
#include "tempovia/panels/timer_panel_owner.h"
#include "tempovia/photos/photo_worker.h"
#include "tempovia/photos/photo_service.h"
#include "tempovia/news/http_download.h"
#include "common/settings/protocol.h"
#include "tempovia/timetools/time_converter.h"
#include "tempovia/timetools/time_table.h"
#include "tempovia/tray/tray_links.h"
#include "common/settings/global_settings_io.h"
#include "tempovia/main/main_window.h"
#include "tempovia/news/rss_download.h"
#include "tempovia/news/news_window.h"
#include "tempovia/news/news_notify.h"

void TrayIconAdd(HWND mainWindow, int taskbarClockCount) { AddTrayIcon(mainWindow, taskbarClockCount); }
void TrayIconRemove() { RemoveTrayIcon(); }
void TrayIconUpdate() { UpdateTrayIcon(); }
void DestroyMainMenu() { DestroyContextMenu(); }
void OnTrayIconMessage(HWND mainWindow, WPARAM wParam, LPARAM lParam) { OnTrayIcon(mainWindow, wParam, lParam); }
bool RunMenuCommand(HWND mainWindow, WORD id) { return RunTrayCommand(mainWindow, id); }
void ClockDefaultAction(HWND mainWindow, int index) { RunClockDefaultAction(mainWindow, index); }
void SetNewClockAllowed(bool allowed) { SetNewClockFlag(allowed); }
bool CreateDesktopClocks(HWND owner, ClockRecord* clocks, int count) {
    desktop::DesktopClockHost host = desktop::Host();
    host.hookInstalled = [] { return HookInstalled(); };
    desktop::SetDesktopClockHost(host);
    return desktop::CreateDesktopClocks(owner, clocks, count);
}
void DestroyDesktopClocks(bool save) { desktop::DestroyDesktopClocks(save); }
void SaveDesktopClocks() { desktop::SaveDesktopClocks(); }
void RefreshDesktopClocks(bool force) { desktop::RefreshDesktopClocks(force); }
void HideDesktopClocks() { desktop::HideDesktopClocks(); }
void RestoreDesktopClocks() { desktop::RestoreDesktopClocks(); }
void ApplyDesktopClockOrder(bool activate) { desktop::ApplyDesktopClockOrder(activate); }
bool IsTimerPanelShown() { return panels::IsTimerPanelShown(); }
void ShowTimerPanel(HWND clockWindow, int clockNumber) { panels::ShowTimerPanel(clockWindow, clockNumber); }
// At start-up the panels module also learns the main window and puts its
// about box behind the menu command.
void CreateTimerPanel() {
    panels::SetMainWindowSource([] { return g_app.mainWindow; });
    TrayLinks links = Links();
    links.runAboutDialog = panels::RunAboutDialog;
    links.showWorldMap = mapwin::ShowWorldMap;
    mapwin::MainMapHooks mapHooks;
    mapHooks.hideDesktopClocks = HideDesktopClocks;
    mapHooks.restoreDesktopClocks = RestoreDesktopClocks;
    mapwin::SetMainMapHooks(mapHooks);
    links.showTimeTable = OpenTimeTable;
    links.showNewsWindow = [] { ShowRssWindow(g_app.mainWindow); };
    SetTrayLinks(links);
    panels::CreateTimerPanel();
}
// Hides the panel; once the main window is gone (program end) frees it too.
void DestroyTimerPanel() {
    panels::HideTimerPanel();
    if (!g_app.mainWindow) panels::ReleaseTimerPanel();
}
void ShowCalendar() { panels::ShowCalendar(); }
bool IsCalendarOpen() { return panels::IsCalendarOpen(); }
void CloseCalendar() { panels::CloseCalendar(); }
bool ShowAboutDialog() { return panels::ShowAboutDialog(); }
void CloseAboutDialog() { panels::CloseAboutDialog(); }
// No converter to open is no failure to report.
bool ShowTimeConverter(HWND owner) { return ShowTimeConverterDialog(owner) != nullptr; }
void RefreshTimeTable(LPARAM reason) {
    // The converter follows the same changes as the table.
    if (HWND converter = GetTimeConverterWindow()) PostMessageW(converter, MSG_SETTINGS_CHANGED, 0, reason);
    RefreshTimeWindow(reason == MSG_SETTINGS_CHANGED);
}
void EmptyPhotoQueue() { ClearPhotoQueue(); }
void WaitForPhotoWork() { WaitForPhotoWorkers(kDownloadTimeLimitMs + 2000); }
bool QueuePhotoRequest(int cityIndex, HWND notify) { return AddPhotoRequest(cityIndex, notify); }
void EnableNewsChannels(const wchar_t* cacheFolder) {
    SetRssCacheFolder(cacheFolder);
    SetNewsChannelConsumer(RegisterRssChannel);
}
// The notifier lets go of every item first: the reload may drop channels,
// and their items with them, without a removal notice.
void BeginNewsChannelReload() {
    ResetRssChannelSeenFlags();
    // The reload frees channels without a removal notice: nothing may keep
    // pointing at their items.
    ClearRssWindows();
    ClearRssNotify();
}
void EndNewsChannelReload() {
    RemoveUnseenRssChannels();
    RefreshRssWindows(1, 0);
    RefreshRssNotify(1, 0);  // gone when notifications were turned off
}
// LoadRssCache is the news library's own (tempovia/news/rss_channels.h).
void StartNewsRefresh(HWND, int flag) { RssRefresh(flag == 1, OnRssDownloadProgress); }
void OnRssDownloaded(HWND, WPARAM status, LPARAM record) {
    const RssProgress* progress = LiveRssProgress(record);
    if (!progress) return;
    const RssDownloadOutcome outcome = HandleRssDownloaded(static_cast<int>(status), progress);
    const int job = progress->jobNumber;
    // The last feed of a job pops up what the whole job brought; the feeds
    // before it only keep a shown notifier up to date.
    if (outcome.lastFeed) ShowRssNotify(job);
    const int flags = outcome.lastFeed ? 1 : 2;
    RefreshRssWindows(flags, job);
    RefreshRssNotify(flags, job);
}
void CloseNewsWindows() {
    if (HWND news = NewsWindow()) DestroyWindow(news);
    if (HWND notifier = NewsNotifier()) DestroyWindow(notifier);
}
HWND NewsWindow() { return RssWindow() ? RssWindow()->Handle() : nullptr; }
HWND NewsNotifier() { return RssNotify() ? RssNotify()->Handle() : nullptr; }
void HideNewsNotifier() { HideRssNotify(); }
HWND MapDialog() { return mapwin::GetMapDialog(); }
void CloseMapDialog() { mapwin::CloseWorldMap(); }
void ApplyUiLanguage() {}
