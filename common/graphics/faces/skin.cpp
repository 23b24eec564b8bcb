#include "common/graphics/faces/skin.h"

#include <cstdlib>
#include <cwchar>

#include "common/graphics/faces/skin_ini.h"
#include "common/graphics/gdi_handles.h"
#include "common/graphics/pixel_buffer.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/platform/file_paths.h"
#include "common/platform/theme_library.h"

namespace {

// Characters of [font] face and [font] align that are read.
constexpr DWORD kFaceChars = 100;
constexpr DWORD kAlignChars = 20;
// A shadow further away than this is taken for a mistake: no offset.
constexpr int kMaxShadowOffset = 8;
// Characters of a skin name kept, as CGraphics keeps style names.
constexpr size_t kNameChars = 259;

// The icon-title font: what a skin without bitmap letters and without a face
// of its own writes in. The pre-Vista size of 108 bytes every version takes.
bool IconTitleFont(LOGFONTW& font) {
    ICONMETRICSW metrics;
    ZeroMemory(&metrics, sizeof metrics);
    static_assert(sizeof(ICONMETRICSW) == 108);
    metrics.cbSize = 108;
    if (!SystemParametersInfoW(SPI_GETICONMETRICS, 108, &metrics, 0)) return false;
    font = metrics.lfFont;
    return true;
}

}  // namespace

