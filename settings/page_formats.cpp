// The formats page: a clock's time and date formats, or a timer's format,
// with the preview drawn in them.
#include <windows.h>

#include "common/platform/lent_pointer.h"
#include "common/records/clock_record.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/settings/time_format.h"
#include "common/records/clock_table.h"
#include "common/platform/text_bounds.h"
#include "settings/page_clock.h"
#include "settings/page_clock_services.h"
#include "settings/page_clock_tables.h"
#include "settings/page_controls.h"
#include "settings/page_hidden.h"
#include "settings/page_loading.h"
#include "settings/skin_list.h"

namespace {

constexpr UINT_PTR kPreviewTimer = 1;
constexpr UINT kPreviewTimerMs = 300;
constexpr int kTimeComboLimit = 100;
constexpr int kDateComboLimit = 32;
constexpr int kStoredFormatChars = 31;

ClockRecord* PageRecord(HWND page) { return reinterpret_cast<ClockRecord*>(GetWindowLongPtrW(page, GWLP_USERDATA)); }

bool IsTimerVariant(HWND page) {
    return static_cast<UINT>(GetWindowLongPtrW(page, DWLP_USER)) == kTimerFormatsPageResource;
}

void FillCombo(HWND page, int id, const FormatEntry* table, int count) {
    HWND combo = GetDlgItem(page, id);
    if (!combo) return;
    const std::wstring keep = ControlText(page, id, kTimeComboLimit);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count; ++i) {
        const std::wstring text = FormatDisplayText(table[i]);
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SetWindowTextW(combo, keep.c_str());
}

void FillFormatCombos(HWND page) {
    PageLoadingScope loading;
    if (IsTimerVariant(page)) {
        SendDlgItemMessageW(page, IDC_FORMAT_TIME, CB_LIMITTEXT, kTimeComboLimit, 0);
        FillCombo(page, IDC_FORMAT_TIME, kTimerFormats, kTimerFormatCount);
        SendDlgItemMessageW(page, IDC_FORMAT_TIME, CB_SETCURSEL, 0, 0);
        return;
    }
    SendDlgItemMessageW(page, IDC_FORMAT_TIME, CB_LIMITTEXT, kTimeComboLimit, 0);
    SendDlgItemMessageW(page, IDC_FORMAT_DATE, CB_LIMITTEXT, kDateComboLimit, 0);
    FillCombo(page, IDC_FORMAT_TIME, kTimeFormats, kTimeFormatCount);
    FillCombo(page, IDC_FORMAT_DATE, kDateFormats, kDateFormatCount);
    SetControlText(page, IDC_FORMAT_TIME, FormatDisplayText(kTimeFormats[0]).c_str());
}

// Texts shown in the combos go back to stored form before the lists are
// refilled in another language, and forth again after.
void Relocalise(HWND page, const ClockRecord& record) {
    ClockRecord shown = record;
    StoreFormatsPage(page, shown);
    FillFormatCombos(page);
    PageLoadingScope loading;
    SetControlText(page, IDC_FORMAT_TIME, DisplayTextForFormat(kTimeFormats, kTimeFormatCount, shown.timeformat).c_str());
    SetControlText(page, IDC_FORMAT_DATE, DisplayTextForFormat(kDateFormats, kDateFormatCount, shown.dateformat).c_str());
}

void RedrawPreview(HWND page) {
    if (HWND preview = GetDlgItem(page, IDC_PAGE_PREVIEW)) InvalidateRect(preview, nullptr, FALSE);
}

void OnFormatEdited(HWND page) {
    NotifyPageEdited(page, 0);
    if (PageServices().previewRecord) {
        if (ClockRecord* preview = PageServices().previewRecord()) StoreFormatsPage(page, *preview);
    }
    RedrawPreview(page);
}

std::wstring FieldText(const wchar_t* field, size_t chars) { return std::wstring(field, wcsnlen(field, chars)); }

INT_PTR HandleFormatsPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(page, DWLP_USER, lParam);
            FillFormatCombos(page);
            Language().TranslateDialog(page, IsTimerVariant(page) ? L"DLG_PageTimerFormats" : L"DLG_PageFormats");
            SetTimer(page, kPreviewTimer, kPreviewTimerMs, nullptr);
            return TRUE;
        case WM_PAGE_EXCHANGE: {
            auto* block = LentPointer<PageExchangeBlock>(lParam);
            if (!block || !block->record) return TRUE;
            auto& record = *static_cast<ClockRecord*>(block->record);
            if (wParam == 0) {
                LoadFormatsPage(page, record);
            } else {
                SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&record));
                StoreFormatsPage(page, record);
            }
            return TRUE;
        }
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (id == IDC_FORMAT_TIME || id == IDC_FORMAT_DATE) {
                if (code == CBN_EDITCHANGE) {
                    OnFormatEdited(page);
                } else if (code == CBN_SELCHANGE) {
                    // The edit part takes the chosen text only after this
                    // notice; read it when the page hears again.
                    PostMessageW(page, WM_COMMAND, MAKEWPARAM(id, CBN_EDITCHANGE), lParam);
                }
            } else if ((id == IDC_FORMAT_SECONDS_HAND || id == IDC_FORMAT_SUFFIX) && code == BN_CLICKED) {
                OnFormatEdited(page);
            }
            return TRUE;
        }
        case WM_TIMER:
            if (wParam == kPreviewTimer && IsWindowVisible(page) && PageServices().previewRecord &&
                PageServices().previewRecord()) {
                RedrawPreview(page);
            }
            return TRUE;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item && item->CtlID == IDC_PAGE_PREVIEW && PageServices().drawPreview) PageServices().drawPreview(*item);
            return TRUE;
        }
        case WM_SHOWWINDOW:
            ForgetPageRecordWhenHidden(page, wParam, lParam);
            return FALSE;
        case MSG_LANGUAGE_CHANGED: {
            // The language is chosen on another page, while this one is
            // hidden and holds no record: its lists and labels change all
            // the same, and the next load puts the record's texts in.
            ClockRecord* record = PageRecord(page);
            if (record && !IsTimerVariant(page)) {
                Relocalise(page, *record);
            } else if (!record) {
                FillFormatCombos(page);
            }
            Language().TranslateDialog(page, IsTimerVariant(page) ? L"DLG_PageTimerFormats" : L"DLG_PageFormats");
            return TRUE;
        }
        case WM_DESTROY:
            KillTimer(page, kPreviewTimer);
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

