#include <gtest/gtest.h>

#include <algorithm>

#include "common/graphics/faces/clock_face.h"
#include "common/zones/date_math.h"
#include "tests/faces/faces_fixtures.h"

namespace {

using namespace faces_test;

constexpr uint32_t kWhite = 0x00FFFFFF;

// A skin on the heap, as the registry hands them out, with a fixed font.
TestGraphics* NewSkin(const wchar_t* name = kFace, int size = 10) {
    auto* skin = new TestGraphics;
    skin->Load(name, 0, size, FW_NORMAL, 0);
    skin->SetTextColor(RGB(0, 0, 0));
    return skin;
}

// Sizes as the face measures them: its font height on the surface's DC.
struct Measure {
    Measure(CGraphics& skin, HDC dc, int height) : skin_(skin) {
        saved_ = skin.GetFontHeight();
        skin.SetFontHeight(height);
        skin.SetDC(dc, nullptr);
    }
    ~Measure() {
        skin_.SetDC(nullptr, nullptr);
        skin_.SetFontHeight(saved_);
    }
    SIZE operator()(const wchar_t* text) { return skin_.MeasureText(text, 0); }
    CGraphics& skin_;
    int saved_;
};

// The rows (y) that hold a pixel of another colour than white: the height of
// what was drawn.
int InkHeight(const CDibSection& dib) {
    int first = -1, last = -1;
    for (int y = 0; y < dib.Height(); ++y)
        for (int x = 0; x < dib.Width(); ++x)
            if ((PixelAt(dib, x, y) & 0xFFFFFF) != kWhite) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    return first < 0 ? 0 : last - first + 1;
}

// The text drawn with a font of that many points made here, in black on white.
int InkHeightOfPoints(const wchar_t* text, int points) {
    CDibSection dib;
    if (!MakeSurface(dib, 300, 100, kWhite)) return -1;
    LOGFONTW font{};
    font.lfHeight = -MulDiv(points, GetDeviceCaps(dib.Dc(), LOGPIXELSY), 72);
    font.lfWeight = FW_NORMAL;
    wcsncpy(font.lfFaceName, kFace, LF_FACESIZE - 1);
    HFONT handle = CreateFontIndirectW(&font);
    HGDIOBJ old = SelectObject(dib.Dc(), handle);
    SetBkMode(dib.Dc(), TRANSPARENT);
    SetTextColor(dib.Dc(), RGB(0, 0, 0));
    TextOutW(dib.Dc(), 4, 4, text, static_cast<int>(wcslen(text)));
    GdiFlush();
    SelectObject(dib.Dc(), old);
    DeleteObject(handle);
    return InkHeight(dib);
}

class ClockFace : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(MakeSurface(surface, 300, 100, kWhite)); }
    CDibSection surface;
    ClockRecord record;
};

TEST_F(ClockFace, OneLineWidthCountsABlankEvenWithoutADate) {
    InitClock(record, L"HH:mm:ss", L"None", L"Oslo");
    TestGraphics* skin = NewSkin();
    CClock clock(&record, skin);
    EXPECT_EQ(clock.GetBaseFontHeight(), 10);
    SYSTEMTIME at = Time(2024, 5, 6, 14, 25, 36, 1);
    clock.CalcSize(surface.Dc(), kUnlimited, kUnlimited, nullptr, &at);
    RECT r = clock.GetRect();
    // The skin's 10 points: drawn as tall as the same text in a 10-point font.
    record.currentTime = at;
    clock.Paint(surface.Dc(), nullptr);
    GdiFlush();
    EXPECT_GT(InkHeight(surface), 5);
    EXPECT_EQ(InkHeight(surface), InkHeightOfPoints(L"14:25:36 Oslo", 10));

    Measure m(*skin, surface.Dc(), clock.GetFontSize());
    SIZE t = m(L"14:25:36"), s = m(L" "), p = m(L"Oslo");
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, t.cx + s.cx + (p.cx + s.cx) + 8);
    EXPECT_EQ(r.bottom, std::max(t.cy, p.cy) + 4);
    EXPECT_EQ(record.clockRect.right, r.right);
}

