// City photos decoded from the cache into bitmaps: good pictures keep their
// colours and orientation; truncated, foreign, greyscale and missing files
// leave no bitmap behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "common/graphics/bitmap.h"
#include "common/graphics/image_limits.h"
#include "common/zones/city_list.h"
#include "common/platform/text_bounds.h"
#include "hook/photo_cache.h"
#include "hook/photo_jpeg.h"
#include "hook/photo_load.h"
#include "tests/kartix/test_jpeg_writer.h"
#include "tests/support/test_support.h"
#include "tests/tooltips/jpeg_writer.h"

using namespace tooltips_test;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00, kWhite = 0xFFFFFF;

// The pixel of the bitmap at (x, y), top row 0, as 0x00RRGGBB.
uint32_t At(const CBitmap& b, int x, int y) {
    const COLORREF c = ::GetPixel(b.Dc(), x, y);
    return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

bool Near(uint32_t a, uint32_t b) {
    for (int shift = 0; shift < 24; shift += 8) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 12) return false;
    }
    return true;
}

// Fill bytes over the second half of the scan: corrupt data, which the
// library would show grey with no more than a warning.
std::string Garbled(std::string bytes) {
    const size_t scan = bytes.find("\xFF\xDA");
    for (size_t i = scan + (bytes.size() - scan) / 2; i + 2 < bytes.size(); ++i) bytes[i] = '\xFF';
    return bytes;
}

std::string Hex(uint32_t c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06X", c);
    return buf;
}

}  // namespace

TEST(PhotoPixels, ColourrefBecomesArgb) {
    EXPECT_EQ(PhotoPixelToArgb(0x00332211), 0xFF112233u);
    EXPECT_EQ(PhotoPixelToArgb(0x00000000), 0xFF000000u);
    EXPECT_EQ(PhotoPixelToArgb(0x00FFFFFF), 0xFFFFFFFFu);
    EXPECT_EQ(PhotoPixelToArgb(0x000000FF), 0xFFFF0000u);
    // 1 is kept apart from the colour key.
    EXPECT_EQ(PhotoPixelToArgb(0x00000001), 0xFF010101u);
    EXPECT_EQ(PhotoPixelToArgb(0xAB000001), 0xFF010101u);
    EXPECT_EQ(PhotoPixelToArgb(0x7F010000), 0xFF000001u);
}

TEST(PhotoJpeg, RowsAreStoredBottomUpWithAlignedWidth) {
    TempDir dir;
    const std::wstring path = dir.file(L"q.jpg");
    ASSERT_TRUE(WriteBytes(path, EncodeJpeg(Quadrants(13, 12, kRed, kBlue, kGreen, kWhite))));
    JpegImage image;
    ASSERT_TRUE(image.Load(path.c_str()));
    EXPECT_EQ(image.Width(), 13);
    EXPECT_EQ(image.Height(), 12);
    EXPECT_EQ(image.StoredWidth(), 16);
    EXPECT_EQ(image.Components(), 3);
    // The first row in memory is the bottom of the picture: green, then white.
    const uint8_t* bottom = image.Pixels();
    EXPECT_GT(bottom[1], 200);
    EXPECT_LT(bottom[0], 60);
    const uint8_t* top = image.Pixels() + 11 * image.RowBytes();
    EXPECT_GT(top[0], 200);  // red
    EXPECT_LT(top[1], 60);
    image.Free();
    EXPECT_TRUE(image.IsEmpty());
}

TEST(PhotoLoad, AGoodPhotoKeepsItsColoursAndOrientationAndALargeOneIsShrunkToTheBox) {
    TempDir dir;
    const std::wstring path = dir.file(L"q.jpg");
    ASSERT_TRUE(WriteBytes(path, EncodeJpeg(Quadrants(13, 12, kRed, kBlue, kGreen, kWhite))));
    CBitmap bitmap;
    ASSERT_TRUE(LoadPhotoFile(path.c_str(), bitmap));
    ASSERT_TRUE(bitmap.IsValid());
    EXPECT_EQ(bitmap.Width(), 13);
    EXPECT_EQ(bitmap.Height(), 12);
    // Every row, the last column included: a row of the wrong width would
    // shear the quadrants.
    for (int y = 0; y < 12; ++y) {
        const bool bottom = y >= 6;
        EXPECT_TRUE(Near(At(bitmap, 0, y), bottom ? kGreen : kRed)) << y << " " << Hex(At(bitmap, 0, y));
        EXPECT_TRUE(Near(At(bitmap, 12, y), bottom ? kWhite : kBlue)) << y << " " << Hex(At(bitmap, 12, y));
    }

    // A large photo is shrunk to the tooltip's box, its quadrants kept.
    const std::wstring large = dir.file(L"large.jpg");
    ASSERT_TRUE(WriteBytes(large, EncodeJpeg(Quadrants(2048, 1024, kRed, kBlue, kGreen, kWhite))));
    ASSERT_TRUE(LoadPhotoFile(large.c_str(), bitmap));
    EXPECT_EQ(bitmap.Width(), 256);
    EXPECT_EQ(bitmap.Height(), 128);
    EXPECT_TRUE(Near(At(bitmap, 8, 8), kRed)) << Hex(At(bitmap, 8, 8));
    EXPECT_TRUE(Near(At(bitmap, 247, 8), kBlue)) << Hex(At(bitmap, 247, 8));
    EXPECT_TRUE(Near(At(bitmap, 8, 119), kGreen)) << Hex(At(bitmap, 8, 119));
    EXPECT_TRUE(Near(At(bitmap, 247, 119), kWhite)) << Hex(At(bitmap, 247, 119));
    // Its box follows the file's sides: decoded at 1/8, 1023 rows round up to 128.
    ASSERT_TRUE(WriteBytes(large, EncodeJpeg(Quadrants(2048, 1023, kRed, kBlue, kGreen, kWhite))));
    ASSERT_TRUE(LoadPhotoFile(large.c_str(), bitmap));
    EXPECT_EQ(bitmap.Width(), 256);
    EXPECT_EQ(bitmap.Height(), 127);

    // A camera's progressive 4000 x 3000 photo: its coefficients alone pass
    // what the decoder may hold besides.
    const std::wstring camera = dir.file(L"camera.jpg");
    ASSERT_TRUE(WriteTestJpeg(camera, 4000, 3000, false, [](int x, int y) {
        return y < 1500 ? (x < 2000 ? kRed : kBlue) : (x < 2000 ? kGreen : kWhite);
    }, 90, true));
    ASSERT_TRUE(LoadPhotoFile(camera.c_str(), bitmap));
    EXPECT_EQ(bitmap.Width(), 256);
    EXPECT_EQ(bitmap.Height(), 192);
    EXPECT_TRUE(Near(At(bitmap, 247, 183), kWhite)) << Hex(At(bitmap, 247, 183));
}

