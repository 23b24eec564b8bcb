// The program folder of tempovia.exe for the process tests: the programs,
// res_en.dll, default.ini and the data files, with the waits on its main
// window. The folder itself and the generic waits are in tests/support.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/program_folder.h"

namespace mainprog_test {

using testing_support::BinFolder;
using testing_support::LibraryString;
using testing_support::MessageBoxText;
using testing_support::ReadLines;
using testing_support::TestsFolder;
using testing_support::UserPrefix;
using testing_support::WaitExit;
using testing_support::WaitForDialog;
using testing_support::WaitForIniValue;
using testing_support::WaitForLine;

class ProgramFolder : public testing_support::ProgramFolder {
public:
    // Copies the program folder; names in `leaveOut` are not copied.
    explicit ProgramFolder(const std::vector<std::wstring>& leaveOut = {});

    // Starts tempovia.exe with the arguments.
    HANDLE Start(const std::wstring& arguments);
};

// The main window once one exists (within the time), else null.
HWND WaitForMainWindow(DWORD ms, HWND other = nullptr);
// True once no main window exists (within the time).
bool WaitMainWindowGone(DWORD ms);
// True once the start-up of the main program has ended (within the time):
// the build stamp in [<user>:main] of the file is its last write.
bool WaitForStartUpEnd(const std::wstring& ini, DWORD ms);

// A test with a program folder of its own: no main program may run before
// it, and one it leaves running is asked to end.
class OwnFolderTest : public ::testing::Test {
protected:
    static constexpr DWORD kEndMs = 15000;
    void SetUp() override;
    void TearDown() override;

    ProgramFolder folder_;
    std::wstring ini_;
};

}  // namespace mainprog_test
