#include "hook/tray_restart.h"

#include <windows.h>

#include <strsafe.h>

#include <string>

#include "common/platform/system_seam.h"

namespace {

constexpr std::size_t kMaxParameterChars = 259;
constexpr wchar_t kRestartSwitch[] = L"/restart";

}  // namespace

bool BuildRestartParameters(const wchar_t* commandLine, wchar_t* parameters, std::size_t chars) {
    if (!parameters || chars == 0) return false;
    parameters[0] = L'\0';
    std::wstring lower = commandLine ? commandLine : L"";
    if (!lower.empty()) CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    if (lower.find(kRestartSwitch) != std::wstring::npos) return false;
    std::wstring text = kRestartSwitch;
    if (commandLine && *commandLine) text += L" " + std::wstring(commandLine);
    if (text.size() > kMaxParameterChars) text.resize(kMaxParameterChars);
    // A short buffer takes what fits.
    StringCchCopyNW(parameters, chars, text.c_str(), text.size());
    return true;
}

bool RestartMainProgram(const wchar_t* programFolder, const wchar_t* commandLine) {
    wchar_t parameters[kMaxParameterChars + 1];
    if (!BuildRestartParameters(commandLine, parameters, kMaxParameterChars + 1)) return false;
    const std::wstring folder = programFolder ? programFolder : L"";
    const std::wstring program = folder + L"tempovia.exe";
    HINSTANCE result = System().ShellExecuteOpen(nullptr, L"open", program.c_str(), parameters,
                                                 folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
