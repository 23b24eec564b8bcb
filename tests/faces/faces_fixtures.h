// Shared helpers of the clock face tests: records at fixed moments, a fixed
// font, and pictures read back pixel by pixel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <cwchar>

#include "common/graphics/dib_section.h"
#include "common/graphics/faces/graphics.h"
#include "common/records/clock_record.h"

namespace faces_test {

// The one family the test machines' Wine has (it ships none of its own
// replacements here); other machines map it to their default face, and the
// tests only compare sizes measured with the same font.
inline constexpr wchar_t kFace[] = L"DejaVu Sans";

// Exposes the fields a skin would set.
class TestGraphics : public CGraphics {
public:
    void SetShadow(COLORREF colour, int offset) {
        shadowColour_ = colour;
        shadowOffset_ = offset;
    }
    void SetBorderColor(COLORREF colour) { borderColour_ = colour; }
};

// Tells what the drawing object asks its owner.
class RecordingOwner : public IGraphicsOwner {
public:
    void OnGraphicsDestroyed(CGraphics*) override { ++destroyed; }
    bool MayDeleteGraphics(CGraphics*) override {
        ++asked;
        return allow;
    }
    int destroyed = 0;
    int asked = 0;
    bool allow = true;
};

inline SYSTEMTIME Time(int year, int month, int day, int hour, int minute, int second, int weekday = 0) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    t.wDayOfWeek = static_cast<WORD>(weekday);
    return t;
}

// An ordinary clock two hours east of UTC without daylight time.
inline void InitClock(ClockRecord& c, const wchar_t* timeFormat, const wchar_t* dateFormat, const wchar_t* prefix) {
    std::memset(&c, 0, sizeof c);
    c.number = 1;
    c.enabled = 1;
    c.zone.Bias = -120;
    c.zone.id = 77;
    wcsncpy(c.zone.key, L"Test Zone", 39);
    if (timeFormat) wcsncpy(c.timeformat, timeFormat, 31);
    if (dateFormat) wcsncpy(c.dateformat, dateFormat, 31);
    if (prefix) wcsncpy(c.prefix, prefix, 31);
    c.currentTime = Time(2024, 5, 6, 14, 25, 36, 1);
}

// One background profile, in force all day every day.
inline void ColourAllDay(ClockRecord& c, COLORREF colour, uint32_t opacity) {
    c.profilesEnabled = 1;
    c.profileCount = 1;
    BackgroundProfile& p = c.profiles[0];
    p.enabled = 1;
    p.fromMinute = 0;
    p.toMinute = 1439;
    p.weekdayMask = 0x7F;
    p.colour = colour;
    p.opacity = opacity;
}

// The record of a timer clock of the given kind.
inline void InitTimer(ClockRecord& c, uint32_t kind, const wchar_t* timerFormat, const wchar_t* prefix) {
    InitClock(c, nullptr, nullptr, prefix);
    c.kind = kind;
    if (timerFormat) wcsncpy(c.timerformat, timerFormat, 99);
}

// A DIB section filled with one pixel value.
inline bool MakeSurface(CDibSection& dib, int width, int height, uint32_t pixel) {
    if (!dib.Create(width, height)) return false;
    GdiFlush();
    auto* p = static_cast<uint32_t*>(dib.Bits());
    for (int i = 0; i < width * height; ++i) p[i] = pixel;
    return true;
}

// The pixel at a screen position (y counted from the top).
inline uint32_t PixelAt(const CDibSection& dib, int x, int y) {
    GdiFlush();
    return static_cast<const uint32_t*>(dib.Bits())[(dib.Height() - 1 - y) * dib.Width() + x];
}

// Pixels of a screen rectangle whose colour (low 24 bits) differs from a value.
inline int CountOther(const CDibSection& dib, RECT r, uint32_t colour) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if ((PixelAt(dib, x, y) & 0xFFFFFF) != (colour & 0xFFFFFF)) ++n;
    return n;
}

// The columns (x) that hold a pixel of another colour than the background.
inline bool InkColumns(const CDibSection& dib, uint32_t background, int& first, int& last) {
    first = -1;
    last = -1;
    for (int x = 0; x < dib.Width(); ++x)
        for (int y = 0; y < dib.Height(); ++y)
            if ((PixelAt(dib, x, y) & 0xFFFFFF) != (background & 0xFFFFFF)) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return first >= 0;
}

}  // namespace faces_test
