// The alarm page created headless from res_en.dll under a host window that
// stands in for the main settings dialog: it answers the clock request and
// counts change notices. Sounds, beeps and the shell go to a recorder.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "common/records/alarm_record.h"
#include "common/records/clock_record.h"
#include "common/records/protocol.h"
#include "common/platform/system_seam.h"
#include "tests/support/test_support.h"

namespace alarmpage_test {

class SeamRecorder final : public SystemSeam {
public:
    HINSTANCE ShellExecuteOpen(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t*, const wchar_t*,
                               int) override;
    SC_HANDLE OpenServiceManager(const wchar_t*, const wchar_t*, DWORD) override { return nullptr; }
    SC_HANDLE OpenServiceHandle(SC_HANDLE, const wchar_t*, DWORD) override { return nullptr; }
    BOOL SendServiceControl(SC_HANDLE, DWORD, SERVICE_STATUS*) override { return FALSE; }
    BOOL CloseServiceHandleOf(SC_HANDLE) override { return FALSE; }
    DWORD LastError() override { return 0; }
    BOOL PlaySoundFile(const wchar_t* sound, HMODULE, DWORD) override;
    BOOL BeepTone(DWORD hz, DWORD ms) override;
    BOOL ExitWindowsSession(UINT, DWORD) override;
    BOOL SetSuspendPower(BOOLEAN, BOOLEAN, BOOLEAN) override;
    std::vector<std::wstring> Calls();

private:
    std::mutex lock_;
    std::vector<std::wstring> calls_;
};

class AlarmPageTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates a page variant (resource id) under the host.
    HWND Create(UINT resource);
    void Load(AlarmRecord& alarm);
    // Stores into the record; the control named as failing (null: none).
    HWND Store(AlarmRecord& alarm);
    HWND Editor(int kind);
    HWND Item(int id) { return GetDlgItem(page_, id); }
    HWND EditorItem(int kind, int id) { return GetDlgItem(Editor(kind), id); }
    std::wstring Text(HWND control);
    void SetText(HWND control, const wchar_t* text);
    // A user's click on a button or radio of a dialog.
    void Click(HWND dialog, int id);
    void SelectCombo(HWND dialog, int id, int index);
    int ComboSelection(HWND dialog, int id);
    // Pumps and answers the change notices posted since the last call.
    int TakeChanges();

    testing_support::TempDir dir_;
    SeamRecorder seam_;
    SystemSeam* oldSeam_ = nullptr;
    HWND host_ = nullptr;
    HWND page_ = nullptr;
};

// The host's answers and records.
ClockRecord*& HostClock();
std::vector<WPARAM>& HostChanges();

// A record as a new alarm of the clock would be, with a set schedule kind.
AlarmRecord MakeAlarm(int type);

}  // namespace alarmpage_test
