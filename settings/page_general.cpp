#include "common/platform/lent_pointer.h"
#include "settings/page_general.h"

#include <windows.h>

#include <cwchar>
#include <cwctype>
#include <set>
#include <string>
#include <vector>

#include "common/settings/global_settings_io.h"
#include "common/platform/hyperlink_control.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/records/clock_table.h"
#include "common/platform/text_bounds.h"
#include "resources/resource_ids.h"
#include "settings/general_options_save.h"
#include "settings/main_dialog.h"
#include "settings/page_options_common.h"

namespace {

constexpr wchar_t kSection[] = L"DLG_PageGeneral";
constexpr int kLanguageNameChars = 98;
constexpr int kDropDownItems = 20;
// Template controls the page has no use for.
constexpr int kUnusedControls[] = {1245, 1246, 1247, 1248, 1249, 1250, 1275, 1276, 1277, 1278, 1279};

struct LanguageEntry {
    std::wstring code;
    std::wstring name;
};

// The installed locales are many and share few codes: the language files
// are listed once per scan rather than looked for locale by locale.
struct LanguageScan {
    std::vector<LanguageEntry> entries;
    std::set<std::wstring> files;  // lower-case names of the files beside the language files

    void ListFolder(const std::wstring& anyLanguageFile) {
        const size_t slash = anyLanguageFile.find_last_of(L'\\');
        const std::wstring folder = slash == std::wstring::npos ? std::wstring() : anyLanguageFile.substr(0, slash + 1);
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW((folder + L"*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) return;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.insert(LowerName(found.cFileName));
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    bool HasFile(const std::wstring& path) const {
        if (path.empty()) return false;
        const size_t slash = path.find_last_of(L'\\');
        return files.count(LowerName(slash == std::wstring::npos ? path : path.substr(slash + 1))) != 0;
    }
    static std::wstring LowerName(std::wstring name) {
        if (!name.empty()) CharLowerBuffW(name.data(), static_cast<DWORD>(name.size()));
        return name;
    }
};

BOOL CALLBACK OnLocale(LGRPID, LCID locale, LPWSTR, LONG_PTR context) {
    auto* scan = reinterpret_cast<LanguageScan*>(context);
    wchar_t abbreviation[16] = {};
    wchar_t name[kLanguageNameChars + 1] = {};
    if (!GetLocaleInfoW(locale, LOCALE_SABBREVLANGNAME, abbreviation, ARRAYSIZE(abbreviation))) return TRUE;
    if (!GetLocaleInfoW(locale, LOCALE_SLANGUAGE, name, ARRAYSIZE(name))) return TRUE;
    std::wstring code;
    for (size_t i = 0; i < 2 && abbreviation[i]; ++i) code += static_cast<wchar_t>(std::towlower(abbreviation[i]));
    if (code.size() < 2) return TRUE;
    const std::wstring shortName = ShortLanguageName(name);
    for (const LanguageEntry& e : scan->entries) {
        if (e.name == shortName) return TRUE;
    }
    if (!scan->HasFile(Language().LanguageFilePath(code.c_str()))) return TRUE;
    scan->entries.push_back({code, shortName});
    return TRUE;
}

BOOL CALLBACK OnLanguageGroup(LGRPID group, LPWSTR, LPWSTR, DWORD, LONG_PTR context) {
    EnumLanguageGroupLocalesW(OnLocale, group, 0, context);
    return TRUE;
}

// The page's user data: whether the language list holds every language yet.
bool LanguagesListed(HWND page) { return GetWindowLongPtrW(page, GWLP_USERDATA) != 0; }

void AddSystemLanguageItem(HWND combo) {
    const std::wstring system = Language().LoadUiString(IDS_SYSTEM_LANGUAGE);
    SendMessageW(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(system.c_str()));
    SendMessageW(combo, CB_SETITEMDATA, 0, 0);
}

// Listing the installed locales is slow: until the list drops down or takes
// the focus, it holds the system's language and the one in force only.
void StartLanguageList(HWND page) { SetWindowLongPtrW(page, GWLP_USERDATA, 0); }

// Room for the drop-down list: its item height times the items shown. Made
// with the whole list, which comes before the list first drops down:
// resizing the control would cost the page's opening more than all its other
// set-up.
void MakeRoomForDropDown(HWND combo) {
    RECT r = {};
    GetWindowRect(combo, &r);
    const int itemHeight = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0));
    SetWindowPos(combo, nullptr, 0, 0, r.right - r.left, (r.bottom - r.top) + itemHeight * kDropDownItems,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The list's name for a code without listing the locales: the code's own
// locale, when its abbreviation gives the code back. False when that locale
// says nothing sure; an empty name when the code has no language file (the
// list leaves it out).
bool NameOfLanguage(const std::wstring& code, std::wstring& name) {
    name.clear();
    const std::wstring file = Language().LanguageFilePath(code.c_str());
    const DWORD attributes = file.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
    const LCID locale = LocaleNameToLCID(code.c_str(), 0);
    wchar_t abbreviation[16] = {};
    wchar_t text[kLanguageNameChars + 1] = {};
    if (!locale || !GetLocaleInfoW(locale, LOCALE_SABBREVLANGNAME, abbreviation, ARRAYSIZE(abbreviation)) ||
        !GetLocaleInfoW(locale, LOCALE_SLANGUAGE, text, ARRAYSIZE(text))) {
        return false;
    }
    for (size_t i = 0; i < 2; ++i) {
        if (!abbreviation[i] || static_cast<wchar_t>(std::towlower(abbreviation[i])) != code[i]) return false;
    }
    name = ShortLanguageName(text);
    return !name.empty();
}

// Lists every language that has a file, keeping the selected one selected.
void ListAllLanguages(HWND page) {
    if (LanguagesListed(page)) return;
    SetWindowLongPtrW(page, GWLP_USERDATA, 1);
    HWND combo = GetDlgItem(page, kIdcLanguage);
    MakeRoomForDropDown(combo);
    const LRESULT at = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    const LPARAM selected = at >= 0 ? static_cast<LPARAM>(SendMessageW(combo, CB_GETITEMDATA, at, 0)) : 0;
    LanguageScan scan;
    scan.ListFolder(Language().LanguageFilePath(L"en"));
    EnumSystemLanguageGroupsW(OnLanguageGroup, LGRPID_INSTALLED, reinterpret_cast<LONG_PTR>(&scan));
    PageLoadingScope loading;
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    int select = at >= 0 ? 0 : -1;
    for (const LanguageEntry& e : scan.entries) {
        const LRESULT item = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.name.c_str()));
        if (item >= 0) SendMessageW(combo, CB_SETITEMDATA, item, LanguageItemData(e.code.c_str()));
    }
    AddSystemLanguageItem(combo);
    if (selected != 0) {
        const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
        for (int i = 1; i < count; ++i) {
            if (SendMessageW(combo, CB_GETITEMDATA, i, 0) == selected) {
                select = i;
                break;
            }
        }
    }
    SendMessageW(combo, CB_SETCURSEL, select, 0);
}

// Before the whole list is wanted: the system's language and the code's.
void ListLanguageInForce(HWND page, const std::wstring& code) {
    std::wstring name;
    if (code.size() >= 2 && !NameOfLanguage(code, name)) {
        ListAllLanguages(page);
        return;
    }
    HWND combo = GetDlgItem(page, kIdcLanguage);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    if (!name.empty()) {
        const LRESULT item = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        if (item >= 0) SendMessageW(combo, CB_SETITEMDATA, item, LanguageItemData(code.c_str()));
    }
    AddSystemLanguageItem(combo);
}

void Load(HWND page) {
    PageLoadingScope loading;
    HWND combo = GetDlgItem(page, kIdcLanguage);
    int select = 0;
    const std::wstring code(g_settings.language, wcsnlen(g_settings.language, ARRAYSIZE(g_settings.language)));
    if (!LanguagesListed(page)) ListLanguageInForce(page, code);
    if (code.size() >= 2) {
        const LPARAM wanted = LanguageItemData(code.c_str());
        const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
        for (int i = 1; i < count; ++i) {
            if (SendMessageW(combo, CB_GETITEMDATA, i, 0) == wanted) {
                select = i;
                break;
            }
        }
    }
    SendMessageW(combo, CB_SETCURSEL, select, 0);
    CheckDlgButton(page, kIdcAutostart, AutostartOption() ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(page, kIdcCityPhotos, g_settings.vistrel ? BST_CHECKED : BST_UNCHECKED);
}

void Store(HWND page) {
    HWND combo = GetDlgItem(page, kIdcLanguage);
    const LRESULT at = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    std::wstring code;
    if (at > 0) code = LanguageCodeOfItemData(static_cast<LPARAM>(SendMessageW(combo, CB_GETITEMDATA, at, 0)));
    CopyBounded(g_settings.language, code.c_str());
    Language().SetLanguage(code.c_str());
    AutostartOption() = IsDlgButtonChecked(page, kIdcAutostart) == BST_CHECKED;
    g_settings.vistrel = IsDlgButtonChecked(page, kIdcCityPhotos) == BST_CHECKED;
}

void OnLanguageChosen(HWND page) {
    if (PagesLoading() > 0) return;
    Store(page);
    LanguageChosen() = true;
    HWND dialog = GetParent(page);
    EnableApply(dialog);
    // The frame passes the notice on to the dialog and every page; without a
    // frame the dialog still hears it.
    HWND frame = dialog ? GetWindow(dialog, GW_OWNER) : nullptr;
    SendMessageW(frame ? frame : dialog, MSG_LANGUAGE_CHANGED, 0, 0);
}

void OnCreate(HWND page) {
    for (int id : kUnusedControls) {
        if (HWND control = GetDlgItem(page, id)) DestroyWindow(control);
    }
    Language().TranslateDialog(page, kSection);
    SubclassHyperlink(GetDlgItem(page, kIdcHomeLink));
    // At the dialog's first start the start-up has just loaded them.
    if (!MainDialogFirstStarting()) LoadAllSettings();
    AutostartOption() = ReadAutostart();
    StartLanguageList(page);
    Load(page);
}

INT_PTR Handle(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnCreate(page);
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
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kIdcLanguage:
                    if (HIWORD(wParam) == CBN_DROPDOWN || HIWORD(wParam) == CBN_SETFOCUS) ListAllLanguages(page);
                    if (HIWORD(wParam) == CBN_SELENDOK || HIWORD(wParam) == CBN_EDITCHANGE) OnLanguageChosen(page);
                    return TRUE;
                case kIdcAutostart:
                case kIdcCityPhotos:
                    if (PagesLoading() == 0) EnableApply(GetParent(page));
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

}  // namespace

LPARAM LanguageItemData(const wchar_t* code) {
    if (!code || !code[0] || !code[1]) return 0;
    return static_cast<LPARAM>(static_cast<DWORD>(code[0]) | (static_cast<DWORD>(code[1]) << 16));
}

std::wstring LanguageCodeOfItemData(LPARAM data) {
    const wchar_t first = static_cast<wchar_t>(data & 0xFFFF);
    const wchar_t second = static_cast<wchar_t>((data >> 16) & 0xFFFF);
    if (!first || !second) return L"";
    std::wstring code;
    code += static_cast<wchar_t>(std::towlower(first));
    code += static_cast<wchar_t>(std::towlower(second));
    return code;
}

std::wstring ShortLanguageName(const wchar_t* name) {
    std::wstring text = name ? name : L"";
    const size_t bracket = text.find(L'(');
    if (bracket != std::wstring::npos) {
        text.erase(bracket);
        while (!text.empty() && text.back() == L' ') text.pop_back();
    }
    return text;
}

INT_PTR CALLBACK GeneralPageDlgProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return Handle(page, message, wParam, lParam);
    } catch (...) {
        return FALSE;
    }
}
