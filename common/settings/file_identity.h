// Which file on disk a path reaches, whatever its spelling: the file's volume
// and index, as the system gives them for an open handle.
#pragma once

#include <windows.h>

struct FileId {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool operator==(const FileId& other) const {
        return volume == other.volume && indexHigh == other.indexHigh && indexLow == other.indexLow;
    }
};

// Opens the path as spelt (no prefix taken off, links followed, every kind
// of sharing allowed, folders too) and gives the identity of what it
// reaches; false when nothing can be opened there.
bool FileIdentityOf(const wchar_t* path, FileId& id);
