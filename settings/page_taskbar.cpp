#include "common/platform/lent_pointer.h"
#include "settings/page_taskbar.h"

#include <windows.h>
#include <commctrl.h>

#include <cwchar>

#include "common/settings/global_settings_io.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/records/clock_table.h"
#include "common/platform/text_bounds.h"
#include "settings/main_dialog.h"
#include "settings/page_options_common.h"
#include "settings/skin_list.h"

namespace {

constexpr wchar_t kSection[] = L"DLG_PageTaskbar";
constexpr int kSkinNameChars = 80;  // GlobalSettings::skin, with its terminator

TrayPreviewHooks g_preview;

HWND Item(HWND page, int id) { return GetDlgItem(page, id); }
bool Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }
void Check(HWND page, int id, bool on) { CheckDlgButton(page, id, on ? BST_CHECKED : BST_UNCHECKED); }

// Whether the number box holds a number, and which.
bool ReadCount(HWND page, int& value) {
    BOOL ok = FALSE;
    value = static_cast<int>(GetDlgItemInt(page, kIdcTrayClocks, &ok, TRUE));
    return ok != FALSE;
}

void ClampCount(HWND page) {
    int value = 0;
    if (!ReadCount(page, value)) return;
    if (value >= kMinTrayClocks && value <= kMaxTrayClocks) return;
    SetDlgItemInt(page, kIdcTrayClocks, value < kMinTrayClocks ? kMinTrayClocks : kMaxTrayClocks, TRUE);
}

void UpdateSkinEnabling(HWND page) {
    const bool folder = SendDlgItemMessageW(page, kIdcSkinCombo, CB_GETCURSEL, 0, 0) >= 2;
    EnableWindow(Item(page, kIdcTransparentSkin), folder);
    EnableWindow(Item(page, kIdcOverlayPrefixes), folder);
}

void FillSkins(HWND page) {
    HWND combo = Item(page, kIdcSkinCombo);
    FillSkinListWithStyles(combo, true);
}

// The first item whose text begins with the name, ignoring case.
int FindSkin(HWND combo, const wchar_t* name) {
    const size_t length = wcsnlen(name, kSkinNameChars - 1);
    if (length == 0) return -1;
    const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[MAX_PATH] = {};
        if (SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) >= MAX_PATH) continue;
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        if (_wcsnicmp(text, name, length) == 0) return i;
    }
    return -1;
}

void RedrawPreview(HWND page) { InvalidateRect(Item(page, kIdcPreview), nullptr, FALSE); }

void Load(HWND page) {
    PageLoadingScope loading;
    SetDlgItemInt(page, kIdcTrayClocks, ShownTrayClocks(g_settings.trayclocks), TRUE);
    Check(page, kIdcTransparentSkin, g_settings.transparentskin != 0);
    Check(page, kIdcOverlayPrefixes, g_settings.overlayprefixes != 0);
    Check(page, kIdcTooltips, g_settings.tooltips != 0);
    Check(page, kIdcTooltipKind, g_settings.tooltipkind != 0);
    EnableWindow(Item(page, kIdcTooltipKind), g_settings.tooltips != 0);
    FillSkins(page);
    const int found = FindSkin(Item(page, kIdcSkinCombo), g_settings.skin);
    SendDlgItemMessageW(page, kIdcSkinCombo, CB_SETCURSEL, found < 0 ? 0 : found, 0);
    UpdateSkinEnabling(page);
    ClampCount(page);
    if (g_preview.rebuildClocks) g_preview.rebuildClocks();
    RedrawPreview(page);
}

void Store(HWND page) {
    int value = kMinTrayClocks;
    if (!ReadCount(page, value) || value < kMinTrayClocks) value = kMinTrayClocks;
    if (value > kMaxTrayClocks) value = kMaxTrayClocks;
    g_settings.trayclocks = value;
    g_settings.transparentskin = Checked(page, kIdcTransparentSkin);
    g_settings.overlayprefixes = Checked(page, kIdcOverlayPrefixes);
    g_settings.tooltips = Checked(page, kIdcTooltips);
    g_settings.tooltipkind = Checked(page, kIdcTooltipKind);
    wchar_t name[kSkinNameChars] = {};
    GetDlgItemTextW(page, kIdcSkinCombo, name, kSkinNameChars);
    CopyBounded(g_settings.skin, name);
    TakeSkinKind(g_settings);
}

