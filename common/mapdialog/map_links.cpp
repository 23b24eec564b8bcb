// The links of the map dialog: the photo service's page of the selected city.
#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "common/mapdialog/map_dialog.h"
#include "common/settings/photo_cache_paths.h"
#include "common/platform/url_text.h"
#include "common/records/city_record.h"

namespace mapwin {

namespace {

constexpr size_t kUrlChars = 2048;
constexpr size_t kNameChars = 256;

// Lower case, made safe with blanks as "_", URL-encoded; false when the
// encoded name does not fit.
bool EncodeName(const wchar_t* source, size_t chars, std::wstring& out) {
    wchar_t name[kNameChars] = {};
    const size_t n = wcsnlen(source, std::min(chars, kNameChars - 1));
    wmemcpy(name, source, n);
    name[n] = L'\0';
    CharLowerW(name);
    MakeFileName(name, true);
    // Every character may take up to 12 characters encoded (4 UTF-8 bytes).
    wchar_t encoded[kNameChars * 12] = {};
    const size_t written = UrlEncode(name, encoded, std::size(encoded));
    if (written < wcslen(name)) return false;
    out.assign(encoded, written);
    return true;
}

}  // namespace

std::wstring PhotoServiceBase() {
    std::wstring base;
    for (const char* p = kPhotoServiceBase; *p; ++p) base += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    return base;
}

std::wstring CityPhotoPageUrl(const std::wstring& base, const CityRecord& city) {
    std::wstring country;
    std::wstring name;
    if (!EncodeName(city.region, kCityRegionChars, country) || !EncodeName(city.city, kCityNameChars, name)) {
        return L"";
    }
    std::wstring url = base + country + L"/" + name + L".htm";
    // A cut address would name another page.
    if (url.size() > kUrlChars - 1) return L"";
    return url;
}

}  // namespace mapwin
