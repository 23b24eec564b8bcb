// The dispatch of the alarm actions, the message alarm and the actions that
// open something through the shell.
#include "common/alarms/alarm_actions.h"

#include <cstring>
#include <string>

#include "common/settings/localisation.h"
#include "common/alarms/alarm_action_countdown.h"
#include "common/alarms/alarm_action_sound.h"
#include "common/alarms/alarm_log.h"
#include "common/platform/shell_open.h"
#include "common/platform/system_seam.h"
#include "common/platform/text_bounds.h"

namespace {

AlarmWindowsState g_windows = {};

constexpr size_t kCaptionChars = 100;

AlarmActionResult ShowMessage(const AlarmRecord& alarm, const SYSTEMTIME& due, ClockRecord* clock) {
    if (clock) return AddAlarmLogRow(clock, alarm, due, false) ? AlarmActionResult::kDone : AlarmActionResult::kNoWindow;

    wchar_t caption[kCaptionChars];
    Language().LoadUiString(kAlarmCaptionStringId, caption, static_cast<int>(kCaptionChars));
    wchar_t comment[kAlarmCommentChars + 1];
    wchar_t text[kAlarmTextChars + 1];
    CopyBounded(comment, alarm.comment);
    CopyBounded(text, alarm.text);
    const std::wstring body = std::wstring(comment) + L" " + text;
    ++g_windows.openMessageBoxes;
    MessageBoxW(nullptr, body.c_str(), caption, MB_TOPMOST);
    --g_windows.openMessageBoxes;
    return AlarmActionResult::kDone;
}

// The worker owns its copy from the moment it starts; nothing is shared.
AlarmActionResult StartOpenWorker(const AlarmRecord& alarm) {
    // An empty text would have the shell open its working folder.
    if (alarm.text[0] == L'\0') return AlarmActionResult::kNothingToDo;
    void* copy = GlobalAlloc(GPTR, sizeof(AlarmRecord));
    if (!copy) return AlarmActionResult::kFailed;
    std::memcpy(copy, &alarm, sizeof(AlarmRecord));
    HANDLE thread = CreateThread(nullptr, 0, OpenFileThreadProc, copy, 0, nullptr);
    if (!thread) {
        GlobalFree(copy);
        return AlarmActionResult::kFailed;
    }
    CloseHandle(thread);
    return AlarmActionResult::kDone;
}

AlarmActionResult RunCommandLine(const AlarmRecord& alarm) {
    wchar_t commandLine[kAlarmTextChars + 1];
    CopyBounded(commandLine, alarm.text);
    return ShellOpen(commandLine) ? AlarmActionResult::kDone : AlarmActionResult::kNothingToDo;
}

}  // namespace

AlarmWindowsState& AlarmWindows() { return g_windows; }

AlarmActionResult PerformAlarmAction(const AlarmRecord& alarm, const SYSTEMTIME& due, ClockRecord* clock,
                                     AlarmDialogMode mode) {
    const bool modal = mode == AlarmDialogMode::kModal;
    switch (alarm.action) {
    case kActionMessage:
        return ShowMessage(alarm, due, clock);
    case kActionSound:
        return PerformSoundAction(alarm, false, modal);
    case kActionLoopSound:
        return PerformSoundAction(alarm, true, modal);
    case kActionOpenDocument:
    case kActionOpenFolder:
    case kActionOpenAddress:
        return StartOpenWorker(alarm);
    case kActionRunProgram:
        return RunCommandLine(alarm);
    case kActionShutdown:
    case kActionHibernate:
        return StartShutdownCountdown(alarm, modal);
    default:
        return AlarmActionResult::kUnknownAction;
    }
}

DWORD WINAPI OpenFileThreadProc(void* copy) {
    if (!copy) return 0;
    const auto* alarm = static_cast<const AlarmRecord*>(copy);
    wchar_t target[kAlarmTextChars + 1];
    CopyBounded(target, alarm->text);
    GlobalFree(copy);
    const HINSTANCE result = System().ShellExecuteOpen(nullptr, L"open", target, nullptr, nullptr, SW_SHOWNORMAL);
    return static_cast<DWORD>(reinterpret_cast<INT_PTR>(result));
}
