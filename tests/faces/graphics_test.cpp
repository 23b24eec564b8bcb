#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "common/graphics/faces/graphics.h"
#include "common/graphics/gdi_handles.h"
#include "common/platform/theme_library.h"
#include "tests/faces/faces_fixtures.h"

namespace {

using namespace faces_test;

constexpr uint32_t kWhite = 0x00FFFFFF;

LOGFONTW StatusFont() {
    NONCLIENTMETRICSW m{};
    m.cbSize = 500;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 500, &m, 0);
    return m.lfStatusFont;
}

TEST(Graphics, BuiltInStylesAreRecognisedWhateverTheCase) {
    TestGraphics system;
    ASSERT_TRUE(system.Load(L"standard system CLOCK", 0, 0, FW_NORMAL, 0));
    EXPECT_EQ(system.GetFontSource(), kFontSourceSystemClock);
    // Size 0 becomes 8, which stands for the status-bar font's own height.
    LOGFONTW status = StatusFont();
    EXPECT_EQ(system.GetBaseFontHeight(), status.lfHeight);
    EXPECT_STREQ(system.GetLogFont().lfFaceName, status.lfFaceName);
    EXPECT_EQ(system.GetStyleKind(), kStylePlain);
    EXPECT_FALSE(system.GetCentreText());
    EXPECT_EQ(system.GetTextColor(), GetSysColor(COLOR_BTNTEXT));

    TestGraphics classic;
    ASSERT_TRUE(classic.Load(L"Classic Tempovia Style", 0, 10, FW_BOLD, 0));
    EXPECT_EQ(classic.GetFontSource(), kFontSourceClassic);
    EXPECT_EQ(classic.GetStyleKind(), Themes().themesActive ? kStyleThemedFrame : kStyleClassicFrame);
    EXPECT_TRUE(classic.GetCentreText());
    EXPECT_EQ(classic.GetBaseFontHeight(), 10);
    EXPECT_EQ(classic.GetLogFont().lfWeight, FW_BOLD);

    TestGraphics face;
    ASSERT_TRUE(face.Load(kFace, 0, 12, FW_NORMAL, 1));
    EXPECT_EQ(face.GetFontSource(), kFontSourceFace);
    EXPECT_STREQ(face.GetLogFont().lfFaceName, kFace);
    EXPECT_LT(face.GetLogFont().lfHeight, 0);  // points become a negative cell height
    EXPECT_TRUE(face.GetLogFont().lfItalic);
    EXPECT_STREQ(face.GetName(), kFace);
}

TEST(Graphics, LongNamesAndEmptyNamesAreKeptSafely) {
    std::wstring longName(400, L'x');
    TestGraphics g;
    g.Load(longName.c_str(), 0, 0, FW_NORMAL, 0);
    EXPECT_EQ(wcslen(g.GetName()), 258u);
    EXPECT_EQ(wcslen(g.GetLogFont().lfFaceName), LF_FACESIZE - 1u);
    TestGraphics none;
    none.Load(nullptr, 0, 0, 0, 0);
    EXPECT_EQ(none.GetBaseFontHeight(), 8);
    EXPECT_EQ(none.MeasureText(L"12:00", 0).cx, 0);  // no DC yet
}

TEST(Graphics, ShadowWidensMeasuredTextAndFontHeightFollowsWidth) {
    CDibSection dib;
    ASSERT_TRUE(MakeSurface(dib, 40, 40, kWhite));
    TestGraphics g;
    ASSERT_TRUE(g.Load(kFace, 4, 10, FW_NORMAL, 0));
    g.SetDC(dib.Dc(), nullptr);
    SIZE plain = g.MeasureText(L"10:45", 0);
    ASSERT_GT(plain.cx, 0);
    g.SetShadow(RGB(0, 0, 0), 2);
    SIZE shadowed = g.MeasureText(L"10:45", 0);
    EXPECT_EQ(shadowed.cx, plain.cx + 2);
    EXPECT_EQ(shadowed.cy, plain.cy + 2);
    g.SetShadow(RGB(0, 0, 0), -3);
    EXPECT_EQ(g.MeasureText(L"10:45", 3).cx, g.GetTextExtent(nullptr, L"10:", 0).cx);

    // The width scales with the height as the base size set it.
    EXPECT_TRUE(g.SetFontHeight(-40));
    EXPECT_EQ(g.GetFontHeight(), -40);
    EXPECT_EQ(g.GetLogFont().lfWidth, -40 * 4 / 10);
    g.SetShadow(kColourNotSet, 0);
    EXPECT_GT(g.MeasureText(L"10:45", 0).cx, plain.cx);
    g.SetDC(nullptr, nullptr);
}

