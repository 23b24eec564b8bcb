#include "common/settings/photo_cache_paths.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>

#include "common/platform/library_on_first_use.h"
#include "common/platform/text_bounds.h"

namespace {

std::wstring g_root;
bool g_rootKnown = false;

bool IsUnsafe(wchar_t c) {
    return c < L' ' || c == 0x7F || c == L'*' || c == L'/' || c == L':' || c == L';' || c == L'?' || c == L'\\';
}

// Appends "<name>\" with the name made safe; false when it cannot be a folder.
bool AppendLevel(std::wstring& path, const wchar_t* name) {
    std::wstring safe(name);
    safe.push_back(L'\0');
    MakeFileName(safe.data(), false);
    if (!IsPhotoFolderName(safe.c_str())) return false;
    path += safe.c_str();
    path += L'\\';
    return true;
}

bool MakeLevel(const std::wstring& path) {
    if (CreateDirectoryW(path.c_str(), nullptr)) return true;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
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

bool IsPhotoFolderName(const wchar_t* safeName) {
    if (!safeName) return false;
    // The system strips trailing dots and blanks from a path level, so a name
    // made only of them would land in the parent (or above it, for "..").
    for (const wchar_t* p = safeName; *p; ++p) {
        if (*p != L'.' && *p != L' ') return true;
    }
    return false;
}

bool GetCityPhotoRoot(std::wstring& root) {
    if (!g_rootKnown) {
        wchar_t folder[MAX_PATH] = {};
        static const auto folderPath = Shell32Library().Entry<decltype(&SHGetFolderPathW)>("SHGetFolderPathW");
        if (!folderPath || FAILED(folderPath(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
            root.clear();
            return false;
        }
        g_root = folder;
        g_root += kPhotoCacheTail;
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

bool GetCityPhotoFolderMain(const wchar_t* country, const wchar_t* city, wchar_t* folder, size_t chars,
                            bool create) {
    if (folder && chars) folder[0] = L'\0';
    if (!country || !*country || !folder || chars == 0) return false;
    std::wstring path;
    if (!GetCityPhotoRoot(path)) return false;
    path += L'\\';
    if (!AppendLevel(path, country)) return false;
    if (path.size() >= chars) return false;
    if (create && !MakeLevel(path)) return false;
    if (city && *city) {
        if (!AppendLevel(path, city) || path.size() >= chars) return false;
        if (create && !MakeLevel(path)) return false;
    }
    CopyBounded(folder, chars, path.c_str());
    return true;
}

bool ReadPhotoIndexLine(FILE* file, char (&line)[kPhotoIndexLineChars + 2]) {
    if (!file || !std::fgets(line, sizeof line, file)) return false;
    const size_t n = std::strlen(line);
    if (n > 0 && line[n - 1] != '\n' && !std::feof(file)) {
        int c;
        while ((c = std::fgetc(file)) != EOF && c != '\n') {
        }
    }
    return true;
}

int SplitPhotoIndexLine(const char* line, std::string (&fields)[kPhotoIndexFieldCount]) {
    for (auto& field : fields) field.clear();
    if (!line) return 0;
    int count = 0;
    const char* p = line;
    for (;;) {
        const char* end = p;
        while (*end && *end != '\t' && *end != '\r' && *end != '\n') ++end;
        fields[count++].assign(p, static_cast<size_t>(end - p));
        if (*end != '\t' || count == kPhotoIndexFieldCount) break;
        p = end + 1;
    }
    return count;
}

std::wstring WidenPhotoIndexText(const std::string& text) {
    std::wstring out;
    out.reserve(text.size());
    for (const unsigned char c : text) out.push_back(static_cast<wchar_t>(c));
    return out;
}

std::string JoinServicePath(const std::string& root, const std::string& path) {
    std::string url = root;
    if (path.empty() || path[0] != '/') url += '/';
    url += path;
    return url;
}
