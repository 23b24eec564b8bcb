// Sound PNG files of every colour type and depth decode to exact pixels.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/png/png_test_util.h"

using namespace png_test;
using testing_support::TempDir;

namespace {

// A repeatable spread of sample values.
std::vector<uint16_t> Spread(size_t count, uint32_t maxValue, uint32_t seed) {
    std::vector<uint16_t> v(count);
    uint32_t x = seed;
    for (auto& s : v) {
        x = x * 1103515245u + 12345u;
        s = static_cast<uint16_t>((x >> 8) % (maxValue + 1));
    }
    return v;
}

PngPicture Picture(uint32_t w, uint32_t h, uint8_t depth, uint8_t type, uint32_t seed = 7) {
    PngPicture p;
    p.width = w;
    p.height = h;
    p.bitDepth = depth;
    p.colourType = type;
    uint32_t maxValue = (1u << depth) - 1;
    p.samples = Spread(static_cast<size_t>(w) * h * Channels(type), maxValue, seed);
    return p;
}

uint8_t To8(uint16_t sample, uint8_t depth) {
    if (depth == 16) return static_cast<uint8_t>(sample >> 8);
    return static_cast<uint8_t>(sample * 255 / ((1u << depth) - 1));
}

class PngDecode : public ::testing::Test {
protected:
    TempDir dir;
    PixelBuffer buffer;
};

TEST_F(PngDecode, RgbaBecomesBottomUpArgbWithItsScratchBehind) {
    PngPicture p = Picture(3, 2, 8, kRgba);
    p.samples = {0x10, 0x20, 0x30, 0x40, 0x11, 0x21, 0x31, 0xFF, 0x12, 0x22, 0x32, 0x00,
                 0xA0, 0xB0, 0xC0, 0xD0, 0xA1, 0xB1, 0xC1, 0xD1, 0xA2, 0xB2, 0xC2, 0xD2};
    ASSERT_TRUE(LoadBytes(dir, MakePng(p), buffer));

    const BITMAPV4HEADER& h = buffer.Header();
    EXPECT_EQ(h.bV4Size, 108u);
    EXPECT_EQ(h.bV4Width, 3);
    EXPECT_EQ(h.bV4Height, 2);
    EXPECT_EQ(h.bV4Planes, 1);
    EXPECT_EQ(h.bV4BitCount, 32);
    EXPECT_EQ(h.bV4V4Compression, static_cast<DWORD>(BI_BITFIELDS));
    EXPECT_EQ(h.bV4SizeImage, 24u);
    EXPECT_EQ(h.bV4RedMask, 0x00FF0000u);
    EXPECT_EQ(h.bV4GreenMask, 0x0000FF00u);
    EXPECT_EQ(h.bV4BlueMask, 0x000000FFu);
    EXPECT_EQ(h.bV4AlphaMask, 0xFF000000u);
    EXPECT_EQ(buffer.Stride(), 3);
    EXPECT_EQ(buffer.Rows(), 2);
    EXPECT_EQ(buffer.BlockSize(), 24u + 16u);
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(buffer.RowScratch()),
              reinterpret_cast<const uint8_t*>(buffer.Pixels()) + 24);

    // Memory row 0 is the bottom row of the picture.
    EXPECT_EQ(buffer.GetPixel(0, 0), 0xD0A0B0C0u);
    EXPECT_EQ(buffer.GetPixel(2, 0), 0xD2A2B2C2u);
    EXPECT_EQ(buffer.GetPixel(0, 1), 0x40102030u);
    EXPECT_EQ(buffer.GetPixel(1, 1), 0xFF112131u);
    EXPECT_EQ(buffer.GetPixel(2, 1), 0x00122232u);
}

