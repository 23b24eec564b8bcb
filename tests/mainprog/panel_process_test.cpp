// The clock panel inside the stand-in taskbar's process, with this test
// program in the main program's place: the clock window takes the panel's
// size and is centred in the notification area, and clicks land on the face
// under them, found by hit tests over the whole window.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <map>
#include <vector>

#include "common/records/clock_record.h"
#include "common/records/global_settings.h"
#include "common/records/protocol.h"
#include "common/taskbar/hook_exports.h"
#include "tests/mainprog/program_folder.h"

using namespace mainprog_test;

namespace {

constexpr DWORD kWait = 15000;
constexpr int kNotifyHeight = 36;  // the stand-in's notification area

struct Click {
    int clock;
    LPARAM point;
};

std::vector<Click>* g_clicks = nullptr;
HWND g_greetedBy = nullptr;

LRESULT CALLBACK MainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == MSG_TRAY_CLOCK_READY) {
        g_greetedBy = reinterpret_cast<HWND>(lp);
        return reinterpret_cast<LRESULT>(w);
    }
    if (m >= MSG_CLOCK_MOUSE_NONE && m <= MSG_CLOCK_MOUSE_LAST) {
        if (g_clicks && wp == CLOCK_MOUSE_DOWN) g_clicks->push_back(Click{static_cast<int>(m - MSG_CLOCK_MOUSE), lp});
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

class PanelInTaskbar : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.ok());
        g_clicks = &clicks_;
        g_greetedBy = nullptr;
        WNDCLASSW wc = {};
        wc.lpfnWndProc = MainProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"PanelTestMain";
        RegisterClassW(&wc);
        main_ = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                                nullptr);
        ASSERT_NE(main_, nullptr);
        log_ = folder_.file(L"taskbar.log");
    }
    void TearDown() override {
        RemoveHook();
        if (process_) {
            PostMessageW(TaskbarOf(process_), WM_CLOSE, 0, 0);
            WaitExit(process_, kWait);
        }
        DestroyWindow(main_);
        g_clicks = nullptr;
    }

    bool StartHooked() {
        process_ = folder_.StartProgram(TestsFolder() + L"standin_taskbar.exe", L"\"" + log_ + L"\" 120");
        if (!WaitForLine(log_, "ready", kWait)) return false;
        HWND taskbar = TaskbarOf(process_);
        notify_ = FindWindowExW(taskbar, nullptr, kTrayNotifyClass, nullptr);
        clock_ = notify_ ? FindWindowExW(notify_, nullptr, kTrayClockClass, nullptr) : nullptr;
        SetSharedStrings(folder_.path().c_str(), "");
        if (!clock_ || !InstallHook(main_, folder_.path().c_str())) return false;
        return Pump([] { return g_greetedBy != nullptr; }, kWait);
    }

    LRESULT Send(ULONG_PTR kind, const void* data, DWORD bytes) {
        COPYDATASTRUCT cds = {kind, bytes, const_cast<void*>(data)};
        DWORD_PTR reply = 0xBAD;
        if (!SendMessageTimeoutW(clock_, WM_COPYDATA, reinterpret_cast<WPARAM>(main_), reinterpret_cast<LPARAM>(&cds),
                                 SMTO_NORMAL, kWait, &reply)) {
            return -99;
        }
        return static_cast<LRESULT>(reply);
    }

    // Four clocks in the standard style; the second one is on the desktop.
    void SendClocks() {
        GlobalSettings s = {};
        wcsncpy(s.skin, L"Standard System Clock", 79);
        s.trayclocks = 12;
        s.clockCount = 4;
        s.enabledClocks = 4;
        s.overlayprefixes = 1;
        ASSERT_EQ(Send(COPYDATA_SETTINGS, &s, sizeof s), 1);
        std::vector<ClockRecord> records(4);
        std::memset(records.data(), 0, records.size() * sizeof(ClockRecord));
        const wchar_t* prefixes[] = {L"Oslo", L"Desk", L"Lima", L"Pune"};
        for (int i = 0; i < 4; ++i) {
            records[i].number = i + 1;
            records[i].enabled = 1;
            wcsncpy(records[i].timeformat, L"HH:mm", 31);
            wcsncpy(records[i].dateformat, L"None", 31);
            wcsncpy(records[i].prefix, prefixes[i], 31);
        }
        records[1].on_desktop = 1;
        ASSERT_EQ(Send(COPYDATA_CLOCKS, records.data(), static_cast<DWORD>(records.size() * sizeof(ClockRecord))), 1);
    }

    mainprog_test::ProgramFolder folder_;
    std::vector<Click> clicks_;
    std::wstring log_;
    HANDLE process_ = nullptr;
    HWND main_ = nullptr;
    HWND notify_ = nullptr;
    HWND clock_ = nullptr;
};

}  // namespace

