// The photo list of the strip: the cache's index files, the order of the
// photos, the loaded window of at most 16 pictures and the scroll targets.
#include "kartix/photo_strip.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "common/settings/photo_cache_paths.h"
#include "kartix/jpeg_header.h"

const OverlayButton kOverlayButtonTable[kOverlayButtons] = {
    {VK_DOWN, 1 * 32 + 6, 0 * 32 + 6, 32, 32, 1 * 32, 0 * 32},
    {VK_LEFT, 0 * 32 + 6, 1 * 32 + 6, 32, 32, 0 * 32, 1 * 32},
    {VK_HOME, 1 * 32 + 6, 1 * 32 + 6, 32, 32, 1 * 32, 1 * 32},
    {VK_RIGHT, 2 * 32 + 6, 1 * 32 + 6, 32, 32, 2 * 32, 1 * 32},
    {VK_ADD, 0 * 32 + 6, 2 * 32 + 6, 32, 32, 0 * 32, 2 * 32},
    {VK_UP, 1 * 32 + 6, 2 * 32 + 6, 32, 32, 1 * 32, 2 * 32},
    {VK_SUBTRACT, 2 * 32 + 6, 2 * 32 + 6, 32, 32, 0, 0},
    {VK_INSERT, 4, kHiddenButtonY, 100, 24, 0, 96},
    {VK_PRIOR, 40, kHiddenButtonY, 9, 19, 64, 64},
    {VK_NEXT, 59, kHiddenButtonY, 9, 32, 64, 0},
};

namespace {

void CopyBounded(wchar_t* target, size_t chars, const wchar_t* source) {
    if (!chars) return;
    size_t n = 0;
    for (; source && source[n] && n + 1 < chars; ++n) target[n] = source[n];
    target[n] = L'\0';
}

// A photo number of at most 10 decimal digits, above 0.
bool ParsePhotoNumber(const std::string& field, int& number) {
    if (field.empty() || field.size() > 10) return false;
    long long value = 0;
    for (char c : field) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 0x7FFFFFFF) return false;
    number = static_cast<int>(value);
    return true;
}

int FindCityInRegion(const CityRecord* cities, int count, const wchar_t* region, const std::wstring& name) {
    for (int i = 0; cities && i < count; ++i)
        if (_wcsicmp(cities[i].region, region) == 0 && _wcsicmp(cities[i].city, name.c_str()) == 0) return i;
    return -1;
}

