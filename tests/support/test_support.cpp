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

bool CopyShippedSkin(const std::wstring& name, const std::wstring& skins) {
    const std::wstring from = SourcePath(L"data/skins/" + name);
    const std::wstring to = skins + L"\\" + name;
    CreateDirectoryW(skins.c_str(), nullptr);
    CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((from + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    int copied = 0;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::wstring leaf = found.cFileName;
        copied += CopyFileW((from + L"\\" + leaf).c_str(), (to + L"\\" + leaf).c_str(), FALSE) ? 1 : 0;
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return copied > 0;
}

ShownPixels::ShownPixels(HWND window) {
    RECT client = {};
    if (!window || !GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) return;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    width_ = client.right;
    height_ = client.bottom;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, dib);
    HDC shown = GetDC(window);
    BitBlt(memory, 0, 0, width_, height_, shown, 0, 0, SRCCOPY);
    ReleaseDC(window, shown);
    GdiFlush();
    pixels_.resize(static_cast<size_t>(width_) * height_);
    const auto* source = static_cast<const DWORD*>(bits);
    for (size_t i = 0; bits && i < pixels_.size(); ++i) {
        const DWORD p = source[i];
        pixels_[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(dib);
}

COLORREF ShownPixels::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || pixels_.empty()) return CLR_INVALID;
    return pixels_[static_cast<size_t>(y) * width_ + x];
}

int ShownPixels::CountOther(const RECT& r, COLORREF colour) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) n += At(x, y) != colour;
    }
    return n;
}

}  // namespace testing_support