TEST_F(ClockFace, DateWithALineBreakTakesTwoLinesWhenTheyFit) {
    InitClock(record, L"HH:mm", L"yyyy\\nMM", nullptr);
    TestGraphics* skin = NewSkin();
    CClock clock(&record, skin);
    SYSTEMTIME at = Time(2024, 5, 6, 14, 25, 36, 1);
    clock.CalcSize(surface.Dc(), kUnlimited, kUnlimited, nullptr, &at);
    RECT twoLines = clock.GetRect();

    Measure m(*skin, surface.Dc(), clock.GetFontSize());
    SIZE t = m(L"14:25");
    SIZE dm = skin->MeasureMultiline(L"2024\n05", 0);
    EXPECT_EQ(twoLines.bottom, dm.cy + t.cy + 1 + 4);
    EXPECT_EQ(twoLines.right, 8 + std::max(t.cx, dm.cx));

    // Too low for two lines: the date goes on the time's line.
    clock.CalcSize(surface.Dc(), kUnlimited, t.cy + 4, nullptr, &at);
    EXPECT_EQ(clock.GetRect().bottom, std::max(t.cy, m(L"2024 05").cy) + 4);
}

TEST_F(ClockFace, LineModesChooseTheShape) {
    InitClock(record, L"HH:mm", L"yyyy-MM-dd", L"NY");
    CClock clock(&record, NewSkin());
    SYSTEMTIME at = Time(2024, 5, 6, 14, 25, 36, 1);
    clock.CalcSize(surface.Dc(), kUnlimited, kUnlimited, nullptr, &at);
    RECT automatic = clock.GetRect();
    clock.SetLineMode(1);
    clock.CalcSize(surface.Dc(), kUnlimited, kUnlimited, nullptr, &at);
    RECT always = clock.GetRect();
    EXPECT_GT(always.bottom, automatic.bottom);
    EXPECT_LT(always.right, automatic.right);
    // Automatic mode breaks the line when it is wider than allowed.
    clock.SetLineMode(0);
    clock.CalcSize(surface.Dc(), automatic.right - 1, kUnlimited, nullptr, &at);
    EXPECT_EQ(clock.GetRect().bottom, always.bottom);
    clock.SetLineMode();
    EXPECT_EQ(clock.GetLineMode(), 2);
    clock.CalcSize(surface.Dc(), automatic.right - 1, kUnlimited, nullptr, &at);
    EXPECT_EQ(clock.GetRect().bottom, automatic.bottom);
}

TEST_F(ClockFace, TwoLinesPutTheDateUnderTheTime) {
    InitClock(record, L"HH:mm", L"yyyy", L"NY");
    TestGraphics* skin = NewSkin();
    CClock clock(&record, skin);
    clock.SetLineMode(1);
    clock.CalcSize(surface.Dc(), kUnlimited, kUnlimited, nullptr, &record.currentTime);
    RECT r = clock.GetRect();
    clock.Paint(surface.Dc(), nullptr);
    int u;
    {
        Measure m(*skin, surface.Dc(), clock.GetFontSize());
        u = std::max(m(L"14:25").cy, m(L"NY").cy);
    }
    EXPECT_GT(CountOther(surface, RECT{0, 2, r.right, 2 + u}, kWhite), 5);
    EXPECT_GT(CountOther(surface, RECT{0, 2 + u + 1, r.right, r.bottom}, kWhite), 5);
    EXPECT_EQ(CountOther(surface, RECT{0, r.bottom, 300, 100}, kWhite), 0);
}

TEST_F(ClockFace, ZoomStepsAndLimits) {
    InitClock(record, L"HH:mm", L"None", nullptr);
    CClock clock(&record, NewSkin(kFace, 8));
    EXPECT_TRUE(clock.CanZoom());
    clock.SetSize(60);
    EXPECT_TRUE(clock.Zoom(surface.Dc(), true));
    EXPECT_EQ(clock.GetFontSize(), 72);
    EXPECT_GT(clock.GetRect().right, 0);
    EXPECT_FALSE(clock.Zoom(surface.Dc(), true));
    EXPECT_EQ(clock.GetFontSize(), 72);
    clock.SetSize(-180);
    EXPECT_TRUE(clock.Zoom(surface.Dc(), true));
    EXPECT_EQ(clock.GetFontSize(), -200);
    clock.SetSize(-201);
    EXPECT_FALSE(clock.Zoom(surface.Dc(), true));

    // Never below the skin's own 8 points (-11 pixels at 96 dpi).
    const int base = clock.GetSkin()->GetLoadedFontHeight();
    ASSERT_LT(base, 0);
    clock.SetSize(base - 1);
    EXPECT_FALSE(clock.Zoom(surface.Dc(), false));
    EXPECT_EQ(clock.GetFontSize(), base - 1);
    // One step out draws the text at four fifths of its height (a large
    // size, so that a pixel of rounding cannot hide a wrong step).
    clock.SetSize(-100);
    ASSERT_TRUE(MakeSurface(surface, 600, 150, kWhite));
    clock.CalcSize(surface.Dc(), kUnlimited, kUnlimited, nullptr, &record.currentTime);
    clock.Paint(surface.Dc(), nullptr);
    GdiFlush();
    const int before = InkHeight(surface);
    ASSERT_GT(before, 40);
    ASSERT_TRUE(MakeSurface(surface, 600, 150, kWhite));
    EXPECT_TRUE(clock.Zoom(surface.Dc(), false));
    clock.Paint(surface.Dc(), nullptr);
    GdiFlush();
    EXPECT_NEAR(InkHeight(surface) * 5, before * 4, 5) << before;
    clock.SetSize(0);
    EXPECT_FALSE(clock.Zoom(surface.Dc(), true));
}

