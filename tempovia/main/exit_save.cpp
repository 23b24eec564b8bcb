#include "tempovia/main/exit_save.h"

#include <memory>
#include <string>

#include "common/settings/ini_divert.h"
#include "common/settings/ini_paths.h"
#include "common/settings/localisation.h"
#include "common/settings/named_mutex.h"
#include "tempovia/main/app_state.h"
#include "resources/resource_ids.h"

namespace {

// Every save of the end runs on the GUI thread inside this hold; one nested
// in a failed hold fails at once.
std::unique_ptr<IniFileLock> g_exitHold;
std::unique_ptr<IniWriteDiversion> g_keptAside;

std::wstring KeptAtExitPath() { return SettingsFolder() + kKeptAtExitFile; }

void SayNotSaved(HWND owner, DWORD failure, bool closedByPerson) {
    const DWORD seconds = failure == WAIT_TIMEOUT ? kIniLockWaitMs / 1000 : failure;
    const std::wstring text = FillTextValue(Language().LoadUiString(IDS_EXIT_NOT_SAVED), std::to_wstring(seconds).c_str());
    if (closedByPerson) {
        const std::wstring caption = Language().LoadUiString(IDS_ERROR_CAPTION);
        MessageBoxW(owner, text.c_str(), caption.c_str(), MB_ICONERROR | MB_SETFOREGROUND);
    } else {
        OutputDebugStringW((L"Tempovia: " + text + L"\n").c_str());
    }
}

}  // namespace

bool ExitAskedByAnotherStart() {
    return g_app.exitEvent && WaitForSingleObject(g_app.exitEvent, 0) == WAIT_OBJECT_0;
}

void HoldSettingsForExit(HWND owner, bool closedByPerson) {
    if (g_exitHold) return;
    g_exitHold = std::make_unique<IniFileLock>();
    if (g_exitHold->held()) return;
    // Kept for the next start rather than lost: the running timers and the
    // desktop clocks' places.
    g_keptAside = std::make_unique<IniWriteDiversion>(UserIniPath(), KeptAtExitPath());
    SayNotSaved(owner, g_exitHold->failure(), closedByPerson);
}

void SaveStateKeptAtExit() {
    if (!ApplyKeptIniWrites(KeptAtExitPath().c_str(), UserIniPath().c_str()))
        OutputDebugStringW(L"Tempovia: the state kept aside at the last exit could not all be saved; it stays kept.\n");
}

void EndExitHold() {
    g_keptAside.reset();
    g_exitHold.reset();
}
