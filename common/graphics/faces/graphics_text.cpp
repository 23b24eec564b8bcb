// Text output of the drawing context: plain GDI or themed, with a shadow,
// on one line or several, and the alpha repair after GDI text.
#include <cwchar>

#include "common/graphics/bitmap.h"
#include "common/graphics/faces/graphics.h"
#include "common/time/theme_library.h"

namespace {

constexpr int kThemeTextPart = 1;
constexpr int kThemeTextState = 1;

int TextLength(const wchar_t* text, int count) {
    if (!text) return 0;
    if (count > 0) return count;
    size_t n = wcslen(text);
    return n > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(n);
}

bool CanTheme(HTHEME theme) {
    const ThemeLibrary& lib = Themes();
    return theme && lib.GetThemeTextExtent && lib.DrawThemeText;
}

// The size of the text itself, without any shadow.
SIZE PlainExtent(HDC dc, HTHEME theme, const wchar_t* text, int length) {
    SIZE size{0, 0};
    if (!dc || length <= 0) return size;
    if (CanTheme(theme)) {
        RECT box{0, 0, 0, 0};
        if (SUCCEEDED(Themes().GetThemeTextExtent(theme, dc, kThemeTextPart, kThemeTextState, text, length, DT_NOCLIP,
                                                  nullptr, &box))) {
            size.cx = box.right - box.left;
            size.cy = box.bottom - box.top;
        }
    } else if (!GetTextExtentPoint32W(dc, text, length, &size)) {
        size = SIZE{0, 0};
    }
    return size;
}

// Keeps a DC's background mode for a scope.
class ScopedBkMode {
public:
    ScopedBkMode(HDC dc, int mode) : dc_(dc), previous_(SetBkMode(dc, mode)) {}
    ~ScopedBkMode() {
        if (previous_) SetBkMode(dc_, previous_);
    }
    ScopedBkMode(const ScopedBkMode&) = delete;
    ScopedBkMode& operator=(const ScopedBkMode&) = delete;

private:
    HDC dc_;
    int previous_;
};

}  // namespace

SIZE CGraphics::GetTextExtent(HTHEME theme, const wchar_t* text, int count) const {
    int length = TextLength(text, count);
    SIZE size = PlainExtent(dc_, theme, text, length);
    if (dc_ && length > 0 && shadowOffset_ != 0) {
        int offset = shadowOffset_ < 0 ? -shadowOffset_ : shadowOffset_;
        size.cx += offset;
        size.cy += offset;
    }
    return size;
}

SIZE CGraphics::MeasureText(const wchar_t* text, int count) { return GetTextExtent(theme_, text, count); }

void CGraphics::DrawText(int x, int y, const wchar_t* text, int count) { TextOutShadow(theme_, x, y, text, count); }

void CGraphics::TextOut(HTHEME theme, int x, int y, const wchar_t* text, int count, COLORREF colour) {
    int length = TextLength(text, count);
    if (!dc_ || length <= 0) return;
    SIZE extent = PlainExtent(dc_, theme, text, length);
    if (CanTheme(theme)) {
        RECT box{x, y, x + extent.cx, y + extent.cy};
        Themes().DrawThemeText(theme, dc_, kThemeTextPart, kThemeTextState, text, length, DT_SINGLELINE | DT_NOCLIP,
                               0, &box);
    } else {
        COLORREF previous = ::SetTextColor(dc_, ResolveColour(colour == kColourNotSet ? GetSysColor(COLOR_BTNTEXT)
                                                                                     : colour));
        ::TextOutW(dc_, x, y, text, length);
        if (previous != CLR_INVALID) ::SetTextColor(dc_, previous);
    }
    // GDI text clears the alpha byte of what it touches; a surface that is
    // shown with per-pixel alpha would get holes where the letters are.
    if (targetBitmap_ && targetBitmap_->IsValid() && targetBitmap_->Dc() == dc_) {
        targetBitmap_->FillAlpha(x, targetBitmap_->Height() - y - extent.cy, extent.cx, extent.cy, 255);
    }
}

void CGraphics::TextOutShadow(HTHEME theme, int x, int y, const wchar_t* text, int count) {
    if (!dc_) return;
    ScopedBkMode mode(dc_, opaqueText_ && !theme ? OPAQUE : TRANSPARENT);
    if (shadowOffset_ != 0 && shadowColour_ != kColourNotSet) {
        TextOut(theme, x + shadowOffset_, y + shadowOffset_, text, count, shadowColour_);
        SetBkMode(dc_, TRANSPARENT);
    }
    TextOut(theme, x, y, text, count, textColour_);
}

SIZE CGraphics::MeasureMultiline(const wchar_t* text, int count) {
    SIZE total{0, 0};
    int length = TextLength(text, count);
    if (length <= 0) return total;
    int blankHeight = -1;
    int lines = 0;
    int start = 0;
    while (start <= length) {
        int end = start;
        while (end < length && text[end] != L'\n') ++end;
        int lineLength = end - start;
        if (lineLength > 0 && text[start + lineLength - 1] == L'\r') --lineLength;
        int height = 0;
        if (lineLength > 0) {
            SIZE line = MeasureText(text + start, lineLength);
            if (line.cx > total.cx) total.cx = line.cx;
            height = line.cy;
        } else {
            if (blankHeight < 0) blankHeight = MeasureText(L" ", 1).cy;
            height = blankHeight;
        }
        total.cy += height + (lines > 0 ? 1 : 0);
        ++lines;
        if (end >= length) break;
        start = end + 1;
    }
    return total;
}

void CGraphics::DrawMultiline(int x, int y, int flags, const wchar_t* text, int count) {
    int length = TextLength(text, count);
    if (length <= 0) return;
    int blankHeight = -1;
    int start = 0;
    while (start <= length) {
        int end = start;
        while (end < length && text[end] != L'\n') ++end;
        int lineLength = end - start;
        if (lineLength > 0 && text[start + lineLength - 1] == L'\r') --lineLength;
        if (lineLength > 0) {
            SIZE line = MeasureText(text + start, lineLength);
            int left = x;
            if (flags == 1) left = x - line.cx / 2;
            else if (flags == 2) left = x - line.cx;
            DrawText(left, y, text + start, lineLength);
            y += line.cy + 1;
        } else {
            if (blankHeight < 0) blankHeight = MeasureText(L" ", 1).cy;
            y += blankHeight + 1;
        }
        if (end >= length) break;
        start = end + 1;
    }
}