TEST(PhotoLoad, BadFilesLeaveNoBitmap) {
    TempDir dir;
    const std::string good = EncodeJpeg(Quadrants(32, 32, kRed, kBlue, kGreen, kWhite));
    const std::wstring full = dir.file(L"full.jpg");
    ASSERT_TRUE(WriteBytes(full, good));
    CBitmap bitmap;
    ASSERT_TRUE(LoadPhotoFile(full.c_str(), bitmap));

    struct Case {
        const wchar_t* name;
        std::string bytes;
    };
    const Case cases[] = {
        {L"half.jpg", good.substr(0, good.size() / 2)},
        {L"header.jpg", good.substr(0, 20)},
        {L"text.jpg", "this is not a picture at all\n"},
        {L"empty.jpg", ""},
        {L"grey.jpg", EncodeJpeg(Quadrants(8, 8, 0x101010, 0x808080, 0xC0C0C0, 0xFFFFFF), true)},
        {L"corrupt.jpg", Garbled(good)},
    };
    for (const Case& c : cases) {
        const std::wstring path = dir.file(c.name);
        ASSERT_TRUE(WriteBytes(path, c.bytes));
        EXPECT_FALSE(LoadPhotoFile(path.c_str(), bitmap)) << c.name;
        EXPECT_FALSE(bitmap.IsValid()) << c.name;
        ASSERT_TRUE(LoadPhotoFile(full.c_str(), bitmap));
    }
    const std::wstring cmyk = dir.file(L"cmyk.jpg");
    ASSERT_TRUE(WriteTestJpeg(cmyk, 32, 32, false, [](int, int) { return kRed; }, 95, false, true));
    EXPECT_FALSE(LoadPhotoFile(cmyk.c_str(), bitmap));
    EXPECT_FALSE(LoadPhotoFile(dir.file(L"missing.jpg").c_str(), bitmap));
    EXPECT_FALSE(bitmap.IsValid());
    EXPECT_FALSE(LoadPhotoFile(nullptr, bitmap));
    JpegImage image;
    // The decoder reads a greyscale picture; only the photo refuses it.
    ASSERT_TRUE(image.Load(dir.file(L"grey.jpg").c_str()));
    EXPECT_EQ(image.Components(), 1);
}

TEST(PhotoLoad, PhotosBeyondTheLargestSideAreRefused) {
    TempDir dir;
    const std::wstring wide = dir.file(L"wide.jpg");
    ASSERT_TRUE(WriteBytes(wide, EncodeJpeg(Quadrants(static_cast<int>(kMaxImageSide) + 8, 8, kRed, kBlue, kGreen, kWhite))));
    JpegImage image;
    EXPECT_FALSE(image.Load(wide.c_str()));
    CBitmap bitmap;
    EXPECT_FALSE(LoadPhotoFile(wide.c_str(), bitmap));
    EXPECT_FALSE(bitmap.IsValid());
}

TEST(PhotoLoad, ACityPhotoFromTheCache) {
    TempDir dir;
    const std::wstring root = dir.path() + L"\\Vistrel";
    SetCityPhotoRoot(root.c_str());
    CityRecord cities[1];
    std::memset(cities, 0, sizeof cities);
    CopyBounded(cities[0].city, L"Lima");
    CopyBounded(cities[0].region, L"Peru");
    const CityTable saved = g_cities;
    g_cities.cities = cities;
    g_cities.count = 1;

    CreateDirectoryW(root.c_str(), nullptr);
    CreateDirectoryW((root + L"\\Peru").c_str(), nullptr);
    CreateDirectoryW((root + L"\\Peru\\Lima").c_str(), nullptr);
    ASSERT_TRUE(WriteBytes(root + L"\\Peru\\Lima\\3.jpg", EncodeJpeg(Quadrants(20, 10, kBlue, kBlue, kRed, kRed))));
    CBitmap bitmap;
    EXPECT_TRUE(LoadCityPhoto(0, 3, bitmap));
    EXPECT_EQ(bitmap.Width(), 20);
    EXPECT_TRUE(Near(At(bitmap, 10, 9), kRed));
    EXPECT_FALSE(LoadCityPhoto(0, 4, bitmap));  // not on disk
    EXPECT_FALSE(bitmap.IsValid());
    EXPECT_FALSE(LoadCityPhoto(1, 3, bitmap));  // no such city
    EXPECT_FALSE(LoadCityPhoto(-1, 3, bitmap));

    g_cities = saved;
    SetCityPhotoRoot(nullptr);
}
