#include "settings/program_links.h"

#include "common/settings/protocol.h"

namespace {

void AllowForeground(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process) AllowSetForegroundWindow(process);
}

LRESULT SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR reply = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG, kCrossProgramTimeoutMs,
                             &reply)) {
        return 0;
    }
    return static_cast<LRESULT>(reply);
}

}  // namespace

LRESULT NotifyMainProgram(UINT message, WPARAM wParam, LPARAM lParam, bool send) {
    HWND main = FindWindowW(kMainWindowClass, nullptr);
    if (!main) return 0;
    AllowForeground(main);
    if (send) return SendBounded(main, message, wParam, lParam);
    return PostMessageW(main, message, wParam, lParam) ? 1 : 0;
}

bool HandOverToRunningInstance(const SettingsCommand& command) {
    HWND other = FindWindowW(kSettingsWindowClass, nullptr);
    if (!other) return false;
    AllowForeground(other);
    SendBounded(other, SETTINGS_MSG_END_MODAL, 0, 0);
    SetForegroundWindow(other);
    SetFocus(other);
    if (command.page != 0) {
        SendBounded(other, SETTINGS_MSG_OPEN_PAGE, command.page, static_cast<LPARAM>(PackPageTarget(command)));
    }
    return true;
}
