// The earth and cloud textures of the map: loading under the texture mutex
// on the two workers with their messages, fitting and cutting, the cloud
// alpha, and the upload of a tile set.
#include <gtest/gtest.h>

#include <string>

#include "kartix/gl_texture.h"
#include "kartix/map_scene.h"
#include "kartix/map_state.h"
#include "kartix/map_exports.h"
#include "kartix/map_textures.h"
#include "kartix/map_workers.h"
#include "kartix/render_context.h"
#include "common/mapdialog/map_plugin_errors.h"
#include "common/platform/text_bounds.h"
#include "tests/kartix/gl_test_surface.h"
#include "tests/kartix/test_jpeg_writer.h"
#include "tests/support/test_support.h"

using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

// A message-only window that collects MSG_TEXTURE_LOADED.
class Inbox {
public:
    Inbox() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KartixTextureInbox";
        RegisterClassW(&wc);
        window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                 nullptr);
    }
    ~Inbox() {
        if (window) DestroyWindow(window);
    }
    // The next MSG_TEXTURE_LOADED within the time: false when none came.
    bool Wait(DWORD ms, WPARAM& step, LPARAM& success) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            MSG msg;
            while (PeekMessageW(&msg, window, 0, 0, PM_REMOVE)) {
                if (msg.message == MSG_TEXTURE_LOADED) {
                    step = msg.wParam;
                    success = msg.lParam;
                    return true;
                }
            }
            Sleep(5);
        }
        return false;
    }
    HWND window = nullptr;
};

// The state block pointed at a folder of our own, with a mutex.
class TextureStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        MapState& s = Map();
        CopyBounded(s.programFolder, (dir.path() + L"\\").c_str());
        s.textureMutex = CreateMutexW(nullptr, FALSE, nullptr);
        ASSERT_NE(s.textureMutex, nullptr);
        s.settings = MapSettings{};
        s.settings.texScalerY = 0;
        s.perf.cardMaxTexture = 2048;
        s.perf.currentMaxTexture = 2048;
        Textures().earth.FreeAll();
        Textures().clouds.FreeAll();
    }
    void TearDown() override {
        MapState& s = Map();
        WaitForSingleObject(s.textureMutex, 10000);
        Textures().earth.FreeAll();
        Textures().clouds.FreeAll();
        ReleaseMutex(s.textureMutex);
        CloseHandle(s.textureMutex);
        s.textureMutex = nullptr;
        s.programFolder[0] = L'\0';
        s.settings = MapSettings{};
        s.loadingTexture = 0;
        s.splittingTextures = 0;
    }
    void WriteEarth(int w, int h, bool cmyk = false) {
        ASSERT_TRUE(WriteTestJpeg(dir.file(L"map.jpg"), w, h, false,
                                  [w](int x, int) { return x < w / 2 ? 0x2040C0u : 0x40C020u; }, 80, false, cmyk));
    }

    TempDir dir;
    Inbox inbox;
};

// map.jpg on a slow share: a pipe fed 4 KB every 50 ms, so that a decode
// lasts as long as the feed (minutes for a large map). From stallAt on the
// feed stops until `resume`, then ends.
class SlowEarth {
public:
    SlowEarth(std::string bytes, size_t stallAt) : bytes_(std::move(bytes)), stallAt_(stallAt) {
        folder = L"\\\\.\\pipe\\tempovia-earth-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        pipe_ = CreateNamedPipeW((folder + L"map.jpg").c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                 4096, 4096, 0, nullptr);
        resume = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Feed, this, 0, nullptr);
    }
    ~SlowEarth() {
        SetEvent(resume);
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
        CloseHandle(resume);
    }
    bool WaitSent(size_t bytes) {
        for (int i = 0; i < 400 && static_cast<size_t>(sent_) < bytes; ++i) Sleep(25);
        return static_cast<size_t>(sent_) >= bytes;
    }
    std::wstring folder;
    HANDLE resume = nullptr;

