#include "common/settings/ini_read_scope.h"

#include <atomic>
#include <cwchar>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "common/settings/ini_store.h"
#include "common/settings/ini_whole_file.h"
#include "common/settings/named_mutex.h"

namespace {

// Section copies by file and section name, both compared as the profile
// functions compare them: without regard to letter case.
struct NoCaseLess {
    bool operator()(const std::wstring& a, const std::wstring& b) const { return _wcsicmp(a.c_str(), b.c_str()) < 0; }
};
using SectionMap = std::map<std::wstring, IniSectionCopy, NoCaseLess>;

// What is known of one file: the sections read, and which sections it has
// (read once, so that a section it lacks costs no opening of the file).
struct FileCopy {
    SectionMap sections;
    bool namesRead = false;
    unsigned namesHold = 0;  // IniLockHoldId when the names were read
    bool exists = false;
    std::set<std::wstring, NoCaseLess> names;
    // Sections the file has more than once: the profile functions look for a
    // key in each of them, but hand out only the first whole, so these are
    // read from the file itself.
    std::set<std::wstring, NoCaseLess> repeated;
    // The whole file as just read under the hold given, not parsed yet.
    std::optional<std::string> offered;
    unsigned offeredHold = 0;
};
using FileMap = std::map<std::wstring, FileCopy, NoCaseLess>;

// One scope at a time, owned by one thread: the copies are only ever touched
// by that thread; other threads see an owner that is not theirs.
struct ScopeState {
    std::mutex change;  // around taking and giving up the ownership
    std::atomic<DWORD> thread{0};
    int depth = 0;      // the owner's nesting
    std::unique_ptr<FileMap> files;
};

ScopeState& State() {
    static ScopeState state;
    return state;
}

bool ScopeOnThisThread() {
    const ScopeState& s = State();
    return s.thread.load() == GetCurrentThreadId() && s.files;
}

std::vector<IniSectionCopy::Line> SplitLines(const std::wstring& raw) {
    std::vector<IniSectionCopy::Line> lines;
    size_t i = 0;
    while (i < raw.size() && raw[i]) {
        size_t end = raw.find(L'\0', i);
        if (end == std::wstring::npos) end = raw.size();
        std::wstring line = raw.substr(i, end - i);
        size_t eq = line.find(L'=');
        if (eq == std::wstring::npos) {
            lines.push_back({line, std::nullopt});
        } else {
            lines.push_back({line.substr(0, eq), line.substr(eq + 1)});
        }
        i = end + 1;
    }
    return lines;
}

// Trailing blanks of a default go, as GetPrivateProfileStringW drops them
// (one character always stays).
std::wstring TrimmedDefault(const wchar_t* def) {
    std::wstring d = def ? def : L"";
    size_t n = d.size();
    while (n > 1 && d[n - 1] == L' ') --n;
    d.resize(n);
    return d;
}

// A value as the profile functions hand it out: one enclosing pair of quotes
// (single or double) goes, and the text is cut to the buffer.
void CopyEntry(wchar_t* buffer, const wchar_t* value, DWORD size) {
    wchar_t quote = 0;
    if ((*value == L'\'' || *value == L'"') && value[1] && value[wcslen(value) - 1] == *value) quote = *value++;
    lstrcpynW(buffer, value, static_cast<int>(size));
    if (quote && size >= wcslen(value)) {
        size_t n = wcslen(buffer);
        if (n > 0) buffer[n - 1] = 0;
    }
}

// RtlUnicodeStringToInteger with base 0, as GetPrivateProfileIntW reads.
unsigned long ParseProfileNumber(const wchar_t* p) {
    while (*p && *p <= L' ') ++p;
    bool minus = false;
    if (*p == L'+') {
        ++p;
    } else if (*p == L'-') {
        minus = true;
        ++p;
    }
    unsigned base = 10;
    if (p[0] == L'0' && (p[1] == L'b' || p[1] == L'o' || p[1] == L'x')) {
        base = p[1] == L'b' ? 2 : p[1] == L'o' ? 8 : 16;
        p += 2;
    }
    unsigned long total = 0;
    for (;; ++p) {
        int digit = -1;
        if (*p >= L'0' && *p <= L'9') digit = *p - L'0';
        else if (*p >= L'A' && *p <= L'Z') digit = *p - L'A' + 10;
        else if (*p >= L'a' && *p <= L'z') digit = *p - L'a' + 10;
        if (digit < 0 || static_cast<unsigned>(digit) >= base) break;
        total = total * base + static_cast<unsigned>(digit);
    }
    return minus ? 0ul - total : total;
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// Lines the profile functions store and read back as they are: each
// "key=value" with no blanks around key or value, and no key that would read
// as a comment or a section head.
bool CleanLines(const std::wstring& lines) {
    size_t i = 0;
    while (i < lines.size() && lines[i]) {
        size_t end = lines.find(L'\0', i);
        if (end == std::wstring::npos) end = lines.size();
        const std::wstring line = lines.substr(i, end - i);
        const size_t eq = line.find(L'=');
        if (eq == std::wstring::npos || eq == 0 || line[0] == L';' || line[0] == L'[') return false;
        if (IsBlank(line[0]) || IsBlank(line[eq - 1])) return false;
        if (eq + 1 < line.size() && (IsBlank(line[eq + 1]) || IsBlank(line.back()))) return false;
        for (wchar_t c : line) {
            if (c == L'\r' || c == L'\n') return false;
        }
        i = end + 1;
    }
    return true;
}

// Which sections the file has; a file plain enough to be read whole also
// gives every section's lines at once, so that the rest of the load does not
// open it again. Sections already known stay as they are: they are what was
// read or written since.
void ReadSectionNames(const wchar_t* file, FileCopy& known) {
    // A writer truncates the file and writes it anew while others may read
    // it: under the lock, the copies never see a file cut short. A lock not
    // had within its wait does not keep the load from reading.
    IniFileLock lock;
    const unsigned hold = IniLockHoldId();
    known.namesHold = hold;
    std::optional<std::vector<IniFileSection>> whole =
        known.offered && hold != 0 && known.offeredHold == hold ? ParsePlainIni(*known.offered)
                                                                 : ReadPlainIniFile(file);
    known.offered.reset();
    if (!whole) {
        for (std::wstring& name : ReadIniSectionNames(file)) {
            if (!known.names.insert(name).second) known.repeated.insert(std::move(name));
        }
        // Read later, a section could be caught cut short by a writer that
        // came in between: every one is read now, under this same hold.
        for (const std::wstring& name : known.names) {
            if (known.repeated.count(name) != 0 || known.sections.count(name) != 0) continue;
            IniSectionCopy copy;
            copy.raw = ReadIniSectionFromFile(file, name.c_str());
            copy.lines = SplitLines(copy.raw);
            copy.hold = hold;
            known.sections.emplace(name, std::move(copy));
        }
        return;
    }
    for (IniFileSection& section : *whole) {
        if (!known.names.insert(section.name).second) known.repeated.insert(section.name);
    }
    for (IniFileSection& section : *whole) {
        if (known.repeated.count(section.name) != 0) continue;
        IniSectionCopy copy;
        copy.raw = std::move(section.raw);
        copy.lines = SplitLines(copy.raw);
        copy.hold = hold;
        known.sections.emplace(std::move(section.name), std::move(copy));
    }
}

// What a load made inside another may take over: only what was read or
// written under the hold of the lock that still lasts.
void KeepOnlyThisHold(FileMap& files) {
    const unsigned hold = IniLockHoldId();
    if (hold == 0) {
        files.clear();
        return;
    }
    for (auto& [name, known] : files) {
        for (auto it = known.sections.begin(); it != known.sections.end();) {
            it = it->second.hold == hold ? std::next(it) : known.sections.erase(it);
        }
        if (known.namesHold != hold) {
            known.namesRead = false;
            known.names.clear();
            known.repeated.clear();
        }
        if (known.offeredHold != hold) known.offered.reset();
    }
}

}  // namespace

IniReadScope::IniReadScope() {
    ScopeState& s = State();
    std::lock_guard<std::mutex> lock(s.change);
    if (s.thread.load() == 0) {
        s.files = std::make_unique<FileMap>();
        s.thread.store(GetCurrentThreadId());
    } else if (s.thread.load() == GetCurrentThreadId()) {
        // Each load reads anew what an enclosing scope read before the
        // present hold: another program may have written it since.
        KeepOnlyThisHold(*s.files);
    }
    // A scope on another thread while one lives: that thread reads the file.
    if (s.thread.load() == GetCurrentThreadId()) ++s.depth;
}

IniReadScope::~IniReadScope() {
    ScopeState& s = State();
    std::lock_guard<std::mutex> lock(s.change);
    if (s.thread.load() != GetCurrentThreadId() || s.depth == 0) return;
    if (--s.depth == 0) {
        s.thread.store(0);
        s.files.reset();
    }
}

DWORD IniSectionCopy::Value(const wchar_t* key, const wchar_t* def, wchar_t* buffer, DWORD size) const {
    // A file that is not there reads as one without the key: the default
    // loses its enclosing quotes too.
    const std::wstring d = TrimmedDefault(def);
    const wchar_t* value = d.c_str();
    for (const Line& line : lines) {
        if (_wcsicmp(line.key.c_str(), key) == 0) {
            if (line.value) value = line.value->c_str();
            break;
        }
    }
    CopyEntry(buffer, value, size);
    return static_cast<DWORD>(wcslen(buffer));
}

int IniSectionCopy::Int(const wchar_t* key, int def) const {
    wchar_t buffer[30];
    if (Value(key, L"", buffer, 30) == 0 || !buffer[0]) return def;
    return static_cast<int>(ParseProfileNumber(buffer));
}

std::vector<std::wstring> IniSectionCopy::Keys() const {
    std::vector<std::wstring> keys;
    for (const Line& line : lines) {
        if (!line.value) continue;
        // An empty name ends the list the profile functions give.
        if (line.key.empty()) break;
        keys.push_back(line.key);
    }
    return keys;
}

const IniSectionCopy* CachedIniSection(const wchar_t* file, const wchar_t* section) {
    if (!ScopeOnThisThread() || !file || !*file || !section) return nullptr;
    FileCopy& known = (*State().files)[file];
    auto found = known.sections.find(section);
    if (found != known.sections.end()) return &found->second;
    if (!known.namesRead) {
        known.namesRead = true;
        known.namesHold = IniLockHoldId();
        known.exists = GetFileAttributesW(file) != INVALID_FILE_ATTRIBUTES;
        if (known.exists) ReadSectionNames(file, known);
        found = known.sections.find(section);
        if (found != known.sections.end()) return &found->second;
    }
    if (known.repeated.count(section) != 0) return nullptr;
    IniSectionCopy copy;
    copy.hold = known.namesHold;
    if (known.exists && known.names.count(section) != 0) {
        IniFileLock lock;
        copy.raw = ReadIniSectionFromFile(file, section);
        copy.hold = IniLockHoldId();
    }
    copy.lines = SplitLines(copy.raw);
    return &known.sections.emplace(section, std::move(copy)).first->second;
}

void NoteIniWrite(const wchar_t* file, const wchar_t* section, IniWrite kind, bool succeeded,
                  const std::wstring& lines) {
    if (!ScopeOnThisThread() || !file || !section) return;
    FileMap& files = *State().files;
    auto found = files.find(file);
    if (found == files.end()) return;
    FileCopy& known = found->second;
    known.sections.erase(section);
    const bool plain = known.namesRead && known.repeated.count(section) == 0;
    if (!succeeded || kind == IniWrite::Deleted || !plain) {
        // Which sections the file has is asked again when next needed.
        known.namesRead = false;
        known.names.clear();
        known.repeated.clear();
        return;
    }
    known.exists = true;
    known.names.insert(section);
    if (kind == IniWrite::Replaced && CleanLines(lines)) {
        IniSectionCopy copy;
        copy.hold = IniLockHoldId();
        copy.raw = lines;
        while (!copy.raw.empty() && copy.raw.back() == L'\0') copy.raw.pop_back();
        if (!copy.raw.empty()) copy.raw.append(2, L'\0');
        copy.lines = SplitLines(copy.raw);
        known.sections.emplace(section, std::move(copy));
    }
}

void OfferIniFileBytes(const wchar_t* file, const std::string& bytes) {
    const unsigned hold = IniLockHoldId();
    if (!ScopeOnThisThread() || !file || !*file || hold == 0) return;
    FileCopy& known = (*State().files)[file];
    if (known.namesRead) return;
    known.offered = bytes;
    known.offeredHold = hold;
}

void ForgetCachedIniFile(const wchar_t* file) {
    if (!ScopeOnThisThread() || !file) return;
    State().files->erase(file);
}
