#include "tests/support/test_support.h"

#include <shellapi.h>

#include <atomic>
#include <vector>

namespace testing_support {

namespace {
std::atomic<unsigned> g_counter{0};

void RemoveTree(const std::wstring& dir) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = dir + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(full.c_str());
            }
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryW(dir.c_str());
}
}  // namespace

TempDir::TempDir() {
    wchar_t base[MAX_PATH];
    DWORD n = GetTempPathW(MAX_PATH, base);
    std::wstring root(base, n);
    if (!root.empty() && root.back() == L'\\') root.pop_back();
    for (;;) {
        std::wstring candidate = root + L"\\tvtest-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(g_counter++);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate;
            break;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

TempDir::~TempDir() {
    if (!path_.empty()) RemoveTree(path_);
}

std::wstring TempDir::file(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }

bool WriteBytes(const std::wstring& path, std::string_view bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes.size();
}

std::string ReadBytes(const std::wstring& path) {
    std::string out;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return out;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
    CloseHandle(h);
    return out;
}

std::wstring SourcePath(std::wstring_view relative) {
    std::wstring p = TEMPOVIA_SOURCE_DIR_W;
    p += L"\\";
    for (wchar_t c : relative) p += (c == L'/') ? L'\\' : c;
    return p;
}

}  // namespace testing_support
