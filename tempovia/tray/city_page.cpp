#include "tempovia/tray/city_page.h"

#include <windows.h>

#include <cwchar>
#include <iterator>

#include "common/records/clock_record.h"
#include "common/zones/city_list.h"
#include "common/platform/system_seam.h"

namespace {

bool KeptAsIs(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'-' ||
           c == L'.' || c == L'_';
}

// Appends a piece only whole: a cut address would name another page.
bool Append(std::wstring& address, const std::wstring& piece) {
    if (address.size() + piece.size() > kCityPageMaxChars - 1) return false;
    address += piece;
    return true;
}

}  // namespace

std::wstring EncodeCityPathPart(const wchar_t* text) {
    std::wstring out;
    if (!text) return out;
    std::wstring lower(text);
    if (!lower.empty()) CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    for (size_t i = 0; i < lower.size(); ++i) {
        const wchar_t c = lower[i];
        if (KeptAsIs(c)) {
            out += c;
        } else if (c == L' ') {
            out += L'+';
        } else {
            // A surrogate pair is one character in UTF-8.
            const int units = (c >= 0xD800 && c <= 0xDBFF && i + 1 < lower.size()) ? 2 : 1;
            char bytes[8] = {};
            const int n = WideCharToMultiByte(CP_UTF8, 0, &lower[i], units, bytes, sizeof bytes, nullptr, nullptr);
            for (int k = 0; k < n; ++k) {
                wchar_t hex[4] = {};
                std::swprintf(hex, 4, L"%%%02X", static_cast<unsigned char>(bytes[k]));
                out += hex;
            }
            i += static_cast<size_t>(units - 1);
        }
    }
    return out;
}

std::wstring CityPageAddress(const ClockRecord* clock) {
    std::wstring address = kCityPagesBase;
    if (clock) {
        const std::wstring location(clock->location, wcsnlen(clock->location, std::size(clock->location)));
        const int city = FindCity(location.c_str());
        if (city >= 0 && city < g_cities.count) {
            const CityRecord& record = g_cities.cities[city];
            const std::wstring region(record.region, wcsnlen(record.region, kCityRegionChars));
            const std::wstring name(record.city, wcsnlen(record.city, kCityNameChars));
            if (Append(address, EncodeCityPathPart(region.c_str())) && Append(address, L"/") &&
                Append(address, EncodeCityPathPart(name.c_str()))) {
                Append(address, L".htm");
            }
            return address;
        }
    }
    wchar_t country[161] = {};
    GetLocaleCountryName(country, 161);
    if (Append(address, EncodeCityPathPart(country))) Append(address, L"/");
    return address;
}

bool OpenCityWebPage(const ClockRecord* clock) {
    const std::wstring address = CityPageAddress(clock);
    HINSTANCE result = System().ShellExecuteOpen(nullptr, L"Open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
