#include "common/zones/zone_name_prefetch.h"

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <new>
#include <utility>

#include "common/platform/registry_read.h"
#include "common/platform/text_bounds.h"

namespace {

// Registry key names have at most 255 characters.
constexpr DWORD kSubkeyNameChars = 256;

// The prefetch LoadZoneDatabase is to use. Only the thread that makes, takes
// and destroys prefetches touches it, never a worker.
ZoneNamePrefetch* g_waiting = nullptr;

// The registry matches key names without regard to case, by the same
// upper-casing as this ordinal comparison.
int CompareKeyNames(const std::wstring& a, const wchar_t* b, int bChars) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b, bChars, TRUE);
}

}  // namespace

void ZoneRegistryNameSet::ReadAll(const std::atomic<bool>& stop) {
    entries_.clear();
    complete_ = false;
    try {
        RegistryKey zones(HKEY_LOCAL_MACHINE, kTimeZonesKey, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE);
        if (!zones.get()) return;
        wchar_t name[kSubkeyNameChars];
        for (DWORD index = 0;; ++index) {
            if (stop) {
                entries_.clear();
                return;
            }
            DWORD chars = kSubkeyNameChars;
            LONG rc = RegEnumKeyExW(zones.get(), index, name, &chars, nullptr, nullptr, nullptr, nullptr);
            if (rc == ERROR_NO_MORE_ITEMS) break;
            if (rc == ERROR_MORE_DATA) continue;  // longer than any record's key
            if (rc != ERROR_SUCCESS) {
                entries_.clear();
                return;
            }
            Entry entry;
            entry.key.assign(name, chars);
            RegistryKey zone(zones.get(), name);
            entry.opened = zone.get() != nullptr;
            entry.names = ReadZoneNamesOfKey(zone.get());
            entries_.push_back(std::move(entry));
        }
        std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
            return CompareKeyNames(a.key, b.key.data(), static_cast<int>(b.key.size())) == CSTR_LESS_THAN;
        });
        complete_ = true;
    } catch (const std::bad_alloc&) {
        entries_.clear();
    }
}

bool ZoneRegistryNameSet::TryApply(ZoneRecord& record) const {
    if (!complete_) return false;
    wchar_t key[sizeof(ZoneRecord::key) / sizeof(wchar_t) + 1];
    const int chars = static_cast<int>(CopyBounded(key, std::size(key), record.key));
    // Such a key names the zones key itself or a key below a zone's.
    if (chars == 0 || std::wcschr(key, L'\\')) return false;
    auto at = std::lower_bound(entries_.begin(), entries_.end(), key, [chars](const Entry& e, const wchar_t* k) {
        return CompareKeyNames(e.key, k, chars) == CSTR_LESS_THAN;
    });
    // No such key: the registry has no names for the record.
    if (at == entries_.end() || CompareKeyNames(at->key, key, chars) != CSTR_EQUAL) return true;
    if (!at->opened) return false;
    ApplyZoneRegistryNames(at->names, record);
    return true;
}

ZoneNamePrefetch::ZoneNamePrefetch() {
    thread_ = CreateThread(nullptr, 0, Work, this, 0, nullptr);
    if (thread_ && !g_waiting) g_waiting = this;
}

ZoneNamePrefetch::~ZoneNamePrefetch() {
    stop_ = true;
    Join();
    if (g_waiting == this) g_waiting = nullptr;
}

DWORD WINAPI ZoneNamePrefetch::Work(void* self) {
    auto* prefetch = static_cast<ZoneNamePrefetch*>(self);
    prefetch->names_.ReadAll(prefetch->stop_);
    return 0;
}

void ZoneNamePrefetch::Join() {
    if (!thread_) return;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    thread_ = nullptr;
}

ZoneRegistryNameSet TakePrefetchedZoneNames() {
    ZoneNamePrefetch* prefetch = g_waiting;
    if (!prefetch) return ZoneRegistryNameSet();
    g_waiting = nullptr;
    prefetch->Join();
    return std::move(prefetch->names_);
}
