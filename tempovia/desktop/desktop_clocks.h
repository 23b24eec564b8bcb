// The desktop clocks of the main program as a whole: creating them from the
// clock table, saving, hiding and showing them in nested levels, stacking
// them in their stored order and refreshing them from the program's timer.
#pragma once

#include <windows.h>

#include <vector>

struct ClockRecord;

namespace desktop {

class CClockWnd;

// What the main program lends the desktop clocks.
struct DesktopClockHost {
    // The taskbar hook is installed: the clock menu then offers "show in taskbar".
    bool (*hookInstalled)() = nullptr;
    // Shows the clock menu for clock `index` at a screen point, owned by the
    // main window; called when the main window did not answer the menu request.
    void (*showClockMenu)(HWND owner, int index, bool onTop, bool grouped, bool hookInstalled, POINT at) = nullptr;
};
void SetDesktopClockHost(const DesktopClockHost& host);
const DesktopClockHost& Host();

// Creates a window for every enabled clock that is on the desktop, places the
// ones without a stored position at the default corner and shows them all.
// False when one could not be loaded (creation stops there).
bool CreateDesktopClocks(HWND owner, ClockRecord* clocks, int count);
// Saves first when asked, then destroys every window.
void DestroyDesktopClocks(bool save);
void SaveDesktopClocks();
// The window of the clock with that number (its section's N), or null.
CClockWnd* FindDesktopClock(int clockNumber);

// One clock moved to the desktop: creates and loads its window (destroyed
// again when loading fails; null then).
CClockWnd* CreateDesktopClock(HWND owner, ClockRecord* clocks, int index);
// One clock moved back to the taskbar: its window goes, unsaved.
void DestroyDesktopClock(int clockNumber);

// Nested hiding: the first level hides, the last restore shows again.
void HideDesktopClocks();
void RestoreDesktopClocks();
int HideLevel();
// Brings the clocks forward in their stored order, the lowest z key on top.
void ApplyDesktopClockOrder(bool activate);
// Every 64 ms: ticks each clock when the UTC second moved on (or when forced).
void RefreshDesktopClocks(bool force);

// A clock menu command (101 group, 103 on top) with wParam = index x 65536 +
// id, offered to each clock until one carries it out; true when one did.
bool ForwardClockCommand(WPARAM wParam);

// ---- shared with the clock windows --------------------------------------------

// The windows in their current list order (creation order, or z order after
// a sort); never more than 30.
const std::vector<CClockWnd*>& Windows();
bool IsBusy();
bool IsHidden();
// Raised while the program itself moves or re-stacks the clocks.
class BusyScope {
public:
    BusyScope();
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
};
HCURSOR HandCursor();
HWND OwnerWindow();
// Gives every clock a new z key from the thread's window order, topmost first.
void RenumberZKeys();
// Sorts the list by z key, ascending (stable).
void SortByZKey();
// The corner the next new clock's bottom right goes to, in screen
// coordinates; `self` is left out of the pile.
POINT DefaultCorner(const CClockWnd* self);
// The work area of the primary monitor (the desktop's rectangle when unknown).
RECT WorkArea();

}  // namespace desktop
