// A window drawn from a 32-bit DIB section with UpdateLayeredWindow, so that
// desktop clocks can have soft, per-pixel-alpha edges.
#pragma once

#include "common/graphics/dib_section.h"
#include "tempovia/window/window.h"

class CAlphaWindow : public CWindow {
public:
    CAlphaWindow() = default;
    // The surface goes before the window.
    ~CAlphaWindow() override;

    // WM_CREATE makes the window layered and its surface (failure refuses the
    // window); WM_WINDOWPOSCHANGED follows the window's size and redraws.
    bool OnMessage(WindowMessage& message) override;
    // Stores the opacity (10..255) and redraws a layered window.
    void SetAlpha(int alpha) override;
    // Puts the surface on screen at the window's rectangle with the colour key
    // and the opacity. Derived windows draw into the surface first.
    virtual bool UpdateLayered(HDC dc);

    bool PerPixelAlpha() const { return perPixelAlpha_; }
    void SetPerPixelAlpha(bool on) { perPixelAlpha_ = on; }
    CDibSection& Surface() { return surface_; }
    const CDibSection& Surface() const { return surface_; }

protected:
    bool perPixelAlpha_ = true;
    CDibSection surface_;
};
