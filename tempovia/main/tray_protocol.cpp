#include "tempovia/main/tray_protocol.h"

#include <shellapi.h>

#include <cstring>
#include <new>

#include "common/records/clock_record.h"
#include "common/records/global_settings.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/records/protocol.h"
#include "common/zones/city_list.h"
#include "common/records/clock_table.h"
#include "common/platform/system_seam.h"
#include "tempovia/main/app_state.h"
#include "tempovia/main/data_services.h"
#include "tempovia/main/main_window.h"
#include "tempovia/news/http_download.h"
#include "tempovia/util/worker_threads.h"

static_assert(sizeof(GlobalSettings) == kGlobalSettingsBytes);
static_assert(sizeof(ClockRecord) == kClockRecordBytes);
static_assert(sizeof(AlarmRecord) == kAlarmRecordBytes);

namespace {

// The taskbar clock lives in Explorer: a hung Explorer must not hang this
// program. False when the block did not get through in time.
bool SendBlock(HWND target, HWND mainWindow, ULONG_PTR kind, const void* data, std::size_t bytes) {
    COPYDATASTRUCT cds = {};
    cds.dwData = kind;
    cds.cbData = static_cast<DWORD>(bytes);
    cds.lpData = const_cast<void*>(data);
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(target, WM_COPYDATA, reinterpret_cast<WPARAM>(mainWindow),
                               reinterpret_cast<LPARAM>(&cds), SMTO_ABORTIFHUNG, kTrayClockSendTimeoutMs,
                               &ignored) != 0;
}

// The worker's own record: one block, freed by the worker.
struct DownloadJob {
    wchar_t url[kUrlImportMaxChars + 1];
    wchar_t target[MAX_PATH];
    HWND replyWindow;
    UINT replyMessage;
};

// Far more than any settings file holds: a larger reply is not one.
constexpr uint64_t kSettingsDownloadMaxBytes = 4u << 20;

// The settings file at the address, downloaded beside the target and moved
// over it only whole: 200, or what DownloadFile answered.
int32_t DownloadSettingsFile(const wchar_t* url, const wchar_t* target, HANDLE stop) {
    char address[kDownloadUrlBytes];
    if (!DownloadUrlFromWide(url, address, static_cast<int>(sizeof(address)))) return kDownloadBadUrl;
    const std::wstring partial = std::wstring(target) + L"$";
    ScopedHttpSession session;
    int32_t status = DownloadFile(session.get(), address, partial.c_str(), kDownloadTimeLimitMs, stop,
                                  kSettingsDownloadMaxBytes);
    if (status == kDownloadStored &&
        !MoveFileExW(partial.c_str(), target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        status = kDownloadCannotCreate;
    if (status != kDownloadStored) DeleteFileW(partial.c_str());
    return status;
}

// Started by the GUI thread, joined at the program's exit.
WorkerThreads g_importWorkers;

// The answer waits no longer than this for the settings program: a window
// busy with a message box must not keep the worker, and so the exit, waiting.
constexpr UINT kImportReplyTimeoutMs = 5000;

DWORD WINAPI DownloadThread(LPVOID param) {
    DownloadJob* job = static_cast<DownloadJob*>(param);
    DWORD exitCode = 1;
    try {
        if (job->url[0] && job->replyWindow && job->replyMessage) {
            // 200 when downloaded.ini holds the file; the settings program
            // imports it then and reports any other status as a failure.
            const int32_t status = DownloadSettingsFile(job->url, job->target, g_importWorkers.stop());
            DWORD_PTR ignored = 0;
            SendMessageTimeoutW(job->replyWindow, job->replyMessage, static_cast<WPARAM>(static_cast<INT_PTR>(status)),
                                0, SMTO_NORMAL, kImportReplyTimeoutMs, &ignored);
            exitCode = 0;
        }
    } catch (...) {
        // Nothing may unwind out of a thread.
    }
    delete job;
    return exitCode;
}

}  // namespace

void SendDataToHook(HWND mainWindow) {
    HWND clock = g_app.trayClock;
    if (!HookInstalled() || !clock) return;
    // After a block that did not get through, the rest would wait as long.
    if (!SendBlock(clock, mainWindow, COPYDATA_SETTINGS, &g_settings, sizeof g_settings)) return;
    std::size_t cities = 0;
    const void* cityTable = CityTableBytes(cities);
    if (cities > static_cast<std::size_t>(kMaxCities)) cities = kMaxCities;
    if (!SendBlock(clock, mainWindow, COPYDATA_CITIES, cityTable, cities * kCityRecordBytes)) return;
    const int clocks = g_clocks ? (g_clockCount < kMaxClocks ? g_clockCount : kMaxClocks) : 0;
    if (!SendBlock(clock, mainWindow, COPYDATA_CLOCKS, g_clocks, static_cast<std::size_t>(clocks) * sizeof(ClockRecord)))
        return;
    for (int i = 0; i < clocks; ++i) {
        const ClockRecord& c = g_clocks[i];
        if (c.alarms && c.alarmCount > 0 &&
            !SendBlock(clock, mainWindow, COPYDATA_ALARMS_BASE + static_cast<ULONG_PTR>(i), c.alarms,
                       static_cast<std::size_t>(c.alarmCount) * sizeof(AlarmRecord))) {
            return;
        }
    }
}

LRESULT OnTrayClockReady(HWND mainWindow, LPARAM clockWindow) {
    HWND clock = reinterpret_cast<HWND>(clockWindow);
    // Data goes only to a window that exists; the reply tells the sender which
    // main program answered in any case.
    g_app.trayClock = (clock && IsWindow(clock)) ? clock : nullptr;
    // The taskbar's thread waits for this answer: it has it before the build
    // stamp waits for the settings-file lock and the blocks go out.
    if (InSendMessage()) ReplyMessage(reinterpret_cast<LRESULT>(mainWindow));
    if (!g_app.noHook) WriteLastBuild();
    if (g_app.settingsSwitch[0]) {
        const std::wstring settings = SettingsFolder() + L"settings.exe";
        System().ShellExecuteOpen(nullptr, L"open", settings.c_str(), g_app.settingsSwitch, SettingsFolder().c_str(),
                                  SW_SHOWNORMAL);
    }
    SendDataToHook(mainWindow);
    return reinterpret_cast<LRESULT>(mainWindow);
}

std::wstring UrlFromImportBlock(const COPYDATASTRUCT& data) {
    std::wstring url;
    if (!data.lpData) return url;
    const std::size_t chars = data.cbData / sizeof(wchar_t);
    const std::size_t limit = chars < kUrlImportMaxChars ? chars : kUrlImportMaxChars;
    const wchar_t* text = static_cast<const wchar_t*>(data.lpData);
    std::size_t n = 0;
    while (n < limit && text[n]) ++n;
    url.assign(text, n);
    return url;
}

LRESULT OnMainCopyData(HWND, HWND sender, const COPYDATASTRUCT* data) {
    if (!data || data->dwData != COPYDATA_URL_IMPORT || !data->lpData || data->cbData == 0) return 0;
    const std::wstring url = UrlFromImportBlock(*data);
    if (url.empty()) return 0;
    const std::wstring target = SettingsFolder() + L"downloaded.ini";
    StartDownloadThread(url, target, sender, MSG_DOWNLOAD_REPLY);
    return 1;
}

bool StartDownloadThread(const std::wstring& url, const std::wstring& target, HWND replyWindow,
                         UINT replyMessage) {
    DownloadJob* job = new (std::nothrow) DownloadJob{};
    if (!job) return false;
    CopyBounded(job->url, url.c_str());
    CopyBounded(job->target, target.c_str());
    job->replyWindow = replyWindow;
    job->replyMessage = replyMessage;
    if (!g_importWorkers.Start(DownloadThread, job)) {
        delete job;
        return false;
    }
    return true;
}

bool StopUrlImports(DWORD ms) { return g_importWorkers.StopAndWait(ms); }
