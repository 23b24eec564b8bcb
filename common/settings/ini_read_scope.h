// One read of each INI section while a program loads its settings.
//
// The profile functions open and parse the file for every single value; a
// start-up that reads thirty clocks key by key opens tempovia.ini thousands of
// times. While an IniReadScope lives, the INI store's readers on the thread
// that made it answer from a copy of each section and give exactly what the
// profile functions give: a plainly written file is read whole the first time
// it is asked for, any other file one GetPrivateProfileSectionW per section,
// every section under the same hold of the settings-file lock, so that no
// load sees a file another program is rewriting. Writes through the store keep the
// copies in step, so a later read sees what was written. Other threads read
// the file as before. A scope made inside another is a new load: it starts
// with only the copies read or written under a hold of the lock that still
// lasts (no other program can have changed those). Nothing is kept once the
// outermost scope ends.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

class IniReadScope {
public:
    IniReadScope();
    ~IniReadScope();
    IniReadScope(const IniReadScope&) = delete;
    IniReadScope& operator=(const IniReadScope&) = delete;
};

// A section as the profile functions see it: its lines in file order.
struct IniSectionCopy {
    struct Line {
        std::wstring key;
        std::optional<std::wstring> value;  // none for a line without "="
    };
    std::wstring raw;  // as ReadIniSection returns it
    std::vector<Line> lines;
    unsigned hold = 0;  // IniLockHoldId when it was read or written

    // GetPrivateProfileStringW of one key into the buffer; returns the length.
    DWORD Value(const wchar_t* key, const wchar_t* def, wchar_t* buffer, DWORD size) const;
    // GetPrivateProfileIntW of one key.
    int Int(const wchar_t* key, int def) const;
    // The key names, as GetPrivateProfileStringW lists them.
    std::vector<std::wstring> Keys() const;
};

// The copy of a section while a scope lives on this thread (read now when
// not yet taken), else null: the caller then asks the file itself.
const IniSectionCopy* CachedIniSection(const wchar_t* file, const wchar_t* section);
// GetPrivateProfileSectionW of the file itself, whole (the store's reader).
std::wstring ReadIniSectionFromFile(const wchar_t* file, const wchar_t* section);
// What a write through the store did to a section.
enum class IniWrite {
    Keys,      // keys written or deleted (the section may be new)
    Replaced,  // the whole section written from lines
    Deleted,   // the section deleted
};
// Keeps the copies in step with a write: a section replaced by clean
// "key=value" lines is known without reading it again; otherwise its copy
// goes and the next read asks the file.
void NoteIniWrite(const wchar_t* file, const wchar_t* section, IniWrite kind, bool succeeded,
                  const std::wstring& lines = std::wstring());
// The bytes of the file as this thread just read (or wrote) it whole under the
// settings-file lock: a scope on this thread that has not read the file yet
// takes its sections from them, within the same hold, instead of opening the
// file again.
void OfferIniFileBytes(const wchar_t* file, const std::string& bytes);
// Drops every copy of the file (after it was replaced as a whole).
void ForgetCachedIniFile(const wchar_t* file);
