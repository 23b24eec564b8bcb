// Combo boxes of times of day, their drop-down height and message boxes from
// string ids, driven through real controls and a CBT hook that reads and
// closes the message box.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "common/platform/dialog_utils.h"
#include "common/platform/locale_text.h"
#include "common/settings/time_combo.h"
#include "common/settings/time_format.h"
#include "tests/support/user_locale.h"
#include "tests/util/message_box_watch.h"

namespace {

class TimeCombo : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = CurrentLocaleTimeFormat();
        LocaleTimeFormat f{};
        f.separator[0] = L':';
        f.is24Hour = true;
        SetLocaleTimeFormat(f);
        combo_ = CreateWindowExW(0, L"COMBOBOX", L"", WS_POPUP | CBS_DROPDOWN | WS_VSCROLL, 0, 0, 120, 24,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(combo_, nullptr);
    }
    void TearDown() override {
        DestroyWindow(combo_);
        SetLocaleTimeFormat(saved_);
    }
    std::wstring Text(int i) {
        wchar_t buf[64] = {};
        SendMessageW(combo_, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buf));
        return buf;
    }
    LRESULT Data(int i) { return SendMessageW(combo_, CB_GETITEMDATA, i, 0); }
    LRESULT Count() { return SendMessageW(combo_, CB_GETCOUNT, 0, 0); }
    int Height() {
        RECT r;
        GetWindowRect(combo_, &r);
        return r.bottom - r.top;
    }
    // Records the height asked of the combo box until EndWatch (it keeps its
    // closed height itself and gives the rest to its list): g_sized, -1 when
    // it was not resized. Only the first request counts: the box then cuts itself back.
    void StartWatch() {
        g_sized = -1;
        g_sizeFlags = 0;
        WNDPROC old = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(combo_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordSize)));
        g_comboProc = old;
    }
    void EndWatch() { SetWindowLongPtrW(combo_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_comboProc)); }

    static LRESULT CALLBACK RecordSize(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        if (m == WM_WINDOWPOSCHANGING) {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(lp);
            if (!(pos->flags & SWP_NOSIZE) && g_sized == -1) {
                g_sized = pos->cy;
                g_sizeFlags = pos->flags;
            }
        }
        return CallWindowProcW(g_comboProc, w, m, wp, lp);
    }
    static inline WNDPROC g_comboProc = nullptr;
    static inline int g_sized = -1;
    static inline UINT g_sizeFlags = 0;

    HWND combo_ = nullptr;
    LocaleTimeFormat saved_{};
};

TEST_F(TimeCombo, HalfHoursGiveFortyEightTimesEndingAt2330) {
    SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"old entry"));
    EXPECT_EQ(FillTimeCombo(combo_, 30, false), 48);
    ASSERT_EQ(Count(), 48);
    EXPECT_EQ(Text(0), L"00:00");
    EXPECT_EQ(Data(0), 0);
    EXPECT_EQ(Text(1), L"00:30");
    EXPECT_EQ(Data(1), 30);
    EXPECT_EQ(Text(47), L"23:30");
    EXPECT_EQ(Data(47), 1410);
}

TEST_F(TimeCombo, AWholeDayStepGivesMidnightOnlyAndNoStepGivesNothing) {
    EXPECT_EQ(FillTimeCombo(combo_, 1440, false), 1);
    ASSERT_EQ(Count(), 1);
    EXPECT_EQ(Text(0), L"00:00");
    EXPECT_EQ(FillTimeCombo(combo_, 0, false), 0);
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(FillTimeCombo(combo_, -15, false), 0);
    EXPECT_EQ(FillTimeCombo(combo_, 7, false), 206);
    EXPECT_EQ(Data(205), 1435);
}

TEST_F(TimeCombo, LimitedHeightShowsTwelveItems) {
    int closed = Height();
    int item = static_cast<int>(SendMessageW(combo_, CB_GETITEMHEIGHT, 0, 0));
    ASSERT_GT(item, 0);
    StartWatch();
    FillTimeCombo(combo_, 30, true);
    EndWatch();
    EXPECT_EQ(g_sized, closed + 12 * item + 2);
    EXPECT_EQ(g_sizeFlags & (SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE),
              static_cast<UINT>(SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE));
    StartWatch();
    FillTimeCombo(combo_, 30, false);
    EndWatch();
    EXPECT_EQ(g_sized, -1);
}

TEST_F(TimeCombo, DropHeightCountsOnlyTheItemsThereAre) {
    int closed = Height();
    int item = static_cast<int>(SendMessageW(combo_, CB_GETITEMHEIGHT, 0, 0));
    StartWatch();
    SetComboDropHeight(combo_, 0);
    EXPECT_EQ(g_sized, -1);
    SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"a"));
    SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"b"));
    SetComboDropHeight(combo_, 12);
    EndWatch();
    EXPECT_EQ(g_sized, closed + 2 * item + 2);
}

TEST(MessageById, StringsMissingFromTheModuleGiveAnEmptyBox) {
    MessageBoxWatch watch;
    EXPECT_EQ(ShowMessageById(nullptr, GetModuleHandleW(nullptr), 140, 141), IDOK);
    EXPECT_EQ(watch.boxes(), 1);
    EXPECT_EQ(watch.caption(), L"");
    EXPECT_EQ(watch.text(), L"");
}

TEST(LocaleText, EmptiesTheBufferAndReportsTheLocaleResult) {
    wchar_t buf[32];
    int n = GetLocaleText(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), LOCALE_SABBREVLANGNAME, buf, 32);
    EXPECT_EQ(n, 4);
    EXPECT_STREQ(buf, L"ENU");
    wcscpy(buf, L"stale");
    EXPECT_EQ(GetLocaleText(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), LOCALE_SENGLANGUAGE, buf, 3), 0);
    EXPECT_STREQ(buf, L"");
    wcscpy(buf, L"stale");
    EXPECT_EQ(GetLocaleText(0x7FF, LOCALE_SABBREVLANGNAME, buf, 32), 0);
    EXPECT_STREQ(buf, L"");
}

}  // namespace

// A program's first time list is written in the user's locale and a time
// typed that way is read back. The list is filled in a process of its own:
// nothing has read the locale there before.
TEST(TimeComboLocale, AFreshProgramFillsTheListInTheUsersLocale) {
    testing_support::TwelveHourLocale twelve;
    ASSERT_TRUE(twelve.ok());
    if (!testing_support::InFreshProcess()) {
        EXPECT_EQ(testing_support::RunInFreshProcess("TimeComboLocale.*"), 0);
        return;
    }
    HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_POPUP | CBS_DROPDOWN | WS_VSCROLL, 0, 0, 120, 24, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(FillTimeCombo(combo, 60, false), 24);
    wchar_t text[64] = {};
    SendMessageW(combo, CB_GETLBTEXT, 17, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::wstring(text), L"05" + twelve.separator() + L"00 " + twelve.pm());
    EXPECT_EQ(ParseTimeText((L"5" + twelve.separator() + L"00 " + twelve.pm()).c_str()), 17 * 3600);
    DestroyWindow(combo);
}
