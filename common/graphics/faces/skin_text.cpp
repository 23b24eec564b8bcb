// Text of digital skins: glyph cells from the strips, font runs in between.
#include <algorithm>
#include <cwchar>

#include "common/graphics/faces/skin.h"

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

int TextLength(const wchar_t* text, int count) {
    if (!text) return 0;
    return count > 0 ? static_cast<int>(wcsnlen(text, static_cast<size_t>(count)))
                     : static_cast<int>(wcslen(text));
}

// The end of a run of characters drawn with the font: the next digit.
int RunEnd(const wchar_t* text, int from, int length) {
    int end = from;
    while (end < length && !IsDigit(text[end])) ++end;
    return end;
}

}  // namespace

POINT CSkin::LetterCell(wchar_t c) const {
    int code = static_cast<int>(c);
    if (code < 32 || code >= 256) code = 32;
    return POINT{(code & 15) * letterWidth_, ((code - 32) >> 4) * letterHeight_};
}

void CSkin::DrawGlyph(CTranspBitmap& strip, COLORREF key, int x, int y, int width, int height, int sourceX,
                      int sourceY) {
    if (opaqueText_) {
        strip.Blit(dc_, x, y, width, height, sourceX, sourceY, SRCCOPY);
    } else {
        strip.Draw(dc_, x, y, width, height, sourceX, sourceY, key);
    }
}

SIZE CSkin::MeasureText(const wchar_t* text, int count) {
    if (!digits_.IsValid()) return GetTextExtent(nullptr, text, count);
    SIZE size{0, 0};
    const int length = TextLength(text, count);
    bool afterDigit = false;
    for (int i = 0; i < length;) {
        wchar_t c = text[i];
        if (IsDigit(c) || (c == L':' && afterDigit)) {
            size.cx += IsDigit(c) ? digitWidth_ : colonWidth_;
            size.cy = std::max<LONG>(size.cy, digitHeight_);
            afterDigit = IsDigit(c);
            ++i;
        } else if (letters_.IsValid()) {
            size.cx += letterWidth_;
            size.cy = std::max<LONG>(size.cy, letterHeight_);
            afterDigit = false;
            ++i;
        } else {
            int end = RunEnd(text, i, length);
            SIZE run = GetTextExtent(nullptr, text + i, end - i);
            size.cx += run.cx;
            size.cy = std::max(size.cy, run.cy);
            afterDigit = false;
            i = end;
        }
    }
    return size;
}

void CSkin::DrawText(int x, int y, const wchar_t* text, int count) {
    if (!digits_.IsValid()) {
        TextOutShadow(nullptr, x, y, text, count);
        return;
    }
    if (!dc_) return;
    const int length = TextLength(text, count);
    const COLORREF digitKey = DigitKey();
    const COLORREF letterKey = LetterKey();

    // Without letters, digits sit centred against taller font text.
    int v = 0;
    if (!letters_.IsValid()) {
        bool hasFontText = false;
        bool afterDigit = false;
        for (int i = 0; i < length && !hasFontText; ++i) {
            wchar_t c = text[i];
            if (!IsDigit(c) && !(c == L':' && afterDigit)) hasFontText = true;
            afterDigit = IsDigit(c);
        }
        if (hasFontText) {
            int fontHeight = GetTextExtent(nullptr, L"1Wql", 4).cy;
            if (fontHeight > digitHeight_) v = (fontHeight - digitHeight_) / 2;
        }
    }

    bool afterDigit = false;
    for (int i = 0; i < length;) {
        wchar_t c = text[i];
        if (IsDigit(c)) {
            DrawGlyph(digits_, digitKey, x, y + v, digitWidth_, digitHeight_, digitWidth_ * (c - L'0'), 0);
            x += digitWidth_;
            afterDigit = true;
            ++i;
        } else if (c == L':' && afterDigit) {
            DrawGlyph(digits_, digitKey, x, y + v, colonWidth_, digitHeight_, 10 * digitWidth_, 0);
            x += colonWidth_;
            afterDigit = false;
            ++i;
        } else if (letters_.IsValid()) {
            POINT cell = LetterCell(c);
            DrawGlyph(letters_, letterKey, x, y + v, letterWidth_, letterHeight_, cell.x, cell.y);
            x += letterWidth_;
            afterDigit = false;
            ++i;
        } else {
            int end = RunEnd(text, i, length);
            TextOutShadow(nullptr, x, y, text + i, end - i);
            x += GetTextExtent(nullptr, text + i, end - i).cx;
            afterDigit = false;
            i = end;
        }
    }
}
