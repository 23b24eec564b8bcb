// The main settings dialog from res_en.dll, driven by its messages: its
// controls and group pages, page switching and the page protocol, page codes,
// the clock record question and the language change.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "common/platform/lent_pointer.h"
#include "common/settings/localisation.h"
#include "common/records/protocol.h"
#include "common/settings/ini_paths.h"
#include "common/settings/resource_module.h"
#include "common/settings/settings_export.h"
#include "settings/main_dialog.h"
#include "settings/main_dialog_state.h"
#include "settings/page_ini.h"
#include "settings/page_ini_import.h"
#include "settings/page_options_common.h"
#include "settings/settings_app.h"
#include "tests/settingsdlg/dialog_fixture.h"

namespace settingsdlg_test {
namespace {

using MainDialog = DialogTest;

std::wstring Text(HWND window) {
    wchar_t buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return buffer;
}

TEST_F(MainDialog, TheTreeTakesTheFocusWhenTheDialogShowsAndNotBefore) {
    ASSERT_NE(Open(true, false), nullptr);
    // Activating the hidden dialog would only hold back its showing.
    EXPECT_NE(GetActiveWindow(), dialog_);
    ShowWindow(dialog_, SW_SHOWNORMAL);
    Pump();
    EXPECT_EQ(GetActiveWindow(), dialog_);
    EXPECT_EQ(GetFocus(), tree_);
}

TEST_F(MainDialog, TheLibraryDialogHasItsControlsAndOnlyThePagesThatExist) {
    g_settingsApp.command.page = SETTINGS_PAGE_ALARM;
    g_settingsApp.command.clock = 2;
    g_settingsApp.command.item = 3;
    ASSERT_NE(Open(false), nullptr);
    ASSERT_NE(tree_, nullptr);
    const LONG style = GetWindowLongW(tree_, GWL_STYLE);
    EXPECT_EQ(style & (TVS_CHECKBOXES | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS),
              TVS_CHECKBOXES | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS);
    // The placeholder only gave the pages their place.
    EXPECT_EQ(GetDlgItem(dialog_, IDC_PAGE_AREA), nullptr);
    for (int id : {IDOK, IDCANCEL, IDC_APPLY, IDC_ADD_NODE, IDC_DELETE_NODE, IDC_MOVE_UP, IDC_MOVE_DOWN}) {
        EXPECT_NE(GetDlgItem(dialog_, id), nullptr) << id;
    }
    // Without a tree nothing can be changed, and nothing is to be applied.
    EXPECT_EQ(TreeView_GetCount(tree_), 0u);
    for (int id : {IDC_APPLY, IDC_ADD_NODE, IDC_DELETE_NODE, IDC_MOVE_UP, IDC_MOVE_DOWN}) {
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog_, id))) << id;
    }
    // A page is made when it is first needed, not with the dialog.
    EXPECT_EQ(Page(kAlarmsGroupPage), nullptr);
    // The two group pages are the dialog's own; the others come from their
    // modules, none of which is installed here.
    for (int i = 0; i < kPageCount; ++i) {
        EnsurePageWindow(i);
        if (i == kAlarmsGroupPage || i == kBackgroundsGroupPage) {
            ASSERT_NE(Page(i), nullptr) << i;
            EXPECT_EQ(GetParent(Page(i)), dialog_);
            EXPECT_FALSE(IsWindowVisible(Page(i)));
            EXPECT_NE(GetDlgItem(Page(i), IDC_GROUP_TEXT), nullptr);
        } else {
            EXPECT_EQ(Page(i), nullptr) << i;
        }
    }
    // The start-up page goes to the frame, which hands it back as a page code.
    ASSERT_EQ(OwnerMessages().size(), 1u);
    EXPECT_EQ(OwnerMessages()[0].first, SETTINGS_MSG_OPEN_PAGE);
    EXPECT_EQ(OwnerMessages()[0].second, (static_cast<LPARAM>(SETTINGS_PAGE_ALARM) << 32) | (3 << 16) | 2);

    // Only the first dialog of the process does that.
    DestroyWindow(dialog_);
    OwnerMessages().clear();
    ASSERT_NE(Open(false), nullptr);
    EXPECT_TRUE(OwnerMessages().empty());
}

