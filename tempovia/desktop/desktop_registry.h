// The list of desktop clock windows, shared by the module and the windows.
#pragma once

#include <cstddef>
#include <vector>

namespace desktop {

class CClockWnd;

inline constexpr size_t kMaxDesktopClocks = 30;

// The windows, which own themselves through this list: a window adds itself
// when it loads and takes itself off when it is deleted.
std::vector<CClockWnd*>& RegisteredWindows();
// False when the list is full (the window then stays off it).
bool RegisterWindow(CClockWnd* window);
void UnregisterWindow(CClockWnd* window);

}  // namespace desktop
