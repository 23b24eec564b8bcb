// The news download thread: one job at a time, carrying every due channel's
// URL and cache file; each finished feed is reported through a callback.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "tempovia/news/rss_channels.h"

// Returns false to end the job (the main window is gone).
using RssProgressCallback = bool (*)(int status, void* record);

// Handed from the GUI thread to the worker in one block of global memory,
// which the worker frees.
struct RssJobHead {
    RssProgressCallback callback;
    int32_t feedCount;
    int32_t jobNumber;
};
struct RssJobFeed {
    wchar_t url[kRssUrlChars + 1];
    wchar_t cacheFile[kRssCachePathChars + 1];
};
static_assert(sizeof(RssJobHead) == 16 && offsetof(RssJobHead, feedCount) == 8 && offsetof(RssJobHead, jobNumber) == 12);
static_assert(sizeof(RssJobFeed) == 1544 && offsetof(RssJobFeed, cacheFile) == 1024);

// lParam of MSG_RSS_DOWNLOADED; its pointers are valid only during the call.
struct RssProgress {
    const wchar_t* url;
    const wchar_t* cacheFile;
    int32_t result;       // DownloadFile's result
    int32_t jobNumber;
    int32_t feedIndex;
    int32_t feedCount;
};
static_assert(sizeof(RssProgress) == 32 && offsetof(RssProgress, cacheFile) == 8 &&
              offsetof(RssProgress, result) == 16 && offsetof(RssProgress, jobNumber) == 20 &&
              offsetof(RssProgress, feedIndex) == 24 && offsetof(RssProgress, feedCount) == 28);

// Whether a loaded channel is due for a scheduled download at nowUtc.
bool RssChannelDue(const RSS::Channel& channel, const SYSTEMTIME& nowUtc);

// Starts a job for the due channels (every enabled one when dueOnly is false)
// on a thread of its own; GUI thread only. True when a job was started; false
// with no channel due, while a job runs, or when the thread cannot be started.
bool RssRefresh(bool dueOnly, RssProgressCallback callback);
bool RssRefreshAt(bool dueOnly, RssProgressCallback callback, const SYSTEMTIME& nowUtc);

// Jobs under way (0 or 1).
long RssDownloadsRunning();

// At the end of the program, once the main window is gone (the job reports to
// it): gives up a download under way and waits up to ms for the job's thread
// to end; true once it has.
bool StopRssDownloads(DWORD ms = INFINITE);

// The worker; takes ownership of the job block.
DWORD WINAPI RssDownloadThread(LPVOID job);

// "Accept-Language: <xx>,en" with the user's language.
std::string RssAcceptLanguageHeader();

// The record the worker is reporting when lParam is that record, else null:
// MSG_RSS_DOWNLOADED from any other sender carries nothing to read.
const RssProgress* LiveRssProgress(LPARAM record);

// Where the worker stores a feed until it has been read: the cache file's
// name with "$" appended.
std::wstring RssPartialFile(const std::wstring& cacheFile);

// What the main window learnt from one finished feed.
struct RssDownloadOutcome {
    RSS::Channel* parsed;  // the channel parsed anew, or null
    bool lastFeed;         // the job's last feed: show the notifier
};
// Parses the channel's cache file after a result of 200 (GUI thread).
RssDownloadOutcome HandleRssDownloaded(int status, const RssProgress* progress);
