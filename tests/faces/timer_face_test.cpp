#include <gtest/gtest.h>

#include <string>

#include "common/graphics/faces/timer_face.h"
#include "tests/faces/faces_fixtures.h"
#include "tests/support/program_folder.h"

namespace {

using namespace faces_test;

constexpr uint32_t kWhite = 0x00FFFFFF;
constexpr uint64_t kSecond = 10000000ULL;

TestGraphics* NewSkin() {
    auto* skin = new TestGraphics;
    skin->Load(kFace, 0, 10, FW_NORMAL, 0);
    skin->SetTextColor(RGB(0, 0, 255));
    return skin;
}

// An 8 x 8 monochrome button: a white border (the key) around a black square.
HBITMAP MakeButtonPicture() {
    WORD rows[8];
    for (int y = 0; y < 8; ++y) rows[y] = (y >= 2 && y < 6) ? 0xC3 : 0xFF;  // bits 1 white, 0 black
    return CreateBitmap(8, 8, 1, 1, rows);
}

std::wstring TextOf(const CTimer& timer) {
    wchar_t text[kTimerTextChars + 1];
    timer.FormatText(text, kTimerTextChars + 1);
    return text;
}

class TimerFace : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(MakeSurface(surface, 300, 100, kWhite)); }
    void TearDown() override { FreeTimerButtonPicture(); }
    CDibSection surface;
    ClockRecord record;
};

TEST_F(TimerFace, TextsForStatesAndFormats) {
    InitTimer(record, kClockTimer, nullptr, L"Tea");
    record.elapsed = 3725 * kSecond;
    CTimer timer(&record, NewSkin());
    EXPECT_EQ(TextOf(timer), L"Tea 1:02:05");  // an empty format shows the usual one
    EXPECT_TRUE(timer.ShowsSeconds());

    InitTimer(record, kClockTimer | kClockCountdown, L"%H:%02m", nullptr);
    record.elapsed = 125 * kSecond;
    EXPECT_EQ(TextOf(timer), L"0:02");
    EXPECT_FALSE(timer.ShowsSeconds());

    // A prefix that fills its field and a format that runs long are both cut safely.
    InitTimer(record, kClockTimer, nullptr, nullptr);
    std::fill(std::begin(record.prefix), std::end(record.prefix), L'P');
    std::fill(std::begin(record.timerformat), std::end(record.timerformat), L'x');
    record.timerformat[98] = L'%';
    record.timerformat[99] = L'S';
    std::wstring text = TextOf(timer);
    EXPECT_EQ(text.substr(0, 33), std::wstring(32, L'P') + L' ');
    EXPECT_LE(text.size(), kTimerTextChars);
    wchar_t tiny[5];
    timer.FormatText(tiny, 5);
    EXPECT_STREQ(tiny, L"PPPP");
    timer.FormatText(tiny, 0);
}

