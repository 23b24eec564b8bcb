#include "kartix/jpeg_codec.h"

#include <windows.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

#include "common/graphics/image_limits.h"
#include "common/graphics/jpeg_bounds.h"

namespace {

struct JumpingErrors {
    jpeg_error_mgr base;
    jmp_buf back;
};

void JumpBack(j_common_ptr info) { longjmp(reinterpret_cast<JumpingErrors*>(info->err)->back, 1); }

// The library's messages are shown nowhere.
void Silent(j_common_ptr) {}

// A warning while decoding means damaged data: a file that ends early, or a
// corrupt stretch, which the library would fill with grey and carry on. Such a
// picture must neither be shown nor written over the map, so it is an error.
void WarningIsError(j_common_ptr info, int level) {
    if (level < 0) JumpBack(info);
}

constexpr int kFirstBlockSide = 16;

}  // namespace

int PowerOfTwoBlockSide(int imageSide, int maximum) {
    int side = kFirstBlockSide;
    while (side < maximum && side < imageSide && side < (1 << 29)) side *= 2;
    return side;
}

int FitSide(int imageSide, int maximum) {
    const int side = PowerOfTwoBlockSide(imageSide, maximum);
    return side > imageSide ? side / 2 : side;
}

namespace {

constexpr uint64_t kMostMemoryToUse = 0x7FFFFFFF;  // the library's limit is a long

// Sides and memory checked from the header alone: from jpeg_start_decompress
// on, a multi-scan file holds every coefficient of the picture, and its data
// may claim far more than it holds.
bool FitsBeforeDecoding(jpeg_decompress_struct& info, JpegDecodeJob* job) {
    const uint64_t held = JpegHeldCoefficientBytes(info);
    if (held + kJpegDecoderMemory > kMostMemoryToUse) return false;
    // Never 0: the library reads that as no limit at all.
    info.mem->max_memory_to_use = static_cast<long>(held + kJpegDecoderMemory);
    if (job->maxWidth >= 1 && job->maxHeight >= 1) {
        job->storedWidth = PowerOfTwoBlockSide(static_cast<int>(info.image_width), job->maxWidth);
        job->storedHeight = PowerOfTwoBlockSide(static_cast<int>(info.image_height), job->maxHeight);
        return info.image_width <= static_cast<JDIMENSION>(job->storedWidth) &&
               info.image_height <= static_cast<JDIMENSION>(job->storedHeight);
    }
    if (!JpegFileCanHold(JpegCoefficientBytes(info), job->fileBytes)) return false;
    if (job->memoryLimit == 0) return ImageSidesAllowed(info.image_width, info.image_height);
    if (info.image_width < 1 || info.image_height < 1 || info.image_width > (1u << 29) ||
        info.image_height > (1u << 29))
        return false;
    // The whole picture, as the file has it; a CMYK one as RGB.
    const uint64_t components = info.out_color_space == JCS_CMYK ? 3 : static_cast<uint64_t>(info.output_components);
    const uint64_t pixels = ((static_cast<uint64_t>(info.image_width) + 3) & ~uint64_t{3}) *
                            static_cast<uint64_t>(info.image_height) * components;
    return pixels + held + kJpegDecoderMemory <= job->memoryLimit;
}

// Adobe's CMYK files, the common kind, store each ink inverted (255 = none).
void CmykRowToRgb(const uint8_t* cmyk, uint8_t* rgb, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        for (int c = 0; c < 3; ++c) {
            const unsigned ink = inverted ? cmyk[c] : 255u - cmyk[c];
            rgb[c] = static_cast<uint8_t>((ink * k + 127) / 255);
        }
    }
}

}  // namespace

bool DecodeJpegFile(FILE* file, JpegDecodeJob* job) {
    jpeg_decompress_struct info;
    JumpingErrors errors;
    std::memset(&info, 0, sizeof(info));
    std::memset(&errors, 0, sizeof(errors));
    job->pixels = nullptr;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JumpBack;
    errors.base.output_message = Silent;
    errors.base.emit_message = WarningIsError;
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        std::free(job->pixels);
        job->pixels = nullptr;
        return false;
    }
    jpeg_create_decompress(&info);
    LimitJpegScans(info, job->stopRequested);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    jpeg_calc_output_dimensions(&info);
    if (!FitsBeforeDecoding(info, job)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    job->imageWidth = static_cast<int>(info.output_width);
    job->imageHeight = static_cast<int>(info.output_height);
    job->components = info.output_components;
    const bool whole = job->maxWidth < 1 || job->maxHeight < 1;
    // Read into a row of the library's own pool, which goes with it on any exit.
    JSAMPARRAY cmyk = nullptr;
    if (whole) {
        job->storedWidth = (job->imageWidth + 3) & ~3;
        job->storedHeight = job->imageHeight;
        if (info.out_color_space == JCS_CMYK) {
            cmyk = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                             info.output_width * 4, 1);
            job->components = 3;
        }
    }
    const size_t rowBytes = static_cast<size_t>(job->storedWidth) * static_cast<size_t>(job->components);
    const size_t bytes = rowBytes * static_cast<size_t>(job->storedHeight);
    job->pixels = bytes ? static_cast<uint8_t*>(std::calloc(bytes, 1)) : nullptr;
    if (!job->pixels) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    // The picture's bottom row goes to the block's first row, so that texture
    // coordinates from 0 cover the picture whatever the block's padding.
    while (info.output_scanline < info.output_height) {
        const size_t row = static_cast<size_t>(job->imageHeight) - 1 - info.output_scanline;
        JSAMPROW target = job->pixels + row * rowBytes;
        if (jpeg_read_scanlines(&info, cmyk ? cmyk : &target, 1) != 1) break;
        if (cmyk) CmykRowToRgb(cmyk[0], target, info.output_width, info.saw_Adobe_marker);
    }
    if (info.output_scanline < info.output_height) {
        jpeg_destroy_decompress(&info);
        std::free(job->pixels);
        job->pixels = nullptr;
        return false;
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

bool EncodeJpegFile(FILE* file, const JpegEncodeJob* job) {
    jpeg_compress_struct info;
    JumpingErrors errors;
    std::memset(&info, 0, sizeof(info));
    std::memset(&errors, 0, sizeof(errors));
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JumpBack;
    errors.base.output_message = Silent;
    if (setjmp(errors.back)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(job->width);
    info.image_height = static_cast<JDIMENSION>(job->height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, job->quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        const size_t row = static_cast<size_t>(job->height) - 1 - info.next_scanline;
        JSAMPROW source = const_cast<uint8_t*>(job->pixels + row * job->rowBytes);
        jpeg_write_scanlines(&info, &source, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}
