// Bounded copies and comparisons for the fixed-size text fields of records.
// (Header-only: every library of common/ above the platform uses them.)
#pragma once

#include <cstddef>
#include <cwchar>

// Copies at most destChars - 1 characters and terminates; returns the length
// copied. Nothing happens for size 0. A null source gives an empty text.
inline size_t CopyBounded(wchar_t* dest, size_t destChars, const wchar_t* src) {
    if (!dest || destChars == 0) return 0;
    size_t n = src ? wcsnlen(src, destChars - 1) : 0;
    if (n) wmemcpy(dest, src, n);
    dest[n] = L'\0';
    return n;
}

template <size_t N>
size_t CopyBounded(wchar_t (&dest)[N], const wchar_t* src) {
    return CopyBounded(dest, N, src);
}

// True when a record field of fieldChars characters (terminated or filling
// the field) holds exactly `text`.
inline bool TextFieldEquals(const wchar_t* field, size_t fieldChars, const wchar_t* text) {
    if (!field || !text) return false;
    size_t n = wcsnlen(field, fieldChars);
    return wcsncmp(field, text, n) == 0 && text[n] == L'\0' && wcsnlen(text, n) == n;
}

template <size_t N>
bool TextFieldEquals(const wchar_t (&field)[N], const wchar_t* text) {
    return TextFieldEquals(field, N, text);
}
