#include <gtest/gtest.h>

#include <string>

#include "common/graphics/faces/skin.h"
#include "common/graphics/pixel_buffer.h"
#include "common/platform/theme_library.h"
#include "tests/skins/skins_fixtures.h"

namespace {

using namespace faces_test;
using namespace skins_test;

constexpr uint32_t kWhite = 0x00FFFFFF;

// Draws a text with the skin at (x, y) on a white surface.
void DrawOn(CSkin& skin, CDibSection& surface, int x, int y, const wchar_t* text) {
    skin.SetDC(surface.Dc(), nullptr);
    skin.DrawText(x, y, text, 0);
    GdiFlush();
    skin.SetDC(nullptr, nullptr);
}

// A glyph file with one distinct colour per cell: cell (column, row) of a
// grid of cells cw x ch is filled with Cell(column, row) except a 1-pixel
// margin of the background at its left and top edges (where keys are read).
COLORREF CellColour(int column, int row) { return RGB(10 + column * 7, 20 + row * 60, 200 - column * 3); }
constexpr COLORREF kBack = RGB(255, 0, 255);

PixelFn CellGrid(int cw, int ch) {
    return [=](int x, int y) {
        if (x % cw == 0 || y % ch == 0) return kBack;
        return CellColour(x / cw, y / ch);
    };
}

TEST(DigitalSkin, ShippedSlateLcdDrawsSevenSegmentDigitsAndLetters) {
    SkinFolder folder;
    ASSERT_TRUE(folder.CopyShipped(L"Slate LCD"));
    CSkin skin;
    ASSERT_TRUE(skin.Load(L"slate lcd", 0, 8, FW_NORMAL, 0));
    EXPECT_STREQ(skin.GetName(), L"slate lcd");
    EXPECT_EQ(skin.GetSkinFlags(), kSkinDigits | kSkinLetters);
    EXPECT_EQ(skin.GetDigitWidth(), 14);
    EXPECT_EQ(skin.GetColonWidth(), 6);
    EXPECT_EQ(skin.GetDigitHeight(), 24);
    EXPECT_EQ(skin.GetLetterWidth(), 12);
    EXPECT_EQ(skin.GetLetterHeight(), 24);
    EXPECT_EQ(skin.DigitKey(), kSlate);
    EXPECT_EQ(skin.GetBackColor(), kSlate);
    EXPECT_TRUE(skin.GetCentreText());  // align=center
    EXPECT_EQ(skin.GetStyleKind(), kStylePlain);
    // Glyph strips have one size.
    EXPECT_FALSE(skin.SetFontHeight(20));

    SIZE size = skin.MeasureText(L"12:34", 0);
    EXPECT_EQ(size.cx, 4 * 14 + 6);
    EXPECT_EQ(size.cy, 24);
    // A colon that follows no digit is a letter cell.
    EXPECT_EQ(skin.MeasureText(L"A:1", 0).cx, 12 + 12 + 14);

    CDibSection surface;
    ASSERT_TRUE(MakeSurface(surface, 120, 40, kWhite));
    DrawOn(skin, surface, 10, 5, L"18:8");
    // "1": segments b and c only, at cell column 10 (right edge); the
    // transparent slate leaves white, unlit segments show.
    EXPECT_EQ(ColourAt(surface, 10 + 10, 5 + 6), kMint);   // b
    EXPECT_EQ(ColourAt(surface, 10 + 2, 5 + 6), kUnlit);   // f unlit
    EXPECT_EQ(ColourAt(surface, 10 + 6, 5 + 11), kUnlit);  // g unlit
    EXPECT_EQ(ColourAt(surface, 10 + 0, 5 + 0), RGB(255, 255, 255));
    // "8" in the second cell: every segment lit.
    EXPECT_EQ(ColourAt(surface, 24 + 6, 5 + 11), kMint);
    EXPECT_EQ(ColourAt(surface, 24 + 2, 5 + 6), kMint);
    // The colon's dots after the two digits, then "8" after the 6-pixel colon.
    EXPECT_EQ(ColourAt(surface, 38 + 2, 5 + 7), kMint);
    EXPECT_EQ(ColourAt(surface, 38 + 0, 5 + 7), RGB(255, 255, 255));
    EXPECT_EQ(ColourAt(surface, 44 + 6, 5 + 11), kMint);
    EXPECT_EQ(ColourAt(surface, 44 + 6 + 14, 5 + 11), RGB(255, 255, 255));
}

TEST(DigitalSkin, LowerCaseDrawsTheUpperCaseGlyphAndUnknownCodesABlank) {
    SkinFolder folder;
    ASSERT_TRUE(folder.CopyShipped(L"Slate LCD"));
    CSkin skin;
    ASSERT_TRUE(skin.Load(L"Slate LCD", 0, 8, FW_NORMAL, 0));
    CDibSection a, b;
    ASSERT_TRUE(MakeSurface(a, 40, 24, kWhite));
    ASSERT_TRUE(MakeSurface(b, 40, 24, kWhite));
    DrawOn(skin, a, 0, 0, L"MON");
    DrawOn(skin, b, 0, 0, L"mon");
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 36; ++x) ASSERT_EQ(PixelAt(a, x, y), PixelAt(b, x, y)) << x << "," << y;
    EXPECT_GT(CountOther(a, RECT{0, 0, 36, 24}, kWhite), 20);
    // A control character and one beyond the grid draw the blank cell.
    CDibSection c;
    ASSERT_TRUE(MakeSurface(c, 40, 24, kWhite));
    DrawOn(skin, c, 0, 0, L"\x01\x4E2D");
    EXPECT_EQ(CountOther(c, RECT{0, 0, 40, 24}, kWhite), 0);
}

