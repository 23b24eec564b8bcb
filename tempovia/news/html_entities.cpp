#include "tempovia/news/html_entities.h"

#include <cstdint>
#include <cwchar>

#include "tempovia/news/html_entity_names.h"

namespace {

bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }

int DigitValue(wchar_t c, bool hex) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (!hex) return -1;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// A numeric reference at text[at] ("&#..."): its code and the index after the
// semicolon, or false when it has no digits or no semicolon.
bool ReadNumeric(const std::wstring& text, size_t at, uint32_t& code, size_t& end) {
    size_t p = at + 2;
    bool hex = false;
    if (p < text.size() && (text[p] == L'x' || text[p] == L'X')) {
        hex = true;
        ++p;
    }
    const size_t first = p;
    uint32_t value = 0;  // wraps on absurd lengths; only the low bits are kept anyway
    for (int d; p < text.size() && (d = DigitValue(text[p], hex)) >= 0; ++p) value = value * (hex ? 16u : 10u) + d;
    if (p == first || p >= text.size() || text[p] != L';') return false;
    code = value;
    end = p + 1;
    return true;
}

bool ReadNamed(const std::wstring& text, size_t at, wchar_t& code, size_t& end) {
    const size_t rest = text.size() - (at + 1);
    for (size_t i = 0; i < kHtmlEntityNameCount; ++i) {
        const size_t length = std::wcslen(kHtmlEntityNames[i].name);
        if (length <= rest && std::wmemcmp(text.data() + at + 1, kHtmlEntityNames[i].name, length) == 0) {
            code = kHtmlEntityNames[i].code;
            end = at + 1 + length;
            return true;
        }
    }
    return false;
}

}  // namespace

void DecodeHtmlEntities(std::wstring& text) {
    const size_t n = text.size();
    size_t r = 0;
    size_t w = 0;
    // Every reference is longer than what it becomes, so writing never
    // overtakes reading.
    while (r < n) {
        const wchar_t c = text[r];
        if (c != L'&' || r + 3 >= n) {
            text[w++] = c;
            ++r;
            continue;
        }
        const wchar_t next = text[r + 1];
        size_t end = 0;
        if (next == L'#') {
            uint32_t code = 0;
            if (ReadNumeric(text, r, code, end)) {
                if (code >= 0x10000 && code <= 0x10FFFF) {
                    // Characters beyond the basic plane keep their meaning as a pair.
                    code -= 0x10000;
                    text[w++] = static_cast<wchar_t>(0xD800 + (code >> 10));
                    text[w++] = static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
                } else {
                    text[w++] = static_cast<wchar_t>(code & 0xFFFF);
                }
                r = end;
                continue;
            }
        } else if (IsAsciiLetter(next)) {
            wchar_t code = 0;
            if (ReadNamed(text, r, code, end)) {
                text[w++] = code;
                r = end;
                continue;
            }
        }
        text[w++] = c;
        ++r;
    }
    text.resize(w);
}
