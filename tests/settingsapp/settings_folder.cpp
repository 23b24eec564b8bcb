#include "tests/settingsapp/settings_folder.h"

#include "common/records/protocol.h"

namespace settingsapp_test {

namespace {

struct OwnedDialog {
    HWND owner;
    HWND dialog;
};

BOOL CALLBACK FindOwnedDialog(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<OwnedDialog*>(lParam);
    wchar_t cls[16] = {};
    if (GetWindow(window, GW_OWNER) == search->owner && GetClassNameW(window, cls, 16) &&
        lstrcmpW(cls, L"#32770") == 0) {
        search->dialog = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND WaitForMainDialog(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        OwnedDialog search = {FindWindowW(kSettingsWindowClass, nullptr), nullptr};
        if (search.owner) {
            EnumWindows(FindOwnedDialog, reinterpret_cast<LPARAM>(&search));
            if (search.dialog && IsWindowVisible(search.dialog)) return search.dialog;
        }
        Sleep(20);
    } while (GetTickCount() - start < ms);
    return nullptr;
}

}  // namespace settingsapp_test
