// Box-filter rescaling of a texture block in place, and cutting it into
// tiles by moving halves out of it.
#include <cstdlib>
#include <cstring>

#include "kartix/jpeg_texture.h"

namespace {

// n pixels `stride` bytes apart become m pixels at the same places. Fewer
// pixels: each target is the truncated mean of the sources that fall on it
// (an accumulator walks the sources by m per pixel). As many or more: each
// target takes source floor(i x n / m), written from the end back.
void ResampleLine(uint8_t* base, size_t stride, int n, int m, int components) {
    if (m == n || n < 1 || m < 1) return;
    if (m > n) {
        for (int i = m - 1; i >= 0; --i) {
            const long long source = static_cast<long long>(i) * n / m;
            std::memmove(base + static_cast<size_t>(i) * stride, base + static_cast<size_t>(source) * stride,
                         static_cast<size_t>(components));
        }
        return;
    }
    unsigned sums[4] = {};
    unsigned count = 0;
    int target = 0;
    long long accumulator = 0;
    auto flush = [&]() {
        uint8_t* out = base + static_cast<size_t>(target) * stride;
        for (int c = 0; c < components; ++c) out[c] = static_cast<uint8_t>(sums[c] / count);
        for (unsigned& s : sums) s = 0;
        count = 0;
    };
    for (int j = 0; j < n; ++j, accumulator += m) {
        const int index = static_cast<int>(accumulator / n);
        if (index != target && count) flush();
        target = index;
        const uint8_t* in = base + static_cast<size_t>(j) * stride;
        for (int c = 0; c < components; ++c) sums[c] += in[c];
        ++count;
    }
    if (count) flush();
}

int LargestPowerOfTwoNotAbove(int side) {
    int p = 1;
    while (p <= side / 2) p *= 2;
    return p;
}

}  // namespace

bool CJpegTexture::RescaleTexture(int w, int h) {
    // Any component count: the grey cloud layer is fitted the same way.
    if (!pixels || components < 1 || components > 4) return false;
    if (w < 1 || h < 1 || w > imageWidth || h > imageHeight) return false;
    if (imageWidth > storedWidth || imageHeight > storedHeight) return false;
    const size_t c = static_cast<size_t>(components);
    const size_t rowBytes = RowBytes();
    // The picture only: padding of the block must not bleed into the edges.
    for (int r = 0; r < imageHeight; ++r) ResampleLine(pixels + r * rowBytes, c, imageWidth, w, components);
    for (int x = 0; x < w; ++x) ResampleLine(pixels + x * c, rowBytes, imageHeight, h, components);
    const size_t newRow = static_cast<size_t>(w) * c;
    for (int r = 0; r < h; ++r) std::memmove(pixels + r * newRow, pixels + r * rowBytes, newRow);
    if (auto* smaller = static_cast<uint8_t*>(std::realloc(pixels, newRow * static_cast<size_t>(h))))
        pixels = smaller;  // a failed shrink leaves the larger block, still valid
    imageWidth = storedWidth = w;
    imageHeight = storedHeight = h;
    return true;
}

bool CJpegTexture::ShrinkToPowerOfTwo() {
    if (!pixels || imageWidth < 1 || imageHeight < 1) return false;
    const int w = LargestPowerOfTwoNotAbove(imageWidth);
    const int h = LargestPowerOfTwoNotAbove(imageHeight);
    if (storedWidth == w && storedHeight == h) return true;
    return RescaleTexture(w, h);
}

bool SplitTextureHalf(CJpegTexture& source, CJpegTexture& target, bool horizontal) {
    if (&source == &target) return false;
    target.Free(true);
    const int side = horizontal ? source.storedWidth : source.storedHeight;
    if (!source.pixels || side < 2 || source.components < 1) return false;
    const size_t c = static_cast<size_t>(source.components);
    const size_t rowBytes = source.RowBytes();
    const int keep = side / 2;
    const int moved = side - keep;
    const size_t targetBytes = horizontal ? static_cast<size_t>(moved) * c * static_cast<size_t>(source.storedHeight)
                                          : rowBytes * static_cast<size_t>(moved);
    auto* block = static_cast<uint8_t*>(std::malloc(targetBytes));
    if (!block) return false;  // the source is still whole
    size_t keptBytes = 0;
    if (horizontal) {
        const size_t keptRow = static_cast<size_t>(keep) * c;
        const size_t movedRow = static_cast<size_t>(moved) * c;
        for (int r = 0; r < source.storedHeight; ++r) {
            uint8_t* row = source.pixels + r * rowBytes;
            std::memcpy(block + r * movedRow, row + keptRow, movedRow);
            std::memmove(source.pixels + r * keptRow, row, keptRow);
        }
        keptBytes = keptRow * static_cast<size_t>(source.storedHeight);
    } else {
        std::memcpy(block, source.pixels + static_cast<size_t>(keep) * rowBytes, targetBytes);
        keptBytes = rowBytes * static_cast<size_t>(keep);
    }
    if (auto* smaller = static_cast<uint8_t*>(std::realloc(source.pixels, keptBytes))) source.pixels = smaller;
    target.pixels = block;
    target.components = source.components;
    target.imageWidth = source.imageWidth;
    target.imageHeight = source.imageHeight;
    target.storedWidth = source.storedWidth;
    target.storedHeight = source.storedHeight;
    if (horizontal) {
        source.imageWidth /= 2;
        target.imageWidth = source.imageWidth;
        source.storedWidth = keep;
        target.storedWidth = moved;
    } else {
        source.imageHeight /= 2;
        target.imageHeight = source.imageHeight;
        source.storedHeight = keep;
        target.storedHeight = moved;
    }
    return true;
}

namespace {

bool SplitRecursively(CJpegTexture* tiles, int index, int pieces, int step, bool horizontal) {
    if (pieces < 2) return true;
    if (!SplitTextureHalf(tiles[index], tiles[index + step], horizontal)) return false;
    return SplitRecursively(tiles, index, pieces / 2, step / 2, horizontal) &&
           SplitRecursively(tiles, index + step, pieces / 2, step / 2, horizontal);
}

bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

}  // namespace

bool SplitTexture(CJpegTexture* tiles, int columns, int rows) {
    if (!tiles || !IsPowerOfTwo(columns) || !IsPowerOfTwo(rows)) return false;
    const int count = columns * rows;
    for (int i = 1; i < count; ++i) tiles[i].Free(true);
    bool ok = tiles[0].HasPixels() && SplitRecursively(tiles, 0, columns, columns / 2, true);
    for (int i = 0; ok && i < columns; ++i) ok = SplitRecursively(tiles, i, rows, count / 2, false);
    if (!ok)
        for (int i = 0; i < count; ++i) tiles[i].Free(true);
    return ok;
}
