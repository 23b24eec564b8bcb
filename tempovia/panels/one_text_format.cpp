#include "tempovia/panels/one_text_format.h"

namespace panels {

size_t FormatOneText(const wchar_t* format, const wchar_t* text, wchar_t* out, size_t size) {
    if (!out || size == 0) return 0;
    size_t n = 0;
    auto put = [&](wchar_t c) {
        if (n + 1 < size) out[n++] = c;
    };
    bool filled = false;
    for (const wchar_t* p = format; p && *p; ++p) {
        if (p[0] == L'%' && p[1] == L'%') {
            put(L'%');
            ++p;
        } else if (!filled && p[0] == L'%' && p[1] == L's') {
            for (const wchar_t* t = text; t && *t; ++t) put(*t);
            filled = true;
            ++p;
        } else {
            put(*p);
        }
    }
    out[n] = L'\0';
    return n;
}

}  // namespace panels
