// The time synchronisation page over a real tempovia.ini: loading and storing
// the server list, the status lines from the service's results, the control
// codes sent to the service, and the watcher thread on a private event.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/platform/lent_pointer.h"
#include "common/records/protocol.h"
#include "common/platform/sync_service_notify.h"
#include "settings/page_sync.h"
#include "settings/page_sync_options.h"
#include "settings/sync_watcher.h"
#include "common/settings/localisation.h"
#include "tests/syncpages/page_fixture.h"

namespace syncpages_test {
namespace {

constexpr wchar_t kPrivateEvent[] = L"Local\\TempoviaSyncPagesTestEvent";

class SyncPageTest : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        SetSyncEventName(kPrivateEvent);
        event_ = CreateEventW(nullptr, FALSE, FALSE, kPrivateEvent);
        ASSERT_NE(event_, nullptr);
    }
    void TearDown() override {
        if (page_) DestroyWindow(page_);
        WaitForWatchers();
        CloseHandle(event_);
        SetSyncEventName(nullptr);
        PageTest::TearDown();
    }
    // As the main dialog does: the options are read when it opens, the page
    // only shows them.
    void Open() {
        LoadProgramSyncOptions();
        page_ = CreatePage(kSyncPageResource, SyncPageProc);
        ASSERT_NE(page_, nullptr);
    }
    // The watchers end within one slice of their page's end.
    static bool WaitForWatchers() {
        const DWORD start = GetTickCount();
        while (RunningSyncWatchers() > 0 && GetTickCount() - start < 2000) Pump(20);
        return RunningSyncWatchers() == 0;
    }
    void Store() {
        PageExchangeBlock block{nullptr, nullptr};
        SendWithPointer(page_, WM_PAGE_EXCHANGE, 1, &block);
        EXPECT_EQ(block.failedControl, nullptr);
    }
    HWND Item(int id) const { return GetDlgItem(page_, id); }
    int ComboCount() const { return static_cast<int>(SendMessageW(Item(kTimeServerCombo), CB_GETCOUNT, 0, 0)); }

    HANDLE event_ = nullptr;
    HWND page_ = nullptr;
};