// A user's edit: Apply comes on; the variables follow the page at once, and
// the preview's clocks are made again from them, so that it shows the new
// skin, number and options.
void Changed(HWND page, bool storeAndRedraw) {
    if (PagesLoading() > 0) return;
    EnableApply(GetParent(page));
    if (!storeAndRedraw) return;
    Store(page);
    if (g_preview.rebuildClocks) g_preview.rebuildClocks();
    RedrawPreview(page);
}

// The arrow towards the control's upper bound raises the number. The range
// is set as 1..12, so that arrow sends a positive delta.
void OnSpin(HWND page, const NMUPDOWN* change) {
    int value = kMinTrayClocks;
    if (!ReadCount(page, value)) value = kMinTrayClocks;
    int lower = 0, upper = 0;
    SendMessageW(change->hdr.hwndFrom, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower),
                 reinterpret_cast<LPARAM>(&upper));
    const int step = upper >= lower ? change->iDelta : -change->iDelta;
    if (step > 0) {
        value = value + 1 > kMaxTrayClocks ? kMaxTrayClocks : value + 1;
    } else if (step < 0) {
        value = value - 1 < kMinTrayClocks ? kMinTrayClocks : value - 1;
    }
    SetDlgItemInt(page, kIdcTrayClocks, value, TRUE);
}

INT_PTR OnCommand(HWND page, WORD id, WORD code) {
    switch (id) {
        case kIdcSkinCombo:
            if (code == CBN_SELCHANGE) {
                UpdateSkinEnabling(page);
                Changed(page, true);
            }
            return TRUE;
        case kIdcTrayClocks:
            if (code == EN_CHANGE) {
                ClampCount(page);
                Changed(page, true);
            }
            return TRUE;
        case kIdcTooltips:
            EnableWindow(Item(page, kIdcTooltipKind), Checked(page, kIdcTooltips));
            Changed(page, true);
            return TRUE;
        case kIdcTransparentSkin:
        case kIdcOverlayPrefixes:
            Changed(page, true);
            return TRUE;
        case kIdcTooltipKind:
            Changed(page, false);
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR Handle(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            Language().TranslateDialog(page, kSection);
            SendDlgItemMessageW(page, kIdcTrayClocksSpin, UDM_SETRANGE32, kMinTrayClocks, kMaxTrayClocks);
            SetTimer(page, kPreviewTimer, kPreviewTimerMs, nullptr);
            return TRUE;
        case MSG_LANGUAGE_CHANGED:
            Language().TranslateDialog(page, kSection);
            return TRUE;
        case WM_PAGE_EXCHANGE:
            if (wParam == 0) {
                Load(page);
            } else {
                Store(page);
                if (auto* block = LentPointer<PageExchangeBlock>(lParam)) block->failedControl = nullptr;
            }
            return TRUE;
        case WM_SHOWWINDOW:
            if (wParam) ClampCount(page);
            return FALSE;
        case WM_COMMAND:
            return OnCommand(page, LOWORD(wParam), HIWORD(wParam));
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header && header->idFrom == kIdcTrayClocksSpin && header->code == UDN_DELTAPOS) {
                OnSpin(page, reinterpret_cast<const NMUPDOWN*>(lParam));
                // The page moved the number itself; the control must not.
                SetWindowLongPtrW(page, DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        }
        case WM_TIMER:
            if (wParam == kPreviewTimer && g_preview.hasClock && g_preview.hasClock() && IsWindowVisible(page)) {
                RedrawPreview(page);
            }
            return TRUE;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (!item || item->CtlID != kIdcPreview) return FALSE;
            if ((item->itemAction & ODA_DRAWENTIRE) && g_preview.draw) g_preview.draw(item);
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

int ShownTrayClocks(int stored) {
    if (stored <= 0 || stored > kMaxTrayClocks) return kMaxTrayClocks;
    return stored;
}

TrayPreviewHooks SetTrayPreviewHooks(const TrayPreviewHooks& hooks) {
    TrayPreviewHooks old = g_preview;
    g_preview = hooks;
    return old;
}

INT_PTR CALLBACK TaskbarPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return Handle(page, message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}