TEST_F(ClockFace, ChangesAreReportedByWhatTheClockShows) {
    InitClock(record, L"HH:mm", L"None", nullptr);
    CClock clock(&record, NewSkin());
    clock.HasChanged(Time(2024, 5, 6, 7, 59, 0));
    EXPECT_EQ(record.currentTime.wHour, 9);  // two hours east of UTC
    EXPECT_EQ(record.currentTime.wMinute, 59);
    EXPECT_EQ(clock.HasChanged(Time(2024, 5, 6, 8, 0, 0)), 2);  // 09:59 -> 10:00
    EXPECT_EQ(clock.HasChanged(Time(2024, 5, 6, 8, 0, 5)), 0);
    EXPECT_EQ(clock.HasChanged(Time(2024, 5, 6, 8, 1, 5)), 1);
    record.showsSeconds = 1;
    EXPECT_EQ(clock.HasChanged(Time(2024, 5, 6, 8, 1, 6)), 1);
    EXPECT_EQ(clock.HasChanged(Time(2024, 5, 6, 8, 1, 6)), 0);
    // A new day in the zone, though not yet in UTC.
    clock.HasChanged(Time(2024, 5, 6, 21, 59, 59));
    EXPECT_EQ(clock.HasChanged(Time(2024, 5, 6, 22, 0, 0)), 2);
    EXPECT_EQ(record.currentTime.wDay, 7);
}

TEST(ClockBackground, DailyWindowOverMidnight) {
    ClockRecord c;
    InitClock(c, nullptr, nullptr, nullptr);
    BackgroundProfile p{};
    p.enabled = 1;
    p.fromMinute = 1320;
    p.toMinute = 360;
    p.weekdayMask = 1u << 1;  // Monday
    c.currentTime = Time(2024, 5, 6, 23, 0, 0, 1);
    EXPECT_TRUE(IsBackgroundActive(c, p));
    c.currentTime = Time(2024, 5, 7, 5, 0, 0, 2);
    EXPECT_TRUE(IsBackgroundActive(c, p));
    c.currentTime = Time(2024, 5, 6, 5, 0, 0, 1);
    EXPECT_FALSE(IsBackgroundActive(c, p));
    c.currentTime = Time(2024, 5, 7, 6, 0, 0, 2);
    EXPECT_FALSE(IsBackgroundActive(c, p));
    p.enabled = 0;
    c.currentTime = Time(2024, 5, 6, 23, 0, 0, 1);
    EXPECT_FALSE(IsBackgroundActive(c, p));

    // An ordinary window: from included, to excluded.
    p.enabled = 1;
    p.fromMinute = 540;
    p.toMinute = 1080;
    c.currentTime = Time(2024, 5, 6, 9, 0, 0, 1);
    EXPECT_TRUE(IsBackgroundActive(c, p));
    c.currentTime = Time(2024, 5, 6, 18, 0, 0, 1);
    EXPECT_FALSE(IsBackgroundActive(c, p));
}

