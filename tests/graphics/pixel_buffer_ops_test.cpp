// PixelBuffer drawing operations against hand-computed pixels.
#include <gtest/gtest.h>

#include "common/graphics/grey_ramp.h"
#include "tests/graphics/graphics_test_util.h"

using graphics_test::BufferPixels;
using graphics_test::MakeBuffer;

namespace {
constexpr uint32_t kKey = 0x00FF00FF;
constexpr uint32_t kFill = 0x11111111;

// 3 x 3, memory row 0 first; every pixel distinct.
const std::vector<uint32_t> kSquare = {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004, 0xFF000005,
                                       0xFF000006, 0xFF000007, 0xFF000008, 0xFF000009};

uint32_t At(const std::vector<uint32_t>& px, int width, int c, int r) { return px[static_cast<size_t>(r * width + c)]; }
}  // namespace

TEST(PixelBufferSample, InterpolatesAndReplacesKey) {
    PixelBuffer b = MakeBuffer(3, 3, {0xFF000000, 0xFF0000FF, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000,
                                      0xFF000000, 0xFF000000, 0xFF000000});
    ASSERT_TRUE(b.IsValid());
    // Half way between black and blue, on the bottom row.
    EXPECT_EQ(b.Sample(128, 0, kKey, 0), 0xFF00007Fu);
    // Whole coordinates give the pixel itself.
    EXPECT_EQ(b.Sample(1 << 8, 0, kKey, 0), 0xFF0000FFu);

    PixelBuffer k = MakeBuffer(3, 3, {0xFF000000, kKey, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000,
                                      0xFF000000, 0xFF000000, kKey});
    // A key neighbour is read as the replacement.
    EXPECT_EQ(k.Sample(128, 0, kKey, 0xFF0000FF), 0xFF00007Fu);
    // Last column and last row: the pixel alone, key replaced, no interpolation.
    EXPECT_EQ(k.Sample((2 << 8) + 200, (2 << 8) + 10, kKey, 0x12345678), 0x12345678u);
    EXPECT_EQ(k.Sample((2 << 8) + 200, 0, kKey, 0), 0xFF000000u);
    // Outside the picture: the key.
    EXPECT_EQ(k.Sample(-1, 0, kKey, 1), kKey);
    EXPECT_EQ(k.Sample(0, -256, kKey, 1), kKey);
    EXPECT_EQ(k.Sample(3 << 8, 0, kKey, 1), kKey);
    EXPECT_EQ(k.Sample(0, 3 << 8, kKey, 1), kKey);
    EXPECT_EQ(k.Sample(0x7FFFFFFF, 0x7FFFFFFF, kKey, 1), kKey);
}

TEST(PixelBufferRotate, QuarterTurnsMapPixelsExactly) {
    PixelBuffer src = MakeBuffer(3, 3, kSquare);
    ASSERT_TRUE(src.IsValid());
    const RECT all{0, 3, 3, 0};  // left, top (larger row), right, bottom

    PixelBuffer dst = MakeBuffer(3, 3, std::vector<uint32_t>(9, kFill));
    src.DrawRotated(dst, 1, 1, 1, 1, all, 0.0, kKey);
    EXPECT_EQ(BufferPixels(dst), kSquare);

    // 90 degrees (clockwise on screen): destination (c, r) shows source (2 - r, c).
    dst = MakeBuffer(3, 3, std::vector<uint32_t>(9, kFill));
    src.DrawRotated(dst, 1, 1, 1, 1, all, 90.0, kKey);
    std::vector<uint32_t> out = BufferPixels(dst);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(At(out, 3, c, r), At(kSquare, 3, 2 - r, c)) << c << "," << r;

    // 180 degrees: (c, r) shows (2 - c, 2 - r).
    dst = MakeBuffer(3, 3, std::vector<uint32_t>(9, kFill));
    src.DrawRotated(dst, 1, 1, 1, 1, all, 180.0, kKey);
    out = BufferPixels(dst);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(At(out, 3, c, r), At(kSquare, 3, 2 - c, 2 - r)) << c << "," << r;
}

