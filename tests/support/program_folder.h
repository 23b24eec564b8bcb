// A private program folder for process tests: the programs and data files a
// test needs, copied from the build's bin/ folder into a temporary folder,
// and the helpers that watch the processes started in it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace testing_support {

// The build's bin/ folder, with a trailing backslash.
std::wstring BinFolder();
// The folder of this test program (build/tests/), with a trailing backslash.
std::wstring TestsFolder();

class ProgramFolder {
public:
    // Copies the named files from bin/; names in `leaveOut` are not copied.
    // Every file must be there except the language file tempovia_en.ini.
    ProgramFolder(const std::vector<std::wstring>& files, const std::vector<std::wstring>& leaveOut);
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    // The folder with a trailing backslash.
    std::wstring path() const { return dir_.path() + L"\\"; }
    std::wstring file(const wchar_t* name) const { return dir_.file(name); }
    bool ok() const { return ok_; }

    // Starts a program with a full command line, working in this folder; the
    // process is ended at the latest when the folder goes.
    HANDLE StartProgram(const std::wstring& program, const std::wstring& arguments);

private:
    TempDir dir_;
    bool ok_ = false;
    std::vector<HANDLE> processes_;
};

// The exit code once the process ended within the time, else STILL_ACTIVE.
DWORD WaitExit(HANDLE process, DWORD ms);
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

// Runs `start` while an event holds the name of the program's instance mutex
// (or of another lock), so that lock cannot be made; expects the message box
// that says so in the library's words, after `lead` and a blank when there is
// one, runs `whileShown` and answers it. Returns the process.
HANDLE StartWithInstanceRuleTaken(const std::wstring& library, const wchar_t* mutexName,
                                  const std::function<HANDLE()>& start, DWORD ms,
                                  const std::function<void()>& whileShown = {}, const std::wstring& lead = {});

}  // namespace testing_support
