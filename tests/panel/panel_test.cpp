// The clock panel with real faces: which clocks get a face and of what kind,
// the layout of measured faces, the once-a-second update and the painting,
// read back pixel by pixel.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "common/graphics/dib_section.h"
#include "common/graphics/faces/mech_clock.h"
#include "common/graphics/faces/timer_face.h"
#include "common/taskbar/clock_panel.h"
#include "tests/faces/faces_fixtures.h"
#include "tests/skins/analogue_fixtures.h"
#include "tests/skins/skins_fixtures.h"

using faces_test::CountOther;
using faces_test::InitClock;
using faces_test::PixelAt;
using faces_test::Time;

namespace {

constexpr uint32_t kPaper = 0x00C08040;  // the target's colour before painting

class Panel : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(&settings_, 0, sizeof settings_);
        UseSkin(kSystemClockStyleName, false);
        settings_.trayclocks = 12;
        settings_.overlayprefixes = 1;
        dc_ = CreateCompatibleDC(nullptr);
    }
    void TearDown() override {
        panel_.Clear();
        if (dc_) DeleteDC(dc_);
    }

    void UseSkin(const wchar_t* name, bool folder) {
        wcsncpy(settings_.skin, name, 79);
        settings_.skinIsFolder = folder ? 1 : 0;
        settings_.classicStyle = _wcsicmp(name, kClassicStyleName) == 0 ? 1 : 0;
    }

    // n enabled clocks "P<i>" showing hours and minutes.
    void MakeClocks(int n) {
        records_.assign(n, ClockRecord{});
        for (int i = 0; i < n; ++i) {
            wchar_t prefix[8];
            swprintf(prefix, 8, L"P%d", i);
            InitClock(records_[i], L"HH:mm", L"None", prefix);
            records_[i].number = i + 1;
        }
    }

    void Load() { panel_.LoadSkins(settings_, records_.data(), static_cast<int>(records_.size())); }

    void LayOut(int maxWidth, int maxHeight, bool horizontal, int flags) {
        panel_.Tick(true, Time(2024, 5, 6, 12, 0, 0));
        panel_.Layout(dc_, nullptr, maxWidth, maxHeight, horizontal, flags);
        panel_.Measure(dc_, flags);
    }

    std::vector<RECT> FaceRects() const {
        std::vector<RECT> rects;
        for (int i = 0; i < panel_.FaceCount(); ++i) rects.push_back(panel_.Face(i)->GetRect());
        return rects;
    }

    // Paints into a surface of the given size filled with kPaper.
    bool PaintInto(CDibSection& target, int width, int height, HWND window) {
        if (!faces_test::MakeSurface(target, width, height, kPaper)) return false;
        panel_.Paint(window, target.Dc(), nullptr);
        GdiFlush();
        return true;
    }

    GlobalSettings settings_;
    std::vector<ClockRecord> records_;
    ClockPanel panel_;
    HDC dc_ = nullptr;
    skins_test::SkinFolder folder_;
};

// Pixels outside every rectangle that differ from a colour.
int CountOtherOutside(const CDibSection& dib, const std::vector<RECT>& rects, uint32_t colour) {
    int n = 0;
    for (int y = 0; y < dib.Height(); ++y) {
        for (int x = 0; x < dib.Width(); ++x) {
            const POINT p = {x, y};
            bool inside = false;
            for (const RECT& r : rects) inside = inside || PtInRect(&r, p);
            if (!inside && (PixelAt(dib, x, y) & 0xFFFFFF) != (colour & 0xFFFFFF)) ++n;
        }
    }
    return n;
}

}  // namespace