TEST(DigitalSkin, DigitStripWidthGivesDigitAndColonWidths) {
    SkinFolder folder;
    ASSERT_TRUE(folder.WriteBmp(L"Narrow", L"digits.bmp", 113, 16, CellGrid(11, 16)));
    CSkin skin;
    ASSERT_TRUE(skin.Load(L"Narrow", 0, 8, FW_NORMAL, 0));
    EXPECT_EQ(skin.GetSkinFlags() & kSkinDigits, kSkinDigits);
    EXPECT_EQ(skin.GetDigitWidth(), 11);
    EXPECT_EQ(skin.GetColonWidth(), 3);
    EXPECT_EQ(skin.GetDigitHeight(), 16);
    // No letters and no face: the icon-title font writes the rest.
    LOGFONTW icon{};
    ICONMETRICSW m{};
    m.cbSize = sizeof m;
    SystemParametersInfoW(SPI_GETICONMETRICS, sizeof m, &m, 0);
    icon = m.lfFont;
    EXPECT_STREQ(skin.GetLogFont().lfFaceName, icon.lfFaceName);
    EXPECT_NE(skin.GetFont(), nullptr);

    // Digit 3 comes from cell 3; the digits sit centred against font text
    // that is taller than they are.
    CDibSection surface;
    ASSERT_TRUE(MakeSurface(surface, 200, 60, kWhite));
    DrawOn(skin, surface, 0, 0, L"3");
    EXPECT_EQ(ColourAt(surface, 2, 2), CellColour(3, 0));
    EXPECT_EQ(ColourAt(surface, 0, 2), RGB(255, 255, 255));
    skin.SetDC(surface.Dc(), nullptr);
    int fontHeight = skin.GetTextExtent(nullptr, L"1Wql", 4).cy;
    skin.SetDC(nullptr, nullptr);
    ASSERT_TRUE(MakeSurface(surface, 200, 60, kWhite));
    DrawOn(skin, surface, 0, 0, L"W3");
    int textWidth = 0;
    skin.SetDC(surface.Dc(), nullptr);
    textWidth = skin.GetTextExtent(nullptr, L"W", 1).cx;
    SIZE mixed = skin.MeasureText(L"W3", 0);
    skin.SetDC(nullptr, nullptr);
    EXPECT_EQ(mixed.cx, textWidth + 11);
    EXPECT_EQ(mixed.cy, std::max(fontHeight, 16));
    int v = fontHeight > 16 ? (fontHeight - 16) / 2 : 0;
    EXPECT_EQ(ColourAt(surface, textWidth + 2, v + 2), CellColour(3, 0));
}

