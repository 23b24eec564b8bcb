// The clock page and its countdown and stopwatch variants: one dialog
// procedure, told apart by the resource they were made from.
#include <windows.h>
#include <commctrl.h>
#include <cderr.h>

#include <cstdint>

#include "common/platform/lent_pointer.h"
#include "common/records/clock_record.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/zones/city_list.h"
#include "common/platform/text_bounds.h"
#include "common/zones/zone_database.h"
#include "settings/main_dialog.h"
#include "settings/page_clock.h"
#include "settings/page_clock_services.h"
#include "settings/page_clock_tables.h"
#include "settings/page_controls.h"
#include "settings/page_hidden.h"
#include "settings/page_loading.h"

namespace {

ClockRecord* PageRecord(HWND page) { return reinterpret_cast<ClockRecord*>(GetWindowLongPtrW(page, GWLP_USERDATA)); }

const wchar_t* ClockPageSection(HWND page) {
    switch (static_cast<UINT>(GetWindowLongPtrW(page, DWLP_USER))) {
        case kCountdownPageResource:
            return L"DLG_PageCountdown";
        case kStopwatchPageResource:
            return L"DLG_PageTimer";
        default:
            return L"DLG_PageClock";
    }
}

void InitClockPage(HWND page, LPARAM resource) {
    SetWindowLongPtrW(page, DWLP_USER, resource);
    const std::pair<int, int> limits[] = {{IDC_CLOCK_PREFIX, 31}, {IDC_CLOCK_URL, 511},  {IDC_TIMER_DAYS, 3},
                                          {IDC_TIMER_HOURS, 6},   {IDC_TIMER_MINUTES, 8}, {IDC_TIMER_SECONDS, 10}};
    for (const auto& [id, chars] : limits) SendDlgItemMessageW(page, id, EM_LIMITTEXT, chars, 0);
    Language().TranslateDialog(page, ClockPageSection(page));
}

void Browse(HWND page, ClockRecord& record) {
    StoreClockPage(page, record);
    wchar_t file[MAX_PATH] = {};
    CopyBounded(file, MAX_PATH, record.url);
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = page;
    ofn.lpstrFilter = L"Executable\0*.exe;*.com;*.bat;*.cmd;*.lnk\0All\0*.*\0";
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    const ClockPageServices& services = PageServices();
    if (!services.getOpenFileName) return;
    BOOL chosen = services.getOpenFileName(&ofn);
    if (!chosen && services.commDlgError && services.commDlgError() == FNERR_INVALIDFILENAME) {
        // An url that is no file name (a web address) must not keep the
        // dialog from opening.
        file[0] = L'\0';
        chosen = services.getOpenFileName(&ofn);
    }
    if (!chosen) return;
    file[MAX_PATH - 1] = L'\0';
    CopyBounded(record.url, file);
    LoadClockPage(page, record);
    NotifyPageEdited(page, 0);
}

void PickLocation(HWND page) {
    const ClockPageServices& services = PageServices();
    if (!services.showLocationPicker) return;
    const std::wstring text = ControlText(page, IDC_CLOCK_LOCATION, kCityLabelChars - 1);
    services.showLocationPicker(page, FindCity(text.c_str()));
}

// The location picker answers with entries of the program's own city and
// zone tables; another process may send the same messages with any number
// in lParam, which is then taken for no city or zone at all.
const CityRecord* TableCity(WPARAM index, LPARAM record) {
    if (!g_cities.cities || index >= static_cast<WPARAM>(g_cities.count)) return nullptr;
    const CityRecord* city = &g_cities.cities[index];
    return reinterpret_cast<LPARAM>(city) == record ? city : nullptr;
}

const ZoneRecord* TableZone(LPARAM record) {
    if (!g_zones.live || g_zones.count <= 0) return nullptr;
    const auto first = reinterpret_cast<uintptr_t>(g_zones.live);
    const auto at = static_cast<uintptr_t>(record);
    if (at < first || (at - first) % sizeof(ZoneRecord) != 0) return nullptr;
    const uintptr_t index = (at - first) / sizeof(ZoneRecord);
    return index < static_cast<uintptr_t>(g_zones.count) ? &g_zones.live[index] : nullptr;
}

void OnCitySelected(HWND page, const CityRecord* city) {
    if (!city) return;
    wchar_t label[kCityLabelChars];
    FormatCityLabel(*city, label, kCityLabelChars);
    SetControlText(page, IDC_CLOCK_LOCATION, label);
    const std::wstring prefix = CityPrefix(city->city);
    SetControlText(page, IDC_CLOCK_PREFIX, prefix.c_str());
    SetControlText(page, IDC_CLOCK_PREFIX_MIRROR, prefix.c_str());
    const ZoneRecord* zone = city->zone;
    if (!zone && g_zones.live) {
        const int index = FindZoneById(city->zoneId);
        if (index >= 0 && index < g_zones.count) zone = &g_zones.live[index];
    }
    if (zone) SetChecked(page, IDC_CLOCK_DAYLIGHT, zone->DaylightDate.wMonth != 0);
    UpdateDaylightCheck(page);
    NotifyPageEdited(page, 1);
}

void OnZonePicked(HWND page, const ZoneRecord* zone) {
    if (!zone) return;
    const size_t n = wcsnlen(zone->displayName, std::size(zone->displayName));
    SetControlText(page, IDC_CLOCK_LOCATION, std::wstring(zone->displayName, n).c_str());
    SetChecked(page, IDC_CLOCK_DAYLIGHT, zone->DaylightDate.wMonth != 0);
    UpdateDaylightCheck(page);
    NotifyPageEdited(page, 0);
}

void OnCommand(HWND page, int id, int code) {
    ClockRecord* record = PageRecord(page);
    switch (id) {
        case IDC_CLOCK_PREFIX:
            if (code == EN_CHANGE) {
                SetControlText(page, IDC_CLOCK_PREFIX_MIRROR, ControlText(page, IDC_CLOCK_PREFIX, 31).c_str());
                NotifyPageEdited(page, 1);
            }
            break;
        case IDC_CLOCK_URL:
        case IDC_TIMER_DAYS:
        case IDC_TIMER_HOURS:
        case IDC_TIMER_MINUTES:
        case IDC_TIMER_SECONDS:
            if (code == EN_CHANGE) NotifyPageEdited(page, 0);
            break;
        case IDC_CLOCK_DAYLIGHT:
        case IDC_CLOCK_ON_DESKTOP:
        case IDC_CLOCK_IN_TASKBAR:
            if (code == BN_CLICKED) NotifyPageEdited(page, 0);
            break;
        case IDC_TIMER_TO_DATE:
        case IDC_TIMER_FOR_DURATION:
        case IDC_TIMER_FROM_START:
            if (code == BN_CLICKED && record) {
                // The two countdown choices exclude each other even where
                // the dialog manager's group walk misses one of them.
                if (id == IDC_TIMER_TO_DATE) SetChecked(page, IDC_TIMER_FOR_DURATION, !IsChecked(page, id));
                if (id == IDC_TIMER_FOR_DURATION) SetChecked(page, IDC_TIMER_TO_DATE, !IsChecked(page, id));
                ApplyTimerEnabling(page, *record);
                NotifyPageEdited(page, 0);
            }
            break;
        case IDC_CLOCK_ACTION:
            if (code == CBN_SELCHANGE) {
                OnActionChanged(page);
                NotifyPageEdited(page, 0);
            }
            break;
        case IDC_CLOCK_PICK_LOCATION:
            if (code == BN_CLICKED) PickLocation(page);
            break;
        case IDC_CLOCK_BROWSE:
            if (code == BN_CLICKED && record) Browse(page, *record);
            break;
        default:
            break;
    }
}

INT_PTR HandleClockPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            InitClockPage(page, lParam);
            return TRUE;
        case WM_PAGE_EXCHANGE: {
            auto* block = LentPointer<PageExchangeBlock>(lParam);
            if (!block || !block->record) return TRUE;
            auto& record = *static_cast<ClockRecord*>(block->record);
            if (wParam == 0) {
                LoadClockPage(page, record);
            } else {
                SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&record));
                block->failedControl = StoreClockPage(page, record);
            }
            return TRUE;
        }
        case WM_COMMAND:
            OnCommand(page, LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header && header->code == DTN_DATETIMECHANGE &&
                (header->idFrom == IDC_TIMER_DATE || header->idFrom == IDC_TIMER_TIME)) {
                NotifyPageEdited(page, 0);
            }
            return FALSE;
        }
        case SETTINGS_MSG_ON_DESKTOP:
            if (ClockRecord* record = PageRecord(page); record && static_cast<WPARAM>(record->number) == wParam) {
                record->on_desktop = lParam != 0 ? 1 : 0;
                PageLoadingScope loading;
                SetChecked(page, IDC_CLOCK_ON_DESKTOP, lParam != 0);
                SetChecked(page, IDC_CLOCK_IN_TASKBAR, lParam == 0);
            }
            return TRUE;
        case MSG_CLOUDS_CHANGED:
            if (PageServices().locationPickerWindow) {
                if (HWND picker = PageServices().locationPickerWindow()) SendMessageW(picker, message, wParam, lParam);
            }
            return TRUE;
        case MSG_MAP_SELECT_CITY:
            OnCitySelected(page, TableCity(wParam, lParam));
            return TRUE;
        case MSG_CITY_PICKED:
            OnZonePicked(page, TableZone(lParam));
            return TRUE;
        case WM_SHOWWINDOW:
            ForgetPageRecordWhenHidden(page, wParam, lParam);
            return FALSE;
        case MSG_LANGUAGE_CHANGED:
            Language().TranslateDialog(page, ClockPageSection(page));
            if (ClockRecord* record = PageRecord(page)) RefreshActionList(page, *record);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void NotifyPageEdited(HWND page, WPARAM titleChanged) {
    if (PagesLoading() != 0) return;
    if (HWND dialog = GetParent(page)) PostMessageW(dialog, WM_PAGE_CHANGED, titleChanged, 0);
}

INT_PTR CALLBACK ClockPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    // Nothing may unwind into the dialog manager.
    try {
        return HandleClockPage(page, message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}

void InstallClockPages() {
    MainDialogHooks hooks = DialogHooks();
    for (int index : {kClockPageIndex, kCountdownPageIndex, kStopwatchPageIndex}) hooks.pageProcs[index] = ClockPageDlgProc;
    for (int index : {kFormatsPageIndex, kTimerFormatsPageIndex}) hooks.pageProcs[index] = FormatsPageDlgProc;
    hooks.pageProcs[kDesktopPageIndex] = DesktopPageDlgProc;
    SetDialogHooks(hooks);
}
