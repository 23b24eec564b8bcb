// A few hundred bytes of progressive JPEG whose header claims 8192 or 20000
// pixels a side, in many arithmetic-coded scans (each of which the library
// would run over the whole picture, its missing data read as zeros): the map's
// install check, its earth loader, its photo strip and the taskbar clock's
// photo decoder must each cost far less than such a picture (whose
// coefficients alone take 128 MB or 800 MB).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>

#include "hook/photo_jpeg.h"
#include "kartix/gl_texture.h"
#include "kartix/jpeg_header.h"
#include "kartix/jpeg_texture.h"
#include "tests/kartix/test_jpeg_writer.h"
#include "tests/memcost/memory_cost.h"
#include "tests/support/test_support.h"

namespace {

// A 16 x 16 progressive picture in 23 scans whose frame header then claims
// side x side.
std::string ProgressiveClaiming(const std::wstring& path, int side) {
    if (!WriteTestJpeg(path, 16, 16, true, [](int, int) { return 0xC8C8C8u; }, 75, true, false, 23))
        return std::string();
    std::string file = testing_support::ReadBytes(path);
    // SOF10: marker, length, precision, height, width (big-endian).
    const size_t frame = file.find("\xFF\xCA");
    if (frame == std::string::npos) return std::string();
    for (size_t at : {frame + 5, frame + 7}) {
        file[at] = static_cast<char>(side >> 8);
        file[at + 1] = static_cast<char>(side & 0xFF);
    }
    return file;
}

}  // namespace

TEST(HostileJpeg, AClaimOfAHugePictureCostsLittleToReadOrRefuse) {
    testing_support::TempDir dir;
    for (int side : {8192, 20000}) {
        const std::wstring path = dir.file(L"claim" + std::to_wstring(side) + L".jpg");
        const std::string bytes = ProgressiveClaiming(path, side);
        ASSERT_FALSE(bytes.empty());
        ASSERT_LT(bytes.size(), 1024u);
        std::printf("%d px a side claimed in %zu bytes\n", side, bytes.size());
        ASSERT_TRUE(testing_support::WriteBytes(path, bytes));
        auto costs = [&](const char* what, const std::function<void()>& read) {
            memcost_test::ExpectCheap(std::string(what) + ", " + std::to_string(side) + " px a side", read);
        };
        costs("install check", [&] {
            int w = 0, h = 0, c = 0;
            EXPECT_TRUE(ReadJpegHeader(path.c_str(), w, h, c));
            EXPECT_EQ(w, side);
        });
        costs("earth map", [&] {
            CGLTexture earth;
            EXPECT_EQ(earth.Load(path.c_str(), 2048, 2048), kTextureLoadFailed);
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
