// Shared pieces of the tray tests: a recording system seam, a stand-in main
// window that hands WM_COMMAND to the main program's command path, and a
// clock table the tests fill.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/records/clock_record.h"
#include "common/platform/system_seam.h"
#include "tests/support/test_support.h"

namespace tray_test {

struct ShellCall {
    std::wstring verb, file, parameters, directory;  // "(null)" for none
    int show = 0;
};

class RecordingSystem final : public SystemSeam {
public:
    RecordingSystem() { previous_ = SetSystemSeam(this); }
    ~RecordingSystem() override { SetSystemSeam(previous_); }

    HINSTANCE ShellExecuteOpen(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                               const wchar_t* directory, int show) override;
    SC_HANDLE OpenServiceManager(const wchar_t*, const wchar_t*, DWORD) override { return nullptr; }
    SC_HANDLE OpenServiceHandle(SC_HANDLE, const wchar_t*, DWORD) override { return nullptr; }
    BOOL SendServiceControl(SC_HANDLE, DWORD, SERVICE_STATUS*) override { return FALSE; }
    BOOL CloseServiceHandleOf(SC_HANDLE) override { return FALSE; }
    DWORD LastError() override { return ERROR_SUCCESS; }
    BOOL PlaySoundFile(const wchar_t*, HMODULE, DWORD) override { return FALSE; }
    BOOL BeepTone(DWORD frequency, DWORD milliseconds) override;
    BOOL OpenOwnProcessToken(DWORD, HANDLE* token) override;
    BOOL EnableTokenPrivilege(HANDLE, const wchar_t* privilege) override;
    BOOL CloseTokenHandle(HANDLE) override { return TRUE; }
    BOOL ExitWindowsSession(UINT, DWORD) override { return FALSE; }
    BOOL SetSuspendPower(BOOLEAN, BOOLEAN, BOOLEAN) override { return FALSE; }
    BOOL SetSystemTimeZone(const TIME_ZONE_INFORMATION& zone) override;
    LONG SetAutoDaylightDisabled(bool disabled) override;
    void BroadcastSettingChange(const wchar_t* area, UINT timeoutMs) override;

    std::vector<ShellCall> shell;
    std::vector<std::pair<DWORD, DWORD>> beeps;
    std::vector<std::wstring> privileges;
    std::vector<TIME_ZONE_INFORMATION> zones;
    std::vector<bool> autoDaylight;  // the disabled flag of each write
    std::vector<std::pair<std::wstring, UINT>> broadcasts;
    BOOL zoneResult = TRUE;

private:
    SystemSeam* previous_ = nullptr;
};

// What the stand-in main window saw.
struct MainWindowLog {
    std::vector<WORD> commands;   // WM_COMMAND ids, in order
    std::vector<UINT> messages;   // the program's own messages (WM_APP and up)
    LRESULT menuRequestAnswer = 0;  // reply to MSG_CLOCK_MOUSE code 123
};
MainWindowLog& Log();

// Creates the hidden stand-in main window (g_app.mainWindow); commands other
// than quit go to the main program's RunTrayCommand.
HWND CreateTestMainWindow();
// Dispatches everything posted to this thread, twice over (a command may
// post a message of its own).
void Pump();

// A fresh record: clock N = number, English formats, its own zone.
ClockRecord MakeClock(int number);

// Resets the program state the commands read, points the settings at a
// private folder and installs the recorder; restores everything afterwards.
class TrayTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Puts the clocks in force as the program's clock table.
    void UseClocks(std::vector<ClockRecord> clocks);
    std::wstring Folder() const { return dir_.path() + L"\\"; }

    testing_support::TempDir dir_;
    RecordingSystem system_;
    std::vector<ClockRecord> clocks_;
    HWND main_ = nullptr;
};

// A stand-in taskbar: the shell hands icon requests to the first window of
// class "Shell_TrayWnd" as WM_COPYDATA (dwData NIM_ADD, NIM_MODIFY, NIM_DELETE).
class StandInTaskbar {
public:
    StandInTaskbar();
    ~StandInTaskbar();
    StandInTaskbar(const StandInTaskbar&) = delete;
    StandInTaskbar& operator=(const StandInTaskbar&) = delete;
    HWND window() const { return window_; }
    // The icon requests seen so far, in order.
    static std::vector<DWORD>& Requests();

private:
    HWND window_ = nullptr;
};

// The English resource library of the build, loaded as data.
HMODULE ResourceLibrary();

}  // namespace tray_test
