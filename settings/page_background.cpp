#include "settings/page_background.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <cwchar>
#include <cwctype>

#include "common/platform/lent_pointer.h"
#include "common/settings/background_text.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/settings/time_combo.h"
#include "common/settings/time_format.h"
#include "common/platform/text_bounds.h"
#include "settings/common_dialogs.h"
#include "settings/page_options_common.h"
#include "settings/page_hidden.h"

namespace {

constexpr int64_t kTicksPerSecond = 10000000;
constexpr int kComboDropItems = 12;

ProfilePageHooks g_hooks;

enum class Variant { kClock, kDates, kDurations };

HWND Item(HWND page, int id) { return GetDlgItem(page, id); }

Variant PageVariant(HWND page) {
    if (Item(page, kIdcFromDate)) return Variant::kDates;
    if (Item(page, kIdcFromFields[0])) return Variant::kDurations;
    return Variant::kClock;
}

BackgroundProfile* Profile(HWND page) {
    return reinterpret_cast<BackgroundProfile*>(GetWindowLongPtrW(page, GWLP_USERDATA));
}

const ClockRecord* CurrentClock(HWND page) {
    ClockRecord* clock = nullptr;
    if (HWND dialog = GetParent(page)) {
        SendWithPointer(dialog, WM_GET_CLOCK_RECORD, 0, &clock);
    }
    return clock;
}

void SetTimeText(HWND page, int id, int minute) {
    wchar_t text[kProfileTimeChars + 11] = {};
    FormatSeconds(text, ARRAYSIZE(text), static_cast<unsigned>(minute) * 60u % 86400u, false);
    SetDlgItemTextW(page, id, text);
}

// The times of day every 30 minutes, and midnight once more as the end of
// the day.
void FillTimeCombos(HWND page) {
    for (int id : {kIdcFromTime, kIdcToTime}) {
        HWND combo = Item(page, id);
        FillTimeCombo(combo, 30, true);
        wchar_t midnight[kProfileTimeChars + 11] = {};
        FormatSeconds(midnight, ARRAYSIZE(midnight), 0, false);
        const LRESULT at = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(midnight));
        if (at >= 0) SendMessageW(combo, CB_SETITEMDATA, at, 1440);
        SendMessageW(combo, CB_SETMINVISIBLE, kComboDropItems, 0);
        SendMessageW(combo, CB_SETCURSEL, 0, 0);
    }
}

void ShowDuration(HWND page, const int (&ids)[4], uint64_t ticks) {
    const int64_t seconds = static_cast<int64_t>(ticks / kTicksPerSecond);
    const int64_t parts[4] = {seconds / 86400, seconds / 3600 % 24, seconds / 60 % 60, seconds % 60};
    for (int i = 0; i < 4; ++i) {
        wchar_t text[24] = {};
        swprintf(text, ARRAYSIZE(text), L"%d", static_cast<int>(parts[i]));
        SetDlgItemTextW(page, ids[i], text);
    }
}

// Each field must begin with a decimal number; days at most 999. The id of
// the first field that fails, else 0.
int ReadDuration(HWND page, const int (&ids)[4], uint64_t& ticks) {
    static constexpr int64_t kUnit[4] = {86400, 3600, 60, 1};
    int64_t seconds = 0;
    for (int i = 0; i < 4; ++i) {
        wchar_t text[16] = {};
        GetDlgItemTextW(page, ids[i], text, ARRAYSIZE(text));
        if (!std::iswdigit(text[0])) return ids[i];
        const int64_t value = wcstoll(text, nullptr, 10);
        if (i == 0 && value > kMaxDurationDays) return ids[i];
        // A field longer than its box allows cannot come from the page; a
        // pasted huge number must not wrap.
        if (value > 9999999999LL) return ids[i];
        seconds += value * kUnit[i];
    }
    ticks = static_cast<uint64_t>(seconds) * kTicksPerSecond;
    return 0;
}

