// Reading decoded pictures back in picture order (top row first), whatever
// their layout, for exact comparisons.
#pragma once

#include <cstdint>
#include <string>

#include "common/graphics/pixel_buffer.h"
#include "common/graphics/png_loader.h"
#include "tests/png/png_writer.h"
#include "tests/support/test_support.h"

namespace png_test {

// Bytes from one row start to the next.
inline uint32_t Pitch(const PixelBuffer& b) { return b.Header().bV4SizeImage / static_cast<uint32_t>(b.Rows()); }

// Byte i of the pixel at (x, y), y counted from the top of the picture.
inline uint8_t ByteAt(const PixelBuffer& b, int x, int y, int i) {
    const auto* base = reinterpret_cast<const uint8_t*>(b.Pixels());
    int memoryRow = b.Rows() - 1 - y;
    return base[static_cast<size_t>(memoryRow) * Pitch(b) + static_cast<size_t>(x) * (b.GetBitCount() / 8) + i];
}

// The 32-bit pixel at (x, y) from the top.
inline uint32_t ArgbAt(const PixelBuffer& b, int x, int y) { return b.GetPixel(x, b.Rows() - 1 - y); }

// Writes the file into the folder and loads it.
inline bool LoadBytes(const testing_support::TempDir& dir, const std::string& bytes, PixelBuffer& out,
                      const wchar_t* name = L"picture.png") {
    std::wstring path = dir.file(name);
    if (!testing_support::WriteBytes(path, bytes)) return false;
    return LoadPngFile(out, path.c_str());
}

}  // namespace png_test
