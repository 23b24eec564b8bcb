// The registry's names of every time zone, read on a worker thread while a
// program's start-up does its other work. Opening ~140 zone keys one by one
// is a large part of loading the zone table under Wine; LoadZoneDatabase
// takes the names read here instead.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "common/records/zone_record.h"
#include "common/zones/zone_registry.h"

// "Display", "Std" and "Dlt" of every subkey of kTimeZonesKey, from one pass.
class ZoneRegistryNameSet {
public:
    // Reads all keys; stops early (leaving a set that answers nothing) when
    // `stop` becomes true.
    void ReadAll(const std::atomic<bool>& stop);

    // Does to the record what ReadZoneRegistryNames would do and answers
    // true; false when this set cannot tell (nothing read, the key could not
    // be opened here, or the record's key is no plain subkey name), and the
    // registry is to be asked.
    bool TryApply(ZoneRecord& record) const;

private:
    struct Entry {
        std::wstring key;
        bool opened = false;
        ZoneRegistryNames names;
    };
    std::vector<Entry> entries_;  // sorted as the registry compares key names
    bool complete_ = false;
};

// Starts the worker; the first prefetch of the process that is not yet taken
// is the one LoadZoneDatabase uses. Made and destroyed on the thread that
// loads the zone tables; the destructor stops and joins the worker, so an
// early end of the start-up waits for nothing.
class ZoneNamePrefetch {
public:
    ZoneNamePrefetch();
    ~ZoneNamePrefetch();
    ZoneNamePrefetch(const ZoneNamePrefetch&) = delete;
    ZoneNamePrefetch& operator=(const ZoneNamePrefetch&) = delete;

private:
    static DWORD WINAPI Work(void* self);
    void Join();
    friend ZoneRegistryNameSet TakePrefetchedZoneNames();

    ZoneRegistryNameSet names_;  // written by the worker only until it is joined
    std::atomic<bool> stop_{false};
    HANDLE thread_ = nullptr;
};

// The names of the prefetch waiting to be used, its worker joined; an empty
// set (which answers nothing) when none is waiting. Each prefetch is taken
// once: a later load reads the registry itself.
ZoneRegistryNameSet TakePrefetchedZoneNames();