TEST(DigitalSkin, TextFileAloneGivesLettersAndDigitsFromTheGrid) {
    SkinFolder folder;
    // 31 x 3 cells of 9 x 13 pixels.
    ASSERT_TRUE(folder.WriteBmp(L"Text", L"text.bmp", 31 * 9, 3 * 13, CellGrid(9, 13)));
    CSkin skin;
    ASSERT_TRUE(skin.Load(L"Text", 0, 8, FW_NORMAL, 0));
    EXPECT_EQ(skin.GetSkinFlags(), kSkinDigits | kSkinLetters);
    EXPECT_EQ(skin.GetLetterWidth(), 9);
    EXPECT_EQ(skin.GetLetterHeight(), 14);  // one blank row below every glyph
    EXPECT_EQ(skin.GetDigitWidth(), 9);
    EXPECT_EQ(skin.GetColonWidth(), 8);  // one pixel narrower than a digit
    EXPECT_EQ(skin.GetDigitHeight(), 14);
    EXPECT_EQ(skin.GetFont(), nullptr);

    CDibSection surface;
    ASSERT_TRUE(MakeSurface(surface, 200, 20, kWhite));
    // "7" is cell 7 of the file's second row; ":" cell 12 of it; "B" cell 1
    // of the first row, and "b" the same; "," takes ".", cell 27.
    DrawOn(skin, surface, 0, 0, L"7:Bb,");
    EXPECT_EQ(ColourAt(surface, 1, 1), CellColour(7, 1));
    EXPECT_EQ(ColourAt(surface, 9 + 1, 1), CellColour(12, 1));
    EXPECT_EQ(ColourAt(surface, 17 + 1, 1), CellColour(1, 0));
    EXPECT_EQ(ColourAt(surface, 26 + 1, 1), CellColour(1, 0));
    EXPECT_EQ(ColourAt(surface, 35 + 1, 1), CellColour(27, 1));
    // The key is the file's top-right colour: the cells' margins stay white.
    EXPECT_EQ(ColourAt(surface, 0, 1), RGB(255, 255, 255));
    // The background of the clock is the letter key.
    EXPECT_EQ(skin.GetBackColor(), kBack);
}

TEST(DigitalSkin, AFontFaceTakesOverTheLettersButKeepsTheirDigits) {
    SkinFolder folder;
    ASSERT_TRUE(folder.WriteBmp(L"Mixed", L"text.bmp", 31 * 9, 3 * 13, CellGrid(9, 13)));
    ASSERT_TRUE(folder.Write(L"Mixed", L"skin.ini", "[font]\r\nface=DejaVu Sans\r\nsize=10\r\n"));
    CSkin skin;
    ASSERT_TRUE(skin.Load(L"Mixed", 0, 8, FW_NORMAL, 0));
    EXPECT_EQ(skin.GetSkinFlags(), kSkinDigits);
    EXPECT_EQ(skin.GetDigitWidth(), 9);
    EXPECT_EQ(skin.GetBaseFontHeight(), 10);
    // Digits from the strip, the rest from the font.
    CDibSection surface;
    ASSERT_TRUE(MakeSurface(surface, 100, 30, kWhite));
    skin.SetDC(surface.Dc(), nullptr);
    SIZE word = skin.GetTextExtent(nullptr, L"am", 2);
    EXPECT_EQ(skin.MeasureText(L"7am", 0).cx, 9 + word.cx);
    skin.SetDC(nullptr, nullptr);
}

