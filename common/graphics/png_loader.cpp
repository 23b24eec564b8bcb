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
#include "common/graphics/pixel_ops.h"

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
void RequestOutputLayout(png_structp png, png_infop info, bool deinterlace) {
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
    if (deinterlace) png_set_interlace_handling(png);
}

// A picture shrunk as it is read: the sides in the file and in the result,
// rows counted bottom-up as in PixelBuffer::Resize, whose grouping (source
// row or column i belongs to i x result / file) these readers follow.
struct ShrinkPlan {
    png_uint_32 fileWidth;
    png_uint_32 fileHeight;
    png_uint_32 width;
    png_uint_32 height;
    uint32_t* picture;  // width x height, bottom row first
    uint32_t* row;      // one file row
    uint32_t* work;     // ReadRowsShrunk: a band of shrunk rows; ReadPassesShrunk: sums
};

png_uint_32 GroupOf(uint64_t index, png_uint_32 fileCount, png_uint_32 count) {
    return static_cast<png_uint_32>(index * count / fileCount);
}

// The first file row or column of a group.
uint64_t GroupStart(uint64_t group, png_uint_32 fileCount, png_uint_32 count) {
    return (group * fileCount + count - 1) / count;
}

// A band's rows, each already shrunk across, averaged down into one row.
void AverageBand(const uint32_t* band, int rows, png_uint_32 width, uint32_t* out) {
    const ptrdiff_t step = static_cast<ptrdiff_t>(width) * 4;
    for (png_uint_32 x = 0; x < width; ++x) AverageColumnPixels(band + x, out + x, rows, 1, step, 4);
}

// A plain picture, top row first: each row premultiplied and shrunk across as
// it comes, and every band of rows that makes one result row averaged down
// once it is whole: the bytes of a full decode, Premultiply and Resize.
// Returns the top-left pixel as the file has it.
uint32_t ReadRowsShrunk(png_structp png, const ShrinkPlan& plan) {
    uint32_t topLeft = 0;
    int bandRows = 0;
    png_uint_32 group = 0;
    for (png_uint_32 y = 0; y < plan.fileHeight; ++y) {
        png_read_row(png, reinterpret_cast<png_bytep>(plan.row), nullptr);
        if (y == 0) topLeft = plan.row[0];
        const png_uint_32 g = GroupOf(plan.fileHeight - 1 - y, plan.fileHeight, plan.height);
        if (bandRows > 0 && g != group) {
            AverageBand(plan.work, bandRows, plan.width, plan.picture + static_cast<size_t>(group) * plan.width);
            bandRows = 0;
        }
        group = g;
        PremultiplyPixels(plan.row, plan.fileWidth);
        AverageColumnPixels(plan.row, plan.work + static_cast<size_t>(bandRows) * plan.width,
                            static_cast<int>(plan.fileWidth), static_cast<int>(plan.width), 4, 4);
        ++bandRows;
    }
    if (bandRows > 0)
        AverageBand(plan.work, bandRows, plan.width, plan.picture + static_cast<size_t>(group) * plan.width);
    return topLeft;
}

// An interlaced picture gives no row whole before its last pass: each pass's
// pixels are premultiplied and summed into their result pixel as they come,
// four sums a pixel, and each result byte is the floor of its group's mean
// (a full decode and Resize may differ by one in a byte). Returns the
// top-left pixel as the file has it.
uint32_t ReadPassesShrunk(png_structp png, const ShrinkPlan& plan) {
    uint32_t topLeft = 0;
    for (int pass = 0; pass < PNG_INTERLACE_ADAM7_PASSES; ++pass) {
        const png_uint_32 columns = PNG_PASS_COLS(plan.fileWidth, pass);
        const png_uint_32 rows = PNG_PASS_ROWS(plan.fileHeight, pass);
        // libpng passes over empty passes itself.
        if (columns == 0 || rows == 0) continue;
        for (png_uint_32 r = 0; r < rows; ++r) {
            png_read_row(png, reinterpret_cast<png_bytep>(plan.row), nullptr);
            if (pass == 0 && r == 0) topLeft = plan.row[0];
            PremultiplyPixels(plan.row, columns);
            const uint64_t y = PNG_ROW_FROM_PASS_ROW(static_cast<uint64_t>(r), pass);
            const png_uint_32 gy = GroupOf(plan.fileHeight - 1 - y, plan.fileHeight, plan.height);
            uint32_t* sums = plan.work + static_cast<size_t>(gy) * plan.width * 4;
            for (png_uint_32 c = 0; c < columns; ++c) {
                const uint64_t x = PNG_COL_FROM_PASS_COL(static_cast<uint64_t>(c), pass);
                uint32_t* sum = sums + static_cast<size_t>(GroupOf(x, plan.fileWidth, plan.width)) * 4;
                const uint32_t p = plan.row[c];
                for (int k = 0; k < 4; ++k) sum[k] += (p >> (8 * k)) & 0xFF;
            }
        }
    }
    for (png_uint_32 gy = 0; gy < plan.height; ++gy) {
        const uint64_t rowsIn = GroupStart(gy + 1, plan.fileHeight, plan.height) -
                                GroupStart(gy, plan.fileHeight, plan.height);
        for (png_uint_32 gx = 0; gx < plan.width; ++gx) {
            const uint64_t count = rowsIn * (GroupStart(gx + 1, plan.fileWidth, plan.width) -
                                             GroupStart(gx, plan.fileWidth, plan.width));
            const uint32_t* sum = plan.work + (static_cast<size_t>(gy) * plan.width + gx) * 4;
            uint32_t value = 0;
            for (int k = 0; k < 4; ++k) value |= static_cast<uint32_t>(sum[k] / count) << (8 * k);
            plan.picture[static_cast<size_t>(gy) * plan.width + gx] = value;
        }
    }
    return topLeft;
}

