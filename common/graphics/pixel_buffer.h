// A 32-bit picture in one fixed global memory block, with a Windows bitmap
// header in front so that GDI can read and write it directly. The analogue
// faces draw and shade in it; the PNG loader delivers its images in it.
//
// A fixed 152-byte record; pixel_buffer.cpp pins its layout.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/graphics/dib_header.h"

class CBitmap;

class PixelBuffer {
public:
    // Empty: header zero, colour masks set.
    PixelBuffer();
    // Empty, then LoadFromBitmap.
    PixelBuffer(const CBitmap& bitmap, int startRow, int rowCount);
    // Empty, then LoadFromBitmap of every row.
    explicit PixelBuffer(const CBitmap& bitmap);
    ~PixelBuffer();
    PixelBuffer(const PixelBuffer&) = delete;
    PixelBuffer& operator=(const PixelBuffer&) = delete;
    PixelBuffer(PixelBuffer&& other) noexcept;
    PixelBuffer& operator=(PixelBuffer&& other) noexcept;

    // GlobalFree of the block; sizes and pointers back to zero (the header stays).
    void Free();

    bool IsValid() const { return pixels_ != nullptr; }
    int GetWidth() const { return info_.header.bV4Width; }
    int GetHeight() const { return info_.header.bV4Height; }
    int GetBitCount() const { return info_.header.bV4BitCount; }

    // Rows of the bitmap into the buffer: startRow counts memory rows from the
    // bottom; a row count of 0 (or one that runs past the top) means every row
    // from startRow on. Any failure leaves the buffer empty. A bitmap of
    // another depth is converted; its pixels' alpha bytes mean nothing then.
    bool LoadFromBitmap(const CBitmap& bitmap, int startRow, int rowCount);
    // Every row back into the bitmap; true when GDI copied rows.
    bool WriteTo(const CBitmap& bitmap) const;

    // Takes over a block handed out by Detach or the image export: the header
    // (40 or 108 bytes, by its size field) describes it, and the block holds
    // the image followed by 8 bytes a row. On failure nothing is taken.
    bool Adopt(const void* header, void* block);
    // Gives the header (108 bytes when its size field says 108, else 40) and,
    // when bits is given, the block itself to the caller, who frees it with
    // GlobalFree. False when the buffer is empty.
    bool Detach(void* header, void** bits);

    // The pixel at a column and memory row, 0xFFFFFFFF outside the picture.
    uint32_t GetPixel(int column, int row) const;
    // Stores a pixel; false outside the picture or for an empty buffer.
    bool SetPixel(int column, int row, uint32_t value);
    // Bilinear sample at 24.8 fixed-point coordinates; key pixels read as
    // replacement, and points outside the picture give key.
    uint32_t Sample(int32_t x, int32_t y, uint32_t key, uint32_t replacement) const;
    // Draws sourceRect of this picture (top is the larger row number, as rows
    // count from the bottom) into destination, turned by angle degrees
    // (clockwise on screen) about the two centres. Key pixels of the source
    // show the destination beneath.
    void DrawRotated(PixelBuffer& destination, int destCentreX, int destCentreY, int sourceCentreX,
                     int sourceCentreY, const RECT& sourceRect, double angle, uint32_t key) const;

    // Blends the source over this picture where the source is not key.
    void BlendFrom(const PixelBuffer& source, uint32_t key, uint32_t weight);
    // Blends a colour into every pixel that is not key, keeping alpha.
    void BlendColor(uint32_t colour, uint32_t key, uint32_t weight);
    // Shading by a 256-entry bias table (such as GreyRamp) along the rows, the
    // rows under a mask, or the columns; key pixels are left alone.
    void ShadeRows(uint32_t key, const uint32_t* table);
    void ShadeRowsMasked(const PixelBuffer& mask, uint32_t key, const uint32_t* table);
    void ShadeColumns(uint32_t key, const uint32_t* table);
    // Pixels of the key's colour become transparent (0 when premultiplied,
    // else their colour with alpha 0); all others opaque.
    bool KeyToAlpha(uint32_t key, bool premultiplied);
    bool Premultiply();
    // Back to straight colours: each colour byte x 255 / alpha (at most 255);
    // fully transparent pixels become 0.
    bool Unpremultiply();
    // A lightmap: grey 128 leaves a pixel as it is.
    void AddBiased(const PixelBuffer& source);
    // Shrinks by box-filter averaging; nothing unless both sides get smaller.
    void Resize(int newWidth, int newHeight, bool shrinkBlock);

    // Direct access for drawing code; rows follow each other Stride() pixels apart.
    uint32_t* Pixels() { return pixels_; }
    const uint32_t* Pixels() const { return pixels_; }
    int Stride() const { return stride_; }
    int Rows() const { return rows_; }
    uint32_t BlockSize() const { return blockSize_; }
    const int32_t* RowScratch() const { return rowScratch_; }
    const BITMAPV4HEADER& Header() const { return info_.header; }
    const BITMAPINFO* Info() const { return info_.AsBitmapInfo(); }

private:
    friend struct PixelBufferLayout;

    // A valid 32-bit buffer: the only kind the pixel operations touch.
    bool IsArgb() const;
    uint32_t* Row(int row) { return pixels_ + static_cast<size_t>(row) * static_cast<size_t>(stride_); }
    const uint32_t* Row(int row) const { return pixels_ + static_cast<size_t>(row) * static_cast<size_t>(stride_); }

    DibInfoV4 info_;             // header, then the masks again
    uint32_t blockSize_ = 0;     // bytes of the block: pixels, then 8 bytes a row
    uint32_t* pixels_ = nullptr; // GMEM_FIXED block, owned
    int32_t* rowScratch_ = nullptr;  // (left, right) per row for DrawRotated, after the pixels
    int32_t stride_ = 0;         // pixels per row
    int32_t rows_ = 0;           // rows held
};

// Deletes a buffer made with new (its block with it); null is ignored.
void DestroyPixelBuffer(PixelBuffer* buffer);