TEST_F(MainDialog, OneDialogAtATime) {
    ASSERT_NE(Open(false), nullptr);
    EXPECT_EQ(CreateMainSettingsDialog(owner_, nullptr), nullptr);
    EXPECT_EQ(CreateMainSettingsDialog(owner_, GetModuleHandleW(nullptr)), nullptr);
}

class Switching : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        general_ = tree_model_.AddOption(kNodeGeneral, L"general");
        sync_ = tree_model_.AddOption(kNodeTime, L"sync");
        clock1_ = tree_model_.AddClock(1, true, 1);
        clock2_ = tree_model_.AddClock(2, true, 0);
    }
    FakeTree tree_model_;
    FakeNode* general_ = nullptr;
    FakeNode* sync_ = nullptr;
    FakeNode* clock1_ = nullptr;
    FakeNode* clock2_ = nullptr;
};

TEST_F(Switching, EachNodeShowsItsPageLoadedFromItsRecordAndStoresItBackWhenLeft) {
    ASSERT_NE(Open(), nullptr);
    // The first root is selected and its page shown.
    EXPECT_EQ(Selected(), general_);
    EXPECT_TRUE(IsWindowVisible(Page(0)));
    ASSERT_FALSE(Exchanges().empty());
    EXPECT_EQ(Exchanges().back().page, 0);
    EXPECT_EQ(Exchanges().back().direction, 0u);
    EXPECT_EQ(Exchanges().back().record, nullptr);

    Exchanges().clear();
    Select(clock1_);
    // The page that is left is stored (when the selection is about to change
    // and again once it did), then the new one loaded.
    ASSERT_GE(Exchanges().size(), 2u);
    for (size_t i = 0; i + 1 < Exchanges().size(); ++i) {
        EXPECT_EQ(Exchanges()[i].page, 0);
        EXPECT_EQ(Exchanges()[i].direction, 1u);
    }
    EXPECT_EQ(Exchanges().back().page, 5);
    EXPECT_EQ(Exchanges().back().direction, 0u);
    EXPECT_EQ(Exchanges().back().record, &clock1_->clock);
    EXPECT_FALSE(IsWindowVisible(Page(0)));
    EXPECT_TRUE(IsWindowVisible(Page(5)));
    for (int i = 0; i < kPageCount; ++i) {
        if (i != 5) {
            EXPECT_FALSE(IsWindowVisible(Page(i))) << i;
        }
    }

    // Another clock: the same page is stored for the first and reloaded for
    // the second without being hidden.
    Exchanges().clear();
    Hides(5) = 0;
    Select(clock2_);
    ASSERT_GE(Exchanges().size(), 2u);
    EXPECT_EQ(Exchanges()[0].record, &clock1_->clock);
    EXPECT_EQ(Exchanges()[0].direction, 1u);
    EXPECT_EQ(Exchanges().back().record, &clock2_->clock);
    EXPECT_EQ(Exchanges().back().direction, 0u);
    EXPECT_EQ(Hides(5), 0);
    EXPECT_TRUE(IsWindowVisible(Page(5)));

    // An alarm edits its own record.
    Exchanges().clear();
    FakeNode* alarm = tree_model_.Group(clock1_, kNodeAlarms)->children[0];
    Select(alarm);
    EXPECT_TRUE(IsWindowVisible(Page(9)));
    EXPECT_EQ(Exchanges().back().record, &alarm->alarm);
    // A page's edit makes the dialog store the page and enable Apply.
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog_, IDC_APPLY)));
    Exchanges().clear();
    PostMessageW(dialog_, WM_PAGE_CHANGED, 1, 0);
    Pump();
    ASSERT_EQ(Exchanges().size(), 1u);
    EXPECT_EQ(Exchanges()[0].direction, 1u);
    EXPECT_EQ(Exchanges()[0].record, &alarm->alarm);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog_, IDC_APPLY)));
}