COLORREF BitmapPixelAt(const CBitmap& bitmap, int x, int y) {
    if (!bitmap.IsValid()) return kColourNotSet;
    int height = bitmap.Height() < 0 ? -bitmap.Height() : bitmap.Height();
    // CBitmap counts memory rows from the bottom.
    uint32_t p = bitmap.GetPixel(x, height - 1 - y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

std::wstring CSkin::FolderFor(const wchar_t* name) {
    std::wstring folder = SkinsFolder() + (name ? name : L"");
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    return folder;
}

int CSkin::GetSkinFlags() const {
    int flags = 0;
    if (digits_.IsValid()) flags |= kSkinDigits;
    if (letters_.IsValid()) flags |= kSkinLetters;
    if (lightmap_.IsValid()) flags |= kSkinLightmap;
    return flags;
}

COLORREF CSkin::DigitKey() const {
    // The top-left pixel of the colon cell.
    return digits_.IsValid() ? BitmapPixelAt(digits_, 10 * digitWidth_, 0) : kColourNotSet;
}

COLORREF CSkin::LetterKey() const { return letters_.IsValid() ? BitmapPixelAt(letters_, 0, 0) : kColourNotSet; }

COLORREF CSkin::GetBackColor() const {
    if (letters_.IsValid()) return LetterKey();
    if (digits_.IsValid()) return DigitKey();
    return backColour_;
}

bool CSkin::SetFontHeight(int height) {
    if (digits_.IsValid() || letters_.IsValid()) return false;
    return CGraphics::SetFontHeight(height);
}

void CSkin::DestroyStrips() {
    digits_.Destroy();
    letters_.Destroy();
    colonWidth_ = digitWidth_ = digitHeight_ = 0;
    letterWidth_ = letterHeight_ = 0;
}

bool CSkin::Load(const wchar_t* name, int width, int size, int weight, int style) {
    if (!name) name = L"";
    const std::wstring folder = FolderFor(name);
    if (!*name || !DirectoryExists(folder.c_str())) {
        DestroyStrips();
        // A lightmap of an earlier folder would light a face it was not made for.
        lightmap_.Destroy();
        return CGraphics::Load(name, width, size != 0 ? size : 8, weight, style);
    }
    const std::wstring ini = folder + L"\\skin.ini";
    auto file = [&](const wchar_t* leaf) { return folder + L"\\" + leaf; };

    wchar_t face[kFaceChars] = {};
    ReadIniString(ini.c_str(), L"font", L"face", L"", face, kFaceChars);

    // Letters: the grid itself, else the text file rearranged into one.
    DestroyStrips();
    if (!letters_.LoadFile(file(L"alphas.bmp").c_str(), 0) && !LoadLetterStrip(file(L"text.bmp").c_str())) {
        letters_.Destroy();
    }
    letterWidth_ = letters_.Width() / kLetterColumns;
    letterHeight_ = letters_.Height() / kLetterRows;
    if (letterWidth_ <= 0 || letterHeight_ <= 0) {
        // Smaller than the grid: no cell to draw from.
        letters_.Destroy();
        letterWidth_ = letterHeight_ = 0;
    }

    if (ReadSkinNumber(ini.c_str(), L"border", L"enabled", 0) != 0) {
        styleKind_ = Themes().themesActive ? kStyleThemedFrame : kStyleClassicFrame;
    } else {
        styleKind_ = kStylePlain;
    }
    borderColour_ = SwapRedBlue(static_cast<uint32_t>(
        ReadSkinNumber(ini.c_str(), L"border", L"color", static_cast<int32_t>(kColourNotSet))));
    wchar_t align[kAlignChars] = {};
    ReadIniString(ini.c_str(), L"font", L"align", L"", align, kAlignChars);
    if (_wcsicmp(align, L"center") == 0) {
        centreText_ = true;
    } else if (_wcsicmp(align, L"right") == 0) {
        centreText_ = false;
    }

    int fontSize = ReadSkinNumber(ini.c_str(), L"font", L"size", 0);
    int fontWidth = 0;
    if (face[0]) {
        if (fontSize == 0) {
            fontSize = 8;
        } else {
            fontWidth = ReadSkinNumber(ini.c_str(), L"font", L"width", 0);
        }
        style = ReadSkinNumber(ini.c_str(), L"font", L"style", style);
        weight = ReadSkinNumber(ini.c_str(), L"font", L"weight", weight);
    } else if (letters_.IsValid()) {
        fontSize = 0;
    } else {
        LOGFONTW icon;
        if (IconTitleFont(icon)) {
            CopyBounded(face, 99, icon.lfFaceName);
            weight = icon.lfWeight;
            style = icon.lfItalic ? 1 : 0;
            if (fontSize == 0) fontSize = icon.lfHeight;
        } else {
            CopyBounded(face, L"MS Sans Serif");
            if (fontSize == 0) fontSize = 8;
        }
    }
    if (fontSize != 0) {
        CGraphics::Load(face, fontWidth, fontSize, weight, style);
        textColour_ = SwapRedBlue(static_cast<uint32_t>(
            ReadSkinNumber(ini.c_str(), L"font", L"color", static_cast<int32_t>(SwapRedBlue(textColour_)))));
        shadowColour_ = SwapRedBlue(static_cast<uint32_t>(
            ReadSkinNumber(ini.c_str(), L"shadow", L"color", static_cast<int32_t>(kColourNotSet))));
        shadowOffset_ = ReadSkinNumber(ini.c_str(), L"shadow", L"offset", 0);
        if (std::abs(shadowOffset_) > kMaxShadowOffset) shadowOffset_ = 0;
    }

    // Digits: the strip itself, else one of the two files of narrow digits.
    if (!digits_.LoadFile(file(L"digits.bmp").c_str(), 0)) {
        if (!LoadDigitStrip(file(L"numbers.bmp").c_str())) digits_.Destroy();
        if (!digits_.IsValid() && !LoadDigitStrip(file(L"nums_ex.bmp").c_str())) digits_.Destroy();
    }
    bool fromLetters = false;
    if (!digits_.IsValid() && letters_.IsValid()) {
        if (!DigitsFromLetters()) {
            DestroyStrips();
            CopyBounded(name_, kNameChars, name);
            return false;
        }
        fromLetters = true;
    }
    if (digits_.IsValid()) {
        digitHeight_ = digits_.Height();
        if (fromLetters) {
            // Eleven letter cells less one pixel: wider letters would not
            // divide into ten digits and a colon by the strip's width.
            digitWidth_ = letterWidth_;
            colonWidth_ = letterWidth_ - 1;
        } else {
            digitWidth_ = digits_.Width() / 10;
            colonWidth_ = digits_.Width() % 10;
        }
        if (digitWidth_ <= 0 || digitHeight_ <= 0) {
            digits_.Destroy();
            colonWidth_ = digitWidth_ = digitHeight_ = 0;
        }
    }
    // With a font the letters come from the font.
    if (fontSize != 0) {
        letters_.Destroy();
        letterWidth_ = letterHeight_ = 0;
    }

    if (!lightmap_.LoadFile(file(L"lightmap.bmp").c_str(), 0)) lightmap_.Destroy();
    CopyBounded(name_, kNameChars, name);
    return true;
}

void CSkin::FillBackground(const RECT& rect, COLORREF colour) {
    const CTranspBitmap* strip = letters_.IsValid() ? &letters_ : (digits_.IsValid() ? &digits_ : nullptr);
    if (colour != kColourNotSet || !strip || !dc_) {
        CGraphics::FillBackground(rect, colour);
        return;
    }
    POINT key = strip == &letters_ ? POINT{0, 0} : POINT{10 * digitWidth_, 0};
    if (styleKind_ == kStylePlain) {
        StretchBlt(dc_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, strip->Dc(), key.x,
                   key.y, 1, 1, SRCCOPY);
        return;
    }
    COLORREF pixel = BitmapPixelAt(*strip, key.x, key.y);
    DrawFrame(rect, styleKind_ == kStyleThemedFrame, pixel, pixel);
}

void CSkin::ApplyLightmap(PixelBuffer& target, int width, int height) {
    if (width <= 0 || height <= 0 || !lightmap_.IsValid() || !target.IsValid()) return;
    PixelBuffer light(lightmap_);
    if (!light.IsValid()) return;
    light.Resize(width, height, true);
    target.AddBiased(light);
}