TEST(Graphics, MultilineTextCountsEmptyLinesAsABlank) {
    CDibSection dib;
    ASSERT_TRUE(MakeSurface(dib, 40, 40, kWhite));
    TestGraphics g;
    ASSERT_TRUE(g.Load(kFace, 0, 10, FW_NORMAL, 0));
    g.SetDC(dib.Dc(), nullptr);
    SIZE a = g.MeasureText(L"Monday", 0);
    SIZE b = g.MeasureText(L"May", 0);
    SIZE blank = g.MeasureText(L" ", 1);
    SIZE m = g.MeasureMultiline(L"Monday\r\n\r\nMay", 0);
    EXPECT_EQ(m.cx, std::max(a.cx, b.cx));
    EXPECT_EQ(m.cy, a.cy + blank.cy + b.cy + 2);
    SIZE zero = g.MeasureMultiline(L"", 0);
    EXPECT_EQ(zero.cx, 0);
    EXPECT_EQ(zero.cy, 0);
    zero = g.MeasureMultiline(nullptr, 5);
    EXPECT_EQ(zero.cy, 0);
    g.SetDC(nullptr, nullptr);
}

TEST(Graphics, MultilineDrawingAlignsEachLine) {
    CDibSection dib;
    ASSERT_TRUE(MakeSurface(dib, 200, 60, kWhite));
    TestGraphics g;
    ASSERT_TRUE(g.Load(kFace, 0, 10, FW_NORMAL, 0));
    g.SetTextColor(RGB(0, 0, 0));
    g.SetDC(dib.Dc(), nullptr);
    g.DrawMultiline(150, 2, 2, L"W\nWWWW", 0);
    int first = 0, last = 0;
    ASSERT_TRUE(InkColumns(dib, kWhite, first, last));
    EXPECT_LE(last, 150);
    EXPECT_GE(last, 140);
    EXPECT_LT(first, 150 - g.MeasureText(L"WWW", 0).cx);
    g.SetDC(nullptr, nullptr);
}

TEST(Graphics, TextOnARegisteredSurfaceGetsItsAlphaBack) {
    CDibSection dib;
    ASSERT_TRUE(MakeSurface(dib, 120, 40, 0x00FFFFFF));  // alpha 0 everywhere
    TestGraphics g;
    ASSERT_TRUE(g.Load(kFace, 0, 10, FW_NORMAL, 0));
    g.SetTextColor(RGB(0, 0, 0));
    g.SetTargetBitmap(&dib);
    EXPECT_EQ(g.GetTargetBitmap(), &dib);
    g.SetDC(dib.Dc(), nullptr);
    SIZE size = g.MeasureText(L"1 : 4", 0);
    g.DrawText(10, 5, L"1 : 4", 0);
    GdiFlush();
    // Ink is opaque; the ground between and around the letters, inside the
    // text's box too, keeps its alpha of 0.
    int ink = 0, ground = 0, wrongAlpha = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 120; ++x) {
            const uint32_t p = PixelAt(dib, x, y);
            const bool inked = (p & 0x00FFFFFF) != kWhite;
            if ((p >> 24) != (inked ? 0xFFu : 0u)) ++wrongAlpha;
            const bool inBox = x >= 10 && x < 10 + size.cx && y >= 5 && y < 5 + size.cy;
            if (inBox) ++(inked ? ink : ground);
        }
    }
    EXPECT_EQ(wrongAlpha, 0);
    EXPECT_GT(ink, 5);
    EXPECT_GT(ground, ink);
    // Text partly outside the surface is clipped, not written past it.
    g.DrawText(100, 30, L"12:34", 0);
    g.DrawText(-50, -20, L"12:34", 0);
    g.SetDC(nullptr, nullptr);
}

TEST(Graphics, ShadowIsDrawnOffsetInItsOwnColour) {
    CDibSection dib;
    ASSERT_TRUE(MakeSurface(dib, 80, 40, kWhite));
    TestGraphics g;
    ASSERT_TRUE(g.Load(kFace, 0, 14, FW_BOLD, 0));
    g.SetTextColor(RGB(0, 0, 0));
    g.SetShadow(RGB(255, 0, 0), 2);
    g.SetDC(dib.Dc(), nullptr);
    g.DrawText(5, 5, L"88", 0);
    int red = 0, black = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x) {
            uint32_t p = PixelAt(dib, x, y) & 0xFFFFFF;
            if (p == 0xFF0000) ++red;
            if (p == 0x000000) ++black;
        }
    EXPECT_GT(red, 0);
    EXPECT_GT(black, 0);
    g.SetDC(nullptr, nullptr);
}

