// The preview clock: its class follows the record and the skin, it is drawn
// into the taskbar imitation at the strip's far end or over the wallpaper,
// and damaged records are drawn without harm.
#include <gtest/gtest.h>

#include <cstring>

#include "common/graphics/faces/mech_clock.h"
#include "common/graphics/faces/timer_face.h"
#include "common/records/clock_table.h"
#include "settings/preview.h"
#include "settings/preview_state.h"
#include "tests/previews/preview_fixture.h"
#include "tests/skins/analogue_fixtures.h"

using namespace previews_test;

TEST_F(PreviewTest, TheClassOfThePreviewFollowsTheRecordAndTheSkin) {
    ShowRecord(MakeClock(1, L"A"));
    ASSERT_TRUE(HasPreviewClock());
    EXPECT_EQ(dynamic_cast<CTimer*>(Preview().clock.get()), nullptr);
    EXPECT_EQ(dynamic_cast<CMechClock*>(Preview().clock.get()), nullptr);

    ClockRecord timer = MakeClock(1, L"T");
    timer.kind = kClockTimer | kClockCountdown;
    ShowRecord(timer);
    EXPECT_NE(dynamic_cast<CTimer*>(Preview().clock.get()), nullptr);

    // A desktop clock draws with its own skin: an analogue one gives a dial.
    ASSERT_TRUE(folder_.WriteBmp(L"Dial", L"clkface.bmp", 60, 80, skins_test::FacePicture(60, 20)));
    ClockRecord dial = MakeClock(1, L"D");
    dial.on_desktop = 1;
    wcsncpy(dial.skin, L"Dial", 79);
    ShowRecord(dial);
    EXPECT_NE(dynamic_cast<CMechClock*>(Preview().clock.get()), nullptr);
    EXPECT_TRUE(PreviewDesktopMode());

    // ...but never for a timer, which a dial cannot show.
    dial.kind = kClockTimer;
    ShowRecord(dial);
    EXPECT_NE(dynamic_cast<CTimer*>(Preview().clock.get()), nullptr);

    DestroyPreviewClock();
    EXPECT_FALSE(HasPreviewClock());
    EXPECT_EQ(PreviewClockRecord(), nullptr);
}

TEST_F(PreviewTest, TheTaskbarPreviewDrawsTheClockAtTheFarEndOfTheStrip) {
    ShowRecord(MakeClock(1, L"Abc"));
    CDibSection shot;
    PaintClock(shot);
    const RECT face = Preview().clock->GetRect();
    const int faceWidth = face.right - face.left;
    ASSERT_GT(faceWidth, 0);
    ASSERT_LT(faceWidth + 8, kControlWidth);
    // A horizontal taskbar 30 high: a strip 30 high in the middle of the control.
    const int top = (kControlHeight - 30) / 2;
    EXPECT_GT(InkInColumns(shot, kControlWidth - 4 - faceWidth, kControlWidth - 4, top, top + 30), 20);
    EXPECT_EQ(InkInColumns(shot, 0, kControlWidth - 8 - faceWidth, top + 1, top + 29), 0);
    // Above the strip the desktop shows.
    EXPECT_EQ(Pixel(shot, 5, 0), AsPixel(GetSysColor(COLOR_BACKGROUND)));
}

TEST_F(PreviewTest, RedrawsComeOnlyWithANewSecondOrWhenForced) {
    ShowRecord(MakeClock(1, L"A"));
    EXPECT_TRUE(DrawTaskbarPreview(control_, true));
    // Two calls in the same second: the second one draws nothing. A pair
    // that straddles a turn of the second is tried again.
    bool sameSecond = false, again = true;
    for (int tries = 0; tries < 5 && !sameSecond; ++tries) {
        EXPECT_TRUE(DrawTaskbarPreview(control_, true));
        SYSTEMTIME before, after;
        GetSystemTime(&before);
        again = DrawTaskbarPreview(control_, false);
        GetSystemTime(&after);
        sameSecond = before.wSecond == after.wSecond;
    }
    ASSERT_TRUE(sameSecond);
    EXPECT_FALSE(again);
    EXPECT_TRUE(DrawTaskbarPreview(control_, true));
}

