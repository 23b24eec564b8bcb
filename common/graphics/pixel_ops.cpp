#include "common/graphics/pixel_ops.h"

#include <algorithm>
#include <vector>

namespace {

inline uint32_t Byte(uint32_t p, int shift) { return (p >> shift) & 0xFF; }

inline uint32_t Clamp255(int v) { return static_cast<uint32_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

inline uint32_t BlendByte(uint32_t a, uint32_t b, uint32_t weight) {
    uint32_t sum = a * (256 - weight) + b * weight;
    if (sum > 0xFFFF) sum = 0xFFFF;
    return sum >> 8;
}

// sat(sat(c + max(0, bias - centre)) - max(0, centre - bias)).
inline uint32_t BiasByte(uint32_t c, uint32_t bias, int centre) {
    int up = std::max(0, static_cast<int>(bias) - centre);
    int down = std::max(0, centre - static_cast<int>(bias));
    return Clamp255(static_cast<int>(Clamp255(static_cast<int>(c) + up)) - down);
}

inline uint32_t BiasPixel(uint32_t a, uint32_t b, int centre) {
    uint32_t blue = BiasByte(Byte(a, 0), Byte(b, 0), centre);
    uint32_t green = BiasByte(Byte(a, 8), Byte(b, 8), centre);
    uint32_t red = BiasByte(Byte(a, 16), Byte(b, 16), centre);
    uint32_t alpha = std::min<uint32_t>(255, Byte(a, 24) + Byte(b, 24));
    return blue | (green << 8) | (red << 16) | (alpha << 24);
}

inline uint32_t* Step(uint32_t* p, ptrdiff_t bytes) {
    return reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(p) + bytes);
}

}  // namespace

uint32_t BlendPixels(uint32_t a, uint32_t b, uint32_t weight) {
    if (((a ^ b) & 0x00FFFFFF) == 0) return a;
    if (weight > 255) weight = 255;
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) result |= BlendByte(Byte(a, shift), Byte(b, shift), weight) << shift;
    return result;
}

uint32_t BlendColors(uint32_t a, uint32_t b, uint32_t weight) {
    uint32_t result = BlendPixels(a, b, weight);
    ClearMmxState();
    return result;
}

uint32_t BlendPixelsKeepAlpha(uint32_t a, uint32_t b, uint32_t weight) {
    return (BlendPixels(a, b, weight) & 0x00FFFFFF) | (a & 0xFF000000);
}

uint32_t AddPixelBias(uint32_t a, uint32_t bias) { return BiasPixel(a, bias, 127); }

void AddPixelBiasStrided(uint32_t* first, int count, ptrdiff_t stepBytes, uint32_t bias, uint32_t key) {
    if (!first) return;
    uint32_t* p = first;
    for (int i = 0; i < count; ++i, p = Step(p, stepBytes)) {
        if (*p != key) *p = BiasPixel(*p, bias, 127);
    }
}

void AddPixelBiasArray(uint32_t* destination, const uint32_t* source, int count) {
    if (!destination || !source) return;
    for (int i = 0; i < count; ++i) destination[i] = BiasPixel(destination[i], source[i], 128);
}

void AverageColumnPixels(const uint32_t* source, uint32_t* destination, int sourceCount, int destinationCount,
                         ptrdiff_t sourceStepBytes, ptrdiff_t destinationStepBytes) {
    if (!source || !destination || sourceCount <= 0 || destinationCount <= 0) return;
    // Groups are finished before they are written, and a group's pixels never
    // lie before its destination, so the line may be shrunk in place.
    uint32_t sums[4] = {0, 0, 0, 0};
    uint32_t n = 0;
    int64_t group = 0;
    const auto* src = reinterpret_cast<const uint8_t*>(source);
    auto* dst = reinterpret_cast<uint8_t*>(destination);
    auto flush = [&]() {
        if (n == 0) return;
        uint32_t value = 0;
        for (int k = 0; k < 4; ++k) value |= (sums[k] / n) << (8 * k);
        *reinterpret_cast<uint32_t*>(dst + group * destinationStepBytes) = value;
        sums[0] = sums[1] = sums[2] = sums[3] = 0;
        n = 0;
    };
    for (int64_t i = 0; i < sourceCount; ++i) {
        // 64-bit product: a 32-bit one would wrap on long lines.
        int64_t g = i * destinationCount / sourceCount;
        if (g != group) {
            flush();
            group = g;
        }
        uint32_t p = *reinterpret_cast<const uint32_t*>(src + i * sourceStepBytes);
        for (int k = 0; k < 4; ++k) sums[k] += Byte(p, 8 * k);
        ++n;
    }
    flush();
}

void PremultiplyPixels(uint32_t* pixels, size_t count) {
    if (!pixels) return;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t p = pixels[i];
        const uint32_t alpha = p >> 24;
        uint32_t out = alpha << 24;
        if (alpha != 0) {
            for (int shift = 0; shift < 24; shift += 8) out |= (Byte(p, shift) * alpha / 255) << shift;
        }
        pixels[i] = out;
    }
}
