// kartix.dll as the hosts use it: loaded by name, exports bound by name, and
// the documented answers to calls out of order or with bad arguments.
#include <gtest/gtest.h>

#include <string>

#include "common/mapdialog/map_plugin_errors.h"
#include "common/records/city_record.h"
#include "tests/support/program_folder.h"

namespace {

using InitMapFn = DWORD(__cdecl*)(CityRecord*, int);
using CreateMapWindowFn = HWND(__cdecl*)(HWND, int, int, int, int, int*);
using FreeMapFn = BOOL(__cdecl*)();
using GetLastSysErrorFn = DWORD(__cdecl*)();
using SetLocalStringFn = void(__cdecl*)(int, const wchar_t*);
using InstallMapFn = DWORD(__cdecl*)();

class MapPluginTest : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryW((testing_support::BinFolder() + L"kartix.dll").c_str());
        ASSERT_NE(module, nullptr) << GetLastError();
        initMap = Bind<InitMapFn>("InitMap");
        createMapWindow = Bind<CreateMapWindowFn>("CreateMapWindow");
        freeMap = Bind<FreeMapFn>("FreeMap");
        getLastSysError = Bind<GetLastSysErrorFn>("GetLastSysError");
        setLocalString = Bind<SetLocalStringFn>("SetLocalString");
        installMap = Bind<InstallMapFn>("InstallMap");
        ASSERT_TRUE(initMap && createMapWindow && freeMap && getLastSysError && setLocalString && installMap);
    }
    void TearDown() override {
        if (!module) return;
        freeMap();  // leaves no class behind for the next test
        FreeLibrary(module);
    }
    template <typename F>
    F Bind(const char* name) {
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }

    HMODULE module = nullptr;
    InitMapFn initMap = nullptr;
    CreateMapWindowFn createMapWindow = nullptr;
    FreeMapFn freeMap = nullptr;
    GetLastSysErrorFn getLastSysError = nullptr;
    SetLocalStringFn setLocalString = nullptr;
    InstallMapFn installMap = nullptr;
};

// A plain top-level window as the map's parent.
class ParentWindow {
public:
    ParentWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KartixTestParent";
        RegisterClassW(&wc);
        window = CreateWindowExW(0, L"KartixTestParent", L"parent", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                 nullptr, wc.hInstance, nullptr);
    }
    ~ParentWindow() {
        if (window) DestroyWindow(window);
    }
    HWND window = nullptr;
};

}  // namespace

TEST_F(MapPluginTest, ExportsAreBoundByNameOnly) {
    EXPECT_EQ(GetProcAddress(module, MAKEINTRESOURCEA(7)), nullptr);
    EXPECT_EQ(GetProcAddress(module, "_InitMap"), nullptr);
}

