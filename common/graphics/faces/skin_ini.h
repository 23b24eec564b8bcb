// Values of a skin's own skin.ini, read with the profile functions.
#pragma once

#include <cstdint>

// A number written in decimal or as 0x hex (blanks around it allowed). A key
// that is missing, empty or not a number gives def: a skin author's typo
// must not turn a colour black or an offset into nonsense.
int32_t ReadSkinNumber(const wchar_t* file, const wchar_t* section, const wchar_t* key, int32_t def);
