// The news channels as the settings program edits them: the program-wide
// list the settings reader fills, and the news group of the general options
// writer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct RssChannel {
    std::wstring url;
    // Minutes between downloads; 0 or below follows the feed's own refresh
    // time, and the absolute value is the user's interval kept for later.
    int32_t ttl = -60;
    uint8_t expanded = 1;
    uint8_t enabled = 1;
};

inline constexpr int kMaxRssChannels = 128;
inline constexpr int kRssUrlMaxChars = 512;
inline constexpr int kMinRssInterval = 3;
inline constexpr int kMaxRssInterval = 129600;
inline constexpr int kFollowFeedInterval = 60;

// The program-wide list (empty while the news page holds the channels).
std::vector<std::unique_ptr<RssChannel>>& RssChannelArray();

// The settings reader's consumer: false for a negative index or an empty url;
// index 0 first frees every channel.
bool AddRssChannel(const wchar_t* url, int ttl, int index, int expanded, int enabled);

// "http://" followed by something, or "https://" followed by something.
bool IsFeedAddress(const wchar_t* text);

// The interval the fields give: the absolute value of the number, 60 when it
// is out of range and the feed's time is followed, stored negative then.
// False when the number is out of range and the user's own interval is asked.
bool ChannelInterval(const wchar_t* text, bool followFeed, int32_t& ttl);

// The news group: the three display options of "<user>:main", then every
// channel as "<user>:rss<N>" and `rss_channels`. False when the INI could not
// be written.
bool WriteNewsOptions();
