// A private program folder for tempovia.exe and the processes the tests start
// in it: the programs, res_en.dll, default.ini and the data files copied from
// the build's bin/ folder into a temporary folder.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace mainprog_test {

// The build's bin/ folder, with a trailing backslash.
std::wstring BinFolder();
// The folder of this test program (build/tests/), with a trailing backslash.
std::wstring TestsFolder();

class ProgramFolder {
public:
    // Copies the program folder; names in `leaveOut` are not copied.
    explicit ProgramFolder(const std::vector<std::wstring>& leaveOut = {});
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    // The folder with a trailing backslash.
    std::wstring path() const { return dir_.path() + L"\\"; }
    std::wstring file(const wchar_t* name) const { return dir_.file(name); }
    bool ok() const { return ok_; }

    // Starts tempovia.exe with the arguments; the process is ended at the
    // latest when the folder goes.
    HANDLE Start(const std::wstring& arguments);
    // Starts another program with a full command line, working in this folder.
    HANDLE StartProgram(const std::wstring& program, const std::wstring& arguments);

private:
    testing_support::TempDir dir_;
    bool ok_ = false;
    std::vector<HANDLE> processes_;
};

// The exit code once the process ended within the time, else STILL_ACTIVE.
DWORD WaitExit(HANDLE process, DWORD ms);
// The main window once one exists (within the time), else null.
HWND WaitForMainWindow(DWORD ms, HWND other = nullptr);
// True once no main window exists (within the time).
bool WaitMainWindowGone(DWORD ms);
// A top-level dialog with this caption, within the time.
HWND WaitForDialog(const wchar_t* caption, DWORD ms);
// The text of a message box (its static text control).
std::wstring MessageBoxText(HWND box);
// Reads a text file written in 8-bit text; lines without their end.
std::vector<std::string> ReadLines(const std::wstring& path);
// Waits until a line equal to `line` (or starting with it when prefix) is in
// the file.
bool WaitForLine(const std::wstring& path, const std::string& line, DWORD ms, bool prefix = false);
// Reads an INI value until it equals `expected` (within the time): another
// process may be rewriting the file at the moment of a single read. Returns
// the last value read.
std::wstring WaitForIniValue(const std::wstring& file, const std::wstring& section, const wchar_t* key,
                             const std::wstring& expected, DWORD ms);
// The user's section prefix: the Windows user name in lower case.
std::wstring UserPrefix();
// A string resource of a library file, read as data.
std::wstring LibraryString(const std::wstring& library, UINT id);

}  // namespace mainprog_test
