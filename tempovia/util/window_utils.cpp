#include "tempovia/util/window_utils.h"

void CenterOnDesktop(HWND window) {
    RECT desktop;
    RECT own;
    if (!GetWindowRect(GetDesktopWindow(), &desktop) || !GetWindowRect(window, &own)) return;
    int width = own.right - own.left;
    int height = own.bottom - own.top;
    int x = desktop.left + (desktop.right - desktop.left) / 2 - width / 2;
    int y = desktop.top + (desktop.bottom - desktop.top) / 2 - height / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool IsDialogWindow(HWND window) {
    WCHAR name[16];
    if (!window || GetClassNameW(window, name, 16) == 0) return false;
    return lstrcmpW(name, L"#32770") == 0;
}

BOOL CALLBACK CloseThreadDialogsProc(HWND window, LPARAM) {
    if (IsDialogWindow(window)) DestroyWindow(window);
    return TRUE;
}
