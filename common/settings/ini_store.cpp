#include "common/settings/ini_store.h"

#include "common/settings/ini_read_scope.h"

#include <cwchar>
#include <limits>

#include "common/settings/ini_divert.h"
#include "common/settings/named_mutex.h"

namespace {

// Profile functions answer size - 2 when a list did not fit; such lists are
// read again into a larger buffer rather than handed on cut (a cut key name
// would be written back as a new, wrong key).
constexpr DWORD kMaxListChars = 1u << 22;

std::vector<std::wstring> SplitZeroList(const wchar_t* data, size_t length) {
    std::vector<std::wstring> out;
    size_t i = 0;
    while (i < length && data[i]) {
        size_t n = wcsnlen(data + i, length - i);
        out.emplace_back(data + i, n);
        i += n + 1;
    }
    return out;
}

template <typename Call>
std::wstring ReadList(DWORD initial, Call call) {
    std::vector<wchar_t> buf;
    for (DWORD size = initial;; size *= 2) {
        buf.assign(size, L'\0');
        DWORD got = call(buf.data(), size);
        if (got + 2 < size || size >= kMaxListChars) {
            if (got > size - 2) got = size - 2;
            // Keep the list's own terminating zeros.
            return std::wstring(buf.data(), got) + L'\0';
        }
    }
}

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

}  // namespace

bool IsMissingKey(const wchar_t* value) { return value && _wcsicmp(value, kMissingKey) == 0; }

DWORD ReadIniString(const wchar_t* file, const wchar_t* section, const wchar_t* key, const wchar_t* def,
                    wchar_t* buffer, DWORD size) {
    if (!buffer || size == 0) return 0;
    buffer[0] = 0;
    if (!file || !section || !key) {
        return static_cast<DWORD>(CopyBounded(buffer, size, def));
    }
    const IniSectionCopy* copy = CachedIniSection(file, section);
    DWORD got = copy ? copy->Value(key, def, buffer, size)
                     : GetPrivateProfileStringW(section, key, def ? def : L"", buffer, size, file);
    if (got >= size) got = size - 1;
    buffer[got] = 0;
    return got;
}

std::wstring ReadIniText(const wchar_t* file, const wchar_t* section, const wchar_t* key, const wchar_t* def,
                         DWORD size) {
    if (size == 0) return std::wstring();
    std::vector<wchar_t> buf(size);
    DWORD got = ReadIniString(file, section, key, def, buf.data(), size);
    return std::wstring(buf.data(), got);
}

bool IniKeyExists(const wchar_t* file, const wchar_t* section, const wchar_t* key) {
    wchar_t buf[32];
    ReadIniString(file, section, key, kMissingKey, buf, 32);
    return !IsMissingKey(buf);
}

int ReadIniInt(const wchar_t* file, const wchar_t* section, const wchar_t* key, int def) {
    if (!file || !section || !key) return def;
    if (const IniSectionCopy* copy = CachedIniSection(file, section)) return copy->Int(key, def);
    return static_cast<int>(GetPrivateProfileIntW(section, key, def, file));
}

bool ReadIniBool(const wchar_t* file, const wchar_t* section, const wchar_t* key, bool def) {
    return ReadIniInt(file, section, key, def ? 1 : 0) != 0;
}

bool WriteIniString(const wchar_t* file, const wchar_t* section, const wchar_t* key, const wchar_t* value) {
    if (!file || !*file || !section || !key) return false;
    if (IniWritesDiverted(file)) return DivertIniWrite(section, key, value);
    // Each write rewrites the whole file: another program must not do so at
    // once, and without the lock nothing is written rather than a file torn.
    IniFileLock lock;
    if (!lock.held()) return false;
    const bool written = WritePrivateProfileStringW(section, key, value, file) != FALSE;
    NoteIniWrite(file, section, IniWrite::Keys, written);
    return written;
}

bool WriteIniQuoted(const wchar_t* file, const wchar_t* section, const wchar_t* key, const wchar_t* value) {
    std::wstring text = L"\"";
    text += value ? value : L"";
    text += L'"';
    return WriteIniString(file, section, key, text.c_str());
}

