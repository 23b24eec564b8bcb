// The main settings dialog created headless from res_en.dll in a private
// folder, an owner window standing in for the frame, a recorder for beeps and
// a main-program window on its own thread.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "common/platform/system_seam.h"
#include "settings/main_dialog.h"
#include "tests/settingsdlg/fake_tree.h"
#include "tests/support/test_support.h"

namespace settingsdlg_test {

struct Beeped {
    DWORD hz;
    DWORD ms;
};

class BeepRecorder final : public SystemSeam {
public:
    HINSTANCE ShellExecuteOpen(HWND, const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*, int) override {
        return nullptr;
    }
    SC_HANDLE OpenServiceManager(const wchar_t*, const wchar_t*, DWORD) override { return nullptr; }
    SC_HANDLE OpenServiceHandle(SC_HANDLE, const wchar_t*, DWORD) override { return nullptr; }
    BOOL SendServiceControl(SC_HANDLE, DWORD, SERVICE_STATUS*) override { return FALSE; }
    BOOL CloseServiceHandleOf(SC_HANDLE) override { return FALSE; }
    DWORD LastError() override { return 0; }
    BOOL BeepTone(DWORD hz, DWORD ms) override {
        beeps.push_back({hz, ms});
        return TRUE;
    }
    std::vector<Beeped> beeps;
};

// TempoviaClass on a thread of its own, so that a sent message really waits
// for its answer. It records into Event().
class MainProgramStandIn {
public:
    MainProgramStandIn();
    ~MainProgramStandIn();
    bool ok() const { return window_ != nullptr; }

private:
    std::thread thread_;
    std::atomic<HWND> window_{nullptr};
};

// Waits (pumping this thread's messages) until the event is recorded.
bool WaitForEvent(const std::string& what, DWORD ms = 3000);
// Events without the clock counts the dialog posts on every selection.
std::vector<std::string> MainEvents();
void Pump();

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the dialog (stand-in pages unless the library's are wanted) and
    // shows it as the frame would, unless told not to.
    HWND Open(bool standInPages = true, bool show = true);
    void Select(FakeNode* node);
    FakeNode* Selected();
    HWND Page(int index) { return PageWindow(index); }
    std::wstring IniValue(const std::wstring& section, const wchar_t* key);

    testing_support::TempDir dir_;
    HWND owner_ = nullptr;
    HWND dialog_ = nullptr;
    HWND tree_ = nullptr;
    BeepRecorder beeps_;
    SystemSeam* oldSeam_ = nullptr;
    MainDialogHooks oldHooks_;
    std::vector<UINT> ownerLog_;
};

// Messages the owner window got (WM_CLOSE, SETTINGS_MSG_OPEN_PAGE).
std::vector<std::pair<UINT, LPARAM>>& OwnerMessages();

}  // namespace settingsdlg_test
