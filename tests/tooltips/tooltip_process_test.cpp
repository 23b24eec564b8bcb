// The tooltip of the taskbar clock inside the stand-in taskbar's process,
// with this test program in the main program's place: hovering a clock shows
// the tracking tooltip beside it, with the city photo from the shared cache
// and a photo request to the main window; the all-clocks kind asks for no
// photo.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "common/records/clock_record.h"
#include "common/records/global_settings.h"
#include "common/records/protocol.h"
#include "common/taskbar/hook_exports.h"
#include "common/records/city_record.h"
#include "common/platform/text_bounds.h"
#include "tests/support/program_folder.h"
#include "tests/tooltips/jpeg_writer.h"

using namespace testing_support;
using namespace tooltips_test;

namespace {

constexpr DWORD kWait = 15000;
constexpr int kPhotoWidth = 120;
constexpr int kPhotoHeight = 90;
constexpr wchar_t kRegion[] = L"Tooltipland";
constexpr wchar_t kCity[] = L"Testville";

struct Request {
    WPARAM city;
    LPARAM window;
};

struct MenuAsked {
    UINT message;
    LPARAM point;
};

struct FakeMain {
    HWND greetedBy = nullptr;
    std::vector<Request> requests;
    std::vector<MenuAsked> menus;  // answered 1, as when the About box came forward
    std::map<int, RECT> faces;  // client points each clock answered a click for
};

FakeMain* g_main = nullptr;

LRESULT CALLBACK MainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (!g_main) return DefWindowProcW(w, m, wp, lp);
    if (m == MSG_TRAY_CLOCK_READY) {
        g_main->greetedBy = reinterpret_cast<HWND>(lp);
        return reinterpret_cast<LRESULT>(w);
    }
    if (m == MSG_PHOTO_REQUEST) {
        g_main->requests.push_back(Request{wp, lp});
        return 1;
    }
    if (m >= MSG_CLOCK_MOUSE_NONE && m <= MSG_CLOCK_MOUSE_LAST && wp == CLOCK_MOUSE_MENU) {
        g_main->menus.push_back(MenuAsked{m, lp});
        return 1;
    }
    if (m >= MSG_CLOCK_MOUSE && m <= MSG_CLOCK_MOUSE_LAST) {
        if (wp == CLOCK_MOUSE_DOWN) {
            const int x = static_cast<short>(LOWORD(lp)), y = static_cast<short>(HIWORD(lp));
            auto found = g_main->faces.find(static_cast<int>(m - MSG_CLOCK_MOUSE));
            if (found == g_main->faces.end()) {
                g_main->faces[static_cast<int>(m - MSG_CLOCK_MOUSE)] = RECT{x, y, x + 1, y + 1};
            } else {
                RECT& b = found->second;
                b = RECT{std::min<LONG>(b.left, x), std::min<LONG>(b.top, y), std::max<LONG>(b.right, x + 1),
                         std::max<LONG>(b.bottom, y + 1)};
            }
        }
        return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
}

template <typename Pred>
bool Pump(Pred done, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        if (done()) return true;
        if (GetTickCount() - start > ms) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

HWND TaskbarOf(HANDLE process) {
    const DWORD pid = GetProcessId(process);
    for (HWND w = FindWindowW(kTaskbarClass, nullptr); w; w = FindWindowExW(nullptr, w, kTaskbarClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == pid) return w;
    }
    return nullptr;
}

// The visible tooltip of the clock window's thread, out of its parking place.
struct TooltipSearch {
    HWND found;
};

BOOL CALLBACK FindShownTooltip(HWND w, LPARAM lp) {
    wchar_t name[64] = {};
    GetClassNameW(w, name, 64);
    RECT r = {};
    GetWindowRect(w, &r);
    if (lstrcmpiW(name, TOOLTIPS_CLASSW) == 0 && IsWindowVisible(w) && r.left > -10000) {
        reinterpret_cast<TooltipSearch*>(lp)->found = w;
        return FALSE;
    }
    return TRUE;
}

std::wstring PhotoRoot() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) return L"";
    return std::wstring(folder) + L"\\Dravik\\Vistrel";
}

