// A private program folder for settings.exe: the program, res_en.dll,
// default.ini and the data files copied from the build's bin/ folder.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/program_folder.h"

namespace settingsapp_test {

class SettingsProgramFolder : public testing_support::ProgramFolder {
public:
    explicit SettingsProgramFolder(const std::vector<std::wstring>& leaveOut = {})
        : testing_support::ProgramFolder({L"settings.exe", L"res_en.dll", L"default.ini", L"timezones.txt",
                                          L"tz_changes.txt", L"cities.txt", L"tempovia_en.ini"},
                                         leaveOut) {}

    HANDLE Start(const std::wstring& arguments) { return StartProgram(file(L"settings.exe"), arguments); }
};

// The main settings dialog of a settings.exe that runs on its own: the
// dialog the hidden frame owns, once it is shown (null after the time).
HWND WaitForMainDialog(DWORD ms);

}  // namespace settingsapp_test
