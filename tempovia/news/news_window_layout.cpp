#include "tempovia/news/news_window_layout.h"

#include <cwchar>

#include "common/platform/window_place.h"

bool ParseRssWindowRect(const wchar_t* text, RECT* out) {
    if (!text || !out) return false;
    RECT r = {};
    if (!ParseWindowRect(text, r)) return false;
    if (!(r.left + 50 < r.right) || !(r.top + 32 < r.bottom)) return false;
    *out = r;
    return true;
}

std::wstring FormatRssWindowRect(const RECT& rect) {
    wchar_t text[64];
    _snwprintf(text, 64, L"%ld, %ld, %ld, %ld", static_cast<long>(rect.left), static_cast<long>(rect.top),
               static_cast<long>(rect.right), static_cast<long>(rect.bottom));
    text[63] = L'\0';
    return text;
}

RECT DefaultRssWindowRect(const RECT& work) {
    RECT rect;
    rect.right = work.right;
    rect.bottom = work.bottom;
    rect.left = work.right - (work.right - work.left) / 2;
    rect.top = work.bottom - (work.bottom - work.top) / 3;
    return rect;
}

int ClampRssBrowserHeight(int height, int clientHeight, int toolbarHeight) {
    const int most = clientHeight - toolbarHeight - 9;
    if (height > most) height = most;
    if (height < kRssBrowserMinHeight) height = kRssBrowserMinHeight;
    return height;
}

int DraggedRssBrowserHeight(int clientBottom, int dragOffset, int cursorY, int toolbarHeight) {
    int height = clientBottom - dragOffset - cursorY;
    if (height <= 3) height = kRssBrowserMinHeight;
    return ClampRssBrowserHeight(height, clientBottom, toolbarHeight);
}

RssPaneLayout LayoutRssPanes(int clientWidth, int clientHeight, int toolbarHeight, int browserHeight) {
    RssPaneLayout layout;
    layout.browserHeight = ClampRssBrowserHeight(browserHeight, clientHeight, toolbarHeight);
    const int browserTop = clientHeight - layout.browserHeight;
    const int treeBottom = browserTop - kRssSplitterBand;
    layout.toolbar = RECT{0, 0, clientWidth, toolbarHeight};
    layout.tree = RECT{0, toolbarHeight, clientWidth, treeBottom < toolbarHeight ? toolbarHeight : treeBottom};
    layout.splitter = RECT{0, treeBottom, clientWidth, browserTop};
    layout.browser = RECT{0, browserTop, clientWidth, clientHeight};
    return layout;
}

std::wstring RssNodeText(const std::wstring& title) {
    std::wstring text = title.substr(0, kRssNodeTextMax);
    for (wchar_t& c : text)
        if (c == L'\t' || c == L'\r' || c == L'\n') c = L' ';
    return text;
}