class TooltipInTaskbar : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.ok());
        g_main = &main_;
        WNDCLASSW wc = {};
        wc.lpfnWndProc = MainProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TooltipTestMain";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                                  nullptr);
        ASSERT_NE(window_, nullptr);
        WriteCache();
    }
    void TearDown() override {
        RemoveHook();
        if (process_) {
            PostMessageW(TaskbarOf(process_), WM_CLOSE, 0, 0);
            WaitExit(process_, kWait);
        }
        DestroyWindow(window_);
        g_main = nullptr;
        RemoveCache();
    }

    // The city's photo in the cache the hook reads (inside this prefix).
    void WriteCache() { WriteCityPhoto(kRegion, kCity); }
    void WriteCityPhoto(const std::wstring& region, const std::wstring& city) {
        const std::wstring root = PhotoRoot();
        ASSERT_FALSE(root.empty());
        const std::wstring folder = root + L"\\" + region + L"\\" + city;
        for (const std::wstring& part : {root.substr(0, root.rfind(L'\\')), root, root + L"\\" + region, folder}) {
            CreateDirectoryW(part.c_str(), nullptr);
        }
        cities_.push_back(folder);
        const std::string line = "1\t" + std::string(city.begin(), city.end()) + "\t/img/1.jpg\tMain Square\t/page/1\n";
        ASSERT_TRUE(WriteBytes(folder + L"\\index.tsv", line));
        ASSERT_TRUE(WriteBytes(folder + L"\\1.jpg", EncodeJpeg(Quadrants(kPhotoWidth, kPhotoHeight, 0xFF0000,
                                                                           0x00FF00, 0x0000FF, 0xFFFFFF))));
    }
    void RemoveCache() {
        for (const std::wstring& folder : cities_) {
            DeleteFileW((folder + L"\\index.tsv").c_str());
            DeleteFileW((folder + L"\\1.jpg").c_str());
            std::wstring dir = folder;
            for (int i = 0; i < 4; ++i) {
                RemoveDirectoryW(dir.c_str());  // only while empty
                dir = dir.substr(0, dir.rfind(L'\\'));
            }
        }
    }

    bool StartHooked() {
        const std::wstring log = folder_.file(L"taskbar.log");
        process_ = folder_.StartProgram(TestsFolder() + L"standin_taskbar.exe", L"\"" + log + L"\" 120");
        if (!WaitForLine(log, "ready", kWait)) return false;
        HWND notify = FindWindowExW(TaskbarOf(process_), nullptr, kTrayNotifyClass, nullptr);
        clock_ = notify ? FindWindowExW(notify, nullptr, kTrayClockClass, nullptr) : nullptr;
        SetSharedStrings(folder_.path().c_str(), "");
        if (!clock_ || !InstallHook(window_, folder_.path().c_str())) return false;
        return Pump([] { return g_main->greetedBy != nullptr; }, kWait);
    }

    LRESULT Send(ULONG_PTR kind, const void* data, DWORD bytes) {
        COPYDATASTRUCT cds = {kind, bytes, const_cast<void*>(data)};
        DWORD_PTR reply = 0xBAD;
        if (!SendMessageTimeoutW(clock_, WM_COPYDATA, reinterpret_cast<WPARAM>(window_),
                                 reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL, kWait, &reply)) {
            return -99;
        }
        return static_cast<LRESULT>(reply);
    }

    void SendSettings(int tooltipKind) {
        GlobalSettings s = {};
        CopyBounded(s.skin, L"Standard System Clock");
        s.trayclocks = 12;
        s.clockCount = 2;
        s.enabledClocks = 2;
        s.tooltips = 1;
        s.tooltipkind = tooltipKind;
        s.vistrel = 1;
        ASSERT_EQ(Send(COPYDATA_SETTINGS, &s, sizeof s), 1);
    }

    // Two clocks: one in the city with a photo, one in a city without.
    void SendClocksAndCities(const wchar_t* timeFormat = L"HH:mm") {
        std::vector<CityRecord> cities(2);
        std::memset(cities.data(), 0, cities.size() * sizeof(CityRecord));
        CopyBounded(cities[0].city, L"Lima");
        CopyBounded(cities[0].region, L"Peru");
        CopyBounded(cities[1].city, kCity);
        CopyBounded(cities[1].region, kRegion);
        Send(COPYDATA_CITIES, cities.data(), static_cast<DWORD>(cities.size() * sizeof(CityRecord)));

        std::vector<ClockRecord> records(2);
        std::memset(records.data(), 0, records.size() * sizeof(ClockRecord));
        const wchar_t* labels[] = {L"Alpha", L"Beta"};
        const wchar_t* locations[] = {L"Testville, Tooltipland", L"Lima, Peru"};
        for (int i = 0; i < 2; ++i) {
            records[i].number = i + 1;
            records[i].enabled = 1;
            CopyBounded(records[i].timeformat, timeFormat);
            records[i].showsSeconds = std::wcsstr(timeFormat, L"s") != nullptr;
            CopyBounded(records[i].dateformat, L"None");
            CopyBounded(records[i].prefix, labels[i]);
            CopyBounded(records[i].label, labels[i]);
            CopyBounded(records[i].location, locations[i]);
        }
        ASSERT_EQ(Send(COPYDATA_CLOCKS, records.data(), static_cast<DWORD>(records.size() * sizeof(ClockRecord))), 1);
    }

    // Where each face is, found by clicks over the whole window.
    void FindFaces() {
        const LRESULT size = SendMessageW(clock_, MSG_TRAY_QUERY_SIZE, 0, 0);
        for (int y = 0; y < HIWORD(size); y += 2) {
            for (int x = 0; x < LOWORD(size); x += 3) {
                PostMessageW(clock_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
            }
        }
        Pump([] { return false; }, 1000);
    }

    // Puts the cursor on the face and tells the clock; the shown tooltip.
    HWND Hover(int clock) {
        const RECT face = main_.faces[clock];
        POINT p = {(face.left + face.right) / 2, (face.top + face.bottom) / 2};
        POINT screen = p;
        ClientToScreen(clock_, &screen);
        SetCursorPos(screen.x, screen.y);
        PostMessageW(clock_, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
        TooltipSearch search = {nullptr};
        const DWORD thread = GetWindowThreadProcessId(clock_, nullptr);
        Pump(
            [&] {
                search.found = nullptr;
                EnumThreadWindows(thread, FindShownTooltip, reinterpret_cast<LPARAM>(&search));
                return search.found != nullptr;
            },
            kWait);
        return search.found;
    }

    // Takes the pointer off the clock: the tooltip goes.
    void Leave() {
        SetCursorPos(10, 10);
        PostMessageW(clock_, WM_MOUSEMOVE, 0, MAKELPARAM(-50, -50));
        Pump([] { return false; }, 300);
    }

    ProgramFolder folder_{{}, {}};
    FakeMain main_;
    HANDLE process_ = nullptr;
    HWND window_ = nullptr;
    HWND clock_ = nullptr;
    std::vector<std::wstring> cities_;
};

// Waits until `done` holds for the shown tooltip of the clock window's
// thread (null when none is shown); false when it never does.
template <typename Pred>
bool WaitForTooltip(HWND clock, Pred done) {
    const DWORD thread = GetWindowThreadProcessId(clock, nullptr);
    return Pump(
        [&] {
            TooltipSearch search = {nullptr};
            EnumThreadWindows(thread, FindShownTooltip, reinterpret_cast<LPARAM>(&search));
            return done(search.found);
        },
        kWait);
}

int Height(HWND w) {
    RECT r = {};
    GetWindowRect(w, &r);
    return r.bottom - r.top;
}

// Two lines of the tooltip's font with room above and below them.
int TwoLinesWithRoom() {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontIndirectW(&metrics.lfStatusFont);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE line = {};
    GetTextExtentPoint32W(dc, L"1Wqlj", 5, &line);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return 2 * line.cy + 2 * 3;
}

}  // namespace