TEST_F(PanelInTaskbar, TheClockWindowTakesThePanelsSizeCentredInTheNotificationArea) {
    ASSERT_TRUE(StartHooked());
    SendClocks();
    const LRESULT size = SendMessageW(clock_, MSG_TRAY_QUERY_SIZE, 0, 0);
    const int width = LOWORD(size);
    const int height = HIWORD(size);
    EXPECT_GT(width, 20);
    EXPECT_GT(height, 8);
    EXPECT_LE(height, kNotifyHeight);
    EXPECT_LE(width, 1024 / 2);
    ASSERT_TRUE(Pump(
        [&] {
            RECT r = {};
            GetClientRect(clock_, &r);
            return r.right == width && r.bottom == height;
        },
        kWait));
    RECT r = {};
    GetWindowRect(clock_, &r);
    MapWindowPoints(HWND_DESKTOP, notify_, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.top, (kNotifyHeight - height) / 2);
}

TEST_F(PanelInTaskbar, ClicksLandOnTheFaceUnderThemAndNowhereElse) {
    ASSERT_TRUE(StartHooked());
    SendClocks();
    const LRESULT size = SendMessageW(clock_, MSG_TRAY_QUERY_SIZE, 0, 0);
    const int width = LOWORD(size);
    const int height = HIWORD(size);
    ASSERT_GT(width, 0);
    int posted = 0;
    for (int y = 0; y < height + 3; y += 2) {
        for (int x = 0; x < width + 3; x += 3) {
            PostMessageW(clock_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
            ++posted;
        }
    }
    Pump([] { return false; }, 1500);
    ASSERT_FALSE(clicks_.empty());

    std::map<int, RECT> boxes;  // the points each clock answered for
    for (const Click& c : clicks_) {
        const int x = static_cast<short>(LOWORD(c.point));
        const int y = static_cast<short>(HIWORD(c.point));
        EXPECT_LT(x, width);
        EXPECT_LT(y, height);
        auto found = boxes.find(c.clock);
        if (found == boxes.end()) {
            boxes[c.clock] = RECT{x, y, x + 1, y + 1};
        } else {
            RECT& b = found->second;
            b = RECT{std::min<LONG>(b.left, x), std::min<LONG>(b.top, y), std::max<LONG>(b.right, x + 1),
                     std::max<LONG>(b.bottom, y + 1)};
        }
    }
    // Clocks 0, 2 and 3 have faces; clock 1 is on the desktop.
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes.count(1), 0u);
    const RECT a = boxes[0];
    const RECT b = boxes[2];
    const RECT c = boxes[3];
    RECT both;
    EXPECT_FALSE(IntersectRect(&both, &a, &b));
    EXPECT_FALSE(IntersectRect(&both, &b, &c));
    EXPECT_FALSE(IntersectRect(&both, &a, &c));
    // In record order: down a column, then on to the next column.
    EXPECT_TRUE(b.top >= a.bottom || b.left >= a.right);
    EXPECT_TRUE(c.top >= b.bottom || c.left >= b.right);
    EXPECT_LT(static_cast<int>(clicks_.size()), posted);  // the margins belong to no clock
}
