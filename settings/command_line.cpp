#include "settings/command_line.h"

#include <cwctype>

#include "common/records/protocol.h"

namespace {

enum class Match { Prefix, WholeRest };

struct Keyword {
    const wchar_t* text;
    unsigned int compared;  // characters compared
    Match match;
    unsigned int page;      // 0 with install
    bool install;
};

// The order decides: "alarms" before "alarm", "profiles" before "profile",
// and the two whole-text keywords before "new", which would take them too.
const Keyword kKeywords[] = {
    {L"del", 3, Match::Prefix, SETTINGS_PAGE_DELETE_CLOCK, false},
    {L"new_alarm", 9, Match::Prefix, SETTINGS_PAGE_NEW_ALARM, false},
    {L"new_timer", 9, Match::WholeRest, SETTINGS_PAGE_NEW_COUNTDOWN, false},
    {L"new_stopwatch", 13, Match::WholeRest, SETTINGS_PAGE_NEW_STOPWATCH, false},
    {L"new", 3, Match::Prefix, SETTINGS_PAGE_NEW_CLOCK, false},
    {L"zone", 4, Match::Prefix, SETTINGS_PAGE_CLOCK_ZONE, false},
    {L"skin", 4, Match::Prefix, SETTINGS_PAGE_CLOCK_DESKTOP, false},
    {L"formats", 7, Match::Prefix, SETTINGS_PAGE_CLOCK_FORMATS, false},
    {L"alarms", 6, Match::Prefix, SETTINGS_PAGE_ALARMS, false},
    {L"alarm", 5, Match::Prefix, SETTINGS_PAGE_ALARM, false},
    {L"profiles", 8, Match::Prefix, SETTINGS_PAGE_PROFILES, false},
    {L"profile", 7, Match::Prefix, SETTINGS_PAGE_PROFILE, false},
    {L"taskbar", 7, Match::Prefix, SETTINGS_PAGE_TASKBAR, false},
    {L"sync", 4, Match::Prefix, SETTINGS_PAGE_SYNC, false},
    {L"general", 7, Match::Prefix, SETTINGS_PAGE_GENERAL, false},
    {L"rss", 3, Match::Prefix, SETTINGS_PAGE_NEWS, false},
    {L"inst", 4, Match::Prefix, 0, true},
};

wchar_t Lower(wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); }

// Case-insensitive: the first `n` characters of text equal those of word.
// A text that ends early never matches.
bool StartsWith(const wchar_t* text, const wchar_t* word, unsigned int n) {
    for (unsigned int i = 0; i < n; ++i) {
        if (text[i] == L'\0' || Lower(text[i]) != Lower(word[i])) return false;
    }
    return true;
}

bool EqualsWhole(const wchar_t* text, const wchar_t* word) {
    unsigned int i = 0;
    for (; word[i]; ++i) {
        if (text[i] == L'\0' || Lower(text[i]) != Lower(word[i])) return false;
    }
    return text[i] == L'\0';
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Decimal digits from p, saturating at kSwitchNumberMax; p ends behind them.
unsigned int ReadNumber(const wchar_t*& p) {
    unsigned int value = 0;
    while (IsDigit(*p)) {
        value = value * 10 + static_cast<unsigned int>(*p - L'0');
        if (value > kSwitchNumberMax) value = kSwitchNumberMax;
        ++p;
    }
    return value;
}

// The text behind the slash of the switch, or null when the line has none.
const wchar_t* FindSwitch(const wchar_t* line) {
    bool quoted = false;
    for (const wchar_t* p = line; *p; ++p) {
        if (*p == L'"') {
            quoted = !quoted;
        } else if (!quoted && (*p == L' ' || *p == L'\t') && p[1] == L'/') {
            return p + 2;
        }
    }
    return nullptr;
}

}  // namespace

SettingsCommand ParseSettingsCommandLine(const wchar_t* line) {
    SettingsCommand command;
    if (!line) return command;
    const wchar_t* text = FindSwitch(line);
    if (!text) return command;

    const Keyword* found = nullptr;
    for (const Keyword& k : kKeywords) {
        const bool hit = k.match == Match::WholeRest ? EqualsWhole(text, k.text) : StartsWith(text, k.text, k.compared);
        if (hit) {
            found = &k;
            break;
        }
    }

    const wchar_t* p = text + (found ? found->compared : 0);
    command.clock = ReadNumber(p);
    if (*p == L'.' && IsDigit(p[1])) {
        ++p;
        command.item = ReadNumber(p);
    }
    if (found) {
        command.page = found->page;
        command.install = found->install;
    } else if (command.clock > 0) {
        command.page = SETTINGS_PAGE_CLOCK;
    }
    return command;
}
