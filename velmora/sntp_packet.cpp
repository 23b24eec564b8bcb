#include "velmora/sntp_packet.h"

#include <cstring>

#include "velmora/sync_codes.h"

namespace {

uint32_t BigEndian32(const unsigned char* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

}  // namespace

void BuildSntpRequest(unsigned char (&packet)[kSntpPacketBytes]) {
    std::memset(packet, 0, sizeof(packet));
    packet[0] = static_cast<unsigned char>(kSntpRequestWord >> 24);
    packet[1] = static_cast<unsigned char>(kSntpRequestWord >> 16);
    packet[2] = static_cast<unsigned char>(kSntpRequestWord >> 8);
    packet[3] = static_cast<unsigned char>(kSntpRequestWord);
}

bool NtpTimestampToSystemTime(uint32_t seconds, uint32_t fraction, SYSTEMTIME& utc) {
    const uint64_t ticks = uint64_t(seconds) * 10000000ULL + kNtpEpochAsFileTime;
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(ticks);
    ft.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    if (!FileTimeToSystemTime(&ft, &utc)) return false;
    utc.wMilliseconds = static_cast<WORD>((uint64_t(fraction) * 1000) >> 32);
    return true;
}

int SntpReplyTime(const unsigned char* reply, size_t length, SYSTEMTIME& utc) {
    // A reply must be a whole header from a synchronised server; anything
    // else would set the clock from noise.
    if (!reply || length < kSntpPacketBytes) return kSyncNoTime;
    const unsigned leap = reply[0] >> 6;
    const unsigned version = (reply[0] >> 3) & 7;
    const unsigned mode = reply[0] & 7;
    const unsigned stratum = reply[1];
    if (leap == 3 || version < 1 || version > 4 || (mode != 4 && mode != 5) || stratum == 0) return kSyncNoTime;
    const uint32_t seconds = BigEndian32(reply + kSntpTransmitOffset);
    const uint32_t fraction = BigEndian32(reply + kSntpTransmitOffset + 4);
    if (seconds == 0 && fraction == 0) return kSyncNoTime;
    if (!NtpTimestampToSystemTime(seconds, fraction, utc)) return kSyncNoTime;
    return kSyncOk;
}