TEST(DigitalSkin, NarrowDigitFileIsSpreadAndGetsItsColonFromTheEqualsGlyph) {
    SkinFolder folder;
    // Ten 9-pixel digits; each digit's colour is its own.
    ASSERT_TRUE(folder.WriteBmp(L"Numbers", L"numbers.bmp", 90, 15, [](int x, int) {
        return x % 9 == 8 ? RGB(0, 0, 0) : CellColour(x / 9, 2);
    }));
    // A text file whose "=" is two bars: rows 3-4 and 8-9 of the cell.
    ASSERT_TRUE(folder.WriteBmp(L"Numbers", L"text.bmp", 31 * 8, 3 * 12, [](int x, int y) {
        int column = x / 8, row = y / 12, cy = y % 12;
        if (row == 1 && column == 28 && (cy == 3 || cy == 4 || cy == 8 || cy == 9)) return RGB(0, 90, 0);
        return RGB(250, 250, 250);
    }));
    CSkin skin;
    ASSERT_TRUE(skin.Load(L"Numbers", 0, 8, FW_NORMAL, 0));
    EXPECT_EQ(skin.GetDigitWidth(), 11);
    EXPECT_EQ(skin.GetColonWidth(), 8);
    EXPECT_EQ(skin.DigitStrip().Width(), 118);
    // The strip is filled with the file's top-right colour (black here).
    EXPECT_EQ(skin.DigitKey(), RGB(0, 0, 0));
    CDibSection surface;
    ASSERT_TRUE(MakeSurface(surface, 140, 20, kWhite));
    DrawOn(skin, surface, 0, 0, L"5");
    EXPECT_EQ(ColourAt(surface, 4, 3), CellColour(5, 2));
    EXPECT_EQ(ColourAt(surface, 9, 3), RGB(255, 255, 255));  // spread gap is key
    // The colon column of the strip holds the upright bars' green.
    int green = 0;
    for (int y = 0; y < 15; ++y) {
        if (BitmapPixelAt(skin.DigitStrip(), 113, y) == RGB(0, 90, 0)) ++green;
    }
    EXPECT_GT(green, 0);
    EXPECT_LT(green, 15);
}

