// Actions 7 and 8: shut down or hibernate after a countdown the user can
// cancel, and the privilege dance the request needs.
#include "common/alarms/alarm_action_countdown.h"

#include <iterator>

#include "common/settings/localisation.h"
#include "common/alarms/alarm_action_windows.h"
#include "common/alarms/alarm_log.h"
#include "common/platform/one_number_format.h"
#include "common/platform/system_seam.h"
#include "common/platform/text_bounds.h"

namespace {

// Planned, application, maintenance: how the shutdown shows in the event log.
constexpr DWORD kShutdownReason = 0x80040001;
constexpr DWORD kRefusedBeepFrequency = 1760;
constexpr DWORD kRefusedBeepMs = 500;

// The dialog's user data: the action, and whether it runs modally.
struct CountdownParams {
    int32_t action;
    bool modal;
};

void ShowCountdown(HWND dialog, int seconds) {
    wchar_t text[kCountdownFormatChars + 24];
    FormatOneNumber(AlarmWindows().countdownFormat, seconds, text, std::size(text));
    SetDlgItemTextW(dialog, kCountdownTextId, text);
}

int32_t DialogAction(HWND dialog) { return static_cast<int32_t>(GetWindowLongPtrW(dialog, GWLP_USERDATA)); }

void OnInit(HWND dialog, const CountdownParams* params) {
    AlarmWindowsState& state = AlarmWindows();
    const int32_t action = params ? params->action : kActionShutdown;
    state.countdownWindow = dialog;
    SetWindowLongPtrW(dialog, GWLP_USERDATA, action);
    MarkAlarmDialogModal(dialog, params && params->modal);
    Language().TranslateDialog(dialog, action == kActionHibernate ? L"DLG_Hibernate" : L"DLG_Shutdown");
    state.countdownFormat[0] = L'\0';
    GetDlgItemTextW(dialog, kCountdownTextId, state.countdownFormat, static_cast<int>(kCountdownFormatChars));
    ShowCountdown(dialog, kCountdownSeconds);
    state.countdownStart = GetTickCount();
    SetTimer(dialog, kCountdownTimerId, kCountdownTimerMs, nullptr);
    CenterOnDesktop(dialog);
    PostMessageW(dialog, kMsgBringForward, 0, 0);
}

void OnTimer(HWND dialog) {
    const DWORD seconds = (GetTickCount() - AlarmWindows().countdownStart) / 1000;
    if (seconds > static_cast<DWORD>(kCountdownSeconds - 1)) {
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    } else {
        ShowCountdown(dialog, kCountdownSeconds - static_cast<int>(seconds));
    }
}

void OnCommand(HWND dialog, WPARAM wParam) {
    if (wParam == IDOK) {  // the button or the end of the countdown, notification 0
        KillTimer(dialog, kCountdownTimerId);
        // Written now, as the program may not get to its own exit: the alarm
        // must not fire again after the restart.
        SaveLastAlarmCheck();
        if (!ShutdownOrHibernate(DialogAction(dialog) == kActionHibernate)) {
            System().BeepTone(kRefusedBeepFrequency, kRefusedBeepMs);
        }
        CloseAlarmDialog(dialog);
    } else if (LOWORD(wParam) == IDCANCEL) {
        KillTimer(dialog, kCountdownTimerId);
        CloseAlarmDialog(dialog);
    }
}

}  // namespace

AlarmActionResult StartShutdownCountdown(const AlarmRecord& alarm, bool modal) {
    AlarmWindowsState& state = AlarmWindows();
    if (state.countdownWindow && IsWindow(state.countdownWindow)) {
        // A second shutdown alarm does not start a second countdown.
        BringAlarmWindowForward(state.countdownWindow);
        return AlarmActionResult::kDone;
    }
    CountdownParams params = {alarm.action, modal};
    bool created = false;
    RunAlarmDialog(alarm.action == kActionHibernate ? kHibernateDialogId : kShutdownDialogId,
                   ShutdownCountdownDlgProc, reinterpret_cast<LPARAM>(&params), modal, &created);
    return created ? AlarmActionResult::kDone : AlarmActionResult::kFailed;
}

INT_PTR CALLBACK ShutdownCountdownDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInit(dialog, reinterpret_cast<const CountdownParams*>(lParam));
        return TRUE;
    case kMsgBringForward:
        BringAlarmWindowForward(dialog);
        return TRUE;
    case WM_TIMER:
        if (wParam == kCountdownTimerId) OnTimer(dialog);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, wParam);
        return TRUE;
    case WM_DESTROY:
        KillTimer(dialog, kCountdownTimerId);
        if (AlarmWindows().countdownWindow == dialog) AlarmWindows().countdownWindow = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

bool ShutdownOrHibernate(bool hibernate) {
    SystemSeam& system = System();
    HANDLE token = nullptr;
    if (!system.OpenOwnProcessToken(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
    // AdjustTokenPrivileges succeeds even when it granted nothing; only the
    // last error tells (ERROR_NOT_ALL_ASSIGNED).
    system.EnableTokenPrivilege(token, SE_SHUTDOWN_NAME);
    const bool granted = system.LastError() == ERROR_SUCCESS;
    system.CloseTokenHandle(token);
    if (!granted) return false;
    if (hibernate) return system.SetSuspendPower(TRUE, FALSE, FALSE) != FALSE;
    return system.ExitWindowsSession(EWX_POWEROFF | EWX_FORCE, kShutdownReason) != FALSE;
}
