// The map window driven by its messages, drawing into a bitmap: creation and
// destruction, a painted frame, the key table, the wheel, one window at a
// time, the hover tick and the photo request to the main window.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "common/mapdialog/map_plugin_errors.h"
#include "common/records/protocol.h"
#include "kartix/map_exports.h"
#include "kartix/map_state.h"
#include "kartix/map_window.h"
#include "kartix/policy_flags.h"
#include "tests/kartix/gl_test_surface.h"

namespace {

class ParentWindow {
public:
    explicit ParentWindow(const wchar_t* className = L"KartixTestHost", WNDPROC proc = DefWindowProcW) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = className;
        RegisterClassW(&wc);
        window = CreateWindowExW(0, className, L"host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                 wc.hInstance, nullptr);
    }
    ~ParentWindow() {
        if (window) DestroyWindow(window);
    }
    HWND window = nullptr;
};

class MapWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(surface.ok());
        ASSERT_NE(parent.window, nullptr);
        // No machine policy from the prefix: a key of our own that is empty.
        SetPolicyKeyOverride(HKEY_CURRENT_USER, L"Software\\TempoviaTests\\NoKartixPolicy");
        MapAttach(GetModuleHandleW(nullptr));
        ASSERT_EQ(MapInit(cities, 3), 0u);
        SetMapSurfaceOverride(surface.dc(), kBitmapPixelFormatFlags);
        int status = -1;
        map = MapCreateWindow(parent.window, 0, 0, 96, 48, &status);
        ASSERT_NE(map, nullptr) << std::hex << status << " " << MapLastSysError();
        EXPECT_EQ(status, 0);
    }
    void TearDown() override {
        if (map) DestroyWindow(map);
        SetMapSurfaceOverride(nullptr, 0);
        MapFree();
        SetPolicyKeyOverride(nullptr, nullptr);
    }
    void Key(WPARAM key) { SendMessageW(map, WM_KEYDOWN, key, 0); }

    GLTestSurface surface{96, 48};
    ParentWindow parent;
    CityRecord cities[3] = {};
    HWND map = nullptr;
};

}  // namespace

TEST_F(MapWindowTest, CreationSetsUpTheStateAndDestructionGivesItBack) {
    MapState& s = Map();
    EXPECT_EQ(s.window, map);
    EXPECT_NE(s.context.context(), nullptr);
    EXPECT_TRUE(s.font.built());
    EXPECT_GT(s.font.Height(), 0);
    EXPECT_GT(s.perf.cardMaxTexture, 0);
    EXPECT_EQ(s.perf.currentMaxTexture, s.perf.cardMaxTexture);
    EXPECT_EQ(s.perf.factor, 100);  // no tempovia.ini beside the test program
    EXPECT_FLOAT_EQ(s.camera.distance, -12.2f);
    EXPECT_EQ(s.camera.tilt, 40.0);
    EXPECT_NE(s.uiFont, nullptr);
    EXPECT_EQ(GetCurrentObject(surface.dc(), OBJ_FONT), s.uiFont);

    DestroyWindow(map);
    map = nullptr;
    EXPECT_EQ(s.window, nullptr);
    EXPECT_EQ(s.dc, nullptr);
    EXPECT_EQ(s.context.context(), nullptr);
    EXPECT_FALSE(s.font.built());
    EXPECT_EQ(s.uiFont, nullptr);
    EXPECT_NE(GetCurrentObject(surface.dc(), OBJ_FONT), nullptr);
}

TEST_F(MapWindowTest, PaintClearsToTheBackgroundAndDrawsTheGlobeInTheMiddle) {
    RECT all{0, 0, 96, 48};
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(surface.dc(), &all, white);
    DeleteObject(white);
    GdiFlush();
    ASSERT_EQ(surface.Pixel(40, 20), 0xFFFFFFu);
    ShowWindow(parent.window, SW_SHOWNOACTIVATE);
    InvalidateRect(map, nullptr, FALSE);
    UpdateWindow(map);
    GdiFlush();
    // The corners are background; the globe (no earth texture here, only its
    // pale blue shell) covers the middle.
    EXPECT_EQ(surface.Pixel(0, 0), 0u);
    EXPECT_EQ(surface.Pixel(95, 47), 0u);
    EXPECT_EQ(surface.Pixel(2, 45), 0u);
    const uint32_t middle = surface.Pixel(40, 30);  // beside the centre, where unplaced cities sit
    EXPECT_GT(middle & 0xFF, (middle >> 16) & 0xFF) << std::hex << middle;
    EXPECT_EQ(SendMessageW(map, WM_ERASEBKGND, 0, 0), 1);
}