TEST(ClockBackground, TimerWindows) {
    constexpr uint64_t kSecond = 10000000ULL;
    ClockRecord c;
    InitTimer(c, kClockTimer | kClockCountdown, nullptr, nullptr);
    BackgroundProfile p{};
    p.enabled = 1;
    p.from = 600 * kSecond;
    p.to = 0;
    c.elapsed = 700 * kSecond;
    EXPECT_FALSE(IsBackgroundActive(c, p));
    c.elapsed = 600 * kSecond;
    EXPECT_TRUE(IsBackgroundActive(c, p));
    c.elapsed = 1 * kSecond;
    EXPECT_TRUE(IsBackgroundActive(c, p));
    c.elapsed = 0;
    EXPECT_TRUE(IsBackgroundActive(c, p));  // stays on at zero
    p.to = 60 * kSecond;
    c.elapsed = 30 * kSecond;
    EXPECT_FALSE(IsBackgroundActive(c, p));

    InitTimer(c, kClockTimer, nullptr, nullptr);  // stopwatch
    p.from = 10 * kSecond;
    p.to = 70 * kSecond;
    c.elapsed = 10 * kSecond;
    EXPECT_TRUE(IsBackgroundActive(c, p));
    c.elapsed = 70 * kSecond;
    EXPECT_FALSE(IsBackgroundActive(c, p));

    InitTimer(c, kClockTimer | kClockCountdown | kClockSetDate, nullptr, nullptr);
    c.start = 1000 * kSecond;  // the moment it runs to
    c.elapsed = 950 * kSecond;
    EXPECT_TRUE(IsBackgroundActive(c, p));  // the moment now is 50 s
    c.elapsed = 995 * kSecond;
    EXPECT_FALSE(IsBackgroundActive(c, p));
}

TEST(ClockBackground, ChoosingAProfile) {
    ClockRecord c;
    InitClock(c, nullptr, nullptr, nullptr);
    c.currentTime = Time(2024, 5, 6, 12, 0, 0, 1);
    BackgroundProfile on{};
    on.enabled = 1;
    on.fromMinute = 0;
    on.toMinute = 1439;
    on.weekdayMask = 0x7F;
    BackgroundProfile off = on;
    off.enabled = 0;

    EXPECT_EQ(FindActiveBackground(c, -1, nullptr, false), kNoBackground);  // none
    c.profileCount = 3;
    c.profiles[0] = off;
    c.profiles[1] = on;
    c.profiles[2] = on;
    EXPECT_EQ(FindActiveBackground(c, -1, nullptr, false), kNoBackground);  // profiles off
    c.profilesEnabled = 1;
    EXPECT_EQ(FindActiveBackground(c, -1, nullptr, false), 1);
    EXPECT_EQ(FindActiveBackground(c, 0, nullptr, false), 0);  // forced, even when disabled
    EXPECT_EQ(FindActiveBackground(c, 3, nullptr, false), kNoBackground);
    EXPECT_EQ(FindActiveBackground(c, -1, &on, true), kGlobalBackground);
    EXPECT_EQ(FindActiveBackground(c, -1, &on, false), 1);
    EXPECT_EQ(FindActiveBackground(c, -1, &off, true), 1);
    c.kind = kClockTimer;  // timers never take the general highlight
    EXPECT_NE(FindActiveBackground(c, -1, &on, true), kGlobalBackground);
    c.kind = 0;
    c.profileCount = 1000;  // a corrupt count reads no further than the array
    EXPECT_EQ(FindActiveBackground(c, 11, nullptr, false), 11);
    EXPECT_EQ(FindActiveBackground(c, 12, nullptr, false), kNoBackground);
}

TEST_F(ClockFace, BothBuiltInStylesDrawTheirTextInsideTheRectangle) {
    for (const wchar_t* style : {kSystemClockStyleName, kClassicStyleName}) {
        ASSERT_TRUE(MakeSurface(surface, 300, 100, kWhite));
        InitClock(record, L"HH:mm:ss", L"None", nullptr);
        TestGraphics* skin = NewSkin(style, 0);
        CClock clock(&record, skin);
        SYSTEMTIME at = record.currentTime;
        clock.CalcSize(surface.Dc(), kUnlimited, kUnlimited, nullptr, &at);
        RECT r = clock.GetRect();
        OffsetRect(&r, 20, 10);
        clock.SetRect(r);
        clock.Paint(surface.Dc(), nullptr);
        EXPECT_GT(CountOther(surface, r, kWhite), 10) << "style " << static_cast<const void*>(style);
        EXPECT_EQ(CountOther(surface, RECT{0, 0, 300, r.top}, kWhite), 0);
        EXPECT_EQ(CountOther(surface, RECT{r.right, 0, 300, 100}, kWhite), 0);
        if (skin->GetStyleKind() != kStylePlain) {
            // The frame runs along the rectangle's left edge.
            EXPECT_EQ(PixelAt(surface, r.left, (r.top + r.bottom) / 2) & 0xFFFFFF, 0u);
        }
        EXPECT_EQ(skin->GetDC(), nullptr);  // painting leaves no DC behind
    }
}