TEST_F(PngDecode, SixteenBitRgbaKeepsTheHighByteOfEachChannel) {
    PngPicture p = Picture(5, 3, 16, kRgba);
    ASSERT_TRUE(LoadBytes(dir, MakePng(p), buffer));
    EXPECT_EQ(buffer.GetBitCount(), 32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const uint16_t* s = &p.samples[(y * 5 + x) * 4];
            uint32_t expected = (uint32_t{To8(s[3], 16)} << 24) | (uint32_t{To8(s[0], 16)} << 16) |
                                (uint32_t{To8(s[1], 16)} << 8) | To8(s[2], 16);
            EXPECT_EQ(ArgbAt(buffer, x, y), expected) << x << "," << y;
        }
}

TEST_F(PngDecode, RgbBecomesPaddedBlueGreenRedRows) {
    for (uint8_t depth : {uint8_t{8}, uint8_t{16}}) {
        PngPicture p = Picture(3, 4, depth, kRgb, depth);
        ASSERT_TRUE(LoadBytes(dir, MakePng(p), buffer)) << int(depth);
        const BITMAPV4HEADER& h = buffer.Header();
        EXPECT_EQ(h.bV4BitCount, 24);
        EXPECT_EQ(h.bV4V4Compression, static_cast<DWORD>(BI_RGB));
        EXPECT_EQ(Pitch(buffer), 12u);  // 9 bytes of pixels, padded to 4
        EXPECT_EQ(h.bV4SizeImage, 48u);
        EXPECT_EQ(buffer.BlockSize(), 48u + 32u);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 3; ++x) {
                const uint16_t* s = &p.samples[(y * 3 + x) * 3];
                EXPECT_EQ(ByteAt(buffer, x, y, 0), To8(s[2], depth));
                EXPECT_EQ(ByteAt(buffer, x, y, 1), To8(s[1], depth));
                EXPECT_EQ(ByteAt(buffer, x, y, 2), To8(s[0], depth));
            }
            EXPECT_EQ(ByteAt(buffer, 3, y, 0), 0) << "padding";
            EXPECT_EQ(ByteAt(buffer, 3, y, 2), 0) << "padding";
        }
    }
}

TEST_F(PngDecode, GreyOfEveryDepthBecomesEightBitRows) {
    for (uint8_t depth : {uint8_t{1}, uint8_t{2}, uint8_t{4}, uint8_t{8}, uint8_t{16}}) {
        PngPicture p = Picture(13, 3, depth, kGrey, depth + 1u);
        ASSERT_TRUE(LoadBytes(dir, MakePng(p), buffer)) << int(depth);
        EXPECT_EQ(buffer.GetBitCount(), 8);
        EXPECT_EQ(buffer.Header().bV4V4Compression, static_cast<DWORD>(BI_RGB));
        EXPECT_EQ(Pitch(buffer), 16u);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 13; ++x)
                EXPECT_EQ(ByteAt(buffer, x, y, 0), To8(p.samples[y * 13 + x], depth))
                    << "depth " << int(depth) << " at " << x << "," << y;
    }
}

TEST_F(PngDecode, PaletteOfEveryDepthBecomesRgb) {
    std::string palette;
    for (int i = 0; i < 256; ++i) {
        palette += static_cast<char>(i);
        palette += static_cast<char>(255 - i);
        palette += static_cast<char>(i * 7);
    }
    for (uint8_t depth : {uint8_t{1}, uint8_t{2}, uint8_t{4}, uint8_t{8}}) {
        PngPicture p = Picture(7, 5, depth, kPalette, 40u + depth);
        p.palette = palette.substr(0, 3u << depth);
        ASSERT_TRUE(LoadBytes(dir, MakePng(p), buffer)) << int(depth);
        EXPECT_EQ(buffer.GetBitCount(), 24);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) {
                int index = p.samples[y * 7 + x];
                EXPECT_EQ(ByteAt(buffer, x, y, 0), static_cast<uint8_t>(index * 7));
                EXPECT_EQ(ByteAt(buffer, x, y, 1), static_cast<uint8_t>(255 - index));
                EXPECT_EQ(ByteAt(buffer, x, y, 2), static_cast<uint8_t>(index));
            }
    }
}

