// PixelBuffer: loading from and writing to bitmaps, the block layout, handing
// the block over and taking it back, and bad input.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "tests/graphics/graphics_test_util.h"

using graphics_test::BufferPixels;
using graphics_test::MakeBuffer;
using graphics_test::MakeDib;
using graphics_test::ReadPixels;

namespace {
const std::vector<uint32_t> kTwelve = {0xFF000001, 0xFF000002, 0xFF000003, 0x80000004, 0x00000005, 0x10000006,
                                       0xFF000007, 0xFF000008, 0xFF000009, 0xFF00000A, 0xFF00000B, 0xFF00000C};
}

TEST(PixelBuffer, EmptyBuffer) {
    PixelBuffer b;
    EXPECT_FALSE(b.IsValid());
    EXPECT_EQ(b.GetWidth(), 0);
    EXPECT_EQ(b.GetPixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(b.Sample(0, 0, 7, 8), 7u);
    EXPECT_FALSE(b.KeyToAlpha(0, true));
    EXPECT_FALSE(b.Premultiply());
    void* bits = reinterpret_cast<void*>(1);
    EXPECT_FALSE(b.Detach(nullptr, &bits));
    EXPECT_EQ(bits, reinterpret_cast<void*>(1));
    // Operations on an empty buffer do nothing and do not crash.
    PixelBuffer other;
    b.BlendFrom(other, 0, 128);
    b.BlendColor(0, 0, 128);
    b.ShadeRows(0, nullptr);
    b.ShadeColumns(0, nullptr);
    b.AddBiased(other);
    b.Resize(1, 1, true);
    RECT r{0, 1, 1, 0};
    b.DrawRotated(other, 0, 0, 0, 0, r, 45.0, 0);
    EXPECT_FALSE(b.WriteTo(CBitmap()));
}

TEST(PixelBuffer, LayoutIsPinned) {
    // The header, then the masks, block size, pixels, scratch, stride, rows.
    EXPECT_EQ(sizeof(PixelBuffer), 152u);
    PixelBuffer b;
    const auto* raw = reinterpret_cast<const DWORD*>(&b);
    EXPECT_EQ(raw[27], 0x00FF0000u);
    EXPECT_EQ(raw[28], 0x0000FF00u);
    EXPECT_EQ(raw[29], 0x000000FFu);
    EXPECT_EQ(raw[30], 0xFF000000u);
}

TEST(PixelBuffer, LoadFromBitmapFillsHeaderAndBlock) {
    CDibSection dib;
    ASSERT_TRUE(MakeDib(dib, 3, 4, kTwelve));
    PixelBuffer b(dib, 0, 0);
    ASSERT_TRUE(b.IsValid());
    EXPECT_EQ(b.GetWidth(), 3);
    EXPECT_EQ(b.GetHeight(), 4);
    EXPECT_EQ(b.GetBitCount(), 32);
    EXPECT_EQ(b.Stride(), 3);
    EXPECT_EQ(b.Rows(), 4);
    EXPECT_EQ(b.Header().bV4Size, 108u);
    EXPECT_EQ(b.Header().bV4V4Compression, static_cast<DWORD>(BI_BITFIELDS));
    EXPECT_EQ(b.Header().bV4AlphaMask, 0xFF000000u);
    EXPECT_EQ(b.Header().bV4SizeImage, 48u);
    EXPECT_EQ(b.BlockSize(), 4u * (3 + 2) * 4);
    EXPECT_GE(GlobalSize(b.Pixels()), b.BlockSize());
    EXPECT_EQ(reinterpret_cast<const void*>(b.RowScratch()), reinterpret_cast<const void*>(b.Pixels() + 12));
    EXPECT_EQ(BufferPixels(b), kTwelve);  // alpha kept
    // The bitmap is selected back into its DC afterwards.
    EXPECT_EQ(GetCurrentObject(dib.Dc(), OBJ_BITMAP), dib.Handle());
}

TEST(PixelBuffer, LoadFromBitmapRowRanges) {
    CDibSection dib;
    ASSERT_TRUE(MakeDib(dib, 3, 4, kTwelve));
    PixelBuffer b;
    ASSERT_TRUE(b.LoadFromBitmap(dib, 1, 2));
    EXPECT_EQ(b.Rows(), 2);
    EXPECT_EQ(b.GetHeight(), 2);
    EXPECT_EQ(b.GetPixel(0, 0), kTwelve[3]);
    EXPECT_EQ(b.GetPixel(2, 1), kTwelve[8]);
    EXPECT_EQ(b.GetPixel(0, 2), 0xFFFFFFFFu);
    // Running past the top means every row from the start row on.
    ASSERT_TRUE(b.LoadFromBitmap(dib, 2, 99));
    EXPECT_EQ(b.Rows(), 2);
    EXPECT_EQ(b.GetPixel(0, 0), kTwelve[6]);
    // The same size again reuses the block.
    const uint32_t* block = b.Pixels();
    ASSERT_TRUE(b.LoadFromBitmap(dib, 2, 0));
    EXPECT_EQ(b.Pixels(), block);
    // A start row outside the bitmap, or no bitmap, empties the buffer.
    EXPECT_FALSE(b.LoadFromBitmap(dib, 4, 1));
    EXPECT_FALSE(b.IsValid());
    EXPECT_FALSE(b.LoadFromBitmap(dib, -1, 1));
    CBitmap empty;
    EXPECT_FALSE(b.LoadFromBitmap(empty, 0, 0));
}

TEST(PixelBuffer, LoadFromBitmapReadsA24BitSectionFromAStartRow) {
    // A .bmp face is a 24-bit section: 3 x 4 pixels, rows padded to 12 bytes.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 3;
    info.bmiHeader.biHeight = 4;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.Attach(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0)));
    auto colour = [](int i) { return static_cast<uint32_t>((0x10 * i) << 16 | (0xF0 - 0x10 * i) << 8 | (3 * i + 1)); };
    for (int i = 0; i < 12; ++i) {
        uint8_t* p = static_cast<uint8_t*>(bits) + i / 3 * 12 + i % 3 * 3;
        p[0] = colour(i) & 0xFF;
        p[1] = colour(i) >> 8 & 0xFF;
        p[2] = colour(i) >> 16 & 0xFF;
    }
    GdiFlush();
    PixelBuffer b;
    ASSERT_TRUE(b.LoadFromBitmap(bitmap, 1, 2));
    ASSERT_EQ(b.Rows(), 2);
    EXPECT_EQ(b.GetBitCount(), 32);
    EXPECT_EQ(b.Header().bV4V4Compression, static_cast<DWORD>(BI_BITFIELDS));
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 3; ++column) {
            EXPECT_EQ(b.GetPixel(column, row) & 0xFFFFFF, colour((row + 1) * 3 + column)) << column << "," << row;
        }
    }
}

