// The render context and the bitmap font on a DIB section, read back pixel
// by pixel; the extension list search.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cstring>

#include "common/mapdialog/map_plugin_errors.h"
#include "kartix/gl_extensions.h"
#include "kartix/gl_font.h"
#include "kartix/render_context.h"
#include "tests/kartix/gl_test_surface.h"

namespace {

class GLSurfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(surface.ok());
        ASSERT_EQ(context.Create(surface.dc(), kBitmapPixelFormatFlags), 0u) << context.win32Error();
        ASSERT_NE(context.context(), nullptr);
    }
    void TearDown() override { context.Release(); }

    GLTestSurface surface{64, 32};
    RenderContext context;
};

uint32_t ReadPixel(int x, int y) {
    unsigned char rgba[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return (rgba[0] << 16) | (rgba[1] << 8) | rgba[2];
}

}  // namespace

TEST_F(GLSurfaceTest, ClearReadsBackAndReachesTheBitmap) {
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glFinish();
    EXPECT_EQ(ReadPixel(0, 0), 0xFF0000u);
    EXPECT_EQ(ReadPixel(63, 31), 0xFF0000u);
    EXPECT_EQ(surface.Pixel(10, 10), 0xFF0000u);

    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glFinish();
    EXPECT_EQ(ReadPixel(5, 5), 0x0000FFu);
}

TEST_F(GLSurfaceTest, DriverStringsAndExtensionsAreKept) {
    // Mesa here is not the GDI renderer: the strings are copied.
    EXPECT_GT(std::strlen(context.renderer()), 0u);
    EXPECT_GT(std::strlen(context.version()), 0u);
    EXPECT_GT(std::strlen(context.vendor()), 0u);
    EXPECT_EQ(context.pixelFormat().nSize, sizeof(PIXELFORMATDESCRIPTOR));
    EXPECT_EQ(context.pixelFormat().cDepthBits, 32);
    const GLExtensions& ext = GLExtensionFlags();
    const char* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ext.edgeClamp, ExtensionListed(list, "GL_EXT_texture_edge_clamp"));
    EXPECT_EQ(ext.textureCompression, ExtensionListed(list, "GL_ARB_texture_compression"));
    // Multitexturing comes with its entry points bound (Mesa here lists it).
    const bool multitexture = ExtensionListed(list, "GL_ARB_multitexture");
    EXPECT_EQ(ext.multitexture, multitexture);
    if (!multitexture) GTEST_SKIP() << "this driver has no multitexturing to bind";
    EXPECT_NE(ext.activeTexture, nullptr);
    EXPECT_NE(ext.multiTexCoord2f, nullptr);
}

TEST_F(GLSurfaceTest, ReleaseForgetsTheContextAndMakeCurrentThenFails) {
    context.Release();
    EXPECT_EQ(context.context(), nullptr);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_FALSE(context.MakeCurrent(surface.dc()));
    context.Release();  // twice is harmless
}

TEST(RenderContextSetUp, NoDcGivesNoContextAndABadDcAPixelFormatError) {
    RenderContext context;
    EXPECT_EQ(context.Create(nullptr), 0u);
    EXPECT_EQ(context.context(), nullptr);
    EXPECT_FALSE(context.MakeCurrent(nullptr));

    // A DC of a bitmap cannot take a window pixel format a second time with
    // another format; an information DC takes none at all.
    HDC info = CreateICW(L"DISPLAY", nullptr, nullptr, nullptr);
    if (info) {
        const DWORD code = context.Create(info);
        EXPECT_TRUE(code == 0 || code == MAP_ERR_CHOOSE_PIXEL_FORMAT || code == MAP_ERR_SET_PIXEL_FORMAT ||
                    code == MAP_ERR_MAKE_CURRENT)
            << std::hex << code;
        if (code != 0) {
            EXPECT_EQ(context.context(), nullptr);
        }
        context.Release();
        DeleteDC(info);
    }
}

