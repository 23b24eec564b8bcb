#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/graphics/faces/mech_clock.h"
#include "tests/skins/analogue_fixtures.h"

namespace {

using namespace faces_test;
using namespace skins_test;

// The clock runs two hours east of UTC (faces_fixtures InitClock): UTC
// moments are chosen two hours before the zone time wanted.
SYSTEMTIME Utc(int hour, int minute, int second) {
    int h = (hour + 22) % 24;
    return Time(2024, 5, 6, h, minute, second, 1);
}

CMechSkin* LoadSkin(const wchar_t* name, int limit = 0) {
    auto* skin = new CMechSkin(limit);
    skin->Load(name, 0, 8, 0, 0);
    return skin;
}

// A rendered-face pixel at an angle (degrees clockwise from 3 o'clock) and
// distance from the pivot (x, y from the top).
COLORREF AtAngle(const CMechClock& clock, int pivotX, int pivotY, double degrees, double distance) {
    const double pi = std::acos(-1.0);
    int x = pivotX + static_cast<int>(std::lround(distance * std::cos(degrees * pi / 180)));
    int y = pivotY + static_cast<int>(std::lround(distance * std::sin(degrees * pi / 180)));
    return ColourAt(clock.RenderedFace(), x, y);
}

// The thin seconds hand blends into the dial once turned: any clearly red
// pixel of the 3 x 3 block around the point will do.
bool RedAround(const CMechClock& clock, int pivotX, int pivotY, double degrees, double distance) {
    const double pi = std::acos(-1.0);
    int x = pivotX + static_cast<int>(std::lround(distance * std::cos(degrees * pi / 180)));
    int y = pivotY + static_cast<int>(std::lround(distance * std::sin(degrees * pi / 180)));
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (GetRValue(ColourAt(clock.RenderedFace(), x + dx, y + dy)) >
                GetGValue(ColourAt(clock.RenderedFace(), x + dx, y + dy)) + 50)
                return true;
    return false;
}

class MechClock : public ::testing::Test {
protected:
    void SetUp() override {
        InitClock(record, L"HH:mm", L"None", nullptr);
        ASSERT_TRUE(MakeSurface(surface, 400, 400, 0x00FFFFFF));
    }
    SkinFolder folder;
    ClockRecord record;
    CDibSection surface;
};

TEST(MechClockAngles, HandAnglesFollowTheTime) {
    // 03:30: half-way between 3 and 4.
    EXPECT_EQ(CMechClock::HourAngle(Time(2024, 1, 1, 3, 30, 0), 0, false), 15);
    // 18:00 on a 24-hour face: straight down.
    EXPECT_EQ(CMechClock::HourAngle(Time(2024, 1, 1, 18, 0, 0), 0, true), 180);
    EXPECT_EQ(CMechClock::HourAngle(Time(2024, 1, 1, 15, 0, 0), 0, false), 0);
    EXPECT_EQ(CMechClock::HourAngle(Time(2024, 1, 1, 9, 30, 0), 0, false), 195);
    EXPECT_EQ(CMechClock::MinuteAngle(Time(2024, 1, 1, 9, 30, 0), 0), 90);
    EXPECT_EQ(CMechClock::MinuteAngle(Time(2024, 1, 1, 9, 0, 0), 45), 315);
    EXPECT_EQ(CMechClock::SecondAngle(Time(2024, 1, 1, 9, 0, 15), 0), 0);
}

TEST_F(MechClock, ShippedDialAtThreeOClockAndHalfPastNine) {
    ASSERT_TRUE(folder.CopyShipped(L"Daylight Dial"));
    CMechClock clock(&record, LoadSkin(L"Daylight Dial", 200));
    ASSERT_TRUE(clock.HasFace());
    clock.SetSize(0, 160);
    EXPECT_EQ(clock.HasChanged(Utc(3, 0, 0)), 1);
    ASSERT_TRUE(clock.RenderedFace().IsValid());
    ASSERT_EQ(clock.RenderedFace().Width(), 160);
    // Pivot: column 80, row 80 from the bottom.
    const int px = 80, py = 79;
    EXPECT_TRUE(Near(AtAngle(clock, px, py, 0, 30), kHourHand));      // hour: 3
    EXPECT_TRUE(Near(AtAngle(clock, px, py, 270, 50), kMinuteHand));  // minute: 12
    EXPECT_TRUE(Near(AtAngle(clock, px, py, 90, 40), kDial));         // 6: bare dial
    EXPECT_TRUE(Near(AtAngle(clock, px, py, 180, 40), kDial));        // 9: bare dial
    // No seconds hand unless the record asks for one (past the hour hand's tip).
    EXPECT_TRUE(Near(AtAngle(clock, px, py, 0, 52), kDial));

    EXPECT_EQ(clock.HasChanged(Utc(9, 30, 0)), 1);
    EXPECT_TRUE(Near(AtAngle(clock, px, py, 195, 30), kHourHand));
    EXPECT_TRUE(Near(AtAngle(clock, px, py, 90, 50), kMinuteHand));  // minute: 6
    EXPECT_TRUE(Near(AtAngle(clock, px, py, 0, 30), kDial));         // the hour hand moved on
    EXPECT_TRUE(Near(AtAngle(clock, px, py, 270, 50), kDial));
    // Nothing moved: nothing to draw again.
    EXPECT_EQ(clock.HasChanged(Utc(9, 30, 20)), 0);
}

TEST_F(MechClock, ABackgroundProfileTintsTheDialAndKeepsItsEdgesAndHands) {
    ASSERT_TRUE(folder.CopyShipped(L"Daylight Dial"));
    ColourAllDay(record, RGB(0, 255, 0), 0x80);
    for (int transparent : {1, 0}) {
        record.transparent = transparent;
        CMechClock clock(&record, LoadSkin(L"Daylight Dial", 200));
        clock.SetSize(0, 160);
        clock.HasChanged(Utc(3, 0, 0));
        ASSERT_GE(clock.GetActiveBackgroundIndex(), 0);
        const CDibSection& face = clock.RenderedFace();
        ASSERT_TRUE(face.IsValid());
        // A premultiplied face never holds more colour than alpha.
        int beyond = 0;
        const auto* bits = static_cast<const uint32_t*>(face.Bits());
        for (int i = 0; i < face.Width() * face.Height(); ++i) {
            const uint32_t a = bits[i] >> 24;
            if (((bits[i] >> 16) & 0xFF) > a || ((bits[i] >> 8) & 0xFF) > a || (bits[i] & 0xFF) > a) ++beyond;
        }
        EXPECT_EQ(beyond, 0) << transparent;
        const COLORREF dial = AtAngle(clock, 80, 79, 90, 40);
        const COLORREF hour = AtAngle(clock, 80, 79, 0, 30);
        EXPECT_GT(GetGValue(dial), GetRValue(dial) + 40) << "tinted green";
        EXPECT_LT(GetRValue(hour) + 60, GetRValue(dial)) << "the hour hand still shows";
    }
}

TEST_F(MechClock, SecondsHandWhenTheRecordAsksForIt) {
    ASSERT_TRUE(folder.CopyShipped(L"Daylight Dial"));
    record.seconds_hand = 1;
    CMechClock clock(&record, LoadSkin(L"Daylight Dial", 200));
    EXPECT_TRUE(clock.ShowsSeconds());
    clock.SetSize(0, 160);
    clock.HasChanged(Utc(12, 0, 15));
    EXPECT_TRUE(Near(AtAngle(clock, 80, 79, 0, 52), kSecondsHand));
    EXPECT_EQ(clock.HasChanged(Utc(12, 0, 16)), 1);
    EXPECT_TRUE(RedAround(clock, 80, 79, 6, 52));
    EXPECT_FALSE(RedAround(clock, 80, 79, -6, 52));
    EXPECT_TRUE(Near(AtAngle(clock, 80, 79, 0, 52), kDial));
}

TEST_F(MechClock, HandStripsOfTwentyAndTwelveRowsDrawHandsButNineDoNot) {
    for (int rows : {20, 12, 9}) {
        std::wstring name = L"Strip" + std::to_wstring(rows);
        ASSERT_TRUE(folder.WriteBmp(name, L"clkface.bmp", 60, 60 + rows, FacePicture(60, rows)));
        CMechClock clock(&record, LoadSkin(name.c_str()));
        ASSERT_TRUE(clock.HasFace()) << rows;
        clock.SetSize(0, 60);
        clock.HasChanged(Utc(3, 0, 0));
        ASSERT_TRUE(clock.RenderedFace().IsValid()) << rows;
        // Pivot (30, 29); the hour hand points right, the minute hand up.
        COLORREF hour = AtAngle(clock, 30, 29, 0, 15);
        COLORREF minute = AtAngle(clock, 30, 29, 270, 15);
        if (rows == 9) {
            // Too narrow for three bands: the bare face.
            EXPECT_EQ(hour, kDisc);
            EXPECT_EQ(minute, kDisc);
        } else {
            EXPECT_TRUE(Near(hour, kHour)) << rows << " " << std::hex << hour;
            EXPECT_TRUE(Near(minute, kMinute)) << rows << " " << std::hex << minute;
        }
    }
}

TEST_F(MechClock, SkinAngleAndAxisOffsetMoveTheHands) {
    ASSERT_TRUE(folder.WriteBmp(L"Offset", L"clkface.bmp", 60, 80, FacePicture(60, 20)));
    ASSERT_TRUE(folder.Write(L"Offset", L"skin.ini", "[clock]\r\nangle=90\r\naxis_ofs_x=4\r\naxis_ofs_y=6\r\n"));
    CMechClock clock(&record, LoadSkin(L"Offset"));
    clock.SetSize(0, 60);
    clock.HasChanged(Utc(3, 0, 0));
    // Pivot moved 4 right and 6 up; every hand turned a quarter further:
    // the hour hand points down, the minute hand right.
    EXPECT_TRUE(Near(AtAngle(clock, 34, 23, 90, 12), kHour));
    EXPECT_TRUE(Near(AtAngle(clock, 34, 23, 0, 12), kMinute));
}

TEST_F(MechClock, TwentyFourHourFaceTurnsTheHourHandOnceADay) {
    ASSERT_TRUE(folder.WriteBmp(L"Day", L"clkface.bmp", 60, 80, FacePicture(60, 20)));
    ASSERT_TRUE(folder.Write(L"Day", L"skin.ini", "[clock]\r\nface24h=1\r\n"));
    CMechClock clock(&record, LoadSkin(L"Day"));
    clock.SetSize(0, 60);
    clock.HasChanged(Utc(18, 0, 0));
    // Three quarters of the day: half a turn from the rest position.
    EXPECT_TRUE(Near(AtAngle(clock, 30, 29, 180, 15), kHour));
    clock.HasChanged(Utc(6, 0, 0));
    EXPECT_TRUE(Near(AtAngle(clock, 30, 29, 0, 15), kHour));
}

TEST_F(MechClock, LayoutSnapsToThePictureAndFillsTheSpace) {
    ASSERT_TRUE(folder.WriteBmp(L"F150", L"clkface.bmp", 150, 180, FacePicture(150, 30)));
    CMechClock clock(&record, LoadSkin(L"F150"));
    clock.CalcSize(surface.Dc(), 400, 400, nullptr, nullptr);
    EXPECT_EQ(clock.GetFaceSize(), 150);
    EXPECT_EQ(clock.GetLayoutMode(), kLabelInside);
    RECT r = clock.GetRect();
    EXPECT_EQ(r.right, 150 + 8);
    EXPECT_EQ(r.bottom, 150 + 4);
    EXPECT_EQ(clock.RenderedFace().Width(), 150);

    // Little room: the largest table size that fits.
    clock.CalcSize(surface.Dc(), 60, 40, nullptr, nullptr);
    EXPECT_EQ(clock.GetFaceSize(), 32);
    EXPECT_EQ(clock.RenderedFace().Width(), 32);
    // Half the picture is one of the snaps: 75 here.
    clock.CalcSize(surface.Dc(), 90, 84, nullptr, nullptr);
    EXPECT_EQ(clock.GetFaceSize(), 75);
}

TEST_F(MechClock, LabelGoesBelowOrBesideTheFace) {
    ASSERT_TRUE(folder.WriteBmp(L"F64", L"clkface.bmp", 64, 88, FacePicture(64, 24)));
    wcscpy(record.prefix, L"Oslo");
    wcscpy(record.dateformat, L"yyyy");
    CMechClock clock(&record, LoadSkin(L"F64"));
    wchar_t label[128];
    clock.FormatLabel(Time(2024, 5, 6, 1, 2, 3), label, 128);
    EXPECT_STREQ(label, L"Oslo\n2024");
    clock.SetOverlayPrefix(true);
    clock.FormatLabel(Time(2024, 5, 6, 1, 2, 3), label, 128);
    EXPECT_STREQ(label, L"Oslo");
    clock.SetOverlayPrefix(false);
    wcscpy(record.dateformat, L"None");
    clock.FormatLabel(Time(2024, 5, 6, 1, 2, 3), label, 128);
    EXPECT_STREQ(label, L"Oslo");
    wcscpy(record.dateformat, L"yyyy");

    // Tall narrow space: the label below the face.
    clock.CalcSize(surface.Dc(), 40, 200, nullptr, nullptr);
    EXPECT_EQ(clock.GetLayoutMode(), kLabelBelow);
    int face = clock.GetFaceSize();
    EXPECT_LE(face, 32);
    // Wide low space: the label left of the face.
    clock.CalcSize(surface.Dc(), 300, 40, nullptr, nullptr);
    EXPECT_EQ(clock.GetLayoutMode(), kLabelLeft);
    RECT r = clock.GetRect();
    EXPECT_GT(r.right - r.left, clock.GetFaceSize() + 8);
}

TEST_F(MechClock, ZoomStepsThroughTheTableUpToThePicture) {
    ASSERT_TRUE(folder.WriteBmp(L"F256", L"clkface.bmp", 256, 286, FacePicture(256, 30)));
    CMechClock clock(&record, LoadSkin(L"F256"));
    clock.SetSize(0, 200);
    EXPECT_TRUE(clock.Zoom(surface.Dc(), true));
    EXPECT_EQ(clock.GetFaceSize(), 250);
    EXPECT_TRUE(clock.Zoom(surface.Dc(), true));
    EXPECT_EQ(clock.GetFaceSize(), 256);
    EXPECT_FALSE(clock.Zoom(surface.Dc(), true));
    EXPECT_TRUE(clock.Zoom(surface.Dc(), false));
    EXPECT_EQ(clock.GetFaceSize(), 250);
    clock.SetSize(0, 64);
    EXPECT_FALSE(clock.Zoom(surface.Dc(), false));  // 56 is too small a face
    EXPECT_EQ(clock.GetFaceSize(), 64);
    EXPECT_TRUE(clock.CanZoom());
}

TEST_F(MechClock, PaintBlendsTheFaceOverTheFaceColour) {
    ASSERT_TRUE(folder.CopyShipped(L"Daylight Dial"));
    CMechClock clock(&record, LoadSkin(L"Daylight Dial", 200));
    clock.CalcSize(surface.Dc(), 400, 400, nullptr, nullptr);
    ASSERT_EQ(clock.GetFaceSize(), 160);
    ASSERT_EQ(clock.GetLayoutMode(), kLabelInside);
    clock.HasChanged(Utc(3, 0, 0));
    clock.Paint(surface.Dc(), nullptr);
    GdiFlush();
    RECT r = clock.GetRect();
    ASSERT_EQ(r.right, 168);
    ASSERT_EQ(r.bottom, 164);
    // The face sits centred: pivot at (4 + 80, 2 + 79).
    EXPECT_EQ(ColourAt(surface, 1, 1), kAround);
    EXPECT_TRUE(Near(ColourAt(surface, 84 + 30, 81), kHourHand));
    EXPECT_TRUE(Near(ColourAt(surface, 84, 81 - 50), kMinuteHand));
    EXPECT_TRUE(Near(ColourAt(surface, 84 - 40, 81), kDial));
    EXPECT_EQ(ColourAt(surface, 200, 200), RGB(255, 255, 255));
}

TEST_F(MechClock, TransparentClockLeavesTheBackgroundAndShowsTheSuffix) {
    ASSERT_TRUE(folder.CopyShipped(L"Daylight Dial"));
    record.transparent = 1;
    CMechClock clock(&record, LoadSkin(L"Daylight Dial", 200));
    clock.CalcSize(surface.Dc(), 400, 400, nullptr, nullptr);
    clock.HasChanged(Utc(15, 0, 0));
    clock.Paint(surface.Dc(), nullptr);
    GdiFlush();
    EXPECT_EQ(ColourAt(surface, 1, 1), RGB(255, 255, 255));

    // "PM" in the upper half of a face with the label inside: what the
    // suffix adds is the difference between the two pictures.
    record.suffix = 1;
    CDibSection withSuffix;
    ASSERT_TRUE(MakeSurface(withSuffix, 400, 400, 0x00FFFFFF));
    clock.Paint(withSuffix.Dc(), nullptr);
    GdiFlush();
    int upper = 0, lower = 0;
    for (int y = 0; y < 164; ++y)
        for (int x = 0; x < 168; ++x)
            if (PixelAt(surface, x, y) != PixelAt(withSuffix, x, y)) ++(y < 82 ? upper : lower);
    EXPECT_GT(upper, 0);
    EXPECT_EQ(lower, 0);
}

TEST_F(MechClock, WithoutAFaceItIsTheDigitalClock) {
    CMechClock mech(&record, LoadSkin(L"DejaVu Sans"));
    EXPECT_FALSE(mech.HasFace());
    auto* plain = new CSkin;
    plain->Load(L"DejaVu Sans", 0, 8, 0, 0);
    ClockRecord other = record;
    CClock digital(&other, plain);
    SYSTEMTIME at = Time(2024, 5, 6, 14, 25, 36, 1);
    mech.CalcSize(surface.Dc(), kUnlimited, kUnlimited, nullptr, &at);
    digital.CalcSize(surface.Dc(), kUnlimited, kUnlimited, nullptr, &at);
    RECT a = mech.GetRect(), b = digital.GetRect();
    EXPECT_EQ(a.right, b.right);
    EXPECT_EQ(a.bottom, b.bottom);
    EXPECT_GT(a.right, 0);
    record.showsSeconds = 1;
    EXPECT_TRUE(mech.ShowsSeconds());
    EXPECT_EQ(mech.HasChanged(Utc(3, 0, 0)), digital.HasChanged(Utc(3, 0, 0)));
    EXPECT_FALSE(mech.RenderedFace().IsValid());
    // Painting goes the digital way: text on the surface.
    mech.SetRect(RECT{0, 0, 120, 30});
    mech.GetSkin()->SetTextColor(RGB(0, 0, 0));
    mech.Paint(surface.Dc(), nullptr);
    GdiFlush();
    EXPECT_GT(CountOther(surface, RECT{0, 0, 120, 30}, 0xFFFFFF), 0);
}

}  // namespace