TEST_F(PreviewTest, AVerticalTaskbarTurnsTheStripOnItsSide) {
    ShowRecord(MakeClock(1, L"A"));
    PlaceTaskbar(0, 0, 60, 600);
    CDibSection shot;
    PaintClock(shot);
    // A vertical strip 60 wide in the middle; the desktop to its left.
    const int left = (kControlWidth - 60) / 2;
    EXPECT_EQ(Pixel(shot, left - 5, kControlHeight / 2), AsPixel(GetSysColor(COLOR_BACKGROUND)));
    EXPECT_GT(InkInColumns(shot, left + 1, left + 59, 0, kControlHeight), 0);
    const SIZE area = PreviewClockArea(taskbar_, true);
    EXPECT_EQ(area.cx, 52);
    EXPECT_EQ(area.cy, 300);
    EXPECT_EQ(PreviewClockArea(taskbar_, false).cx, 50);
    PlaceTaskbar(0, 570, 800, 30);
    EXPECT_EQ(PreviewClockArea(taskbar_, false).cy, 26);
    EXPECT_EQ(PreviewClockArea(taskbar_, true).cx, 400);
}

TEST_F(PreviewTest, AFaceWiderThanTheControlIsShownWhole) {
    // The shipped letter cells are wide: prefix, date and time outgrow the control.
    ASSERT_TRUE(folder_.CopyShipped(L"Slate LCD"));
    ClockRecord wide = MakeClock(1, L"Somewhere far away");
    wcsncpy(wide.dateformat, L"dddd d MMMM yyyy", 31);
    wcsncpy(wide.skin, L"Slate LCD", 79);
    wide.on_desktop = 1;
    ShowRecord(wide);
    const RECT face = Preview().clock->GetRect();
    ASSERT_GT(face.right - face.left, kControlWidth);
    CDibSection shot;
    PaintClock(shot);
    EXPECT_GT(InkInColumns(shot, 0, kControlWidth, 0, kControlHeight), 20);
    EXPECT_EQ(InkInColumns(shot, kControlWidth - 2, kControlWidth, 0, kControlHeight), 0) << "the time's end is shown";
}

TEST_F(PreviewTest, WithoutATaskbarTheControlShowsTheButtonFace) {
    ShowRecord(MakeClock(1, L"A"));
    DestroyWindow(taskbar_);
    taskbar_ = nullptr;
    PreviewEnvironment none;
    none.findTaskbar = [] { return HWND{nullptr}; };
    SetPreviewEnvironment(none);
    CDibSection shot;
    PaintClock(shot);
    EXPECT_EQ(Pixel(shot, 3, 3), AsPixel(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(InkInColumns(shot, 0, kControlWidth, 0, kControlHeight), 0);
}

TEST_F(PreviewTest, DamagedRecordsAreDrawnWithoutHarm) {
    ClockRecord bad;
    std::memset(&bad, 0, sizeof bad);
    bad.profileCount = 99;
    bad.alarmCount = 5;
    bad.alarms = reinterpret_cast<AlarmRecord*>(0x10);  // not this program's
    for (auto& ch : bad.skin) ch = L'x';                // no terminator
    bad.on_desktop = 1;
    ShowRecord(bad);
    ASSERT_TRUE(HasPreviewClock());
    EXPECT_LE(PreviewClockRecord()->profileCount, kMaxBackgroundProfiles);
    EXPECT_EQ(PreviewClockRecord()->alarms, nullptr);
    CDibSection shot;
    PaintClock(shot);

    // A profile from elsewhere joins a full list only where there is room.
    ClockRecord full = MakeClock(1, L"F");
    full.profileCount = kMaxBackgroundProfiles;
    BackgroundProfile edited = {};
    SetPreviewProfile(&full, &edited);
    EXPECT_EQ(PreviewClockRecord()->profileCount, kMaxBackgroundProfiles);
    SetPreviewProfile(nullptr, nullptr);
    PaintClock(shot);

    // An unknown skin name still gives a clock.
    ClockRecord unknown = MakeClock(1, L"U");
    unknown.on_desktop = 1;
    wcsncpy(unknown.skin, L"No Such Skin", 79);
    ShowRecord(unknown);
    PaintClock(shot);
}

TEST_F(PreviewTest, AProfileBeingEditedIsShownAsTheClocksLast) {
    ClockRecord clock = MakeClock(1, L"P");
    clock.profileCount = 1;
    BackgroundProfile edited = {};
    CreatePreviewClock(g_settings.skin);
    SetPreviewProfile(&clock, &edited);
    ASSERT_NE(PreviewClockRecord(), nullptr);
    EXPECT_EQ(PreviewClockRecord()->profileCount, 2);
    // One of the clock's own is shown as it is.
    SetPreviewProfile(&clock, &clock.profiles[0]);
    EXPECT_EQ(PreviewClockRecord()->profileCount, 1);
}
