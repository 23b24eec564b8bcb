#include "tempovia/photos/photo_index.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "common/settings/photo_cache_paths.h"
#include "common/platform/url_text.h"
#include "tempovia/photos/photo_service.h"

namespace {

bool ToUtf8(const std::wstring& text, std::string& out) {
    out.clear();
    if (text.empty()) return true;
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    if (n <= 0) return false;
    out.resize(static_cast<size_t>(n));
    return WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n, nullptr,
                               nullptr) == n;
}

// At most 10 digits are read; numbers that do not fit a photo file name
// ("0.jpg" reads as no photo to the readers) are refused.
int ParseNumber(const std::string& field) {
    char digits[11] = {};
    std::strncpy(digits, field.c_str(), 10);
    char* end = nullptr;
    const long long n = std::strtoll(digits, &end, 10);
    if (end == digits || n <= 0 || n > 0x7FFFFFFF) return 0;
    return static_cast<int>(n);
}

// "<name made safe, blanks as _, URL-encoded>/"
bool AppendUrlName(std::wstring& url, const wchar_t* name) {
    std::wstring safe(name);
    safe.push_back(L'\0');
    MakeFileName(safe.data(), true);
    wchar_t encoded[kPhotoUrlChars] = {};
    UrlEncode(safe.c_str(), encoded, kPhotoUrlChars);
    url += encoded;
    url += L'/';
    return true;
}

}  // namespace

IndexLineKind ParsePhotoIndexLine(const char* line, bool countryList, PhotoIndexLine& out) {
    out = PhotoIndexLine{};
    if (!line || line[0] == '\0' || line[0] == '\r' || line[0] == '\n' || line[0] == '#' || line[0] == ';') {
        return IndexLineKind::Skip;
    }
    std::string fields[kPhotoIndexFieldCount];
    const int count = SplitPhotoIndexLine(line, fields);
    if (count < (countryList ? 5 : 4)) return IndexLineKind::End;
    out.number = ParseNumber(fields[0]);
    if (out.number <= 0) return IndexLineKind::Skip;
    if (countryList) {
        out.city = WidenPhotoIndexText(fields[1]);
        out.path = fields[3];
    } else {
        out.path = fields[2];
    }
    if (out.path.empty()) return IndexLineKind::Skip;
    return IndexLineKind::Use;
}

bool BuildPhotoIndexUrl(const wchar_t* country, const wchar_t* city, std::string& url) {
    url.clear();
    if (!country || !*country) return false;
    std::wstring wide = WidenPhotoIndexText(PhotoService().base);
    AppendUrlName(wide, country);
    if (city && *city) AppendUrlName(wide, city);
    wide += kPhotoIndexFile;
    if (wide.size() >= kPhotoUrlChars) return false;
    return ToUtf8(wide, url) && url.size() < kPhotoUrlChars;
}

bool BuildPhotoUrl(const std::string& path, std::string& url) {
    url.clear();
    std::string utf8;
    if (!ToUtf8(WidenPhotoIndexText(path), utf8)) return false;
    url = JoinServicePath(PhotoService().root, utf8);
    if (url.size() >= kPhotoUrlChars) {
        url.clear();
        return false;
    }
    return true;
}
