// settings.exe on the profile a new user gets from the shipped default.ini:
// what its settings tree shows, that every page can be left unchanged, and
// that Apply and OK without a change keep the profile as it was, with its first
// clock on the computer's time (CI runs this in several machine zones).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "common/settings/clock_sections.h"
#include "common/records/protocol.h"
#include "common/zones/zone_database.h"
#include "common/zones/zone_time.h"
#include "common/zones/zone_updates.h"
#include "tests/settingsapp/settings_folder.h"
#include "tests/support/machine_zone.h"
#include "tests/support/program_folder.h"

using settingsapp_test::SettingsProgramFolder;
using settingsapp_test::WaitForMainDialog;
using testing_support::UserPrefix;
using testing_support::WaitExit;

namespace {

constexpr DWORD kStartMs = 20000;
constexpr int kTreeId = 1087;
constexpr WORD kApplyId = 1238;

// The text of a tree item of another process: the item and its text buffer
// live in that process's memory.
class RemoteTree {
public:
    explicit RemoteTree(HWND tree) : tree_(tree) {
        DWORD pid = 0;
        GetWindowThreadProcessId(tree, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) memory_ = VirtualAllocEx(process_, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteTree() {
        if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    bool ok() const { return memory_ != nullptr; }

    std::wstring Text(HTREEITEM item) const {
        auto* remoteText = static_cast<wchar_t*>(memory_) + 256;
        TVITEMW request = {};
        request.mask = TVIF_TEXT | TVIF_HANDLE;
        request.hItem = item;
        request.pszText = remoteText;
        request.cchTextMax = 256;
        SIZE_T done = 0;
        if (!WriteProcessMemory(process_, memory_, &request, sizeof request, &done)) return L"?";
        if (!SendMessageW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(memory_))) return L"?";
        wchar_t text[257] = {};
        if (!ReadProcessMemory(process_, remoteText, text, 256 * sizeof(wchar_t), &done)) return L"?";
        return text;
    }

    // Every item, parents before their children.
    std::vector<HTREEITEM> Items() const {
        std::vector<HTREEITEM> items;
        Collect(Next(nullptr, TVGN_ROOT), items);
        return items;
    }

    HTREEITEM Next(HTREEITEM item, UINT how) const {
        return reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
    }

private:
    void Collect(HTREEITEM item, std::vector<HTREEITEM>& items) const {
        for (; item; item = Next(item, TVGN_NEXT)) {
            items.push_back(item);
            Collect(Next(item, TVGN_CHILD), items);
        }
    }

    HWND tree_;
    HANDLE process_ = nullptr;
    void* memory_ = nullptr;
};

using Section = std::map<std::wstring, std::wstring>;

// The user's sections of tempovia.ini: main, clocks, their alarms and profiles.
std::map<std::wstring, Section> UserSections(const std::wstring& ini) {
    std::map<std::wstring, Section> sections;
    std::vector<wchar_t> names(65536);
    const DWORD n = GetPrivateProfileSectionNamesW(names.data(), static_cast<DWORD>(names.size()), ini.c_str());
    const std::wstring prefix = UserPrefix() + L":";
    for (const wchar_t* name = names.data(); name < names.data() + n && *name; name += wcslen(name) + 1) {
        if (std::wstring(name).rfind(prefix, 0) != 0) continue;
        std::vector<wchar_t> keys(65536);
        const DWORD k = GetPrivateProfileSectionW(name, keys.data(), static_cast<DWORD>(keys.size()), ini.c_str());
        Section& section = sections[name];
        for (const wchar_t* line = keys.data(); line < keys.data() + k && *line; line += wcslen(line) + 1) {
            const std::wstring entry(line);
            const size_t eq = entry.find(L'=');
            if (eq == std::wstring::npos) continue;
            // Read as the programs read it: one pair of enclosing quotes goes.
            const std::wstring key = entry.substr(0, eq);
            std::vector<wchar_t> value(4096);
            GetPrivateProfileStringW(name, key.c_str(), L"", value.data(), static_cast<DWORD>(value.size()),
                                     ini.c_str());
            section[key] = value.data();
        }
    }
    return sections;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST(ShippedProfile, EveryRowHasATitleEveryPageLetsGoAndApplyAndOkChangeNothing) {
    ASSERT_EQ(FindWindowW(kSettingsWindowClass, nullptr), nullptr) << "a settings program is already running";
    SettingsProgramFolder folder;
    ASSERT_TRUE(folder.ok());
    HANDLE process = folder.Start(L"");
    HWND dialog = WaitForMainDialog(kStartMs);
    ASSERT_NE(dialog, nullptr);
    const std::wstring ini = folder.file(L"tempovia.ini");
    const auto seeded = UserSections(ini);
    ASSERT_TRUE(seeded.count(UserPrefix() + L":clock2")) << "the first start seeds the shipped profile";
    ASSERT_TRUE(seeded.count(UserPrefix() + L":clock1:alarm1"));

    HWND treeWindow = GetDlgItem(dialog, kTreeId);
    RemoteTree tree(treeWindow);
    ASSERT_TRUE(tree.ok());
    const std::vector<HTREEITEM> items = tree.Items();
    EXPECT_GE(items.size(), 30u);
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_FALSE(tree.Text(items[i]).empty()) << "row " << i << " has no title";
    }

    // Each page shows its record and stores it again when the next row is
    // chosen; a page that refuses keeps the selection on its row.
    for (HTREEITEM item : items) {
        SendMessageW(treeWindow, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        EXPECT_EQ(tree.Next(nullptr, TVGN_CARET), item) << "stuck before " << Narrow(tree.Text(item));
    }
    SendMessageW(treeWindow, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(items.front()));

    PostMessageW(dialog, WM_COMMAND, kApplyId, 0);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(WaitExit(process, kStartMs), 0u);
    const auto applied = UserSections(ini);
    for (const auto& [name, keys] : seeded) {
        const auto after = applied.find(name);
        ASSERT_NE(after, applied.end()) << Narrow(name) << " was removed";
        for (const auto& [key, value] : keys) {
            const auto found = after->second.find(key);
            EXPECT_TRUE(found != after->second.end() && found->second == value)
                << Narrow(name) << " " << Narrow(key) << ": " << Narrow(value) << " became "
                << (found == after->second.end() ? std::string("(missing)") : Narrow(found->second));
        }
    }
    for (const auto& [name, keys] : applied) {
        EXPECT_TRUE(seeded.count(name)) << Narrow(name) << " was added";
    }

    // The first clock of the profile, read as the programs read it, shows the
    // computer's time in both seasons and is not offered as a zone to take.
    const ZoneTables saved = g_zones;
    g_zones = ZoneTables();
    ASSERT_TRUE(LoadZoneDatabase(folder.file(L"timezones.txt").c_str()));
    ASSERT_TRUE(LoadZoneUpdates(folder.file(L"tz_changes.txt").c_str()));
    ZoneUpdatesDue(testing_support::kSeasonMoments[0]);
    ClockRecord here;
    std::memset(&here, 0, sizeof here);
    ReadClockRecord((UserPrefix() + L":clock1").c_str(), ini.c_str(), here, false);
    EXPECT_EQ(testing_support::MachineTimeMismatches(here), "") << Narrow(here.zone.key);
    EXPECT_TRUE(IsSystemZone(here)) << Narrow(here.zone.key);
    FreeZoneUpdates();
    FreeZoneTables();
    g_zones = saved;
}

}  // namespace
