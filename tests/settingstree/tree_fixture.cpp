#include "tests/settingstree/tree_fixture.h"

#include <commctrl.h>

#include "common/settings/ini_paths.h"
#include "common/settings/ini_store.h"
#include "common/settings/localisation.h"

namespace tree_test {

TreeSandbox::TreeSandbox() {
    SetSettingsFolder(dir_.path());
    SetUserNameOverride(kUser);
    LanguageStrings& lang = Language();
    oldFolder_ = lang.folder();
    oldBase_ = lang.baseName();
    oldCode_ = lang.languageCode();
    lang.SetLanguageFolder(dir_.path().c_str());
    lang.SetLanguageFileBase(L"tempovia");
    lang.SetLanguage(L"en");
}

TreeSandbox::~TreeSandbox() {
    AttachTree(tree, nullptr);
    DestroySettingsTree(tree);
    LanguageStrings& lang = Language();
    lang.SetLanguageFolder(oldFolder_.c_str());
    lang.SetLanguageFileBase(oldBase_.c_str());
    lang.SetLanguage(oldCode_.c_str());
    SetUserNameOverride(nullptr);
    SetSettingsFolder(L"");
}

void TreeSandbox::WriteUserIni(std::string_view bytes) const {
    testing_support::WriteBytes(dir_.file(L"tempovia.ini"), bytes);
}

void TreeSandbox::WriteDefaultIni(std::string_view bytes) const {
    testing_support::WriteBytes(dir_.file(L"default.ini"), bytes);
}

void TreeSandbox::WriteLanguage(const wchar_t* code, std::string_view stringTable) const {
    std::string text = "[StringTable]\r\n";
    text += stringTable;
    testing_support::WriteBytes(dir_.file(std::wstring(L"tempovia_") + code + L".ini"), text);
}

std::wstring TreeSandbox::UserIni() const { return dir_.file(L"tempovia.ini"); }

std::wstring TreeSandbox::Value(const std::wstring& section, const wchar_t* key) const {
    return ReadIniText(UserIni().c_str(), section.c_str(), key, L"");
}

bool TreeSandbox::HasSection(const std::wstring& section) const {
    return !ReadIniKeyList(UserIni().c_str(), section.c_str()).empty();
}

std::wstring TreeSandbox::Clock(int n) { return std::wstring(kUser) + L":clock" + std::to_wstring(n); }
std::wstring TreeSandbox::Alarm(int n, int m) { return Clock(n) + L":alarm" + std::to_wstring(m); }

std::string ClockSection(int n, const char* label, const char* more) {
    return "[tester:clock" + std::to_string(n) + "]\r\nenabled=1\r\nprefix=" + label + "\r\n" + more;
}

std::string AlarmSection(int n, int m, const char* comment, const char* more) {
    return "[tester:clock" + std::to_string(n) + ":alarm" + std::to_string(m) +
           "]\r\ntype=0\r\nonce=2030.01.01 08:00:00\r\ncomment=" + comment + "\r\n" + more;
}

std::vector<std::wstring> Labels(SettingsTree& tree) {
    std::vector<std::wstring> labels;
    for (CClockNode* clock : tree.clocks) labels.push_back(clock->Record().prefix);
    return labels;
}

TreeControl::TreeControl() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    hwnd_ = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_POPUP | TVS_HASBUTTONS | TVS_CHECKBOXES, 0, 0, 300, 400,
                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    // The check boxes need the style set once more after creation.
    if (hwnd_) SetWindowLongW(hwnd_, GWL_STYLE, GetWindowLongW(hwnd_, GWL_STYLE) | TVS_CHECKBOXES);
}

TreeControl::~TreeControl() {
    if (hwnd_) DestroyWindow(hwnd_);
}

std::wstring TreeControl::Text(HTREEITEM item) const {
    wchar_t text[128] = {};
    TVITEMW tv = {};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = 128;
    TreeView_GetItem(hwnd_, &tv);
    return text;
}

int TreeControl::StateImage(HTREEITEM item) const {
    return static_cast<int>(TreeView_GetItemState(hwnd_, item, TVIS_STATEIMAGEMASK) >> 12);
}

}  // namespace tree_test
