// The photo strip: index files of a city and of a country from the photo
// cache, missing and damaged photos, the order, the strip's layout and
// scrolling in a map window, and the overlay buttons cut from buttons.png.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/settings/photo_cache_paths.h"
#include "common/records/protocol.h"
#include "common/platform/system_seam.h"
#include "kartix/globe_view.h"
#include "kartix/map_exports.h"
#include "kartix/map_state.h"
#include "kartix/photo_strip.h"
#include "kartix/policy_flags.h"
#include "tests/kartix/gl_test_surface.h"
#include "tests/kartix/test_jpeg_writer.h"
#include "tests/support/program_folder.h"
#include "tests/support/test_support.h"

using testing_support::TempDir;
using testing_support::WriteBytes;

namespace {

class RecordingSystem final : public SystemSeam {
public:
    struct Call {
        std::wstring verb, file, directory;
        int show;
    };
    HINSTANCE ShellExecuteOpen(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t*,
                               const wchar_t* directory, int show) override {
        calls.push_back({verb ? verb : L"", file ? file : L"", directory ? directory : L"", show});
        return reinterpret_cast<HINSTANCE>(42);
    }
    SC_HANDLE OpenServiceManager(const wchar_t*, const wchar_t*, DWORD) override { return nullptr; }
    SC_HANDLE OpenServiceHandle(SC_HANDLE, const wchar_t*, DWORD) override { return nullptr; }
    BOOL SendServiceControl(SC_HANDLE, DWORD, SERVICE_STATUS*) override { return FALSE; }
    BOOL CloseServiceHandleOf(SC_HANDLE) override { return FALSE; }
    DWORD LastError() override { return 0; }
    std::vector<Call> calls;
};

CityRecord City(const wchar_t* name, const wchar_t* region) {
    CityRecord c{};
    wcsncpy(c.city, name, kCityNameChars - 1);
    wcsncpy(c.region, region, kCityRegionChars - 1);
    return c;
}

bool Photo(const std::wstring& folder, int number, int w, int h) {
    return WriteTestJpeg(folder + std::to_wstring(number) + L".jpg", w, h, false,
                         [](int x, int y) { return static_cast<uint32_t>((x * 7) << 16 | (y * 5) << 8 | 0x40); });
}

class PhotoCache : public ::testing::Test {
protected:
    void SetUp() override {
        SetCityPhotoRoot(temp.path().c_str());
        land = temp.path() + L"\\Land\\";
        alpha = land + L"Alpha\\";
        beta = land + L"Beta\\";
        CreateDirectoryW(land.c_str(), nullptr);
        CreateDirectoryW(alpha.c_str(), nullptr);
        CreateDirectoryW(beta.c_str(), nullptr);
        cities[0] = City(L"Alpha", L"Land");
        cities[1] = City(L"Beta", L"Land");
        cities[2] = City(L"Gamma", L"Elsewhere");
    }
    void TearDown() override {
        FreePhotoList(list);
        SetCityPhotoRoot(L"");
    }

    TempDir temp;
    std::wstring land, alpha, beta;
    CityRecord cities[3] = {};
    PhotoList list;
};

}  // namespace

