// The news model: a channel per subscribed feed and the items of its latest
// parse. Only the GUI thread touches it, so it keeps no locks.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class RssNotifyList;

namespace RSS {

class Channel;

class Element {
public:
    Element() = default;
    virtual ~Element() = default;
    Element(const Element&) = default;
    Element& operator=(const Element&) = default;

    // Set at construction; a parse or a settings reload clears it first and
    // sets it again on what it still finds, so the rest can be dropped.
    uint8_t seen = 1;
    std::wstring title;
    std::wstring link;
    std::wstring description;
    // Item: appeared or changed in the latest parse. Channel: any item is new.
    uint8_t isNew = 1;
    // Item: index in the latest parse. Channel: order among the channels.
    int32_t position = 0;
    // Item: its Channel. Channel: the RssNotifyList told of changes.
    void* owner = nullptr;
};

class Item : public Element {
public:
    std::wstring guid;

    // The map key: guid, else link, else title, else description.
    const std::wstring& GetKey() const;
    // The same object, or guids and titles equal ignoring case.
    bool IsSame(const Item& other) const;
    // Copies title, link, description, seen, new, guid and owner.
    void Assign(const Item& other);
    Channel* GetChannel() const { return static_cast<Channel*>(owner); }
};

// Broadcast codes of MSG_RSS_UPDATED (wParam).
constexpr WPARAM kItemAdded = 1;     // lParam: the new Item
constexpr WPARAM kItemRemoved = 2;   // lParam: the Item about to be destroyed
constexpr WPARAM kItemChanged = 3;   // lParam: the Item, new again
constexpr WPARAM kChannelParsed = 4; // lParam: the Channel

constexpr int32_t kDefaultTtlMinutes = 60;
constexpr int32_t kMinimumTtlMinutes = 3;
constexpr int32_t kDefaultIntervalMinutes = -60;

struct ParsedFeed;

class Channel : public Element {
public:
    explicit Channel(std::wstring feedUrl);
    ~Channel() override;
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    int32_t ttl = kDefaultTtlMinutes;
    std::wstring url;
    std::wstring version;
    std::wstring cacheFile;
    // Minutes between downloads; 0 or less lets ttl decide.
    int32_t interval = kDefaultIntervalMinutes;
    // The download job whose result was parsed last.
    int32_t lastJob = 0;
    uint8_t enabled = 1;
    uint8_t loaded = 0;
    uint8_t expanded = 1;
    // Owns the items; keys compare by code unit.
    std::map<std::wstring, std::unique_ptr<Item>> itemsByKey;
    // The same items in feed order, not owning.
    std::vector<Item*> itemsInOrder;
    // UTC last write time of the cache file at the latest parse.
    SYSTEMTIME downloaded = {};

    // Parses the cache file into the channel. initial: read at start-up, so
    // nothing found there counts as new. Failures leave the items as they were.
    bool LoadFile(const wchar_t* file, bool initial);
    // Merges an already read feed (the second half of LoadFile).
    void Merge(const ParsedFeed& feed, bool initial);
    int CountNew() const;
    void ClearItems();

    RssNotifyList* NotifyList() const { return static_cast<RssNotifyList*>(owner); }

private:
    void Broadcast(WPARAM code, void* object) const;
};

// Set by start-up once OLE is initialised; LoadFile refuses to run without it.
void SetOleReady(bool ready);
bool OleReady();

}  // namespace RSS
