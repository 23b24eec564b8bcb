#include "hook/photo_jpeg.h"

#include <windows.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <io.h>

#include <jpeglib.h>
#include <jerror.h>

#include "common/graphics/image_limits.h"
#include "common/graphics/jpeg_bounds.h"

namespace {

// GDI takes no picture whose pixel block passes a signed 32-bit size.
constexpr uint64_t kMaxPixelBytes = 0x7FFFFFFF;
// The most a progressive picture's coefficients may take inside Explorer:
// those of a camera's 4:2:0 photo at the largest sides a picture may have.
constexpr uint64_t kMaxCoefficientBytes = static_cast<uint64_t>(kMaxImageSide * kMaxImageSide) * 3;

bool CoefficientsAllowed(uint64_t coefficients, uint64_t fileBytes) {
    return coefficients <= kMaxCoefficientBytes && JpegFileCanHold(coefficients, fileBytes);
}

struct JumpingErrorManager {
    jpeg_error_mgr base;
    jmp_buf back;
    bool truncated;
};

void JumpBack(j_common_ptr info) { longjmp(reinterpret_cast<JumpingErrorManager*>(info->err)->back, 1); }

// Warnings are not shown; any of them (a file that ends early, corrupt data)
// is noted, as the library would fill the rest of the picture with grey.
void NoteWarning(j_common_ptr info, int level) {
    if (level >= 0) return;
    reinterpret_cast<JumpingErrorManager*>(info->err)->truncated = true;
}

void Silent(j_common_ptr) {}

struct Decoded {
    uint8_t* pixels;
    int width;
    int height;
    int fileWidth;
    int fileHeight;
    int storedWidth;
    int components;
};

// The smallest decoding scale whose sides stay at or above the picture's fit
// into the box.
unsigned ScaleDenominator(int width, int height, int boxWidth, int boxHeight) {
    if (boxWidth < 1 || boxHeight < 1) return 1;
    int fitWidth = 0, fitHeight = 0;
    FitIntoBox(width, height, boxWidth, boxHeight, fitWidth, fitHeight);
    unsigned denominator = 1;
    while (denominator < 8 && (width + denominator * 2 - 1) / (denominator * 2) >= static_cast<unsigned>(fitWidth) &&
           (height + denominator * 2 - 1) / (denominator * 2) >= static_cast<unsigned>(fitHeight))
        denominator *= 2;
    return denominator;
}

// Plain C data only from here to the end of the function: a longjmp out of
// the library must not pass over anything with a destructor.
bool DecodeFromFile(FILE* file, uint64_t fileBytes, int boxWidth, int boxHeight, Decoded* out) {
    jpeg_decompress_struct info;
    std::memset(&info, 0, sizeof info);
    JumpingErrorManager errors;
    std::memset(&errors, 0, sizeof errors);
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JumpBack;
    errors.base.output_message = Silent;
    errors.base.emit_message = NoteWarning;
    // volatile: these change between setjmp and a possible longjmp.
    uint8_t* volatile pixels = nullptr;
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        std::free(pixels);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    // Checked before decompression starts: from then on a progressive file
    // holds every coefficient of its picture.
    const uint64_t coefficients = JpegHeldCoefficientBytes(info);
    if (!ImageSidesAllowed(info.image_width, info.image_height) || !CoefficientsAllowed(coefficients, fileBytes) ||
        errors.truncated) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.scale_num = 1;
    info.scale_denom = ScaleDenominator(static_cast<int>(info.image_width), static_cast<int>(info.image_height),
                                        boxWidth, boxHeight);
    info.mem->max_memory_to_use = static_cast<long>(kJpegDecoderMemory + coefficients);
    jpeg_start_decompress(&info);
    const int fileWidth = static_cast<int>(info.image_width);
    const int fileHeight = static_cast<int>(info.image_height);
    const int width = static_cast<int>(info.output_width);
    const int height = static_cast<int>(info.output_height);
    const int components = info.output_components;
    const uint64_t storedWidth = (static_cast<uint64_t>(width) + 3) & ~static_cast<uint64_t>(3);
    const uint64_t rowBytes = storedWidth * static_cast<uint64_t>(components);
    if (width <= 0 || height <= 0 || components <= 0 || rowBytes * static_cast<uint64_t>(height) > kMaxPixelBytes) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    pixels = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(rowBytes * static_cast<uint64_t>(height)), 1));
    if (!pixels) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height && !errors.truncated) {
        JSAMPROW row = pixels + static_cast<size_t>(height - 1 - static_cast<int>(info.output_scanline)) * rowBytes;
        jpeg_read_scanlines(&info, &row, 1);
    }
    if (errors.truncated) {
        jpeg_destroy_decompress(&info);
        std::free(pixels);
        return false;
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    if (errors.truncated) {
        std::free(pixels);
        return false;
    }
    out->pixels = pixels;
    out->width = width;
    out->height = height;
    out->fileWidth = fileWidth;
    out->fileHeight = fileHeight;
    out->storedWidth = static_cast<int>(storedWidth);
    out->components = components;
    return true;
}

}  // namespace

void JpegImage::Free() {
    std::free(pixels_);
    pixels_ = nullptr;
    width_ = height_ = fileWidth_ = fileHeight_ = storedWidth_ = components_ = 0;
}

bool JpegImage::Load(const wchar_t* path, int boxWidth, int boxHeight) {
    Free();
    if (!path) return false;
    FILE* file = _wfopen(path, L"rb");
    if (!file) return false;
    Decoded decoded = {};
    const int64_t fileBytes = _filelengthi64(_fileno(file));
    const bool ok = fileBytes > 0 && DecodeFromFile(file, static_cast<uint64_t>(fileBytes), boxWidth, boxHeight, &decoded);
    std::fclose(file);
    if (!ok) return false;
    pixels_ = decoded.pixels;
    width_ = decoded.width;
    height_ = decoded.height;
    fileWidth_ = decoded.fileWidth;
    fileHeight_ = decoded.fileHeight;
    storedWidth_ = decoded.storedWidth;
    components_ = decoded.components;
    return true;
}

void FitIntoBox(int width, int height, int boxWidth, int boxHeight, int& fitWidth, int& fitHeight) {
    fitWidth = width;
    fitHeight = height;
    if (width <= boxWidth && height <= boxHeight) return;
    // The narrower of the two ratios decides; 64-bit products, as sides reach 8192.
    if (static_cast<int64_t>(width) * boxHeight >= static_cast<int64_t>(height) * boxWidth) {
        fitWidth = boxWidth;
        fitHeight = static_cast<int>(static_cast<int64_t>(height) * boxWidth / width);
    } else {
        fitHeight = boxHeight;
        fitWidth = static_cast<int>(static_cast<int64_t>(width) * boxHeight / height);
    }
    if (fitWidth < 1) fitWidth = 1;
    if (fitHeight < 1) fitHeight = 1;
}
