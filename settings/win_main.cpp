#include <windows.h>

#include "settings/startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    return RunSettingsProgram(instance, GetCommandLineW());
}
