#include "hook/image_export.h"

#include "common/graphics/pixel_buffer.h"
#include "common/graphics/png_loader.h"

extern "C" BOOL WINAPI LoadPngDib(const wchar_t* path, BITMAPV4HEADER* header, void** bits) {
    if (!bits) return FALSE;
    PixelBuffer image;
    if (!LoadPngFile(image, path)) return FALSE;
    return image.Detach(header, bits) ? TRUE : FALSE;
}
