// Text routines shared by the programs' network code: names in URLs (the
// news, the city photos, the map dialog's links) and placeholders in texts
// that are filled at run time.
#pragma once

#include <cstddef>

// Letters, digits, "-", "." and "_" stay; a blank becomes "+"; everything
// else becomes "%XX" (characters above 0xFF as the "%XX" of each UTF-8 byte).
// Stops where the next character would not fit with the terminator, and
// returns the characters written. Nothing is written for a NULL source or
// target or no capacity.
size_t UrlEncode(const wchar_t* source, wchar_t* target, size_t capacity);

// Replaces every "%<letter>" in the terminated text of buffer (capacity in
// characters) by value, which is not scanned again; NULL value is empty.
// What does not fit is cut, and the text stays terminated. Returns the
// length of the resulting text (the position where the scan stopped).
size_t SubstitutePlaceholder(wchar_t letter, const wchar_t* value, wchar_t* buffer, size_t capacity);
