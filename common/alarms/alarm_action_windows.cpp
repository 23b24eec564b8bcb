#include "common/alarms/alarm_action_windows.h"

#include "common/settings/localisation.h"

namespace {

// The dialogs keep their own user data; the mode goes into a window property.
constexpr wchar_t kModalProperty[] = L"Tempovia.AlarmDialogModal";

}  // namespace

// The main program has its own centring in tempovia/util, which this library
// cannot reach; the settings program needs the same for its copy.
void BringAlarmWindowForward(HWND window) {
    if (!window || !IsWindow(window)) return;
    ShowWindow(window, SW_SHOW);
    if (GetForegroundWindow() == window) return;
    if (!SetForegroundWindow(window)) {
        PostMessageW(GetDesktopWindow(), WM_SYSCOMMAND, SC_HOTKEY, reinterpret_cast<LPARAM>(window));
    }
}

void MarkAlarmDialogModal(HWND dialog, bool modal) {
    if (modal) {
        SetPropW(dialog, kModalProperty, reinterpret_cast<HANDLE>(1));
    } else {
        RemovePropW(dialog, kModalProperty);
    }
}

void CloseAlarmDialog(HWND dialog) {
    if (RemovePropW(dialog, kModalProperty)) {
        EndDialog(dialog, IDCANCEL);
    } else {
        DestroyWindow(dialog);
    }
}

HWND RunAlarmDialog(int resourceId, DLGPROC procedure, LPARAM parameter, bool modal, bool* created) {
    HMODULE module = Language().resourceModule();
    if (modal) {
        const INT_PTR result = DialogBoxParamW(module, MAKEINTRESOURCEW(resourceId), nullptr, procedure, parameter);
        if (created) *created = result != -1 && result != 0;
        return nullptr;
    }
    HWND dialog = CreateDialogParamW(module, MAKEINTRESOURCEW(resourceId), nullptr, procedure, parameter);
    if (created) *created = dialog != nullptr;
    if (dialog) ShowWindow(dialog, SW_SHOW);
    return dialog;
}
