// The desktop page: a desktop clock's skin, opacity and transparency, shown
// on the preview clock as they change.
#include <windows.h>
#include <commctrl.h>

#include "common/platform/lent_pointer.h"
#include "common/records/clock_record.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
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
// Position = 255 - alpha: the clock never becomes fully invisible.
constexpr int kOpacityMax = 239;
constexpr int kSkinChars = 79;

ClockRecord* PreviewRecord() {
    return PageServices().previewRecord ? PageServices().previewRecord() : nullptr;
}

void RedrawPreview(HWND page) {
    if (HWND preview = GetDlgItem(page, IDC_PAGE_PREVIEW)) InvalidateRect(preview, nullptr, FALSE);
}

void OnDesktopEdited(HWND page, bool newSkin) {
    if (ClockRecord* preview = PreviewRecord()) {
        StoreDesktopPage(page, *preview);
        if (newSkin && PageServices().recreatePreview) PageServices().recreatePreview();
    }
    NotifyPageEdited(page, 0);
    RedrawPreview(page);
}

INT_PTR HandleDesktopPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(page, DWLP_USER, lParam);
            SendDlgItemMessageW(page, IDC_DESKTOP_OPACITY, TBM_SETRANGE, FALSE, MAKELPARAM(0, kOpacityMax));
            Language().TranslateDialog(page, L"DLG_PageDesktop");
            SetTimer(page, kPreviewTimer, kPreviewTimerMs, nullptr);
            return TRUE;
        case WM_PAGE_EXCHANGE: {
            auto* block = LentPointer<PageExchangeBlock>(lParam);
            if (!block || !block->record) return TRUE;
            auto& record = *static_cast<ClockRecord*>(block->record);
            if (wParam == 0) {
                LoadDesktopPage(page, record);
            } else {
                SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&record));
                StoreDesktopPage(page, record);
            }
            return TRUE;
        }
        case WM_HSCROLL:
            if (reinterpret_cast<HWND>(lParam) == GetDlgItem(page, IDC_DESKTOP_OPACITY) && LOWORD(wParam) == TB_ENDTRACK) {
                OnDesktopEdited(page, false);
            }
            return TRUE;
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (id == IDC_DESKTOP_OPAQUE && code == BN_CLICKED) OnDesktopEdited(page, false);
            if (id == IDC_DESKTOP_SKIN && code == CBN_SELCHANGE) OnDesktopEdited(page, true);
            return TRUE;
        }
        case WM_TIMER:
            if (wParam == kPreviewTimer && IsWindowVisible(page) && PreviewRecord()) RedrawPreview(page);
            return TRUE;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item && item->CtlID == IDC_PAGE_PREVIEW && PageServices().drawPreview) PageServices().drawPreview(*item);
            return TRUE;
        }
        case WM_SHOWWINDOW:
            ForgetPageRecordWhenHidden(page, wParam, lParam);
            return FALSE;
        case MSG_LANGUAGE_CHANGED:
            Language().TranslateDialog(page, L"DLG_PageDesktop");
            return TRUE;
        case WM_DESTROY:
            KillTimer(page, kPreviewTimer);
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

void LoadDesktopPage(HWND page, const ClockRecord& record) {
    SetWindowLongPtrW(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&record));
    {
        PageLoadingScope loading;
        HWND skins = GetDlgItem(page, IDC_DESKTOP_SKIN);
        // The built-in looks are offered beside the folders: the shipped
        // clocks use one, and a user who tried a folder must find it again.
        FillSkinListWithStyles(skins, !IsTimerClock(record));
        const std::wstring skin(record.skin, wcsnlen(record.skin, std::size(record.skin)));
        LRESULT item = skin.empty() ? CB_ERR
                                    : SendMessageW(skins, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                   reinterpret_cast<LPARAM>(skin.c_str()));
        // A skin the list lacks (a font face name, a folder that is gone) is
        // still the clock's: it is shown, and offered again after a change.
        if (item == CB_ERR && !skin.empty()) {
            item = SendMessageW(skins, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(skin.c_str()));
        }
        SendMessageW(skins, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
        int position = 255 - static_cast<int>(record.alpha);
        if (position < 0) position = 0;
        if (position > kOpacityMax) position = kOpacityMax;
        SendDlgItemMessageW(page, IDC_DESKTOP_OPACITY, TBM_SETPOS, TRUE, position);
        SetChecked(page, IDC_DESKTOP_OPAQUE, record.transparent == 0);
    }
    if (ClockRecord* preview = PreviewRecord()) {
        *preview = record;
        if (PageServices().recreatePreview) PageServices().recreatePreview();
    }
    RedrawPreview(page);
}

void StoreDesktopPage(HWND page, ClockRecord& record) {
    const LRESULT position = SendDlgItemMessageW(page, IDC_DESKTOP_OPACITY, TBM_GETPOS, 0, 0);
    const int clamped = position < 0 ? 0 : position > kOpacityMax ? kOpacityMax : static_cast<int>(position);
    record.alpha = static_cast<uint8_t>(255 - clamped);
    // A skin that is not in the list (its folder is gone, or a timer names an
    // analogue one) is kept rather than cleared.
    HWND skins = GetDlgItem(page, IDC_DESKTOP_SKIN);
    const LRESULT item = skins ? SendMessageW(skins, CB_GETCURSEL, 0, 0) : CB_ERR;
    if (item >= 0) {
        const LRESULT length = SendMessageW(skins, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0);
        if (length >= 0) {
            std::wstring name(static_cast<size_t>(length) + 1, L'\0');
            SendMessageW(skins, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(name.data()));
            name.resize(wcsnlen(name.c_str(), static_cast<size_t>(length)));
            if (name.size() > kSkinChars) name.resize(kSkinChars);
            CopyBounded(record.skin, name.c_str());
        }
    }
    record.transparent = IsChecked(page, IDC_DESKTOP_OPAQUE) ? 0 : 1;
}

INT_PTR CALLBACK DesktopPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return HandleDesktopPage(page, message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}
