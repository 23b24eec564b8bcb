// Whole-picture operations: blending, shading with a bias table, alpha from a
// colour key, premultiplying, lightmaps and shrinking.
#include <algorithm>
#include <cstdlib>

#include "common/graphics/pixel_buffer.h"
#include "common/graphics/pixel_ops.h"

void PixelBuffer::BlendFrom(const PixelBuffer& source, uint32_t key, uint32_t weight) {
    if (!IsArgb() || !source.IsArgb()) return;
    int rows = std::min(rows_, source.rows_);
    int columns = std::min(stride_, source.stride_);
    for (int r = 0; r < rows; ++r) {
        uint32_t* d = Row(r);
        const uint32_t* s = source.Row(r);
        for (int c = 0; c < columns; ++c) {
            if (s[c] != key) d[c] = BlendPixels(d[c], s[c], weight);
        }
    }
}

void PixelBuffer::BlendColor(uint32_t colour, uint32_t key, uint32_t weight) {
    if (!IsArgb()) return;
    size_t count = static_cast<size_t>(stride_) * static_cast<size_t>(rows_);
    for (size_t i = 0; i < count; ++i) {
        if (pixels_[i] != key) pixels_[i] = BlendPixelsKeepAlpha(pixels_[i], colour, weight);
    }
}

void PixelBuffer::ShadeRows(uint32_t key, const uint32_t* table) {
    if (!IsArgb() || !table) return;
    int height = std::abs(GetHeight());
    int rows = std::min(height, rows_);
    for (int r = 0; r < rows; ++r) {
        uint32_t bias = table[static_cast<int64_t>(r) * 256 / height];
        AddPixelBiasStrided(Row(r), stride_, 4, bias, key);
    }
}

void PixelBuffer::ShadeRowsMasked(const PixelBuffer& mask, uint32_t key, const uint32_t* table) {
    if (!IsArgb() || !mask.IsArgb() || !table) return;
    int rows = std::min(rows_, mask.rows_);
    int columns = std::min(stride_, mask.stride_);
    for (int r = 0; r < rows; ++r) {
        uint32_t bias = table[static_cast<int64_t>(r) * 256 / rows];
        uint32_t* d = Row(r);
        const uint32_t* m = mask.Row(r);
        for (int c = 0; c < columns; ++c) {
            if (m[c] != key) d[c] = AddPixelBias(d[c], bias);
        }
    }
}

void PixelBuffer::ShadeColumns(uint32_t key, const uint32_t* table) {
    if (!IsArgb() || !table) return;
    for (int c = 0; c < stride_; ++c) {
        uint32_t bias = table[static_cast<int64_t>(c) * 256 / stride_];
        AddPixelBiasStrided(pixels_ + c, rows_, static_cast<ptrdiff_t>(stride_) * 4, bias, key);
    }
}

bool PixelBuffer::KeyToAlpha(uint32_t key, bool premultiplied) {
    if (!IsArgb()) return false;
    size_t count = static_cast<size_t>(stride_) * static_cast<size_t>(rows_);
    uint32_t keyColour = key & 0x00FFFFFF;
    for (size_t i = 0; i < count; ++i) {
        uint32_t colour = pixels_[i] & 0x00FFFFFF;
        if (colour == keyColour) {
            pixels_[i] = premultiplied ? 0 : colour;
        } else {
            pixels_[i] = colour | 0xFF000000;
        }
    }
    return true;
}

bool PixelBuffer::Premultiply() {
    if (!IsArgb()) return false;
    PremultiplyPixels(pixels_, static_cast<size_t>(stride_) * static_cast<size_t>(rows_));
    return true;
}

bool PixelBuffer::Unpremultiply() {
    if (!IsArgb()) return false;
    size_t count = static_cast<size_t>(stride_) * static_cast<size_t>(rows_);
    for (size_t i = 0; i < count; ++i) {
        uint32_t p = pixels_[i];
        uint32_t alpha = p >> 24;
        if (alpha == 0) {
            pixels_[i] = 0;
            continue;
        }
        uint32_t out = alpha << 24;
        for (int shift = 0; shift < 24; shift += 8) {
            out |= std::min<uint32_t>(((p >> shift) & 0xFF) * 255 / alpha, 255) << shift;
        }
        pixels_[i] = out;
    }
    return true;
}

void PixelBuffer::AddBiased(const PixelBuffer& source) {
    if (!IsArgb() || !source.IsArgb()) return;
    int rows = std::min(rows_, source.rows_);
    int columns = std::min(stride_, source.stride_);
    for (int r = 0; r < rows; ++r) AddPixelBiasArray(Row(r), source.Row(r), columns);
}

void PixelBuffer::Resize(int newWidth, int newHeight, bool shrinkBlock) {
    if (!IsArgb()) return;
    int width = GetWidth();
    int height = std::min(std::abs(GetHeight()), rows_);
    if (newWidth <= 0 || newWidth >= width || newHeight <= 0 || newHeight >= height) return;

    // Rows first, packed in place to the new width; then the columns of the
    // packed picture. Both passes only ever write at or before what they read.
    for (int r = 0; r < height; ++r) {
        AverageColumnPixels(Row(r), pixels_ + static_cast<size_t>(r) * newWidth, width, newWidth, 4, 4);
    }
    const ptrdiff_t step = static_cast<ptrdiff_t>(newWidth) * 4;
    for (int c = 0; c < newWidth; ++c) AverageColumnPixels(pixels_ + c, pixels_ + c, height, newHeight, step, step);
    ClearMmxState();

    stride_ = newWidth;
    rows_ = newHeight;
    info_.header.bV4Width = newWidth;
    info_.header.bV4Height = newHeight;
    uint32_t imageBytes = static_cast<uint32_t>(newWidth) * static_cast<uint32_t>(newHeight) * 4;
    info_.header.bV4SizeImage = imageBytes;
    // The row scratch stays directly behind the pixels, as DrawRotated expects.
    uint32_t keep = imageBytes + 8 * static_cast<uint32_t>(newHeight);
    if (shrinkBlock && keep < blockSize_) {
        // Shrinking a fixed block keeps it in place; should the heap refuse,
        // the larger block simply stays.
        if (void* smaller = GlobalReAlloc(pixels_, keep, 0)) {
            pixels_ = static_cast<uint32_t*>(smaller);
            blockSize_ = keep;
        }
    }
    rowScratch_ = reinterpret_cast<int32_t*>(pixels_ + static_cast<size_t>(newWidth) * newHeight);
}
