#include "common/platform/one_number_format.h"

#include <cwchar>

namespace {

class BoundedOut {
public:
    BoundedOut(wchar_t* out, size_t size) : out_(out), room_(size ? size - 1 : 0) {}
    void Put(wchar_t c) {
        if (length_ < room_) out_[length_++] = c;
    }
    void Put(const wchar_t* text) {
        while (*text) Put(*text++);
    }
    size_t Finish() {
        out_[length_] = L'\0';
        return length_;
    }

private:
    wchar_t* out_;
    size_t room_;
    size_t length_ = 0;
};

// Length of a number conversion at `p` (just after the "%"), 0 when none.
size_t NumberConversion(const wchar_t* p) {
    if (p[0] == L'd' || p[0] == L'i' || p[0] == L'u') return 1;
    if (p[0] == L'l' && (p[1] == L'd' || p[1] == L'i' || p[1] == L'u')) return 2;
    return 0;
}

}  // namespace

size_t FormatOneNumber(const wchar_t* format, long long n, wchar_t* out, size_t size) {
    if (!out || size == 0) return 0;
    BoundedOut result(out, size);
    bool filled = false;
    for (const wchar_t* p = format; p && *p; ++p) {
        if (*p != L'%') {
            result.Put(*p);
            continue;
        }
        if (p[1] == L'%') {
            result.Put(L'%');
            ++p;
            continue;
        }
        const size_t conversion = filled ? 0 : NumberConversion(p + 1);
        if (conversion == 0) {
            result.Put(L'%');
            continue;
        }
        wchar_t digits[24];
        swprintf(digits, 24, L"%lld", n);
        result.Put(digits);
        filled = true;
        p += conversion;
    }
    return result.Finish();
}