TEST_F(PhotoCache, CityIndexKeepsOnlyPhotosInTheCacheAndSkipsBadOnes) {
    ASSERT_TRUE(Photo(alpha, 3, 64, 40));
    ASSERT_TRUE(Photo(alpha, 5, 64, 48));
    ASSERT_TRUE(Photo(alpha, 12, 300, 40));  // wider than the strip takes
    ASSERT_TRUE(WriteBytes(alpha + L"9.jpg", "not a jpeg at all"));
    // A CMYK photo and one that ends early are passed over too.
    ASSERT_TRUE(WriteTestJpeg(alpha + L"4.jpg", 64, 40, false, [](int, int) { return 0x4080C0u; }, 95, false, true));
    ASSERT_TRUE(Photo(alpha, 6, 64, 40));
    const std::string six = testing_support::ReadBytes(alpha + L"6.jpg");
    ASSERT_TRUE(WriteBytes(alpha + L"6.jpg", six.substr(0, six.size() * 2 / 3)));
    ASSERT_TRUE(WriteBytes(alpha + L"index.tsv",
                           "# photos of Alpha\r\n"
                           "\r\n"
                           "; another comment\r\n"
                           "3\tu\tv\tThe third\t/photo/3.htm\r\n"
                           "4\tu\tv\tCMYK\t/photo/4.htm\r\n"
                           "5\tu\tv\tThe fifth\t/photo/5.htm\r\n"
                           "6\tu\tv\tCut short\t/photo/6.htm\r\n"
                           "7\tu\tv\tNo file\t/photo/7.htm\r\n"
                           "9\tu\tv\tDamaged\t/photo/9.htm\r\n"
                           "12\tu\tv\tToo wide\t/photo/12.htm\r\n"
                           "abc\tu\tv\tNo number\t/photo/x.htm\r\n"
                           "12345678901\tu\tv\tToo long\t/photo/y.htm\r\n"
                           "11\tshort line\r\n"
                           "13\tu\tv\tNo file either\t/photo/13.htm"));
    EXPECT_EQ(LoadPhotoIndex(list, cities, 3, L"Land", L"Alpha"), 2);
    ASSERT_EQ(list.all.size(), 6u);
    // One city: larger numbers first.
    EXPECT_EQ(list.all[0]->photo, 12);
    EXPECT_EQ(list.all[1]->photo, 9);
    EXPECT_EQ(list.all[2]->photo, 6);
    EXPECT_EQ(list.all[3]->photo, 5);
    EXPECT_EQ(list.all[4]->photo, 4);
    EXPECT_EQ(list.all[5]->photo, 3);
    ASSERT_EQ(list.loaded.size(), 2u);
    EXPECT_EQ(list.loaded[0]->photo, 5);
    EXPECT_EQ(list.byNumber.count(5), 1u);
    EXPECT_EQ(list.byNumber.count(9), 0u);
    const PhotoEntry& five = *list.byNumber[5];
    EXPECT_STREQ(five.page, L"http://www.vistrel.example/photo/5.htm");
    EXPECT_STREQ(five.caption, L"The fifth");
    EXPECT_EQ(five.city, 0);
    EXPECT_EQ(five.texture.imageWidth, 64);
    EXPECT_EQ(five.texture.imageHeight, 48);
    EXPECT_EQ(five.texture.components, 4);
    EXPECT_STREQ(list.city, L"Alpha");
    EXPECT_STREQ(list.region, L"Land");
}

TEST_F(PhotoCache, CountryIndexListsTheNearestCityFirst) {
    ASSERT_TRUE(Photo(alpha, 1, 32, 32));
    ASSERT_TRUE(Photo(alpha, 2, 32, 32));
    ASSERT_TRUE(Photo(beta, 8, 32, 32));
    ASSERT_TRUE(WriteBytes(land + L"index.tsv",
                           "1\tAlpha\tx\ty\tAlpha one\t/p/1.htm\n"
                           "2\tAlpha\tx\ty\tAlpha two\t/p/2.htm\n"
                           "8\tBeta\tx\ty\tBeta eight\t/p/8.htm\n"
                           "4\tGamma\tx\ty\tNot in this country\t/p/4.htm\n"
                           "5\tNowhere\tx\ty\tUnknown city\t/p/5.htm\n"));
    cities[0].map.distance2 = 5.0;
    cities[1].map.distance2 = 1.0;
    EXPECT_EQ(LoadPhotoIndex(list, cities, 3, L"Land", nullptr), 3);
    ASSERT_EQ(list.all.size(), 3u);
    EXPECT_EQ(list.all[0]->photo, 8);
    EXPECT_EQ(list.all[0]->city, 1);
    EXPECT_EQ(list.all[1]->photo, 2);
    EXPECT_EQ(list.all[2]->photo, 1);
    EXPECT_STREQ(list.all[0]->caption, L"Beta eight");
    EXPECT_STREQ(list.city, L"");

    // Names are read one character a byte, as the main program and the
    // taskbar clock read them: 0x8A is U+008A here, whatever the code page
    // (in the ANSI code page of this machine it would be another letter).
    wcscpy(cities[1].city, L"Be\x008Ata");
    const std::wstring beta2 = land + L"Be\x008Ata\\";
    CreateDirectoryW(beta2.c_str(), nullptr);
    ASSERT_TRUE(Photo(beta2, 9, 32, 32));
    ASSERT_TRUE(WriteBytes(land + L"index.tsv", "9\tBe\x8Ata\tx\ty\tCaf\xE9\t/p/9.htm\n"));
    EXPECT_EQ(LoadPhotoIndex(list, cities, 3, L"Land", nullptr), 1);
    ASSERT_EQ(list.all.size(), 1u);
    EXPECT_EQ(list.all[0]->city, 1);
    EXPECT_STREQ(list.all[0]->caption, L"Caf\x00E9");
    FreePhotoList(list);
    DeleteFileW((beta2 + L"9.jpg").c_str());
    RemoveDirectoryW(beta2.c_str());
}

