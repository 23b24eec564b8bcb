// Reading a feed document through the MSXML DOM into plain texts, before any
// of it touches a channel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tempovia/news/rss_model.h"

namespace RSS {

struct ParsedFeed {
    std::wstring version;      // the document element's "version" attribute
    std::wstring title;        // decoded
    std::wstring link;
    std::wstring description;
    int32_t ttl = kDefaultTtlMinutes;  // at least kMinimumTtlMinutes
    // Items in document order, those with neither title nor description left out.
    std::vector<Item> items;
};

// Loads the file with the DOM and checks its shape: the document element's
// first child is "channel" with children, a title, link and description are
// found, and at least one "item". Needs OLE on the calling thread.
bool ReadFeedFile(const wchar_t* path, ParsedFeed& feed);

// The ttl text as minutes: leading blanks, decimal digits (saturating), no
// digits gives 0; anything below the minimum becomes the minimum.
int32_t ParseTtlMinutes(const std::wstring& text);

}  // namespace RSS
