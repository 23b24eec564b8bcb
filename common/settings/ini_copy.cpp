#include "common/settings/ini_copy.h"

#include <windows.h>

#include <cwchar>
#include <vector>

#include "common/records/alarm_record.h"
#include "common/records/clock_record.h"
#include "common/records/global_settings.h"
#include "common/settings/file_identity.h"
#include "common/settings/ini_store.h"

namespace {

bool PrefixMatches(const std::wstring& part, const wchar_t* prefix) {
    size_t n = prefix ? wcslen(prefix) : 0;
    return part.size() == n && (n == 0 || _wcsnicmp(part.c_str(), prefix, n) == 0);
}

bool TakeWord(const std::wstring& text, size_t& at, const wchar_t* word) {
    size_t n = wcslen(word);
    if (text.size() < at + n || _wcsnicmp(text.c_str() + at, word, n) != 0) return false;
    at += n;
    return true;
}

// A number 1..max written as the programs write it (no sign, no leading zero).
bool TakeNumber(const std::wstring& text, size_t& at, int max, int& out) {
    if (at >= text.size() || text[at] < L'1' || text[at] > L'9') return false;
    int value = 0;
    for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
        value = value * 10 + (text[at] - L'0');
        if (value > max) return false;
    }
    out = value;
    return true;
}

// The sections a settings file holds (every other name is none of the
// user's and is neither copied nor touched): the shared `common` and `map`,
// and <prefix>:main, :clock<N>, :clock<N>:alarm<M> and :rss<N>.
struct SectionName {
    enum Kind { kOther, kShared, kMain, kClock, kAlarm, kChannel } kind = kOther;
    std::wstring prefix;  // the part before the first ":"
    int clock = 0;
    int alarm = 0;
    int channel = 0;

    // The name under another prefix, in the form the programs read.
    std::wstring Under(const std::wstring& newPrefix) const {
        switch (kind) {
            case kShared: return prefix;
            case kMain: return newPrefix + L":main";
            case kClock: return newPrefix + L":clock" + std::to_wstring(clock);
            case kAlarm:
                return newPrefix + L":clock" + std::to_wstring(clock) + L":alarm" + std::to_wstring(alarm);
            case kChannel: return newPrefix + L":rss" + std::to_wstring(channel);
            default: return std::wstring();
        }
    }
};

SectionName ParseSectionName(const std::wstring& name) {
    SectionName out;
    size_t colon = name.find(L':');
    if (colon == std::wstring::npos) {
        if (_wcsicmp(name.c_str(), L"common") == 0 || _wcsicmp(name.c_str(), L"map") == 0) {
            out.kind = SectionName::kShared;
            out.prefix = name;
        }
        return out;
    }
    out.prefix = name.substr(0, colon);
    size_t at = colon;
    SectionName::Kind kind = SectionName::kOther;
    if (TakeWord(name, at, L":main")) {
        kind = SectionName::kMain;
    } else if (TakeWord(name, at, L":rss")) {
        if (TakeNumber(name, at, kMaxNewsChannels, out.channel)) kind = SectionName::kChannel;
    } else if (TakeWord(name, at, L":clock") && TakeNumber(name, at, kMaxClocks, out.clock)) {
        kind = SectionName::kClock;
        if (at < name.size()) {
            kind = SectionName::kOther;
            if (TakeWord(name, at, L":alarm") && TakeNumber(name, at, kMaxAlarmsPerClock, out.alarm)) {
                kind = SectionName::kAlarm;
            }
        }
    }
    // Nothing may follow the recognised name.
    out.kind = at == name.size() ? kind : SectionName::kOther;
    return out;
}

// The path with forward slashes turned back and without a device or
// long-path prefix.
std::wstring WithoutDevicePrefix(const wchar_t* path) {
    std::wstring text = path ? path : L"";
    for (wchar_t& c : text) {
        if (c == L'/') c = L'\\';
    }
    // "\\?\" and "\\.\" (and the object manager's "\??\") reach the same
    // files as the plain path; "\\?\UNC\server" is "\\server".
    for (const wchar_t* prefix : {L"\\\\?\\", L"\\\\.\\", L"\\??\\"}) {
        if (text.compare(0, 4, prefix) != 0) continue;
        text.erase(0, 4);
        if (_wcsnicmp(text.c_str(), L"UNC\\", 4) == 0) text.replace(0, 4, L"\\\\");
        break;
    }
    return text;
}

}  // namespace

