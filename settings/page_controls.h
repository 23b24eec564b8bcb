// Reading and setting the texts of page controls with the record's bounds.
#pragma once

#include <windows.h>

#include <string>

// The control's text, at most maxChars characters; empty when it is missing.
std::wstring ControlText(HWND page, int id, int maxChars);
void SetControlText(HWND page, int id, const wchar_t* text);
bool IsChecked(HWND page, int id);
void SetChecked(HWND page, int id, bool on);
// Enables the control when it exists.
void EnableControl(HWND page, int id, bool on);
bool IsControlEnabled(HWND page, int id);