std::wstring IniTextForm(const wchar_t* value) {
    if (!value) value = L"";
    size_t n = wcslen(value);
    bool quote = n > 0 && (IsSpace(value[0]) || IsSpace(value[n - 1]) ||
                           (n >= 2 && value[0] == L'"' && value[n - 1] == L'"'));
    return quote ? L"\"" + std::wstring(value) + L"\"" : std::wstring(value);
}

bool WriteIniText(const wchar_t* file, const wchar_t* section, const wchar_t* key, const wchar_t* value) {
    return WriteIniString(file, section, key, IniTextForm(value).c_str());
}

bool WriteIniInt(const wchar_t* file, const wchar_t* section, const wchar_t* key, int value) {
    wchar_t buf[16];
    swprintf(buf, 16, L"%d", value);
    return WriteIniString(file, section, key, buf);
}

bool WriteIniUnsigned(const wchar_t* file, const wchar_t* section, const wchar_t* key, unsigned long value) {
    wchar_t buf[24];
    swprintf(buf, 24, L"%lu", value);
    return WriteIniString(file, section, key, buf);
}

bool WriteIniFlag(const wchar_t* file, const wchar_t* section, const wchar_t* key, bool value) {
    return WriteIniString(file, section, key, value ? L"1" : L"0");
}

bool DeleteIniKey(const wchar_t* file, const wchar_t* section, const wchar_t* key) {
    if (!key) return false;
    return WriteIniString(file, section, key, nullptr);
}

bool DeleteIniSection(const wchar_t* file, const wchar_t* section) {
    if (!file || !*file || !section || IniWritesDiverted(file)) return false;
    IniFileLock lock;
    if (!lock.held()) return false;
    const bool deleted = WritePrivateProfileStringW(section, nullptr, nullptr, file) != FALSE;
    NoteIniWrite(file, section, IniWrite::Deleted, deleted);
    return deleted;
}

bool ReadIniDuration(const wchar_t* file, const wchar_t* section, const wchar_t* key, int64_t& value) {
    wchar_t buf[100];
    ReadIniString(file, section, key, L"", buf, 100);
    const wchar_t* p = buf;
    while (IsSpace(*p)) ++p;
    bool negative = false;
    if (*p == L'+' || *p == L'-') negative = (*p++ == L'-');
    if (!IsDigit(*p)) return false;
    // Accumulate as a negative number so that the smallest value fits too.
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    int64_t ms = 0;
    for (; IsDigit(*p); ++p) {
        int digit = *p - L'0';
        if (ms < (kMin + digit) / 10) return false;
        ms = ms * 10 - digit;
    }
    if (!negative) {
        if (ms == kMin) return false;
        ms = -ms;
    }
    constexpr int64_t kUnit = 10000;  // milliseconds to 100 ns
    if (ms > std::numeric_limits<int64_t>::max() / kUnit || ms < kMin / kUnit) return false;
    value = ms * kUnit;
    return true;
}

bool WriteIniDuration(const wchar_t* file, const wchar_t* section, const wchar_t* key, int64_t value100ns) {
    wchar_t buf[32];
    swprintf(buf, 32, L"%lld", static_cast<long long>(value100ns / 10000));
    return WriteIniString(file, section, key, buf);
}

namespace {

// scanf's %<width>hu: blanks skipped, then 1..width digits.
bool ScanNumber(const wchar_t*& p, int width, WORD& out) {
    while (IsSpace(*p)) ++p;
    if (!IsDigit(*p)) return false;
    unsigned value = 0;
    for (int i = 0; i < width && IsDigit(*p); ++i, ++p) value = value * 10 + static_cast<unsigned>(*p - L'0');
    out = static_cast<WORD>(value);
    return true;
}

}  // namespace

