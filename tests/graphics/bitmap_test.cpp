// CBitmap, CDibSection and CTranspBitmap drawing into memory DCs, with the
// pixels read back through GDI.
#include <gtest/gtest.h>

#include <string>

#include "common/graphics/image_limits.h"
#include "common/graphics/transp_bitmap.h"
#include "tests/graphics/graphics_test_util.h"
#include "tests/support/test_support.h"

using graphics_test::MakeDib;
using graphics_test::ReadPixels;

namespace {

// A bottom-up 24-bit .bmp of 2 x 2: bottom row red, blue; top row green, white.
std::string TinyBmp() {
    std::string f;
    auto put16 = [&](uint16_t v) { f.push_back(char(v & 0xFF)), f.push_back(char(v >> 8)); };
    auto put32 = [&](uint32_t v) { put16(uint16_t(v & 0xFFFF)), put16(uint16_t(v >> 16)); };
    f += "BM";
    put32(14 + 40 + 16);
    put32(0);
    put32(14 + 40);
    put32(40);
    put32(2);
    put32(2);
    put16(1);
    put16(24);
    put32(0);
    put32(16);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    const unsigned char rows[16] = {0, 0, 255, 255, 0, 0, 0, 0, 0, 255, 0, 255, 255, 255, 0, 0};
    f.append(reinterpret_cast<const char*>(rows), sizeof rows);
    return f;
}

// A 1-bit bottom-up .bmp whose header claims the sides; `rows` rows of
// pixel data follow (all of them for an honest file).
std::string MonochromeBmp(int32_t width, int32_t height, int32_t rows) {
    const uint32_t rowBytes = ((static_cast<uint32_t>(width) + 31) / 32) * 4;
    const uint32_t dataBytes = rowBytes * static_cast<uint32_t>(rows);
    std::string f;
    auto put16 = [&](uint16_t v) { f.push_back(char(v & 0xFF)), f.push_back(char(v >> 8)); };
    auto put32 = [&](uint32_t v) { put16(uint16_t(v & 0xFFFF)), put16(uint16_t(v >> 16)); };
    f += "BM";
    put32(14 + 40 + 8 + dataBytes);
    put32(0);
    put32(14 + 40 + 8);
    put32(40);
    put32(static_cast<uint32_t>(width));
    put32(static_cast<uint32_t>(height));
    put16(1);
    put16(1);
    put32(0);
    put32(dataBytes);
    put32(2835);
    put32(2835);
    put32(2);
    put32(0);
    put32(0x000000);
    put32(0xFFFFFF);
    f.append(dataBytes, '\x55');
    return f;
}

}  // namespace

TEST(Bitmap, CreateScreenFormatAndMonochrome) {
    CBitmap screen;
    ASSERT_TRUE(screen.Create(5, 4, 0, 0));
    EXPECT_TRUE(screen.IsValid());
    EXPECT_EQ(screen.Width(), 5);
    EXPECT_EQ(screen.Height(), 4);
    HDC desktop = GetDC(nullptr);
    EXPECT_EQ(screen.BitCount(), GetDeviceCaps(desktop, BITSPIXEL) * GetDeviceCaps(desktop, PLANES));
    ReleaseDC(nullptr, desktop);
    EXPECT_EQ(screen.Bits(), nullptr);
    EXPECT_EQ(GetCurrentObject(screen.Dc(), OBJ_BITMAP), screen.Handle());

    CBitmap mono;
    ASSERT_TRUE(mono.Create(7, 3, 1, 1));
    EXPECT_EQ(mono.BitCount(), 1);

    // Free keeps the size, Destroy clears it.
    mono.Free();
    EXPECT_FALSE(mono.IsValid());
    EXPECT_EQ(mono.Width(), 7);
    mono.Destroy();
    EXPECT_EQ(mono.Width(), 0);
}

TEST(Bitmap, BadSizesFailClearly) {
    CBitmap b;
    EXPECT_FALSE(b.Create(0, 5, 0, 0));
    EXPECT_FALSE(b.Create(5, -1, 0, 0));
    EXPECT_FALSE(b.Create(1 << 20, 1 << 20, 1, 32));
    EXPECT_FALSE(b.Create(4, 4, 2, 8));
    EXPECT_FALSE(b.IsValid());
    CDibSection d;
    EXPECT_FALSE(d.Create(0, 0));
    EXPECT_FALSE(d.Create(-3, 5));
    EXPECT_FALSE(d.Create(100000, 100000));
    EXPECT_FALSE(d.Create(0x7FFFFFFF, 2));
    EXPECT_FALSE(d.IsValid());
    EXPECT_FALSE(b.Attach(nullptr));
    EXPECT_FALSE(b.LoadFile(nullptr, 0));
    EXPECT_FALSE(b.SetPixel(0, 0, 0));
    b.FillAlpha(0, 0, 1, 1, 255);  // nothing to do, no crash
    EXPECT_FALSE(b.Blit(nullptr, 0, 0, 1, 1, 0, 0, SRCCOPY));
}

