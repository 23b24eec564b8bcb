// A GDI bitmap kept selected in its own memory DC, ready to draw from and into.
#pragma once

#include <windows.h>

#include <cstdint>

class CBitmap {
public:
    CBitmap() = default;
    // Virtual so that a derived bitmap deleted through a base pointer still
    // frees what it added (the mask of a CTranspBitmap).
    virtual ~CBitmap();
    CBitmap(const CBitmap&) = delete;
    CBitmap& operator=(const CBitmap&) = delete;

    // Planes and bit count both 0: a bitmap in the screen's format; otherwise
    // CreateBitmap with them (1, 1 is monochrome). Sides must be positive.
    virtual bool Create(int width, int height, int planes, int bitCount);
    // Back to empty: the DC and the bitmap are deleted, the size cleared.
    virtual void Destroy();

    // Takes ownership of the handle whatever the outcome.
    bool Attach(HBITMAP bitmap);
    // LoadImageW from a .bmp file; LR_LOADFROMFILE is added to the flags.
    // Files whose header names sides beyond kMaxImageSide are refused, or
    // beyond the wallpaper's limits (image_limits.h) with wallpaper set.
    bool LoadFile(const wchar_t* path, UINT loadFlags, bool wallpaper = false);
    // As Destroy, but the size stays.
    void Free();

    bool IsValid() const { return dc_ != nullptr; }

    // Copies a rectangle of the bitmap at equal size onto the target.
    bool Blit(HDC target, int x, int y, int width, int height, int sourceX, int sourceY, DWORD rop) const;
    // colour is 0x00RRGGBB (any 32-bit value when the bits are known and 32-bit);
    // y counts memory rows, from the bottom.
    bool SetPixel(int x, int y, uint32_t colour);
    // Sets the alpha byte inside a rectangle of memory rows, clipped to the
    // bitmap; GDI text and shapes leave alpha at 0.
    void FillAlpha(int x, int y, int width, int height, uint8_t alpha);
    // The pixel as 0xAARRGGBB: straight from 32-bit bits (y counts memory rows,
    // from the bottom), otherwise from the DC with alpha 0xFF (0xFFFFFFFF
    // outside the bitmap or for an empty one).
    uint32_t GetPixel(int x, int y) const;

    HDC Dc() const { return dc_; }
    HBITMAP Handle() const { return bitmap_; }
    void* Bits() const { return bits_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitCount() const { return bitCount_; }

    // Takes the bitmap out of its DC for a scope: GetDIBits and SetDIBits
    // refuse a bitmap that is selected.
    class Deselected {
    public:
        explicit Deselected(const CBitmap& bitmap);
        ~Deselected();
        Deselected(const Deselected&) = delete;
        Deselected& operator=(const Deselected&) = delete;

    private:
        const CBitmap& bitmap_;
    };

protected:
    // Selects bitmap_ into dc_ and keeps what was there; false when GDI refuses.
    bool SelectIntoDc();

    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    int32_t width_ = 0;
    int32_t height_ = 0;
    uint16_t bitCount_ = 0;
};

// Width, height (absolute) and bit count of a bitmap that is not selected
// anywhere, through a header-only GetDIBits.
bool QueryBitmapFormat(HDC dc, HBITMAP bitmap, int& width, int& height, int& bitCount);
