// A few hundred bytes of progressive JPEG whose header claims 8192 or 20000
// pixels a side: the map's install check, its photo strip and the taskbar
// clock's photo decoder must each cost far less than such a picture (whose
// coefficients alone take 200 MB or 1.2 GB). One case in a process of its
// own, so that the peak working set is this case's doing.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "hook/photo_jpeg.h"
#include "kartix/jpeg_header.h"
#include "kartix/jpeg_texture.h"
#include "tests/support/test_support.h"

namespace {

constexpr SIZE_T kMostBytes = 48u * 1024u * 1024u;

// A 16 x 16 progressive picture whose frame header then claims side x side.
std::string ProgressiveClaiming(int side) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &bytes, &size);
    info.image_width = info.image_height = 16;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(16 * 3, 200);
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::string file(reinterpret_cast<const char*>(bytes), size);
    jpeg_destroy_compress(&info);
    std::free(bytes);
    // SOF2: marker, length, precision, height, width (big-endian).
    const size_t frame = file.find("\xFF\xC2");
    if (frame == std::string::npos) return std::string();
    for (size_t at : {frame + 5, frame + 7}) {
        file[at] = static_cast<char>(side >> 8);
        file[at + 1] = static_cast<char>(side & 0xFF);
    }
    return file;
}

PROCESS_MEMORY_COUNTERS Counters() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters;
}

}  // namespace

TEST(HostileJpeg, AClaimOfAHugePictureCostsLittleToReadOrRefuse) {
    testing_support::TempDir dir;
    for (int side : {8192, 20000}) {
        const std::string bytes = ProgressiveClaiming(side);
        ASSERT_LT(bytes.size(), 1024u);
        const std::wstring path = dir.file(L"claim" + std::to_wstring(side) + L".jpg");
        ASSERT_TRUE(testing_support::WriteBytes(path, bytes));
        auto costs = [&](const char* what, auto read) {
            const SIZE_T before = Counters().WorkingSetSize;
            read();
            const SIZE_T peak = Counters().PeakWorkingSetSize;
            std::printf("%s, %d px a side: peak %llu KB above the start\n", what, side,
                        static_cast<unsigned long long>(peak > before ? (peak - before) / 1024 : 0));
            EXPECT_LT(peak, before + kMostBytes) << what << ", " << side;
        };
        costs("install check", [&] {
            int w = 0, h = 0, c = 0;
            EXPECT_TRUE(ReadJpegHeader(path.c_str(), w, h, c));
            EXPECT_EQ(w, side);
        });
        costs("photo strip", [&] {
            CJpegTexture strip;
            EXPECT_EQ(strip.Load(path.c_str(), 128, 256), 0);
        });
        costs("taskbar photo", [&] {
            JpegImage photo;
            EXPECT_FALSE(photo.Load(path.c_str(), 256, 256));
        });
    }
}
