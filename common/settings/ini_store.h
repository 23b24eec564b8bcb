// Value routines over the Win32 profile functions: the one place where the
// programs read and write single keys, key lists and whole sections of
// tempovia.ini, default.ini, language files and export files.
//
// Sizes are in characters and include the terminating zero, as the profile
// functions count them. Every reader terminates its buffer, whatever the file
// holds; a missing file or key yields the given default.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// CopyBounded: the settings code and the programs reach it through here.
#include "common/platform/text_bounds.h"

// The default passed to a user read to learn that a key is absent.
inline constexpr wchar_t kMissingKey[] = L"!\\!empty!\\!";
// Prefix of the shipped defaults in default.ini and of exported files.
inline constexpr wchar_t kDefaultPrefix[] = L"default";

// Scratch sizes of single values and key lists.
inline constexpr DWORD kIniValueChars = 256;
inline constexpr DWORD kIniKeyListChars = 2048;
inline constexpr DWORD kIniSectionChars = 0x7FFF;

// True when a value read with kMissingKey as default came back as kMissingKey.
bool IsMissingKey(const wchar_t* value);

// ---- single values ----------------------------------------------------------

// GetPrivateProfileStringW into a caller's buffer; returns the length. The
// buffer is always terminated (also for size 1); size 0 reads nothing.
DWORD ReadIniString(const wchar_t* file, const wchar_t* section, const wchar_t* key, const wchar_t* def,
                    wchar_t* buffer, DWORD size);
// The same into a string of at most size - 1 characters.
std::wstring ReadIniText(const wchar_t* file, const wchar_t* section, const wchar_t* key,
                         const wchar_t* def = L"", DWORD size = kIniValueChars);
// True when the key exists in the section (its value may be empty).
bool IniKeyExists(const wchar_t* file, const wchar_t* section, const wchar_t* key);

// GetPrivateProfileIntW, as a signed number ("-1" reads as -1).
int ReadIniInt(const wchar_t* file, const wchar_t* section, const wchar_t* key, int def);
// A flag stored as a number: 1 when the value is not 0.
bool ReadIniBool(const wchar_t* file, const wchar_t* section, const wchar_t* key, bool def);

// Writes the text as it stands. nullptr value deletes the key.
bool WriteIniString(const wchar_t* file, const wchar_t* section, const wchar_t* key, const wchar_t* value);
// Writes a text so that it reads back unchanged: enclosed in double quotes when
// it has leading or trailing blanks or is itself enclosed in quotes (the profile
// functions strip one enclosing pair when reading).
bool WriteIniText(const wchar_t* file, const wchar_t* section, const wchar_t* key, const wchar_t* value);
// The text WriteIniText writes for a value (for a "key=value" line of a section).
std::wstring IniTextForm(const wchar_t* value);
// Writes the text enclosed in double quotes in any case.
bool WriteIniQuoted(const wchar_t* file, const wchar_t* section, const wchar_t* key, const wchar_t* value);
// "%d", "%u" and the flags "1" / "0".
bool WriteIniInt(const wchar_t* file, const wchar_t* section, const wchar_t* key, int value);
bool WriteIniUnsigned(const wchar_t* file, const wchar_t* section, const wchar_t* key, unsigned long value);
bool WriteIniFlag(const wchar_t* file, const wchar_t* section, const wchar_t* key, bool value);

bool DeleteIniKey(const wchar_t* file, const wchar_t* section, const wchar_t* key);
bool DeleteIniSection(const wchar_t* file, const wchar_t* section);

// ---- durations and date-times ----------------------------------------------

// Reads a signed decimal number of milliseconds (at most 100 characters) and
// returns it in 100-ns units. False when no digit was read or the value does not
// fit 64 bits; value is then left alone.
bool ReadIniDuration(const wchar_t* file, const wchar_t* section, const wchar_t* key, int64_t& value);
// Writes a 100-ns value as decimal milliseconds.
bool WriteIniDuration(const wchar_t* file, const wchar_t* section, const wchar_t* key, int64_t value100ns);

// Reads "yyyy.mm.dd hh:mm:ss" (each field as scanf's %4hu.%2hu.%2hu %2hu:%2hu:%2hu
// reads it), optionally followed by a blank and one word. The time is
// normalised (day of the week set); false, with time untouched, when fewer than
// six fields match or the date is not a real one. When trailingWord is given
// (wordSize characters), it receives the word or an empty text.
bool ReadIniSystemTime(const wchar_t* file, const wchar_t* section, const wchar_t* key, SYSTEMTIME& time,
                       wchar_t* trailingWord = nullptr, size_t wordSize = 0);
// Parses the same form from a text (the routine above reads, then calls this).
bool ParseIniSystemTime(const wchar_t* text, SYSTEMTIME& time, wchar_t* trailingWord = nullptr,
                        size_t wordSize = 0);
// Writes "%04u.%02hu.%02u %02u:%02u:%02u" followed directly by trailingText,
// at most 255 characters in all.
bool WriteIniSystemTime(const SYSTEMTIME& time, const wchar_t* file, const wchar_t* section, const wchar_t* key,
                        const wchar_t* trailingText = nullptr);
// The text WriteIniSystemTime writes.
std::wstring FormatIniSystemTime(const SYSTEMTIME& time, const wchar_t* trailingText = nullptr);

// ---- key lists and whole sections ------------------------------------------

// The key names of a section, in file order (empty when none or no file).
std::vector<std::wstring> ReadIniKeyList(const wchar_t* file, const wchar_t* section);
// Every section name of a file, in file order.
std::vector<std::wstring> ReadIniSectionNames(const wchar_t* file);
// A whole section as GetPrivateProfileSectionW gives it: "key=value" lines,
// each terminated by a zero, the list by a second zero. Empty when absent.
std::wstring ReadIniSection(const wchar_t* file, const wchar_t* section);
// Replaces a whole section with the given lines (same form as above).
bool WriteIniSection(const wchar_t* file, const wchar_t* section, const std::wstring& lines);
