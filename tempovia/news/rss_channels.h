// The subscribed news channels of the main program: one list, built from the
// settings' news sections each time they are read. GUI thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "tempovia/news/rss_model.h"

// Bounds of a channel's own refresh interval, in minutes.
constexpr int32_t kRssIntervalMinMinutes = 3;
constexpr int32_t kRssIntervalMaxMinutes = 129600;
// Longest URL and cache path a download job can carry (terminator excluded).
constexpr size_t kRssUrlChars = 511;
constexpr size_t kRssCachePathChars = 259;

// The per-user data folder the cache files go to (no trailing backslash);
// empty until set, and then channels get no cache file.
void SetRssCacheFolder(const wchar_t* folder);
const std::wstring& RssCacheFolder();
// "<folder>\rss-%08x.xml" with the CRC-32 of the URL; empty without a folder.
std::wstring RssCacheFileName(const wchar_t* url);

// |interval| clamped to the bounds above, with the sign of interval (0 stays 0:
// it follows the feed as well).
int32_t ClampRssInterval(int32_t interval);

// The settings reader's consumer. Refuses a negative position, an empty or
// missing URL, a URL longer than a job can carry, and disabled channels.
bool RegisterRssChannel(const wchar_t* url, int interval, int position, int expanded, int enabled);

// The channel of url, created when missing; the cache file is set when one is
// given. Null for an empty URL.
RSS::Channel* FindOrCreateRssChannel(const wchar_t* url, const wchar_t* cacheFile, int position);
RSS::Channel* FindRssChannel(const wchar_t* url);
// In position order; null when out of range.
RSS::Channel* GetRssChannel(int index);
int GetRssChannelCount();
int CountNewRssItems();
// The address is an item some channel of the list holds (one about to be
// dropped included): a notice from elsewhere names nothing to read.
bool IsListedRssItem(const void* item);

// A settings reload: clear the flags, register again, drop what was not.
void ResetRssChannelSeenFlags();
void RemoveUnseenRssChannels();
void DeleteRssChannels();

// At start-up: parses every channel's cache file that exists (not a folder).
void LoadRssCache();
