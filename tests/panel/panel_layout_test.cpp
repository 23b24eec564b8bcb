// The panel's arithmetic: columns on a horizontal taskbar, rows on a vertical
// one, balancing, spreading, the panel rectangle, hit tests and the choice of
// clocks.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

#include "common/taskbar/clock_panel.h"
#include "common/taskbar/clock_panel_layout.h"

namespace {

PanelLayoutInput Input(int maxWidth, int maxHeight, bool horizontal, int flags, int margin) {
    PanelLayoutInput in;
    in.maxWidth = maxWidth;
    in.maxHeight = maxHeight;
    in.horizontal = horizontal;
    in.flags = flags;
    in.margin = margin;
    return in;
}

std::vector<SIZE> Same(int count, int width, int height) { return std::vector<SIZE>(count, SIZE{width, height}); }

bool Overlap(const RECT& a, const RECT& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

void ExpectRect(const RECT& r, int left, int top, int right, int bottom) {
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

}  // namespace

TEST(PanelLayout, HorizontalTaskbarStacksWhatFitsInOneColumn) {
    // 14 + 2 + 14 = 30: exactly the taskbar's height.
    const auto rects = LayoutPanelFaces({SIZE{60, 14}, SIZE{48, 14}}, Input(500, 30, true, kPanelMarginLeft, 2));
    ASSERT_EQ(rects.size(), 2u);
    ExpectRect(rects[0], 2, 0, 62, 14);  // the column is as wide as its widest face
    ExpectRect(rects[1], 2, 16, 62, 30);
    const RECT panel = MeasurePanelRect(rects, 2, kPanelMarginLeft);
    ExpectRect(panel, 0, 0, 62, 30);
}

TEST(PanelLayout, OnePixelTooManyOpensASecondColumnAndSpreadsIt) {
    const auto rects = LayoutPanelFaces({SIZE{60, 14}, SIZE{48, 15}}, Input(500, 30, true, kPanelReserveRight, 2));
    // The first column is spread to the height of the second, the tallest.
    ExpectRect(rects[0], 0, 0, 60, 15);
    ExpectRect(rects[1], 62, 0, 110, 15);
    const RECT panel = MeasurePanelRect(rects, 2, kPanelReserveRight);
    ExpectRect(panel, 0, 0, 112, 15);  // the margin kept free at the right
}

TEST(PanelLayout, AFaceTallerThanTheTaskbarStaysAloneInItsColumn) {
    const auto starts = PanelColumnStarts({40, 10, 40}, Input(500, 30, true, 0, 2));
    EXPECT_EQ(starts, (std::vector<int>{0, 1, 2}));
    const auto rects = LayoutPanelFaces({SIZE{20, 40}, SIZE{20, 10}, SIZE{20, 40}}, Input(500, 30, true, 0, 2));
    ExpectRect(rects[0], 0, 0, 20, 40);
    ExpectRect(rects[1], 22, 0, 42, 40);  // spread to the tallest column
    ExpectRect(rects[2], 44, 0, 64, 40);
}

TEST(PanelLayout, BalancingMovesFacesOnWhileTheFirstColumnStaysLongest) {
    // Three faces of 10 fit in 34 (10 + 2 + 10 + 2 + 10).
    const PanelLayoutInput in = Input(500, 34, true, 0, 2);
    // 4 faces fill 3 + 1 and balance to 2 + 2.
    EXPECT_EQ(PanelColumnStarts(std::vector<int>(4, 10), in), (std::vector<int>{0, 2}));
    // 5 faces: 3 + 2; 2 + 3 would make the last column longer than the first.
    EXPECT_EQ(PanelColumnStarts(std::vector<int>(5, 10), in), (std::vector<int>{0, 3}));
    // 7 faces fill 3 + 3 + 1; one round gives 2 + 3 + 2 (first as long as last).
    EXPECT_EQ(PanelColumnStarts(std::vector<int>(7, 10), in), (std::vector<int>{0, 2, 5}));
    // A column that cannot take the face ends the balancing: 3 + 1 where
    // the second column holds a face of 30.
    EXPECT_EQ(PanelColumnStarts({10, 10, 10, 30}, in), (std::vector<int>{0, 3}));
}

TEST(PanelLayout, ShorterColumnsShareTheirFreeSpaceEvenly) {
    // 5 faces of 10 in 34: columns 3 + 2; the second is spread from 22 to 34.
    const auto rects = LayoutPanelFaces(Same(5, 30, 10), Input(500, 34, true, 0, 2));
    ExpectRect(rects[0], 0, 0, 30, 10);
    ExpectRect(rects[2], 0, 24, 30, 34);
    ExpectRect(rects[3], 32, 0, 62, 16);  // 10 + 12 / 2
    ExpectRect(rects[4], 32, 18, 62, 34);  // the last face ends with the longest column
}

TEST(PanelLayout, VerticalTaskbarFillsRowsAgainstTheWidth) {
    // Width 100 with the margin reserved at the right: 98 usable, two faces
    // of 45 (45 + 2 + 45 = 92) in a row; the top margin is left with flag 2.
    const PanelLayoutInput in = Input(100, 500, false, kPanelMarginTop | kPanelReserveRight, 2);
    const auto rects = LayoutPanelFaces({SIZE{45, 12}, SIZE{45, 16}, SIZE{45, 12}}, in);
    ExpectRect(rects[0], 0, 2, 45, 18);  // a row is as high as its highest face
    ExpectRect(rects[1], 47, 2, 92, 18);
    ExpectRect(rects[2], 0, 20, 92, 32);  // the second row's only face spans the row
    const RECT panel = MeasurePanelRect(rects, 2, kPanelReserveRight | kPanelReserveBottom);
    ExpectRect(panel, 0, 0, 94, 34);
}

TEST(PanelLayout, MeasureLimitsLeaveTheMarginsThatComeFirst) {
    SIZE s = PanelMeasureLimits(Input(200, 30, true, kPanelMarginLeft, 2));
    EXPECT_EQ(s.cx, 198);
    EXPECT_EQ(s.cy, 30);
    s = PanelMeasureLimits(Input(60, 400, false, kPanelMarginTop, 2));
    EXPECT_EQ(s.cx, 60);
    EXPECT_EQ(s.cy, 398);
}

TEST(PanelLayout, AnyNumberOfFacesIsPlacedInOrderWithoutOverlap) {
    for (int horizontal = 0; horizontal < 2; ++horizontal) {
        for (int n = 1; n <= 30; ++n) {
            std::vector<SIZE> sizes;
            for (int i = 0; i < n; ++i) sizes.push_back(SIZE{30 + (i * 7) % 25, 11 + (i * 5) % 9});
            const PanelLayoutInput in = horizontal ? Input(600, 40, true, kPanelMarginLeft, 2)
                                                   : Input(70, 600, false, kPanelReserveBottom, 2);
            const auto rects = LayoutPanelFaces(sizes, in);
            ASSERT_EQ(static_cast<int>(rects.size()), n);
            const RECT panel = MeasurePanelRect(rects, 2, in.flags);
            for (int i = 0; i < n; ++i) {
                SCOPED_TRACE(testing::Message() << "horizontal " << horizontal << " faces " << n << " face " << i);
                // Every face at least its measured size, inside the panel.
                EXPECT_GE(rects[i].right - rects[i].left, sizes[i].cx);
                EXPECT_GE(rects[i].bottom - rects[i].top, sizes[i].cy);
                EXPECT_GE(rects[i].left, horizontal ? 2 : 0);
                EXPECT_LE(rects[i].right, panel.right);
                EXPECT_LE(rects[i].bottom, panel.bottom);
                // None of these faces is longer than the taskbar allows.
                if (horizontal) {
                    EXPECT_LE(rects[i].bottom, 40);
                } else {
                    EXPECT_LE(rects[i].right, 70);
                }
                for (int j = i + 1; j < n; ++j) EXPECT_FALSE(Overlap(rects[i], rects[j])) << "with " << j;
                // Order: the next face is below (right of) this one in the
                // same column (row), or in a later column (row).
                if (i + 1 < n) {
                    const RECT& a = rects[i];
                    const RECT& b = rects[i + 1];
                    if (horizontal) {
                        EXPECT_TRUE((b.left == a.left && b.top >= a.bottom) || b.left >= a.right);
                    } else {
                        EXPECT_TRUE((b.top == a.top && b.left >= a.right) || b.top >= a.bottom);
                    }
                }
            }
        }
    }
}

TEST(PanelLayout, NoFacesMakeAnEmptyPanel) {
    EXPECT_TRUE(LayoutPanelFaces({}, Input(100, 30, true, 1, 2)).empty());
    EXPECT_TRUE(PanelColumnStarts({}, Input(100, 30, true, 1, 2)).empty());
    const RECT panel = MeasurePanelRect({}, 2, kPanelReserveRight | kPanelReserveBottom);
    EXPECT_TRUE(IsRectEmpty(&panel));
}

TEST(PanelLayout, HitTestTakesLeftAndTopButNotRightAndBottom) {
    const std::vector<RECT> rects = {RECT{2, 0, 62, 14}, RECT{2, 16, 62, 30}};
    EXPECT_EQ(HitTestPanelRects(rects, 2, 0), 0);
    EXPECT_EQ(HitTestPanelRects(rects, 61, 13), 0);
    EXPECT_EQ(HitTestPanelRects(rects, 62, 5), -1);
    EXPECT_EQ(HitTestPanelRects(rects, 1, 5), -1);
    EXPECT_EQ(HitTestPanelRects(rects, 10, 14), -1);  // the margin between the faces
    EXPECT_EQ(HitTestPanelRects(rects, 10, 15), -1);
    EXPECT_EQ(HitTestPanelRects(rects, 10, 16), 1);
    EXPECT_EQ(HitTestPanelRects(rects, 10, 30), -1);
    EXPECT_EQ(HitTestPanelRects({}, 0, 0), -1);
}

TEST(PanelChoice, TrayClocksIsReadAsTheSettingsLoaderReadsIt) {
    EXPECT_EQ(PanelClockLimit(0), 10);
    EXPECT_EQ(PanelClockLimit(1), 1);
    EXPECT_EQ(PanelClockLimit(11), 11);
    EXPECT_EQ(PanelClockLimit(12), 12);
    EXPECT_EQ(PanelClockLimit(25), 12);
    EXPECT_EQ(PanelClockLimit(-3), 12);
}

TEST(PanelChoice, TheLastEnabledTaskbarClocksAreShown) {
    std::vector<ClockRecord> records(20);
    std::memset(records.data(), 0, records.size() * sizeof(ClockRecord));
    for (int i = 0; i < 20; ++i) records[i].enabled = i < 15;  // fifteen enabled
    auto chosen = ChoosePanelClocks(records.data(), 20, PanelClockLimit(12), false);
    ASSERT_EQ(chosen.size(), 12u);
    EXPECT_EQ(chosen.front(), 3);
    EXPECT_EQ(chosen.back(), 14);

    records[14].on_desktop = 1;
    records[13].enabled = 0;
    records[12].kind = kClockTimer;
    chosen = ChoosePanelClocks(records.data(), 20, 3, false);
    EXPECT_EQ(chosen, (std::vector<int>{10, 11, 12}));
    // An analogue skin has no face for a timer.
    chosen = ChoosePanelClocks(records.data(), 20, 3, true);
    EXPECT_EQ(chosen, (std::vector<int>{9, 10, 11}));
    // Never more than twelve faces, whatever the limit says.
    EXPECT_EQ(ChoosePanelClocks(records.data(), 20, 30, false).size(), 12u);
    EXPECT_TRUE(ChoosePanelClocks(nullptr, 5, 12, false).empty());
    EXPECT_TRUE(ChoosePanelClocks(records.data(), 0, 12, false).empty());
}
