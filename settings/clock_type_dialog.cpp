#include <windows.h>

#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/settings/resource_module.h"
#include "settings/main_dialog.h"

namespace {

constexpr wchar_t kClockTypeSection[] = L"DLG_ClockType";

void CentreOverOwner(HWND dialog) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    RECT area = {};
    RECT own = {};
    if (!owner || !GetWindowRect(owner, &area)) GetWindowRect(GetDesktopWindow(), &area);
    GetWindowRect(dialog, &own);
    const int w = own.right - own.left;
    const int h = own.bottom - own.top;
    SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - w) / 2,
                 area.top + (area.bottom - area.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CheckedType(HWND dialog) {
    if (IsDlgButtonChecked(dialog, IDC_TYPE_CLOCK) == BST_CHECKED) return 1;
    if (IsDlgButtonChecked(dialog, IDC_TYPE_COUNTDOWN) == BST_CHECKED) return 2;
    if (IsDlgButtonChecked(dialog, IDC_TYPE_STOPWATCH) == BST_CHECKED) return 3;
    return 0;
}

}  // namespace

INT_PTR CALLBACK ClockTypeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            CentreOverOwner(dialog);
            CheckRadioButton(dialog, IDC_TYPE_CLOCK, IDC_TYPE_STOPWATCH, IDC_TYPE_CLOCK);
            Language().TranslateDialog(dialog, kClockTypeSection);
            return TRUE;
        case MSG_LANGUAGE_CHANGED:
            Language().TranslateDialog(dialog, kClockTypeSection);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                EndDialog(dialog, CheckedType(dialog));
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, 0);
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            EndDialog(dialog, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR RunClockTypeDialog(HWND owner, HMODULE resources) {
    if (!resources) resources = ResourceModule();
    if (!resources) return 0;
    const INT_PTR result =
        DialogBoxParamW(resources, MAKEINTRESOURCEW(IDD_CLOCK_TYPE), owner, ClockTypeDialogProc, 0);
    return result < 0 ? 0 : result;
}