TEST(GLExtensionList, WholeNamesOnly) {
    const char* list = "GL_ARB_multitexture_x GL_EXT_texture_edge_clamp GL_ARB_multitexture";
    EXPECT_TRUE(ExtensionListed(list, "GL_ARB_multitexture"));
    EXPECT_TRUE(ExtensionListed(list, "GL_EXT_texture_edge_clamp"));
    EXPECT_FALSE(ExtensionListed("GL_ARB_multitexture_x", "GL_ARB_multitexture"));
    EXPECT_FALSE(ExtensionListed("XGL_EXT_texture_edge_clamp", "GL_EXT_texture_edge_clamp"));
    EXPECT_FALSE(ExtensionListed(nullptr, "GL_ARB_multitexture"));
    EXPECT_FALSE(ExtensionListed(list, ""));
    EXPECT_TRUE(IsGdiRenderer("GDI Generic"));
    EXPECT_FALSE(IsGdiRenderer("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_FALSE(IsGdiRenderer(nullptr));
}

class GLFontTest : public GLSurfaceTest {
protected:
    void SetUp() override {
        GLSurfaceTest::SetUp();
        font = CreateFontW(-8, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
        old = SelectObject(surface.dc(), font);
    }
    void TearDown() override {
        glFont.Delete();
        SelectObject(surface.dc(), old);
        DeleteObject(font);
        GLSurfaceTest::TearDown();
    }
    HFONT font = nullptr;
    HGDIOBJ old = nullptr;
    GLBitmapFont glFont;
};

TEST_F(GLFontTest, WidthsAndHeightComeFromTheDcFont) {
    ASSERT_TRUE(glFont.Create(surface.dc(), false));
    EXPECT_TRUE(glFont.built());
    EXPECT_NE(glFont.listBase(), 0u);
    EXPECT_TRUE(glIsList(glFont.listBase() + 'A'));
    SIZE a{}, ab{};
    GetTextExtentPoint32A(surface.dc(), "A", 1, &a);
    GetTextExtentPoint32A(surface.dc(), "W", 1, &ab);
    EXPECT_EQ(glFont.CharWidth('A'), a.cx);
    EXPECT_GE(glFont.Height(), a.cy);
    EXPECT_GT(glFont.Height(), 0);
    EXPECT_EQ(glFont.TextWidth("AW", 2), a.cx + ab.cx);
    EXPECT_EQ(glFont.TextWidth("AW", -1), a.cx + ab.cx);
    EXPECT_EQ(glFont.TextWidth("AW", 1), a.cx);
    EXPECT_EQ(glFont.TextWidth("A\0W", 3), a.cx);  // stops at the first zero
    EXPECT_EQ(glFont.TextWidth(nullptr, 5), 0);
    EXPECT_EQ(glFont.TextWidth("AW", 0), 0);
    EXPECT_EQ(glFont.TextWidthW(L"AW", -1), a.cx + ab.cx);
    EXPECT_EQ(glFont.TextWidthW(L"", -1), 0);
    EXPECT_EQ(glFont.TextWidthW(nullptr, -1), 0);
}

TEST_F(GLFontTest, DrawingPutsPixelsAndKeepsTheMatrixStack) {
    ASSERT_TRUE(glFont.Create(surface.dc(), false));
    glViewport(0, 0, 64, 32);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 64, 0, 32, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    GLint depth0 = 0, depth1 = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth0);
    glFont.DrawTextA(2, 2, 0, "", -1);
    glFont.DrawTextA(2, 2, 0, nullptr, 4);
    glFont.DrawTextW(2, 2, 0, L"", -1);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth1);
    EXPECT_EQ(depth0, depth1);
    glFinish();
    unsigned char before[64 * 32 * 4];
    glReadPixels(0, 0, 64, 32, GL_RGBA, GL_UNSIGNED_BYTE, before);
    for (int i = 0; i < 64 * 32; ++i) ASSERT_EQ(before[i * 4], 0) << "empty text drew a pixel";

    glFont.DrawTextW(2, 4, 0, L"HW", -1);
    glFinish();
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth1);
    EXPECT_EQ(depth0, depth1);
    unsigned char after[64 * 32 * 4];
    glReadPixels(0, 0, 64, 32, GL_RGBA, GL_UNSIGNED_BYTE, after);
    int lit = 0, leftmost = 64;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            if (after[(y * 64 + x) * 4] > 128) {
                ++lit;
                leftmost = std::min(leftmost, x);
            }
    EXPECT_GT(lit, 4);
    EXPECT_GE(leftmost, 2);  // drawn from the raster position on
    EXPECT_LE(leftmost, 2 + glFont.TextWidth("HW", -1));
}

TEST(GLFontText, AnsiConversionIsBounded) {
    char buffer[kFontAnsiBytes + 1];
    EXPECT_EQ(ToAnsiText(L"abc", -1, buffer), 3);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(ToAnsiText(L"abc", 2, buffer), 2);
    EXPECT_STREQ(buffer, "ab");
    std::wstring longText(5000, L'x');
    EXPECT_EQ(ToAnsiText(longText.c_str(), -1, buffer), 0);  // does not fit: nothing drawn
    EXPECT_EQ(ToAnsiText(nullptr, -1, buffer), 0);
    EXPECT_STREQ(buffer, "");
}
