// hook.dll's image export, called as the programs call it (imported by
// ordinal), and the wrapper that fills a PixelBuffer through it.
#include <gtest/gtest.h>

#include <cstring>

#include "common/graphics/image_dib.h"
#include "hook/image_export.h"
#include "tests/png/png_test_util.h"

using namespace png_test;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

class ImageExport : public ::testing::Test {
protected:
    void SetUp() override {
        picture.width = 3;
        picture.height = 2;
        picture.colourType = kRgba;
        picture.samples = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
        path = dir.file(L"image.png");
        ASSERT_TRUE(WriteBytes(path, MakePng(picture)));
    }

    TempDir dir;
    PngPicture picture;
    std::wstring path;
};

TEST_F(ImageExport, IsOrdinalTenOnlyAndTheWrapperFindsIt) {
    HMODULE hook = GetModuleHandleW(L"hook.dll");
    ASSERT_NE(hook, nullptr);
    FARPROC byOrdinal = GetProcAddress(hook, MAKEINTRESOURCEA(10));
    EXPECT_NE(byOrdinal, nullptr);
    EXPECT_EQ(GetProcAddress(hook, "LoadPngDib"), nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(FindPngDibExport()), reinterpret_cast<void*>(byOrdinal));
}

TEST_F(ImageExport, HandsOverTheFullHeaderAndTheBlock) {
    BITMAPV4HEADER header = {};
    header.bV4Size = sizeof header;
    void* bits = nullptr;
    ASSERT_TRUE(LoadPngDib(path.c_str(), &header, &bits));
    ASSERT_NE(bits, nullptr);
    EXPECT_EQ(header.bV4Size, 108u);
    EXPECT_EQ(header.bV4Width, 3);
    EXPECT_EQ(header.bV4Height, 2);
    EXPECT_EQ(header.bV4BitCount, 32);
    EXPECT_EQ(header.bV4V4Compression, static_cast<DWORD>(BI_BITFIELDS));
    EXPECT_EQ(header.bV4SizeImage, 24u);
    EXPECT_EQ(header.bV4AlphaMask, 0xFF000000u);
    // The image, then 8 bytes a row; the bottom row first.
    EXPECT_GE(GlobalSize(bits), 24u + 16u);
    const auto* px = static_cast<const uint32_t*>(bits);
    EXPECT_EQ(px[0], 0x100D0E0Fu);
    EXPECT_EQ(px[2], 0x18151617u);
    EXPECT_EQ(px[3], 0x04010203u);

    // A caller can rebuild a buffer around it, which then owns it.
    PixelBuffer rebuilt;
    ASSERT_TRUE(rebuilt.Adopt(&header, bits));
    EXPECT_EQ(rebuilt.Stride(), 3);
    EXPECT_EQ(rebuilt.Rows(), 2);
    EXPECT_EQ(rebuilt.BlockSize(), 40u);
    EXPECT_EQ(rebuilt.GetPixel(2, 1), 0x0C090A0Bu);
}

TEST_F(ImageExport, AFortyByteHeaderGetsFortyBytes) {
    unsigned char raw[sizeof(BITMAPV4HEADER)];
    std::memset(raw, 0xCC, sizeof raw);
    DWORD forty = sizeof(BITMAPINFOHEADER);
    std::memcpy(raw, &forty, sizeof forty);
    void* bits = nullptr;
    ASSERT_TRUE(LoadPngDib(path.c_str(), reinterpret_cast<BITMAPV4HEADER*>(raw), &bits));
    BITMAPINFOHEADER info;
    std::memcpy(&info, raw, sizeof info);
    EXPECT_EQ(info.biSize, 40u);
    EXPECT_EQ(info.biWidth, 3);
    EXPECT_EQ(info.biBitCount, 32);
    EXPECT_EQ(info.biCompression, static_cast<DWORD>(BI_BITFIELDS));
    EXPECT_EQ(info.biSizeImage, 24u);
    for (size_t i = 40; i < sizeof raw; ++i) ASSERT_EQ(raw[i], 0xCC) << "byte " << i;
    EXPECT_EQ(GlobalFree(bits), nullptr);
}

