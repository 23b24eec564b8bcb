#include "tempovia/timetools/converter_text.h"

#include <cwchar>
#include <cwctype>
#include <iterator>

#include "common/graphics/faces/clock_texts.h"

namespace {

bool IsPictureLetter(wchar_t c) { return c == L'h' || c == L'H' || c == L'm' || c == L't'; }

}  // namespace

std::wstring StripSecondsFromTimePicture(const wchar_t* picture) {
    std::wstring text = picture ? picture : L"";
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted || c != L's') continue;
        size_t end = i;
        while (end < text.size() && text[end] == L's') ++end;
        // Back over the separator to the letter before it.
        size_t start = i;
        while (start > 0 && !IsPictureLetter(text[start - 1])) --start;
        text.erase(start, end - start);
        break;
    }
    return text;
}

std::wstring EscapeTipAmpersands(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size() * 2);
    bool inRun = false;
    for (wchar_t c : text) {
        if (c == L'&') {
            out.append(inRun ? 2 : 3, L'&');
            inRun = true;
        } else {
            out.push_back(c);
            inRun = false;
        }
    }
    return out;
}

std::wstring ConverterTipText(const ClockRecord& clock, const SYSTEMTIME& local) {
    wchar_t date[kDateTextChars] = {};
    if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &local, nullptr, date, kDateTextChars) <= 0) date[0] = 0;
    const size_t dateLength = wcslen(date);

    // The clock's own tooltip text, as the taskbar shows it.
    std::wstring text(clock.label, wcsnlen(clock.label, std::size(clock.label)));
    const size_t room = dateLength < 75 ? 75 - dateLength : 0;
    if (text.size() > room) text.resize(room);
    text = EscapeTipAmpersands(text);
    if (!text.empty()) text += L"\r\n";
    text += date;

    ClockRecord probe = clock;
    probe.currentTime = local;
    const int active = FindActiveBackground(probe, kNoBackground, nullptr, false);
    if (active >= 0 && active < kMaxBackgroundProfiles && probe.profiles[active].name[0]) {
        wchar_t name[79] = {};
        CopyRecordText(name, 79, probe.profiles[active].name);
        text += L"\r\n";
        text += name;
    }
    if (text.size() > kConverterTipChars) text.resize(kConverterTipChars);
    return text;
}
