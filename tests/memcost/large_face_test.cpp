// A clock face picture of 8192 x 8192 pixels, a small file of one colour:
// the taskbar clock draws its face at most 200 pixels wide, and loading it
// must cost about that, not the 256 MB of the full picture, whether the file
// is plain or interlaced (a bitmap claiming as much is refused).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include <png.h>

#include "common/graphics/faces/mech_skin.h"
#include "tests/memcost/memory_cost.h"
#include "tests/skins/skins_fixtures.h"

namespace {

constexpr png_uint_32 kSide = 8192;
constexpr uint8_t kRed = 0x3C, kGreen = 0x6E, kBlue = 0x96;

// Written row by row through libpng, so that the test never holds the picture.
bool WriteOneColourPng(const std::wstring& path, bool interlaced) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool ok = info && !setjmp(png_jmpbuf(png));
    if (ok) {
        png_init_io(png, file);
        png_set_IHDR(png, info, kSide, kSide, 8, PNG_COLOR_TYPE_RGB_ALPHA,
                     interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_set_compression_level(png, 9);
        png_write_info(png, info);
        std::vector<png_byte> row(kSide * 4);
        for (png_uint_32 x = 0; x < kSide; ++x) {
            row[x * 4] = kRed;
            row[x * 4 + 1] = kGreen;
            row[x * 4 + 2] = kBlue;
            row[x * 4 + 3] = 0xFF;
        }
        const int passes = png_set_interlace_handling(png);
        for (int pass = 0; pass < passes; ++pass)
            for (png_uint_32 y = 0; y < kSide; ++y) png_write_row(png, row.data());
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return ok;
}

class LargeFace : public ::testing::TestWithParam<bool> {};

TEST_P(LargeFace, APictureOf8192PixelsASideCostsTheFaceItDraws) {
    skins_test::SkinFolder folder;
    ASSERT_TRUE(WriteOneColourPng(folder.Skin(L"Huge") + L"\\clkface.png", GetParam()));
    CMechSkin skin(200);
    memcost_test::ExpectCheap("face of 8192 px a side", [&] { skin.Load(L"Huge", 0, 8, 0, 0); });
    // 8192 / 41: the largest whole part within 200; the face drawn the same.
    ASSERT_TRUE(skin.HasFace());
    EXPECT_EQ(skin.FaceWidth(), 199);
    EXPECT_EQ(skin.HandRows(), 0);
    EXPECT_EQ(skin.GetFaceColour(), RGB(kRed, kGreen, kBlue));
    EXPECT_EQ(skins_test::ColourAt(skin.FaceBitmap(), 0, 0), RGB(kRed, kGreen, kBlue));
    EXPECT_EQ(skins_test::ColourAt(skin.FaceBitmap(), 198, 198), RGB(kRed, kGreen, kBlue));
}

INSTANTIATE_TEST_SUITE_P(PlainAndInterlaced, LargeFace, ::testing::Bool());

// A clkface.bmp cannot be shrunk while read: a few bytes of run-length data
// claiming the same sides give no face rather than hundreds of MB.
TEST(LargeFace, ARunLengthBitmapClaiming8192PixelsASideIsRefusedCheaply) {
    std::string rle("BM\0\0\0\0\0\0\0\0\x3E\0\0\0", 14);
    const uint32_t header[] = {40, kSide, kSide, 1 | (8u << 16), BI_RLE8, 2, 0, 0, 2, 2, 0x003C6E96u, 0x00FFFFFFu};
    rle.append(reinterpret_cast<const char*>(header), sizeof header).append("\0\x01", 2);
    skins_test::SkinFolder folder;
    ASSERT_TRUE(folder.Write(L"Claim", L"clkface.bmp", rle));
    CMechSkin skin(200);
    memcost_test::ExpectCheap("run-length face of 8192 px a side", [&] { skin.Load(L"Claim", 0, 8, 0, 0); });
    EXPECT_FALSE(skin.HasFace());
}

}  // namespace
