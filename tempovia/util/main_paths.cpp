#include "tempovia/util/main_paths.h"

#include "common/settings/ini_paths.h"
#include "common/records/clock_table.h"

void InitFilePaths() {
    g_settings.runFlags = 0;
    g_settings.programFolder[259] = L'\0';
    SetSettingsFolder(g_settings.programFolder);
    SetUserNameOverride(nullptr);
}
