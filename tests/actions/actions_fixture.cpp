#include "tests/actions/actions_fixture.h"

#include <commctrl.h>

#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/settings/localisation.h"
#include "common/alarms/alarm_actions.h"
#include "common/alarms/alarm_log.h"
#include "common/alarms/alarm_schedule_check.h"
#include "common/platform/text_bounds.h"

namespace actions_test {

namespace {

std::wstring OrNull(const wchar_t* text) { return text ? text : L"(null)"; }

// bin\ of this build, where res_en.dll and tempovia_en.ini are laid out.
std::wstring BuildBinFolder() {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path = exe;
    path.erase(path.find_last_of(L'\\'));
    path.erase(path.find_last_of(L'\\') + 1);
    return path + L"bin";
}

HMODULE EnglishLibrary() {
    static HMODULE module = LoadLibraryExW((BuildBinFolder() + L"\\res_en.dll").c_str(), nullptr,
                                           LOAD_LIBRARY_AS_DATAFILE);
    return module;
}

const HANDLE kFakeToken = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(0x7E57));

}  // namespace

RecordingSystem::RecordingSystem() : shellEvent_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    previous_ = SetSystemSeam(this);
}

RecordingSystem::~RecordingSystem() {
    SetSystemSeam(previous_);
    CloseHandle(shellEvent_);
}

HINSTANCE RecordingSystem::ShellExecuteOpen(HWND, const wchar_t* verb, const wchar_t* file,
                                            const wchar_t* parameters, const wchar_t* directory, int show) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        shell_.push_back({OrNull(verb), OrNull(file), OrNull(parameters), OrNull(directory), show,
                          GetCurrentThreadId()});
    }
    SetEvent(shellEvent_);
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

DWORD RecordingSystem::LastError() { return lastError_; }

BOOL RecordingSystem::PlaySoundFile(const wchar_t* sound, HMODULE, DWORD flags) {
    sounds.push_back({OrNull(sound), flags});
    return TRUE;
}

BOOL RecordingSystem::BeepTone(DWORD frequency, DWORD milliseconds) {
    beeps.emplace_back(frequency, milliseconds);
    return TRUE;
}

BOOL RecordingSystem::OpenOwnProcessToken(DWORD access, HANDLE* token) {
    steps.push_back(L"open token " + std::to_wstring(access));
    if (!tokenOpens) {
        lastError_ = ERROR_ACCESS_DENIED;
        return FALSE;
    }
    *token = kFakeToken;
    return TRUE;
}

BOOL RecordingSystem::EnableTokenPrivilege(HANDLE token, const wchar_t* privilege) {
    steps.push_back(std::wstring(L"enable ") + OrNull(privilege) + (token == kFakeToken ? L"" : L" on a stray token"));
    lastError_ = privilegeError;
    return TRUE;  // as AdjustTokenPrivileges: success even when nothing was granted
}

BOOL RecordingSystem::CloseTokenHandle(HANDLE token) {
    steps.push_back(token == kFakeToken ? L"close token" : L"close a stray handle");
    return TRUE;
}

BOOL RecordingSystem::ExitWindowsSession(UINT flags, DWORD reason) {
    steps.push_back(L"exit windows");
    ++exits;
    exitFlags = flags;
    exitReason = reason;
    return powerResult;
}

BOOL RecordingSystem::SetSuspendPower(BOOLEAN hibernate, BOOLEAN force, BOOLEAN wakeEventsDisabled) {
    steps.push_back(L"suspend");
    ++suspends;
    suspendArgs[0] = hibernate;
    suspendArgs[1] = force;
    suspendArgs[2] = wakeEventsDisabled;
    return powerResult;
}

bool RecordingSystem::WaitForShellCalls(size_t count) {
    const DWORD start = GetTickCount();
    for (;;) {
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (shell_.size() >= count) return true;
        }
        if (GetTickCount() - start > 5000) return false;
        WaitForSingleObject(shellEvent_, 100);
    }
}

std::vector<ShellCall> RecordingSystem::ShellCalls() {
    std::lock_guard<std::mutex> guard(lock_);
    return shell_;
}

AlarmRecord MakeAlarm(int32_t action, const wchar_t* text, const wchar_t* comment) {
    AlarmRecord alarm = {};
    alarm.type = kAlarmOnce;
    alarm.enabled = 1;
    alarm.action = action;
    CopyBounded(alarm.text, text);
    CopyBounded(alarm.comment, comment);
    alarm.onceTime = Moment(2024, 3, 5, 7, 30);
    return alarm;
}

SYSTEMTIME Moment(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME t = {};
    t.wYear = year;
    t.wMonth = month;
    t.wDay = day;
    t.wHour = hour;
    t.wMinute = minute;
    t.wSecond = second;
    FILETIME ft;
    if (SystemTimeToFileTime(&t, &ft)) FileTimeToSystemTime(&ft, &t);  // sets the weekday
    return t;
}

void PumpMessages() {
    for (int round = 0; round < 3; ++round) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            HWND dialog = AlarmWindows().countdownWindow;
            if (dialog && IsDialogMessageW(dialog, &msg)) continue;
            dialog = AlarmWindows().stopPlayingWindow;
            if (dialog && IsDialogMessageW(dialog, &msg)) continue;
            DispatchMessageW(&msg);
        }
        Sleep(1);
    }
}

void ActionsTest::SetUp() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    SetSettingsFolder(dir.path());
    SetUserNameOverride(L"bob");
    ASSERT_NE(EnglishLibrary(), nullptr) << "res_en.dll is built into bin\\ of this build";
    Language().SetLanguageFileBase(L"tempovia");
    Language().SetLanguageFolder(BuildBinFolder().c_str());
    Language().SetPluralInfo(EnglishLibrary(), kUnitNameIds);
    Language().SetLanguage(L"en");
    owned_ = std::make_unique<RecordingSystem>();
    system = owned_.get();
    g_alarmCheck = {};
}

void ActionsTest::TearDown() {
    DestroyAlarmWindows();
    PumpMessages();
    AlarmWindows() = {};
    g_alarmCheck = {};
    system = nullptr;
    owned_.reset();
    Language().SetPluralInfo(nullptr, nullptr);
    Language().SetLanguage(nullptr);
    SetUserNameOverride(nullptr);
    SetSettingsFolder(L"");
}

std::wstring ActionsTest::ReadMain(const wchar_t* key) {
    return ReadIniText(UserIniPath().c_str(), L"bob:main", key, kMissingKey);
}

void ActionsTest::WriteMain(const wchar_t* key, const wchar_t* value) {
    WriteIniString(UserIniPath().c_str(), L"bob:main", key, value);
}

}  // namespace actions_test
