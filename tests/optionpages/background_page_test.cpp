// The background profile page: a clock's daily range and weekdays, a
// countdown's range in days to seconds, the opacity scale, the colour, and
// the controls named for bad values.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "common/settings/background_text.h"
#include "resources/resource_ids.h"
#include "settings/page_background.h"
#include "tests/optionpages/page_fixture.h"

using optionpages_test::PageTest;

namespace {

COLORREF g_offered = 0;
int g_previews = 0;

bool PickRed(HWND, COLORREF& colour) {
    g_offered = colour;
    colour = RGB(255, 0, 0);
    return true;
}
void CountPreview(const ClockRecord*, const BackgroundProfile*) { ++g_previews; }

class BackgroundPage : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        g_previews = 0;
        ProfilePageHooks hooks;
        hooks.chooseColour = PickRed;
        hooks.setPreview = CountPreview;
        oldHooks_ = SetProfilePageHooks(hooks);
        InitBackgroundProfile(profile_);
    }
    void TearDown() override {
        SetProfilePageHooks(oldHooks_);
        PageTest::TearDown();
    }
    void Click(HWND page, int id) {
        HWND box = GetDlgItem(page, id);
        SendMessageW(box, BM_CLICK, 0, 0);
    }
    void SetPosition(HWND page, int position) {
        SendDlgItemMessageW(page, kIdcOpacity, TBM_SETPOS, TRUE, position);
    }

    ProfilePageHooks oldHooks_;
    BackgroundProfile profile_ = {};
};

TEST_F(BackgroundPage, AClockRangeOnWorkingDaysStoresMinutesAndMask) {
    HWND page = CreatePage(IDD_PAGE_BKG, BackgroundPageDlgProc);
    ASSERT_NE(page, nullptr);
    // Every half hour, and midnight again as the end of the day.
    EXPECT_EQ(SendDlgItemMessageW(page, kIdcFromTime, CB_GETCOUNT, 0, 0), 49);
    Exchange(page, 0, &profile_);
    EXPECT_EQ(Text(page, kIdcFromTime), L"09:00");
    EXPECT_EQ(g_previews, 1);

    SetDlgItemTextW(page, kIdcFromTime, L"08:30");
    SetDlgItemTextW(page, kIdcToTime, L"17:00");
    for (int d = 0; d < 7; ++d) CheckDlgButton(page, kIdcWeekdays[d], d >= 1 && d <= 5 ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextW(page, kIdcProfileName, L"Office");
    EXPECT_EQ(Exchange(page, 1, &profile_), nullptr);
    EXPECT_EQ(profile_.fromMinute, 510);
    EXPECT_EQ(profile_.toMinute, 1020);
    EXPECT_EQ(profile_.weekdayMask, 62u);
    EXPECT_EQ(std::wstring(profile_.name), L"Office");
    EXPECT_EQ(Text(page, kIdcProfileNameMirror), L"Office");
    const std::vector<WPARAM> changes = Changes();
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back(), kChangedTitle);
}

// The dialog hides a page before the node it showed may be deleted: the
// page must not read that record again when the time format changes.
TEST_F(BackgroundPage, AHiddenPageLetsGoOfItsProfile) {
    HWND page = CreatePage(IDD_PAGE_BKG, BackgroundPageDlgProc);
    ASSERT_NE(page, nullptr);
    Exchange(page, 0, &profile_);
    ShowWindow(page, SW_SHOW);
    ShowWindow(page, SW_HIDE);
    profile_.fromMinute = 7 * 60 + 15;  // the memory now holds something else
    SendMessageW(page, WM_WININICHANGE, 0, 0);
    EXPECT_EQ(Text(page, kIdcFromTime).find(L"7:15"), std::wstring::npos) << "read a record it no longer has";
    Exchange(page, 0, &profile_);
    EXPECT_NE(Text(page, kIdcFromTime).find(L"7:15"), std::wstring::npos);
}

TEST_F(BackgroundPage, TimesWithSecondsOrGarbageAreNamedAndTheRestStored) {
    HWND page = CreatePage(IDD_PAGE_BKG, BackgroundPageDlgProc);
    Exchange(page, 0, &profile_);
    SetDlgItemTextW(page, kIdcFromTime, L"08:30:15");
    SetDlgItemTextW(page, kIdcToTime, L"17:00");
    EXPECT_EQ(Exchange(page, 1, &profile_), GetDlgItem(page, kIdcFromTime));
    EXPECT_EQ(profile_.fromMinute, 540);
    EXPECT_EQ(profile_.toMinute, 1020);
    // Both bad: the last one found is named.
    SetDlgItemTextW(page, kIdcToTime, L"noon");
    EXPECT_EQ(Exchange(page, 1, &profile_), GetDlgItem(page, kIdcToTime));
}

TEST_F(BackgroundPage, TheLastWeekdayCannotBeUnchecked) {
    HWND page = CreatePage(IDD_PAGE_BKG, BackgroundPageDlgProc);
    profile_.weekdayMask = 1u << 3;
    Exchange(page, 0, &profile_);
    Click(page, kIdcWeekdays[3]);
    EXPECT_EQ(IsDlgButtonChecked(page, kIdcWeekdays[3]), BST_CHECKED);
    EXPECT_TRUE(Changes().empty());
    Click(page, kIdcWeekdays[4]);
    Click(page, kIdcWeekdays[3]);
    EXPECT_EQ(IsDlgButtonChecked(page, kIdcWeekdays[3]), BST_UNCHECKED);
    EXPECT_EQ(Changes(), (std::vector<WPARAM>{0, 0}));
}

