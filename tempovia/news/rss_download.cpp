#include "tempovia/news/rss_download.h"

#include <atomic>
#include <cctype>
#include <cstring>
#include <string>

#include "common/records/global_settings.h"
#include "common/records/clock_table.h"
#include "common/platform/text_bounds.h"
#include "tempovia/news/http_download.h"
#include "tempovia/util/worker_threads.h"

namespace {

volatile LONG g_running = 0;

// The job's thread, started and joined by the GUI thread, and the event that
// tells it to stop. One job runs at a time (g_running).
WorkerThreads g_worker;
// The record being reported right now (one job at a time): the main window
// reads MSG_RSS_DOWNLOADED's lParam only when it is this one.
std::atomic<const RssProgress*> g_liveRecord{nullptr};
int32_t g_jobNumber = 0;

constexpr int64_t kTicksPerDay = 864000000000LL;

// Whole days since 1 January 1601; -1 for a date that is none.
int64_t DayNumber(WORD year, WORD month, WORD day) {
    SYSTEMTIME date = {};
    date.wYear = year;
    date.wMonth = month;
    date.wDay = day;
    FILETIME file;
    if (!SystemTimeToFileTime(&date, &file)) return -1;
    const int64_t ticks = (static_cast<int64_t>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
    return ticks / kTicksPerDay;
}

RssJobFeed* Feeds(RssJobHead* head) { return reinterpret_cast<RssJobFeed*>(head + 1); }

// Frees the job and lowers the running counter on every way out of the worker.
struct JobGuard {
    RssJobHead* head;
    ~JobGuard() {
        if (head) GlobalFree(head);
        InterlockedDecrement(&g_running);
    }
};

bool Exiting() {
    return (*static_cast<volatile uint32_t*>(&g_settings.runFlags) & kRunFlagExiting) != 0 ||
           WaitForSingleObject(g_worker.stop(), 0) == WAIT_OBJECT_0;
}

// An address that does not fit the code page's 511 bytes, or holds characters
// the code page lacks, would be fetched cut or with "?" in it: some other
// address. It is refused, and the failure reported like any other.
const char* kAcceptTypes[] = {"text/xml", "application/xml", "text/plain", nullptr};

}  // namespace

bool RssChannelDue(const RSS::Channel& channel, const SYSTEMTIME& nowUtc) {
    const int32_t wait = channel.interval > 0 ? channel.interval : channel.ttl;
    const int64_t now = nowUtc.wHour * 60 + nowUtc.wMinute;
    const int64_t today = DayNumber(nowUtc.wYear, nowUtc.wMonth, nowUtc.wDay);
    const SYSTEMTIME& last = channel.downloaded;
    const int64_t lastMinute = last.wHour * 60 + last.wMinute;
    int64_t elapsed;
    if (last.wYear != nowUtc.wYear || last.wMonth != nowUtc.wMonth || last.wDay != nowUtc.wDay) {
        const int64_t day = DayNumber(last.wYear, last.wMonth, last.wDay);
        // A date in the future waits for a full refresh; an invalid one is
        // treated as long past, so a broken stamp cannot stop the feed.
        if (day >= today) return false;
        elapsed = day < 0 ? INT64_MAX : now + (today - day) * 1440 - lastMinute;
    } else {
        elapsed = now - lastMinute;
    }
    return elapsed >= wait;
}

bool RssRefresh(bool dueOnly, RssProgressCallback callback) {
    SYSTEMTIME now;
    GetSystemTime(&now);
    return RssRefreshAt(dueOnly, callback, now);
}

bool RssRefreshAt(bool dueOnly, RssProgressCallback callback, const SYSTEMTIME& nowUtc) {
    const int count = GetRssChannelCount();
    if (count == 0) return false;
    // Raised here rather than by the thread, so two quick requests cannot
    // start two jobs.
    if (InterlockedCompareExchange(&g_running, 1, 0) != 0) return false;

    auto* head = static_cast<RssJobHead*>(
        GlobalAlloc(GPTR, sizeof(RssJobHead) + sizeof(RssJobFeed) * static_cast<size_t>(count)));
    if (!head) {
        InterlockedDecrement(&g_running);
        return false;
    }
    RssJobFeed* feeds = Feeds(head);
    int32_t due = 0;
    for (int i = 0; i < count; ++i) {
        const RSS::Channel* channel = GetRssChannel(i);
        if (!channel->enabled) continue;
        if (dueOnly && channel->loaded && !RssChannelDue(*channel, nowUtc)) continue;
        // A cut path would write some other file; such a channel has nowhere to go.
        if (channel->cacheFile.empty() || channel->cacheFile.size() > kRssCachePathChars ||
            channel->url.size() > kRssUrlChars) {
            continue;
        }
        CopyBounded(feeds[due].url, channel->url.c_str());
        CopyBounded(feeds[due].cacheFile, channel->cacheFile.c_str());
        ++due;
    }
    if (due == 0) {
        GlobalFree(head);
        InterlockedDecrement(&g_running);
        return false;
    }
    head->callback = callback;
    head->feedCount = due;
    head->jobNumber = ++g_jobNumber;
    if (!g_worker.Start(RssDownloadThread, head)) {
        GlobalFree(head);
        InterlockedDecrement(&g_running);
        return false;
    }
    return true;
}

long RssDownloadsRunning() { return InterlockedCompareExchange(&g_running, 0, 0); }

bool StopRssDownloads(DWORD ms) { return g_worker.StopAndWait(ms); }

std::string RssAcceptLanguageHeader() {
    char language[16] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SABBREVLANGNAME, language, sizeof(language)) < 3) {
        std::memcpy(language, "en", 2);
    }
    language[2] = '\0';
    for (char* p = language; *p; ++p) *p = static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    return std::string("Accept-Language: ") + language + ",en";
}

