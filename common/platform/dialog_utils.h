// Small routines that dialogs of every program share.
#pragma once

#include <windows.h>

// Centres the window on the desktop window's rectangle, size unchanged.
void CenterOnDesktop(HWND window);

// For n above 0, sizes the combo box so that its drop-down list shows up to n
// items: window height + min(item count, n) x item height + 2.
void SetComboDropHeight(HWND combo, int n);

// A message box (MB_OK) with texts from the given module's string table: the
// text up to 128 characters, the caption up to 32. For use where the language
// layer is not there, such as a rejected resource library.
int ShowMessageById(HWND owner, HINSTANCE module, UINT textId, UINT captionId);
