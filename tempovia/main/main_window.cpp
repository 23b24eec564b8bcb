// The window procedure of TempoviaClass and the handlers of its messages.
#include "tempovia/main/main_window.h"

#include "common/records/clock_record.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/settings/resource_module.h"
#include "common/taskbar/hook_exports.h"
#include "common/alarms/alarm_log.h"
#include "common/records/clock_table.h"
#include "tempovia/desktop/desktop_clocks.h"
#include "tempovia/main/app_state.h"
#include "tempovia/main/data_services.h"
#include "tempovia/main/exit_save.h"
#include "tempovia/main/tray_protocol.h"
#include "tempovia/main/watch_threads.h"
#include "tempovia/mapwin/map_host.h"
#include "tempovia/news/news_notify.h"
#include "tempovia/news/news_window.h"
#include "tempovia/news/rss_channels.h"
#include "tempovia/news/rss_download.h"
#include "tempovia/panels/about_box.h"
#include "tempovia/panels/calendar.h"
#include "tempovia/panels/timer_panel_owner.h"
#include "tempovia/photos/photo_worker.h"
#include "tempovia/timetools/time_converter.h"
#include "tempovia/timetools/time_table.h"
#include "tempovia/tray/clock_actions.h"
#include "tempovia/tray/context_menu.h"
#include "tempovia/tray/menu_commands.h"
#include "tempovia/tray/tray_icon.h"
#include "tempovia/util/main_language.h"
#include "tempovia/util/window_utils.h"
#include "resources/resource_ids.h"

namespace {

constexpr WPARAM kSpiSetUiEffects = 0x103F;
// The reason a converter is told of a system setting change: the number of
// WM_SETTINGCHANGE itself.
constexpr LPARAM kSettingChangeReason = WM_SETTINGCHANGE;

// Sends to the taskbar clock, which lives in Explorer: a hung Explorer must not
// hang this program.
void SendToTrayClock(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!g_app.trayClock) return;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(g_app.trayClock, message, wParam, lParam, SMTO_ABORTIFHUNG, kTrayClockSendTimeoutMs,
                        &ignored);
}

bool ClocksLoaded() { return g_clocks != nullptr && g_clockCount > 0; }

HWND NewsWindowHandle() { return RssWindow() ? RssWindow()->Handle() : nullptr; }
HWND NewsNotifierHandle() { return RssNotify() ? RssNotify()->Handle() : nullptr; }

// The time table is rebuilt on a settings reload (MSG_SETTINGS_CHANGED) and
// redrawn on a system time change (30); the converter follows both.
void RefreshTimeTools(LPARAM reason) {
    if (HWND converter = GetTimeConverterWindow()) PostMessageW(converter, MSG_SETTINGS_CHANGED, 0, reason);
    RefreshTimeWindow(reason == MSG_SETTINGS_CHANGED);
}

void OnCreate(HWND window) {
    g_app.mainWindow = window;
    InitAppDataFolder(window);
    RebuildLocalZone();
    SetTimer(window, kMainTimerId, kMainTimerMs, nullptr);
    if (!g_app.noHook) g_app.explorerProcessId = InstallHook(window, g_settings.programFolder);
    ReloadClocks(window);
    if (HookInstalled()) {
        StartTaskbarWatch();
        if (g_app.trayClock) PostMessageW(g_app.trayClock, MSG_TRAY_QUERY_SIZE, 0, 0);
    }
    BeginAlarmCheck();
    LoadRssCache();
    if (g_app.noHook) WriteLastBuild();
}

void OnDestroy(HWND window) {
    g_settings.runFlags |= kRunFlagExiting;
    ClearPhotoQueue();
    KillTimer(window, kMainTimerId);
    DestroyContextMenu();
    StopTaskbarWatch();
    RemoveHook();
    g_app.explorerProcessId = 0;
    // The map dialog goes first, the plug-in with it, while the city table it
    // was handed still exists: every way out comes here, not all by the quit
    // command.
    mapwin::CloseWorldMap();
    EnumThreadWindows(GetCurrentThreadId(), CloseThreadDialogsProc, 0);
    // The news windows save their places and take their browsers with them
    // while OLE is still up.
    if (HWND news = NewsWindowHandle()) DestroyWindow(news);
    if (HWND notifier = NewsNotifierHandle()) DestroyWindow(notifier);
    ReleaseClocks();
    DestroyAlarmWindows();
    EndExitHold();
    FreeResourceModule();
    if (g_app.trayClock) PostMessageW(g_app.trayClock, WM_TIMECHANGE, 0, 0);
    g_app.trayClock = nullptr;
    PostQuitMessage(0);
}

