#include "tempovia/desktop/desktop_registry.h"

#include <algorithm>

namespace desktop {

std::vector<CClockWnd*>& RegisteredWindows() {
    static std::vector<CClockWnd*> windows;
    return windows;
}

bool RegisterWindow(CClockWnd* window) {
    std::vector<CClockWnd*>& list = RegisteredWindows();
    if (!window || list.size() >= kMaxDesktopClocks) return false;
    if (std::find(list.begin(), list.end(), window) == list.end()) list.push_back(window);
    return true;
}

void UnregisterWindow(CClockWnd* window) {
    std::vector<CClockWnd*>& list = RegisteredWindows();
    list.erase(std::remove(list.begin(), list.end(), window), list.end());
}

}  // namespace desktop
