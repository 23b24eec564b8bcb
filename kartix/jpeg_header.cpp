#include "kartix/jpeg_header.h"

#include <windows.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <io.h>

#include <jpeglib.h>

#include "common/graphics/jpeg_bounds.h"

namespace {

struct JumpingErrorManager {
    jpeg_error_mgr base;
    jmp_buf back;
};

void JumpBack(j_common_ptr info) {
    // The library's own message is of no use to anyone here.
    longjmp(reinterpret_cast<JumpingErrorManager*>(info->err)->back, 1);
}

void Silent(j_common_ptr) {}

// Kept apart so that no object with a destructor lives across setjmp.
bool ReadHeaderFromFile(FILE* file, int& width, int& height, int& components, bool* fileHoldsPicture) {
    jpeg_decompress_struct info{};
    JumpingErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = JumpBack;
    errors.base.output_message = Silent;
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    // The output sides without starting decompression, which holds every
    // coefficient of a progressive picture (a few hundred bytes may claim
    // gigabytes).
    jpeg_calc_output_dimensions(&info);
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    components = info.output_components;
    if (fileHoldsPicture) {
        const int64_t length = _filelengthi64(_fileno(file));
        *fileHoldsPicture = length > 0 && JpegFileCanHold(JpegCoefficientBytes(info), static_cast<uint64_t>(length));
    }
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

bool ReadJpegHeader(const wchar_t* path, int& width, int& height, int& components, bool* fileHoldsPicture) {
    if (!path) return false;
    FILE* file = _wfopen(path, L"rb");
    if (!file) return false;
    const bool ok = ReadHeaderFromFile(file, width, height, components, fileHoldsPicture);
    fclose(file);
    return ok;
}
