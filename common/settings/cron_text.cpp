#include "common/settings/cron_text.h"

#include <cwchar>

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

const wchar_t* SkipBlanks(const wchar_t* p) {
    while (IsBlank(*p)) ++p;
    return p;
}

// Reads a run of decimal digits. Values beyond any field's range are kept at a
// ceiling so that a long run of digits cannot wrap into range.
const wchar_t* ReadNumber(const wchar_t* p, int& value) {
    long long v = 0;
    while (IsDigit(*p)) {
        if (v < 1000000) v = v * 10 + (*p - L'0');
        ++p;
    }
    value = static_cast<int>(v);
    return p;
}

// Appends text, never beyond size - 1 characters; false once it no longer fits.
bool Append(wchar_t*& out, wchar_t* end, const wchar_t* text) {
    while (*text) {
        if (out >= end) return false;
        *out++ = *text++;
    }
    return true;
}

}  // namespace

const wchar_t* ParseCronField(const wchar_t* text, uint64_t& mask, int low, int high) {
    mask = 0;
    if (!text || high > 63 || low < 0) return nullptr;
    const wchar_t* p = SkipBlanks(text);
    if (*p == L'*') return SkipBlanks(p + 1);
    uint64_t bits = 0;
    while (IsDigit(*p)) {
        int a = 0;
        p = ReadNumber(p, a);
        if (a < low || a > high) return nullptr;
        bits |= uint64_t{1} << a;
        if (*p == L'-') {
            ++p;
            if (!IsDigit(*p)) return nullptr;
            int b = 0;
            p = ReadNumber(p, b);
            if (b < low || b > high || b < a) return nullptr;
            for (int i = a + 1; i <= b; ++i) bits |= uint64_t{1} << i;
        }
        while (IsBlank(*p) || *p == L',') ++p;
    }
    mask = bits;
    return p;
}

bool ParseCronText(const wchar_t* text, CronSchedule& cron) {
    if (!text) return false;
    CronSchedule c{};
    uint64_t mask = 0;

    const wchar_t* p = ParseCronField(text, mask, 0, 59);
    if (!p || *p != L';') return false;
    c.minutes = mask;

    p = ParseCronField(p + 1, mask, 0, 23);
    if (!p || *p != L';') return false;
    c.hours = static_cast<uint32_t>(mask);

    p = SkipBlanks(p + 1);
    if (*p == L'-') {
        ++p;
        if (!IsDigit(*p)) return false;
        int k = 0;
        p = ReadNumber(p, k);
        if (k < 1 || k > 31) return false;
        c.days = -k;
        p = SkipBlanks(p);
    } else {
        p = ParseCronField(p, mask, 1, 31);
        if (!p) return false;
        c.days = static_cast<int32_t>(mask >> 1);
    }
    if (*p != L';') return false;

    p = ParseCronField(p + 1, mask, 1, 12);
    if (!p || *p != L';') return false;
    c.months = static_cast<uint32_t>(mask);

    p = ParseCronField(p + 1, mask, 1, 7);
    if (!p) return false;
    c.weekdays = static_cast<uint32_t>(mask >> 1);

    cron = c;
    return true;
}

wchar_t* FormatCronField(uint64_t mask, wchar_t* buffer, size_t size) {
    if (!buffer || size == 0) return buffer;
    wchar_t* out = buffer;
    wchar_t* end = buffer + size - 1;
    if (mask == 0) {
        Append(out, end, L"*");
        *out = 0;
        return out;
    }
    wchar_t item[32];
    int i = 0;
    while (i < 64) {
        if (!(mask >> i & 1)) {
            ++i;
            continue;
        }
        int k = i;
        while (k + 1 < 64 && (mask >> (k + 1) & 1)) ++k;
        if (k - i >= 2) {
            swprintf(item, 32, L"%d-%d,", i, k);
        } else if (k == i + 1) {
            swprintf(item, 32, L"%d,%d,", i, k);
        } else {
            swprintf(item, 32, L"%d,", i);
        }
        wchar_t* before = out;
        if (!Append(out, end, item)) {
            // Never leave half a number behind.
            out = before;
            break;
        }
        i = k + 1;
    }
    if (out > buffer && out[-1] == L',') --out;
    *out = 0;
    return out;
}

void FormatCronText(const CronSchedule& cron, wchar_t* buffer, size_t size) {
    if (!buffer || size == 0) return;
    wchar_t* out = buffer;
    wchar_t* end = buffer + size;
    auto field = [&](uint64_t mask, bool last) {
        out = FormatCronField(mask, out, static_cast<size_t>(end - out));
        if (!last && out + 1 < end) {
            *out++ = L';';
            *out = 0;
        }
    };
    field(cron.minutes, false);
    field(cron.hours, false);
    if (cron.days < 0) {
        wchar_t number[16];
        swprintf(number, 16, L"%d", cron.days);
        wchar_t* limit = end - 1;
        Append(out, limit, number);
        *out = 0;
        if (out + 1 < end) {
            *out++ = L';';
            *out = 0;
        }
    } else {
        field(static_cast<uint64_t>(static_cast<uint32_t>(cron.days)) << 1, false);
    }
    field(cron.months, false);
    field(static_cast<uint64_t>(cron.weekdays) << 1, true);
}
