// What a desktop clock hands to the layered-window update must show the face:
// the surface drawn through the window's own WM_PAINT keeps alpha 0 only on
// its see-through pixels. And where a clock opens after a skin change or with
// a size stored by an older version.
#include "tests/desktop/desktop_fixture.h"

#include <cstdint>
#include <set>
#include <string>

#include "common/graphics/faces/clock_face.h"
#include "common/platform/theme_library.h"
#include "tempovia/desktop/skin_source.h"
#include "tests/support/test_support.h"

namespace desktop_test {
namespace {

struct Look {
    const wchar_t* skin;
    int transparent;
    bool themed = false;  // visual styles on: the frame's face is keyed
};

class Visible : public DesktopTest, public ::testing::WithParamInterface<Look> {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        ASSERT_TRUE(testing_support::CopyShippedSkin(L"Slate LCD", dir_.file(L"skins")));
        ASSERT_TRUE(testing_support::CopyShippedSkin(L"Daylight Dial", dir_.file(L"skins")));
    }
};

uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

TEST_P(Visible, TheSurfaceShowsTheFaceAndHidesOnlyTheKey) {
    InitClock(0, L"London");
    CopyBounded(clocks_[0].skin, GetParam().skin);
    clocks_[0].transparent = GetParam().transparent;
    struct Styles {
        bool bound;
        ~Styles() { if (bound) FreeThemeLibrary(); }
    } styles{GetParam().themed && LoadThemeLibrary()};
    if (GetParam().themed && !Themes().themesActive) GTEST_SKIP() << "no visual styles";
    // As on a system that smooths the edges of text.
    CGraphics* skin = desktop::AcquireSkin(GetParam().skin);
    ASSERT_NE(skin, nullptr);
    skin->SetFontQuality(ANTIALIASED_QUALITY);
    ASSERT_TRUE(Create(1));
    desktop::ReleaseSkin(skin);
    desktop::CClockWnd* w = Window(0);
    ASSERT_NE(w, nullptr);
    InvalidateRect(w->Handle(), nullptr, FALSE);
    UpdateWindow(w->Handle());

    const CDibSection& s = w->Surface();
    const auto* bits = static_cast<const uint32_t*>(s.Bits());
    const bool keyed = w->ColorKey() != kNoColorKey;
    const uint32_t key = keyed ? Rgb(w->ColorKey()) : 0xFFFFFFFF;
    int opaque = 0, wrong = 0;
    std::set<uint32_t> colours;
    for (int i = 0; i < s.Width() * s.Height(); ++i) {
        const uint32_t alpha = bits[i] >> 24;
        const uint32_t colour = bits[i] & 0xFFFFFF;
        if (alpha == 255) {
            ++opaque;
            colours.insert(colour);
        }
        // A digital face: opaque everywhere but on the key. An analogue one
        // may blend its edges, but never hides a pixel it drew.
        if (w->IsDigital() && alpha != (colour == key ? 0u : 255u)) ++wrong;
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(opaque, s.Width() * s.Height() / 20);
    // The ink differs from what it stands on: the key, or its own background.
    if (keyed) EXPECT_LT(opaque, s.Width() * s.Height());
    if (!keyed) EXPECT_GE(colours.size(), 2u);
    // On a key, text has no smoothed edges (blends of ink and key): only the
    // face's own few colours, ink and shadow.
    if (keyed && w->IsDigital()) {
        EXPECT_LE(colours.size(), 2u);
    }
}

INSTANTIATE_TEST_SUITE_P(Skins, Visible,
                         ::testing::Values(Look{L"Classic Tempovia Style", 0}, Look{L"Classic Tempovia Style", 1},
                                           Look{L"Standard System Clock", 0}, Look{L"Slate LCD", 0},
                                           Look{L"Slate LCD", 1}, Look{L"Classic Tempovia Style", 1, true},
                                           Look{L"Daylight Dial", 1}));

using Opening = Visible;

TEST_F(Opening, AnotherSkinsSizeStaysOnTheScreenAndOldSizesComeBackAsTheyWere) {
    const RECT work = desktop::WorkArea();
    InitClock(0, L"Here");
    CopyBounded(clocks_[0].skin, L"Slate LCD");
    WriteKey(0, L"dsk_pos_x", work.right - 20);
    WriteKey(0, L"dsk_pos_y", work.bottom - 5);
    ASSERT_TRUE(WriteIniText(UserIniPath().c_str(), Section(0).c_str(), L"dsk_skin", L"Classic Tempovia Style"));
    // A size stored in points, before faces sized fonts by their height.
    InitClock(1, L"Old");
    WriteKey(1, L"dsk_pos_x", 300);
    WriteKey(1, L"dsk_pos_y", 300);
    WriteKey(1, L"dsk_font", 12);
    ASSERT_TRUE(WriteIniText(UserIniPath().c_str(), Section(1).c_str(), L"dsk_skin", L"Standard System Clock"));
    ASSERT_TRUE(Create(2));

    const RECT r = RectOf(Window(0));
    EXPECT_LE(r.right, work.right);
    EXPECT_LE(r.bottom, work.bottom);
    EXPECT_GE(r.left, work.left);

    HDC screen = GetDC(nullptr);
    const int twelvePoints = -MulDiv(12, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    const int font = Window(1)->Face()->GetFontSize();
    EXPECT_NEAR(font, twelvePoints, 1);
    Window(1)->Save();
    EXPECT_EQ(ReadKey(1, L"dsk_font"), font);
}

}  // namespace
}  // namespace desktop_test