private:
    static DWORD WINAPI Feed(void* raw) {
        auto* e = static_cast<SlowEarth*>(raw);
        ConnectNamedPipe(e->pipe_, nullptr);
        for (size_t at = 0; at < e->bytes_.size(); Sleep(50)) {
            if (at >= e->stallAt_) {
                WaitForSingleObject(e->resume, INFINITE);
                break;
            }
            DWORD n = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(4096, e->bytes_.size() - at));
            if (!WriteFile(e->pipe_, e->bytes_.data() + at, chunk, &n, nullptr)) break;  // the reader gave up
            at += n;
            e->sent_ = static_cast<LONG>(at);
        }
        CloseHandle(e->pipe_);
        return 0;
    }
    std::string bytes_;
    size_t stallAt_;
    HANDLE pipe_ = INVALID_HANDLE_VALUE;
    HANDLE thread_ = nullptr;
    volatile LONG sent_ = 0;
};

}  // namespace

TEST_F(TextureStateTest, TheWorkersLoadThenCutAndPostTheirSteps) {
    // A CMYK earth (inverted, as Adobe's files are) comes out as RGB.
    for (const bool cmyk : {false, true}) {
        Textures().earth.FreeAll();
        WriteEarth(600, 300, cmyk);
        Map().perf.cardMaxTexture = 512;
        Map().perf.currentMaxTexture = 512;
        ASSERT_NE(inbox.window, nullptr);
        ASSERT_TRUE(StartLoadEarthThread(inbox.window));
        WPARAM step = 9;
        LPARAM success = 9;
        ASSERT_TRUE(inbox.Wait(10000, step, success));
        EXPECT_EQ(step, 0u);
        EXPECT_EQ(success, 1) << cmyk;
        EXPECT_EQ(Textures().earth.image().storedWidth, 512);
        EXPECT_EQ(Textures().earth.image().storedHeight, 256);
        EXPECT_EQ(Map().loadingTexture, 0);

        ASSERT_TRUE(StartSplitEarthThread(inbox.window));
        ASSERT_TRUE(inbox.Wait(10000, step, success));
        EXPECT_EQ(step, 1u);
        EXPECT_EQ(success, 1);
        ASSERT_TRUE(Textures().earth.AllLoaded());
        for (const CGLTexture& tile : Textures().earth.tiles) {
            EXPECT_EQ(tile.storedWidth, 128);
            EXPECT_EQ(tile.storedHeight, 128);
            EXPECT_EQ(tile.components, 3);
        }
        // West half 0x2040C0, east half 0x40C020: columns 0-1 and 2-3.
        const uint8_t* west = Textures().earth.tiles[1].pixels;
        EXPECT_TRUE(Near(west[0], 0x20, 10) && Near(west[1], 0x40, 10) && Near(west[2], 0xC0, 10)) << cmyk;
        const uint8_t* east = Textures().earth.tiles[6].pixels + 10 * 3;  // clear of the edge
        EXPECT_TRUE(Near(east[0], 0x40, 10) && Near(east[1], 0xC0, 10) && Near(east[2], 0x20, 10)) << cmyk;
        EXPECT_EQ(Map().splittingTextures, 0);
    }
}

TEST_F(TextureStateTest, FailuresArePostedAndABusyMutexStopsTheLoader) {
    // No map.jpg: the load fails and says so.
    ASSERT_TRUE(StartLoadEarthThread(inbox.window));
    WPARAM step = 9;
    LPARAM success = 9;
    ASSERT_TRUE(inbox.Wait(10000, step, success));
    EXPECT_EQ(step, 0u);
    EXPECT_EQ(success, 0);
    // Nothing to cut.
    ASSERT_TRUE(StartSplitEarthThread(inbox.window));
    ASSERT_TRUE(inbox.Wait(10000, step, success));
    EXPECT_EQ(step, 1u);
    EXPECT_EQ(success, 0);
    // Not a JPEG.
    ASSERT_TRUE(WriteBytes(dir.file(L"map.jpg"), "GIF89a not a jpeg"));
    ASSERT_TRUE(StartLoadEarthThread(inbox.window));
    ASSERT_TRUE(inbox.Wait(10000, step, success));
    EXPECT_EQ(success, 0);
    // A map that ends early: no grey-filled map, so none to write over map.jpg.
    WriteEarth(600, 300);
    const std::string whole = testing_support::ReadBytes(dir.file(L"map.jpg"));
    ASSERT_TRUE(WriteBytes(dir.file(L"map.jpg"), whole.substr(0, whole.size() * 2 / 3)));
    EXPECT_EQ(LoadEarthTexture(Map()), kTextureLoadFailed);
    EXPECT_FALSE(Textures().earth.image().HasPixels());

    // Another thread holds the mutex past the workers' 5 s: the loader ends
    // without a word, the splitter reports failure.
    WriteEarth(64, 32);
    HANDLE holder = CreateThread(
        nullptr, 0,
        [](void*) -> DWORD {
            WaitForSingleObject(Map().textureMutex, INFINITE);
            Sleep(5600);
            ReleaseMutex(Map().textureMutex);
            return 0;
        },
        nullptr, 0, nullptr);
    ASSERT_NE(holder, nullptr);
    Sleep(100);
    ASSERT_TRUE(StartLoadEarthThread(inbox.window));
    ASSERT_TRUE(StartSplitEarthThread(inbox.window));
    ASSERT_TRUE(inbox.Wait(8000, step, success));
    EXPECT_EQ(step, 1u);
    EXPECT_EQ(success, 0);
    EXPECT_FALSE(inbox.Wait(300, step, success));
    WaitForSingleObject(holder, 10000);
    CloseHandle(holder);
    EXPECT_FALSE(Textures().earth.image().HasPixels());

    // Without a mutex neither worker does anything.
    HANDLE mutex = Map().textureMutex;
    Map().textureMutex = nullptr;
    LoadEarthThread(inbox.window);
    SplitEarthThread(inbox.window);
    Map().textureMutex = mutex;
    EXPECT_FALSE(inbox.Wait(100, step, success));
}

