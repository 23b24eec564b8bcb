// The INI page: export of all settings to a file, import from a file or a
// web address.
#pragma once

#include <windows.h>

INT_PTR CALLBACK IniPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The file dialogs of the page; tests answer them.
struct IniPageFileDialogs {
    // Fills path (size characters) and answers true when the user chose a file.
    bool (*open)(HWND owner, wchar_t* path, DWORD size) = nullptr;
    bool (*save)(HWND owner, wchar_t* path, DWORD size) = nullptr;
};
IniPageFileDialogs SetIniPageFileDialogs(const IniPageFileDialogs& dialogs);