TEST_F(Panel, TheLastTwelveOfFifteenTaskbarClocksGetFaces) {
    MakeClocks(18);
    records_[0].enabled = 0;
    records_[5].on_desktop = 1;
    records_[17].enabled = 0;
    settings_.transparentskin = 1;
    Load();
    // Fifteen candidates (1..4, 6..16); the last twelve are 4 and 6..16.
    ASSERT_EQ(panel_.FaceCount(), 12);
    EXPECT_EQ(panel_.FindRecord(3), nullptr);
    ASSERT_NE(panel_.FindRecord(4), nullptr);
    EXPECT_EQ(panel_.RecordIndexOf(panel_.Face(0)), 4);
    EXPECT_EQ(panel_.RecordIndexOf(panel_.Face(11)), 16);
    EXPECT_EQ(panel_.FindClock(17), panel_.Face(11));  // by the record's number
    EXPECT_EQ(panel_.FindClock(6), nullptr);            // on the desktop
    EXPECT_EQ(records_[16].transparent, 1);
    EXPECT_EQ(panel_.Margin(), kPanelMargin);

    settings_.trayclocks = 3;
    Load();
    ASSERT_EQ(panel_.FaceCount(), 3);
    EXPECT_EQ(panel_.RecordIndexOf(panel_.Face(0)), 14);
}

TEST_F(Panel, TimerClocksGetTimerFaces) {
    MakeClocks(2);
    faces_test::InitTimer(records_[1], kClockTimer | kClockCountdown, nullptr, L"Tea");
    records_[1].number = 2;
    Load();
    ASSERT_EQ(panel_.FaceCount(), 2);
    EXPECT_EQ(dynamic_cast<CTimer*>(panel_.Face(0)), nullptr);
    EXPECT_NE(dynamic_cast<CTimer*>(panel_.Face(1)), nullptr);
}

TEST_F(Panel, FacesFillTheTaskbarWithoutOverlapping) {
    MakeClocks(6);
    Load();
    LayOut(600, 40, true, kPanelMarginLeft);
    const RECT panel = panel_.GetRect();
    EXPECT_FALSE(IsRectEmpty(&panel));
    const auto rects = FaceRects();
    for (std::size_t i = 0; i < rects.size(); ++i) {
        EXPECT_GE(rects[i].left, kPanelMargin);
        EXPECT_LE(rects[i].right, panel.right);
        EXPECT_LE(rects[i].bottom, panel.bottom);
        EXPECT_GT(rects[i].right - rects[i].left, 10);
        for (std::size_t j = i + 1; j < rects.size(); ++j) {
            RECT both;
            EXPECT_FALSE(IntersectRect(&both, &rects[i], &rects[j])) << i << " and " << j;
        }
    }
    // The faces hold a line of text each; two stack in 40 pixels.
    EXPECT_EQ(rects[0].left, rects[1].left);
    EXPECT_LE(panel.bottom, 40);

    // A vertical taskbar: rows against its width, the margin free at the bottom.
    LayOut(500, 600, false, kPanelReserveBottom);
    const RECT rows = panel_.GetRect();
    EXPECT_LE(rows.right, 500);
    EXPECT_EQ(rows.bottom, FaceRects().back().bottom + kPanelMargin);
}

TEST_F(Panel, NoClockToShowMakesAnEmptyPanelThatPaintsNothing) {
    MakeClocks(3);
    for (auto& c : records_) c.enabled = 0;
    Load();
    EXPECT_EQ(panel_.FaceCount(), 0);
    LayOut(400, 30, true, kPanelReserveRight);
    const RECT panel = panel_.GetRect();
    EXPECT_TRUE(IsRectEmpty(&panel));
    CDibSection target;
    ASSERT_TRUE(PaintInto(target, 50, 30, nullptr));
    EXPECT_EQ(CountOther(target, RECT{0, 0, 50, 30}, kPaper), 0);
    EXPECT_EQ(panel_.HitTest(0, 0), nullptr);
}

TEST_F(Panel, HitTestsFindTheFaceButNeverAClockOnTheDesktop) {
    MakeClocks(3);
    Load();
    LayOut(600, 20, true, kPanelReserveRight);
    const RECT r = panel_.Face(1)->GetRect();
    EXPECT_EQ(panel_.HitTest(r.left, r.top), panel_.Face(1));
    EXPECT_EQ(panel_.HitTest(r.right - 1, r.bottom - 1), panel_.Face(1));
    EXPECT_NE(panel_.HitTest(r.right, r.top), panel_.Face(1));
    EXPECT_EQ(panel_.HitTest(r.left, r.bottom), nullptr);
    EXPECT_EQ(panel_.HitTest(-1, 0), nullptr);
    records_[1].on_desktop = 1;
    EXPECT_EQ(panel_.HitTest(r.left, r.top), nullptr);
}

