// Shared set-up of the desktop clock tests: a private settings folder, a
// stand-in main window that records the clocks' mouse messages, and clock
// records that stand on the desktop.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "common/records/clock_record.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/records/protocol.h"
#include "common/records/clock_table.h"
#include "tempovia/desktop/clock_wnd.h"
#include "tempovia/desktop/desktop_clocks.h"
#include "tempovia/window/window.h"
#include "tests/support/test_support.h"

namespace desktop_test {

struct MouseNote {
    int index;
    WPARAM code;
    LPARAM lParam;
};

// What the stand-in main window saw, and what it answers to a menu request.
struct MainWindowLog {
    std::vector<MouseNote> notes;
    LRESULT menuAnswer = 0;
};
MainWindowLog& MainLog();
HWND MainWindow();

// Sends and then dispatches whatever the windows posted to themselves.
void Pump();

class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A clock on the desktop showing hours and minutes (seconds on request).
    void InitClock(int index, const wchar_t* prefix, bool seconds = false);
    std::wstring Section(int index) const { return L"tester:clock" + std::to_wstring(clocks_[index].number); }
    void WriteKey(int index, const wchar_t* key, int value) {
        ASSERT_TRUE(WriteIniInt(UserIniPath().c_str(), Section(index).c_str(), key, value));
    }
    int ReadKey(int index, const wchar_t* key, int def = -99999) const {
        return ReadIniInt(UserIniPath().c_str(), Section(index).c_str(), key, def);
    }
    bool Create(int count) { return desktop::CreateDesktopClocks(MainWindow(), clocks_, count); }
    desktop::CClockWnd* Window(int index) const { return desktop::FindDesktopClock(clocks_[index].number); }
    static RECT RectOf(const desktop::CClockWnd* w) {
        RECT r{};
        GetWindowRect(w->Handle(), &r);
        return r;
    }
    static POINT Centre(const RECT& r) { return POINT{r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2}; }

    testing_support::TempDir dir_;
    ClockRecord clocks_[kMaxClocks + 2] = {};
};

}  // namespace desktop_test
