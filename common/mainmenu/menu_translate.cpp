#include "common/mainmenu/menu_translate.h"

#include <cwchar>
#include <string>

#include "common/settings/localisation.h"
#include "common/platform/text_bounds.h"

namespace {

constexpr DWORD kMenuTextChars = 1024;

bool IsKeyChar(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'-' ||
           c == L'.' || c == L'_';
}

// The first non-empty value of the key in the two files.
bool LookUp(const LanguageStrings& language, const wchar_t* section, const wchar_t* key, wchar_t* value) {
    for (const std::wstring* file : {&language.languageIniPath(), &language.englishIniPath()}) {
        if (file->empty()) continue;
        value[0] = L'\0';
        GetPrivateProfileStringW(section, key, L"", value, kMenuTextChars, file->c_str());
        if (value[0]) return true;
    }
    return false;
}

}  // namespace

void MakeIniKeyName(wchar_t* text, std::size_t size) {
    if (!text || size == 0) return;
    std::size_t out = 0;
    for (std::size_t in = 0; in < size && text[in]; ++in) {
        const wchar_t c = text[in];
        if (c == L' ') {
            text[out++] = L'_';
        } else if (IsKeyChar(c)) {
            text[out++] = c;
        }
    }
    text[out < size ? out : size - 1] = L'\0';
}

bool TranslateMenu(const LanguageStrings& language, HMENU menu, const wchar_t* section) {
    if (!menu || !section || !*section) return false;
    bool changed = false;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[kMenuTextChars] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_SUBMENU | MIIM_ID | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = kMenuTextChars - 1;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (info.fType & MFT_SEPARATOR) continue;
        wchar_t key[kMenuTextChars] = {};
        if (info.hSubMenu) {
            CopyBounded(key, text);
            MakeIniKeyName(key, kMenuTextChars);
            if (TranslateMenu(language, info.hSubMenu, section)) changed = true;
        } else {
            std::swprintf(key, kMenuTextChars, L"%d", static_cast<int>(info.wID));
        }
        wchar_t value[kMenuTextChars] = {};
        if (!key[0] || !LookUp(language, section, key, value)) continue;
        MENUITEMINFOW update = {};
        update.cbSize = sizeof update;
        update.fMask = MIIM_STRING;
        update.dwTypeData = value;
        if (SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &update)) changed = true;
    }
    return changed;
}
