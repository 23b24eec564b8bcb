#include "tempovia/tray/settings_launch.h"

#include <windows.h>

#include <cwchar>
#include <string>

#include "common/settings/ini_paths.h"
#include "common/platform/system_seam.h"

namespace {

constexpr size_t kParameterChars = 64;

bool Start(const wchar_t* parameters) {
    const std::wstring folder = SettingsFolder();
    const std::wstring program = folder + L"settings.exe";
    // The started program is not known by id until it runs; without this
    // right its dialog, or the running instance it hands over to, may open
    // behind the window the user chose the command in.
    AllowSetForegroundWindow(ASFW_ANY);
    HINSTANCE result = System().ShellExecuteOpen(nullptr, L"Open", program.c_str(),
                                                 parameters && *parameters ? parameters : nullptr, folder.c_str(),
                                                 SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace

bool LaunchSettings(const wchar_t* format, int first, int second) {
    wchar_t parameters[kParameterChars] = {};
    if (format && *format) std::swprintf(parameters, kParameterChars, format, first, second);
    return Start(parameters);
}

bool LaunchSettingsNew(int kind) {
    const wchar_t* parameters = kind < 0 ? L" /new_timer" : kind > 0 ? L" /new_stopwatch" : L" /new";
    return Start(parameters);
}
