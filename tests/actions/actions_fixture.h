// Shared fixture of the alarm action and alarm log tests: a recording system
// seam (nothing is opened, played, shut down or hibernated), settings in a
// private folder for the user "bob", and the English resource library of this
// build for the dialogs, strings and icons.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/records/alarm_record.h"
#include "common/platform/system_seam.h"
#include "tests/support/test_support.h"

namespace actions_test {

struct ShellCall {
    std::wstring verb;
    std::wstring file;
    std::wstring parameters;  // "(null)" when none was given
    std::wstring directory;   // likewise
    int show = 0;
    DWORD thread = 0;
};

struct SoundCall {
    std::wstring sound;  // "(null)" for none
    DWORD flags = 0;
};

// Records every call; the shell calls come from worker threads, hence the lock.
class RecordingSystem final : public SystemSeam {
public:
    RecordingSystem();
    ~RecordingSystem() override;

    HINSTANCE ShellExecuteOpen(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                               const wchar_t* directory, int show) override;
    SC_HANDLE OpenServiceManager(const wchar_t*, const wchar_t*, DWORD) override { return nullptr; }
    SC_HANDLE OpenServiceHandle(SC_HANDLE, const wchar_t*, DWORD) override { return nullptr; }
    BOOL SendServiceControl(SC_HANDLE, DWORD, SERVICE_STATUS*) override { return FALSE; }
    BOOL CloseServiceHandleOf(SC_HANDLE) override { return FALSE; }
    DWORD LastError() override;

    BOOL PlaySoundFile(const wchar_t* sound, HMODULE module, DWORD flags) override;
    BOOL BeepTone(DWORD frequency, DWORD milliseconds) override;
    BOOL OpenOwnProcessToken(DWORD access, HANDLE* token) override;
    BOOL EnableTokenPrivilege(HANDLE token, const wchar_t* privilege) override;
    BOOL CloseTokenHandle(HANDLE token) override;
    BOOL ExitWindowsSession(UINT flags, DWORD reason) override;
    BOOL SetSuspendPower(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wakeEventsDisabled) override;

    // Waits until `count` shell calls were recorded (false after 5 s).
    bool WaitForShellCalls(size_t count);
    std::vector<ShellCall> ShellCalls();

    // What the privilege step answers.
    bool tokenOpens = true;
    DWORD privilegeError = ERROR_SUCCESS;
    BOOL powerResult = TRUE;

    std::vector<SoundCall> sounds;
    std::vector<std::pair<DWORD, DWORD>> beeps;  // frequency, milliseconds
    std::vector<std::wstring> steps;             // the privilege and power calls in order
    UINT exitFlags = 0;
    DWORD exitReason = 0;
    int exits = 0;
    int suspends = 0;
    BOOLEAN suspendArgs[3] = {};

private:
    std::mutex lock_;
    std::vector<ShellCall> shell_;
    HANDLE shellEvent_;
    DWORD lastError_ = 0;
    SystemSeam* previous_;
};

// A record with the given action, texts and a once schedule.
AlarmRecord MakeAlarm(int32_t action, const wchar_t* text, const wchar_t* comment = L"Tea");

// A moment for the rows and messages.
SYSTEMTIME Moment(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second = 0);

// Handles the messages waiting for this thread, dialogs included.
void PumpMessages();

class ActionsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // [bob:main] of the private tempovia.ini.
    std::wstring ReadMain(const wchar_t* key);
    void WriteMain(const wchar_t* key, const wchar_t* value);

    testing_support::TempDir dir;
    RecordingSystem* system = nullptr;

private:
    std::unique_ptr<RecordingSystem> owned_;
};

}  // namespace actions_test
