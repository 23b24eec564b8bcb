#include "tempovia/news/rss_model.h"

namespace RSS {

const std::wstring& Item::GetKey() const {
    if (!guid.empty()) return guid;
    if (!link.empty()) return link;
    if (!title.empty()) return title;
    return description;
}

bool Item::IsSame(const Item& other) const {
    if (this == &other) return true;
    return lstrcmpiW(guid.c_str(), other.guid.c_str()) == 0 && lstrcmpiW(title.c_str(), other.title.c_str()) == 0;
}

void Item::Assign(const Item& other) {
    if (this == &other) return;
    title = other.title;
    link = other.link;
    description = other.description;
    seen = other.seen;
    isNew = other.isNew;
    guid = other.guid;
    owner = other.owner;
}

}  // namespace RSS
