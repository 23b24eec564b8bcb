// The cron editor: five fields in the text form of the `cron` key, each
// checked on its own so that a bad field keeps its old value.
#include <cwctype>
#include <iterator>

#include "common/settings/cron_text.h"
#include "settings/schedule_editor.h"

namespace {

constexpr int kFieldChars = 200;
constexpr int kLastDaysFromEnd = -30;

void ShowField(HWND editor, int id, uint64_t mask) {
    wchar_t text[kFieldChars];
    FormatCronField(mask, text, std::size(text));
    SetDlgItemTextW(editor, id, text);
}

// The whole text must parse; blanks around it are allowed.
bool ParseField(const wchar_t* text, uint64_t& mask, int low, int high) {
    while (*text == L' ') ++text;
    const wchar_t* end = ParseCronField(text, mask, low, high);
    if (!end) return false;
    while (*end == L' ') ++end;
    return *end == L'\0';
}

bool ReadField(HWND editor, int id, uint64_t& mask, int low, int high) {
    wchar_t text[kFieldChars] = {};
    GetDlgItemTextW(editor, id, text, static_cast<int>(std::size(text)));
    uint64_t parsed = 0;
    if (!ParseField(text, parsed, low, high)) return false;
    mask = parsed;
    return true;
}

// Days: a list of days 1..31, or one number counting back from the month's end.
bool ReadDays(HWND editor, int32_t& days) {
    wchar_t text[kFieldChars] = {};
    GetDlgItemTextW(editor, kIdcCronDays, text, static_cast<int>(std::size(text)));
    const wchar_t* p = text;
    while (*p == L' ') ++p;
    if (*p == L'-') {
        int n = 0;
        if (!ReadNumber(editor, kIdcCronDays, n) || n < kLastDaysFromEnd || n > -1) return false;
        days = n;
        return true;
    }
    uint64_t mask = 0;
    if (!ParseField(p, mask, 1, 31)) return false;
    days = static_cast<int32_t>(mask >> 1);
    return true;
}

void LoadCron(HWND editor, const AlarmRecord& a) {
    ShowField(editor, kIdcCronMinutes, a.cron.minutes);
    ShowField(editor, kIdcCronHours, a.cron.hours);
    if (a.cron.days < 0) {
        ShowNumber(editor, kIdcCronDays, a.cron.days);
    } else {
        ShowField(editor, kIdcCronDays, static_cast<uint64_t>(static_cast<uint32_t>(a.cron.days)) << 1);
    }
    ShowField(editor, kIdcCronMonths, a.cron.months);
    ShowField(editor, kIdcCronWeekdays, static_cast<uint64_t>(a.cron.weekdays) << 1);
}

void StoreCron(HWND editor, AlarmRecord& a, LPARAM block) {
    CronSchedule& c = a.cron;
    uint64_t mask = 0;
    if (ReadField(editor, kIdcCronMinutes, mask, 0, 59)) {
        c.minutes = mask;
    } else {
        Fail(block, editor, kIdcCronMinutes);
    }
    if (ReadField(editor, kIdcCronHours, mask, 0, 23)) {
        c.hours = static_cast<uint32_t>(mask);
    } else {
        Fail(block, editor, kIdcCronHours);
    }
    if (!ReadDays(editor, c.days)) Fail(block, editor, kIdcCronDays);
    if (ReadField(editor, kIdcCronMonths, mask, 1, 12)) {
        c.months = static_cast<uint32_t>(mask);
    } else {
        Fail(block, editor, kIdcCronMonths);
    }
    if (ReadField(editor, kIdcCronWeekdays, mask, 1, 7)) {
        c.weekdays = static_cast<uint32_t>(mask >> 1);
    } else {
        Fail(block, editor, kIdcCronWeekdays);
    }
}

bool CronCommand(HWND editor, WPARAM wParam) {
    const int id = LOWORD(wParam);
    if (id < kIdcCronMinutes || id > kIdcCronWeekdays) return false;
    if (HIWORD(wParam) == EN_CHANGE) {
        EditorChanged(editor);
    } else if (HIWORD(wParam) == EN_KILLFOCUS && id == kIdcCronDays) {
        // A stray character before the minus of a count from the month's end.
        wchar_t text[kFieldChars] = {};
        GetDlgItemTextW(editor, kIdcCronDays, text, static_cast<int>(std::size(text)));
        if (text[0] != L'\0' && !iswdigit(text[0]) && text[1] == L'-') SetDlgItemTextW(editor, kIdcCronDays, L"*");
    }
    return true;
}

constexpr int kCronLimits[] = {kIdcCronMinutes, 169, kIdcCronHours, 61, kIdcCronDays, 83,
                               kIdcCronMonths,  26,  kIdcCronWeekdays, 13, 0};
const EditorOps kCron = {kAlarmCron, nullptr, LoadCron, StoreCron, CronCommand, kCronLimits};

}  // namespace

INT_PTR CALLBACK CronDlgProc(HWND editor, UINT message, WPARAM wParam, LPARAM lParam) {
    return EditorProc(editor, message, wParam, lParam, kCron);
}