void SetPicker(HWND page, int id, const SYSTEMTIME& time) {
    SYSTEMTIME t = time;
    if (t.wYear < 1601) GetLocalTime(&t);
    SendDlgItemMessageW(page, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
}

SYSTEMTIME ReadPickers(HWND page, int dateId, int timeId) {
    SYSTEMTIME date = {};
    SYSTEMTIME time = {};
    SendDlgItemMessageW(page, dateId, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&date));
    SendDlgItemMessageW(page, timeId, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    date.wHour = time.wHour;
    date.wMinute = time.wMinute;
    date.wSecond = time.wSecond;
    date.wMilliseconds = 0;
    return date;
}

// A whole minute of the day from a time combo box, else -1.
int ReadMinute(HWND page, int id) {
    wchar_t text[kProfileTimeChars + 1] = {};
    GetDlgItemTextW(page, id, text, ARRAYSIZE(text));
    const int seconds = ParseTimeText(text);
    if (seconds < 0 || seconds % 60 != 0) return -1;
    return seconds / 60;
}

void UpdatePreview(HWND page, const BackgroundProfile* profile) {
    const ClockRecord* clock = CurrentClock(page);
    if (!clock || !g_hooks.setPreview) return;
    g_hooks.setPreview(clock, profile);
    InvalidateRect(Item(page, kIdcPreview), nullptr, FALSE);
}

void Load(HWND page, BackgroundProfile* profile) {
    SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(profile));
    if (!profile) return;
    PageLoadingScope loading;
    wchar_t name[kProfileNameChars + 1] = {};
    CopyBounded(name, profile->name);
    SetDlgItemTextW(page, kIdcProfileName, name);
    SetDlgItemTextW(page, kIdcProfileNameMirror, name);
    switch (PageVariant(page)) {
        case Variant::kDurations:
            ShowDuration(page, kIdcFromFields, profile->from);
            ShowDuration(page, kIdcToFields, profile->to);
            break;
        case Variant::kDates:
            SetPicker(page, kIdcFromDate, profile->fromDate);
            SetPicker(page, kIdcFromClock, profile->fromDate);
            SetPicker(page, kIdcToDate, profile->toDate);
            SetPicker(page, kIdcToClock, profile->toDate);
            break;
        case Variant::kClock:
            for (int d = 0; d < 7; ++d) {
                CheckDlgButton(page, kIdcWeekdays[d], (profile->weekdayMask >> d) & 1 ? BST_CHECKED : BST_UNCHECKED);
            }
            SetTimeText(page, kIdcFromTime, profile->fromMinute);
            SetTimeText(page, kIdcToTime, profile->toMinute);
            break;
    }
    SendDlgItemMessageW(page, kIdcOpacity, TBM_SETRANGE, TRUE, MAKELPARAM(0, kMaxOpacityPosition));
    SendDlgItemMessageW(page, kIdcOpacity, TBM_SETPOS, TRUE, OpacityToPosition(profile->opacity));
    UpdatePreview(page, profile);
}

// The control that failed (the last one found), else null.
HWND Store(HWND page, BackgroundProfile* profile) {
    if (!profile) return nullptr;
    HWND failed = nullptr;
    wchar_t name[kProfileNameChars + 1] = {};
    GetDlgItemTextW(page, kIdcProfileName, name, ARRAYSIZE(name));
    CopyBounded(profile->name, name);
    switch (PageVariant(page)) {
        case Variant::kClock: {
            const int from = ReadMinute(page, kIdcFromTime);
            if (from < 0) failed = Item(page, kIdcFromTime);
            else profile->fromMinute = from;
            const int to = ReadMinute(page, kIdcToTime);
            if (to < 0) failed = Item(page, kIdcToTime);
            else profile->toMinute = to;
            uint32_t mask = 0;
            for (int d = 0; d < 7; ++d) {
                if (IsDlgButtonChecked(page, kIdcWeekdays[d]) == BST_CHECKED) mask |= 1u << d;
            }
            profile->weekdayMask = mask;
            break;
        }
        case Variant::kDurations: {
            uint64_t from = 0;
            uint64_t to = 0;
            int bad = ReadDuration(page, kIdcFromFields, from);
            if (!bad) bad = ReadDuration(page, kIdcToFields, to);
            if (bad) {
                failed = Item(page, bad);
            } else {
                profile->from = from;
                profile->to = to;
            }
            break;
        }
        case Variant::kDates: {
            profile->fromDate = ReadPickers(page, kIdcFromDate, kIdcFromClock);
            profile->toDate = ReadPickers(page, kIdcToDate, kIdcToClock);
            if (const ClockRecord* clock = CurrentClock(page)) ProfileRangeToFileTimes(*clock, *profile);
            break;
        }
    }
    const int position = static_cast<int>(SendDlgItemMessageW(page, kIdcOpacity, TBM_GETPOS, 0, 0));
    profile->opacity = PositionToOpacity(position);
    UpdatePreview(page, profile);
    return failed;
}

