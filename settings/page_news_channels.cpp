#include "settings/page_news_channels.h"

#include <windows.h>

#include <cstdlib>
#include <cwchar>

#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/records/clock_table.h"

namespace {

std::vector<std::unique_ptr<RssChannel>> g_channels;

bool StartsWith(const wchar_t* text, const wchar_t* prefix, size_t length) {
    return _wcsnicmp(text, prefix, length) == 0;
}

}  // namespace

std::vector<std::unique_ptr<RssChannel>>& RssChannelArray() { return g_channels; }

bool AddRssChannel(const wchar_t* url, int ttl, int index, int expanded, int enabled) {
    if (index < 0) return false;
    if (index == 0) g_channels.clear();
    if (!url || !url[0]) return false;
    if (static_cast<int>(g_channels.size()) >= kMaxRssChannels) return false;
    auto channel = std::make_unique<RssChannel>();
    channel->url.assign(url, wcsnlen(url, kRssUrlMaxChars));
    channel->ttl = ttl;
    channel->expanded = expanded != 0 ? 1 : 0;
    channel->enabled = enabled != 0 ? 1 : 0;
    g_channels.push_back(std::move(channel));
    return true;
}

bool IsFeedAddress(const wchar_t* text) {
    if (!text) return false;
    const size_t length = wcslen(text);
    return (length > 7 && StartsWith(text, L"http://", 7)) || (length > 8 && StartsWith(text, L"https://", 8));
}

bool ChannelInterval(const wchar_t* text, bool followFeed, int32_t& ttl) {
    long long value = text ? std::wcstoll(text, nullptr, 10) : 0;
    // The most negative number has no positive twin; it is out of range anyway.
    if (value < 0) value = value < -kMaxRssInterval ? kMaxRssInterval + 1LL : -value;
    if (value < kMinRssInterval || value > kMaxRssInterval) {
        if (!followFeed) return false;
        value = kFollowFeedInterval;
    }
    ttl = followFeed ? -static_cast<int32_t>(value) : static_cast<int32_t>(value);
    return true;
}

bool WriteNewsOptions() {
    const wchar_t* file = UserIniPath().c_str();
    const std::wstring main = UserPrefix() + L":main";
    bool ok = WriteIniInt(file, main.c_str(), L"ads", g_settings.ads == 1);
    ok = WriteIniInt(file, main.c_str(), L"notifications", g_settings.notifications == 1) && ok;
    ok = WriteIniInt(file, main.c_str(), L"fade_news", g_settings.fade_news == 1) && ok;
    int n = 0;
    for (const auto& channel : g_channels) {
        const std::wstring section = UserPrefix() + L":rss" + std::to_wstring(++n);
        ok = WriteIniText(file, section.c_str(), L"url", channel->url.c_str()) && ok;
        ok = WriteIniInt(file, section.c_str(), L"ttl", channel->ttl) && ok;
        ok = WriteIniInt(file, section.c_str(), L"expanded", channel->expanded) && ok;
        ok = WriteIniInt(file, section.c_str(), L"enabled", channel->enabled) && ok;
    }
    return WriteIniInt(file, main.c_str(), L"rss_channels", n) && ok;
}