DWORD WINAPI RssDownloadThread(LPVOID job) {
    JobGuard guard{static_cast<RssJobHead*>(job)};
    try {
        RssJobHead* head = guard.head;
        if (!head) return 0;
        const std::string language = RssAcceptLanguageHeader();
        ScopedHttpSession session;
        session.get().acceptTypes = kAcceptTypes;
        session.get().extraHeaders = language.c_str();
        RssJobFeed* feeds = Feeds(head);
        for (int32_t i = 0; i < head->feedCount; ++i) {
            if (Exiting()) break;
            RssJobFeed& feed = feeds[i];
            char url[kRssUrlChars + 1] = {};
            int32_t result = kDownloadBadUrl;
            // The cache is replaced only once the new feed has been read
            // (HandleRssDownloaded): a cut or foreign body keeps the old one.
            const std::wstring partial = RssPartialFile(feed.cacheFile);
            if (DownloadUrlFromWide(feed.url, url, static_cast<int>(sizeof(url))))
                result = DownloadFile(session.get(), url, partial.c_str(), kDownloadTimeLimitMs, g_worker.stop());
            // At exit nobody is left to read it.
            if (result != kDownloadStored || Exiting()) DeleteFileW(partial.c_str());
            if (Exiting()) break;
            RssProgress progress{feed.url, feed.cacheFile, result, head->jobNumber, i, head->feedCount};
            g_liveRecord.store(&progress);
            const bool goOn = head->callback && head->callback(result, &progress);
            g_liveRecord.store(nullptr);
            if (!goOn) break;
        }
    } catch (...) {
        // Nothing may unwind out of a thread; the guard still cleans up.
    }
    return 0;
}

const RssProgress* LiveRssProgress(LPARAM record) {
    const RssProgress* live = g_liveRecord.load();
    return live && reinterpret_cast<LPARAM>(live) == record ? live : nullptr;
}

std::wstring RssPartialFile(const std::wstring& cacheFile) { return cacheFile + L"$"; }

RssDownloadOutcome HandleRssDownloaded(int status, const RssProgress* progress) {
    RssDownloadOutcome outcome{nullptr, false};
    if (!progress) return outcome;
    outcome.lastFeed = progress->feedIndex + 1 >= progress->feedCount;
    if (status != 0 && status != 200) return outcome;
    RSS::Channel* channel = FindRssChannel(progress->url);
    if (!channel || channel->cacheFile.empty()) return outcome;
    const std::wstring partial = RssPartialFile(channel->cacheFile);
    const BYTE wasLoaded = channel->loaded;
    const SYSTEMTIME wasDownloaded = channel->downloaded;
    if (channel->LoadFile(partial.c_str(), false)) {
        MoveFileExW(partial.c_str(), channel->cacheFile.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        channel->lastJob = progress->jobNumber;
        outcome.parsed = channel;
    } else {
        // The channel goes on with the feed it had, on its usual schedule.
        channel->loaded = wasLoaded;
        channel->downloaded = wasDownloaded;
        DeleteFileW(partial.c_str());
    }
    return outcome;
}
