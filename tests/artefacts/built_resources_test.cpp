// The built files as users get them: every resource id the code names in a
// program's id header is looked up, by the kind its prefix gives, in the file
// the code loads it from. The headers are the one list of what each program
// loads, so this check follows the code without a list of its own.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "common/settings/http_log.h"
#include "tests/support/program_folder.h"
#include "tests/support/test_support.h"

namespace {

struct NamedId {
    std::string name;
    unsigned value;
};

// A module loaded as data only: nothing of it runs.
class DataModule {
public:
    explicit DataModule(const std::wstring& file)
        : module_(LoadLibraryExW((testing_support::BinFolder() + file).c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~DataModule() {
        if (module_) FreeLibrary(module_);
    }
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;
    HMODULE get() const { return module_; }

private:
    HMODULE module_;
};

// The "#define NAME value" lines of a header and of the project headers it
// includes; a value may name an earlier define.
void ReadDefines(const std::string& relative, std::vector<NamedId>& out, std::map<std::string, unsigned>& known,
                 std::set<std::string>& seen) {
    if (!seen.insert(relative).second) return;
    std::wstring path(relative.begin(), relative.end());
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    const std::string text = testing_support::ReadBytes(testing_support::SourcePath(path));
    ASSERT_FALSE(text.empty()) << relative;
    static const std::regex include(R"re(^\s*#include\s+"([^"]+)")re");
    static const std::regex define(R"re(^\s*#define\s+(ID[A-Z]*_\w+)\s+(\w+))re");
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        std::smatch m;
        if (std::regex_search(line, m, include)) {
            ReadDefines(m[1], out, known, seen);
        } else if (std::regex_search(line, m, define)) {
            const std::string value = m[2];
            unsigned number = 0;
            if (isdigit(static_cast<unsigned char>(value[0]))) {
                number = static_cast<unsigned>(std::stoul(value));
            } else if (known.count(value)) {
                number = known[value];
            } else {
                ADD_FAILURE() << m[1] << " names " << value << ", which is not defined before it";
                continue;
            }
            known[m[1]] = number;
            out.push_back({m[1], number});
        }
    }
}

std::vector<NamedId> Defines(const char* header) {
    std::vector<NamedId> out;
    std::map<std::string, unsigned> known;
    std::set<std::string> seen;
    ReadDefines(header, out, known, seen);
    return out;
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }
bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool HasString(HMODULE module, unsigned id) {
    const wchar_t* text = nullptr;
    return LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0) > 0;
}

bool Has(HMODULE module, unsigned id, LPCWSTR type) {
    return FindResourceW(module, MAKEINTRESOURCEW(id), type) != nullptr;
}

// Checks every resource name of the header in the module; returns how many
// resources were checked.
int CheckModule(const wchar_t* file, const char* header) {
    DataModule module(file);
    EXPECT_NE(module.get(), nullptr) << "cannot read the built file";
    if (!module.get()) return 0;
    const std::vector<NamedId> ids = Defines(header);
    std::map<std::string, unsigned> firsts;
    int checked = 0;
    for (const NamedId& id : ids) {
        const std::string& n = id.name;
        SCOPED_TRACE(n + " = " + std::to_string(id.value));
        HMODULE m = module.get();
        if (StartsWith(n, "IDS_")) {
            if (EndsWith(n, "_FIRST")) firsts[n.substr(0, n.size() - 6)] = id.value;
            unsigned from = id.value;
            if (EndsWith(n, "_LAST")) {
                const auto first = firsts.find(n.substr(0, n.size() - 5));
                if (first == firsts.end()) {
                    ADD_FAILURE() << "a _LAST without its _FIRST";
                    continue;
                }
                from = first->second;
            }
            for (unsigned v = from; v <= id.value; ++v) EXPECT_TRUE(HasString(m, v)) << "string " << v << " missing";
        } else if (StartsWith(n, "IDD_")) {
            EXPECT_TRUE(Has(m, id.value, RT_DIALOG)) << "dialog missing";
        } else if (StartsWith(n, "IDI_")) {
            EXPECT_TRUE(Has(m, id.value, RT_GROUP_ICON)) << "icon missing";
            HANDLE icon = LoadImageW(m, MAKEINTRESOURCEW(id.value), IMAGE_ICON, 16, 16, 0);
            EXPECT_NE(icon, nullptr) << "icon does not load";
            if (icon) DestroyIcon(static_cast<HICON>(icon));
        } else if (StartsWith(n, "IDB_")) {
            HANDLE bitmap = LoadImageW(m, MAKEINTRESOURCEW(id.value), IMAGE_BITMAP, 0, 0, LR_MONOCHROME);
            EXPECT_NE(bitmap, nullptr) << "bitmap missing";
            if (bitmap) DeleteObject(bitmap);
        } else if (StartsWith(n, "IDCUR_")) {
            EXPECT_TRUE(Has(m, id.value, RT_GROUP_CURSOR)) << "cursor missing";
        } else if (StartsWith(n, "IDR_")) {
            HMENU menu = LoadMenuW(m, MAKEINTRESOURCEW(id.value));
            EXPECT_NE(menu, nullptr) << "menu missing";
            if (menu) DestroyMenu(menu);
        } else if (StartsWith(n, "IDV_")) {
            EXPECT_TRUE(Has(m, id.value, RT_VERSION)) << "version missing";
            EXPECT_EQ(ModuleVersion(m).major, 5) << "version does not read 5";
        } else {
            continue;  // control and command ids
        }
        ++checked;
    }
    return checked;
}

TEST(BuiltResources, TheLanguageLibraryHoldsEverythingTheProgramsLoadFromIt) {
    EXPECT_GT(CheckModule(L"res_en.dll", "resources/resource_ids.h"), 150);
}

TEST(BuiltResources, EachProgramFileHoldsWhatItsCodeLoadsFromItself) {
    EXPECT_GE(CheckModule(L"tempovia.exe", "tempovia/main/program_resource_ids.h"), 7);
    EXPECT_GE(CheckModule(L"settings.exe", "settings/settings_resource_ids.h"), 6);
    EXPECT_GE(CheckModule(L"velmora.exe", "velmora/velmora_resource_ids.h"), 16);
    // The taskbar clock and the map plug-in take their texts and pictures from
    // the language library; they only have to open.
    for (const wchar_t* file : {L"hook.dll", L"kartix.dll"}) {
        DataModule module(file);
        EXPECT_NE(module.get(), nullptr) << "cannot read the built file";
    }
}

// The bytes of the icon image that the group resource picks for the size.
std::string IconImage(HMODULE module, unsigned group, int side) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(group), RT_GROUP_ICON);
    void* directory = found ? LockResource(LoadResource(module, found)) : nullptr;
    if (!directory) return std::string();
    const int image = LookupIconIdFromDirectoryEx(static_cast<BYTE*>(directory), TRUE, side, side, 0);
    HRSRC icon = image ? FindResourceW(module, MAKEINTRESOURCEW(image), RT_ICON) : nullptr;
    const void* bytes = icon ? LockResource(LoadResource(module, icon)) : nullptr;
    return bytes ? std::string(static_cast<const char*>(bytes), SizeofResource(module, icon)) : std::string();
}

// The world map dialog, in both programs that open it, shows the program's own
// icon.
TEST(BuiltResources, TheMapDialogIconIsTheProgramIcon) {
    struct Program {
        const wchar_t* file;
        const char* header;
        const char* programIcon;
    };
    const Program programs[] = {{L"tempovia.exe", "tempovia/main/program_resource_ids.h", "IDI_PROGRAM"},
                                {L"settings.exe", "settings/settings_resource_ids.h", "IDI_SETTINGS_CLASS"}};
    for (const Program& program : programs) {
        std::map<std::string, unsigned> ids;
        for (const NamedId& id : Defines(program.header)) ids[id.name] = id.value;
        ASSERT_EQ(ids.count("IDI_MAP_DIALOG"), 1u);
        ASSERT_EQ(ids.count(program.programIcon), 1u);
        DataModule module(program.file);
        ASSERT_NE(module.get(), nullptr);
        for (int side : {16, 32}) {
            const std::string dialog = IconImage(module.get(), ids["IDI_MAP_DIALOG"], side);
            EXPECT_FALSE(dialog.empty());
            EXPECT_TRUE(dialog == IconImage(module.get(), ids[program.programIcon], side)) << side;
        }
    }
}

}  // namespace
