#include "common/graphics/log_font.h"

#include "common/platform/text_bounds.h"

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

// What a font description needs of the screen: its resolution and the
// charset. Read once per process and kept; every clock face builds fonts, and
// the screen does not change its resolution under a running program.
struct ScreenFacts {
    bool ok = false;
    int charset = 0;
    int dpiX = 96;
    int dpiY = 96;
};

ScreenFacts ReadScreen() {
    ScreenFacts f;
    HDC screen = GetDC(nullptr);
    if (!screen) return f;
    f.ok = true;
    f.charset = CharsetForCodePage(UserAnsiCodePage());
    if (f.charset <= 0) f.charset = GetTextCharset(screen);
    f.dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    f.dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return f;
}

// A first read that found no screen is tried again next time.
ScreenFacts Screen() {
    static const ScreenFacts first = ReadScreen();
    return first.ok ? first : ReadScreen();
}

// Logical units of the screen (MM_TEXT: device units) of a size in points.
LONG PointsToLogical(int points, int dpi) { return -(points * dpi / 72); }

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
    const ScreenFacts screen = Screen();
    if (!screen.ok) return false;
    font->lfCharSet = static_cast<BYTE>(screen.charset);
    font->lfHeight = height > 0 ? PointsToLogical(height, screen.dpiY) : height;
    font->lfWidth = width > 0 ? PointsToLogical(width, screen.dpiX) : width;

    font->lfWeight = weight;
    font->lfItalic = (style & kFontItalic) ? 1 : 0;
    font->lfUnderline = (style & kFontUnderline) ? 1 : 0;
    font->lfStrikeOut = (style & kFontStrikeOut) ? 1 : 0;
    font->lfEscapement = 0;
    font->lfOrientation = 0;
    CopyBounded(font->lfFaceName, face);
    return true;
}