void OnSettingsChanged(HWND window, WPARAM wParam, LPARAM lParam) {
    ReloadClocks(window);
    SendDataToHook(window);
    if (HWND map = mapwin::GetMapDialog()) SendMessageW(map, MSG_CLOUDS_CHANGED, 0, mapwin::MapCloudsOn() ? 1 : 0);
    RetitleAlarmLog();
    RefreshTimeTools(MSG_SETTINGS_CHANGED);
    if ((lParam == 26 || lParam == 29) && panels::IsCalendarOpen()) {
        panels::CloseCalendar();
        panels::ShowCalendar();
    }
    if (HWND news = NewsWindowHandle()) SendMessageW(news, MSG_SETTINGS_CHANGED, wParam, lParam);
    if (HWND notifier = NewsNotifierHandle()) SendMessageW(notifier, MSG_SETTINGS_CHANGED, wParam, lParam);
    TrayIconUpdate();
}

LRESULT OnClockMouse(HWND window, int index, WPARAM code, LPARAM lParam) {
    const bool valid = g_clocks && index >= 0 && index < g_clockCount;
    switch (code) {
    case CLOCK_MOUSE_MENU:
        g_app.currentClock = index;
        return panels::ShowAboutDialog() ? 1 : 0;
    case CLOCK_MOUSE_HOVER: {
        HWND shower = reinterpret_cast<HWND>(lParam);
        const bool overTimer = valid && (g_clocks[index].kind & kClockTimer) && shower && IsWindow(shower);
        if (overTimer && !panels::IsTimerPanelShown()) panels::ShowTimerPanel(shower, index + 1);
        return 0;
    }
    case CLOCK_MOUSE_DOWN:
    case CLOCK_MOUSE_UP:
        g_app.currentClock = index;
        desktop::ApplyDesktopClockOrder(false);
        return 0;
    case CLOCK_MOUSE_DBLCLK:
        g_app.currentClock = index;
        ClockDefaultAction(window, index);
        return 0;
    default:
        return 0;
    }
}

