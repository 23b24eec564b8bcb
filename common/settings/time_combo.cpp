#include "common/settings/time_combo.h"

#include "common/platform/dialog_utils.h"
#include "common/settings/time_format.h"

namespace {
constexpr int kMinutesPerDay = 1440;
constexpr int kDropItems = 12;
}  // namespace

int FillTimeCombo(HWND combo, int stepMinutes, bool limitHeight) {
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    int added = 0;
    // A step of 0 would never reach the end of the day.
    for (int minute = 0; stepMinutes > 0 && minute < kMinutesPerDay; minute += stepMinutes) {
        wchar_t text[64];
        FormatSeconds(text, 64, static_cast<unsigned>(minute) * 60, false);
        LRESULT index = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        if (index < 0) break;
        SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), minute);
        ++added;
    }
    if (limitHeight) SetComboDropHeight(combo, kDropItems);
    return added;
}