bool DefaultChooseColour(HWND owner, COLORREF& colour) {
    // The custom colours live only for this one call.
    COLORREF custom[16] = {};
    CHOOSECOLORW cc = {};
    cc.lStructSize = sizeof(cc);
    cc.hwndOwner = owner;
    cc.rgbResult = colour;
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColourDialog(&cc)) return false;
    colour = cc.rgbResult;
    return true;
}

void OnColour(HWND page) {
    BackgroundProfile* profile = Profile(page);
    if (!profile) return;
    COLORREF colour = profile->colour;
    const bool chosen = g_hooks.chooseColour ? g_hooks.chooseColour(page, colour) : DefaultChooseColour(page, colour);
    if (!chosen) return;
    profile->colour = colour;
    NotifyPageChanged(page, kChangedPreview);
}

void OnWeekday(HWND page, int id) {
    for (int d : kIdcWeekdays) {
        if (IsDlgButtonChecked(page, d) == BST_CHECKED) {
            NotifyPageChanged(page, 0);
            return;
        }
    }
    // A clock's period has at least one day.
    CheckDlgButton(page, id, BST_CHECKED);
}

bool IsDurationField(int id) {
    for (int i = 0; i < 4; ++i) {
        if (id == kIdcFromFields[i] || id == kIdcToFields[i]) return true;
    }
    return false;
}

INT_PTR OnCommand(HWND page, int id, WORD code) {
    if (id == kIdcProfileName && code == EN_CHANGE) {
        wchar_t name[kProfileNameChars + 1] = {};
        GetDlgItemTextW(page, kIdcProfileName, name, ARRAYSIZE(name));
        SetDlgItemTextW(page, kIdcProfileNameMirror, name);
        NotifyPageChanged(page, kChangedTitle);
        return TRUE;
    }
    if (IsDurationField(id)) {
        if (code == EN_CHANGE) NotifyPageChanged(page, kChangedTitle);
        return TRUE;
    }
    if (id == kIdcFromTime || id == kIdcToTime) {
        if (code == CBN_SELCHANGE || code == CBN_EDITCHANGE) NotifyPageChanged(page, 0);
        return TRUE;
    }
    if (id == kIdcColour && code == BN_CLICKED) {
        OnColour(page);
        return TRUE;
    }
    for (int d : kIdcWeekdays) {
        if (id == d) {
            if (code == BN_CLICKED) OnWeekday(page, id);
            return TRUE;
        }
    }
    return FALSE;
}

void OnCreate(HWND page) {
    Language().TranslateDialog(page, BackgroundPageSection(CurrentClock(page)));
    SendDlgItemMessageW(page, kIdcProfileName, EM_LIMITTEXT, kProfileNameChars, 0);
    if (PageVariant(page) == Variant::kClock) FillTimeCombos(page);
    if (PageVariant(page) == Variant::kDurations) {
        for (int i = 0; i < 4; ++i) {
            SendDlgItemMessageW(page, kIdcFromFields[i], EM_LIMITTEXT, kDurationFieldChars[i], 0);
            SendDlgItemMessageW(page, kIdcToFields[i], EM_LIMITTEXT, kDurationFieldChars[i], 0);
        }
    }
    SendDlgItemMessageW(page, kIdcOpacity, TBM_SETRANGE, TRUE, MAKELPARAM(0, kMaxOpacityPosition));
    SetTimer(page, kPreviewTimer, kPreviewTimerMs, nullptr);
}

