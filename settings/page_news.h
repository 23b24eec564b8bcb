// The news page (dialog 201 of the resource library, page index 3 of the main
// settings dialog): the news channels and three display options.
#pragma once

#include <windows.h>
#include "resources/resource_ids.h"

inline constexpr UINT kNewsPageResource = IDD_PAGE_NEWS;
inline constexpr int kChannelList = 1258;
inline constexpr int kChannelUrlEdit = 1264;
inline constexpr int kChannelIntervalEdit = 1263;
inline constexpr int kFollowFeedCheck = 1270;
inline constexpr int kAddChannelButton = 1265;
inline constexpr int kDeleteChannelButton = 1266;
inline constexpr int kChannelUpButton = 1267;
inline constexpr int kChannelDownButton = 1268;
inline constexpr int kEnableAllButton = 1272;
inline constexpr int kDisableAllButton = 1273;
inline constexpr int kNoAdsCheck = 1274;
inline constexpr int kNoNotificationsCheck = 1275;
inline constexpr int kFadeNewsCheck = 1278;
inline constexpr UINT kChannelUpIcon = IDI_CHANNEL_UP;
inline constexpr UINT kChannelDownIcon = IDI_CHANNEL_DOWN;

// WM_NOTIFY code of the channel list: the check image of an item was clicked.
inline constexpr UINT kChannelToggleCode = 256;
struct ChannelToggleNotify {
    NMHDR header;
    int index;
};

INT_PTR CALLBACK NewsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ChannelListWndProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
// Puts the page into the main dialog's hooks and installs the channel
// consumer of the settings reader.
inline constexpr int kNewsPage = 3;
void InstallNewsPage();
