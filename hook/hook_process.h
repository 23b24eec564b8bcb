// State of one process's copy of hook.dll (not shared): the INI paths that
// InstallHook works out and the taskbar clock's copy of the general settings.
#pragma once

#include <windows.h>

#include "common/records/global_settings.h"

struct HookProcessState {
    HINSTANCE module;  // this process's hook.dll
    wchar_t defaultIni[MAX_PATH];
    wchar_t userIni[MAX_PATH];
    // The general settings block as the taskbar clock last received it.
    GlobalSettings settingsCopy;
    // Visual styles exist (Windows 5.1 or later).
    bool themes;
};

extern HookProcessState g_hookProcess;
