// The taskbar clock inside Explorer: the hook procedure hands it the stock
// clock window to take over; WM_COMMAND MSG_QUIT gives the window back.
// Everything here runs on the taskbar's thread.
#pragma once

#include <windows.h>

// How long the taskbar's thread waits for the main program's answer.
inline constexpr DWORD kMainProgramReplyMs = 5000;
// Timer 3 of the clock window: the greeting again, for a main program that
// did not answer in time.
inline constexpr UINT_PTR kGreetAgainTimerId = 3;
inline constexpr UINT kGreetAgainMs = 1000;

// One frame of the clock's code on the taskbar thread's stack: the library's
// hold on itself is given up only when the outermost one returns.
class ClockFrame {
public:
    ClockFrame();
    ~ClockFrame();
    ClockFrame(const ClockFrame&) = delete;
    ClockFrame& operator=(const ClockFrame&) = delete;
};

// Takes over the stock clock window: new window procedure, language, desktop
// composition entries, tooltip, greeting of the main program, timer.
void SubclassTrayClock(HWND clockWindow);

// Sends the greeting (MSG_TRAY_CLOCK_READY) to the main program.
void GreetMainProgram(HWND clockWindow);

// The replacement window procedure.
LRESULT CALLBACK TrayClockWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Gives the window back to the stock clock and frees what the clock held.
void UnsubclassTrayClock();

// Timer 1 of the clock window, every 64 ms, started afresh.
void RestartTrayTimer();

// Blur behind the taskbar on or off; 1 when the entry is missing.
HRESULT SetTaskbarBlur(HWND window, bool enable);
// True when the desktop composition entry says composition is on.
bool IsCompositionEnabled();

// Frees every received alarm array and the clock array; with resetCounts the
// settings copy's clock count and enabled count become 0 as well.
void FreeClockRecords(bool resetCounts);

// The tracking tooltip: hidden, or moved out of sight.
void DeactivateTooltip();
void ParkTooltip();

// The taskbar's client rectangle is wider than high.
bool IsTaskbarHorizontal();

// The WM_COPYDATA blocks of the main program; the reply of the window.
LRESULT ReceiveTrayBlock(HWND window, WPARAM sender, const COPYDATASTRUCT* block);
