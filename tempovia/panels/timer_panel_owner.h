// The program's one timer panel: made at start-up, shown over timer clocks
// while the program runs, and freed at the end.
#pragma once

#include <windows.h>

namespace panels {

class CTimerPanel;

// Makes the panel (once).
void CreateTimerPanel();
// Hides the panel, then frees it and its button image.
void ReleaseTimerPanel();
// Null before CreateTimerPanel and after ReleaseTimerPanel.
CTimerPanel* TimerPanel();

bool IsTimerPanelShown();
// The hover action over clock number `clockNumber` shown by `clockWindow`;
// true when the panel is up.
bool ShowTimerPanel(HWND clockWindow, int clockNumber);
// Destroys the panel's window; the panel stays for the next hover.
void HideTimerPanel();

}  // namespace panels