TEST_F(Panel, TickUpdatesOnNewMinutesAndOnNewSecondsOnlyForFacesWithSeconds) {
    MakeClocks(2);
    Load();
    const SYSTEMTIME t0 = Time(2024, 5, 6, 12, 0, 5);
    EXPECT_GE(panel_.Tick(false, t0), 1);  // the first tick always updates
    EXPECT_EQ(panel_.Tick(false, t0), 0);
    EXPECT_EQ(panel_.Tick(false, Time(2024, 5, 6, 12, 0, 6)), 0);
    EXPECT_EQ(records_[0].currentTime.wSecond, 5);  // no face showing seconds was touched
    EXPECT_EQ(panel_.Tick(true, Time(2024, 5, 6, 12, 0, 6)), 1);

    records_[1].showsSeconds = 1;
    EXPECT_EQ(panel_.Tick(false, Time(2024, 5, 6, 12, 0, 7)), 1);
    EXPECT_EQ(records_[1].currentTime.wSecond, 7);
    EXPECT_EQ(records_[0].currentTime.wSecond, 6);
    EXPECT_EQ(panel_.Tick(false, Time(2024, 5, 6, 12, 1, 0)), 1);  // a new minute: every face
    EXPECT_EQ(records_[0].currentTime.wMinute, 1);
}

TEST_F(Panel, ANewUtcDayUpdatesEveryFaceAtTheSameTimeOfDay) {
    MakeClocks(2);
    Load();
    panel_.Tick(false, Time(2024, 5, 6, 23, 59, 30));
    EXPECT_EQ(panel_.Tick(false, Time(2024, 5, 6, 23, 59, 31)), 0);
    // Exactly one day later, to the second: only the date key tells.
    EXPECT_GE(panel_.Tick(false, Time(2024, 5, 7, 23, 59, 31)), 1);
    EXPECT_EQ(records_[0].currentTime.wDay, 8);  // two hours east of UTC
    EXPECT_EQ(records_[1].currentTime.wDay, 8);
    EXPECT_EQ(panel_.Tick(false, Time(2024, 5, 8, 0, 0, 0)), 1);
    EXPECT_EQ(records_[0].currentTime.wHour, 2);
}

TEST_F(Panel, APreviewPaintsTheTextOfEveryClockInsideItsRectangleOverWhatWasThere) {
    MakeClocks(3);
    Load();
    LayOut(600, 20, true, kPanelMarginLeft);
    const RECT panel = panel_.GetRect();
    CDibSection target;
    ASSERT_TRUE(PaintInto(target, panel.right + 10, panel.bottom + 10, nullptr));
    const auto rects = FaceRects();
    for (const RECT& r : rects) EXPECT_GT(CountOther(target, r, kPaper), 0);
    // The margins show what was there before; so does everything outside.
    EXPECT_EQ(CountOtherOutside(target, rects, kPaper), 0);
}

TEST_F(Panel, TheTaskbarClockPaintsTheButtonFaceUnderItsClocks) {
    MakeClocks(2);
    Load();
    LayOut(600, 20, true, kPanelReserveRight);
    const RECT panel = panel_.GetRect();
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 30, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    CDibSection target;
    ASSERT_TRUE(PaintInto(target, panel.right + 10, panel.bottom + 10, window));
    DestroyWindow(window);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const uint32_t facePixel = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    const auto rects = FaceRects();
    for (const RECT& r : rects) {
        EXPECT_GT(CountOther(target, r, facePixel), 0);  // the text
        EXPECT_EQ(PixelAt(target, r.left, r.top) & 0xFFFFFF, facePixel);
    }
    // The margin kept free at the right is the panel's too.
    EXPECT_EQ(PixelAt(target, panel.right - 1, 0) & 0xFFFFFF, facePixel);
    // Outside the panel nothing changed.
    EXPECT_EQ(CountOther(target, RECT{panel.right, 0, panel.right + 10, panel.bottom + 10}, kPaper), 0);
    EXPECT_EQ(CountOther(target, RECT{0, panel.bottom, panel.right, panel.bottom + 10}, kPaper), 0);
}