TEST_F(TextureStateTest, ALargeEarthIsScaledToTheMaximumAndCutIntoEightSquares) {
    // Each is decoded whole, then box-filtered to the target's sides.
    for (const SIZE earth : {SIZE{5400, 2700}, SIZE{4096, 2048}}) {
        WriteEarth(earth.cx, earth.cy);
        MapState& s = Map();
        s.settings.texScalerY = -1;
        s.perf.cardMaxTexture = 2048;
        s.perf.currentMaxTexture = 2048;
        EXPECT_EQ(LoadEarthTexture(s), kTextureRescaled) << earth.cx;
        CGLTexture& image = Textures().earth.image();
        EXPECT_EQ(image.storedWidth, 2048);
        EXPECT_EQ(image.storedHeight, 1024);
        ASSERT_TRUE(SplitEarthTexture(s));
        for (const CGLTexture& tile : Textures().earth.tiles) {
            EXPECT_EQ(tile.storedWidth, 512);
            EXPECT_EQ(tile.storedHeight, 512);
        }
    }
}

TEST_F(TextureStateTest, TheSplitFitsToTheCurrentMaximum) {
    WriteEarth(512, 256);
    MapState& s = Map();
    ASSERT_EQ(LoadEarthTexture(s), kTextureLoaded);
    s.perf.currentMaxTexture = 128;  // a smaller side for the same card
    ASSERT_TRUE(SplitEarthTexture(s));
    EXPECT_EQ(Textures().earth.tiles[7].storedWidth, 32);
    EXPECT_EQ(Textures().earth.tiles[7].storedHeight, 64);
    // Fitting for install: nothing to do for a power-of-two picture.
    Textures().earth.FreeAll();
    ASSERT_EQ(LoadEarthTexture(s), kTextureLoaded);
    EXPECT_FALSE(FitTextureToMax(s));
    s.perf.cardMaxTexture = 256;
    EXPECT_TRUE(FitTextureToMax(s));
    EXPECT_EQ(Textures().earth.image().storedWidth, 256);
    EXPECT_EQ(Textures().earth.image().storedHeight, 256);
}

