#include "common/settings/resource_module.h"

#include <string>

#include "common/platform/dialog_utils.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/settings/localisation.h"
#include "common/platform/theme_library.h"

namespace {

HMODULE g_module = nullptr;

void ShowOwnMessage(HWND owner, HMODULE module, UINT textId, UINT captionId) {
    ShowMessageById(owner, module, textId, captionId);
}

ResourceMessageFn g_message = ShowOwnMessage;

// The library holds resources only: it is mapped as data, so nothing in it runs.
HMODULE LoadLibraryData(const std::wstring& path) {
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

bool IsPlainCode(const std::wstring& code) {
    if (code.empty() || code.size() > 15) return false;
    for (wchar_t c : code) {
        if (!((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'))) return false;
    }
    return true;
}

std::wstring ChooseLanguage(const std::wstring& folder) {
    std::wstring section = UserPrefix() + L":main";
    std::wstring code = ReadIniText(UserIniPath().c_str(), section.c_str(), L"language", L"", 16);
    if (code.empty()) {
        std::wstring defaults = folder + L"default.ini";
        code = ReadIniText(defaults.c_str(), L"default:main", L"language", L"", 16);
    }
    if (code.empty()) {
        wchar_t abbrev[16] = {};
        GetLocaleInfoW(MAKELCID(GetUserDefaultLangID(), SORT_DEFAULT), LOCALE_SABBREVLANGNAME, abbrev, 16);
        abbrev[15] = 0;
        code = abbrev;
    }
    if (!code.empty()) CharLowerBuffW(code.data(), static_cast<DWORD>(code.size()));
    return code;
}

}  // namespace

bool IsLanguageDllValid(HMODULE module) {
    if (!module) return false;
    wchar_t version[16] = {};
    int n = LoadStringW(module, kResourceVersionId, version, 16);
    return n > 0 && wcscmp(version, kResourceVersion) == 0;
}

ResourceMessageFn SetResourceMessageFn(ResourceMessageFn fn) {
    ResourceMessageFn old = g_message;
    g_message = fn ? fn : ShowOwnMessage;
    return old;
}

bool LoadResourceModule(const wchar_t* folder) {
    // Every 64-bit Windows is 5.2 or later, so the visual-styles library is
    // always worth binding; without it the programs draw unthemed.
    LoadThemeLibrary();

    if (g_module) return true;

    if (folder && *folder) SetSettingsFolder(folder);
    const std::wstring& dir = SettingsFolder();
    Language().SetLanguageFolder(dir.c_str());

    std::wstring language = ChooseLanguage(dir);
    HMODULE module = nullptr;
    // A code that is not plain letters would reach into another folder.
    if (IsPlainCode(language)) {
        module = LoadLibraryData(dir + L"res_" + language + L".dll");
        if (module && !IsLanguageDllValid(module)) {
            FreeLibrary(module);
            module = nullptr;
        }
    }
    if (!module) {
        language = L"en";
        module = LoadLibraryData(dir + L"res_en.dll");
        if (!module) return false;
        if (!IsLanguageDllValid(module)) {
            g_message(nullptr, module, kResourceRejectedTextId, kResourceRejectedCaptionId);
            FreeLibrary(module);
            return false;
        }
    }
    g_module = module;
    Language().SetPluralInfo(module, kUnitNameIds);
    Language().SetLanguage(language.c_str());
    return true;
}

HMODULE ResourceModule() { return g_module; }

void FreeResourceModule() {
    if (!g_module) return;
    Language().SetPluralInfo(nullptr, nullptr);
    FreeLibrary(g_module);
    g_module = nullptr;
}
