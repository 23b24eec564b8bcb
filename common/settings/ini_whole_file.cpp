#include "common/settings/ini_whole_file.h"

#include <cwctype>

#include "common/settings/ini_store.h"

namespace {

// Larger files are read section by section, as the profile functions do.
constexpr DWORD kMaxPlainBytes = 4u << 20;

// Characters the profile functions may trim from the ends of a name or a
// value: a line that has one there is left to them.
bool IsTrimmable(wchar_t c) {
    return c <= L' ' || c == 0x1A || c == 0x85 || c == 0xA0 || c == 0xFEFF || std::iswspace(c) ||
           (c >= 0x2000 && c <= 0x200B) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
           c == 0x3000 || c == 0x1680;
}

bool HasCleanEnds(const wchar_t* begin, const wchar_t* end) {
    return begin < end && !IsTrimmable(*begin) && !IsTrimmable(end[-1]);
}

// Control characters other than a tab inside a value are the profile
// functions' business (line ends, end-of-file marks).
bool HasControls(const wchar_t* begin, const wchar_t* end) {
    for (const wchar_t* p = begin; p < end; ++p)
        if (*p < L' ' && *p != L'\t') return true;
    return false;
}

std::optional<std::wstring> DecodeText(const std::string& bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t n = bytes.size();
    std::wstring text;
    if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
        if (n % 2) return std::nullopt;
        text.resize((n - 2) / 2);
        for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<wchar_t>(b[2 + 2 * i] | b[3 + 2 * i] << 8);
        return text;
    }
    // Big-endian UTF-16 and UTF-8 marks are read differently by different
    // versions of the profile functions; text with zero bytes is UTF-16
    // without its mark.
    if (n >= 2 && b[0] == 0xFE && b[1] == 0xFF) return std::nullopt;
    if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) return std::nullopt;
    if (bytes.find('\0') != std::string::npos) return std::nullopt;
    if (n == 0) return text;
    // 8-bit text is in the system's code page, as the profile functions take it.
    const int chars = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(n), nullptr, 0);
    if (chars <= 0) return std::nullopt;
    text.resize(static_cast<size_t>(chars));
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(n), text.data(), chars);
    return text;
}

}  // namespace

bool ReadWholeFile(const wchar_t* path, std::string& bytes, DWORD maxBytes) {
    bytes.clear();
    HANDLE h = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size = {};
    bool ok = GetFileSizeEx(h, &size) && size.QuadPart <= maxBytes;
    if (ok && size.QuadPart > 0) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        ok = ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size();
    }
    CloseHandle(h);
    if (!ok) bytes.clear();
    return ok;
}

std::optional<std::vector<IniFileSection>> ReadPlainIniFile(const wchar_t* path) {
    if (!path || !*path) return std::nullopt;
    std::string bytes;
    if (!ReadWholeFile(path, bytes, kMaxPlainBytes)) return std::nullopt;
    return ParsePlainIni(bytes);
}

std::optional<std::vector<IniFileSection>> ParsePlainIni(const std::string& bytes) {
    if (bytes.size() > kMaxPlainBytes) return std::nullopt;
    const std::optional<std::wstring> decoded = DecodeText(bytes);
    if (!decoded) return std::nullopt;
    const std::wstring& text = *decoded;

    std::vector<IniFileSection> sections;
    size_t at = 0;
    while (at < text.size()) {
        size_t next = text.find(L'\n', at);
        if (next == std::wstring::npos) next = text.size();
        const wchar_t* begin = text.data() + at;
        const wchar_t* end = text.data() + next;
        at = next + 1;
        if (end > begin && end[-1] == L'\r') --end;
        if (begin == end) continue;
        if (HasControls(begin, end)) return std::nullopt;
        if (*begin == L'[') {
            // Only "[name]" with nothing around the name that could be trimmed
            // and no bracket inside, which versions of the format split differently.
            if (end[-1] != L']' || !HasCleanEnds(begin + 1, end - 1)) return std::nullopt;
            std::wstring name(begin + 1, end - 1);
            if (name.find_first_of(L"[]") != std::wstring::npos) return std::nullopt;
            sections.push_back({std::move(name), std::wstring()});
            continue;
        }
        if (sections.empty() || *begin == L';') return std::nullopt;
        const wchar_t* eq = begin;
        while (eq < end && *eq != L'=') ++eq;
        if (eq == end || !HasCleanEnds(begin, eq)) return std::nullopt;
        if (eq + 1 < end && !HasCleanEnds(eq + 1, end)) return std::nullopt;
        std::wstring& raw = sections.back().raw;
        // The profile functions cut a section's list at their buffer size.
        if (raw.size() + static_cast<size_t>(end - begin) + 3 > kIniSectionChars) return std::nullopt;
        if (!raw.empty()) raw.pop_back();  // the list's closing zero goes back on after this line
        raw.append(begin, end);
        raw.append(2, L'\0');
    }
    return sections;
}
