// The test prefix must behave like the desktop the suite runs on: windows can
// be created without a display, and the temporary folder lies inside the prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/support/test_support.h"

using testing_support::TempDir;

TEST(TestPrefix, WindowsCanBeCreatedHeadless) {
    HWND w = CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(w, nullptr);
    HDC dc = GetDC(w);
    EXPECT_NE(dc, nullptr);
    ReleaseDC(w, dc);
    DestroyWindow(w);
}

TEST(TestPrefix, TempDirIsPrivateAndRemoved) {
    std::wstring kept;
    {
        TempDir dir;
        ASSERT_FALSE(dir.path().empty());
        ASSERT_TRUE(testing_support::WriteBytes(dir.file(L"a.txt"), "x\r\ny"));
        EXPECT_EQ(testing_support::ReadBytes(dir.file(L"a.txt")), "x\r\ny");
        kept = dir.path();
    }
    EXPECT_EQ(GetFileAttributesW(kept.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(TestPrefix, SourceTreeIsReachable) {
    std::wstring readme = testing_support::SourcePath(L"tools/test.sh");
    EXPECT_NE(GetFileAttributesW(readme.c_str()), INVALID_FILE_ATTRIBUTES);
}
