#include "common/settings/ini_encoding.h"

#include <windows.h>

#include <string>
#include <utility>

#include "common/settings/ini_read_scope.h"
#include "common/settings/ini_whole_file.h"
#include "common/settings/named_mutex.h"

namespace {

// Larger settings files are not the user's: they are left alone.
constexpr DWORD kMaxIniBytes = 16u << 20;


bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    CloseHandle(h);
    return ok;
}

bool HasMark(const std::string& b) {
    auto at = [&](size_t i) { return static_cast<unsigned char>(b[i]); };
    if (at(0) == 0xFF && at(1) == 0xFE) return true;
    if (at(0) == 0xFE && at(1) == 0xFF) return true;
    return b.size() >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF;
}

bool HasUtf8Mark(const std::string& b) {
    return b.size() >= 3 && static_cast<unsigned char>(b[0]) == 0xEF && static_cast<unsigned char>(b[1]) == 0xBB &&
           static_cast<unsigned char>(b[2]) == 0xBF;
}

// The text after a UTF-8 mark as UTF-16 little-endian bytes, in place; false
// when it is not valid UTF-8.
bool Utf8ToUtf16(std::string& bytes) {
    const int n = static_cast<int>(bytes.size() - 3);
    if (n == 0) {
        bytes.clear();
        return true;
    }
    const int chars = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data() + 3, n, nullptr, 0);
    if (chars <= 0) return false;
    std::wstring text(static_cast<size_t>(chars), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data() + 3, n, text.data(), chars);
    bytes.assign(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return true;
}

// 8-bit settings text holds no zero byte; UTF-16 text of the INI's own
// characters ("[", "=", key names) has one in most of its byte pairs, on the
// high-byte side.
enum class Order { kNone, kLittle, kBig };

Order DetectOrder(const std::string& b) {
    size_t pairs = b.size() / 2, zeroHigh = 0, zeroLow = 0;
    for (size_t i = 0; i + 1 < b.size(); i += 2) {
        if (b[i] == 0) ++zeroLow;
        if (b[i + 1] == 0) ++zeroHigh;
    }
    if (zeroHigh * 2 > pairs && zeroLow * 8 < pairs) return Order::kLittle;
    if (zeroLow * 2 > pairs && zeroHigh * 8 < pairs) return Order::kBig;
    return Order::kNone;
}

}  // namespace

bool AddMissingUnicodeMark(const wchar_t* path) {
    if (!path || !*path) return false;
    IniFileLock lock;
    if (!lock.held()) return false;
    std::string bytes;
    if (!ReadWholeFile(path, bytes, kMaxIniBytes)) return false;
    // A load that follows within this hold reads these bytes, not the file.
    const auto unchanged = [&] {
        OfferIniFileBytes(path, bytes);
        return false;
    };
    if (bytes.size() < 2) return unchanged();
    if (HasUtf8Mark(bytes)) {
        // Windows' profile functions read this mark as characters of the
        // first section's name: that section would be lost.
        if (!Utf8ToUtf16(bytes)) return false;
    } else {
        if (HasMark(bytes)) return unchanged();
        const Order order = DetectOrder(bytes);
        if (order == Order::kNone) return unchanged();
        if (order == Order::kBig) {
            for (size_t i = 0; i + 1 < bytes.size(); i += 2) std::swap(bytes[i], bytes[i + 1]);
        }
        if (bytes.size() % 2) bytes.pop_back();
    }
    const std::wstring temp = std::wstring(path) + L".converting";
    bytes.insert(0, "\xFF\xFE", 2);
    if (!WriteWholeFile(temp, bytes)) {
        DeleteFileW(temp.c_str());
        return false;
    }
    if (!MoveFileExW(temp.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temp.c_str());
        return false;
    }
    ForgetCachedIniFile(path);
    OfferIniFileBytes(path, bytes);
    return true;
}

bool CreateUnicodeIniFile(const wchar_t* path, bool keepExisting) {
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, keepExisting ? CREATE_NEW : CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return keepExisting && GetLastError() == ERROR_FILE_EXISTS;
    const unsigned char mark[2] = {0xFF, 0xFE};
    DWORD written = 0;
    const bool ok = WriteFile(file, mark, sizeof mark, &written, nullptr) && written == sizeof mark;
    CloseHandle(file);
    if (!ok) DeleteFileW(path);
    return ok;
}
