// A private settings folder for the tree tests: tempovia.ini, default.ini and
// two language files in a temporary folder, a fixed user, and a tree of its own.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_tree.h"
#include "tests/support/test_support.h"

namespace tree_test {

inline constexpr wchar_t kUser[] = L"tester";

class TreeSandbox {
public:
    TreeSandbox();
    ~TreeSandbox();
    TreeSandbox(const TreeSandbox&) = delete;
    TreeSandbox& operator=(const TreeSandbox&) = delete;

    void WriteUserIni(std::string_view bytes) const;
    void WriteDefaultIni(std::string_view bytes) const;
    // "tempovia_<code>.ini" with a [StringTable] of the given lines.
    void WriteLanguage(const wchar_t* code, std::string_view stringTable) const;
    std::wstring UserIni() const;

    // A value of tempovia.ini ("" when missing).
    std::wstring Value(const std::wstring& section, const wchar_t* key) const;
    bool HasSection(const std::wstring& section) const;
    // "tester:clock<n>" and "tester:clock<n>:alarm<m>".
    static std::wstring Clock(int n);
    static std::wstring Alarm(int n, int m);

    SettingsTree tree;

private:
    testing_support::TempDir dir_;
    std::wstring oldFolder_, oldBase_, oldCode_;
};

// "[tester:clock<n>]" with the label and anything more.
std::string ClockSection(int n, const char* label, const char* more = "");
std::string AlarmSection(int n, int m, const char* comment, const char* more = "");

// The clock nodes' labels in tree order.
std::vector<std::wstring> Labels(SettingsTree& tree);

// A tree-view control with check boxes, destroyed with the object.
class TreeControl {
public:
    TreeControl();
    ~TreeControl();
    HWND hwnd() const { return hwnd_; }
    std::wstring Text(HTREEITEM item) const;
    int StateImage(HTREEITEM item) const;

private:
    HWND hwnd_ = nullptr;
};

}  // namespace tree_test