TEST_F(Panel, ABackgroundPictureIsStretchedUnderTheClocks) {
    const COLORREF green = RGB(10, 200, 30);
    ASSERT_TRUE(testing_support::WriteBytes(folder_.dir().file(L"skins\\bkg.bmp"),
                                            skins_test::BmpBytes(4, 4, [&](int, int) { return green; })));
    MakeClocks(1);
    Load();
    EXPECT_TRUE(panel_.HasBackground());
    LayOut(600, 20, true, kPanelReserveRight);
    const RECT panel = panel_.GetRect();
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 30, nullptr, nullptr, nullptr, nullptr);
    CDibSection target;
    ASSERT_TRUE(PaintInto(target, panel.right, panel.bottom, window));
    DestroyWindow(window);
    EXPECT_EQ(PixelAt(target, 0, 0) & 0xFFFFFF, 0x0AC81Eu);
}

TEST_F(Panel, AnAnalogueSkinHidesTimersAndGetsAnalogueFaces) {
    ASSERT_TRUE(folder_.WriteBmp(L"Dial", L"clkface.bmp", 60, 80, skins_test::FacePicture(60, 20)));
    UseSkin(L"Dial", true);
    MakeClocks(3);
    faces_test::InitTimer(records_[1], kClockTimer, nullptr, L"Run");
    Load();
    ASSERT_EQ(panel_.FaceCount(), 2);
    EXPECT_EQ(panel_.FindRecord(1), nullptr);
    auto* mech = dynamic_cast<CMechClock*>(panel_.Face(0));
    ASSERT_NE(mech, nullptr);
    EXPECT_TRUE(mech->HasFace());
    EXPECT_TRUE(mech->GetOverlayPrefix());
    EXPECT_EQ(mech->GetHorizontalPadding(), 3);
    EXPECT_EQ(mech->GetVerticalPadding(), 0);
    EXPECT_EQ(panel_.Margin(), 0);  // the skin draws no frames

    settings_.overlayprefixes = 2;  // only 1 turns it on
    Load();
    mech = dynamic_cast<CMechClock*>(panel_.Face(0));
    ASSERT_NE(mech, nullptr);
    EXPECT_FALSE(mech->GetOverlayPrefix());

    // The faces of a panel as high as a taskbar are painted inside their rectangles.
    LayOut(600, 30, true, kPanelReserveRight);
    const RECT panel = panel_.GetRect();
    ASSERT_FALSE(IsRectEmpty(&panel));
    CDibSection target;
    ASSERT_TRUE(PaintInto(target, panel.right + 4, panel.bottom + 4, nullptr));
    for (const RECT& r : FaceRects()) EXPECT_GT(CountOther(target, r, kPaper), 0);
    EXPECT_EQ(CountOtherOutside(target, FaceRects(), kPaper), 0);
}

TEST_F(Panel, DigitalSkinFoldersPadTheirFacesAndSpaceThemByTheirFrame) {
    folder_.Skin(L"Flat");
    UseSkin(L"Flat", true);
    MakeClocks(2);
    faces_test::InitTimer(records_[1], kClockTimer | kClockCountdown, nullptr, L"Egg");
    Load();
    ASSERT_EQ(panel_.FaceCount(), 2);
    EXPECT_EQ(panel_.Face(0)->GetVerticalPadding(), 3);
    EXPECT_NE(dynamic_cast<CTimer*>(panel_.Face(1)), nullptr);
    EXPECT_EQ(panel_.Face(1)->GetVerticalPadding(), 3);
    EXPECT_EQ(panel_.Margin(), 0);

    ASSERT_TRUE(folder_.Write(L"Framed", L"skin.ini", "[border]\r\nenabled=1\r\ncolor=0x102030\r\n"));
    UseSkin(L"Framed", true);
    Load();
    EXPECT_EQ(panel_.Margin(), kPanelMargin);
}

