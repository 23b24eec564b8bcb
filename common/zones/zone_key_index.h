// FindZoneByName's answers for many keys in a row without a search each, for
// the loading of the city list (some 2,000 lines over some 140 zones).
#pragma once

#include <string_view>
#include <unordered_map>

#include "common/records/zone_record.h"

// Made from the live zone table as it is; valid while that table's keys stay
// as they are. Once the table is another or has another count, and when
// memory ran short while indexing, FindZoneByName answers.
class ZoneKeyIndex {
public:
    ZoneKeyIndex();
    // As FindZoneByName(key).
    int Find(const wchar_t* key) const;

private:
    const ZoneRecord* table_ = nullptr;  // null: not indexed
    int count_ = 0;
    std::unordered_map<std::wstring_view, int> entries_;  // views into the table's keys
};
