#include "tempovia/main/module_links.h"

#include "common/alarms/alarm_action_sink.h"
#include "common/alarms/alarm_schedule_check.h"
#include "common/alarms/alarm_templates.h"
#include "tempovia/desktop/desktop_clocks.h"
#include "tempovia/main/app_state.h"
#include "common/platform/build_date.h"
#include "tempovia/mapwin/map_host.h"
#include "tempovia/news/news_window.h"
#include "tempovia/panels/about_box.h"
#include "tempovia/panels/main_window_source.h"
#include "tempovia/timetools/time_table.h"
#include "tempovia/tray/tray_links.h"

void LinkProgramModules() {
    panels::SetMainWindowSource([] { return g_app.mainWindow; });

    TrayLinks links = Links();
    links.runAboutDialog = panels::RunAboutDialog;
    links.showWorldMap = mapwin::ShowWorldMap;
    links.showTimeTable = OpenTimeTable;
    links.showNewsWindow = [] { ShowRssWindow(g_app.mainWindow); };
    SetTrayLinks(links);

    // The desktop clocks stay hidden while a map is open.
    mapwin::MainMapHooks mapHooks;
    mapHooks.hideDesktopClocks = desktop::HideDesktopClocks;
    mapHooks.restoreDesktopClocks = desktop::RestoreDesktopClocks;
    mapwin::SetMainMapHooks(mapHooks);

    // The tray module has put its clock menu in place already.
    desktop::DesktopClockHost host = desktop::Host();
    host.hookInstalled = [] { return HookInstalled(); };
    desktop::SetDesktopClockHost(host);

    // The "compiled" token of alarm messages shows this program's build.
    MessageTokenProgram program = CurrentMessageTokenProgram();
    GetBuildDate(program.buildUtc);
    SetMessageTokenProgram(program);
    SetAlarmSink(&AlarmActions());
}
