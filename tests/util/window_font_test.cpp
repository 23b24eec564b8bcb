// Window placement, dialog bookkeeping and the point-sized fonts of the main program.
#include <gtest/gtest.h>

#include <windows.h>

#include "common/graphics/log_font.h"
#include "tempovia/util/window_utils.h"

namespace {

HWND Popup(const wchar_t* cls, int w, int h) {
    return CreateWindowExW(0, cls, L"", WS_POPUP, 3, 5, w, h, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

TEST(WindowUtils, CentresOnTheDesktopKeepingTheSize) {
    HWND w = Popup(L"STATIC", 101, 51);
    ASSERT_NE(w, nullptr);
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    CenterOnDesktop(w);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.right - r.left, 101);
    EXPECT_EQ(r.bottom - r.top, 51);
    EXPECT_EQ(r.left, desktop.left + (desktop.right - desktop.left) / 2 - 50);
    EXPECT_EQ(r.top, desktop.top + (desktop.bottom - desktop.top) / 2 - 25);
    DestroyWindow(w);
}

TEST(WindowUtils, DialogsOfTheThreadAreFoundAndClosed) {
    HWND dialog1 = Popup(L"#32770", 10, 10);
    HWND dialog2 = Popup(L"#32770", 10, 10);
    HWND other = Popup(L"STATIC", 10, 10);
    ASSERT_TRUE(dialog1 && dialog2 && other);
    EXPECT_TRUE(IsDialogWindow(dialog1));
    EXPECT_FALSE(IsDialogWindow(other));
    EXPECT_FALSE(IsDialogWindow(nullptr));
    EnumThreadWindows(GetCurrentThreadId(), CloseThreadDialogsProc, 0);
    EXPECT_FALSE(IsWindow(dialog1));
    EXPECT_FALSE(IsWindow(dialog2));
    EXPECT_TRUE(IsWindow(other));
    DestroyWindow(other);
}

TEST(LogFont, PointSizesFollowTheScreenAndOthersAreKept) {
    HDC screen = GetDC(nullptr);
    int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);

    LOGFONTW lf;
    ASSERT_TRUE(MakeLogFont(L"Tahoma", 0, -11, FW_NORMAL, 0, &lf));
    EXPECT_EQ(lf.lfHeight, -11);
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);

    // Points, at the 96 dots an inch of the tests' prefix: 8 points are 10
    // pixels (the two thirds dropped), 6 are 8.
    if (dpiX != 96 || dpiY != 96) GTEST_SKIP() << "the sizes below are for 96 dpi, not " << dpiX << "x" << dpiY;
    ASSERT_TRUE(MakeLogFont(L"Tahoma", 6, 8, FW_BOLD, 0, &lf));
    EXPECT_EQ(lf.lfHeight, -10);
    EXPECT_EQ(lf.lfWidth, -8);
}

TEST(LogFont, StyleBitsCharsetAndLongFaceNames) {
    LOGFONTW lf;
    memset(&lf, 0x55, sizeof(lf));
    ASSERT_TRUE(MakeLogFont(L"A face name that is far longer than thirty-one", 0, 0, 700,
                            kFontItalic | kFontStrikeOut, &lf));
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(lf.lfUnderline, 0);
    EXPECT_EQ(lf.lfStrikeOut, 1);
    EXPECT_EQ(lf.lfEscapement, 0);
    EXPECT_EQ(lf.lfOrientation, 0);
    EXPECT_EQ(lf.lfQuality, 0);
    EXPECT_EQ(wcslen(lf.lfFaceName), 31u);
    EXPECT_EQ(std::wstring(lf.lfFaceName), std::wstring(L"A face name that is far longer ").substr(0, 31));

    // The user's code page picks the charset; 1252 (and none) defer to the screen font.
    wchar_t cp[8] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, cp, 8);
    int expected = CharsetForCodePage(static_cast<UINT>(_wtoi(cp)));
    if (expected <= 0) {
        HDC screen = GetDC(nullptr);
        expected = GetTextCharset(screen);
        ReleaseDC(nullptr, screen);
    }
    EXPECT_EQ(lf.lfCharSet, expected);

    ASSERT_TRUE(MakeLogFont(nullptr, 0, 0, 0, kFontUnderline, &lf));
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_STREQ(lf.lfFaceName, L"");
}

}  // namespace
