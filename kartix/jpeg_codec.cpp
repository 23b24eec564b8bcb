#include "kartix/jpeg_codec.h"

#include <windows.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

#include "common/graphics/image_limits.h"

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

// The library reports its progress row by row, and scan by scan while it
// reads a progressive file whole: there a stop cuts even a very large map.
struct StoppableProgress {
    jpeg_progress_mgr base;
    bool (*stopRequested)();
};

void StopIfRequested(j_common_ptr info) {
    if (reinterpret_cast<StoppableProgress*>(info->progress)->stopRequested()) JumpBack(info);
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

// A side decoded at 1/denominator, as the library rounds it.
uint64_t ScaledSide(uint64_t side, unsigned denominator) { return (side + denominator - 1) / denominator; }

// The smallest decoding scale (1/1 to 1/8) whose sides stay at or above those
// the picture is shrunk to afterwards: the library's own scaling then does
// the first part of the shrinking, with a fraction of the memory.
unsigned ScaleDenominator(uint64_t width, uint64_t height, const JpegDecodeJob* job) {
    if (job->fitWidth < 1 || job->fitHeight < 1) return 1;
    const uint64_t fitWidth = static_cast<uint64_t>(FitSide(static_cast<int>(width), job->fitWidth));
    const uint64_t fitHeight = static_cast<uint64_t>(FitSide(static_cast<int>(height), job->fitHeight));
    unsigned denominator = 1;
    while (denominator < 8 && ScaledSide(width, denominator * 2) >= fitWidth &&
           ScaledSide(height, denominator * 2) >= fitHeight)
        denominator *= 2;
    return denominator;
}

// Sides and memory checked from the header alone: a progressive file holds
// every coefficient of the picture from jpeg_start_decompress on, whatever
// its own size.
bool FitsBeforeDecoding(jpeg_decompress_struct& info, JpegDecodeJob* job) {
    if (job->maxWidth >= 1 && job->maxHeight >= 1) {
        job->storedWidth = PowerOfTwoBlockSide(static_cast<int>(info.image_width), job->maxWidth);
        job->storedHeight = PowerOfTwoBlockSide(static_cast<int>(info.image_height), job->maxHeight);
        return info.image_width <= static_cast<JDIMENSION>(job->storedWidth) &&
               info.image_height <= static_cast<JDIMENSION>(job->storedHeight);
    }
    if (job->memoryLimit == 0) return ImageSidesAllowed(info.image_width, info.image_height);
    if (info.image_width < 1 || info.image_height < 1 || info.image_width > (1u << 29) ||
        info.image_height > (1u << 29))
        return false;
    info.scale_num = 1;
    info.scale_denom = ScaleDenominator(info.image_width, info.image_height, job);
    jpeg_calc_output_dimensions(&info);
    const uint64_t bytes = ((static_cast<uint64_t>(info.output_width) + 3) & ~uint64_t{3}) *
                           static_cast<uint64_t>(info.output_height) * static_cast<uint64_t>(info.output_components);
    if (bytes > job->memoryLimit) return false;
    // The coefficients of a progressive file come out of what is left; the
    // library fails rather than pass it (it has no backing store).
    // Nothing left is refused: the library reads a limit of 0 as none at all.
    const uint64_t rest = job->memoryLimit - bytes;
    if (rest == 0) return false;
    info.mem->max_memory_to_use = static_cast<long>(rest < 0x7FFFFFFF ? rest : 0x7FFFFFFF);
    return true;
}

}  // namespace

bool DecodeJpegFile(FILE* file, JpegDecodeJob* job) {
    jpeg_decompress_struct info;
    JumpingErrors errors;
    StoppableProgress progress;
    std::memset(&info, 0, sizeof(info));
    std::memset(&errors, 0, sizeof(errors));
    std::memset(&progress, 0, sizeof(progress));
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
    if (job->stopRequested) {
        progress.base.progress_monitor = StopIfRequested;
        progress.stopRequested = job->stopRequested;
        info.progress = &progress.base;
    }
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    if (!FitsBeforeDecoding(info, job)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    job->scaleDenominator = info.scale_num == 1 && info.scale_denom > 1 ? info.scale_denom : 1;
    job->imageWidth = static_cast<int>(info.output_width);
    job->imageHeight = static_cast<int>(info.output_height);
    job->components = info.output_components;
    if (job->maxWidth < 1 || job->maxHeight < 1) {
        job->storedWidth = (job->imageWidth + 3) & ~3;
        job->storedHeight = job->imageHeight;
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
        if (jpeg_read_scanlines(&info, &target, 1) != 1) break;
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
