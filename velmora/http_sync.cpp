#include "velmora/http_deadline.h"
#include "velmora/http_head.h"
#include "velmora/sync_codes.h"
#include "velmora/sync_engine.h"
#include "velmora/sync_state.h"
#include "velmora/system_clock.h"

namespace {

const char* kAcceptTypes[] = {"text/html", "text/plain", "text/xml", "application/xml", nullptr};

// WinINet's own limits are far longer than a sync may take.
void LimitWaits(HINTERNET internet, DWORD timeoutMs) {
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        InternetSetOptionW(internet, option, &timeoutMs, sizeof(timeoutMs));
    }
}

}  // namespace

int SyncByHttp(const wchar_t* server, int httpSyncWait, DWORD timeoutMs) {
    char url[128];
    if (WideCharToMultiByte(CP_ACP, 0, server ? server : L"", -1, url, sizeof(url), nullptr, nullptr) <= 0) url[0] = 0;
    url[sizeof(url) - 1] = 0;
    WriteSyncResult(kSyncInProgress);
    if (SyncStopped()) return ReportSyncResult(kSyncStopped);

    // The exchange's time starts once "in progress" is written.
    BeginHttpDeadline(timeoutMs, Engine().stop);
    CHttpSession session;
    OpenHttpSession(session, INTERNET_FLAG_ASYNC);
    session.acceptTypes = kAcceptTypes;
    if (session.internet) LimitWaits(session.internet, timeoutMs);

    const DWORD t0 = GetTickCount();
    const int status = GetLatest(session, url, nullptr, nullptr, nullptr, 0);
    const DWORD t1 = GetTickCount();

    int code;
    if (HttpDeadlineExpired()) {
        code = kSyncNoReply;
    } else if (status == 200 || status == 204) {
        if (session.date.wYear == 0) {
            code = kSyncNoTime;
        } else if (httpSyncWait < 0 || t1 - t0 > static_cast<DWORD>(httpSyncWait)) {
            code = kSyncNoReply;
        } else if (!IsPlausibleServerTime(session.date)) {
            code = kSyncNoTime;
        } else {
            code = Clock().SetUtc(session.date) ? kSyncOk : kSyncSetFailed;
        }
    } else if (status == -2 || status == -3) {
        code = kSyncSendFailed;
    } else if (status == -1) {
        code = kSyncBadServer;
    } else {
        code = kSyncNoNetwork;
    }
    CloseHttpSession(session);
    EndHttpDeadline();
    return ReportSyncResult(OutcomeAfterStop(code));
}