void LoadFormatsPage(HWND page, const ClockRecord& record) {
    SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&record));
    {
        PageLoadingScope loading;
        if (IsTimerClock(record)) {
            SetControlText(page, IDC_FORMAT_TIME, FieldText(record.timerformat, std::size(record.timerformat)).c_str());
            EnableControl(page, IDC_FORMAT_TIME, true);
        } else {
            const std::wstring time = FieldText(record.timeformat, std::size(record.timeformat));
            const std::wstring date = FieldText(record.dateformat, std::size(record.dateformat));
            SetControlText(page, IDC_FORMAT_TIME, DisplayTextForFormat(kTimeFormats, kTimeFormatCount, time.c_str()).c_str());
            SetControlText(page, IDC_FORMAT_DATE, DisplayTextForFormat(kDateFormats, kDateFormatCount, date.c_str()).c_str());
            SetChecked(page, IDC_FORMAT_SECONDS_HAND, record.seconds_hand != 0);
            SetChecked(page, IDC_FORMAT_SUFFIX, record.suffix != 0);
            // The taskbar draws every clock in its own skin.
            const wchar_t* skin = record.on_desktop ? record.skin : g_settings.skin;
            const std::wstring skinName = record.on_desktop ? FieldText(skin, std::size(record.skin))
                                                            : FieldText(skin, std::size(g_settings.skin));
            const bool analogue = IsAnalogueSkin(skinName.c_str());
            EnableControl(page, IDC_FORMAT_TIME, !analogue);
            EnableControl(page, IDC_FORMAT_SECONDS_HAND, analogue);
            EnableControl(page, IDC_FORMAT_SUFFIX, analogue && !IsDayFaceSkin(skinName.c_str()));
        }
    }
    const ClockPageServices& services = PageServices();
    if (services.previewRecord) {
        if (ClockRecord* preview = services.previewRecord()) {
            *preview = record;
            if (!record.on_desktop) {
                CopyBounded(preview->skin, g_settings.skin);
                preview->transparent = g_settings.transparentskin;
            }
            if (services.recreatePreview) services.recreatePreview();
        }
    }
    RedrawPreview(page);
}

void StoreFormatsPage(HWND page, ClockRecord& record) {
    if (IsTimerClock(record)) {
        // A timer's format has the room of both clock formats.
        const std::wstring text = ControlText(page, IDC_FORMAT_TIME, static_cast<int>(std::size(record.timerformat)) - 1);
        CopyBounded(record.timerformat, text.c_str());
        return;
    }
    const std::wstring time = StoredTextForFormat(kTimeFormats, kTimeFormatCount,
                                                  ControlText(page, IDC_FORMAT_TIME, kStoredFormatChars).c_str());
    const std::wstring date = StoredTextForFormat(kDateFormats, kDateFormatCount,
                                                  ControlText(page, IDC_FORMAT_DATE, kStoredFormatChars).c_str(),
                                                  kWeekDateEntry);
    CopyBounded(record.timeformat, time.c_str());
    CopyBounded(record.dateformat, date.c_str());
    record.showsSeconds = IsCustomTimeFormat(record.timeformat) ? 1 : 0;
    record.seconds_hand = IsChecked(page, IDC_FORMAT_SECONDS_HAND) ? 1 : 0;
    record.suffix = IsChecked(page, IDC_FORMAT_SUFFIX) ? 1 : 0;
}

INT_PTR CALLBACK FormatsPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return HandleFormatsPage(page, message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}
