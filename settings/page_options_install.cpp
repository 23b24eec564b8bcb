#include "settings/page_options_install.h"

#include "settings/general_options_save.h"
#include "settings/main_dialog.h"
#include "settings/page_background.h"
#include "settings/page_general.h"
#include "settings/page_ini.h"
#include "settings/page_news_channels.h"
#include "settings/page_sync_options.h"
#include "settings/page_taskbar.h"

namespace {

constexpr int kGeneralPage = 0;
constexpr int kIniPage = 1;
// A clock's profile, then a countdown to a date, a countdown, a stopwatch.
constexpr int kBackgroundPages[] = {11, 18, 19, 20};

bool WriteSyncGroup() { return WriteSyncOptions(ProgramSyncOptions()); }

}  // namespace

void InstallOptionPages() {
    MainDialogHooks hooks = DialogHooks();
    hooks.pageProcs[kGeneralPage] = GeneralPageDlgProc;
    hooks.pageProcs[kIniPage] = IniPageDlgProc;
    hooks.pageProcs[kTaskbarPage] = TaskbarPageDlgProc;
    for (int index : kBackgroundPages) hooks.pageProcs[index] = BackgroundPageDlgProc;
    hooks.saveGeneralOptions = SaveGeneralOptions;
    SetDialogHooks(hooks);

    OptionGroupWriters writers;
    writers.sync = WriteSyncGroup;
    writers.news = WriteNewsOptions;
    SetOptionGroupWriters(writers);
}