TEST_F(Switching, APageWithABadValueKeepsTheSelectionAndGetsTheFocusWithABeep) {
    ASSERT_NE(Open(), nullptr);
    Select(clock1_);
    SetBadPage(5);
    Select(sync_);
    EXPECT_EQ(Selected(), clock1_);
    EXPECT_TRUE(IsWindowVisible(Page(5)));
    HWND control = GetDlgItem(Page(5), kPageTable[5].firstControl);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(GetFocus(), control);
    ASSERT_FALSE(beeps_.beeps.empty());
    EXPECT_EQ(beeps_.beeps.back().hz, 1760u);
    EXPECT_EQ(beeps_.beeps.back().ms, 125u);

    // OK refuses as well, and nothing reaches the main program.
    MainProgramStandIn main;
    ASSERT_TRUE(main.ok());
    beeps_.beeps.clear();
    SendMessageW(dialog_, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(IsWindow(dialog_));
    EXPECT_EQ(beeps_.beeps.size(), 1u);
    Pump();
    EXPECT_TRUE(MainEvents().empty());

    // Once the value is good the change goes through.
    SetBadPage(-1);
    Select(sync_);
    EXPECT_EQ(Selected(), sync_);
    EXPECT_TRUE(IsWindowVisible(Page(2)));
}

TEST_F(Switching, FlaggingAControlThatIsNotThereDoesNothing) {
    EXPECT_FALSE(FlagInvalidControl(nullptr));
    EXPECT_TRUE(beeps_.beeps.empty());
    ASSERT_NE(Open(), nullptr);
    // A hidden control counts, but neither beeps nor takes the focus.
    HWND hidden = GetDlgItem(EnsurePageWindow(5), kPageTable[5].firstControl);
    EXPECT_TRUE(FlagInvalidControl(hidden));
    EXPECT_TRUE(beeps_.beeps.empty());
    EXPECT_NE(GetFocus(), hidden);
}

TEST_F(Switching, PageCodesSelectTheNodeTheyName) {
    ASSERT_NE(Open(), nullptr);
    FakeNode* alarms = tree_model_.Group(clock1_, kNodeAlarms);
    auto code = [&](WPARAM c, int n, int m) {
        SendMessageW(dialog_, SETTINGS_MSG_SELECT_PAGE, c, (m << 16) | n);
        Pump();
        return Selected();
    };
    EXPECT_EQ(code(SETTINGS_PAGE_CLOCK, 2, 0), clock2_);
    EXPECT_EQ(code(SETTINGS_PAGE_SYNC, 0, 0), sync_);
    EXPECT_EQ(code(SETTINGS_PAGE_CLOCK_DESKTOP, 1, 0), tree_model_.Group(clock1_, kNodeDesktop));
    EXPECT_EQ(code(SETTINGS_PAGE_CLOCK_FORMATS, 1, 0), tree_model_.Group(clock1_, kNodeFormats));
    EXPECT_EQ(code(SETTINGS_PAGE_ALARM, 1, 0), alarms->children[0]);
    // M equal to the number of alarms: the clock; beyond it: the group.
    EXPECT_EQ(code(SETTINGS_PAGE_ALARM, 1, 1), clock1_);
    EXPECT_EQ(code(SETTINGS_PAGE_ALARM, 1, 5), alarms);
    EXPECT_EQ(code(SETTINGS_PAGE_PROFILES, 2, 0), tree_model_.Group(clock2_, kNodeBackgrounds));
    EXPECT_EQ(code(SETTINGS_PAGE_GENERAL, 0, 0), general_);
    // No taskbar node, no clock 7, an unknown code: the selection stays.
    EXPECT_EQ(code(SETTINGS_PAGE_TASKBAR, 0, 0), general_);
    EXPECT_EQ(code(SETTINGS_PAGE_CLOCK, 7, 0), general_);
    EXPECT_EQ(code(99, 1, 0), general_);
    EXPECT_TRUE(beeps_.beeps.empty());
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog_, IDC_APPLY)));

    // While a modal dialog of the program runs, a page code only beeps.
    EnableWindow(dialog_, FALSE);
    EXPECT_EQ(code(SETTINGS_PAGE_CLOCK, 2, 0), general_);
    ASSERT_EQ(beeps_.beeps.size(), 1u);
    EXPECT_EQ(beeps_.beeps[0].hz, 1000u);
    EXPECT_EQ(beeps_.beeps[0].ms, 100u);
    EnableWindow(dialog_, TRUE);
}

