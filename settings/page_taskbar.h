// The taskbar page: skin and look of the clocks in the taskbar, how many of
// them are shown there, and their tooltips.
#pragma once

#include <windows.h>

inline constexpr int kMinTrayClocks = 1;
inline constexpr int kMaxTrayClocks = 12;

INT_PTR CALLBACK TaskbarPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The taskbar preview (previews module): its clock list rebuilt from the
// tree, its painting, and whether it has a clock to draw.
struct TrayPreviewHooks {
    void (*rebuildClocks)() = nullptr;
    void (*draw)(const DRAWITEMSTRUCT* item) = nullptr;
    bool (*hasClock)() = nullptr;
};
TrayPreviewHooks SetTrayPreviewHooks(const TrayPreviewHooks& hooks);

// The number shown for a stored count: 12 for 0 or less, at most 12.
int ShownTrayClocks(int stored);
