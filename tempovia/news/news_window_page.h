// The pages the news window shows in its browser pane: an item's text with a
// link to the full story, and a centred message when there is nothing to read.
#pragma once

#include <windows.h>

#include <string>

// Face and size of the pane's text, taken from the dialog font so that the
// page matches the tree beside it.
struct NewsPageFont {
    std::wstring face = L"Arial";
    int points = 8;
};

NewsPageFont DefaultNewsPageFont();

// The item page. `link` may be NULL or empty (no anchor); `linkTitle` is the
// anchor's tooltip, left out when NULL or empty.
std::wstring BuildItemHtml(const wchar_t* text, const wchar_t* link, const NewsPageFont& font,
                           const wchar_t* linkTitle);

// The centred one-line page shown with no channel in the tree.
std::wstring BuildNewsMessageHtml(const wchar_t* message);

// Writes `html` into the browser window's current document and closes it.
// False when the browser has no HTML document to write into.
bool WriteNewsPage(HWND browser, const std::wstring& html);
