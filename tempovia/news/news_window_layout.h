// Placement arithmetic of the news window: the stored rectangle, the default
// corner of the work area, the splitter band and the tree's node texts.
#pragma once

#include <windows.h>

#include <string>

inline constexpr int kRssBrowserDefaultHeight = 120;
inline constexpr int kRssSplitterBand = 5;
inline constexpr int kRssBrowserMinHeight = 4;
inline constexpr size_t kRssNodeTextMax = 511;

// Reads "left, top, right, bottom" as stored under rss_wnd_pos; false when
// the four numbers do not parse or the rectangle is too small to use
// (not more than 50 wide or 32 high).
bool ParseRssWindowRect(const wchar_t* text, RECT* out);
std::wstring FormatRssWindowRect(const RECT& rect);

// The lower right of the work area: half its width, a third of its height.
RECT DefaultRssWindowRect(const RECT& work);

// Keeps the browser pane between 4 pixels and the room below the toolbar
// less 9 pixels.
int ClampRssBrowserHeight(int height, int clientHeight, int toolbarHeight);

// The browser height while the splitter is dragged to cursor y.
int DraggedRssBrowserHeight(int clientBottom, int dragOffset, int cursorY, int toolbarHeight);

struct RssPaneLayout {
    RECT toolbar;
    RECT tree;
    RECT splitter;
    RECT browser;
    int browserHeight;
};
RssPaneLayout LayoutRssPanes(int clientWidth, int clientHeight, int toolbarHeight, int browserHeight);

// A title as one tree line: TAB, CR and LF become blanks, at most 511 characters.
std::wstring RssNodeText(const std::wstring& title);