TEST(Bitmap, SetPixelOnScreenBitmapSwapsToColorref) {
    CBitmap b;
    ASSERT_TRUE(b.Create(3, 2, 0, 0));
    ASSERT_TRUE(PatBlt(b.Dc(), 0, 0, 3, 2, BLACKNESS));
    // y counts from the bottom: memory row 0 is the picture's last line.
    ASSERT_TRUE(b.SetPixel(0, 0, 0x00FF0000));
    EXPECT_EQ(GetPixel(b.Dc(), 0, 1), RGB(255, 0, 0));
    ASSERT_TRUE(b.SetPixel(2, 1, 0x000000FF));
    EXPECT_EQ(GetPixel(b.Dc(), 2, 0), RGB(0, 0, 255));
    // Values with bits above the colour are refused without drawing.
    EXPECT_FALSE(b.SetPixel(1, 0, 0x01000000));
    EXPECT_EQ(GetPixel(b.Dc(), 1, 1), RGB(0, 0, 0));
    EXPECT_FALSE(b.SetPixel(3, 0, 0));
    EXPECT_FALSE(b.SetPixel(0, 2, 0));
    EXPECT_FALSE(b.SetPixel(-1, 0, 0));
}

TEST(Bitmap, DibSectionStoresWholeValuesAndFillsAlpha) {
    CDibSection d;
    ASSERT_TRUE(d.Create(4, 3));
    EXPECT_EQ(d.BitCount(), 32);
    ASSERT_NE(d.Bits(), nullptr);
    ASSERT_TRUE(d.SetPixel(1, 2, 0x01000000));
    ASSERT_TRUE(d.SetPixel(3, 0, 0xFF102030));
    auto* bits = static_cast<uint32_t*>(d.Bits());
    EXPECT_EQ(bits[2 * 4 + 1], 0x01000000u);
    EXPECT_EQ(bits[3], 0xFF102030u);

    // GDI output leaves alpha at 0; FillAlpha restores it where asked, clipped.
    RECT all{0, 0, 4, 3};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(d.Dc(), &all, red);
    DeleteObject(red);
    GdiFlush();
    EXPECT_EQ(bits[0], 0x00FF0000u);
    d.FillAlpha(-1, 1, 3, 5, 0x80);  // columns 0..1, rows 1..2
    EXPECT_EQ(bits[0], 0x00FF0000u);
    EXPECT_EQ(bits[4 + 0], 0x80FF0000u);
    EXPECT_EQ(bits[4 + 1], 0x80FF0000u);
    EXPECT_EQ(bits[4 + 2], 0x00FF0000u);
    EXPECT_EQ(bits[8 + 1], 0x80FF0000u);
    d.FillAlpha(0, 0, 0x7FFFFFFF, 0x7FFFFFFF, 0xFF);  // huge sides are clipped, not wrapped
    for (int i = 0; i < 12; ++i) EXPECT_EQ(bits[i] >> 24, 0xFFu) << i;
    d.FillAlpha(4, 0, 1, 1, 0);  // starts right of the bitmap: nothing
    d.FillAlpha(-5, 0, 5, 1, 0); // ends at its left edge: nothing
    EXPECT_EQ(bits[0] >> 24, 0xFFu);

    // Through a CBitmap, Create still makes a 32-bit DIB section.
    CBitmap* base = &d;
    ASSERT_TRUE(base->Create(2, 2, 1, 1));
    EXPECT_EQ(d.BitCount(), 32);
    EXPECT_NE(d.Bits(), nullptr);
}

TEST(Bitmap, BlitCopiesBetweenMemoryDcs) {
    CDibSection src;
    ASSERT_TRUE(MakeDib(src, 2, 2, {0xFF111111, 0xFF222222, 0xFF333333, 0xFF444444}));
    CDibSection dst;
    ASSERT_TRUE(MakeDib(dst, 3, 2, std::vector<uint32_t>(6, 0)));
    // Screen coordinates run top-down: source (1, 0) is memory row 1, column 1.
    ASSERT_TRUE(src.Blit(dst.Dc(), 2, 1, 1, 1, 1, 0, SRCCOPY));
    std::vector<uint32_t> px = ReadPixels(dst);
    ASSERT_EQ(px.size(), 6u);
    EXPECT_EQ(px[2] & 0xFFFFFF, 0x444444u);
    EXPECT_EQ(px[0], 0u);
}

