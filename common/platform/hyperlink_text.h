// Static texts with links: "<a href="target">label</a>" and "<br>" inside an
// otherwise plain text, laid out segment by segment so that a control can draw
// the links in their own colour and find the link under the mouse.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

inline constexpr int kMaxLinkSegments = 64;

// One run of text on one line. The text is not terminated: it points into the
// caller's copy of the whole text.
struct LinkSegment {
    const WCHAR* text;
    int length;
    RECT box;             // start point plus the text's extent
    const WCHAR* target;  // null for plain text
};

// Colours of a link control, kept in its GWLP_USERDATA. A control without a
// record whose size and magic match is drawn with the defaults.
struct HyperlinkStyle {
    int32_t size;          // kHyperlinkStyleSize
    uint32_t magic;        // kHyperlinkStyleMagic
    COLORREF textColor;    // CLR_INVALID (-1): COLOR_BTNTEXT
    COLORREF linkColor;    // CLR_INVALID (-1): blue
    uint32_t reserved;
};
inline constexpr int32_t kHyperlinkStyleSize = 20;
inline constexpr uint32_t kHyperlinkStyleMagic = 0xA100FACE;
inline constexpr COLORREF kDefaultLinkColor = 0xFF0000;  // blue as COLORREF
static_assert(sizeof(HyperlinkStyle) == kHyperlinkStyleSize);
static_assert(offsetof(HyperlinkStyle, magic) == 4);
static_assert(offsetof(HyperlinkStyle, textColor) == 8);
static_assert(offsetof(HyperlinkStyle, linkColor) == 12);

// Measures length characters of text in the DC's font. An empty or missing
// text measures " " but reports width 0, so that it still holds a line.
BOOL GetTextExtentSafe(const WCHAR* text, int length, HDC dc, SIZE* size);

// Splits text into at most max segments laid out from origin. Link targets are
// terminated in place (the closing quote is overwritten), so text must be the
// caller's own copy. A link tag without its closing quote, ">" or "</a>" ends
// the layout before that link. Returns the number of segments.
int LayoutLinkText(WCHAR* text, POINT origin, HDC dc, LinkSegment* segments, int max);

// Lays text out (kMaxLinkSegments) with font selected into dc and returns the
// index of the last link segment whose box holds (x, y), or -1. segments must
// hold kMaxLinkSegments entries; text is modified as by LayoutLinkText.
int HitTestLinkText(HDC dc, HFONT font, POINT origin, WCHAR* text, int x, int y, LinkSegment* segments);
