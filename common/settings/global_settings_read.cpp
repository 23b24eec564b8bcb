#include "common/records/global_settings.h"

#include <windows.h>

#include <cwchar>
#include <string>

#include "common/records/style_names.h"
#include "common/settings/background_text.h"
#include "common/settings/global_settings_io.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/settings/localisation.h"

namespace {

constexpr wchar_t kCommonSection[] = L"common";
constexpr wchar_t kMapSection[] = L"map";
constexpr int kAutosyncAbsent = 0xFFFF;
constexpr int kTrayClocksDefault = 10;
constexpr unsigned kTrayClocksMax = 12;
constexpr DWORD kLanguageChars = 16;
constexpr DWORD kTimeServerChars = 128;
constexpr DWORD kFeedUrlChars = 1024;
constexpr DWORD kHighlightChars = 512;

NewsChannelConsumer g_newsConsumer = nullptr;

int AsFlag(int value) { return value != 0 ? 1 : 0; }

struct MainReader {
    const wchar_t* file;
    const wchar_t* section;
    int Int(const wchar_t* key, int def) const { return ReadIniInt(file, section, key, def); }
    int Flag(const wchar_t* key, int def) const { return AsFlag(Int(key, def)); }
};

void ReadLanguage(const MainReader& in, GlobalSettings& settings) {
    std::wstring current = Language().languageCode();
    std::wstring code = ReadIniText(in.file, in.section, L"language", current.c_str(), kLanguageChars);
    if (code.size() > 2) code.resize(2);
    if (!code.empty()) CharLowerBuffW(code.data(), static_cast<DWORD>(code.size()));
    CopyBounded(settings.language, code.c_str());
    Language().SetLanguageFolder(SettingsFolder().c_str());
    Language().SetLanguage(code.c_str());
}

void ReadSkin(const MainReader& in, GlobalSettings& settings) {
    ReadIniString(in.file, in.section, L"skin", L"", settings.skin, ARRAYSIZE(settings.skin));
    TakeSkinKind(settings);
}

// While the user has no sync settings of his own, the shipped ones apply.
void ReadSyncOptions(GlobalSettings& settings) {
    const wchar_t* user = UserIniPath().c_str();
    const wchar_t* defaults = DefaultIniPath().c_str();
    const std::wstring defaultCommon = std::wstring(kDefaultPrefix) + L":" + kCommonSection;

    const wchar_t* file = user;
    const wchar_t* section = kCommonSection;
    settings.autosync = ReadIniInt(user, kCommonSection, L"autosync", kAutosyncAbsent);
    if (settings.autosync == kAutosyncAbsent) {
        file = defaults;
        section = defaultCommon.c_str();
        settings.autosync = ReadIniInt(file, section, L"autosync", kAutosyncAbsent);
    }
    int server = ReadIniInt(file, section, L"server", 0);
    ReadTimeServer(file, section, server, settings.timeServer, ARRAYSIZE(settings.timeServer));
    settings.synctype = ReadIniInt(file, section, L"synctype", 1);
}

void ReadLocalZoneHighlight(const MainReader& in, GlobalSettings& settings) {
    std::wstring text = ReadIniText(in.file, in.section, L"localzonehighlight", L"", kHighlightChars);
    BackgroundProfile parsed = settings.localzonehighlight;
    if (ParseBackgroundProfile(text.c_str(), parsed, nullptr)) {
        settings.localzonehighlight = parsed;
    } else {
        settings.localzonehighlight.enabled = 0;
    }
}

int ReadTrayClocks(const MainReader& in) {
    int value = in.Int(L"trayclocks", kTrayClocksDefault);
    if (value == 0) return kTrayClocksDefault;
    if (static_cast<unsigned>(value) >= kTrayClocksMax) return static_cast<int>(kTrayClocksMax);
    return value;
}

int ReadNewsChannels(const wchar_t* prefix, const MainReader& in) {
    int count = in.Int(L"rss_channels", 0);
    if (count < 0) count = 0;
    if (count > kMaxNewsChannels) count = kMaxNewsChannels;
    NewsChannelConsumer consumer = g_newsConsumer;
    if (!consumer) return 0;

    int accepted = 0;
    for (int i = 1; i <= count; ++i) {
        std::wstring section = std::wstring(prefix) + L":rss" + std::to_wstring(i);
        std::wstring url = ReadIniText(in.file, section.c_str(), L"url", L"", kFeedUrlChars);
        if (url.empty()) continue;
        int ttl = ReadIniInt(in.file, section.c_str(), L"ttl", 10);
        int expanded = ReadIniInt(in.file, section.c_str(), L"expanded", 1);
        int enabled = ReadIniInt(in.file, section.c_str(), L"enabled", 0);
        if (consumer(url.c_str(), ttl, i - 1, expanded, enabled)) ++accepted;
    }
    consumer(nullptr, 0, -1, 0, 0);
    return accepted;
}

}  // namespace

void TakeSkinKind(GlobalSettings& settings) {
    settings.skinIsFolder = IsBuiltInStyleName(settings.skin) ? 0 : 1;
    settings.classicStyle = _wcsicmp(settings.skin, kClassicStyleName) == 0 ? 1 : 0;
}

NewsChannelConsumer SetNewsChannelConsumer(NewsChannelConsumer consumer) {
    NewsChannelConsumer previous = g_newsConsumer;
    g_newsConsumer = consumer;
    return previous;
}

NewsChannelConsumer GetNewsChannelConsumer() { return g_newsConsumer; }

void ReadTimeServer(const wchar_t* file, const wchar_t* section, int n, wchar_t* buffer, size_t size) {
    if (!buffer || size == 0) return;
    std::wstring key = L"server" + std::to_wstring(n);
    DWORD chars = size < kTimeServerChars ? static_cast<DWORD>(size) : kTimeServerChars;
    ReadIniString(file, section ? section : kCommonSection, key.c_str(), kDefaultTimeServer, buffer, chars);
}

void ReadMainOptions(const wchar_t* prefix, GlobalSettings& settings, const wchar_t* section) {
    if (!prefix) prefix = L"";
    const std::wstring mainSection = std::wstring(prefix) + L":main";
    const MainReader in{UserIniPath().c_str(), section ? section : mainSection.c_str()};

    CopyBounded(settings.programFolder, SettingsFolder().c_str());
    ReadLanguage(in, settings);

    ReadSkin(in, settings);
    settings.transparentskin = in.Int(L"transparentskin", 0);
    settings.overlayprefixes = in.Int(L"overlayprefixes", 1);
    settings.tooltipkind = in.Flag(L"tooltipkind", 0);
    settings.tooltips = in.Flag(L"tooltips", 1);
    settings.vistrel = in.Flag(L"vistrel", 1);

    ReadSyncOptions(settings);

    settings.initialized = AsFlag(ReadIniInt(in.file, kMapSection, L"initialized", 1));
    settings.inet_scripts = in.Flag(L"inet_scripts", 0);
    settings.iso_weeks = in.Flag(L"iso_weeks", 0);
    settings.setlocalinmenu = in.Int(L"setlocalinmenu", 0) == 1 ? 1 : 0;
    ReadLocalZoneHighlight(in, settings);

    ApplyAutostart(in.Int(L"autostart", 1) == 1, settings.programFolder);

    settings.trayclocks = ReadTrayClocks(in);
    settings.ads = in.Int(L"ads", 1);
    settings.notifications = in.Int(L"notifications", 1);
    settings.fade_news = in.Int(L"fade_news", 1);
    settings.runFlags = 0;

    settings.newsChannels = ReadNewsChannels(prefix, in);
}
