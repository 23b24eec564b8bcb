// The textures reaching the map window: the loader and splitter hand-over by
// MSG_TEXTURE_LOADED, tiles kept for the next window, the cloud switch, and
// the install run rewriting map.jpg at a size the card takes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/records/protocol.h"
#include "common/platform/text_bounds.h"
#include "kartix/jpeg_header.h"
#include "kartix/map_exports.h"
#include "kartix/map_scene.h"
#include "kartix/map_state.h"
#include "kartix/map_textures.h"
#include "kartix/planet_textures.h"
#include "kartix/gl_extensions.h"
#include "kartix/policy_flags.h"
#include "tests/kartix/gl_test_surface.h"
#include "tests/kartix/test_jpeg_writer.h"
#include "tests/support/test_support.h"

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

class TextureWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(surface.ok());
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KartixTextureHost";
        RegisterClassW(&wc);
        parent = CreateWindowExW(0, wc.lpszClassName, L"host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        ASSERT_NE(parent, nullptr);
        SetPolicyKeyOverride(HKEY_CURRENT_USER, L"Software\\TempoviaTests\\NoKartixPolicy");
        MapAttach(GetModuleHandleW(nullptr));
        ASSERT_EQ(MapInit(nullptr, 0), 0u);
        CopyBounded(Map().programFolder, (dir.path() + L"\\").c_str());
        CopyBounded(Map().settingsPath, dir.file(L"tempovia.ini").c_str());
        SetMapSurfaceOverride(surface.dc(), kBitmapPixelFormatFlags);
        // The earth: the northern half red, the southern half green.
        ASSERT_TRUE(WriteTestJpeg(dir.file(L"map.jpg"), 256, 128, false,
                                  [](int, int y) { return y < 64 ? 0xE01010u : 0x10E010u; }));
        ASSERT_TRUE(WriteTestJpeg(dir.file(L"clouds.jpg"), 128, 64, true, [](int, int) { return 0xFFFFFFu; }));
        ASSERT_TRUE(WriteBytes(dir.file(L"tempovia.ini"), "[common]\r\ncloudmap_interval=3\r\n"));
    }
    void TearDown() override {
        if (map) DestroyWindow(map);
        if (parent) DestroyWindow(parent);
        SetMapSurfaceOverride(nullptr, 0);
        MapFree();
        SetPolicyKeyOverride(nullptr, nullptr);
        Map().settingsPath[0] = L'\0';
    }
    HWND Create() {
        int status = -1;
        HWND window = MapCreateWindow(parent, 0, 0, kSide, kSide, &status);
        EXPECT_EQ(status, 0);
        return window;
    }
    // Pumps the thread's messages until the earth is on the planet.
    bool WaitForEarth(DWORD ms) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            if (EarthTilesUploaded()) return true;
            Sleep(5);
        }
        return false;
    }
    // Waits for `count` successful hand-overs of one step and takes them off
    // the queue, in order (empty when another message came first).
    std::vector<MSG> Await(WPARAM step, int count, DWORD ms) {
        std::vector<MSG> steps;
        const DWORD start = GetTickCount();
        while (static_cast<int>(steps.size()) < count && GetTickCount() - start < ms) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, MSG_TEXTURE_LOADED, MSG_TEXTURE_LOADED, PM_REMOVE)) {
                if (msg.wParam != step || msg.lParam != 1) return {};
                steps.push_back(msg);
            }
            Sleep(5);
        }
        return steps;
    }
    // Then gives them to the window: both loads are done before either split starts.
    bool HandOver(WPARAM step, int count, DWORD ms) {
        const std::vector<MSG> steps = Await(step, count, ms);
        for (const MSG& msg : steps) DispatchMessageW(&msg);
        return static_cast<int>(steps.size()) == count;
    }
    uint32_t PaintAndRead(int x, int y) {
        InvalidateRect(map, nullptr, FALSE);
        SendMessageW(map, WM_PAINT, 0, 0);
        GdiFlush();
        return surface.Pixel(x, y);
    }

    static constexpr int kSide = 64;
    TempDir dir;
    GLTestSurface surface{kSide, kSide};
    HWND parent = nullptr;
    HWND map = nullptr;
};

}  // namespace