bool ParseIniSystemTime(const wchar_t* text, SYSTEMTIME& time, wchar_t* trailingWord, size_t wordSize) {
    if (trailingWord && wordSize) trailingWord[0] = 0;
    if (!text) return false;
    WORD f[6] = {};
    static constexpr int kWidth[6] = {4, 2, 2, 2, 2, 2};
    static constexpr wchar_t kAfter[6] = {L'.', L'.', L' ', L':', L':', 0};
    const wchar_t* p = text;
    for (int i = 0; i < 6; ++i) {
        if (!ScanNumber(p, kWidth[i], f[i])) return false;
        if (kAfter[i] == L' ') {
            while (IsSpace(*p)) ++p;
        } else if (kAfter[i]) {
            if (*p != kAfter[i]) return false;
            ++p;
        }
    }
    SYSTEMTIME t = {};
    t.wYear = f[0];
    t.wMonth = f[1];
    t.wDay = f[2];
    t.wHour = f[3];
    t.wMinute = f[4];
    t.wSecond = f[5];
    FILETIME ft;
    SYSTEMTIME normal;
    if (!SystemTimeToFileTime(&t, &ft) || !FileTimeToSystemTime(&ft, &normal)) return false;
    time = normal;
    if (trailingWord && wordSize) {
        while (IsSpace(*p)) ++p;
        size_t n = 0;
        while (p[n] && !IsSpace(p[n])) ++n;
        if (n > wordSize - 1) n = wordSize - 1;
        wmemcpy(trailingWord, p, n);
        trailingWord[n] = 0;
    }
    return true;
}

bool ReadIniSystemTime(const wchar_t* file, const wchar_t* section, const wchar_t* key, SYSTEMTIME& time,
                       wchar_t* trailingWord, size_t wordSize) {
    wchar_t buf[kIniValueChars];
    ReadIniString(file, section, key, L"", buf, kIniValueChars);
    return ParseIniSystemTime(buf, time, trailingWord, wordSize);
}

std::wstring FormatIniSystemTime(const SYSTEMTIME& time, const wchar_t* trailingText) {
    wchar_t buf[kIniValueChars];
    swprintf(buf, kIniValueChars, L"%04u.%02hu.%02u %02u:%02u:%02u", static_cast<unsigned>(time.wYear),
             time.wMonth, static_cast<unsigned>(time.wDay), static_cast<unsigned>(time.wHour),
             static_cast<unsigned>(time.wMinute), static_cast<unsigned>(time.wSecond));
    std::wstring text = buf;
    if (trailingText) text += trailingText;
    if (text.size() > kIniValueChars - 1) text.resize(kIniValueChars - 1);
    return text;
}

bool WriteIniSystemTime(const SYSTEMTIME& time, const wchar_t* file, const wchar_t* section, const wchar_t* key,
                        const wchar_t* trailingText) {
    return WriteIniString(file, section, key, FormatIniSystemTime(time, trailingText).c_str());
}

std::vector<std::wstring> ReadIniKeyList(const wchar_t* file, const wchar_t* section) {
    if (!file || !*file || !section) return {};
    if (const IniSectionCopy* copy = CachedIniSection(file, section)) return copy->Keys();
    std::wstring list = ReadList(kIniKeyListChars, [&](wchar_t* buf, DWORD size) {
        return GetPrivateProfileStringW(section, nullptr, L"", buf, size, file);
    });
    return SplitZeroList(list.data(), list.size());
}

std::vector<std::wstring> ReadIniSectionNames(const wchar_t* file) {
    if (!file || !*file) return {};
    std::wstring list = ReadList(kIniSectionChars, [&](wchar_t* buf, DWORD size) {
        return GetPrivateProfileSectionNamesW(buf, size, file);
    });
    return SplitZeroList(list.data(), list.size());
}

std::wstring ReadIniSection(const wchar_t* file, const wchar_t* section) {
    if (!file || !*file || !section) return std::wstring();
    if (const IniSectionCopy* copy = CachedIniSection(file, section)) return copy->raw;
    return ReadIniSectionFromFile(file, section);
}

std::wstring ReadIniSectionFromFile(const wchar_t* file, const wchar_t* section) {
    std::wstring data = ReadList(kIniSectionChars, [&](wchar_t* buf, DWORD size) {
        return GetPrivateProfileSectionW(section, buf, size, file);
    });
    // An empty section is an empty text; otherwise keep the lines' own zeros.
    if (data.size() <= 1) return std::wstring();
    return data;
}

bool WriteIniSection(const wchar_t* file, const wchar_t* section, const std::wstring& lines) {
    if (!file || !*file || !section || IniWritesDiverted(file)) return false;
    std::wstring block = lines;
    // The profile functions need the list closed by two zeros.
    block.push_back(L'\0');
    block.push_back(L'\0');
    IniFileLock lock;
    if (!lock.held()) return false;
    const bool written = WritePrivateProfileSectionW(section, block.c_str(), file) != FALSE;
    NoteIniWrite(file, section, IniWrite::Replaced, written, lines);
    return written;
}
