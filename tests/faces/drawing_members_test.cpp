#include <gtest/gtest.h>

#include "common/graphics/bitmap.h"
#include "common/graphics/pixel_buffer.h"
#include "common/graphics/pixel_ops.h"
#include "tests/faces/faces_fixtures.h"

namespace {

using namespace faces_test;

TEST(DrawingMembers, BitmapPixelsFromBitsOrFromTheDc) {
    CDibSection dib;
    ASSERT_TRUE(MakeSurface(dib, 4, 3, 0x11223344));
    ASSERT_TRUE(dib.SetPixel(1, 0, 0x80AABBCC));  // bottom row
    EXPECT_EQ(dib.GetPixel(1, 0), 0x80AABBCCu);
    EXPECT_EQ(dib.GetPixel(0, 2), 0x11223344u);
    EXPECT_EQ(dib.GetPixel(4, 0), 0xFFFFFFFFu);  // outside: the DC has nothing there

    CBitmap screen;
    ASSERT_TRUE(screen.Create(4, 3, 0, 0));
    ASSERT_TRUE(screen.SetPixel(2, 0, 0x00123456));  // bottom row: DC row 2
    EXPECT_EQ(screen.GetPixel(2, 0), 0xFF123456u);
    EXPECT_EQ(GetPixel(screen.Dc(), 2, 2), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(screen.GetPixel(-1, 0), 0xFFFFFFFFu);
    CBitmap empty;
    EXPECT_EQ(empty.GetPixel(0, 0), 0xFFFFFFFFu);
}

TEST(DrawingMembers, BufferFromAWholeBitmapAndSinglePixels) {
    CDibSection dib;
    ASSERT_TRUE(MakeSurface(dib, 5, 4, 0x00102030));
    dib.SetPixel(4, 3, 0xFF000001);
    PixelBuffer buffer(dib);
    ASSERT_TRUE(buffer.IsValid());
    EXPECT_EQ(buffer.GetWidth(), 5);
    EXPECT_EQ(buffer.Rows(), 4);
    EXPECT_EQ(buffer.GetPixel(4, 3), 0xFF000001u);
    EXPECT_TRUE(buffer.SetPixel(0, 0, 0x12345678));
    EXPECT_EQ(buffer.GetPixel(0, 0), 0x12345678u);
    EXPECT_FALSE(buffer.SetPixel(5, 0, 1));
    EXPECT_FALSE(buffer.SetPixel(0, 4, 1));
    EXPECT_FALSE(buffer.SetPixel(-1, 0, 1));
    PixelBuffer none;
    EXPECT_FALSE(none.SetPixel(0, 0, 1));
    CBitmap invalid;
    PixelBuffer fromNothing(invalid);
    EXPECT_FALSE(fromNothing.IsValid());

    auto* owned = new PixelBuffer(dib);
    DestroyPixelBuffer(owned);
    DestroyPixelBuffer(nullptr);
}

TEST(DrawingMembers, BlendColorsIsTheFirstBlend) {
    EXPECT_EQ(BlendColors(0x10203040, 0x50607080, 0), 0x10203040u);
    EXPECT_EQ(BlendColors(0x10203040, 0x50607080, 128), BlendPixels(0x10203040, 0x50607080, 128));
    EXPECT_EQ(BlendColors(0xFF000000, 0x00000000, 200), 0xFF000000u);  // same colour
}

}  // namespace
