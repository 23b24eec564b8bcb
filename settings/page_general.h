// The general page: the user interface language, start with Windows and
// city photos.
#pragma once

#include <windows.h>

#include <string>

INT_PTR CALLBACK GeneralPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// What runs before the page reloads the settings at its creation (the news
// page installs its channel consumers there).
using BeforeGeneralReload = void (*)();
BeforeGeneralReload SetBeforeGeneralReload(BeforeGeneralReload hook);

// Item data of a language code: first letter in the low, second in the high
// 16 bits; and back.
LPARAM LanguageItemData(const wchar_t* code);
std::wstring LanguageCodeOfItemData(LPARAM data);
// A language name as the list shows it: cut before its first "(", without
// the blanks in front of it.
std::wstring ShortLanguageName(const wchar_t* name);
