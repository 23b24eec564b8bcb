#include "common/zones/zone_key_index.h"

#include <cwchar>
#include <iterator>
#include <new>

#include "common/zones/zone_database.h"

ZoneKeyIndex::ZoneKeyIndex() {
    if (!g_zones.live) return;
    try {
        entries_.reserve(static_cast<size_t>(g_zones.count));
        // A later entry replaces an earlier one with its key, as the search
        // from the last entry finds it first.
        for (int i = 0; i < g_zones.count; ++i) {
            const auto& key = g_zones.live[i].key;
            entries_[std::wstring_view(key, wcsnlen(key, std::size(key)))] = i;
        }
    } catch (const std::bad_alloc&) {
        entries_.clear();
        return;
    }
    table_ = g_zones.live;
    count_ = g_zones.count;
}

int ZoneKeyIndex::Find(const wchar_t* key) const {
    if (!table_ || table_ != g_zones.live || count_ != g_zones.count || !key) return FindZoneByName(key);
    auto at = entries_.find(std::wstring_view(key));
    return at == entries_.end() ? -1 : at->second;
}
