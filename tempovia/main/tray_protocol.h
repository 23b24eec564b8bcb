// The main window's side of the protocol with the taskbar clock and the
// settings program: the greeting, the data push and the WM_COPYDATA requests
// it accepts.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// How long a send to the taskbar clock may wait for Explorer.
inline constexpr UINT kTrayClockSendTimeoutMs = 5000;

// Sends settings, cities, clocks and each clock's alarms to the taskbar clock,
// in that order; nothing unless the hook is installed and the clock has greeted.
// Each block waits at most kTrayClockSendTimeoutMs; after one that does not get
// through, the rest are not sent. At most kMaxCities cities and kMaxClocks clocks.
void SendDataToHook(HWND mainWindow);

// MSG_TRAY_CLOCK_READY: returns the reply (the main window's handle).
LRESULT OnTrayClockReady(HWND mainWindow, LPARAM clockWindow);

// WM_COPYDATA received by the main window: 1 when a URL import was started.
LRESULT OnMainCopyData(HWND mainWindow, HWND sender, const COPYDATASTRUCT* data);

// The URL of a COPYDATA_URL_IMPORT block: at most 511 characters, never read
// past cbData, cut at the first zero. Empty for a block without a whole character.
std::wstring UrlFromImportBlock(const COPYDATASTRUCT& data);

// Starts the worker that fetches the URL into the target and answers the
// reply window with replyMessage (wParam = status). False when the thread
// could not start (nothing is left behind). The download ends within its time
// limit, or soon after StopUrlImports.
bool StartDownloadThread(const std::wstring& url, const std::wstring& target, HWND replyWindow,
                         UINT replyMessage);

// At the program's exit: every import worker gives up its download, sends its
// answer and is joined, waiting up to ms; true when none is left running.
bool StopUrlImports(DWORD ms);