TEST(DigitalSkin, SkinIniDescribesFontColoursShadowBorderAndAlignment) {
    SkinFolder folder;
    ASSERT_TRUE(folder.Write(L"Fonty", L"skin.ini",
                             "[font]\r\nface=DejaVu Sans\r\nsize=12\r\nwidth=5\r\nweight=700\r\nstyle=1\r\n"
                             "color=0x102030\r\nalign=right\r\n[border]\r\nenabled=1\r\ncolor=0xA0B0C0\r\n"
                             "[shadow]\r\ncolor=0x010203\r\noffset=3\r\n"));
    CSkin skin;
    ASSERT_TRUE(skin.Load(L"Fonty", 0, 8, FW_NORMAL, 0));
    EXPECT_EQ(skin.GetSkinFlags(), 0);
    EXPECT_STREQ(skin.GetName(), L"Fonty");
    EXPECT_STREQ(skin.GetLogFont().lfFaceName, L"DejaVu Sans");
    EXPECT_EQ(skin.GetLogFont().lfWeight, 700);
    EXPECT_EQ(skin.GetLogFont().lfItalic, 1);
    EXPECT_EQ(skin.GetBaseFontHeight(), 12);
    EXPECT_EQ(skin.GetTextColor(), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(skin.GetBorderColor(), RGB(0xA0, 0xB0, 0xC0));
    EXPECT_EQ(skin.GetShadowColor(), RGB(1, 2, 3));
    EXPECT_EQ(skin.GetShadowOffset(), 3);
    EXPECT_FALSE(skin.GetCentreText());
    EXPECT_EQ(skin.GetStyleKind(), Themes().themesActive ? kStyleThemedFrame : kStyleClassicFrame);
    // With only a font the height can change.
    EXPECT_TRUE(skin.SetFontHeight(-20));
    EXPECT_EQ(skin.GetFontHeight(), -20);
}

TEST(DigitalSkin, ShadowFurtherThanEightPixelsMeansNone) {
    SkinFolder folder;
    for (const char* offset : {"9", "-9", "-8"}) {
        std::string ini = std::string("[font]\r\nface=DejaVu Sans\r\n[shadow]\r\ncolor=0x000000\r\noffset=") + offset +
                          "\r\n";
        ASSERT_TRUE(folder.Write(L"Shadow", L"skin.ini", ini));
        CSkin skin;
        ASSERT_TRUE(skin.Load(L"Shadow", 0, 8, FW_NORMAL, 0));
        EXPECT_EQ(skin.GetShadowOffset(), std::string(offset) == "-8" ? -8 : 0) << offset;
        // A face with no size: 8 points.
        EXPECT_EQ(skin.GetBaseFontHeight(), 8);
    }
}

TEST(DigitalSkin, MalformedSkinIniValuesFallBackToTheirDefaults) {
    SkinFolder folder;
    ASSERT_TRUE(folder.Write(L"Typos", L"skin.ini",
                             "[font]\r\nface=DejaVu Sans\r\nsize=twelve\r\ncolor=blue\r\n"
                             "align=centre-ish-and-much-longer-than-nineteen\r\n"
                             "[border]\r\nenabled=yes\r\ncolor=0xZZ\r\n[shadow]\r\noffset=3px\r\n"));
    CSkin skin;
    ASSERT_TRUE(skin.Load(L"Typos", 0, 8, FW_NORMAL, 0));
    EXPECT_EQ(skin.GetBaseFontHeight(), 8);
    EXPECT_EQ(skin.GetTextColor(), GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(skin.GetStyleKind(), kStylePlain);
    EXPECT_EQ(skin.GetBorderColor(), kColourNotSet);
    EXPECT_EQ(skin.GetShadowOffset(), 0);
    EXPECT_EQ(skin.GetCentreText(), ThemesAvailable());
}

TEST(DigitalSkin, MissingFolderIsAFontFaceOrBuiltInStyle) {
    SkinFolder folder;
    CSkin face;
    ASSERT_TRUE(face.Load(L"DejaVu Sans", 0, 0, FW_NORMAL, 0));
    EXPECT_EQ(face.GetSkinFlags(), 0);
    EXPECT_EQ(face.GetFontSource(), kFontSourceFace);
    EXPECT_EQ(face.GetBaseFontHeight(), 8);
    CSkin classic;
    ASSERT_TRUE(classic.Load(kClassicStyleName, 0, 8, FW_NORMAL, 0));
    EXPECT_EQ(classic.GetFontSource(), kFontSourceClassic);
    EXPECT_NE(classic.GetStyleKind(), kStylePlain);
}

TEST(DigitalSkin, DamagedOrTooSmallBitmapsAreLeftOut) {
    SkinFolder folder;
    // Not a bitmap at all, a letter grid smaller than 16 x 14 pixels, and a
    // digit file too narrow for ten digits.
    ASSERT_TRUE(folder.Write(L"Broken", L"digits.bmp", "BM this is not a bitmap"));
    ASSERT_TRUE(folder.WriteBmp(L"Broken", L"alphas.bmp", 10, 10, [](int, int) { return RGB(1, 2, 3); }));
    ASSERT_TRUE(folder.WriteBmp(L"Broken", L"numbers.bmp", 40, 10, [](int, int) { return RGB(1, 2, 3); }));
    ASSERT_TRUE(folder.Write(L"Broken", L"lightmap.bmp", std::string(60, '\x7f')));
    CSkin skin;
    EXPECT_TRUE(skin.Load(L"Broken", 0, 8, FW_NORMAL, 0));
    EXPECT_EQ(skin.GetSkinFlags(), 0);
    // It still draws, with the icon-title font.
    CDibSection surface;
    ASSERT_TRUE(MakeSurface(surface, 100, 30, kWhite));
    skin.SetTextColor(RGB(0, 0, 0));
    DrawOn(skin, surface, 0, 0, L"12:30");
    EXPECT_GT(CountOther(surface, RECT{0, 0, 100, 30}, kWhite), 0);
}

TEST(DigitalSkin, BackgroundIsTheKeyColourStretchedOrFramed) {
    SkinFolder folder;
    ASSERT_TRUE(folder.CopyShipped(L"Slate LCD"));
    CSkin skin;
    ASSERT_TRUE(skin.Load(L"Slate LCD", 0, 8, FW_NORMAL, 0));
    CDibSection surface;
    ASSERT_TRUE(MakeSurface(surface, 50, 30, kWhite));
    skin.SetDC(surface.Dc(), nullptr);
    skin.FillBackground(RECT{5, 5, 45, 25}, kColourNotSet);
    GdiFlush();
    EXPECT_EQ(ColourAt(surface, 5, 5), kSlate);
    EXPECT_EQ(ColourAt(surface, 44, 24), kSlate);
    EXPECT_EQ(ColourAt(surface, 4, 4), RGB(255, 255, 255));
    // An explicit colour is used as it is.
    skin.FillBackground(RECT{0, 0, 10, 10}, RGB(200, 0, 0));
    GdiFlush();
    EXPECT_EQ(ColourAt(surface, 1, 1), RGB(200, 0, 0));
    // A framed style draws a frame of the key colour.
    skin.SetStyleKind(kStyleClassicFrame);
    skin.SetDC(nullptr, nullptr);
    ASSERT_TRUE(MakeSurface(surface, 50, 30, kWhite));
    skin.SetDC(surface.Dc(), nullptr);
    skin.FillBackground(RECT{5, 5, 45, 25}, kColourNotSet);
    GdiFlush();
    EXPECT_EQ(ColourAt(surface, 5, 5), kSlate);
    EXPECT_EQ(ColourAt(surface, 25, 15), kSlate);
    skin.SetDC(nullptr, nullptr);
}

TEST(DigitalSkin, LightmapIsShrunkAndAddedAroundGrey128) {
    SkinFolder folder;
    // Left half brighter than neutral, right half neutral.
    ASSERT_TRUE(folder.WriteBmp(L"Lit", L"lightmap.bmp", 40, 40, [](int x, int) {
        return x < 20 ? RGB(168, 168, 168) : RGB(128, 128, 128);
    }));
    ASSERT_TRUE(folder.WriteBmp(L"Lit", L"digits.bmp", 110, 10, [](int, int) { return RGB(0, 0, 0); }));
    CSkin skin;
    ASSERT_TRUE(skin.Load(L"Lit", 0, 8, FW_NORMAL, 0));
    EXPECT_EQ(skin.GetSkinFlags(), kSkinDigits | kSkinLightmap);
    CDibSection target;
    ASSERT_TRUE(MakeSurface(target, 20, 20, 0xFF606060));
    PixelBuffer buffer(target);
    ASSERT_TRUE(buffer.IsValid());
    skin.ApplyLightmap(buffer, 20, 20);
    uint32_t lit = buffer.GetPixel(2, 10) & 0xFF;
    uint32_t plain = buffer.GetPixel(17, 10) & 0xFF;
    EXPECT_GT(lit, 0x60u);
    EXPECT_NEAR(static_cast<int>(plain), 0x60, 1);
    // Nothing for an empty size.
    PixelBuffer again(target);
    skin.ApplyLightmap(again, 0, 20);
    EXPECT_EQ(again.GetPixel(2, 10), PixelAt(target, 2, 9));
}

}  // namespace
