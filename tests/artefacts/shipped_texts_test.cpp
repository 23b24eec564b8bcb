// What the shipped texts and pictures say: the countdown and the unit names
// read right for one, and the timer button is a picture the face can key.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/settings/plural_tables.h"
#include "common/platform/one_number_format.h"
#include "resources/resource_ids.h"
#include "tests/support/program_folder.h"
#include "tests/support/test_support.h"

namespace {

class Library {
public:
    Library()
        : module_(LoadLibraryExW((testing_support::BinFolder() + L"res_en.dll").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~Library() {
        if (module_) FreeLibrary(module_);
    }
    HMODULE get() const { return module_; }

private:
    HMODULE module_;
};

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The countdown's format as the dialog template holds it.
std::wstring TemplateText(HMODULE module, UINT dialog, int control) {
    HWND window = CreateDialogParamW(module, MAKEINTRESOURCEW(dialog), nullptr, QuietDialog, 0);
    if (!window) return L"";
    wchar_t text[128] = {};
    GetDlgItemTextW(window, control, text, 128);
    DestroyWindow(window);
    return text;
}

// The same control's text in the shipped English language file.
std::wstring LanguageFileText(const wchar_t* section, int control) {
    wchar_t text[128] = {};
    GetPrivateProfileStringW(section, std::to_wstring(control).c_str(), L"", text, 128,
                             (testing_support::BinFolder() + L"tempovia_en.ini").c_str());
    return text;
}

std::wstring Filled(const std::wstring& format, long long n) {
    wchar_t out[160];
    FormatOneNumber(format.c_str(), n, out, 160);
    return out;
}

TEST(ShippedTexts, TheCountdownReadsRightForOneSecond) {
    Library library;
    ASSERT_NE(library.get(), nullptr);
    const struct {
        UINT dialog;
        const wchar_t* section;
    } countdowns[] = {{IDD_SHUTDOWN_COUNTDOWN, L"DLG_Shutdown"}, {IDD_HIBERNATE_COUNTDOWN, L"DLG_Hibernate"}};
    for (const auto& c : countdowns) {
        for (const std::wstring& format :
             {TemplateText(library.get(), c.dialog, IDC_COUNTDOWN_TEXT), LanguageFileText(c.section, IDC_COUNTDOWN_TEXT)}) {
            ASSERT_NE(format.find(L"%d"), std::wstring::npos) << c.section;
            const std::wstring one = Filled(format, 1);
            EXPECT_EQ(one.find(L"1 seconds"), std::wstring::npos) << one;
            EXPECT_NE(one.find(L"1"), std::wstring::npos) << one;
        }
    }
}

TEST(ShippedTexts, UnitNamesTakeTheSingularForOne) {
    Library library;
    ASSERT_NE(library.get(), nullptr);
    const UINT ids[kPluralUnits] = {IDS_UNIT_SECONDS, IDS_UNIT_MINUTES, IDS_UNIT_HOURS, IDS_UNIT_DAYS, IDS_UNIT_WEEKS};
    const wchar_t* singular[kPluralUnits] = {L"second", L"minute", L"hour", L"day", L"week"};
    PluralTables tables;
    for (int unit = 0; unit < kPluralUnits; ++unit) {
        wchar_t text[256] = {};
        ASSERT_GT(LoadStringW(library.get(), ids[unit], text, 256), 0);
        tables.SetTable(unit, text);
        EXPECT_STREQ(tables.Select(unit, 1), singular[unit]);
        EXPECT_STREQ(tables.Select(unit, 2), (std::wstring(singular[unit]) + L"s").c_str());
        EXPECT_STREQ(tables.Select(unit, 101), singular[unit]);
    }
}

TEST(ShippedTexts, TheTimerButtonIsAMonochromePictureOnAWhiteKey) {
    Library library;
    ASSERT_NE(library.get(), nullptr);
    HBITMAP picture = static_cast<HBITMAP>(
        LoadImageW(library.get(), MAKEINTRESOURCEW(IDB_TIMER_BUTTON), IMAGE_BITMAP, 0, 0, LR_MONOCHROME));
    ASSERT_NE(picture, nullptr);
    BITMAP info = {};
    ASSERT_TRUE(GetObjectW(picture, sizeof info, &info));
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_GE(info.bmWidth, 7);
    EXPECT_GE(info.bmHeight, 7);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, picture);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255)) << "the key pixel";
    int ink = 0;
    for (int y = 0; y < info.bmHeight; ++y) {
        for (int x = 0; x < info.bmWidth; ++x) ink += GetPixel(dc, x, y) == RGB(0, 0, 0);
    }
    EXPECT_GT(ink, info.bmWidth * info.bmHeight / 5);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(picture);
}

}  // namespace
