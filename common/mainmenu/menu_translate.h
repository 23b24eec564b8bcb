// Menu texts from the language files: a translator gives each command's text
// under its id, and each submenu's under a key made from its English text.
#pragma once

#include <windows.h>

#include <cstddef>

class LanguageStrings;

// Keeps ASCII letters, digits, "-", "." and "_", turns blanks into "_" and
// drops every other character, in place ("Time Zone..." -> "Time_Zone...").
void MakeIniKeyName(wchar_t* text, std::size_t size);

// Replaces the text of each item of the menu (submenus recursively) by the
// section's value in the language file, else in the English language file;
// items without a value keep their text. True when any item changed.
bool TranslateMenu(const LanguageStrings& language, HMENU menu, const wchar_t* section);
