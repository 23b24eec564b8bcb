#include "tempovia/news/rss_channels.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <map>
#include <memory>
#include <vector>

#include "tempovia/news/crc32.h"
#include "tempovia/news/rss_notify.h"

namespace {

struct RssChannelList {
    std::map<std::wstring, std::unique_ptr<RSS::Channel>> byUrl;
    std::vector<RSS::Channel*> byPosition;
};

RssChannelList& List() {
    static RssChannelList list;
    return list;
}

std::wstring& Folder() {
    static std::wstring folder;
    return folder;
}

void SortByPosition() {
    std::stable_sort(List().byPosition.begin(), List().byPosition.end(),
                     [](const RSS::Channel* a, const RSS::Channel* b) { return a->position < b->position; });
}

}  // namespace

void SetRssCacheFolder(const wchar_t* folder) { Folder() = folder ? folder : L""; }

const std::wstring& RssCacheFolder() { return Folder(); }

std::wstring RssCacheFileName(const wchar_t* url) {
    if (Folder().empty()) return {};
    wchar_t name[32];
    swprintf(name, 32, L"\\rss-%08x.xml", static_cast<unsigned>(Crc32OfText(url)));
    return Folder() + name;
}

int32_t ClampRssInterval(int32_t interval) {
    if (interval == 0) return 0;
    // Widened first: the magnitude of INT32_MIN does not fit 32 bits.
    const int64_t magnitude = std::clamp<int64_t>(interval < 0 ? -static_cast<int64_t>(interval) : interval,
                                                  kRssIntervalMinMinutes, kRssIntervalMaxMinutes);
    return static_cast<int32_t>(interval < 0 ? -magnitude : magnitude);
}

bool RegisterRssChannel(const wchar_t* url, int interval, int position, int expanded, int enabled) {
    if (position < 0 || !url || !*url || !enabled) return false;
    // A longer address could only be fetched cut, from somewhere else.
    if (wcsnlen(url, kRssUrlChars + 1) > kRssUrlChars) return false;
    const std::wstring cache = RssCacheFileName(url);
    RSS::Channel* channel = FindOrCreateRssChannel(url, cache.empty() ? nullptr : cache.c_str(), position);
    if (!channel) return false;
    channel->expanded = expanded ? 1 : 0;
    channel->enabled = 1;
    channel->interval = ClampRssInterval(interval);
    return true;
}

RSS::Channel* FindOrCreateRssChannel(const wchar_t* url, const wchar_t* cacheFile, int position) {
    if (!url || !*url) return nullptr;
    RssChannelList& list = List();
    auto found = list.byUrl.find(url);
    RSS::Channel* channel;
    if (found != list.byUrl.end()) {
        channel = found->second.get();
    } else {
        auto created = std::make_unique<RSS::Channel>(url);
        created->owner = &g_rssNotifyList;
        channel = created.get();
        list.byPosition.push_back(channel);
        list.byUrl.emplace(url, std::move(created));
    }
    if (cacheFile) channel->cacheFile = cacheFile;
    channel->seen = 1;
    channel->position = position;
    SortByPosition();
    return channel;
}

RSS::Channel* FindRssChannel(const wchar_t* url) {
    if (!url) return nullptr;
    auto found = List().byUrl.find(url);
    return found == List().byUrl.end() ? nullptr : found->second.get();
}

RSS::Channel* GetRssChannel(int index) {
    const auto& channels = List().byPosition;
    if (index < 0 || static_cast<size_t>(index) >= channels.size()) return nullptr;
    return channels[static_cast<size_t>(index)];
}

int GetRssChannelCount() { return static_cast<int>(List().byPosition.size()); }

int CountNewRssItems() {
    int count = 0;
    for (const RSS::Channel* channel : List().byPosition) count += channel->CountNew();
    return count;
}

bool IsListedRssItem(const void* item) {
    if (!item) return false;
    for (const RSS::Channel* channel : List().byPosition) {
        for (const auto& entry : channel->itemsByKey) {
            if (entry.second.get() == item) return true;
        }
    }
    return false;
}

void ResetRssChannelSeenFlags() {
    for (RSS::Channel* channel : List().byPosition) channel->seen = 0;
}

void RemoveUnseenRssChannels() {
    RssChannelList& list = List();
    std::erase_if(list.byPosition, [](const RSS::Channel* channel) { return !channel->seen; });
    std::erase_if(list.byUrl, [](const auto& entry) { return !entry.second->seen; });
}

void DeleteRssChannels() {
    RssChannelList& list = List();
    list.byPosition.clear();
    list.byUrl.clear();
}

void LoadRssCache() {
    for (RSS::Channel* channel : List().byPosition) {
        if (channel->cacheFile.empty()) continue;
        const DWORD attributes = GetFileAttributesW(channel->cacheFile.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        channel->LoadFile(channel->cacheFile.c_str(), true);
    }
}
