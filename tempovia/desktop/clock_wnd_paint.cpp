// Drawing a desktop clock into its surface and onto the screen.
#include <algorithm>
#include <cstdint>

#include "common/graphics/faces/clock_face.h"
#include "common/graphics/gdi_handles.h"
#include "tempovia/desktop/clock_wnd.h"
#include "tempovia/desktop/skin_source.h"

namespace desktop {

void CClockWnd::Paint(HDC dc) {
    if (!face_ || !skin_ || !surface_.IsValid()) return;
    if (digital_) {
        PaintDigital();
    } else {
        PaintAnalogue();
    }
    GdiFlush();
    // The layered window is updated against the screen whatever DC the
    // caller painted with.
    (void)dc;
    gdi::ScreenDc screen;
    UpdateLayered(screen.get());
}

void CClockWnd::PaintDigital() {
    const COLORREF key = colorKey_ != kNoColorKey ? colorKey_ : GetSysColor(COLOR_BTNFACE);
    const int kind = SkinBitmapKind(*skin_);
    if (kind != 0 && kind != 1) {
        // The skin's own background shows the window's key only where the
        // clock is meant to be see-through.
        SetSkinKeyColour(*skin_, record_->transparent ? key : key ^ 1);
    } else if (SkinKeyColour(*skin_) == key) {
        SetSkinKeyColour(*skin_, key ^ 1);
    }
    // A window without a key is filled too: faces whose style has no
    // background of its own would otherwise draw each new text over the last,
    // and on a cleared surface their dark text would stand on black.
    uint32_t* bits = static_cast<uint32_t*>(surface_.Bits());
    const size_t count = static_cast<size_t>(surface_.Width()) * static_cast<size_t>(surface_.Height());
    const uint32_t keyPixel = (static_cast<uint32_t>(GetRValue(key)) << 16) |
                              (static_cast<uint32_t>(GetGValue(key)) << 8) | GetBValue(key);
    const bool keyed = colorKey_ != kNoColorKey;
    std::fill_n(bits, count, keyPixel);
    // Smoothed glyph edges would be blends of ink and key: neither keyed out
    // nor the ink, they ring the text with the key's colour. The skin is
    // shared, so its font gets its quality back after this face.
    const BYTE quality = skin_->GetLogFont().lfQuality;
    if (keyed) skin_->SetFontQuality(NONANTIALIASED_QUALITY);
    face_->Paint(surface_.Dc(), nullptr);
    GdiFlush();
    if (keyed) skin_->SetFontQuality(quality);
    // GDI leaves alpha 0 on all it draws. Systems that judge a layered window
    // by its pixels' alpha even with a colour key would show nothing at all,
    // so every pixel but the key ones is made opaque.
    for (size_t i = 0; i < count; ++i) {
        const uint32_t colour = bits[i] & 0x00FFFFFFu;
        bits[i] = keyed && colour == keyPixel ? colour : colour | 0xFF000000u;
    }
}

void CClockWnd::PaintAnalogue() {
    // GDI leaves alpha 0 behind; the surface starts see-through and the skin
    // paints its background with full alpha into its target bitmap.
    std::fill_n(static_cast<uint32_t*>(surface_.Bits()),
                static_cast<size_t>(surface_.Width()) * static_cast<size_t>(surface_.Height()), 0u);
    CBitmap* previous = skin_->GetTargetBitmap();
    skin_->SetTargetBitmap(&surface_);
    const int transparent = record_->transparent;
    if (!transparent) {
        HDC oldDc = skin_->GetDC();
        HTHEME oldTheme = skin_->GetTheme();
        skin_->SetDC(surface_.Dc(), nullptr);
        skin_->FillBackground(face_->GetRect(), skin_->GetBackColor());
        skin_->SetDC(oldDc, oldTheme);
    }
    // The background is down: the face must not fill it again with GDI.
    record_->transparent = 1;
    face_->Paint(surface_.Dc(), nullptr);
    record_->transparent = transparent;
    skin_->SetTargetBitmap(previous);
}

}  // namespace desktop
