// Small JPEG files for the texture tests, written with libjpeg itself so that
// the reading side is checked against the library rather than against the
// plug-in's own encoder.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include <jpeglib.h>

// colour(x, y from the top) -> 0xRRGGBB; grey files take the red byte, CMYK
// ones four components. A grey file with `scans` above 0 is progressive and
// arithmetic-coded in that many scans (at most 694): the DC, then one
// coefficient at a time refined bit by bit.
inline bool WriteTestJpeg(const std::wstring& path, int width, int height, bool grey,
                          const std::function<uint32_t(int, int)>& colour, int quality = 95,
                          bool progressive = false, bool cmyk = false, int scans = 0) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = grey ? 1 : cmyk ? 4 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    if (progressive) jpeg_simple_progression(&info);
    std::vector<jpeg_scan_info> script(1, jpeg_scan_info{1, {0}, 0, 0, 0, 0});
    for (int k = 1; k < 64; ++k)
        for (int al = 10; al >= 0; --al) script.push_back(jpeg_scan_info{1, {0}, k, k, al == 10 ? 0 : al + 1, al});
    if (grey && scans > 0) {
        info.arith_code = TRUE;
        info.scan_info = script.data();
        info.num_scans = std::min(scans, static_cast<int>(script.size()));
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(width) * (grey ? 1 : 4));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t c = colour(x, y);
            if (grey) {
                row[x] = static_cast<uint8_t>(c >> 16);
            } else if (cmyk) {  // inverted, as Adobe's files store inks: C, M, Y hold R, G, B; no black
                for (int k = 0; k < 3; ++k) row[x * 4 + k] = static_cast<uint8_t>(c >> (16 - 8 * k));
                row[x * 4 + 3] = 255;
            } else {
                row[x * 3] = static_cast<uint8_t>(c >> 16);
                row[x * 3 + 1] = static_cast<uint8_t>(c >> 8);
                row[x * 3 + 2] = static_cast<uint8_t>(c);
            }
        }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    fclose(file);
    return true;
}

inline uint32_t Flat(uint32_t rgb) { return rgb; }

// Within a JPEG's rounding of flat areas.
inline bool Near(int a, int b, int tolerance = 6) { return a - b <= tolerance && b - a <= tolerance; }
