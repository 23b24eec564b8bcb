#include "settings/box_wait.h"

#include <vector>

#include "settings/location_picker.h"
#include "settings/main_dialog_state.h"

namespace {

struct HeldMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Boxes wait for the user; a look a few times a second is soon enough.
constexpr UINT kLookMs = 100;

std::vector<HeldMessage> g_held;
UINT_PTR g_timer = 0;

void CALLBACK LookAgain(HWND, UINT, UINT_PTR, DWORD) {
    if (SettingsBoxOpen()) return;
    KillTimer(nullptr, g_timer);
    g_timer = 0;
    std::vector<HeldMessage> held;
    held.swap(g_held);
    for (const HeldMessage& h : held) {
        if (IsWindow(h.window)) PostMessageW(h.window, h.message, h.wParam, h.lParam);
    }
}

}  // namespace

bool SettingsBoxOpen() {
    const MainDialogState& s = DialogState();
    return s.messageBoxes > 0 || (s.dialog && IsWindow(s.dialog) && !IsWindowEnabled(s.dialog)) ||
           LocationPickerWindow() != nullptr;
}

void PostWhenNoBoxOpen(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_held.push_back({window, message, wParam, lParam});
    if (!g_timer) g_timer = SetTimer(nullptr, 0, kLookMs, LookAgain);
}
