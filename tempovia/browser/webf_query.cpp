#include "tempovia/browser/webf_query.h"

#include <cwchar>

namespace webf {
namespace {

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

void AppendDecoded(std::wstring& out, const wchar_t* begin, const wchar_t* end) {
    for (const wchar_t* p = begin; p < end; ++p) {
        if (*p == L'+') {
            out += L' ';
            continue;
        }
        if (*p == L'%' && end - p >= 3) {
            const int hi = HexDigit(p[1]);
            const int lo = HexDigit(p[2]);
            if (hi >= 0 && lo >= 0 && (hi * 16 + lo) != 0) {
                out += static_cast<wchar_t>(hi * 16 + lo);
                p += 2;
                continue;
            }
        }
        out += *p;
    }
}

}  // namespace

std::wstring ParseQueryList(const wchar_t* url) {
    std::wstring list;
    const wchar_t* q = url ? std::wcschr(url, L'?') : nullptr;
    if (q) {
        const wchar_t* p = q + 1;
        while (*p) {
            const wchar_t* nameEnd = p;
            while (*nameEnd && *nameEnd != L'=' && *nameEnd != L'&') ++nameEnd;
            const wchar_t* value = nameEnd;
            const wchar_t* valueEnd = nameEnd;
            if (*nameEnd == L'=') {
                value = nameEnd + 1;
                valueEnd = value;
                while (*valueEnd && *valueEnd != L'&') ++valueEnd;
            }
            // An empty name would read as the end of the list and hide every
            // pair after it, so such a pair is dropped.
            if (nameEnd > p) {
                list.append(p, nameEnd);
                list += L'\0';
                AppendDecoded(list, value, valueEnd);
                list += L'\0';
            }
            p = *valueEnd ? valueEnd + 1 : valueEnd;
        }
    }
    list += L'\0';  // the empty name that ends the list
    return list;
}

const wchar_t* FindQueryValue(const wchar_t* list, const wchar_t* name) {
    if (!list || !name) return nullptr;
    const wchar_t* p = list;
    while (*p) {
        const wchar_t* value = p + std::wcslen(p) + 1;
        if (std::wcscmp(p, name) == 0) return value;
        p = value + std::wcslen(value) + 1;
    }
    return nullptr;
}

}  // namespace webf
