#include "settings/page_sync_options.h"

#include <cwctype>

#include "common/settings/global_settings_io.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/settings/localisation.h"
#include "common/settings/named_mutex.h"
#include "common/records/clock_table.h"
#include "common/platform/sync_service_notify.h"
#include "resources/resource_ids.h"

namespace {

constexpr wchar_t kCommon[] = L"common";
constexpr int kAutosyncAbsent = 0xFFFF;
constexpr size_t kStatusChars = 1023;
constexpr UINT kLastResultLabel = IDS_SYNC_LAST_RESULT;
constexpr UINT kLastTimeLabel = IDS_SYNC_LAST_TIME;
constexpr UINT kResultOk = IDS_SYNC_RESULT_OK;
constexpr UINT kNoTimeKnown = IDS_SYNC_NO_TIME_KNOWN;
constexpr UINT kDateTimeJoin = IDS_SYNC_DATE_TIME_JOIN;

SyncOptions g_options;

std::wstring Bounded(std::wstring text) {
    if (text.size() > kStatusChars) text.resize(kStatusChars);
    return text;
}

int ToField(const std::wstring& text, size_t at, size_t count) {
    int value = 0;
    for (size_t i = at; i < at + count; ++i) value = value * 10 + (text[i] - L'0');
    return value;
}

}  // namespace

SyncOptions& ProgramSyncOptions() { return g_options; }

void LoadSyncOptions(SyncOptions& options) {
    const std::wstring defaultCommon = std::wstring(kDefaultPrefix) + L":common";
    const wchar_t* file = UserIniPath().c_str();
    const wchar_t* section = kCommon;
    int autosync = ReadIniInt(file, section, L"autosync", kAutosyncAbsent);
    if (autosync == kAutosyncAbsent) {
        file = DefaultIniPath().c_str();
        section = defaultCommon.c_str();
        autosync = ReadIniInt(file, section, L"autosync", 0);
    }
    options.autosync = autosync != 0 && autosync != kAutosyncAbsent ? 1 : 0;
    options.synctype = ReadIniInt(file, section, L"synctype", 1);
    options.servers.clear();
    options.typed.clear();
    for (int n = 1;; ++n) {
        const std::wstring key = L"server" + std::to_wstring(n);
        if (!IniKeyExists(file, section, key.c_str())) break;
        wchar_t text[128] = {};
        ReadTimeServer(file, section, n, text, ARRAYSIZE(text));
        if (!text[0]) break;
        options.servers.push_back(text);
    }
    options.nextFree = static_cast<int>(options.servers.size()) + 1;
    options.current = ReadIniInt(file, section, L"server", 0);
}

bool StoreServerText(SyncOptions& options, const std::wstring& text) {
    if (text.empty()) return true;
    for (size_t i = 0; i < options.servers.size(); ++i) {
        // The combo box finds its items without regard to case.
        if (_wcsicmp(options.servers[i].c_str(), text.c_str()) == 0) {
            options.current = static_cast<int>(i) + 1;
            return false;
        }
    }
    const int n = options.nextFree++;
    options.servers.push_back(text);
    options.current = -n;
    options.typed = text;
    const std::wstring key = L"server" + std::to_wstring(n);
    WriteIniText(UserIniPath().c_str(), kCommon, key.c_str(), text.c_str());
    return false;
}

bool WriteSyncOptions(const SyncOptions& options) {
    const wchar_t* file = UserIniPath().c_str();
    bool ok = WriteIniInt(file, kCommon, L"autosync", options.autosync ? 1 : 0);
    ok = WriteIniInt(file, kCommon, L"synctype", options.synctype >= 0 && options.synctype <= 9 ? options.synctype : 1) && ok;
    if (options.current < 0) {
        const std::wstring key = L"server" + std::to_wstring(-options.current);
        ok = WriteIniText(file, kCommon, key.c_str(), options.typed.c_str()) && ok;
    }
    ok = WriteIniInt(file, kCommon, L"server", options.current < 0 ? -options.current : options.current) && ok;
    g_settings.autosync = options.autosync;
    g_settings.synctype = options.synctype;
    const int index = options.current < 0 ? -options.current : options.current;
    if (index >= 1 && index <= static_cast<int>(options.servers.size())) {
        CopyBounded(g_settings.timeServer, options.servers[static_cast<size_t>(index) - 1].c_str());
    }
    // The service takes the lock to read: Apply's hold ends first.
    AfterIniLockReleased(ReloadSyncService);
    return ok;
}

std::wstring SyncResultText() {
    std::wstring text = Language().LoadUiString(kLastResultLabel) + L"<br>";
    const int result = ReadIniInt(UserIniPath().c_str(), kCommon, L"synclastresult", -1);
    if (result == 0) {
        text += Language().LoadUiString(kResultOk);
    } else if (result > 0 && result < 0x10000) {
        text += Language().LoadUiString(static_cast<UINT>(result));
    }
    return Bounded(text);
}

std::wstring SyncTimeText() {
    std::wstring text = Language().LoadUiString(kLastTimeLabel) + L" ";
    const std::wstring stamp = ReadIniText(UserIniPath().c_str(), kCommon, L"synclasttime", L"", 64);
    bool digits = stamp.size() == 14;
    for (wchar_t c : stamp) digits = digits && std::iswdigit(c);
    if (digits) {
        SYSTEMTIME time = {};
        time.wYear = static_cast<WORD>(ToField(stamp, 0, 4));
        time.wMonth = static_cast<WORD>(ToField(stamp, 4, 2));
        time.wDay = static_cast<WORD>(ToField(stamp, 6, 2));
        time.wHour = static_cast<WORD>(ToField(stamp, 8, 2));
        time.wMinute = static_cast<WORD>(ToField(stamp, 10, 2));
        time.wSecond = static_cast<WORD>(ToField(stamp, 12, 2));
        wchar_t date[256] = {};
        wchar_t clock[128] = {};
        // A stamp that is no real moment reads as no time at all.
        if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &time, nullptr, date, ARRAYSIZE(date)) > 0 &&
            GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, ARRAYSIZE(clock)) > 0) {
            return Bounded(text + date + L" " + Language().LoadUiString(kDateTimeJoin) + L" " + clock);
        }
    }
    return Bounded(text + Language().LoadUiString(kNoTimeKnown));
}
