// Writes kept aside for a later holder of the settings-file lock. While a
// diversion lives, its thread's key writes and deletions meant for one file
// go to a side file instead, without the lock: no other program reads the
// side file. The side file holds the same sections and keys; a key deleted
// is listed in the section "deleted:" + its section's name. Whole-section
// writes are not kept: they fail while diverted.
#pragma once

#include <string>

class IniWriteDiversion {
public:
    IniWriteDiversion(const std::wstring& file, const std::wstring& sideFile);
    ~IniWriteDiversion();
    IniWriteDiversion(const IniWriteDiversion&) = delete;
    IniWriteDiversion& operator=(const IniWriteDiversion&) = delete;

    const std::wstring& file() const { return file_; }
    const std::wstring& sideFile() const { return sideFile_; }

private:
    std::wstring file_;
    std::wstring sideFile_;
    const IniWriteDiversion* outer_;
};

// For the store: true when writes to `file` are diverted on this thread.
bool IniWritesDiverted(const wchar_t* file);
// Keeps a key write (value null: a deletion) in the side file; false when it
// could not be written there.
bool DivertIniWrite(const wchar_t* section, const wchar_t* key, const wchar_t* value);

// Carries the writes kept in sideFile into file, each under the lock (the
// caller may hold it already), and deletes sideFile once every one is in.
// True when there was nothing to carry or all went in.
bool ApplyKeptIniWrites(const wchar_t* sideFile, const wchar_t* file);
