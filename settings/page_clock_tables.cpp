#include "settings/page_clock_tables.h"

#include <cwchar>
#include <cwctype>

#include "common/settings/localisation.h"
#include "resources/resource_ids.h"

// "\n" in the pictures is the two characters backslash and n: the date and
// timer formatting reads them as a line break.
const FormatEntry kTimeFormats[kTimeFormatCount] = {
    {L"Default", IDS_FORMAT_DEFAULT}, {L"12 hours", IDS_FORMAT_12_HOURS}, {L"24 hours", IDS_FORMAT_24_HOURS}, {L"HH:mm:ss", 0}, {L"hh:mm:ss tt", 0},
    {L"hh:mm tt", 0},  {L"h:mm tt", 0},    {L"h:mm t", 0},     {L"tt h:mm", 0},  {L"HH:mm", 0},
    {L"H:mm", 0},      {L"hh tt", 0},      {L"HH", 0},
};

const FormatEntry kDateFormats[kDateFormatCount] = {
    {L"None", IDS_DATE_FORMAT_NONE},     {L"d.MM.yy", 0},   {L"dd.MM.yyyy", 0},     {L"\\ndd.MM.yyyy", 0}, {L"yyyy/MM/dd", 0},
    {L"d MMM", 0},      {L"MMM d", 0},     {L"ddd", 0},            {L"ddd d", 0},         {L"ddd d MMM", 0},
    {L"ddd MMM d", 0},  {L"dddd", 0},      {L"dddd\\nM/dd/yy", 0}, {L"Week w", IDS_WEEK_FORMAT},
};

const FormatEntry kTimerFormats[kTimerFormatCount] = {
    {L"%D %Dn\\n%h:%02m", 0},       {L"%D %Dn\\n%h %hn %m %mn", 0}, {L"%H %Hn\\n%m %mn %s %sn", 0},
    {L"%H:%02m:%02s", 0},           {L"%H %Hn %m %mn %s %sn", 0},   {L"%W %Wn %d %dn %h %hn", 0},
};

const UINT kClockActionTextIds[kClockActionCount] = {
    IDS_CLICK_CALENDAR,  IDS_CLICK_OPEN, IDS_CLICK_SETTINGS,   IDS_CLICK_CONVERTER,
    IDS_CLICK_DATE_TIME, IDS_CLICK_COPY, IDS_CLICK_TIME_TABLE, IDS_CLICK_START_STOP};

std::wstring FormatDisplayText(const FormatEntry& entry) {
    if (entry.textId != 0) {
        std::wstring text = Language().LoadUiString(entry.textId);
        if (!text.empty()) return text;
    }
    return entry.canonical;
}

std::wstring DisplayTextForFormat(const FormatEntry* table, int count, const wchar_t* stored) {
    if (!stored) return std::wstring();
    for (int i = count - 1; i >= 0; --i) {
        if (wcscmp(table[i].canonical, stored) == 0) return FormatDisplayText(table[i]);
    }
    return stored;
}

std::wstring StoredTextForFormat(const FormatEntry* table, int count, const wchar_t* shown, int keepEntry) {
    if (!shown) return std::wstring();
    for (int i = 0; i < count; ++i) {
        if (i == keepEntry || table[i].textId == 0) continue;
        if (FormatDisplayText(table[i]) == shown) return table[i].canonical;
    }
    return shown;
}

int ActionItemForRecord(int32_t action) { return action >= 0 && action < kClockActionCount ? action : 0; }

DurationFields SplitDuration(uint32_t seconds) {
    return {seconds / 86400, seconds / 3600 % 24, seconds / 60 % 60, seconds % 60};
}

namespace {

// A field must begin with a decimal number; blanks before it are allowed, a
// sign is not (a negative length means nothing here).
bool ReadField(const wchar_t* text, uint64_t limit, uint64_t* value) {
    if (!text) return false;
    while (*text == L' ' || *text == L'\t') ++text;
    if (*text < L'0' || *text > L'9') return false;
    uint64_t v = 0;
    for (; *text >= L'0' && *text <= L'9'; ++text) {
        v = v * 10 + static_cast<uint64_t>(*text - L'0');
        if (v > limit) return false;
    }
    *value = v;
    return true;
}

}  // namespace

bool ParseDuration(const wchar_t* days, const wchar_t* hours, const wchar_t* minutes, const wchar_t* seconds,
                   uint32_t* total) {
    constexpr uint64_t kMax = 0xFFFFFFFFull;
    uint64_t d = 0, h = 0, m = 0, s = 0;
    if (!ReadField(days, 999, &d) || !ReadField(hours, kMax, &h) || !ReadField(minutes, kMax, &m) ||
        !ReadField(seconds, kMax, &s)) {
        return false;
    }
    const uint64_t sum = d * 86400 + h * 3600 + m * 60 + s;
    if (sum > kMax) return false;
    if (total) *total = static_cast<uint32_t>(sum);
    return true;
}

std::wstring CityPrefix(const wchar_t* cityName) {
    if (!cityName) return std::wstring();
    std::wstring name(cityName, wcsnlen(cityName, 512));
    const size_t comma = name.find(L',');
    if (comma != std::wstring::npos) name.resize(comma);
    if (name.size() > 30) name.resize(30);
    return name;
}

bool IsBlankText(const wchar_t* text) {
    if (!text) return true;
    for (; *text; ++text) {
        if (!iswspace(*text)) return false;
    }
    return true;
}