TEST_F(TimerFace, ChangesFollowTheTimerState) {
    InitTimer(record, kClockTimer | kClockCountdown, nullptr, nullptr);
    record.elapsed = 30 * kSecond;
    record.running = 0;
    CTimer timer(&record, NewSkin());
    EXPECT_EQ(timer.HasChanged(Time(2024, 5, 6, 10, 0, 0)), 0);  // paused
    EXPECT_EQ(record.elapsed, 30 * kSecond);

    // Running: the countdown runs to its end moment.
    SYSTEMTIME now = Time(2024, 5, 6, 10, 0, 0);
    FILETIME ft;
    SystemTimeToFileTime(&now, &ft);
    uint64_t moment = (static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    record.running = 1;
    record.start = moment + 30 * kSecond;
    timer.HasChanged(now);
    EXPECT_NE(timer.HasChanged(Time(2024, 5, 6, 10, 0, 10)), 0);
    EXPECT_EQ(record.elapsed, 20 * kSecond);
    EXPECT_EQ(TextOf(timer), L"0:00:20");

    // A profile for the last 10 s comes on as the value gets there.
    record.profilesEnabled = 1;
    record.profileCount = 1;
    record.profiles[0].enabled = 1;
    record.profiles[0].from = 10 * kSecond;
    timer.HasChanged(Time(2024, 5, 6, 10, 0, 15));
    EXPECT_EQ(timer.GetActiveBackgroundIndex(), kNoBackground);
    timer.HasChanged(Time(2024, 5, 6, 10, 0, 21));
    EXPECT_EQ(timer.GetActiveBackgroundIndex(), 0);
}

TEST_F(TimerFace, SizeAndTextWithoutAButtonPicture) {
    InitTimer(record, kClockTimer, nullptr, L"Run");
    record.elapsed = 61 * kSecond;
    TestGraphics* skin = NewSkin();
    CTimer timer(&record, skin);
    EXPECT_FALSE(timer.ButtonImage().IsValid());
    timer.CalcSize(surface.Dc(), kUnlimited, kUnlimited, nullptr, nullptr);
    RECT r = timer.GetRect();
    skin->SetFontHeight(timer.GetFontSize());
    skin->SetDC(surface.Dc(), nullptr);
    SIZE one = skin->MeasureText(L"Run 0:01:01", 0);
    skin->SetDC(nullptr, nullptr);
    EXPECT_EQ(r.right, one.cx + 8);
    EXPECT_EQ(r.bottom, one.cy + 4);
    EXPECT_FALSE(timer.HitTestButton(r.right - 4, (r.top + r.bottom) / 2));

    // A line feed in the format gives two lines when they fit.
    wcsncpy(record.timerformat, L"%H\\n%02m:%02s", 99);
    timer.CalcSize(surface.Dc(), kUnlimited, kUnlimited, nullptr, nullptr);
    EXPECT_GT(timer.GetRect().bottom, r.bottom);
    timer.CalcSize(surface.Dc(), kUnlimited, r.bottom, nullptr, nullptr);
    EXPECT_EQ(timer.GetRect().bottom, r.bottom);
}

TEST_F(TimerFace, ButtonIsPaintedInTheSkinsColoursAndHitTested) {
    SetTimerButtonPicture(MakeButtonPicture());
    ASSERT_EQ(TimerButtonSize().cx, 8);
    InitTimer(record, kClockTimer, nullptr, nullptr);
    record.elapsed = 5 * kSecond;
    TestGraphics* skin = NewSkin();
    CTimer timer(&record, skin);
    ASSERT_TRUE(timer.ButtonImage().IsValid());
    timer.CalcSize(surface.Dc(), kUnlimited, kUnlimited, nullptr, nullptr);
    RECT r = timer.GetRect();
    OffsetRect(&r, 100, 40);
    timer.SetRect(r);
    timer.Paint(surface.Dc(), nullptr);

    int bx = r.right - 4 - 8;
    int by = (r.top + r.bottom - 8) / 2;
    // The black square takes the text colour; the white border is the key.
    EXPECT_EQ(PixelAt(surface, bx + 3, by + 3) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(PixelAt(surface, bx, by) & 0xFFFFFF, kWhite);
    EXPECT_TRUE(timer.HitTestButton(bx + 3, by + 3));
    EXPECT_FALSE(timer.HitTestButton(bx, by));
    EXPECT_FALSE(timer.HitTestButton(bx - 1, by + 3));
    EXPECT_FALSE(timer.HitTestButton(bx + 8, by + 3));
    // The value ends left of the button, with room between them.
    int textInk = CountOther(surface, RECT{r.left, r.top, bx, r.bottom}, kWhite);
    EXPECT_GT(textInk, 10);
    EXPECT_EQ(CountOther(surface, RECT{bx - 2, r.top, bx, r.bottom}, kWhite), 0);
    EXPECT_EQ(CountOther(surface, RECT{0, 0, r.left, 100}, kWhite), 0);
}

TEST_F(TimerFace, ProfileColoursTheTimerAndKeepsTheButton) {
    SetTimerButtonPicture(MakeButtonPicture());
    InitTimer(record, kClockTimer | kClockCountdown, nullptr, nullptr);
    record.elapsed = 5 * kSecond;
    record.profilesEnabled = 1;
    record.profileCount = 1;
    record.profiles[0].enabled = 1;
    record.profiles[0].from = 10 * kSecond;
    record.profiles[0].colour = RGB(0, 255, 0);
    record.profiles[0].opacity = 255;
    CTimer timer(&record, NewSkin());
    timer.HasChanged(Time(2024, 5, 6, 10, 0, 0));
    ASSERT_EQ(timer.GetActiveBackgroundIndex(), 0);
    timer.CalcSize(surface.Dc(), kUnlimited, kUnlimited, nullptr, nullptr);
    RECT r = timer.GetRect();
    OffsetRect(&r, 50, 20);
    timer.SetRect(r);
    timer.Paint(surface.Dc(), nullptr);
    uint32_t edge = PixelAt(surface, r.left + 1, (r.top + r.bottom) / 2);
    EXPECT_GE((edge >> 8) & 0xFF, 200u);
    EXPECT_LE((edge >> 16) & 0xFF, 45u);
    int bx = r.right - 4 - 8;
    int by = (r.top + r.bottom - 8) / 2;
    EXPECT_EQ(PixelAt(surface, bx + 3, by + 3) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(PixelAt(surface, r.left - 1, by) & 0xFFFFFF, kWhite);
}

TEST_F(TimerFace, PrefixKeepsLeftAndValueGoesRightWithoutCentring) {
    InitTimer(record, kClockTimer, nullptr, L"A");
    record.elapsed = 5 * kSecond;
    CTimer timer(&record, NewSkin());
    timer.SetCentreText(false);
    timer.SetRect(RECT{0, 0, 300, 40});
    timer.Paint(surface.Dc(), nullptr);
    int first = 0, last = 0;
    ASSERT_TRUE(InkColumns(surface, kWhite, first, last));
    EXPECT_LT(first, 4 + 3);
    EXPECT_GE(first, 4);
    EXPECT_LE(last, 300 - 4);
    EXPECT_GT(last, 300 - 4 - 8);
    EXPECT_EQ(CountOther(surface, RECT{40, 0, 200, 40}, kWhite), 0);
}

TEST_F(TimerFace, TheShippedButtonPictureGivesTheTimerAButtonToPoint) {
    HMODULE library = LoadLibraryExW((testing_support::BinFolder() + L"res_en.dll").c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(library, nullptr);
    SetTimerButtonPicture(nullptr);
    const bool loaded = LoadTimerButtonPicture(library);
    FreeLibrary(library);
    ASSERT_TRUE(loaded);
    InitTimer(record, kClockTimer, nullptr, nullptr);
    CTimer timer(&record, NewSkin());
    timer.CalcSize(surface.Dc(), kUnlimited, kUnlimited, nullptr, nullptr);
    timer.Paint(surface.Dc(), nullptr);
    // The button is drawn in the text's blue; the points that hit it are
    // exactly the drawn button's, never the background around its shape
    // (its key) nor the text beside it.
    const uint32_t blue = 0x0000FF;
    int hits = 0, blueElsewhere = 0;
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            const uint32_t pixel = PixelAt(surface, x, y) & 0xFFFFFF;
            if (timer.HitTestButton(x, y)) {
                ++hits;
                EXPECT_EQ(pixel, blue) << x << "," << y;
            } else if (pixel == blue) {
                ++blueElsewhere;
            }
        }
    }
    const SIZE button = TimerButtonSize();
    EXPECT_GT(hits, button.cx * button.cy / 4);
    EXPECT_LT(hits, button.cx * button.cy);
    EXPECT_GT(blueElsewhere, 0) << "the text";
    SetTimerButtonPicture(nullptr);
}

TEST_F(TimerFace, BadSizesAndMissingPartsAreSafe) {
    InitTimer(record, kClockTimer, L"", nullptr);
    CTimer timer(&record, NewSkin());
    timer.CalcSize(surface.Dc(), 0, 0, nullptr, nullptr);
    timer.SetRect(RECT{0, 0, 0, 0});
    timer.Paint(surface.Dc(), nullptr);
    timer.SetRect(RECT{30, 30, 0, 0});
    timer.Paint(surface.Dc(), nullptr);
    EXPECT_FALSE(timer.HitTestButton(0, 0));
    SetTimerButtonPicture(nullptr);
    EXPECT_EQ(TimerButtonSize().cx, 0);
    EXPECT_FALSE(LoadTimerButtonPicture(GetModuleHandleW(nullptr)));  // no such resource here

    CTimer bare(&record, nullptr);
    bare.CalcSize(surface.Dc(), 100, 100, nullptr, nullptr);
    bare.Paint(surface.Dc(), nullptr);
    EXPECT_EQ(bare.HasChanged(Time(2024, 5, 6, 10, 0, 0)), 0);
}

}  // namespace