TEST_F(MapPluginTest, WindowWithoutInitMapIsRefusedWithTheClassError) {
    int status = 12345;
    EXPECT_EQ(createMapWindow(nullptr, 0, 0, 100, 100, &status), nullptr);
    EXPECT_EQ(static_cast<DWORD>(status), MAP_ERR_REGISTER_CLASS);
    EXPECT_EQ(getLastSysError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
    EXPECT_EQ(createMapWindow(nullptr, 0, 0, 100, 100, nullptr), nullptr);  // no status pointer: no crash
    EXPECT_EQ(installMap(), MAP_ERR_REGISTER_CLASS);
}

TEST_F(MapPluginTest, NullOrEmptyCityTablesAreAcceptedAsEmpty) {
    EXPECT_EQ(initMap(nullptr, 25), 0u);
    EXPECT_TRUE(freeMap());
    EXPECT_EQ(initMap(nullptr, 0), 0u);
    EXPECT_TRUE(freeMap());
    CityRecord cities[2] = {};
    EXPECT_EQ(initMap(cities, -4), 0u);
    EXPECT_TRUE(freeMap());
}

TEST_F(MapPluginTest, SecondInitMapReportsTheRegisteredClass_FreeMapTwiceFails) {
    CityRecord cities[3] = {};
    ASSERT_EQ(initMap(cities, 3), 0u);
    EXPECT_EQ(initMap(cities, 3), MAP_ERR_REGISTER_CLASS);
    EXPECT_EQ(getLastSysError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
    EXPECT_TRUE(freeMap());
    // Nothing left to free: the class is gone and so is the mutex.
    EXPECT_FALSE(freeMap());
    EXPECT_FALSE(freeMap());
    // And the library can be set up again.
    EXPECT_EQ(initMap(cities, 3), 0u);
    EXPECT_TRUE(freeMap());
}

TEST_F(MapPluginTest, InstallWithoutAnEarthTextureFailsToMakeTheBackup) {
    // The program folder is this test program's: it has no map.jpg.
    ASSERT_EQ(GetFileAttributesW((testing_support::TestsFolder() + L"map0.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
    ASSERT_EQ(initMap(nullptr, 0), 0u);
    EXPECT_EQ(installMap(), MAP_ERR_TEXTURE_COPY);
    EXPECT_EQ(getLastSysError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(GetFileAttributesW((testing_support::TestsFolder() + L"map0.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
}

namespace {

// What this machine's OpenGL gives a child window of `parent` with the map's
// pixel format request: 0, or the map error code of the step that fails.
DWORD WindowGLOnThisMachine(HWND parent) {
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 100, parent, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    if (!probe) return MAP_ERR_REGISTER_CLASS;
    HDC dc = GetDC(probe);
    PIXELFORMATDESCRIPTOR pfd{};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER | PFD_GENERIC_ACCELERATED;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cDepthBits = 32;
    pfd.cAccumBits = 32;
    pfd.iLayerType = PFD_MAIN_PLANE;
    DWORD result = 0;
    const int format = ChoosePixelFormat(dc, &pfd);
    if (!format) {
        result = MAP_ERR_CHOOSE_PIXEL_FORMAT;
    } else if (!SetPixelFormat(dc, format, &pfd)) {
        result = MAP_ERR_SET_PIXEL_FORMAT;
    } else {
        HGLRC context = wglCreateContext(dc);
        if (!context || !wglMakeCurrent(dc, context)) result = MAP_ERR_MAKE_CURRENT;
        wglMakeCurrent(nullptr, nullptr);
        if (context) wglDeleteContext(context);
    }
    ReleaseDC(probe, dc);
    DestroyWindow(probe);
    return result;
}

}  // namespace

// The export makes its child window exactly when this machine's OpenGL can
// serve one, and otherwise names the step that failed.
TEST_F(MapPluginTest, ChildWindowIsCreatedOrItsGLFailureReported) {
    ParentWindow parent;
    ASSERT_NE(parent.window, nullptr);
    const DWORD machine = WindowGLOnThisMachine(parent.window);
    ASSERT_NE(machine, MAP_ERR_REGISTER_CLASS);
    CityRecord cities[2] = {};
    ASSERT_EQ(initMap(cities, 2), 0u);
    int status = -1;
    HWND map = createMapWindow(parent.window, 0, 0, 200, 100, &status);
    EXPECT_EQ(static_cast<DWORD>(status), machine) << std::hex << status;
    if (machine == 0) {
        ASSERT_NE(map, nullptr);
        wchar_t className[128] = {};
        GetClassNameW(map, className, 128);
        EXPECT_STREQ(className, L"Tempovia 3D map window - OpenGL version");
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(map, GWL_STYLE)) & 0xFFFF0000u, 0x56010000u);
        EXPECT_EQ(GetParent(map), parent.window);
        EXPECT_EQ(SendMessageW(map, WM_ERASEBKGND, 0, 0), 1);
        // One window at a time.
        int second = -1;
        HWND other = createMapWindow(parent.window, 0, 0, 50, 50, &second);
        EXPECT_EQ(other, nullptr);
        DestroyWindow(map);
        // Closing the window keeps the library usable for the next one.
        HWND again = createMapWindow(parent.window, 0, 0, 200, 100, &status);
        EXPECT_NE(again, nullptr);
        EXPECT_EQ(status, 0);
        if (again) DestroyWindow(again);
    } else {
        EXPECT_EQ(map, nullptr);
        // The failed window is gone with everything it held: the class can
        // be unregistered and set up again.
        EXPECT_EQ(FindWindowExW(parent.window, nullptr, L"Tempovia 3D map window - OpenGL version", nullptr),
                  nullptr);
        EXPECT_TRUE(freeMap());
        EXPECT_EQ(initMap(cities, 2), 0u);
    }
}