TEST(PixelBuffer, GetPixelBounds) {
    PixelBuffer b = MakeBuffer(3, 4, kTwelve);
    ASSERT_TRUE(b.IsValid());
    EXPECT_EQ(b.GetPixel(3, 0), 0xFFFFFFFFu);
    EXPECT_EQ(b.GetPixel(-1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(b.GetPixel(0, 4), 0xFFFFFFFFu);
    EXPECT_EQ(b.GetPixel(0, -1), 0xFFFFFFFFu);
    EXPECT_EQ(b.GetPixel(1, 1), kTwelve[4]);
}

TEST(PixelBuffer, WriteToRoundTripThroughGdi) {
    CDibSection dib;
    ASSERT_TRUE(MakeDib(dib, 3, 4, kTwelve));
    PixelBuffer b(dib, 0, 0);
    ASSERT_TRUE(b.IsValid());
    b.Pixels()[5] = 0x12345678;
    b.Pixels()[11] = 0xFFABCDEF;
    // Into another DIB section, then read back with GetDIBits.
    CDibSection target;
    ASSERT_TRUE(target.Create(3, 4));
    ASSERT_TRUE(b.WriteTo(target));
    std::vector<uint32_t> expected = kTwelve;
    expected[5] = 0x12345678;
    expected[11] = 0xFFABCDEF;
    EXPECT_EQ(ReadPixels(target), expected);
    EXPECT_EQ(GetCurrentObject(target.Dc(), OBJ_BITMAP), target.Handle());
    // Into a bitmap of the screen's format: the colours survive.
    CBitmap screen;
    ASSERT_TRUE(screen.Create(3, 4, 0, 0));
    ASSERT_TRUE(b.WriteTo(screen));
    PixelBuffer back(screen, 0, 0);
    ASSERT_TRUE(back.IsValid());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(back.Pixels()[i] & 0xFFFFFF, expected[i] & 0xFFFFFF) << i;
    EXPECT_FALSE(b.WriteTo(CBitmap()));
}

TEST(PixelBuffer, DetachHandsOverHeaderAndBlock) {
    PixelBuffer b = MakeBuffer(3, 4, kTwelve);
    ASSERT_TRUE(b.IsValid());
    BITMAPV4HEADER v4{};
    v4.bV4Size = 108;
    ASSERT_TRUE(b.Detach(&v4, nullptr));
    EXPECT_EQ(v4.bV4Width, 3);
    EXPECT_EQ(v4.bV4RedMask, 0x00FF0000u);
    EXPECT_TRUE(b.IsValid());  // no bits requested: the block stays

    // A 40-byte header receives 40 bytes and still says 40.
    unsigned char small[108];
    std::memset(small, 0xCD, sizeof small);
    DWORD forty = 40;
    std::memcpy(small, &forty, 4);
    void* bits = nullptr;
    ASSERT_TRUE(b.Detach(small, &bits));
    BITMAPINFOHEADER h;
    std::memcpy(&h, small, sizeof h);
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, 3);
    EXPECT_EQ(h.biHeight, 4);
    EXPECT_EQ(h.biBitCount, 32);
    EXPECT_EQ(h.biSizeImage, 48u);
    EXPECT_EQ(small[40], 0xCD);
    EXPECT_EQ(small[107], 0xCD);
    ASSERT_NE(bits, nullptr);
    EXPECT_FALSE(b.IsValid());
    EXPECT_EQ(static_cast<uint32_t*>(bits)[4], kTwelve[4]);

    // Taken back, the block is a buffer again, scratch and all.
    PixelBuffer again;
    ASSERT_TRUE(again.Adopt(&v4, bits));
    EXPECT_EQ(again.Stride(), 3);
    EXPECT_EQ(again.Rows(), 4);
    EXPECT_EQ(again.BlockSize(), 48u + 32u);
    EXPECT_EQ(reinterpret_cast<const void*>(again.RowScratch()), reinterpret_cast<const void*>(again.Pixels() + 12));
    EXPECT_EQ(BufferPixels(again), kTwelve);
}

TEST(PixelBuffer, AdoptRefusesBadHeadersAndShortBlocks) {
    BITMAPV4HEADER h{};
    h.bV4Size = 108;
    h.bV4Width = 4;
    h.bV4Height = 4;
    h.bV4Planes = 1;
    h.bV4BitCount = 32;
    h.bV4SizeImage = 64;
    void* block = GlobalAlloc(GMEM_FIXED, 64);  // no room for the row scratch
    ASSERT_NE(block, nullptr);
    PixelBuffer b;
    EXPECT_FALSE(b.Adopt(&h, block));
    EXPECT_FALSE(b.Adopt(nullptr, block));
    EXPECT_FALSE(b.Adopt(&h, nullptr));
    BITMAPV4HEADER bad = h;
    bad.bV4Size = 12;
    EXPECT_FALSE(b.Adopt(&bad, block));
    bad = h;
    bad.bV4Width = 0;
    EXPECT_FALSE(b.Adopt(&bad, block));
    bad = h;
    bad.bV4Height = -4;
    EXPECT_FALSE(b.Adopt(&bad, block));
    bad = h;
    bad.bV4BitCount = 16;
    EXPECT_FALSE(b.Adopt(&bad, block));
    bad = h;
    bad.bV4SizeImage = 0x7FFFFFF0;  // a header promising more than the block holds
    EXPECT_FALSE(b.Adopt(&bad, block));
    EXPECT_FALSE(b.IsValid());
    GlobalFree(block);  // refused blocks stay the caller's
}

TEST(PixelBuffer, UnpaddedPictureIsNotWrittenToGdi) {
    // A 24-bit picture of 3 pixels a row with the decoder's 9-byte rows:
    // GDI would read 12 bytes a row, past the block.
    BITMAPINFOHEADER h{};
    h.biSize = 40;
    h.biWidth = 3;
    h.biHeight = 2;
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biSizeImage = 18;
    void* block = GlobalAlloc(GMEM_FIXED, 18 + 16);
    ASSERT_NE(block, nullptr);
    PixelBuffer b;
    ASSERT_TRUE(b.Adopt(&h, block));
    EXPECT_EQ(b.Stride(), 3);
    EXPECT_EQ(b.GetBitCount(), 24);
    CDibSection target;
    ASSERT_TRUE(target.Create(3, 2));
    EXPECT_FALSE(b.WriteTo(target));
    // The 32-bit operations leave it alone.
    EXPECT_EQ(b.GetPixel(0, 0), 0xFFFFFFFFu);
    EXPECT_FALSE(b.KeyToAlpha(0, false));
}

TEST(PixelBuffer, MoveKeepsOneOwner) {
    PixelBuffer a = MakeBuffer(3, 4, kTwelve);
    const uint32_t* block = a.Pixels();
    PixelBuffer b(std::move(a));
    EXPECT_EQ(b.Pixels(), block);
    EXPECT_FALSE(a.IsValid());  // NOLINT(bugprone-use-after-move): moved-from is empty
    a = std::move(b);
    EXPECT_EQ(a.Pixels(), block);
}

TEST(PixelBuffer, GreyPictureWithoutColourTableIsNotWrittenToGdi) {
    // An 8-bit grey picture from the image loader has padded rows but no
    // colour table; GDI would read 256 entries past the header record.
    BITMAPINFOHEADER h{};
    h.biSize = 40;
    h.biWidth = 4;
    h.biHeight = 2;
    h.biPlanes = 1;
    h.biBitCount = 8;
    h.biSizeImage = 8;
    void* block = GlobalAlloc(GMEM_FIXED, 8 + 16);
    ASSERT_NE(block, nullptr);
    PixelBuffer b;
    ASSERT_TRUE(b.Adopt(&h, block));
    CDibSection target;
    ASSERT_TRUE(target.Create(4, 2));
    EXPECT_FALSE(b.WriteTo(target));
}
