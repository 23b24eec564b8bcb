#include "common/settings/localisation.h"

#include <cwchar>
#include <vector>

#include "common/settings/ini_store.h"
#include "common/platform/file_paths.h"

wchar_t g_dayNames[7][kDayNameChars];
wchar_t g_monthNames[12][kMonthNameChars];

namespace {

constexpr size_t kMaxCodeChars = 15;
constexpr size_t kMaxBaseChars = 64;
constexpr size_t kMaxFolderChars = 260;
constexpr size_t kMaxFolderInPath = 248;

// Old two-letter forms and the file letters that replaced them; first match only.
constexpr const wchar_t* kCodeRemap[][2] = {
    {L"in", L"id"}, {L"mr", L"mi"}, {L"ml", L"mt"}, {L"ts", L"tn"}, {L"sm", L"se"}, {L"mo", L"mn"},
    {L"jp", L"ja"}, {L"ch", L"zh"}, {L"di", L"dv"}, {L"ma", L"mr"}, {L"ka", L"kn"}, {L"my", L"ml"},
};

std::wstring Lower(std::wstring text) {
    if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::wstring Cut(const wchar_t* text, size_t chars) {
    if (!text) return std::wstring();
    return std::wstring(text, wcsnlen(text, chars));
}

std::wstring LocaleText(LCID locale, LCTYPE type, int chars) {
    std::vector<wchar_t> buf(chars, L'\0');
    int n = GetLocaleInfoW(locale, type, buf.data(), chars);
    if (n <= 0) return std::wstring();
    buf[chars - 1] = 0;
    return std::wstring(buf.data());
}

// Language codes come from INI files that anyone may edit and end up in file
// names: only plain letters are accepted.
bool IsPlainCode(const std::wstring& code) {
    if (code.empty()) return false;
    for (wchar_t c : code) {
        if (!((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'))) return false;
    }
    return true;
}

std::wstring ModuleBaseName() {
    wchar_t path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::wstring();
    std::wstring name(path, n);
    size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos) name.erase(dot);
    return name.substr(0, kMaxBaseChars);
}

struct LocaleSearch {
    std::wstring code;
    LANGID found = kUserDefaultLanguage;
    bool done = false;
};


BOOL CALLBACK OnLocale(LGRPID, LCID locale, LPWSTR, LONG_PTR param) {
    auto* search = reinterpret_cast<LocaleSearch*>(param);
    std::wstring abbrev = LocaleText(locale, LOCALE_SABBREVLANGNAME, 16);
    if (abbrev.size() >= 2 && _wcsicmp(abbrev.substr(0, 2).c_str(), search->code.c_str()) == 0) {
        search->found = LANGIDFROMLCID(locale);
        search->done = true;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK OnLanguageGroup(LGRPID group, LPWSTR, LPWSTR, DWORD, LONG_PTR param) {
    auto* search = reinterpret_cast<LocaleSearch*>(param);
    EnumLanguageGroupLocalesW(OnLocale, group, 0, param);
    return search->done ? FALSE : TRUE;
}

struct DialogTexts {
    const LanguageStrings* strings;
    const wchar_t* section;
};

// The language file's text of a key, else the English file's; empty when neither.
std::wstring TranslatedText(const LanguageStrings& s, const wchar_t* section, const wchar_t* key, DWORD chars) {
    std::wstring text = ReadIniText(s.languageIniPath().c_str(), section, key, L"", chars);
    if (text.empty() && !s.englishIniPath().empty()) {
        text = ReadIniText(s.englishIniPath().c_str(), section, key, L"", chars);
    }
    return text;
}

BOOL CALLBACK TranslateControl(HWND control, LPARAM param) {
    const auto* ctx = reinterpret_cast<const DialogTexts*>(param);
    wchar_t cls[16] = {};
    GetClassNameW(control, cls, 16);
    if (_wcsicmp(cls, L"Button") != 0 && _wcsicmp(cls, L"Static") != 0) return TRUE;
    int id = GetDlgCtrlID(control);
    if (id <= 0) return TRUE;
    std::wstring key = std::to_wstring(id);
    std::wstring text = TranslatedText(*ctx->strings, ctx->section, key.c_str(), 2048);
    if (!text.empty()) SetWindowTextW(control, text.c_str());
    return TRUE;
}

}  // namespace

LanguageStrings::LanguageStrings() {
    code_ = Lower(LocaleText(LOCALE_USER_DEFAULT, LOCALE_SABBREVLANGNAME, 16)).substr(0, kMaxCodeChars);
    base_ = ModuleBaseName();
    folder_ = ProgramFolder().substr(0, kMaxFolderChars);
    UpdatePaths();
}

void LanguageStrings::UpdatePaths() {
    languageIni_.clear();
    englishIni_.clear();
    FindLanguageFile(code_.c_str(), languageIni_);
    FindLanguageFile(L"en", englishIni_);
}

void LanguageStrings::SetLanguageFileBase(const wchar_t* base) {
    base_ = Cut(base, kMaxBaseChars);
    UpdatePaths();
}

void LanguageStrings::SetLanguageFolder(const wchar_t* folder) {
    folder_ = Cut(folder, kMaxFolderChars);
    UpdatePaths();
}

std::wstring LanguageStrings::LanguageFilePath(const wchar_t* code) const {
    if (!code || !*code || base_.empty()) return std::wstring();
    std::wstring letters = Lower(Cut(code, 2));
    if (!IsPlainCode(letters)) return std::wstring();
    if (letters.size() < 2) {
        letters.clear();
    } else {
        for (const auto& pair : kCodeRemap) {
            if (letters == pair[0]) {
                letters = pair[1];
                break;
            }
        }
    }
    std::wstring path = folder_.substr(0, kMaxFolderInPath);
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    path += base_ + L"_" + letters + extension_;
    return path;
}

bool LanguageStrings::FindLanguageFile(const wchar_t* code, std::wstring& path) const {
    if (!code || !*code || base_.empty()) return false;
    path = LanguageFilePath(code);
    if (path.empty()) return false;
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

LANGID LanguageStrings::FindLocaleForLanguage(const wchar_t* code) {
    if (!code || !*code) return kUserDefaultLanguage;
    LocaleSearch search;
    search.code = code;
    EnumSystemLanguageGroupsW(OnLanguageGroup, LGRPID_INSTALLED, reinterpret_cast<LONG_PTR>(&search));
    return search.found;
}

void LanguageStrings::SetLanguage(const wchar_t* code) {
    if (code && *code) {
        code_ = Lower(Cut(code, kMaxCodeChars));
        languageId_ = FindLocaleForLanguage(code_.c_str());
    } else {
        code_.clear();
        languageId_ = kUserDefaultLanguage;
    }
    LCID locale = MAKELCID(languageId_, SORT_DEFAULT);
    // Sunday first; the locale lists Monday (SDAYNAME1) to Sunday (SDAYNAME7).
    for (int i = 0; i < 7; ++i) {
        LCTYPE type = LOCALE_SDAYNAME1 + static_cast<LCTYPE>((i + 6) % 7);
        CopyBounded(g_dayNames[i], LocaleText(locale, type, kDayNameChars).c_str());
    }
    for (int i = 0; i < 12; ++i) {
        CopyBounded(g_monthNames[i], LocaleText(locale, LOCALE_SMONTHNAME1 + static_cast<LCTYPE>(i), kMonthNameChars).c_str());
    }
    languageIni_.clear();
    FindLanguageFile(code_.c_str(), languageIni_);
    if (module_) LoadPluralTables();
}

int LanguageStrings::LoadUiString(UINT id, wchar_t* buffer, int size, const wchar_t* section) const {
    if (!buffer || size <= 0) return 0;
    buffer[0] = 0;
    if (section && *section && !languageIni_.empty()) {
        wchar_t key[16];
        swprintf(key, 16, L"%u", id);
        DWORD n = ReadIniString(languageIni_.c_str(), section, key, L"", buffer, static_cast<DWORD>(size));
        if (n > 0) return static_cast<int>(n);
    }
    int n = LoadStringW(module_, id, buffer, size);
    if (n <= 0) {
        buffer[0] = 0;
        return 0;
    }
    buffer[size - 1] = 0;
    return n;
}

std::wstring LanguageStrings::LoadUiString(UINT id, const wchar_t* section) const {
    std::vector<wchar_t> buf(4096);
    int n = LoadUiString(id, buf.data(), static_cast<int>(buf.size()), section);
    return std::wstring(buf.data(), n);
}

bool LanguageStrings::TranslateDialog(HWND dialog, const wchar_t* section) const {
    if (!section || !*section || languageIni_.empty()) return false;
    std::wstring caption = TranslatedText(*this, section, L"Caption", 256);
    if (!caption.empty()) SetWindowTextW(dialog, caption.c_str());
    DialogTexts ctx{this, section};
    EnumChildWindows(dialog, TranslateControl, reinterpret_cast<LPARAM>(&ctx));
    return true;
}

void LanguageStrings::SetPluralInfo(HMODULE module, const int* unitIds) {
    module_ = module;
    for (int i = 0; i < kPluralUnits; ++i) unitIds_[i] = unitIds ? unitIds[i] : 0;
}

void LanguageStrings::LoadPluralTables() {
    if (!module_) return;
    std::vector<wchar_t> buf(3072);
    for (int unit = 0; unit < kPluralUnits; ++unit) {
        if (unitIds_[unit] == 0) continue;
        if (LoadUiString(static_cast<UINT>(unitIds_[unit]), buf.data(), 3072) > 0) SetPluralTable(unit, buf.data());
    }
}

LanguageStrings& Language() {
    static LanguageStrings strings;
    return strings;
}

std::wstring FillTextValue(const std::wstring& format, const wchar_t* value) {
    if (!value) value = L"";
    if (format.empty()) return value;
    std::wstring text = format;
    const size_t at = text.find(L"%s");
    if (at != std::wstring::npos) text.replace(at, 2, value);
    return text;
}