TEST_F(Switching, PageCodesAddAndDeleteClocksAndAddAlarms) {
    ASSERT_NE(Open(), nullptr);
    SendMessageW(dialog_, SETTINGS_MSG_SELECT_PAGE, SETTINGS_PAGE_NEW_COUNTDOWN, 2);
    Pump();
    ASSERT_EQ(tree_model_.top().size(), 5u);
    EXPECT_EQ(tree_model_.top()[3], Selected());
    EXPECT_EQ(tree_model_.top()[4], clock2_);
    EXPECT_EQ(MainEvents().front(), "create kind -1 type 12 defaults");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog_, IDC_APPLY)));

    // Deleting clock 2 asks nothing.
    MainDialogHooks hooks = DialogHooks();
    hooks.askDelete = [](HWND, const wchar_t*, const wchar_t*) -> int {
        ADD_FAILURE() << "asked";
        return IDNO;
    };
    SetDialogHooks(hooks);
    SendMessageW(dialog_, SETTINGS_MSG_SELECT_PAGE, SETTINGS_PAGE_DELETE_CLOCK, 2);
    Pump();
    EXPECT_EQ(tree_model_.FindClockNodeById(2), nullptr);

    // A new alarm in clock 1, selected; for a stopwatch it starts 300 s in.
    clock1_->clock.kind = kClockTimer;
    ClearEvents();
    SendMessageW(dialog_, SETTINGS_MSG_SELECT_PAGE, SETTINGS_PAGE_NEW_ALARM, 1);
    Pump();
    FakeNode* alarms = tree_model_.Group(clock1_, kNodeAlarms);
    ASSERT_EQ(alarms->children.size(), 2u);
    EXPECT_EQ(Selected(), alarms->children[1]);
    EXPECT_EQ(alarms->children[1]->alarm.timerOffset, 300u);
}

TEST_F(Switching, PagesAskForTheClockOfTheSelectedNode) {
    ASSERT_NE(Open(), nullptr);
    ClockRecord* record = reinterpret_cast<ClockRecord*>(1);
    SendWithPointer(dialog_, WM_GET_CLOCK_RECORD, 0, &record);
    EXPECT_EQ(record, nullptr);
    Select(tree_model_.Group(clock2_, kNodeAlarms));
    SendWithPointer(dialog_, WM_GET_CLOCK_RECORD, 0, &record);
    EXPECT_EQ(record, &clock2_->clock);
    // A missing pointer is no crash, and one that no page lent (another
    // process may send anything) is not written through.
    SendMessageW(dialog_, WM_GET_CLOCK_RECORD, 0, 0);
    record = nullptr;
    SendMessageW(dialog_, WM_GET_CLOCK_RECORD, 0, reinterpret_cast<LPARAM>(&record));
    EXPECT_EQ(record, nullptr);
}

TEST_F(Switching, TheMainProgramsOnDesktopFlagReachesTheClockAndItsShownPage) {
    ASSERT_NE(Open(), nullptr);
    Select(clock1_);
    Exchanges().clear();
    SendMessageW(dialog_, SETTINGS_MSG_ON_DESKTOP, 1, 1);
    EXPECT_EQ(clock1_->clock.on_desktop, 1);
    ASSERT_EQ(Exchanges().size(), 2u);
    EXPECT_EQ(Exchanges()[0].direction, 1u);
    EXPECT_EQ(Exchanges()[1].direction, 0u);
    Exchanges().clear();
    SendMessageW(dialog_, SETTINGS_MSG_ON_DESKTOP, 2, 1);
    EXPECT_EQ(clock2_->clock.on_desktop, 1);
    EXPECT_TRUE(Exchanges().empty());
    SendMessageW(dialog_, SETTINGS_MSG_ON_DESKTOP, 1, 0);
    EXPECT_EQ(clock1_->clock.on_desktop, 0);
    SendMessageW(dialog_, SETTINGS_MSG_ON_DESKTOP, 30, 1);  // no such clock
}

TEST_F(Switching, ALanguageChangeTranslatesTheDialogAndTheTreeAgain) {
    const std::wstring file = dir_.file(L"tempovia_en.ini");
    ASSERT_TRUE(testing_support::WriteBytes(file, "[DLG_PageDetail]\r\nCaption=First caption\r\n1238=Apply one\r\n"));
    Language().SetLanguage(L"en");
    ASSERT_NE(Open(false), nullptr);
    ASSERT_NE(EnsurePageWindow(kAlarmsGroupPage), nullptr);
    EXPECT_EQ(Text(dialog_), L"First caption");
    EXPECT_EQ(Text(GetDlgItem(dialog_, IDC_APPLY)), L"Apply one");
    const int before = tree_model_.relocalized;

    ASSERT_TRUE(testing_support::WriteBytes(
        file, "[DLG_PageDetail]\r\nCaption=Second caption, longer\r\n1238=Apply two\r\n[DLG_PageAlarms]\r\n1283=Alarm hint\r\n"));
    SendMessageW(dialog_, MSG_LANGUAGE_CHANGED, 0, 0);
    EXPECT_EQ(Text(dialog_), L"Second caption, longer");
    EXPECT_EQ(Text(GetDlgItem(dialog_, IDC_APPLY)), L"Apply two");
    EXPECT_EQ(tree_model_.relocalized, before + 1);
    // The frame passes the message to every page as well.
    SendMessageW(Page(kAlarmsGroupPage), MSG_LANGUAGE_CHANGED, 0, 0);
    EXPECT_EQ(Text(GetDlgItem(Page(kAlarmsGroupPage), IDC_GROUP_TEXT)), L"Alarm hint");
}

}  // namespace
}  // namespace settingsdlg_test

