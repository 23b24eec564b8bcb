// Texts and toolbar pictures of the news window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

// The language's text for one of the window's string ids; the English text
// when the language resources lack it (the link title has none: no tooltip).
std::wstring RssUiText(UINT id);

// The two 20 x 20 toolbar images (download, settings), masked by 0xC0C0C0.
HIMAGELIST CreateRssToolbarImages();
