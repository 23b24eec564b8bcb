// Writing the program-wide option groups of the settings program to
// tempovia.ini, and the variables those pages edit that GlobalSettings has no
// field for.
#pragma once

#include <string>

// Option groups, as ApplySettings asks for them.
inline constexpr unsigned kGroupGeneral = 1;
inline constexpr unsigned kGroupSync = 4;
inline constexpr unsigned kGroupNews = 8;
inline constexpr unsigned kGroupTaskbar = 0x10;

// Files larger than this are left as they are rather than re-encoded.
inline constexpr unsigned long kMaxConvertBytes = 0x1000000;

// Start with Windows, as the general page shows it.
bool& AutostartOption();

// Whether the user picked a language in this run: only then is `language`
// written.
bool& LanguageChosen();

// `autostart` of "<user>:main", on when its first character is "1" (default "1").
bool ReadAutostart();
// Writes `autostart` as one digit and sets or removes the Run value (quoted
// path to tempovia.exe in the program folder). Registry failures are ignored.
void WriteAutostart(bool on);

// The profile functions write Unicode only into a file that already is
// Unicode: an 8-bit tempovia.ini is turned into UTF-16 with a byte-order mark
// first. Answers whether the file is (now) Unicode; a file that is missing,
// unreadable or too large stays untouched.
bool ConvertIniToUnicode(const std::wstring& path);

// The sync and news groups belong to their own pages; each fills its writer.
struct OptionGroupWriters {
    bool (*sync)() = nullptr;
    bool (*news)() = nullptr;
};
OptionGroupWriters SetOptionGroupWriters(const OptionGroupWriters& writers);
const OptionGroupWriters& GroupWriters();

// Writes the groups whose bits are set, from g_settings and AutostartOption();
// false when a key could not be written.
bool SaveGeneralOptions(unsigned groups);