TEST(Bitmap, AttachAndLoadFile) {
    HDC desktop = GetDC(nullptr);
    HBITMAP raw = CreateCompatibleBitmap(desktop, 6, 2);
    ReleaseDC(nullptr, desktop);
    CBitmap b;
    ASSERT_TRUE(b.Attach(raw));
    EXPECT_EQ(b.Width(), 6);
    EXPECT_EQ(b.Height(), 2);
    EXPECT_EQ(b.Handle(), raw);

    testing_support::TempDir dir;
    std::wstring path = dir.file(L"tiny.bmp");
    ASSERT_TRUE(testing_support::WriteBytes(path, TinyBmp()));
    ASSERT_TRUE(b.LoadFile(path.c_str(), 0));
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(b.Height(), 2);
    EXPECT_EQ(GetPixel(b.Dc(), 0, 1), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(b.Dc(), 1, 1), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(b.Dc(), 0, 0), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(b.Dc(), 1, 0), RGB(255, 255, 255));

    // A PixelBuffer reads the same picture, bottom row first.
    PixelBuffer buffer(b, 0, 0);
    ASSERT_TRUE(buffer.IsValid());
    EXPECT_EQ(buffer.GetPixel(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(buffer.GetPixel(1, 1) & 0xFFFFFF, 0xFFFFFFu);

    std::wstring junk = dir.file(L"junk.bmp");
    ASSERT_TRUE(testing_support::WriteBytes(junk, "BM not really a bitmap"));
    EXPECT_FALSE(b.LoadFile(junk.c_str(), 0));
    EXPECT_FALSE(b.IsValid());
    EXPECT_FALSE(b.LoadFile(dir.file(L"missing.bmp").c_str(), 0));
}

TEST(Bitmap, LoadFileRefusesPicturesBeyondTheLargestSide) {
    testing_support::TempDir dir;
    const int side = static_cast<int>(kMaxImageSide);
    struct Case {
        const wchar_t* name;
        std::string bytes;
        bool loads;
    } cases[] = {
        {L"widest.bmp", MonochromeBmp(side, 1, 1), true},
        {L"wide.bmp", MonochromeBmp(side + 1, 1, 1), false},
        {L"tall.bmp", MonochromeBmp(1, side + 1, side + 1), false},
        {L"topdown.bmp", MonochromeBmp(1, -(side + 1), side + 1), false},
        // A skin strip of 1 KB whose header claims 20000 x 20000.
        {L"claims.bmp", MonochromeBmp(20000, 20000, 0) + std::string(900, '\0'), false},
    };
    CBitmap b;
    for (const Case& c : cases) {
        const std::wstring path = dir.file(c.name);
        ASSERT_TRUE(testing_support::WriteBytes(path, c.bytes));
        EXPECT_EQ(b.LoadFile(path.c_str(), 0), c.loads) << c.bytes.size();
        EXPECT_EQ(b.IsValid(), c.loads);
    }
}

TEST(TranspBitmap, KeyPixelsLeaveTheTargetAlone) {
    const COLORREF key = RGB(255, 0, 255);
    CTranspBitmap glyph;
    ASSERT_TRUE(glyph.Create(3, 1, 0, 0));
    ASSERT_TRUE(glyph.SetPixel(0, 0, 0x00FF00FF));
    ASSERT_TRUE(glyph.SetPixel(1, 0, 0x00FF0000));
    ASSERT_TRUE(glyph.SetPixel(2, 0, 0x00FF00FF));

    CDibSection target;
    ASSERT_TRUE(MakeDib(target, 4, 1, std::vector<uint32_t>(4, 0x00123456)));
    // Colours the caller left in its DC must neither spoil the result nor change.
    SetBkColor(target.Dc(), RGB(0, 200, 0));
    SetTextColor(target.Dc(), RGB(9, 9, 9));
    ASSERT_TRUE(glyph.Draw(target.Dc(), 1, 0, 3, 1, 0, 0, key));
    EXPECT_EQ(glyph.Mask().BitCount(), 1);
    EXPECT_EQ(glyph.Mask().Width(), 3);
    std::vector<uint32_t> px = ReadPixels(target);
    ASSERT_EQ(px.size(), 4u);
    EXPECT_EQ(px[0] & 0xFFFFFF, 0x123456u);
    EXPECT_EQ(px[1] & 0xFFFFFF, 0x123456u);  // key
    EXPECT_EQ(px[2] & 0xFFFFFF, 0xFF0000u);  // the glyph's red pixel
    EXPECT_EQ(px[3] & 0xFFFFFF, 0x123456u);  // key
    EXPECT_EQ(GetBkColor(target.Dc()), RGB(0, 200, 0));
    EXPECT_EQ(GetTextColor(target.Dc()), RGB(9, 9, 9));
    EXPECT_EQ(GetBkColor(glyph.Dc()), RGB(255, 255, 255));

    // Destroy takes the mask with it.
    glyph.Destroy();
    EXPECT_FALSE(glyph.Mask().IsValid());
    EXPECT_FALSE(glyph.Draw(target.Dc(), 0, 0, 1, 1, 0, 0, key));
}
