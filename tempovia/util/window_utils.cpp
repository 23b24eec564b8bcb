#include "tempovia/util/window_utils.h"

bool IsDialogWindow(HWND window) {
    WCHAR name[16];
    if (!window || GetClassNameW(window, name, 16) == 0) return false;
    return lstrcmpW(name, L"#32770") == 0;
}

BOOL CALLBACK CloseThreadDialogsProc(HWND window, LPARAM) {
    if (IsDialogWindow(window)) DestroyWindow(window);
    return TRUE;
}
