// Opening a link that came from a feed or a page in the user's own programs:
// only web and mail addresses, never a file, a program or another scheme.
#pragma once

#include <windows.h>

#include <string>

// True for links that begin with "http://", "https://" or "mailto:" (any
// letter case).
bool IsOpenableLink(const wchar_t* link);

// ShellExecuteW "open" (SW_SHOW) through the system seam, for openable links
// only; true when the link was opened.
bool OpenWebLink(HWND owner, const std::wstring& link);
