// The general page: the user interface language, start with Windows and
// city photos.
#pragma once

#include <windows.h>

#include <string>

INT_PTR CALLBACK GeneralPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// Item data of a language code: first letter in the low, second in the high
// 16 bits; and back.
LPARAM LanguageItemData(const wchar_t* code);
std::wstring LanguageCodeOfItemData(LPARAM data);
// A language name as the list shows it: cut before its first "(", without
// the blanks in front of it.
std::wstring ShortLanguageName(const wchar_t* name);