TEST_F(TextureWindowTest, TheWorkersHandTheEarthToTheWindowAndTheNextWindowReusesIt) {
    map = Create();
    ASSERT_NE(map, nullptr);
    // Clouds were on in the settings and loaded on the window's thread.
    EXPECT_TRUE(Textures().clouds.AllLoaded());
    CPlanet* planet = SceneGraph().planet;
    ASSERT_NE(planet, nullptr);
    EXPECT_EQ(planet->HasClouds(), GLExtensionFlags().multitexture);
    EXPECT_FLOAT_EQ(planet->radius, 3.0f);
    ASSERT_EQ(SceneGraph().root.GetChildCount(), 2);
    EXPECT_EQ(SceneGraph().root.GetChild(0), SceneGraph().lamp);  // the lamp first

    ASSERT_TRUE(WaitForEarth(10000));
    EXPECT_TRUE(Textures().earth.AllLoaded());
    EXPECT_EQ(planet->tileWidth, 64);
    EXPECT_EQ(planet->tileHeight, 64);
    EXPECT_EQ(Map().perf.framesTested, kPerfTestStart);  // the frame-rate test restarts
    // Clouds off: the planet drops them and the globe shows the earth alone,
    // seen from above (tilt 40): the north.
    SendMessageW(map, MSG_MAP_CLOUDS, 0, 0);
    EXPECT_FALSE(planet->HasClouds());
    EXPECT_FALSE(Map().settings.cloudsOn);
    const uint32_t centre = PaintAndRead(kSide / 2, kSide / 2 + 4);
    EXPECT_GT((centre >> 16) & 0xFF, 150u) << std::hex << centre;
    EXPECT_LT((centre >> 8) & 0xFF, 100u) << std::hex << centre;
    SendMessageW(map, MSG_MAP_CLOUDS, 0, 1);
    EXPECT_TRUE(Map().settings.cloudsOn);
    EXPECT_EQ(planet->HasClouds(), GLExtensionFlags().multitexture);
    // A cloud file gone bad: the message changes nothing.
    ASSERT_TRUE(WriteBytes(dir.file(L"clouds.jpg"), "no"));
    SendMessageW(map, MSG_MAP_CLOUDS, 0, 1);

    DestroyWindow(map);
    map = nullptr;
    // The tiles outlive the window: the next one uploads them at once.
    map = Create();
    ASSERT_NE(map, nullptr);
    EXPECT_TRUE(EarthTilesUploaded());
    EXPECT_EQ(Map().loadingTexture, 0);
}

TEST_F(TextureWindowTest, HAndLInARowCutTheEarthOnce) {
    map = Create();
    ASSERT_NE(map, nullptr);
    ASSERT_TRUE(WaitForEarth(10000));
    SendMessageW(map, MSG_MAP_CLOUDS, 0, 0);
    // Each key starts a load at the new factor; both loads end before a split.
    SendMessageW(map, WM_KEYDOWN, 'H', 0);
    SendMessageW(map, WM_KEYDOWN, 'L', 0);
    ASSERT_TRUE(HandOver(0, 2, 10000));
    ASSERT_TRUE(HandOver(1, 2, 10000));
    for (const CGLTexture& tile : Textures().earth.tiles) {
        EXPECT_EQ(tile.storedWidth, 64);
        EXPECT_EQ(tile.storedHeight, 64);
    }
    // The whole map on the globe: the north, seen from above, is red.
    const uint32_t centre = PaintAndRead(kSide / 2, kSide / 2 + 4);
    EXPECT_GT((centre >> 16) & 0xFF, 150u) << std::hex << centre;
    EXPECT_LT((centre >> 8) & 0xFF, 100u) << std::hex << centre;

    // An earlier cut's success arriving while a newer load holds the picture
    // whole: the globe keeps the tiles it has until that load is cut.
    SendMessageW(map, WM_KEYDOWN, 'H', 0);
    std::vector<MSG> loaded = Await(0, 1, 10000);
    ASSERT_EQ(loaded.size(), 1u);
    ASSERT_FALSE(Textures().earth.AllLoaded());
    SendMessageW(map, MSG_TEXTURE_LOADED, 1, 1);
    CPlanet* planet = SceneGraph().planet;
    EXPECT_EQ(planet->tileWidth, 64);
    EXPECT_EQ(planet->tileHeight, 64);
    DispatchMessageW(&loaded[0]);
    ASSERT_TRUE(HandOver(1, 1, 10000));
    EXPECT_EQ(planet->tileWidth, 64);
}

