// Filling a translatable text that holds one number ("%d seconds left").
// Translators write these texts, so a stray "%s" or a second "%d" must not
// reach a printf-style routine with one argument.
#pragma once

#include <cstddef>

// Copies `format` into out, replacing its first "%d", "%i", "%u" or "%ld" with
// n and "%%" with "%"; every other "%" sequence is copied as it stands. Writes
// at most size - 1 characters and the terminator; returns the length. A null
// format gives an empty text; size 0 writes nothing.
size_t FormatOneNumber(const wchar_t* format, long long n, wchar_t* out, size_t size);
