// The web page of a clock's city, or of the user's country.
#pragma once

#include <string>

struct ClockRecord;

inline constexpr wchar_t kCityPagesBase[] = L"https://cities.tempovia.example/";
inline constexpr size_t kCityPageMaxChars = 2048;

// Lower case, then URL-encoded: ASCII letters, digits, "-", "." and "_"
// kept, a blank as "+", everything else as %XX of its UTF-8 bytes.
std::wstring EncodeCityPathPart(const wchar_t* text);

// The address for a clock (null: none): base, region "/" city ".htm" when its
// location is a known city, else base, the user's country and "/". Never
// longer than kCityPageMaxChars - 1 characters.
std::wstring CityPageAddress(const ClockRecord* clock);

// Opens the address of the current clock's city. False when nothing started.
bool OpenCityWebPage(const ClockRecord* clock);
