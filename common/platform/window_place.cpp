#include "common/platform/window_place.h"

#include <cwchar>

bool ParseWindowRect(const wchar_t* text, RECT& rect) {
    long left = 0, top = 0, right = 0, bottom = 0;
    if (!text || swscanf(text, L"%ld, %ld, %ld, %ld", &left, &top, &right, &bottom) != 4) return false;
    rect = {left, top, right, bottom};
    return true;
}

bool IsOnSomeMonitor(const RECT& rect) { return MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) != nullptr; }
