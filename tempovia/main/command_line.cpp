#include "tempovia/main/command_line.h"

#include <cwchar>

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

namespace {

// One switch word of the command line: where it starts, its text (widened
// byte by byte, at most kSwitchWordMax characters) and where the scan goes on.
struct SwitchWord {
    const char* start = nullptr;
    const char* behind = nullptr;  // just behind the word as read
    const char* next = nullptr;    // behind the word's over-long tail, or its file argument
    wchar_t text[kSwitchWordMax + 1] = {};
    bool takesFile = false;  // /import or /export
};

// The next switch at or after p; false when there is none.
bool NextSwitch(const char* p, SwitchWord& word) {
    while (*p && *p != '/') ++p;
    if (!*p) return false;
    word.start = p;
    std::size_t n = 0;
    while (n < kSwitchWordMax && p[n] && !IsBlank(p[n])) {
        word.text[n] = static_cast<wchar_t>(static_cast<unsigned char>(p[n]));
        ++n;
    }
    word.text[n] = L'\0';
    word.behind = p + n;
    p += n;
    // The tail of an over-long word is not a switch of its own.
    while (*p && !IsBlank(*p)) ++p;
    word.takesFile = SameWord(word.text, L"/import") || SameWord(word.text, L"/export");
    if (word.takesFile) {
        const char* next = MultiByteToWide(word.behind, nullptr, 0);
        if (next > p) p = next;
    }
    word.next = p;
    return true;
}

}  // namespace

void ParseCommandLine(const char* text, CommandLineOptions& options) {
    options = CommandLineOptions{};
    if (!text) return;
    SwitchWord word;
    for (const char* p = text; NextSwitch(p, word); p = word.next) {
        if (SameWord(word.text, L"/exit")) {
            options.exitRequested = true;
        } else if (SameWord(word.text, L"/restart")) {
            options.restartRequested = true;
        } else if (word.takesFile) {
            (word.text[1] == L'i' || word.text[1] == L'I' ? options.importArg : options.exportArg) = word.behind;
        } else if (SameWord(word.text, L"/nh")) {
            options.noHook = true;
        } else if (word.text[1] >= L'0' && word.text[1] <= L'9') {
            const std::size_t n = wcslen(word.text);
            for (std::size_t i = 0; i <= n; ++i) options.settingsSwitch[i] = word.text[i];
        }
    }
}

std::string WithoutFileSwitches(const char* text) {
    std::string out;
    if (!text) return out;
    const char* kept = text;
    SwitchWord word;
    for (const char* p = text; NextSwitch(p, word); p = word.next) {
        if (!word.takesFile) continue;
        out.append(kept, word.start);
        kept = word.next;
        // A closing quote of the file argument goes with it.
        if (*kept == '"' || *kept == '\'') ++kept;
    }
    out.append(kept);
    const std::size_t first = out.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return out.substr(first, out.find_last_not_of(" \t") - first + 1);
}
