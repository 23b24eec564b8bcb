#include "tempovia/main/command_line.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool SameWord(const wchar_t* word, const wchar_t* name) {
    return CompareStringOrdinal(word, -1, name, -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

const char* MultiByteToWide(const char* text, wchar_t* buffer, std::size_t capacity) {
    if (buffer && capacity > 0) buffer[0] = L'\0';
    if (!text) return nullptr;
    const char* p = text;
    while (IsBlank(*p)) ++p;
    const char* start = p;
    const char* end = p;
    if (*p == '"' || *p == '\'') {
        const char quote = *p;
        start = p + 1;
        end = start;
        while (*end && *end != quote) ++end;
    } else {
        while (*end && !IsBlank(*end)) ++end;
    }
    const std::size_t length = static_cast<std::size_t>(end - start);
    if (length == 0) return text;
    if (buffer) {
        // Refuse rather than cut: a shortened path would name another file.
        if (capacity == 0 || length >= capacity || length > 0x7FFFFFFF) return text;
        int n = MultiByteToWideChar(CP_ACP, 0, start, static_cast<int>(length), buffer,
                                    static_cast<int>(capacity - 1));
        if (n <= 0) {
            buffer[0] = L'\0';
            return text;
        }
        buffer[n] = L'\0';
    }
    return end;
}

void ParseCommandLine(const char* text, CommandLineOptions& options) {
    options = CommandLineOptions{};
    if (!text) return;
    const char* p = text;
    while (*p) {
        while (*p && *p != '/') ++p;
        if (!*p) break;
        const char* wordStart = p;
        wchar_t word[kSwitchWordMax + 1];
        std::size_t n = 0;
        while (n < kSwitchWordMax && p[n] && !IsBlank(p[n])) {
            word[n] = static_cast<wchar_t>(static_cast<unsigned char>(p[n]));
            ++n;
        }
        word[n] = L'\0';
        p += n;
        // The tail of an over-long word is not a switch of its own.
        while (*p && !IsBlank(*p)) ++p;

        if (SameWord(word, L"/exit")) {
            options.exitRequested = true;
        } else if (SameWord(word, L"/restart")) {
            options.restartRequested = true;
        } else if (SameWord(word, L"/import") || SameWord(word, L"/export")) {
            const char* behind = wordStart + n;
            (word[1] == L'i' || word[1] == L'I' ? options.importArg : options.exportArg) = behind;
            const char* next = MultiByteToWide(behind, nullptr, 0);
            if (next > p) p = next;
        } else if (SameWord(word, L"/nh")) {
            options.noHook = true;
        } else if (word[1] >= L'0' && word[1] <= L'9') {
            for (std::size_t i = 0; i <= n; ++i) options.settingsSwitch[i] = word[i];
        }
    }
}
