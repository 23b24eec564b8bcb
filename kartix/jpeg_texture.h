// A picture decoded from a JPEG file into one malloc'd block of bytes, rows
// bottom-up (the first row in memory is the bottom of the picture), pixel
// bytes in file order (R, G, B[, A]). The block may be larger than the picture
// (power-of-two sides for OpenGL, or a width rounded up to a multiple of 4);
// the picture then sits in its lower left corner.
#pragma once

#include <cstddef>
#include <cstdint>

class CJpegTexture {
public:
    CJpegTexture() = default;
    virtual ~CJpegTexture() { Free(false); }
    CJpegTexture(const CJpegTexture&) = delete;
    CJpegTexture& operator=(const CJpegTexture&) = delete;

    // 1 loaded, 0 failed. Without maxima (either below 1) the block is the
    // picture with its width rounded up to a multiple of 4; with maxima the
    // block sides are powers of two from 16 up to the first one that holds
    // the picture or reaches the maximum, and a picture larger than that is
    // refused.
    virtual int Load(const wchar_t* path, int maxWidth, int maxHeight);
    // 1 loaded, 0 failed: the whole picture at the file's sides, with no limit
    // on them but memoryLimit bytes for the block and the decoder. A CMYK
    // picture comes out as RGB. A stopRequested that answers true cuts the
    // decode short: 0.
    int LoadWhole(const wchar_t* path, uint64_t memoryLimit, bool (*stopRequested)() = nullptr);
    // 3-component pictures only; baseline JPEG at the given quality.
    virtual bool Save(const wchar_t* path, int quality) const;

    static bool ReadHeader(const wchar_t* path, int& width, int& height, int& components);

    // Frees the pixels; with clearSizes also forgets the five sizes.
    void Free(bool clearSizes);

    // Widen to 4 components (alpha in the fourth byte). False when already 4
    // components, empty or out of memory.
    bool AddAlpha(uint8_t alpha);
    // The callback gets each pixel packed little-endian (first byte lowest)
    // with the component count and returns the 4-byte pixel.
    using AlphaRule = uint32_t (*)(uint32_t pixel, int components, void* context);
    bool MakeAlphaFromLuminance(AlphaRule rule, void* context);

    // Box filter down to w x h (1 <= w <= width, 1 <= h <= height); the block
    // becomes exactly w x h.
    bool RescaleTexture(int w, int h);
    // The largest power-of-two sides not above the picture's.
    bool ShrinkToPowerOfTwo();

    bool HasPixels() const { return pixels != nullptr; }
    size_t RowBytes() const { return static_cast<size_t>(storedWidth) * static_cast<size_t>(components); }

    uint8_t* pixels = nullptr;
    int imageWidth = 0;
    int imageHeight = 0;
    int storedWidth = 0;
    int storedHeight = 0;
    int components = 0;
};

// Moves half of `source` into `target`: horizontal takes the right half of
// the columns, vertical the upper half of the rows. Both halve along the cut.
bool SplitTextureHalf(CJpegTexture& source, CJpegTexture& target, bool horizontal);
// Cuts tiles[0] into columns x rows tiles (both powers of two), index =
// column + columns x row, row 0 at the bottom. Any failure frees every tile.
bool SplitTexture(CJpegTexture* tiles, int columns, int rows);
