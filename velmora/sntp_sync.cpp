#include <winsock2.h>

#include "velmora/sync_engine.h"
#include "velmora/name_lookup.h"
#include "velmora/sync_codes.h"
#include "velmora/sync_state.h"
#include "velmora/system_clock.h"

namespace {

// The server text in the ANSI code page, at most 127 bytes.
void ToAnsi(const wchar_t* text, char (&out)[128]) {
    out[0] = 0;
    int n = WideCharToMultiByte(CP_ACP, 0, text, -1, out, sizeof(out), nullptr, nullptr);
    if (n <= 0) out[0] = 0;
    out[sizeof(out) - 1] = 0;
}

int ResolveServer(const char* name, DWORD timeoutMs, in_addr& address) {
    address.s_addr = inet_addr(name);
    if (address.s_addr != INADDR_NONE) return kSyncOk;
    return LookUpServer(name, Engine().lookup, timeoutMs, Engine().stop, address);
}

int Exchange(SOCKET s, const wchar_t* server, DWORD timeoutMs) {
    char name[128];
    ToAnsi(server, name);
    in_addr address{};
    if (!name[0]) return kSyncBadServer;
    const int resolved = ResolveServer(name, timeoutMs, address);
    if (resolved != kSyncOk) return resolved;

    // The watchdog closes the socket at the timeout; the receive limit is a
    // second bound in case a closed socket does not wake the receive.
    const DWORD receiveLimit = timeoutMs + 1000;

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(Engine().sntpPort);
    to.sin_addr = address;
    const NtpTimestamp sent = NtpTimestampOfFileTime(Clock().NowFileTime());
    unsigned char packet[kSntpPacketBytes];
    BuildSntpRequest(packet, sent);
    if (sendto(s, reinterpret_cast<const char*>(packet), sizeof(packet), 0, reinterpret_cast<sockaddr*>(&to),
               sizeof(to)) != static_cast<int>(sizeof(packet))) {
        return kSyncSendFailed;
    }

    // Only the server asked may set the clock: a datagram from anywhere else
    // is dropped and the wait goes on for the server's own, up to the limit.
    const DWORD start = GetTickCount();
    int received = 0;
    for (;;) {
        const DWORD used = GetTickCount() - start;
        if (used >= receiveLimit) return kSyncNoReply;
        const DWORD left = receiveLimit - used;
        setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&left), sizeof(left));
        sockaddr_in from{};
        int fromSize = sizeof(from);
        received = recvfrom(s, reinterpret_cast<char*>(packet), sizeof(packet), 0, reinterpret_cast<sockaddr*>(&from),
                            &fromSize);
        if (received == SOCKET_ERROR) {
            // A longer reply (extension fields) still fills the whole header.
            if (WSAGetLastError() != WSAEMSGSIZE) return kSyncNoReply;
            received = sizeof(packet);
        }
        if (from.sin_addr.s_addr == address.s_addr && from.sin_port == to.sin_port) break;
    }

    SYSTEMTIME utc{};
    const int code = SntpReplyTime(packet, static_cast<size_t>(received), sent, timeoutMs, utc);
    if (code != kSyncOk) return code;
    if (!IsPlausibleServerTime(utc)) return kSyncNoTime;
    return Clock().SetUtc(utc) ? kSyncOk : kSyncSetFailed;
}

}  // namespace

int SyncBySntp(const wchar_t* server, DWORD timeoutMs) {
    SyncState& e = Engine();
    SOCKET s = e.networkStarted ? socket(AF_INET, SOCK_DGRAM, 0) : INVALID_SOCKET;
    if (s == INVALID_SOCKET) return ReportSyncResult(kSyncNoNetwork);
    e.socket.store(s);
    // The clock does not wait for the file: a busy file shows the outcome
    // instead, or says it was busy.
    WriteSyncResult(kSyncInProgress);
    int code = kSyncStopped;
    if (!SyncStopped()) {
        SyncWatchdog watchdog(timeoutMs);
        code = watchdog.running() ? Exchange(s, server ? server : L"", timeoutMs) : kSyncNoNetwork;
    }
    CloseSyncSocket(false);
    return ReportSyncResult(OutcomeAfterStop(code));
}