void OnShowLog() {
    HWND log = AlarmLogWindow();
    if (!log || !IsWindow(log)) return;
    ShowWindow(log, SW_SHOWNORMAL);
    SetForegroundWindow(log);
    SetWindowPos(log, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void OnShowTimeConverter(HWND window) {
    if (!ClocksLoaded() || ShowTimeConverterDialog(window)) return;
    ShowMessageById(window, ResourceModule(), IDS_CONVERTER_FAILED, IDS_CONVERTER_FAILED_CAPTION, kStringTableSection);
}

void OnClockCount(WPARAM wParam, LPARAM lParam) {
    const WPARAM count = wParam ? wParam : static_cast<WPARAM>(g_clockCount);
    SetNewClockFlag(count < static_cast<WPARAM>(kMaxClocks));
    if (g_app.trayClock) PostMessageW(g_app.trayClock, MSG_CLOCK_COUNT, count, lParam);
}

void OnMapInUse(WPARAM wParam) {
    // Only the two defined values: an unbalanced hide would keep the desktop
    // clocks hidden for good.
    if (wParam == 1) {
        HideRssNotify();
        desktop::HideDesktopClocks();
        mapwin::CloseWorldMap();
    } else if (wParam == 0) {
        desktop::RestoreDesktopClocks();
    }
}

void OnRssDownloaded(WPARAM status, LPARAM record) {
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

LRESULT OnPhotoRequest(WPARAM cityIndex, LPARAM notify) {
    if ((g_settings.runFlags & kRunFlagExiting) || !g_settings.vistrel) return 0;
    // A negative index asks for the whole country of city -index; the queue
    // checks the index against the city table itself.
    const INT_PTR index = static_cast<INT_PTR>(cityIndex);
    if (index <= -static_cast<INT_PTR>(INT_MAX) || index > INT_MAX) return 0;
    return QueuePhotoRequest(static_cast<int>(index), reinterpret_cast<HWND>(notify)) ? 1 : 0;
}

void OnSettingChange(HWND window, WPARAM wParam) {
    LoadResourceModule(nullptr);
    // A locale change (a 12/24-hour switch, say) reaches an open converter,
    // which rereads the locale's time format and lays its pickers out again.
    if (HWND converter = GetTimeConverterWindow()) {
        PostMessageW(converter, MSG_SETTINGS_CHANGED, 0, kSettingChangeReason);
    }
    if (wParam == SPI_SETWORKAREA || wParam == kSpiSetUiEffects) {
        desktop::DestroyDesktopClocks(true);
        desktop::CreateDesktopClocks(window, g_clocks, g_clockCount);
    }
}

LRESULT Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= MSG_CLOCK_MOUSE && message <= MSG_CLOCK_MOUSE_LAST) {
        return OnClockMouse(window, static_cast<int>(message - MSG_CLOCK_MOUSE), wParam, lParam);
    }
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        return 0;
    case WM_TIMER:
        if (wParam != kMainTimerId) break;
        desktop::RefreshDesktopClocks(false);
        if (GetTickCount() - g_app.lastTick >= kSecondTickMs) {
            g_app.lastTick = GetTickCount();
            OnSecondTick(window);
        }
        return 0;
    case WM_CLOSE:
        PostMessageW(window, WM_COMMAND, MSG_QUIT, 0);
        return 0;
    case WM_COMMAND: {
        const WORD id = LOWORD(wParam);
        if (id == CMD_QUIT_MENU || id == MSG_QUIT) {
            RunQuitSequence(window);
        } else {
            RunTrayCommand(window, id);
        }
        return 0;
    }
    case MSG_QUIT:
        // The taskbar watcher's way out (wParam 1) bypasses the quit command,
        // so the running state is saved here.
        if (wParam == 1) {
            HoldSettingsForExit(window, false);
            SaveAll();
        }
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        OnDestroy(window);
        return 0;
    case WM_QUERYENDSESSION:
        SaveAll();
        return TRUE;
    case WM_ENDSESSION:
        // wParam FALSE: another program cancelled the end of the session, and
        // this one keeps running.
        if (wParam) {
            HoldSettingsForExit(window, false);
            SaveAll();
            SendToTrayClock(WM_COMMAND, MSG_QUIT, reinterpret_cast<LPARAM>(window));
            DestroyWindow(window);
        }
        return 0;
    case WM_SETTINGCHANGE:
        OnSettingChange(window, wParam);
        return 0;
    case WM_TIMECHANGE:
        RebuildLocalZone();
        desktop::RefreshDesktopClocks(true);
        RefreshTimeTools(30);
        break;
    case WM_COPYDATA:
        return OnMainCopyData(window, reinterpret_cast<HWND>(wParam), reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case MSG_SETTINGS_CHANGED:
        OnSettingsChanged(window, wParam, lParam);
        return 0;
    case MSG_TRAY_CLOCK_READY:
        return OnTrayClockReady(window, lParam);
    case MSG_SAVE_STATE:
        SaveAll();
        return 0;
    case MSG_MAP_IN_USE:
        OnMapInUse(wParam);
        return 0;
    case MSG_SHOW_LOG:
        OnShowLog();
        return 0;
    case MSG_SHOW_CALENDAR:
        if (ClocksLoaded()) panels::ShowCalendar();
        return 0;
    case MSG_SHOW_TIME_CONVERTER:
        OnShowTimeConverter(window);
        return 0;
    case MSG_PUSH_TO_TRAY:
        SendDataToHook(window);
        return 0;
    case MSG_CLOCK_COUNT:
        OnClockCount(wParam, lParam);
        return 0;
    case MSG_TRAY_ICON:
        OnTrayIcon(window, wParam, lParam);
        return 0;
    case MSG_RSS_DOWNLOADED:
        OnRssDownloaded(wParam, lParam);
        return 0;
    case MSG_PHOTO_REQUEST:
        return OnPhotoRequest(wParam, lParam);
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return Dispatch(window, message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the system's message dispatch.
        return message == WM_CREATE ? -1 : 0;
    }
}

bool OnRssDownloadProgress(int status, void* record) {
    HWND main = g_app.mainWindow;
    if (!main) return false;
    SendMessageW(main, MSG_RSS_DOWNLOADED, static_cast<WPARAM>(status), reinterpret_cast<LPARAM>(record));
    return true;
}

void RunQuitSequence(HWND mainWindow) {
    HoldSettingsForExit(mainWindow, !ExitAskedByAnotherStart());
    mapwin::CloseWorldMap();
    SaveAll();
    panels::CloseAboutDialog();
    EnumThreadWindows(GetCurrentThreadId(), CloseThreadDialogsProc, 0);
    if (HWND settings = FindWindowW(kSettingsWindowClass, nullptr)) PostMessageW(settings, WM_CLOSE, 0, 0);
    // The release names this program: the clock gives itself back only to
    // the program that has it.
    SendToTrayClock(WM_COMMAND, MSG_QUIT, reinterpret_cast<LPARAM>(mainWindow));
    PostMessageW(mainWindow, MSG_QUIT, 0, 0);
}