TEST_F(ClockFace, TextAlignsRightWithoutCentring) {
    InitClock(record, L"HH:mm", L"None", nullptr);
    TestGraphics* skin = NewSkin();
    CClock clock(&record, skin);
    clock.SetCentreText(false);
    clock.SetRect(RECT{0, 0, 300, 100});
    clock.Paint(surface.Dc(), nullptr);
    int first = 0, last = 0;
    ASSERT_TRUE(InkColumns(surface, kWhite, first, last));
    EXPECT_LE(last, 300 - 4);
    EXPECT_GT(last, 300 - 4 - 8);
    EXPECT_GT(first, 150);

    ASSERT_TRUE(MakeSurface(surface, 300, 100, kWhite));
    clock.SetCentreText(true);
    clock.Paint(surface.Dc(), nullptr);
    ASSERT_TRUE(InkColumns(surface, kWhite, first, last));
    EXPECT_NEAR((first + last) / 2, 150, 6);
}

TEST_F(ClockFace, ActiveProfileColoursTheBackground) {
    InitClock(record, L"HH:mm", L"None", nullptr);
    ColourAllDay(record, RGB(255, 0, 0), 255);
    CClock clock(&record, NewSkin());
    clock.HasChanged(Time(2024, 5, 6, 10, 0, 0));
    ASSERT_EQ(clock.GetActiveBackgroundIndex(), 0);
    ASSERT_EQ(clock.GetActiveBackground(), &record.profiles[0]);
    RECT r{10, 10, 110, 40};
    clock.SetRect(r);
    clock.Paint(surface.Dc(), nullptr);
    for (int y = r.top; y < r.bottom; y += 7) {
        uint32_t px = PixelAt(surface, r.left + 1, y);
        EXPECT_GE((px >> 16) & 0xFF, 200u);
        EXPECT_LE((px >> 8) & 0xFF, 45u);
    }
    EXPECT_EQ(PixelAt(surface, 5, 5) & 0xFFFFFF, kWhite);
    EXPECT_EQ(PixelAt(surface, 115, 25) & 0xFFFFFF, kWhite);
    // The text is drawn over the colour.
    int dark = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (((PixelAt(surface, x, y) >> 16) & 0xFF) < 100) ++dark;
    EXPECT_GT(dark, 5);
}

TEST_F(ClockFace, RoundedStyleColoursOnlyInsideItsFrame) {
    InitClock(record, L"HH:mm", L"None", nullptr);
    ColourAllDay(record, RGB(255, 0, 0), 255);
    TestGraphics* skin = NewSkin(kClassicStyleName, 0);
    skin->SetStyleKind(kStyleThemedFrame);
    skin->SetBorderColor(RGB(0, 0, 255));
    CClock clock(&record, skin);
    clock.HasChanged(Time(2024, 5, 6, 10, 0, 0));
    RECT r{20, 20, 140, 60};
    clock.SetRect(r);
    clock.Paint(surface.Dc(), nullptr);
    EXPECT_EQ(PixelAt(surface, r.left, r.top) & 0xFFFFFF, kWhite);  // outside the rounded corner
    uint32_t inside = PixelAt(surface, r.left + 3, (r.top + r.bottom) / 2);
    EXPECT_GE((inside >> 16) & 0xFF, 200u);
    EXPECT_LE(inside & 0xFF, 45u);
    // The border is drawn over the colour, along the straight part of the edge.
    EXPECT_EQ(PixelAt(surface, (r.left + r.right) / 2, r.top) & 0xFFFFFF, 0x0000FFu);
}

