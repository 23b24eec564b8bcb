#include "common/graphics/dib_section.h"

#include "common/graphics/dib_header.h"

bool CDibSection::Create(int width, int height, int /*planes*/, int /*bitCount*/) { return Create(width, height); }

bool CDibSection::Create(int width, int height) {
    Destroy();
    uint32_t bytes = 0;
    if (!ArgbImageBytes(width, height, bytes)) return false;
    dc_ = CreateCompatibleDC(nullptr);
    if (!dc_) {
        Destroy();
        return false;
    }
    DibInfoV4 info = MakeArgbDibInfo(width, height);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, info.AsBitmapInfo(), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap_ || !bits || !SelectIntoDc()) {
        Destroy();
        return false;
    }
    bits_ = bits;
    width_ = width;
    height_ = height;
    bitCount_ = 32;
    return true;
}
