// Shared set-up of the map dialog tests: a private program folder with the
// real zone and city files loaded, a stand-in map plug-in copied in as
// kartix.dll when a test wants one, and recorders for the error box and the
// shell.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/platform/system_seam.h"
#include "tests/support/test_support.h"

namespace mapwin_test {

struct ErrorBox {
    std::wstring text;
    std::wstring caption;
    UINT type;
};
std::vector<ErrorBox>& ErrorBoxes();

class ShellRecorder : public SystemSeam {
public:
    HINSTANCE ShellExecuteOpen(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t*, const wchar_t*,
                               int) override {
        opened.push_back(std::wstring(verb ? verb : L"") + L" " + (file ? file : L""));
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
    }
    SC_HANDLE OpenServiceManager(const wchar_t*, const wchar_t*, DWORD) override { return nullptr; }
    SC_HANDLE OpenServiceHandle(SC_HANDLE, const wchar_t*, DWORD) override { return nullptr; }
    BOOL SendServiceControl(SC_HANDLE, DWORD, SERVICE_STATUS*) override { return FALSE; }
    BOOL CloseServiceHandleOf(SC_HANDLE) override { return FALSE; }
    DWORD LastError() override { return 0; }

    std::vector<std::wstring> opened;
};

class MapTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Copies standin_map_<variant>.dll into the program folder as kartix.dll.
    void InstallPlugin(const wchar_t* variant);
    // The stand-in's log lines so far.
    std::vector<std::string> PluginLog() const;
    bool Logged(const std::string& line) const;
    std::wstring Folder() const { return dir_.path() + L"\\"; }
    std::wstring Ini() const { return dir_.file(L"tempovia.ini"); }
    std::wstring IniValue(const wchar_t* section, const wchar_t* key) const;
    static void PumpMessages();

    testing_support::TempDir dir_;
    ShellRecorder shell_;
};

// Rows of the dialog's list, and the item data of the selected one (-1 none).
int ListRows(HWND dialog);
LPARAM SelectedData(HWND dialog);
std::wstring RowText(HWND dialog, int row, int column);
HWND MapChild(HWND dialog);

}  // namespace mapwin_test