TEST_F(PhotoCache, MissingIndexAndUnformableFolder) {
    EXPECT_EQ(LoadPhotoIndex(list, cities, 3, L"Land", L"Alpha"), 0);
    EXPECT_STREQ(list.city, L"Alpha");
    EXPECT_EQ(LoadPhotoIndex(list, cities, 3, L"", L"Alpha"), -1);
    EXPECT_STREQ(list.city, L"");
    EXPECT_STREQ(list.region, L"");
    EXPECT_EQ(LoadPhotoIndex(list, cities, 3, L"..", nullptr), -1);
    EXPECT_EQ(LoadPhotoIndex(list, nullptr, 0, L"Land", nullptr), 0);
}

TEST_F(PhotoCache, ScrollPositionResetsOnlyWhenThePlaceChanges) {
    ASSERT_TRUE(WriteBytes(alpha + L"index.tsv", ""));
    LoadPhotoIndex(list, cities, 3, L"Land", L"Alpha");
    list.scroll = 3;
    LoadPhotoIndex(list, cities, 3, L"Land", L"Alpha");
    EXPECT_EQ(list.scroll, 3);
    LoadPhotoIndex(list, cities, 3, L"Land", nullptr);
    EXPECT_EQ(list.scroll, 0);
    list.scroll = 2;
    LoadPhotoIndex(list, cities, 3, L"Land", nullptr);
    EXPECT_EQ(list.scroll, 2);
    LoadPhotoIndex(list, cities, 3, L"Elsewhere", nullptr);
    EXPECT_EQ(list.scroll, 0);
}

namespace {

class PhotoStripWindowTest : public PhotoCache {
protected:
    void SetUp() override {
        PhotoCache::SetUp();
        ASSERT_TRUE(surface.ok());
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KartixStripTestHost";
        RegisterClassW(&wc);
        parent = CreateWindowExW(0, wc.lpszClassName, L"host", WS_OVERLAPPEDWINDOW, 0, 0, 400, 400, nullptr,
                                 nullptr, wc.hInstance, nullptr);
        ASSERT_NE(parent, nullptr);
        SetPolicyKeyOverride(HKEY_CURRENT_USER, L"Software\\TempoviaTests\\NoKartixPolicy");
        MapAttach(GetModuleHandleW(nullptr));
        ASSERT_EQ(MapInit(cities, 3), 0u);
        SetMapSurfaceOverride(surface.dc(), kBitmapPixelFormatFlags);
        int status = -1;
        map = MapCreateWindow(parent, 0, 0, kW, kH, &status);
        ASSERT_NE(map, nullptr) << std::hex << status;
        ShowWindow(parent, SW_SHOWNOACTIVATE);
    }
    void TearDown() override {
        if (map) DestroyWindow(map);
        if (parent) DestroyWindow(parent);
        SetMapSurfaceOverride(nullptr, 0);
        MapFree();
        SetPolicyKeyOverride(nullptr, nullptr);
        PhotoCache::TearDown();
    }
    void Paint() {
        InvalidateRect(map, nullptr, FALSE);
        UpdateWindow(map);
    }
    void FivePhotos() {
        std::string index;
        for (int n = 1; n <= 5; ++n) {
            ASSERT_TRUE(Photo(alpha, n, 64, 40));
            index += std::to_string(n) + "\tu\tv\tPhoto " + std::to_string(n) + "\t/p/" + std::to_string(n) + "\n";
        }
        ASSERT_TRUE(WriteBytes(alpha + L"index.tsv", index));
    }

