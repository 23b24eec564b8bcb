#include "common/graphics/faces/skin_ini.h"

#include <cerrno>
#include <cwchar>
#include <cwctype>

#include "common/settings/ini_store.h"

int32_t ReadSkinNumber(const wchar_t* file, const wchar_t* section, const wchar_t* key, int32_t def) {
    wchar_t text[64] = {};
    ReadIniString(file, section, key, L"", text, 64);
    const wchar_t* p = text;
    while (iswspace(*p)) ++p;
    if (!*p) return def;
    bool negative = false;
    if (*p == L'-' || *p == L'+') {
        negative = *p == L'-';
        ++p;
    }
    // Digits only from here: wcstoull would take a second sign or blanks.
    if (!iswdigit(*p)) return def;
    // As the profile functions read numbers: "0x" starts hex, anything else
    // is decimal (a leading zero does not make it octal).
    int base = 10;
    if (p[0] == L'0' && (p[1] == L'x' || p[1] == L'X')) {
        base = 16;
        p += 2;
        if (!iswxdigit(*p)) return def;
    }
    wchar_t* end = nullptr;
    errno = 0;
    unsigned long long value = wcstoull(p, &end, base);
    if (errno == ERANGE || end == p) return def;
    while (iswspace(*end)) ++end;
    if (*end || value > 0xFFFFFFFFull) return def;
    uint32_t bits = static_cast<uint32_t>(value);
    if (negative) bits = 0u - bits;
    return static_cast<int32_t>(bits);
}
