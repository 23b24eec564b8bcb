// The user settings file as the profile functions can read it. They take a
// file for UTF-16 only when it begins with a byte-order mark; one saved as
// UTF-16 without it reads as 8-bit text that holds no section, and the
// programs would seed the defaults over the user's clocks.
#pragma once

// When the file has no byte-order mark and its zero bytes show UTF-16 text
// (little- or big-endian), rewrites it as UTF-16 little-endian with the mark,
// in one move; so too a file that begins with a UTF-8 mark. Returns true when
// the file was rewritten.
bool AddMissingUnicodeMark(const wchar_t* path);

// A new file holding only the UTF-16 byte-order mark, so that the profile
// functions write it as UTF-16 (a setting's text may hold any character).
// With keepExisting a file already there is left as it is: true.
bool CreateUnicodeIniFile(const wchar_t* path, bool keepExisting);
