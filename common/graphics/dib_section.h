// A 32-bit bottom-up DIB section: the off-screen surface of every clock face,
// drawn with GDI and read or written directly through its bits.
#pragma once

#include "common/graphics/bitmap.h"

class CDibSection : public CBitmap {
public:
    // Always 32 bits with alpha; sides must be positive.
    bool Create(int width, int height);
    // Through a CBitmap the section is still a 32-bit DIB: planes and bit count are ignored.
    bool Create(int width, int height, int planes, int bitCount) override;
};