INT_PTR Handle(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnCreate(page);
            return TRUE;
        case WM_SHOWWINDOW:
            ForgetPageRecordWhenHidden(page, wParam, lParam);
            return FALSE;
        case MSG_LANGUAGE_CHANGED:
            Language().TranslateDialog(page, BackgroundPageSection(CurrentClock(page)));
            return TRUE;
        case WM_PAGE_EXCHANGE: {
            auto* block = LentPointer<PageExchangeBlock>(lParam);
            if (!block) return TRUE;
            auto* profile = static_cast<BackgroundProfile*>(block->record);
            if (wParam == 0) {
                Load(page, profile);
            } else {
                block->failedControl = Store(page, profile);
            }
            return TRUE;
        }
        case WM_COMMAND:
            return OnCommand(page, LOWORD(wParam), HIWORD(wParam));
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header && header->code == DTN_DATETIMECHANGE && header->idFrom >= kIdcFromDate &&
                header->idFrom <= kIdcToClock) {
                NotifyPageChanged(page, 0);
                return TRUE;
            }
            return FALSE;
        }
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lParam) == Item(page, kIdcOpacity) && LOWORD(wParam) == TB_ENDTRACK) {
                const BackgroundProfile* profile = Profile(page);
                const int position = static_cast<int>(SendDlgItemMessageW(page, kIdcOpacity, TBM_GETPOS, 0, 0));
                if (profile && PositionToOpacity(position) != profile->opacity) {
                    NotifyPageChanged(page, kChangedPreview);
                }
            }
            return TRUE;
        case WM_TIMER:
            if (wParam == kPreviewTimer && g_hooks.hasPreviewClock && g_hooks.hasPreviewClock() &&
                IsWindowVisible(page)) {
                InvalidateRect(Item(page, kIdcPreview), nullptr, FALSE);
            }
            return TRUE;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (!item || item->CtlID != kIdcPreview) return FALSE;
            if (g_hooks.draw) g_hooks.draw(item);
            return TRUE;
        }
        case WM_WININICHANGE:
            if (PageVariant(page) == Variant::kClock) {
                ReadLocaleTimeFormat();
                PageLoadingScope loading;
                FillTimeCombos(page);
                if (const BackgroundProfile* profile = Profile(page)) {
                    SetTimeText(page, kIdcFromTime, profile->fromMinute);
                    SetTimeText(page, kIdcToTime, profile->toMinute);
                }
            }
            return FALSE;
        case WM_DESTROY:
            KillTimer(page, kPreviewTimer);
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

ProfilePageHooks SetProfilePageHooks(const ProfilePageHooks& hooks) {
    ProfilePageHooks old = g_hooks;
    g_hooks = hooks;
    return old;
}

int OpacityToPosition(uint32_t opacity) {
    const int position = static_cast<int>(opacity / 2);
    return position > kMaxOpacityPosition ? kMaxOpacityPosition : position;
}

uint32_t PositionToOpacity(int position) {
    if (position < 0) return 0;
    return position < kMaxOpacityPosition ? static_cast<uint32_t>(position) * 2 : 255u;
}

const wchar_t* BackgroundPageSection(const ClockRecord* clock) {
    if (!clock || !IsTimerClock(*clock)) return L"DLG_PageBkg";
    if (HasSetDate(*clock)) return L"DLG_PageBkg_At";
    if (IsStopwatch(*clock)) return L"DLG_PageBkg_Up";
    return L"DLG_PageBkg_Down";
}

INT_PTR CALLBACK BackgroundPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return Handle(page, message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}
