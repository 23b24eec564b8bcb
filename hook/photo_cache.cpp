#include "hook/photo_cache.h"

#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <memory>

#include "common/time/city_list.h"
#include "common/time/text_bounds.h"

namespace {

std::wstring g_root;
bool g_rootKnown = false;

bool IsUnsafe(wchar_t c) {
    return c < L' ' || c == 0x7F || c == L'*' || c == L'/' || c == L':' || c == L';' || c == L'?' || c == L'\\';
}

bool Append(std::wstring& path, const wchar_t* name) {
    if (!name) return false;
    std::wstring safe(name);
    safe.push_back(L'\0');
    MakeFileName(safe.data(), false);
    path += safe.c_str();
    path += L'\\';
    return true;
}

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

// The index is 8-bit text, one character a byte.
std::wstring Widen(const char* text, size_t length) {
    std::wstring out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(text[i])));
    return out;
}

// Splits a line at its TABs; fields end at CR or LF, at most kMaxIndexFields.
int SplitIndexLine(const char* line, std::wstring (&fields)[kMaxIndexFields]) {
    int count = 0;
    const char* p = line;
    for (;;) {
        const char* end = p;
        while (*end && *end != '\t' && *end != '\r' && *end != '\n') ++end;
        fields[count++] = Widen(p, static_cast<size_t>(end - p));
        if (*end != '\t' || count == kMaxIndexFields) break;
        p = end + 1;
    }
    return count;
}

// The photo number: the first 10 characters of the field, decimal.
int ParsePhotoNumber(const std::wstring& field) {
    wchar_t digits[11] = {};
    CopyBounded(digits, field.c_str());
    return static_cast<int>(std::wcstol(digits, nullptr, 10));
}

// Reads one line of at most kMaxIndexLineChars characters; the rest of a
// longer line is passed over, so that it cannot pose as a line of its own.
bool ReadIndexLine(FILE* file, char (&line)[kMaxIndexLineChars + 2]) {
    if (!std::fgets(line, sizeof line, file)) return false;
    const size_t n = std::strlen(line);
    if (n > 0 && line[n - 1] != '\n' && !std::feof(file)) {
        int c;
        while ((c = std::fgetc(file)) != EOF && c != '\n') {
        }
    }
    return true;
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

void MakeFileName(wchar_t* text, bool blanksToUnderscore) {
    if (!text) return;
    wchar_t* out = text;
    for (const wchar_t* in = text; *in; ++in) {
        const wchar_t c = *in;
        if (IsUnsafe(c)) continue;
        *out++ = (c == L' ' && blanksToUnderscore) ? L'_' : c;
    }
    *out = L'\0';
}

bool GetCityPhotoRoot(std::wstring& root) {
    if (!g_rootKnown) {
        wchar_t folder[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) return false;
        g_root = folder;
        g_root += kPhotoRootTail;
        g_rootKnown = true;
    }
    root = g_root;
    return !root.empty();
}

void SetCityPhotoRoot(const wchar_t* root) {
    g_root = root ? root : L"";
    while (!g_root.empty() && g_root.back() == L'\\') g_root.pop_back();
    g_rootKnown = !g_root.empty();
}

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
    if (buffer && chars) buffer[0] = L'\0';
    if (!region || !buffer || chars == 0) return false;
    std::wstring path;
    if (!GetCityPhotoRoot(path)) return false;
    path += L'\\';
    Append(path, region);
    if (city && *city) Append(path, city);
    return Deliver(path, buffer, chars);
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
    const std::wstring indexPath = std::wstring(folder) + kPhotoIndexName;
    if (GetFileAttributesW(indexPath.c_str()) == INVALID_FILE_ATTRIBUTES) return kNoPhotoIndex;
    std::unique_ptr<FILE, FileCloser> file(_wfopen(indexPath.c_str(), L"rt"));
    if (!file) return kNoUsablePhoto;

    const bool cityGiven = city && *city;
    const int captionField = cityGiven ? 3 : 4;
    char line[kMaxIndexLineChars + 2];
    std::wstring fields[kMaxIndexFields];
    while (static_cast<int>(entries.size()) < kMaxIndexedPhotos && ReadIndexLine(file.get(), line)) {
        if (line[0] == '#' || line[0] == ';' || line[0] == '\r' || line[0] == '\n' || line[0] == '\0') continue;
        const int count = SplitIndexLine(line, fields);
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