TEST_F(TextureWindowTest, FreeMapLeavesNoLoaderBehind) {
    // Our hold on the texture mutex keeps the window's loader waiting.
    HANDLE mine = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), Map().textureMutex, GetCurrentProcess(), &mine, 0, FALSE,
                                DUPLICATE_SAME_ACCESS));
    ASSERT_EQ(WaitForSingleObject(mine, 0), WAIT_OBJECT_0);
    map = Create();
    ASSERT_NE(map, nullptr);
    DestroyWindow(map);
    map = nullptr;
    MapFree();
    // A loader still waiting would now take the mutex and fill the freed textures.
    ReleaseMutex(mine);
    ASSERT_EQ(WaitForSingleObject(mine, 10000), WAIT_OBJECT_0);
    EXPECT_FALSE(Textures().earth.image().HasPixels());
    ReleaseMutex(mine);
    CloseHandle(mine);
}

TEST_F(TextureWindowTest, NoCloudsWhileTheyAreOffOrForbidden) {
    ASSERT_TRUE(WriteBytes(dir.file(L"tempovia.ini"), "[common]\r\ncloudmap_interval=-3\r\n"));
    map = Create();
    ASSERT_NE(map, nullptr);
    EXPECT_FALSE(Textures().clouds.tiles[0].HasPixels());
    EXPECT_FALSE(SceneGraph().planet->HasClouds());
    // FreeMap (in TearDown) frees whatever the workers load meanwhile.
    ASSERT_TRUE(WaitForEarth(10000));
}

TEST_F(TextureWindowTest, AnEarthWiderThanAnyTextureInstallsAndShows) {
    // 16384 x 8192, the northern half red: decoded whole and box-filtered to
    // the card's sides.
    ASSERT_TRUE(WriteTestJpeg(dir.file(L"map.jpg"), 16384, 8192, false,
                              [](int, int y) { return y < 4096 ? 0xE01010u : 0x10E010u; }, 50));
    const std::string original = ReadBytes(dir.file(L"map.jpg"));
    EXPECT_EQ(MapInstall(), 0u);
    int w = 0, h = 0, c = 0;
    ASSERT_TRUE(ReadJpegHeader(dir.file(L"map.jpg").c_str(), w, h, c));
    EXPECT_EQ(w, std::min(16384, Map().perf.cardMaxTexture));
    EXPECT_EQ(h, w / 2);
    EXPECT_TRUE(ReadBytes(dir.file(L"map0.jpg")) == original);
    map = Create();
    ASSERT_TRUE(WaitForEarth(20000));
    SendMessageW(map, MSG_MAP_CLOUDS, 0, 0);
    const uint32_t north = PaintAndRead(kSide / 2, kSide / 2 + 4);
    EXPECT_GT((north >> 16) & 0xFF, 150u) << std::hex << north;
    EXPECT_LT((north >> 8) & 0xFF, 100u) << std::hex << north;
}

TEST_F(TextureWindowTest, InstallRewritesTheEarthAtASizeTheCardTakes) {
    ASSERT_TRUE(WriteTestJpeg(dir.file(L"map.jpg"), 600, 300, false,
                              [](int x, int) { return x < 300 ? 0x2040C0u : 0x40C020u; }));
    const std::string original = ReadBytes(dir.file(L"map.jpg"));
    EXPECT_EQ(MapInstall(), 0u);
    int w = 0, h = 0, c = 0;
    ASSERT_TRUE(ReadJpegHeader(dir.file(L"map.jpg").c_str(), w, h, c));
    EXPECT_EQ(w, 512);
    EXPECT_EQ(h, 256);
    EXPECT_EQ(c, 3);
    EXPECT_EQ(ReadBytes(dir.file(L"map0.jpg")), original);  // the backup keeps the original
    EXPECT_FALSE(Textures().earth.image().HasPixels());       // freed after the run
    // A second run finds nothing to rescale and leaves the file alone.
    const std::string rewritten = ReadBytes(dir.file(L"map.jpg"));
    EXPECT_EQ(MapInstall(), 0u);
    EXPECT_EQ(ReadBytes(dir.file(L"map.jpg")), rewritten);
}
