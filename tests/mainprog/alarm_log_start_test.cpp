// tempovia.exe builds its alarm log window when it is first needed, not at
// start: the tray's "show log" brings it up, and an alarm that fell due while
// the program was not running still fires into it at the first tick. Keys
// typed into the log, however it was opened, go to its rows.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cwchar>
#include <string>
#include <utility>

#include "common/records/protocol.h"
#include "common/alarms/alarm_log.h"
#include "resources/resource_ids.h"
#include "tests/mainprog/program_folder.h"

using namespace mainprog_test;

namespace {

constexpr DWORD kStartMs = 15000;

std::wstring Moment(SYSTEMTIME t, int shiftMinutes) {
    FILETIME f;
    SystemTimeToFileTime(&t, &f);
    ULARGE_INTEGER u{{f.dwLowDateTime, f.dwHighDateTime}};
    u.QuadPart += static_cast<long long>(shiftMinutes) * 60 * 10000000LL;
    f = {u.LowPart, u.HighPart};
    FileTimeToSystemTime(&f, &t);
    wchar_t text[32];
    swprintf(text, 32, L"%04u.%02u.%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return text;
}

// The alarm log window of the process, if it has one.
HWND LogOf(HANDLE process) {
    const DWORD id = GetProcessId(process);
    for (HWND w = FindWindowExW(nullptr, nullptr, kAlarmLogClass, nullptr); w;
         w = FindWindowExW(nullptr, w, kAlarmLogClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == id) return w;
    }
    return nullptr;
}

HWND WaitForVisibleLog(HANDLE process, DWORD ms) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(20)) {
        HWND log = LogOf(process);
        if (log && IsWindowVisible(log)) return log;
    }
    return nullptr;
}

template <class Done>
bool WaitUntil(Done done) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < kStartMs; Sleep(20)) {
        if (done()) return true;
    }
    return false;
}

// A key typed into the foreground window.
void TypeKey(WORD key) {
    INPUT press[2] = {};
    press[0].type = press[1].type = INPUT_KEYBOARD;
    press[0].ki.wVk = press[1].ki.wVk = key;
    press[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, press, sizeof(INPUT));
}

// The tray menu brings the desktop clocks forward as it opens; Esc closes it,
// and the log is then asked for as the menu's command would.
void ShowLogFromTheTray(HWND main) {
    PostMessageW(main, MSG_TRAY_ICON, 0, WM_RBUTTONDOWN);
    WaitUntil([] { return IsWindowVisible(FindWindowW(L"#32768", nullptr)); });
    TypeKey(VK_ESCAPE);
    PostMessageW(main, WM_COMMAND, IDM_ALARM_LOG, 0);
}

class AlarmLogStart : public OwnFolderTest {
protected:
    // Starts the program and waits for the end of its start-up.
    HWND StartAndSettle() {
        process_ = folder_.Start(L"/nh");
        HWND main = WaitForMainWindow(kStartMs);
        return main && WaitForStartUpEnd(ini_, kStartMs) ? main : nullptr;
    }
    // Asks the running program to end and waits until it has.
    void Exit() {
        EXPECT_EQ(WaitExit(folder_.Start(L"/exit"), kStartMs), 0u);
        EXPECT_EQ(WaitExit(process_, kStartMs), 0u);
    }
    std::wstring ReadMain(const wchar_t* key) const {
        wchar_t value[64] = {};
        GetPrivateProfileStringW(Main().c_str(), key, L"", value, 64, ini_.c_str());
        return value;
    }
    static std::wstring Main() { return UserPrefix() + L":main"; }

    HANDLE process_ = nullptr;
};

TEST_F(AlarmLogStart, AStartBuildsNoLogAndShowLogBringsItUp) {
    HWND main = StartAndSettle();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(LogOf(process_), nullptr);
    PostMessageW(main, MSG_SHOW_LOG, 0, 0);
    EXPECT_NE(WaitForVisibleLog(process_, kStartMs), nullptr);
    Exit();
    EXPECT_NE(ReadMain(L"logwindowpos"), L"") << "its place is kept";
}

TEST_F(AlarmLogStart, AnAlarmMissedWhileNotRunningFiresIntoTheLogAndTheLogOpenedFromTheTrayTakesKeys) {
    ASSERT_NE(StartAndSettle(), nullptr);  // seeds the shipped clocks
    Exit();
    // A run that never needed the log still keeps its place and widths.
    EXPECT_NE(ReadMain(L"logwindowpos"), L"");
    EXPECT_NE(ReadMain(L"logwindowcolumns"), L"");

    SYSTEMTIME local, utc;
    GetLocalTime(&local);
    GetSystemTime(&utc);
    const std::wstring alarm = UserPrefix() + L":clock1:alarm1";
    const std::wstring lastCheck = Moment(utc, -2 * 24 * 60);
    for (auto [key, value] : {std::pair<const wchar_t*, std::wstring>{L"type", L"0"},
                              {L"enabled", L"1"},
                              {L"once", Moment(local, -120)},
                              {L"reminder", L"0"},
                              {L"action", L"0"},
                              {L"text", L"Missed while away"}}) {
        ASSERT_TRUE(WritePrivateProfileStringW(alarm.c_str(), key, value.c_str(), ini_.c_str()));
    }
    ASSERT_TRUE(WritePrivateProfileStringW(Main().c_str(), L"lastalarmcheck", lastCheck.c_str(), ini_.c_str()));

    process_ = folder_.Start(L"/nh");
    HWND log = WaitForVisibleLog(process_, kStartMs);
    ASSERT_NE(log, nullptr) << "the stored last check began the alarm check";
    HWND list = FindWindowExW(log, nullptr, WC_LISTVIEWW, nullptr);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 1);

    // Closed, then opened again from the tray: the first key reaches the rows.
    PostMessageW(log, WM_CLOSE, 0, 0);
    WaitUntil([log] { return !IsWindowVisible(log); });
    ShowLogFromTheTray(WaitForMainWindow(kStartMs));
    ASSERT_EQ(WaitForVisibleLog(process_, kStartMs), log);
    EXPECT_TRUE(WaitUntil([log] { return GetForegroundWindow() == log; }));
    TypeKey(VK_DELETE);
    EXPECT_TRUE(WaitUntil([list] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 0; }));
    Exit();
    EXPECT_GT(ReadMain(L"lastalarmcheck"), lastCheck);
}

}  // namespace
