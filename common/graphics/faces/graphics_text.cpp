// Text output of the drawing context: plain GDI or themed, with a shadow,
// on one line or several, and the alpha repair after GDI text.
#include <cstdint>
#include <cwchar>
#include <vector>

#include "common/graphics/bitmap.h"
#include "common/graphics/dib_header.h"
#include "common/graphics/faces/graphics.h"
#include "common/graphics/gdi_handles.h"
#include "common/platform/theme_library.h"

namespace {

constexpr int kThemeTextPart = 1;
constexpr int kThemeTextState = 1;

int TextLength(const wchar_t* text, int count) {
    if (!text) return 0;
    if (count > 0) return count;
    size_t n = wcslen(text);
    return n > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(n);
}

// Hands each line of the text (split at line feeds, a carriage return before
// one dropped) with its size to each; an empty line is as high as " ".
template <class Each>
void ForEachLine(CGraphics& graphics, const wchar_t* text, int length, Each each) {
    if (length <= 0) return;
    int blankHeight = -1;
    int start = 0;
    for (;;) {
        int end = start;
        while (end < length && text[end] != L'\n') ++end;
        int lineLength = end - start;
        if (lineLength > 0 && text[start + lineLength - 1] == L'\r') --lineLength;
        SIZE size{0, 0};
        if (lineLength > 0) {
            size = graphics.MeasureText(text + start, lineLength);
        } else {
            if (blankHeight < 0) blankHeight = graphics.MeasureText(L" ", 1).cy;
            size.cy = blankHeight;
        }
        each(text + start, lineLength, size);
        if (end >= length) return;
        start = end + 1;
    }
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

// Draws the text at (x, y): themed into its extent, else with GDI in colour.
void DrawGlyphs(HDC dc, HTHEME theme, int x, int y, const wchar_t* text, int length, SIZE extent, COLORREF colour) {
    if (CanTheme(theme)) {
        RECT box{x, y, x + extent.cx, y + extent.cy};
        Themes().DrawThemeText(theme, dc, kThemeTextPart, kThemeTextState, text, length, DT_SINGLELINE | DT_NOCLIP, 0,
                               &box);
        return;
    }
    COLORREF previous = ::SetTextColor(dc, colour);
    ::TextOutW(dc, x, y, text, length);
    if (previous != CLR_INVALID) ::SetTextColor(dc, previous);
}

// Which pixels of the text's extent its glyphs cover (row-major from the
// top): the text is drawn again with the font of `dc` on a black and on a
// white ground, and a pixel that either ground shows changed is ink. Empty
// when no scratch surface can be made.
std::vector<bool> GlyphInk(HDC dc, HTHEME theme, const wchar_t* text, int length, SIZE extent, COLORREF colour) {
    std::vector<bool> ink;
    gdi::MemoryDc scratch;
    if (!scratch || extent.cx <= 0 || extent.cy <= 0) return ink;
    BITMAPINFO info = MakeRgb32Info(extent.cx, -extent.cy);
    void* bits = nullptr;
    gdi::Object<HBITMAP> surface(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!surface || !bits) return ink;
    gdi::ScopedSelect selectSurface(scratch.get(), surface.get());
    gdi::ScopedSelect selectFont(scratch.get(), GetCurrentObject(dc, OBJ_FONT));
    SetBkMode(scratch.get(), TRANSPARENT);
    const size_t count = static_cast<size_t>(extent.cx) * static_cast<size_t>(extent.cy);
    auto* pixels = static_cast<uint32_t*>(bits);
    ink.assign(count, false);
    for (uint32_t ground : {0x00000000u, 0x00FFFFFFu}) {
        for (size_t i = 0; i < count; ++i) pixels[i] = ground;
        DrawGlyphs(scratch.get(), theme, 0, 0, text, length, extent, colour);
        GdiFlush();
        for (size_t i = 0; i < count; ++i) {
            if ((pixels[i] & 0x00FFFFFFu) != ground) ink[i] = true;
        }
    }
    return ink;
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
    const COLORREF ink = ResolveColour(colour == kColourNotSet ? GetSysColor(COLOR_BTNTEXT) : colour);
    DrawGlyphs(dc_, theme, x, y, text, length, extent, ink);
    if (targetBitmap_ && targetBitmap_->IsValid() && targetBitmap_->Dc() == dc_) {
        RepairTextAlpha(theme, x, y, text, length, extent, ink);
    }
}

// GDI text clears the alpha byte of what it touches; a surface that is shown
// with per-pixel alpha would get holes where the letters are. Only the
// letters become opaque: the rest of a transparent face stays see-through.
void CGraphics::RepairTextAlpha(HTHEME theme, int x, int y, const wchar_t* text, int length, SIZE extent,
                                COLORREF colour) {
    CBitmap& target = *targetBitmap_;
    const int bottomRow = target.Height() - y - extent.cy;
    if (!CanTheme(theme) && GetBkMode(dc_) == OPAQUE) {
        target.FillAlpha(x, bottomRow, extent.cx, extent.cy, 255);  // the box itself is painted
        return;
    }
    const std::vector<bool> ink = GlyphInk(dc_, theme, text, length, extent, colour);
    if (ink.empty() || target.BitCount() != 32 || !target.Bits()) {
        target.FillAlpha(x, bottomRow, extent.cx, extent.cy, 255);
        return;
    }
    GdiFlush();
    auto* base = static_cast<uint8_t*>(target.Bits());
    for (int row = 0; row < extent.cy; ++row) {
        const int memoryRow = target.Height() - 1 - (y + row);
        if (memoryRow < 0 || memoryRow >= target.Height()) continue;
        for (int col = 0; col < extent.cx; ++col) {
            const int px = x + col;
            if (px < 0 || px >= target.Width() || !ink[static_cast<size_t>(row) * extent.cx + col]) continue;
            base[(static_cast<size_t>(memoryRow) * target.Width() + px) * 4 + 3] = 255;
        }
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
    int lines = 0;
    ForEachLine(*this, text, TextLength(text, count), [&](const wchar_t*, int, SIZE line) {
        if (line.cx > total.cx) total.cx = line.cx;
        total.cy += line.cy + (lines > 0 ? 1 : 0);
        ++lines;
    });
    return total;
}

void CGraphics::DrawMultiline(int x, int y, int flags, const wchar_t* text, int count) {
    ForEachLine(*this, text, TextLength(text, count), [&](const wchar_t* line, int length, SIZE size) {
        if (length > 0) {
            int left = x;
            if (flags == 1) left = x - size.cx / 2;
            else if (flags == 2) left = x - size.cx;
            DrawText(left, y, line, length);
        }
        y += size.cy + 1;
    });
}
