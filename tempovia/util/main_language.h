// The main program's entry points into its localisation object and its
// resource library.
#pragma once

#include <windows.h>

// The language in force by its code (nullptr or "" for the system's).
void SetLanguage(const wchar_t* code);
// The main program's own resource module and the string ids of the five unit
// names (seconds .. weeks); null ids clear them.
void SetPluralInfo(HMODULE module, const int* unitIds);
// Plural forms of a unit from their text form "default;ranges text;...".
void SetPluralTable(int unit, const wchar_t* text);

// LOCALE_SABBREVLANGNAME of a language id (at most 16 characters); returns
// the length, 0 (buffer emptied) when the locale gives none.
int GetLanguageAbbrev(LANGID language, wchar_t* buffer, int size);

// Texts 140 and 141 of a resource library that was refused, no owner.
void ShowResourceErrorBox(HMODULE module);
// True when the library's string 139 reads "5.0".
bool IsResourceModuleValid(HMODULE module);

// A message box (MB_OK) whose text (up to 128 characters) and caption (up to 32)
// come from the language file's given section first (when section is not
// empty), then from module's string table.
int ShowMessageById(HWND owner, HMODULE module, UINT textId, UINT captionId, const wchar_t* section);
