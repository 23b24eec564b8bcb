// Earth decode benchmark (not a test): how far a map decoded at the library's
// reduced scale and then box-filtered would lie from the map as it is loaded
// (decoded whole, then box-filtered) at the sides the card takes, and what
// each costs.
//
//   earth_scale_bench.exe <map.jpg>...      (each file at maxima 4096 to 256)
//   earth_scale_bench.exe                   (a photo-like picture it writes)
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "kartix/gl_texture.h"
#include "tests/kartix/test_jpeg_writer.h"

namespace {

double Now() {
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// Smooth relief, fine texture and sharp coast-like edges, like a satellite map.
uint32_t PhotoLike(int x, int y, int w, int h) {
    static uint32_t seed = 12345;
    seed = seed * 1103515245u + 12345u;
    const double u = x * 6.2832 / w, v = y * 3.1416 / h;
    const double land = std::sin(u * 3) * std::cos(v * 5) + 0.5 * std::sin(u * 11 + v * 7);
    const double noise = static_cast<double>((seed >> 16) & 0xFF) / 255.0 - 0.5;
    auto byte = [](double value) { return static_cast<uint32_t>(std::clamp(value, 0.0, 255.0)); };
    if (land > 0.8 && ((x / 97) + (y / 89)) % 7 == 0) return 0xF5F5F5u;  // ice
    if (land > 0.2)  // land: green to brown
        return byte(90 + 60 * land + 40 * noise) << 16 | byte(110 + 30 * land + 40 * noise) << 8 | byte(50 + 20 * noise);
    // sea: dark blue, a sharp coast
    return byte(10 + 8 * noise) << 16 | byte(30 + 10 * noise) << 8 | byte(90 + 30 * land + 10 * noise);
}

// The picture decoded at the library's reduced scale (1/2 to 1/8, never
// below the fitted sides), as the map did before it decoded whole.
bool LoadReduced(const wchar_t* path, int fitWidth, int fitHeight, CJpegTexture& t) {
    FILE* file = _wfopen(path, L"rb");
    if (!file) return false;
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    unsigned denominator = 1;
    while (denominator < 8 && (info.image_width + denominator * 2 - 1) / (denominator * 2) >= unsigned(fitWidth) &&
           (info.image_height + denominator * 2 - 1) / (denominator * 2) >= unsigned(fitHeight))
        denominator *= 2;
    info.scale_num = 1;
    info.scale_denom = denominator;
    jpeg_start_decompress(&info);
    t.Free(true);
    t.imageWidth = t.storedWidth = static_cast<int>(info.output_width);
    t.imageHeight = t.storedHeight = static_cast<int>(info.output_height);
    t.components = info.output_components;
    t.pixels = static_cast<uint8_t*>(std::malloc(t.RowBytes() * static_cast<size_t>(t.storedHeight)));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = t.pixels + (t.storedHeight - 1 - static_cast<int>(info.output_scanline)) * t.RowBytes();
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    fclose(file);
    return true;
}

void Compare(const wchar_t* path, int maximum) {
    CGLTexture whole;
    const double t0 = Now();
    if (!whole.Load(path, maximum, maximum)) return;
    const double t1 = Now();
    const int fw = whole.imageWidth, fh = whole.imageHeight;
    CJpegTexture reduced;
    if (!LoadReduced(path, fw, fh, reduced)) return;
    if (reduced.imageWidth != fw || reduced.imageHeight != fh) reduced.RescaleTexture(fw, fh);
    const double t2 = Now();
    int worst = 0, over16 = 0;
    double sum = 0;
    for (int y = 0; y < fh; ++y)
        for (int x = 0; x < fw * 3; ++x) {
            const int d = std::abs(reduced.pixels[y * reduced.RowBytes() + x] - whole.pixels[y * whole.RowBytes() + x]);
            worst = std::max(worst, d);
            sum += d;
            if (d > 16) ++over16;
        }
    std::printf("%ls at %d: %dx%d, worst %d, mean %.2f, %d bytes over 16; whole %.0f ms, reduced %.0f ms\n", path,
                maximum, fw, fh, worst, sum / (3.0 * fw * fh), over16, (t1 - t0) * 1000, (t2 - t1) * 1000);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> files;
    for (int i = 1; i < argc; ++i) files.push_back(argv[i]);
    if (files.empty()) {
        files.push_back(L"photo_like_8192.jpg");
        WriteTestJpeg(files.back(), 8192, 4096, false, [](int x, int y) { return PhotoLike(x, y, 8192, 4096); }, 90);
    }
    for (const std::wstring& f : files)
        for (int maximum : {4096, 2048, 1024, 512, 256}) Compare(f.c_str(), maximum);
    return 0;
}