TEST_F(TextureStateTest, GreyCloudsTakeTheirAlphaFromTheGrey) {
    int alpha = 192;
    const uint32_t white = CloudAlphaRule(0xFF, 1, &alpha);
    EXPECT_EQ(white >> 24, 191u);
    EXPECT_EQ(white & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(CloudAlphaRule(0x00, 1, &alpha), 0u);
    // Colour clouds: alpha is the green byte, clouds_alpha not applied.
    EXPECT_EQ(CloudAlphaRule(0x105020, 3, &alpha), 0x50105020u);

    MapState& s = Map();
    s.settings.cloudsAlpha = 192;
    ASSERT_TRUE(WriteTestJpeg(dir.file(L"clouds.jpg"), 256, 128, true,
                              [](int x, int) { return x < 128 ? 0xFFFFFFu : 0x000000u; }));
    ASSERT_TRUE(LoadCloudTexture(s, 2048));
    TileSet& clouds = Textures().clouds;
    ASSERT_TRUE(clouds.AllLoaded());
    EXPECT_EQ(clouds.tiles[0].components, 4);
    EXPECT_EQ(clouds.tiles[0].storedWidth, 64);
    EXPECT_EQ(clouds.tiles[0].storedHeight, 64);
    EXPECT_NEAR(clouds.tiles[0].pixels[3], 191, 2);
    EXPECT_NEAR(clouds.tiles[3].pixels[3], 0, 2);
    // A missing or broken file leaves no clouds.
    ASSERT_TRUE(WriteBytes(dir.file(L"clouds.jpg"), std::string("\xFF\xD8\xFF", 3)));
    EXPECT_FALSE(LoadCloudTexture(s, 2048));
    EXPECT_FALSE(clouds.tiles[0].HasPixels());
    DeleteFileW(dir.file(L"clouds.jpg").c_str());
    EXPECT_FALSE(LoadCloudTexture(s, 2048));
}

TEST_F(TextureStateTest, TileUploadsNameEachTileAndDropThemWithoutTiles) {
    GLTestSurface surface(16, 16);
    RenderContext context;
    ASSERT_EQ(context.Create(surface.dc(), kBitmapPixelFormatFlags), 0u);
    ASSERT_TRUE(context.MakeCurrent(surface.dc()));
    WriteEarth(256, 128);
    MapState& s = Map();
    ASSERT_EQ(LoadEarthTexture(s), kTextureLoaded);
    ASSERT_TRUE(SplitEarthTexture(s));
    GLuint names[kTileCount] = {};
    EXPECT_EQ(UploadTileSet(&Textures().earth, names), 0u);
    for (GLuint n : names) EXPECT_TRUE(glIsTexture(n));
    GLint width = 0;
    glBindTexture(GL_TEXTURE_2D, names[5]);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 64);
    glEnable(GL_TEXTURE_2D);
    EXPECT_EQ(UploadTileSet(nullptr, names), 0u);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));  // left as it was
    for (GLuint n : names) EXPECT_EQ(n, 0u);
    // Sides the card refuses: the error comes back and no names are left.
    TileSet odd;
    odd.tiles[0].pixels = static_cast<uint8_t*>(std::malloc(3 * 3 * 3));
    odd.tiles[0].storedWidth = odd.tiles[0].imageWidth = -3;
    odd.tiles[0].storedHeight = odd.tiles[0].imageHeight = 3;
    odd.tiles[0].components = 3;
    EXPECT_NE(UploadTileSet(&odd, names), 0u);
    EXPECT_EQ(names[0], 0u);
    context.Release();
}

TEST_F(TextureStateTest, FreeMapCutsALargeEarthDecodeAndWaitsNoLongerThanItsBound) {
    // Noise keeps the file large: about 100 s of feed.
    ASSERT_TRUE(WriteTestJpeg(dir.file(L"map.jpg"), 4096, 2048, false,
                              [](int x, int y) { return (x * 2654435761u) ^ (y * 40503u); }, 95));
    const std::string earth = testing_support::ReadBytes(dir.file(L"map.jpg"));
    ASSERT_GT(earth.size(), 8000000u);
    for (const size_t stallAt : {earth.size(), size_t{192 * 1024}}) {
        SlowEarth slow(earth, stallAt);
        CopyBounded(Map().programFolder, slow.folder.c_str());
        ASSERT_TRUE(StartLoadEarthThread(inbox.window));
        ASSERT_TRUE(slow.WaitSent(192 * 1024));  // the decode is under way
        Sleep(300);  // and a stalled one waits in its read
        const DWORD start = GetTickCount();
        const BOOL freed = MapFree();
        const DWORD spent = GetTickCount() - start;
        EXPECT_LE(spent, kMapFreeWaitMs + 1000) << stallAt;
        if (stallAt == earth.size()) {
            // Cut at the next rows: all freed.
            EXPECT_TRUE(freed);
            EXPECT_LT(spent, 2000u);
            EXPECT_EQ(Map().textureMutex, nullptr);
            Map().textureMutex = CreateMutexW(nullptr, FALSE, nullptr);
            continue;
        }
        // A read that never returns: the worker keeps its mutex and the host
        // its library; once the read ends the worker ends and the rest is freed.
        EXPECT_FALSE(freed);
        EXPECT_NE(Map().textureMutex, nullptr);
        SetEvent(slow.resume);
        EXPECT_TRUE(StopMapWorkers(5000));
        EXPECT_FALSE(Textures().earth.image().HasPixels());
    }
}