TEST_F(ImageExport, FailuresHandNothingOver) {
    BITMAPV4HEADER header = {};
    header.bV4Size = sizeof header;
    header.bV4Width = 77;
    EXPECT_FALSE(LoadPngDib(path.c_str(), &header, nullptr));
    EXPECT_EQ(header.bV4Width, 77);

    void* bits = &header;  // whatever the caller had stays
    EXPECT_FALSE(LoadPngDib(dir.file(L"absent.png").c_str(), &header, &bits));
    ASSERT_TRUE(WriteBytes(dir.file(L"text.png"), "not a picture"));
    EXPECT_FALSE(LoadPngDib(dir.file(L"text.png").c_str(), &header, &bits));
    EXPECT_FALSE(LoadPngDib(nullptr, &header, &bits));
    EXPECT_EQ(bits, static_cast<void*>(&header));
    EXPECT_EQ(header.bV4Width, 77);
}

TEST_F(ImageExport, LoadImageDibFillsAndReplacesABuffer) {
    PixelBuffer buffer;
    PngPicture other = picture;
    other.width = 6;
    other.height = 1;
    ASSERT_TRUE(WriteBytes(dir.file(L"other.png"), MakePng(other)));
    ASSERT_TRUE(LoadImageDib(buffer, dir.file(L"other.png").c_str()));
    EXPECT_EQ(buffer.GetWidth(), 6);

    ASSERT_TRUE(LoadImageDib(buffer, path.c_str()));
    EXPECT_EQ(buffer.Header().bV4Size, 108u);
    EXPECT_EQ(buffer.GetWidth(), 3);
    EXPECT_EQ(buffer.GetHeight(), 2);
    EXPECT_EQ(buffer.Stride(), 3);
    EXPECT_EQ(buffer.Rows(), 2);
    EXPECT_EQ(buffer.BlockSize(), 40u);
    EXPECT_EQ(buffer.GetPixel(0, 1), 0x04010203u);
    EXPECT_EQ(buffer.GetPixel(2, 0), 0x18151617u);

    // A 24-bit picture: the row width follows from the image size.
    PngPicture rgb;
    rgb.width = 5;
    rgb.height = 2;
    rgb.colourType = kRgb;
    rgb.samples.assign(30, 9);
    ASSERT_TRUE(WriteBytes(dir.file(L"rgb.png"), MakePng(rgb)));
    ASSERT_TRUE(LoadImageDib(buffer, dir.file(L"rgb.png").c_str()));
    EXPECT_EQ(buffer.GetBitCount(), 24);
    EXPECT_EQ(buffer.Header().bV4SizeImage, 32u);  // 15 bytes a row, padded to 16
    EXPECT_EQ(buffer.Stride(), 5);

    EXPECT_FALSE(LoadImageDib(buffer, dir.file(L"absent.png").c_str()));
    EXPECT_FALSE(buffer.IsValid());
    EXPECT_EQ(buffer.GetWidth(), 0);
}

// Stand-ins for the export, for answers the real one never gives.
BOOL WINAPI SaysYesWithoutPixels(const wchar_t*, BITMAPV4HEADER*, void** bits) {
    *bits = nullptr;
    return TRUE;
}

BOOL WINAPI PromisesMoreThanItGives(const wchar_t*, BITMAPV4HEADER* header, void** bits) {
    header->bV4Width = 100;
    header->bV4Height = 100;
    header->bV4Planes = 1;
    header->bV4BitCount = 32;
    header->bV4SizeImage = 100 * 100 * 4;
    *bits = GlobalAlloc(GMEM_FIXED, 64);
    return TRUE;
}

BOOL WINAPI SaysNo(const wchar_t*, BITMAPV4HEADER*, void**) { return FALSE; }

TEST_F(ImageExport, LoadImageDibRefusesAnswersItCannotUse) {
    PixelBuffer buffer;
    ASSERT_TRUE(LoadImageDib(buffer, path.c_str()));
    EXPECT_FALSE(LoadImageDibWith(SaysYesWithoutPixels, buffer, path.c_str()));
    EXPECT_FALSE(buffer.IsValid());

    ASSERT_TRUE(LoadImageDib(buffer, path.c_str()));
    EXPECT_FALSE(LoadImageDibWith(PromisesMoreThanItGives, buffer, path.c_str()));
    EXPECT_FALSE(buffer.IsValid());
    EXPECT_EQ(buffer.GetWidth(), 0);

    EXPECT_FALSE(LoadImageDibWith(SaysNo, buffer, path.c_str()));
    EXPECT_FALSE(LoadImageDibWith(nullptr, buffer, path.c_str()));
    EXPECT_FALSE(buffer.IsValid());
}

}  // namespace