TEST_F(MapWindowTest, KeysMoveTheCameraWithinItsLimits) {
    MapState& s = Map();
    Key(VK_LEFT);
    EXPECT_EQ(s.camera.longitude, 1.0);
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    EXPECT_EQ(s.camera.longitude, 359.0);
    // Upside down the globe turns the other way.
    s.camera.tilt = 180.0;
    Key(VK_LEFT);
    EXPECT_EQ(s.camera.longitude, 358.0);
    s.camera.tilt = 359.5;
    Key(VK_UP);
    EXPECT_DOUBLE_EQ(s.camera.tilt, 0.5);
    Key(VK_DOWN);
    EXPECT_DOUBLE_EQ(s.camera.tilt, 359.5);

    s.camera.distance = -4.15f;
    Key(VK_ADD);
    EXPECT_NEAR(s.camera.distance, -4.05f, 1e-5);
    Key(VK_ADD);  // already nearer than -4.1
    EXPECT_NEAR(s.camera.distance, -4.05f, 1e-5);
    s.camera.distance = -28.45f;
    Key(VK_SUBTRACT);
    EXPECT_NEAR(s.camera.distance, -28.55f, 1e-5);
    Key(VK_SUBTRACT);
    EXPECT_NEAR(s.camera.distance, -28.55f, 1e-5);

    Key(VK_HOME);
    EXPECT_FLOAT_EQ(s.camera.distance, -12.2f);
    EXPECT_EQ(s.camera.tilt, 40.0);
    EXPECT_EQ(s.camera.longitude, 0.0);
    s.camera.longitude = 20.0;
    Key(VK_CLEAR);
    EXPECT_EQ(s.camera.longitude, 0.0);
}

TEST_F(MapWindowTest, DisplayAndPerformanceKeys) {
    MapState& s = Map();
    Key('F');
    EXPECT_TRUE(s.showFps);
    Key('I');
    EXPECT_TRUE(s.showInfo);
    Key('F');
    Key('I');
    EXPECT_FALSE(s.showFps);
    EXPECT_FALSE(s.showInfo);
    Key('H');
    EXPECT_EQ(s.perf.factor, 50);
    EXPECT_EQ(s.perf.layers, 20);
    Key('H');
    EXPECT_EQ(s.perf.factor, 50);
    for (int i = 0; i < 6; ++i) Key('L');
    EXPECT_EQ(s.perf.factor, 800);
    EXPECT_EQ(s.perf.slices, 36);
    EXPECT_EQ(s.perf.framesTested, kPerfTestIdle);
    // Keys outside the table go to the default handling, the camera stays.
    const double longitude = s.camera.longitude;
    EXPECT_EQ(SendMessageW(map, WM_KEYDOWN, 'Q', 0), 0);
    EXPECT_EQ(s.camera.longitude, longitude);
}

TEST_F(MapWindowTest, WheelZoomsAndStopsAtTheLimits) {
    MapState& s = Map();
    SendMessageW(map, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-360)), 0);
    EXPECT_NEAR(s.camera.distance, -11.9f, 1e-5);
    SendMessageW(map, WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_NEAR(s.camera.distance, -12.0f, 1e-5);
    SendMessageW(map, WM_MOUSEWHEEL, MAKEWPARAM(0, 60), 0);  // less than a notch: n = 0
    EXPECT_NEAR(s.camera.distance, -12.0f, 1e-5);
    SendMessageW(map, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-30000)), 0);
    EXPECT_FLOAT_EQ(s.camera.distance, -4.1f);
    SendMessageW(map, WM_MOUSEWHEEL, MAKEWPARAM(0, 30000), 0);
    EXPECT_FLOAT_EQ(s.camera.distance, -28.5f);
}