TEST_F(SyncPageTest, LoadsServersUpToTheFirstGapAndSelectsTheCurrentOne) {
    WriteIni("[common]\r\nautosync=1\r\nsynctype=2\r\nserver=2\r\nserver1=a.example\r\nserver2=b.example\r\n"
             "server3=\r\nserver4=d.example\r\n");
    Open();
    EXPECT_EQ(IsDlgButtonChecked(page_, kAutoSyncCheck), BST_CHECKED);
    EXPECT_TRUE(IsWindowEnabled(Item(kSyncTypeList)));
    EXPECT_EQ(SendMessageW(Item(kSyncTypeList), CB_GETCOUNT, 0, 0), 5);
    EXPECT_EQ(SendMessageW(Item(kSyncTypeList), CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(ComboCount(), 2);
    EXPECT_EQ(TextOf(Item(kTimeServerCombo)), L"b.example");
    EXPECT_EQ(ProgramSyncOptions().nextFree, 3);

    // Automatic sync off: the sync type cannot be chosen.
    CheckDlgButton(page_, kAutoSyncCheck, BST_UNCHECKED);
    SendMessageW(page_, WM_COMMAND, MAKEWPARAM(kAutoSyncCheck, BN_CLICKED), reinterpret_cast<LPARAM>(Item(kAutoSyncCheck)));
    EXPECT_FALSE(IsWindowEnabled(Item(kSyncTypeList)));
}

TEST_F(SyncPageTest, TypedServerIsAddedOnceWrittenAtOnceAndSavedWithItsNumber) {
    WriteIni("[common]\r\nautosync=0\r\nserver=1\r\nserver1=a.example\r\n");
    Open();
    SetWindowTextW(Item(kTimeServerCombo), L"new.example");
    Store();
    EXPECT_EQ(ProgramSyncOptions().current, -2);
    EXPECT_EQ(Read(L"common", L"server2"), L"new.example");
    EXPECT_EQ(ComboCount(), 2);
    // The second store finds it in the list.
    Store();
    EXPECT_EQ(ProgramSyncOptions().current, 2);
    EXPECT_EQ(ComboCount(), 2);
    EXPECT_EQ(ProgramSyncOptions().nextFree, 3);

    SetWindowTextW(Item(kTimeServerCombo), L"third.example");
    Store();
    ASSERT_TRUE(WriteSyncOptions(ProgramSyncOptions()));
    EXPECT_EQ(Read(L"common", L"server"), L"3");
    EXPECT_EQ(Read(L"common", L"server3"), L"third.example");
    EXPECT_EQ(Read(L"common", L"autosync"), L"0");
    EXPECT_EQ(system_.controls, (std::vector<DWORD>{SYNC_CONTROL_RELOAD}));
}

TEST_F(SyncPageTest, EmptyServerTextSelectsTheCurrentServerAgain) {
    WriteIni("[common]\r\nautosync=0\r\nserver=1\r\nserver1=a.example\r\nserver2=b.example\r\n");
    Open();
    SetWindowTextW(Item(kTimeServerCombo), L"");
    Store();
    EXPECT_EQ(ProgramSyncOptions().current, 1);
    EXPECT_EQ(TextOf(Item(kTimeServerCombo)), L"a.example");
}

TEST_F(SyncPageTest, SyncNowWritesTheGroupThenAsksForReloadAndSync) {
    WriteIni("[common]\r\nautosync=1\r\nsynctype=0\r\nserver=1\r\nserver1=a.example\r\n");
    Open();
    SendMessageW(Item(kSyncTypeList), CB_SETCURSEL, 4, 0);
    SendMessageW(page_, WM_COMMAND, MAKEWPARAM(kSyncNowButton, BN_CLICKED), reinterpret_cast<LPARAM>(Item(kSyncNowButton)));
    EXPECT_EQ(system_.controls, (std::vector<DWORD>{SYNC_CONTROL_RELOAD, SYNC_CONTROL_SYNC_NOW}));
    EXPECT_EQ(Read(L"common", L"synctype"), L"4");
    EXPECT_EQ(Read(L"common", L"autosync"), L"1");
    EXPECT_EQ(Read(L"common", L"server"), L"1");
}

std::wstring g_errorText;
int RecordError(HWND, const wchar_t* text, const wchar_t*) {
    g_errorText = text;
    return IDOK;
}

TEST_F(SyncPageTest, UnreachableServiceIsReportedAndTheSettingsAreWrittenAllTheSame) {
    WriteIni("[common]\r\nautosync=0\r\nserver=0\r\n");
    Open();
    system_.serviceMissing = true;
    g_errorText.clear();
    SyncErrorBox old = SetSyncErrorBox(RecordError);
    SetWindowTextW(Item(kTimeServerCombo), L"typed.example");
    SendMessageW(page_, WM_COMMAND, MAKEWPARAM(kSyncNowButton, BN_CLICKED), reinterpret_cast<LPARAM>(Item(kSyncNowButton)));
    SetSyncErrorBox(old);
    EXPECT_EQ(g_errorText, Language().LoadUiString(249));
    EXPECT_EQ(Read(L"common", L"server1"), L"typed.example");
    EXPECT_EQ(Read(L"common", L"server"), L"1");
    EXPECT_TRUE(system_.controls.empty());
}

TEST_F(SyncPageTest, StatusLinesFollowTheServiceResults) {
    WriteIni("[common]\r\nserver=0\r\n");
    Open();
    const std::wstring label = Language().LoadUiString(126) + L"<br>";
    EXPECT_EQ(TextOf(Item(kSyncResultControl)), label);
    EXPECT_EQ(SyncTimeText(), Language().LoadUiString(127) + L" " + Language().LoadUiString(142));

    WritePrivateProfileStringW(L"common", L"synclastresult", L"0", Ini().c_str());
    WritePrivateProfileStringW(L"common", L"synclasttime", L"20260304050607", Ini().c_str());
    EXPECT_EQ(SyncResultText(), label + Language().LoadUiString(136));
    const std::wstring time = SyncTimeText();
    EXPECT_NE(time.find(L"2026"), std::wstring::npos) << std::string(time.begin(), time.end());
    EXPECT_NE(time.find(L" " + Language().LoadUiString(143) + L" "), std::wstring::npos);

    WritePrivateProfileStringW(L"common", L"synclastresult", L"135", Ini().c_str());
    EXPECT_EQ(SyncResultText(), label + Language().LoadUiString(135));
    for (const wchar_t* bad : {L"2026030405060", L"202603040506070", L"2026130405x607", L"20261304050607"}) {
        WritePrivateProfileStringW(L"common", L"synclasttime", bad, Ini().c_str());
        EXPECT_EQ(SyncTimeText(), Language().LoadUiString(127) + L" " + Language().LoadUiString(142)) << bad;
    }
}

TEST_F(SyncPageTest, WatcherShowsTheNewResultWhenTheEventIsSetAndEndsWithThePage) {
    WriteIni("[common]\r\nserver=0\r\n");
    Open();
    Pump(100);
    EXPECT_EQ(RunningSyncWatchers(), 1);
    WritePrivateProfileStringW(L"common", L"synclastresult", L"131", Ini().c_str());
    SetEvent(event_);
    const std::wstring expected = Language().LoadUiString(126) + L"<br>" + Language().LoadUiString(131);
    const DWORD start = GetTickCount();
    while (TextOf(Item(kSyncResultControl)) != expected && GetTickCount() - start < 3000) Pump(20);
    EXPECT_EQ(TextOf(Item(kSyncResultControl)), expected);
    EXPECT_TRUE(IsWindowEnabled(Item(kSyncNowButton)));

    const DWORD closed = GetTickCount();
    DestroyWindow(page_);
    page_ = nullptr;
    EXPECT_TRUE(WaitForWatchers());
    EXPECT_LT(GetTickCount() - closed, 1000u);
}

TEST_F(SyncPageTest, MissingEventDisablesSyncNowAndSaysSo) {
    SetSyncEventName(L"Local\\TempoviaSyncPagesNoSuchEvent");
    Open();
    const DWORD start = GetTickCount();
    while (IsWindowEnabled(Item(kSyncNowButton)) && GetTickCount() - start < 3000) Pump(20);
    EXPECT_FALSE(IsWindowEnabled(Item(kSyncNowButton)));
    EXPECT_EQ(TextOf(Item(kSyncResultControl)), Language().LoadUiString(249));
    EXPECT_TRUE(WaitForWatchers());
}

}  // namespace
}  // namespace syncpages_test
