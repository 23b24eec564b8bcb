// The interface of hook.dll: its exports, imported by ordinal only
// (hook/hook.def): 7 installs the taskbar hook, 8 removes it, 9 stores the
// program folder and command line.
#pragma once

#include <windows.h>

extern "C" {
// Ordinal 7: hooks the thread of the taskbar; returns Explorer's process id,
// or 0 when there is no taskbar or the hook could not be set.
DWORD WINAPI InstallHook(HWND mainWindow, const wchar_t* programFolder);
// Ordinal 8: restores the stock clock, unhooks and clears the shared section.
void WINAPI RemoveHook();
// Ordinal 9: commandLine is 8-bit text; each byte is widened on its own.
void WINAPI SetSharedStrings(const wchar_t* programFolder, const char* commandLine);
}
