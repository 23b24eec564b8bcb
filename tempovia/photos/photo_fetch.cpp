#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>

#include "common/settings/photo_cache_paths.h"
#include "common/records/protocol.h"
#include "common/platform/text_bounds.h"
#include "tempovia/news/http_download.h"
#include "tempovia/photos/photo_index.h"
#include "tempovia/photos/photo_service.h"
#include "tempovia/photos/photo_worker.h"

namespace {

const char* g_indexTypes[] = {"text/plain", nullptr};
const char* g_photoTypes[] = {"image/jpeg", "application/octet-stream", nullptr};

// Photos may come from WinINet's cache; index files never do.
constexpr DWORD kPhotoFlagsCleared = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;

constexpr int64_t kFileTimeUnitsPerSecond = 10000000;

struct FileCloser {
    void operator()(FILE* f) const {
        if (f) std::fclose(f);
    }
};

const wchar_t* RequestCity(const PhotoRequest& request) {
    return IsCountryRequest(request) ? nullptr : request.city;
}

// An index written less than a day ago; false when it is missing or a folder.
enum class IndexAge { Missing, Fresh, Stale, Folder };

IndexAge AgeOfIndex(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return IndexAge::Missing;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return IndexAge::Folder;
    const int64_t written = static_cast<int64_t>(
        (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime);
    return PhotoNow() - written < kPhotoIndexMaxAgeSeconds * kFileTimeUnitsPerSecond ? IndexAge::Fresh
                                                                                     : IndexAge::Stale;
}

// Downloads into "<target>$" and moves the file over the target on success.
bool DownloadInto(CHttpSession& session, const std::string& url, const std::wstring& target) {
    const std::wstring partial = target + L"$";
    if (DownloadFile(session, url.c_str(), partial.c_str(), kDownloadTimeLimitMs, PhotoWorkersStop()) !=
        kDownloadStored) {
        return false;
    }
    return MoveFileExW(partial.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void Answer(const PhotoRequest& request, UINT message, LPARAM lParam) {
    if (request.requester && PhotosWanted()) PostMessageW(request.requester, message, PhotoReplyParam(request), lParam);
}

class RequestFlagsCleared {
public:
    RequestFlagsCleared(CHttpSession& session, DWORD flags) : session_(session), saved_(session.requestFlags) {
        session_.requestFlags &= ~flags;
    }
    ~RequestFlagsCleared() { session_.requestFlags = saved_; }
    RequestFlagsCleared(const RequestFlagsCleared&) = delete;
    RequestFlagsCleared& operator=(const RequestFlagsCleared&) = delete;

private:
    CHttpSession& session_;
    DWORD saved_;
};

}  // namespace

bool FetchPhotoIndex(CHttpSession& session, const PhotoRequest& request) {
    wchar_t folder[MAX_PATH] = {};
    if (!GetCityPhotoFolderMain(request.country, RequestCity(request), folder, MAX_PATH, true)) return false;
    const std::wstring index = std::wstring(folder) + kPhotoIndexFile;
    switch (AgeOfIndex(index)) {
        case IndexAge::Fresh:
            return true;
        case IndexAge::Folder:
            return false;
        case IndexAge::Missing:
        case IndexAge::Stale:
            break;
    }
    if (!PhotosWanted()) return false;
    std::string url;
    if (!BuildPhotoIndexUrl(request.country, RequestCity(request), url)) return false;
    session.acceptTypes = g_indexTypes;
    if (!DownloadInto(session, url, index)) return false;
    Answer(request, MSG_PHOTO_INDEX_READY, 0);
    return true;
}

int FetchPhotos(CHttpSession& session, const PhotoRequest& request) {
    const bool countryList = IsCountryRequest(request);
    wchar_t folder[MAX_PATH] = {};
    if (!GetCityPhotoFolderMain(request.country, RequestCity(request), folder, MAX_PATH, false)) return 0;
    std::unique_ptr<FILE, FileCloser> file(_wfopen((std::wstring(folder) + kPhotoIndexFile).c_str(), L"rb"));
    if (!file) return 0;
    session.acceptTypes = g_photoTypes;

    char line[kPhotoIndexLineChars + 2];
    PhotoIndexLine entry;
    while (ReadPhotoIndexLine(file.get(), line)) {
        const IndexLineKind kind = ParsePhotoIndexLine(line, countryList, entry);
        if (kind == IndexLineKind::End) break;
        if (kind == IndexLineKind::Skip) continue;
        std::string url;
        if (!BuildPhotoUrl(entry.path, url)) break;
        wchar_t target[MAX_PATH] = {};
        if (countryList) {
            // The line's city names a folder below the country; a name that
            // would not stay below it is passed over.
            if (entry.city.empty() ||
                !GetCityPhotoFolderMain(request.country, entry.city.c_str(), target, MAX_PATH, true)) {
                continue;
            }
        } else {
            CopyBounded(target, folder);
        }
        wchar_t name[16] = {};
        std::swprintf(name, 16, L"%d.jpg", entry.number);
        const std::wstring photo = std::wstring(target) + name;
        if (photo.size() >= MAX_PATH || GetFileAttributesW(photo.c_str()) != INVALID_FILE_ATTRIBUTES) continue;

        if (!PhotosWanted()) break;
        RequestFlagsCleared cached(session, kPhotoFlagsCleared);
        if (!DownloadInto(session, url, photo)) continue;
        Answer(request, MSG_PHOTO_READY, entry.number);
        return 1;
    }
    return 0;
}
