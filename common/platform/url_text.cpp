#include "common/platform/url_text.h"

#include <cstdint>
#include <cwchar>

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool KeptAsIs(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'-' ||
           c == L'.' || c == L'_';
}

// The bytes that stand for the character at source[i]; advances i past a pair.
size_t EncodedBytes(const wchar_t* source, size_t& i, unsigned char (&bytes)[4]) {
    uint32_t code = static_cast<uint16_t>(source[i]);
    if (code <= 0xFF) {
        bytes[0] = static_cast<unsigned char>(code);
        return 1;
    }
    if (code >= 0xD800 && code <= 0xDBFF && source[i + 1] >= 0xDC00 && source[i + 1] <= 0xDFFF) {
        code = 0x10000 + ((code - 0xD800) << 10) + (static_cast<uint16_t>(source[i + 1]) - 0xDC00);
        ++i;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
        code = 0xFFFD;  // a lone half of a pair
    }
    if (code < 0x800) {
        bytes[0] = static_cast<unsigned char>(0xC0 | (code >> 6));
        bytes[1] = static_cast<unsigned char>(0x80 | (code & 0x3F));
        return 2;
    }
    if (code < 0x10000) {
        bytes[0] = static_cast<unsigned char>(0xE0 | (code >> 12));
        bytes[1] = static_cast<unsigned char>(0x80 | ((code >> 6) & 0x3F));
        bytes[2] = static_cast<unsigned char>(0x80 | (code & 0x3F));
        return 3;
    }
    bytes[0] = static_cast<unsigned char>(0xF0 | (code >> 18));
    bytes[1] = static_cast<unsigned char>(0x80 | ((code >> 12) & 0x3F));
    bytes[2] = static_cast<unsigned char>(0x80 | ((code >> 6) & 0x3F));
    bytes[3] = static_cast<unsigned char>(0x80 | (code & 0x3F));
    return 4;
}

}  // namespace

size_t UrlEncode(const wchar_t* source, wchar_t* target, size_t capacity) {
    if (!source || !target || capacity == 0) return 0;
    size_t written = 0;
    for (size_t i = 0; source[i] && written < capacity - 1; ++i) {
        const wchar_t c = source[i];
        if (KeptAsIs(c)) {
            target[written++] = c;
            continue;
        }
        if (c == L' ') {
            target[written++] = L'+';
            continue;
        }
        size_t next = i;
        unsigned char bytes[4];
        const size_t count = EncodedBytes(source, next, bytes);
        // The whole character or nothing: half an escape would be a different name.
        if (written + 3 * count >= capacity) break;
        for (size_t b = 0; b < count; ++b) {
            target[written++] = L'%';
            target[written++] = kHexDigits[bytes[b] >> 4];
            target[written++] = kHexDigits[bytes[b] & 0xF];
        }
        i = next;
    }
    target[written] = 0;
    return written;
}

size_t SubstitutePlaceholder(wchar_t letter, const wchar_t* value, wchar_t* buffer, size_t capacity) {
    if (!buffer) return 0;
    if (!value) value = L"";
    const size_t valueLength = std::wcslen(value);
    size_t i = 0;
    while (i < capacity && buffer[i]) {
        if (buffer[i] != L'%' || i + 1 >= capacity || buffer[i + 1] != letter) {
            ++i;
            continue;
        }
        const size_t textLength = wcsnlen(buffer, capacity);
        const size_t tailLength = textLength - (i + 2);
        // Everything from i up to the last position but one, which keeps the terminator.
        const size_t room = capacity - 1 - i;
        const size_t valueCopied = valueLength < room ? valueLength : room;
        const size_t tailCopied = tailLength < room - valueCopied ? tailLength : room - valueCopied;
        std::wmemmove(buffer + i + valueCopied, buffer + i + 2, tailCopied);
        std::wmemcpy(buffer + i, value, valueCopied);
        buffer[i + valueCopied + tailCopied] = 0;
        i += valueCopied;
    }
    return i;
}
