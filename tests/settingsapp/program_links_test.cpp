// NotifyMainProgram: nothing without a main window, the reply when sending,
// a posted message otherwise.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "common/records/protocol.h"
#include "settings/program_links.h"

namespace {

std::vector<UINT> g_received;

LRESULT CALLBACK MainStandInProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == MSG_SAVE_STATE) {
        g_received.push_back(m);
        return 42;
    }
    if (m == MSG_SETTINGS_CHANGED) {
        g_received.push_back(m);
        return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
}

TEST(NotifyMainProgram, WithoutTheMainProgramNothingHappens) {
    ASSERT_EQ(FindWindowW(kMainWindowClass, nullptr), nullptr);
    EXPECT_EQ(NotifyMainProgram(MSG_SAVE_STATE, 0, 0, true), 0);
    EXPECT_EQ(NotifyMainProgram(MSG_SETTINGS_CHANGED, 0, 0, false), 0);
}

TEST(NotifyMainProgram, SendsForTheReplyOrPosts) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = MainStandInProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kMainWindowClass;
    ASSERT_TRUE(RegisterClassW(&wc));
    HWND main = CreateWindowExW(0, kMainWindowClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance,
                                nullptr);
    ASSERT_NE(main, nullptr);
    g_received.clear();
    EXPECT_EQ(NotifyMainProgram(MSG_SAVE_STATE, 0, 0, true), 42);
    EXPECT_EQ(NotifyMainProgram(MSG_SETTINGS_CHANGED, 0, 0, false), 1);
    ASSERT_EQ(g_received.size(), 1u);
    MSG msg;
    while (PeekMessageW(&msg, main, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    EXPECT_EQ(g_received, std::vector<UINT>({MSG_SAVE_STATE, MSG_SETTINGS_CHANGED}));
    DestroyWindow(main);
    UnregisterClassW(kMainWindowClass, wc.hInstance);
}

}  // namespace
