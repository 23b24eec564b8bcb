#include <windows.h>
#include <commctrl.h>

#include "common/records/protocol.h"
#include "common/records/clock_table.h"
#include "common/platform/text_bounds.h"
#include "settings/page_clock.h"
#include "settings/page_clock_tables.h"
#include "common/settings/localisation.h"
#include "tests/clockpages/page_fixture.h"

namespace clockpages_test {
namespace {

ClockRecord g_preview;
int g_recreated = 0;
ClockRecord* Preview() { return &g_preview; }
void Recreate() { ++g_recreated; }

class SkinPageTest : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        const std::wstring skins = dir_.path() + L"\\skins";
        CreateDirectoryW(skins.c_str(), nullptr);
        for (const wchar_t* name : {L"Mech", L"Mech24", L"Digi"}) CreateDirectoryW((skins + L"\\" + name).c_str(), nullptr);
        testing_support::WriteBytes(skins + L"\\Mech\\clkface.png", "x");
        testing_support::WriteBytes(skins + L"\\Mech24\\clkface.bmp", "x");
        testing_support::WriteBytes(skins + L"\\Mech24\\skin.ini", "[clock]\r\nface24h=1\r\n");
        ClockPageServices services;
        services.previewRecord = Preview;
        services.recreatePreview = Recreate;
        SetPageServices(services);
        g_preview = {};
        g_recreated = 0;
        oldGlobal_ = g_settings;
    }
    void TearDown() override {
        g_settings = oldGlobal_;
        PageTest::TearDown();
    }
    GlobalSettings oldGlobal_ = {};
};

std::vector<std::wstring> ComboItems(HWND combo) {
    std::vector<std::wstring> items;
    const int n = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        wchar_t text[128] = {};
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

TEST_F(SkinPageTest, FormatNamesAreStoredCanonicallyButALocalisedWeekPictureAsTyped) {
    testing_support::WriteBytes(dir_.file(L"tempovia_de.ini"),
                                "[StringTable]\r\n148=Standard\r\n221=Keines\r\n222=Woche w\r\n");
    Language().SetLanguage(L"de");
    HWND page = Create(kFormatsPageResource, FormatsPageDlgProc);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(Text(page, IDC_FORMAT_TIME), L"Standard");
    const std::vector<std::wstring> dates = ComboItems(GetDlgItem(page, IDC_FORMAT_DATE));
    ASSERT_EQ(dates.size(), 14u);
    EXPECT_EQ(dates[0], L"Keines");
    EXPECT_EQ(dates[13], L"Woche w");
    EXPECT_EQ(ComboItems(GetDlgItem(page, IDC_FORMAT_TIME)).size(), 13u);

    ClockRecord record = MakeRecord(0);
    CopyBounded(record.timeformat, L"Default");
    CopyBounded(record.dateformat, L"None");
    record.suffix = 1;
    Load(page, record);
    EXPECT_EQ(Text(page, IDC_FORMAT_TIME), L"Standard");
    EXPECT_EQ(Text(page, IDC_FORMAT_DATE), L"Keines");
    SetText(page, IDC_FORMAT_DATE, L"Woche w");
    Store(page, record);
    EXPECT_STREQ(record.timeformat, L"Default");
    EXPECT_STREQ(record.dateformat, L"Woche w");
    EXPECT_EQ(record.showsSeconds, 0);
    EXPECT_EQ(record.suffix, 1);

    SetText(page, IDC_FORMAT_TIME, L"HH:mm:ss and more than thirty-one characters");
    Store(page, record);
    EXPECT_STREQ(record.timeformat, L"HH:mm:ss and more than thirty-o");
    EXPECT_EQ(record.showsSeconds, 1);
    Language().SetLanguage(L"en");
}

// The language is chosen on the general page while this one is hidden and
// holds no record: its lists follow all the same.
TEST_F(SkinPageTest, AHiddenFormatsPageFollowsALanguageChange) {
    HWND page = Create(kFormatsPageResource, FormatsPageDlgProc);
    ASSERT_NE(page, nullptr);
    ClockRecord record = MakeRecord(0);
    CopyBounded(record.dateformat, L"None");
    Load(page, record);
    ShowWindow(page, SW_HIDE);
    testing_support::WriteBytes(dir_.file(L"tempovia_de.ini"), "[StringTable]\r\n221=Keines\r\n");
    Language().SetLanguage(L"de");
    SendMessageW(page, MSG_LANGUAGE_CHANGED, 0, 0);
    const std::vector<std::wstring> dates = ComboItems(GetDlgItem(page, IDC_FORMAT_DATE));
    Load(page, record);
    Language().SetLanguage(L"en");
    ASSERT_EQ(dates.size(), 14u);
    EXPECT_EQ(dates[0], L"Keines");
    EXPECT_EQ(Text(page, IDC_FORMAT_DATE), L"Keines");
}

TEST_F(SkinPageTest, AnalogueSkinsDecideWhichFormatControlsApply) {
    HWND page = Create(kFormatsPageResource, FormatsPageDlgProc);
    ClockRecord record = MakeRecord(0);
    record.on_desktop = 1;
    CopyBounded(record.skin, L"Mech");
    Load(page, record);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_FORMAT_TIME)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_FORMAT_SECONDS_HAND)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_FORMAT_SUFFIX)));
    EXPECT_STREQ(g_preview.skin, L"Mech");

    CopyBounded(record.skin, L"Mech24");
    Load(page, record);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_FORMAT_SUFFIX))) << "a day face has no AM/PM";

    // In the taskbar the general skin counts, and the preview takes it.
    record.on_desktop = 0;
    CopyBounded(g_settings.skin, L"Digi");
    g_settings.transparentskin = 1;
    Load(page, record);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_FORMAT_TIME)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_FORMAT_SECONDS_HAND)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_FORMAT_SUFFIX)));
    EXPECT_STREQ(g_preview.skin, L"Digi");
    EXPECT_EQ(g_preview.transparent, 1);

    // An edit reaches the preview record and the dialog.
    SetText(page, IDC_FORMAT_TIME, L"HH:mm");
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_FORMAT_TIME, CBN_EDITCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_FORMAT_TIME)));
    EXPECT_STREQ(g_preview.timeformat, L"HH:mm");
    EXPECT_FALSE(Changes().empty());
}