TEST_F(TooltipInTaskbar, HoveringAClockShowsItsPhotoAndAsksForMore) {
    ASSERT_TRUE(StartHooked());
    SendSettings(0);
    SendClocksAndCities();
    FindFaces();
    ASSERT_EQ(main_.faces.size(), 2u);

    HWND tip = Hover(0);
    ASSERT_NE(tip, nullptr);
    ASSERT_FALSE(main_.requests.empty());
    EXPECT_EQ(main_.requests.back().city, 1u);
    EXPECT_EQ(main_.requests.back().window, reinterpret_cast<LPARAM>(clock_));
    RECT tipRect = {}, clockRect = {};
    GetWindowRect(tip, &tipRect);
    GetWindowRect(clock_, &clockRect);
    // Above the clock on the bottom taskbar, with the photo at its own size.
    EXPECT_LE(tipRect.bottom, clockRect.top);
    EXPECT_GE(tipRect.bottom - tipRect.top, kPhotoHeight);
    EXPECT_GE(tipRect.right - tipRect.left, kPhotoWidth);
    const int photoTipHeight = tipRect.bottom - tipRect.top;

    // The other clock's city has no photos: text only, and its request.
    Leave();
    tip = Hover(1);
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(main_.requests.back().city, 0u);
    GetWindowRect(tip, &tipRect);
    EXPECT_LT(tipRect.bottom - tipRect.top, photoTipHeight);
    // Label and date, clear of the border.
    EXPECT_GE(tipRect.bottom - tipRect.top, TwoLinesWithRoom());
}

