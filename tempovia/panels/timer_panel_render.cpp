// Drawing the timer panel into its own surface and onto the screen.
#include <cstdint>

#include "common/graphics/gdi_handles.h"
#include "tempovia/panels/timer_panel.h"

namespace panels {
namespace {

// Copies one cell of the image (column kind, row 0 released or 1 pressed,
// counted from the top) to a point of the surface (from its top), alpha and all.
void CopyCell(const CDibSection& image, int kind, bool pressed, CDibSection& target, int left, int top) {
    const SIZE cell = ButtonCellSize();
    const auto* from = static_cast<const uint32_t*>(image.Bits());
    auto* to = static_cast<uint32_t*>(target.Bits());
    if (!from || !to) return;
    const int sourceLeft = kind * cell.cx;
    const int sourceTop = pressed ? cell.cy : 0;
    for (int y = 0; y < cell.cy; ++y) {
        const int targetRow = target.Height() - 1 - (top + y);
        const int sourceRow = image.Height() - 1 - (sourceTop + y);
        if (targetRow < 0 || targetRow >= target.Height() || sourceRow < 0) continue;
        for (int x = 0; x < cell.cx; ++x) {
            const int tx = left + x;
            if (tx < 0 || tx >= target.Width()) continue;
            to[static_cast<size_t>(targetRow) * target.Width() + tx] =
                from[static_cast<size_t>(sourceRow) * image.Width() + sourceLeft + x];
        }
    }
}

}  // namespace

void CTimerPanel::DrawLabel(int i, int left) {
    const int kind = kinds_[i];
    RECT box{left, kButtonGap + buttonHeight_, left + buttonWidth_, surface_.Height() - 2};
    // A label wider than its button still centres under it.
    const int extra = kButtonGap;
    box.left -= extra;
    box.right += extra;
    HDC dc = surface_.Dc();
    HGDIOBJ oldFont = SelectObject(dc, font_);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, RGB(255, 255, 255));
    RECT measured = box;
    DrawTextW(dc, labels_[kind], -1, &box, DT_CENTER | DT_BOTTOM | DT_SINGLELINE | DT_NOPREFIX);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    GdiFlush();

    // Text output leaves alpha at 0: every pixel the text changed becomes opaque.
    auto* bits = static_cast<uint32_t*>(surface_.Bits());
    const uint32_t reference = bits[0];  // bottom-left: pure background
    for (int y = measured.top; y < measured.bottom; ++y) {
        if (y < 0 || y >= surface_.Height()) continue;
        const int row = surface_.Height() - 1 - y;
        for (int x = measured.left; x < measured.right; ++x) {
            if (x < 0 || x >= surface_.Width()) continue;
            uint32_t& pixel = bits[static_cast<size_t>(row) * surface_.Width() + x];
            if (pixel != reference) pixel |= 0xFF000000u;
        }
    }
}

void CTimerPanel::Render() {
    const CDibSection& image = ButtonImage();
    if (!surface_.IsValid() || !image.IsValid()) return;
    GdiFlush();
    auto* bits = static_cast<uint32_t*>(surface_.Bits());
    const auto* picture = static_cast<const uint32_t*>(image.Bits());
    // The image's top-left pixel is the panel's background.
    const uint32_t background = picture[static_cast<size_t>(image.Height() - 1) * image.Width()];
    const size_t count = static_cast<size_t>(surface_.Width()) * surface_.Height();
    for (size_t i = 0; i < count; ++i) bits[i] = background;

    for (int i = 0; i < buttonCount_; ++i) {
        const int left = ButtonLeft(i);
        CopyCell(image, kinds_[i], kinds_[i] == pressed_, surface_, left, kButtonGap);
        DrawLabel(i, left);
    }

    HWND window = Handle();
    RECT r{};
    if (!window || !GetWindowRect(window, &r)) return;
    POINT position{r.left, r.top};
    SIZE size{surface_.Width(), surface_.Height()};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    gdi::ScreenDc screen;
    UpdateLayeredWindow(window, screen.get(), &position, &size, surface_.Dc(), &source, 0, &blend, ULW_ALPHA);
}

}  // namespace panels