TEST_F(SkinPageTest, TimerFormatsKeepTheRoomOfTheRecord) {
    HWND page = Create(kTimerFormatsPageResource, FormatsPageDlgProc);
    ASSERT_NE(page, nullptr);
    const std::vector<std::wstring> items = ComboItems(GetDlgItem(page, IDC_FORMAT_TIME));
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[0], L"%D %Dn\\n%h:%02m");
    ClockRecord record = MakeRecord(kClockTimer | kClockCountdown);
    CopyBounded(record.timerformat, L"%H:%02m:%02s");
    Load(page, record);
    EXPECT_EQ(Text(page, IDC_FORMAT_TIME), L"%H:%02m:%02s");
    const std::wstring longer = L"%D %Dn, %H %Hn, %M %Mn and %S %Sn remain until the end";
    SetText(page, IDC_FORMAT_TIME, longer.c_str());
    Store(page, record);
    EXPECT_EQ(record.timerformat, longer);
}

TEST_F(SkinPageTest, DesktopOpacitySkinAndTransparencyRoundTrip) {
    HWND page = Create(kDesktopPageResource, DesktopPageDlgProc);
    ASSERT_NE(page, nullptr);
    ClockRecord record = MakeRecord(0);
    CopyBounded(record.skin, L"Mech");
    record.alpha = 200;
    record.transparent = 1;
    Load(page, record);
    EXPECT_EQ(ComboItems(GetDlgItem(page, IDC_DESKTOP_SKIN)),
              (std::vector<std::wstring>{L"Standard System Clock", L"Classic Tempovia Style", L"Digi", L"Mech",
                                         L"Mech24"}));
    EXPECT_EQ(SendDlgItemMessageW(page, IDC_DESKTOP_OPACITY, TBM_GETPOS, 0, 0), 55);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_DESKTOP_OPAQUE), BST_UNCHECKED);
    EXPECT_EQ(g_preview.alpha, 200);
    EXPECT_EQ(g_recreated, 1);

    SendDlgItemMessageW(page, IDC_DESKTOP_OPACITY, TBM_SETPOS, TRUE, 0);
    Store(page, record);
    EXPECT_EQ(record.alpha, 255);
    // The left end is opaque: the slider is titled by what grows to the right.
    wchar_t title[32] = {};
    GetWindowTextW(GetWindow(GetDlgItem(page, IDC_DESKTOP_OPACITY), GW_HWNDPREV), title, 32);
    EXPECT_STREQ(title, L"&Transparency:");
    SendDlgItemMessageW(page, IDC_DESKTOP_OPACITY, TBM_SETPOS, TRUE, 239);
    SendMessageW(page, WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_DESKTOP_OPACITY)));
    EXPECT_EQ(g_preview.alpha, 16);
    EXPECT_FALSE(Changes().empty());
    Click(page, IDC_DESKTOP_OPAQUE);
    SendDlgItemMessageW(page, IDC_DESKTOP_SKIN, CB_SETCURSEL, 2, 0);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_DESKTOP_SKIN, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_DESKTOP_SKIN)));
    EXPECT_EQ(g_recreated, 2);
    EXPECT_STREQ(g_preview.skin, L"Digi");
    Store(page, record);
    EXPECT_EQ(record.alpha, 16);
    EXPECT_STREQ(record.skin, L"Digi");
    EXPECT_EQ(record.transparent, 0);
}

TEST_F(SkinPageTest, TimersSeeNoAnalogueSkinsAndKeepAnUnlistedOne) {
    HWND page = Create(kDesktopPageResource, DesktopPageDlgProc);
    ClockRecord record = MakeRecord(kClockTimer);
    CopyBounded(record.skin, L"Gone");
    record.alpha = 5;
    Load(page, record);
    HWND skins = GetDlgItem(page, IDC_DESKTOP_SKIN);
    EXPECT_EQ(ComboItems(skins),
              (std::vector<std::wstring>{L"Standard System Clock", L"Classic Tempovia Style", L"Digi", L"Gone"}));
    EXPECT_EQ(SendMessageW(skins, CB_GETCURSEL, 0, 0), 3);
    Store(page, record);
    EXPECT_STREQ(record.skin, L"Gone");
    EXPECT_EQ(record.alpha, 16) << "the track bar's floor";
}

TEST_F(SkinPageTest, TheShippedClocksLookIsShownAndCanBeChosenAgain) {
    HWND page = Create(kDesktopPageResource, DesktopPageDlgProc);
    ClockRecord record = MakeRecord(0);
    CopyBounded(record.skin, L"Classic Tempovia Style");
    Load(page, record);
    HWND skins = GetDlgItem(page, IDC_DESKTOP_SKIN);
    wchar_t shown[80] = {};
    GetWindowTextW(skins, shown, 80);
    EXPECT_STREQ(shown, L"Classic Tempovia Style");
    for (const wchar_t* pick : {L"Digi", L"Classic Tempovia Style"}) {
        SendMessageW(skins, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pick));
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_DESKTOP_SKIN, CBN_SELCHANGE), reinterpret_cast<LPARAM>(skins));
        EXPECT_STREQ(g_preview.skin, pick);
    }
}

}  // namespace
}  // namespace clockpages_test
