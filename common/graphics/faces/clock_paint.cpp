// Painting under a background profile, and the widest sample moment.
#include <algorithm>

#include "common/graphics/bitmap.h"
#include "common/graphics/faces/clock_face.h"
#include "common/graphics/grey_ramp.h"
#include "common/graphics/pixel_buffer.h"
#include "common/zones/date_math.h"

namespace {

// A key no pixel read from a screen-format bitmap carries (their alpha is 0).
constexpr uint32_t kNoKey = 0xFFFFFFFF;

uint32_t ToPixelColour(COLORREF c) {
    return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

// Keeps a DC's viewport origin for a scope.
class ScopedViewport {
public:
    ScopedViewport(HDC dc, int x, int y) : dc_(dc) { SetViewportOrgEx(dc_, x, y, &previous_); }
    ~ScopedViewport() { SetViewportOrgEx(dc_, previous_.x, previous_.y, nullptr); }
    ScopedViewport(const ScopedViewport&) = delete;
    ScopedViewport& operator=(const ScopedViewport&) = delete;

private:
    HDC dc_;
    POINT previous_{0, 0};
};

}  // namespace

void CClock::PaintWithProfile(HDC dc, HTHEME theme, const BackgroundProfile& profile) {
    const RECT r = GetRect();
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    CBitmap off;
    if (width <= 0 || height <= 0 || !off.Create(width, height, 0, 0)) return;
    BitBlt(off.Dc(), 0, 0, width, height, dc, r.left, r.top, SRCCOPY);

    DrawScope scope(*this, off.Dc(), theme);
    {
        ScopedViewport moved(off.Dc(), -r.left, -r.top);
        Draw(kDrawBackground);
    }
    PixelBuffer canvas(off);
    if (canvas.IsValid()) {
        uint32_t weight = std::min<uint32_t>(profile.opacity, 255);
        if (skin_->GetStyleKind() == kStyleThemedFrame) {
            DrawHighlight();
            PixelBuffer mask(off);
            if (mask.IsValid()) {
                uint32_t key = mask.GetPixel(0, 0);
                canvas.BlendFrom(mask, key, weight);
                canvas.ShadeRowsMasked(mask, key, GreyRamp.data());
            }
        } else {
            canvas.BlendColor(ToPixelColour(ResolveColour(profile.colour)), kNoKey, weight);
            canvas.ShadeRows(kNoKey, GreyRamp.data());
        }
        canvas.WriteTo(off);
    }
    {
        ScopedViewport moved(off.Dc(), -r.left, -r.top);
        Draw(kDrawTexts);
    }
    BitBlt(dc, r.left, r.top, width, height, off.Dc(), 0, 0, SRCCOPY);
}

SYSTEMTIME CClock::GetSampleTime() {
    // Days of 2088 that share January 25's weekday, month by month.
    static constexpr int kSameWeekday[12] = {25, 22, 21, 18, 23, 20, 25, 22, 19, 24, 21, 19};
    SYSTEMTIME t{};
    t.wYear = 2088;
    t.wMonth = 1;
    t.wDay = 25;
    t.wHour = 23;
    t.wMinute = 58;
    t.wSecond = 58;
    t.wMilliseconds = 888;
    if (!record_ || !skin_) return t;

    auto widthOf = [&](int month, int day) {
        SYSTEMTIME at = t;
        at.wMonth = static_cast<WORD>(month);
        at.wDay = static_cast<WORD>(day);
        at.wDayOfWeek = static_cast<WORD>(WeekdayOfDayNumber(DaysSince1601(at)));
        ClockTexts texts;
        FormatClockTexts(*record_, at, texts);
        return skin_->MeasureText(texts.dateOneLine, 0).cx;
    };
    int bestShift = 0;
    long bestWidth = -1;
    for (int shift = 0; shift < 7; ++shift) {
        long w = widthOf(1, 25 + shift);
        if (w > bestWidth) {
            bestWidth = w;
            bestShift = shift;
        }
    }
    // The same weekday in every month: the table's day moved by the shift,
    // a week earlier where that would leave the month.
    int bestMonth = 1;
    int bestDay = 25 + bestShift;
    bestWidth = -1;
    for (int month = 1; month <= 12; ++month) {
        int day = kSameWeekday[month - 1] + bestShift;
        if (day > DaysInMonth(month, 2088)) day -= 7;
        long w = widthOf(month, day);
        if (w > bestWidth) {
            bestWidth = w;
            bestMonth = month;
            bestDay = day;
        }
    }
    t.wMonth = static_cast<WORD>(bestMonth);
    t.wDay = static_cast<WORD>(bestDay);
    t.wDayOfWeek = static_cast<WORD>(WeekdayOfDayNumber(DaysSince1601(t)));
    return t;
}
