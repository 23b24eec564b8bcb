#include "common/graphics/transp_bitmap.h"

#include "common/graphics/gdi_handles.h"

void CTranspBitmap::Destroy() {
    CBitmap::Destroy();
    mask_.Destroy();
}

bool CTranspBitmap::Draw(HDC target, int x, int y, int width, int height, int sourceX, int sourceY, COLORREF key) {
    if (!IsValid() || !target) return false;
    if (!mask_.IsValid() && !mask_.Create(width_, height_, 1, 1)) return false;

    // Colour to monochrome: source pixels equal to the source DC's background
    // colour become white (1). Monochrome to colour: 0 takes the target's text
    // colour, 1 its background colour; white keeps the target under SRCAND
    // whatever background colour the caller left in its DC.
    gdi::ScopedTextColor targetText(target, RGB(0, 0, 0));
    gdi::ScopedBkColor targetBack(target, RGB(255, 255, 255));
    gdi::ScopedBkColor sourceBack(dc_, key);
    if (!BitBlt(mask_.Dc(), 0, 0, width_, height_, dc_, 0, 0, SRCCOPY)) return false;
    SetTextColor(mask_.Dc(), RGB(0, 0, 0));

    // target ^ source, cleared where the mask is black, ^ source again: the
    // source where the mask is black, the target unchanged where it is white.
    bool ok = StretchBlt(target, x, y, width, height, dc_, sourceX, sourceY, width, height, SRCINVERT) != FALSE;
    ok = StretchBlt(target, x, y, width, height, mask_.Dc(), sourceX, sourceY, width, height, SRCAND) != FALSE && ok;
    ok = StretchBlt(target, x, y, width, height, dc_, sourceX, sourceY, width, height, SRCINVERT) != FALSE && ok;
    return ok;
}
