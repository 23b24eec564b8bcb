// Stand-ins for the main settings dialog: plain dialogs from an in-memory
// template that record what the frame sends them.
#pragma once

#include <windows.h>

#include <vector>

namespace settingsapp_test {

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A dialog with no controls; style decides child or pop-up.
HWND CreateTemplateDialog(HWND owner, DWORD style, DLGPROC proc);
// The same, modal; returns DialogBoxIndirectParamW's result.
INT_PTR RunTemplateDialog(HWND owner, DLGPROC proc);

// A dialog procedure that records every private message and WM_WININICHANGE
// into the vector named by its window (one per dialog, see Log).
INT_PTR CALLBACK RecordingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
std::vector<Received>& Log(HWND dialog);
void ClearLogs();
// What RecordingDialogProc answers to SETTINGS_MSG_ON_DESKTOP.
inline constexpr LONG_PTR kOnDesktopReply = 77;

}  // namespace settingsapp_test
