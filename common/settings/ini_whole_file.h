// A settings file read whole, for readers that would otherwise ask the
// profile functions for it section by section (each asking opens the file).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// The file's bytes, when it opens and holds at most maxBytes.
bool ReadWholeFile(const wchar_t* path, std::string& bytes, DWORD maxBytes);

// One section of a file read whole: its name as the head gives it, and its
// lines as GetPrivateProfileSectionW hands them out ("key=value", each ended
// by a zero, the list by a second zero; empty for a section without lines).
struct IniFileSection {
    std::wstring name;
    std::wstring raw;
};

// The sections of the file in file order, read with one opening of it. Only
// for text the profile functions read exactly as it is written: UTF-16 with
// its mark or 8-bit text, where every line is empty, a head "[name]" or a
// "key=value" line without blanks around key or value, and no line stands
// before the first head. Anything else (comments, blanks to trim, lines
// without "=", other encodings, a missing file) gives none: the caller then
// asks the profile functions, which know every rule of the format.
std::optional<std::vector<IniFileSection>> ReadPlainIniFile(const wchar_t* path);
// The same from the bytes of a file already read whole.
std::optional<std::vector<IniFileSection>> ParsePlainIni(const std::string& bytes);
