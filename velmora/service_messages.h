// The program's own messages: ids of its string table, which double as the
// error codes of installation, start and removal.
#pragma once

#include <windows.h>

#include <string>

#include "velmora/velmora_resource_ids.h"

inline constexpr wchar_t kServiceDisplayName[] = L"Tempovia Time";  // also the message box title

inline constexpr UINT kMsgScmAccessDenied = IDS_SCM_ACCESS_DENIED;
inline constexpr UINT kMsgScmOpenFailed = IDS_SCM_OPEN_FAILED;
inline constexpr UINT kMsgDuplicateName = IDS_DUPLICATE_NAME;
inline constexpr UINT kMsgServiceExists = IDS_SERVICE_EXISTS;
inline constexpr UINT kMsgCreateFailed = IDS_CREATE_FAILED;
inline constexpr UINT kMsgOpenServiceFailed = IDS_OPEN_SERVICE_FAILED;
inline constexpr UINT kMsgNoDescription = IDS_NO_DESCRIPTION;
inline constexpr UINT kMsgOpenKeyFailed = IDS_OPEN_KEY_FAILED;
inline constexpr UINT kMsgWriteDescriptionFailed = IDS_WRITE_DESCRIPTION_FAILED;
inline constexpr UINT kMsgStartFailed = IDS_START_FAILED;
inline constexpr UINT kMsgCreated = IDS_CREATED;
inline constexpr UINT kMsgDeleted = IDS_DELETED;
inline constexpr UINT kMsgUsage = IDS_USAGE;
inline constexpr UINT kMsgStarted = IDS_STARTED;
inline constexpr UINT kMsgDescription = IDS_DESCRIPTION;

// The text of the program's string table (empty when missing).
std::wstring ServiceString(UINT id);
// Shows the message through the platform.
void ShowServiceMessage(UINT id, UINT flags);
