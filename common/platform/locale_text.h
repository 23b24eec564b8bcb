// Locale texts (day and month names, language abbreviations) by language id.
#pragma once

#include <windows.h>

// Empties buffer, then reads the locale item for the language id; returns
// GetLocaleInfoW's result (characters written with the terminator, 0 on failure).
int GetLocaleText(LANGID language, LCTYPE type, WCHAR* buffer, int size);
