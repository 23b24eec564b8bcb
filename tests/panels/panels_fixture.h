// Shared set-up of the panel tests: the English resource library, a private
// settings folder, a stand-in main window that runs the real menu commands,
// and a stand-in clock window that answers the panel's questions.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/records/clock_record.h"
#include "common/platform/system_seam.h"
#include "tests/support/test_support.h"

namespace panels_test {

struct Note {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// What the stand-in windows saw and how the clock answers.
struct WindowLog {
    std::vector<Note> main;    // MSG_CLOCK_MOUSE.. and WM_COMMAND at the main window
    std::vector<Note> clock;   // questions to the clock window
    POINT anchor{10, 50};      // client point the clock answers
    LRESULT hoverAnswer = 0;
};
WindowLog& Log();

struct ShellCall {
    std::wstring verb;
    std::wstring file;
};

class RecordingSystem : public SystemSeam {
public:
    HINSTANCE ShellExecuteOpen(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t*, const wchar_t*,
                               int) override;
    SC_HANDLE OpenServiceManager(const wchar_t*, const wchar_t*, DWORD) override { return nullptr; }
    SC_HANDLE OpenServiceHandle(SC_HANDLE, const wchar_t*, DWORD) override { return nullptr; }
    BOOL SendServiceControl(SC_HANDLE, DWORD, SERVICE_STATUS*) override { return FALSE; }
    BOOL CloseServiceHandleOf(SC_HANDLE) override { return FALSE; }
    DWORD LastError() override { return 0; }

    std::vector<ShellCall> shell;
};

class PanelsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Clocks numbered 1..n from kinds.
    void UseClocks(const std::vector<uint32_t>& kinds);
    std::wstring IniPath() const;

    testing_support::TempDir dir_;
    std::vector<ClockRecord> clocks_;
    HWND main_ = nullptr;
    HWND clock_ = nullptr;
    RecordingSystem system_;
};

void Pump();
std::wstring WindowText(HWND window);

}  // namespace panels_test
