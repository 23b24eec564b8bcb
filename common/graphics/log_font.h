// Font descriptions sized in points for the screen: the clock faces and the
// main program's windows build their fonts through this.
#pragma once

#include <windows.h>

// Style bits of MakeLogFont.
inline constexpr int kFontItalic = 1;
inline constexpr int kFontUnderline = 2;
inline constexpr int kFontStrikeOut = 4;

// The LOGFONT charset for an ANSI code page; -1 when the code page has none.
int CharsetForCodePage(UINT codePage);

// Fills font: width and height above 0 are points for the screen (stored
// negated, in logical units), 0 or less are kept as given; the charset follows
// the user's ANSI code page, else the screen font's. The face name is cut to
// 31 characters. False (record cleared) only when there is no screen DC.
bool MakeLogFont(const WCHAR* face, int width, int height, int weight, int style, LOGFONTW* font);
