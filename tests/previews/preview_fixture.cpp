#include "tests/previews/preview_fixture.h"

#include <cstring>

#include "common/settings/ini_paths.h"
#include "common/settings/localisation.h"
#include "common/settings/resource_module.h"
#include "common/records/clock_table.h"
#include "common/graphics/faces/timer_face.h"
#include "settings/preview.h"
#include "settings/preview_state.h"
#include "tests/faces/faces_fixtures.h"
#include "tests/support/program_folder.h"

namespace previews_test {
namespace {

constexpr wchar_t kControlClass[] = L"PreviewsTestControl";
constexpr wchar_t kTaskbarClass[] = L"PreviewsTestTaskbar";

HWND g_taskbar = nullptr;
std::wstring g_wallpaper;

HWND FindTestTaskbar() { return g_taskbar; }

bool TestWallpaper(wchar_t* path, int chars) {
    wcsncpy(path, g_wallpaper.c_str(), static_cast<size_t>(chars) - 1);
    path[chars - 1] = 0;
    return true;
}

HWND MakeWindow(const wchar_t* cls, int x, int y, int w, int h) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = cls;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    RegisterClassW(&wc);
    return CreateWindowExW(0, cls, L"", WS_POPUP | WS_VISIBLE, x, y, w, h, nullptr, nullptr, wc.hInstance, nullptr);
}

}  // namespace

void SetWallpaper(const std::wstring& path) { g_wallpaper = path; }

void PreviewTest::SetUp() {
    std::memset(&g_settings, 0, sizeof g_settings);
    wcsncpy(g_settings.skin, kSystemClockStyleName, 79);
    g_settings.trayclocks = 12;
    ASSERT_TRUE(CopyFileW((testing_support::BinFolder() + L"res_en.dll").c_str(),
                          (SettingsFolder() + L"res_en.dll").c_str(), FALSE));
    Language().SetLanguageFileBase(L"tempovia");
    Language().SetLanguageFolder(SettingsFolder().c_str());
    Language().SetLanguage(L"en");
    ASSERT_TRUE(LoadResourceModule(SettingsFolder().c_str()));
    control_ = MakeWindow(kControlClass, 0, 0, kControlWidth, kControlHeight);
    taskbar_ = MakeWindow(kTaskbarClass, 0, 570, 800, 30);
    ASSERT_NE(control_, nullptr);
    ASSERT_NE(taskbar_, nullptr);
    g_taskbar = taskbar_;
    g_wallpaper.clear();
    PreviewEnvironment environment;
    environment.findTaskbar = FindTestTaskbar;
    environment.wallpaperPath = TestWallpaper;
    SetPreviewEnvironment(environment);
}

void PreviewTest::TearDown() {
    DestroyPreviewClock();
    ClearTrayPreview();
    SetPreviewEnvironment(PreviewEnvironment{});
    g_taskbar = nullptr;
    if (control_) DestroyWindow(control_);
    if (taskbar_) DestroyWindow(taskbar_);
    UnregisterClassW(kControlClass, GetModuleHandleW(nullptr));
    UnregisterClassW(kTaskbarClass, GetModuleHandleW(nullptr));
    FreeResourceModule();
}

void PreviewTest::PlaceTaskbar(int x, int y, int width, int height) {
    SetWindowPos(taskbar_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void PreviewTest::Paint(CDibSection& target, void (*paint)(const DRAWITEMSTRUCT&)) {
    ASSERT_TRUE(faces_test::MakeSurface(target, kControlWidth, kControlHeight, kPaper));
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_STATIC;
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = control_;
    item.hDC = target.Dc();
    item.rcItem = RECT{0, 0, kControlWidth, kControlHeight};
    paint(item);
    GdiFlush();
}

void PreviewTest::PaintClock(CDibSection& target) { Paint(target, PaintClockPreview); }
void PreviewTest::PaintTray(CDibSection& target) { Paint(target, PaintTrayClocksPreview); }

ClockRecord PreviewTest::MakeClock(int number, const wchar_t* prefix) {
    ClockRecord c;
    faces_test::InitClock(c, L"HH:mm:ss", L"None", prefix);
    c.number = number;
    c.alpha = 255;
    return c;
}

void PreviewTest::ShowRecord(const ClockRecord& record) {
    if (!PreviewClockRecord()) CreatePreviewClock(g_settings.skin);
    ASSERT_NE(PreviewClockRecord(), nullptr);
    *PreviewClockRecord() = record;
    RecreatePreviewClock(control_);
}

bool PreviewTest::PreviewIsATimer() { return dynamic_cast<CTimer*>(Preview().clock.get()) != nullptr; }

uint32_t Pixel(const CDibSection& dib, int x, int y) { return faces_test::PixelAt(dib, x, y) & 0xFFFFFF; }

int InkInColumns(const CDibSection& dib, int left, int right, int top, int bottom) {
    int n = 0;
    for (int y = top; y < bottom; ++y) {
        const uint32_t first = Pixel(dib, 0, y);
        for (int x = left; x < right; ++x)
            if (Pixel(dib, x, y) != first) ++n;
    }
    return n;
}

}  // namespace previews_test
