// Text in the GL window: the DC's 8-bit font turned into 256 display lists,
// with each character's width for layout.
#pragma once

#include <windows.h>

#include <GL/gl.h>

#include <cstdint>

inline constexpr int kFontGlyphs = 256;
inline constexpr int kFontAnsiBytes = 2047;

class GLBitmapFont {
public:
    GLBitmapFont() = default;
    ~GLBitmapFont() = default;  // the lists belong to the context: Delete while it is current
    GLBitmapFont(const GLBitmapFont&) = delete;
    GLBitmapFont& operator=(const GLBitmapFont&) = delete;

    // Needs a current context and the font selected into the DC.
    bool Create(HDC dc, bool outlines);
    void Delete();

    // A negative length means up to the terminating zero. (DrawText itself is
    // a Windows macro, hence the A.)
    void DrawTextA(float x, float y, float z, const char* text, int length) const;
    void DrawTextW(float x, float y, float z, const wchar_t* text, int length) const;
    int TextWidth(const char* text, int length) const;
    int TextWidthW(const wchar_t* text, int length) const;
    int Height() const { return height_; }
    bool built() const { return built_; }
    GLuint listBase() const { return base_; }
    int CharWidth(unsigned char c) const { return widths_[c]; }

private:
    bool built_ = false;
    bool outlines_ = false;
    int height_ = 0;
    GLuint base_ = 0;
    GLYPHMETRICSFLOAT metrics_[kFontGlyphs] = {};
    uint16_t widths_[kFontGlyphs] = {};
};

// Wide text in the ANSI code page, at most kFontAnsiBytes bytes; returns the
// byte count (0 for empty text or a failed conversion).
int ToAnsiText(const wchar_t* text, int length, char (&buffer)[kFontAnsiBytes + 1]);
