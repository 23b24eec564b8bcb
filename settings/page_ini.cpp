#include "common/platform/lent_pointer.h"
#include "settings/page_ini.h"

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "settings/common_dialogs.h"
#include "settings/main_dialog.h"
#include "settings/page_ini_import.h"
#include "settings/page_options_common.h"

namespace {

constexpr wchar_t kSection[] = L"DLG_PageIni";
// "Ini Files", then the pattern, then the end of the list.
constexpr wchar_t kIniFilter[] = L"Ini Files\0*.ini\0";

bool RunFileDialog(HWND owner, wchar_t* path, DWORD size, bool save) {
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kIniFilter;
    ofn.lpstrFile = path;
    ofn.nMaxFile = size;
    ofn.Flags = save ? (OFN_PATHMUSTEXIST | OFN_HIDEREADONLY) : (OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    return (save ? SaveFileDialog(&ofn) : OpenFileDialog(&ofn)) != FALSE;
}

bool DefaultOpen(HWND owner, wchar_t* path, DWORD size) { return RunFileDialog(owner, path, size, false); }
bool DefaultSave(HWND owner, wchar_t* path, DWORD size) { return RunFileDialog(owner, path, size, true); }

IniPageFileDialogs g_dialogs{DefaultOpen, DefaultSave};

std::wstring PathText(HWND page) {
    wchar_t text[kImportPathChars + 1] = {};
    GetDlgItemTextW(page, kIdcImportPath, text, kImportPathChars + 1);
    return text;
}

void UpdateImportButton(HWND page) {
    EnableWindow(GetDlgItem(page, kIdcImport), GetWindowTextLengthW(GetDlgItem(page, kIdcImportPath)) > 0);
}

void OnBrowse(HWND page) {
    wchar_t path[kImportPathChars + 1] = {};
    GetDlgItemTextW(page, kIdcImportPath, path, kImportPathChars + 1);
    if (g_dialogs.open(page, path, kImportPathChars + 1)) SetDlgItemTextW(page, kIdcImportPath, path);
}

void OnExport(HWND page) {
    wchar_t path[kImportPathChars + 1] = {};
    if (!g_dialogs.save(page, path, kImportPathChars + 1)) return;
    ExportSettingsFile(page, path);
}

void OnImport(HWND page) {
    const std::wstring text = PathText(page);
    if (text.empty()) return;
    if (IsWebAddress(text.c_str())) {
        RequestUrlImport(page, text.c_str());
    } else {
        ImportSettingsFile(page, text.c_str());
    }
}

INT_PTR Handle(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            Language().TranslateDialog(page, kSection);
            SendDlgItemMessageW(page, kIdcImportPath, EM_LIMITTEXT, kImportPathChars, 0);
            EnableWindow(GetDlgItem(page, kIdcImport), FALSE);
            return TRUE;
        case MSG_LANGUAGE_CHANGED:
            Language().TranslateDialog(page, kSection);
            return TRUE;
        case WM_PAGE_EXCHANGE:
            // Nothing on this page belongs to a record.
            if (auto* block = LentPointer<PageExchangeBlock>(lParam); block && wParam == 1) {
                block->failedControl = nullptr;
            }
            return TRUE;
        case MSG_DOWNLOAD_REPLY:
            OnDownloadReply(page, wParam);
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kIdcImportPath:
                    if (HIWORD(wParam) == EN_CHANGE) UpdateImportButton(page);
                    return TRUE;
                case kIdcBrowse:
                    OnBrowse(page);
                    return TRUE;
                case kIdcExport:
                    OnExport(page);
                    return TRUE;
                case kIdcImport:
                    OnImport(page);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

}  // namespace

IniPageFileDialogs SetIniPageFileDialogs(const IniPageFileDialogs& dialogs) {
    IniPageFileDialogs old = g_dialogs;
    g_dialogs.open = dialogs.open ? dialogs.open : DefaultOpen;
    g_dialogs.save = dialogs.save ? dialogs.save : DefaultSave;
    return old;
}

INT_PTR CALLBACK IniPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return Handle(page, message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}