TEST_F(BackgroundPage, OpacityScaleAndColour) {
    HWND page = CreatePage(IDD_PAGE_BKG, BackgroundPageDlgProc);
    profile_.opacity = 255;
    profile_.colour = RGB(1, 2, 3);
    Exchange(page, 0, &profile_);
    EXPECT_EQ(SendDlgItemMessageW(page, kIdcOpacity, TBM_GETPOS, 0, 0), 127);
    SetPosition(page, 126);
    Exchange(page, 1, &profile_);
    EXPECT_EQ(profile_.opacity, 252u);
    SetPosition(page, 127);
    Exchange(page, 1, &profile_);
    EXPECT_EQ(profile_.opacity, 255u);
    EXPECT_EQ(OpacityToPosition(0), 0);
    EXPECT_EQ(PositionToOpacity(0), 0u);

    SendMessageW(page, WM_COMMAND, MAKEWPARAM(kIdcColour, BN_CLICKED), 0);
    EXPECT_EQ(g_offered, RGB(1, 2, 3));
    EXPECT_EQ(profile_.colour, RGB(255, 0, 0));
    EXPECT_EQ(Changes(), std::vector<WPARAM>{kChangedPreview});
}

TEST_F(BackgroundPage, ACountdownRangeInDaysToSeconds) {
    clock_.kind = kClockTimer | kClockCountdown;
    HWND page = CreatePage(IDD_PAGE_BKG_DOWN, BackgroundPageDlgProc);
    ASSERT_NE(page, nullptr);
    profile_.from = 90061ull * 10000000ull;  // 1 day 1 hour 1 minute 1 second
    profile_.to = 0;
    Exchange(page, 0, &profile_);
    EXPECT_EQ(Text(page, kIdcFromFields[0]), L"1");
    EXPECT_EQ(Text(page, kIdcFromFields[1]), L"1");
    EXPECT_EQ(Text(page, kIdcFromFields[2]), L"1");
    EXPECT_EQ(Text(page, kIdcFromFields[3]), L"1");

    const wchar_t* from[4] = {L"1", L"0", L"0", L"0"};
    const wchar_t* to[4] = {L"1", L"2", L"0", L"0"};
    for (int i = 0; i < 4; ++i) {
        SetDlgItemTextW(page, kIdcFromFields[i], from[i]);
        SetDlgItemTextW(page, kIdcToFields[i], to[i]);
    }
    EXPECT_EQ(Exchange(page, 1, &profile_), nullptr);
    EXPECT_EQ(profile_.from, 864000000000ull);
    EXPECT_EQ(profile_.to, 936000000000ull);
    EXPECT_EQ(BackgroundPageSection(&clock_), std::wstring(L"DLG_PageBkg_Down"));
}

TEST_F(BackgroundPage, BadDurationFieldsAreNamedAndNeitherValueChanges) {
    clock_.kind = kClockTimer;
    HWND page = CreatePage(IDD_PAGE_BKG_UP, BackgroundPageDlgProc);
    profile_.from = 10;
    profile_.to = 20;
    Exchange(page, 0, &profile_);
    for (int i = 0; i < 4; ++i) {
        SetDlgItemTextW(page, kIdcFromFields[i], L"0");
        SetDlgItemTextW(page, kIdcToFields[i], L"0");
    }
    SetWindowTextW(GetDlgItem(page, kIdcToFields[2]), L"x");
    EXPECT_EQ(Exchange(page, 1, &profile_), GetDlgItem(page, kIdcToFields[2]));
    SetWindowTextW(GetDlgItem(page, kIdcFromFields[0]), L"-1");
    EXPECT_EQ(Exchange(page, 1, &profile_), GetDlgItem(page, kIdcFromFields[0]));
    SendDlgItemMessageW(page, kIdcFromFields[0], EM_LIMITTEXT, 10, 0);
    SetWindowTextW(GetDlgItem(page, kIdcFromFields[0]), L"1000");
    EXPECT_EQ(Exchange(page, 1, &profile_), GetDlgItem(page, kIdcFromFields[0]));
    EXPECT_EQ(profile_.from, 10u);
    EXPECT_EQ(profile_.to, 20u);
    EXPECT_EQ(BackgroundPageSection(&clock_), std::wstring(L"DLG_PageBkg_Up"));
}

TEST_F(BackgroundPage, ASetDateRangeComesFromThePickers) {
    clock_.kind = kClockTimer | kClockCountdown | kClockSetDate;
    HWND page = CreatePage(IDD_PAGE_BKG_AT, BackgroundPageDlgProc);
    ASSERT_NE(page, nullptr);
    profile_.fromDate = SYSTEMTIME{2030, 5, 0, 4, 10, 20, 30, 0};
    profile_.toDate = SYSTEMTIME{2030, 5, 0, 5, 11, 0, 0, 0};
    Exchange(page, 0, &profile_);
    EXPECT_EQ(Exchange(page, 1, &profile_), nullptr);
    EXPECT_EQ(profile_.fromDate.wYear, 2030);
    EXPECT_EQ(profile_.fromDate.wDay, 4);
    EXPECT_EQ(profile_.fromDate.wHour, 10);
    EXPECT_EQ(profile_.fromDate.wMinute, 20);
    EXPECT_EQ(profile_.fromDate.wSecond, 30);
    EXPECT_EQ(profile_.fromDate.wMilliseconds, 0);
    EXPECT_EQ(profile_.toDate.wDay, 5);
    EXPECT_EQ(profile_.toDate.wHour, 11);
    EXPECT_EQ(BackgroundPageSection(&clock_), std::wstring(L"DLG_PageBkg_At"));
    EXPECT_EQ(BackgroundPageSection(nullptr), std::wstring(L"DLG_PageBkg"));
}

}  // namespace
