// What a due alarm does: a row in the alarm log or a message box, a beep or a
// sound, a looping sound with a window that stops it, opening a document,
// folder, address or program, or shutting the computer down or hibernating
// it after a countdown the user can cancel. Everything runs on the GUI
// thread, except opening with the shell's "open" verb, which gets a worker
// with its own copy of the alarm so that a slow shell cannot stall the clocks.
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/records/alarm_record.h"
#include "common/records/clock_record.h"
#include "resources/resource_ids.h"

// AlarmRecord::action.
enum AlarmAction : int32_t {
    kActionMessage = 0,       // a row in the alarm log; a message box without a clock
    kActionSound = 1,         // "beep!" beeps; another text is a sound file played once
    kActionLoopSound = 2,     // the sound file in a loop, with the stop-playing window
    kActionOpenDocument = 3,  // 3, 4 and 6 open the text with the shell's "open" verb
    kActionOpenFolder = 4,
    kActionRunProgram = 5,    // a command line: program and arguments
    kActionOpenAddress = 6,
    kActionShutdown = 7,      // after the countdown
    kActionHibernate = 8,
};

// How an action ended, for callers that care (the settings program's test
// button, tests). Failures of the system calls themselves are not reported,
// as the user is not told about them either.
enum class AlarmActionResult {
    kDone,          // the action ran or was started
    kNoWindow,      // a message of a clock while there is no alarm log window
    kNothingToDo,   // an empty text, or a command line naming no existing file
    kFailed,        // no memory or thread for the worker, or a dialog not created
    kUnknownAction, // an action value outside 0..8: nothing happens
};

// Modeless in the main program; the settings program's test runs the
// stop-playing and countdown dialogs modally, returning when they close.
enum class AlarmDialogMode { kModeless, kModal };

// Resource ids of the two dialogs and the countdown text item; they live in
// the language resource library.
inline constexpr int kShutdownDialogId = IDD_SHUTDOWN_COUNTDOWN;
inline constexpr int kStopPlayingDialogId = IDD_STOP_PLAYING;
inline constexpr int kHibernateDialogId = IDD_HIBERNATE_COUNTDOWN;
inline constexpr int kCountdownTextId = IDC_COUNTDOWN_TEXT;
// UI string of the message box caption (a message alarm without a clock).
inline constexpr UINT kAlarmCaptionStringId = IDS_ALARM_CAPTION;

// Characters of the record's text and comment fields; a field that fills its
// room has no terminator, so copies take one more.
inline constexpr size_t kAlarmTextChars = sizeof(AlarmRecord::text) / sizeof(WCHAR);
inline constexpr size_t kAlarmCommentChars = sizeof(AlarmRecord::comment) / sizeof(WCHAR);

// Seconds the countdown runs before the computer is shut down or hibernated.
inline constexpr int kCountdownSeconds = 15;
inline constexpr UINT kCountdownTimerId = 1;
inline constexpr UINT kCountdownTimerMs = 500;
// Characters of the countdown's format text with its terminator.
inline constexpr size_t kCountdownFormatChars = 100;

// Module state, GUI thread only: at most one window of each kind.
struct AlarmWindowsState {
    HWND countdownWindow;
    HWND stopPlayingWindow;
    DWORD countdownStart;  // GetTickCount when the countdown began
    wchar_t countdownFormat[kCountdownFormatChars];
    int openMessageBoxes;  // message boxes of message alarms now open
};

AlarmWindowsState& AlarmWindows();

// Runs the alarm's action. due is the alarm's moment in the clock's time; the
// clock may be missing.
AlarmActionResult PerformAlarmAction(const AlarmRecord& alarm, const SYSTEMTIME& due, ClockRecord* clock,
                                     AlarmDialogMode mode = AlarmDialogMode::kModeless);

// Thread procedure of actions 3, 4 and 6: `copy` is an AlarmRecord in
// GlobalAlloc memory, which the thread frees. Ends with ShellExecuteW's result.
DWORD WINAPI OpenFileThreadProc(void* copy);

// Procedures of the countdown dialog (creation parameter: the alarm) and of
// the stop-playing dialog.
INT_PTR CALLBACK ShutdownCountdownDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK StopPlayingDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Enables the shutdown privilege and asks the system to hibernate or to power
// off (forced; reason: planned, application, maintenance). True when the
// request was accepted.
bool ShutdownOrHibernate(bool hibernate);

// Stops whatever sound an alarm plays.
void StopAlarmSound();
