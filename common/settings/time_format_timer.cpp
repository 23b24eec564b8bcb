#include "common/settings/time_format_timer.h"

#include <cwchar>

#include "common/settings/localisation.h"

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Width and precision of one "%" token; a leading 0 of the width pads with zeros.
struct TokenShape {
    bool zeroPad = false;
    bool hasPrecision = false;
    long long width = 0;
    long long precision = 0;
};

// Reads the width and precision digits, as far as they go (at most 30
// characters in all); returns the position of the token's letter.
const wchar_t* ReadTokenShape(const wchar_t* p, TokenShape& shape) {
    constexpr int kMaxShapeChars = 30;
    constexpr long long kCeiling = 1000000;  // far beyond any buffer
    int used = 0;
    if (*p == L'0') shape.zeroPad = true;
    while (IsDigit(*p) && used < kMaxShapeChars) {
        if (shape.width < kCeiling) shape.width = shape.width * 10 + (*p - L'0');
        ++p;
        ++used;
    }
    if (*p == L'.' && used < kMaxShapeChars) {
        shape.hasPrecision = true;
        ++p;
        ++used;
        while (IsDigit(*p) && used < kMaxShapeChars) {
            if (shape.precision < kCeiling) shape.precision = shape.precision * 10 + (*p - L'0');
            ++p;
            ++used;
        }
    }
    return p;
}

// The value and time unit of a token letter; false for a letter that is no token.
bool TokenValue(wchar_t letter, long long S, long long M, long long H, long long D, long long W, long long& value,
                int& unit) {
    switch (letter) {
        case L'D': value = D; unit = 3; return true;
        case L'H': value = H; unit = 2; return true;
        case L'M': value = M; unit = 1; return true;
        case L'S': value = S; unit = 0; return true;
        case L'W':
        case L'w': value = W; unit = 4; return true;
        case L'd': value = D % 7; unit = 3; return true;
        case L'h': value = H % 24; unit = 2; return true;
        case L'm': value = M % 60; unit = 1; return true;
        case L's': value = S % 60; unit = 0; return true;
        default: return false;
    }
}

class Output {
public:
    Output(wchar_t* buffer, size_t size) : buffer_(buffer), last_(size - 1) {}
    size_t room() const { return last_ - used_; }
    void put(wchar_t c) {
        if (used_ < last_) buffer_[used_++] = c;
    }
    void put(const wchar_t* text) {
        while (*text && used_ < last_) buffer_[used_++] = *text++;
    }
    // Pads a non-negative number as printf's "d" conversion does with the
    // given width, precision and zero flag, cut at the room that remains.
    void number(long long value, const TokenShape& shape) {
        wchar_t digits[24];
        int n = 0;
        unsigned long long v = static_cast<unsigned long long>(value);
        do {
            digits[n++] = static_cast<wchar_t>(L'0' + v % 10);
            v /= 10;
        } while (v);
        if (shape.hasPrecision && shape.precision == 0 && value == 0) n = 0;
        long long zeros = shape.hasPrecision && shape.precision > n ? shape.precision - n : 0;
        long long body = zeros + n;
        long long pad = shape.width > body ? shape.width - body : 0;
        wchar_t padChar = (shape.zeroPad && !shape.hasPrecision) ? L'0' : L' ';
        for (long long i = 0; i < pad && used_ < last_; ++i) put(padChar);
        for (long long i = 0; i < zeros && used_ < last_; ++i) put(L'0');
        while (n > 0) put(digits[--n]);
    }
    size_t finish() {
        buffer_[used_] = 0;
        return used_;
    }

private:
    wchar_t* buffer_;
    size_t last_;
    size_t used_ = 0;
};

}  // namespace

size_t ExpandTimerFormat(wchar_t* buffer, size_t size, const wchar_t* format, long long S, long long M,
                         long long H, long long D, long long W) {
    if (!buffer || size == 0) return 0;
    Output out(buffer, size);
    if (!format) return out.finish();
    const wchar_t* p = format;
    while (*p && out.room() > 0) {
        if (p[0] == L'\\' && p[1] == L'n') {
            out.put(L'\n');
            p += 2;
            continue;
        }
        if (*p != L'%') {
            out.put(*p++);
            continue;
        }
        if (p[1] == L'%') {
            out.put(L'%');
            p += 2;
            continue;
        }
        TokenShape shape;
        p = ReadTokenShape(p + 1, shape);
        wchar_t letter = *p;
        if (!letter) break;
        ++p;
        long long value = 0;
        int unit = 0;
        if (!TokenValue(letter, S, M, H, D, W, value, unit) || value < 0) {
            out.put(letter);
            continue;
        }
        // A number needs room; a user's width is cut at what is left.
        if (out.room() < 12) break;
        if (*p == L'n') {
            // Only n mod 100 chooses the plural form, so a cut-down count keeps it.
            const wchar_t* word = Language().SelectPluralText(unit, static_cast<int>(value % 1000000000));
            if (word) out.put(word);
            ++p;
        } else {
            out.number(value, shape);
        }
    }
    return out.finish();
}

size_t FormatDuration(wchar_t* buffer, size_t size, const wchar_t* format, uint64_t duration) {
    long long seconds = static_cast<long long>(duration / 10000000ULL);
    return ExpandTimerFormat(buffer, size, format, seconds, seconds / 60, seconds / 3600, seconds / 86400,
                             seconds / 86400 / 7);
}

bool TimerFormatShowsSeconds(const wchar_t* format) {
    if (!format) return false;
    for (const wchar_t* p = format; *p;) {
        if (*p != L'%') {
            ++p;
            continue;
        }
        if (p[1] == L'%') {
            p += 2;
            continue;
        }
        TokenShape shape;
        p = ReadTokenShape(p + 1, shape);
        if (*p == L's' || *p == L'S') return true;
        if (*p) ++p;
    }
    return false;
}
