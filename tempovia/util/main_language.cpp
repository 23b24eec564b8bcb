#include "tempovia/util/main_language.h"

#include <cwchar>

#include "common/platform/dialog_utils.h"
#include "common/settings/ini_store.h"
#include "common/platform/locale_text.h"
#include "common/settings/localisation.h"
#include "common/settings/resource_module.h"

namespace {

constexpr int kLanguageAbbrevChars = 16;
constexpr int kMessageTextChars = 128;
constexpr int kMessageCaptionChars = 32;

// The language layer's order for one text, but with the string table of the
// given module rather than the language object's library.
void LoadText(HMODULE module, UINT id, const wchar_t* section, wchar_t* buffer, int size) {
    buffer[0] = L'\0';
    const LanguageStrings& language = Language();
    if (section && *section && !language.languageIniPath().empty()) {
        wchar_t key[16];
        swprintf(key, 16, L"%u", id);
        if (GetPrivateProfileStringW(section, key, L"", buffer, static_cast<DWORD>(size),
                                     language.languageIniPath().c_str()) > 0)
            return;
    }
    if (LoadStringW(module, id, buffer, size) <= 0) buffer[0] = L'\0';
}

}  // namespace

void SetLanguage(const wchar_t* code) { Language().SetLanguage(code); }

void SetPluralInfo(HMODULE module, const int* unitIds) { Language().SetPluralInfo(module, unitIds); }

void SetPluralTable(int unit, const wchar_t* text) { Language().SetPluralTable(unit, text); }

int GetLanguageAbbrev(LANGID language, wchar_t* buffer, int size) {
    if (!buffer || size <= 0) return 0;
    wchar_t abbrev[kLanguageAbbrevChars + 1];
    GetLocaleText(language, LOCALE_SABBREVLANGNAME, abbrev, kLanguageAbbrevChars + 1);
    return static_cast<int>(CopyBounded(buffer, static_cast<size_t>(size), abbrev));
}

void ShowResourceErrorBox(HMODULE module) {
    ShowMessageById(nullptr, module, kResourceRejectedTextId, kResourceRejectedCaptionId);
}

bool IsResourceModuleValid(HMODULE module) { return IsLanguageDllValid(module); }

int ShowMessageById(HWND owner, HMODULE module, UINT textId, UINT captionId, const wchar_t* section) {
    wchar_t text[kMessageTextChars + 1];
    wchar_t caption[kMessageCaptionChars + 1];
    LoadText(module, textId, section, text, kMessageTextChars + 1);
    LoadText(module, captionId, section, caption, kMessageCaptionChars + 1);
    return MessageBoxW(owner, text, caption, MB_OK);
}
