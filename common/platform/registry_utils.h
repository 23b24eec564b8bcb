// Registry reads with defaults, for values that may be missing or of the
// wrong kind on a given machine (time-zone keys, policy switches).
#pragma once

#include <windows.h>

// Reads a text value into buffer (size in characters, terminator included).
// Missing key or value, a value of a non-text kind, or one that does not fit
// with its terminator gives the default text (empty when none is given).
// A value without data gives an empty text. Returns whether the value was read.
bool RegReadString(HKEY root, const WCHAR* key, const WCHAR* value, WCHAR* buffer, DWORD size,
                   const WCHAR* defaultText);

// The value when the key opens, the value reads and its data is exactly four
// bytes; the default otherwise (a REG_QWORD value gives the default).
DWORD RegReadDword(HKEY root, const WCHAR* key, const WCHAR* value, DWORD defaultValue);
