// The older glyph files of skins, rearranged into the strips CSkin draws from.
#include <cwchar>

#include "common/graphics/faces/skin.h"
#include "common/graphics/gdi_handles.h"

namespace {

// text.bmp: three rows of 31 cells; blanks are unused cells.
constexpr int kTextColumns = 31;
constexpr int kTextRows = 3;
constexpr const wchar_t* kTextCells[kTextRows] = {
    L"ABCDEFGHIJKLMNOPQRSTUVWXYZ\"    ",
    L"0123456789  :()-'!_+\\/[]^&%.=$ ",
    L"   ?*                          ",
};
static_assert(sizeof(L"ABCDEFGHIJKLMNOPQRSTUVWXYZ\"    ") / sizeof(wchar_t) == kTextColumns + 1);
static_assert(sizeof(L"0123456789  :()-'!_+\\/[]^&%.=$ ") / sizeof(wchar_t) == kTextColumns + 1);
static_assert(sizeof(L"   ?*                          ") / sizeof(wchar_t) == kTextColumns + 1);

// numbers.bmp and nums_ex.bmp: 9-pixel digits side by side, spread into
// 11-pixel cells with an 8-pixel colon cell after them.
constexpr int kNarrowDigit = 9;
constexpr int kSpreadDigit = 11;
constexpr int kSpreadColon = 8;
constexpr int kSpreadWidth = 10 * kSpreadDigit + kSpreadColon;  // 118

bool FillWith(const CBitmap& bitmap, COLORREF colour) {
    gdi::Object<HBRUSH> brush(CreateSolidBrush(colour));
    if (!brush) return false;
    RECT all{0, 0, bitmap.Width(), bitmap.Height()};
    return FillRect(bitmap.Dc(), &all, brush.get()) != 0;
}

// The grid cell of a character code (32..255).
POINT GridCell(int code, int cellWidth, int cellHeight) {
    return POINT{(code & 15) * cellWidth, ((code - 32) >> 4) * cellHeight};
}

}  // namespace

bool CSkin::LoadLetterStrip(const wchar_t* path) {
    letters_.Destroy();
    CBitmap file;
    if (!file.LoadFile(path, 0)) return false;
    const int cellWidth = file.Width() / kTextColumns;
    const int cellHeight = file.Height() / kTextRows;
    if (cellWidth <= 0 || cellHeight <= 0) return false;
    // Glyph rows are one pixel further apart in the grid than in the file.
    const int gridHeight = cellHeight + 1;
    if (!letters_.Create(kLetterColumns * cellWidth, kLetterRows * gridHeight, 0, 0)) return false;
    if (!FillWith(letters_, BitmapPixelAt(file, file.Width() - 1, 0))) {
        letters_.Destroy();
        return false;
    }
    auto copyCell = [&](HDC source, int sourceX, int sourceY, int code) {
        POINT at = GridCell(code, cellWidth, gridHeight);
        BitBlt(letters_.Dc(), at.x, at.y, cellWidth, cellHeight, source, sourceX, sourceY, SRCCOPY);
    };
    for (int row = 0; row < kTextRows; ++row) {
        for (int column = 0; column < kTextColumns; ++column) {
            wchar_t c = kTextCells[row][column];
            if (c == L' ') continue;
            copyCell(file.Dc(), column * cellWidth, row * cellHeight, c);
        }
    }
    // Commas look like full stops, and lower case like upper case.
    POINT stop = GridCell(L'.', cellWidth, gridHeight);
    copyCell(letters_.Dc(), stop.x, stop.y, L',');
    for (int c = L'a'; c <= L'z'; ++c) {
        POINT upper = GridCell(c - L'a' + L'A', cellWidth, gridHeight);
        copyCell(letters_.Dc(), upper.x, upper.y, c);
    }
    return true;
}

bool CSkin::LoadDigitStrip(const wchar_t* path) {
    digits_.Destroy();
    CBitmap file;
    if (!file.LoadFile(path, 0)) return false;
    const int height = file.Height();
    // Ten digits must be there: a narrower file would be read past its edge.
    if (height <= 0 || file.Width() < 10 * kNarrowDigit) return false;
    if (!digits_.Create(kSpreadWidth, height, 0, 0) || !FillWith(digits_, BitmapPixelAt(file, file.Width() - 1, 0))) {
        digits_.Destroy();
        return false;
    }
    for (int i = 0; i < 10; ++i) {
        BitBlt(digits_.Dc(), kSpreadDigit * i, 0, kNarrowDigit, height, file.Dc(), kNarrowDigit * i, 0, SRCCOPY);
    }
    if (letters_.IsValid() && letterWidth_ >= 2 && letterHeight_ >= 3) {
        // The colon is the middle of the "=" glyph stood upright: its two bars
        // become two dots.
        CTranspBitmap cell;
        if (cell.Create(letterWidth_, letterHeight_, 0, 0) &&
            FillWith(cell, BitmapPixelAt(digits_, 10 * kSpreadDigit, 0))) {
            POINT equals = GridCell(L'=', letterWidth_, letterHeight_);
            letters_.Draw(cell.Dc(), 0, 0, letterWidth_, letterHeight_, equals.x, equals.y, LetterKey());
            StretchBlt(digits_.Dc(), kSpreadColon / 2 + 10 * kSpreadDigit - 1, 0, 2, height, cell.Dc(),
                       letterWidth_ / 2 - 1, 0, 2, letterHeight_ - 2, SRCCOPY);
        }
    }
    return true;
}

bool CSkin::DigitsFromLetters() {
    digits_.Destroy();
    const int width = letterWidth_ * 11 - 1;
    if (width <= 0 || letterHeight_ <= 0 || !digits_.Create(width, letterHeight_, 0, 0)) {
        digits_.Destroy();
        return false;
    }
    // Codes 48 to 58, "0" to ":", fill the grid's second row from its left.
    POINT zero = GridCell(L'0', letterWidth_, letterHeight_);
    return BitBlt(digits_.Dc(), 0, 0, width, letterHeight_, letters_.Dc(), zero.x, zero.y, SRCCOPY) != FALSE;
}