TEST_F(Panel, TheClassicStyleFramesItsFaces) {
    UseSkin(kClassicStyleName, false);
    MakeClocks(1);
    Load();
    ASSERT_EQ(panel_.FaceCount(), 1);
    EXPECT_NE(panel_.Face(0)->GetSkin()->GetStyleKind(), kStylePlain);
    EXPECT_EQ(panel_.Face(0)->GetVerticalPadding(), 2);  // built-in styles keep the face's own padding
    EXPECT_EQ(panel_.Margin(), kPanelMargin);
}

TEST_F(Panel, AnAnalogueLabelAsTallAsASmallFaceStaysInsideItsRectangle) {
    // On a 30 pixel taskbar: a 9 point prefix and date left of the face are
    // about as tall as the face; a 28 point prefix over it is much taller.
    struct Case {
        const char* size;
        int overlay;
        int mode;
    } const cases[] = {{"9", 0, kLabelLeft}, {"28", 1, kLabelOverlay}};
    ASSERT_TRUE(folder_.CopyShipped(L"Daylight Dial"));
    UseSkin(L"Daylight Dial", true);
    settings_.transparentskin = 1;
    for (const Case& c : cases) {
        ASSERT_TRUE(folder_.Write(L"Daylight Dial", L"skin.ini",
                                  std::string("[font]\r\nface=DejaVu Sans\r\ncolor=0x22304E\r\nsize=") + c.size));
        settings_.overlayprefixes = c.overlay;
        MakeClocks(1);
        wcscpy(records_[0].prefix, L"Quay");
        wcscpy(records_[0].dateformat, L"d MMM | yyyy");  // the bar reaches the text cell's bottom
        records_[0].suffix = 1;
        Load();
        LayOut(600, 30, true, kPanelReserveRight);
        auto* mech = dynamic_cast<CMechClock*>(panel_.Face(0));
        ASSERT_NE(mech, nullptr);
        ASSERT_EQ(mech->GetLayoutMode(), c.mode) << c.size;

        // Moved off the surface's edges, so nothing past the rectangle is cut.
        RECT r = mech->GetRect();
        OffsetRect(&r, 8, 8);
        mech->SetRect(r);
        CDibSection target;
        ASSERT_TRUE(faces_test::MakeSurface(target, r.right + 8, r.bottom + 8, kPaper));
        mech->Paint(target.Dc(), nullptr);
        GdiFlush();
        EXPECT_GT(CountOther(target, r, kPaper), 0) << c.size;
        EXPECT_EQ(CountOtherOutside(target, {r}, kPaper), 0) << c.size;
    }
}

TEST_F(Panel, AnalogueLabelsStandApart) {
    ASSERT_TRUE(folder_.CopyShipped(L"Daylight Dial"));
    UseSkin(L"Daylight Dial", true);
    settings_.transparentskin = 1;
    MakeClocks(3);
    const wchar_t* names[] = {L"New York", L"London", L"Tokyo"};
    for (int i = 0; i < 3; ++i) {
        wcscpy(records_[i].prefix, names[i]);
        records_[i].suffix = 1;
    }
    Load();
    LayOut(600, 30, true, kPanelReserveRight);
    const RECT panel = panel_.GetRect();
    CDibSection target;
    ASSERT_TRUE(PaintInto(target, panel.right + 4, panel.bottom + 4, nullptr));
    // Each clock's ink, column by column: neighbours keep a blank's room.
    std::vector<RECT> faces = FaceRects();
    ASSERT_EQ(faces.size(), 3u);
    std::vector<std::pair<int, int>> ink;
    for (const RECT& r : faces) {
        int first = -1, last = -1;
        for (int x = r.left; x < r.right; ++x) {
            if (CountOther(target, RECT{x, r.top, x + 1, r.bottom}, kPaper) == 0) continue;
            if (first < 0) first = x;
            last = x;
        }
        ink.emplace_back(first, last);
    }
    for (size_t i = 1; i < ink.size(); ++i) EXPECT_GE(ink[i].first - ink[i - 1].second - 1, 6) << i;
}
