#include "tempovia/news/rss_model.h"

#include <utility>

#include "tempovia/news/rss_feed_reader.h"
#include "tempovia/news/rss_notify.h"

namespace RSS {
namespace {

bool g_oleReady = false;

bool ReadLastWriteTime(const wchar_t* file, SYSTEMTIME& utc) {
    HANDLE handle = CreateFileW(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    FILETIME written = {};
    const bool ok = GetFileTime(handle, nullptr, nullptr, &written) && FileTimeToSystemTime(&written, &utc);
    CloseHandle(handle);
    return ok;
}

}  // namespace

void SetOleReady(bool ready) { g_oleReady = ready; }
bool OleReady() { return g_oleReady; }

Channel::Channel(std::wstring feedUrl) : url(std::move(feedUrl)) {}

Channel::~Channel() { ClearItems(); }

void Channel::ClearItems() {
    itemsInOrder.clear();
    itemsByKey.clear();
}

int Channel::CountNew() const {
    int count = 0;
    for (const Item* item : itemsInOrder) count += item->isNew ? 1 : 0;
    return count;
}

void Channel::Broadcast(WPARAM code, void* object) const {
    if (RssNotifyList* list = NotifyList()) list->Broadcast(code, object);
}

bool Channel::LoadFile(const wchar_t* file, bool initial) {
    if (!OleReady() || !file || !*file) return false;
    loaded = 0;
    if (!ReadLastWriteTime(file, downloaded)) return false;
    // Everything is read before the channel changes, so a refused feed
    // leaves the items as they were.
    ParsedFeed feed;
    if (!ReadFeedFile(file, feed)) return false;
    Merge(feed, initial);
    return true;
}

void Channel::Merge(const ParsedFeed& feed, bool initial) {
    version = feed.version;
    title = feed.title;
    description = feed.description;
    link = feed.link;
    ttl = feed.ttl;

    for (auto& entry : itemsByKey) entry.second->seen = 0;
    itemsInOrder.clear();

    bool anyNew = false;
    for (const Item& fresh : feed.items) {
        const std::wstring& key = fresh.GetKey();
        const int32_t index = static_cast<int32_t>(itemsInOrder.size());
        auto found = itemsByKey.find(key);
        if (found == itemsByKey.end()) {
            auto item = std::make_unique<Item>(fresh);
            item->isNew = initial ? 0 : 1;
            item->seen = 1;
            item->owner = this;
            item->position = index;
            Item* stored = item.get();
            itemsByKey.emplace(key, std::move(item));
            itemsInOrder.push_back(stored);
            anyNew = anyNew || stored->isNew;
            Broadcast(kItemAdded, stored);
            continue;
        }
        Item* known = found->second.get();
        // A feed that repeats an item shows it once; listing the same object
        // twice would leave the news window a node that outlives it.
        if (known->seen) continue;
        if (known->IsSame(fresh)) {
            known->isNew = 0;
            known->seen = 1;
            known->position = index;
            known->owner = this;
            itemsInOrder.push_back(known);
        } else {
            known->Assign(fresh);
            known->position = index;
            known->owner = this;
            itemsInOrder.push_back(known);
            anyNew = anyNew || known->isNew;
            Broadcast(kItemChanged, known);
        }
    }
    isNew = anyNew ? 1 : 0;

    std::vector<std::wstring> gone;
    for (const auto& entry : itemsByKey) {
        if (!entry.second->seen) gone.push_back(entry.first);
    }
    for (const std::wstring& key : gone) {
        auto found = itemsByKey.find(key);
        if (found == itemsByKey.end()) continue;
        Broadcast(kItemRemoved, found->second.get());
        itemsByKey.erase(key);
    }

    seen = 1;
    loaded = 1;
    Broadcast(kChannelParsed, this);
}

}  // namespace RSS