// The libpng part of the loader. libpng reports errors by jumping back to the
// setjmp below, so this function holds only plain locals, and those that
// change after the setjmp and are needed on the error path are volatile.
// With a shrink request the picture must have alpha; it comes out
// premultiplied and no wider than the request's maxWidth.
bool DecodePng(FILE* file, DecodedPng* out, PngShrinkRequest* shrink) {
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
    void* volatile scratch = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        FreeBlock(scratch);
        FreeBlock(rowTable);
        FreeBlock(block);
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }

    png_init_io(png, file);
    png_set_sig_bytes(png, static_cast<int>(kSignatureBytes));
    png_read_info(png, info);
    const png_uint_32 fileWidth = png_get_image_width(png, info);
    const png_uint_32 fileHeight = png_get_image_height(png, info);
    if (!ImageSidesAllowed(fileWidth, fileHeight)) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    const auto factor = static_cast<png_uint_32>(shrink ? WholeShrinkFactor(fileWidth, shrink->maxWidth) : 1);
    const bool byPass = factor > 1 && png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    RequestOutputLayout(png, info, !byPass);
    png_read_update_info(png, info);

    const png_uint_32 width = fileWidth / factor;
    const png_uint_32 height = fileHeight / factor > 0 ? fileHeight / factor : 1;
    unsigned channels = png_get_channels(png, info);
    size_t fileRowBytes = png_get_rowbytes(png, info);
    // Anything else would not match the header written below; a picture to
    // shrink must have alpha, and is refused before its pixels take memory.
    bool layoutKnown = png_get_bit_depth(png, info) == 8 && (channels == 1 || channels == 3 || channels == 4) &&
                       (!shrink || channels == 4) && width > 0 &&
                       fileRowBytes == static_cast<uint64_t>(fileWidth) * channels;
    // GDI reads rows padded to 4 bytes; 32-bit rows are padded already.
    uint64_t pitch = (static_cast<uint64_t>(width) * channels + 3) & ~static_cast<uint64_t>(3);
    uint64_t imageSize = pitch * height;
    uint64_t blockSize = imageSize + 8 * static_cast<uint64_t>(height);
    // Shrinking: one file row, and a band of shrunk rows or the sums.
    const uint64_t bandRows = fileHeight / height + 1;
    const uint64_t workPixels = byPass ? 4 * static_cast<uint64_t>(width) * height : bandRows * width;
    // A pass-by-pass sum holds up to 255 x its group's pixels in 32 bits.
    const uint64_t mostInGroup = (fileWidth / width + 1) * bandRows;
    if (byPass && mostInGroup > UINT32_MAX / 255) layoutKnown = false;
    if (layoutKnown && blockSize <= kMaxDibBytes) {
        // Zeroed, so that row padding reads the same every time.
        block = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, static_cast<SIZE_T>(blockSize));
        if (factor == 1)
            rowTable = static_cast<png_bytep*>(GlobalAlloc(GMEM_FIXED, sizeof(png_bytep) * height));
        else if ((fileWidth + workPixels) * 4 <= kMaxDibBytes)
            scratch = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, static_cast<SIZE_T>((fileWidth + workPixels) * 4));
    }
    if (!block || (!rowTable && !scratch)) {
        FreeBlock(scratch);
        FreeBlock(rowTable);
        FreeBlock(block);
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_bytep base = static_cast<png_bytep>(block);
    if (factor == 1) {
        // The first PNG row (the top of the picture) goes last: bottom-up rows.
        for (png_uint_32 i = 0; i < height; ++i) rowTable[i] = base + pitch * (height - 1 - i);
        png_read_image(png, rowTable);
        if (shrink) {
            shrink->topLeft = *reinterpret_cast<const uint32_t*>(rowTable[0]);
            PremultiplyPixels(reinterpret_cast<uint32_t*>(base), static_cast<size_t>(width) * height);
        }
    } else {
        auto* work = static_cast<uint32_t*>(scratch);
        const ShrinkPlan plan = {fileWidth, fileHeight, width, height, reinterpret_cast<uint32_t*>(base), work,
                                 work + fileWidth};
        shrink->topLeft = byPass ? ReadPassesShrunk(png, plan) : ReadRowsShrunk(png, plan);
    }
    png_read_end(png, nullptr);

    png_destroy_read_struct(&png, &info, nullptr);
    FreeBlock(rowTable);
    FreeBlock(scratch);
    if (shrink) {
        shrink->fileWidth = static_cast<int>(fileWidth);
        shrink->fileHeight = static_cast<int>(fileHeight);
    }

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

bool LoadPngFile(PixelBuffer& buffer, const wchar_t* path) { return LoadShrunkPng(buffer, path, nullptr); }

bool LoadShrunkPng(PixelBuffer& buffer, const wchar_t* path, PngShrinkRequest* shrink) {
    buffer = PixelBuffer();
    if (!path || !*path) return false;
    FILE* file = _wfopen(path, L"rb");
    if (!file) return false;
    DecodedPng image = {};
    bool decoded = DecodePng(file, &image, shrink);
    std::fclose(file);
    if (!decoded) return false;
    if (!buffer.Adopt(&image.header, image.block)) {
        FreeBlock(image.block);
        return false;
    }
    return true;
}
