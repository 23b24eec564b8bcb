// The 48-byte SNTP message: the client request and the time of a reply.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

inline constexpr size_t kSntpPacketBytes = 48;
inline constexpr uint16_t kSntpPort = 123;
// First word of the request: leap indicator 0, version 1, mode 3 (client).
inline constexpr uint32_t kSntpRequestWord = 0x0B000000;
// 100-ns units from 1601-01-01 to 1900-01-01, the start of the NTP era.
inline constexpr uint64_t kNtpEpochAsFileTime = 94354848000000000ULL;
inline constexpr size_t kSntpTransmitOffset = 40;

// All zero except the first word, in network order.
void BuildSntpRequest(unsigned char (&packet)[kSntpPacketBytes]);

// The UTC time of a reply's transmit timestamp. 0 and the time for a usable
// reply; 134 (no usable time) for a reply that is short, not from a server
// (mode 4 or 5), of an unknown version, a kiss-of-death (stratum 0), from an
// unsynchronised server (leap indicator 3), or without a transmit time.
int SntpReplyTime(const unsigned char* reply, size_t length, SYSTEMTIME& utc);

// The time of seconds and fraction since 1900; false when out of range.
bool NtpTimestampToSystemTime(uint32_t seconds, uint32_t fraction, SYSTEMTIME& utc);
