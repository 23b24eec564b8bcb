#include "kartix/gl_font.h"

#include <algorithm>
#include <cstring>

namespace {

// The characters the DC's font turns into lists: codes 0..254.
constexpr DWORD kFirstGlyph = 0;
constexpr DWORD kGlyphCount = 255;

}  // namespace

int ToAnsiText(const wchar_t* text, int length, char (&buffer)[kFontAnsiBytes + 1]) {
    buffer[0] = '\0';
    if (!text || length == 0) return 0;
    const int n = WideCharToMultiByte(CP_ACP, 0, text, length < 0 ? -1 : length, buffer, kFontAnsiBytes,
                                      nullptr, nullptr);
    if (n <= 0) {
        buffer[0] = '\0';
        return 0;
    }
    // With length -1 the count includes the terminator.
    const int bytes = (length < 0 && buffer[n - 1] == '\0') ? n - 1 : n;
    buffer[std::min(bytes, kFontAnsiBytes)] = '\0';
    return bytes;
}

bool GLBitmapFont::Create(HDC dc, bool outlines) {
    Delete();
    outlines_ = outlines;
    // Names from glGenLists never clash with the scene's display lists.
    base_ = glGenLists(kFontGlyphs);
    if (base_ == 0) return false;
    BOOL ok = outlines ? wglUseFontOutlinesW(dc, kFirstGlyph, kGlyphCount, base_, 0.0f, 0.0f, WGL_FONT_POLYGONS,
                                             metrics_)
                       : wglUseFontBitmapsW(dc, kFirstGlyph, kGlyphCount, base_);
    built_ = ok != FALSE;
    if (!built_) {
        glDeleteLists(base_, kFontGlyphs);
        base_ = 0;
    }
    height_ = 0;
    for (int c = 0; c < kFontGlyphs; ++c) {
        const char ch = static_cast<char>(c);
        SIZE size{};
        widths_[c] = 0;
        if (GetTextExtentPoint32A(dc, &ch, 1, &size)) {
            widths_[c] = static_cast<uint16_t>(std::clamp<LONG>(size.cx, 0, 0xFFFF));
            height_ = std::max<int>(height_, size.cy);
        }
    }
    return built_;
}

void GLBitmapFont::Delete() {
    if (built_ && base_) glDeleteLists(base_, kFontGlyphs);
    built_ = false;
    base_ = 0;
}

void GLBitmapFont::DrawTextA(float x, float y, float z, const char* text, int length) const {
    glPushMatrix();
    if (outlines_)
        glTranslatef(x, y, z);
    else
        glRasterPos3f(x, y, z);
    if (text && length < 0) length = static_cast<int>(std::strlen(text));
    if (text && length > 0 && built_) {
        glListBase(base_);
        glCallLists(length, GL_UNSIGNED_BYTE, text);
    }
    glPopMatrix();
}

void GLBitmapFont::DrawTextW(float x, float y, float z, const wchar_t* text, int length) const {
    char ansi[kFontAnsiBytes + 1];
    const int n = ToAnsiText(text, length, ansi);
    if (n > 0) DrawTextA(x, y, z, ansi, n);
}

int GLBitmapFont::TextWidth(const char* text, int length) const {
    if (!text || length == 0) return 0;
    int width = 0;
    for (int i = 0; (length < 0 || i < length) && text[i] != '\0'; ++i)
        width += widths_[static_cast<unsigned char>(text[i])];
    return width;
}

int GLBitmapFont::TextWidthW(const wchar_t* text, int length) const {
    char ansi[kFontAnsiBytes + 1];
    const int n = ToAnsiText(text, length, ansi);
    return n > 0 ? TextWidth(ansi, n) : 0;
}