namespace {

int g_requests = 0;
WPARAM g_lastCity = 0;
LPARAM g_lastWindow = 0;
LRESULT g_reply = 1;

LRESULT CALLBACK FakeMainWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == MSG_PHOTO_REQUEST) {
        ++g_requests;
        g_lastCity = wParam;
        g_lastWindow = lParam;
        return g_reply;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

TEST_F(MapWindowTest, SizeAndHostMessagesOutsideTheTableChangeNothing) {
    MapState& s = Map();
    // A main window that accepts photo requests: every message that reaches
    // a city asks it for photos, so a request counts as "the city was used".
    ParentWindow main(kMainWindowClass, FakeMainWindow);
    ASSERT_NE(main.window, nullptr);
    g_reply = 1;
    g_requests = 0;
    SendMessageW(map, WM_SIZE, 0, MAKELPARAM(80, 40));
    EXPECT_EQ(s.clientWidth, 80);
    EXPECT_EQ(s.clientHeight, 40);

    const MapCamera camera = s.camera;
    SendMessageW(map, WM_TIMER, kRepeatTimer, 0);
    SendMessageW(map, WM_TIMER, kFlyToTimer, 0);
    EXPECT_EQ(s.camera.tilt, camera.tilt);
    EXPECT_EQ(s.camera.longitude, camera.longitude);
    EXPECT_EQ(s.camera.distance, camera.distance);

    // Indexes past either end of the host's table, and a record that is not
    // the table's own entry, are ignored.
    SendMessageW(map, MSG_MAP_SELECT_CITY, 3, 0);
    SendMessageW(map, MSG_MAP_SELECT_CITY, static_cast<WPARAM>(-1), 0);
    SendMessageW(map, MSG_MAP_SHOW_PHOTO, 1, 0);
    SendMessageW(map, MSG_MAP_SHOW_PHOTO, 3, reinterpret_cast<LPARAM>(&cities[2]) + sizeof(CityRecord));
    SendMessageW(map, MSG_PHOTO_READY, static_cast<WPARAM>(-3), 1);
    SendMessageW(map, MSG_PHOTO_READY, 1, 0);
    EXPECT_EQ(g_requests, 0);
    EXPECT_EQ(s.flyToTimer, 0u);

    // Mouse moves and clicks over a globe that is not there yet change nothing.
    SendMessageW(map, WM_MOUSEMOVE, 0, MAKELPARAM(30, 20));
    EXPECT_EQ(s.cursorX, 30);
    EXPECT_EQ(s.cursorY, s.clientHeight - 20 - 1);
    EXPECT_TRUE(s.mouseInside);
    // Pressed left of the credit lines' margin, so the press starts a drag.
    SendMessageW(map, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 20));
    SendMessageW(map, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(3, 20));
    EXPECT_TRUE(s.dragging);
    SendMessageW(map, WM_LBUTTONUP, 0, MAKELPARAM(3, 20));
    EXPECT_FALSE(s.dragging);
    EXPECT_EQ(s.heldButtonKey, 0);
    EXPECT_EQ(s.hoverTimer.id, 0u);
    SendMessageW(map, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(s.mouseInside);

    // The same messages inside the table do reach the city.
    SendMessageW(map, MSG_MAP_SHOW_PHOTO, 1, reinterpret_cast<LPARAM>(&cities[1]));
    EXPECT_EQ(g_requests, 1);
    EXPECT_EQ(static_cast<int>(g_lastCity), 1);
    SendMessageW(map, MSG_MAP_SELECT_CITY, 2, 0);
    EXPECT_EQ(g_requests, 2);
    EXPECT_EQ(static_cast<int>(g_lastCity), 2);
    EXPECT_NE(s.flyToTimer, 0u);
}

TEST_F(MapWindowTest, AHoverTickAsksForPhotosOnlyWhenArmedWhereTheCursorRests) {
    ParentWindow main(kMainWindowClass, FakeMainWindow);
    ASSERT_NE(main.window, nullptr);
    g_reply = 1;
    g_requests = 0;
    // The cursor on the window's corner, where an unarmed record's zeros point.
    POINT corner{0, 0};
    ClientToScreen(map, &corner);
    POINT at{};
    if (!SetCursorPos(corner.x, corner.y) || !GetCursorPos(&at) || at.x != corner.x || at.y != corner.y) {
        GTEST_SKIP() << "the cursor cannot be placed";
    }
    SendMessageW(map, WM_TIMER, kHoverTimer, 0);
    EXPECT_EQ(g_requests, 0);
    // Armed there, the same tick asks once for that city and disarms.
    ArmHoverTimer(Map(), 2, 0, 0);
    SendMessageW(map, WM_TIMER, kHoverTimer, 0);
    EXPECT_EQ(g_requests, 1);
    EXPECT_EQ(static_cast<int>(g_lastCity), 2);
    EXPECT_EQ(Map().hoverTimer.id, 0u);
}

TEST_F(MapWindowTest, OneMapWindowAtATime) {
    int status = -1;
    EXPECT_EQ(MapCreateWindow(parent.window, 0, 0, 10, 10, &status), nullptr);
    // The refusal is reported, with the system's reason, never as success.
    EXPECT_EQ(static_cast<DWORD>(status), MAP_ERR_MAKE_CURRENT);
    EXPECT_EQ(MapLastSysError(), static_cast<DWORD>(ERROR_BUSY));
    EXPECT_EQ(MapInstall(), MAP_ERR_MAKE_CURRENT);
    EXPECT_EQ(Map().window, map);
    EXPECT_NE(Map().context.context(), nullptr);
}

TEST_F(MapWindowTest, PhotoRequestsGoToTheMainWindowAndOnlyReplyOneAccepts) {
    MapState& s = Map();
    g_requests = 0;
    EXPECT_FALSE(AskHostForPhotos(s, 2));  // no main window
    EXPECT_FALSE(s.hostAcceptsPhotos);
    {
        ParentWindow main(kMainWindowClass, FakeMainWindow);
        ASSERT_NE(main.window, nullptr);
        g_reply = 1;
        EXPECT_TRUE(AskHostForPhotos(s, -2));
        EXPECT_TRUE(s.hostAcceptsPhotos);
        EXPECT_EQ(static_cast<int>(g_lastCity), -2);
        EXPECT_EQ(g_lastWindow, reinterpret_cast<LPARAM>(map));
        g_reply = 2;
        EXPECT_FALSE(AskHostForPhotos(s, 1));
        EXPECT_FALSE(s.hostAcceptsPhotos);
        EXPECT_EQ(g_requests, 2);
    }
    // A main window whose thread answers nothing: the request gives up while
    // that thread is still stuck, and counts as refused.
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> unstuck{false};
    std::thread hung([&] {
        ParentWindow main(kMainWindowClass, FakeMainWindow);
        SetEvent(ready);
        WaitForSingleObject(release, 30000);
        unstuck = true;
    });
    EXPECT_EQ(WaitForSingleObject(ready, 10000), WAIT_OBJECT_0);
    g_reply = 1;
    EXPECT_FALSE(AskHostForPhotos(s, 2));
    const bool stillStuck = !unstuck;
    SetEvent(release);
    hung.join();
    EXPECT_TRUE(stillStuck);
    CloseHandle(ready);
    CloseHandle(release);
}

TEST(MapState, ProgramFolderFromTheCommandLine) {
    EXPECT_EQ(ProgramFolderFromCommandLine(L"\"C:\\Program Files\\Tempovia\\tempovia.exe\" /nh"),
              L"C:\\Program Files\\Tempovia\\");
    EXPECT_EQ(ProgramFolderFromCommandLine(L"C:\\Tempovia\\settings.exe"), L"C:\\Tempovia\\");
    EXPECT_EQ(ProgramFolderFromCommandLine(L"settings.exe /inst"), L"");
    EXPECT_EQ(ProgramFolderFromCommandLine(L"\"C:\\x\\unterminated.exe"), L"C:\\x\\");
    EXPECT_EQ(ProgramFolderFromCommandLine(L""), L"");
    EXPECT_EQ(ProgramFolderFromCommandLine(nullptr), L"");
}

// Through the body of the SetLocalString export: a null text changes nothing.
TEST(MapState, LocalStringsReplaceAndFallBack) {
    MapSetLocalString(2, L"Add photo");
    MapSetLocalString(2, L"Foto hinzufügen");
    MapSetLocalString(2, nullptr);
    MapSetLocalString(3, nullptr);
    EXPECT_EQ(GetLocalString(2, L"x"), L"Foto hinzufügen");
    EXPECT_EQ(GetLocalString(3, L"fallback"), L"fallback");
    EXPECT_EQ(GetLocalString(4, nullptr), L"");
}
