// The program's own messages: ids of its string table, which double as the
// error codes of installation, start and removal.
#pragma once

#include <windows.h>

#include <string>

inline constexpr wchar_t kServiceDisplayName[] = L"Tempovia Time";  // also the message box title

inline constexpr UINT kMsgScmAccessDenied = 1;
inline constexpr UINT kMsgScmOpenFailed = 2;
inline constexpr UINT kMsgDuplicateName = 3;
inline constexpr UINT kMsgServiceExists = 4;
inline constexpr UINT kMsgCreateFailed = 5;
inline constexpr UINT kMsgOpenServiceFailed = 6;
inline constexpr UINT kMsgNoDescription = 7;
inline constexpr UINT kMsgOpenKeyFailed = 8;
inline constexpr UINT kMsgWriteDescriptionFailed = 9;
inline constexpr UINT kMsgStartFailed = 14;
inline constexpr UINT kMsgCreated = 51;
inline constexpr UINT kMsgDeleted = 52;
inline constexpr UINT kMsgUsage = 53;
inline constexpr UINT kMsgStarted = 54;
inline constexpr UINT kMsgDescription = 101;

// The text of the program's string table (empty when missing).
std::wstring ServiceString(UINT id);
// Shows the message through the platform.
void ShowServiceMessage(UINT id, UINT flags);
