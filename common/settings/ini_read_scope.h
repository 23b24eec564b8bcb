// One read of each INI section while a program loads its settings.
//
// The profile functions open and parse the file for every single value; a
// start-up that reads thirty clocks key by key opens tempovia.ini thousands of
// times. While an IniReadScope lives, the INI store's readers on the thread
// that made it answer from a copy of each section, taken with one
// GetPrivateProfileSectionW the first time the section is asked for, and give
// exactly what the profile functions give. Writes through the store drop the
// copy of the section they change, so a later read sees the file again.
// Nothing is kept once the outermost scope ends.
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
    bool fileExists = false;
    std::wstring raw;  // as ReadIniSection returns it
    std::vector<Line> lines;

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
// Drops the copy of one section of the file, or with section null every
// section of the file (after the file was replaced as a whole).
void ForgetCachedIniSection(const wchar_t* file, const wchar_t* section);
