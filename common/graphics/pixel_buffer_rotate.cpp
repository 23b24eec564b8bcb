// Bilinear sampling and drawing a picture turned about a centre: the hands of
// the analogue faces.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/graphics/pixel_buffer.h"
#include "common/graphics/pixel_ops.h"

namespace {

// Sines and cosines are scaled by this and truncated, so the corners land on
// the same pixels on every machine.
constexpr int64_t kScale = 2000000000;
// kScale / 256: dividing by it gives 24.8 fixed point.
constexpr int64_t kScaleToFixed = 7812500;

struct Point64 {
    int64_t x;
    int64_t y;
};

// Every point of the line from a to b, Bresenham's way.
template <typename Visit>
void WalkLine(Point64 a, Point64 b, Visit visit) {
    int64_t dx = std::llabs(b.x - a.x);
    int64_t dy = -std::llabs(b.y - a.y);
    int64_t sx = a.x < b.x ? 1 : -1;
    int64_t sy = a.y < b.y ? 1 : -1;
    int64_t err = dx + dy;
    for (;;) {
        visit(a.x, a.y);
        if (a.x == b.x && a.y == b.y) break;
        int64_t e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            a.x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            a.y += sy;
        }
    }
}

int64_t Scaled(double v) { return static_cast<int64_t>(std::trunc(v * static_cast<double>(kScale))); }

}  // namespace

uint32_t PixelBuffer::Sample(int32_t x, int32_t y, uint32_t key, uint32_t replacement) const {
    if (!IsArgb()) return key;
    int32_t ix = x >> 8;
    int32_t iy = y >> 8;
    int width = GetWidth();
    int height = std::min(std::abs(GetHeight()), rows_);
    // Outside the picture there is nothing to read: a neighbour row's pixel
    // or the scratch behind the image would be garbage.
    if (ix < 0 || iy < 0 || ix >= width || iy >= height) return key;
    auto pick = [&](uint32_t p) { return p == key ? replacement : p; };
    const uint32_t* p = Row(iy) + ix;
    if (ix + 1 == width || iy + 1 == height) return pick(p[0]);
    uint32_t fx = static_cast<uint32_t>(x) & 0xFF;
    uint32_t fy = static_cast<uint32_t>(y) & 0xFF;
    uint32_t lower = BlendPixels(pick(p[0]), pick(p[1]), fx);
    uint32_t upper = BlendPixels(pick(p[stride_]), pick(p[stride_ + 1]), fx);
    return BlendPixels(lower, upper, fy);
}

void PixelBuffer::DrawRotated(PixelBuffer& destination, int destCentreX, int destCentreY, int sourceCentreX,
                              int sourceCentreY, const RECT& sourceRect, double angle, uint32_t key) const {
    if (!IsArgb() || !destination.IsArgb() || !destination.rowScratch_) return;

    // Pixels outside this picture are never drawn (they sample as key), so
    // the rectangle is cut to the picture: this also bounds the edge walks.
    RECT rect = sourceRect;
    rect.left = std::max<LONG>(rect.left, 0);
    rect.bottom = std::max<LONG>(rect.bottom, 0);
    rect.right = std::min<LONG>(rect.right, GetWidth());
    rect.top = std::min<LONG>(rect.top, std::min(std::abs(GetHeight()), rows_));
    if (rect.left >= rect.right || rect.bottom >= rect.top) return;

    const double pi = std::acos(-1.0);
    const double forward = (360.0 - angle) * 2.0 * pi / 360.0;
    const int64_t s = Scaled(std::sin(forward));
    const int64_t c = Scaled(std::cos(forward));
    const Point64 corners[4] = {{rect.left, rect.top}, {rect.right, rect.top}, {rect.right, rect.bottom},
                                {rect.left, rect.bottom}};
    Point64 turned[4];
    for (int k = 0; k < 4; ++k) {
        int64_t dx = corners[k].x - sourceCentreX;
        int64_t dy = corners[k].y - sourceCentreY;
        turned[k].x = c * dx / kScale - s * dy / kScale + destCentreX;
        turned[k].y = s * dx / kScale + c * dy / kScale + destCentreY;
    }

    const int64_t destWidth = destination.GetWidth();
    const int64_t destHeight = std::min<int64_t>(std::abs(destination.GetHeight()), destination.rows_);
    int64_t low = std::min({turned[0].y, turned[1].y, turned[2].y, turned[3].y});
    int64_t high = std::max({turned[0].y, turned[1].y, turned[2].y, turned[3].y});
    low = std::max<int64_t>(low, 0);
    high = std::min<int64_t>(high, destHeight - 1);
    if (low > high) return;

    int32_t* span = destination.rowScratch_;
    for (int64_t r = low; r <= high; ++r) {
        span[2 * r] = static_cast<int32_t>(destWidth);
        span[2 * r + 1] = -1;
    }
    for (int k = 0; k < 4; ++k) {
        WalkLine(turned[k], turned[(k + 1) % 4], [&](int64_t x, int64_t row) {
            if (row < 0 || row >= destHeight) return;
            int32_t px = static_cast<int32_t>(std::clamp<int64_t>(x, 0, destWidth));
            span[2 * row] = std::min(span[2 * row], px);
            span[2 * row + 1] = std::max(span[2 * row + 1], px);
        });
    }

    const double inverse = angle * 2.0 * pi / 360.0;
    const int64_t s2 = Scaled(std::sin(inverse));
    const int64_t c2 = Scaled(std::cos(inverse));
    const int64_t baseX = static_cast<int64_t>(sourceCentreX) * 256;
    const int64_t baseY = static_cast<int64_t>(sourceCentreY) * 256;
    for (int64_t r = low; r <= high; ++r) {
        // A span is cut at the right edge too, so a long hand cannot spill
        // into the next row or past the block.
        int64_t left = span[2 * r];
        int64_t right = std::min<int64_t>(span[2 * r + 1], destWidth - 1);
        uint32_t* out = destination.Row(static_cast<int>(r));
        int64_t dy = r - destCentreY;
        for (int64_t col = left; col <= right; ++col) {
            int64_t dx = col - destCentreX;
            int64_t sx = dx * c2 / kScaleToFixed - dy * s2 / kScaleToFixed + baseX;
            int64_t sy = dx * s2 / kScaleToFixed + dy * c2 / kScaleToFixed + baseY;
            int64_t ix = sx >> 8;
            int64_t iy = sy >> 8;
            if (ix < rect.left || ix >= rect.right || iy < rect.bottom || iy >= rect.top) continue;
            uint32_t v = Sample(static_cast<int32_t>(sx), static_cast<int32_t>(sy), key, out[col]);
            if (v != key) out[col] = v;
        }
    }
}
