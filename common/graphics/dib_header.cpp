#include "common/graphics/dib_header.h"

#include <cstring>

void SetArgbMasks(DibInfoV4& info) {
    info.header.bV4RedMask = kDibRedMask;
    info.header.bV4GreenMask = kDibGreenMask;
    info.header.bV4BlueMask = kDibBlueMask;
    info.header.bV4AlphaMask = kDibAlphaMask;
    info.masks[0] = kDibRedMask;
    info.masks[1] = kDibGreenMask;
    info.masks[2] = kDibBlueMask;
    info.masks[3] = kDibAlphaMask;
}

DibInfoV4 MakeArgbDibInfo(int width, int height) {
    DibInfoV4 info;
    std::memset(&info, 0, sizeof info);
    info.header.bV4Size = sizeof(BITMAPV4HEADER);
    info.header.bV4Width = width;
    info.header.bV4Height = height;
    info.header.bV4Planes = 1;
    info.header.bV4BitCount = 32;
    info.header.bV4V4Compression = BI_BITFIELDS;
    info.header.bV4SizeImage = static_cast<DWORD>(static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4);
    SetArgbMasks(info);
    return info;
}

BITMAPINFO MakeRgb32Info(int width, int height) {
    BITMAPINFO info;
    std::memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

bool ArgbImageBytes(int width, int height, uint32_t& bytes) {
    if (width <= 0 || height <= 0) return false;
    uint64_t total = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4;
    if (total > kMaxDibBytes) return false;
    bytes = static_cast<uint32_t>(total);
    return true;
}
