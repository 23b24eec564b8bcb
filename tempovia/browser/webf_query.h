// The query part of an intercepted link, as the news windows read it: a run
// of NUL-terminated texts "name", "value", "name", "value", ..., ended by an
// empty name.
#pragma once

#include <string>

namespace webf {

// Builds the pair list from the text after the first "?" of `url` (no "?":
// an empty list). Values turn "+" into a space and "%hh" into that
// character; "%00" and a "%" without two hex digits stay as written.
std::wstring ParseQueryList(const wchar_t* url);

// The value of the first pair whose name equals `name` exactly, or NULL.
// The answer points into `list`.
const wchar_t* FindQueryValue(const wchar_t* list, const wchar_t* name);

}  // namespace webf
