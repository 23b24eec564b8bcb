#include "common/graphics/png_loader.h"

#include <windows.h>

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "common/graphics/dib_header.h"
#include "common/graphics/image_limits.h"
#include "common/graphics/pixel_buffer.h"

namespace {

constexpr size_t kSignatureBytes = 8;

// What the decoder hands back: a plain record, so that nothing with a
// destructor lives in the frame that libpng's error exit jumps into.
struct DecodedPng {
    BITMAPV4HEADER header;
    void* block;  // GMEM_FIXED: pixels, then 8 bytes a row
};

void FreeBlock(void* block) {
    if (block) GlobalFree(block);
}

// libpng's own handlers print to the standard error stream, which inside
// Explorer or a windowed program goes nowhere useful; a failure is reported
// by the result alone.
[[noreturn]] void PNGCBAPI QuietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void PNGCBAPI QuietWarning(png_structp, png_const_charp) {}

// Asks libpng for samples of 8 bits in one of the three layouts that the
// header can describe honestly: grey, blue-green-red, or blue-green-red-alpha
// (which reads as 0xAARRGGBB). Images with any kind of transparency, grey ones
// included, become the last, so that the alpha is never lost nor misread.
void RequestOutputLayout(png_structp png, png_infop info) {
    int colourType = png_get_color_type(png, info);
    int bitDepth = png_get_bit_depth(png, info);
    bool transparencyChunk = png_get_valid(png, info, PNG_INFO_tRNS) != 0;

    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (transparencyChunk) png_set_tRNS_to_alpha(png);
    if (bitDepth == 16) png_set_strip_16(png);
    if (colourType == PNG_COLOR_TYPE_GRAY_ALPHA || (colourType == PNG_COLOR_TYPE_GRAY && transparencyChunk))
        png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_interlace_handling(png);
}

// The libpng part of the loader. libpng reports errors by jumping back to the
// setjmp below, so this function holds only plain locals, and those that
// change after the setjmp and are needed on the error path are volatile.
bool DecodePng(FILE* file, DecodedPng* out) {
    png_byte signature[kSignatureBytes];
    if (std::fread(signature, 1, kSignatureBytes, file) != kSignatureBytes ||
        png_sig_cmp(signature, 0, kSignatureBytes) != 0)
        return false;

    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, QuietError, QuietWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }

    png_bytep* volatile rowTable = nullptr;
    void* volatile block = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        FreeBlock(rowTable);
        FreeBlock(block);
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }

    png_init_io(png, file);
    png_set_sig_bytes(png, static_cast<int>(kSignatureBytes));
    png_read_info(png, info);
    if (!ImageSidesAllowed(png_get_image_width(png, info), png_get_image_height(png, info))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    RequestOutputLayout(png, info);
    png_read_update_info(png, info);

    png_uint_32 width = png_get_image_width(png, info);
    png_uint_32 height = png_get_image_height(png, info);
    unsigned channels = png_get_channels(png, info);
    size_t rowBytes = png_get_rowbytes(png, info);
    // Anything else would not match the header written below.
    bool layoutKnown = png_get_bit_depth(png, info) == 8 && (channels == 1 || channels == 3 || channels == 4) &&
                       width > 0 && height > 0 && rowBytes == static_cast<uint64_t>(width) * channels;
    // GDI reads rows padded to 4 bytes; 32-bit rows are padded already.
    uint64_t pitch = (static_cast<uint64_t>(rowBytes) + 3) & ~static_cast<uint64_t>(3);
    uint64_t imageSize = pitch * height;
    uint64_t blockSize = imageSize + 8 * static_cast<uint64_t>(height);
    if (layoutKnown && blockSize <= kMaxDibBytes) {
        // Zeroed, so that row padding reads the same every time.
        block = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, static_cast<SIZE_T>(blockSize));
        rowTable = static_cast<png_bytep*>(GlobalAlloc(GMEM_FIXED, sizeof(png_bytep) * height));
    }
    if (!block || !rowTable) {
        FreeBlock(rowTable);
        FreeBlock(block);
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    // The first PNG row (the top of the picture) goes last: bottom-up rows.
    png_bytep base = static_cast<png_bytep>(block);
    for (png_uint_32 i = 0; i < height; ++i) rowTable[i] = base + pitch * (height - 1 - i);
    png_read_image(png, rowTable);
    png_read_end(png, nullptr);

    png_destroy_read_struct(&png, &info, nullptr);
    FreeBlock(rowTable);

    BITMAPV4HEADER& h = out->header;
    std::memset(&h, 0, sizeof h);
    h.bV4Size = sizeof(BITMAPV4HEADER);
    h.bV4Width = static_cast<LONG>(width);
    h.bV4Height = static_cast<LONG>(height);
    h.bV4Planes = 1;
    h.bV4BitCount = static_cast<WORD>(channels * 8);
    h.bV4V4Compression = channels == 4 ? BI_BITFIELDS : BI_RGB;
    h.bV4SizeImage = static_cast<DWORD>(imageSize);
    h.bV4RedMask = kDibRedMask;
    h.bV4GreenMask = kDibGreenMask;
    h.bV4BlueMask = kDibBlueMask;
    h.bV4AlphaMask = kDibAlphaMask;
    out->block = block;
    return true;
}

}  // namespace

bool LoadPngFile(PixelBuffer& buffer, const wchar_t* path) {
    buffer = PixelBuffer();
    if (!path || !*path) return false;
    FILE* file = _wfopen(path, L"rb");
    if (!file) return false;
    DecodedPng image = {};
    bool decoded = DecodePng(file, &image);
    std::fclose(file);
    if (!decoded) return false;
    if (!buffer.Adopt(&image.header, image.block)) {
        FreeBlock(image.block);
        return false;
    }
    return true;
}
