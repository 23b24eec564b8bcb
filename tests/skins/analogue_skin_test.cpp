#include <gtest/gtest.h>

#include <string>

#include "common/graphics/faces/mech_skin.h"
#include "tests/skins/analogue_fixtures.h"

namespace {

using namespace faces_test;
using namespace skins_test;

// A premultiplied face pixel, y from the top of the whole picture.
uint32_t FacePixel(const CMechSkin& skin, int x, int y) { return PixelAt(skin.FaceBitmap(), x, y); }

TEST(AnalogueSkin, ShippedDaylightDialLoadsFaceAndHands) {
    SkinFolder folder;
    ASSERT_TRUE(folder.CopyShipped(L"Daylight Dial"));
    CMechSkin skin(200);
    ASSERT_TRUE(skin.Load(L"Daylight Dial", 0, 8, 0, 0));
    EXPECT_EQ(skin.GetSkinFlags(), kSkinFace);
    EXPECT_EQ(skin.FaceWidth(), 160);
    EXPECT_EQ(skin.HandRows(), 30);
    EXPECT_EQ(skin.GetFaceColour(), kAround);
    EXPECT_EQ(skin.GetBackColor(), kAround);
    EXPECT_EQ(skin.GetTextColor(), RGB(0x22, 0x30, 0x4E));
    EXPECT_EQ(skin.GetAngle(), 0);
    EXPECT_FALSE(skin.Is24HourFace());
    // Transparent around the dial (premultiplied: all zero), opaque inside.
    EXPECT_EQ(FacePixel(skin, 0, 0), 0u);
    EXPECT_EQ(FacePixel(skin, 80, 79) >> 24, 0xFFu);
    // The buffers: 30 rows of hands, 160 rows of face.
    EXPECT_EQ(skin.HandsBuffer().Rows(), 30);
    EXPECT_EQ(skin.FaceBuffer().Rows(), 160);
    EXPECT_EQ(skin.HandsBuffer().GetPixel(0, 0), 0u);
}

TEST(AnalogueSkin, WideFacesAreShrunkByAWholeFactor) {
    SkinFolder folder;
    ASSERT_TRUE(folder.WriteBmp(L"Big", L"clkface.bmp", 400, 460, FacePicture(400, 60)));
    ASSERT_TRUE(folder.Write(L"Big", L"skin.ini", "[clock]\r\naxis_ofs_x=30\r\naxis_ofs_y=-10\r\n"));
    CMechSkin halved(200);
    ASSERT_TRUE(halved.Load(L"Big", 0, 8, 0, 0));
    EXPECT_EQ(halved.FaceWidth(), 200);
    EXPECT_EQ(halved.FaceBitmap().Height(), 230);
    EXPECT_EQ(halved.GetAxisOffsetX(), 15);
    EXPECT_EQ(halved.GetAxisOffsetY(), -5);
    EXPECT_EQ(halved.GetFaceColour(), kKey);

    ASSERT_TRUE(folder.WriteBmp(L"Odd", L"clkface.bmp", 401, 461, FacePicture(401, 60)));
    CMechSkin third(200);
    ASSERT_TRUE(third.Load(L"Odd", 0, 8, 0, 0));
    EXPECT_EQ(third.FaceWidth(), 133);
    // No limit: kept as it is.
    CMechSkin whole(0);
    ASSERT_TRUE(whole.Load(L"Odd", 0, 8, 0, 0));
    EXPECT_EQ(whole.FaceWidth(), 401);
}

TEST(AnalogueSkin, ClockKeysAreReadAndTheAngleTakenModulo360) {
    SkinFolder folder;
    ASSERT_TRUE(folder.WriteBmp(L"Turned", L"clkface.bmp", 60, 80, FacePicture(60, 20)));
    for (auto [text, angle] : {std::pair{"370", 10}, std::pair{"-90", 270}, std::pair{"junk", 0}}) {
        std::string ini = std::string("[clock]\r\nface24h=1\r\nangle=") + text + "\r\n";
        ASSERT_TRUE(folder.Write(L"Turned", L"skin.ini", ini));
        CMechSkin skin;
        ASSERT_TRUE(skin.Load(L"Turned", 0, 8, 0, 0));
        EXPECT_EQ(skin.GetAngle(), angle) << text;
        EXPECT_TRUE(skin.Is24HourFace());
    }
}

TEST(AnalogueSkin, BitmapFaceKeysItsTopLeftColourToTransparent) {
    SkinFolder folder;
    ASSERT_TRUE(folder.WriteBmp(L"Keyed", L"clkface.bmp", 60, 80, FacePicture(60, 20)));
    CMechSkin skin;
    ASSERT_TRUE(skin.Load(L"Keyed", 0, 8, 0, 0));
    EXPECT_EQ(skin.GetSkinFlags() & kSkinFace, kSkinFace);
    EXPECT_EQ(FacePixel(skin, 0, 0), 0u);
    EXPECT_EQ(FacePixel(skin, 30, 29), 0xFF000000u | 0xF0F0F0u);
    EXPECT_EQ(skin.HandRows(), 20);
    EXPECT_TRUE(skin.HandsBuffer().IsValid());
}

TEST(AnalogueSkin, SquareFaceLoadsWithoutHands) {
    SkinFolder folder;
    ASSERT_TRUE(folder.WriteBmp(L"Square", L"clkface.bmp", 60, 60, FacePicture(60, 0)));
    CMechSkin skin;
    ASSERT_TRUE(skin.Load(L"Square", 0, 8, 0, 0));
    EXPECT_TRUE(skin.HasFace());
    EXPECT_EQ(skin.HandRows(), 0);
    EXPECT_FALSE(skin.HandsBuffer().IsValid());
    EXPECT_TRUE(skin.FaceBuffer().IsValid());
}

TEST(AnalogueSkin, DamagedPngFallsBackToTheBitmapThenToNoFace) {
    SkinFolder folder;
    std::string damaged = std::string("\x89PNG\r\n\x1a\n", 8) + std::string(200, '\x55');
    ASSERT_TRUE(folder.Write(L"Mended", L"clkface.png", damaged));
    ASSERT_TRUE(folder.WriteBmp(L"Mended", L"clkface.bmp", 60, 80, FacePicture(60, 20)));
    CMechSkin mended;
    ASSERT_TRUE(mended.Load(L"Mended", 0, 8, 0, 0));
    EXPECT_TRUE(mended.HasFace());
    EXPECT_EQ(mended.FaceWidth(), 60);

    // A truncated copy of a good PNG and nothing else: a digital skin.
    std::string good = testing_support::ReadBytes(testing_support::SourcePath(L"data/skins/Daylight Dial/clkface.png"));
    ASSERT_GT(good.size(), 200u);
    ASSERT_TRUE(folder.Write(L"Cut", L"clkface.png", good.substr(0, good.size() / 2)));
    ASSERT_TRUE(folder.Write(L"Cut", L"skin.ini", "[font]\r\nface=DejaVu Sans\r\n"));
    CMechSkin cut;
    ASSERT_TRUE(cut.Load(L"Cut", 0, 8, 0, 0));
    EXPECT_FALSE(cut.HasFace());
    EXPECT_EQ(cut.GetSkinFlags(), 0);
    EXPECT_EQ(cut.GetBackColor(), cut.CSkin::GetBackColor());
    EXPECT_STREQ(cut.GetLogFont().lfFaceName, L"DejaVu Sans");
}

TEST(AnalogueSkin, PictureLowerThanWideIsNoFace) {
    SkinFolder folder;
    ASSERT_TRUE(folder.WriteBmp(L"Flat", L"clkface.bmp", 100, 50, [](int, int) { return kDisc; }));
    CMechSkin skin;
    ASSERT_TRUE(skin.Load(L"Flat", 0, 8, 0, 0));
    EXPECT_FALSE(skin.HasFace());
    EXPECT_FALSE(skin.FaceBuffer().IsValid());
}

TEST(AnalogueSkin, BackgroundIsTheFaceColourOrTheClearCorner) {
    SkinFolder folder;
    ASSERT_TRUE(folder.CopyShipped(L"Daylight Dial"));
    CMechSkin skin(200);
    ASSERT_TRUE(skin.Load(L"Daylight Dial", 0, 8, 0, 0));
    CDibSection surface;
    ASSERT_TRUE(MakeSurface(surface, 40, 40, 0xFFFFFFFF));
    skin.SetDC(surface.Dc(), nullptr);
    // Transparent clocks: the picture's clear corner, alpha 0.
    skin.FillBackground(RECT{0, 0, 20, 20}, kColourNone);
    GdiFlush();
    EXPECT_EQ(PixelAt(surface, 5, 5), 0u);
    // With the surface registered: opaque face colour.
    skin.SetTargetBitmap(&surface);
    skin.FillBackground(RECT{10, 10, 30, 30}, skin.GetBackColor());
    GdiFlush();
    EXPECT_EQ(PixelAt(surface, 10, 10), 0xFF000000u | 0xE8EEF2u);
    EXPECT_EQ(PixelAt(surface, 29, 29), 0xFF000000u | 0xE8EEF2u);
    EXPECT_EQ(PixelAt(surface, 31, 31), 0xFFFFFFFFu);
    skin.SetTargetBitmap(nullptr);
    skin.SetDC(nullptr, nullptr);
}

}  // namespace
