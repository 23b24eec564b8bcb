// The system's file and colour dialogs. comdlg32 (and the printing libraries
// it pulls in) is loaded when one of them is first opened, not when the
// settings program starts.
#pragma once

#include <windows.h>
#include <commdlg.h>

// GetOpenFileNameW, GetSaveFileNameW, CommDlgExtendedError and ChooseColorW;
// FALSE (or CDERR_INITIALIZATION) when the library is missing.
BOOL WINAPI OpenFileDialog(OPENFILENAMEW* ofn);
BOOL WINAPI SaveFileDialog(OPENFILENAMEW* ofn);
DWORD WINAPI FileDialogError();
BOOL WINAPI ChooseColourDialog(CHOOSECOLORW* cc);
