// Actions 1 and 2: a beep or a sound file, once or in a loop, and the window
// that stops a looping sound.
#include <windows.h>
#include <mmsystem.h>

#include <cwchar>

#include "common/settings/localisation.h"
#include "common/alarms/alarm_action_sound.h"
#include "common/alarms/alarm_action_windows.h"
#include "common/alarms/alarm_actions.h"
#include "common/platform/system_seam.h"
#include "common/platform/text_bounds.h"

namespace {

constexpr wchar_t kBeepText[] = L"beep!";
constexpr DWORD kBeepFrequency = 1000;
constexpr DWORD kBeepMs = 300;

// What the stop-playing dialog is created with.
struct StopPlayingParams {
    const wchar_t* title;
    bool modal;
};

}  // namespace

void StopAlarmSound() { System().PlaySoundFile(nullptr, nullptr, SND_PURGE); }

// A file that cannot be played falls back to PlaySoundW's own default sound:
// SND_NODEFAULT is left out on purpose, so that a lost file still sounds.
bool PlayAlarmSound(const wchar_t* file, bool loop) {
    if (!file || !*file) {
        StopAlarmSound();
        return false;
    }
    System().PlaySoundFile(file, nullptr, SND_FILENAME | SND_ASYNC | (loop ? SND_LOOP : 0));
    return true;
}

AlarmActionResult PerformSoundAction(const AlarmRecord& alarm, bool loop, bool modal) {
    wchar_t file[kAlarmTextChars + 1];
    CopyBounded(file, alarm.text);
    if (!loop && _wcsicmp(file, kBeepText) == 0) {
        System().BeepTone(kBeepFrequency, kBeepMs);
        return AlarmActionResult::kDone;
    }
    if (!PlayAlarmSound(file, loop)) return AlarmActionResult::kNothingToDo;
    if (!loop) return AlarmActionResult::kDone;

    wchar_t title[kAlarmCommentChars + 1];
    CopyBounded(title, alarm.comment);
    AlarmWindowsState& state = AlarmWindows();
    if (state.stopPlayingWindow && IsWindow(state.stopPlayingWindow)) {
        // One sound plays at a time: the window now stops this alarm's sound.
        SetWindowTextW(state.stopPlayingWindow, title);
        BringAlarmWindowForward(state.stopPlayingWindow);
        return AlarmActionResult::kDone;
    }
    StopPlayingParams params = {title, modal};
    bool created = false;
    RunAlarmDialog(kStopPlayingDialogId, StopPlayingDlgProc, reinterpret_cast<LPARAM>(&params), modal, &created);
    return created ? AlarmActionResult::kDone : AlarmActionResult::kFailed;
}

INT_PTR CALLBACK StopPlayingDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    AlarmWindowsState& state = AlarmWindows();
    switch (message) {
    case WM_INITDIALOG: {
        const auto* params = reinterpret_cast<const StopPlayingParams*>(lParam);
        state.stopPlayingWindow = dialog;
        MarkAlarmDialogModal(dialog, params && params->modal);
        Language().TranslateDialog(dialog, L"DLG_StopPlaying");
        if (params && params->title) SetWindowTextW(dialog, params->title);
        CenterOnDesktop(dialog);
        PostMessageW(dialog, kMsgBringForward, 0, 0);
        return TRUE;
    }
    case kMsgBringForward:
        BringAlarmWindowForward(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            StopAlarmSound();
            CloseAlarmDialog(dialog);
        }
        return TRUE;
    case WM_DESTROY:
        if (state.stopPlayingWindow == dialog) state.stopPlayingWindow = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}