    static constexpr int kW = 240, kH = 300;
    GLTestSurface surface{kW, kH};
    HWND parent = nullptr;
    HWND map = nullptr;
};

}  // namespace

TEST_F(PhotoStripWindowTest, StripLayoutHitTestAndPaging) {
    MapState& s = Map();
    FivePhotos();
    ASSERT_TRUE(s.context.MakeCurrent(s.dc));
    EXPECT_TRUE(PhotoStripEmpty());
    ShowCityPhotos(s, 0);
    EXPECT_FALSE(PhotoStripEmpty());
    EXPECT_EQ(PhotoStripLeft(s), kW - kStripWidth);
    Paint();
    // Room from the top of the group down: height - 2h - 59 - 108, 44 pixels a photo.
    const int h = s.font.Height();
    const int room = kH - 2 * h - 59 - kStripGroupY;
    const int placed = PhotosPlacedLastFrame();
    EXPECT_EQ(placed, (room + 4) / 44);
    ASSERT_GT(placed, 0);
    EXPECT_FALSE(AllPhotosOnScreen());
    // The first photo (the largest number) sits at the top, centred in the column.
    const int left = kW - kStripWidth;
    const int top = kStripGroupY + room - 1;
    EXPECT_EQ(PhotoStripItemAt(s, left + 22 + 1, top), 5);
    EXPECT_EQ(PhotoStripItemAt(s, left + 21, top), -1);
    EXPECT_EQ(PhotoStripItemAt(s, left + 22 + 1, top - 42), -1);  // the gap between two photos
    EXPECT_EQ(PhotoStripItemAt(s, left + 22 + 1, top - 44), 4);
    EXPECT_EQ(PhotoStripItemAt(s, 5, 5), -1);

    SendMessageW(map, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(Photos().scroll, placed);
    SendMessageW(map, WM_KEYDOWN, VK_NEXT, 0);
    SendMessageW(map, WM_KEYDOWN, VK_NEXT, 0);
    Paint();
    SendMessageW(map, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_EQ(Photos().scroll, 4);  // stays at the last entry
    SendMessageW(map, WM_KEYDOWN, VK_PRIOR, 0);
    EXPECT_EQ(Photos().scroll, 4 - placed);

    // Read again at the last entry, the photos above it never came into
    // memory: a page back still goes by their real heights.
    SendMessageW(map, WM_KEYDOWN, VK_NEXT, 0);
    SendMessageW(map, WM_KEYDOWN, VK_NEXT, 0);
    ASSERT_EQ(Photos().scroll, 4);
    ShowCityPhotos(s, 0);
    ASSERT_EQ(Photos().scroll, 4);
    SendMessageW(map, WM_KEYDOWN, VK_PRIOR, 0);
    EXPECT_EQ(Photos().scroll, 4 - placed);
}

TEST_F(PhotoStripWindowTest, OverlayButtonsFromTheAtlas) {
    MapState& s = Map();
    // The PNG reader is hook.dll's export, as in the programs.
    HMODULE hook = LoadLibraryW((testing_support::BinFolder() + L"hook.dll").c_str());
    ASSERT_NE(hook, nullptr) << "hook.dll is built beside the programs";
    TempDir folder;
    const std::string atlas = testing_support::ReadBytes(testing_support::SourcePath(L"data/buttons.png"));
    ASSERT_FALSE(atlas.empty());
    ASSERT_TRUE(WriteBytes(folder.file(L"buttons.png"), atlas));
    const std::wstring saved = s.programFolder;
    wcsncpy(s.programFolder, (folder.path() + L"\\").c_str(), kProgramFolderChars - 1);
    ASSERT_TRUE(s.context.MakeCurrent(s.dc));
    BuildOverlay(s);
    const int gx = kW - kStripWidth;
    EXPECT_EQ(UpdateOverlayHover(s, gx + 38 + 16, 38 + 16, false), VK_HOME);
    EXPECT_EQ(UpdateOverlayHover(s, gx + 6, 6, false), 0);  // pad cell (0, 0) is empty
    EXPECT_EQ(UpdateOverlayHover(s, gx + 38 + 1, 6, false), VK_DOWN);
    EXPECT_EQ(UpdateOverlayHover(s, gx + 70 + 31, 70 + 31, false), VK_SUBTRACT);
    EXPECT_EQ(UpdateOverlayHover(s, gx + 6 + 1, 70 + 1, false), VK_ADD);
    // Clearing the hover still names the button under the point.
    EXPECT_EQ(UpdateOverlayHover(s, gx + 38 + 16, 70 + 16, true), VK_UP);
    // The photo buttons wait out of sight until a frame places them.
    Paint();
    EXPECT_EQ(UpdateOverlayHover(s, gx + 10, kH - 2 * s.font.Height() - 32 + 5, false), 0);
    s.hostAcceptsPhotos = true;
    Paint();
    EXPECT_EQ(UpdateOverlayHover(s, gx + 10, kH - 2 * s.font.Height() - 32 + 5, false), VK_INSERT);
    s.hostAcceptsPhotos = false;

    // A damaged atlas leaves the map without buttons.
    ASSERT_TRUE(WriteBytes(folder.file(L"buttons.png"), "\x89PNG broken"));
    BuildOverlay(s);
    EXPECT_EQ(UpdateOverlayHover(s, gx + 38 + 16, 38 + 16, false), 0);
    wcsncpy(s.programFolder, saved.c_str(), kProgramFolderChars - 1);
    FreeLibrary(hook);
}

TEST_F(PhotoStripWindowTest, InsertAndClicksOpenPagesThroughTheShell) {
    MapState& s = Map();
    RecordingSystem recorder;
    SystemSeam* previous = SetSystemSeam(&recorder);
    FivePhotos();
    ASSERT_TRUE(s.context.MakeCurrent(s.dc));
    SendMessageW(map, WM_KEYDOWN, VK_INSERT, 0);
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0].verb, L"open");
    EXPECT_EQ(recorder.calls[0].file, L"http://www.vistrel.example/cms/add_photo.htm");
    EXPECT_EQ(recorder.calls[0].directory, L".\\");
    EXPECT_EQ(recorder.calls[0].show, SW_SHOWNORMAL);
    // PgUp and PgDn without photos do nothing.
    SendMessageW(map, WM_KEYDOWN, VK_NEXT, 0);
    SendMessageW(map, WM_KEYDOWN, VK_PRIOR, 0);
    EXPECT_EQ(Photos().scroll, 0);

    ShowCityPhotos(s, 0);
    InvalidateRect(map, nullptr, FALSE);
    UpdateWindow(map);
    const int h = s.font.Height();
    const int room = kH - 2 * h - 59 - kStripGroupY;
    OpenPhotoPage(s, PhotoStripItemAt(s, kW - kStripWidth + 30, kStripGroupY + room - 5));
    ASSERT_EQ(recorder.calls.size(), 2u);
    EXPECT_EQ(recorder.calls[1].file, L"http://www.vistrel.example/p/5");
    OpenPhotoPage(s, 99);  // not loaded: nothing opens
    OpenCreditLine(s, 0);
    OpenCreditLine(s, 7);
    ASSERT_EQ(recorder.calls.size(), 3u);
    EXPECT_EQ(recorder.calls[2].file, CreditLineAddress(0));
    SetSystemSeam(previous);
}

