#include "settings/program_links.h"

#include "common/records/protocol.h"

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

struct OwnedSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindVisibleOwned(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<OwnedSearch*>(lParam);
    if (GetWindow(window, GW_OWNER) != search->owner || !IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

// The frame of the running instance is never shown: what the user works in is
// the dialog it owns, or a message box over that dialog.
HWND WindowToBringForward(HWND frame) {
    OwnedSearch search = {frame, nullptr};
    EnumWindows(FindVisibleOwned, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return frame;
    HWND popup = GetLastActivePopup(search.found);
    return popup && IsWindowVisible(popup) ? popup : search.found;
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
    HWND forward = WindowToBringForward(other);
    SetForegroundWindow(forward);
    SetFocus(forward);
    if (command.page != 0) {
        SendBounded(other, SETTINGS_MSG_OPEN_PAGE, command.page, static_cast<LPARAM>(PackPageTarget(command)));
    }
    return true;
}
