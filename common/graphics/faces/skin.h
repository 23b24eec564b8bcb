// A digital skin: the folder skins\<name>\ beside the programs with skin.ini
// and glyph bitmaps. Digits and letters come from bitmap strips where the
// skin has them, from the font its skin.ini names otherwise; a lightmap may
// be laid over analogue faces. A name without a folder is a built-in style
// or a font face, drawn as CGraphics draws it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "common/graphics/bitmap.h"
#include "common/graphics/faces/graphics.h"
#include "common/graphics/transp_bitmap.h"

// Cells of the letter grid: 16 columns by 14 rows, from character code 32.
inline constexpr int kLetterColumns = 16;
inline constexpr int kLetterRows = 14;

class CSkin : public CGraphics {
public:
    CSkin() = default;
    ~CSkin() override = default;

    int GetSkinFlags() const override;
    SIZE MeasureText(const wchar_t* text, int count) override;
    bool Load(const wchar_t* name, int width, int size, int weight, int style) override;
    void FillBackground(const RECT& rect, COLORREF colour) override;
    void DrawText(int x, int y, const wchar_t* text, int count) override;
    void ApplyLightmap(PixelBuffer& target, int width, int height) override;
    COLORREF GetBackColor() const override;
    // Glyph strips have one size: their skins cannot change the font height.
    bool SetFontHeight(int height) override;

    int GetColonWidth() const { return colonWidth_; }
    int GetDigitWidth() const { return digitWidth_; }
    int GetDigitHeight() const { return digitHeight_; }
    int GetLetterWidth() const { return letterWidth_; }
    int GetLetterHeight() const { return letterHeight_; }
    const CTranspBitmap& DigitStrip() const { return digits_; }
    const CTranspBitmap& LetterStrip() const { return letters_; }
    // The transparent colours of the strips (COLORREF); kColourNotSet
    // without the strip.
    COLORREF DigitKey() const;
    COLORREF LetterKey() const;

    // The skin's folder for a name: the skins folder and the name, without a
    // trailing backslash.
    static std::wstring FolderFor(const wchar_t* name);

protected:
    // The text file of glyphs in three rows of 31 cells, rearranged into the
    // letter grid.
    bool LoadLetterStrip(const wchar_t* path);
    // A file of 9-pixel digits, spread into 11-pixel cells with an 8-pixel
    // colon cell after them.
    bool LoadDigitStrip(const wchar_t* path);
    // Digits "0" to ":" taken from the second row of the letter grid.
    bool DigitsFromLetters();
    void DestroyStrips();

    int32_t colonWidth_ = 0;
    int32_t digitWidth_ = 0;
    int32_t digitHeight_ = 0;
    int32_t letterWidth_ = 0;
    int32_t letterHeight_ = 0;
    CTranspBitmap digits_;
    CTranspBitmap letters_;
    CBitmap lightmap_;

private:
    // Glyph cell of a character in the letter grid.
    POINT LetterCell(wchar_t c) const;
    // Draws one glyph cell keyed (or copied when the text is opaque).
    void DrawGlyph(CTranspBitmap& strip, COLORREF key, int x, int y, int width, int height, int sourceX,
                   int sourceY);
};

// A pixel read as screen position (y from the top) of a bitmap, as COLORREF.
COLORREF BitmapPixelAt(const CBitmap& bitmap, int x, int y);
// skin.ini colours are written 0xRRGGBB: red and blue change places.
inline COLORREF SwapRedBlue(uint32_t value) {
    return (value & 0xFF00FF00u) | ((value & 0xFFu) << 16) | ((value >> 16) & 0xFFu);
}
