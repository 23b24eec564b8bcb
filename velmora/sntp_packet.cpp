#include "velmora/sntp_packet.h"

#include <cstring>

#include "velmora/sync_codes.h"

namespace {

constexpr uint64_t kFileTimeUnitsPerSecond = 10000000ULL;
constexpr uint64_t kEraSeconds = 1ULL << 32;
constexpr NtpTimestamp kAllOnes = ~NtpTimestamp{0};

uint64_t BigEndian(const unsigned char* p, int bytes) {
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) value = (value << 8) | p[i];
    return value;
}

void PutBigEndian64(unsigned char* p, uint64_t value) {
    for (int i = 7; i >= 0; --i, value >>= 8) p[i] = static_cast<unsigned char>(value);
}

bool Plausible(NtpTimestamp t) { return t != 0 && t != kAllOnes; }

}  // namespace

NtpTimestamp NtpTimestampOfFileTime(uint64_t fileTime) {
    const uint64_t since1900 = fileTime > kNtpEpochAsFileTime ? fileTime - kNtpEpochAsFileTime : 0;
    const uint64_t seconds = (since1900 / kFileTimeUnitsPerSecond) & 0xFFFFFFFFULL;
    const uint64_t fraction = ((since1900 % kFileTimeUnitsPerSecond) << 32) / kFileTimeUnitsPerSecond;
    return (seconds << 32) | fraction;
}

void BuildSntpRequest(unsigned char (&packet)[kSntpPacketBytes], NtpTimestamp transmit) {
    std::memset(packet, 0, sizeof(packet));
    packet[0] = static_cast<unsigned char>(kSntpRequestWord >> 24);
    packet[1] = static_cast<unsigned char>(kSntpRequestWord >> 16);
    packet[2] = static_cast<unsigned char>(kSntpRequestWord >> 8);
    packet[3] = static_cast<unsigned char>(kSntpRequestWord);
    PutBigEndian64(packet + kSntpTransmitOffset, transmit);
}

bool NtpTimestampToSystemTime(uint32_t seconds, uint32_t fraction, SYSTEMTIME& utc) {
    const uint64_t sinceEpoch = (seconds & 0x80000000u) ? uint64_t(seconds) : uint64_t(seconds) + kEraSeconds;
    const uint64_t ticks = sinceEpoch * kFileTimeUnitsPerSecond + kNtpEpochAsFileTime;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ticks);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    if (!FileTimeToSystemTime(&ft, &utc)) return false;
    utc.wMilliseconds = static_cast<WORD>((uint64_t(fraction) * 1000) >> 32);
    return true;
}

int SntpReplyTime(const unsigned char* reply, size_t length, NtpTimestamp requestTransmit, DWORD maxTurnaroundMs,
                  SYSTEMTIME& utc) {
    // A reply must be a whole header from a synchronised server; anything
    // else would set the clock from noise.
    if (!reply || length < kSntpPacketBytes) return kSyncNoTime;
    const unsigned leap = reply[0] >> 6;
    const unsigned version = (reply[0] >> 3) & 7;
    const unsigned mode = reply[0] & 7;
    const unsigned stratum = reply[1];
    if (leap == 3 || version < 1 || version > 4 || (mode != 4 && mode != 5) || stratum == 0) return kSyncNoTime;
    // Established clients take only an answer to their own request, with
    // times a server can have given: a forged, stale or broken reply (all
    // ones reads as February 2036) must not set the clock.
    if (BigEndian(reply + kSntpOriginateOffset, 8) != requestTransmit) return kSyncNoTime;
    const NtpTimestamp received = BigEndian(reply + kSntpReceiveOffset, 8);
    const NtpTimestamp transmit = BigEndian(reply + kSntpTransmitOffset, 8);
    if (!Plausible(received) || !Plausible(transmit)) return kSyncNoTime;
    // Modulo 2^64, so that a turnaround across an era boundary counts right.
    const uint64_t turnaround = transmit - received;
    const uint64_t limit = (uint64_t(maxTurnaroundMs) << 32) / 1000;
    if (turnaround > limit) return kSyncNoTime;
    if (!NtpTimestampToSystemTime(static_cast<uint32_t>(transmit >> 32), static_cast<uint32_t>(transmit), utc)) {
        return kSyncNoTime;
    }
    return kSyncOk;
}