TEST(PixelBufferRotate, KeyShowsDestinationAndRectangleLimits) {
    std::vector<uint32_t> px = kSquare;
    px[4] = kKey;  // the centre is transparent
    PixelBuffer src = MakeBuffer(3, 3, px);
    PixelBuffer dst = MakeBuffer(3, 3, std::vector<uint32_t>(9, kFill));
    src.DrawRotated(dst, 1, 1, 1, 1, RECT{0, 3, 3, 0}, 0.0, kKey);
    EXPECT_EQ(dst.GetPixel(1, 1), kFill);
    EXPECT_EQ(dst.GetPixel(0, 0), kSquare[0]);

    // Only the lower-left 2 x 2 of the source is drawn.
    dst = MakeBuffer(3, 3, std::vector<uint32_t>(9, kFill));
    src = MakeBuffer(3, 3, kSquare);
    src.DrawRotated(dst, 1, 1, 1, 1, RECT{0, 2, 2, 0}, 0.0, kKey);
    std::vector<uint32_t> expected = {kSquare[0], kSquare[1], kFill, kSquare[3], kSquare[4],
                                      kFill,      kFill,      kFill, kFill};
    EXPECT_EQ(BufferPixels(dst), expected);
}

TEST(PixelBufferRotate, LongSourceIsCutAtTheDestinationEdge) {
    // A 6-wide source drawn from its left edge into a 3-wide destination:
    // nothing may spill into the next row or past the block.
    std::vector<uint32_t> wide(18);
    for (size_t i = 0; i < wide.size(); ++i) wide[i] = 0xFF000100u + static_cast<uint32_t>(i);
    PixelBuffer src = MakeBuffer(6, 3, wide);
    PixelBuffer dst = MakeBuffer(3, 3, std::vector<uint32_t>(9, kFill));
    src.DrawRotated(dst, 0, 1, 0, 1, RECT{0, 3, 6, 0}, 0.0, kKey);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(dst.GetPixel(c, r), At(wide, 6, c, r)) << c << "," << r;

    // Far outside the destination, or a rectangle outside the source: nothing drawn.
    dst = MakeBuffer(3, 3, std::vector<uint32_t>(9, kFill));
    src.DrawRotated(dst, 100000, -100000, 0, 0, RECT{0, 3, 6, 0}, 33.0, kKey);
    src.DrawRotated(dst, 1, 1, 1, 1, RECT{50, 90, 70, 60}, 10.0, kKey);
    EXPECT_EQ(BufferPixels(dst), std::vector<uint32_t>(9, kFill));
    // A huge rectangle is cut to the source and drawn in bounded time.
    src.DrawRotated(dst, 1, 1, 1, 1, RECT{-0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, -0x7FFFFFFF}, 45.0, kKey);
    EXPECT_EQ(dst.Rows(), 3);
}

TEST(PixelBufferBlend, BlendFromAndBlendColor) {
    PixelBuffer d = MakeBuffer(2, 1, {0xFF000000, 0xFF102030});
    PixelBuffer s = MakeBuffer(3, 2, {kKey, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 0});
    d.BlendFrom(s, kKey, 128);
    EXPECT_EQ(d.GetPixel(0, 0), 0xFF000000u);  // key in the source: unchanged
    EXPECT_EQ(d.GetPixel(1, 0), 0xFF878F97u);

    PixelBuffer c = MakeBuffer(2, 1, {kKey, 0x80000000});
    c.BlendColor(0x00FFFFFF, kKey, 255);
    EXPECT_EQ(c.GetPixel(0, 0), kKey);
    EXPECT_EQ(c.GetPixel(1, 0), 0x80FEFEFEu);
}