bool FileExists(const wchar_t* path) {
    const DWORD a = GetFileAttributesW(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// The room a photo takes in the strip, its gap below included. The photos
// above the scroll position need not be in memory: their height comes from
// the file's header. One the strip passes over (too large, damaged) takes none.
int StripHeightOf(const PhotoEntry& e) {
    if (e.texture.imageHeight > 0) return e.texture.imageHeight + 4;
    int width = 0, height = 0, components = 0;
    if (!ReadJpegHeader(e.file.c_str(), width, height, components)) return 0;
    if (width < 1 || height < 1 || width > kPhotoMaxWidth || height > kPhotoMaxHeight) return 0;
    return height + 4;
}

}  // namespace

bool ComparePhotoEntries(const CityRecord* cities, const PhotoEntry& a, const PhotoEntry& b) {
    const double da = cities[a.city].map.distance2, db = cities[b.city].map.distance2;
    if (da != db) return da < db;
    return a.photo > b.photo;
}

void FreePhotoList(PhotoList& list) {
    list.loaded.clear();
    list.byNumber.clear();
    list.all.clear();
}

int LoadVisiblePhotos(PhotoList& list) {
    for (PhotoEntry* e : list.loaded) e->texture.Free(false);
    list.loaded.clear();
    list.byNumber.clear();
    for (size_t i = static_cast<size_t>(std::max(0, list.scroll));
         i < list.all.size() && static_cast<int>(list.loaded.size()) < kMaxLoadedPhotos; ++i) {
        PhotoEntry* e = list.all[i].get();
        // Larger photos than the strip takes, and damaged files, are passed over.
        if (e->texture.Load(e->file.c_str(), kPhotoMaxWidth, kPhotoMaxHeight) != 1) {
            e->texture.Free(false);
            continue;
        }
        // AddAlpha takes no four-component (CMYK) photo: its fourth byte is no alpha.
        if (!e->texture.AddAlpha(255)) {
            e->texture.Free(false);
            continue;
        }
        list.loaded.push_back(e);
        list.byNumber[e->photo] = e;
    }
    return static_cast<int>(list.loaded.size());
}

int LoadPhotoIndex(PhotoList& list, const CityRecord* cities, int cityCount, const wchar_t* region,
                   const wchar_t* city) {
    FreePhotoList(list);
    const bool cityList = city && city[0];
    wchar_t folder[MAX_PATH];
    if (!region || !GetCityPhotoFolderMain(region, cityList ? city : L"", folder, MAX_PATH, false)) {
        list.city[0] = L'\0';
        list.region[0] = L'\0';
        return -1;
    }
    const bool placeChanged = _wcsicmp(list.region, region) != 0 ||
                              (cityList && wcscmp(list.city, city) != 0) || (!cityList && list.city[0]);
    if (placeChanged) list.scroll = 0;
    CopyBounded(list.region, kPhotoPlaceChars + 1, region);
    CopyBounded(list.city, kPhotoPlaceChars + 1, cityList ? city : L"");

    const std::wstring base(folder);  // ends with a backslash
    const std::wstring indexPath = base + kPhotoIndexFile;
    if (!FileExists(indexPath.c_str())) return 0;
    FILE* file = _wfopen(indexPath.c_str(), L"rb");
    if (!file) return 0;
    int requested = -1;
    if (cityList) requested = FindCityInRegion(cities, cityCount, region, city);
    static char line[kPhotoIndexLineChars + 2];
    std::string fields[kPhotoIndexFieldCount];
    while (ReadPhotoIndexLine(file, line)) {
        if (line[0] == '\0' || line[0] == '\r' || line[0] == '\n' || line[0] == '#' || line[0] == ';') continue;
        const int n = SplitPhotoIndexLine(line, fields);
        const int captionField = cityList ? 3 : 4;  // counted from 0
        const int pageField = cityList ? 4 : 5;
        if (n <= pageField) continue;
        int number = 0;
        if (!ParsePhotoNumber(fields[0], number)) continue;
        int owner = requested;
        std::wstring cityFolder = base;
        if (!cityList) {
            const std::wstring name = WidenPhotoIndexText(fields[1]);
            owner = FindCityInRegion(cities, cityCount, region, name);
            wchar_t sub[MAX_PATH];
            if (owner < 0 || !GetCityPhotoFolderMain(region, cities[owner].city, sub, MAX_PATH, false)) continue;
            cityFolder = sub;
        }
        if (owner < 0 || owner >= cityCount) continue;
        wchar_t name[24];
        swprintf(name, 24, L"%d.jpg", number);
        const std::wstring photoPath = cityFolder + name;
        if (!FileExists(photoPath.c_str())) continue;
        auto e = std::make_unique<PhotoEntry>();
        e->city = owner;
        e->photo = number;
        e->file = photoPath;
        const std::wstring page = WidenPhotoIndexText(JoinServicePath(kPhotoServiceRoot, fields[pageField]));
        CopyBounded(e->page, kPhotoPageChars + 1, page.c_str());
        CopyBounded(e->caption, kPhotoCaptionChars + 1, WidenPhotoIndexText(fields[captionField]).c_str());
        list.all.push_back(std::move(e));
    }
    fclose(file);
    std::stable_sort(list.all.begin(), list.all.end(),
                     [cities](const std::unique_ptr<PhotoEntry>& a, const std::unique_ptr<PhotoEntry>& b) {
                         return ComparePhotoEntries(cities, *a, *b);
                     });
    return LoadVisiblePhotos(list);
}

int PageDownTarget(const PhotoList& list, int placedLastFrame) {
    int current = list.scroll;
    if (current >= static_cast<int>(list.all.size())) current = 0;
    return current + placedLastFrame;
}

int PageUpTarget(const PhotoList& list, int windowHeight, int fontHeight) {
    int current = list.scroll;
    if (current >= static_cast<int>(list.all.size())) current = 0;
    int available = windowHeight - 2 * fontHeight - kStripGroupY - 59;
    int steps = 0;
    for (int i = current - 1; i >= 0 && available > 0; --i) {
        const int need = StripHeightOf(*list.all[static_cast<size_t>(i)]);
        if (available - need < 0) break;
        available -= need;
        ++steps;
    }
    return current - steps;
}