namespace settingsdlg_test {
namespace {

class Passing : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        general_ = model_.AddOption(kNodeGeneral, L"general");
        clock1_ = model_.AddClock(1, true, 0);
        clock2_ = model_.AddClock(2, true, 0);
        PageMessages().clear();
    }
    FakeTree model_;
    FakeNode* general_ = nullptr;
    FakeNode* clock1_ = nullptr;
    FakeNode* clock2_ = nullptr;
};

TEST_F(Passing, SyncStateCloudsAndSettingChangesReachTheirPages) {
    ASSERT_NE(Open(), nullptr);
    // Pages not made yet have nothing to be told.
    SendMessageW(dialog_, MSG_SYNC_STATE, 1, 0);
    EXPECT_TRUE(PageMessages().empty());
    for (int i = 0; i < kPageCount; ++i) ASSERT_NE(EnsurePageWindow(i), nullptr) << i;
    PageMessages().clear();
    SendMessageW(dialog_, MSG_SYNC_STATE, 1, 0);
    SendMessageW(dialog_, MSG_CLOUDS_CHANGED, 0, 1);
    const std::vector<std::pair<int, UINT>> expected = {{kSyncPage, MSG_SYNC_STATE}, {kClockPage, MSG_CLOUDS_CHANGED}};
    EXPECT_EQ(PageMessages(), expected);
    PageMessages().clear();
    SendMessageW(dialog_, WM_WININICHANGE, 0, 0);
    EXPECT_EQ(PageMessages().size(), static_cast<size_t>(kPageCount));
}

TEST_F(Passing, APageCodeDuringTheDeleteQuestionOnlyBeeps) {
    static HWND s_dialog = nullptr;
    ASSERT_NE(Open(), nullptr);
    s_dialog = dialog_;
    MainDialogHooks hooks = DialogHooks();
    hooks.askDelete = [](HWND, const wchar_t*, const wchar_t*) -> int {
        // A second start hands over its page while the question is open.
        SendMessageW(s_dialog, SETTINGS_MSG_SELECT_PAGE, SETTINGS_PAGE_DELETE_CLOCK, 2);
        return IDNO;
    };
    SetDialogHooks(hooks);
    Select(clock1_);
    SendMessageW(dialog_, WM_COMMAND, IDC_DELETE_NODE, 0);
    EXPECT_EQ(model_.ClockCount(), 2);
    ASSERT_EQ(beeps_.beeps.size(), 1u);
    EXPECT_EQ(beeps_.beeps[0].hz, 1000u);
}

