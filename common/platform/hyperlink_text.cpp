#include "common/platform/hyperlink_text.h"

#include <cwchar>

namespace {

constexpr WCHAR kLinkOpen[] = L"<a href=\"";
constexpr int kLinkOpenLength = 9;
constexpr WCHAR kLinkClose[] = L"</a>";
constexpr int kLinkCloseLength = 4;
constexpr WCHAR kBreak[] = L"<br>";
constexpr int kBreakLength = 4;

// Finds needle in the first length characters of text.
const WCHAR* FindIn(const WCHAR* text, int length, const WCHAR* needle, int needleLength) {
    for (int i = 0; i + needleLength <= length; ++i) {
        if (wcsncmp(text + i, needle, needleLength) == 0) return text + i;
    }
    return nullptr;
}

struct Layout {
    POINT origin;
    HDC dc;
    LinkSegment* segments;
    int max;
    int count = 0;
    int x = 0;
    int y = 0;

    bool Full() const { return count >= max; }

    void Add(const WCHAR* text, int length, const WCHAR* target, SIZE* extent) {
        SIZE size = {0, 0};
        GetTextExtentSafe(text, length, dc, &size);
        LinkSegment& s = segments[count++];
        s.text = text;
        s.length = length;
        s.box = {x, y, x + size.cx, y + size.cy};
        s.target = target;
        x += size.cx;
        *extent = size;
    }

    // One run of text; each "<br>" in it starts a new segment on the next line.
    // A part before a break is kept even when empty, as it holds its line; an
    // empty rest after the last break is not a segment.
    void AddRun(const WCHAR* text, int length, const WCHAR* target) {
        for (bool first = true;; first = false) {
            if (Full()) return;
            const WCHAR* br = FindIn(text, length, kBreak, kBreakLength);
            int part = br ? static_cast<int>(br - text) : length;
            if (!br && part == 0 && !first) return;
            SIZE extent;
            Add(text, part, target, &extent);
            if (!br) return;
            x = origin.x;
            y += extent.cy;
            length -= part + kBreakLength;
            text = br + kBreakLength;
        }
    }
};

}  // namespace

BOOL GetTextExtentSafe(const WCHAR* text, int length, HDC dc, SIZE* size) {
    if (!text || length <= 0 || !*text) {
        BOOL ok = GetTextExtentPoint32W(dc, L" ", 1, size);
        size->cx = 0;
        return ok;
    }
    return GetTextExtentPoint32W(dc, text, length, size);
}

int LayoutLinkText(WCHAR* text, POINT origin, HDC dc, LinkSegment* segments, int max) {
    if (!text || !segments || max <= 0) return 0;
    Layout layout{origin, dc, segments, max};
    layout.x = origin.x;
    layout.y = origin.y;
    WCHAR* p = text;
    while (*p && !layout.Full()) {
        WCHAR* open = wcsstr(p, kLinkOpen);
        if (open != p) {
            WCHAR* end = open ? open : p + wcslen(p);
            layout.AddRun(p, static_cast<int>(end - p), nullptr);
            p = end;
            continue;
        }
        WCHAR* target = p + kLinkOpenLength;
        WCHAR* quote = wcschr(target, L'"');
        if (!quote) break;
        WCHAR* gt = wcschr(quote + 1, L'>');
        if (!gt) break;
        WCHAR* label = gt + 1;
        WCHAR* close = wcsstr(label, kLinkClose);
        if (!close) break;
        *quote = L'\0';
        layout.AddRun(label, static_cast<int>(close - label), target);
        p = close + kLinkCloseLength;
    }
    return layout.count;
}

int HitTestLinkText(HDC dc, HFONT font, POINT origin, WCHAR* text, int x, int y, LinkSegment* segments) {
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    int count = LayoutLinkText(text, origin, dc, segments, kMaxLinkSegments);
    if (old) SelectObject(dc, old);
    int hit = -1;
    for (int i = 0; i < count; ++i) {
        const LinkSegment& s = segments[i];
        if (s.target && x >= s.box.left && x < s.box.right && y >= s.box.top && y < s.box.bottom) hit = i;
    }
    return hit;
}
