// A bitmap drawn with one colour left out (the glyph strips of skins, the
// timer buttons). The monochrome mask is made on the first Draw.
#pragma once

#include "common/graphics/bitmap.h"

class CTranspBitmap : public CBitmap {
public:
    // The bitmap, then its mask.
    void Destroy() override;

    // Draws width x height from (sourceX, sourceY) at (x, y); pixels equal to
    // key leave the target as it was.
    bool Draw(HDC target, int x, int y, int width, int height, int sourceX, int sourceY, COLORREF key);

    const CBitmap& Mask() const { return mask_; }

private:
    CBitmap mask_;
};