TEST_F(PhotoStripWindowTest, ReleaseButtonsActWhenClickedThroughTheWindow) {
    MapState& s = Map();
    HMODULE hook = LoadLibraryW((testing_support::BinFolder() + L"hook.dll").c_str());
    ASSERT_NE(hook, nullptr);
    TempDir folder;
    ASSERT_TRUE(WriteBytes(folder.file(L"buttons.png"),
                           testing_support::ReadBytes(testing_support::SourcePath(L"data/buttons.png"))));
    const std::wstring saved = s.programFolder;
    wcsncpy(s.programFolder, (folder.path() + L"\\").c_str(), kProgramFolderChars - 1);
    ASSERT_TRUE(s.context.MakeCurrent(s.dc));
    BuildOverlay(s);
    RecordingSystem recorder;
    SystemSeam* previous = SetSystemSeam(&recorder);
    FivePhotos();
    ShowCityPhotos(s, 0);
    s.hostAcceptsPhotos = true;
    Paint();
    const int gx = kW - kStripWidth, h = s.font.Height();
    // (x, y counted upward) inside a button, clicked as the mouse does.
    auto click = [&](int x, int upY) {
        SendMessageW(map, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, kH - 1 - upY));
        SendMessageW(map, WM_LBUTTONUP, 0, MAKELPARAM(x, kH - 1 - upY));
    };
    s.camera.longitude = 20.0;
    s.camera.tilt = 70.0;
    click(gx + 38 + 16, 38 + 16);  // home
    EXPECT_EQ(s.camera.longitude, 0.0);
    EXPECT_EQ(s.camera.tilt, 40.0);
    const int placed = PhotosPlacedLastFrame();
    ASSERT_GT(placed, 0);
    click(gx + 59 + 4, kH - 2 * h - 55 + 10);  // page down
    EXPECT_EQ(Photos().scroll, placed);
    Paint();
    click(gx + 40 + 4, kH - 2 * h - 55 + 10);  // page up
    EXPECT_EQ(Photos().scroll, 0);
    Paint();
    click(gx + 10, kH - 2 * h - 32 + 5);  // add photo
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0].file, L"http://www.vistrel.example/cms/add_photo.htm");
    // The home button as drawn: its hovered half only while it is held, never
    // under a resting pointer. Released beside it: nothing happens.
    auto homeLook = [&] {
        Paint();
        std::vector<uint32_t> ink;
        for (int y = 38; y < 70; ++y)
            for (int x = gx + 38; x < gx + 70; ++x) ink.push_back(surface.Pixel(x, y));
        return ink;
    };
    s.camera.longitude = 20.0;
    s.camera.distance = kCameraFar;  // the globe small, away from the buttons
    const std::vector<uint32_t> idle = homeLook();
    SendMessageW(map, WM_MOUSEMOVE, 0, MAKELPARAM(gx + 54, kH - 1 - 54));
    EXPECT_TRUE(homeLook() == idle);
    SendMessageW(map, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(gx + 54, kH - 1 - 54));
    EXPECT_FALSE(homeLook() == idle);
    SendMessageW(map, WM_LBUTTONUP, 0, MAKELPARAM(gx + 54 + 32, kH - 1 - 54));
    EXPECT_EQ(s.camera.longitude, 20.0);
    EXPECT_TRUE(homeLook() == idle);
    s.camera.distance = kCameraHomeDistance;

    // A drag whose press happened outside the window leaves the view alone,
    // and its release on the globe is no click: no fly-to.
    SendMessageW(map, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(kW / 2 - 30, kH / 2));
    SendMessageW(map, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(kW / 2 + 10, kH / 2 + 20));
    SendMessageW(map, WM_LBUTTONUP, 0, MAKELPARAM(kW / 2 + 10, kH / 2 + 20));
    EXPECT_EQ(s.camera.longitude, 20.0);
    EXPECT_FALSE(FlyToRunning());
    s.camera.longitude = 0.0;  // the next window keeps the view

    // The add-photo caption shows while the pointer rests on the button,
    // no button held, and goes when the pointer leaves the window.
    MapSetLocalString(2, L"Add a photo");
    const int tipY = kH - 2 * h - 32;
    auto tipInk = [&] {
        Paint();
        int ink = 0;
        for (int y = tipY; y < tipY + 24; ++y)
            for (int x = 0; x < gx - 1; ++x) ink += surface.Pixel(x, y) == 0xFFFFFF;
        return ink;
    };
    const int before = tipInk();
    SendMessageW(map, WM_MOUSEMOVE, 0, MAKELPARAM(gx + 10, kH - 1 - (tipY + 5)));
    EXPECT_GT(tipInk(), before + 10);
    SendMessageW(map, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(tipInk(), before);
    MapSetLocalString(2, nullptr);
    SetSystemSeam(previous);
    StopFlyTo(s);
    wcsncpy(s.programFolder, saved.c_str(), kProgramFolderChars - 1);
    FreeLibrary(hook);
}

