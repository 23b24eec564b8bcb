#include "tests/support/program_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace testing_support {

namespace {

std::wstring FolderOf(const std::wstring& path) {
    const auto slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

}  // namespace

std::wstring TestsFolder() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return FolderOf(self);
}

std::wstring BinFolder() { return TestsFolder() + L"..\\bin\\"; }

ProgramFolder::ProgramFolder(const std::vector<std::wstring>& files, const std::vector<std::wstring>& leaveOut) {
    ok_ = !dir_.path().empty();
    for (const std::wstring& name : files) {
        bool skip = false;
        for (const auto& n : leaveOut) skip = skip || n == name;
        if (skip) continue;
        const std::wstring from = BinFolder() + name;
        if (GetFileAttributesW(from.c_str()) == INVALID_FILE_ATTRIBUTES) {
            // The language file is optional; everything else must be there.
            if (name != L"tempovia_en.ini") ok_ = false;
            continue;
        }
        if (!CopyFileW(from.c_str(), file(name.c_str()).c_str(), FALSE)) ok_ = false;
    }
}

ProgramFolder::~ProgramFolder() {
    for (HANDLE p : processes_) {
        if (WaitForSingleObject(p, 0) == WAIT_TIMEOUT) {
            TerminateProcess(p, 99);
            WaitForSingleObject(p, 5000);
        }
        CloseHandle(p);
    }
}

HANDLE ProgramFolder::StartProgram(const std::wstring& program, const std::wstring& arguments) {
    std::wstring line = L"\"" + program + L"\"";
    if (!arguments.empty()) line += L" " + arguments;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, dir_.path().c_str(), &si,
                        &pi)) {
        return nullptr;
    }
    CloseHandle(pi.hThread);
    processes_.push_back(pi.hProcess);
    return pi.hProcess;
}

DWORD WaitExit(HANDLE process, DWORD ms) {
    if (!process) return STILL_ACTIVE;
    WaitForSingleObject(process, ms);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process, &code);
    return code;
}

HWND WaitForDialog(const wchar_t* caption, DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        HWND w = FindWindowW(L"#32770", caption);
        if (w) return w;
        Sleep(20);
    } while (GetTickCount() - start < ms);
    return nullptr;
}

std::wstring MessageBoxText(HWND box) {
    wchar_t text[512] = {};
    // The message text is the static control with id 0xFFFF.
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    return text;
}

std::vector<std::string> ReadLines(const std::wstring& path) {
    std::vector<std::string> lines;
    std::istringstream in(ReadBytes(path));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool WaitForLine(const std::wstring& path, const std::string& line, DWORD ms, bool prefix) {
    const DWORD start = GetTickCount();
    do {
        for (const auto& l : ReadLines(path)) {
            if (prefix ? l.rfind(line, 0) == 0 : l == line) return true;
        }
        Sleep(20);
    } while (GetTickCount() - start < ms);
    return false;
}

std::wstring WaitForIniValue(const std::wstring& file, const std::wstring& section, const wchar_t* key,
                             const std::wstring& expected, DWORD ms) {
    const DWORD start = GetTickCount();
    wchar_t value[512] = {};
    do {
        GetPrivateProfileStringW(section.c_str(), key, L"", value, 512, file.c_str());
        if (expected == value) break;
        Sleep(20);
    } while (GetTickCount() - start < ms);
    return value;
}

std::wstring UserPrefix() {
    wchar_t name[64] = {};
    DWORD n = 64;
    if (!GetUserNameW(name, &n)) name[0] = L'\0';
    CharLowerW(name);
    return name;
}

std::wstring LibraryString(const std::wstring& library, UINT id) {
    HMODULE module = LoadLibraryExW(library.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return L"";
    wchar_t text[512] = {};
    LoadStringW(module, id, text, 512);
    FreeLibrary(module);
    return text;
}

HANDLE StartWithInstanceRuleTaken(const std::wstring& library, const wchar_t* mutexName,
                                  const std::function<HANDLE()>& start, DWORD ms,
                                  const std::function<void()>& whileShown, const std::wstring& lead) {
    std::wstring text = LibraryString(library, 271);
    const auto code = text.find(L"%s");
    EXPECT_NE(code, std::wstring::npos);
    if (code != std::wstring::npos) text.replace(code, 2, std::to_wstring(ERROR_INVALID_HANDLE));
    if (!lead.empty()) text = lead + L" " + text;
    HANDLE squatter = CreateEventW(nullptr, TRUE, FALSE, mutexName);
    EXPECT_NE(squatter, nullptr);
    HANDLE process = start();
    HWND box = WaitForDialog(LibraryString(library, 141).c_str(), ms);
    EXPECT_NE(box, nullptr);
    if (box) {
        EXPECT_EQ(MessageBoxText(box), text);
        if (whileShown) whileShown();
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    if (squatter) CloseHandle(squatter);
    return process;
}

}  // namespace testing_support
