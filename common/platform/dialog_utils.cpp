#include "common/platform/dialog_utils.h"

#include <algorithm>

void SetComboDropHeight(HWND combo, int n) {
    if (n <= 0 || !combo) return;
    RECT r;
    if (!GetWindowRect(combo, &r)) return;
    LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    LRESULT itemHeight = SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0);
    if (count < 0) count = 0;
    if (itemHeight < 0) itemHeight = 0;
    int height = (r.bottom - r.top) + static_cast<int>(std::min<LRESULT>(count, n) * itemHeight) + 2;
    SetWindowPos(combo, nullptr, 0, 0, r.right - r.left, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int ShowMessageById(HWND owner, HINSTANCE module, UINT textId, UINT captionId) {
    WCHAR text[129] = {};
    WCHAR caption[33] = {};
    if (LoadStringW(module, textId, text, 129) <= 0) text[0] = L'\0';
    if (LoadStringW(module, captionId, caption, 33) <= 0) caption[0] = L'\0';
    return MessageBoxW(owner, text, caption, MB_OK);
}

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
