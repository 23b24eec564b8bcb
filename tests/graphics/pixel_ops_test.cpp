// Pixel arithmetic against values worked out by hand from the formulas.
#include <gtest/gtest.h>

#include <vector>

#include "common/graphics/grey_ramp.h"
#include "common/graphics/pixel_ops.h"

TEST(PixelOps, BlendPixelsWeights) {
    // Weight 0 keeps a; weight 255 is (a + 255 b) >> 8 per byte, not b.
    EXPECT_EQ(BlendPixels(0x80402010, 0x00FF00FF, 0), 0x80402010u);
    EXPECT_EQ(BlendPixels(0x10203040, 0xF0E0D0C0, 255), 0xEFDFCFBFu);
    EXPECT_EQ(BlendPixels(0x00000000, 0xFFFFFFFF, 128), 0x7F7F7F7Fu);
    // Same colour, other alpha: a as it is.
    EXPECT_EQ(BlendPixels(0x10ABCDEF, 0xFFABCDEF, 200), 0x10ABCDEFu);
    // Out-of-range weights behave as the heaviest one.
    EXPECT_EQ(BlendPixels(0x10203040, 0xF0E0D0C0, 1000), 0xEFDFCFBFu);
}

TEST(PixelOps, BlendPixelsKeepAlphaKeepsFirstAlpha) {
    EXPECT_EQ(BlendPixelsKeepAlpha(0x10000000, 0xFFFFFFFF, 128), 0x107F7F7Fu);
    EXPECT_EQ(BlendPixelsKeepAlpha(0x10ABCDEF, 0xFFABCDEF, 99), 0x10ABCDEFu);
}

TEST(PixelOps, AddPixelBiasWithRampEntries) {
    // 87 darkens by 40 (never below 0), 167 brightens by 40 (never above 255).
    EXPECT_EQ(AddPixelBias(0x40102030, 0x00575757), 0x40000008u);
    EXPECT_EQ(AddPixelBias(0x00F0E080, 0x00A7A7A7), 0x00FFFFA8u);
    // 127 leaves the colour; alphas add up and saturate.
    EXPECT_EQ(AddPixelBias(0x80123456, 0x007F7F7F), 0x80123456u);
    EXPECT_EQ(AddPixelBias(0xF0123456, 0x207F7F7F), 0xFF123456u);
    // Each channel has its own bias: red +128, green -127, blue 0.
    EXPECT_EQ(AddPixelBias(0x00405060, 0x00FF007F), 0x00C00060u);
}

TEST(PixelOps, AddPixelBiasStridedSkipsKeyAndFollowsStep) {
    std::vector<uint32_t> px = {0x00808080, 1, 0x00FF00FF, 2, 0x00101010, 3};
    AddPixelBiasStrided(px.data(), 3, 8, 0x00A7A7A7, 0x00FF00FF);
    EXPECT_EQ(px[0], 0x00A8A8A8u);
    EXPECT_EQ(px[2], 0x00FF00FFu);  // the key
    EXPECT_EQ(px[4], 0x00383838u);
    EXPECT_EQ(px[1], 1u);
    EXPECT_EQ(px[3], 2u);
    EXPECT_EQ(px[5], 3u);
    AddPixelBiasStrided(nullptr, 3, 4, 0, 0);  // nothing to do, no crash
}

TEST(PixelOps, AddPixelBiasArrayIsALightmap) {
    uint32_t d[3] = {0x10808080, 0x11223344, 0x00000000};
    const uint32_t s[3] = {0x20FF0040, 0x00808080, 0x00000000};
    AddPixelBiasArray(d, s, 3);
    EXPECT_EQ(d[0], 0x30FF0040u);
    EXPECT_EQ(d[1], 0x11223344u);  // grey 128 changes nothing
    EXPECT_EQ(d[2], 0x00000000u);
    AddPixelBiasArray(nullptr, s, 3);  // no run: nothing, no crash
    AddPixelBiasArray(d, nullptr, 3);
    AddPixelBiasArray(d, s, -1);
    EXPECT_EQ(d[0], 0x30FF0040u);
}

TEST(PixelOps, AverageColumnPixelsBoxFilter) {
    const uint32_t src[5] = {0x00000000, 0x02040608, 0x10101010, 0x20202020, 0xFF000000};
    uint32_t dst[2] = {0xDEADBEEF, 0xDEADBEEF};
    // Groups i x 2 / 5: pixels 0..2 and 3..4.
    AverageColumnPixels(src, dst, 5, 2, 4, 4);
    EXPECT_EQ(dst[0], 0x06060708u);
    EXPECT_EQ(dst[1], 0x8F101010u);

    uint32_t untouched[2] = {1, 2};
    AverageColumnPixels(src, untouched, 0, 2, 4, 4);
    AverageColumnPixels(src, untouched, 5, 0, 4, 4);
    AverageColumnPixels(src, untouched, -1, 2, 4, 4);
    EXPECT_EQ(untouched[0], 1u);
    EXPECT_EQ(untouched[1], 2u);
    AverageColumnPixels(nullptr, untouched, 5, 2, 4, 4);
    AverageColumnPixels(src, nullptr, 5, 2, 4, 4);

    // In place, with a column step.
    uint32_t column[8] = {0x10, 0, 0x30, 0, 0x50, 0, 0x70, 0};
    AverageColumnPixels(column, column, 4, 2, 8, 8);
    EXPECT_EQ(column[0], 0x20u);
    EXPECT_EQ(column[2], 0x60u);
}

TEST(PixelOps, GreyRampValues) {
    EXPECT_EQ(GreyRamp[0], 0x00575757u);    // 87
    EXPECT_EQ(GreyRamp[64], 0x008F8F8Fu);   // 87 + trunc(56.57)
    EXPECT_EQ(GreyRamp[128], 0x00A7A7A7u);  // 167
    EXPECT_EQ(GreyRamp[255], 0x00575757u);  // 87 + trunc(0.98)
    for (uint32_t entry : GreyRamp) {
        EXPECT_EQ(entry >> 24, 0u);
        EXPECT_GE(entry & 0xFF, 87u);
        EXPECT_LE(entry & 0xFF, 167u);
    }
}
