#include "hook/photo_cache.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>

#include "common/zones/city_list.h"
#include "common/platform/text_bounds.h"

namespace {

bool Deliver(const std::wstring& path, wchar_t* buffer, size_t chars) {
    if (!buffer || chars == 0) return false;
    if (path.size() >= chars) {
        buffer[0] = L'\0';
        return false;
    }
    CopyBounded(buffer, chars, path.c_str());
    return true;
}

bool FileExists(const wchar_t* path) {
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The photo number: the first 10 characters of the field, decimal.
int ParsePhotoNumber(const std::wstring& field) {
    wchar_t digits[11] = {};
    CopyBounded(digits, field.c_str());
    return static_cast<int>(std::wcstol(digits, nullptr, 10));
}

struct FileCloser {
    void operator()(FILE* f) const {
        if (f) std::fclose(f);
    }
};

void SeedOnce() {
    static const bool seeded = [] {
        std::srand(static_cast<unsigned>(GetTickCount() ^ GetCurrentProcessId()));
        return true;
    }();
    (void)seeded;
}

}  // namespace

int FindCityInCountry(const wchar_t* region, const wchar_t* city) {
    if (!city || !g_cities.cities) return -1;
    const bool anyRegion = !region || !*region;
    for (int i = 0; i < g_cities.count; ++i) {
        const CityRecord& c = g_cities.cities[i];
        if (_wcsnicmp(c.city, city, kCityNameChars) != 0 || wcsnlen(city, kCityNameChars) >= kCityNameChars) continue;
        if (anyRegion || (_wcsnicmp(c.region, region, kCityRegionChars) == 0 &&
                          wcsnlen(region, kCityRegionChars) < kCityRegionChars)) {
            return i;
        }
    }
    return -1;
}

bool GetCityPhotoDir(const wchar_t* region, const wchar_t* city, wchar_t* buffer, size_t chars) {
    return GetCityPhotoFolderMain(region, city, buffer, chars, false);
}

bool GetCityPhotoFile(const wchar_t* region, const wchar_t* city, int n, wchar_t* buffer, size_t chars) {
    wchar_t folder[MAX_PATH] = {};
    if (!GetCityPhotoDir(region, city, folder, MAX_PATH)) {
        if (buffer && chars) buffer[0] = L'\0';
        return false;
    }
    wchar_t name[16] = {};
    std::swprintf(name, 16, L"%d.jpg", n);
    return Deliver(std::wstring(folder) + name, buffer, chars);
}

bool GetCityPhotoPath(int cityIndex, int n, wchar_t* buffer, size_t chars) {
    if (cityIndex < 0 || cityIndex >= g_cities.count || !g_cities.cities) {
        if (buffer && chars) buffer[0] = L'\0';
        return false;
    }
    const CityRecord& c = g_cities.cities[cityIndex];
    return GetCityPhotoFile(c.region, c.city, n, buffer, chars);
}

int ReadPhotoEntries(const wchar_t* region, const wchar_t* city, std::vector<PhotoIndexEntry>& entries) {
    entries.clear();
    wchar_t folder[MAX_PATH] = {};
    if (!GetCityPhotoDir(region, city, folder, MAX_PATH)) return kNoPhotoIndex;
    const std::wstring indexPath = std::wstring(folder) + kPhotoIndexFile;
    if (GetFileAttributesW(indexPath.c_str()) == INVALID_FILE_ATTRIBUTES) return kNoPhotoIndex;
    std::unique_ptr<FILE, FileCloser> file(_wfopen(indexPath.c_str(), L"rt"));
    if (!file) return kNoUsablePhoto;

    const bool cityGiven = city && *city;
    const int captionField = cityGiven ? 3 : 4;
    char line[kPhotoIndexLineChars + 2];
    std::string raw[kPhotoIndexFieldCount];
    while (static_cast<int>(entries.size()) < kMaxIndexedPhotos && ReadPhotoIndexLine(file.get(), line)) {
        if (line[0] == '#' || line[0] == ';' || line[0] == '\r' || line[0] == '\n' || line[0] == '\0') continue;
        const int count = SplitPhotoIndexLine(line, raw);
        std::wstring fields[kPhotoIndexFieldCount];
        for (int i = 0; i < count; ++i) fields[i] = WidenPhotoIndexText(raw[i]);
        const int number = ParsePhotoNumber(fields[0]);
        // "0.jpg" would read as "no index" to the callers.
        if (number <= 0) continue;
        const wchar_t* photoCity = city;
        if (!cityGiven) {
            if (count < 2 || FindCityInCountry(region, fields[1].c_str()) < 0) continue;
            photoCity = fields[1].c_str();
        }
        wchar_t photo[MAX_PATH] = {};
        if (!GetCityPhotoFile(region, photoCity, number, photo, MAX_PATH) || !FileExists(photo)) continue;
        entries.push_back(PhotoIndexEntry{number, count > captionField ? fields[captionField] : std::wstring()});
    }
    return entries.empty() ? kNoUsablePhoto : 1;
}

int PickPhotoEntry(int count, int randomValue) {
    if (count <= 0) return -1;
    int k = static_cast<int>(randomValue / 32767.0 * count);
    if (k > count - 1) k = count - 1;
    return k < 0 ? 0 : k;
}

int ReadPhotoIndex(const wchar_t* region, const wchar_t* city, wchar_t* caption) {
    if (caption) caption[0] = L'\0';
    std::vector<PhotoIndexEntry> entries;
    const int status = ReadPhotoEntries(region, city, entries);
    if (status != 1) return status;
    SeedOnce();
    const PhotoIndexEntry& picked = entries[static_cast<size_t>(PickPhotoEntry(static_cast<int>(entries.size()), std::rand()))];
    if (caption) CopyBounded(caption, kPhotoCaptionChars, picked.caption.c_str());
    return picked.number;
}
