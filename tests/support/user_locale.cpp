#include "tests/support/user_locale.h"

namespace testing_support {

namespace {

constexpr wchar_t kFreshProcessVariable[] = L"TEMPOVIA_TEST_FRESH_PROCESS";
constexpr DWORD kFreshProcessWaitMs = 60000;

std::wstring LocaleText(LCTYPE type) {
    wchar_t text[80] = {};
    if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 80)) return {};
    return text;
}

bool TwelveHour() { return LocaleText(LOCALE_ITIME) == L"0" && !LocaleText(LOCALE_S2359).empty(); }

}  // namespace

TwelveHourLocale::TwelveHourLocale() {
    if (!TwelveHour()) {
        restore_ = LocaleText(LOCALE_STIMEFORMAT);
        SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, L"hh:mm:ss tt");
    }
    ok_ = TwelveHour();
}

TwelveHourLocale::~TwelveHourLocale() {
    if (!restore_.empty()) SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, restore_.c_str());
}

LocaleTimePicture::LocaleTimePicture(const wchar_t* picture) : restore_(LocaleText(LOCALE_STIMEFORMAT)) {
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, picture);
}

LocaleTimePicture::~LocaleTimePicture() {
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, restore_.c_str());
}

std::wstring TwelveHourLocale::separator() const { return LocaleText(LOCALE_STIME); }
std::wstring TwelveHourLocale::pm() const { return LocaleText(LOCALE_S2359); }

bool InFreshProcess() { return GetEnvironmentVariableW(kFreshProcessVariable, nullptr, 0) > 0; }

int RunInFreshProcess(const char* filter) {
    wchar_t program[MAX_PATH] = {};
    if (!GetModuleFileNameW(nullptr, program, MAX_PATH)) return -1;
    std::wstring command = L"\"" + std::wstring(program) + L"\" --gtest_filter=";
    for (const char* p = filter; *p; ++p) command.push_back(static_cast<wchar_t>(*p));
    SetEnvironmentVariableW(kFreshProcessVariable, L"1");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessW(program, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableW(kFreshProcessVariable, nullptr);
    if (!started) return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, kFreshProcessWaitMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

}  // namespace testing_support