namespace {

// The main program's window, accepting every photo request.
class AcceptingMainWindow {
public:
    AcceptingMainWindow() {
        UnregisterClassW(kMainWindowClass, GetModuleHandleW(nullptr));
        WNDCLASSW wc{};
        wc.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            return m == MSG_PHOTO_REQUEST ? 1 : DefWindowProcW(w, m, wp, lp);
        };
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kMainWindowClass;
        RegisterClassW(&wc);
        window = CreateWindowExW(0, kMainWindowClass, L"main", 0, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance,
                                 nullptr);
    }
    ~AcceptingMainWindow() {
        if (window) DestroyWindow(window);
        UnregisterClassW(kMainWindowClass, GetModuleHandleW(nullptr));
    }
    HWND window = nullptr;
};

}  // namespace

TEST_F(PhotoStripWindowTest, ShowPhotoTakesOnlyTheTablesOwnEntryAndPhotoReadyOnlyTheShownPlace) {
    MapState& s = Map();
    AcceptingMainWindow main;
    ASSERT_NE(main.window, nullptr);
    FivePhotos();
    ASSERT_TRUE(s.context.MakeCurrent(s.dc));
    // A record of another program's memory, or another entry than the index: refused.
    CityRecord stranger = City(L"Alpha", L"Land");
    SendMessageW(map, MSG_MAP_SHOW_PHOTO, 1, reinterpret_cast<LPARAM>(&stranger));
    SendMessageW(map, MSG_MAP_SHOW_PHOTO, 1, reinterpret_cast<LPARAM>(&cities[0]));
    EXPECT_TRUE(PhotoStripEmpty());
    EXPECT_STREQ(Photos().city, L"");
    SendMessageW(map, MSG_MAP_SHOW_PHOTO, 0, reinterpret_cast<LPARAM>(&cities[0]));
    EXPECT_FALSE(PhotoStripEmpty());
    EXPECT_STREQ(Photos().city, L"Alpha");

    ShowCityPhotos(s, 0);
    ASSERT_EQ(Photos().all.size(), 5u);
    // A sixth photo arrives in Alpha's cache; only news of Alpha reloads it.
    std::string index = testing_support::ReadBytes(alpha + L"index.tsv");
    ASSERT_TRUE(Photo(alpha, 6, 64, 40));
    ASSERT_TRUE(WriteBytes(alpha + L"index.tsv", index + "6\tu\tv\tPhoto 6\t/p/6\n"));
    SendMessageW(map, MSG_PHOTO_READY, 1, 6);                        // Beta, same country
    SendMessageW(map, MSG_PHOTO_READY, static_cast<WPARAM>(-1), 6);  // the whole of Land
    SendMessageW(map, MSG_PHOTO_READY, 2, 6);                        // Gamma, elsewhere
    SendMessageW(map, MSG_PHOTO_READY, 99, 6);                       // past the table
    EXPECT_EQ(Photos().all.size(), 5u);
    EXPECT_STREQ(Photos().city, L"Alpha");
    SendMessageW(map, MSG_PHOTO_READY, 0, 6);
    EXPECT_EQ(Photos().all.size(), 6u);
    EXPECT_STREQ(Photos().city, L"Alpha");
}

TEST_F(PhotoStripWindowTest, APhotoPathWithoutItsSlashStaysOnTheServiceHost) {
    MapState& s = Map();
    RecordingSystem recorder;
    SystemSeam* previous = SetSystemSeam(&recorder);
    ASSERT_TRUE(Photo(alpha, 7, 64, 40));
    ASSERT_TRUE(WriteBytes(alpha + L"index.tsv", "7\tu\tv\tHarbour\t.evil.example/x\n"));
    ASSERT_TRUE(s.context.MakeCurrent(s.dc));
    ShowCityPhotos(s, 0);
    Paint();
    const int room = kH - 2 * s.font.Height() - 59 - kStripGroupY;
    const int x = kW - kStripWidth + 30, y = kH - 1 - (kStripGroupY + room - 5);
    SendMessageW(map, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(map, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    ASSERT_EQ(recorder.calls.size(), 1u);
    EXPECT_EQ(recorder.calls[0].file, L"http://www.vistrel.example/.evil.example/x");
    SetSystemSeam(previous);
}
