#include "tests/tooltips/jpeg_writer.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace tooltips_test {

TestPicture Quadrants(int width, int height, uint32_t tl, uint32_t tr, uint32_t bl, uint32_t br) {
    TestPicture p;
    p.width = width;
    p.height = height;
    p.pixels.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2;
            const bool bottom = y >= height / 2;
            p.pixels[static_cast<size_t>(y) * width + x] = bottom ? (right ? br : bl) : (right ? tr : tl);
        }
    }
    return p;
}

std::string EncodeJpeg(const TestPicture& picture, bool greyscale) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&info, &out, &outSize);
    info.image_width = static_cast<JDIMENSION>(picture.width);
    info.image_height = static_cast<JDIMENSION>(picture.height);
    info.input_components = greyscale ? 1 : 3;
    info.in_color_space = greyscale ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(picture.width) * 3);
    while (info.next_scanline < info.image_height) {
        const uint32_t* src = &picture.pixels[static_cast<size_t>(info.next_scanline) * picture.width];
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t c = src[x];
            if (greyscale) {
                row[x] = static_cast<unsigned char>(c & 0xFF);
            } else {
                row[3 * x] = static_cast<unsigned char>(c >> 16);
                row[3 * x + 1] = static_cast<unsigned char>(c >> 8);
                row[3 * x + 2] = static_cast<unsigned char>(c);
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::string bytes(reinterpret_cast<const char*>(out), outSize);
    jpeg_destroy_compress(&info);
    std::free(out);
    return bytes;
}

}  // namespace tooltips_test