TEST_F(ClockFace, TransparentPlainFaceLeavesTheBackground) {
    ASSERT_TRUE(MakeSurface(surface, 300, 100, 0x0000FF00));
    InitClock(record, L"HH:mm", L"None", nullptr);
    record.transparent = 1;
    TestGraphics* skin = NewSkin();
    skin->SetBackColor(RGB(255, 0, 0));
    CClock clock(&record, skin);
    clock.SetRect(RECT{0, 0, 300, 100});
    clock.Paint(surface.Dc(), nullptr);
    EXPECT_EQ(PixelAt(surface, 1, 1) & 0xFFFFFF, 0x00FF00u);
    EXPECT_GT(CountOther(surface, RECT{0, 0, 300, 100}, 0x00FF00), 10);

    record.transparent = 0;  // opaque: the skin's own background colour
    clock.Paint(surface.Dc(), nullptr);
    EXPECT_EQ(PixelAt(surface, 1, 1) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(ClockFace, SampleTimeIn2088HasItsRealWeekday) {
    InitClock(record, L"HH:mm", L"dddd d MMMM", nullptr);
    CClock clock(&record, NewSkin());
    SYSTEMTIME t;
    {
        Measure m(*clock.GetSkin(), surface.Dc(), clock.GetFontSize());
        t = clock.GetSampleTime();
    }
    EXPECT_EQ(t.wYear, 2088);
    EXPECT_EQ(t.wHour, 23);
    EXPECT_EQ(t.wMinute, 58);
    EXPECT_EQ(t.wSecond, 58);
    EXPECT_EQ(t.wMilliseconds, 888);
    EXPECT_GE(t.wDay, 1);
    EXPECT_LE(t.wDay, DaysInMonth(t.wMonth, 2088));
    EXPECT_EQ(t.wDayOfWeek, WeekdayOfDayNumber(DaysSince1601(t)));
}

TEST_F(ClockFace, BadRecordsDrawSafely) {
    InitClock(record, L"", L"", nullptr);
    // Fields that fill their arrays without a terminator.
    std::fill(std::begin(record.prefix), std::end(record.prefix), L'P');
    std::fill(std::begin(record.timeformat), std::end(record.timeformat), L'H');
    std::fill(std::begin(record.dateformat), std::end(record.dateformat), L'y');
    record.profileCount = -5;
    record.profilesEnabled = 1;
    CClock clock(&record, NewSkin());
    clock.HasChanged(Time(2024, 5, 6, 10, 0, 0));
    EXPECT_EQ(clock.GetActiveBackground(), nullptr);
    clock.CalcSize(surface.Dc(), 0, 0, nullptr, nullptr);
    RECT r = clock.GetRect();
    EXPECT_GT(r.right, 0);
    EXPECT_LT(r.right, 5000);
    clock.Paint(surface.Dc(), nullptr);

    // Empty formats: the locale's time and no date.
    InitClock(record, L"", L"", nullptr);
    clock.CalcSize(surface.Dc(), kUnlimited, kUnlimited, nullptr, nullptr);
    EXPECT_GT(clock.GetRect().right, 8);

    // Zero and inverted rectangles, and no DC at all.
    clock.SetRect(RECT{0, 0, 0, 0});
    clock.Paint(surface.Dc(), nullptr);
    clock.SetRect(RECT{50, 50, 10, 10});
    clock.Paint(surface.Dc(), nullptr);
    clock.Paint(nullptr, nullptr);
    record.profilesEnabled = 1;
    record.profileCount = 1;
    record.profiles[0].enabled = 1;
    record.profiles[0].toMinute = 1439;
    record.profiles[0].weekdayMask = 0x7F;
    clock.HasChanged(Time(2024, 5, 6, 10, 0, 0));
    ASSERT_NE(clock.GetActiveBackground(), nullptr);
    clock.SetRect(RECT{0, 0, 0, 0});
    clock.Paint(surface.Dc(), nullptr);

    CClock bare(&record, nullptr);
    bare.CalcSize(surface.Dc(), 10, 10, nullptr, nullptr);
    bare.Paint(surface.Dc(), nullptr);
    EXPECT_FALSE(bare.Zoom(surface.Dc(), true));
}

TEST(ClockLifetime, LastFaceDeletesTheSharedSkin) {
    RecordingOwner owner;
    ClockRecord record;
    InitClock(record, L"HH:mm", L"None", nullptr);
    TestGraphics* skin = NewSkin();
    skin->SetDefaultOwner(&owner);
    skin->SetOpaqueText(true);
    auto* first = new CClock(&record, skin);
    EXPECT_FALSE(skin->GetOpaqueText());
    auto* second = new CClock(&record, skin);
    EXPECT_EQ(skin->RefCount(), 2);
    delete first;
    EXPECT_EQ(owner.destroyed, 0);
    delete second;
    EXPECT_EQ(owner.asked, 1);
    EXPECT_EQ(owner.destroyed, 1);
}

}  // namespace
