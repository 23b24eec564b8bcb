#include "tests/mainprog/program_folder.h"

namespace mainprog_test {

namespace {

const std::vector<std::wstring> kProgramFiles = {L"tempovia.exe",  L"hook.dll",       L"res_en.dll",
                                                 L"default.ini",   L"timezones.txt",  L"tz_changes.txt",
                                                 L"cities.txt",    L"tempovia_en.ini", L"tbuttons.png"};

}  // namespace

ProgramFolder::ProgramFolder(const std::vector<std::wstring>& leaveOut)
    : testing_support::ProgramFolder(kProgramFiles, leaveOut) {}

HANDLE ProgramFolder::Start(const std::wstring& arguments) { return StartProgram(file(L"tempovia.exe"), arguments); }

HWND WaitForMainWindow(DWORD ms, HWND other) {
    const DWORD start = GetTickCount();
    do {
        HWND w = FindWindowW(L"TempoviaClass", nullptr);
        if (w && w != other) return w;
        Sleep(20);
    } while (GetTickCount() - start < ms);
    return nullptr;
}

bool WaitMainWindowGone(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        if (!FindWindowW(L"TempoviaClass", nullptr)) return true;
        Sleep(20);
    } while (GetTickCount() - start < ms);
    return false;
}

bool WaitForStartUpEnd(const std::wstring& ini, DWORD ms) {
    const std::wstring main = UserPrefix() + L":main";
    wchar_t stamp[64] = {};
    for (DWORD start = GetTickCount(); !stamp[0] && GetTickCount() - start < ms; Sleep(20)) {
        GetPrivateProfileStringW(main.c_str(), L"last_build", L"", stamp, 64, ini.c_str());
    }
    return stamp[0] != L'\0';
}

void OwnFolderTest::SetUp() {
    ASSERT_EQ(FindWindowW(L"TempoviaClass", nullptr), nullptr) << "a main program is already running";
    ASSERT_TRUE(folder_.ok());
    ini_ = folder_.file(L"tempovia.ini");
}

void OwnFolderTest::TearDown() {
    if (FindWindowW(L"TempoviaClass", nullptr)) WaitExit(folder_.Start(L"/exit"), kEndMs);
}

}  // namespace mainprog_test