std::wstring FullPathOf(const wchar_t* path) {
    // Without its prefix the path is normalised as any other ("..", trailing
    // dots and blanks), which the prefixed spelling skips.
    const std::wstring plain = WithoutDevicePrefix(path);
    path = plain.c_str();
    DWORD n = GetFullPathNameW(path, 0, nullptr, nullptr);
    if (n == 0) return path;
    std::vector<wchar_t> buf(n + 1);
    n = GetFullPathNameW(path, static_cast<DWORD>(buf.size()), buf.data(), nullptr);
    if (n == 0 || n >= buf.size()) return path;
    std::wstring full(buf.data(), n);
    // Short (8.3) names and the letter case the user typed vary; the long form does not.
    DWORD m = GetLongPathNameW(full.c_str(), nullptr, 0);
    if (m > 0) {
        std::vector<wchar_t> longBuf(m + 1);
        m = GetLongPathNameW(full.c_str(), longBuf.data(), static_cast<DWORD>(longBuf.size()));
        if (m > 0 && m < longBuf.size()) full.assign(longBuf.data(), m);
    }
    return full;
}

bool IsSameFile(const wchar_t* a, const wchar_t* b) {
    if (!a || !b) return false;
    std::wstring fa = FullPathOf(a);
    std::wstring fb = FullPathOf(b);
    if (_wcsicmp(fa.c_str(), fb.c_str()) == 0) return true;
    FileId ia, ib;
    return FileIdentityOf(fa.c_str(), ia) && FileIdentityOf(fb.c_str(), ib) && ia == ib;
}

bool CopyIniSections(const wchar_t* sourceFile, const wchar_t* sourcePrefix, const wchar_t* targetFile,
                     const wchar_t* targetPrefix) {
    if (!sourceFile || !*sourceFile || !targetFile || !*targetFile) return false;
    if (IsSameFile(sourceFile, targetFile)) return false;

    const std::wstring prefix = targetPrefix ? targetPrefix : (sourcePrefix ? sourcePrefix : L"");
    bool ok = true;
    bool copiedClock[kMaxClocks + 1] = {};
    bool copiedAlarm[kMaxClocks + 1][kMaxAlarmsPerClock + 1] = {};
    const std::vector<std::wstring> names = ReadIniSectionNames(sourceFile);
    // The programs read clocks from the first on: a source without it brings
    // no clock, and its stray clock or alarm sections would only replace
    // some of the target's own. A first clock without keys reads as none.
    bool bringsClocks = false;
    for (const std::wstring& name : names) {
        const SectionName section = ParseSectionName(name);
        if (section.kind == SectionName::kClock && section.clock == 1 && PrefixMatches(section.prefix, sourcePrefix) &&
            !ReadIniKeyList(sourceFile, name.c_str()).empty()) {
            bringsClocks = true;
        }
    }
    for (const std::wstring& name : names) {
        const SectionName section = ParseSectionName(name);
        if (section.kind == SectionName::kOther) continue;
        if (section.kind != SectionName::kShared && !PrefixMatches(section.prefix, sourcePrefix)) continue;
        const bool clockOrAlarm = section.kind == SectionName::kClock || section.kind == SectionName::kAlarm;
        if (clockOrAlarm && !bringsClocks) continue;
        if (section.kind == SectionName::kClock) copiedClock[section.clock] = true;
        if (section.kind == SectionName::kAlarm) copiedAlarm[section.clock][section.alarm] = true;
        const std::wstring target = section.Under(targetPrefix ? prefix : section.prefix);
        if (!WriteIniSection(targetFile, target.c_str(), ReadIniSection(sourceFile, name.c_str()))) ok = false;
    }

    // What was there before and was not copied goes: a stale clock or an alarm
    // of another clock would otherwise join the copied ones. Without clocks
    // of the source's own, the target keeps all of its own.
    if (!bringsClocks) return ok;
    for (const std::wstring& name : ReadIniSectionNames(targetFile)) {
        const SectionName section = ParseSectionName(name);
        if (!PrefixMatches(section.prefix, prefix.c_str())) continue;
        const bool stale = (section.kind == SectionName::kClock && !copiedClock[section.clock]) ||
                           (section.kind == SectionName::kAlarm && !copiedAlarm[section.clock][section.alarm]);
        if (stale) DeleteIniSection(targetFile, name.c_str());
    }
    return ok;
}
