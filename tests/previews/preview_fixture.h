// Preview tests: a stand-in taskbar window and a preview control, both
// headless, with the previews pointed at them and at a wallpaper of the
// test's own; painting goes into a DIB section that the tests read back.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/graphics/dib_section.h"
#include "common/records/clock_record.h"
#include "tests/skins/skins_fixtures.h"

namespace previews_test {

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Moves and sizes the stand-in taskbar (client = window: no frame).
    void PlaceTaskbar(int x, int y, int width, int height);
    // Paints an owner-drawn item of the control's size into a fresh surface
    // filled with kPaper.
    void PaintClock(CDibSection& target);
    void PaintTray(CDibSection& target);
    // A clock "HH:mm:ss" with that prefix, enabled, in the taskbar.
    static ClockRecord MakeClock(int number, const wchar_t* prefix);
    // The preview clock made afresh on that record.
    void ShowRecord(const ClockRecord& record);
    // The preview clock is a timer's face.
    static bool PreviewIsATimer();

    // Paints an owner-drawn item of the control's size with `paint`.
    void Paint(CDibSection& target, void (*paint)(const DRAWITEMSTRUCT&));

    static constexpr int kControlWidth = 320;
    static constexpr int kControlHeight = 48;
    static constexpr uint32_t kPaper = 0x00C08040;

    skins_test::SkinFolder folder_;
    HWND control_ = nullptr;
    HWND taskbar_ = nullptr;
};

// Where the tests' wallpaper lies ("" for none).
void SetWallpaper(const std::wstring& path);
// Pixels of a row range whose colour differs from the row's first pixel.
int InkInColumns(const CDibSection& dib, int left, int right, int top, int bottom);
uint32_t Pixel(const CDibSection& dib, int x, int y);
// A COLORREF as a surface pixel (red and blue change places).
inline uint32_t AsPixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

}  // namespace previews_test
