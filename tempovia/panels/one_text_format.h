// Filling a translatable text that holds one text argument ("Tempovia %s").
// Such texts come from language files, so they never reach a printf-style
// routine: a stray "%d" or a second "%s" would read arguments that are not there.
#pragma once

#include <cstddef>

namespace panels {

// Copies `format` into out, replacing its first "%s" with `text` and "%%"
// with "%"; every other "%" sequence is copied as it stands. Writes at most
// size - 1 characters and the terminator; returns the length. A null format
// gives an empty text, a null text an empty argument; size 0 writes nothing.
size_t FormatOneText(const wchar_t* format, const wchar_t* text, wchar_t* out, size_t size);

}  // namespace panels