TEST_F(TooltipInTaskbar, TheAllClocksKindAsksForNoPhoto) {
    ASSERT_TRUE(StartHooked());
    SendSettings(1);
    SendClocksAndCities();
    FindFaces();
    ASSERT_EQ(main_.faces.size(), 2u);
    HWND tip = Hover(0);
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(main_.requests.empty());
    RECT tipRect = {};
    GetWindowRect(tip, &tipRect);
    EXPECT_LT(tipRect.bottom - tipRect.top, kPhotoHeight);
    EXPECT_GT(tipRect.right - tipRect.left, 40);
    EXPECT_GE(tipRect.bottom - tipRect.top, TwoLinesWithRoom());  // two rows, clear of the border
}

TEST_F(TooltipInTaskbar, TheTooltipGoesWhenThePointerLeavesWithoutAnotherMove) {
    ASSERT_TRUE(StartHooked());
    SendSettings(0);
    SendClocksAndCities();
    FindFaces();
    ASSERT_NE(Hover(0), nullptr);
    // The taskbar is seldom the foreground window, where a capture would not
    // bring the move that leaves it: hovering must not depend on one (and
    // must not take the mouse from the taskbar's own controls).
    GUITHREADINFO thread = {sizeof thread};
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(clock_, nullptr), &thread));
    EXPECT_EQ(thread.hwndCapture, nullptr);
    // The pointer is elsewhere; the taskbar sees no move of it.
    SetCursorPos(5, 5);
    EXPECT_TRUE(WaitForTooltip(clock_, [](HWND shown) { return shown == nullptr; }));
}

// The clocks show seconds, so their faces change while the photo is on its way.
TEST_F(TooltipInTaskbar, AnArrivedPhotoIsShownAndNothingMoreIsAsked) {
    ASSERT_TRUE(StartHooked());
    SendSettings(0);
    SendClocksAndCities(L"HH:mm:ss");
    FindFaces();
    ASSERT_EQ(main_.faces.size(), 2u);
    HWND tip = Hover(1);  // Lima: no photo yet
    ASSERT_NE(tip, nullptr);
    ASSERT_LT(Height(tip), kPhotoHeight);
    const size_t asked = main_.requests.size();
    Pump([] { return false; }, 1300);

    // The main program has fetched Lima's first photo.
    WriteCityPhoto(L"Peru", L"Lima");
    PostMessageW(clock_, MSG_PHOTO_READY, 0, 1);
    EXPECT_TRUE(WaitForTooltip(clock_, [](HWND shown) { return shown && Height(shown) >= kPhotoHeight; }));
    EXPECT_EQ(main_.requests.size(), asked);

    // A small move over the same clock, a second later, asks for nothing.
    Pump([] { return false; }, 1100);
    const RECT face = main_.faces[1];
    PostMessageW(clock_, WM_MOUSEMOVE, 0, MAKELPARAM((face.left + face.right) / 2 + 1, (face.top + face.bottom) / 2));
    Pump([] { return false; }, 300);
    EXPECT_EQ(main_.requests.size(), asked);

    // A photo of another city than the hovered clock's changes nothing.
    PostMessageW(clock_, MSG_PHOTO_READY, 1, 1);
    Pump([] { return false; }, 300);
    EXPECT_EQ(main_.requests.size(), asked);
}

TEST_F(TooltipInTaskbar, TheKeyboardMenuOpensAtAClock) {
    ASSERT_TRUE(StartHooked());
    SendSettings(0);
    SendClocksAndCities();
    FindFaces();
    ASSERT_EQ(main_.faces.size(), 2u);
    PostMessageW(clock_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(clock_), MAKELPARAM(-1, -1));
    ASSERT_TRUE(Pump([&] { return !main_.menus.empty(); }, kWait));
    EXPECT_EQ(main_.menus[0].message, MSG_CLOCK_MOUSE);
    POINT at = {static_cast<short>(LOWORD(main_.menus[0].point)), static_cast<short>(HIWORD(main_.menus[0].point))};
    RECT window = {};
    GetWindowRect(clock_, &window);
    EXPECT_TRUE(PtInRect(&window, at)) << at.x << "," << at.y;
}