TEST(PixelBufferShade, RowsColumnsAndMask) {
    const uint32_t g = 0x00808080;
    // Rows 0..3 of 4 take ramp entries 0, 64, 128, 192: -40, +16, +40, +16.
    PixelBuffer rows = MakeBuffer(2, 4, {g, g, g, g, g, kKey, g, g});
    rows.ShadeRows(kKey, GreyRamp.data());
    EXPECT_EQ(rows.GetPixel(0, 0), 0x00585858u);
    EXPECT_EQ(rows.GetPixel(1, 1), 0x00909090u);
    EXPECT_EQ(rows.GetPixel(0, 2), 0x00A8A8A8u);
    EXPECT_EQ(rows.GetPixel(1, 2), kKey);
    EXPECT_EQ(rows.GetPixel(1, 3), 0x00909090u);

    rows.ShadeRows(kKey, nullptr);  // no table: nothing
    EXPECT_EQ(rows.GetPixel(0, 0), 0x00585858u);

    PixelBuffer cols = MakeBuffer(4, 1, {g, g, kKey, g});
    cols.ShadeColumns(kKey, GreyRamp.data());
    EXPECT_EQ(BufferPixels(cols), (std::vector<uint32_t>{0x00585858, 0x00909090, kKey, 0x00909090}));

    // Masked: 2 rows in common, entries 0 and 128; only where the mask is not key.
    PixelBuffer masked = MakeBuffer(2, 3, {g, g, g, g, g, g});
    PixelBuffer mask = MakeBuffer(2, 2, {kKey, 1, 2, kKey});
    masked.ShadeRowsMasked(mask, kKey, GreyRamp.data());
    EXPECT_EQ(BufferPixels(masked), (std::vector<uint32_t>{g, 0x00585858, 0x00A8A8A8, g, g, g}));
}

TEST(PixelBufferAlpha, KeyToAlphaComparesColourOnly) {
    const std::vector<uint32_t> px = {0x12ABCDEF, 0x00112233, 0xFFABCDEF};
    PixelBuffer plain = MakeBuffer(3, 1, px);
    ASSERT_TRUE(plain.KeyToAlpha(0xFFABCDEF, false));
    EXPECT_EQ(BufferPixels(plain), (std::vector<uint32_t>{0x00ABCDEF, 0xFF112233, 0x00ABCDEF}));
    PixelBuffer pre = MakeBuffer(3, 1, px);
    ASSERT_TRUE(pre.KeyToAlpha(0x00ABCDEF, true));
    EXPECT_EQ(BufferPixels(pre), (std::vector<uint32_t>{0, 0xFF112233, 0}));
}

TEST(PixelBufferAlpha, Premultiply) {
    PixelBuffer b = MakeBuffer(3, 1, {0x00FFFFFF, 0x80FF4020, 0xFF123456});
    ASSERT_TRUE(b.Premultiply());
    EXPECT_EQ(BufferPixels(b), (std::vector<uint32_t>{0, 0x80802010, 0xFF123456}));
}

TEST(PixelBufferLightmap, AddBiased) {
    PixelBuffer d = MakeBuffer(2, 2, {0x10808080, 0x11223344, 5, 6});
    PixelBuffer s = MakeBuffer(2, 1, {0x20FF0040, 0x00808080});
    d.AddBiased(s);
    EXPECT_EQ(BufferPixels(d), (std::vector<uint32_t>{0x30FF0040, 0x11223344, 5, 6}));
}

TEST(PixelBufferResize, ShrinksByAveraging) {
    PixelBuffer b = MakeBuffer(4, 2, {0x00, 0x02, 0x10, 0x20, 0x04, 0x06, 0x30, 0x40});
    b.Resize(4, 1, true);  // width not smaller: nothing
    b.Resize(2, 2, true);  // height not smaller: nothing
    b.Resize(0, 1, true);
    EXPECT_EQ(b.GetWidth(), 4);
    EXPECT_EQ(b.Rows(), 2);

    b.Resize(2, 1, true);
    EXPECT_EQ(b.GetWidth(), 2);
    EXPECT_EQ(b.GetHeight(), 1);
    EXPECT_EQ(b.Stride(), 2);
    EXPECT_EQ(b.Rows(), 1);
    EXPECT_EQ(b.Header().bV4SizeImage, 8u);
    EXPECT_EQ(BufferPixels(b), (std::vector<uint32_t>{0x03, 0x28}));
    // The block keeps its row scratch, so the buffer can still be drawn into.
    EXPECT_EQ(b.BlockSize(), 16u);
    EXPECT_GE(GlobalSize(b.Pixels()), 16u);
    PixelBuffer one = MakeBuffer(1, 1, {0xFF0000AA});
    one.DrawRotated(b, 0, 0, 0, 0, RECT{0, 1, 1, 0}, 0.0, kKey);
    EXPECT_EQ(b.GetPixel(0, 0), 0xFF0000AAu);
}
