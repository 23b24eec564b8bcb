// Analogue face pictures for the tests: a disc on a key colour with a strip
// of three hands below it, each a line pointing right from the pivot.
#pragma once

#include <windows.h>

#include "tests/skins/skins_fixtures.h"

namespace skins_test {

inline constexpr COLORREF kKey = RGB(0, 255, 0);
inline constexpr COLORREF kDisc = RGB(240, 240, 240);
inline constexpr COLORREF kHour = RGB(200, 0, 0);
inline constexpr COLORREF kMinute = RGB(0, 0, 200);
inline constexpr COLORREF kSecond = RGB(200, 200, 0);

// The top-down row of the strip (0 = first row under the face) on which the
// hand of band k lies: k = 0 seconds, 1 minutes, 2 hours.
inline int HandRow(int stripRows, int band) {
    int b = stripRows / 3;
    return stripRows - 1 - (band * b + stripRows / 6);
}

// A clkface.bmp: width w, strip rows below; hands reach from the pivot to
// two pixels short of the right edge.
inline PixelFn FacePicture(int w, int stripRows) {
    return [=](int x, int y) -> COLORREF {
        const int c = w / 2;
        if (y < w) {
            // The pivot is row c counted from the face's bottom.
            int dx = x - c, dy = y - (w - 1 - c);
            return dx * dx + dy * dy <= (w / 2 - 1) * (w / 2 - 1) ? kDisc : kKey;
        }
        int row = y - w;
        if (x >= c && x <= w - 4) {
            if (row == HandRow(stripRows, 2)) return kHour;
            if (row == HandRow(stripRows, 1)) return kMinute;
            if (row == HandRow(stripRows, 0)) return kSecond;
        }
        return kKey;
    };
}

}  // namespace skins_test
