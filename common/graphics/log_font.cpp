#include "common/graphics/log_font.h"

#include "common/time/text_bounds.h"

namespace {

struct CodePageCharset {
    UINT codePage;
    BYTE charset;
};

constexpr CodePageCharset kCharsets[] = {
    {932, SHIFTJIS_CHARSET},   {936, GB2312_CHARSET},       {949, HANGEUL_CHARSET},
    {862, HEBREW_CHARSET},     {864, ARABIC_CHARSET},       {950, CHINESEBIG5_CHARSET},
    {1250, EASTEUROPE_CHARSET}, {1251, RUSSIAN_CHARSET},    {1252, ANSI_CHARSET},
    {1253, GREEK_CHARSET},     {1254, TURKISH_CHARSET},     {1257, BALTIC_CHARSET},
};
static_assert(SHIFTJIS_CHARSET == 128 && GB2312_CHARSET == 134 && HANGEUL_CHARSET == 129);
static_assert(HEBREW_CHARSET == 177 && ARABIC_CHARSET == 178 && CHINESEBIG5_CHARSET == 136);
static_assert(EASTEUROPE_CHARSET == 238 && RUSSIAN_CHARSET == 204 && ANSI_CHARSET == 0);
static_assert(GREEK_CHARSET == 161 && TURKISH_CHARSET == 162 && BALTIC_CHARSET == 186);

// The user's ANSI code page when it is given in digits and installed, else 0.
UINT UserAnsiCodePage() {
    WCHAR digits[8] = {};
    LCID user = MAKELCID(GetUserDefaultLangID(), SORT_DEFAULT);
    if (GetLocaleInfoW(user, LOCALE_IDEFAULTANSICODEPAGE, digits, 8) <= 0) return 0;
    UINT cp = 0;
    for (const WCHAR* p = digits; *p; ++p) {
        if (*p < L'0' || *p > L'9') return 0;
        cp = cp * 10 + static_cast<UINT>(*p - L'0');
    }
    return IsValidCodePage(cp) ? cp : 0;
}

// Device units of a size in points along one axis, in logical units of dc.
LONG PointsToLogical(HDC dc, int points, bool vertical) {
    int dpi = GetDeviceCaps(dc, vertical ? LOGPIXELSY : LOGPIXELSX);
    POINT pt{0, 0};
    (vertical ? pt.y : pt.x) = points * dpi / 72;
    DPtoLP(dc, &pt, 1);
    return -(vertical ? pt.y : pt.x);
}

}  // namespace

int CharsetForCodePage(UINT codePage) {
    for (const CodePageCharset& c : kCharsets) {
        if (c.codePage == codePage) return c.charset;
    }
    return -1;
}

bool MakeLogFont(const WCHAR* face, int width, int height, int weight, int style, LOGFONTW* font) {
    if (!font) return false;
    ZeroMemory(font, sizeof(*font));
    HDC screen = GetDC(nullptr);
    if (!screen) return false;

    int charset = CharsetForCodePage(UserAnsiCodePage());
    if (charset <= 0) charset = GetTextCharset(screen);
    font->lfCharSet = static_cast<BYTE>(charset);
    font->lfHeight = height > 0 ? PointsToLogical(screen, height, true) : height;
    font->lfWidth = width > 0 ? PointsToLogical(screen, width, false) : width;
    ReleaseDC(nullptr, screen);

    font->lfWeight = weight;
    font->lfItalic = (style & kFontItalic) ? 1 : 0;
    font->lfUnderline = (style & kFontUnderline) ? 1 : 0;
    font->lfStrikeOut = (style & kFontStrikeOut) ? 1 : 0;
    font->lfEscapement = 0;
    font->lfOrientation = 0;
    CopyBounded(font->lfFaceName, face);
    return true;
}
