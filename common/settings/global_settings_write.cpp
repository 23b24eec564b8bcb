#include <windows.h>

#include <cwchar>
#include <string>

#include "common/settings/background_text.h"
#include "common/settings/global_settings_io.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"

bool WriteMainOptions(const wchar_t* prefix, const GlobalSettings& settings) {
    const std::wstring section = std::wstring(prefix ? prefix : L"") + L":main";
    const wchar_t* file = UserIniPath().c_str();
    const wchar_t* s = section.c_str();
    bool ok = true;
    auto digit = [&](const wchar_t* key, int value) { ok &= WriteIniInt(file, s, key, value); };

    std::wstring language(settings.language, wcsnlen(settings.language, ARRAYSIZE(settings.language)));
    ok &= WriteIniText(file, s, L"language", language.c_str());
    digit(L"vistrel", settings.vistrel);

    digit(L"trayclocks", settings.trayclocks);
    digit(L"transparentskin", settings.transparentskin);
    digit(L"overlayprefixes", settings.overlayprefixes);
    digit(L"tooltips", settings.tooltips);
    digit(L"tooltipkind", settings.tooltipkind);
    std::wstring skin(settings.skin, wcsnlen(settings.skin, ARRAYSIZE(settings.skin)));
    ok &= WriteIniText(file, s, L"skin", skin.c_str());

    digit(L"ads", settings.ads == 1);
    digit(L"notifications", settings.notifications == 1);
    digit(L"fade_news", settings.fade_news == 1);

    digit(L"inet_scripts", settings.inet_scripts);
    digit(L"iso_weeks", settings.iso_weeks);
    digit(L"setlocalinmenu", settings.setlocalinmenu);
    wchar_t highlight[kProfileTextChars] = {};
    FormatBackgroundProfile(settings.localzonehighlight, highlight, kProfileTextChars, nullptr);
    ok &= WriteIniText(file, s, L"localzonehighlight", highlight);

    ok &= WriteIniInt(file, L"map", L"initialized", settings.initialized);
    return ok;
}
