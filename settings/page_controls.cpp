#include "settings/page_controls.h"

#include <vector>

std::wstring ControlText(HWND page, int id, int maxChars) {
    HWND control = GetDlgItem(page, id);
    if (!control || maxChars <= 0) return std::wstring();
    std::vector<wchar_t> buffer(static_cast<size_t>(maxChars) + 1, L'\0');
    const int n = GetWindowTextW(control, buffer.data(), maxChars + 1);
    return std::wstring(buffer.data(), n > 0 ? static_cast<size_t>(n) : 0);
}

void SetControlText(HWND page, int id, const wchar_t* text) { SetDlgItemTextW(page, id, text ? text : L""); }

bool IsChecked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }

void SetChecked(HWND page, int id, bool on) { CheckDlgButton(page, id, on ? BST_CHECKED : BST_UNCHECKED); }

void EnableControl(HWND page, int id, bool on) {
    if (HWND control = GetDlgItem(page, id)) EnableWindow(control, on ? TRUE : FALSE);
}

bool IsControlEnabled(HWND page, int id) {
    HWND control = GetDlgItem(page, id);
    return control && IsWindowEnabled(control);
}