TEST_F(Passing, ADownloadReplyWaitsForTheDeleteQuestionAndCountsOnlyForARequest) {
    static HWND s_ini = nullptr;
    ASSERT_NE(Open(), nullptr);
    MainDialogHooks hooks = DialogHooks();
    hooks.createPage = [](int index, HWND dialog) {
        return index == 1 ? CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(IDD_PAGE_INI), dialog, IniPageDlgProc, 0)
                          : CreateStandInPage(index, dialog);
    };
    hooks.askDelete = [](HWND, const wchar_t*, const wchar_t*) -> int {
        Event("question");
        SendMessageW(s_ini, MSG_DOWNLOAD_REPLY, 200, 0);
        return IDYES;
    };
    SetDialogHooks(hooks);
    ASSERT_NE(s_ini = EnsurePageWindow(1), nullptr);
    const AfterImportHook oldImport = SetAfterImportHook([] { Event("import"); });
    const PathErrorBox oldBox = SetPathErrorBox([](HWND, const wchar_t*, const wchar_t*) { return IDOK; });
    const UrlImportSender oldSender = SetUrlImportSender([](WPARAM, const COPYDATASTRUCT*) -> LRESULT { return 1; });
    ASSERT_TRUE(testing_support::WriteBytes(UserIniPath(), "[tester:clock1]\r\nname=Home\r\n"));
    ASSERT_TRUE(ExportSettings((SettingsFolder() + L"downloaded.ini").c_str()));
    SetDlgItemTextW(s_ini, kIdcImportPath, L"http://127.0.0.1/settings.ini");
    SendMessageW(s_ini, WM_COMMAND, MAKEWPARAM(kIdcImport, BN_CLICKED), 0);
    ClearEvents();
    Select(clock1_);
    SendMessageW(dialog_, WM_COMMAND, IDC_DELETE_NODE, 0);
    // The delete is done with the node it asked about before the import
    // rebuilds the tree; a second reply answers no request.
    EXPECT_TRUE(WaitForEvent("import"));
    SendMessageW(s_ini, MSG_DOWNLOAD_REPLY, 200, 0);
    EXPECT_EQ(Events(), (std::vector<std::string>{"question", "remove", "import"}));
    SetUrlImportSender(oldSender);
    SetPathErrorBox(oldBox);
    SetAfterImportHook(oldImport);
    ForgetImportBackup();
}

TEST_F(Passing, ARebuiltTreeIsNotWrittenToThroughTheOldNodes) {
    ASSERT_NE(Open(), nullptr);
    Select(clock1_);
    // The tree puts its items in anew, as after an import.
    model_.AttachTree(tree_);
    Exchanges().clear();
    Select(clock2_);
    ASSERT_FALSE(Exchanges().empty());
    for (const Exchange& e : Exchanges()) EXPECT_EQ(e.direction, 0u);
    EXPECT_EQ(Exchanges().back().record, &clock2_->clock);
}

TEST_F(Passing, DraggingAClockOntoAnotherMovesItThere) {
    ASSERT_NE(Open(), nullptr);
    // The drop cursors come with the first drag, not with the dialog.
    EXPECT_EQ(DialogState().dropRefused, nullptr);
    Select(clock2_);
    RECT r = {};
    TreeView_GetItemRect(tree_, clock1_->item, &r, TRUE);
    POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(tree_, &p);
    SetCursorPos(p.x, p.y);
    POINT at = {};
    GetCursorPos(&at);
    if (at.x != p.x || at.y != p.y) GTEST_SKIP() << "the cursor cannot be placed here";

    NMTREEVIEWW drag = {};
    drag.hdr.hwndFrom = tree_;
    drag.hdr.idFrom = IDC_SETTINGS_TREE;
    drag.hdr.code = TVN_BEGINDRAGW;
    drag.itemNew.hItem = clock2_->item;
    drag.itemNew.lParam = reinterpret_cast<LPARAM>(clock2_);
    SendMessageW(dialog_, WM_NOTIFY, IDC_SETTINGS_TREE, reinterpret_cast<LPARAM>(&drag));
    EXPECT_EQ(GetCapture(), dialog_);
    ASSERT_NE(DialogState().dropRefused, nullptr);
    EXPECT_EQ(GetCursor(), DialogState().dropRefused);
    SendMessageW(dialog_, WM_MOUSEMOVE, 0, 0);
    EXPECT_EQ(TreeView_GetDropHilight(tree_), clock1_->item);
    SendMessageW(dialog_, WM_LBUTTONUP, 0, 0);
    Pump();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(TreeView_GetDropHilight(tree_), nullptr);
    ASSERT_EQ(model_.top().size(), 3u);
    EXPECT_EQ(model_.top()[1], clock2_);
    EXPECT_EQ(Selected(), clock2_);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog_, IDC_APPLY)));

    // Losing the focus ends a drag without a drop.
    SendMessageW(dialog_, WM_NOTIFY, IDC_SETTINGS_TREE, reinterpret_cast<LPARAM>(&drag));
    NMHDR kill = {tree_, IDC_SETTINGS_TREE, static_cast<UINT>(NM_KILLFOCUS)};
    SendMessageW(dialog_, WM_NOTIFY, IDC_SETTINGS_TREE, reinterpret_cast<LPARAM>(&kill));
    EXPECT_EQ(GetCapture(), nullptr);
    SendMessageW(dialog_, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(model_.top()[1], clock2_);
}

}  // namespace
}  // namespace settingsdlg_test