TEST(Graphics, BackgroundsByStyle) {
    CDibSection dib;
    ASSERT_TRUE(MakeSurface(dib, 60, 30, kWhite));
    RECT r{0, 0, 60, 30};

    TestGraphics face;
    ASSERT_TRUE(face.Load(kFace, 0, 8, FW_NORMAL, 0));
    face.SetDC(dib.Dc(), nullptr);
    face.FillBackground(r, kColourNone);  // a plain face draws nothing for "none"
    EXPECT_EQ(CountOther(dib, r, kWhite), 0);
    face.FillBackground(r, kColourNotSet);  // and nothing without its own colour
    EXPECT_EQ(CountOther(dib, r, kWhite), 0);
    face.SetBackColor(RGB(0, 0, 255));
    face.FillBackground(r, kColourNotSet);
    EXPECT_EQ(PixelAt(dib, 30, 15) & 0xFFFFFF, 0x0000FFu);  // blue
    face.FillBackground(r, RGB(0, 255, 0));
    EXPECT_EQ(PixelAt(dib, 0, 0) & 0xFFFFFF, 0x00FF00u);
    face.SetDC(nullptr, nullptr);

    ASSERT_TRUE(MakeSurface(dib, 60, 30, kWhite));
    TestGraphics classic;
    ASSERT_TRUE(classic.Load(kClassicStyleName, 0, 0, FW_NORMAL, 0));
    classic.SetStyleKind(kStyleThemedFrame);
    classic.SetBackColor(RGB(0, 0, 0));
    classic.SetDC(dib.Dc(), nullptr);
    classic.FillBackground(r, kColourNone);  // a built-in style draws its frame even then
    EXPECT_EQ(PixelAt(dib, 30, 15) & 0xFFFFFF, 0u);
    EXPECT_EQ(PixelAt(dib, 0, 0) & 0xFFFFFF, kWhite);  // rounded: the corner stays

    ASSERT_TRUE(MakeSurface(dib, 60, 30, kWhite));
    classic.SetDC(dib.Dc(), nullptr);
    classic.SetStyleKind(kStyleClassicFrame);
    classic.FillBackground(r, kColourNotSet);
    EXPECT_EQ(PixelAt(dib, 0, 0) & 0xFFFFFF, 0u);  // square: the corner is filled
    classic.SetDC(nullptr, nullptr);

    // A face sized in points: its rounded corners grow with its zoomed font.
    ASSERT_TRUE(MakeSurface(dib, 60, 30, kWhite));
    TestGraphics points;
    ASSERT_TRUE(points.Load(kFace, 0, 10, FW_NORMAL, 0));
    points.SetDC(dib.Dc(), nullptr);
    points.SetFontHeight(points.GetFontHeight() * 3);
    points.DrawFrame(r, true, RGB(0, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(dib, 2, 2) & 0xFFFFFF, kWhite);
    EXPECT_EQ(PixelAt(dib, 30, 15) & 0xFFFFFF, 0u);
    points.SetDC(nullptr, nullptr);
}

TEST(Graphics, ReferenceCountAsksTheOwner) {
    RecordingOwner owner;
    {
        TestGraphics g;
        g.SetDefaultOwner(&owner);
        g.AddRef();
        g.AddRef();
        EXPECT_FALSE(g.Release());
        EXPECT_EQ(owner.asked, 0);
        owner.allow = false;
        EXPECT_FALSE(g.Release());
        EXPECT_EQ(owner.asked, 1);
        owner.allow = true;
        EXPECT_TRUE(g.Release());  // already 0: stays 0 and asks again
        EXPECT_EQ(g.RefCount(), 0);
        EXPECT_EQ(owner.asked, 2);
    }
    EXPECT_EQ(owner.destroyed, 1);
    TestGraphics alone;
    EXPECT_TRUE(alone.Release());
}

TEST(Graphics, FontFollowsTheDcAndLeavesIt) {
    CDibSection a, b;
    ASSERT_TRUE(MakeSurface(a, 10, 10, kWhite));
    ASSERT_TRUE(MakeSurface(b, 10, 10, kWhite));
    HGDIOBJ original = GetCurrentObject(a.Dc(), OBJ_FONT);
    {
        TestGraphics g;
        g.Load(kFace, 0, 9, FW_NORMAL, 0);
        g.SetDC(a.Dc(), nullptr);
        EXPECT_EQ(GetCurrentObject(a.Dc(), OBJ_FONT), g.GetFont());
        g.SetDC(b.Dc(), nullptr);
        EXPECT_EQ(GetCurrentObject(a.Dc(), OBJ_FONT), original);
        EXPECT_EQ(GetCurrentObject(b.Dc(), OBJ_FONT), g.GetFont());
        g.SetFontHeight(-20);
        EXPECT_EQ(GetCurrentObject(b.Dc(), OBJ_FONT), g.GetFont());
    }
    // Destroyed while selected: the DC gets its own font back.
    EXPECT_NE(GetCurrentObject(b.Dc(), OBJ_FONT), nullptr);
    EXPECT_EQ(GetCurrentObject(b.Dc(), OBJ_FONT), GetCurrentObject(a.Dc(), OBJ_FONT));
}

TEST(Graphics, ClassicStyleFollowsVisualStyles) {
    bool saved = Themes().themesActive;
    Themes().themesActive = true;
    TestGraphics themed;
    themed.Load(kClassicStyleName, 0, 0, FW_NORMAL, 0);
    EXPECT_EQ(themed.GetStyleKind(), kStyleThemedFrame);
    Themes().themesActive = false;
    TestGraphics plain;
    plain.Load(L"classic tempovia style", 0, 0, FW_NORMAL, 0);
    EXPECT_EQ(plain.GetStyleKind(), kStyleClassicFrame);
    Themes().themesActive = saved;

    // Clocks centre text by default only where visual styles exist.
    SetThemesAvailable(true);
    TestGraphics centred;
    EXPECT_TRUE(centred.GetCentreText());
    SetThemesAvailable(false);
    TestGraphics left;
    EXPECT_FALSE(left.GetCentreText());
}

}  // namespace