TEST_F(PngDecode, PaletteWithTransparencyGainsAlpha) {
    PngPicture p = Picture(4, 2, 4, kPalette);
    p.samples = {0, 1, 2, 3, 3, 2, 1, 0};
    p.palette = std::string("\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF\x10\x20\x30", 12);
    p.transparency = std::string("\x00\x80", 2);  // entries past the chunk are opaque
    ASSERT_TRUE(LoadBytes(dir, MakePng(p), buffer));
    EXPECT_EQ(buffer.GetBitCount(), 32);
    EXPECT_EQ(buffer.Header().bV4V4Compression, static_cast<DWORD>(BI_BITFIELDS));
    EXPECT_EQ(ArgbAt(buffer, 0, 0), 0x00FF0000u);
    EXPECT_EQ(ArgbAt(buffer, 1, 0), 0x8000FF00u);
    EXPECT_EQ(ArgbAt(buffer, 2, 0), 0xFF0000FFu);
    EXPECT_EQ(ArgbAt(buffer, 3, 0), 0xFF102030u);
    EXPECT_EQ(ArgbAt(buffer, 0, 1), 0xFF102030u);
    EXPECT_EQ(ArgbAt(buffer, 3, 1), 0x00FF0000u);
}

TEST_F(PngDecode, GreyWithAlphaAndKeyedColoursBecomeArgb) {
    PngPicture ga = Picture(3, 1, 8, kGreyAlpha);
    ga.samples = {0x40, 0x80, 0xFF, 0x00, 0x00, 0xFF};
    ASSERT_TRUE(LoadBytes(dir, MakePng(ga), buffer));
    EXPECT_EQ(buffer.GetBitCount(), 32);
    EXPECT_EQ(ArgbAt(buffer, 0, 0), 0x80404040u);
    EXPECT_EQ(ArgbAt(buffer, 1, 0), 0x00FFFFFFu);
    EXPECT_EQ(ArgbAt(buffer, 2, 0), 0xFF000000u);

    PngPicture grey = Picture(3, 1, 8, kGrey);
    grey.samples = {0x10, 0x80, 0xF0};
    grey.transparency = std::string("\x00\x80", 2);
    ASSERT_TRUE(LoadBytes(dir, MakePng(grey), buffer));
    EXPECT_EQ(buffer.GetBitCount(), 32);
    EXPECT_EQ(ArgbAt(buffer, 0, 0), 0xFF101010u);
    EXPECT_EQ(ArgbAt(buffer, 1, 0), 0x00808080u);
    EXPECT_EQ(ArgbAt(buffer, 2, 0), 0xFFF0F0F0u);

    PngPicture rgb = Picture(2, 1, 8, kRgb);
    rgb.samples = {1, 2, 3, 4, 5, 6};
    rgb.transparency = std::string("\x00\x04\x00\x05\x00\x06", 6);
    ASSERT_TRUE(LoadBytes(dir, MakePng(rgb), buffer));
    EXPECT_EQ(buffer.GetBitCount(), 32);
    EXPECT_EQ(ArgbAt(buffer, 0, 0), 0xFF010203u);
    EXPECT_EQ(ArgbAt(buffer, 1, 0), 0x00040506u);
}

