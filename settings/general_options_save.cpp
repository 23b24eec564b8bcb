#include "settings/general_options_save.h"

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "common/settings/global_settings_io.h"
#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/settings/named_mutex.h"
#include "common/records/clock_table.h"

namespace {

bool g_autostart = true;
bool g_languageChosen = false;
OptionGroupWriters g_writers;

std::wstring MainSection() { return UserPrefix() + L":main"; }

// Handle that closes itself.
struct FileHandle {
    HANDLE h;
    explicit FileHandle(HANDLE handle) : h(handle) {}
    ~FileHandle() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
};

// ":main" as little-endian UTF-16 bytes, at an even or an odd offset.
bool HoldsUtf16Main(const std::vector<char>& bytes, size_t start) {
    static const char kPattern[] = {':', 0, 'm', 0, 'a', 0, 'i', 0, 'n', 0};
    const size_t n = sizeof(kPattern);
    for (size_t i = start; i + n <= bytes.size(); i += 2) {
        if (memcmp(bytes.data() + i, kPattern, n) == 0) return true;
    }
    return false;
}

bool WriteAll(HANDLE file, const void* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(file, data, size, &written, nullptr) && written == size;
}

}  // namespace

bool& AutostartOption() { return g_autostart; }

bool& LanguageChosen() { return g_languageChosen; }

bool ReadAutostart() {
    const std::wstring value = ReadIniText(UserIniPath().c_str(), MainSection().c_str(), L"autostart", L"1");
    return !value.empty() && value[0] == L'1';
}

void WriteAutostart(bool on) {
    WriteIniInt(UserIniPath().c_str(), MainSection().c_str(), L"autostart", on ? 1 : 0);
    // The Run value is always written quoted: an unquoted path with blanks
    // would let Windows start another program at logon.
    ApplyAutostart(on, SettingsFolder().c_str());
}

bool ConvertIniToUnicode(const std::wstring& path) {
    std::vector<char> bytes;
    {
        FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.h == INVALID_HANDLE_VALUE) return false;
        LARGE_INTEGER size = {};
        if (!GetFileSizeEx(file.h, &size) || size.QuadPart > static_cast<LONGLONG>(kMaxConvertBytes)) return false;
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        if (!bytes.empty() && (!ReadFile(file.h, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                               read != bytes.size())) {
            return false;
        }
    }
    // A byte-order mark also counts: a Unicode file without a main section
    // (only [common], say) must not be converted a second time.
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        return true;
    }
    if (HoldsUtf16Main(bytes, 0) || HoldsUtf16Main(bytes, 1)) return true;

    // A UTF-8 mark names the text's encoding as the UTF-16 one does; taken
    // for 8-bit text it would become the first section head's characters.
    UINT codePage = CP_ACP;
    size_t start = 0;
    if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
        static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF) {
        codePage = CP_UTF8;
        start = 3;
    }
    std::wstring text(1, L'\xFEFF');
    if (bytes.size() > start) {
        const char* from = bytes.data() + start;
        const int count = static_cast<int>(bytes.size() - start);
        const int chars = MultiByteToWideChar(codePage, 0, from, count, nullptr, 0);
        if (chars <= 0) return false;
        text.resize(1 + static_cast<size_t>(chars));
        MultiByteToWideChar(codePage, 0, from, count, &text[1], chars);
    }
    // Written beside and then moved over the original: a failed write must not
    // leave half a settings file behind.
    const std::wstring temp = path + L".tmp";
    {
        FileHandle out(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                   nullptr));
        if (out.h == INVALID_HANDLE_VALUE) return false;
        if (!WriteAll(out.h, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)))) {
            CloseHandle(out.h);
            out.h = INVALID_HANDLE_VALUE;
            DeleteFileW(temp.c_str());
            return false;
        }
    }
    if (!MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(temp.c_str());
        return false;
    }
    return true;
}

OptionGroupWriters SetOptionGroupWriters(const OptionGroupWriters& writers) {
    OptionGroupWriters old = g_writers;
    g_writers = writers;
    return old;
}

const OptionGroupWriters& GroupWriters() { return g_writers; }

bool SaveGeneralOptions(unsigned groups) {
    const std::wstring& ini = UserIniPath();
    {
        // The conversion replaces the file whole: no other program may write
        // or read it meanwhile.
        IniFileLock lock;
        if (lock.held()) ConvertIniToUnicode(ini);
    }
    const std::wstring sectionText = MainSection();
    const wchar_t* file = ini.c_str();
    const wchar_t* section = sectionText.c_str();
    bool ok = true;
    if (groups & kGroupGeneral) {
        // A user who never chose a language follows the system's; writing
        // the one in force would pin him to it.
        if (g_languageChosen) {
            const std::wstring language(g_settings.language,
                                        wcsnlen(g_settings.language, ARRAYSIZE(g_settings.language)));
            ok &= WriteIniText(file, section, L"language", language.c_str());
        }
        ok &= WriteIniInt(file, section, L"vistrel", g_settings.vistrel != 0);
        WriteAutostart(g_autostart);
    }
    if ((groups & kGroupSync) && g_writers.sync) ok &= g_writers.sync();
    if ((groups & kGroupNews) && g_writers.news) ok &= g_writers.news();
    if (groups & kGroupTaskbar) {
        ok &= WriteIniInt(file, section, L"trayclocks", g_settings.trayclocks);
        ok &= WriteIniInt(file, section, L"transparentskin", g_settings.transparentskin != 0);
        ok &= WriteIniInt(file, section, L"overlayprefixes", g_settings.overlayprefixes != 0);
        ok &= WriteIniInt(file, section, L"tooltips", g_settings.tooltips != 0);
        ok &= WriteIniInt(file, section, L"tooltipkind", g_settings.tooltipkind);
        const std::wstring skin(g_settings.skin, wcsnlen(g_settings.skin, ARRAYSIZE(g_settings.skin)));
        ok &= WriteIniText(file, section, L"skin", skin.c_str());
    }
    return ok;
}
