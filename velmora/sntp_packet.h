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
inline constexpr size_t kSntpOriginateOffset = 24;
inline constexpr size_t kSntpReceiveOffset = 32;
inline constexpr size_t kSntpTransmitOffset = 40;

// A 64-bit NTP timestamp: seconds in the high, the fraction in the low word.
using NtpTimestamp = uint64_t;

// The NTP timestamp of a FILETIME value (100-ns units since 1601).
NtpTimestamp NtpTimestampOfFileTime(uint64_t fileTime);

// All zero except the first word and the transmit timestamp, in network
// order. The server copies the transmit timestamp into its reply's originate
// field, which ties the reply to this request.
void BuildSntpRequest(unsigned char (&packet)[kSntpPacketBytes], NtpTimestamp transmit);

// The UTC time of a reply's transmit timestamp. 0 and the time for a usable
// reply; 134 (no usable time) for a reply that is short, not from a server
// (mode 4 or 5), of an unknown version, a kiss-of-death (stratum 0), from an
// unsynchronised server (leap indicator 3), that does not answer the request
// sent with `requestTransmit` (originate timestamp), or whose receive or
// transmit time is zero or all ones, or whose transmit time is not within
// `maxTurnaroundMs` after its receive time.
int SntpReplyTime(const unsigned char* reply, size_t length, NtpTimestamp requestTransmit, DWORD maxTurnaroundMs,
                  SYSTEMTIME& utc);

// The time of seconds and fraction. The era follows the top bit of the
// seconds, as SNTP clients agree: set, 1968 to 2036 (seconds since 1900);
// clear, 2036 to 2104 (seconds since 2036-02-07 06:28:16). False when out of
// range.
bool NtpTimestampToSystemTime(uint32_t seconds, uint32_t fraction, SYSTEMTIME& utc);