TEST_F(PngDecode, InterlacedFilesDecodeLikePlainOnes) {
    struct Case {
        uint8_t depth, type;
    };
    for (Case c : {Case{8, kRgba}, Case{16, kRgb}, Case{1, kGrey}, Case{2, kPalette}, Case{8, kGreyAlpha}}) {
        for (uint32_t size : {1u, 3u, 11u}) {
            PngPicture p = Picture(size, size + 2, c.depth, c.type, size * 31 + c.type);
            if (c.type == kPalette) p.palette = std::string("\x7F\x5A\x5A\x01\x02\x03\xC0\xC1\xC2\xFF\x00\x80", 12);
            PixelBuffer plain;
            ASSERT_TRUE(LoadBytes(dir, MakePng(p), plain, L"plain.png"));
            p.interlaced = true;
            ASSERT_TRUE(LoadBytes(dir, MakePng(p), buffer, L"interlaced.png"))
                << int(c.type) << "/" << int(c.depth) << " " << size;
            ASSERT_EQ(buffer.Header().bV4SizeImage, plain.Header().bV4SizeImage);
            EXPECT_EQ(0, std::memcmp(buffer.Pixels(), plain.Pixels(), plain.Header().bV4SizeImage))
                << int(c.type) << "/" << int(c.depth) << " " << size;
        }
    }
}

TEST_F(PngDecode, LargerPictureKeepsEveryPixel) {
    PngPicture p = Picture(67, 45, 8, kRgba, 99);
    p.interlaced = true;
    ASSERT_TRUE(LoadBytes(dir, MakePng(p), buffer));
    for (int y = 0; y < 45; ++y)
        for (int x = 0; x < 67; ++x) {
            const uint16_t* s = &p.samples[(y * 67 + x) * 4];
            uint32_t expected = (uint32_t{s[3]} << 24) | (uint32_t{s[0]} << 16) | (uint32_t{s[1]} << 8) | s[2];
            ASSERT_EQ(ArgbAt(buffer, x, y), expected) << x << "," << y;
        }
}

TEST_F(PngDecode, ShrunkWhileReadLikeAFullDecodeResized) {
    // 101 x 131 within 20 wide: a sixth, 16 x 21, with uneven bands of rows.
    PngPicture p = Picture(101, 131, 8, kRgba, 5);
    for (bool interlaced : {false, true}) {
        p.interlaced = interlaced;
        PixelBuffer full;
        ASSERT_TRUE(LoadBytes(dir, MakePng(p), full, L"face.png"));
        const uint32_t topLeft = ArgbAt(full, 0, 0);
        full.Premultiply();
        full.Resize(16, 21, false);
        PngShrinkRequest request;
        request.maxWidth = 20;
        ASSERT_TRUE(LoadShrunkPng(buffer, dir.file(L"face.png").c_str(), &request));
        EXPECT_EQ(request.fileWidth, 101);
        EXPECT_EQ(request.fileHeight, 131);
        EXPECT_EQ(request.topLeft, topLeft);
        ASSERT_EQ(buffer.GetWidth(), 16);
        ASSERT_EQ(buffer.Rows(), 21);
        // An interlaced file is averaged in one step: a byte may be one less.
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 16; ++x)
                for (int i = 0; i < 4; ++i)
                    ASSERT_NEAR(ByteAt(buffer, x, y, i), ByteAt(full, x, y, i), interlaced ? 1 : 0)
                        << interlaced << " " << x << "," << y;
    }
    // No alpha, no face.
    PngShrinkRequest request;
    ASSERT_TRUE(LoadBytes(dir, MakePng(Picture(30, 30, 8, kRgb)), buffer, L"opaque.png"));
    EXPECT_FALSE(LoadShrunkPng(buffer, dir.file(L"opaque.png").c_str(), &request));
}

TEST_F(PngDecode, ReplacesWhatTheBufferHeld) {
    ASSERT_TRUE(LoadBytes(dir, MakePng(Picture(9, 9, 8, kRgba)), buffer, L"a.png"));
    ASSERT_TRUE(LoadBytes(dir, MakePng(Picture(2, 3, 8, kRgba)), buffer, L"b.png"));
    EXPECT_EQ(buffer.GetWidth(), 2);
    EXPECT_EQ(buffer.GetHeight(), 3);
    EXPECT_EQ(buffer.BlockSize(), 2u * 3u * 4u + 3u * 8u);
}

}  // namespace
