#include "common/graphics/faces/graphics.h"

#include <cwchar>

#include "common/graphics/gdi_handles.h"
#include "common/graphics/log_font.h"
#include "common/platform/text_bounds.h"
#include "common/platform/theme_library.h"

namespace {

bool g_themesAvailable = false;

// Characters of a style name that are kept.
constexpr size_t kNameKept = 258;

// The status-bar font of the system, through the pre-Vista structure size
// (500 bytes) that every version accepts.
bool StatusBarFont(LOGFONTW& font) {
    NONCLIENTMETRICSW metrics;
    ZeroMemory(&metrics, sizeof metrics);
    metrics.cbSize = 500;
    static_assert(sizeof(NONCLIENTMETRICSW) >= 500);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 500, &metrics, 0)) return false;
    font = metrics.lfStatusFont;
    return true;
}

}  // namespace

void SetThemesAvailable(bool available) { g_themesAvailable = available; }
bool ThemesAvailable() { return g_themesAvailable; }

COLORREF ResolveColour(COLORREF colour) {
    if ((colour & 0x80000000u) && colour != kColourNotSet && colour != kColourNone) {
        return GetSysColor(static_cast<int>(colour & 0x00FFFFFFu));
    }
    return colour;
}

CGraphics::CGraphics() : centreText_(g_themesAvailable) {}

CGraphics::~CGraphics() {
    if (owner_) owner_->OnGraphicsDestroyed(this);
    DeselectFont();
    DeleteFont();
}

void CGraphics::SelectFont() {
    if (!dc_ || !fontHandle_ || previousFont_) return;
    HGDIOBJ previous = SelectObject(dc_, fontHandle_);
    previousFont_ = (previous == HGDI_ERROR) ? nullptr : previous;
}

void CGraphics::DeselectFont() {
    if (dc_ && previousFont_) SelectObject(dc_, previousFont_);
    previousFont_ = nullptr;
}

void CGraphics::DeleteFont() {
    if (fontHandle_) DeleteObject(fontHandle_);
    fontHandle_ = nullptr;
}

void CGraphics::SetDC(HDC dc, HTHEME theme) {
    DeselectFont();
    dc_ = dc;
    theme_ = theme;
    SelectFont();
}

bool CGraphics::Release() {
    if (refCount_ > 0) --refCount_;
    if (refCount_ != 0) return false;
    return !owner_ || owner_->MayDeleteGraphics(this);
}

bool CGraphics::Load(const wchar_t* name, int width, int size, int weight, int style) {
    if (!name) name = L"";
    fontSource_ = kFontSourceFace;
    if (_wcsicmp(name, kClassicStyleName) == 0) {
        fontSource_ = kFontSourceClassic;
    } else if (_wcsicmp(name, kSystemClockStyleName) == 0) {
        fontSource_ = kFontSourceSystemClock;
    }
    if (size == 0) size = 8;

    wchar_t face[LF_FACESIZE] = {};
    if (fontSource_ == kFontSourceFace) {
        CopyBounded(face, name);
    } else {
        LOGFONTW status;
        if (StatusBarFont(status)) {
            CopyBounded(face, LF_FACESIZE, status.lfFaceName);
            if (size == 8) size = status.lfHeight;
        } else {
            CopyBounded(face, L"MS Sans Serif");
        }
        if (fontSource_ == kFontSourceClassic) {
            styleKind_ = Themes().themesActive ? kStyleThemedFrame : kStyleClassicFrame;
        }
        centreText_ = styleKind_ != kStylePlain;
    }

    textColour_ = GetSysColor(COLOR_BTNTEXT);
    DeselectFont();
    DeleteFont();
    CopyBounded(name_, kNameKept + 1, name);
    baseFontHeight_ = size;
    baseFontWidth_ = width;

    LOGFONTW font;
    if (MakeLogFont(face, width, size, weight, style, &font)) {
        font_ = font;
        fontHandle_ = CreateFontIndirectW(&font_);
    }
    loadedFontHeight_ = font_.lfHeight;
    SelectFont();
    return fontHandle_ != nullptr;
}

bool CGraphics::SetFontHeight(int height) {
    int old = font_.lfHeight;
    font_.lfHeight = height;
    if (baseFontWidth_ != 0 && baseFontHeight_ != 0) {
        font_.lfWidth = static_cast<LONG>(static_cast<long long>(height) * baseFontWidth_ / baseFontHeight_);
    }
    if (height != old) {
        DeselectFont();
        DeleteFont();
        fontHandle_ = CreateFontIndirectW(&font_);
        SelectFont();
    }
    return true;
}

void CGraphics::SetFontQuality(BYTE quality) {
    if (font_.lfQuality == quality) return;
    font_.lfQuality = quality;
    if (!fontHandle_) return;
    DeselectFont();
    DeleteFont();
    fontHandle_ = CreateFontIndirectW(&font_);
    SelectFont();
}

void CGraphics::DrawFrame(const RECT& rect, bool rounded, COLORREF pen, COLORREF brush) {
    if (!dc_) return;
    // Unset or missing colours leave the frame hollow or without an outline:
    // GDI has no meaning for them and would draw them in some stray colour.
    bool noBrush = brush == kColourNone || brush == kColourNotSet;
    gdi::Object<HBRUSH> solid(noBrush ? nullptr : CreateSolidBrush(ResolveColour(brush)));
    HGDIOBJ brushObject = solid ? static_cast<HGDIOBJ>(solid.get()) : GetStockObject(NULL_BRUSH);
    bool noPen = pen == kColourNone || pen == kColourNotSet;
    gdi::Object<HPEN> line(noPen ? nullptr : CreatePen(PS_SOLID, 0, ResolveColour(pen)));
    HGDIOBJ penObject = line ? static_cast<HGDIOBJ>(line.get()) : GetStockObject(NULL_PEN);
    gdi::ScopedSelect useBrush(dc_, brushObject);
    gdi::ScopedSelect usePen(dc_, penObject);
    if (rounded) {
        // The zoom against the font as loaded, in the same units: a size in
        // points is a negative height once loaded.
        int s = loadedFontHeight_ != 0 ? font_.lfHeight / loadedFontHeight_ : 1;
        if (s < 1) s = 1;
        RoundRect(dc_, rect.left, rect.top, rect.right, rect.bottom, 10 * s, 5 * s);
    } else {
        Rectangle(dc_, rect.left, rect.top, rect.right, rect.bottom);
    }
}

void CGraphics::FillBackground(const RECT& rect, COLORREF colour) {
    if (!dc_) return;
    if (colour == kColourNone) {
        if (fontSource_ == kFontSourceFace) return;
        colour = kColourNotSet;
    }
    if (colour == kColourNotSet && styleKind_ == kStylePlain) {
        if (backColour_ == kColourNotSet || backColour_ == kColourNone) return;
        colour = backColour_;
    }
    if (colour != kColourNotSet) {
        gdi::Object<HBRUSH> brush(CreateSolidBrush(ResolveColour(colour)));
        if (brush) FillRect(dc_, &rect, brush.get());
        return;
    }
    DrawFrame(rect, styleKind_ == kStyleThemedFrame, backColour_, backColour_);
}

void CGraphics::ApplyLightmap(PixelBuffer&, int, int) {}
